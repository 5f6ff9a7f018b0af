#include "qturtletraceproperties.h"

#include "qturtletracepropertiespreviewwidget.h"
#include "render/turtlerenderer.h"
#include "ui_qturtletraceproperties.h"

#include <QColorDialog>
#include <QDataStream>

namespace {

QTurtleTraceProperties::ColorDialog& colorDialog()
{
    static QTurtleTraceProperties::ColorDialog dialog;
    return dialog;
}

// The items of each box, by index.
const Qt::PenCapStyle CapStyles[] = { Qt::SquareCap, Qt::FlatCap, Qt::RoundCap };
const Qt::PenJoinStyle JoinStyles[] = { Qt::BevelJoin, Qt::MiterJoin, Qt::RoundJoin };
constexpr qint32 StateVersion = 1;

const Qt::PenStyle PenStyles[]
    = { Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::CustomDashLine };

// An index outside the table (an emptied box reports -1) keeps the current value.
template <typename T, std::size_t N> T styleAt(const T (&styles)[N], int index, T current)
{
    return index >= 0 && std::size_t(index) < N ? styles[index] : current;
}

} // namespace

QTurtleTraceProperties::QTurtleTraceProperties()
    : m_ui(new Ui::m_turtleTraceProperties)
    , m_pen(TurtleRenderer::defaultPen())
{
    m_ui->setupUi(this);
    update();

    connect(m_ui->color, &QPushButton::released, this, &QTurtleTraceProperties::selectColor);
    connect(m_ui->PenStyle, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &QTurtleTraceProperties::generatePen);
    connect(m_ui->CapStyle, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &QTurtleTraceProperties::generatePen);
    connect(m_ui->JoinStyle, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &QTurtleTraceProperties::generatePen);
    connect(
        m_ui->Width, QOverload<int>::of(&QSpinBox::valueChanged), this, &QTurtleTraceProperties::generatePen);
    connect(this, &QTurtleTraceProperties::penGenerated, m_ui->Overview,
        &QTurtleTracePropertiesPreviewWidget::setPen);
}

QTurtleTraceProperties::~QTurtleTraceProperties() = default;

void QTurtleTraceProperties::retranslate()
{
    m_ui->retranslateUi(this);
    // Emptying and refilling each box runs generatePen twice per box (index -1,
    // then 0), so the rebuilt pen reaches the preview and the output area.
    for (QComboBox* box : { m_ui->CapStyle, m_ui->JoinStyle, m_ui->PenStyle }) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        box->clear();
        box->addItems(items);
    }
}

QByteArray QTurtleTraceProperties::saveState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    // The same bytes whichever Qt wrote them.
    out.setVersion(QDataStream::Qt_5_15);
    out << StateVersion << qint32(m_ui->CapStyle->currentIndex()) << qint32(m_ui->JoinStyle->currentIndex())
        << qint32(m_ui->PenStyle->currentIndex()) << qint32(m_ui->Width->value()) << m_color;
    return state;
}

bool QTurtleTraceProperties::restoreState(const QByteArray& state)
{
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_5_15);
    qint32 version = 0, cap = 0, join = 0, style = 0, width = 0;
    QColor color;
    in >> version >> cap >> join >> style >> width >> color;
    const auto fits = [](QComboBox* box, qint32 index) { return index >= 0 && index < box->count(); };
    if (in.status() != QDataStream::Ok || version != StateVersion || !fits(m_ui->CapStyle, cap)
        || !fits(m_ui->JoinStyle, join) || !fits(m_ui->PenStyle, style) || width < m_ui->Width->minimum()
        || width > m_ui->Width->maximum()) {
        return false;
    }
    m_ui->CapStyle->setCurrentIndex(cap);
    m_ui->JoinStyle->setCurrentIndex(join);
    m_ui->PenStyle->setCurrentIndex(style);
    m_ui->Width->setValue(width);
    m_color = color;
    generatePen();
    return true;
}

void QTurtleTraceProperties::setColorDialog(ColorDialog dialog)
{
    colorDialog() = std::move(dialog);
}

void QTurtleTraceProperties::selectColor()
{
    const QColor initial(Qt::white);
    const QColor chosen
        = colorDialog() ? colorDialog()(initial, this) : QColorDialog::getColor(initial, this);
    if (chosen.isValid()) {
        m_color = chosen;
        generatePen();
    }
}

void QTurtleTraceProperties::generatePen()
{
    m_pen.setCapStyle(styleAt(CapStyles, m_ui->CapStyle->currentIndex(), m_pen.capStyle()));
    m_pen.setJoinStyle(styleAt(JoinStyles, m_ui->JoinStyle->currentIndex(), m_pen.joinStyle()));
    m_pen.setStyle(styleAt(PenStyles, m_ui->PenStyle->currentIndex(), m_pen.style()));
    m_pen.setWidth(m_ui->Width->value());
    // Until a colour is chosen the pen is black, which is how an unset colour draws.
    m_pen.setColor(m_color.isValid() ? m_color : QColor(Qt::black));
    emit penGenerated(m_pen);
    update();
}
