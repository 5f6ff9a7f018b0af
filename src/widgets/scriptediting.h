#pragma once

class QTextCursor;

// Line-wise edits of a script, each applied through the given cursor as a
// single undo step. The lines concerned are those the selection touches; a
// selection that ends at the very start of a line leaves that line out, as
// selecting whole lines with Shift+Down does.
namespace ScriptEditing {

// True when the selection reaches into another line, if only its start.
bool spansLines(const QTextCursor& cursor);

// Four spaces at the start of every line; the selection then covers the lines whole.
void indentLines(QTextCursor& cursor);

// Up to four leading spaces (or one leading tab) off every line.
void unindentLines(QTextCursor& cursor);

// Comments the lines with "# " unless every non-blank one is already commented,
// in which case their first '#' goes. The header line is never touched.
void toggleComment(QTextCursor& cursor);

} // namespace ScriptEditing
