#pragma once

#include "session/runsession.h"

// The machine's own command words, as the main window hands them to the editor.
inline QStringList machineCommandKeys()
{
    return RunSession::commandWords();
}
