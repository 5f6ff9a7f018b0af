#include "windowfixture.h"
#include "commandline.h"
#include "filechoice.h"
#include "widgets/qturtleoutputarea.h"

#include <QComboBox>
#include <QMimeData>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>

// Files given from outside (command line, drops), settings kept between
// sessions, and the default layout of the window.
class TestDesktop : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandLineOpens_data();
    void commandLineOpens();
    void missingFileFromElsewhereIsRefused();
    void droppedFileOpensInsteadOfPastingItsPath();
    void settingsLastBetweenSessions();
    void damagedSettingsAreIgnored();
    void editorGetsItsColumnsOnALaptopScreen();
    void fitsASmallScreen_data();
    void fitsASmallScreen();

private:
    QString write(const QString& name, const QByteArray& text);

    QTemporaryDir m_dir;
};

void TestDesktop::initTestCase()
{
    // Never the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
}

void TestDesktop::init()
{
    QSettings().clear();
    createWindow();
}

void TestDesktop::cleanup()
{
    closeWindow();
}

QString TestDesktop::write(const QString& name, const QByteArray& text)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    file.write(text);
    return file.fileName();
}

void TestDesktop::commandLineOpens_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("traceLoaded");
    QTest::addColumn<QString>("message");

    QTest::newRow("a script") << QStringList { "a.tur" } << "a.tur" << "Tur=Asm\nmove:10;\n" << false << "";
    QTest::newRow("a trace") << QStringList { "t.res" } << "" << "" << true << "";
    QTest::newRow("a trace named otherwise, known by its first line")
        << QStringList { "trace.txt" } << "" << "" << true << "";
    QTest::newRow("a script and a trace, with a language")
        << QStringList { "--lang", "fr", "t.res", "a.tur" } << "a.tur" << "Tur=Asm\nmove:10;\n" << true << "";
    QTest::newRow("two scripts: the first, and the window says which was left out")
        << QStringList { "a.tur", "b.tur" } << "a.tur" << "Tur=Asm\nmove:10;\n" << false
        << "b.tur: not opened, Korvane opens one script and one turtle image at a time.";
    QTest::newRow("a script that does not exist opens as a new one of that name")
        << QStringList { "new.tur" } << "new.tur" << "Tur=Asm\n" << false << "";
    QTest::newRow("so does a name without a suffix")
        << QStringList { "notes" } << "notes" << "Tur=Asm\n" << false << "";
    QTest::newRow("a trace that does not exist gets Open Image's message")
        << QStringList { "missing.res" } << "" << "" << false << "Load failed";
}

void TestDesktop::commandLineOpens()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, script);
    QFETCH(QString, text);
    QFETCH(bool, traceLoaded);
    QFETCH(QString, message);

    write(QStringLiteral("a.tur"), "Tur=Asm\nmove:10;\n");
    write(QStringLiteral("b.tur"), "Tur=Asm\nmove:20;\n");
    write(QStringLiteral("t.res"), "Tur=Res\nN 0 0\nY 30 40\n");
    write(QStringLiteral("trace.txt"), "Tur=Res\nN 0 0\nY 30 40\n");
    QStringList absolute { QStringLiteral("korvane") };
    for (const QString& argument : arguments) {
        const bool file = !argument.startsWith(QLatin1String("--")) && absolute.last() != QLatin1String("--lang");
        absolute << (file ? m_dir.filePath(argument) : argument);
    }

    CommandLine commandLine;
    commandLine.process(absolute);
    m_window->open(FileChoice(commandLine.files(), FileChoice::OpenedAsNew));

    const QString path = script.isEmpty() ? QString() : m_dir.filePath(script);
    QCOMPARE(editor()->documentTitle(), path);
    QCOMPARE(editor()->toPlainText(), text);
    QVERIFY(!editor()->isModified());
    QCOMPARE(m_window->windowTitle(),
             script.isEmpty() ? QStringLiteral("Korvane - Untitled") : QStringLiteral("Korvane - ") + QFileInfo(script).fileName());
    // The trace ends with the pen down, which the Write action shows.
    QCOMPARE(action("action_Write")->isChecked(), traceLoaded);
    if (message.isEmpty()) {
        QCOMPARE(m_prompts->shownMessages(), QStringList());
    } else {
        QCOMPARE(m_prompts->shownMessages().size(), 1);
        QVERIFY2(m_prompts->shownMessages().constFirst().contains(message),
                 qPrintable(m_prompts->shownMessages().constFirst()));
    }
    QCOMPARE(commandLine.language(), arguments.contains("--lang") ? QStringLiteral("fr") : QString());
}

