#pragma once

#include "prompts.h"

class QWidget;

// The prompts as the user sees them: the toolkit's file dialogs and message
// boxes, the render dialogue and the print dialog, modal over the window.
class DialogPrompts : public Prompts
{
public:
    explicit DialogPrompts(QWidget* window);

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    QString existingFolder(const QString& caption, const QString& folder) override;
    QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    void warning(const QString& text) override;
    void about(const QString& text) override;
    bool imageRequest(ImageRequest& request, bool formatChoice) override;
    bool printSetup(QPrinter& printer) override;

private:
    QWidget* m_window;
};
