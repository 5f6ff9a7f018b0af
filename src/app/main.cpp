#include "commandline.h"
#include "filechoice.h"
#include "frontend/interpreter.h"
#include "system/outputfile.h"
#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
}

} // namespace

int main(int argc, char* argv[])
{
    OutputFile::protectProcess();
    // Answered without a window, so also in a terminal without a display.
    if (CommandLine::answersWithoutWindow(argc, argv)) {
        QCoreApplication console(argc, argv);
        nameApplication();
        CommandLine().process(QCoreApplication::arguments());
    }

    QApplication app(argc, argv);
    nameApplication();

    FileChoice files;
    QString language;
    {
        CommandLine commandLine;
        commandLine.process(QCoreApplication::arguments());
        files = FileChoice(commandLine.files());
        for (const QString& path : files.notOpened()) {
            std::fprintf(stderr, "%s\n", qPrintable(CommandLine::notOpenedMessage(path)));
        }
        language = commandLine.language();
    }

    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>();
    } catch (const std::runtime_error& error) {
        // Without its messages catalogue Korvane cannot report anything: say why and stop.
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(),
                              QStringLiteral("%1<p>%2</p>")
                                  .arg(QString::fromLocal8Bit(error.what()).toHtmlEscaped(),
                                       Interpreter::defaultCataloguePath().toHtmlEscaped()));
        return EXIT_FAILURE;
    }
    // The first start is maximised; later ones come back as they were left.
    const bool restored = window->readSettings();
    if (!language.isEmpty()) {
        window->setSessionLanguage(language);
    }
    if (restored) {
        window->show();
    } else {
        window->showMaximized();
    }
    window->open(files);
    return app.exec();
}
