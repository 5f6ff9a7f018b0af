#include "mainwindow.h"

#include "dialogprompts.h"
#include "document.h"
#include "drawingfiles.h"
#include "examplemenu.h"
#include "filechoice.h"
#include "filedropfilter.h"
#include "qcentralsplitter.h"
#include "recentfiles.h"
#include "recoverystore.h"
#include "runcontrols.h"
#include "runprogressdialog.h"
#include "settings.h"
#include "timetravel.h"
#include "windowlayout.h"
#include "session/runsession.h"
#include "widgets/qdebuggerinterface.h"
#include "widgets/qeditor.h"
#include "widgets/qeditorpane.h"
#include "widgets/qerrorlister.h"
#include "widgets/qhelp.h"
#include "widgets/qtimelinebar.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qturtletraceproperties.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(std::unique_ptr<Prompts> prompts, QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>(this))
    , m_session(new RunSession(&m_interpreter, this))
{
    ui.setupUi(this);

    setWindowTitle(QCoreApplication::applicationName());
    setMinimumSize(800, 600);
    setWindowIcon(WindowLayout::applicationIcon());

    // Created before any translator is installed, so these two keep their titles.
    QMenu* dockWidgetsMenu = ui.menu_View->addMenu(tr("DockWidgets"));
    QMenu* toolBarsMenu = ui.menu_View->addMenu(tr("ToolBars"));

    auto* centralWidget = new QWidget(this);
    auto* centralLayout = new QGridLayout(centralWidget);
    setCentralWidget(centralWidget);
    m_outputArea = new QTurtleOutputArea;
    m_editorPane = new QEditorPane;
    m_editor = m_editorPane->editor();
    // The timeline of a run, while it has one, under the drawing.
    auto* timeline = new QTimelineBar;
    auto* drawingPane = new QWidget;
    auto* drawingLayout = new QVBoxLayout(drawingPane);
    drawingLayout->setContentsMargins(0, 0, 0, 0);
    drawingLayout->addWidget(m_outputArea, 1);
    drawingLayout->addWidget(timeline);
    m_splitter = new QCentralSplitter(drawingPane, m_editor, m_editorPane);
    centralLayout->addWidget(m_splitter, 0, 0);
    ui.menuEdit->addActions(m_editorPane->editActions());

    m_errorLister = new QErrorLister;
    addDockWidget(Qt::BottomDockWidgetArea, m_errorLister);
    m_errorLister->setMinimumSize(200, 100);
    m_traceProperties = new QTurtleTraceProperties;
    addDockWidget(Qt::LeftDockWidgetArea, m_traceProperties);
    m_debugInterface = new QDebuggerInterface;
    addDockWidget(Qt::BottomDockWidgetArea, m_debugInterface);
    // Room for the registers and the stack top, the rows the debugger shows.
    WindowLayout::arrangeBottomDocks(this, m_errorLister, m_debugInterface,
                                     int(m_interpreter.debugValues().size()) + 1);
    m_help = new QHelp;
    addDockWidget(Qt::RightDockWidgetArea, m_help);
    m_help->hide();
    QAction* helpAction = m_help->toggleViewAction();
    helpAction->setShortcut(QKeySequence(QStringLiteral("F1")));
    helpAction->setIcon(QIcon(QStringLiteral(":/icons/help.png")));
    ui.menuHelp->addAction(helpAction);

    m_editor->setCommands(RunSession::commandWords());

    toolBarsMenu->addAction(ui.mainToolBar->toggleViewAction());
    toolBarsMenu->addAction(ui.debuggerToolBar->toggleViewAction());
    dockWidgetsMenu->addAction(m_debugInterface->toggleViewAction());
    dockWidgetsMenu->addAction(m_errorLister->toggleViewAction());
    dockWidgetsMenu->addAction(m_traceProperties->toggleViewAction());

    m_runControls = new RunControls(
        m_session,
        { ui.action_Run, ui.action_Debug, ui.actionRestart, ui.actionPause, ui.actionStop, ui.actionContinue,
          ui.actionStep, ui.actionStep_Over, ui.actionStep_Out,
          { ui.actionSpeed_Instant, ui.actionSpeed_Fast, ui.actionSpeed_Normal, ui.actionSpeed_Slow,
            ui.actionSpeed_Slowest },
          ui.debuggerToolBar },
        this);
    m_timeTravel = new TimeTravel(
        m_session, { ui.actionStep_Back, ui.actionExecution_Counts, m_outputArea, timeline, m_editor }, this);
    connect(m_editor, &QEditor::breakpointsChanged, this, [this] { m_session->setBreakpoints(m_editor->breakpoints()); });
    connect(ui.actionToggle_Breakpoint, &QAction::triggered, this,
            [this] { m_editor->toggleBreakpoint(m_editor->textCursor().blockNumber() + 1); });
    connect(ui.actionRemove_All_Breakpoints, &QAction::triggered, m_editor, &QEditor::clearBreakpoints);
    connect(m_session, &RunSession::analysed, this, &MainWindow::refreshErrorList);
    connect(m_session, &RunSession::advanced, this, &MainWindow::showMachine);
    connect(m_session, &RunSession::finished, this, &MainWindow::showRunEnd);
    connect(m_session, &RunSession::stateChanged, this, &MainWindow::showRunState);
    const auto glide = [this] {
        m_outputArea->setGlideDuration(
            m_session->state() == RunSession::Animating ? RunSession::glideDuration(m_session->speed()) : 0);
    };
    connect(m_session, &RunSession::stateChanged, this, glide);
    connect(m_session, &RunSession::speedChanged, this, glide);
    connect(m_session, &RunSession::busy, this, &MainWindow::showProgress);
    connect(m_session, &RunSession::memoryExceeded, this, [this](qint64 bytes) {
        m_prompts->warn(
            tr("Script stopped"),
            tr("The script was stopped because it was taking too much memory (%L1 MB).").arg(bytes / (1024 * 1024)),
            QString());
    });

    m_languageActions = new QActionGroup(this);
    m_languageActions->setExclusive(true);
    m_languageActions->addAction(ui.action_System_Language);
    m_languageActions->addAction(ui.action_French);
    m_languageActions->addAction(ui.action_English);

    m_document = new Document(m_editor, m_prompts.get(), this);
    m_drawingFiles = new DrawingFiles(&m_walkingTurtle, m_outputArea, m_prompts.get(), this);
    m_recentFiles = new RecentFiles(ui.menuRecent_Files, this);
    changeLanguage();

    connect(ui.actionNew, &QAction::triggered, m_document, &Document::startNew);
    connect(ui.actionOpen, &QAction::triggered, m_document, &Document::open);
    connect(ui.actionSave, &QAction::triggered, m_document, &Document::save);
    connect(ui.actionSave_AS, &QAction::triggered, m_document, &Document::saveAs);
    connect(ui.actionClose, &QAction::triggered, m_document, &Document::close);
    connect(ui.actionDir_Choice_tur, &QAction::triggered, m_document, &Document::chooseFolder);
    connect(m_document, &Document::replacing, m_session, &RunSession::end);
    connect(m_document, &Document::titleChanged, this, [this] {
        setWindowTitle(m_document->title());
        m_drawingFiles->setScriptPath(m_document->path());
    });
    connect(m_document, &Document::fileUsed, m_recentFiles, &RecentFiles::add);
    connect(ui.actionOpen_Image, &QAction::triggered, m_drawingFiles, qOverload<>(&DrawingFiles::openTrace));
    connect(ui.actionSave_Image, &QAction::triggered, m_drawingFiles, &DrawingFiles::saveTrace);
    connect(ui.actionRender, &QAction::triggered, m_drawingFiles, &DrawingFiles::exportImage);
    connect(ui.actionExport_SVG, &QAction::triggered, m_drawingFiles, &DrawingFiles::exportSvg);
    connect(ui.actionPrint, &QAction::triggered, m_drawingFiles, &DrawingFiles::print);
    connect(ui.actionDir_Choice_res, &QAction::triggered, m_drawingFiles, &DrawingFiles::chooseTraceFolder);
    connect(ui.actionDir_Choice_Render, &QAction::triggered, m_drawingFiles, &DrawingFiles::chooseImageFolder);
    connect(m_drawingFiles, &DrawingFiles::traceLoaded, this, &MainWindow::showNewTrace);
    connect(m_drawingFiles, &DrawingFiles::fileUsed, m_recentFiles, &RecentFiles::add);
    connect(m_recentFiles, &RecentFiles::fileChosen, this, [this](const QString& path) { open(FileChoice({ path })); });
    connect(new ExampleMenu(ui.menuOpen_Example, this), &ExampleMenu::exampleChosen, m_document,
            &Document::openCopy);
    connect(new FileDropFilter({ this, m_editor, m_editor->viewport() }, this), &FileDropFilter::filesDropped, this,
            [this](const QStringList& paths) { open(FileChoice(paths)); });

    connect(ui.actionQuit, &QAction::triggered, this, &MainWindow::close);
    connect(ui.action_Write, &QAction::toggled, this, &MainWindow::write);
    connect(ui.actionEditor, &QAction::toggled, m_editor, &QWidget::setEnabled);
    connect(ui.action_Clear, &QAction::triggered, this, &MainWindow::resetTurtle);
    connect(ui.action_Run, &QAction::triggered, this, &MainWindow::run);
    connect(ui.actionRestart, &QAction::triggered, this, &MainWindow::run);
    connect(ui.actionFit_Drawing, &QAction::triggered, m_outputArea, &QTurtleOutputArea::fitDrawing);
    connect(ui.actionReset_View, &QAction::triggered, m_outputArea, &QTurtleOutputArea::resetView);
    connect(m_outputArea, &QTurtleOutputArea::renderFailed, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, 10000); });
    connect(ui.actionAbout_us, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_languageActions, &QActionGroup::triggered, this, [this] {
        m_sessionLanguage = QString();
        changeLanguage();
    });
    connect(m_errorLister, &QErrorLister::lineActivated, m_editor, &QEditor::goToLine);
    connect(m_traceProperties, &QTurtleTraceProperties::penGenerated, m_outputArea, &QTurtleOutputArea::setPen);

    m_interpreter.setWalkingTurtle(&m_walkingTurtle);
    m_session->setRecordedTurtle(&m_walkingTurtle);
    m_outputArea->setWalkingTurtle(&m_walkingTurtle);

    (new RecoveryStore(m_editor, this))->offerRestore(*m_prompts);
    setWindowTitle(m_document->title());
}

