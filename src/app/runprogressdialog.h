#pragma once

#include <QProgressDialog>

class QPushButton;

// Shown while a long run goes to its end: the instructions executed so far,
// Stop (also Escape) and Pause beside it.
class RunProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    explicit RunProgressDialog(QWidget* parent = nullptr);

    void setExecutedSteps(qint64 steps);

signals:
    void pauseRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placePauseButton();

    QPushButton* m_stop;
    QPushButton* m_pause;
};
