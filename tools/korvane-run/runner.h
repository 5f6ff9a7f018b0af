#pragma once

#include <QByteArrayList>
#include <QStringList>

#include <cstdio>

struct RunnerStreams {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// The whole of korvane-run but the application object: parses ARGUMENTS (the
// program name first), runs the script, writes the outputs and returns the exit
// status (0 success, 1 the script failed, 2 a wrong command line, a file that
// cannot be read or written, or a script stopped for taking too much memory).
// RECEIVED, when given, holds the arguments as the program received them:
// one that ARGUMENTS does not give back byte for byte is refused. Needs a
// QCoreApplication.
int runKorvane(const QStringList& arguments, const RunnerStreams& streams = RunnerStreams(),
    const QByteArrayList& received = QByteArrayList());
