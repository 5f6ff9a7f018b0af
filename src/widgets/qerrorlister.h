#pragma once

#include "frontend/message.h"

#include <QDockWidget>

#include <list>
#include <memory>

class QListWidgetItem;

namespace Ui {
class m_errorLister;
}

// "List of Errors": one line per diagnostic, in the order given. Activating an
// entry (a click, or Return) that names a line emits lineActivated.
class QErrorLister : public QDockWidget
{
    Q_OBJECT

public:
    explicit QErrorLister(QWidget* parent = nullptr);
    ~QErrorLister() override;

    void setMessages(const std::list<Message>& messages);
    void retranslate();

    QSize minimumSizeHint() const override;

signals:
    void lineActivated(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate(const QListWidgetItem* item);

    std::unique_ptr<Ui::m_errorLister> m_ui;
};
