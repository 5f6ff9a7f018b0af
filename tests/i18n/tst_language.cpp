#include "../app/windowfixture.h"
#include "system/datalocation.h"
#include "widgets/qrenderdialogue.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qturtletraceproperties.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBar>

namespace {

const QChar Nbsp(0x00a0);

// Set in a child process started by the tests below: it reports what a freshly
// started window shows, one text per line, and exits.
const char* const ChildVariable = "KORVANE_LANGUAGE_CHILD";

// Finds a text of the window by a short path: "menu:menuFile", "action:actionOpen",
// "dock:m_errorLister", "toolbar:mainToolBar", "label:label_4", "combo:CapStyle",
// "viewmenu:0" (a submenu of View, by position), "header" (the debugger's column),
// "help" (the help page), "render" (the window title of a new render dialogue).
QString textAt(QWidget* window, const QString& path)
{
    const QString kind = path.section(QLatin1Char(':'), 0, 0);
    const QString name = path.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("menu")) {
        return window->findChild<QMenu*>(name)->title();
    }
    if (kind == QLatin1String("action")) {
        return window->findChild<QAction*>(name)->text();
    }
    if (kind == QLatin1String("shortcut")) {
        return window->findChild<QAction*>(name)->shortcut().toString();
    }
    // The View and ? menus list the docks and tool bars through their toggle
    // actions, with a mnemonic added.
    const auto toggleShows = [](const QAction* toggle, const QString& title) {
        return QString(toggle->text()).remove(QLatin1Char('&')) == title ? title : QStringLiteral("(toggle differs)");
    };
    if (kind == QLatin1String("dock")) {
        auto* dock = window->findChild<QDockWidget*>(name);
        return toggleShows(dock->toggleViewAction(), dock->windowTitle());
    }
    if (kind == QLatin1String("toolbar")) {
        auto* bar = window->findChild<QToolBar*>(name);
        return toggleShows(bar->toggleViewAction(), bar->windowTitle());
    }
    if (kind == QLatin1String("accessible")) {
        // Set when the language changes, which reaches each widget as an event.
        QCoreApplication::processEvents();
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->inherits(name.toLatin1().constData())) {
                return widget->accessibleName();
            }
        }
    }
    if (kind == QLatin1String("label")) {
        return window->findChild<QLabel*>(name)->text();
    }
    if (kind == QLatin1String("button")) {
        return window->findChild<QPushButton*>(name)->text();
    }
    if (kind == QLatin1String("combo")) {
        auto* box = window->findChild<QComboBox*>(name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        return items.join(QLatin1Char('|'));
    }
    if (kind == QLatin1String("viewmenu")) {
        // The submenus of View, in order, among its other entries.
        QList<QMenu*> submenus;
        for (QAction* action : window->findChild<QMenu*>(QStringLiteral("menu_View"))->actions()) {
            if (action->menu()) {
                submenus << action->menu();
            }
        }
        return submenus.at(name.toInt())->title();
    }
    if (kind == QLatin1String("header")) {
        return window->findChild<QTableWidget*>(QStringLiteral("DebugTableWidget"))->horizontalHeaderItem(0)->text();
    }
    if (kind == QLatin1String("render")) {
        QRenderDialogue dialogue(window, Qt::WindowFlags());
        return dialogue.windowTitle() + QLatin1Char('|')
            + dialogue.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
    }
    return QStringLiteral("(no such path: %1)").arg(path);
}

