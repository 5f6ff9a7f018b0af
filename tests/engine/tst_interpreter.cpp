#include "engine.h"

#include <QtTest>

namespace {

// "code@line" for each message, in list order.
QStringList messageList(const Interpreter& interpreter)
{
    QStringList list;
    for (const Message& message : interpreter.messages()) {
        list << QStringLiteral("%1@%2").arg(message.code()).arg(message.line());
    }
    return list;
}

// "line: command | argument text" for each instruction.
QStringList programList(const Interpreter& interpreter)
{
    QStringList list;
    const Interpreter::Program& program = interpreter.program();
    for (std::size_t position = 0; position < program.size(); ++position) {
        list << QStringLiteral("%1: %2 | %3")
                    .arg(program.lineAt(position))
                    .arg(program.wordAt(position), program.argumentAt(position).toString());
    }
    return list;
}

int value(const Interpreter& interpreter, const QString& name)
{
    for (const auto& row : interpreter.debugValues()) {
        if (row.first == name) {
            return row.second;
        }
    }
    return INT_MIN;
}

QString script(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

// The worked example of a square drawn by a procedure called four times.
const QStringList SquareByProcedure {
    "Tur=Asm", // 1
    "CX:4;", // 2
    "write:Y;", // 3
    "define:SIDE;", // 4
    "call:EDGE;", // 5
    "loop:SIDE;", // 6
    "end;", // 7
    "proc:EDGE;", // 8
    "move:100;", // 9
    "left:90;", // 10
    "ret;", // 11
};

const QStringList EndlessLoop {
    "Tur=Asm",
    "define: top;",
    "AX: AX+1;",
    "jmpe: 0, 0, top;",
};

} // namespace

class TestInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void analysis_data();
    void analysis();
    void workedExampleAnalysis();

    void run_data();
    void run();
    void registersCarryOverFromOneRunToTheNext();
    void emptyProgram();
    void steppingTheWorkedExample();
    void steppingTheSquareByProcedure();
    void runDrawsTheSquare();
    void messagesFollowTheLanguage();

    void stepBudgetStopsAnEndlessLoop();
    void stepBudgetThatSufficesChangesNothing();
    void zeroStepBudget();
    void advanceInSlicesMatchesARun();
    void advanceStopsAtAnError();
    void checkedAdvanceStops_data();
    void checkedAdvanceStops();
    void interruptPausedRun();
    void interruptIdleDoesNothing();
};

