#pragma once

#include <QIcon>

class QDebuggerInterface;
class QDockWidget;
class QMainWindow;

// The window's icon and the first arrangement of its bottom panels, before any saved state.
class WindowLayout
{
public:
    static QIcon applicationIcon();

    // The bottom area gets the height that shows rows lines of the debugger's
    // table; most of the width goes to the messages, which are long.
    static void arrangeBottomDocks(QMainWindow* window, QDockWidget* errors, QDebuggerInterface* debugger, int rows);
};