// What a new window shows at start-up (after choosing French when asked to):
// the File menu, the toolkit's Cancel button and the message of an empty script.
int childMain()
{
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    MainWindow window(std::make_unique<ScriptedPrompts>());
    if (qEnvironmentVariable(ChildVariable) == QLatin1String("choose-french")) {
        window.findChild<QAction*>(QStringLiteral("action_French"))->trigger();
    }
    window.findChild<QEditor*>()->setPlainText(QString());
    window.findChild<QAction*>(QStringLiteral("action_Run"))->trigger();

    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QTextStream out(stdout);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    out.setCodec("UTF-8");
#endif
    out << window.findChild<QMenu*>(QStringLiteral("menuFile"))->title() << '\n'
        << box.button(QDialogButtonBox::Cancel)->text() << '\n'
        << window.findChild<QListWidget*>(QStringLiteral("ErrorListWidget"))->item(0)->text() << '\n'
        << QFileInfo::exists(locateDataFile(QStringLiteral("Translations/fr.qm"))) << '\n'
        << textAt(&window, QStringLiteral("viewmenu:0")) << '\n'
        << textAt(&window, QStringLiteral("header")) << '\n';
    return 0;
}

} // namespace

// Switching the interface between English and French with the compiled fr.qm,
// which the build puts beside this executable as it does beside korvane.
class TestLanguage : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void textsFollowTheLanguage_data();
    void textsFollowTheLanguage();
    void helpPageIsReplacedAsAWhole();
    void secondHelpPageNamesTheCommandsAsTheMenusDo_data();
    void secondHelpPageNamesTheCommandsAsTheMenusDo();
    void errorListChangesLanguageAtTheNextRun();
    void titleKeepsTheFileAndItsMark();
    void toolkitDialogsSpeakTheLanguage();
    void aboutBox_data();
    void aboutBox();
    void penPanelResetReachesTheOutputArea();
    void startUpLanguage_data();
    void startUpLanguage();
    void commandLineAnswers_data();
    void commandLineAnswers();

private:
    void choose(const char* languageAction);
};

void TestLanguage::initTestCase()
{
    prepareApplication();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QVERIFY2(QFileInfo::exists(locateDataFile(QStringLiteral("Translations/fr.qm"))),
             "fr.qm must be built beside this test");
}

void TestLanguage::init()
{
    QVERIFY(openWindow());
}

void TestLanguage::cleanup()
{
    closeWindow();
    QTurtleTraceProperties::setColorDialog({});
}

void TestLanguage::choose(const char* languageAction)
{
    action(languageAction)->trigger();
    QVERIFY(action(languageAction)->isChecked());
}

void TestLanguage::textsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("french");

    QTest::newRow("File menu") << "menu:menuFile" << "&File" << "&Fichier";
    QTest::newRow("Debug menu, apart from the Debug action") << "menu:menuDebug" << "&Debug" << "Dé&bogage";
    QTest::newRow("help menu") << "menu:menuHelp" << "&?" << "&?";
    QTest::newRow("an action") << "action:actionSave_AS" << "Save &As" << "Enregistrer &sous";
    QTest::newRow("the About action") << "action:actionAbout_us" << "&About us" << "À &propos";
    QTest::newRow("a language action") << "action:action_English" << "&English" << "&Anglais";
    QTest::newRow("shortcuts stay") << "shortcut:actionRestart" << "Ctrl+Shift+F5" << "Ctrl+Shift+F5";
    QTest::newRow("Run keeps F5") << "shortcut:action_Run" << "F5" << "F5";
    QTest::newRow("main tool bar and its toggle") << "toolbar:mainToolBar" << "Main Tool Bar"
                                                  << "Barre d’outils principale";
    QTest::newRow("error list dock and its toggle") << "dock:m_errorLister" << "List of Errors"
                                                    << "Liste des erreurs";
    QTest::newRow("debugger dock") << "dock:m_debugInterface" << "Debugger" << "Débogueur";
    QTest::newRow("pen dock") << "dock:m_turtleTraceProperties" << "Turtle trace properties"
                              << "Propriétés du tracé";
    QTest::newRow("help dock and the F1 entry") << "dock:DockWidget" << "Help" << "Aide";
    QTest::newRow("pen width label") << "label:label_4" << "Width" << "Épaisseur";
    QTest::newRow("colour button") << "button:color" << "Color" << "Couleur";
    QTest::newRow("cap items") << "combo:CapStyle" << "SquareCap|FlatCap|RoundCap" << "Carrées|Plates|Arrondies";
    QTest::newRow("pen style items") << "combo:PenStyle"
                                     << "SolidLine|DashLine|DotLine|DashDotLine|DashDotDotLine|CustomDashLine"
                                     << "Continu|Tirets|Pointillés|Tiret-point|Tiret-point-point|Personnalisé";
    QTest::newRow("a new render dialogue, with the toolkit's button")
        << "render" << "Render dialogue|Cancel" << "Exporter en image|Annuler";
    QTest::newRow("DockWidgets submenu, made before the first translation") << "viewmenu:0" << "&DockWidgets"
                                                                            << "&Panneaux";
    QTest::newRow("ToolBars submenu, made before the first translation") << "viewmenu:1" << "&ToolBars"
                                                                        << "&Barres d’outils";
    QTest::newRow("Values header, set in a constructor") << "header" << "Values" << "Valeurs";
    QTest::newRow("the drawing's name for screen readers") << "accessible:QTurtleOutputArea" << "Drawing"
                                                           << "Dessin";
}

