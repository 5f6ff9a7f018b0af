#pragma once

#include "frontend/message.h"

#include <QDockWidget>

#include <list>
#include <memory>

namespace Ui {
class m_errorLister;
}

// "List of Errors": one line per diagnostic, in the order given.
class QErrorLister : public QDockWidget
{
    Q_OBJECT

public:
    explicit QErrorLister(QWidget* parent = nullptr);
    ~QErrorLister() override;

    void setMessages(const std::list<Message>& messages);
    void retranslate();

    QSize minimumSizeHint() const override;

private:
    std::unique_ptr<Ui::m_errorLister> m_ui;
};
