#pragma once

#include "vm/virtualmachine.h"

// The machine's own command map: the one source of the command words, as the
// main window hands it to the editor.
inline VirtualMachine::CommandMap machineCommandKeys()
{
    return VirtualMachine().commands();
}