void TestLanguage::textsFollowTheLanguage()
{
    QFETCH(QString, path);
    QFETCH(QString, english);
    QFETCH(QString, french);

    QCOMPARE(textAt(m_window.get(), path), english);
    choose("action_French");
    QCOMPARE(textAt(m_window.get(), path), french);
    choose("action_English");
    QCOMPARE(textAt(m_window.get(), path), english);
    // Back to the system language, which is C here: no translation.
    choose("action_System_Language");
    QCOMPARE(textAt(m_window.get(), path), english);
}

void TestLanguage::helpPageIsReplacedAsAWhole()
{
    const QString english = textAt(m_window.get(), QStringLiteral("label:helpLabel"));
    QVERIFY(english.contains(QLatin1String("Memo Syntax :")));

    choose("action_French");
    const QString french = textAt(m_window.get(), QStringLiteral("label:helpLabel"));
    QVERIFY(french.contains(QStringLiteral("Mémo de syntaxe") + Nbsp + QLatin1Char(':')));
    QVERIFY(french.contains(QLatin1String("jmpe:Val1, Val2, ETIQUETTE;")));
    QVERIFY(!french.contains(QLatin1String("LABEL")));
    QCOMPARE(french.count(QLatin1String("<p")), english.count(QLatin1String("<p")));

    choose("action_English");
    QCOMPARE(textAt(m_window.get(), QStringLiteral("label:helpLabel")), english);
}

void TestLanguage::secondHelpPageNamesTheCommandsAsTheMenusDo_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("English") << "action_English" << QStringList { "PNG", "JPEG", "SVG", "korvane-run", "--lang" };
    QTest::newRow("French") << "action_French" << QStringList { "PNG", "JPEG", "SVG", "korvane-run", "--lang" };
}

