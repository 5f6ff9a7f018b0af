#include "runner.h"

#include "frontend/interpreter.h"
#include "system/outputfile.h"
#include "render/imageexport.h"
#include "render/penoptions.h"
#include "render/vectorexport.h"
#include "render/turtlerenderer.h"
#include "turtle/walkingturtle.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSize>
#include <QTextStream>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace {

enum ExitStatus {
    Success = 0,
    ScriptFailed = 1,
    CannotProceed = 2,
};

// Ends the program with status 2: a wrong command line, or a file that cannot
// be read or written.
struct Failure {
    QString message;
    bool showUsageHint;
};

struct Options {
    QString script;
    QString resPath;
    QString tracePath;
    QString stepsPath;
    qint64 maxSteps = -1;
    QString language;
    bool json = false;
    QString imagePath;
    // The render dialogue's defaults.
    QSize imageSize { 800, 600 };
    bool showTurtle = true;
    QPen pen = TurtleRenderer::defaultPen();
};

constexpr qint64 DefaultLoggedSteps = 1000000;

// KORVANE_RUN_LOGGED_STEPS sets another default, so that a test of the default
// need not log a million steps.
qint64 defaultLoggedSteps()
{
    bool isNumber = false;
    const qint64 steps = qEnvironmentVariable("KORVANE_RUN_LOGGED_STEPS").toLongLong(&isNumber, 10);
    return isNumber && steps >= 0 ? steps : DefaultLoggedSteps;
}

// The render dialogue offers 1 to 2^20 pixels on each side.
constexpr int MaxImageSide = 1048576;

QSize parseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts.size() == 2 ? parts.at(0).toInt(&widthOk, 10) : 0;
    const int height = parts.size() == 2 ? parts.at(1).toInt(&heightOk, 10) : 0;
    if (!widthOk || !heightOk || width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide) {
        throw Failure { QStringLiteral("--size needs WIDTHxHEIGHT in pixels, each from 1 to %1, not \"%2\".")
                            .arg(MaxImageSide)
                            .arg(text),
            true };
    }
    return QSize(width, height);
}

// Where the run prints: standard output and error in the program, scratch
// files when fuzzed.
RunnerStreams streams;

void printError(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), streams.err);
    std::fputc('\n', streams.err);
}

void printOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), streams.out);
}

