#include "commandline.h"
#include "filechoice.h"
#include "frontend/interpreter.h"
#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <stdexcept>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    CommandLine commandLine;
    commandLine.process(QCoreApplication::arguments());
    const FileChoice files(commandLine.files());
    for (const QString& path : files.notOpened()) {
        std::fprintf(stderr, "%s\n", qPrintable(CommandLine::notOpenedMessage(path)));
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
    if (!commandLine.language().isEmpty()) {
        window->setSessionLanguage(commandLine.language());
    }
    if (restored) {
        window->show();
    } else {
        window->showMaximized();
    }
    window->open(files);
    return app.exec();
}
