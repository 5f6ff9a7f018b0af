#include "turtle/walkingturtle.h"
#include "vm/virtualmachine.h"

#include <QtTest>

#include <climits>

namespace {

const int NoError = 0;

// Calls the handler of a command word as the execution cycle does and returns
// the code it raised, or NoError.
int execute(VirtualMachine& vm, const QString& command, const QStringList& args)
{
    return static_cast<int>((vm.*(vm.commands().at(command)))(args));
}

int value(const VirtualMachine& vm, const QString& name)
{
    for (const auto& row : vm.debugInfo()) {
        if (row.first == name) {
            return row.second;
        }
    }
    return INT_MIN;
}

bool hasRow(const VirtualMachine& vm, const QString& name)
{
    for (const auto& row : vm.debugInfo()) {
        if (row.first == name) {
            return true;
        }
    }
    return false;
}

void setRegisters(VirtualMachine& vm, int ax, int bx, int cx)
{
    QCOMPARE(int(vm.setRegister({ QStringLiteral("AX"), QString::number(ax) })), NoError);
    QCOMPARE(int(vm.setRegister({ QStringLiteral("BX"), QString::number(bx) })), NoError);
    QCOMPARE(int(vm.setRegister({ QStringLiteral("CX"), QString::number(cx) })), NoError);
}

} // namespace

class TestVirtualMachine : public QObject
{
    Q_OBJECT

private slots:
    void freshMachine();

    void values_data();
    void values();

    void argumentCounts_data();
    void argumentCounts();

    void jumps_data();
    void jumps();

    void setRegister_data();
    void setRegister();

    void scenarios_data();
    void scenarios();

    void turtleCommands_data();
    void turtleCommands();
    void writeTexts_data();
    void writeTexts();
    void turtleIsUntouchedWhenAnArgumentFails();
    void noTurtleSkipsDrawingButStillChecks();
};

void TestVirtualMachine::freshMachine()
{
    VirtualMachine vm;
    const DebugValueList expected { { "RI", -1 }, { "AX", 0 }, { "BX", 0 }, { "CX", 0 }, { "DX", 0 },
        { "Stack size", 0 } };
    QCOMPARE(vm.debugInfo(), expected);
    QCOMPARE(vm.instructionRegister(), -1);
}

// A value is what "push" takes: a literal, a register or one operation.
void TestVirtualMachine::values_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ax");
    QTest::addColumn<int>("bx");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error");

    QTest::newRow("a decimal literal") << "12" << 0 << 0 << 12 << NoError;
    QTest::newRow("a negative literal") << "-7" << 0 << 0 << -7 << NoError;
    QTest::newRow("a literal with a plus sign") << "+7" << 0 << 0 << 7 << NoError;
    QTest::newRow("blanks around the operand") << "  7 " << 0 << 0 << 7 << NoError;
    QTest::newRow("the largest int") << "2147483647" << 0 << 0 << INT_MAX << NoError;
    QTest::newRow("the smallest int") << "-2147483648" << 0 << 0 << INT_MIN << NoError;
    QTest::newRow("a literal beyond 32 bits") << "99999999999" << 0 << 0 << 0 << 202;
    QTest::newRow("a register") << "AX" << 5 << 0 << 5 << NoError;
    QTest::newRow("a register in lower case") << "ax" << 5 << 0 << 0 << 202;
    QTest::newRow("an empty operand") << "" << 0 << 0 << 0 << 202;
    QTest::newRow("a label name") << "top" << 0 << 0 << 0 << 202;
    QTest::newRow("a sum") << "AX+1" << 5 << 0 << 6 << NoError;
    QTest::newRow("a difference with blanks") << "AX - 1" << 5 << 0 << 4 << NoError;
    QTest::newRow("a product") << "AX*2" << 5 << 0 << 10 << NoError;
    QTest::newRow("a signed second operand") << "AX+-5" << 5 << 0 << 0 << NoError;
    QTest::newRow("two registers") << "AX*BX" << 6 << 7 << 42 << NoError;
    QTest::newRow("a quotient truncates toward zero") << "AX/2" << -7 << 0 << -3 << NoError;
    QTest::newRow("a literal quotient") << "7/2" << 0 << 0 << 3 << NoError;
    QTest::newRow("a remainder takes the sign of the first operand") << "AX%3" << -7 << 0 << -1 << NoError;
    QTest::newRow("minus is tried before divide") << "-7/2" << 0 << 0 << 0 << 202;
    QTest::newRow("minus is tried before times") << "AX*-2" << 1 << 0 << 0 << 202;
    QTest::newRow("a negated register") << "-AX" << 1 << 0 << 0 << 202;
    QTest::newRow("two pluses") << "1+2+3" << 0 << 0 << 0 << 202;
    QTest::newRow("two operators of different kinds") << "1+2*3" << 0 << 0 << 0 << 202;
    QTest::newRow("two minuses") << "3-1-1" << 0 << 0 << 0 << 202;
    QTest::newRow("an operator alone") << "+" << 0 << 0 << 0 << 202;
    QTest::newRow("a lower-case register in an expression") << "ax+1" << 0 << 0 << 0 << 202;
    QTest::newRow("an operand beyond 32 bits in an expression") << "AX+3000000000" << 0 << 0 << 0 << 202;
    QTest::newRow("a sum wraps") << "AX+1" << INT_MAX << 0 << INT_MIN << NoError;
    QTest::newRow("a difference wraps") << "AX-1" << INT_MIN << 0 << INT_MAX << NoError;
    QTest::newRow("a product wraps") << "65536*65536" << 0 << 0 << 0 << NoError;
    QTest::newRow("a product of extremes wraps") << "AX*BX" << INT_MIN << INT_MIN << 0 << NoError;
    QTest::newRow("the smallest int times minus one") << "AX*BX" << INT_MIN << -1 << INT_MIN << NoError;
    QTest::newRow("the smallest int divided by minus one") << "AX/BX" << INT_MIN << -1 << INT_MIN << NoError;
    QTest::newRow("the smallest int modulo minus one") << "AX%BX" << INT_MIN << -1 << 0 << NoError;
    QTest::newRow("a division by zero") << "5/0" << 0 << 0 << 0 << 204;
    QTest::newRow("a remainder by zero") << "5%0" << 0 << 0 << 0 << 204;
    QTest::newRow("a division by a register holding zero") << "AX/BX" << 9 << 0 << 0 << 204;
    QTest::newRow("a bad operand is reported before a zero divisor") << "x/0" << 0 << 0 << 0 << 202;
}

