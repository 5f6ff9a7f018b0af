#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A data folder laid out as an installed system's: the desktop's shared MIME
// database and Korvane's file side by side, as the package puts it in /usr/share.
QTemporaryDir* dataFolder()
{
    static QTemporaryDir folder;
    return &folder;
}

const char* const GodotType = "application/x-godot-resource";

} // namespace

// What file managers and file dialogs call Korvane's files, and the files of
// other programs that share a suffix with them.
class TestFileTypes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void typeOfAFile_data();
    void typeOfAFile();

private:
    QTemporaryDir m_files;
};

void TestFileTypes::initTestCase()
{
    QVERIFY(QMimeDatabase().mimeTypeForName(QStringLiteral("text/x-korvane-trace")).isValid());
}

void TestFileTypes::typeOfAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");

    QTest::newRow("a trace") << "square.res" << QByteArray("Tur=Res\nN 0 0\nY 0 100\n") << "text/x-korvane-trace";
    QTest::newRow("a trace without a suffix, by its first line")
        << "square" << QByteArray("Tur=Res\nN 0 0\n") << "text/x-korvane-trace";
    QTest::newRow("a script") << "square.tur" << QByteArray("Tur=Asm\nmove:10;\n") << "text/x-korvane-script";
    QTest::newRow("a script without a suffix, by its first line")
        << "drawing" << QByteArray("Tur=Asm\nmove:10;\n") << "text/x-korvane-script";
    QTest::newRow("a Godot binary resource keeps its type")
        << "theme.res" << QByteArray("RSRC\0\0\0\0\3\0\0\0\1\0\0\0\0\0\0\0", 20) << GodotType;
    QTest::newRow("a Godot text resource keeps its type")
        << "theme.res" << QByteArray("[gd_resource type=\"Theme\" format=3]\n\n[resource]\n") << GodotType;
}

void TestFileTypes::typeOfAFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);

    QMimeDatabase database;
    if (type == QLatin1String(GodotType) && !database.mimeTypeForName(type).isValid()) {
        QSKIP("The system's MIME database does not know Godot's resources");
    }
    QFile file(m_files.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(database.mimeTypeForFile(file.fileName()).name(), type);
}

int main(int argc, char* argv[])
{
    // Read once, when the first database is made: set before anything asks.
    const QString packages = dataFolder()->filePath(QStringLiteral("mime/packages"));
    QDir().mkpath(packages);
    QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                packages + QStringLiteral("/freedesktop.org.xml"));
    QFile::copy(QStringLiteral(MIME_FILE), packages + QStringLiteral("/org.korvane.Korvane.xml"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataFolder()->path()));
    QCoreApplication app(argc, argv);
    TestFileTypes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filetypes.moc"
