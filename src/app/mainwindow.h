#pragma once

#include "frontend/interpreter.h"
#include "prompts.h"
#include "translation.h"
#include "turtle/walkingturtle.h"

#include "ui_mainwindow.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class Document;
class DrawingFiles;
class FileChoice;
class QActionGroup;
class QCentralSplitter;
class QCloseEvent;
class QDebuggerInterface;
class QEditor;
class QEditorPane;
class QErrorLister;
class QHelp;
class QTurtleOutputArea;
class QTurtleTraceProperties;
class RecentFiles;
class RunControls;
class RunProgressDialog;
class RunSession;
class TimeTravel;

// The one window of Korvane: the drawing and the editor in the centre, the pen,
// error, debugger and help panels around them, and every command of the menus,
// each wired to the object that carries it out.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Asks its questions through prompts; the real dialogs when none is given.
    explicit MainWindow(std::unique_ptr<Prompts> prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Reads the settings of the last session, and from then on writes them
    // when the window closes; false when no window geometry was restored.
    bool readSettings();
    // A language for this session only, kept out of the settings.
    void setSessionLanguage(const QString& code);
    // Opens a script (after the unsaved-changes prompt) and a trace, as Open and Open Image do.
    void open(const FileChoice& files);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void run();
    void write(bool writing);
    void resetTurtle();
    void showNewTrace();
    void showMachine();
    void showRunEnd();
    void showRunState();
    void showProgress(qint64 executedSteps);
    void refreshErrorList();
    void showAbout();
    void changeLanguage();
    void writeSettings();

    Ui::MainWindowClass ui;
    std::unique_ptr<Prompts> m_prompts;
    // Before the interpreter, which points at it until it goes.
    WalkingTurtle m_walkingTurtle;
    Interpreter m_interpreter;
    RunSession* m_session;
    QTurtleOutputArea* m_outputArea;
    QEditor* m_editor;
    QEditorPane* m_editorPane;
    QCentralSplitter* m_splitter;
    QTurtleTraceProperties* m_traceProperties;
    QErrorLister* m_errorLister;
    QDebuggerInterface* m_debugInterface;
    QHelp* m_help;
    RunControls* m_runControls = nullptr;
    TimeTravel* m_timeTravel = nullptr;
    Document* m_document;
    DrawingFiles* m_drawingFiles;
    RecentFiles* m_recentFiles;
    QPointer<RunProgressDialog> m_progress;
    QActionGroup* m_languageActions;
    Translation m_translation;
    QString m_sessionLanguage;
    bool m_keepsSettings = false;
};