void TestVirtualMachine::values()
{
    QFETCH(QString, text);
    QFETCH(int, ax);
    QFETCH(int, bx);
    QFETCH(int, expected);
    QFETCH(int, error);

    VirtualMachine vm;
    setRegisters(vm, ax, bx, 0);
    QCOMPARE(execute(vm, "push", { text }), error);
    if (error == NoError) {
        QCOMPARE(value(vm, "Stack size"), 1);
        QCOMPARE(value(vm, "Stack top"), expected);
    } else {
        QCOMPARE(value(vm, "Stack size"), 0);
    }
}

void TestVirtualMachine::argumentCounts_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("error");

    QTest::newRow("move without operand") << "move" << QStringList() << 200;
    QTest::newRow("move with a trailing empty operand") << "move" << QStringList { "5", "" } << 201;
    QTest::newRow("put with one operand") << "put" << QStringList { "1" } << 200;
    QTest::newRow("put with three operands") << "put" << QStringList { "1", "2", "3" } << 201;
    QTest::newRow("left with two operands") << "left" << QStringList { "1", "2" } << 201;
    QTest::newRow("right with an empty operand") << "right" << QStringList { "" } << 202;
    QTest::newRow("write without operand") << "write" << QStringList() << 200;
    QTest::newRow("write with two operands") << "write" << QStringList { "Y", "N" } << 201;
    QTest::newRow("push with two operands") << "push" << QStringList { "1 ", " 2" } << 201;
    QTest::newRow("pop without operand") << "pop" << QStringList() << 200;
    QTest::newRow("call without operand") << "call" << QStringList() << 200;
    QTest::newRow("setRegister with one operand") << "setRegister" << QStringList { "AX" } << 200;
    QTest::newRow("jmpe with two operands") << "jmpe" << QStringList { "AX", "5" } << 200;
    QTest::newRow("jmpne with four operands") << "jmpne" << QStringList { "1", "2", "3", "4" } << 201;
    QTest::newRow("jmpax without operand") << "jmpax" << QStringList() << 200;
    QTest::newRow("jmpax with two operands") << "jmpax" << QStringList { "1", "5" } << 201;
    QTest::newRow("jmpbx without operand") << "jmpbx" << QStringList() << 200;
    QTest::newRow("loop without operand") << "loop" << QStringList() << 200;
    QTest::newRow("end ignores its operands") << "end" << QStringList { "5", "x" } << NoError;
    QTest::newRow("a count error comes before a bad value") << "put" << QStringList { "x" } << 200;
    QTest::newRow("a count error comes before a division by zero") << "put" << QStringList { "1/0" } << 200;
    QTest::newRow("a division by zero comes before a later bad value")
        << "put" << QStringList { "1/0", "x" } << 204;
    QTest::newRow("a bad value comes before a later division by zero")
        << "jmpe" << QStringList { "x", "1/0", "5" } << 202;
    QTest::newRow("a division by zero in a comparison comes before a bad target")
        << "jmpe" << QStringList { "1", "1/0", "x" } << 204;
    QTest::newRow("a division by zero in the value comes before an unknown register")
        << "setRegister" << QStringList { "EX", "1/0" } << 204;
}

