#include "qfindbar.h"

#include "colorscheme.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

QFindBar::QFindBar(QPlainTextEdit* editor, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_findLabel(new QLabel)
    , m_findField(new QLineEdit)
    , m_previousButton(new QToolButton)
    , m_nextButton(new QToolButton)
    , m_caseBox(new QCheckBox)
    , m_hint(new QLabel)
    , m_closeButton(new QToolButton)
    , m_replaceRow(new QWidget)
    , m_replaceLabel(new QLabel)
    , m_replaceField(new QLineEdit)
    , m_replaceButton(new QPushButton)
    , m_replaceAllButton(new QPushButton)
{
    m_findField->setObjectName(QStringLiteral("findField"));
    m_replaceField->setObjectName(QStringLiteral("replaceField"));
    m_hint->setObjectName(QStringLiteral("hintLabel"));
    m_findLabel->setBuddy(m_findField);
    m_replaceLabel->setBuddy(m_replaceField);
    m_hint->setBuddy(m_findField);
    m_findField->setMinimumWidth(100);
    m_replaceField->setMinimumWidth(100);
    m_previousButton->setArrowType(Qt::UpArrow);
    m_nextButton->setArrowType(Qt::DownArrow);
    m_previousButton->setAutoRaise(true);
    m_nextButton->setAutoRaise(true);
    m_closeButton->setAutoRaise(true);
    m_closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    showHintColour();

    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(0, 0, 0, 0);
    findRow->addWidget(m_findLabel);
    findRow->addWidget(m_findField, 1);
    findRow->addWidget(m_previousButton);
    findRow->addWidget(m_nextButton);
    findRow->addWidget(m_caseBox);
    findRow->addWidget(m_hint);
    findRow->addWidget(m_closeButton);

    auto* replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(m_replaceLabel);
    replaceRow->addWidget(m_replaceField, 1);
    replaceRow->addWidget(m_replaceButton);
    replaceRow->addWidget(m_replaceAllButton);
    replaceRow->addStretch(1);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    rows->addLayout(findRow);
    rows->addWidget(m_replaceRow);

    connect(m_findField, &QLineEdit::textEdited, this, &QFindBar::findFromSelectionStart);
    connect(m_findField, &QLineEdit::returnPressed, this, [this] {
        if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) {
            findPrevious();
        } else {
            findNext();
        }
    });
    connect(m_replaceField, &QLineEdit::returnPressed, this, &QFindBar::replace);
    connect(m_previousButton, &QToolButton::clicked, this, &QFindBar::findPrevious);
    connect(m_nextButton, &QToolButton::clicked, this, &QFindBar::findNext);
    connect(m_closeButton, &QToolButton::clicked, this, &QFindBar::dismiss);
    connect(m_replaceButton, &QPushButton::clicked, this, &QFindBar::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &QFindBar::replaceAll);

    retranslate();
    hide();
}

void QFindBar::retranslate()
{
    m_findLabel->setText(tr("Find:"));
    m_previousButton->setToolTip(tr("Find the previous occurrence (Shift+F3)"));
    m_nextButton->setToolTip(tr("Find the next occurrence (F3)"));
    m_caseBox->setText(tr("Match case"));
    m_closeButton->setToolTip(tr("Close (Escape)"));
    m_replaceLabel->setText(tr("Replace with:"));
    m_replaceButton->setText(tr("Replace"));
    m_replaceAllButton->setText(tr("Replace All"));

    setAccessibleName(tr("Find and replace"));
    setAccessibleDescription(tr("Looks for a text in the script and replaces it"));
    m_findField->setAccessibleDescription(tr("The text to look for"));
    m_replaceField->setAccessibleDescription(tr("The text that replaces it"));
    m_previousButton->setAccessibleName(tr("Previous"));
    m_nextButton->setAccessibleName(tr("Next"));
    m_closeButton->setAccessibleName(tr("Close"));
    m_caseBox->setAccessibleDescription(tr("Finds the text only with the same capitals"));
    m_replaceButton->setAccessibleDescription(tr("Replaces the selected occurrence and finds the next one"));
    m_replaceAllButton->setAccessibleDescription(tr("Replaces every occurrence at once"));
}