MainWindow::~MainWindow()
{
    // The record refers to the interpreter, which goes before the session.
    m_session->setRecordedTurtle(nullptr);
}

void MainWindow::open(const FileChoice& files)
{
    if (!files.script().isEmpty()) {
        if (files.isNewScript()) {
            m_document->openNew(files.script());
        } else {
            m_document->openPath(files.script());
        }
    }
    if (!files.trace().isEmpty()) {
        m_drawingFiles->openTrace(files.trace());
    }
    if (!files.notOpened().isEmpty()) {
        m_prompts->warn(tr("Files not opened"), QString(), files.notOpenedReport());
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_document->mayDiscard()) {
        event->ignore();
        return;
    }
    if (m_keepsSettings) {
        writeSettings();
    }
    event->accept();
}

// ---------------------------------------------------------------- run and debug

void MainWindow::run()
{
    m_session->run(m_editor->toPlainText(), ui.action_Debug->isChecked());
}

void MainWindow::write(bool writing)
{
    if (writing != m_walkingTurtle.isWriting()) {
        m_walkingTurtle.setWrite(writing);
        m_session->cutHistory(false);
    }
}

void MainWindow::resetTurtle()
{
    m_walkingTurtle = WalkingTurtle();
    showNewTrace();
}

void MainWindow::showNewTrace()
{
    m_session->cutHistory(true);
    ui.action_Write->setChecked(m_walkingTurtle.isWriting());
    // The area alone: a whole window repainted at every animation step took
    // longer than a frame.
    m_outputArea->update();
}

