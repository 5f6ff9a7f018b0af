#include "qhelp.h"

#include "ui_qhelp.h"

QHelp::QHelp(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::DockWidget)
{
    m_ui->setupUi(this);

    // The label laid out by hand in the form would not follow the dock's
    // height; a resizable scroll area of its own makes the page scroll.
    auto* scrollArea = new QScrollArea;
    scrollArea->setWidgetResizable(true);
    scrollArea->setWidget(m_ui->helpLabel);
    setWidget(scrollArea);
    m_ui->helpLabel->setBuddy(scrollArea);
    retranslate();
}

QHelp::~QHelp() = default;

void QHelp::retranslate()
{
    m_ui->retranslateUi(this);
    widget()->setAccessibleName(m_ui->scrollArea->accessibleName());
    widget()->setAccessibleDescription(m_ui->scrollArea->accessibleDescription());
}