// What the page says of a command must match the window: its name in the
// menus and the key that works, in the language shown.
void TestLanguage::secondHelpPageNamesTheCommandsAsTheMenusDo()
{
    QFETCH(QString, language);
    QFETCH(QStringList, words);

    const QString before = textAt(m_window.get(), QStringLiteral("label:guideLabel"));
    choose(language.toLatin1().constData());
    const QString page = textAt(m_window.get(), QStringLiteral("label:guideLabel"));
    QCOMPARE(page == before, language == QLatin1String("action_English"));

    for (const char* name : { "action_Run", "action_Debug", "actionStep", "actionStep_Over", "actionStep_Out",
                              "actionStep_Back", "actionPause", "actionStop", "actionRestart", "actionContinue",
                              "actionSpeed_Instant", "actionSpeed_Slowest", "actionFit_Drawing", "actionReset_View",
                              "actionRender", "actionExport_SVG", "actionExecution_Counts",
                              "actionRemove_All_Breakpoints", "actionToggle_Breakpoint" }) {
        // The name, without the keys a menu entry lists after a tab.
        const QString text = action(name)->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')).remove(
            QStringLiteral("..."));
        QVERIFY2(page.contains(text.toHtmlEscaped()), qPrintable(QStringLiteral("%1: %2").arg(name, text)));
    }
    for (const char* name : { "action_Run", "action_Debug", "actionStep", "actionStep_Over", "actionStep_Out",
                              "actionStep_Back", "actionPause", "actionStop", "actionRestart",
                              "actionToggle_Breakpoint", "actionSpeed_Instant", "actionSpeed_Fast",
                              "actionSpeed_Normal", "actionSpeed_Slow", "actionSpeed_Slowest" }) {
        bool named = false;
        for (const QKeySequence& keys : action(name)->shortcuts()) {
            named = named || page.contains(QLatin1Char('(') + keys.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        QVERIFY2(named, qPrintable(QStringLiteral("%1: %2").arg(name, action(name)->shortcut().toString(QKeySequence::NativeText))));
    }
    for (const QString& word : words) {
        QVERIFY2(page.contains(word), qPrintable(word));
    }
}

void TestLanguage::errorListChangesLanguageAtTheNextRun()
{
    setScript(QStringLiteral("Tur=Asm\nmove:1\n"));
    action("action_Run")->trigger();
    const QStringList english = errorTexts();
    QCOMPARE(english.first(), QStringLiteral("Missing ';' at the end of line 2."));

    choose("action_French");
    QCOMPARE(errorTexts(), english);
    action("action_Run")->trigger();
    QCOMPARE(errorTexts().first(),
             QStringLiteral("Il manque le «") + Nbsp + QStringLiteral(";") + Nbsp
                 + QStringLiteral("» à la fin de la ligne 2."));
    QCOMPARE(errorTexts().size(), english.size());

    choose("action_English");
    QCOMPARE(errorTexts().first().left(12), QStringLiteral("Il manque le"));
    action("action_Run")->trigger();
    QCOMPARE(errorTexts(), english);
}

void TestLanguage::titleKeepsTheFileAndItsMark()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("carré.tur"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
        file.write("Tur=Asm\n");
    }
    m_prompts->setNextFileName(path);
    action("actionOpen")->trigger();
    editor()->setFocus();
    editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor(), QStringLiteral("move:1;"));
    const QString title = QStringLiteral("Korvane - carré.tur*");
    QCOMPARE(m_window->windowTitle(), title);

    choose("action_French");
    QCOMPARE(m_window->windowTitle(), title);
    choose("action_English");
    QCOMPARE(m_window->windowTitle(), title);
}

