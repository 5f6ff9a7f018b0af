#include "filedropfilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDropFilter::FileDropFilter(const QList<QWidget*>& targets, QObject* parent)
    : QObject(parent)
{
    for (QWidget* target : targets) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = localFiles(drop->mimeData());
    if (paths.isEmpty()) {
        return QObject::eventFilter(watched, event);
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QMetaObject::invokeMethod(this, [this, paths] { emit filesDropped(paths); }, Qt::QueuedConnection);
    }
    return true;
}

QStringList FileDropFilter::localFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return QStringList();
        }
        paths << url.toLocalFile();
    }
    return paths;
}
