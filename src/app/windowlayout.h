#pragma once

#include <QIcon>

class QDockWidget;
class QMainWindow;

// The window's icon and the first arrangement of its bottom panels, before any saved state.
class WindowLayout
{
public:
    static QIcon applicationIcon();

    // The bottom area gets the height that shows rows lines of the debugger's
    // table (the widest of its tables if it has more than one); most of the
    // width goes to the messages, which are long.
    static void arrangeBottomDocks(QMainWindow* window, QDockWidget* errors, QDockWidget* debugger, int rows);
};
