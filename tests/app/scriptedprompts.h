#pragma once

#include "prompts.h"

#include <QPrinter>
#include <QQueue>
#include <QStringList>

// Answers the prompts from queues filled by the test, in order, and keeps the
// text of every message box. With its queue empty, a prompt answers Cancel.
class ScriptedPrompts : public Prompts
{
public:
    // An empty name answers Cancel.
    void setNextFileName(const QString& fileName) { m_fileNames.enqueue(fileName); }
    void setNextAnswer(QMessageBox::StandardButton answer) { m_answers.enqueue(answer); }
    void setNextImageRequest(const ImageRequest& request) { m_imageRequests.enqueue(request); }
    // The next print goes to this PDF file.
    void setNextPrintFile(const QString& path) { m_printFiles.enqueue(path); }

    // The texts of the message boxes shown so far, newest last.
    const QStringList& shownMessages() const { return m_shownMessages; }
    // The captions of the file and folder dialogs, newest last, each with the folder it starts in.
    const QStringList& shownDialogs() const { return m_shownDialogs; }

    QString openFileName(const QString& caption, const QString& folder, const QString&) override
    {
        return nextName(caption, folder);
    }
    QString saveFileName(const QString& caption, const QString& folder, const QString&, const QString&) override
    {
        return nextName(caption, folder);
    }
    QString existingFolder(const QString& caption, const QString& folder) override
    {
        return nextName(caption, folder);
    }
    QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        m_shownMessages << text;
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    }
    void warning(const QString& text) override { m_shownMessages << text; }
    void about(const QString& text) override { m_shownMessages << text; }
    bool imageRequest(ImageRequest& request, bool) override
    {
        if (m_imageRequests.isEmpty()) {
            return false;
        }
        request = m_imageRequests.dequeue();
        return true;
    }
    bool printSetup(QPrinter& printer) override
    {
        if (m_printFiles.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_printFiles.dequeue());
        return true;
    }

private:
    QString nextName(const QString& caption, const QString& folder)
    {
        m_shownDialogs << caption + QLatin1String(" in ") + folder;
        return m_fileNames.isEmpty() ? QString() : m_fileNames.dequeue();
    }

    QQueue<QString> m_fileNames;
    QQueue<QMessageBox::StandardButton> m_answers;
    QQueue<ImageRequest> m_imageRequests;
    QQueue<QString> m_printFiles;
    QStringList m_shownMessages;
    QStringList m_shownDialogs;
};
