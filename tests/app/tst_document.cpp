#include "document.h"
#include "scriptedprompts.h"
#include "system/textfile.h"
#include "widgets/qeditor.h"

#include <QSaveFile>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace {

// Whether the save question was asked, whatever file it names.
bool asksToSave(const QStringList& messages)
{
    return std::any_of(messages.begin(), messages.end(),
                       [](const QString& text) { return text.startsWith(QLatin1String("Do you want to save ")); });
}

} // namespace

// The script's file commands on an editor alone, every question answered by the test.
class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commands_data();
    void commands();
    void closingTheWindow_data();
    void closingTheWindow();
    void title_data();
    void title();
    void saveQuestionNamesTheScript_data();
    void saveQuestionNamesTheScript();
    void newScriptIsWrittenWhereItWasNamed();
    void folderChoice_data();
    void folderChoice();
    void relativeNameOutlivesAFolderChange_data();
    void relativeNameOutlivesAFolderChange();
    void encodingsAndLineEnds_data();
    void encodingsAndLineEnds();
    void refusedFiles_data();
    void refusedFiles();
    void characterTheEncodingCannotHold_data();
    void characterTheEncodingCannotHold();
    void changesOnDisk_data();
    void changesOnDisk();
    void ownSavesAreNoChange();

private:
    // A name of the table ("current", "next", "new", "folder", "missing") as a path; "" stays "".
    QString path(const QString& name) const;
    QString read(const QString& name) const;
    QByteArray bytes(const QString& name) const;
    void write(const QString& name, const QByteArray& text);
    // Opens "current" when asked, then types "x" at the start when edited.
    void prepare(bool opened, bool edited);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QEditor> m_editor;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<Document> m_document;
};

void TestDocument::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
}

void TestDocument::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    write(QStringLiteral("current"), "Tur=Asm\n");
    write(QStringLiteral("next"), "Tur=Asm\n\tmove:1;\n");
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder"))));
    m_editor = std::make_unique<QEditor>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_document = std::make_unique<Document>(m_editor.get(), m_prompts.get());
}

void TestDocument::cleanup()
{
    m_document.reset();
    m_prompts.reset();
    m_editor.reset();
    m_dir.reset();
}

void TestDocument::relativeNameOutlivesAFolderChange_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("a script opened by a relative name") << "open path";
    QTest::newRow("a script saved as a relative name") << "save as";
}

