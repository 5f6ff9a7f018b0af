#pragma once

#include "session/runsession.h"

#include <QDockWidget>
#include <QHash>

#include <memory>

namespace Ui {
class m_debugInterface;
}

// "Debugger": one table row per entry of the machine's debug list. The values
// that the last setValues changed, and the rows it added, stand out until the next.
class QDebuggerInterface : public QDockWidget
{
    Q_OBJECT

public:
    explicit QDebuggerInterface(QWidget* parent = nullptr);
    ~QDebuggerInterface() override;

    void setValues(const DebugValueList& values);
    // The "Values" header keeps the text it was given at construction.
    void retranslate();

    QSize minimumSizeHint() const override;

private:
    std::unique_ptr<Ui::m_debugInterface> m_ui;
    QHash<QString, int> m_previous;
};
