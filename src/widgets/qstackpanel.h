#pragma once

#include "session/stackview.h"

#include <QDockWidget>

#include <functional>

class QLabel;
class QListWidget;

// "Stack": the machine's data stack, top first, and its pending calls,
// innermost first, each as "petal, called from line 8". What the last
// instruction pushed or called stands out; what it popped or returned from is
// shown struck out above the rest. Each list holds the top ShownRows entries
// at most, under a heading that gives the whole depth.
class QStackPanel : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr int ShownRows = 300;

    explicit QStackPanel(QWidget* parent = nullptr);

    // Where the stacks are read from, at most rows of each.
    void setSource(std::function<StackView(int rows)> source);
    // Reads the stacks again; a hidden panel does so once it is shown.
    void refresh();
    void retranslate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showStacks();
    void showValues();
    void showCalls();
    QString callText(const StackView::Call& call) const;

    std::function<StackView(int rows)> m_source;
    StackView m_view;
    bool m_stale = false;
    QLabel* m_valuesTitle;
    QListWidget* m_values;
    QLabel* m_callsTitle;
    QListWidget* m_calls;
};
