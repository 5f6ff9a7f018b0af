#include "frontend/interpreter.h"
#include "frontend/messagecatalogue.h"

#include <QtTest>

namespace {

// Every code the analysis, the name resolution and the machine raise.
const QList<int> Codes { 100, 101, 102, 103, 104, 105, 106, 200, 201, 202, 203, 204, 210, 211, 220, 230, 240, 290,
    900 };

// Whole-script diagnostics have no line to show.
bool hasLine(int code)
{
    return code != 100 && code != 101 && code != 290;
}

} // namespace

// The shipped catalogues: complete, in both languages, with the line where it belongs.
class TestMessageFiles : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeHasAText_data();
    void everyCodeHasAText();
    void frenchTextsAreRead();
};

void TestMessageFiles::everyCodeHasAText_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QString();
    QTest::newRow("French") << QStringLiteral("fr");
}

void TestMessageFiles::everyCodeHasAText()
{
    QFETCH(QString, language);

    MessageCatalogue base(Interpreter::defaultCataloguePath());
    MessageCatalogue catalogue(Interpreter::defaultCataloguePath());
    catalogue.setLanguage(language);
    for (const int code : Codes) {
        QVERIFY2(catalogue.contains(code), qPrintable(QString::number(code)));
        const QString text = catalogue.text(code);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(code)));
        QCOMPARE(text.count(QStringLiteral("$L")), hasLine(code) ? 1 : 0);
        if (!language.isEmpty()) {
            // A language file that forgot a code would silently show English.
            QVERIFY2(text != base.text(code), qPrintable(QString::number(code)));
        }
    }
}

void TestMessageFiles::frenchTextsAreRead()
{
    // The file is UTF-8; accents must survive whatever the locale.
    MessageCatalogue catalogue(Interpreter::defaultCataloguePath());
    catalogue.setLanguage(QStringLiteral("fr_CA"));
    QCOMPARE(catalogue.text(204), QStringLiteral("Division par z\u00e9ro \u00e0 la ligne $L."));
}

QTEST_APPLESS_MAIN(TestMessageFiles)
#include "tst_messagefiles.moc"