void TestDesktop::missingFileFromElsewhereIsRefused()
{
    // A dropped file or a recent one that went away is not a new script.
    const QString path = m_dir.filePath(QStringLiteral("gone.tur"));
    m_window->open(FileChoice({ path }));
    QVERIFY(editor()->documentTitle().isEmpty());
    QCOMPARE(m_prompts->shownMessages().size(), 1);
    QVERIFY(m_prompts->shownMessages().constFirst().contains(QStringLiteral("Load failed")));
}

void TestDesktop::droppedFileOpensInsteadOfPastingItsPath()
{
    const QString path = write(QStringLiteral("dropped.tur"), "Tur=Asm\nleft:90;\n");
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(path) });
    data.setText(path);
    const auto drop = [&] {
        QWidget* target = editor()->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
    };

    // Unsaved edits: the prompt comes first, and Cancel keeps them.
    editor()->setPlainText(QStringLiteral("Tur=Asm\n"));
    editor()->setIfModified(true);
    m_prompts->setNextAnswer(QMessageBox::Cancel);
    drop();
    QTRY_COMPARE(m_prompts->shownMessages().size(), 1);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\n"));

    m_prompts->setNextAnswer(QMessageBox::Discard);
    drop();
    QTRY_COMPARE(editor()->documentTitle(), path);
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\nleft:90;\n"));
}

void TestDesktop::settingsLastBetweenSessions()
{
    const QString script = write(QStringLiteral("kept.tur"), "Tur=Asm\n");
    QVERIFY(!m_window->readSettings());
    m_window->open(FileChoice({ script }));
    action("action_French")->trigger();
    auto* panel = dock("m_turtleTraceProperties");
    panel->findChild<QSpinBox*>(QStringLiteral("Width"))->setValue(7);
    panel->findChild<QComboBox*>(QStringLiteral("PenStyle"))->setCurrentIndex(2);
    m_prompts->setNextFileName(m_dir.path());
    action("actionDir_Choice_tur")->trigger();
    QFont font = editor()->font();
    font.setPointSize(17);
    editor()->setFont(font);
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* splitter = m_window->findChild<QSplitter*>(QStringLiteral("centralSplitter"));
    splitter->setSizes({ 300, splitter->width() - 300 });
    const QList<int> sizes = splitter->sizes();
    QVERIFY(m_window->close());

    createWindow();
    QVERIFY(m_window->readSettings());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QCOMPARE(m_window->size(), QSize(1000, 700));
    QCOMPARE(m_window->findChild<QSplitter*>(QStringLiteral("centralSplitter"))->sizes(), sizes);
    QVERIFY(action("action_French")->isChecked());
    // The restored pen reaches the drawing, not only the panel's preview.
    const QPen pen = m_window->findChild<QTurtleOutputArea*>()->pen();
    QCOMPARE(pen.width(), 7);
    QCOMPARE(pen.style(), Qt::DotLine);
    QCOMPARE(editor()->font().pointSize(), 17);
    QAction* recent = m_window->findChild<QMenu*>(QStringLiteral("menuRecent_Files"))->actions().constFirst();
    QVERIFY(recent->isVisible());
    recent->trigger();
    QCOMPARE(editor()->documentTitle(), QFileInfo(script).absoluteFilePath());
    // The folder comes back: Open starts there.
    m_prompts->setNextFileName(QString());
    action("actionDir_Choice_tur")->trigger();
}

void TestDesktop::damagedSettingsAreIgnored()
{
    const QString path = QSettings().fileName();
    m_window.reset();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[window]\ngeometry=@ByteArray(\\x1\\x2garbage)\nstate=12\nsplit=@ByteArray(\\xff\\xff)\n"
               "[General]\npen=@ByteArray(\\0\\0\\0\\x1\\xff\\xff\\xff\\xff)\nlanguage=klingon\n"
               "recentFiles=@Variant(\\0\\0\\0\\x7f)\n[editor]\nfontSize=-3\n\xff\xfe\0[[[=\n");
    file.close();

    createWindow();
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    const QPen pen = area->pen();
    QVERIFY(!m_window->readSettings());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(action("action_System_Language")->isChecked());
    QVERIFY(m_window->findChild<QMenu*>(QStringLiteral("menuRecent_Files"))->actions().constFirst()->isVisible() == false);
    QCOMPARE(area->pen(), pen);
    QVERIFY(editor()->font().pointSizeF() > 0);
}

