#include "penoptions.h"

#include "turtlerenderer.h"

#include <QColor>

namespace {

template <class Value, std::size_t N>
bool lookUp(const QString& text, const char* const (&names)[N], const Value (&values)[N], Value* value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            *value = values[i];
            return true;
        }
    }
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
    Qt::PenCapStyle capStyle = result.capStyle();
    if (!cap.isEmpty() && !lookUp(cap, capNames, caps, &capStyle)) {
        *error = QStringLiteral("--cap takes flat, square or round, not \"%1\".").arg(cap);
        return false;
    }
    result.setCapStyle(capStyle);
    static const char* const joinNames[] = { "miter", "bevel", "round" };
    static const Qt::PenJoinStyle joins[] = { Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin };
    Qt::PenJoinStyle joinStyle = result.joinStyle();
    if (!join.isEmpty() && !lookUp(join, joinNames, joins, &joinStyle)) {
        *error = QStringLiteral("--join takes miter, bevel or round, not \"%1\".").arg(join);
        return false;
    }
    result.setJoinStyle(joinStyle);
    static const char* const dashNames[] = { "solid", "dash", "dot", "dashdot", "dashdotdot" };
    static const Qt::PenStyle dashes[]
        = { Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine };
    Qt::PenStyle dashStyle = result.style();
    if (!dash.isEmpty() && !lookUp(dash, dashNames, dashes, &dashStyle)) {
        *error = QStringLiteral("--dash takes solid, dash, dot, dashdot or dashdotdot, not \"%1\".").arg(dash);
        return false;
    }
    result.setStyle(dashStyle);
    *pen = result;
    return true;
}
