#pragma once

#include <QPen>
#include <QString>

// The pen of the output area described by words, as a command line gives it.
// Every empty field keeps the default pen's (black, width 0, square cap,
// bevel join, solid). Width 0 to 30 as the pen panel offers 1 to 30.
struct PenOptions
{
    QString width;
    QString color;
    QString cap;
    QString join;
    QString dash;

    // False, with the reason in English, when a field is not understood.
    bool toPen(QPen* pen, QString* error) const;
};
