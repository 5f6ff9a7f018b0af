#pragma once

#include <QColor>

class QPalette;
class QWidget;

// The few fixed colours of the editor and the panels, chosen for a light or a
// dark background; everything else comes from the palette. A palette is dark
// when its window background is.
struct ColorScheme
{
    // Syntax colouring.
    QColor header;
    QColor number;
    QColor registerName;
    QColor keyword;
    QColor returnWord;
    QColor comment;

    // The editor: the band on the cursor line, and the gutter beside the text.
    QColor currentLine;
    QColor gutterBackground;
    QColor gutterText;
    QColor errorLine;
    QColor errorText;
    QColor breakpoint;
    QColor count;

    // A debugger value that the last step changed.
    QColor changedBackground;
    QColor changedText;

    // A remark beside a field, such as the find bar's "wrapped around".
    QColor hint;

    // Drawings sit on a white sheet in any theme, as the exported image does,
    // so that black pens show: the widget fills its background with white.
    static void useWhiteSheet(QWidget* widget);

    static bool isDark(const QPalette& palette);
    static ColorScheme forPalette(const QPalette& palette);
    static ColorScheme light();

    // WCAG 2 relative luminance and contrast ratio (1 to 21).
    static double luminance(const QColor& colour);
    static double contrast(const QColor& a, const QColor& b);
};