void TestInterpreter::analysis_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("program");

    QTest::newRow("an empty text") << "" << true << QStringList { "100@-1" } << QStringList();
    QTest::newRow("the header alone") << "Tur=Asm" << true << QStringList() << QStringList();
    QTest::newRow("a header followed by a blank")
        << "Tur=Asm \nmove: 5;" << false << QStringList { "101@-1", "102@1", "103@1" } << QStringList();
    QTest::newRow("a lower-case header")
        << "tur=asm\nmove: 5;" << false << QStringList { "101@-1", "102@1", "103@1" } << QStringList();
    QTest::newRow("no header, a statement on line 1")
        << "move: 5;" << true << QStringList { "101@-1" } << QStringList { "1: move | 5" };
    QTest::newRow("a missing semicolon empties the program")
        << "Tur=Asm\nmove: 1;\nmove: 5\nleft;" << false << QStringList { "102@3", "103@3" } << QStringList();
    QTest::newRow("text after the last semicolon")
        << "Tur=Asm\nmove: 5; x" << true << QStringList { "102@2" } << QStringList { "2: move | 5" };
    QTest::newRow("two statements on one line are one")
        << "Tur=Asm\n\nmove: 5; left;" << true << QStringList() << QStringList { "3: move | 5; left" };
    QTest::newRow("comments, blanks and spaces")
        << "Tur=Asm\nmove: 5 ;  # forward\n  left;\n# only a comment\n   \n" << true << QStringList()
        << QStringList { "2: move | 5", "3: left | " };
    QTest::newRow("a comment swallows the semicolon")
        << "Tur=Asm\nmove: 10 # forward;" << false << QStringList { "102@2", "103@2" } << QStringList();
    QTest::newRow("a further colon belongs to the argument")
        << "Tur=Asm\nmove: 1:2;" << true << QStringList() << QStringList { "2: move | 1:2" };
    QTest::newRow("left with an empty argument")
        << "Tur=Asm\nleft:;\nleft: ;" << true << QStringList() << QStringList { "2: left | ", "3: left | " };
    QTest::newRow("register keywords in any case")
        << "Tur=Asm\nax:7;\nDx : AX*2 ;\nCx;" << true << QStringList()
        << QStringList { "2: setRegister | AX,7", "3: setRegister | DX,AX*2", "4: setRegister | CX," };
    QTest::newRow("setRegister written out keeps its spaces")
        << "Tur=Asm\nsetRegister: AX, 7;" << true << QStringList() << QStringList { "2: setRegister | AX, 7" };
    QTest::newRow("command words are case-sensitive")
        << "Tur=Asm\nMove: 5;" << false << QStringList { "103@2" } << QStringList();
    QTest::newRow("define is case-sensitive")
        << "Tur=Asm\nDEFINE: a;" << false << QStringList { "103@2" } << QStringList();
    QTest::newRow("an empty keyword") << "Tur=Asm\n: 5;" << false << QStringList { "103@2" } << QStringList();
    QTest::newRow("a lone semicolon") << "Tur=Asm\n;" << false << QStringList { "103@2" } << QStringList();
    QTest::newRow("every line is analysed after a failure")
        << "Tur=Asm\nfoo;\nbar;\nmove: 1" << false << QStringList { "103@2", "103@3", "102@4", "103@4" }
        << QStringList();
    QTest::newRow("a label with a digit")
        << "Tur=Asm\ndefine: loop_1;\njmpax: loop_1;" << true << QStringList { "104@2", "210@3" }
        << QStringList { "3: jmpax | loop_1" };
    QTest::newRow("names are of ASCII letters only")
        << QString::fromUtf8("Tur=Asm\ndefine: café;\nend;\nproc: Ω;") << true << QStringList { "104@2", "105@4" }
        << QStringList { "3: end | " };
    QTest::newRow("a label with an underscore")
        << "Tur=Asm\ndefine: _start;\njmpax: _start;" << true << QStringList() << QStringList { "3: jmpax | 2" };
    QTest::newRow("a jump keeps the spaces of its other operands")
        << "Tur=Asm\ndefine: top;\njmpe: AX, 5, top ;" << true << QStringList()
        << QStringList { "3: jmpe | AX, 5,2" };
    QTest::newRow("a label used before its definition")
        << "Tur=Asm\nloop: down;\ndefine: down;" << true << QStringList() << QStringList { "2: loop | 3" };
    QTest::newRow("a literal line as a jump target")
        << "Tur=Asm\njmpax: 7;" << true << QStringList { "210@2" } << QStringList { "2: jmpax | 7" };
    QTest::newRow("a label defined twice means the later line")
        << "Tur=Asm\ndefine: a;\ndefine: a;\njmpbx: a;" << true << QStringList() << QStringList { "4: jmpbx | 3" };
    QTest::newRow("labels and procedures have separate names")
        << "Tur=Asm\ncall: a;\nend;\ndefine: a;\nproc: a;\nret;" << true << QStringList()
        << QStringList { "2: call | 5", "3: end | ", "6: ret | " };
    QTest::newRow("an undefined procedure")
        << "Tur=Asm\ncall: nowhere;\nend;" << true << QStringList { "211@2" }
        << QStringList { "2: call | nowhere", "3: end | " };
    QTest::newRow("a procedure before any end")
        << "Tur=Asm\nproc: p;\nret;\nend;" << false << QStringList { "106@2" } << QStringList();
    QTest::newRow("a rejected procedure name is not the first procedure")
        << "Tur=Asm\nproc: p1;\nproc: q;\nend;" << false << QStringList { "105@2", "106@3" } << QStringList();
    QTest::newRow("only the first procedure needs an end before it")
        << "Tur=Asm\nend;\nproc: p;\nret;\nproc: q;\nret;" << true << QStringList()
        << QStringList { "2: end | ", "4: ret | ", "6: ret | " };
    QTest::newRow("analysis, then resolution messages in line order")
        << "move: 1;\njmpax: a;\ndefine: 2b;\ncall: p\nend;" << false
        << QStringList { "101@-1", "104@3", "102@4", "103@4", "210@2" } << QStringList();
    QTest::newRow("resolution messages still come after a failure")
        << "Tur=Asm\njmpax: nowhere;\nfoo;" << false << QStringList { "103@3", "210@2" } << QStringList();
}