// Returns false when the program must stop at once with status 0 (help, version).
bool parseCommandLine(const QStringList& arguments, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Analyses and runs SCRIPT as the IDE's Run does, on a fresh turtle, with no window.\n"
        "Diagnostics go to standard error as SCRIPT:LINE: TEXT.\n"
        "Exit status: 0 success, 1 the analysis failed or an error ended the run,\n"
        "2 wrong command line, a file that cannot be read or written, or an output\n"
        "that would overwrite an input or another output (checked before the run).\n"
        "An existing output that is a device or a pipe is written in place; any other\n"
        "is replaced only once the whole new file is written."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SCRIPT"), QStringLiteral("The script (.tur) to run."));

    const QCommandLineOption resOption(QStringLiteral("res"),
        QStringLiteral("Write the trace to FILE (a .res trace file) after the run; - writes it to the standard "
                       "output."),
        QStringLiteral("FILE"));
    const QCommandLineOption traceOption(QStringLiteral("trace"),
        QStringLiteral("Start from the trace in FILE, loaded as Open Image does."), QStringLiteral("FILE"));
    const QCommandLineOption maxStepsOption(QStringLiteral("max-steps"),
        QStringLiteral("Execute at most N instructions (default: no limit, 1000000 with --steps)."),
        QStringLiteral("N"));
    const QCommandLineOption stepsOption(QStringLiteral("steps"),
        QStringLiteral("Write one JSON object a line to FILE for every instruction executed: its step, line, the "
                       "debugger's values and the turtle after it; - writes them to the standard output."),
        QStringLiteral("FILE"));
    const QCommandLineOption langOption(QStringLiteral("lang"),
        QStringLiteral("Language of the messages, such as fr or en (default: the system locale)."),
        QStringLiteral("CODE"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
        QStringLiteral("Print a JSON report of the run on standard output."));
    const QCommandLineOption imageOption(QStringLiteral("image"),
        QStringLiteral("Export the drawing after the run as an image, PNG, JPEG or SVG by the suffix of FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
        QStringLiteral("Size of the exported image in pixels (default: 800x600)."), QStringLiteral("WxH"));
    const QCommandLineOption noTurtleOption(QStringLiteral("no-turtle"),
        QStringLiteral("Leave the turtle out of the exported image."));
    parser.addOptions({ resOption, traceOption, maxStepsOption, stepsOption, langOption, jsonOption, imageOption,
        sizeOption, noTurtleOption });
    // The pen of the output area, for --image.
    const QCommandLineOption penOptions[] = {
        { QStringLiteral("pen-width"), QStringLiteral("Pen width, 0 to 30 (default: 0, one pixel)."),
            QStringLiteral("N") },
        { QStringLiteral("pen-color"), QStringLiteral("Pen colour (default: #000000)."), QStringLiteral("#RRGGBB") },
        { QStringLiteral("cap"), QStringLiteral("Pen cap: flat, square or round (default: square)."),
            QStringLiteral("STYLE") },
        { QStringLiteral("join"), QStringLiteral("Pen join: miter, bevel or round (default: bevel)."),
            QStringLiteral("STYLE") },
        { QStringLiteral("dash"),
            QStringLiteral("Pen dash: solid, dash, dot, dashdot or dashdotdot (default: solid)."),
            QStringLiteral("STYLE") },
    };
    for (const QCommandLineOption& option : penOptions) {
        parser.addOption(option);
    }

    if (!parser.parse(arguments)) {
        throw Failure { parser.errorText(), true };
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        printOut(parser.helpText().toLocal8Bit());
        return false;
    }
    if (parser.isSet(versionOption)) {
        printOut(QStringLiteral("%1 %2\n")
                     .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())
                     .toLocal8Bit());
        return false;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        throw Failure { QStringLiteral("Missing SCRIPT."), true };
    }
    if (positional.size() > 1) {
        throw Failure { QStringLiteral("Only one SCRIPT can be run, got: %1.")
                            .arg(positional.join(QLatin1String(", "))),
            true };
    }
    options.script = positional.first();

    options.resPath = parser.value(resOption);
    options.tracePath = parser.value(traceOption);
    if (parser.isSet(resOption) && options.resPath.isEmpty()) {
        throw Failure { QStringLiteral("--res needs a file name."), true };
    }
    if (parser.isSet(traceOption) && options.tracePath.isEmpty()) {
        throw Failure { QStringLiteral("--trace needs a file name."), true };
    }
    options.stepsPath = parser.value(stepsOption);
    if (parser.isSet(stepsOption) && options.stepsPath.isEmpty()) {
        throw Failure { QStringLiteral("--steps needs a file name."), true };
    }
    if (parser.isSet(maxStepsOption)) {
        bool isNumber = false;
        options.maxSteps = parser.value(maxStepsOption).toLongLong(&isNumber, 10);
        if (!isNumber || options.maxSteps < 0) {
            throw Failure {
                QStringLiteral("--max-steps needs a whole number of 0 or more, not \"%1\".")
                    .arg(parser.value(maxStepsOption)),
                true
            };
        }
    }
    // A step log is about 200 bytes a step: a script that never ends must not fill the disk.
    if (!options.stepsPath.isEmpty() && !parser.isSet(maxStepsOption)) {
        options.maxSteps = defaultLoggedSteps();
    }
    options.language = parser.isSet(langOption)
        ? parser.value(langOption)
        : QLocale::system().name().section(QLatin1Char('_'), 0, 0);
    options.json = parser.isSet(jsonOption);

    options.imagePath = parser.value(imageOption);
    if (parser.isSet(imageOption) && options.imagePath.isEmpty()) {
        throw Failure { QStringLiteral("--image needs a file name."), true };
    }
    if (parser.isSet(sizeOption)) {
        options.imageSize = parseSize(parser.value(sizeOption));
    }
    options.showTurtle = !parser.isSet(noTurtleOption);
    if (options.imagePath.isEmpty() && (parser.isSet(sizeOption) || parser.isSet(noTurtleOption))) {
        throw Failure { QStringLiteral("--size and --no-turtle go with --image."), true };
    }
    bool penGiven = false;
    for (const QCommandLineOption& option : penOptions) {
        penGiven = penGiven || parser.isSet(option);
    }
    if (penGiven && options.imagePath.isEmpty()) {
        throw Failure { QStringLiteral("The pen options go with --image."), true };
    }
    const PenOptions pen { parser.value(penOptions[0]), parser.value(penOptions[1]), parser.value(penOptions[2]),
        parser.value(penOptions[3]), parser.value(penOptions[4]) };
    QString penError;
    if (!pen.toPen(&options.pen, &penError)) {
        throw Failure { penError, true };
    }
    if (!options.imagePath.isEmpty() && !isSvgFileName(options.imagePath)
        && !isImageFileNameWritable(options.imagePath)) {
        throw Failure { QStringLiteral("Cannot export to %1: its suffix names no image format that can be "
                                       "written (use .png, .jpg, .jpeg or .svg).")
                            .arg(options.imagePath),
            true };
    }
    return true;
}

// Scripts and traces are text in the locale's encoding, read in text mode, as
// the IDE reads them.
QString readTextFile(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        throw Failure { QStringLiteral("Cannot read %1: it is a directory.").arg(path), false };
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw Failure { QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()), false };
    }
    QTextStream in(&file);
    QString text = in.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure { QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()), false };
    }
    return text;
}

