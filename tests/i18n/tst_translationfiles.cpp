#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty when done
};

QList<Entry> readTs(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Entry> entries;
    QString context;
    Entry entry;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry { context, QString(), QString(), QString() };
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            entries << entry;
        }
    }
    if (xml.hasError()) {
        *error = xml.errorString();
    }
    return entries;
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?\\d"));
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        found << it.next().captured();
    }
    found.sort();
    return found;
}

// The mnemonic letters of a menu text: "&Fichier" has one, "&&" is a literal ampersand.
int mnemonics(const QString& text)
{
    int count = 0;
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (text.at(i + 1) != QLatin1Char('&')) {
                ++count;
            }
            ++i;
        }
    }
    return count;
}

bool isRichText(const QString& text)
{
    return text.startsWith(QLatin1String("<html>"));
}

} // namespace

// The French translation is complete, up to date with the code and the forms,
// and follows French typography.
class TestTranslationFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyEntryIsTranslated_data();
    void everyEntryIsTranslated();
    void nothingInTheCodeIsMissing();

private:
    QList<Entry> m_entries;
};

void TestTranslationFiles::initTestCase()
{
    QString error;
    m_entries = readTs(QStringLiteral(SOURCE_DIR "/Translations/fr.ts"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(m_entries.size() > 100);
}

void TestTranslationFiles::everyEntryIsTranslated_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("type");
    for (const Entry& entry : qAsConst(m_entries)) {
        QTest::newRow(qPrintable(entry.context + QLatin1Char('/') + entry.source.left(60)))
            << entry.source << entry.translation << entry.type;
    }
}

void TestTranslationFiles::everyEntryIsTranslated()
{
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QFETCH(QString, type);

    QVERIFY2(type.isEmpty(), qPrintable(type));
    QVERIFY(!translation.isEmpty());
    QCOMPARE(placeholders(translation), placeholders(source));
    if (!isRichText(source)) {
        // Menus and buttons keep a mnemonic when the source has one.
        QCOMPARE(mnemonics(translation), mnemonics(source));
    }
    // The shortcuts are the same in every language.
    static const QRegularExpression shortcut(QStringLiteral("^((Ctrl|Alt|Shift)\\+)*(F\\d+|[A-Z]|Del)$"));
    if (shortcut.match(source).hasMatch()) {
        QCOMPARE(translation, source);
    }

    // French puts a non-breaking space before : ; ? ! and inside guillemets.
    static const QRegularExpression looseSpace(QStringLiteral(" [:;?!]|« | »|«[^\u00a0]|[^\u00a0]»"));
    const QRegularExpressionMatch loose = looseSpace.match(translation);
    QVERIFY2(!loose.hasMatch(), qPrintable(translation.mid(qMax(0, loose.capturedStart() - 20), 40)));
    QVERIFY2(!translation.contains(QLatin1String("...")), "use the ellipsis character");
}

// lupdate, run on the sources into a copy of fr.ts, must find nothing new
// (a text added to the code) and nothing gone (a text removed from it).
void TestTranslationFiles::nothingInTheCodeIsMissing()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("fr.ts"));
    QVERIFY(QFile::copy(QStringLiteral(SOURCE_DIR "/Translations/fr.ts"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(LUPDATE),
                  { QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral(SOURCE_DIR "/src"),
                    QStringLiteral(SOURCE_DIR "/forms"), QStringLiteral("-ts"), copy });
    QVERIFY(lupdate.waitForFinished(-1));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    QString error;
    const QList<Entry> refreshed = readTs(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList stale;
    for (const Entry& entry : refreshed) {
        if (!entry.type.isEmpty()) {
            stale << QStringLiteral("%1 %2: %3").arg(entry.type, entry.context, entry.source.left(60));
        }
    }
    QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n")
                                         + stale.join(QLatin1Char('\n'))));
    QCOMPARE(refreshed.size(), m_entries.size());
}

QTEST_GUILESS_MAIN(TestTranslationFiles)
#include "tst_translationfiles.moc"
