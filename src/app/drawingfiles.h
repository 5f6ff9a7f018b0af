#pragma once

#include <QObject>
#include <QString>

class Prompts;
class QTurtleOutputArea;
class WalkingTurtle;

// The drawing's files: its trace opened and saved, and the drawing exported as
// an image or an SVG file or printed, with the pen the output area draws with.
// A trace is loaded into the walking turtle itself, which the machine and the
// output area keep pointing at.
class DrawingFiles : public QObject
{
    Q_OBJECT

public:
    DrawingFiles(WalkingTurtle* turtle, const QTurtleOutputArea* view, Prompts* prompts, QObject* parent = nullptr);

    // Where the trace dialogs and the export dialogs start.
    QString traceFolder() const { return m_traceFolder; }
    void setTraceFolder(const QString& folder) { m_traceFolder = folder; }
    QString imageFolder() const { return m_imageFolder; }
    void setImageFolder(const QString& folder) { m_imageFolder = folder; }

    // The script the drawing comes from, whose name the exports propose.
    void setScriptPath(const QString& path) { m_scriptPath = path; }

    // Replaces the drawing with the trace of path; false, with the drawing
    // unchanged, when the file cannot be read or is no trace.
    bool openTrace(const QString& path);

public slots:
    void openTrace();
    void saveTrace();
    void exportImage();
    void exportSvg();
    void print();
    void chooseTraceFolder();
    void chooseImageFolder();

signals:
    // The turtle holds a loaded trace: its pen and its drawing are new.
    void traceLoaded();
    // A trace opened or saved, for the recent files.
    void fileUsed(const QString& path);

private:
    WalkingTurtle* m_turtle;
    const QTurtleOutputArea* m_view;
    Prompts* m_prompts;
    QString m_traceFolder;
    QString m_imageFolder;
    QString m_scriptPath;
};
