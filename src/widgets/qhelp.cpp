#include "qhelp.h"

#include "ui_qhelp.h"

QHelp::QHelp(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::DockWidget)
{
    m_ui->setupUi(this);
}

QHelp::~QHelp() = default;

void QHelp::retranslate()
{
    m_ui->retranslateUi(this);
}
