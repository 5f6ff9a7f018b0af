#include "recoverystore.h"

#include "prompts.h"
#include "widgets/qeditor.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const TextSuffix = ".tur";
const char* const InfoSuffix = ".json";
const char* const LockSuffix = ".lock";

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Creates the folder private to the user, or says why it cannot be trusted:
// another user could read the copies or plant files in it.
QString prepareFolder(const QString& folder)
{
    QDir().mkpath(QFileInfo(folder).absolutePath());
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        return systemReason(errno);
    }
    struct stat status;
    if (::lstat(name.constData(), &status) != 0) {
        return systemReason(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        return RecoveryStore::tr("it is a symbolic link");
    }
    if (!S_ISDIR(status.st_mode)) {
        return RecoveryStore::tr("it is not a folder");
    }
    if (status.st_uid != ::geteuid()) {
        return RecoveryStore::tr("it belongs to another user");
    }
    if ((status.st_mode & 0077) != 0 && ::chmod(name.constData(), 0700) != 0) {
        return systemReason(errno);
    }
    return QString();
}

// Reads a copy only if it is a regular file of the user's own, never through a link.
bool readPrivate(const QString& path, QByteArray& content, QString& refusal)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        refusal = errno == ELOOP ? RecoveryStore::tr("it is a symbolic link") : systemReason(errno);
        return false;
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(descriptor);
        refusal = RecoveryStore::tr("it is not a file of your own");
        return false;
    }
    QFile file;
    const bool read = file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    content = file.readAll();
    if (!read || file.error() != QFileDevice::NoError) {
        refusal = file.errorString();
        return false;
    }
    return true;
}

// Replaces path with content, readable by the user alone. The new content is
// written beside it under a name created afresh (never a file or link already
// there) and renamed over it, which replaces a link instead of following it.
bool writePrivate(const QString& path, const QByteArray& content)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    ::unlink(temporary.constData());
    const int descriptor
        = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    const char* data = content.constData();
    qint64 left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        data += written;
        left -= written;
    }
    const bool whole = left == 0 && ::fdatasync(descriptor) == 0;
    if (::close(descriptor) != 0 || !whole || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

// The lock of a session, or nullptr while a live session holds it. A lock
// left by a session that is gone is stale: it is removed and taken.
std::unique_ptr<QLockFile> takeLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return nullptr;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return lock;
}

bool isSessionId(const QString& id)
{
    return !QUuid::fromString(id).isNull();
}

} // namespace

RecoveryStore::RecoveryStore(QEditor* editor, QObject* parent, const QString& folder)
    : QObject(parent)
    , m_editor(editor)
    , m_folder(folder.isEmpty()
                   ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery")
                   : folder)
    , m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    setObjectName(QStringLiteral("recoveryStore"));
    const QString unsafe = prepareFolder(m_folder);
    if (!unsafe.isEmpty()) {
        m_refusal = tr("Unsaved text cannot be kept for recovery in %1: %2.").arg(m_folder, unsafe);
    } else {
        m_lock = takeLock(filePath(m_id, LockSuffix));
        if (!m_lock) {
            m_refusal = tr("Unsaved text cannot be kept for recovery in %1: %2.")
                            .arg(m_folder, tr("the session's lock cannot be created"));
        }
    }

    m_timer.setSingleShot(true);
    m_timer.setInterval(3000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryStore::protect);
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

QString RecoveryStore::filePath() const
{
    return filePath(m_id, TextSuffix);
}

QString RecoveryStore::filePath(const QString& id, const char* suffix) const
{
    return m_folder + QLatin1Char('/') + id + QLatin1String(suffix);
}

void RecoveryStore::changed()
{
    if (m_editor->isModified()) {
        m_timer.start();
    }
}

void RecoveryStore::protect()
{
    m_timer.stop();
    if (!m_lock || !m_editor->isModified()) {
        return;
    }
    const QString script = m_editor->documentTitle();
    QJsonObject info;
    info.insert(QStringLiteral("path"), script.isEmpty() ? QString() : QFileInfo(script).absoluteFilePath());
    info.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    // The copy is always UTF-8; this names the encoding of the script's file.
    info.insert(QStringLiteral("encoding"), QStringLiteral("UTF-8"));
    // The text first: a copy with no information is still offered, as untitled.
    if (writePrivate(filePath(m_id, TextSuffix), m_editor->toPlainText().toUtf8())) {
        writePrivate(filePath(m_id, InfoSuffix), QJsonDocument(info).toJson());
    }
}

void RecoveryStore::discard()
{
    m_timer.stop();
    if (m_lock) {
        remove(m_id);
    }
}

