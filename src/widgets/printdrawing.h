#pragma once

class QPen;
class QPrinter;
class WalkingTurtle;

// Prints the drawing fitted to the printer's page (its largest centred square).
bool printDrawing(QPrinter* printer, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle);
