#pragma once

#include "translation.h"

#include <QCoreApplication>
#include <QStringList>

// korvane [OPTIONS] [FILE...]: --help and --version answer and end the
// process; --lang CODE chooses the language of this session only. What it
// writes is in the language the window will show; that translation stays
// installed while this object lives, so it must go before the window's.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // Exits with a message on standard error when the arguments are wrong.
    void process(const QStringList& arguments);

    // Whether the arguments ask for the help or the version, which end the
    // process before any window (--help-all lists the window's own options).
    static bool answersWithoutWindow(int argc, char* argv[]);

    QString language() const { return m_language; }
    QStringList files() const { return m_files; }

    // The line standard error gets for a file left out (see FileChoice).
    static QString notOpenedMessage(const QString& path);

private:
    QString m_language;
    QStringList m_files;
    Translation m_translation;
};