QString readScript(const QString& path)
{
    QString text = readTextFile(path);
    // Text never holds NUL: such a file is binary, and its analysis would only
    // bury the user under one diagnostic per line.
    if (text.contains(QChar(0))) {
        throw Failure { QStringLiteral("Cannot run %1: it is not a text file.").arg(path), false };
    }
    return text;
}

// Read a piece at a time: the text after a point's numbers may be of any length.
WalkingTurtle loadTrace(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        throw Failure { QStringLiteral("Cannot read %1: it is a directory.").arg(path), false };
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure { QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()), false };
    }
    qint64 unreadLines = 0;
    try {
        WalkingTurtle turtle = WalkingTurtle::readTrace(file, &unreadLines);
        if (unreadLines > 0) {
            printError(QStringLiteral("korvane-run: Warning: %1: the trace ends at an empty line; lines left unread "
                                      "after it: %2.")
                           .arg(path, QString::number(unreadLines)));
        }
        return turtle;
    } catch (const std::invalid_argument& error) {
        throw Failure { QStringLiteral("Cannot load the trace %1: %2").arg(path, QString::fromUtf8(error.what())),
            false };
    } catch (const std::runtime_error&) {
        throw Failure { QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()), false };
    }
}

std::unique_ptr<Interpreter> createInterpreter()
{
    const QString path = Interpreter::defaultCataloguePath();
    try {
        return std::make_unique<Interpreter>(path);
    } catch (const std::runtime_error& error) {
        throw Failure { QStringLiteral("%1 (%2)").arg(QString::fromUtf8(error.what()), path), false };
    }
}

void writeTrace(const QString& path, const WalkingTurtle& turtle)
{
    OutputFile file(path);
    std::fflush(streams.out);
    file.setStandardOutputDescriptor(fileno(streams.out));
    const std::string text = turtle.toString();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !file.commit()) {
        throw Failure { QStringLiteral("Cannot write %1: %2.").arg(path, file.errorString()), false };
    }
}

// What a path names: its device and inode when it exists, so that links
// count, else its absolute path.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    QString absolutePath;
    bool discards = false;

    bool operator==(const FileIdentity& other) const
    {
        return exists == other.exists
            && (exists ? device == other.device && inode == other.inode : absolutePath == other.absolutePath);
    }
};

FileIdentity identify(const QString& path)
{
    FileIdentity identity;
    struct stat status;
    const bool standardOutput = OutputFile::isStandardOutput(path);
    if (standardOutput ? ::fstat(fileno(streams.out), &status) == 0
                       : ::stat(QFile::encodeName(path).constData(), &status) == 0) {
        identity.exists = true;
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        struct stat null;
        identity.discards
            = S_ISCHR(status.st_mode) && ::stat("/dev/null", &null) == 0 && null.st_rdev == status.st_rdev;
    } else {
        const QFileInfo info(path);
        identity.absolutePath = QFileInfo(info.absolutePath()).canonicalFilePath() + QLatin1Char('/') + info.fileName();
    }
    return identity;
}

struct NamedFile {
    QString label;
    QString path;
};

QString outputLabel(const QString& option, const QString& path)
{
    return OutputFile::isStandardOutput(path) ? QStringLiteral("%1 (the standard output)").arg(option)
                                             : QStringLiteral("%1 %2").arg(option, path);
}