void RecoveryStore::remove(const QString& id) const
{
    QFile::remove(filePath(id, TextSuffix));
    QFile::remove(filePath(id, InfoSuffix));
}

std::vector<RecoveryStore::Orphan> RecoveryStore::claimOrphans(QStringList& refused)
{
    QStringList ids;
    const QStringList names = QDir(m_folder).entryList(
        { QLatin1String("*") + QLatin1String(TextSuffix), QLatin1String("*") + QLatin1String(InfoSuffix),
          QLatin1String("*") + QLatin1String(LockSuffix) },
        QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : names) {
        const QString id = name.left(name.lastIndexOf(QLatin1Char('.')));
        if (id != m_id && isSessionId(id) && !ids.contains(id)) {
            ids << id;
        }
    }

    std::vector<Orphan> orphans;
    for (const QString& id : ids) {
        std::unique_ptr<QLockFile> lock = takeLock(filePath(id, LockSuffix));
        if (!lock) {
            continue;
        }
        Orphan orphan;
        orphan.id = id;
        QString refusal;
        const QFileInfo text(filePath(id, TextSuffix));
        if (!text.exists() && !text.isSymLink()) {
            // A lock left alone, or information whose text was never written.
            QFile::remove(filePath(id, InfoSuffix));
            continue;
        }
        if (!read(orphan, refusal)) {
            refused << QStringLiteral("%1: %2").arg(filePath(id, TextSuffix), refusal);
            continue;
        }
        orphan.lock = std::move(lock);
        orphans.push_back(std::move(orphan));
    }
    std::stable_sort(orphans.begin(), orphans.end(),
                     [](const Orphan& a, const Orphan& b) { return a.time > b.time; });
    return orphans;
}

bool RecoveryStore::read(Orphan& orphan, QString& refusal) const
{
    if (!readPrivate(filePath(orphan.id, TextSuffix), orphan.text, refusal)) {
        return false;
    }
    orphan.time = QFileInfo(filePath(orphan.id, TextSuffix)).lastModified();
    QByteArray content;
    const QString infoPath = filePath(orphan.id, InfoSuffix);
    if (QFileInfo(infoPath).isSymLink() || QFileInfo::exists(infoPath)) {
        if (!readPrivate(infoPath, content, refusal)) {
            return false;
        }
        const QJsonObject info = QJsonDocument::fromJson(content).object();
        orphan.path = info.value(QStringLiteral("path")).toString();
        orphan.encoding = info.value(QStringLiteral("encoding")).toString();
        const QDateTime time = QDateTime::fromString(info.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
        if (time.isValid()) {
            orphan.time = time;
        }
    }
    return true;
}

QString RecoveryStore::describe(const Orphan& orphan) const
{
    const QString name = orphan.path.isEmpty() ? tr("an untitled script") : QFileInfo(orphan.path).fileName();
    return tr("%1, last changed %2")
        .arg(name, QLocale().toString(orphan.time.toLocalTime(), QLocale::ShortFormat));
}

void RecoveryStore::restore(const Orphan& orphan)
{
    m_editor->setPlainText(QString::fromUtf8(orphan.text));
    m_editor->setDocumentTitle(orphan.path);
    m_editor->document()->setModified(true);
    m_editor->setIfModified(true);
    // The old copy goes only once the text is safe in this session's own.
    protect();
    if (QFileInfo::exists(filePath())) {
        remove(orphan.id);
    }
}

bool RecoveryStore::offerRestore(Prompts& prompts)
{
    if (!m_refusal.isEmpty()) {
        prompts.warn(tr("Recovery is off"), m_refusal.toHtmlEscaped(), QString());
        return false;
    }
    QStringList refused;
    std::vector<Orphan> orphans = claimOrphans(refused);
    for (const QString& refusal : refused) {
        prompts.warn(tr("Recovery copy refused"), tr("A recovery copy is not safe to read and was left as it is."),
                     refusal);
    }

    const int count = static_cast<int>(orphans.size());
    for (int i = 0; i < count; ++i) {
        QString text;
        if (count > 1) {
            text += QStringLiteral("<p>%1</p>").arg(tr("Unsaved text %1 of %2").arg(i + 1).arg(count));
        }
        text += QStringLiteral("<p>%1</p><p><strong>%2</strong></p><p>%3</p>")
                    .arg(tr("Korvane ended without saving this text:"), describe(orphans[i]).toHtmlEscaped(),
                         tr("Do you want to restore it? Cancel keeps it for the next start."));
        const QMessageBox::StandardButton answer = prompts.question(
            text, QMessageBox::Yes | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Yes) {
            restore(orphans[i]);
            return true;
        }
        if (answer == QMessageBox::Discard) {
            remove(orphans[i].id);
        }
    }
    return false;
}