void TestInterpreter::analysis()
{
    QFETCH(QString, text);
    QFETCH(bool, result);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, program);

    Interpreter interpreter;
    QCOMPARE(interpreter.compile(text), result);
    QCOMPARE(messageList(interpreter), messages);
    QCOMPARE(programList(interpreter), program);
}

void TestInterpreter::workedExampleAnalysis()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile(script({
        "Tur=Asm",
        "CX: 4;   # four sides",
        "define: side;",
        "call: edge;",
        "right: 90;",
        "loop: side;",
        "end;",
        "proc: edge;",
        "move: 50;",
        "ret;",
    })));
    QCOMPARE(messageList(interpreter), QStringList());
    QCOMPARE(programList(interpreter),
        (QStringList { "2: setRegister | CX,4", "4: call | 8", "5: right | 90", "6: loop | 3", "7: end | ",
            "9: move | 50", "10: ret | " }));
}

void TestInterpreter::run_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages"); // those the run adds
    QTest::addColumn<QString>("registers");
    QTest::addColumn<qint64>("steps");

    QTest::newRow("dx takes twice AX") << "Tur=Asm\nAX: 21;\ndx: AX*2;" << QStringList() << "21 0 0 42" << qint64(2);
    QTest::newRow("AX alone lacks a value") << "Tur=Asm\nAX;" << QStringList { "202@2" } << "0 0 0 0" << qint64(1);
    QTest::newRow("setRegister with a lower-case name")
        << "Tur=Asm\nsetRegister: dx, 1;" << QStringList { "900@2" } << "0 0 0 0" << qint64(1);
    QTest::newRow("setRegister with a bad value and a good name")
        << "Tur=Asm\nsetRegister: DX, foo;" << QStringList { "202@2" } << "0 0 0 0" << qint64(1);
    QTest::newRow("two operands to push") << "Tur=Asm\npush: 1 , 2;" << QStringList { "201@2" } << "0 0 0 0"
                                          << qint64(1);
    QTest::newRow("two statements on a line fail when run")
        << "Tur=Asm\nmove: 5; left;" << QStringList { "202@2" } << "0 0 0 0" << qint64(1);
    QTest::newRow("a division by zero") << "Tur=Asm\nAX: 7;\n\nBX: AX/0;" << QStringList { "204@4" } << "7 0 0 0"
                                        << qint64(2);
    QTest::newRow("an error ends the run")
        << "Tur=Asm\nAX: 1;\npop: BX;\nCX: 1;" << QStringList { "220@3" } << "1 0 0 0" << qint64(2);
    QTest::newRow("end with values left on the stack")
        << "Tur=Asm\npush: 1;\nend;\nAX: 1;" << QStringList { "290@-1" } << "0 0 0 0" << qint64(2);
    QTest::newRow("end inside a procedure ends the program")
        << "Tur=Asm\ncall: p;\nAX: 1;\nend;\nproc: p;\nend;" << QStringList() << "0 0 0 0" << qint64(2);
    QTest::newRow("running into a procedure body")
        << "Tur=Asm\nAX: 1;\njmpe: 0, 0, over;\nend;\ndefine: over;\nproc: p;\nBX: 2;\nret;"
        << QStringList { "230@8" } << "1 2 0 0" << qint64(4);
    QTest::newRow("a literal line number as a jump target")
        << "Tur=Asm\nAX: 1;\njmpax: 5;\nBX: 1;\nCX: 1;" << QStringList() << "1 0 1 0" << qint64(3);
    QTest::newRow("a jump beyond the last instruction keeps the stack silently")
        << "Tur=Asm\npush: 1;\njmpe: 1, 1, done;\nAX: 1;\ndefine: done;" << QStringList() << "0 0 0 0"
        << qint64(2);
    QTest::newRow("a jump to a label goes on at the next instruction")
        << "Tur=Asm\njmpe: 0, 0, skip;\nAX: 1;\ndefine: skip;\n\nBX: 1;" << QStringList() << "0 1 0 0" << qint64(2);
    QTest::newRow("a jump to its own line counts as no jump")
        << "Tur=Asm\njmpe: 0, 0, 2;\nAX: 5;" << QStringList() << "5 0 0 0" << qint64(2);
    QTest::newRow("a loop from zero runs its block once")
        << "Tur=Asm\ndefine: block;\nAX: AX+1;\nloop: block;" << QStringList() << "1 0 -1 0" << qint64(2);
    QTest::newRow("a loop from three runs its block three times")
        << "Tur=Asm\nCX: 3;\ndefine: block;\nAX: AX+1;\nloop: block;" << QStringList() << "3 0 0 0" << qint64(7);
    QTest::newRow("pop gives back what push saved")
        << "Tur=Asm\npush: 4;\npush: 5;\npop: AX;\npop: BX;\nend;" << QStringList() << "5 4 0 0" << qint64(5);
    QTest::newRow("a return to the line of the return itself goes on after it")
        << "Tur=Asm\ncall: p;\nend;\nproc: p;\nAX: AX+1;\njmpl: AX, 3, again;\nret;\ndefine: again;\ncall: "
           "p;\nret;\nBX: 9;"
        << QStringList() << "3 9 0 0" << qint64(12);
}