void TestLanguage::toolkitDialogsSpeakTheLanguage()
{
    choose("action_French");
    // The save prompt's buttons: the toolkit's French, with Korvane's own word for Discard.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Korvane"), QString(),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Save)->text(), QStringLiteral("Enregistrer"));
    QCOMPARE(box.button(QMessageBox::Discard)->text(), QStringLiteral("Ne pas enregistrer"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annuler"));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Voir dans :"));

    choose("action_English");
    QMessageBox english(QMessageBox::Question, QStringLiteral("Korvane"), QString(),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(english.button(QMessageBox::Discard)->text(), QStringLiteral("Discard"));
    QCOMPARE(english.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
}

void TestLanguage::aboutBox_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("English") << "action_English"
                             << "----------- Korvane -----------<p>Version: 1.0.0</p>"
                                "<p><strong>Created by :</strong><br>The Korvane team</p>";
    QTest::newRow("French") << "action_French"
                            << QStringLiteral("----------- Korvane -----------<p>Version\u00a0: 1.0.0</p>"
                                              "<p><strong>Créé par\u00a0:</strong><br>L’équipe Korvane</p>");
}

void TestLanguage::aboutBox()
{
    QFETCH(QString, language);
    QFETCH(QString, text);

    choose(language.toLatin1().constData());
    action("actionAbout_us")->trigger();
    QCOMPARE(m_prompts->shownMessages(), QStringList { text });
}

void TestLanguage::penPanelResetReachesTheOutputArea()
{
    auto* panel = m_window->findChild<QTurtleTraceProperties*>();
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    QTurtleTraceProperties::setColorDialog([](const QColor&, QWidget*) { return QColor(Qt::red); });
    panel->findChild<QPushButton*>(QStringLiteral("color"))->click();
    panel->findChild<QComboBox*>(QStringLiteral("CapStyle"))->setCurrentIndex(2);
    panel->findChild<QComboBox*>(QStringLiteral("JoinStyle"))->setCurrentIndex(2);
    panel->findChild<QComboBox*>(QStringLiteral("PenStyle"))->setCurrentIndex(2);
    panel->findChild<QSpinBox*>(QStringLiteral("Width"))->setValue(7);
    QCOMPARE(area->pen().capStyle(), Qt::RoundCap);
    QCOMPARE(area->pen().style(), Qt::DotLine);

    QSignalSpy pens(panel, &QTurtleTraceProperties::penGenerated);
    choose("action_French");

    // Each of the three boxes is emptied and refilled: two pens per box.
    QCOMPARE(pens.count(), 6);
    const QPen pen = area->pen();
    QCOMPARE(pen.capStyle(), Qt::SquareCap);
    QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
    QCOMPARE(pen.style(), Qt::SolidLine);
    QCOMPARE(pen.width(), 7);
    QCOMPARE(pen.color(), QColor(Qt::red));
    for (const char* box : { "CapStyle", "JoinStyle", "PenStyle" }) {
        QCOMPARE(panel->findChild<QComboBox*>(QLatin1String(box))->currentIndex(), 0);
    }
}

void TestLanguage::startUpLanguage_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<bool>("withoutFrenchFile");
    QTest::addColumn<QStringList>("expected");

    const QString frenchMessage = QStringLiteral("Le script est vide") + Nbsp
        + QStringLiteral(": il n’y a rien à exécuter.");
    const QString englishMessage = QStringLiteral("The script is empty: there is nothing to run.");

    const QStringList french { "&Fichier", "Annuler", frenchMessage, "1", "&Panneaux", "Valeurs" };
    QTest::newRow("French system: Korvane, the toolkit and the messages in French")
        << QByteArray("fr_FR.UTF-8") << false << french;
    QTest::newRow("Canadian French system uses the same files") << QByteArray("fr_CA.UTF-8") << false << french;
    QTest::newRow("German system: no translation of Korvane, so English; the toolkit in German")
        << QByteArray("de_DE.UTF-8") << false
        << QStringList { "&File", "Abbrechen", englishMessage, "1", "&DockWidgets", "Values" };
    QTest::newRow("English system") << QByteArray("en_GB.UTF-8") << false
                                    << QStringList { "&File", "Cancel", englishMessage, "1", "&DockWidgets", "Values" };
    QTest::newRow("French chosen but fr.qm missing: English shell, French toolkit and messages")
        << QByteArray("C.UTF-8") << true
        << QStringList { "&File", "Annuler", frenchMessage, "0", "&DockWidgets", "Values" };
}

void TestLanguage::startUpLanguage()
{
    QFETCH(QByteArray, locale);
    QFETCH(bool, withoutFrenchFile);
    QFETCH(QStringList, expected);

    QString program = QCoreApplication::applicationFilePath();
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
    environment.insert(QStringLiteral("LANGUAGE"), QString());
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("system"));

    if (withoutFrenchFile) {
        // A copy of this program in a folder of its own, with only the catalogue to work from.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("work/Translations/messages")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")));
        for (const char* name : { "messages.mes", "messages-fr.mes" }) {
            const QString relative = QStringLiteral("Translations/messages/") + QLatin1String(name);
            QVERIFY(QFile::copy(relative, dir.filePath(QStringLiteral("work/") + relative)));
        }
        program = dir.filePath(QStringLiteral("bin/tst_language"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        child.setWorkingDirectory(dir.filePath(QStringLiteral("work")));
        environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("choose-french"));
    }

    child.setProcessEnvironment(environment);
    child.start(program, QStringList());
    QVERIFY(child.waitForFinished(-1));
    const QByteArray errors = child.readAllStandardError();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, errors.constData());

    QStringList shown = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    shown.removeLast();
    if (withoutFrenchFile && shown.value(3) == QLatin1String("1")) {
        QSKIP("An installed Korvane provides fr.qm to the copy");
    }
    QCOMPARE(shown, expected);
}

