#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// A script file's bytes as the text the editor and the analysis see, with
// what it takes to write the same bytes back: UTF-8 with or without a byte
// order mark, UTF-16 with one, or, when the bytes are not valid UTF-8,
// Latin-1, which holds any byte; and CR LF or LF line ends. In the text every
// line ends with a plain line feed. A file that holds a NUL character is not
// text and is refused: its analysis would only bury the user under one
// diagnostic per line.
class TextFile
{
    Q_DECLARE_TR_FUNCTIONS(TextFile)

public:
    enum Encoding { Utf8, Utf8WithMark, Utf16LittleEndian, Utf16BigEndian, Latin1 };

    struct Format
    {
        Encoding encoding = Utf8;
        bool crlf = false;

        bool operator==(const Format& other) const { return encoding == other.encoding && crlf == other.crlf; }
        bool operator!=(const Format& other) const { return !(*this == other); }
    };

    // What may be read: the window takes regular files only, and refuses a
    // device or a FIFO before reading it, so that /dev/zero or a FIFO without
    // a writer cannot freeze it; a command-line tool reads from pipes as well.
    enum Sources { RegularFiles, AnyFile };

    // The whole content of path. On failure, error is the message to show,
    // naming the path and the reason.
    static bool readBytes(const QString& path, Sources sources, QByteArray& bytes, QString& error);
    // readBytes, then decode; bytes, when given, receives what was on disk.
    static bool read(const QString& path, Sources sources, QString& text, Format& format, QString& error,
                     QByteArray* bytes = nullptr);

    // False when the bytes are not text.
    static bool decode(const QByteArray& bytes, QString& text, Format& format);
    // Every character of text must be one the encoding holds (see firstUnencodable).
    static QByteArray encode(const QString& text, const Format& format);
    // The position of the first character of text that the encoding cannot
    // hold, or -1 when it holds them all.
    static int firstUnencodable(const QString& text, Encoding encoding);

    static QString encodingName(Encoding encoding);
    // The encoding and the line ends as the user sees them: "Latin-1, CRLF".
    static QString describe(const Format& format);
};