void TestInterpreter::run()
{
    QFETCH(QString, text);
    QFETCH(QStringList, messages);
    QFETCH(QString, registers);
    QFETCH(qint64, steps);

    Interpreter interpreter;
    interpreter.compile(text);
    const int analysisMessages = messageList(interpreter).size();
    interpreter.runToEnd();

    QCOMPARE(messageList(interpreter).mid(analysisMessages), messages);
    const QString finalRegisters = QStringLiteral("%1 %2 %3 %4")
                                       .arg(value(interpreter, "AX"))
                                       .arg(value(interpreter, "BX"))
                                       .arg(value(interpreter, "CX"))
                                       .arg(value(interpreter, "DX"));
    QCOMPARE(finalRegisters, registers);
    QCOMPARE(interpreter.executedSteps(), steps);
    QCOMPARE(interpreter.currentLine(), -1);
    QCOMPARE(value(interpreter, "Stack size"), 0);
}

void TestInterpreter::registersCarryOverFromOneRunToTheNext()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile("Tur=Asm\nAX: AX+1;"));
    interpreter.runToEnd();
    interpreter.runToEnd();
    QVERIFY(interpreter.compile("Tur=Asm\nBX: AX;"));
    interpreter.runToEnd();
    QCOMPARE(value(interpreter, "BX"), 2);
}

void TestInterpreter::emptyProgram()
{
    Interpreter interpreter;
    QVERIFY(!interpreter.compile("Tur=Asm\nfoo;"));
    interpreter.runToEnd();
    QCOMPARE(interpreter.currentLine(), -1);
    QVERIFY(!interpreter.step());
    QCOMPARE(interpreter.executedSteps(), qint64(0));
    QCOMPARE(messageList(interpreter), QStringList { "103@2" });
}

void TestInterpreter::steppingTheWorkedExample()
{
    Engine engine;
    Interpreter& interpreter = engine.interpreter;
    QVERIFY(interpreter.compile(script({ "Tur=Asm", "CX: 4;   # four sides", "define: side;", "call: edge;",
        "right: 90;", "loop: side;", "end;", "proc: edge;", "move: 50;", "ret;" })));

    QList<int> expected { 4 };
    for (int side = 1; side <= 4; ++side) {
        expected << 9 << 10 << 5 << 6 << (side < 4 ? 4 : 7);
    }
    QList<int> lines;
    QCOMPARE(interpreter.currentLine(), -1);
    while (interpreter.step()) {
        lines << interpreter.currentLine();
    }
    QCOMPARE(lines, expected);
    QCOMPARE(interpreter.currentLine(), -1);
    QCOMPARE(value(interpreter, "CX"), 0);
    QCOMPARE(messageList(interpreter), QStringList());
}

void TestInterpreter::steppingTheSquareByProcedure()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile(script(SquareByProcedure)));
    QList<int> lines;
    while (interpreter.step()) {
        lines << interpreter.currentLine();
    }
    QList<int> expected { 3 };
    for (int side = 1; side <= 4; ++side) {
        expected << 5 << 9 << 10 << 11 << 6;
    }
    expected << 7;
    QCOMPARE(lines, expected);
    QCOMPARE(interpreter.currentLine(), -1);
}