// A save after the working folder changed (a text restored elsewhere, say)
// writes the script named, not the file of that name in the new folder.
void TestDocument::relativeNameOutlivesAFolderChange()
{
    QFETCH(QString, command);

    const QString working = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    if (command == QLatin1String("open path")) {
        QVERIFY(m_document->openPath(QStringLiteral("current.tur")));
    } else {
        m_prompts->setNextFileName(QStringLiteral("current.tur"));
        QVERIFY(m_document->saveAs());
    }
    QVERIFY(QDir::setCurrent(path(QStringLiteral("folder"))));
    QFile other(QDir(path(QStringLiteral("folder"))).filePath(QStringLiteral("current.tur")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("other\n");
    other.close();
    m_editor->selectAll();
    m_editor->insertPlainText(QStringLiteral("edited\n"));
    const bool saved = m_document->save();
    QVERIFY(QDir::setCurrent(working));

    QVERIFY(saved);
    QCOMPARE(read(QStringLiteral("current")), QStringLiteral("edited\n"));
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(other.readAll(), QByteArray("other\n"));
}

QString TestDocument::path(const QString& name) const
{
    return name.isEmpty() ? QString() : m_dir->filePath(name + QStringLiteral(".tur"));
}

QString TestDocument::read(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(none)");
}

QByteArray TestDocument::bytes(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void TestDocument::write(const QString& name, const QByteArray& text)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestDocument::prepare(bool opened, bool edited)
{
    if (opened) {
        QVERIFY(m_document->openPath(path(QStringLiteral("current"))));
    }
    if (edited) {
        m_editor->moveCursor(QTextCursor::Start);
        QTest::keyClicks(m_editor.get(), "x");
        QVERIFY(m_document->isModified());
    }
}

void TestDocument::commands_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("command");
    // The answer to the save question, if it comes, then the names the file dialogs get.
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("warnings");
    // Files and their content afterwards; "(none)" for no file.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("used");

    const int none = QMessageBox::NoButton;
    const int save = QMessageBox::Save;
    const int discard = QMessageBox::Discard;
    const int cancel = QMessageBox::Cancel;
    const QString edited = QStringLiteral("xTur=Asm\n");
    const QString current = QStringLiteral("Tur=Asm\n");
    const QString next = QStringLiteral("Tur=Asm\n    move:1;\n");

    QTest::newRow("open without edits asks nothing")
        << true << false << "open" << none << QStringList { "next" } << "next" << false << next << false << 0
        << QStringList { "current", current } << true << "next";
    QTest::newRow("open with edits answered Save writes them first")
        << true << true << "open" << save << QStringList { "next" } << "next" << false << next << true << 0
        << QStringList { "current", edited } << true << "next";
    QTest::newRow("open with edits answered Discard drops them")
        << true << true << "open" << discard << QStringList { "next" } << "next" << false << next << true << 0
        << QStringList { "current", current } << true << "next";
    QTest::newRow("open with edits answered Cancel keeps everything")
        << true << true << "open" << cancel << QStringList { "next" } << "current" << true << edited << true << 0
        << QStringList { "current", current } << false << "";
    QTest::newRow("open on an untitled script answered Save asks its name first")
        << false << true << "open" << save << QStringList { "new", "next" } << "next" << false << next << true << 0
        << QStringList { "new", "x" } << true << "next";
    QTest::newRow("open on an untitled script answered Save, its name cancelled, stops")
        << false << true << "open" << save << QStringList { "", "next" } << "" << true << "x" << true << 0
        << QStringList { "new", "(none)" } << false << "";
    QTest::newRow("open cancelled in the file dialog changes nothing")
        << true << false << "open" << none << QStringList { "" } << "current" << false << current << false << 0
        << QStringList() << false << "";
    QTest::newRow("open of a missing file warns and keeps the editor")
        << true << true << "open" << discard << QStringList { "missing" } << "current" << true << edited << true
        << 1 << QStringList() << false << "";
    QTest::newRow("a path given opens after the question")
        << true << true << "open path" << discard << QStringList() << "next" << false << next << true << 0
        << QStringList() << true << "next";
    QTest::newRow("an example opens as an untitled copy")
        << true << false << "open copy" << none << QStringList() << "" << false << next << false << 0
        << QStringList { "next", "Tur=Asm\n\tmove:1;\n" } << true << "";
    QTest::newRow("save writes to the file's own path")
        << true << true << "save" << none << QStringList() << "current" << false << edited << false << 0
        << QStringList { "current", edited } << false << "";
    QTest::newRow("save on an untitled script asks for a name")
        << false << true << "save" << none << QStringList { "new" } << "new" << false << "x" << false << 0
        << QStringList { "new", "x" } << false << "new";
    QTest::newRow("save on an untitled script cancelled changes nothing")
        << false << true << "save" << none << QStringList { "" } << "" << true << "x" << false << 0
        << QStringList { "new", "(none)" } << false << "";
    QTest::newRow("save as writes under the new name only")
        << true << true << "save as" << none << QStringList { "new" } << "new" << false << edited << false << 0
        << QStringList { "new", edited, "current", current } << false << "new";
    QTest::newRow("save as cancelled keeps the old name")
        << true << true << "save as" << none << QStringList { "" } << "current" << true << edited << false << 0
        << QStringList { "current", current } << false << "";
    QTest::newRow("save as onto a folder warns and keeps the name and the edits")
        << true << true << "save as" << none << QStringList { "folder" } << "current" << true << edited << false << 1
        << QStringList { "current", current } << false << "";
    QTest::newRow("save on an untitled script onto a folder warns and keeps it untitled")
        << false << true << "save" << none << QStringList { "folder" } << "" << true << "x" << false << 1
        << QStringList() << false << "";
    QTest::newRow("close without edits empties the editor")
        << true << false << "close" << none << QStringList() << "" << false << "" << false << 0 << QStringList()
        << true << "";
    QTest::newRow("close with edits answered Save writes them")
        << true << true << "close" << save << QStringList() << "" << false << "" << true << 0
        << QStringList { "current", edited } << true << "";
    QTest::newRow("close with edits answered Discard drops them")
        << true << true << "close" << discard << QStringList() << "" << false << "" << true << 0
        << QStringList { "current", current } << true << "";
    QTest::newRow("close with edits answered Cancel keeps them")
        << true << true << "close" << cancel << QStringList() << "current" << true << edited << true << 0
        << QStringList { "current", current } << false << "";
    QTest::newRow("new starts an untitled script with its first line, unmodified")
        << true << false << "new" << none << QStringList() << "" << false << current << false << 0 << QStringList()
        << true << "";
    QTest::newRow("new with edits answered Discard drops them")
        << true << true << "new" << discard << QStringList() << "" << false << current << true << 0
        << QStringList { "current", current } << true << "";
    QTest::newRow("new with edits answered Cancel keeps them")
        << true << true << "new" << cancel << QStringList() << "current" << true << edited << true << 0
        << QStringList { "current", current } << false << "";
    QTest::newRow("a new script of a name opens unmodified, its file not yet written")
        << true << false << "open new" << none << QStringList() << "new" << false << current << false << 0
        << QStringList { "new", "(none)" } << true << "";
}

void TestDocument::commands()
{
    QFETCH(bool, opened);
    QFETCH(bool, edited);
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QFETCH(QString, path);
    QFETCH(bool, modified);
    QFETCH(QString, text);
    QFETCH(bool, asked);
    QFETCH(int, warnings);
    QFETCH(QStringList, files);
    QFETCH(bool, replaced);
    QFETCH(QString, used);

    prepare(opened, edited);
    if (answer != QMessageBox::NoButton) {
        m_prompts->setNextAnswer(QMessageBox::StandardButton(answer));
    }
    for (const QString& name : names) {
        m_prompts->setNextFileName(this->path(name));
    }
    QSignalSpy replacing(m_document.get(), &Document::replacing);
    QSignalSpy fileUsed(m_document.get(), &Document::fileUsed);
    const QString nextPath = this->path(QStringLiteral("next"));
    if (command == QLatin1String("open")) {
        m_document->open();
    } else if (command == QLatin1String("open path")) {
        m_document->openPath(nextPath);
    } else if (command == QLatin1String("open copy")) {
        m_document->openCopy(nextPath);
    } else if (command == QLatin1String("save")) {
        m_document->save();
    } else if (command == QLatin1String("save as")) {
        m_document->saveAs();
    } else if (command == QLatin1String("new")) {
        m_document->startNew();
    } else if (command == QLatin1String("open new")) {
        m_document->openNew(this->path(QStringLiteral("new")));
    } else {
        m_document->close();
    }

    QCOMPARE(m_document->path(), this->path(path));
    QCOMPARE(m_document->isModified(), modified);
    QCOMPARE(m_editor->toPlainText(), text);
    const QStringList messages = m_prompts->shownMessages();
    QCOMPARE(asksToSave(messages), asked);
    QCOMPARE(messages.size() - int(asked), warnings);
    for (int i = 0; i + 1 < files.size(); i += 2) {
        QCOMPARE(read(files.at(i)), files.at(i + 1));
    }
    QCOMPARE(!replacing.isEmpty(), replaced);
    QCOMPARE(fileUsed.isEmpty() ? QString() : fileUsed.constLast().constFirst().toString(), this->path(used));
}

void TestDocument::closingTheWindow_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("mayClose");
    QTest::addColumn<QString>("saved");

    QTest::newRow("without edits, nothing is asked") << false << int(QMessageBox::NoButton) << "" << true << "";
    QTest::newRow("Save writes the script, then the window closes")
        << true << int(QMessageBox::Save) << "new" << true << "x";
    QTest::newRow("Save whose name is not given keeps the window open")
        << true << int(QMessageBox::Save) << "" << false << "";
    QTest::newRow("Save that fails keeps the window open") << true << int(QMessageBox::Save) << "folder" << false << "";
    QTest::newRow("Discard lets the window close") << true << int(QMessageBox::Discard) << "" << true << "";
    QTest::newRow("Cancel keeps the window open") << true << int(QMessageBox::Cancel) << "" << false << "";
}

void TestDocument::closingTheWindow()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, name);
    QFETCH(bool, mayClose);
    QFETCH(QString, saved);

    prepare(false, edited);
    m_prompts->setNextAnswer(QMessageBox::StandardButton(answer));
    m_prompts->setNextFileName(path(name));
    QCOMPARE(m_document->mayDiscard(), mayClose);
    QCOMPARE(asksToSave(m_prompts->shownMessages()), edited);
    if (!saved.isEmpty()) {
        QCOMPARE(read(name), saved);
    }
    // Whatever the answer, the text is still there until the window goes.
    QCOMPARE(m_editor->toPlainText(), edited ? QStringLiteral("x") : QString());
}

