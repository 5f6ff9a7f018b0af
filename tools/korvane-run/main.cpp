// korvane-run: analyses and runs a script as the IDE's Run does, with no window.

#include "system/outputfile.h"
#include "runner.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-run"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    OutputFile::setWaitForReaders(true);
    return runKorvane(QCoreApplication::arguments());
}
