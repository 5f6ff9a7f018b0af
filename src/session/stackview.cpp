#include "stackview.h"

#include "scriptlines.h"
#include "vm/virtualmachine.h"

#include <algorithm>

void StackReader::setText(const QString& text)
{
    m_text = text;
    m_lineStarts.clear();
    forget();
}

void StackReader::mark(const VirtualMachine& machine, qint64 step)
{
    const auto& values = machine.dataStack();
    const auto& calls = machine.callStack();
    m_mark = { step, values.size(), values.empty() ? 0 : values.back(), calls.size(), calls.empty() ? 0 : calls.back() };
}

void StackReader::forget()
{
    m_mark = Mark();
}

StackView StackReader::read(const VirtualMachine& machine, qint64 step, int rows) const
{
    const auto& values = machine.dataStack();
    const auto& calls = machine.callStack();
    const std::size_t shown = static_cast<std::size_t>(std::max(rows, 0));
    StackView view;
    view.depth = values.size();
    view.callDepth = calls.size();
    view.values.reserve(std::min(shown, values.size()));
    for (auto value = values.crbegin(); value != values.crend() && view.values.size() < shown; ++value) {
        view.values.push_back(*value);
    }
    view.calls.reserve(std::min(shown, calls.size()));
    for (auto call = calls.crbegin(); call != calls.crend() && view.calls.size() < shown; ++call) {
        view.calls.push_back(callAt(*call));
    }

    // One instruction changes one stack by one entry; an end that empties
    // both is no push or pop.
    if (!marks(step)) {
        return view;
    }
    if (view.callDepth == m_mark.calls) {
        if (view.depth == m_mark.depth + 1) {
            view.change = StackView::Pushed;
        } else if (view.depth + 1 == m_mark.depth) {
            view.change = StackView::Popped;
            view.popped = m_mark.top;
        }
    } else if (view.depth == m_mark.depth) {
        if (view.callDepth == m_mark.calls + 1) {
            view.change = StackView::Called;
        } else if (view.callDepth + 1 == m_mark.calls) {
            view.change = StackView::Returned;
            view.returned = callAt(m_mark.callLine);
        }
    }
    return view;
}

StackView::Call StackReader::callAt(int line) const
{
    if (m_lineStarts.empty()) {
        m_lineStarts.push_back(0);
        for (qsizetype at = m_text.indexOf(QLatin1Char('\n')); at >= 0; at = m_text.indexOf(QLatin1Char('\n'), at + 1)) {
            m_lineStarts.push_back(at + 1);
        }
    }
    StackView::Call call;
    call.line = line;
    if (line >= 1 && std::size_t(line) <= m_lineStarts.size()) {
        const qsizetype start = m_lineStarts[std::size_t(line) - 1];
        const qsizetype end = std::size_t(line) < m_lineStarts.size() ? m_lineStarts[std::size_t(line)] - 1 : m_text.size();
        call.procedure = ScriptLines::calledProcedure(QStringView(m_text).mid(start, end - start));
    }
    return call;
}
