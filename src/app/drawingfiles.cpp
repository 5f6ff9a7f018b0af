#include "drawingfiles.h"

#include "memorysafety.h"
#include "prompts.h"
#include "render/imageexport.h"
#include "render/vectorexport.h"
#include "system/outputfile.h"
#include "turtle/walkingturtle.h"
#include "widgets/printdrawing.h"
#include "widgets/qturtleoutputarea.h"

#include <QDir>
#include <QPrinter>

#include <stdexcept>

namespace {

// Marked for lupdate here, translated each time a dialog opens.
const char* const TurtleImages = QT_TRANSLATE_NOOP("DrawingFiles", "Turtle images(*.res);;Other files (*.*)");

} // namespace

DrawingFiles::DrawingFiles(WalkingTurtle* turtle, const QTurtleOutputArea* view, Prompts* prompts, QObject* parent)
    : QObject(parent)
    , m_turtle(turtle)
    , m_view(view)
    , m_prompts(prompts)
    , m_traceFolder(QStringLiteral("./TurtleRes/"))
    , m_imageFolder(QStringLiteral("./TurtleRender/"))
{
}

void DrawingFiles::openTrace()
{
    const QString path = m_prompts->openFileName(tr("Open a turtle image"), existingFolderOr(m_traceFolder, false),
                                                 tr(TurtleImages));
    if (!path.isEmpty()) {
        openTrace(path);
    }
}

bool DrawingFiles::openTrace(const QString& path)
{
    WalkingTurtle loaded;
    qint64 unreadLines = 0;
    QString error;
    try {
        if (!MemorySafety::readTrace(path, loaded, unreadLines, error)) {
            m_prompts->warn(tr("Load failed"), tr("The turtle image could not be loaded."), error);
            return false;
        }
    } catch (const std::invalid_argument&) {
        m_prompts->warn(tr("Load failed"), tr("The turtle image could not be loaded."),
                        tr("%1 is not a turtle image: it must start with the line \"Tur=Res\", followed by one "
                           "line \"Y x y\" or \"N x y\" per point.")
                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    *m_turtle = std::move(loaded);
    emit traceLoaded();
    emit fileUsed(path);
    if (unreadLines > 0) {
        m_prompts->warn(tr("Trace partly loaded"),
                        tr("The trace ends at an empty line; lines left unread after it: %L1.").arg(unreadLines),
                        QDir::toNativeSeparators(path));
    }
    return true;
}

void DrawingFiles::saveTrace()
{
    const QString path = m_prompts->saveFileName(tr("Save the Turtle Image"), existingFolderOr(m_traceFolder, false),
                                                 tr(TurtleImages), QString());
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!OutputFile::writeText(path, QString::fromLatin1(m_turtle->toString().c_str()), error)) {
        m_prompts->warn(tr("Save failed"), tr("The file could not be saved."), error);
        return;
    }
    emit fileUsed(path);
}

void DrawingFiles::exportImage()
{
    ImageRequest request;
    if (!m_prompts->imageRequest(request, true)) {
        return;
    }
    const QString chosen = m_prompts->saveFileName(
        tr("Save turtle trace as..."),
        proposedExportPath(existingFolderOr(m_imageFolder, true), m_scriptPath, request.filter), request.filter,
        QString());
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withImageSuffix(chosen, request.filter);
    ImageExportResult result;
    if (!MemorySafety::attempt([&] {
            result = ::exportImage(path, request.size, m_turtle, m_view->pen(), request.showTurtle);
        })) {
        result.reason = MemorySafety::outOfMemory();
    }
    if (!result.written) {
        // The reason already names the file.
        m_prompts->warn(tr("Save failed"), tr("The file could not be saved."), result.reason);
    }
}

void DrawingFiles::exportSvg()
{
    ImageRequest request;
    if (!m_prompts->imageRequest(request, false)) {
        return;
    }
    const QString filter = tr("SVG image (*.svg)");
    QString path = m_prompts->saveFileName(tr("Save turtle trace as..."),
                                           proposedExportPath(existingFolderOr(m_imageFolder, true), m_scriptPath, filter),
                                           filter, QString());
    if (path.isEmpty()) {
        return;
    }
    if (!isSvgFileName(path)) {
        path += QStringLiteral(".svg");
    }
    const ImageExportResult result = ::exportSvg(path, request.size, m_turtle, m_view->pen(), request.showTurtle);
    if (!result.written) {
        m_prompts->warn(tr("Save failed"), tr("The file could not be saved."), result.reason);
    }
}

void DrawingFiles::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (m_prompts->printSetup(printer) && !printDrawing(&printer, m_turtle, m_view->pen(), true)) {
        m_prompts->warn(tr("Printing failed"), tr("The drawing could not be printed."), QString());
    }
}

void DrawingFiles::chooseTraceFolder()
{
    m_traceFolder = m_prompts->chooseFolder(m_traceFolder);
}

void DrawingFiles::chooseImageFolder()
{
    m_imageFolder = m_prompts->chooseFolder(m_imageFolder);
}
