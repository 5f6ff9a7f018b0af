#pragma once

#include <QLocale>
#include <QTimer>
#include <QWidget>

class QBoxLayout;
class QLabel;
class QSlider;

// A slider over the steps a run has executed, with "step S of N" beside it.
// Moving it asks for another step to be shown: while the slider is dragged,
// only the latest position is asked for, once the previous request is done,
// so that a slow redraw never queues up behind the pointer.
class QTimelineBar : public QWidget
{
    Q_OBJECT

public:
    explicit QTimelineBar(QWidget* parent = nullptr);

    // The steps the slider spans and the one it shows; nothing is asked for.
    void setSteps(qint64 first, qint64 last, qint64 shown);
    qint64 shownStep() const { return m_shown; }
    // Numbers are written as this locale writes them.
    void setNumberLocale(const QLocale& locale);
    void retranslate();

signals:
    void stepChosen(qint64 step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void moved(int value);
    void showLabel();
    void arrange();
    static QString text(const QString& shown, const QString& last);
    qint64 stepOf(int value) const;

    QSlider* m_slider;
    QLabel* m_label;
    QBoxLayout* m_layout;
    int m_labelWidth = 0;
    QTimer m_pending;
    QLocale m_locale;
    qint64 m_first = 0;
    qint64 m_last = 0;
    qint64 m_shown = 0;
    // Steps a slider position stands for: more than one beyond INT_MAX steps.
    qint64 m_scale = 1;
    bool m_setting = false;
};