void TestDocument::title_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");

    QTest::newRow("untitled is named so") << "" << false << "Korvane - Untitled";
    QTest::newRow("untitled and edited gets a star") << "" << true << "Korvane - Untitled*";
    QTest::newRow("a file shows its name, not its folder") << "/home/ada/square.tur" << false << "Korvane - square.tur";
    QTest::newRow("an edited file gets a star") << "/home/ada/square.tur" << true << "Korvane - square.tur*";
    QTest::newRow("a name without a folder is shown whole") << "square.tur" << false << "Korvane - square.tur";
}

void TestDocument::title()
{
    QFETCH(QString, path);
    QFETCH(bool, modified);
    QFETCH(QString, title);

    QSignalSpy changed(m_document.get(), &Document::titleChanged);
    m_editor->setDocumentTitle(path);
    m_editor->setIfModified(modified);
    QCOMPARE(m_document->title(), title);
    QVERIFY(!changed.isEmpty());
}

void TestDocument::saveQuestionNamesTheScript_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("question");

    QTest::newRow("a file by its name") << true << "Do you want to save the changes to current.tur?";
    QTest::newRow("an untitled script") << false << "Do you want to save the untitled script?";
}

void TestDocument::saveQuestionNamesTheScript()
{
    QFETCH(bool, opened);
    QFETCH(QString, question);

    prepare(opened, true);
    m_prompts->setNextAnswer(QMessageBox::Cancel);
    QVERIFY(!m_document->mayDiscard());
    QCOMPARE(m_prompts->shownMessages(), QStringList { question });
}

