#include "dialogprompts.h"

#include "widgets/qrenderdialogue.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QPrintDialog>

namespace {

// The toolkit's French calls this button "Ne pas tenir compte", which reads
// badly under "Voulez-vous enregistrer... ?"; Korvane's translation names it.
const char* const DiscardText = QT_TRANSLATE_NOOP("QPlatformTheme", "Discard");

} // namespace

DialogPrompts::DialogPrompts(QWidget* window)
    : m_window(window)
{
}

QString DialogPrompts::openFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_window, caption, folder, filter);
}

QString DialogPrompts::saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                    const QString& defaultSuffix)
{
    QFileDialog dialog(m_window, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::existingFolder(const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(nullptr, caption, folder, QFileDialog::ShowDirsOnly);
}

QMessageBox::StandardButton DialogPrompts::question(const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), text, buttons, m_window);
    box.setDefaultButton(defaultButton);
    if (QAbstractButton* discard = box.button(QMessageBox::Discard)) {
        discard->setText(QCoreApplication::translate("QPlatformTheme", DiscardText));
    }
    if (box.exec() == -1) {
        return QMessageBox::Cancel;
    }
    return box.standardButton(box.clickedButton());
}

void DialogPrompts::warning(const QString& text)
{
    QMessageBox::warning(m_window, QCoreApplication::applicationName(), text);
}

void DialogPrompts::about(const QString& text)
{
    QMessageBox::about(m_window, QCoreApplication::applicationName(), text);
}

bool DialogPrompts::imageRequest(ImageRequest& request, bool formatChoice)
{
    QRenderDialogue dialogue(m_window, Qt::WindowFlags());
    if (!formatChoice) {
        dialogue.hideFormatChoice();
    }
    if (dialogue.exec() != QDialog::Accepted) {
        return false;
    }
    request.size = QSize(dialogue.imageWidth(), dialogue.imageHeight());
    request.filter = dialogue.outputFormat();
    request.showTurtle = dialogue.showTurtle();
    return true;
}

bool DialogPrompts::printSetup(QPrinter& printer)
{
    QPrintDialog dialog(&printer, m_window);
    return dialog.exec() == QDialog::Accepted;
}
