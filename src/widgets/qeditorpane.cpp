#include "qeditorpane.h"

#include "qeditor.h"
#include "qfilechangedbar.h"
#include "qfindbar.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocument>
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
    , m_fileChangedBar(new QFileChangedBar)
    , m_askLine(askWithDialog)
    , m_offNote(new QLabel)
{
    m_offNote->setObjectName(QStringLiteral("editorOffNote"));
    m_offNote->setWordWrap(true);
    m_offNote->setMargin(4);
    m_offNote->setAutoFillBackground(true);
    m_offNote->setBackgroundRole(QPalette::ToolTipBase);
    m_offNote->setForegroundRole(QPalette::ToolTipText);
    m_offNote->setBuddy(m_editor);
    m_offNote->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_offNote);
    layout->addWidget(m_fileChangedBar);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_findBar);
    // Replacing is no typing: it ends the run that locks the text.
    m_findBar->setEditGuard([this] { return m_editor->requestEdit() && !m_editor->isReadOnly(); });

    m_undoAction = addTextAction(QStringLiteral("actionUndo"), QKeySequence::Undo,
                                 [this] { m_editor->undo(); }, true);
    m_redoAction = addTextAction(QStringLiteral("actionRedo"), QKeySequence::Redo,
                                 [this] { m_editor->redo(); }, true);
    m_cutAction = addTextAction(QStringLiteral("actionCut"), QKeySequence::Cut,
                                [this] { m_editor->cut(); }, true);
    m_copyAction = addTextAction(QStringLiteral("actionCopy"), QKeySequence::Copy,
                                 [this] { m_editor->copy(); }, false);
    m_pasteAction = addTextAction(QStringLiteral("actionPaste"), QKeySequence::Paste,
                                  [this] { m_editor->paste(); }, true);
    m_selectAllAction = addTextAction(QStringLiteral("actionSelectAll"), QKeySequence::SelectAll,
                                      [this] { m_editor->selectAll(); }, false);
    connect(m_editor, &QEditor::undoAvailable, this, &QEditorPane::updateTextActions);
    connect(m_editor, &QEditor::redoAvailable, this, &QEditorPane::updateTextActions);
    connect(m_editor, &QEditor::copyAvailable, this, &QEditorPane::updateTextActions);
    updateTextActions();

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

    auto separator = [this] {
        auto* action = new QAction(this);
        action->setSeparator(true);
        return action;
    };
    m_editActions = { m_undoAction,       m_redoAction,     separator(),        m_cutAction,
                      m_copyAction,       m_pasteAction,    separator(),        m_selectAllAction,
                      separator(),        m_findAction,     m_findNextAction,   m_findPreviousAction,
                      m_replaceAction,    m_goToLineAction };

    m_editor->installEventFilter(this);
    retranslate();
}

void QEditorPane::setSwitchAction(QAction* action)
{
    m_switchAction = action;
    connect(action, &QAction::toggled, this, &QEditorPane::switchEditor);
    connect(action, &QAction::changed, this, [this] { showOffNote(m_typedWhileOff); });
    switchEditor(action->isChecked());
}

void QEditorPane::switchEditor(bool on)
{
    const bool hadFocus = m_editor->hasFocus();
    m_editor->setEnabled(on);
    m_typedWhileOff = false;
    showOffNote(false);
    m_offNote->setVisible(!on);
    if (on) {
        m_editor->setFocus(Qt::OtherFocusReason);
    } else if (hadFocus) {
        // Keys typed now come here, where the note can answer them.
        setFocus(Qt::OtherFocusReason);
    }
}

void QEditorPane::showOffNote(bool typed)
{
    QString text = typed ? tr("The editor is switched off and does not take what you type.")
                         : tr("The editor is switched off.");
    const QString keys = m_switchAction ? m_switchAction->shortcut().toString(QKeySequence::NativeText) : QString();
    if (!keys.isEmpty()) {
        text += QLatin1Char(' ') + tr("%1 switches it back on.").arg(keys);
    }
    m_offNote->setText(text);
}

void QEditorPane::keyPressEvent(QKeyEvent* event)
{
    if (!m_editor->isEnabled() && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        // Said out loud rather than dropped without a sign.
        if (!m_typedWhileOff) {
            m_typedWhileOff = true;
            showOffNote(true);
        }
        QApplication::beep();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool QEditorPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress && m_findBar->isVisible()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_findBar->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QAction* QEditorPane::addEditAction(const QString& name, const QKeySequence& keys)
{
    auto* action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(keys);
    addAction(action);
    return action;
}

QAction* QEditorPane::addTextAction(const QString& name, QKeySequence::StandardKey keys,
                                    std::function<void()> command, bool changesText)
{
    QAction* action = addEditAction(name, QKeySequence(keys));
    // The editor takes these keys itself while it has the focus; elsewhere
    // they belong to whichever widget has it.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, command = std::move(command), changesText] {
        if (!m_editor->isEnabled()) {
            return;
        }
        if (changesText && m_editor->isReadOnly()) {
            m_editor->refuseEdit();
            return;
        }
        command();
    });
    return action;
}

void QEditorPane::updateTextActions()
{
    QTextDocument* document = m_editor->document();
    const bool selected = m_editor->textCursor().hasSelection();
    m_undoAction->setEnabled(document->isUndoAvailable());
    m_redoAction->setEnabled(document->isRedoAvailable());
    m_cutAction->setEnabled(selected);
    m_copyAction->setEnabled(selected);
}

QList<QAction*> QEditorPane::editActions() const
{
    return m_editActions;
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
    m_undoAction->setText(tr("&Undo"));
    m_redoAction->setText(tr("Re&do"));
    m_cutAction->setText(tr("Cu&t"));
    m_copyAction->setText(tr("&Copy"));
    m_pasteAction->setText(tr("Pa&ste"));
    m_selectAllAction->setText(tr("Select &All"));
    m_findAction->setText(tr("&Find..."));
    m_findNextAction->setText(tr("Find &Next"));
    m_findPreviousAction->setText(tr("Find &Previous"));
    m_replaceAction->setText(tr("&Replace..."));
    m_goToLineAction->setText(tr("&Go to Line..."));
    m_findBar->retranslate();
    m_editor->retranslate();
    setAccessibleName(tr("Script"));
    setAccessibleDescription(tr("The script editor and its find bar"));
    showOffNote(m_typedWhileOff);
    m_fileChangedBar->retranslate();
}
