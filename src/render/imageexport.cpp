#include "imageexport.h"

#include "turtlerenderer.h"

#include "system/outputfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// The texts are marked with QT_TRANSLATE_NOOP so that lupdate finds them.
QString translated(const char* text)
{
    return QCoreApplication::translate("ImageExport", text);
}

ImageExportResult failure(const QString& reason)
{
    return ImageExportResult { false, reason };
}

ImageExportResult notWritten(const QString& fileName, const QString& why)
{
    return failure(translated(QT_TRANSLATE_NOOP("ImageExport", "The image was not written to %1: %2"))
                       .arg(QDir::toNativeSeparators(fileName), why));
}

// Beyond this the allocation may succeed on paper and then exhaust the
// machine while the image is filled: refuse it as if the memory were missing.
constexpr qint64 MaxImageBytes = qint64(1) << 30;

bool fitsInMemory(const QSize& size)
{
    return qint64(size.width()) * qint64(size.height()) * 4 <= MaxImageBytes;
}

QByteArray formatOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower().toLatin1();
}

// The JPEG format stores each side in 16 bits, and the library refuses more.
constexpr int MaxJpegSide = 65500;

} // namespace

qint64 maxImagePixels()
{
    return MaxImageBytes / 4;
}

QString withImageSuffix(const QString& fileName, const QString& filter)
{
    if (isImageFileNameWritable(fileName)) {
        return fileName;
    }
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return match.hasMatch() ? fileName + QLatin1Char('.') + match.captured(1) : fileName;
}

QString existingFolderOr(const QString& folder, bool pictures)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        return folder;
    }
    // A file dialog given a folder that does not exist proposes its name as the file's.
    const QString standard = QStandardPaths::writableLocation(
        pictures ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation);
    return QFileInfo(standard).isDir() ? standard : QDir::homePath();
}

QString proposedExportPath(const QString& folder, const QString& scriptPath, const QString& filter)
{
    QString name = QFileInfo(scriptPath).completeBaseName();
    if (name.isEmpty()) {
        name = translated(QT_TRANSLATE_NOOP("ImageExport", "drawing"));
    }
    return withImageSuffix(QDir(folder).filePath(name), filter);
}

bool isImageFileNameWritable(const QString& fileName)
{
    const QByteArray format = formatOf(fileName);
    return !format.isEmpty() && QImageWriter::supportedImageFormats().contains(format);
}

QImage renderImage(const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle)
{
    if (size.isEmpty() || !fitsInMemory(size)) {
        return QImage();
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    image.fill(Qt::white);
    TurtleRenderer(turtle, pen).render(&image, showTurtle);
    return image;
}

ImageExportResult exportImage(
    const QString& fileName, const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle)
{
    if (size.isEmpty()) {
        return failure(translated(QT_TRANSLATE_NOOP("ImageExport",
                                      "The image size %1 x %2 is not valid: "
                                      "both sides must be at least 1 pixel."))
                           .arg(size.width())
                           .arg(size.height()));
    }

    // Checked before drawing, so that a mistyped name costs no rendering.
    const QByteArray format = formatOf(fileName);
    if (!isImageFileNameWritable(fileName)) {
        return notWritten(fileName,
            translated(QT_TRANSLATE_NOOP("ImageExport",
                "its name does not end with the suffix of an image format "
                "(such as .png, .jpg or .jpeg).")));
    }

    if ((format == "jpg" || format == "jpeg") && (size.width() > MaxJpegSide || size.height() > MaxJpegSide)) {
        return notWritten(fileName,
            translated(QT_TRANSLATE_NOOP("ImageExport",
                           "a JPEG image is at most %1 pixels wide and high; %2 x %3 is larger."))
                .arg(MaxJpegSide)
                .arg(size.width())
                .arg(size.height()));
    }
    if (!fitsInMemory(size)) {
        return failure(translated(QT_TRANSLATE_NOOP("ImageExport",
                                      "An image of %1 x %2 pixels is over the memory limit of %3 pixels."))
                           .arg(size.width())
                           .arg(size.height())
                           .arg(maxImagePixels()));
    }

    const QImage image = renderImage(size, turtle, pen, showTurtle);
    if (image.isNull()) {
        return failure(translated(QT_TRANSLATE_NOOP("ImageExport",
                                      "There is not enough memory for an image of "
                                      "%1 x %2 pixels."))
                           .arg(size.width())
                           .arg(size.height()));
    }

    // A failed export leaves an older file as it was.
    OutputFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return notWritten(fileName, file.errorString());
    }
    QImageWriter writer(&file, format);
    // For PNG the quality is the compression: left at its default, the file
    // is small and the pixels the same.
    if (format != "png") {
        writer.setQuality(100);
    }
    if (!writer.write(image)) {
        file.cancelWriting();
        return notWritten(fileName,
            writer.error() == QImageWriter::UnknownError
                ? translated(QT_TRANSLATE_NOOP("ImageExport", "the image library could not encode it."))
                : writer.errorString());
    }
    if (!file.commit()) {
        return notWritten(fileName, file.errorString());
    }
    return ImageExportResult { true, QString() };
}
