#include "windowfixture.h"
#include "system/datalocation.h"
#include "widgets/mnemonickeeper.h"
#include "widgets/qfindbar.h"
#include "widgets/qrenderdialogue.h"
#include "widgets/qtimelinebar.h"
#include "widgets/qturtleoutputarea.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>

namespace {

// Qt's own parts of a widget (scroll bars, viewports, title bar buttons,
// spin box fields) and bare containers are named by Qt or need no name.
bool isToolkitPart(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->objectName().startsWith(QLatin1String("qt_"))) {
            return true;
        }
    }
    // An item view's headers and corner button, a combo box's list.
    const QWidget* parent = widget->parentWidget();
    if (parent && (parent->inherits("QAbstractItemView") || parent->inherits("QComboBoxPrivateContainer")
                   || parent->inherits("QTabBar"))) {
        return true;
    }
    // A tab widget's bar: the tab widget is named and described.
    // Tabbed docks' bar: the docks are named.
    if (widget->inherits("QTabBar") && parent && (parent->inherits("QTabWidget") || parent->inherits("QMainWindow"))) {
        return true;
    }
    return widget->metaObject() == &QWidget::staticMetaObject || qobject_cast<const QMenu*>(widget)
        || widget->inherits("QToolBarSeparator") || widget->inherits("QComboBoxPrivateContainer")
        || widget->inherits("QSizeGrip") || widget->inherits("QDialogButtonBox");
}

// The window in each language, by the action that chooses it.
void addLanguageRows()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "action_English";
    QTest::newRow("French") << "action_French";
}

// Describes a widget for a failure message.
QString nameOf(const QWidget* widget)
{
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(widget->metaObject()->className()), widget->objectName());
}

} // namespace

// What a user who works from the keyboard, or with a screen reader, meets in
// the window: the editor's own keys, the focus leaving it, mnemonics, and a
// name and description on every part.
class TestKeyboard : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editingKeysStayInTheEditor_data();
    void editingKeysStayInTheEditor();
    void clearKeepsItsKeyOutsideTheEditor();
    void switchedOffEditorSaysSoAndComesBackFocused();
    void debuggerKeysShownAreTheWorkingOnes();
    void controlQQuits();
    void everyMenuEntryHasAMnemonicOfItsOwn_data();
    void everyMenuEntryHasAMnemonicOfItsOwn();
    void controlTabLeavesTheEditor_data();
    void controlTabLeavesTheEditor();
    void tabReachesTimelineAndSpeedBox();
    void escapeInTheEditorClosesTheFindBar();
    void everyWidgetIsNamedAndDescribed_data();
    void everyWidgetIsNamedAndDescribed();
    void everyLabelNamesAWidget();

private:
    void activate();
    QString drawing();
    QWidget* focused() const { return QApplication::focusWidget(); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestKeyboard::initTestCase()
{
    prepareApplication();
    QVERIFY2(QFileInfo::exists(locateDataFile(QStringLiteral("Translations/fr.qm"))),
             "fr.qm must be built beside this test");
}

void TestKeyboard::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(openWindow());
    activate();
}

void TestKeyboard::cleanup()
{
    closeWindow();
    m_dir.reset();
}

void TestKeyboard::activate()
{
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

QString TestKeyboard::drawing()
{
    return savedDrawing(m_dir->filePath(QStringLiteral("drawing.res")));
}

void TestKeyboard::editingKeysStayInTheEditor_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Ctrl+Del deletes the next word") << int(Qt::Key_Delete) << int(Qt::ControlModifier) << 0
                                                    << "beta gamma";
    QTest::newRow("Ctrl+Backspace deletes the previous word")
        << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << 16 << "alpha beta ";
}

void TestKeyboard::editingKeysStayInTheEditor()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, cursor);
    QFETCH(QString, expected);

    auto* area = m_window->findChild<QTurtleOutputArea*>();
    area->setFocus();
    action("action_Write")->setChecked(true);
    QTest::keyClick(area, Qt::Key_Up);
    const QString drawn = drawing();
    QVERIFY(drawn.count(QLatin1Char('\n')) > 1);

    setScript(QStringLiteral("alpha beta gamma"));
    editor()->setFocus();
    QTextCursor at = editor()->textCursor();
    at.setPosition(cursor);
    editor()->setTextCursor(at);
    QTest::keyClick(editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(editor()->toPlainText(), expected);
    QCOMPARE(drawing(), drawn);
    QVERIFY(editor()->hasFocus());
}

