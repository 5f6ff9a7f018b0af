#include "asynctracerenderer.h"

#include "turtlerenderer.h"

#include <QtConcurrent/QtConcurrentRun>

#include <new>

AsyncTraceRenderer::AsyncTraceRenderer(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<TraceRenderResult>();
}

AsyncTraceRenderer::~AsyncTraceRenderer()
{
    // The jobs hold no pointer to this object; their watchers are children
    // and go with it, so a late result is simply lost. A cancelled job ends
    // within a few thousand points, and the pool waits for it.
    cancel();
}

void AsyncTraceRenderer::cancel()
{
    if (m_cancel) {
        m_cancel->store(true);
        m_cancel.reset();
    }
    ++m_generation;
    m_busy = false;
}

quint64 AsyncTraceRenderer::request(const TraceRenderRequest& request)
{
    cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_busy = true;
    const quint64 generation = m_generation;
    const std::shared_ptr<std::atomic<bool>> flag = m_cancel;

    auto* watcher = new QFutureWatcher<TraceRenderResult>(this);
    connect(watcher, &QFutureWatcher<TraceRenderResult>::finished, this, [this, watcher] { collect(watcher); });
    watcher->setFuture(QtConcurrent::run(&m_pool, [request, flag, generation] {
        TraceRenderResult result = render(request, flag.get());
        result.generation = generation;
        return result;
    }));
    return generation;
}

void AsyncTraceRenderer::collect(QFutureWatcher<TraceRenderResult>* watcher)
{
    const TraceRenderResult result = watcher->result();
    watcher->deleteLater();
    if (result.generation != m_generation || result.cancelled) {
        return;
    }
    m_busy = false;
    m_cancel.reset();
    if (result.outOfMemory) {
        emit failed(tr("There is not enough memory to draw the picture (%1 x %2 pixels).")
                        .arg(result.size.width())
                        .arg(result.size.height()));
        return;
    }
    emit finished(result);
}

TraceRenderResult AsyncTraceRenderer::render(const TraceRenderRequest& request, const std::atomic<bool>* cancel)
{
    TraceRenderResult result;
    result.count = request.points.size();
    result.size = request.size;
    try {
        QImage image(request.size * request.devicePixelRatio, QImage::Format_RGB32);
        if (image.isNull()) {
            result.outOfMemory = true;
            return result;
        }
        image.setDevicePixelRatio(request.devicePixelRatio);
        image.fill(request.background);
        result.cancelled = !TurtleRenderer::renderSnapshot(&image, request.size, request.view.worldTransform(request.size),
            request.points, request.points.size(), request.pen, &result.runLength, cancel);
        if (!result.cancelled) {
            result.image = image;
        }
    } catch (const std::bad_alloc&) {
        result.image = QImage();
        result.outOfMemory = true;
    }
    return result;
}
