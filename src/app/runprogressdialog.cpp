#include "runprogressdialog.h"

#include <QCoreApplication>
#include <QPushButton>

RunProgressDialog::RunProgressDialog(QWidget* parent)
    : QProgressDialog(parent)
{
    setWindowTitle(QCoreApplication::applicationName());
    setWindowModality(Qt::ApplicationModal);
    setCancelButtonText(tr("&Stop"));
    setRange(0, 0);
    setMinimumDuration(0);
    setAutoClose(false);
    setAutoReset(false);
    // The dialog's own button comes first among its children.
    m_stop = findChild<QPushButton*>();
    m_pause = new QPushButton(tr("&Pause"), this);
    connect(m_pause, &QPushButton::clicked, this, &RunProgressDialog::pauseRequested);
}

void RunProgressDialog::setExecutedSteps(qint64 steps)
{
    setLabelText(tr("The script is running: %L1 instructions executed.").arg(steps));
}

void RunProgressDialog::resizeEvent(QResizeEvent* event)
{
    QProgressDialog::resizeEvent(event);
    placePauseButton();
}

void RunProgressDialog::showEvent(QShowEvent* event)
{
    QProgressDialog::showEvent(event);
    placePauseButton();
}

// The progress dialog places its widgets itself, without a layout.
void RunProgressDialog::placePauseButton()
{
    if (!m_stop) {
        return;
    }
    const QSize size = m_pause->sizeHint().expandedTo(m_stop->size());
    m_pause->setGeometry(m_stop->x() - size.width() - 6, m_stop->y(), size.width(), m_stop->height());
}
