#include "commandline.h"

#include "settings.h"
#include "translation.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <vector>

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
        : language(QStringLiteral("lang"),
                   CommandLine::tr("Use the language CODE (%1) for this session only.")
                       .arg(Translation::languages().join(QLatin1String(", "))),
                   CommandLine::tr("CODE"))
    {
        parser->setApplicationDescription(
            CommandLine::tr("Write, run and debug scripts that steer a drawing turtle."));
        parser->addHelpOption();
        parser->addVersionOption();
        parser->addOption(language);
        parser->addPositionalArgument(CommandLine::tr("files"),
                                      CommandLine::tr("A script (.tur) and a turtle image (.res) to open. A "
                                                      "script that does not exist opens as a new one."),
                                      CommandLine::tr("[FILE...]"));
    }

    bool asksForAnswer(const QCommandLineParser& parser) const
    {
        return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
            || parser.isSet(QStringLiteral("version"))
            || (parser.isSet(language) && !Translation::languages().contains(parser.value(language)));
    }

    const QCommandLineOption language;
};

} // namespace

void CommandLine::process(const QStringList& arguments)
{
    // Everything is written before the window chooses its language, in the one
    // it will choose: this session's, else the one kept, else the system's.
    QString code;
    {
        QCommandLineParser parser;
        const Options options(&parser);
        (void)parser.parse(arguments);
        code = parser.value(options.language);
    }
    if (!Translation::languages().contains(code)) {
        code = Settings().language();
    }
    if (code == QLatin1String("system")) {
        code = Translation::systemLanguage();
    }
    m_interfaceLanguage = code;
    m_translation.install(code);

    QCommandLineParser parser;
    const Options options(&parser);
    parser.process(arguments);
    m_language = parser.value(options.language);
    if (parser.isSet(options.language) && !Translation::languages().contains(m_language)) {
        const QString message = tr("Unknown language '%1'; the languages are: %2.")
                                    .arg(m_language, Translation::languages().join(QLatin1String(", ")));
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
        std::exit(EXIT_FAILURE);
    }
    m_files = parser.positionalArguments();
}

int CommandLine::answerWithoutWindow(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    const Options options(&parser);
    const bool parsed = parser.parse(arguments);
    if (parsed && !options.asksForAnswer(parser)) {
        return -1;
    }

    if (parsed && !parser.isSet(QStringLiteral("help-all"))) {
        QCoreApplication console(argc, argv);
        nameApplication();
        CommandLine().process(QCoreApplication::arguments());
        return -1;
    }

    // The toolkit's own options (-platform, -style...) are known only to the
    // application that takes them out of the arguments, and --help-all lists
    // them: a widget application answers, on a platform that needs no display.
    std::vector<char*> withoutDisplay(argv, argv + argc);
    char platformOption[] = "-platform";
    char minimalPlatform[] = "minimal";
    withoutDisplay.push_back(platformOption);
    withoutDisplay.push_back(minimalPlatform);
    withoutDisplay.push_back(nullptr);
    int count = argc + 2;
    QApplication answering(count, withoutDisplay.data());
    nameApplication();
    CommandLine().process(QCoreApplication::arguments());
    // Only the toolkit's options were unknown here: the window starts.
    return -1;
}

void CommandLine::nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
}
