#pragma once

#include <QCoreApplication>
#include <QMessageBox>
#include <QSize>
#include <QString>

class QPrinter;

// The size, format and marker of an exported drawing, as the render dialogue asks for them.
struct ImageRequest
{
    QSize size;
    // A file dialog filter such as "png image (*.png)".
    QString filter;
    bool showTurtle = true;
};

// Everything the file commands ask the user: file and folder names, the save
// question, warnings, the export and print settings. The window shows the
// real dialogs (DialogPrompts); tests answer from a script of their own, so
// that the commands run without a window and nothing modal blocks.
// An empty name or a false return means the user cancelled.
class Prompts
{
    Q_DECLARE_TR_FUNCTIONS(Prompts)

public:
    virtual ~Prompts() = default;

    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    // A name typed without a suffix gets defaultSuffix (when given) before the
    // dialog asks about overwriting, so that the question is about the real file.
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString existingFolder(const QString& caption, const QString& folder) = 0;

    // Message boxes captioned with the application name.
    virtual QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void about(const QString& text) = 0;

    // The render dialogue; formatChoice false when the format is fixed (SVG).
    virtual bool imageRequest(ImageRequest& request, bool formatChoice) = 0;
    virtual bool printSetup(QPrinter& printer) = 0;

    // A warning made of a bold heading, a sentence and, when given, a detail
    // such as a path and the system's reason (one line per line of it).
    void warn(const QString& heading, const QString& sentence, const QString& detail);
    // A folder chosen from current, without a trailing separator; current when cancelled.
    QString chooseFolder(const QString& current);
};
