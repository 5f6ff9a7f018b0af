#include "printdrawing.h"

#include "render/vectorexport.h"

#include <QPainter>
#include <QPrinter>

bool printDrawing(QPrinter* printer, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle)
{
    QPainter painter;
    if (!painter.begin(printer)) {
        return false;
    }
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    drawVectors(&painter, page.width(), page.height(), turtle, pen, showTurtle);
    return painter.end();
}
