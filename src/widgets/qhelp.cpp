#include "qhelp.h"

#include "ui_qhelp.h"

#include <QTabBar>

QHelp::QHelp(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::DockWidget)
{
    m_ui->setupUi(this);
    m_ui->helpLabel->setBuddy(m_ui->scrollArea);
    m_ui->guideLabel->setBuddy(m_ui->guideScrollArea);
    retranslate();
}

QHelp::~QHelp() = default;

void QHelp::retranslate()
{
    m_ui->retranslateUi(this);
    m_ui->helpTabs->tabBar()->setAccessibleDescription(tr("Chooses the help page"));
}
