#pragma once

#include "frontend/interpreter.h"
#include "turtle/walkingturtle.h"

#include <QString>

// An interpreter drawing on a turtle of its own, as the window and the runner
// set them up.
struct Engine {
    // First, so that it outlives the interpreter that draws on it.
    WalkingTurtle turtle;
    Interpreter interpreter;

    Engine() { interpreter.setWalkingTurtle(&turtle); }
    explicit Engine(const QString& script)
        : Engine()
    {
        interpreter.compile(script);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
};