void TestDocument::newScriptIsWrittenWhereItWasNamed()
{
    QVERIFY(m_document->openNew(path(QStringLiteral("new"))));
    QTest::keyClicks(m_editor.get(), "move:5;");
    QCOMPARE(m_document->title(), QStringLiteral("Korvane - new.tur*"));
    QVERIFY(m_document->save());
    QCOMPARE(read(QStringLiteral("new")), QStringLiteral("Tur=Asm\nmove:5;"));
    QCOMPARE(m_document->title(), QStringLiteral("Korvane - new.tur"));
    QVERIFY(m_prompts->shownMessages().isEmpty());
}

void TestDocument::folderChoice_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("folder");

    QTest::newRow("a folder chosen is where Open starts") << "/tmp/scripts" << "/tmp/scripts";
    QTest::newRow("trailing separators are dropped") << "/tmp/scripts//" << "/tmp/scripts";
    QTest::newRow("the root keeps its separator") << "/" << "/";
    QTest::newRow("cancelled, the folder stays") << "" << "./TurtleCodes/";
}

void TestDocument::folderChoice()
{
    QFETCH(QString, chosen);
    QFETCH(QString, folder);

    m_prompts->setNextFileName(chosen);
    m_document->chooseFolder();
    QCOMPARE(m_document->folder(), folder);
    m_document->open();
    QCOMPARE(m_prompts->shownDialogs().constLast(), QStringLiteral("Open a turtle file in ") + folder);
    QCOMPARE(m_document->path(), QString());
}

