#pragma once

#include <QString>
#include <QStringView>

// What one line of a script says, read as the analysis reads it, for the
// debugger's views of the text: whether a breakpoint there can stop, and
// which procedure a call names.
namespace ScriptLines {

// Whether the 1-based line holds an instruction: a command or a register
// assignment. The header, blank lines, comments, labels and procedure heads
// hold none; neither does a line the analysis would reject.
bool holdsInstruction(QStringView line, int number);

// The name a "call" line gives, empty when it is no call.
QString calledProcedure(QStringView line);

} // namespace ScriptLines