void TestInterpreter::runDrawsTheSquare()
{
    Engine engine;
    Interpreter& interpreter = engine.interpreter;
    const WalkingTurtle& turtle = engine.turtle;
    QVERIFY(interpreter.compile(script(SquareByProcedure)));
    interpreter.runToEnd();

    QCOMPARE(interpreter.executedSteps(), qint64(2 + 4 * 5 + 1));
    QCOMPARE(value(interpreter, "CX"), 0);
    QCOMPARE(interpreter.currentLine(), -1);

    // The same moves made by hand give the same doubles.
    WalkingTurtle expected;
    expected.setWrite(true);
    for (int side = 0; side < 4; ++side) {
        expected.move(100);
        expected.turn(90);
    }
    QCOMPARE(turtle.toString(), expected.toString());
    QCOMPARE(turtle.exactX(), expected.exactX());
    QCOMPARE(turtle.exactY(), expected.exactY());
    QCOMPARE(turtle.angle(), expected.angle());
    QCOMPARE(turtle.trace().size(), std::size_t(9));

    // A second run goes on from where the first one left the turtle.
    interpreter.runToEnd();
    QCOMPARE(turtle.trace().size(), std::size_t(17));
}

void TestInterpreter::messagesFollowTheLanguage()
{
    Interpreter interpreter;
    interpreter.compile("Tur=Asm\nfoo;");
    const Message& message = interpreter.messages().front();
    const QString english = message.text();
    QVERIFY(english.contains("2"));
    interpreter.setLanguage("fr");
    QVERIFY(message.text() != english);
    QVERIFY(message.text().contains("2"));
    interpreter.setLanguage("");
    QCOMPARE(message.text(), english);
}

void TestInterpreter::stepBudgetStopsAnEndlessLoop()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile(script(EndlessLoop)));
    QVERIFY(!interpreter.runToEnd(1001));
    // 1001 instructions: the jump and the addition alternate, the addition first.
    QCOMPARE(interpreter.executedSteps(), qint64(1001));
    QCOMPARE(value(interpreter, "AX"), 501);
    QCOMPARE(messageList(interpreter), QStringList { "240@4" });
    QCOMPARE(interpreter.currentLine(), -1);
}

void TestInterpreter::stepBudgetThatSufficesChangesNothing()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile(script(SquareByProcedure)));
    QVERIFY(interpreter.runToEnd(23));
    QCOMPARE(messageList(interpreter), QStringList());
    QVERIFY(interpreter.compile(script(SquareByProcedure)));
    QVERIFY(!interpreter.runToEnd(22));
    QCOMPARE(messageList(interpreter), QStringList { "240@7" });
}

void TestInterpreter::zeroStepBudget()
{
    Interpreter interpreter;
    QVERIFY(interpreter.compile("Tur=Asm\n\nAX: 1;"));
    QVERIFY(!interpreter.runToEnd(0));
    QCOMPARE(messageList(interpreter), QStringList { "240@3" });
    QCOMPARE(value(interpreter, "AX"), 0);

    QVERIFY(interpreter.compile("Tur=Asm"));
    QVERIFY(interpreter.runToEnd(0));
    QCOMPARE(messageList(interpreter), QStringList());
}

void TestInterpreter::advanceInSlicesMatchesARun()
{
    Engine whole(script(SquareByProcedure));
    whole.interpreter.runToEnd();

    Engine sliced(script(SquareByProcedure));
    Interpreter& interpreter = sliced.interpreter;
    QVERIFY(interpreter.advance(0));
    QCOMPARE(interpreter.currentLine(), 2);
    QCOMPARE(interpreter.executedSteps(), qint64(0));
    int slices = 0;
    while (interpreter.advance(5)) {
        ++slices;
        QCOMPARE(interpreter.executedSteps(), qint64(5 * slices));
        QVERIFY(interpreter.currentLine() > 0);
    }
    QCOMPARE(slices, 4);
    QCOMPARE(interpreter.executedSteps(), qint64(23));
    QCOMPARE(interpreter.currentLine(), -1);
    QCOMPARE(sliced.turtle.toString(), whole.turtle.toString());
    QCOMPARE(interpreter.debugValues(), whole.interpreter.debugValues());
}

