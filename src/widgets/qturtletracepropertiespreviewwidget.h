#pragma once

#include <QPen>
#include <QWidget>
#include <memory>

namespace Ui {
class QTurtleTracePropertiesPreviewWidget;
}

// A fixed zigzag drawn with the pen being chosen: two line ends show the cap
// style, five corners the join style.
class QTurtleTracePropertiesPreviewWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QTurtleTracePropertiesPreviewWidget(QWidget* parent = nullptr);
    ~QTurtleTracePropertiesPreviewWidget() override;

    const QPen& pen() const { return m_pen; }

public slots:
    // Stores the pen only; whoever sets it repaints.
    void setPen(const QPen& p);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Ui::QTurtleTracePropertiesPreviewWidget> m_ui;
    QPen m_pen;
};
