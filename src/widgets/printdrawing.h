#pragma once

class QPen;
class QPrinter;
class QString;
class WalkingTurtle;

// Prints the drawing fitted to the printer's page (its largest centred square).
// On failure, reason (when given) says why if it is known: an output file that
// cannot be written, too little memory.
bool printDrawing(
    QPrinter* printer, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle, QString* reason = nullptr);
