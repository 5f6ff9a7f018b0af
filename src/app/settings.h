#pragma once

#include "session/runsession.h"

#include <QSettings>
#include <QStringList>

class QCentralSplitter;
class QEditor;
class QMainWindow;
class QTurtleTraceProperties;
class RecentFiles;

// What Korvane keeps between sessions, in the toolkit's standard place (a
// default QSettings: set the organisation and application names first). Every
// value read back is checked, so a damaged or foreign file only loses that
// value; a getter then returns its fallback.
class Settings
{
public:
    enum Folder { Scripts, Traces, Images };

    // What the window keeps, by the parts that hold it.
    struct Window {
        QMainWindow* window;
        QCentralSplitter* splitter;
        QTurtleTraceProperties* pen;
        QEditor* editor;
        RecentFiles* recentFiles;
        QString* folders[3];
    };

    Settings();

    // All but the language, which the window applies first (see language()).
    // False when no usable window geometry was stored.
    bool restore(const Window& parts) const;
    void save(const Window& parts);

    // The window's geometry (maximised or not) and its docks and tool bars;
    // false when nothing usable was stored.
    bool restoreWindow(QMainWindow* window) const;
    void saveWindow(const QMainWindow* window);

    QByteArray splitterState() const;
    void setSplitterState(const QByteArray& state);
    QByteArray penState() const;
    void setPenState(const QByteArray& state);

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
