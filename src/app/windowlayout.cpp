#include "windowlayout.h"

#include "widgets/qdebuggerinterface.h"

#include <QDockWidget>
#include <QMainWindow>

QIcon WindowLayout::applicationIcon()
{
    QIcon icon;
    for (int size : { 16, 32, 48, 64, 128, 256 }) {
        icon.addFile(QStringLiteral(":/icons/korvane-%1.png").arg(size));
    }
    return icon;
}

void WindowLayout::arrangeBottomDocks(QMainWindow* window, QDockWidget* errors, QDebuggerInterface* debugger, int rows)
{
    const int height = qMax(150, debugger->heightForRows(rows));
    window->resizeDocks({ errors }, { height }, Qt::Vertical);
    window->resizeDocks({ errors, debugger }, { 900, 300 }, Qt::Horizontal);
}
