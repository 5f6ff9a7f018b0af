#include "frontend/interpreter.h"
#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>
#include <stdexcept>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

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
    window->showMaximized();
    return app.exec();
}
