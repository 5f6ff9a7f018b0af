#include "mainwindow.h"

#include "dialogs.h"
#include "memorysafety.h"
#include "recoverystore.h"
#include "examplemenu.h"
#include "filechoice.h"
#include "filedropfilter.h"
#include "qcentralsplitter.h"
#include "recentfiles.h"
#include "runcontrols.h"
#include "runprogressdialog.h"
#include "settings.h"
#include "timetravel.h"
#include "windowlayout.h"
#include "render/imageexport.h"
#include "render/vectorexport.h"
#include "session/runsession.h"
#include "system/outputfile.h"
#include "turtle/walkingturtle.h"
#include "widgets/printdrawing.h"
#include "widgets/qdebuggerinterface.h"
#include "widgets/qeditor.h"
#include "widgets/qeditorpane.h"
#include "widgets/qerrorlister.h"
#include "widgets/qhelp.h"
#include "widgets/qrenderdialogue.h"
#include "widgets/qtimelinebar.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qturtletraceproperties.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTextStream>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

// Marked for lupdate here, translated each time a dialog opens.
const char* const TurtleFiles = QT_TRANSLATE_NOOP("MainWindow", "Turtle files (*.tur);;Other files (*.*)");
const char* const TurtleImages = QT_TRANSLATE_NOOP("MainWindow", "Turtle images(*.res);;Other files (*.*)");

