#include "settings.h"

#include <QFileInfo>
#include <QMetaEnum>

namespace {

const char* const FolderKeys[] = { "folders/scripts", "folders/traces", "folders/images" };

} // namespace

Settings::Settings() = default;

QByteArray Settings::bytes(const QString& key) const
{
    const QVariant value = m_settings.value(key);
    return value.userType() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

Settings::Window Settings::window() const
{
    return { bytes(QStringLiteral("window/geometry")), bytes(QStringLiteral("window/state")),
             bytes(QStringLiteral("window/split")), bytes(QStringLiteral("pen")) };
}

void Settings::setWindow(const Window& window)
{
    m_settings.setValue(QStringLiteral("window/geometry"), window.geometry);
    m_settings.setValue(QStringLiteral("window/state"), window.state);
    m_settings.setValue(QStringLiteral("window/split"), window.split);
    m_settings.setValue(QStringLiteral("pen"), window.pen);
}

QString Settings::language() const
{
    const QString language = m_settings.value(QStringLiteral("language")).toString();
    if (language == QLatin1String("fr") || language == QLatin1String("en")) {
        return language;
    }
    return QStringLiteral("system");
}

void Settings::setLanguage(const QString& language)
{
    m_settings.setValue(QStringLiteral("language"), language);
}

QString Settings::folder(Folder which, const QString& fallback) const
{
    const QVariant value = m_settings.value(QLatin1String(FolderKeys[which]));
    const QString path = value.userType() == QMetaType::QString ? value.toString() : QString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : fallback;
}

void Settings::setFolder(Folder which, const QString& path)
{
    m_settings.setValue(QLatin1String(FolderKeys[which]), path);
}

QStringList Settings::recentFiles() const
{
    const QVariant value = m_settings.value(QStringLiteral("recentFiles"));
    if (value.userType() != QMetaType::QStringList && value.userType() != QMetaType::QString) {
        return QStringList();
    }
    return value.toStringList();
}

void Settings::setRecentFiles(const QStringList& files)
{
    m_settings.setValue(QStringLiteral("recentFiles"), files);
}

qreal Settings::editorFontSize() const
{
    bool ok = false;
    const qreal size = m_settings.value(QStringLiteral("editor/fontSize")).toDouble(&ok);
    return ok && size >= 4 && size <= 96 ? size : 0;
}

void Settings::setEditorFontSize(qreal size)
{
    m_settings.setValue(QStringLiteral("editor/fontSize"), size);
}

RunSession::Speed Settings::runSpeed() const
{
    const QByteArray key = m_settings.value(QStringLiteral("run/speed")).toString().toLatin1();
    bool valid = false;
    const int value = QMetaEnum::fromType<RunSession::Speed>().keyToValue(key.constData(), &valid);
    return valid ? RunSession::Speed(value) : RunSession::Instant;
}

void Settings::setRunSpeed(RunSession::Speed speed)
{
    m_settings.setValue(QStringLiteral("run/speed"),
                        QString::fromLatin1(QMetaEnum::fromType<RunSession::Speed>().valueToKey(speed)));
}

bool Settings::executionCounts() const
{
    // An INI file gives the text back, a registry the boolean.
    const QVariant value = m_settings.value(QStringLiteral("editor/executionCounts"));
    return value.toString() == QLatin1String("true");
}

void Settings::setExecutionCounts(bool shown)
{
    m_settings.setValue(QStringLiteral("editor/executionCounts"), shown);
}
