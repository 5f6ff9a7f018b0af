#pragma once

#include "frontend/interpreter.h"
#include "settings.h"
#include "translation.h"

#include "ui_mainwindow.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

class FileChoice;
class QActionGroup;
class QCentralSplitter;
class RecentFiles;
class QCloseEvent;
class QGridLayout;
class QMenu;
class QDebuggerInterface;
class QEditor;
class QEditorPane;
class QErrorLister;
class QHelp;
class QStackPanel;
class QTurtleOutputArea;
class QTurtleTraceProperties;
class RunControls;
class RunProgressDialog;
class RunSession;
class RecoveryStore;
class TimeTravel;
class WalkingTurtle;

// The one window of Korvane: the drawing and the editor in the centre, the pen,
// error, debugger and help panels around them, and every command of the menus.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MainWindow() override;

    // Reads the settings of the last session, and from then on writes them
    // when the window closes; false when no window geometry was restored.
    bool readSettings();
    // A language for this session only, kept out of the settings.
    void setSessionLanguage(const QString& code);
    // Opens a script (after the unsaved-changes prompt) and a trace, as Open and Open Image do.
    void open(const FileChoice& files);

public slots:
    void openFile();
    void openImage();
    void save();
    void saveAs();
    void saveImage();
    void closeFile();
    void write(bool writing);
    void resetTurtle();
    void run();
    // Ends any run or debugging first: for every way of loading or closing a script.
    void endRun();
    void turDirectoryChoice();
    void resDirectoryChoice();
    void renderDirectoryChoice();
    void generateRender();
    void exportSvg();
    void printDrawing();
    void showAbout();
    void changeLanguage();
    void updateWindowTitle();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMessageBox::StandardButton maybeSave();
    bool mayDiscardScript();
    void writeSettings();
    Settings::Window settingsParts();
    bool saveScript();
    bool saveScriptAs();
    bool loadScript(const QString& path, bool asCopy = false);
    bool loadTrace(const QString& path);
    bool writeScript(const QString& path);
    void applyLanguage(const QString& code);

    void showMachine();
    void showRunEnd();
    void showRunState();
    void showProgress(qint64 executedSteps);
    void repaintDrawing();
    void refreshErrorList();
    void syncWriteAction();
    QString chooseDirectory(const QString& current);
    void warn(const QString& heading, const QString& sentence, const QString& detail);

    Ui::MainWindowClass ui;
    QWidget* m_centralWidget;
    QGridLayout* m_centralLayout;
    QTurtleOutputArea* m_outputArea;
    QEditor* m_editor;
    QEditorPane* m_editorPane;
    QTurtleTraceProperties* m_traceProperties;
    QErrorLister* m_errorLister;
    QDebuggerInterface* m_debugInterface;
    QStackPanel* m_stackPanel;
    QHelp* m_help;
    QMenu* m_dockWidgetsMenu;
    QMenu* m_toolBarsMenu;
    QAction* m_mainToolBarAction;
    QAction* m_debuggerToolBarAction;
    QAction* m_debugInterfaceAction;
    QAction* m_errorListerAction;
    QAction* m_tracePropertiesAction;
    QAction* m_helpAction;
    Interpreter m_interpreter;
    RunSession* m_session;
    RunControls* m_runControls = nullptr;
    TimeTravel* m_timeTravel = nullptr;
    QPointer<RunProgressDialog> m_progress;
    WalkingTurtle* m_walkingTurtle;
    QString m_turDirectory;
    QString m_resDirectory;
    QString m_renderDirectory;
    QActionGroup* m_languageActions;
    Translation m_translation;
    RecoveryStore* m_recovery;
    QCentralSplitter* m_splitter;
    RecentFiles* m_recentFiles;
    QString m_sessionLanguage;
    bool m_keepsSettings = false;
};