QString fileFilter(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// The old file stays whole until the new text is completely on disk, unless
// only an in-place write is possible (the error then says so).
bool writeTextFile(const QString& path, const QString& text, QString& error)
{
    OutputFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        out << text;
        out.flush();
        if (out.status() == QTextStream::Ok && file.commit()) {
            return true;
        }
    }
    error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace

MainWindow::MainWindow(QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
    , m_interpreter()
    , m_session(new RunSession(&m_interpreter, this))
    , m_walkingTurtle(new WalkingTurtle)
{
    ui.setupUi(this);

    setWindowTitle(QCoreApplication::applicationName());
    setMinimumSize(800, 600);
    setWindowIcon(WindowLayout::applicationIcon());

    // Created before any translator is installed, so these two keep their titles.
    m_dockWidgetsMenu = new QMenu(tr("DockWidgets"), this);
    m_toolBarsMenu = new QMenu(tr("ToolBars"), this);
    ui.menu_View->addMenu(m_dockWidgetsMenu);
    ui.menu_View->addMenu(m_toolBarsMenu);

    m_centralWidget = new QWidget(this);
    m_centralLayout = new QGridLayout(m_centralWidget);
    setCentralWidget(m_centralWidget);
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
    m_centralLayout->addWidget(m_splitter, 0, 0);
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
    m_helpAction = m_help->toggleViewAction();
    m_helpAction->setShortcut(QKeySequence(QStringLiteral("F1")));
    m_helpAction->setIcon(QIcon(QStringLiteral(":/icons/help.png")));
    ui.menuHelp->addAction(m_helpAction);

    m_editor->setCommands(RunSession::commandWords());

    m_mainToolBarAction = ui.mainToolBar->toggleViewAction();
    m_debuggerToolBarAction = ui.debuggerToolBar->toggleViewAction();
    m_toolBarsMenu->addAction(m_mainToolBarAction);
    m_toolBarsMenu->addAction(m_debuggerToolBarAction);
    m_debugInterfaceAction = m_debugInterface->toggleViewAction();
    m_errorListerAction = m_errorLister->toggleViewAction();
    m_tracePropertiesAction = m_traceProperties->toggleViewAction();
    m_dockWidgetsMenu->addAction(m_debugInterfaceAction);
    m_dockWidgetsMenu->addAction(m_errorListerAction);
    m_dockWidgetsMenu->addAction(m_tracePropertiesAction);

    m_runControls = new RunControls(m_session, ui, this);
    m_timeTravel = new TimeTravel(m_session, ui, m_outputArea, timeline, m_editor, this);
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
        warn(tr("Script stopped"),
             tr("The script was stopped because it was taking too much memory (%L1 MB).").arg(bytes / (1024 * 1024)),
             QString());
    });

    m_turDirectory = QStringLiteral("./TurtleCodes/");
    m_resDirectory = QStringLiteral("./TurtleRes/");
    m_renderDirectory = QStringLiteral("./TurtleRender/");

    m_languageActions = new QActionGroup(this);
    m_languageActions->setExclusive(true);
    m_languageActions->addAction(ui.action_System_Language);
    m_languageActions->addAction(ui.action_French);
    m_languageActions->addAction(ui.action_English);

    changeLanguage();

    connect(ui.actionOpen, &QAction::triggered, this, &MainWindow::openFile);
    connect(ui.actionOpen_Image, &QAction::triggered, this, &MainWindow::openImage);
    connect(ui.actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui.actionSave_AS, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ui.actionSave_Image, &QAction::triggered, this, &MainWindow::saveImage);
    connect(ui.actionClose, &QAction::triggered, this, &MainWindow::closeFile);
    connect(ui.actionQuit, &QAction::triggered, this, &MainWindow::close);
    connect(ui.action_Write, &QAction::toggled, this, &MainWindow::write);
    connect(ui.actionEditor, &QAction::toggled, m_editor, &QWidget::setEnabled);
    connect(ui.action_Clear, &QAction::triggered, this, &MainWindow::resetTurtle);
    connect(ui.action_Run, &QAction::triggered, this, &MainWindow::run);
    connect(ui.actionRestart, &QAction::triggered, this, &MainWindow::run);
    connect(ui.actionDir_Choice_tur, &QAction::triggered, this, &MainWindow::turDirectoryChoice);
    connect(ui.actionDir_Choice_res, &QAction::triggered, this, &MainWindow::resDirectoryChoice);
    connect(ui.actionDir_Choice_Render, &QAction::triggered, this, &MainWindow::renderDirectoryChoice);
    connect(ui.actionRender, &QAction::triggered, this, &MainWindow::generateRender);
    connect(ui.actionExport_SVG, &QAction::triggered, this, &MainWindow::exportSvg);
    connect(ui.actionPrint, &QAction::triggered, this, &MainWindow::printDrawing);
    connect(ui.actionFit_Drawing, &QAction::triggered, m_outputArea, &QTurtleOutputArea::fitDrawing);
    connect(ui.actionReset_View, &QAction::triggered, m_outputArea, &QTurtleOutputArea::resetView);
    connect(m_outputArea, &QTurtleOutputArea::renderFailed, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, 10000); });
    connect(ui.actionAbout_us, &QAction::triggered, this, &MainWindow::showAbout);
    connect(ui.action_System_Language, &QAction::triggered, this, &MainWindow::changeLanguage);
    connect(ui.action_French, &QAction::triggered, this, &MainWindow::changeLanguage);
    connect(ui.action_English, &QAction::triggered, this, &MainWindow::changeLanguage);
    connect(m_editor, &QEditor::modified, this, &MainWindow::updateWindowTitle);
    connect(m_errorLister, &QErrorLister::lineActivated, m_editor, &QEditor::goToLine);
    connect(m_traceProperties, &QTurtleTraceProperties::penGenerated, m_outputArea, &QTurtleOutputArea::setPen);
    connect(ui.actionNew, &QAction::triggered, this, &MainWindow::closeFile);
    connect(m_languageActions, &QActionGroup::triggered, this, [this] { m_sessionLanguage = QString(); });
    m_recentFiles = new RecentFiles(ui.menuRecent_Files, this);
    connect(m_recentFiles, &RecentFiles::fileChosen, this, [this](const QString& path) { open(FileChoice({ path })); });
    connect(new ExampleMenu(ui.menuOpen_Example, this), &ExampleMenu::exampleChosen, this,
            [this](const QString& path) { mayDiscardScript() && loadScript(path, true); });
    connect(new FileDropFilter({ this, m_editor, m_editor->viewport() }, this), &FileDropFilter::filesDropped, this,
            [this](const QStringList& paths) { open(FileChoice(paths)); });

    m_interpreter.setWalkingTurtle(m_walkingTurtle);
    m_session->setRecordedTurtle(m_walkingTurtle);
    m_outputArea->setWalkingTurtle(m_walkingTurtle);

    m_recovery = new RecoveryStore(m_editor, this);
    m_recovery->offerRestore(this);
    updateWindowTitle();
}

