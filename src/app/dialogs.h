#pragma once

#include <QMessageBox>
#include <QQueue>
#include <QString>

class QWidget;

// The modal questions the main window asks: file names, directories and
// message boxes. Tests queue the answers with setNext...() and the dialog is
// then not shown at all, so nothing blocks under the offscreen platform.
class Dialogs
{
public:
    static QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    // A name typed without a suffix gets defaultSuffix (when given) before the
    // dialog asks about overwriting, so that the question is about the real file.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter, const QString& defaultSuffix = QString());
    static QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir);

    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton);
    static void warning(QWidget* parent, const QString& title, const QString& text);
    static void critical(QWidget* parent, const QString& title, const QString& text);
    static void about(QWidget* parent, const QString& title, const QString& text);

    // Tests switch the dialogs off: nothing is shown, questions without a queued
    // answer get Cancel and file dialogs without a queued name get Cancel too.
    static void setInteractive(bool interactive);

    // Answers for the next dialogs, in order. An empty file name answers Cancel.
    static void setNextFileName(const QString& fileName);
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // The texts of the message boxes shown (or answered) so far, newest last.
    static QStringList& shownMessages();
    static void clear();

private:
    static QQueue<QString> s_fileNames;
    static QQueue<QMessageBox::StandardButton> s_answers;
    static QStringList s_shownMessages;
    static bool s_interactive;
};
