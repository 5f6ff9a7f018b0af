#pragma once

#include "session/runsession.h"

#include <QSettings>
#include <QStringList>

// What Korvane keeps between sessions, in the toolkit's standard place (a
// default QSettings: set the organisation and application names first). Every
// value read back is checked, so a damaged or foreign file only loses that
// value; a getter then returns its fallback.
class Settings
{
public:
    enum Folder { Scripts, Traces, Images };

    // What the window keeps of its parts, each saved and restored by the part
    // itself; an empty state when none was stored.
    struct Window {
        // Maximised or not.
        QByteArray geometry;
        // The docks and the tool bars.
        QByteArray state;
        QByteArray split;
        QByteArray pen;
    };

    Settings();

    Window window() const;
    void setWindow(const Window& window);

    // "system", "fr" or "en".
    QString language() const;
    void setLanguage(const QString& language);

    // An existing folder, else the fallback.
    QString folder(Folder which, const QString& fallback) const;
    void setFolder(Folder which, const QString& path);

    QStringList recentFiles() const;
    void setRecentFiles(const QStringList& files);

    // In points; 0 when none or not a sensible size.
    qreal editorFontSize() const;
    void setEditorFontSize(qreal size);

    // The speed of runs; Instant when none valid is stored.
    RunSession::Speed runSpeed() const;
    void setRunSpeed(RunSession::Speed speed);

    // Whether the editor shows how many times each line executed; off when unset.
    bool executionCounts() const;
    void setExecutionCounts(bool shown);

private:
    QByteArray bytes(const QString& key) const;

    QSettings m_settings;
};
