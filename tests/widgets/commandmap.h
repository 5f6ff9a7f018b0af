#pragma once

#include "vm/virtualmachine.h"

// The keys of the machine's command map. The handlers are not needed to colour
// or edit a script, so they stay null here.
inline VirtualMachine::CommandMap machineCommandKeys()
{
    VirtualMachine::CommandMap commands;
    for (const char* word : { "call", "end", "jmpax", "jmpbx", "jmpe", "jmpg", "jmpge", "jmpl", "jmple", "jmpne",
                              "left", "loop", "move", "pop", "push", "put", "ret", "right", "setRegister",
                              "write" }) {
        commands[QString::fromLatin1(word)] = nullptr;
    }
    return commands;
}
