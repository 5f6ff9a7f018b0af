// Any bytes as a messages catalogue: the input, split at its first two NUL
// bytes, is the base file, the "xx" language file and the "xx_YY" one. Every
// message shows a text, whatever the files hold.

#include "frontend/message.h"
#include "frontend/messagecatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

void showEveryMessage(const MessageCatalogue& catalogue)
{
    static const int Codes[] = { 100, 101, 102, 103, 104, 105, 106, 200, 201, 202, 203, 204, 210, 211, 220, 230,
        240, 290, 900, 0, -1, 2147483647 };
    for (const int code : Codes) {
        for (const int line : { -1, 7 }) {
            // Line numbers hold no '$', so no marker survives the replacement.
            const QString text = Message(&catalogue, code, line).text();
            if (catalogue.contains(code) && text.contains(QLatin1String("$L"))) {
                std::fprintf(stderr, "a line marker was left in \"%s\"\n", qPrintable(text));
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir directory;
    static const QString base = directory.filePath(QStringLiteral("messages.mes"));

    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const QList<QByteArray> parts = input.split('\0');
    writeFile(base, parts.value(0));
    writeFile(directory.filePath(QStringLiteral("messages-xx.mes")), parts.value(1));
    if (parts.size() > 2) {
        writeFile(directory.filePath(QStringLiteral("messages-xx_YY.mes")), parts.value(2));
    } else {
        QFile::remove(directory.filePath(QStringLiteral("messages-xx_YY.mes")));
    }

    MessageCatalogue catalogue(base);
    showEveryMessage(catalogue);
    catalogue.setLanguage(QStringLiteral("xx_YY"));
    showEveryMessage(catalogue);
    catalogue.setLanguage(QString());
    showEveryMessage(catalogue);
    return 0;
}