void TestKeyboard::clearKeepsItsKeyOutsideTheEditor()
{
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    area->setFocus();
    action("action_Write")->setChecked(true);
    QTest::keyClick(area, Qt::Key_Up);
    QVERIFY(drawing() != QLatin1String("Tur=Res\n"));

    QTest::keyClick(area, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(drawing(), QStringLiteral("Tur=Res\n"));
}

void TestKeyboard::switchedOffEditorSaysSoAndComesBackFocused()
{
    auto* note = m_window->findChild<QLabel*>(QStringLiteral("editorOffNote"));
    setScript(QStringLiteral("move:1;"));
    editor()->setFocus();
    QVERIFY(!note->isVisible());
    // The band of the cursor line, at the right end of the first line.
    const auto band = [this] {
        const QImage shown = editor()->viewport()->grab().toImage();
        return shown.pixelColor(shown.width() - 3, editor()->cursorRect().center().y());
    };
    QCOMPARE(band(), editor()->colorScheme().currentLine);

    QTest::keyClick(editor(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!editor()->isEnabled());
    QVERIFY(note->isVisible());
    QVERIFY2(note->text().contains(QKeySequence(Qt::CTRL | Qt::Key_E).toString(QKeySequence::NativeText)),
             qPrintable(note->text()));
    const QString offNote = note->text();
    // Everything fades, the fixed colours included.
    QVERIFY(band() != editor()->colorScheme().currentLine);

    // What is typed now has nowhere to go, and the note says so.
    QTest::keyClicks(focused(), QStringLiteral("left:2;"));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("move:1;"));
    QVERIFY(note->text() != offNote);
    QVERIFY(note->text().contains(QKeySequence(Qt::CTRL | Qt::Key_E).toString(QKeySequence::NativeText)));

    QTest::keyClick(focused(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(editor()->isEnabled());
    QVERIFY(!note->isVisible());
    QVERIFY(editor()->hasFocus());
    QTest::keyClicks(editor(), QStringLiteral("x"));
    QVERIFY(editor()->toPlainText().contains(QLatin1Char('x')));
}

// The first key of an action is the one its menu shows.
void TestKeyboard::debuggerKeysShownAreTheWorkingOnes()
{
    QCOMPARE(action("actionStop")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    QCOMPARE(action("actionRestart")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F5));

    setScript(QString::fromLatin1(SquareByProcedure));
    action("action_Debug")->setChecked(true);
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QTRY_VERIFY(action("actionStep")->isEnabled());
    QTest::keyClick(m_window.get(), Qt::Key_F5, Qt::ShiftModifier);
    QTRY_VERIFY(action("action_Run")->isEnabled());
    QVERIFY(!action("actionStep")->isEnabled());
}

void TestKeyboard::controlQQuits()
{
    QCOMPARE(action("actionQuit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QTest::keyClick(m_window.get(), Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!m_window->isVisible());
}

void TestKeyboard::everyMenuEntryHasAMnemonicOfItsOwn_data()
{
    addLanguageRows();
}

void TestKeyboard::everyMenuEntryHasAMnemonicOfItsOwn()
{
    QFETCH(QString, language);
    action(language.toLatin1().constData())->trigger();
    // What a session adds later: a recent file, with an '&' in its name.
    m_prompts->setNextFileName(m_dir->filePath(QStringLiteral("a & b.tur")));
    action("actionSave_AS")->trigger();

    QList<QWidget*> menus { m_window->menuBar() };
    int entries = 0;
    while (!menus.isEmpty()) {
        QWidget* menu = menus.takeFirst();
        QSet<QChar> letters;
        for (QAction* entry : menu->actions()) {
            if (entry->isSeparator() || !entry->isVisible()) {
                continue;
            }
            const QChar letter = MnemonicKeeper::mnemonic(entry->text());
            const QString where = entry->text() + QStringLiteral(" in ") + menu->objectName();
            QVERIFY2(!letter.isNull(), qPrintable(where));
            QVERIFY2(!letters.contains(letter), qPrintable(where));
            letters.insert(letter);
            ++entries;
            if (entry->menu()) {
                menus << entry->menu();
            }
        }
    }
    QVERIFY(entries > 60);
}

void TestKeyboard::controlTabLeavesTheEditor_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier);
}

void TestKeyboard::controlTabLeavesTheEditor()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    setScript(QStringLiteral("move:1;"));
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Tab);
    QVERIFY(editor()->hasFocus());
    QCOMPARE(editor()->toPlainText(), QStringLiteral("    move:1;"));

    QTest::keyClick(editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(focused());
    QVERIFY2(focused() != editor() && !editor()->isAncestorOf(focused()), qPrintable(nameOf(focused())));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("    move:1;"));
}

// Tab walks the window (Ctrl+Tab out of the editor, where Tab indents) and
// passes the timeline and the speed box on its way round.
void TestKeyboard::tabReachesTimelineAndSpeedBox()
{
    setScript(QString::fromLatin1(SquareByProcedure));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    auto* timeline = m_window->findChild<QTimelineBar*>();
    QTRY_VERIFY(timeline->isVisible());

    // Wide enough for the whole toolbar: a narrower window moves the speed box
    // into the toolbar's overflow menu.
    m_window->resize(1366, 700);
    QCoreApplication::processEvents();
    m_window->findChild<QTurtleOutputArea*>()->setFocus();
    QSet<QWidget*> visited;
    for (int press = 0; press < 100 && focused(); ++press) {
        visited.insert(focused());
        if (focused() == editor()) {
            QTest::keyClick(focused(), Qt::Key_Tab, Qt::ControlModifier);
        } else {
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
    }
    QVERIFY(visited.contains(editor()));
    QVERIFY(visited.contains(m_window->findChild<QComboBox*>(QStringLiteral("speedComboBox"))));
    QVERIFY(visited.contains(timeline->findChild<QSlider*>()));
    QVERIFY(visited.contains(errorList()));
}

void TestKeyboard::escapeInTheEditorClosesTheFindBar()
{
    auto* bar = m_window->findChild<QFindBar*>();
    setScript(QStringLiteral("move:1;\nmove:2;"));
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->isVisible());
    QVERIFY(!editor()->hasFocus());

    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(editor()->hasFocus());
    // With the bar closed, Escape is the editor's again and changes nothing.
    QTest::keyClick(editor(), Qt::Key_Escape);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("move:1;\nmove:2;"));
}

