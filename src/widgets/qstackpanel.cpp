#include "qstackpanel.h"

#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QColor kChanged(255, 244, 160);

enum RowKind {
    Plain,
    // Pushed or called by the last instruction.
    Fresh,
    // Popped or returned from by the last instruction.
    Gone,
    // How many more are not listed.
    More,
};

QWidget* section(QLabel* title, QListWidget* list)
{
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addWidget(title);
    layout->addWidget(list, 1);
    return widget;
}

// Lists are refilled at every step: their items are kept and rewritten, the
// count adjusted at the end, rather than built again.
void setRow(QListWidget* list, int row, const QString& text, RowKind kind, const QString& toolTip = QString())
{
    QListWidgetItem* item = list->item(row);
    if (!item) {
        item = new QListWidgetItem(list);
    }
    item->setText(text);
    item->setToolTip(toolTip);
    QFont font = list->font();
    font.setStrikeOut(kind == Gone);
    font.setItalic(kind == More);
    item->setFont(font);
    const QPalette palette = list->palette();
    item->setBackground(kind == Fresh ? QBrush(kChanged) : QBrush());
    item->setForeground(kind == Fresh                  ? QBrush(Qt::black)
                            : kind == Gone || kind == More ? palette.brush(QPalette::Disabled, QPalette::Text)
                                                           : QBrush());
}

void keepRows(QListWidget* list, int rows)
{
    while (list->count() > rows) {
        delete list->takeItem(list->count() - 1);
    }
}

} // namespace

QStackPanel::QStackPanel(QWidget* parent)
    : QDockWidget(parent)
    , m_valuesTitle(new QLabel)
    , m_values(new QListWidget)
    , m_callsTitle(new QLabel)
    , m_calls(new QListWidget)
{
    setObjectName(QStringLiteral("dockStack"));
    m_values->setObjectName(QStringLiteral("stackValues"));
    m_calls->setObjectName(QStringLiteral("stackCalls"));
    for (QListWidget* list : { m_values, m_calls }) {
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
    }
    m_valuesTitle->setBuddy(m_values);
    m_callsTitle->setBuddy(m_calls);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(section(m_valuesTitle, m_values));
    splitter->addWidget(section(m_callsTitle, m_calls));
    setWidget(splitter);
    // Side by side in a wide panel above or below, one over the other in a tall one.
    connect(this, &QDockWidget::dockLocationChanged, splitter, [splitter](Qt::DockWidgetArea area) {
        splitter->setOrientation(area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea ? Qt::Vertical
                                                                                                   : Qt::Horizontal);
    });
    retranslate();
}

void QStackPanel::setSource(std::function<StackView(int rows)> source)
{
    m_source = std::move(source);
    refresh();
}

void QStackPanel::refresh()
{
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_view = m_source ? m_source(ShownRows) : StackView();
    showStacks();
}

void QStackPanel::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (m_stale) {
        refresh();
    }
}

void QStackPanel::retranslate()
{
    setWindowTitle(tr("Stack"));
    widget()->setAccessibleName(tr("Stacks"));
    widget()->setAccessibleDescription(tr("The data stack and the call stack of the paused run"));
    m_values->setAccessibleName(tr("Data stack"));
    m_values->setAccessibleDescription(tr("The values on the stack, top first"));
    m_calls->setAccessibleName(tr("Call stack"));
    m_calls->setAccessibleDescription(tr("The active calls, innermost first, each with the line that called it"));
    showStacks();
}

void QStackPanel::showStacks()
{
    m_valuesTitle->setText(tr("Data stack (%L1), top first").arg(qulonglong(m_view.depth)));
    m_callsTitle->setText(tr("Calls (%L1), innermost first").arg(qulonglong(m_view.callDepth)));
    showValues();
    showCalls();
}

void QStackPanel::showValues()
{
    int row = 0;
    if (m_view.change == StackView::Popped) {
        setRow(m_values, row++, tr("%1 (popped)").arg(m_view.popped), Gone, tr("Popped by the last instruction"));
    }
    for (std::size_t index = 0; index < m_view.values.size(); ++index) {
        const bool pushed = index == 0 && m_view.change == StackView::Pushed;
        setRow(m_values, row++, QString::number(m_view.values[index]), pushed ? Fresh : Plain,
               pushed ? tr("Pushed by the last instruction") : QString());
    }
    if (m_view.depth > m_view.values.size()) {
        setRow(m_values, row++, tr("%L1 more").arg(qulonglong(m_view.depth - m_view.values.size())), More);
    }
    keepRows(m_values, row);
}

void QStackPanel::showCalls()
{
    int row = 0;
    if (m_view.change == StackView::Returned) {
        setRow(m_calls, row++, tr("%1 (returned)").arg(callText(m_view.returned)), Gone,
               tr("Returned from by the last instruction"));
    }
    for (std::size_t index = 0; index < m_view.calls.size(); ++index) {
        const bool called = index == 0 && m_view.change == StackView::Called;
        setRow(m_calls, row++, callText(m_view.calls[index]), called ? Fresh : Plain,
               called ? tr("Called by the last instruction") : QString());
    }
    if (m_view.callDepth > m_view.calls.size()) {
        setRow(m_calls, row++, tr("%L1 more").arg(qulonglong(m_view.callDepth - m_view.calls.size())), More);
    }
    keepRows(m_calls, row);
}

QString QStackPanel::callText(const StackView::Call& call) const
{
    return tr("%1, called from line %2").arg(call.procedure, QString::number(call.line));
}
