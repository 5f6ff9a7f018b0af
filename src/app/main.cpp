#include "commandline.h"
#include "filechoice.h"
#include "frontend/interpreter.h"
#include "mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <stdexcept>

int main(int argc, char* argv[])
{
    // Answered without a window, so also in a terminal without a display.
    const int answered = CommandLine::answerWithoutWindow(argc, argv);
    if (answered >= 0) {
        return answered;
    }

    QApplication app(argc, argv);
    CommandLine::nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvane.Korvane"));

    FileChoice files;
    QString language;
    QString interfaceLanguage;
    {
        CommandLine commandLine;
        commandLine.process(QCoreApplication::arguments());
        files = FileChoice(commandLine.files(), FileChoice::OpenedAsNew);
        if (!files.notOpened().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(files.notOpenedReport()));
        }
        language = commandLine.language();
        interfaceLanguage = commandLine.interfaceLanguage();
    }

    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>();
    } catch (const std::runtime_error&) {
        // Without its messages catalogue Korvane cannot report anything: say why and stop.
        Translation translation;
        translation.install(interfaceLanguage);
        QMessageBox::critical(
            nullptr, QCoreApplication::applicationName(),
            QStringLiteral("%1<p>%2</p>")
                .arg(QCoreApplication::translate("main", "Korvane cannot start: its messages file cannot be read."),
                     QDir::toNativeSeparators(Interpreter::defaultCataloguePath()).toHtmlEscaped()));
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
