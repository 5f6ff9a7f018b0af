#pragma once

#include "frontend/message.h"

#include <QDockWidget>

#include <list>
#include <memory>
#include <vector>

class QEditor;
class QListWidgetItem;

namespace Ui {
class m_errorLister;
}

// "List of Errors": one line per diagnostic, in the order given. Activating an
// entry (a click, or Return) that names a line emits lineActivated. Following
// an editor, it lists the editor's diagnostics as edits move and drop them,
// greyed once the text has changed since they were made.
class QErrorLister : public QDockWidget
{
    Q_OBJECT

public:
    explicit QErrorLister(QWidget* parent = nullptr);
    ~QErrorLister() override;

    void setMessages(const std::list<Message>& messages);
    // From then on shows what the editor's diagnostics() say, whenever they change.
    void follow(QEditor* editor);
    void retranslate();

    QSize minimumSizeHint() const override;

signals:
    void lineActivated(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate(const QListWidgetItem* item);
    void fill(const std::vector<Message>& messages, bool edited);
    void showEditorDiagnostics();

    std::unique_ptr<Ui::m_errorLister> m_ui;
    QEditor* m_editor = nullptr;
};