void TestDocument::encodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    // What a save after an edit writes when not the same bytes: the editor
    // shows a tab as spaces, and the first line end decides for all.
    QTest::addColumn<QByteArray>("rewritten");

    const auto utf8 = [](const char* text) { return QString::fromUtf8(text); };
    QTest::newRow("UTF-8 with LF ends") << QByteArray("Tur=Asm\nmove: 1;\n") << utf8("Tur=Asm\nmove: 1;\n")
                                        << "UTF-8, LF" << QByteArray();
    QTest::newRow("UTF-8 with accents and CRLF ends")
        << QByteArray("Tur=Asm\r\n; caf\xC3\xA9 \xE5\xAD\x97\r\n") << utf8("Tur=Asm\n; café 字\n") << "UTF-8, CRLF"
        << QByteArray();
    QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xEF\xBB\xBFTur=Asm\n; \xC3\xA9\n")
                                                  << utf8("Tur=Asm\n; é\n") << "UTF-8 with BOM, LF" << QByteArray();
    QTest::newRow("UTF-16 little-endian with CRLF ends and a surrogate pair")
        << QByteArray::fromHex("fffe 5400 7500 7200 0d00 0a00 3b00 2000 e900 3dd8 00de 0d00 0a00")
        << utf8("Tur\n; é\xF0\x9F\x98\x80\n") << "UTF-16 LE, CRLF" << QByteArray();
    QTest::newRow("UTF-16 big-endian with LF ends") << QByteArray::fromHex("feff 0054 0075 0072 000a 00e9")
                                                    << utf8("Tur\né") << "UTF-16 BE, LF" << QByteArray();
    QTest::newRow("Latin-1 with CRLF ends")
        << QByteArray("Tur=Asm\r\n; caf\xE9 \xE0 l'\xE9t\xE9\r\nmove: 1;\r\n")
        << utf8("Tur=Asm\n; café à l'été\nmove: 1;\n") << "Latin-1, CRLF" << QByteArray();
    QTest::newRow("bytes that no UTF-8 holds, kept as they are")
        << QByteArray("; \x80\x9F\xFF\xC3\n") << QString::fromLatin1("; \x80\x9F\xFF\xC3\n") << "Latin-1, LF"
        << QByteArray();
    QTest::newRow("invalid UTF-8 after a byte order mark") << QByteArray("\xEF\xBB\xBF\xE9\n")
                                                           << utf8("ï»¿é\n") << "Latin-1, LF" << QByteArray();
    QTest::newRow("an empty file") << QByteArray() << QString() << "UTF-8, LF" << QByteArray();
    QTest::newRow("no line end after the last line") << QByteArray("Tur=Asm\r\nmove: 1;") << utf8("Tur=Asm\nmove: 1;")
                                                     << "UTF-8, CRLF" << QByteArray();
    QTest::newRow("mixed line ends follow the first") << QByteArray("a\r\nb\nc\r\n") << utf8("a\nb\nc\n")
                                                      << "UTF-8, CRLF" << QByteArray("a\r\nb\r\nc\r\n");
    QTest::newRow("a tab, shown as spaces") << QByteArray("Tur=Asm\n\tmove: 1;\n") << utf8("Tur=Asm\n    move: 1;\n")
                                            << "UTF-8, LF" << QByteArray("Tur=Asm\n    move: 1;\n");
}

void TestDocument::encodingsAndLineEnds()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QByteArray, rewritten);
    if (rewritten.isNull()) {
        rewritten = file;
    }

    write(QStringLiteral("current"), file);
    QVERIFY(m_document->openPath(path(QStringLiteral("current"))));
    QCOMPARE(m_editor->toPlainText(), text);
    QCOMPARE(TextFile::describe(m_document->format()), format);

    // Save without an edit.
    QVERIFY(m_document->save());
    QCOMPARE(bytes(QStringLiteral("current")), file);

    // An edit undone by another: the text is written again, in the file's encoding and line ends.
    m_editor->moveCursor(QTextCursor::End);
    m_editor->insertPlainText(QStringLiteral("x"));
    m_editor->textCursor().deletePreviousChar();
    QVERIFY(m_document->isModified());
    QVERIFY(m_document->save());
    QCOMPARE(bytes(QStringLiteral("current")), rewritten);

    m_prompts->setNextFileName(path(QStringLiteral("new")));
    QVERIFY(m_document->saveAs());
    QCOMPARE(bytes(QStringLiteral("new")), rewritten);
    QCOMPARE(m_prompts->shownMessages(), QStringList());
}

void TestDocument::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");

    const QString notText = QStringLiteral("it is not a text file");
    const QString notRegular = QStringLiteral("it is not a regular file");
    QTest::newRow("a picture named as a script")
        << "pic" << QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000001") << notText;
    QTest::newRow("a program") << "program" << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\n\x03\0>\0", 16) << notText;
    QTest::newRow("UTF-16 without a byte order mark") << "bare" << QByteArray::fromHex("54007500720000") << notText;
    QTest::newRow("UTF-16 that decodes to a NUL") << "nul" << QByteArray::fromHex("fffe54000000") << notText;
    QTest::newRow("a FIFO without a writer") << "fifo" << QByteArray() << notRegular;
    QTest::newRow("the zero device") << "/dev/zero" << QByteArray() << notRegular;
    QTest::newRow("a folder") << "folder" << QByteArray() << QStringLiteral("it is a directory");
}

