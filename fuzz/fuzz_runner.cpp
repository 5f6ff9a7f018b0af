// The runner with random option lists over random files in a scratch folder:
// links to the script, to the null and full devices, a folder, missing
// folders. Whatever it is told, it never changes a file that is not one of its
// outputs, nor an input, leaves no temporary file behind, and every trace it
// writes reads back whole.

#include "runner.h"
#include "turtle/walkingturtle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString scratch;

[[noreturn]] void finding(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::abort();
}

// Every name in the scratch folder that a run may be given.
const char* const ScriptNames[] = { "s.tur", "l.tur", "h.tur", "t.res", "missing.tur", "d" };
const char* const TraceNames[] = { "t.res", "s.tur", "lt.res", "o.res", "missing.res" };
const char* const ResNames[] = { "o.res", "new.res", "s.tur", "l.tur", "h.tur", "t.res", "lt.res", "n.res",
    "/dev/full", "/dev/null", "-", "d", "x/y.res", "o.png", "./o.res" };
const char* const ImageNames[] = { "o.png", "new.png", "new.jpg", "f.png", "./o.png", "s.tur", "d/p.png", "o.res",
    "new.res" };

template <std::size_t N>
QString pick(FuzzedDataProvider& data, const char* const (&names)[N])
{
    return QString::fromLatin1(names[data.ConsumeIntegralInRange<std::size_t>(0, N - 1)]);
}

void writeFile(const QString& name, const std::string& bytes)
{
    QFile file(QDir(scratch).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        finding("cannot set up " + name);
    }
}

// Devices are left out: the full one reads endless zeros.
QByteArray contentOf(const QString& name)
{
    QFile file(QDir(scratch).filePath(name));
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Device and inode, or nothing when the name is missing.
QString identity(const QString& name)
{
    struct stat status;
    const QString path = name.startsWith('/') ? name : QDir(scratch).filePath(name);
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return QString();
    }
    return QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino);
}

