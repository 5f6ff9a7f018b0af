#include "qdebuggerinterface.h"

#include "ui_qdebuggerinterface.h"

#include <QHeaderView>

namespace {
const int kRowHeight = 22;
}

QDebuggerInterface::QDebuggerInterface(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::m_debugInterface)
{
    m_ui->setupUi(this);

    // Rows are 22 pixels high whatever the font would ask for.
    m_ui->DebugTableWidget->verticalHeader()->setMinimumSectionSize(kRowHeight);

    auto* header = new QTableWidgetItem(tr("Values"));
    header->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_ui->DebugTableWidget->setHorizontalHeaderItem(0, header);
}

QDebuggerInterface::~QDebuggerInterface() = default;

void QDebuggerInterface::setValues(const DebugValueList& values)
{
    QTableWidget* table = m_ui->DebugTableWidget;
    table->setRowCount(int(values.size()));
    int row = 0;
    for (const auto& value : values) {
        auto* name = new QTableWidgetItem(value.first);
        name->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        table->setVerticalHeaderItem(row, name);
        table->setRowHeight(row, kRowHeight);
        table->setItem(row, 0, new QTableWidgetItem(QString::number(value.second)));
        ++row;
    }
}

void QDebuggerInterface::retranslate()
{
    m_ui->retranslateUi(this);
}

QSize QDebuggerInterface::minimumSizeHint() const
{
    return QSize(200, 203);
}
