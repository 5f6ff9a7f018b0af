#include "colorscheme.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

const double kReadable = 4.5;
// Marks are not text: WCAG asks 3:1 of graphics.
const double kVisible = 3.0;

QColor mix(const QColor& from, const QColor& to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// Moves a text colour towards white or black, whichever stands out more, until
// it reads on every background given. Themes differ: a fixed colour alone
// cannot be sure of that.
QColor readable(QColor text, std::initializer_list<QColor> backgrounds, double ratio = kReadable)
{
    const auto worst = [&](const QColor& colour) {
        double lowest = 21;
        for (const QColor& background : backgrounds) {
            lowest = std::min(lowest, ColorScheme::contrast(colour, background));
        }
        return lowest;
    };
    const QColor darkest = *std::min_element(backgrounds.begin(), backgrounds.end(), [](const QColor& a, const QColor& b) {
        return ColorScheme::luminance(a) < ColorScheme::luminance(b);
    });
    const QColor towards = ColorScheme::contrast(Qt::white, darkest) >= ColorScheme::contrast(Qt::black, darkest)
        ? QColor(Qt::white)
        : QColor(Qt::black);
    for (int step = 0; step < 20 && worst(text) < ratio; ++step) {
        text = mix(text, towards, 0.1);
    }
    return text.toRgb();
}

} // namespace

void ColorScheme::useWhiteSheet(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette sheet = widget->palette();
    sheet.setColor(QPalette::Window, Qt::white);
    widget->setPalette(sheet);
}

bool ColorScheme::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

ColorScheme ColorScheme::light()
{
    ColorScheme scheme;
    scheme.header = QColor(140, 140, 140);
    scheme.number = QColor(224, 64, 224);
    scheme.registerName = QColor(225, 115, 10);
    scheme.keyword = QColor(20, 20, 215);
    scheme.returnWord = QColor(130, 45, 180);
    scheme.comment = QColor(15, 170, 25);
    scheme.currentLine = QColor(208, 224, 255);
    scheme.gutterBackground = QColor(Qt::lightGray);
    scheme.gutterText = QColor(Qt::black);
    scheme.errorLine = QColor(255, 205, 205);
    scheme.errorText = QColor(170, 0, 0);
    scheme.breakpoint = QColor(205, 30, 30);
    scheme.count = QColor(60, 60, 60);
    scheme.changedBackground = QColor(255, 244, 160);
    scheme.changedText = QColor(Qt::black);
    scheme.hint = QColor(128, 80, 0);
    return scheme;
}

ColorScheme ColorScheme::forPalette(const QPalette& palette)
{
    if (!isDark(palette)) {
        return light();
    }
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    const QColor window = palette.color(QPalette::Window);

    ColorScheme scheme;
    scheme.currentLine = mix(base, palette.color(QPalette::Highlight), 0.25);
    // The plain text must stay readable on the band, whatever the highlight colour.
    for (int step = 0; step < 10 && contrast(text, scheme.currentLine) < kReadable; ++step) {
        scheme.currentLine = mix(scheme.currentLine, base, 0.3);
    }
    const QColor line = scheme.currentLine;
    scheme.header = readable(QColor(170, 170, 170), { base, line });
    scheme.number = readable(QColor(240, 140, 240), { base, line });
    scheme.registerName = readable(QColor(255, 170, 90), { base, line });
    scheme.keyword = readable(QColor(120, 170, 255), { base, line });
    scheme.returnWord = readable(QColor(200, 150, 255), { base, line });
    scheme.comment = readable(QColor(110, 200, 110), { base, line });

    scheme.gutterBackground = mix(base, text, 0.08);
    scheme.gutterText = readable(mix(text, base, 0.2), { scheme.gutterBackground });
    scheme.errorLine = mix(scheme.gutterBackground, QColor(220, 40, 40), 0.3);
    scheme.errorText = readable(QColor(255, 190, 190), { scheme.errorLine });
    scheme.breakpoint = readable(QColor(240, 85, 85), { scheme.gutterBackground }, kVisible);
    scheme.count = readable(mix(text, base, 0.35), { scheme.gutterBackground, scheme.errorLine });

    scheme.changedBackground = QColor(100, 80, 15);
    scheme.changedText = readable(QColor(255, 240, 190), { scheme.changedBackground });
    scheme.hint = readable(QColor(240, 190, 100), { window, base });
    return scheme;
}

double ColorScheme::luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double ColorScheme::contrast(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}
