#pragma once

#include "imageexport.h"

#include <QPen>
#include <QSize>
#include <QString>

class QPainter;
class WalkingTurtle;

// True when fileName ends with .svg (any case).
bool isSvgFileName(const QString& fileName);

// Writes the drawing as an SVG file of the given size in pixels, at the same
// mapping as an image of that size: whole polylines in the pen's colour,
// width, cap, join and dash; a width-0 pen stays one pixel wide whatever the
// zoom of the viewer. Written whole or not at all.
ImageExportResult exportSvg(
    const QString& fileName, const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle);

// Draws whole polylines, as a vector file or a printer wants them (they have no
// fill to speed up), at the mapping of an image of width x height.
void drawVectors(QPainter* painter, int width, int height, const WalkingTurtle* turtle, const QPen& pen,
                 bool showTurtle);