void TestVirtualMachine::argumentCounts()
{
    QFETCH(QString, command);
    QFETCH(QStringList, args);
    QFETCH(int, error);

    VirtualMachine vm;
    QCOMPARE(execute(vm, command, args), error);
}

void TestVirtualMachine::jumps_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("ax");
    QTest::addColumn<int>("bx");
    QTest::addColumn<int>("cx");
    QTest::addColumn<bool>("jumps");

    const QStringList target { "50" };
    QTest::newRow("jmpe with equal registers") << "jmpe" << QStringList { "AX", "AX", "50" } << 3 << 0 << 0 << true;
    QTest::newRow("jmpe with different values") << "jmpe" << QStringList { "1", "2", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("jmpne with different values") << "jmpne" << QStringList { "1", "2", "50" } << 0 << 0 << 0 << true;
    QTest::newRow("jmpne with equal values") << "jmpne" << QStringList { "2", "2", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("jmpl compares signed") << "jmpl" << QStringList { "-1", "1", "50" } << 0 << 0 << 0 << true;
    QTest::newRow("jmpl with equal values") << "jmpl" << QStringList { "1", "1", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("jmple with equal values") << "jmple" << QStringList { "1", "1", "50" } << 0 << 0 << 0 << true;
    QTest::newRow("jmple with a greater value") << "jmple" << QStringList { "2", "1", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("jmpg with equal values") << "jmpg" << QStringList { "1", "1", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("jmpg with a greater value") << "jmpg" << QStringList { "2", "1", "50" } << 0 << 0 << 0 << true;
    QTest::newRow("jmpge with equal values") << "jmpge" << QStringList { "1", "1", "50" } << 0 << 0 << 0 << true;
    QTest::newRow("jmpge with a smaller value") << "jmpge" << QStringList { "0", "1", "50" } << 0 << 0 << 0 << false;
    QTest::newRow("operands are trimmed") << "jmpe" << QStringList { " AX", " 5 ", " 50 " } << 5 << 0 << 0 << true;
    QTest::newRow("the target may be an expression")
        << "jmpe" << QStringList { "0", "0", "AX+40" } << 10 << 0 << 0 << true;
    QTest::newRow("jmpax with AX zero") << "jmpax" << target << 0 << 0 << 0 << false;
    QTest::newRow("jmpax with AX negative") << "jmpax" << target << -5 << 0 << 0 << false;
    QTest::newRow("jmpax with AX one") << "jmpax" << target << 1 << 0 << 0 << true;
    QTest::newRow("jmpbx with BX positive") << "jmpbx" << target << 0 << 7 << 0 << true;
    QTest::newRow("jmpbx with BX zero") << "jmpbx" << target << 9 << 0 << 0 << false;
    QTest::newRow("loop from one falls through") << "loop" << target << 0 << 0 << 1 << false;
    QTest::newRow("loop from three jumps") << "loop" << target << 0 << 0 << 3 << true;
    QTest::newRow("loop from zero falls through") << "loop" << target << 0 << 0 << 0 << false;
    QTest::newRow("loop from the smallest int wraps and jumps") << "loop" << target << 0 << 0 << INT_MIN << true;
}

void TestVirtualMachine::jumps()
{
    QFETCH(QString, command);
    QFETCH(QStringList, args);
    QFETCH(int, ax);
    QFETCH(int, bx);
    QFETCH(int, cx);
    QFETCH(bool, jumps);

    VirtualMachine vm;
    setRegisters(vm, ax, bx, cx);
    vm.instructionRegister() = 10;
    QCOMPARE(execute(vm, command, args), NoError);
    QCOMPARE(vm.instructionRegister(), jumps ? 50 : 10);
    if (command == "loop") {
        QCOMPARE(value(vm, "CX"), static_cast<int>(static_cast<unsigned>(cx) - 1u));
    } else {
        QCOMPARE(value(vm, "CX"), cx);
    }
}

void TestVirtualMachine::setRegister_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("dx");

    QTest::newRow("a literal into DX") << QStringList { "DX", "7" } << NoError << 7;
    QTest::newRow("the name is trimmed") << QStringList { " DX ", " 7" } << NoError << 7;
    QTest::newRow("an expression of DX itself") << QStringList { "DX", "DX-1" } << NoError << 1;
    QTest::newRow("a lower-case name") << QStringList { "dx", "1" } << 900 << 2;
    QTest::newRow("a name that is no register") << QStringList { "EX", "1" } << 900 << 2;
    QTest::newRow("a bad value is reported before a bad name") << QStringList { "ZZ", "foo" } << 202 << 2;
    QTest::newRow("a bad value") << QStringList { "DX", "foo" } << 202 << 2;
    QTest::newRow("a register line without value") << QStringList { "DX", "" } << 202 << 2;
}

void TestVirtualMachine::setRegister()
{
    QFETCH(QStringList, args);
    QFETCH(int, error);
    QFETCH(int, dx);

    VirtualMachine vm;
    QCOMPARE(int(vm.setRegister({ "DX", "2" })), NoError);
    QCOMPARE(execute(vm, "setRegister", args), error);
    QCOMPARE(value(vm, "DX"), dx);
}

// Instructions one after the other: "command|operand|operand -> code", or
// "RI=n", "AX=n"... to set a register, or "reset"; then the rows the debugger
// shows ("none" for a row it leaves out).
void TestVirtualMachine::scenarios_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");

    QTest::newRow("pop names a bad register before it finds the stack empty")
        << QStringList { "pop|EX -> 203", "pop|ax -> 203" } << "Stack size=0";
    QTest::newRow("pop to a bad register leaves the value on the stack")
        << QStringList { "push|4 -> 0", "pop|ax -> 203" } << "Stack size=1;Stack top=4";
    QTest::newRow("pop trims its register's name")
        << QStringList { "push|4 -> 0", "pop| AX  -> 0" } << "AX=4;Stack size=0;Stack top=none";
    QTest::newRow("pop from an empty stack leaves the register")
        << QStringList { "AX=11", "pop|AX -> 220" } << "AX=11";
    QTest::newRow("nested calls return after each call, the last first, whatever ret is given")
        << QStringList { "RI=10", "call|20 -> 0", "RI=25", "call|30 -> 0", "ret|ignored -> 0" } << "RI=26";
    QTest::newRow("the outer call returns last; the call stack is not the debugger's stack")
        << QStringList { "RI=10", "call|20 -> 0", "RI=25", "call|30 -> 0", "ret -> 0", "ret -> 0" }
        << "RI=11;Stack size=0";
    QTest::newRow("ret without a call fails where it is") << QStringList { "RI=4", "ret -> 230" } << "RI=4";
    QTest::newRow("end resets the machine, its calls with it")
        << QStringList { "RI=10", "call|20 -> 0", "end -> 0", "ret -> 230" } << "RI=-1";
    QTest::newRow("end with values on the stack resets, then fails")
        << QStringList { "RI=3", "push|1 -> 0", "end -> 290" } << "RI=-1;Stack size=0";
    QTest::newRow("loop counts down even when it fails")
        << QStringList { "CX=5", "loop|top -> 202", "loop -> 200" } << "CX=3";
    QTest::newRow("the debugger shows the value pushed last")
        << QStringList { "push|5 -> 0", "push|8 -> 0" } << "Stack size=2;Stack top=8";
    QTest::newRow("a reset empties the stack and keeps the registers")
        << QStringList { "AX=1", "CX=3", "push|9 -> 0", "RI=7", "reset" }
        << "RI=-1;AX=1;CX=3;Stack size=0;Stack top=none";
}

void TestVirtualMachine::scenarios()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);

    VirtualMachine vm;
    for (const QString& step : steps) {
        const QStringList instruction = step.split(QStringLiteral(" -> "));
        const QStringList assignment = step.split(QLatin1Char('='));
        if (instruction.size() == 2) {
            QStringList operands = instruction.at(0).split(QLatin1Char('|'));
            const QString command = operands.takeFirst();
            QVERIFY2(execute(vm, command, operands) == instruction.at(1).toInt(), qPrintable(step));
        } else if (step == QLatin1String("reset")) {
            vm.reset();
        } else if (assignment.at(0) == QLatin1String("RI")) {
            vm.instructionRegister() = assignment.at(1).toInt();
        } else {
            QCOMPARE(int(vm.setRegister(assignment)), 0);
        }
    }
    for (const QString& row : shown.split(QLatin1Char(';'))) {
        const QStringList nameAndValue = row.split(QLatin1Char('='));
        const QString& name = nameAndValue.at(0);
        if (nameAndValue.at(1) == QLatin1String("none")) {
            QVERIFY2(!hasRow(vm, name), qPrintable(name));
        } else {
            QVERIFY2(value(vm, name) == nameAndValue.at(1).toInt(),
                     qPrintable(QStringLiteral("%1 is %2").arg(name).arg(value(vm, name))));
        }
    }
}

