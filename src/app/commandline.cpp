#include "commandline.h"

#include "settings.h"
#include "translation.h"

#include <QCommandLineParser>

namespace {

// The descriptions of the help options come from Qt, whose French lacks them.
[[maybe_unused]] const char* const QtHelpTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options."),
};

// The options with their descriptions in the language installed when called.
struct Options
{
    Options(QCommandLineParser* parser)
        : language(QStringLiteral("lang"), CommandLine::tr("Use the language CODE (fr, en) for this session only."),
                   CommandLine::tr("CODE"))
    {
        parser->setApplicationDescription(
            CommandLine::tr("Write, run and debug scripts that steer a drawing turtle."));
        parser->addHelpOption();
        parser->addVersionOption();
        parser->addOption(language);
        parser->addPositionalArgument(CommandLine::tr("files"),
                                      CommandLine::tr("A script (.tur) and a turtle image (.res) to open."),
                                      CommandLine::tr("[FILE...]"));
    }

    const QCommandLineOption language;
};

} // namespace

void CommandLine::process(const QStringList& arguments)
{
    // The help is written before the window chooses its language, in the one
    // it will choose: this session's, else the one kept, else the system's.
    QString code;
    {
        QCommandLineParser parser;
        const Options options(&parser);
        (void)parser.parse(arguments);
        code = parser.value(options.language);
    }
    if (code.isEmpty()) {
        code = Settings().language();
    }
    if (code == QLatin1String("system")) {
        code = Translation::systemLanguage();
    }
    m_translation.install(code);

    QCommandLineParser parser;
    const Options options(&parser);
    parser.process(arguments);
    m_language = parser.value(options.language);
    m_files = parser.positionalArguments();
}

bool CommandLine::answersWithoutWindow(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--") {
            return false;
        }
        if (argument == "-h" || argument == "-?" || argument == "--help" || argument == "-v"
            || argument == "--version") {
            return true;
        }
    }
    return false;
}

QString CommandLine::notOpenedMessage(const QString& path)
{
    return tr("%1: not opened, Korvane opens one script and one turtle image at a time.").arg(path);
}
