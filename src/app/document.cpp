#include "document.h"

#include "memorysafety.h"
#include "prompts.h"
#include "frontend/interpreter.h"
#include "system/outputfile.h"
#include "widgets/qeditor.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
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
    connect(&m_watch, &FileWatch::stateChanged, this, &Document::diskChanged);
}

QString Document::path() const
{
    return m_editor->documentTitle();
}

bool Document::isModified() const
{
    return m_editor->isModified();
}

QString Document::fileName() const
{
    const QString path = this->path();
    return path.isEmpty() ? tr("Untitled") : path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString Document::title() const
{
    return QCoreApplication::applicationName() + QStringLiteral(" - ") + fileName()
        + (isModified() ? QStringLiteral("*") : QString());
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
    const FileWatch::State disk = m_watch.path() == path ? m_watch.state() : FileWatch::Missing;
    if (disk == FileWatch::Same && !isModified()) {
        return true;
    }
    if (disk == FileWatch::Changed
        && m_prompts->question(tr("%1 was changed on disk after it was read. Overwrite it with your text?")
                                   .arg(fileName()),
                               QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel)
            != QMessageBox::Save) {
        return false;
    }
    return write(path);
}

bool Document::saveAs()
{
    const QString path = m_prompts->saveFileName(tr("Save the file"), m_folder, tr(TurtleFiles), QStringLiteral("tur"));
    // The name is taken only once the file is written: a failed write leaves the document as it was.
    if (path.isEmpty() || !write(path)) {
        return false;
    }
    setPath(path);
    emit fileUsed(path);
    return true;
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

bool Document::reload()
{
    QString error;
    if (path().isEmpty()) {
        return false;
    }
    if (!reloadKeepingLine(error)) {
        m_prompts->warn(tr("Load failed"), tr("The file could not be loaded."), error);
        return false;
    }
    return true;
}

bool Document::reloadKeepingLine(QString& error)
{
    const int line = m_editor->textCursor().blockNumber();
    const int scrolled = m_editor->verticalScrollBar()->value();
    if (!load(path(), false, error)) {
        return false;
    }
    m_editor->setTextCursor(QTextCursor(m_editor->document()->findBlockByNumber(qMin(line, m_editor->blockCount() - 1))));
    m_editor->verticalScrollBar()->setValue(scrolled);
    return true;
}

void Document::keepMine()
{
    setConflict(false);
}

bool Document::read(const QString& path, bool asCopy)
{
    QString error;
    if (!load(path, asCopy, error)) {
        m_prompts->warn(tr("Load failed"), tr("The file could not be loaded."), error);
        return false;
    }
    if (!asCopy) {
        emit fileUsed(path);
    }
    return true;
}

bool Document::load(const QString& path, bool asCopy, QString& error)
{
    QString text;
    TextFile::Format format;
    QByteArray bytes;
    if (!MemorySafety::readScript(path, text, format, bytes, error)) {
        return false;
    }
    emit replacing();
    const QString previous = m_editor->toPlainText();
    const bool wasModified = isModified();
    if (!MemorySafety::attempt([&] { m_editor->setPlainText(text); })) {
        text.clear();
        m_editor->setPlainText(previous);
        m_editor->setIfModified(wasModified);
        error = MemorySafety::outOfMemory();
        return false;
    }
    if (asCopy) {
        m_watch.stop();
    } else {
        m_watch.track(path, bytes);
    }
    setConflict(false);
    setFormat(format);
    setPath(asCopy ? QString() : path);
    m_editor->setIfModified(false);
    return true;
}

bool Document::write(const QString& path)
{
    TextFile::Format format = m_format;
    const QString text = m_editor->toPlainText();
    const int unencodable = TextFile::firstUnencodable(text, format.encoding);
    if (unencodable >= 0) {
        const int length = text.at(unencodable).isHighSurrogate() ? 2 : 1;
        const QString question
            = tr("%1 cannot hold the character \"%2\" on line %3. Save the file as UTF-8?")
                  .arg(TextFile::encodingName(format.encoding), text.mid(unencodable, length))
                  .arg(text.left(unencodable).count(QLatin1Char('\n')) + 1);
        if (m_prompts->question(question, QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save)
            != QMessageBox::Save) {
            return false;
        }
        format.encoding = TextFile::Utf8;
    }
    QByteArray bytes;
    QString error;
    if (!MemorySafety::attempt([&] { bytes = TextFile::encode(text, format); })) {
        error = MemorySafety::outOfMemory();
    } else {
        OutputFile::writeBytes(path, bytes, error);
    }
    if (!error.isEmpty()) {
        m_prompts->warn(tr("Save failed"), tr("The file could not be saved."), error);
        return false;
    }
    m_watch.track(path, bytes);
    setConflict(false);
    setFormat(format);
    m_editor->document()->setModified(false);
    m_editor->setIfModified(false);
    return true;
}

bool Document::replace(const QString& text, const QString& path)
{
    emit replacing();
    m_editor->setPlainText(text);
    m_editor->moveCursor(QTextCursor::End);
    // No file was read: the script is written as UTF-8 with LF ends.
    m_watch.stop();
    setConflict(false);
    setFormat(TextFile::Format());
    setPath(path);
    m_editor->setIfModified(false);
    return true;
}

void Document::setPath(const QString& path)
{
    // Absolute, so that a save after the working folder changed (or a text
    // restored in another folder) writes the file that was opened.
    m_editor->setDocumentTitle(path.isEmpty() ? path : QFileInfo(path).absoluteFilePath());
    emit titleChanged();
}

void Document::setFormat(const TextFile::Format& format)
{
    if (format != m_format) {
        m_format = format;
        emit formatChanged();
    }
}

void Document::setConflict(bool conflict)
{
    if (conflict != m_conflict) {
        m_conflict = conflict;
        emit conflictChanged(conflict);
    }
}

void Document::diskChanged(FileWatch::State state)
{
    switch (state) {
    case FileWatch::Same:
        // Put back as it was read: nothing to answer any more.
        setConflict(false);
        break;
    case FileWatch::Changed:
        if (isModified()) {
            setConflict(true);
            break;
        }
        if (QString error; reloadKeepingLine(error)) {
            emit notice(tr("%1 was changed on disk and has been read again.").arg(fileName()));
        } else {
            // The text shown is no longer what the file holds.
            m_editor->document()->setModified(true);
            emit notice(tr("%1 was changed on disk and could not be read again: %2").arg(fileName(), error));
        }
        break;
    case FileWatch::Missing:
        setConflict(false);
        m_editor->document()->setModified(true);
        emit notice(tr("%1 was deleted from disk; Save writes it again.").arg(fileName()));
        break;
    }
}
