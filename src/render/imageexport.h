#pragma once

#include <QImage>
#include <QPen>
#include <QSize>
#include <QString>

class WalkingTurtle;

// What became of an export: written, or the reason why not, translated.
struct ImageExportResult
{
    bool written = false;
    QString reason;
};

// True when the suffix of fileName names an image format that can be written.
bool isImageFileNameWritable(const QString& fileName);

// fileName, with the first suffix of a file dialog filter such as
// "png image (*.png)" appended when it does not end with the suffix of an
// image format: "plan.v2" becomes "plan.v2.png".
QString withImageSuffix(const QString& fileName, const QString& filter);

// The folder a file dialog opens in: `folder` while it exists, else the
// user's standard folder of that kind, else the home folder.
QString existingFolderOr(const QString& folder, bool pictures);

// The file an export proposes in `folder`: named after the script (or
// "drawing" when it has no file), with the suffix of the filter's first pattern.
QString proposedExportPath(const QString& folder, const QString& scriptPath, const QString& filter);

// Largest image drawn, in pixels (4 bytes each).
qint64 maxImagePixels();

// The drawing as an image of the given size: RGB32, white, painted as the
// output area paints itself. A null image when the size is empty or the memory
// cannot be had (more than 1 GiB of pixels is refused outright).
QImage renderImage(const QSize& size, const WalkingTurtle* turtle, const QPen& pen, bool showTurtle);

// Renders and saves the drawing in the format named by the suffix of fileName
// (png, jpg, jpeg, or any other the image library writes): PNG compressed,
// JPEG at quality 100.
// The file is replaced only when the whole image was written. The IDE's render
// command and the headless runner both export through this function; it needs
// neither a widget nor an application object.
ImageExportResult exportImage(const QString& fileName, const QSize& size, const WalkingTurtle* turtle,
    const QPen& pen, bool showTurtle);
