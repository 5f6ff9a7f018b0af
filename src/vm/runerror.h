#pragma once

// What an instruction raises: the message code of the catalogue, or None.
// Returned rather than thrown, so that no caller can overlook it.
enum class [[nodiscard]] RunError : int {
    None = 0,
    TooFewArguments = 200,
    TooManyArguments = 201,
    NotAValue = 202,
    PopIntoNonRegister = 203,
    DivisionByZero = 204,
    PopFromEmptyStack = 220,
    ReturnWithoutCall = 230,
    StackNotEmptyAtEnd = 290,
    UnknownRegister = 900,
};
