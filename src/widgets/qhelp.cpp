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
}

QHelp::~QHelp() = default;

void QHelp::retranslate()
{
    m_ui->retranslateUi(this);
}
