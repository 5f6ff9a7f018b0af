#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class m_dialog;
}

// Asks for the size, the format and the marker of an exported image. Opens
// with 800 x 600, the marker shown and PNG.
class QRenderDialogue : public QDialog
{
public:
    explicit QRenderDialogue(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());
    ~QRenderDialogue() override;

    // The chosen item, for example "png image (*.png)": the file dialog's filter.
    QString outputFormat() const;
    int imageWidth() const;
    int imageHeight() const;
    bool showTurtle() const;
    // Hides the format choice, for an export whose format is fixed.
    void hideFormatChoice();

private:
    std::unique_ptr<Ui::m_dialog> m_ui;
};