void TestVirtualMachine::turtleCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<double>("degrees");

    QTest::newRow("left without operand turns by ten") << "left" << QStringList() << 10.0;
    QTest::newRow("right without operand turns by minus ten") << "right" << QStringList() << -10.0;
    QTest::newRow("left by an expression") << "left" << QStringList { "45*2" } << 90.0;
    QTest::newRow("left by zero") << "left" << QStringList { "0" } << 0.0;
    QTest::newRow("right by a negative angle turns left") << "right" << QStringList { "-90" } << 90.0;
    QTest::newRow("right by the smallest int") << "right" << QStringList { "-2147483648" } << 2147483648.0;
}

void TestVirtualMachine::turtleCommands()
{
    QFETCH(QString, command);
    QFETCH(QStringList, args);
    QFETCH(double, degrees);

    WalkingTurtle turtle;
    turtle.setWrite(true);
    WalkingTurtle expected = turtle;
    expected.turn(degrees);

    VirtualMachine vm;
    vm.setTurtle(&turtle);
    QCOMPARE(execute(vm, command, args), NoError);
    QCOMPARE(turtle.angle(), expected.angle());
    QCOMPARE(turtle.trace().size(), expected.trace().size());
}

void TestVirtualMachine::writeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("writing");

    QTest::newRow("Y puts the pen down") << "Y" << true;
    QTest::newRow("lower-case y puts the pen down") << " y " << true;
    QTest::newRow("N lifts the pen") << "N" << false;
    QTest::newRow("no lifts the pen") << "no" << false;
    QTest::newRow("yes lifts the pen") << "yes" << false;
    QTest::newRow("1 lifts the pen") << "1" << false;
}

