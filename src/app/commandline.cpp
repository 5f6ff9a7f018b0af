#include "commandline.h"

#include <QCommandLineParser>

void CommandLine::process(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Write, run and debug scripts that steer a drawing turtle."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption language(QStringLiteral("lang"),
                                      tr("Use the language CODE (fr, en) for this session only."),
                                      tr("CODE"));
    parser.addOption(language);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 tr("A script (.tur) and a turtle image (.res) to open."),
                                 tr("[FILE...]"));
    parser.process(arguments);
    m_language = parser.value(language);
    m_files = parser.positionalArguments();
}

QString CommandLine::notOpenedMessage(const QString& path)
{
    return tr("%1: not opened, Korvane opens one script and one turtle image at a time.").arg(path);
}
