// Any bytes as messages catalogues. The first byte picks the language asked
// for and which files are missing; the rest, split at each 0x1E byte, is the base
// file, the short-code file ("fr") and the full-code file ("fr_CA"), NUL bytes
// and all. Every text shown must be the one a plain reading of the files
// gives: the full code over the short one over the base.

#include "frontend/message.h"
#include "frontend/messagecatalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace {

const char* const Languages[] = { "xx_YY", "fr", "fr_CA", "", "en_GB", "de", "_", "fr_" };

void fail(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "%s %s\n", what, qPrintable(detail));
    std::abort();
}

void writeFile(const QString& path, const QByteArray& bytes, bool missing)
{
    QFile::remove(path);
    if (missing) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        fail("cannot write", path);
    }
}

// The texts of a file as a second, plainer reading finds them: the whole file
// decoded at once, then split into lines. Read from the file as the catalogue
// reads it, so that both decode an unfinished sequence at its end alike.
std::map<int, QString> plainReading(const QString& path, bool missing)
{
    std::map<int, QString> texts;
    if (missing) {
        return texts;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail("cannot read back", path);
    }
    const QString text = QTextStream(&file).readAll();
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1String("//"))) {
            continue;
        }
        const int separator = line.indexOf(QLatin1Char(';'));
        bool isCode = false;
        const int code = line.left(separator).toInt(&isCode, 10);
        if (isCode) {
            texts[code] = separator < 0 ? QString() : line.mid(separator + 1).trimmed();
        }
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir directory;
    if (size == 0) {
        return 0;
    }
    const unsigned flags = data[0];
    const QString language = QString::fromLatin1(Languages[flags % 8]);
    const QString shortCode = language.section(QLatin1Char('_'), 0, 0);
    const bool missing[3] = { (flags & 0x08) != 0, (flags & 0x10) != 0, (flags & 0x20) != 0 };

    const QList<QByteArray> parts
        = QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1)).split('\x1e');
    const QString base = directory.filePath(QStringLiteral("messages.mes"));
    const QString paths[3] = { base, directory.filePath(QStringLiteral("messages-%1.mes").arg(shortCode)),
        directory.filePath(QStringLiteral("messages-%1.mes").arg(language)) };
    // The short and the full code may name the same file: the full one wins.
    for (int i = 0; i < 3; ++i) {
        writeFile(paths[i], parts.value(i), missing[i]);
    }

    std::map<int, QString> expected = plainReading(paths[0], missing[0]);
    try {
        MessageCatalogue catalogue(base);
        if (missing[0]) {
            fail("a missing base file was accepted");
        }
        catalogue.setLanguage(language);
        std::map<int, QString> translated = plainReading(paths[1], missing[1] || paths[1] == paths[2]);
        for (const auto& entry : plainReading(paths[2], missing[2])) {
            translated[entry.first] = entry.second;
        }
        for (const auto& entry : translated) {
            expected[entry.first] = entry.second;
        }

        std::map<int, QString> codes = expected;
        codes.emplace(-1, QString());
        codes.emplace(240, QString());
        for (const auto& entry : codes) {
            const int code = entry.first;
            const QString shown = Message(&catalogue, code, 7).text();
            const auto found = expected.find(code);
            if (found == expected.end()) {
                if (catalogue.contains(code)) {
                    fail("a code no file holds is in the catalogue:", QString::number(code));
                }
                continue;
            }
            QString text = found->second;
            text.replace(QLatin1String("$L"), QStringLiteral("7"));
            if (shown != text) {
                fail("a text differs from the files:", shown + QStringLiteral(" | ") + text);
            }
        }
    } catch (const std::runtime_error&) {
        if (!missing[0]) {
            fail("a base file that exists was refused");
        }
    }
    return 0;
}
