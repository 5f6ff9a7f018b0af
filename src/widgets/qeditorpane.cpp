#include "qeditorpane.h"

#include "qeditor.h"
#include "qfindbar.h"

#include <QAction>
#include <QInputDialog>
#include <QVBoxLayout>

namespace {

int askWithDialog(QWidget* parent, int current, int last)
{
    bool ok = false;
    const int line = QInputDialog::getInt(parent, QEditorPane::tr("Go to Line"),
                                          QEditorPane::tr("Line (1 to %1):").arg(last), current, 1, last, 1, &ok);
    return ok ? line : 0;
}

} // namespace

QEditorPane::QEditorPane(QWidget* parent)
    : QWidget(parent)
    , m_editor(new QEditor)
    , m_findBar(new QFindBar(m_editor))
    , m_askLine(askWithDialog)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_findBar);

    m_findAction = addEditAction(QStringLiteral("actionFind"), QKeySequence(Qt::CTRL | Qt::Key_F));
    m_findNextAction = addEditAction(QStringLiteral("actionFindNext"), QKeySequence(Qt::Key_F3));
    m_findPreviousAction = addEditAction(QStringLiteral("actionFindPrevious"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    m_replaceAction = addEditAction(QStringLiteral("actionReplace"), QKeySequence(Qt::CTRL | Qt::Key_H));
    m_goToLineAction = addEditAction(QStringLiteral("actionGoToLine"), QKeySequence(Qt::CTRL | Qt::Key_G));

    connect(m_findAction, &QAction::triggered, m_findBar, &QFindBar::showFind);
    connect(m_replaceAction, &QAction::triggered, m_findBar, &QFindBar::showReplace);
    // Without a text to look for, the next occurrence starts by asking for one.
    connect(m_findNextAction, &QAction::triggered, this, [this] {
        if (m_findBar->findText().isEmpty()) {
            m_findBar->showFind();
        } else {
            m_findBar->findNext();
        }
    });
    connect(m_findPreviousAction, &QAction::triggered, this, [this] {
        if (m_findBar->findText().isEmpty()) {
            m_findBar->showFind();
        } else {
            m_findBar->findPrevious();
        }
    });
    connect(m_goToLineAction, &QAction::triggered, this, &QEditorPane::askForLine);

    retranslate();
}

QAction* QEditorPane::addEditAction(const QString& name, const QKeySequence& keys)
{
    auto* action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(keys);
    addAction(action);
    return action;
}

QList<QAction*> QEditorPane::editActions() const
{
    return { m_findAction, m_findNextAction, m_findPreviousAction, m_replaceAction, m_goToLineAction };
}

void QEditorPane::askForLine()
{
    const int current = m_editor->textCursor().blockNumber() + 1;
    const int line = m_askLine(this, current, m_editor->blockCount());
    if (line >= 1) {
        m_editor->goToLine(line);
    }
}

void QEditorPane::retranslate()
{
    m_findAction->setText(tr("&Find..."));
    m_findNextAction->setText(tr("Find &Next"));
    m_findPreviousAction->setText(tr("Find &Previous"));
    m_replaceAction->setText(tr("&Replace..."));
    m_goToLineAction->setText(tr("&Go to Line..."));
    m_findBar->retranslate();
}
