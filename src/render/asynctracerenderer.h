#pragma once

#include "drawingview.h"
#include "tracemirror.h"

#include <QColor>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPen>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <memory>

// What a background render paints: the first points.size() snapshots under a
// view, on a plain background.
struct TraceRenderRequest
{
    QSize size;
    qreal devicePixelRatio = 1;
    DrawingView view;
    QPen pen;
    QColor background;
    TraceSnapshot points;
};

struct TraceRenderResult
{
    QImage image;
    QSize size;
    std::size_t count = 0;
    // Length of the last run, to carry its dash pattern on.
    double runLength = 0;
    quint64 generation = 0;
    bool cancelled = false;
    bool outOfMemory = false;
};

Q_DECLARE_METATYPE(TraceRenderResult)

// Renders a trace into an image off the GUI thread. A newer request cancels
// the older one, whose result is dropped; only the newest result is reported.
// An out-of-memory in the render thread is caught there and reported.
class AsyncTraceRenderer : public QObject
{
    Q_OBJECT

public:
    explicit AsyncTraceRenderer(QObject* parent = nullptr);
    ~AsyncTraceRenderer() override;

    // Returns the request's generation.
    quint64 request(const TraceRenderRequest& request);
    void cancel();
    bool isBusy() const { return m_busy; }
    quint64 generation() const { return m_generation; }

    // The work of one request, on any thread.
    static TraceRenderResult render(const TraceRenderRequest& request, const std::atomic<bool>* cancel);

signals:
    void finished(const TraceRenderResult& result);
    void failed(const QString& reason);

private:
    void collect(QFutureWatcher<TraceRenderResult>* watcher);

    quint64 m_generation = 0;
    bool m_busy = false;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    // Not the global pool: the painter draws large images on the GUI thread
    // with the global pool's threads and waits for them, which would then wait
    // for a render of several seconds.
    QThreadPool m_pool;
};