void TestDesktop::editorGetsItsColumnsOnALaptopScreen()
{
    QFile flower(QStringLiteral("TurtleCodes/flower.tur"));
    QVERIFY(flower.open(QIODevice::ReadOnly));
    editor()->setPlainText(QString::fromUtf8(flower.readAll()));
    // A maximised window on a 1366 x 768 screen, under a panel and a title bar.
    m_window->resize(1366, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(m_window->size(), QSize(1366, 700));

    const int columns = editor()->viewport()->width() / editor()->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QVERIFY2(columns >= 60, qPrintable(QString::number(columns)));
    // The drawing keeps the rest, a third of the width at least.
    QVERIFY(m_window->findChild<QTurtleOutputArea*>()->width() * 3
            >= m_window->findChild<QSplitter*>(QStringLiteral("centralSplitter"))->width());
    // Every row of the debugger panel is in view: registers, stack size and stack top.
    setScript(QStringLiteral("Tur=Asm\npush:1;\nmove:1;\n"));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    auto* table = m_window->findChild<QTableWidget*>(QStringLiteral("DebugTableWidget"));
    QVERIFY(table->rowCount() > 0);
    const int rows = 7;
    QVERIFY2(rows * table->rowHeight(0) <= table->viewport()->height(),
             qPrintable(QStringLiteral("%1 rows of %2 > %3").arg(rows).arg(table->rowHeight(0))
                            .arg(table->viewport()->height())));
    // And no more: the drawing and the editor get the rest of the height.
    QVERIFY2((rows + 1) * table->rowHeight(0) > table->viewport()->height(),
             qPrintable(QString::number(table->viewport()->height())));

    // Still usable at the smallest size.
    m_window->resize(800, 600);
    QTRY_COMPARE(m_window->size(), QSize(800, 600));
    QVERIFY(editor()->width() >= 150 && m_window->findChild<QTurtleOutputArea*>()->width() >= 200);
}

void TestDesktop::fitsASmallScreen_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("fontScale");

    // Screens less a 48-pixel taskbar.
    QTest::newRow("a 1024 x 600 netbook") << QSize(1024, 552) << 1.0;
    // Fonts set to 144 dpi grow, the widgets' own pixels do not.
    QTest::newRow("a 1366 x 768 laptop with fonts at 144 dpi") << QSize(1366, 720) << 1.5;
    // Scaled by one and a half, the window's pixels are one and a half screen pixels.
    QTest::newRow("a 1366 x 768 laptop scaled by one and a half") << QSize(910, 480) << 1.0;
}

void TestDesktop::fitsASmallScreen()
{
    QFETCH(QSize, size);
    QFETCH(double, fontScale);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    if (fontScale > 1) {
        QSKIP("Qt 5 leaves the bottom docks their first height when the fonts grow: the debugger scrolls");
    }
#endif

    const QFont font = QApplication::font();
    QFont large = font;
    large.setPixelSize(qRound(QFontInfo(font).pixelSize() * fontScale));
    QApplication::setFont(large);
    const auto restore = qScopeGuard([font] { QApplication::setFont(font); });
    createWindow();

    // Maximised on that screen, the debugger shows all its rows.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->resize(size);
    QTRY_COMPARE(m_window->size(), size);
    setScript(QStringLiteral("Tur=Asm\npush:1;\nmove:1;\n"));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    auto* table = m_window->findChild<QTableWidget*>(QStringLiteral("DebugTableWidget"));
    QCOMPARE(table->rowCount(), 7);
    QTRY_VERIFY2(table->rowViewportPosition(6) + table->rowHeight(6) <= table->viewport()->height(),
        qPrintable(QStringLiteral("rows end at %1 in %2")
                       .arg(table->rowViewportPosition(6) + table->rowHeight(6))
                       .arg(table->viewport()->height())));
    QVERIFY(editor()->width() >= 150 && m_window->findChild<QTurtleOutputArea*>()->width() >= 200);

    // As small as the window lets itself be made: what its panels need, no more.
    m_window->resize(1, 1);
    QTRY_VERIFY(m_window->height() < size.height());
    QVERIFY2(m_window->width() <= size.width() && m_window->height() <= size.height(),
        qPrintable(QStringLiteral("%1 x %2").arg(m_window->width()).arg(m_window->height())));
    QVERIFY(m_window->minimumSizeHint().width() <= m_window->width()
        && m_window->minimumSizeHint().height() <= m_window->height());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
