#include "qtimelinebar.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <climits>

QTimelineBar::QTimelineBar(QWidget* parent)
    : QWidget(parent)
    , m_slider(new QSlider(Qt::Horizontal))
    , m_label(new QLabel)
    , m_layout(new QBoxLayout(QBoxLayout::LeftToRight, this))
{
    setObjectName(QStringLiteral("timelineBar"));
    m_layout->setContentsMargins(6, 2, 6, 2);
    m_layout->addWidget(m_slider, 1);
    m_layout->addWidget(m_label);
    m_slider->setMinimumWidth(160);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_label->setBuddy(m_slider);
    m_slider->installEventFilter(this);
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(m_slider, &QSlider::valueChanged, this, &QTimelineBar::moved);
    connect(&m_pending, &QTimer::timeout, this, [this] { emit stepChosen(m_shown); });
    retranslate();
}

void QTimelineBar::setSteps(qint64 first, qint64 last, qint64 shown)
{
    m_first = first;
    m_last = std::max(first, last);
    m_shown = std::clamp(shown, m_first, m_last);
    m_scale = (m_last - m_first) / INT_MAX + 1;
    m_setting = true;
    m_slider->setRange(0, int((m_last - m_first) / m_scale));
    m_slider->setValue(int((m_shown - m_first) / m_scale));
    m_slider->setPageStep(std::max(1, m_slider->maximum() / 20));
    m_setting = false;
    m_pending.stop();
    showLabel();
}

void QTimelineBar::setNumberLocale(const QLocale& locale)
{
    m_locale = locale;
    showLabel();
}

void QTimelineBar::retranslate()
{
    m_slider->setToolTip(tr("Drag to show the run at another step"));
    m_slider->setAccessibleName(tr("Step shown"));
    setAccessibleName(tr("Timeline"));
    setAccessibleDescription(tr("The steps of the last run, and the one shown"));
    showLabel();
}

void QTimelineBar::moved(int value)
{
    if (m_setting) {
        return;
    }
    m_shown = stepOf(value);
    showLabel();
    if (!m_pending.isActive()) {
        m_pending.start();
    }
}

void QTimelineBar::showLabel()
{
    const QString last = m_locale.toString(m_last);
    // As wide as at the last step, so that the slider keeps its length while dragged.
    m_labelWidth = m_label->fontMetrics().horizontalAdvance(text(last, last)) + 2;
    m_label->setText(text(m_locale.toString(m_shown), last));
    arrange();
}

void QTimelineBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

// Side by side when both fit, the text under the slider otherwise: the
// drawing beside the docks can be narrower than the two (a French text, the
// help open), and a squeezed row draws the text over the slider.
void QTimelineBar::arrange()
{
    const QMargins margins = m_layout->contentsMargins();
    const int sideBySide
        = margins.left() + m_slider->minimumWidth() + m_layout->spacing() + m_labelWidth + margins.right();
    const bool beside = width() >= sideBySide;
    const auto direction = beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_layout->direction() != direction) {
        m_layout->setDirection(direction);
    }
    // Under the slider, a long text may take two lines.
    m_label->setMinimumWidth(beside ? m_labelWidth : 0);
    m_label->setWordWrap(!beside);
    m_label->setAlignment(beside ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
}

QString QTimelineBar::text(const QString& shown, const QString& last)
{
    return tr("step %1 of %2").arg(shown, last);
}

qint64 QTimelineBar::stepOf(int value) const
{
    return value >= m_slider->maximum() ? m_last : m_first + value * m_scale;
}

// A click on the groove jumps there, rather than a page towards it; the
// handle then follows the pointer as in a drag.
bool QTimelineBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_slider && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        QStyleOptionSlider option;
        option.initFrom(m_slider);
        option.orientation = m_slider->orientation();
        option.minimum = m_slider->minimum();
        option.maximum = m_slider->maximum();
        option.sliderPosition = m_slider->sliderPosition();
        const QRect handle = m_slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, m_slider);
        const QRect groove = m_slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, m_slider);
        if (press->button() == Qt::LeftButton && !handle.contains(press->pos()) && groove.width() > handle.width()) {
            const int x = press->pos().x() - groove.x() - handle.width() / 2;
            m_slider->setValue(QStyle::sliderValueFromPosition(m_slider->minimum(), m_slider->maximum(), x,
                                                               groove.width() - handle.width()));
        }
    }
    return QWidget::eventFilter(watched, event);
}
