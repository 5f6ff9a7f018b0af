#pragma once

#include <QCoreApplication>
#include <QStringList>

// What to open of a list of files given on the command line or dropped on the
// window: the first script and the first trace; the others are left out, since
// the window holds one of each.
class FileChoice
{
    Q_DECLARE_TR_FUNCTIONS(FileChoice)

public:
    // What a script that does not exist becomes: a failed opening (a dropped
    // or recent file), or a new script of that name, as editors started from
    // a terminal do.
    enum MissingScript { Refused, OpenedAsNew };

    explicit FileChoice(const QStringList& paths = QStringList(), MissingScript missing = Refused);

    QString script() const { return m_script; }
    QString trace() const { return m_trace; }
    QStringList notOpened() const { return m_notOpened; }
    // The script does not exist yet: it opens empty, and saving creates it.
    bool isNewScript() const { return m_newScript; }

    // One line per file left out, saying why; empty when none was.
    QString notOpenedReport() const;

    // A trace ends in .res or, without a known suffix, starts with "Tur=Res";
    // anything else is taken as a script, so that a missing file gets Open's message.
    static bool isTrace(const QString& path);

private:
    QString m_script;
    QString m_trace;
    QStringList m_notOpened;
    bool m_newScript = false;
};
