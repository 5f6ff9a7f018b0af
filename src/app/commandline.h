#pragma once

#include "translation.h"

#include <QCoreApplication>
#include <QStringList>

// korvane [OPTIONS] [FILE...]: --help, --help-all and --version answer and end
// the process, as does a wrong command line (status 1, the reason on standard
// error); --lang CODE chooses the language of this session only. What it
// writes is in the language the window will show; that translation stays
// installed while this object lives, so it must go before the window's.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // Exits with a message on standard error when the arguments are wrong.
    void process(const QStringList& arguments);

    // Answers the command lines that need no window (help, version, errors)
    // with an application that needs no display, and returns the process's
    // exit status; -1 when the window is to start.
    static int answerWithoutWindow(int argc, char* argv[]);

    // The names settings and messages go by, and the version --version shows.
    static void nameApplication();

    QString language() const { return m_language; }
    // The code of the language the answers were written in.
    QString interfaceLanguage() const { return m_interfaceLanguage; }
    QStringList files() const { return m_files; }

private:
    QString m_language;
    QString m_interfaceLanguage;
    QStringList m_files;
    Translation m_translation;
};
