#include "printdrawing.h"

#include "render/vectorexport.h"
#include "system/outputfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>

#include <new>

bool printDrawing(QPrinter* printer, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle, QString* reason)
{
    // Printed to a file: a pipe would hold the window until its reader came.
    if (!printer->outputFileName().isEmpty()) {
        const QString unwritable = OutputFile(printer->outputFileName()).unwritableReason();
        if (!unwritable.isEmpty()) {
            if (reason) {
                *reason = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(printer->outputFileName()), unwritable);
            }
            return false;
        }
    }
    QPainter painter;
    if (!painter.begin(printer)) {
        return false;
    }
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    try {
        drawVectors(&painter, page.width(), page.height(), turtle, pen, showTurtle);
    } catch (const std::bad_alloc&) {
        painter.end();
        if (reason) {
            *reason = QCoreApplication::translate("ImageExport", "There is not enough memory to print the drawing.");
        }
        return false;
    }
    return painter.end();
}
