#pragma once

#include <QObject>
#include <QString>

class QAction;
class QEditor;
class QTimelineBar;
class QTurtleOutputArea;
class RunSession;

// Going back in a run, as the window offers it: Step Back, the timeline
// (shown while a run can be travelled), the execution counts in the editor's
// gutter, and the way from a segment of the drawing to the instruction that
// drew it.
class TimeTravel : public QObject
{
    Q_OBJECT

public:
    // What it binds: the commands, and the views that show a run's past.
    struct Parts {
        QAction* stepBack;
        QAction* executionCounts;
        QTurtleOutputArea* outputArea;
        QTimelineBar* timeline;
        QEditor* editor;
    };

    TimeTravel(RunSession* session, const Parts& parts, QObject* parent = nullptr);

    // The interface language's code ("" for English): numbers are written as it writes them.
    void setLanguage(const QString& code);

private:
    void refresh();
    void showCounts();
    QString describe(int snapshot) const;
    void pick(int snapshot);

    RunSession* m_session;
    Parts m_parts;
};
