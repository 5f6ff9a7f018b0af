#pragma once

#include <QString>

#include <utility>
#include <vector>

// The machine's state as the debugger shows it: "RI", "AX" ... "DX",
// "Stack size" and, while the data stack is not empty, "Stack top".
using DebugValueList = std::vector<std::pair<QString, int>>;
