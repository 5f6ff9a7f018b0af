#include "engine.h"

#include <QImage>
#include <QXmlStreamReader>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runner(const QStringList& arguments, const QString& workingDirectory = QString(),
    const QString& program = QStringLiteral(KORVANE_RUN), const QProcessEnvironment& environment = {})
{
    QProcess process;
    if (!environment.isEmpty()) {
        process.setProcessEnvironment(environment);
    }
    if (!workingDirectory.isEmpty()) {
        process.setWorkingDirectory(workingDirectory);
    }
    process.start(program, arguments);
    Result result;
    // No deadline: a slow or sanitized build takes its time, and CTest's
    // timeout ends a runner that hangs.
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray SquareScript("Tur=Asm\nwrite: Y;\nCX: 4;\ndefine: side;\nmove: 100;\nleft: 90;\nloop: side;\nend;\n");
const QByteArray Trace("Tur=Res\nN 1 2\nY 3 4\n");

bool isLinkToDevice(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() && !info.isFile() && QFileInfo(info.symLinkTarget()).exists();
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The runner through a shell, for what QProcess cannot set up: limits,
// closed descriptors, names that are not valid text.
Result shell(const QString& command, const QStringList& arguments, const QString& workingDirectory,
    const QProcessEnvironment& environment = {})
{
    return runner(QStringList { "-c", command, KORVANE_RUN } + arguments, workingDirectory, "/bin/sh", environment);
}

// The runner with its standard output on a pipe whose reader has already
// gone; the exit status, -1 when a signal ended it.
int runWithReaderGone(const QStringList& arguments, QByteArray* err)
{
    int out[2];
    int errors[2];
    if (::pipe(out) != 0 || ::pipe(errors) != 0) {
        return -2;
    }
    ::close(out[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, errors[0]);
    QList<QByteArray> bytes { QByteArray(KORVANE_RUN) };
    for (const QString& argument : arguments) {
        bytes.append(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& argument : bytes) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, KORVANE_RUN, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(errors[1]);
    if (spawned != 0) {
        ::close(errors[0]);
        return -2;
    }
    char buffer[4096];
    for (ssize_t count; (count = ::read(errors[0], buffer, sizeof buffer)) > 0;) {
        err->append(buffer, int(count));
    }
    ::close(errors[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Set in a child of the test that runs the runner and reports its peak.
const char PeakChildVariable[] = "KORVANE_RUN_TEST_PEAK_OF";

} // namespace

class TestKorvaneRun : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void commandLine_data();
    void commandLine();

    void diagnosticsAndStatus_data();
    void diagnosticsAndStatus();

    void jsonReport();
    void jsonReportOfAFailedRun();
    void frenchMessages();
    void stepLimit();
    void stepLog();
    void traceIsWrittenEvenWhenTheAnalysisFails();
    void traceStartsFromLoadedFile();
    void windowsLineEndsAreRead();
    void encodingsAreRead_data();
    void encodingsAreRead();
    void resNamingAFolder();
    void reportOnAFullDevice();
    void aFullDiskKeepsTheOldTrace();
    void aLockedFolderIsWrittenInPlace();
    void unreadableCatalogue();
    void worksFromAnyFolder();
    void imageExport_data();
    void imageExport();
    void outputsAreCheckedBeforeTheRun_data();
    void outputsAreCheckedBeforeTheRun();
    void aStepLogThatCannotBeWrittenEndsTheRun();
    void aReaderThatLeavesIsAnError();
    void svgTitle_data();
    void svgTitle();
    void namesThatAreNotText();
    void runawayMemoryIsStopped_data();
    void runawayMemoryIsStopped();

    void examples_data();
    void examples();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void TestKorvaneRun::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeFile(path("square.tur"), SquareScript);
    QVERIFY(QFile::link("square.tur", path("link.tur")));
    QVERIFY(::link(QFile::encodeName(path("square.tur")).constData(), QFile::encodeName(path("hard.tur")).constData())
        == 0);
    QVERIFY(QFile::link("/dev/null", path("null.res")));
    QVERIFY(QFile::link("/dev/full", path("full.png")));
    writeFile(path("bad.tur"), "Tur=Asm\nmove: 5\n");
    // A trace of 272 kB.
    writeFile(path("long.tur"),
        "Tur=Asm\nwrite: Y;\nCX: 20000;\ndefine: side;\nmove: 7;\nright: 91;\nloop: side;\nend;\n");
    static const char binary[] = "\x7f" "ELF\x02\x01\x01\0\0\0\0\n\x03\0>\0\x01\0\0\0";
    writeFile(path("binary.tur"), QByteArray(binary, sizeof binary - 1));
    writeFile(path("trace.res"), Trace);
    writeFile(path("bad.res"), "Tur=Res\nY 10\n");
}

void TestKorvaneRun::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");

    QTest::newRow("version") << QStringList { "--version" } << 0 << "korvane-run 1.0.0\n" << "";
    QTest::newRow("help") << QStringList { "--help" } << 0 << "--max-steps <N>" << "";
    QTest::newRow("no script") << QStringList() << 2 << "" << "Missing SCRIPT";
    QTest::newRow("two scripts") << QStringList { "square.tur", "bad.tur" } << 2 << "" << "Only one SCRIPT";
    QTest::newRow("an unknown option") << QStringList { "--image2", "x", "square.tur" } << 2 << ""
                                       << "Unknown option 'image2'";
    QTest::newRow("an option without its value") << QStringList { "square.tur", "--res" } << 2 << "" << "res";
    QTest::newRow("a negative step limit") << QStringList { "--max-steps", "-1", "square.tur" } << 2 << ""
                                           << "--max-steps";
    QTest::newRow("a step limit that is no number") << QStringList { "--max-steps", "ten", "square.tur" } << 2 << ""
                                                    << "--max-steps";
    QTest::newRow("a missing script") << QStringList { "nowhere.tur" } << 2 << "" << "Cannot read nowhere.tur";
    QTest::newRow("a folder as script") << QStringList { "." } << 2 << "" << "directory";
    QTest::newRow("binary garbage as script") << QStringList { "binary.tur" } << 2 << "" << "not a text file";
    QTest::newRow("a missing trace") << QStringList { "--trace", "none.res", "square.tur" } << 2 << ""
                                     << "Cannot read none.res";
    QTest::newRow("a trace the reader rejects")
        << QStringList { "--trace", "bad.res", "square.tur" } << 2 << ""
        << "bad.res:2: not a trace point";
    QTest::newRow("an image with no image suffix") << QStringList { "--image", "out.txt", "square.tur" } << 2 << ""
                                                   << "suffix";
    QTest::newRow("an image in a missing folder") << QStringList { "--image", "no/such/dir/out.png", "square.tur" }
                                                  << 2 << "" << "no/such/dir/out.png";
    QTest::newRow("a size that is no size") << QStringList { "--image", "o.png", "--size", "800", "square.tur" } << 2
                                            << "" << "--size";
    QTest::newRow("a size of zero pixels") << QStringList { "--image", "o.png", "--size", "0x10", "square.tur" } << 2
                                           << "" << "--size";
    QTest::newRow("a size beyond the dialogue's limit")
        << QStringList { "--image", "o.png", "--size", "1048577x1", "square.tur" } << 2 << "" << "--size";
    QTest::newRow("an image too large for the memory")
        << QStringList { "--image", "o.png", "--size", "1048576x1048576", "square.tur" } << 2 << "" << "memory";
    QTest::newRow("a size without an image") << QStringList { "--size", "10x10", "square.tur" } << 2 << ""
                                             << "go with --image";
    QTest::newRow("a trace in a missing folder") << QStringList { "--res", "no/such/dir/out.res", "square.tur" } << 2
                                                 << "" << "Cannot write no/such/dir/out.res";

    const QString noRoom = QString::fromLocal8Bit(strerror(ENOSPC));
    QTest::newRow("a trace on a full device") << QStringList { "--res", "/dev/full", "square.tur" } << 2 << ""
                                              << "Cannot write /dev/full: " + noRoom + ".";
    QTest::newRow("an image on a full device through a link")
        << QStringList { "--image", "full.png", "square.tur" } << 2 << "" << "full.png: " + noRoom;
    QTest::newRow("a trace on the null device through a link") << QStringList { "--res", "null.res", "square.tur" }
                                                                << 0 << "" << "";
    QTest::newRow("a trace on the standard output") << QStringList { "--res", "-", "square.tur" } << 0
                                                    << "Tur=Res\nN 0 0\nY -100 0\n" << "";
    QTest::newRow("a trace over the script") << QStringList { "--res", "square.tur", "square.tur" } << 2 << ""
                                             << "--res square.tur would overwrite the script square.tur.";
    QTest::newRow("a trace over the script through a link") << QStringList { "--res", "link.tur", "square.tur" } << 2
                                                            << "" << "would overwrite the script";
    QTest::newRow("a trace over the script through a hard link")
        << QStringList { "--res", "hard.tur", "square.tur" } << 2 << "" << "would overwrite the script";
    QTest::newRow("a trace over the loaded trace")
        << QStringList { "--trace", "trace.res", "--res", "./trace.res", "square.tur" } << 2 << ""
        << "would overwrite the trace trace.res";
    QTest::newRow("an image over the trace") << QStringList { "--res", "o.png", "--image", "./o.png", "square.tur" }
                                             << 2 << "" << "name the same file";
    QTest::newRow("the report and the trace on the standard output")
        << QStringList { "--json", "--res", "-", "square.tur" } << 2 << ""
        << "--json (the standard output) and --res (the standard output)";
    QTest::newRow("the step log on the standard output") << QStringList { "--steps", "-", "square.tur" } << 0
                                                        << "{\"step\": 15, \"line\": 8, " << "";
    QTest::newRow("the report and the step log on the standard output")
        << QStringList { "--json", "--steps", "-", "square.tur" } << 2 << ""
        << "--json (the standard output) and --steps (the standard output)";
    QTest::newRow("a step log over the script") << QStringList { "--steps", "link.tur", "square.tur" } << 2 << ""
                                               << "would overwrite the script";
}

void TestKorvaneRun::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);

    const Result result = runner(arguments, m_dir->path());
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.out.contains(stdoutHas.toUtf8()), result.out.constData());
    QVERIFY2(result.err.contains(stderrHas.toUtf8()), result.err.constData());
    if (exitCode == 2) {
        QVERIFY(result.out.isEmpty());
        QVERIFY(!QFileInfo::exists(path("no/such/dir/out.res")));
        QVERIFY(!QFileInfo::exists(path("out.txt")));
        QVERIFY(!QFileInfo::exists(path("o.png")));
    }
    QCOMPARE(readAll(path("square.tur")), SquareScript);
    QCOMPARE(readAll(path("trace.res")), Trace);
    QVERIFY(isLinkToDevice(path("null.res")));
    QVERIFY(isLinkToDevice(path("full.png")));
}

void TestKorvaneRun::diagnosticsAndStatus_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("diagnostics");

    QTest::newRow("a clean run") << QByteArray("Tur=Asm\nmove: 1;\n") << 0 << QStringList();
    QTest::newRow("an empty script") << QByteArray("") << 0
                                     << QStringList { "script.tur: The script is empty: there is nothing to run." };
    QTest::newRow("a failed analysis")
        << QByteArray("Tur=Asm\nmove: 5\n") << 1
        << QStringList { "script.tur:2: Missing ';' at the end of line 2.",
               "script.tur:2: Unknown instruction at line 2: expected a command (put, move, left, ...), a register "
               "(AX, BX, CX, DX), \"define\" or \"proc\"." };
    QTest::newRow("an undefined label does not fail the analysis")
        << QByteArray("Tur=Asm\njmpax: 7;\n") << 0
        << QStringList { "script.tur:2: Undefined label at line 2: add a \"define\" line for it." };
    QTest::newRow("a run-time error") << QByteArray("Tur=Asm\n\npop: AX;\n") << 1
                                      << QStringList { "script.tur:3: \"pop\" on an empty stack at line 3." };
    QTest::newRow("end with values on the stack")
        << QByteArray("Tur=Asm\npush: 1;\nend;\n") << 1
        << QStringList { "script.tur: The program reached \"end\" with values left on the stack." };
    QTest::newRow("a missing header")
        << QByteArray("move: 1;\n") << 0
        << QStringList { "script.tur: The first line of the script must be exactly \"Tur=Asm\"." };
}