// Refused before the run: no output may replace an input or another output.
// Writing twice to the null device loses nothing.
void checkOutputs(const Options& options)
{
    QList<NamedFile> inputs { { QStringLiteral("the script %1").arg(options.script), options.script } };
    if (!options.tracePath.isEmpty()) {
        inputs.append({ QStringLiteral("the trace %1").arg(options.tracePath), options.tracePath });
    }
    QList<NamedFile> outputs;
    if (options.json) {
        outputs.append({ QStringLiteral("--json (the standard output)"), QStringLiteral("-") });
    }
    if (!options.resPath.isEmpty()) {
        outputs.append({ outputLabel(QStringLiteral("--res"), options.resPath), options.resPath });
    }
    if (!options.stepsPath.isEmpty()) {
        outputs.append({ outputLabel(QStringLiteral("--steps"), options.stepsPath), options.stepsPath });
    }
    if (!options.imagePath.isEmpty()) {
        outputs.append({ outputLabel(QStringLiteral("--image"), options.imagePath), options.imagePath });
    }

    for (int i = 0; i < outputs.size(); ++i) {
        const FileIdentity output = identify(outputs.at(i).path);
        for (const NamedFile& input : inputs) {
            if (output.exists && identify(input.path) == output) {
                throw Failure {
                    QStringLiteral("%1 would overwrite %2.").arg(outputs.at(i).label, input.label), false
                };
            }
        }
        for (int j = i + 1; j < outputs.size(); ++j) {
            if (!output.discards && identify(outputs.at(j).path) == output) {
                throw Failure { QStringLiteral("%1 and %2 name the same file: one would overwrite the other.")
                                    .arg(outputs.at(i).label, outputs.at(j).label),
                    false };
            }
        }
    }
}

// Every file the run produces; each is complete or absent.
void writeOutputs(const Options& options, const WalkingTurtle& turtle)
{
    if (!options.resPath.isEmpty()) {
        writeTrace(options.resPath, turtle);
    }
    if (!options.imagePath.isEmpty()) {
        const ImageExportResult result = isSvgFileName(options.imagePath)
            ? exportSvg(options.imagePath, options.imageSize, &turtle, options.pen, options.showTurtle)
            : exportImage(options.imagePath, options.imageSize, &turtle, options.pen, options.showTurtle);
        if (!result.written) {
            throw Failure { result.reason, false };
        }
    }
}

QByteArray jsonString(const QString& text)
{
    QByteArray out("\"");
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

// The shortest text that reads back to the same double, always with a
// fraction or an exponent so that readers see a float.
QByteArray jsonDouble(double value)
{
    if (!std::isfinite(value)) {
        return "null";
    }
    QByteArray text = QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains('.') && !text.contains('e')) {
        text += ".0";
    }
    return text;
}

QByteArray jsonDebugValues(const DebugValueList& values)
{
    QByteArray out("[");
    bool first = true;
    for (const auto& value : values) {
        out += first ? "" : ", ";
        first = false;
        out += '[' + jsonString(value.first) + ", " + QByteArray::number(value.second) + ']';
    }
    out += ']';
    return out;
}

QByteArray jsonTurtle(const WalkingTurtle& turtle)
{
    return "{\"x\": " + jsonDouble(turtle.exactX()) + ", \"y\": " + jsonDouble(turtle.exactY())
        + ", \"angle\": " + jsonDouble(turtle.angle()) + ", \"writing\": " + (turtle.isWriting() ? "true" : "false")
        + '}';
}

QByteArray jsonReport(bool analysed, Interpreter& interpreter, const WalkingTurtle& turtle)
{
    QByteArray out("{\"analysis\": ");
    out += analysed ? "true" : "false";

    out += ", \"messages\": [";
    bool first = true;
    for (const Message& message : interpreter.messages()) {
        out += first ? "" : ", ";
        first = false;
        out += "{\"code\": " + QByteArray::number(message.code()) + ", \"line\": "
            + QByteArray::number(message.line()) + ", \"text\": " + jsonString(message.text()) + '}';
    }
    out += ']';

    out += ", \"steps\": " + QByteArray::number(interpreter.executedSteps());

    VirtualMachine& machine = *interpreter.virtualMachine();
    out += ", \"registers\": {";
    first = true;
    for (const auto& entry : machine.registers()) {
        out += first ? "" : ", ";
        first = false;
        out += jsonString(entry.first) + ": " + QByteArray::number(machine.*(entry.second));
    }
    out += '}';

    out += ", \"debugValues\": " + jsonDebugValues(interpreter.debugValues());
    out += ", \"turtle\": " + jsonTurtle(turtle);

    out += ", \"traceLength\": " + QByteArray::number(static_cast<qulonglong>(turtle.trace().size()));
    out += "}\n";
    return out;
}

