#include "qerrorlister.h"

#include "ui_qerrorlister.h"

QErrorLister::QErrorLister(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::m_errorLister)
{
    m_ui->setupUi(this);
}

QErrorLister::~QErrorLister() = default;

void QErrorLister::setMessages(const std::list<Message>& messages)
{
    m_ui->ErrorListWidget->clear();
    for (const Message& message : messages) {
        m_ui->ErrorListWidget->addItem(message.text());
    }
}

void QErrorLister::retranslate()
{
    m_ui->retranslateUi(this);
}

QSize QErrorLister::minimumSizeHint() const
{
    return QSize(1000, 200);
}
