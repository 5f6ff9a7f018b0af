#include "qerrorlister.h"

#include "ui_qerrorlister.h"

#include <QKeyEvent>

namespace {
const int kLineRole = Qt::UserRole;
}

QErrorLister::QErrorLister(QWidget* parent)
    : QDockWidget(parent)
    , m_ui(new Ui::m_errorLister)
{
    m_ui->setupUi(this);
    // A click activates on every platform, not only where the style says so.
    connect(m_ui->ErrorListWidget, &QListWidget::itemClicked, this, &QErrorLister::activate);
    m_ui->ErrorListWidget->installEventFilter(this);
}

QErrorLister::~QErrorLister() = default;

void QErrorLister::setMessages(const std::list<Message>& messages)
{
    m_ui->ErrorListWidget->clear();
    for (const Message& message : messages) {
        auto* item = new QListWidgetItem(message.text(), m_ui->ErrorListWidget);
        item->setData(kLineRole, message.line());
        // Messages wider than the dock can be read whole.
        item->setToolTip(message.text());
    }
}

void QErrorLister::activate(const QListWidgetItem* item)
{
    const int line = item ? item->data(kLineRole).toInt() : -1;
    if (line >= 1) {
        emit lineActivated(line);
    }
}

bool QErrorLister::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->ErrorListWidget && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            activate(m_ui->ErrorListWidget->currentItem());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void QErrorLister::retranslate()
{
    m_ui->retranslateUi(this);
}

QSize QErrorLister::minimumSizeHint() const
{
    return QSize(1000, 200);
}
