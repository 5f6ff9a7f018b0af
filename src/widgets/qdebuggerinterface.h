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
    void retranslate();

    // The height of the panel that shows this many rows.
    int heightForRows(int rows) const;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void showChanges();

    std::unique_ptr<Ui::m_debugInterface> m_ui;
    QHash<QString, int> m_previous;
    int m_rowHeight = 0;
};
