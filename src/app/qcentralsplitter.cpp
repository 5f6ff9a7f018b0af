#include "qcentralsplitter.h"

#include "widgets/qeditor.h"

#include <QEvent>
#include <QStyle>

namespace {

// Room for a wider gutter than the one measured (more line digits, marks)
// and for the text's own margins, in columns.
constexpr int SpareColumns = 3;

} // namespace

QCentralSplitter::QCentralSplitter(QWidget* drawing, QEditor* editor, QWidget* editorPane, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
    , m_editor(editor)
    , m_userSized(false)
{
    setObjectName(QStringLiteral("centralSplitter"));
    setChildrenCollapsible(false);
    addWidget(drawing);
    addWidget(editorPane ? editorPane : editor);
    // A growing window widens the drawing; the editor keeps its columns.
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    // Small enough for an 800 x 600 window with its docks.
    drawing->setMinimumSize(200, 150);
    editor->setMinimumSize(150, 150);
    connect(this, &QSplitter::splitterMoved, this, [this] { m_userSized = true; });
    describe();
}

void QCentralSplitter::describe()
{
    setAccessibleName(tr("Drawing and script"));
    setAccessibleDescription(tr("The handle between them gives the drawing or the script more room"));
}

void QCentralSplitter::changeEvent(QEvent* event)
{
    QSplitter::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        describe();
    }
}

bool QCentralSplitter::restoreSplit(const QByteArray& state)
{
    m_userSized = !state.isEmpty() && restoreState(state);
    return m_userSized;
}

int QCentralSplitter::editorWidth(int columns) const
{
    const int scrollBar = m_editor->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_editor);
    return m_editor->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (columns + SpareColumns)
        + m_editor->lineNumberAreaWidth() + 2 * m_editor->frameWidth() + scrollBar;
}

void QCentralSplitter::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    if (!m_userSized) {
        applyDefaultShare();
    }
}

void QCentralSplitter::applyDefaultShare()
{
    const int total = width() - handleWidth();
    if (total <= 0) {
        return;
    }
    const int editor = qMin(editorWidth(EditorColumns), total - int(total * DrawingShare));
    setSizes({ total - editor, editor });
}
