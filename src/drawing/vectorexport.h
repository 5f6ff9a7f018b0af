#pragma once

#include "imageexport.h"

#include <QPen>
#include <QSize>
#include <QString>

class QPrinter;
class WalkingTurtle;

// True when fileName ends with .svg (any case).
bool isSvgFileName(const QString& fileName);

// Writes the drawing as an SVG file of the given size in pixels, at the same
// mapping as an image of that size: whole polylines in the pen's colour,
// width, cap, join and dash; a width-0 pen stays one pixel wide whatever the
// zoom of the viewer. Written whole or not at all.
ImageExportResult exportSvg(
    const QString& fileName, const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle);

// Prints the drawing fitted to the printer's page (its largest centred square).
// On failure, reason (when given) says why if it is known: an output file that
// cannot be written, too little memory.
bool printDrawing(
    QPrinter* printer, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle, QString* reason = nullptr);