void QFindBar::showFind()
{
    const QTextCursor cursor = m_editor->textCursor();
    const QTextDocument* document = m_editor->document();
    if (cursor.hasSelection() && document->findBlock(cursor.selectionStart()) == document->findBlock(cursor.selectionEnd())) {
        m_findField->setText(cursor.selectedText());
    }
    m_hint->clear();
    m_replaceRow->hide();
    show();
    m_findField->setFocus(Qt::ShortcutFocusReason);
    m_findField->selectAll();
}

void QFindBar::showReplace()
{
    showFind();
    m_replaceRow->show();
    if (!m_findField->text().isEmpty()) {
        m_replaceField->setFocus(Qt::ShortcutFocusReason);
        m_replaceField->selectAll();
    }
}

QString QFindBar::findText() const
{
    return m_findField->text();
}

void QFindBar::setFindText(const QString& text)
{
    m_findField->setText(text);
}

void QFindBar::setReplaceText(const QString& text)
{
    m_replaceField->setText(text);
}

void QFindBar::setCaseSensitive(bool on)
{
    m_caseBox->setChecked(on);
}

QString QFindBar::hint() const
{
    return m_hint->text();
}

bool QFindBar::findNext()
{
    return find({});
}

bool QFindBar::findPrevious()
{
    return find(QTextDocument::FindBackward);
}

QTextDocument::FindFlags QFindBar::caseFlag() const
{
    return m_caseBox->isChecked() ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
}

bool QFindBar::find(QTextDocument::FindFlags direction)
{
    m_hint->clear();
    const QString text = m_findField->text();
    if (text.isEmpty()) {
        return false;
    }
    QTextDocument* document = m_editor->document();
    const QTextDocument::FindFlags flags = direction | caseFlag();
    QTextCursor found = document->find(text, m_editor->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor from(document);
        if (direction & QTextDocument::FindBackward) {
            from.movePosition(QTextCursor::End);
        }
        found = document->find(text, from, flags);
        if (found.isNull()) {
            m_hint->setText(tr("Not found"));
            return false;
        }
        m_hint->setText(direction & QTextDocument::FindBackward ? tr("Continued from the end")
                                                                : tr("Continued from the start"));
    }
    m_editor->setTextCursor(found);
    return true;
}

// Typing in the field keeps the match under way instead of jumping past it.
void QFindBar::findFromSelectionStart()
{
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(cursor.selectionStart());
    m_editor->setTextCursor(cursor);
    findNext();
}

bool QFindBar::selectionMatches() const
{
    const QString selected = m_editor->textCursor().selectedText();
    return !selected.isEmpty()
        && selected.compare(m_findField->text(),
                            m_caseBox->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive)
        == 0;
}

void QFindBar::replace()
{
    if (!(m_mayEdit ? m_mayEdit() : !m_editor->isReadOnly())) {
        return;
    }
    if (selectionMatches()) {
        m_editor->textCursor().insertText(m_replaceField->text());
    }
    findNext();
}

int QFindBar::replaceAll()
{
    const QString text = m_findField->text();
    if (text.isEmpty() || !(m_mayEdit ? m_mayEdit() : !m_editor->isReadOnly())) {
        return 0;
    }
    QTextDocument* document = m_editor->document();
    QTextCursor edit(document);
    int count = 0;
    edit.beginEditBlock();
    for (QTextCursor found = document->find(text, 0, caseFlag()); !found.isNull();
         found = document->find(text, found, caseFlag())) {
        found.insertText(m_replaceField->text());
        ++count;
    }
    edit.endEditBlock();
    m_hint->setText(tr("Replacements: %1").arg(count));
    return count;
}

void QFindBar::dismiss()
{
    hide();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void QFindBar::showHintColour()
{
    QPalette hintPalette = m_hint->palette();
    hintPalette.setColor(QPalette::WindowText, ColorScheme::forPalette(palette()).hint);
    m_hint->setPalette(hintPalette);
}

void QFindBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showHintColour();
    }
}

void QFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}
