#pragma once

#include <QStringList>

// What to open of a list of files given on the command line or dropped on the
// window: the first script and the first trace; the others are left out, since
// the window holds one of each.
class FileChoice
{
public:
    explicit FileChoice(const QStringList& paths = QStringList());

    QString script() const { return m_script; }
    QString trace() const { return m_trace; }
    QStringList notOpened() const { return m_notOpened; }

    // A trace ends in .res or, without a known suffix, starts with "Tur=Res";
    // anything else is taken as a script, so that a missing file gets Open's message.
    static bool isTrace(const QString& path);

private:
    QString m_script;
    QString m_trace;
    QStringList m_notOpened;
};