void MainWindow::showMachine()
{
    const int line = m_interpreter.currentLine();
    if (line != -1 || m_editor->execLine() != -1) {
        m_editor->setExecLine(line, m_session->state() != RunSession::Animating);
    }
    m_debugInterface->setValues(m_interpreter.debugValues());
    ui.action_Write->setChecked(m_walkingTurtle.isWriting());
    m_outputArea->update();
}

void MainWindow::showRunEnd()
{
    if (m_editor->execLine() != -1) {
        setFocus();
    }
    refreshErrorList();
    showMachine();
}

void MainWindow::showRunState()
{
    const RunSession::State state = m_session->state();
    m_editor->setReadOnly(state == RunSession::Animating);
    if (state == RunSession::Paused) {
        m_debugInterface->setVisible(true);
        ui.debuggerToolBar->setVisible(true);
    }
    if (state != RunSession::Running && m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
}

void MainWindow::showProgress(qint64 executedSteps)
{
    if (!m_progress) {
        m_progress = new RunProgressDialog(this);
        connect(m_progress, &QProgressDialog::canceled, m_session, &RunSession::cancel);
        connect(m_progress, &RunProgressDialog::pauseRequested, m_session, &RunSession::pause);
    }
    m_progress->setExecutedSteps(executedSteps);
    m_progress->show();
}

void MainWindow::refreshErrorList()
{
    if (!m_interpreter.messages().empty()) {
        m_errorLister->setVisible(true);
    }
    m_errorLister->setMessages(m_interpreter.messages());
    m_editor->setDiagnostics(m_interpreter.messages());
}

// ---------------------------------------------------------------- about and language

void MainWindow::showAbout()
{
    const QStringList authors { tr("The Korvane team") };
    QString text = QStringLiteral("----------- ") + QCoreApplication::applicationName()
        + QStringLiteral(" -----------") + QStringLiteral("<p>") + tr("Version: ")
        + QCoreApplication::applicationVersion() + QStringLiteral("</p>") + QStringLiteral("<p><strong>")
        + tr("Created by :") + QStringLiteral("</strong><br>");
    for (int i = 0; i < authors.size(); ++i) {
        text += authors.at(i) + (i + 1 < authors.size() ? QStringLiteral(",<br>") : QStringLiteral("</p>"));
    }
    m_prompts->about(text);
}

void MainWindow::changeLanguage()
{
    QString code;
    if (!m_sessionLanguage.isNull()) {
        code = m_sessionLanguage == QLatin1String("en") ? QString() : m_sessionLanguage;
    } else if (ui.action_System_Language->isChecked()) {
        code = Translation::systemLanguage();
    } else if (ui.action_French->isChecked()) {
        code = QStringLiteral("fr");
    }
    m_translation.install(code);
    m_interpreter.setLanguage(code);
    ui.retranslateUi(this);
    m_runControls->retranslate();
    m_timeTravel->setLanguage(code);
    setWindowTitle(m_document->title());
    m_traceProperties->retranslate();
    m_errorLister->retranslate();
    m_debugInterface->retranslate();
    m_help->retranslate();
    m_editorPane->retranslate();
}

void MainWindow::setSessionLanguage(const QString& code)
{
    m_sessionLanguage = code;
    if (code == QLatin1String("fr") || code == QLatin1String("en")) {
        (code == QLatin1String("fr") ? ui.action_French : ui.action_English)->setChecked(true);
    }
    changeLanguage();
}

// ---------------------------------------------------------------- settings

bool MainWindow::readSettings()
{
    const Settings settings;
    m_keepsSettings = true;
    const QString language = settings.language();
    if (language != QLatin1String("system")) {
        (language == QLatin1String("fr") ? ui.action_French : ui.action_English)->setChecked(true);
        changeLanguage();
    }
    m_document->setFolder(settings.folder(Settings::Scripts, m_document->folder()));
    m_drawingFiles->setTraceFolder(settings.folder(Settings::Traces, m_drawingFiles->traceFolder()));
    m_drawingFiles->setImageFolder(settings.folder(Settings::Images, m_drawingFiles->imageFolder()));
    m_recentFiles->setFiles(settings.recentFiles());
    if (settings.editorFontSize() > 0) {
        m_editor->setFontPointSize(qRound(settings.editorFontSize()));
    }
    // After the language: retranslating the pen panel resets its boxes.
    const Settings::Window kept = settings.window();
    m_traceProperties->restoreState(kept.pen);
    m_splitter->restoreSplit(kept.split);
    if (kept.geometry.isEmpty() || !restoreGeometry(kept.geometry)) {
        return false;
    }
    restoreState(kept.state);
    return true;
}

void MainWindow::writeSettings()
{
    Settings settings;
    if (m_sessionLanguage.isNull()) {
        settings.setLanguage(ui.action_French->isChecked()        ? QStringLiteral("fr")
                                 : ui.action_English->isChecked() ? QStringLiteral("en")
                                                                  : QStringLiteral("system"));
    }
    settings.setFolder(Settings::Scripts, m_document->folder());
    settings.setFolder(Settings::Traces, m_drawingFiles->traceFolder());
    settings.setFolder(Settings::Images, m_drawingFiles->imageFolder());
    settings.setRecentFiles(m_recentFiles->files());
    settings.setEditorFontSize(m_editor->fontPointSize());
    settings.setWindow({ saveGeometry(), saveState(), m_splitter->saveState(), m_traceProperties->saveState() });
}