void resetScratch(FuzzedDataProvider& data)
{
    QDir dir(scratch);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == QLatin1String("Translations")) {
            continue;
        }
        if (entry.isDir() && !entry.isSymLink()) {
            QDir(entry.filePath()).removeRecursively();
        } else {
            QFile::remove(entry.filePath());
        }
    }
    writeFile("s.tur", data.ConsumeRandomLengthString(4000));
    writeFile("t.res", data.ConsumeRandomLengthString(4000));
    writeFile("o.res", data.ConsumeRandomLengthString(200));
    writeFile("o.png", data.ConsumeRandomLengthString(200));
    dir.mkdir("d");
    const auto ok = [](bool done) {
        if (!done) {
            finding("cannot set up the links");
        }
    };
    ok(QFile::link("s.tur", dir.filePath("l.tur")));
    ok(::link(QFile::encodeName(dir.filePath("s.tur")).constData(), QFile::encodeName(dir.filePath("h.tur")).constData())
        == 0);
    ok(QFile::link("t.res", dir.filePath("lt.res")));
    ok(QFile::link("/dev/null", dir.filePath("n.res")));
    ok(QFile::link("/dev/full", dir.filePath("f.png")));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-run"));
    char pattern[] = "/tmp/fuzz_runner.XXXXXX";
    if (!::mkdtemp(pattern)) {
        finding("no scratch folder");
    }
    scratch = QString::fromLocal8Bit(pattern);
    QDir(scratch).mkpath("Translations/messages");
    QFile::link(QStringLiteral(KORVANE_CATALOGUE), QDir(scratch).filePath("Translations/messages/messages.mes"));
    if (!QDir::setCurrent(scratch)) {
        finding("cannot enter the scratch folder");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const unsigned choices = data.ConsumeIntegral<std::uint16_t>();
    const QString script = pick(data, ScriptNames);
    const QString trace = choices & 1 ? pick(data, TraceNames) : QString();
    const QString res = choices & 2 ? pick(data, ResNames) : QString();
    const QString image = choices & 4 ? pick(data, ImageNames) : QString();
    const bool json = choices & 8;
    const int width = data.ConsumeIntegralInRange(1, 64);
    const int height = data.ConsumeIntegralInRange(1, 64);
    const char* const languages[] = { "en", "fr", "xx" };

    QStringList arguments { QStringLiteral("korvane-run"), QStringLiteral("--max-steps"), QStringLiteral("5000"),
        QStringLiteral("--lang"), pick(data, languages) };
    if (!trace.isEmpty()) {
        arguments << QStringLiteral("--trace") << trace;
    }
    if (!res.isEmpty()) {
        arguments << QStringLiteral("--res") << res;
    }
    if (!image.isEmpty()) {
        arguments << QStringLiteral("--image") << image << QStringLiteral("--size")
                  << QStringLiteral("%1x%2").arg(width).arg(height);
        if (choices & 16) {
            arguments << QStringLiteral("--no-turtle");
        }
    }
    if (json) {
        arguments << QStringLiteral("--json");
    }
    arguments << script;

    resetScratch(data);
    const QStringList before = QDir(scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QMap<QString, QByteArray> contents;
    QMap<QString, QString> identities;
    for (const QString& name : before) {
        contents.insert(name, contentOf(name));
        identities.insert(name, identity(name));
    }
    QSet<QString> outputs;
    for (const QString& name : { res, image }) {
        if (!name.isEmpty() && !identity(name).isEmpty()) {
            outputs.insert(identity(name));
        }
    }
    QSet<QString> inputs { identity(script) };
    if (!trace.isEmpty()) {
        inputs.insert(identity(trace));
    }

    std::FILE* out = std::tmpfile();
    std::FILE* err = std::fopen("/dev/null", "w");
    if (!out || !err) {
        finding("no streams");
    }
    const int status = runKorvane(arguments, RunnerStreams { out, err });
    std::fclose(err);
    std::fflush(out);
    QFile report;
    report.open(out, QIODevice::ReadOnly);
    report.seek(0);
    const QByteArray printed = report.readAll();
    report.close();
    std::fclose(out);

    const QString call = arguments.join(' ');
    if (status < 0 || status > 2) {
        finding(QStringLiteral("%1: exit status %2").arg(call).arg(status));
    }
    // Nothing but the outputs changed, inputs least of all.
    for (const QString& name : before) {
        const QString id = identities.value(name);
        if ((inputs.contains(id) || !outputs.contains(id)) && contentOf(name) != contents.value(name)) {
            finding(call + ": changed " + name);
        }
    }
    // No temporary file is left behind.
    for (const QString& name : QDir(scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!before.contains(name) && name != res && name != image) {
            finding(call + ": left " + name);
        }
    }
    if (status == 2) {
        return 0;
    }
    // A written trace reads back whole: as long as the report says.
    const bool resIsFile = !res.isEmpty() && QFileInfo(res).isFile() && !QFileInfo(res).isSymLink();
    const QByteArray written = res == QLatin1String("-") ? printed : resIsFile ? contentOf(res) : QByteArray();
    if (resIsFile || res == QLatin1String("-")) {
        try {
            const WalkingTurtle readBack = WalkingTurtle::turtleFromString(written.toStdString());
            if (json && resIsFile) {
                const qint64 length = QJsonDocument::fromJson(printed).object().value("traceLength").toVariant().toLongLong();
                if (qint64(readBack.trace().size()) != length) {
                    finding(call + ": the written trace is not whole");
                }
            }
        } catch (const std::invalid_argument&) {
            finding(call + ": the written trace does not read back");
        }
    }
    if (!image.isEmpty() && QFileInfo(image).isFile() && QImageReader(image).size() != QSize(width, height)) {
        finding(call + ": the image does not read back whole");
    }
    return 0;
}
