#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <vector>

class VirtualMachine;

// The machine's two stacks as the debugger shows them: the data stack top
// first and the pending calls innermost first, each cut to the rows asked for,
// and what the last instruction did to them.
struct StackView {
    struct Call {
        QString procedure;
        // The line of the call, which the procedure returns after.
        int line = 0;
    };
    enum Change {
        NoChange,
        Pushed,
        Popped,
        Called,
        Returned,
    };

    std::vector<int> values;
    std::size_t depth = 0;
    std::vector<Call> calls;
    std::size_t callDepth = 0;
    Change change = NoChange;
    // What a pop took off, or the call a ret ended.
    int popped = 0;
    Call returned;
};

// Reads a StackView off the machine running a script. The tops of the stacks
// taken before an instruction tell afterwards what it did to them.
class StackReader
{
public:
    // The script the machine runs, whose call lines name the procedures.
    void setText(const QString& text);
    // The stacks as they are once step instructions have executed, before the next.
    void mark(const VirtualMachine& machine, qint64 step);
    void forget();
    // Whether the stacks before step were marked.
    bool marks(qint64 step) const { return m_mark.step >= 0 && m_mark.step + 1 == step; }

    // The stacks once step instructions have executed.
    StackView read(const VirtualMachine& machine, qint64 step, int rows) const;

private:
    struct Mark {
        qint64 step = -1;
        std::size_t depth = 0;
        int top = 0;
        std::size_t calls = 0;
        int callLine = 0;
    };

    StackView::Call callAt(int line) const;

    QString m_text;
    // Where each line starts in the text, built when a call is first named.
    mutable std::vector<qsizetype> m_lineStarts;
    Mark m_mark;
};
