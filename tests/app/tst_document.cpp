#include "document.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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

private:
    // A name of the table ("current", "next", "new", "folder", "missing") as a path; "" stays "".
    QString path(const QString& name) const;
    QString read(const QString& name) const;
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

QString TestDocument::path(const QString& name) const
{
    return name.isEmpty() ? QString() : m_dir->filePath(name + QStringLiteral(".tur"));
}

QString TestDocument::read(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(none)");
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
    QTest::newRow("save as onto a folder warns, keeps the edits and takes the name")
        << true << true << "save as" << none << QStringList { "folder" } << "folder" << true << edited << false << 1
        << QStringList { "current", current } << false << "";
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

    QTest::newRow("untitled shows the application name") << "" << false << "Korvane";
    QTest::newRow("untitled and edited gets a star") << "" << true << "Korvane*";
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

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