void TestLanguage::commandLineAnswers_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("French system, with the toolkit's help option")
        << QByteArray("fr_FR.UTF-8") << QStringList { "--help" } << 0
        << QStringList { "Afficher l’aide sur les options", "[FICHIER…]" };
    QTest::newRow("French asked for on an English system")
        << QByteArray("C.UTF-8") << QStringList { "--lang", "fr", "--help" } << 0
        << QStringList { "Utiliser la langue CODE (en, fr)" };
    QTest::newRow("English asked for on a French system")
        << QByteArray("fr_FR.UTF-8") << QStringList { "--lang=en", "--help" } << 0
        << QStringList { "Options:", "Displays help on", "Use the language CODE (en, fr)" };
    QTest::newRow("help with the toolkit's options, which only a widget application knows")
        << QByteArray("C.UTF-8") << QStringList { "--help-all" } << 0
        << QStringList { "--lang <CODE>", "--platform", "--reverse" };
    QTest::newRow("an unknown option") << QByteArray("C.UTF-8") << QStringList { "--bogus", "a.tur" } << 1
                                       << QStringList { "Korvane: Unknown option 'bogus'." };
    QTest::newRow("an unknown option after one of the toolkit's")
        << QByteArray("C.UTF-8") << QStringList { "-style", "fusion", "--bogus" } << 1
        << QStringList { "Unknown option 'bogus'." };
    QTest::newRow("the language option without its value")
        << QByteArray("C.UTF-8") << QStringList { "--lang" } << 1 << QStringList { "Missing value after '--lang'." };
    QTest::newRow("a language Korvane does not speak, and those it does")
        << QByteArray("C.UTF-8") << QStringList { "--lang", "de", "a.tur" } << 1
        << QStringList { "Korvane: Unknown language 'de'; the languages are: en, fr." };
    QTest::newRow("the same on a French system, in French")
        << QByteArray("fr_FR.UTF-8") << QStringList { "--lang=de" } << 1
        << QStringList { QStringLiteral("Langue inconnue «\u00a0de\u00a0»") };
}

// The answers come from korvane itself, before any window: also in a terminal
// without a display.
void TestLanguage::commandLineAnswers()
{
    QFETCH(QByteArray, locale);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, expected);

    QProcess korvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" }) {
        environment.remove(QLatin1String(name));
    }
    korvane.setProcessEnvironment(environment);
    korvane.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvane"), arguments);
    QVERIFY(korvane.waitForFinished(-1));
    const QString output = QString::fromUtf8(korvane.readAllStandardOutput());
    const QString errors = QString::fromUtf8(korvane.readAllStandardError());
    QVERIFY2(korvane.exitStatus() == QProcess::NormalExit, qPrintable(errors));
    QCOMPARE(korvane.exitCode(), status);
    // Answers on standard output, complaints on standard error.
    const QString answer = status == 0 ? output : errors;
    for (const QString& text : expected) {
        QVERIFY2(answer.contains(text), qPrintable(answer));
    }
}

int main(int argc, char* argv[])
{
    const bool child = qEnvironmentVariableIsSet(ChildVariable);
    if (!child) {
        // The tests read English texts whatever the machine's language.
        qputenv("LC_ALL", "C.UTF-8");
        qputenv("LANGUAGE", "");
    }
    QApplication app(argc, argv);
    if (child) {
        return childMain();
    }
    TestLanguage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_language.moc"
