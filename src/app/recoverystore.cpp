#include "recoverystore.h"

#include "prompts.h"
#include "widgets/qeditor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const char* const Prefix = "recovery-";

} // namespace

RecoveryStore::RecoveryStore(QEditor* editor, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
    , m_directory(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
{
    setObjectName(QStringLiteral("recoveryStore"));
    QDir().mkpath(m_directory);
    const QString stem = QDir(m_directory).filePath(QLatin1String(Prefix)
                                                    + QString::number(QCoreApplication::applicationPid()));
    m_path = stem + QStringLiteral(".tur");
    m_lock = std::make_unique<QLockFile>(stem + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0);
    (void)m_lock->tryLock(0);

    m_timer.setSingleShot(true);
    m_timer.setInterval(3000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryStore::write);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &RecoveryStore::changed);
    connect(m_editor, &QEditor::modified, this, [this] {
        if (!m_editor->isModified()) {
            discard();
        }
    });
}

// Only an orderly end gets here, after the user saved or chose to discard.
RecoveryStore::~RecoveryStore()
{
    discard();
}

void RecoveryStore::setDelay(int milliseconds)
{
    m_timer.setInterval(milliseconds);
}

void RecoveryStore::changed()
{
    if (m_editor->isModified()) {
        m_timer.start();
    }
}

void RecoveryStore::write()
{
    if (!m_editor->isModified()) {
        return;
    }
    // The first line names the script the text belongs to, if any.
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream out(&file);
        out.setGenerateByteOrderMark(false);
        out << m_editor->documentTitle() << '\n' << m_editor->toPlainText();
        out.flush();
        if (out.status() == QTextStream::Ok) {
            file.commit();
        }
    }
}

void RecoveryStore::discard()
{
    m_timer.stop();
    QFile::remove(m_path);
}

bool RecoveryStore::offerRestore(Prompts& prompts)
{
    // The newest copy whose Korvane is gone: its lock can be taken.
    QDir directory(m_directory);
    const QFileInfoList copies = directory.entryInfoList({ QLatin1String(Prefix) + QStringLiteral("*.tur") },
                                                         QDir::Files, QDir::Time);
    QString orphan;
    for (const QFileInfo& copy : copies) {
        if (copy.absoluteFilePath() == QFileInfo(m_path).absoluteFilePath()) {
            continue;
        }
        QLockFile lock(copy.path() + QLatin1Char('/') + copy.completeBaseName() + QStringLiteral(".lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) {
            continue;
        }
        if (orphan.isEmpty()) {
            orphan = copy.absoluteFilePath();
        } else {
            QFile::remove(copy.absoluteFilePath());
        }
    }
    if (orphan.isEmpty()) {
        return false;
    }

    QFile file(orphan);
    QString title;
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        QTextStream in(&file);
        title = in.readLine();
        text = in.readAll();
    }
    const QMessageBox::StandardButton answer = prompts.question(
        tr("Korvane ended without saving the script you were editing. Do you want to restore the unsaved text?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    file.remove();
    if (answer != QMessageBox::Yes) {
        return false;
    }
    m_editor->setPlainText(text);
    m_editor->setDocumentTitle(title);
    m_editor->document()->setModified(true);
    m_editor->setIfModified(true);
    return true;
}