MainWindow::~MainWindow()
{
    // The record refers to the interpreter, which goes before the session.
    m_session->setRecordedTurtle(nullptr);
    delete m_walkingTurtle;
}

// ---------------------------------------------------------------- run and debug

void MainWindow::run()
{
    m_session->run(m_editor->toPlainText(), ui.action_Debug->isChecked());
}

void MainWindow::endRun()
{
    m_session->end();
}

void MainWindow::write(bool writing)
{
    if (writing != m_walkingTurtle->isWriting()) {
        m_walkingTurtle->setWrite(writing);
        m_session->cutHistory(false);
    }
}

void MainWindow::resetTurtle()
{
    *m_walkingTurtle = WalkingTurtle();
    m_session->cutHistory(true);
    syncWriteAction();
    repaintDrawing();
}

void MainWindow::showMachine()
{
    const int line = m_interpreter.currentLine();
    if (line != -1 || m_editor->execLine() != -1) {
        m_editor->setExecLine(line, m_session->state() != RunSession::Animating);
    }
    m_debugInterface->setValues(m_interpreter.debugValues());
    syncWriteAction();
    repaintDrawing();
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

void MainWindow::repaintDrawing()
{
    // The area alone: a whole window repainted at every animation step took
    // longer than a frame.
    m_outputArea->update();
}

void MainWindow::refreshErrorList()
{
    if (!m_interpreter.messages().empty()) {
        m_errorLister->setVisible(true);
    }
    m_errorLister->setMessages(m_interpreter.messages());
    m_editor->setDiagnostics(m_interpreter.messages());
}

void MainWindow::syncWriteAction()
{
    ui.action_Write->setChecked(m_walkingTurtle->isWriting());
}

// ---------------------------------------------------------------- files

QMessageBox::StandardButton MainWindow::maybeSave()
{
    const QMessageBox::StandardButton answer = Dialogs::question(
        this, QCoreApplication::applicationName(), tr("Do you want to save .tur file ?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    // A save that failed or whose name was not given must not let the edits go.
    if (answer == QMessageBox::Save && !saveScript()) {
        return QMessageBox::Cancel;
    }
    return answer;
}

bool MainWindow::mayDiscardScript()
{
    return !m_editor->isModified() || maybeSave() != QMessageBox::Cancel;
}

void MainWindow::open(const FileChoice& files)
{
    if (!files.script().isEmpty()) {
        if (!mayDiscardScript()) {
            return;
        }
        loadScript(files.script());
    }
    if (!files.trace().isEmpty()) {
        loadTrace(files.trace());
    }
}

void MainWindow::openFile()
{
    if (!mayDiscardScript()) {
        return;
    }
    const QString path = Dialogs::openFileName(this, tr("Open a turtle file"), m_turDirectory,
                                               fileFilter(TurtleFiles));
    if (!path.isEmpty()) {
        loadScript(path);
    }
}

// A copy has no name, so that Save asks for one.
bool MainWindow::loadScript(const QString& path, bool asCopy)
{
    QString text;
    QString error;
    if (!MemorySafety::readScript(path, text, error)) {
        warn(tr("Load failed"), tr("The loading of the file have failed"), error);
        return false;
    }
    endRun();
    const QString previous = m_editor->toPlainText();
    const bool wasModified = m_editor->isModified();
    if (!MemorySafety::attempt([&] { m_editor->setPlainText(text); })) {
        text.clear();
        m_editor->setPlainText(previous);
        m_editor->setIfModified(wasModified);
        warn(tr("Load failed"), tr("The loading of the file have failed"), MemorySafety::outOfMemory());
        return false;
    }
    m_editor->setDocumentTitle(asCopy ? QString() : path);
    m_editor->setIfModified(false);
    updateWindowTitle();
    if (!asCopy) {
        m_recentFiles->add(path);
    }
    return true;
}

void MainWindow::save()
{
    saveScript();
}

bool MainWindow::saveScript()
{
    const QString path = m_editor->documentTitle();
    if (path.isEmpty()) {
        return saveScriptAs();
    }
    return writeScript(path);
}

void MainWindow::saveAs()
{
    saveScriptAs();
}

bool MainWindow::saveScriptAs()
{
    const QString path = Dialogs::saveFileName(this, tr("Save the file"), m_turDirectory,
                                               fileFilter(TurtleFiles), QStringLiteral("tur"));
    if (path.isEmpty()) {
        return false;
    }
    m_editor->setDocumentTitle(path);
    const bool written = writeScript(path);
    updateWindowTitle();
    if (written) {
        m_recentFiles->add(path);
    }
    return written;
}

bool MainWindow::writeScript(const QString& path)
{
    QString error;
    if (!writeTextFile(path, m_editor->toPlainText(), error)) {
        warn(tr("Save failed"), tr("The save of the file have failed"), error);
        return false;
    }
    m_editor->document()->setModified(false);
    m_editor->setIfModified(false);
    return true;
}

void MainWindow::closeFile()
{
    if (!mayDiscardScript()) {
        return;
    }
    endRun();
    m_editor->clear();
    m_editor->setDocumentTitle(QString());
    m_editor->setIfModified(false);
    updateWindowTitle();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!mayDiscardScript()) {
        event->ignore();
        return;
    }
    if (m_keepsSettings) {
        writeSettings();
    }
    event->accept();
}

void MainWindow::openImage()
{
    const QString path = Dialogs::openFileName(this, tr("Open a turtle image"), existingFolderOr(m_resDirectory, false),
                                               fileFilter(TurtleImages));
    if (!path.isEmpty()) {
        loadTrace(path);
    }
}

bool MainWindow::loadTrace(const QString& path)
{
    WalkingTurtle loaded;
    qint64 unreadLines = 0;
    QString error;
    try {
        if (!MemorySafety::readTrace(path, loaded, unreadLines, error)) {
            warn(tr("Load failed"), tr("The loading of the image file have failed"), error);
            return false;
        }
    } catch (const std::invalid_argument&) {
        warn(tr("Load failed"), tr("The loading of the image file have failed"),
             tr("%1 is not a turtle image: it must start with the line \"Tur=Res\", followed by one "
                "line \"Y x y\" or \"N x y\" per point.")
                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    *m_walkingTurtle = std::move(loaded);
    m_session->cutHistory(true);
    syncWriteAction();
    repaintDrawing();
    m_recentFiles->add(path);
    if (unreadLines > 0) {
        warn(tr("Trace partly loaded"),
             tr("The trace ends at an empty line; lines left unread after it: %L1.").arg(unreadLines),
             QDir::toNativeSeparators(path));
    }
    return true;
}

void MainWindow::saveImage()
{
    const QString path = Dialogs::saveFileName(this, tr("Save the Turtle Image"), existingFolderOr(m_resDirectory, false),
                                               fileFilter(TurtleImages));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!writeTextFile(path, QString::fromLatin1(m_walkingTurtle->toString().c_str()), error)) {
        warn(tr("Save failed"), tr("The save of the file have failed"), error);
        return;
    }
    m_recentFiles->add(path);
}

QString MainWindow::chooseDirectory(const QString& current)
{
    const QString chosen = Dialogs::existingDirectory(nullptr, tr("Select Default Directory"), current);
    if (chosen.isEmpty()) {
        return current;
    }
    QString directory = QDir::fromNativeSeparators(chosen);
    while (directory.size() > 1 && directory.endsWith(QLatin1Char('/'))) {
        directory.chop(1);
    }
    return directory;
}

void MainWindow::turDirectoryChoice()
{
    m_turDirectory = chooseDirectory(m_turDirectory);
}

void MainWindow::resDirectoryChoice()
{
    m_resDirectory = chooseDirectory(m_resDirectory);
}

void MainWindow::renderDirectoryChoice()
{
    m_renderDirectory = chooseDirectory(m_renderDirectory);
}

void MainWindow::generateRender()
{
    QRenderDialogue dialogue(this, Qt::WindowFlags());
    if (dialogue.exec() != QDialog::Accepted) {
        return;
    }
    const QString chosen = Dialogs::saveFileName(this, tr("Save turtle trace as..."),
                                                 existingFolderOr(m_renderDirectory, true), dialogue.outputFormat());
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withImageSuffix(chosen, dialogue.outputFormat());
    ImageExportResult result;
    if (!MemorySafety::attempt([&] {
            result = exportImage(path, QSize(dialogue.imageWidth(), dialogue.imageHeight()), m_walkingTurtle,
                                 m_outputArea->pen(), dialogue.showTurtle());
        })) {
        result.reason = MemorySafety::outOfMemory();
    }
    if (!result.written) {
        // The reason already names the file.
        warn(tr("Save failed"), tr("The save of the file have failed"), result.reason);
    }
}

void MainWindow::exportSvg()
{
    QRenderDialogue dialogue(this, Qt::WindowFlags());
    dialogue.hideFormatChoice();
    if (dialogue.exec() != QDialog::Accepted) {
        return;
    }
    QString path = Dialogs::saveFileName(this, tr("Save turtle trace as..."),
                                         existingFolderOr(m_renderDirectory, true), tr("SVG image (*.svg)"));
    if (path.isEmpty()) {
        return;
    }
    if (!isSvgFileName(path)) {
        path += QStringLiteral(".svg");
    }
    const ImageExportResult result = ::exportSvg(path, QSize(dialogue.imageWidth(), dialogue.imageHeight()),
                                                 m_walkingTurtle, m_outputArea->pen(), dialogue.showTurtle());
    if (!result.written) {
        warn(tr("Save failed"), tr("The save of the file have failed"), result.reason);
    }
}

void MainWindow::printDrawing()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !::printDrawing(&printer, m_walkingTurtle, m_outputArea->pen(), true)) {
        warn(tr("Printing failed"), tr("The drawing could not be printed."), QString());
    }
}

void MainWindow::updateWindowTitle()
{
    QString title = QCoreApplication::applicationName();
    const QString path = m_editor->documentTitle();
    if (!path.isEmpty()) {
        title += QStringLiteral(" - ") + path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (m_editor->isModified()) {
            title += QLatin1Char('*');
        }
    }
    setWindowTitle(title);
}

void MainWindow::warn(const QString& heading, const QString& sentence, const QString& detail)
{
    QString text = QStringLiteral("<p><strong>%1</strong></p>%2").arg(heading, sentence);
    if (!detail.isEmpty()) {
        text += QStringLiteral("<p>%1</p>").arg(detail.toHtmlEscaped());
    }
    Dialogs::warning(this, QCoreApplication::applicationName(), text);
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
    Dialogs::about(this, QCoreApplication::applicationName(), text);
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

    applyLanguage(code);

    m_traceProperties->retranslate();
    m_errorLister->retranslate();
    m_debugInterface->retranslate();
    m_help->retranslate();
    m_editorPane->retranslate();
}

void MainWindow::applyLanguage(const QString& code)
{
    m_interpreter.setLanguage(code);
    ui.retranslateUi(this);
    if (m_runControls) {
        m_runControls->retranslate();
        m_timeTravel->setLanguage(code);
    }
    updateWindowTitle();
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
    // After the language: retranslating the pen panel resets its boxes.
    return settings.restore(settingsParts());
}

void MainWindow::writeSettings()
{
    Settings settings;
    if (m_sessionLanguage.isNull()) {
        settings.setLanguage(ui.action_French->isChecked()        ? QStringLiteral("fr")
                                 : ui.action_English->isChecked() ? QStringLiteral("en")
                                                                  : QStringLiteral("system"));
    }
    settings.save(settingsParts());
}

Settings::Window MainWindow::settingsParts()
{
    return { this, m_splitter, m_traceProperties, m_editor, m_recentFiles,
             { &m_turDirectory, &m_resDirectory, &m_renderDirectory } };
}

void MainWindow::setSessionLanguage(const QString& code)
{
    m_sessionLanguage = code;
    if (code == QLatin1String("fr") || code == QLatin1String("en")) {
        (code == QLatin1String("fr") ? ui.action_French : ui.action_English)->setChecked(true);
    }
    changeLanguage();
}