void TestDocument::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);

    QString refused = name.startsWith(QLatin1Char('/')) ? name : path(name);
    if (name == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(refused).constData(), 0600), 0);
    } else if (!file.isEmpty()) {
        write(name, file);
    }
    prepare(true, true);
    m_prompts->setNextAnswer(QMessageBox::Discard);
    QSignalSpy replacing(m_document.get(), &Document::replacing);

    QVERIFY(!m_document->openPath(refused));
    QVERIFY2(m_prompts->shownMessages().constLast().contains(reason), qPrintable(m_prompts->shownMessages().constLast()));
    QCOMPARE(m_editor->toPlainText(), QStringLiteral("xTur=Asm\n"));
    QCOMPARE(m_document->path(), path(QStringLiteral("current")));
    QVERIFY(m_document->isModified());
    QVERIFY(replacing.isEmpty());
    if (!file.isEmpty()) {
        QCOMPARE(bytes(name), file);
    }
}

void TestDocument::characterTheEncodingCannotHold_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("format");

    const QByteArray latin1("Tur=Asm\r\n; caf\xE9\r\n");
    QTest::newRow("a character Latin-1 holds is written in Latin-1 unasked")
        << QString::fromUtf8("ü") << int(QMessageBox::NoButton) << false << latin1 + "\xFC" << "Latin-1, CRLF";
    QTest::newRow("a euro sign asks, and Save writes UTF-8 with the same line ends")
        << QString::fromUtf8("€") << int(QMessageBox::Save) << true
        << QByteArray("Tur=Asm\r\n; caf\xC3\xA9\r\n\xE2\x82\xAC") << "UTF-8, CRLF";
    QTest::newRow("a euro sign asks, and Cancel writes nothing")
        << QString::fromUtf8("€") << int(QMessageBox::Cancel) << true << latin1 << "Latin-1, CRLF";
}

void TestDocument::characterTheEncodingCannotHold()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(QByteArray, file);
    QFETCH(QString, format);

    write(QStringLiteral("current"), "Tur=Asm\r\n; caf\xE9\r\n");
    QVERIFY(m_document->openPath(path(QStringLiteral("current"))));
    m_editor->moveCursor(QTextCursor::End);
    m_editor->insertPlainText(typed);
    if (answer != QMessageBox::NoButton) {
        m_prompts->setNextAnswer(QMessageBox::StandardButton(answer));
    }

    QCOMPARE(m_document->save(), answer != QMessageBox::Cancel);
    QCOMPARE(m_prompts->shownMessages().size(), int(asked));
    if (asked) {
        const QString question = m_prompts->shownMessages().constFirst();
        QVERIFY2(question.contains(QStringLiteral("Latin-1")) && question.contains(typed)
                     && question.contains(QStringLiteral("line 3")),
                 qPrintable(question));
    }
    QCOMPARE(bytes(QStringLiteral("current")), file);
    QCOMPARE(TextFile::describe(m_document->format()), format);
    QCOMPARE(m_document->isModified(), answer == QMessageBox::Cancel);
}

void TestDocument::changesOnDisk_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("change");
    // What the user does once the change is seen: "reload", "keep mine, save" or "save".
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("notice");

    const int none = QMessageBox::NoButton;
    const QString original = QStringLiteral("Tur=Asm\nmove: 1;\nleft: 2;\n");
    const QString edited = QStringLiteral("Tur=Asm\nxmove: 1;\nleft: 2;\n");
    const QString appended = original + QStringLiteral("right: 3;\n");
    const QString replaced = QStringLiteral("Tur=Asm\nput: 0, 0;\nmove: 9;\n");

    QTest::newRow("an append with no edits is read again, the cursor on its line")
        << false << "append" << "" << none << appended << false << appended << false << "read again";
    QTest::newRow("a file replaced by a rename is read again, and so is the next one")
        << false << "replace twice" << "" << none << replaced + QStringLiteral("end;\n") << false
        << replaced + QStringLiteral("end;\n") << false << "read again";
    QTest::newRow("an append under edits offers Reload, which drops the edits")
        << true << "append" << "reload" << none << appended << false << appended << false << "";
    QTest::newRow("an append under edits, kept, is overwritten at Save once the user agrees")
        << true << "append" << "keep mine, save" << int(QMessageBox::Save) << edited << false << edited << true << "";
    QTest::newRow("an append under edits, kept, stays when the user cancels the save")
        << true << "append" << "keep mine, save" << int(QMessageBox::Cancel) << edited << true << appended << true
        << "";
    QTest::newRow("a deleted file marks the document modified, and Save writes it again")
        << false << "delete" << "save" << none << original << false << original << false << "deleted";
    QTest::newRow("a deleted file under edits is written again at Save, unasked")
        << true << "delete" << "save" << none << edited << false << edited << false << "deleted";
}

