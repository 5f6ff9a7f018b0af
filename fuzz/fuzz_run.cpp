// Any text analysed, then run with a step budget: whole, one step at a time
// and in slices. The decoded execution and the plain one must agree on every
// observable result.

#include "frontend/interpreter.h"
#include "turtle/walkingturtle.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const qint64 Budget = 3000;

struct Side {
    Interpreter interpreter { QStringLiteral(KORVANE_CATALOGUE) };
    WalkingTurtle turtle;

    explicit Side(bool plain)
    {
        interpreter.setPlainExecution(plain);
        interpreter.setWalkingTurtle(&turtle);
    }

    QString state(bool texts) const
    {
        QString out;
        for (const Message& message : interpreter.messages()) {
            out += QStringLiteral("%1@%2 ").arg(message.code()).arg(message.line());
            if (texts) {
                out += message.text() + QLatin1Char('\n');
            }
        }
        for (const auto& row : interpreter.debugValues()) {
            out += QStringLiteral("%1=%2 ").arg(row.first).arg(row.second);
        }
        out += QStringLiteral("steps %1 line %2 ").arg(interpreter.executedSteps()).arg(interpreter.currentLine());
        const double exact[] = { turtle.exactX(), turtle.exactY(), turtle.angle() };
        out += QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(exact), sizeof exact).toHex());
        out += turtle.isWriting() ? QStringLiteral(" Y ") : QStringLiteral(" N ");
        out += QString::number(turtle.trace().size());
        return out;
    }
};

void check(const Side& decoded, const Side& plain, const char* when, bool texts = false)
{
    const QString a = decoded.state(texts);
    const QString b = plain.state(texts);
    if (a != b) {
        std::fprintf(stderr, "decoded and plain execution differ %s\ndecoded: %s\nplain:   %s\n", when,
            qPrintable(a), qPrintable(b));
        std::abort();
    }
}

void agree(bool a, bool b, const char* when)
{
    if (a != b) {
        std::fprintf(stderr, "decoded and plain execution return %d and %d %s\n", a, b, when);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    Side decoded(false);
    Side plain(true);

    agree(decoded.interpreter.compile(text), plain.interpreter.compile(text), "from compile");
    check(decoded, plain, "after compile", true);

    // Twice: the registers carry over from one run to the next.
    for (int run = 0; run < 2; ++run) {
        agree(decoded.interpreter.runToEnd(Budget), plain.interpreter.runToEnd(Budget), "from a run");
        check(decoded, plain, "after a run", run == 1);
    }

    for (qint64 step = 0; step < Budget / 4; ++step) {
        const bool goesOn = plain.interpreter.step();
        agree(decoded.interpreter.step(), goesOn, "from a step");
        if (!goesOn) {
            break;
        }
    }
    check(decoded, plain, "after single steps");

    // Slices whose lengths come from the input, then an interruption.
    for (std::size_t at = 0; at < size && at < 16; ++at) {
        const qint64 slice = data[at] % 64;
        const bool goesOn = plain.interpreter.advance(slice);
        agree(decoded.interpreter.advance(slice), goesOn, "from a slice");
        if (!goesOn) {
            break;
        }
    }
    check(decoded, plain, "after slices");
    agree(decoded.interpreter.interrupt(), plain.interpreter.interrupt(), "from an interruption");
    check(decoded, plain, "after an interruption", true);
    return 0;
}
