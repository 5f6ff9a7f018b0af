#include "penoptions.h"

#include "turtlerenderer.h"

#include <QColor>

namespace {

// Sets *value to the one named by text, in any case; an empty text keeps it.
template <class Value, std::size_t N>
bool readWord(const QString& text, const char* option, const char* const (&names)[N], const Value (&values)[N],
              Value* value, QString* error)
{
    if (text.isEmpty()) {
        return true;
    }
    QString choices;
    for (std::size_t i = 0; i < N; ++i) {
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            *value = values[i];
            return true;
        }
        choices += QLatin1String(i == 0 ? "" : i + 1 < N ? ", " : " or ") + QLatin1String(names[i]);
    }
    *error = QStringLiteral("%1 takes %2, not \"%3\".").arg(QString::fromLatin1(option), choices, text);
    return false;
}

} // namespace

bool PenOptions::toPen(QPen* pen, QString* error) const
{
    QPen result = TurtleRenderer::defaultPen();
    if (!width.isEmpty()) {
        bool ok = false;
        const int value = width.toInt(&ok, 10);
        if (!ok || value < 0 || value > 30) {
            *error = QStringLiteral("--pen-width takes a whole number from 0 to 30, not \"%1\".").arg(width);
            return false;
        }
        result.setWidth(value);
    }
    if (!color.isEmpty()) {
        const QColor value(color);
        if (!color.startsWith(QLatin1Char('#')) || color.size() != 7 || !value.isValid()) {
            *error = QStringLiteral("--pen-color takes #RRGGBB, not \"%1\".").arg(color);
            return false;
        }
        result.setColor(value);
    }
    static const char* const capNames[] = { "flat", "square", "round" };
    static const Qt::PenCapStyle caps[] = { Qt::FlatCap, Qt::SquareCap, Qt::RoundCap };
    static const char* const joinNames[] = { "miter", "bevel", "round" };
    static const Qt::PenJoinStyle joins[] = { Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin };
    static const char* const dashNames[] = { "solid", "dash", "dot", "dashdot", "dashdotdot" };
    static const Qt::PenStyle dashes[]
        = { Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine };
    Qt::PenCapStyle capStyle = result.capStyle();
    Qt::PenJoinStyle joinStyle = result.joinStyle();
    Qt::PenStyle dashStyle = result.style();
    if (!readWord(cap, "--cap", capNames, caps, &capStyle, error)
        || !readWord(join, "--join", joinNames, joins, &joinStyle, error)
        || !readWord(dash, "--dash", dashNames, dashes, &dashStyle, error)) {
        return false;
    }
    result.setCapStyle(capStyle);
    result.setJoinStyle(joinStyle);
    result.setStyle(dashStyle);
    *pen = result;
    return true;
}
