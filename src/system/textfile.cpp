#include "textfile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Utf8Mark[] = "\xEF\xBB\xBF";

QString cannotRead(const QString& path, const QString& reason)
{
    return TextFile::tr("Cannot read %1: %2.").arg(QDir::toNativeSeparators(path), reason);
}

// Valid UTF-8 is what decodes and encodes back to the same bytes: the decoder
// replaces any invalid sequence.
bool decodeUtf8(const char* data, int size, QString& text)
{
    QString decoded = QString::fromUtf8(data, size);
    const QByteArray again = decoded.toUtf8();
    if (again.size() != size || std::memcmp(again.constData(), data, size_t(size)) != 0) {
        return false;
    }
    text = std::move(decoded);
    return true;
}

// Code units as they are, unpaired surrogates included, so that they are written back the same.
QString decodeUtf16(const QByteArray& bytes, bool littleEndian)
{
    const int units = (bytes.size() - 2) / 2;
    QString text(units, Qt::Uninitialized);
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData()) + 2;
    for (int i = 0; i < units; ++i) {
        const uchar first = data[2 * i];
        const uchar second = data[2 * i + 1];
        text[i] = QChar(littleEndian ? ushort(first | second << 8) : ushort(first << 8 | second));
    }
    return text;
}

QByteArray encodeUtf16(const QString& text, bool littleEndian)
{
    QByteArray bytes(2 + 2 * text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    *out++ = littleEndian ? '\xFF' : '\xFE';
    *out++ = littleEndian ? '\xFE' : '\xFF';
    for (const QChar c : text) {
        const ushort unit = c.unicode();
        *out++ = char(littleEndian ? unit & 0xFF : unit >> 8);
        *out++ = char(littleEndian ? unit >> 8 : unit & 0xFF);
    }
    return bytes;
}

} // namespace

bool TextFile::readBytes(const QString& path, Sources sources, QByteArray& bytes, QString& error)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | (sources == RegularFiles ? O_NONBLOCK : 0);
    int descriptor;
    do {
        descriptor = ::open(QFile::encodeName(path).constData(), flags);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        error = cannotRead(path, qt_error_string(errno));
        return false;
    }
    // What was opened, not what the name named a moment before.
    struct stat status;
    QString refusal;
    if (::fstat(descriptor, &status) != 0) {
        refusal = cannotRead(path, qt_error_string(errno));
    } else if (S_ISDIR(status.st_mode)) {
        refusal = tr("Cannot read %1: it is a directory.").arg(QDir::toNativeSeparators(path));
    } else if (sources == RegularFiles && !S_ISREG(status.st_mode)) {
        refusal = tr("Cannot read %1: it is not a regular file but a device, a pipe or a socket.")
                      .arg(QDir::toNativeSeparators(path));
    }
    if (!refusal.isEmpty()) {
        ::close(descriptor);
        error = refusal;
        return false;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        error = cannotRead(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = cannotRead(path, file.errorString());
        bytes.clear();
        return false;
    }
    return true;
}

bool TextFile::read(const QString& path, Sources sources, QString& text, Format& format, QString& error,
                    QByteArray* bytes)
{
    QByteArray content;
    if (!readBytes(path, sources, content, error)) {
        return false;
    }
    if (!decode(content, text, format)) {
        error = tr("Cannot read %1: it is not a text file.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (bytes) {
        *bytes = std::move(content);
    }
    return true;
}

bool TextFile::decode(const QByteArray& bytes, QString& text, Format& format)
{
    format = Format();
    QString decoded;
    const int size = bytes.size();
    const bool even = size % 2 == 0;
    if (bytes.startsWith(Utf8Mark) && decodeUtf8(bytes.constData() + 3, size - 3, decoded)) {
        format.encoding = Utf8WithMark;
    } else if (even && bytes.startsWith("\xFF\xFE")) {
        format.encoding = Utf16LittleEndian;
        decoded = decodeUtf16(bytes, true);
    } else if (even && bytes.startsWith("\xFE\xFF")) {
        format.encoding = Utf16BigEndian;
        decoded = decodeUtf16(bytes, false);
    } else if (!decodeUtf8(bytes.constData(), size, decoded)) {
        format.encoding = Latin1;
        decoded = QString::fromLatin1(bytes.constData(), size);
    }
    if (decoded.contains(QChar(0))) {
        return false;
    }
    // The first line end decides how all are written; a lone carriage return
    // is dropped, as text-mode reading always did.
    const int lineFeed = decoded.indexOf(QLatin1Char('\n'));
    format.crlf = lineFeed > 0 && decoded.at(lineFeed - 1) == QLatin1Char('\r');
    decoded.remove(QLatin1Char('\r'));
    text = std::move(decoded);
    return true;
}

QByteArray TextFile::encode(const QString& text, const Format& format)
{
    QString lines = text;
    if (format.crlf) {
        lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    switch (format.encoding) {
    case Utf8WithMark:
        return QByteArray(Utf8Mark) + lines.toUtf8();
    case Utf16LittleEndian:
        return encodeUtf16(lines, true);
    case Utf16BigEndian:
        return encodeUtf16(lines, false);
    case Latin1:
        return lines.toLatin1();
    case Utf8:
        break;
    }
    return lines.toUtf8();
}

int TextFile::firstUnencodable(const QString& text, Encoding encoding)
{
    if (encoding != Latin1) {
        return -1;
    }
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() > 0xFF) {
            return i;
        }
    }
    return -1;
}

QString TextFile::encodingName(Encoding encoding)
{
    switch (encoding) {
    case Utf8WithMark:
        return tr("UTF-8 with BOM");
    case Utf16LittleEndian:
        return QStringLiteral("UTF-16 LE");
    case Utf16BigEndian:
        return QStringLiteral("UTF-16 BE");
    case Latin1:
        return QStringLiteral("Latin-1");
    case Utf8:
        break;
    }
    return QStringLiteral("UTF-8");
}

QString TextFile::describe(const Format& format)
{
    return tr("%1, %2").arg(encodingName(format.encoding), format.crlf ? QStringLiteral("CRLF") : QStringLiteral("LF"));
}
