#include "document.h"

#include "memorysafety.h"
#include "prompts.h"
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
    const QString path = this->path();
    if (!path.isEmpty()) {
        title += QStringLiteral(" - ") + path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (isModified()) {
            title += QLatin1Char('*');
        }
    }
    return title;
}

bool Document::mayDiscard()
{
    if (!isModified()) {
        return true;
    }
    const QMessageBox::StandardButton answer
        = m_prompts->question(tr("Do you want to save .tur file ?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
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

bool Document::close()
{
    if (!mayDiscard()) {
        return false;
    }
    emit replacing();
    m_editor->clear();
    setPath(QString());
    m_editor->setIfModified(false);
    return true;
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
        m_prompts->warn(tr("Load failed"), tr("The loading of the file have failed"), error);
        return false;
    }
    emit replacing();
    const QString previous = m_editor->toPlainText();
    const bool wasModified = isModified();
    if (!MemorySafety::attempt([&] { m_editor->setPlainText(text); })) {
        text.clear();
        m_editor->setPlainText(previous);
        m_editor->setIfModified(wasModified);
        m_prompts->warn(tr("Load failed"), tr("The loading of the file have failed"), MemorySafety::outOfMemory());
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
        m_prompts->warn(tr("Save failed"), tr("The save of the file have failed"), error);
        return false;
    }
    m_editor->document()->setModified(false);
    m_editor->setIfModified(false);
    return true;
}

void Document::setPath(const QString& path)
{
    m_editor->setDocumentTitle(path);
    emit titleChanged();
}
