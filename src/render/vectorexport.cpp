#include "vectorexport.h"

#include "turtlerenderer.h"

#include "system/outputfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("ImageExport", text);
}

ImageExportResult notWritten(const QString& fileName, const QString& why)
{
    return ImageExportResult { false,
        translated(QT_TRANSLATE_NOOP("ImageExport", "The image was not written to %1: %2"))
            .arg(QDir::toNativeSeparators(fileName), why) };
}

// Older generators write a width-0 pen as a plain one-unit stroke, which a
// viewer scales; marked non-scaling it stays one pixel wide, as on screen.
QByteArray withHairlines(QByteArray svg, const QPen& pen)
{
    if ((pen.widthF() != 0 && !pen.isCosmetic()) || svg.contains("non-scaling-stroke")) {
        return svg;
    }
    QByteArray marked;
    marked.reserve(svg.size() + 1024);
    int from = 0;
    for (;;) {
        const int at = svg.indexOf("<polyline", from);
        if (at < 0) {
            break;
        }
        marked.append(svg.constData() + from, at - from);
        marked.append("<polyline vector-effect=\"non-scaling-stroke\"");
        from = at + int(qstrlen("<polyline"));
    }
    marked.append(svg.constData() + from, svg.size() - from);
    return marked;
}

} // namespace

void drawVectors(QPainter* painter, int width, int height, const WalkingTurtle* turtle, const QPen& pen,
                 bool showTurtle)
{
    TurtleRenderer::setUpView(painter, width, height);
    TurtleRenderer renderer(turtle, pen);
    renderer.setReference(true);
    renderer.drawTrace(painter);
    if (showTurtle) {
        renderer.drawTurtle(painter);
    }
}

bool isSvgFileName(const QString& fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
}

ImageExportResult exportSvg(
    const QString& fileName, const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle)
{
    if (size.isEmpty()) {
        return ImageExportResult { false,
            translated(QT_TRANSLATE_NOOP("ImageExport",
                           "The image size %1 x %2 is not valid: both sides must be at least 1 pixel."))
                .arg(size.width())
                .arg(size.height()) };
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QFileInfo(fileName).completeBaseName());
        QPainter painter(&generator);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        drawVectors(&painter, size.width(), size.height(), turtle, pen, showTurtle);
    }
    const QByteArray svg = withHairlines(buffer.data(), pen);

    OutputFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return notWritten(fileName, file.errorString());
    }
    if (file.write(svg) != svg.size()) {
        file.cancelWriting();
        return notWritten(fileName, file.errorString());
    }
    if (!file.commit()) {
        return notWritten(fileName, file.errorString());
    }
    return ImageExportResult { true, QString() };
}
