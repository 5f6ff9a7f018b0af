#include "qerrorlister.h"

#include "qeditor.h"
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
    fill(std::vector<Message>(messages.cbegin(), messages.cend()), false);
}

void QErrorLister::follow(QEditor* editor)
{
    m_editor = editor;
    connect(editor, &QEditor::diagnosticsChanged, this, &QErrorLister::showEditorDiagnostics);
    showEditorDiagnostics();
}

void QErrorLister::showEditorDiagnostics()
{
    fill(m_editor->diagnostics(), m_editor->diagnosticsEdited());
}

void QErrorLister::fill(const std::vector<Message>& messages, bool edited)
{
    QListWidget* list = m_ui->ErrorListWidget;
    // Typing refreshes the list at every key: the entry chosen stays chosen.
    const int current = edited ? list->currentRow() : -1;
    list->clear();
    const QColor stale = palette().color(QPalette::Disabled, QPalette::Text);
    for (const Message& message : messages) {
        const QString text = edited ? tr("%1 (edited since)").arg(message.text()) : message.text();
        auto* item = new QListWidgetItem(text, list);
        item->setData(kLineRole, message.line());
        // Messages wider than the dock can be read whole.
        item->setToolTip(edited ? tr("%1\nThe script was edited since this message: it may no longer apply.")
                                      .arg(message.text())
                                : message.text());
        if (edited) {
            item->setForeground(stale);
        }
    }
    if (current >= 0 && current < list->count()) {
        list->setCurrentRow(current);
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
    // The entries take the new language when the list is filled again.
    m_ui->retranslateUi(this);
}

QSize QErrorLister::minimumSizeHint() const
{
    return QSize(1000, 200);
}
