#pragma once

#include <QCoreApplication>
#include <QString>

// How the open script is named to the user: in the window title and in the
// question asked before its changes could be lost. An empty path is a script
// that has no file yet.
class ScriptTitle
{
    Q_DECLARE_TR_FUNCTIONS(ScriptTitle)

public:
    // "Korvane - square.tur", with "*" once modified; an untitled script shows
    // the application name alone, also followed by "*" once modified.
    static QString windowTitle(const QString& path, bool modified);

    // The unsaved-changes question, naming the file.
    static QString saveQuestion(const QString& path);

    // The part of the path after its last '/'.
    static QString fileName(const QString& path);
};
