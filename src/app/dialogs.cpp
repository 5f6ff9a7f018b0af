#include "dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>

namespace {

// The toolkit's French calls this button "Ne pas tenir compte", which reads
// badly under "Voulez-vous enregistrer... ?"; Korvane's translation names it.
const char* const DiscardText = QT_TRANSLATE_NOOP("QPlatformTheme", "Discard");

} // namespace

QQueue<QString> Dialogs::s_fileNames;
QQueue<QMessageBox::StandardButton> Dialogs::s_answers;
QStringList Dialogs::s_shownMessages;
bool Dialogs::s_interactive = true;

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (!s_fileNames.isEmpty()) {
        return s_fileNames.dequeue();
    }
    if (!s_interactive) {
        return QString();
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                              const QString& defaultSuffix)
{
    if (!s_fileNames.isEmpty()) {
        return s_fileNames.dequeue();
    }
    if (!s_interactive) {
        return QString();
    }
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString Dialogs::existingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    if (!s_fileNames.isEmpty()) {
        return s_fileNames.dequeue();
    }
    if (!s_interactive) {
        return QString();
    }
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

QMessageBox::StandardButton Dialogs::question(QWidget* parent, const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    s_shownMessages << text;
    if (!s_answers.isEmpty()) {
        return s_answers.dequeue();
    }
    if (!s_interactive) {
        return QMessageBox::Cancel;
    }
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    if (QAbstractButton* discard = box.button(QMessageBox::Discard)) {
        discard->setText(QCoreApplication::translate("QPlatformTheme", DiscardText));
    }
    if (box.exec() == -1) {
        return QMessageBox::Cancel;
    }
    return box.standardButton(box.clickedButton());
}

void Dialogs::warning(QWidget* parent, const QString& title, const QString& text)
{
    s_shownMessages << text;
    if (s_interactive) {
        QMessageBox::warning(parent, title, text);
    }
}

void Dialogs::critical(QWidget* parent, const QString& title, const QString& text)
{
    s_shownMessages << text;
    if (s_interactive) {
        QMessageBox::critical(parent, title, text);
    }
}

void Dialogs::about(QWidget* parent, const QString& title, const QString& text)
{
    s_shownMessages << text;
    if (s_interactive) {
        QMessageBox::about(parent, title, text);
    }
}

void Dialogs::setInteractive(bool interactive)
{
    s_interactive = interactive;
}

void Dialogs::setNextFileName(const QString& fileName)
{
    s_fileNames.enqueue(fileName);
}

void Dialogs::setNextAnswer(QMessageBox::StandardButton answer)
{
    s_answers.enqueue(answer);
}

QStringList& Dialogs::shownMessages()
{
    return s_shownMessages;
}

void Dialogs::clear()
{
    s_fileNames.clear();
    s_answers.clear();
    s_shownMessages.clear();
}