void TestInterpreter::advanceStopsAtAnError()
{
    Interpreter interpreter;
    interpreter.compile("Tur=Asm\nAX: 1;\nret;\nBX: 1;");
    QVERIFY(!interpreter.advance(100));
    QCOMPARE(messageList(interpreter), QStringList { "230@3" });
    QCOMPARE(interpreter.executedSteps(), qint64(2));
    QCOMPARE(interpreter.currentLine(), -1);
}

void TestInterpreter::checkedAdvanceStops_data()
{
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<int>("depth");
    // The line after each checked slice; -1 once the program has ended.
    QTest::addColumn<QList<int>>("stops");

    QTest::newRow("a breakpoint stops each time its line comes round") << QList<int> { 5 } << 0
                                                                        << QList<int> { 5, 5, 5, 5, -1 };
    QTest::newRow("a breakpoint on a label stops at the instruction after it")
        << QList<int> { 4 } << 0 << QList<int> { 5, 5, 5, 5, -1 };
    QTest::newRow("a breakpoint on a procedure header stops at its first instruction")
        << QList<int> { 8 } << 0 << QList<int> { 9, 9, 9, 9, -1 };
    QTest::newRow("a breakpoint past the last line never stops") << QList<int> { 12 } << 0 << QList<int> { -1 };
    QTest::newRow("the instruction a slice starts with always executes")
        << QList<int> { 1 } << 0 << QList<int> { -1 };
    QTest::newRow("depth one steps over the calls") << QList<int>() << 1
                                                    << QList<int> { 3, 5, 6, 5, 6, 5, 6, 5, 6, 7, -1 };
    QTest::newRow("depth two steps into them")
        << QList<int>() << 2
        << QList<int> { 3, 5, 9, 10, 11, 6, 5, 9, 10, 11, 6, 5, 9, 10, 11, 6, 5, 9, 10, 11, 6, 7, -1 };
    QTest::newRow("a breakpoint inside a call stepped over still stops")
        << QList<int> { 10 } << 1 << QList<int> { 3, 5, 10, 6, 5, 10, 6, 5, 10, 6, 5, 10, 6, 7, -1 };
}

void TestInterpreter::checkedAdvanceStops()
{
    QFETCH(QList<int>, breakpoints);
    QFETCH(int, depth);
    QFETCH(QList<int>, stops);

    for (const bool plain : { false, true }) {
        Interpreter interpreter;
        interpreter.setPlainExecution(plain);
        QVERIFY(interpreter.compile(script(SquareByProcedure)));
        interpreter.setBreakpoints(std::vector<int>(breakpoints.begin(), breakpoints.end()));
        QList<int> lines;
        bool goesOn = true;
        while (goesOn && lines.size() <= stops.size()) {
            goesOn = interpreter.advanceChecked(1000, depth);
            lines << interpreter.currentLine();
            // What the run session and the history ask to tell a stop from a spent budget.
            QVERIFY(!goesOn || interpreter.stopsBefore(depth));
        }
        QCOMPARE(lines, stops);
    }
}

void TestInterpreter::interruptPausedRun()
{
    Interpreter interpreter;
    interpreter.compile(script(EndlessLoop));
    QVERIFY(interpreter.advance(10));
    QCOMPARE(interpreter.currentLine(), 3);
    QVERIFY(interpreter.interrupt());
    QCOMPARE(messageList(interpreter), QStringList { "240@3" });
    QCOMPARE(interpreter.currentLine(), -1);
    QCOMPARE(value(interpreter, "AX"), 5);
    QVERIFY(!interpreter.interrupt());
    QCOMPARE(interpreter.messages().size(), std::size_t(1));
}

void TestInterpreter::interruptIdleDoesNothing()
{
    Interpreter interpreter;
    interpreter.compile(script(SquareByProcedure));
    QVERIFY(!interpreter.interrupt());
    interpreter.runToEnd();
    QVERIFY(!interpreter.interrupt());
    QCOMPARE(messageList(interpreter), QStringList());
}

QTEST_GUILESS_MAIN(TestInterpreter)
#include "tst_interpreter.moc"
