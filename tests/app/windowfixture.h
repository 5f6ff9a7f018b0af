#pragma once

#include "mainwindow.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QListWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include <memory>

// The worked example of the debugger: a square drawn by a procedure called four times.
constexpr const char* SquareByProcedure = "Tur=Asm\n"
                                          "CX:4;\n"
                                          "write:Y;\n"
                                          "define:SIDE;\n"
                                          "call:EDGE;\n"
                                          "loop:SIDE;\n"
                                          "end;\n"
                                          "proc:EDGE;\n"
                                          "move:100;\n"
                                          "left:90;\n"
                                          "ret;\n";

// What the tests of the real window share: a fresh window for each test, its
// parts found by the object names the user's actions and panels carry.
class WindowFixture
{
protected:
    // Settings the window keeps go to a test folder.
    static void prepareApplication()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
        QStandardPaths::setTestModeEnabled(true);
    }

    // A new window, not shown, whose questions m_prompts answers.
    void createWindow()
    {
        m_window.reset();
        auto prompts = std::make_unique<ScriptedPrompts>();
        m_prompts = prompts.get();
        m_window = std::make_unique<MainWindow>(std::move(prompts));
    }

    bool openWindow()
    {
        createWindow();
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    void closeWindow()
    {
        // Closing must not ask anything of a test that left edits behind.
        editor()->setIfModified(false);
        m_window.reset();
    }

    QAction* action(const char* name) const
    {
        QAction* found = m_window->findChild<QAction*>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }

    QEditor* editor() const { return m_window->findChild<QEditor*>(); }
    QListWidget* errorList() const { return m_window->findChild<QListWidget*>(QStringLiteral("ErrorListWidget")); }
    QDockWidget* dock(const char* name) const { return m_window->findChild<QDockWidget*>(QLatin1String(name)); }
    void setScript(const QString& text) { editor()->setPlainText(text); }

    QStringList errorTexts() const
    {
        QStringList texts;
        for (int i = 0; i < errorList()->count(); ++i) {
            texts << errorList()->item(i)->text();
        }
        return texts;
    }

    // The value the debugger panel shows in the row of this name.
    QString debugValue(const QString& name) const
    {
        const auto* table = m_window->findChild<QTableWidget*>(QStringLiteral("DebugTableWidget"));
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->verticalHeaderItem(row)->text() == name) {
                return table->item(row, 0)->text();
            }
        }
        return QStringLiteral("(none)");
    }

    std::unique_ptr<MainWindow> m_window;
    // The window's own.
    ScriptedPrompts* m_prompts = nullptr;
};

// Runs a window test; it reads English texts whatever the machine's language.
template <class Test>
int runWindowTest(int argc, char* argv[])
{
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANGUAGE", "");
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