// As runToEnd(maxSteps), writing a line for every instruction executed,
// the failing one included.
void runLoggingSteps(const Options& options, Interpreter& interpreter, const WalkingTurtle& turtle)
{
    OutputFile file(options.stepsPath);
    std::fflush(streams.out);
    file.setStandardOutputDescriptor(fileno(streams.out));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        throw Failure { QStringLiteral("Cannot write %1: %2.").arg(options.stepsPath, file.errorString()), false };
    }
    const Interpreter::Program& program = interpreter.program();
    QByteArray rows;
    auto flush = [&]() {
        file.write(rows);
        rows.clear();
    };
    qint64 step = 0;
    for (bool goesOn = !program.empty(); goesOn;) {
        if (step == options.maxSteps) {
            // Stopped as runToEnd stops: code 240 at the next instruction's line.
            if (step == 0) {
                interpreter.runToEnd(0);
            } else {
                interpreter.interrupt();
            }
            break;
        }
        // The instruction this step executes; -1 before the first step finds the first one.
        const int line = program.lower_bound(interpreter.currentLine())->first;
        goesOn = interpreter.step();
        ++step;
        rows += "{\"step\": " + QByteArray::number(step) + ", \"line\": " + QByteArray::number(line)
            + ", \"debugValues\": " + jsonDebugValues(interpreter.debugValues())
            + ", \"turtle\": " + jsonTurtle(turtle)
            + ", \"traceLength\": " + QByteArray::number(static_cast<qulonglong>(turtle.trace().size())) + "}\n";
        if (rows.size() > (1 << 16)) {
            flush();
        }
    }
    if (program.empty()) {
        // As a run to the end: nothing executes, the machine is reset.
        interpreter.runToEnd(options.maxSteps);
    }
    flush();
    if (!file.commit()) {
        throw Failure { QStringLiteral("Cannot write %1: %2.").arg(options.stepsPath, file.errorString()), false };
    }
}

int run(const QStringList& arguments)
{
    Options options;
    if (!parseCommandLine(arguments, options)) {
        return Success;
    }

    checkOutputs(options);
    QString script = readScript(options.script);
    WalkingTurtle turtle = options.tracePath.isEmpty() ? WalkingTurtle() : loadTrace(options.tracePath);
    const std::unique_ptr<Interpreter> interpreter = createInterpreter();
    interpreter->setLanguage(options.language);
    interpreter->setWalkingTurtle(&turtle);

    const bool analysed = interpreter->compile(script);
    // The program holds all the run needs: the text goes before the run grows.
    script = QString();
    const std::size_t analysisMessages = interpreter->messages().size();
    if (options.stepsPath.isEmpty()) {
        interpreter->runToEnd(options.maxSteps);
    } else {
        runLoggingSteps(options, *interpreter, turtle);
    }
    // A run appends at most one message: the code that ended it.
    const bool runFailed = interpreter->messages().size() != analysisMessages;

    for (const Message& message : interpreter->messages()) {
        if (message.line() == -1) {
            printError(QStringLiteral("%1: %2").arg(options.script, message.text()));
        } else {
            // One arg() call: a path holding %1 or %L2 must come out as given.
            printError(QStringLiteral("%1:%2: %3").arg(options.script, QString::number(message.line()), message.text()));
        }
    }

    writeOutputs(options, turtle);

    if (options.json) {
        printOut(jsonReport(analysed, *interpreter, turtle));
    }
    return analysed && !runFailed ? Success : ScriptFailed;
}

} // namespace

int runKorvane(const QStringList& arguments, const RunnerStreams& io)
{
    streams = io;
    try {
        const int status = run(arguments);
        // A report lost on a full disk or a closed pipe is no success.
        errno = 0;
        if (std::fflush(streams.out) != 0 || std::ferror(streams.out)) {
            throw Failure { QStringLiteral("Cannot write the standard output: %1.")
                                .arg(QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO))),
                false };
        }
        return status;
    } catch (const Failure& failure) {
        printError(QStringLiteral("korvane-run: %1").arg(failure.message));
        if (failure.showUsageHint) {
            printError(QStringLiteral("Try 'korvane-run --help' for more information."));
        }
        return CannotProceed;
    } catch (const std::bad_alloc&) {
        // A script can grow its stacks without bound when no step limit is set.
        printError(QStringLiteral("korvane-run: Out of memory."));
        return CannotProceed;
    }
}
