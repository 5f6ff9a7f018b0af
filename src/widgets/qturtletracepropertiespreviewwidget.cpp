#include "qturtletracepropertiespreviewwidget.h"

#include "render/turtlerenderer.h"
#include "ui_qturtletracepropertiespreviewwidget.h"

#include <QPainter>
#include <QPolygon>

QTurtleTracePropertiesPreviewWidget::QTurtleTracePropertiesPreviewWidget(QWidget* parent)
    : QWidget(parent)
    , m_ui(new Ui::QTurtleTracePropertiesPreviewWidget)
    , m_pen(TurtleRenderer::defaultPen())
{
    m_ui->setupUi(this);
}

QTurtleTracePropertiesPreviewWidget::~QTurtleTracePropertiesPreviewWidget() = default;

void QTurtleTracePropertiesPreviewWidget::setPen(const QPen& p)
{
    m_pen = p;
}

void QTurtleTracePropertiesPreviewWidget::paintEvent(QPaintEvent*)
{
    static const QPoint zigzag[] = {
        QPoint(0, -40),
        QPoint(0, 100),
        QPoint(40, 60),
        QPoint(40, -60),
        QPoint(0, -100),
        QPoint(-40, -60),
        QPoint(-40, 60),
    };

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The whole widget shows the window, stretched when the widget is not square.
    painter.setWindow(-140, -140, 280, 280);
    painter.setPen(m_pen);
    painter.drawPolyline(zigzag, int(sizeof zigzag / sizeof zigzag[0]));
}
