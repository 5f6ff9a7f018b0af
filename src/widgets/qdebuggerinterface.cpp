#include "qdebuggerinterface.h"

#include "colorscheme.h"

#include "ui_qdebuggerinterface.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace {
const int kRowHeight = 22;
// Marks the items that the last setValues changed.
const int kChangedRole = Qt::UserRole + 1;
}

QDebuggerInterface::QDebuggerInterface(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::m_debugInterface)
{
    m_ui->setupUi(this);

    // Rows are 22 pixels high unless a large font needs more, and no margin
    // around the table, so that every row fits a dock of modest height.
    m_rowHeight = std::max(kRowHeight, fontMetrics().height() + 6);
    m_ui->DebugTableWidget->verticalHeader()->setMinimumSectionSize(m_rowHeight);
    m_ui->DebugTableWidget->verticalHeader()->setDefaultSectionSize(m_rowHeight);
    m_ui->gridLayout->setContentsMargins(0, 0, 0, 0);
    m_ui->DebugTableWidget->setFrameShape(QFrame::NoFrame);

    auto* header = new QTableWidgetItem;
    header->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_ui->DebugTableWidget->setHorizontalHeaderItem(0, header);
    retranslate();
}

QDebuggerInterface::~QDebuggerInterface() = default;

void QDebuggerInterface::setValues(const DebugValueList& values)
{
    QTableWidget* table = m_ui->DebugTableWidget;
    // The first values shown have nothing to differ from.
    const bool compare = !m_previous.isEmpty();
    QHash<QString, int> current;
    table->setRowCount(int(values.size()));
    int row = 0;
    for (const auto& value : values) {
        auto* name = new QTableWidgetItem(value.first);
        name->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        table->setVerticalHeaderItem(row, name);
        table->setRowHeight(row, m_rowHeight);
        auto* item = new QTableWidgetItem(QString::number(value.second));
        const auto before = m_previous.constFind(value.first);
        const bool changed = compare && (before == m_previous.constEnd() || *before != value.second);
        if (changed) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setData(kChangedRole, true);
        }
        table->setItem(row, 0, item);
        current.insert(value.first, value.second);
        ++row;
    }
    m_previous = current;
    showChanges();
}

void QDebuggerInterface::showChanges()
{
    const ColorScheme scheme = ColorScheme::forPalette(palette());
    QTableWidget* table = m_ui->DebugTableWidget;
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem* item = table->item(row, 0);
        if (item && item->data(kChangedRole).toBool()) {
            item->setBackground(scheme.changedBackground);
            item->setForeground(scheme.changedText);
        }
    }
}

void QDebuggerInterface::retranslate()
{
    m_ui->retranslateUi(this);
    m_ui->DebugTableWidget->horizontalHeaderItem(0)->setText(tr("Values"));
}

void QDebuggerInterface::changeEvent(QEvent* event)
{
    QDockWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showChanges();
    }
}

int QDebuggerInterface::heightForRows(int rows) const
{
    const QTableWidget* table = m_ui->DebugTableWidget;
    const QMargins margins = m_ui->gridLayout->contentsMargins();
    const int title
        = fontMetrics().height() + 2 * style()->pixelMetric(QStyle::PM_DockWidgetTitleMargin, nullptr, this) + 4;
    return title + margins.top() + margins.bottom() + table->horizontalHeader()->sizeHint().height()
        + rows * m_rowHeight + 2 * table->frameWidth();
}

QSize QDebuggerInterface::minimumSizeHint() const
{
    // The registers, the stack size and its top.
    return QSize(200, heightForRows(7));
}
