#pragma once

#include <QColor>
#include <QDockWidget>
#include <QPen>
#include <functional>
#include <memory>

namespace Ui {
class m_turtleTraceProperties;
}

// The pen panel: colour, cap, join, pen style and width. Every change builds a
// complete pen from all the current choices and emits it.
class QTurtleTraceProperties : public QDockWidget
{
    Q_OBJECT

public:
    // Asks for a colour: (preselected colour, parent) -> the chosen colour, or
    // an invalid one when the user cancels.
    using ColorDialog = std::function<QColor(const QColor& initial, QWidget* parent)>;

    QTurtleTraceProperties();
    ~QTurtleTraceProperties() override;

    // Sets every text again in the current language. The three style boxes are
    // refilled, so they return to their first item; width and colour are kept.
    void retranslate();

    // The choices of the panel, to be kept between sessions. Restoring emits
    // the pen; a state that is not one of saveState() changes nothing.
    QByteArray saveState() const;
    bool restoreState(const QByteArray& state);

    // Lets tests answer the colour dialog; an empty function restores the real one.
    static void setColorDialog(ColorDialog dialog);

public slots:
    void selectColor();
    void generatePen();

signals:
    void penGenerated(const QPen& pen);

private:
    std::unique_ptr<Ui::m_turtleTraceProperties> m_ui;
    QPen m_pen;
    QColor m_color;
};
