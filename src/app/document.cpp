#include "document.h"

#include "memorysafety.h"
#include "prompts.h"
#include "frontend/interpreter.h"
#include "system/outputfile.h"
#include "widgets/qeditor.h"

#include <QCoreApplication>
#include <QTextDocument>

namespace {

// Marked for lupdate here, translated each time a dialog opens.
const char* const TurtleFiles = QT_TRANSLATE_NOOP("Document", "Turtle files (*.tur);;Other files (*.*)");

} // namespace

Document::Document(QEditor* editor, Prompts* prompts, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
    , m_prompts(prompts)
    , m_folder(QStringLiteral("./TurtleCodes/"))
{
    connect(m_editor, &QEditor::modified, this, &Document::titleChanged);
}

QString Document::path() const
{
    return m_editor->documentTitle();
}

bool Document::isModified() const
{
    return m_editor->isModified();
}

QString Document::title() const
{
    QString title = QCoreApplication::applicationName();
    if (!path().isEmpty()) {
        title += QStringLiteral(" - ") + fileName();
    }
    if (isModified()) {
        title += QLatin1Char('*');
    }
    return title;
}

QString Document::fileName() const
{
    const QString path = this->path();
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool Document::mayDiscard()
{
    if (!isModified()) {
        return true;
    }
    const QString question = path().isEmpty() ? tr("Do you want to save the untitled script?")
                                               : tr("Do you want to save the changes to %1?").arg(fileName());
    const QMessageBox::StandardButton answer = m_prompts->question(
        question, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    // A save that failed or whose name was not given must not let the edits go.
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
}

void Document::open()
{
    if (!mayDiscard()) {
        return;
    }
    const QString path = m_prompts->openFileName(tr("Open a turtle file"), m_folder, tr(TurtleFiles));
    if (!path.isEmpty()) {
        read(path, false);
    }
}

bool Document::openPath(const QString& path)
{
    return mayDiscard() && read(path, false);
}

bool Document::openCopy(const QString& path)
{
    return mayDiscard() && read(path, true);
}

bool Document::save()
{
    const QString path = this->path();
    if (path.isEmpty()) {
        return saveAs();
    }
    return write(path);
}

bool Document::saveAs()
{
    const QString path = m_prompts->saveFileName(tr("Save the file"), m_folder, tr(TurtleFiles), QStringLiteral("tur"));
    if (path.isEmpty()) {
        return false;
    }
    setPath(path);
    const bool written = write(path);
    if (written) {
        emit fileUsed(path);
    }
    return written;
}

bool Document::openNew(const QString& path)
{
    return mayDiscard() && replace(Interpreter::header() + QLatin1Char('\n'), path);
}

bool Document::startNew()
{
    return openNew(QString());
}

bool Document::close()
{
    return mayDiscard() && replace(QString(), QString());
}

void Document::chooseFolder()
{
    m_folder = m_prompts->chooseFolder(m_folder);
}

bool Document::read(const QString& path, bool asCopy)
{
    QString text;
    QString error;
    if (!MemorySafety::readScript(path, text, error)) {
        m_prompts->warn(tr("Load failed"), tr("The file could not be loaded."), error);
        return false;
    }
    emit replacing();
    const QString previous = m_editor->toPlainText();
    const bool wasModified = isModified();
    if (!MemorySafety::attempt([&] { m_editor->setPlainText(text); })) {
        text.clear();
        m_editor->setPlainText(previous);
        m_editor->setIfModified(wasModified);
        m_prompts->warn(tr("Load failed"), tr("The file could not be loaded."), MemorySafety::outOfMemory());
        return false;
    }
    setPath(asCopy ? QString() : path);
    m_editor->setIfModified(false);
    if (!asCopy) {
        emit fileUsed(path);
    }
    return true;
}

bool Document::write(const QString& path)
{
    QString error;
    if (!OutputFile::writeText(path, m_editor->toPlainText(), error)) {
        m_prompts->warn(tr("Save failed"), tr("The file could not be saved."), error);
        return false;
    }
    m_editor->document()->setModified(false);
    m_editor->setIfModified(false);
    return true;
}

bool Document::replace(const QString& text, const QString& path)
{
    emit replacing();
    m_editor->setPlainText(text);
    m_editor->moveCursor(QTextCursor::End);
    setPath(path);
    m_editor->setIfModified(false);
    return true;
}

void Document::setPath(const QString& path)
{
    m_editor->setDocumentTitle(path);
    emit titleChanged();
}