void TestDocument::changesOnDisk()
{
    QFETCH(bool, edited);
    QFETCH(QString, change);
    QFETCH(QString, response);
    QFETCH(int, answer);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    QFETCH(QString, file);
    QFETCH(bool, asked);
    QFETCH(QString, notice);

    const QString current = path(QStringLiteral("current"));
    write(QStringLiteral("current"), "Tur=Asm\nmove: 1;\nleft: 2;\n");
    QVERIFY(m_document->openPath(current));
    m_editor->setTextCursor(QTextCursor(m_editor->document()->findBlockByNumber(1)));
    if (edited) {
        QTest::keyClicks(m_editor.get(), "x");
    }
    QSignalSpy conflicts(m_document.get(), &Document::conflictChanged);
    QSignalSpy notices(m_document.get(), &Document::notice);
    const auto seen = [&] { return !conflicts.isEmpty() || !notices.isEmpty(); };

    if (change == QLatin1String("append")) {
        QFile appending(current);
        QVERIFY(appending.open(QIODevice::Append));
        appending.write("right: 3;\n");
    } else if (change == QLatin1String("delete")) {
        QVERIFY(QFile::remove(current));
    } else {
        for (const char* content : { "Tur=Asm\nput: 0, 0;\nmove: 9;\n", "Tur=Asm\nput: 0, 0;\nmove: 9;\nend;\n" }) {
            notices.clear();
            QSaveFile replacing(current);
            QVERIFY(replacing.open(QIODevice::WriteOnly));
            replacing.write(content);
            QVERIFY(replacing.commit());
            QTRY_VERIFY_WITH_TIMEOUT(seen(), 30000);
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(seen(), 30000);
    // Unsaved edits wait for the user's answer in the bar.
    QCOMPARE(m_document->hasConflict(), edited && change != QLatin1String("delete"));
    if (!notice.isEmpty()) {
        QVERIFY2(notices.constLast().constFirst().toString().contains(notice),
                 qPrintable(notices.constLast().constFirst().toString()));
    }
    if (change == QLatin1String("delete")) {
        QVERIFY(m_document->isModified());
        QVERIFY(m_document->title().endsWith(QLatin1Char('*')));
    }

    if (answer != QMessageBox::NoButton) {
        m_prompts->setNextAnswer(QMessageBox::StandardButton(answer));
    }
    if (response == QLatin1String("reload")) {
        QVERIFY(m_document->reload());
    } else if (response == QLatin1String("keep mine, save")) {
        m_document->keepMine();
        QVERIFY(!m_document->hasConflict());
        m_document->save();
    } else if (response == QLatin1String("save")) {
        QVERIFY(m_document->save());
    }

    QCOMPARE(m_editor->toPlainText(), text);
    QCOMPARE(m_document->isModified(), modified);
    QCOMPARE(read(QStringLiteral("current")), file);
    QCOMPARE(m_prompts->shownMessages().size(), int(asked));
    if (asked) {
        QVERIFY(m_prompts->shownMessages().constFirst().contains(QStringLiteral("changed on disk")));
    }
    QCOMPARE(m_editor->textCursor().blockNumber(), 1);
    QCOMPARE(m_document->hasConflict(), response.isEmpty() && edited);
}

void TestDocument::ownSavesAreNoChange()
{
    prepare(true, true);
    QSignalSpy notices(m_document.get(), &Document::notice);
    QSignalSpy conflicts(m_document.get(), &Document::conflictChanged);
    QVERIFY(m_document->save());
    QTest::keyClicks(m_editor.get(), "y");
    QVERIFY(m_document->save());
    // The file is the one the last save wrote: a save with no edit asks nothing.
    QVERIFY(m_document->save());
    QCOMPARE(m_prompts->shownMessages(), QStringList());

    // Another program's change, after ours, is the only one reported.
    QFile appending(path(QStringLiteral("current")));
    QVERIFY(appending.open(QIODevice::Append));
    appending.write("move: 1;\n");
    appending.close();
    QTRY_VERIFY_WITH_TIMEOUT(!notices.isEmpty(), 30000);
    QCOMPARE(notices.size(), 1);
    QVERIFY(conflicts.isEmpty());
    QCOMPARE(m_editor->toPlainText(), QStringLiteral("xyTur=Asm\nmove: 1;\n"));
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