void TestKeyboard::everyWidgetIsNamedAndDescribed_data()
{
    addLanguageRows();
}

// As a screen reader finds them: through the accessibility interfaces, where
// a field takes its name from its label and a button its description from
// its tool tip. Labels are read as they are.
void TestKeyboard::everyWidgetIsNamedAndDescribed()
{
    QFETCH(QString, language);
    action(language.toLatin1().constData())->trigger();
    // Hidden parts too: the find bar, the help page, a timeline.
    action("actionReplace")->trigger();
    dock("DockWidget")->show();
    QRenderDialogue dialogue(m_window.get(), Qt::WindowFlags());
    QCoreApplication::processEvents();

    const QList<QWidget*> widgets = m_window->findChildren<QWidget*>();
    QStringList unnamed;
    QStringList undescribed;
    int checked = 0;
    for (QWidget* widget : widgets) {
        if (isToolkitPart(widget)) {
            continue;
        }
        // An empty label (a remark not made yet) has nothing to say.
        const auto* label = qobject_cast<QLabel*>(widget);
        if (label && label->text().isEmpty()) {
            continue;
        }
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed << nameOf(widget);
        }
        // Qt's interface of a dock gives its title and nothing else.
        if (face && !label && !qobject_cast<QDockWidget*>(widget)
            && face->text(QAccessible::Description).trimmed().isEmpty()) {
            undescribed << nameOf(widget);
        }
        ++checked;
    }
    QVERIFY2(unnamed.isEmpty() && undescribed.isEmpty(),
             qPrintable(QStringLiteral("no name: ") + unnamed.join(QStringLiteral(", "))
                        + QStringLiteral("; no description: ") + undescribed.join(QStringLiteral(", "))));
    QVERIFY(checked > 40);
}

void TestKeyboard::everyLabelNamesAWidget()
{
    QRenderDialogue dialogue(m_window.get(), Qt::WindowFlags());
    const QList<QLabel*> labels = m_window->findChildren<QLabel*>();
    QStringList alone;
    for (QLabel* label : labels) {
        // The status bar's words report; they name no field.
        if (!isToolkitPart(label) && !label->buddy() && !qobject_cast<QStatusBar*>(label->parentWidget())) {
            alone << nameOf(label);
        }
    }
    QVERIFY2(alone.isEmpty(), qPrintable(alone.join(QStringLiteral(", "))));
}

int main(int argc, char* argv[])
{
    return runWindowTest<TestKeyboard>(argc, argv);
}

#include "tst_keyboard.moc"