void TestVirtualMachine::writeTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, writing);

    WalkingTurtle turtle;
    VirtualMachine vm;
    vm.setTurtle(&turtle);
    QCOMPARE(int(vm.write({ "Y" })), NoError);
    QCOMPARE(execute(vm, "write", { text }), NoError);
    QCOMPARE(turtle.isWriting(), writing);
}

void TestVirtualMachine::turtleIsUntouchedWhenAnArgumentFails()
{
    WalkingTurtle turtle;
    turtle.setWrite(true);
    VirtualMachine vm;
    vm.setTurtle(&turtle);

    QCOMPARE(execute(vm, "put", { "10", "y" }), 202);
    QCOMPARE(execute(vm, "move", { "5", "5" }), 201);
    QCOMPARE(execute(vm, "left", { "1/0" }), 204);
    QCOMPARE(turtle.trace().size(), std::size_t(1));
    QCOMPARE(turtle.exactX(), 0.0);
    QCOMPARE(turtle.angle(), Turtle::Pi);

    QCOMPARE(execute(vm, "put", { "10", " -20 " }), NoError);
    QCOMPARE(turtle.x(), 10);
    QCOMPARE(turtle.y(), -20);
    QCOMPARE(turtle.trace().size(), std::size_t(2));
}

void TestVirtualMachine::noTurtleSkipsDrawingButStillChecks()
{
    VirtualMachine vm;
    QCOMPARE(execute(vm, "move", { "10" }), NoError);
    QCOMPARE(execute(vm, "write", { "Y" }), NoError);
    QCOMPARE(execute(vm, "move", { "foo" }), 202);
}

QTEST_APPLESS_MAIN(TestVirtualMachine)
#include "tst_virtualmachine.moc"
