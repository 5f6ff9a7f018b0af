#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The manual pages are written from the programs' --help and kept in the
// sources (tools/update-man-pages.sh): they must still say what --help says.
class TestManPages : public QObject
{
    Q_OBJECT

private slots:
    void pageListsEveryOption_data();
    void pageListsEveryOption();
};

void TestManPages::pageListsEveryOption_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("page");

    QTest::newRow("korvane") << QStringLiteral(KORVANE) << QStringLiteral(MAN_DIR "/korvane.1");
    QTest::newRow("korvane-run") << QStringLiteral(KORVANE_RUN) << QStringLiteral(MAN_DIR "/korvane-run.1");
}

void TestManPages::pageListsEveryOption()
{
    QFETCH(QString, program);
    QFETCH(QString, page);

    // English, whatever the language the settings of this home keep.
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LANGUAGE"), QString());
    process.setProcessEnvironment(environment);
    process.start(program, { QStringLiteral("--help") });
    QVERIFY(process.waitForFinished(-1));
    QCOMPARE(process.exitCode(), 0);
    const QString help = QString::fromUtf8(process.readAllStandardOutput());

    QFile file(page);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(page));
    // As man shows it: roff's escaped hyphens and font changes undone.
    QString manual = QString::fromUtf8(file.readAll());
    manual.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    manual.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]|\\\\[,/]")));
    manual.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));

    // Each option line of the help, with its description, is in the page.
    const QRegularExpression option(QStringLiteral("^  (-\\S.*?)  +(\\S.*(?:\\n {10,}\\S.*)*)$"),
                                    QRegularExpression::MultilineOption);
    int options = 0;
    for (auto match = option.globalMatch(help); match.hasNext(); ++options) {
        const QRegularExpressionMatch found = match.next();
        const QString names = found.captured(1).trimmed();
        QString description = found.captured(2);
        description.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
        const QString entry = names + QLatin1Char(' ') + description;
        QVERIFY2(manual.contains(entry), qPrintable(entry));
    }
    QVERIFY(options >= 4);
}

QTEST_GUILESS_MAIN(TestManPages)
#include "tst_manpages.moc"
