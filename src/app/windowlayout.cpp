#include "windowlayout.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QLayout>
#include <QMainWindow>
#include <QStyle>
#include <QTableView>

QIcon WindowLayout::applicationIcon()
{
    QIcon icon;
    for (int size : { 16, 32, 48, 64, 128, 256 }) {
        icon.addFile(QStringLiteral(":/icons/korvane-%1.png").arg(size));
    }
    return icon;
}

void WindowLayout::arrangeBottomDocks(QMainWindow* window, QDockWidget* errors, QDockWidget* debugger, int rows)
{
    int height = 150;
    auto* table = debugger->findChild<QTableView*>();
    if (table && debugger->widget() && debugger->widget()->layout()) {
        const QMargins margins = debugger->widget()->layout()->contentsMargins();
        const int title = debugger->fontMetrics().height()
            + 2 * debugger->style()->pixelMetric(QStyle::PM_DockWidgetTitleMargin, nullptr, debugger) + 4;
        const int rowHeight = qMax(table->verticalHeader()->defaultSectionSize(),
                                   table->verticalHeader()->minimumSectionSize());
        height = qMax(height, title + margins.top() + margins.bottom() + table->horizontalHeader()->sizeHint().height()
                                  + rows * rowHeight + 2 * table->frameWidth());
    }
    window->resizeDocks({ errors }, { height }, Qt::Vertical);
    window->resizeDocks({ errors, debugger }, { 900, 300 }, Qt::Horizontal);
}