void TestKorvaneRun::diagnosticsAndStatus()
{
    QFETCH(QByteArray, script);
    QFETCH(int, exitCode);
    QFETCH(QStringList, diagnostics);

    // Every diagnostic carries the path as given, even one that looks like a placeholder.
    for (const QString& name : { QStringLiteral("script.tur"), QStringLiteral("x%1%L2 %3.tur") }) {
        writeFile(path(name), script);
        const Result result = runner({ "--lang", "en", name }, m_dir->path());
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(result.err).split('\n', Qt::SkipEmptyParts),
            diagnostics.replaceInStrings(QStringLiteral("script.tur"), name));
        QVERIFY(result.out.isEmpty());
    }
}

void TestKorvaneRun::jsonReport()
{
    const Result result = runner({ "--json", "--lang", "en", "--res", "square.res", "square.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.isEmpty());

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject report = document.object();
    QCOMPARE(report.keys(),
        (QStringList { "analysis", "debugValues", "messages", "registers", "steps", "traceLength", "turtle" }));
    QCOMPARE(report["analysis"].toBool(), true);
    QCOMPARE(report["messages"].toArray().size(), 0);
    QCOMPARE(report["steps"].toInt(), 2 + 4 * 3 + 1);
    QCOMPARE(report["registers"].toObject().keys(), (QStringList { "AX", "BX", "CX", "DX" }));
    QCOMPARE(report["registers"].toObject()["CX"].toInt(), 0);
    QCOMPARE(report["debugValues"].toArray(),
        QJsonDocument::fromJson(R"([["RI", -1], ["AX", 0], ["BX", 0], ["CX", 0], ["DX", 0], ["Stack size", 0]])")
            .array());
    QCOMPARE(report["traceLength"].toInt(), 9);

    // The doubles read back bit for bit, as the same run in this process gives them.
    Engine engine(QString::fromUtf8(readAll(path("square.tur"))));
    engine.interpreter.runToEnd();
    const WalkingTurtle& expected = engine.turtle;
    const QJsonObject turtle = report["turtle"].toObject();
    QVERIFY(sameBits(turtle["x"].toDouble(), expected.exactX()));
    QVERIFY(sameBits(turtle["y"].toDouble(), expected.exactY()));
    QVERIFY(sameBits(turtle["angle"].toDouble(), expected.angle()));
    QCOMPARE(turtle["writing"].toBool(), true);

    QCOMPARE(readAll(path("square.res")), QByteArray::fromStdString(expected.toString()));
}

void TestKorvaneRun::jsonReportOfAFailedRun()
{
    writeFile(path("fail.tur"), "Tur=Asm\nAX: 3;\npush: AX;\nCX: AX/0;\n");
    const Result result = runner({ "--json", "--lang", "en", "fail.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    const QJsonObject report = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(report["analysis"].toBool(), true);
    const QJsonArray messages = report["messages"].toArray();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].toObject()["code"].toInt(), 204);
    QCOMPARE(messages[0].toObject()["line"].toInt(), 4);
    QCOMPARE(messages[0].toObject()["text"].toString(), QStringLiteral("Division by zero at line 4."));
    QCOMPARE(report["steps"].toInt(), 3);
    QCOMPARE(report["registers"].toObject()["AX"].toInt(), 3);
    // The machine is reset after the run: the stack is empty again.
    QCOMPARE(report["debugValues"].toArray().size(), 6);

    writeFile(path("header.tur"), "move: 1;\n");
    const Result quoted = runner({ "--json", "--lang", "en", "header.tur" }, m_dir->path());
    const QJsonDocument document = QJsonDocument::fromJson(quoted.out);
    QVERIFY(document.isObject());
    QCOMPARE(document.object()["messages"].toArray()[0].toObject()["text"].toString(),
        QStringLiteral("The first line of the script must be exactly \"Tur=Asm\"."));
}

void TestKorvaneRun::frenchMessages()
{
    const Result result = runner({ "--lang", "fr", "bad.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(QString::fromUtf8(result.err).contains(QStringLiteral("bad.tur:2: Il manque le «\u00a0;\u00a0» à la fin de la ligne 2.")),
        result.err.constData());
}

void TestKorvaneRun::stepLimit()
{
    writeFile(path("endless.tur"), "Tur=Asm\ndefine: top;\nmove: 1;\njmpe: 0, 0, top;\n");
    const Result result = runner({ "--max-steps", "7", "--json", "--lang", "en", "endless.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.startsWith("endless.tur:4: "));
    const QJsonObject report = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(report["steps"].toInt(), 7);
    QCOMPARE(report["messages"].toArray()[0].toObject()["code"].toInt(), 240);

    const Result enough = runner({ "--max-steps", "15", "square.tur" }, m_dir->path());
    QCOMPARE(enough.exitCode, 0);
    const Result short_ = runner({ "--max-steps", "14", "square.tur" }, m_dir->path());
    QCOMPARE(short_.exitCode, 1);
}

void TestKorvaneRun::stepLog()
{
    // A row for every instruction, the failing one included, with the state
    // the IDE shows after it, doubles bit for bit.
    writeFile(path("fail.tur"), "Tur=Asm\nwrite: Y;\nCX: 2;\ndefine: top;\nmove: 7;\nleft: 170;\nloop: top;\n"
                                "push: 4;\nAX: CX/0;\n");
    Result result = runner({ "--steps", "steps.jsonl", "--lang", "en", "fail.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QByteArray("fail.tur:9: Division by zero at line 9.\n"));
    const QList<QByteArray> rows = readAll(path("steps.jsonl")).split('\n');
    QCOMPARE(rows.last(), QByteArray());

    Engine engine(QString::fromUtf8(readAll(path("fail.tur"))));
    Interpreter& interpreter = engine.interpreter;
    const WalkingTurtle& turtle = engine.turtle;
    const QList<int> lines { 2, 3, 5, 6, 7, 5, 6, 7, 8, 9 };
    QCOMPARE(rows.size(), lines.size() + 1);
    for (int i = 0; i < lines.size(); ++i) {
        interpreter.step();
        const QJsonObject row = QJsonDocument::fromJson(rows.at(i)).object();
        QCOMPARE(row.keys(), (QStringList { "debugValues", "line", "step", "traceLength", "turtle" }));
        QCOMPARE(row["step"].toInt(), i + 1);
        QCOMPARE(row["line"].toInt(), lines.at(i));
        QJsonArray values;
        for (const auto& value : interpreter.debugValues()) {
            values.append(QJsonArray { value.first, value.second });
        }
        QCOMPARE(row["debugValues"].toArray(), values);
        const QJsonObject state = row["turtle"].toObject();
        QVERIFY(sameBits(state["x"].toDouble(), turtle.exactX()));
        QVERIFY(sameBits(state["y"].toDouble(), turtle.exactY()));
        QVERIFY(sameBits(state["angle"].toDouble(), turtle.angle()));
        QCOMPARE(state["writing"].toBool(), turtle.isWriting());
        QCOMPARE(row["traceLength"].toInt(), int(turtle.trace().size()));
    }

    // A script that never ends stops after the default number of logged steps
    // unless told otherwise (a million; the environment lowers it here).
    writeFile(path("forever.tur"), "Tur=Asm\ndefine: again;\njmpe: 1, 1, again;\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KORVANE_RUN_LOGGED_STEPS", "1500");
    result = runner({ "--steps", "forever.jsonl", "--lang", "en", "forever.tur" }, m_dir->path(),
        QStringLiteral(KORVANE_RUN), environment);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.startsWith("forever.tur:3: "), result.err.constData());
    QFile log(path("forever.jsonl"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    qint64 count = 0;
    QByteArray last;
    while (!log.atEnd()) {
        last = log.readLine();
        ++count;
    }
    QCOMPARE(count, qint64(1500));
    QVERIFY(last.startsWith("{\"step\": 1500, \"line\": 3, "));
    result = runner({ "--steps", "forever.jsonl", "--max-steps", "5", "forever.tur" }, m_dir->path());
    QCOMPARE(readAll(path("forever.jsonl")).count('\n'), 5);
}

void TestKorvaneRun::traceIsWrittenEvenWhenTheAnalysisFails()
{
    const Result result = runner({ "--trace", "trace.res", "--res", "out.res", "bad.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(readAll(path("out.res")), QByteArray("Tur=Res\nN 1 2\nY 3 4\n"));
}

void TestKorvaneRun::traceStartsFromLoadedFile()
{
    writeFile(path("more.tur"), "Tur=Asm\nmove: 10;\n");
    const Result result = runner({ "--trace", "trace.res", "--res", "out.res", "--json", "more.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 0);
    // Loaded at (3, 4), pen down, heading pi: ten steps towards -x.
    QCOMPARE(readAll(path("out.res")), QByteArray("Tur=Res\nN 1 2\nY 3 4\nY -7 4\n"));
    const QJsonObject turtle = QJsonDocument::fromJson(result.out).object()["turtle"].toObject();
    QCOMPARE(turtle["x"].toDouble(), -7.0);
    QVERIFY(result.out.contains("\"x\": -7.0"));
}

void TestKorvaneRun::windowsLineEndsAreRead()
{
    writeFile(path("crlf.tur"), "Tur=Asm\r\nwrite: Y;\r\nmove: 5;\r\n");
    writeFile(path("crlf.res"), "Tur=Res\r\nN 1 2\r\nY 3 4\r\n");
    const Result result = runner({ "--trace", "crlf.res", "--res", "out.res", "crlf.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.isEmpty());
    QCOMPARE(readAll(path("out.res")), QByteArray("Tur=Res\nN 1 2\nY 3 4\nY -2 4\n"));
}

void TestKorvaneRun::encodingsAreRead_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");

    // Latin-1 widened to UTF-16 code units, after a byte order mark.
    const auto utf16 = [](const QByteArray& latin1, bool littleEndian) {
        QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (const char c : latin1) {
            bytes += littleEndian ? QByteArray(1, c) + '\0' : '\0' + QByteArray(1, c);
        }
        return bytes;
    };
    // The missing ';' on line 4 shows that no line end was read twice.
    const QByteArray latin1("Tur=Asm\r\n# caf\xE9\r\nwrite: Y;\r\nmove: 5\r\n");
    const QString missingSemicolon = QStringLiteral("script.tur:4: Missing ';' at the end of line 4.");
    QTest::newRow("Latin-1 with CRLF ends") << latin1 << 1 << missingSemicolon;
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBFTur=Asm\n# caf\xC3\xA9\nwrite: Y;\nmove: 5\n") << 1 << missingSemicolon;
    QTest::newRow("UTF-16 little-endian") << utf16(latin1, true) << 1 << missingSemicolon;
    QTest::newRow("UTF-16 big-endian") << utf16(latin1, false) << 1 << missingSemicolon;
    QTest::newRow("UTF-16 without a byte order mark is no text") << utf16(latin1, true).mid(2) << 2
                                                                << "script.tur: it is not a text file";
    QTest::newRow("a clean Latin-1 script runs")
        << QByteArray("Tur=Asm\r\n# \xE9t\xE9\r\nwrite: Y;\r\nmove: 5;\r\n") << 0 << "";
    QTest::newRow("a clean UTF-16 script runs") << utf16("Tur=Asm\r\n# \xE9t\xE9\r\nwrite: Y;\r\nmove: 5;\r\n", false)
                                                << 0 << "";
}

void TestKorvaneRun::encodingsAreRead()
{
    QFETCH(QByteArray, script);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);

    writeFile(path("script.tur"), script);
    const Result result = runner({ "--lang", "en", "--res", "out.res", "script.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(stderrHas.toUtf8()), result.err.constData());
    if (exitCode != 2) {
        QCOMPARE(readAll(path("out.res")), exitCode == 0 ? QByteArray("Tur=Res\nN 0 0\nY -5 0\n") : QByteArray("Tur=Res\n"));
    }
    QCOMPARE(readAll(path("script.tur")), script);
}

void TestKorvaneRun::resNamingAFolder()
{
    QVERIFY(QDir(m_dir->path()).mkdir("out"));
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const Result result = runner({ "--res", "out", "square.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.err.contains("Cannot write out"));
    // No temporary file is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

void TestKorvaneRun::reportOnAFullDevice()
{
    if (!QFileInfo::exists("/dev/full")) {
        QSKIP("no /dev/full on this system");
    }
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.setStandardOutputFile("/dev/full");
    process.start(QStringLiteral(KORVANE_RUN), { "--json", "square.tur" });
    QVERIFY(process.waitForFinished(-1));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("Cannot write the standard output"));
}

// A small file system where this machine lets us mount one, else a file size
// limit, whose signal would end the runner were it not caught.
void TestKorvaneRun::aFullDiskKeepsTheOldTrace()
{
    const QString disk = path("disk");
    QVERIFY(QDir().mkdir(disk));
    QProcess mount;
    mount.start("mount", { "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk });
    const bool mounted = mount.waitForFinished(-1) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    const auto unmount = qScopeGuard([&] {
        if (mounted) {
            QProcess::execute("umount", { disk });
        }
    });
    const QByteArray old = "Tur=Res\n" + QByteArray("Y 1 2\n").repeated(5000);
    writeFile(disk + "/old.res", old);

    const Result result = mounted
        ? runner({ "--res", "disk/old.res", "long.tur" }, m_dir->path())
        : shell("ulimit -f 16; exec \"$0\" \"$@\"", { "--res", "disk/old.res", "long.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QString::fromLocal8Bit(strerror(mounted ? ENOSPC : EFBIG)).toLocal8Bit()),
        result.err.constData());
    QCOMPARE(readAll(disk + "/old.res"), old);
    QCOMPARE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList { "old.res" });
}

// A writable file in a folder that is not: no temporary file can be renamed
// over it, so it is written in place. Root may change any folder, so the
// runner runs as nobody then.
void TestKorvaneRun::aLockedFolderIsWrittenInPlace()
{
    const QString locked = path("locked");
    QVERIFY(QDir().mkdir(locked));
    writeFile(locked + "/old.res", QByteArray(100000, 'o'));
    QVERIFY(QFile::setPermissions(locked + "/old.res", QFileDevice::Permissions(0x6666)));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755)));
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(locked, QFileDevice::Permissions(0x7755)); });

    const auto limited = [this](const QString& blocks, const QStringList& arguments) {
        const QStringList shell = QStringList { "-c", "ulimit -f " + blocks + "; exec \"$0\" \"$@\"", KORVANE_RUN }
            + arguments;
        return ::geteuid() == 0
            ? runner(QStringList { "--reuid=65534", "--regid=65534", "--clear-groups", "/bin/sh" } + shell,
                m_dir->path(), "setpriv")
            : runner(shell, m_dir->path(), "/bin/sh");
    };
    const QByteArray square = runner({ "--res", "-", "square.tur" }, m_dir->path()).out;
    Result result = limited("unlimited", { "--res", "locked/old.res", "square.tur" });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(readAll(locked + "/old.res"), square);

    result = limited("unlimited", { "--res", "locked/new.res", "square.tur" });
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(strerror(EACCES)), result.err.constData());

    result = limited("16", { "--res", "locked/old.res", "long.tur" });
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QByteArray(strerror(EFBIG)) + "; the file on disk may now be incomplete"),
        result.err.constData());
}

void TestKorvaneRun::unreadableCatalogue()
{
    // The catalogue is looked up in the working directory first; a folder in
    // its place cannot be read.
    QVERIFY(QDir(m_dir->path()).mkpath("Translations/messages/messages.mes"));
    const Result result = runner({ "square.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains("Error: Cannot load the messages file."), result.err.constData());
    QVERIFY(result.err.contains("Translations/messages/messages.mes"));
}

void TestKorvaneRun::worksFromAnyFolder()
{
    // No catalogue in the working directory: the one beside the executable is used.
    const Result result = runner({ "--lang", "en", "bad.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.contains("bad.tur:2: Missing ';' at the end of line 2."));
}

void TestKorvaneRun::imageExport_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("marker");

    QTest::newRow("a PNG of the dialogue's default size") << QStringList { "--image", "out.png" } << QSize(800, 600)
                                                          << true;
    QTest::newRow("a JPEG without the turtle")
        << QStringList { "--image", "out.jpg", "--size", "300x1000", "--no-turtle" } << QSize(300, 1000) << false;
    QTest::newRow("the smallest image") << QStringList { "--image", "out.png", "--size", "1x1" } << QSize(1, 1)
                                        << false;
}

void TestKorvaneRun::imageExport()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    QFETCH(bool, marker);
#if defined(KORVANE_SANITIZE)
    if (options.at(1).endsWith(QLatin1String(".jpg"))) {
        QSKIP("LeakSanitizer's own tracer crashes when the runner ends after a JPEG export");
    }
#endif

    const Result result = runner(options + QStringList { "square.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 0);
    const QImage image(path(options.at(1)));
    QCOMPARE(image.size(), size);
    if (size.width() < 10) {
        return;
    }
    // The square's first side runs from the centre 100 units to the left.
    const int side = qMin(size.width(), size.height());
    const QPoint centre(size.width() / 2, size.height() / 2);
    const QPoint onTheLine(centre.x() - side / 16, centre.y());
    QVERIFY(qGray(image.pixel(onTheLine)) < 128);
    QCOMPARE(image.pixel(2, 2) & 0xffffff, 0xffffffu);
    // The marker stands at the origin again after the four sides, in its teal colour.
    const QRgb atTurtle = image.pixel(centre.x() + side / 40, centre.y() + side / 80);
    QCOMPARE(qGreen(atTurtle) > qRed(atTurtle) + 60, marker);
}

void TestKorvaneRun::outputsAreCheckedBeforeTheRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    // 0: as is; 1: with the standard output closed; 2: as a user other than
    // root, whom no permission stops.
    QTest::addColumn<int>("launch");
    QTest::addColumn<QString>("stderrHas");

    const QString missing = QString::fromLocal8Bit(strerror(ENOENT));
    const QString denied = QString::fromLocal8Bit(strerror(EACCES));
    const QString closed = QStringLiteral("The standard output is closed.");
    QTest::newRow("a trace in a missing folder") << QStringList { "--res", "nodir/x.res" } << 0
                                                 << "Cannot write nodir/x.res: " + missing + ".";
    QTest::newRow("a step log naming a missing folder") << QStringList { "--steps", "d/" } << 0
                                                        << "Cannot write d/: " + missing + ".";
    QTest::newRow("an image in a missing folder") << QStringList { "--image", "nodir/x.png" } << 0
                                                  << "Cannot write nodir/x.png: " + missing + ".";
    QTest::newRow("a step log naming a folder") << QStringList { "--steps", "folder" } << 0
                                                << "Cannot write folder: " + QString::fromLocal8Bit(strerror(EISDIR));
    QTest::newRow("a trace inside a file") << QStringList { "--res", "late.tur/x.res" } << 0
                                           << "Cannot write late.tur/x.res: "
            + QString::fromLocal8Bit(strerror(ENOTDIR));
    QTest::newRow("a trace in a read-only folder") << QStringList { "--res", "locked/x.res" } << 2
                                                   << "Cannot write locked/x.res: " + denied + ".";
    QTest::newRow("an image over a read-only file") << QStringList { "--image", "ro.png" } << 2
                                                    << "Cannot write ro.png: " + denied + ".";
    QTest::newRow("the trace on a closed standard output") << QStringList { "--res", "-" } << 1
                                                           << "Cannot write --res (the standard output): " + closed;
    QTest::newRow("the step log on a closed standard output") << QStringList { "--steps", "-" } << 1
                                                              << "--steps (the standard output): " + closed;
    QTest::newRow("the report on a closed standard output") << QStringList { "--json" } << 1
                                                            << "--json (the standard output): " + closed;
}

// Refused at once, before the script is even read: a run that fails at its
// last line shows no diagnostic, and nothing is created.
void TestKorvaneRun::outputsAreCheckedBeforeTheRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, launch);
    QFETCH(QString, stderrHas);

    writeFile(path("late.tur"), "Tur=Asm\nwrite: Y;\nmove: 5;\npop: AX;\n");
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QVERIFY(QDir(m_dir->path()).mkdir("locked"));
    writeFile(path("ro.png"), "old");
    QVERIFY(QFile::setPermissions(path("ro.png"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    QVERIFY(QFile::setPermissions(path("locked"), QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755)));
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(path("locked"), QFileDevice::Permissions(0x7755)); });
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    arguments << "late.tur";
    Result result;
    if (launch == 1) {
        result = shell("exec \"$0\" \"$@\" >&-", arguments, m_dir->path());
    } else if (launch == 2 && ::geteuid() == 0) {
        result = runner(QStringList { "--reuid=65534", "--regid=65534", "--clear-groups", KORVANE_RUN } + arguments,
            m_dir->path(), "setpriv");
    } else {
        result = runner(arguments, m_dir->path());
    }
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(stderrHas.toLocal8Bit()), result.err.constData());
    QVERIFY2(!result.err.contains("late.tur:4:"), result.err.constData());
    QVERIFY(result.out.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QCOMPARE(readAll(path("ro.png")), QByteArray("old"));
}

// Under a file size limit the log fails at its first full piece: the run ends
// there, long before the script's own error, and the old log stays.
void TestKorvaneRun::aStepLogThatCannotBeWrittenEndsTheRun()
{
    writeFile(path("long-then-fail.tur"), "Tur=Asm\nCX: 5000;\ndefine: top;\nmove: 1;\nloop: top;\npop: AX;\n");
    writeFile(path("steps.jsonl"), "old log\n");
    const Result result
        = shell("ulimit -f 16; exec \"$0\" \"$@\"", { "--steps", "steps.jsonl", "long-then-fail.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 2);
    const QRegularExpression stopped(
        "Cannot write steps.jsonl: " + QString::fromLocal8Bit(strerror(EFBIG)) + "; the run was stopped after step (\\d+)\\.");
    const QRegularExpressionMatch match = stopped.match(QString::fromLocal8Bit(result.err));
    QVERIFY2(match.hasMatch(), result.err.constData());
    // The script has 10,002 steps; a log of 16 blocks holds fewer than 100.
    QVERIFY2(match.captured(1).toInt() < 1000, result.err.constData());
    QVERIFY2(!result.err.contains("long-then-fail.tur:6:"), result.err.constData());
    QCOMPARE(readAll(path("steps.jsonl")), QByteArray("old log\n"));
}

void TestKorvaneRun::aReaderThatLeavesIsAnError()
{
    QByteArray err;
    QCOMPARE(runWithReaderGone({ "--res", "-", path("long.tur") }, &err), 2);
    QVERIFY2(err.contains("Cannot write -: " + QByteArray(strerror(EPIPE)) + "."), err.constData());
    err.clear();
    QCOMPARE(runWithReaderGone({ "--json", path("square.tur") }, &err), 2);
    QVERIFY2(err.contains("Cannot write the standard output: " + QByteArray(strerror(EPIPE)) + "."), err.constData());
}

void TestKorvaneRun::svgTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");

    QTest::newRow("an ampersand") << "R&D.svg" << "R&D";
    QTest::newRow("markup and quotes") << "<b a=\"1\">'x'<.b>.svg" << "<b a=\"1\">'x'<.b>";
    QTest::newRow("a character XML cannot hold") << QString("bell\x07.svg") << QString("bell\uFFFD");
}

// Whatever the file is named, the result is XML whose title is the name.
void TestKorvaneRun::svgTitle()
{
    QFETCH(QString, name);
    QFETCH(QString, title);

    const Result result = runner({ "--image", name, "square.tur" }, m_dir->path());
    QCOMPARE(result.exitCode, 0);
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString read;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("title")) {
            read = xml.readElementText();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(read, title);
}

// A name that is not valid text is run under its exact bytes or refused,
// never taken for the name it decodes to.
void TestKorvaneRun::namesThatAreNotText()
{
    const auto create = [this](const QByteArray& name, const QByteArray& text) {
        const int file = ::open((QFile::encodeName(m_dir->path()) + '/' + name).constData(),
            O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(file >= 0);
        QCOMPARE(::write(file, text.constData(), std::size_t(text.size())), ssize_t(text.size()));
        ::close(file);
    };
    create("x\xff.tur", "Tur=Asm\nwrite: Y;\nmove: 5;\n");
    create("x\xef\xbf\xbd.tur", "Tur=Asm\nwrite: Y;\nmove: 9;\n");
    // The temporary folder cannot remove what it cannot name.
    const auto remove = qScopeGuard([this] {
        for (const char* name : { "x\xff.tur", "o\xff.res" }) {
            ::unlink((QFile::encodeName(m_dir->path()) + '/' + name).constData());
        }
    });

    Result result = shell("exec \"$0\" --res - \"$(printf 'x\\377.tur')\"", {}, m_dir->path());
    if (result.exitCode == 2) {
        QVERIFY2(result.err.contains("is not valid text"), result.err.constData());
    } else {
        QCOMPARE(result.out, QByteArray("Tur=Res\nN 0 0\nY -5 0\n"));
    }
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    result = shell("exec \"$0\" --res \"$(printf 'o\\377.res')\" square.tur", {}, m_dir->path());
    QStringList after = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (result.exitCode == 2) {
        QVERIFY2(result.err.contains("is not valid text"), result.err.constData());
        QCOMPARE(after, before);
    } else {
        QVERIFY(QFile::exists(QFile::decodeName("o\xff.res")) || after.size() == before.size() + 1);
        QVERIFY(!after.contains(QString::fromUtf8("o\xef\xbf\xbd.res")));
    }
}

void TestKorvaneRun::runawayMemoryIsStopped_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<qint64>("ceilingMb");

    const QByteArray drawing("Tur=Asm\nwrite: Y;\ndefine: a;\nmove: 1;\njmpe: 0,0,a;\n");
    QTest::newRow("an endless push loop") << QByteArray("Tur=Asm\ndefine: a;\npush: 1;\njmpe: 0,0,a;\n")
                                          << QStringList() << 100LL;
    QTest::newRow("an endless drawing loop") << drawing << QStringList() << 100LL;
    // Slower by far: a lower ceiling.
    QTest::newRow("an endless drawing loop, its steps logged")
        << drawing << QStringList { "--steps", "/dev/null", "--max-steps", "1000000000" } << 32LL;
}

// Stopped at the ceiling, with a message, the peak within a tenth of it. An
// address-space limit keeps a runner that ignores the ceiling from taking the
// machine's memory: it then fails with another message.
void TestKorvaneRun::runawayMemoryIsStopped()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers cannot start under an address-space limit, and hold memory of their own");
#endif
    QFETCH(QByteArray, script);
    QFETCH(QStringList, options);
    QFETCH(qint64, ceilingMb);
    writeFile(path("runaway.tur"), script);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KORVANE_RUN_MEMORY_LIMIT_MB", QString::number(ceilingMb));
    environment.insert(PeakChildVariable, KORVANE_RUN);
    const Result result = runner(QStringList { "-c", "ulimit -v 2000000; exec \"$0\" \"$@\"",
                                     QCoreApplication::applicationFilePath(), "runaway.tur" }
            + options,
        m_dir->path(), "/bin/sh", environment);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains("korvane-run: The script was stopped because it was taking too much memory"),
        result.err.constData());
    bool isNumber = false;
    const qint64 peakKb = result.out.trimmed().toLongLong(&isNumber);
    QVERIFY2(isNumber, result.out.constData());
    QVERIFY2(peakKb <= ceilingMb * 1024 * 11 / 10, qPrintable(QString::number(peakKb)));
}

void TestKorvaneRun::examples_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");

    const QDir examples(QStringLiteral("TurtleCodes"));
    const QDir traces(QStringLiteral("tests/engine/examples"));
    const QStringList scripts = examples.entryList({ "*.tur" }, QDir::Files, QDir::Name);
    QVERIFY(scripts.size() >= 6);
    QStringList expectedTraces;
    for (const QString& name : scripts) {
        const QString traceName = QFileInfo(name).completeBaseName() + ".res";
        expectedTraces << traceName;
        QTest::newRow(qPrintable(name)) << examples.filePath(name) << traces.filePath(traceName);
    }
    // Every checked-in trace belongs to an example.
    QCOMPARE(traces.entryList({ "*.res" }, QDir::Files, QDir::Name), expectedTraces);
}

void TestKorvaneRun::examples()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);

    const QString output = path("example.res");
    const Result result = runner({ script, "--res", output, "--json" });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    const QJsonObject report = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(report["analysis"].toBool(), true);
    QVERIFY(report["messages"].toArray().isEmpty());
    QCOMPARE(readAll(output), readAll(expected));
}

// In the child, runs the runner given with the arguments given, passes its
// standard error on and prints its peak resident memory in kilobytes.
int peakChild(const QString& program, int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        return 3;
    }
    struct rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return process.exitCode();
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString program = qEnvironmentVariable(PeakChildVariable);
    if (!program.isEmpty()) {
        return peakChild(program, argc, argv);
    }
    TestKorvaneRun test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_korvanerun.moc"
