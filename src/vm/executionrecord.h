#pragma once

#include "traceorigins.h"

#include <QtGlobal>

#include <vector>

// What a recorded execution adds to the machine's own state: how many times
// each instruction has executed (by position in the program, the failing one
// included) and which step appended each snapshot of the trace.
struct ExecutionRecord {
    std::vector<qint64> counts;
    TraceOrigins origins;
};
