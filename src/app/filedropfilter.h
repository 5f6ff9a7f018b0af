#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

// Takes drops of local files off the widgets it watches, before one of them
// (the editor) pastes their paths as text; other drops go on as usual.
// filesDropped() comes once the drop is over, so that what it opens may ask questions.
class FileDropFilter : public QObject
{
    Q_OBJECT

public:
    FileDropFilter(const QList<QWidget*>& targets, QObject* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // The local files the data names; empty unless it names only local files.
    static QStringList localFiles(const QMimeData* data);

signals:
    void filesDropped(const QStringList& paths);
};
