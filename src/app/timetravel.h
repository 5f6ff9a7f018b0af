#pragma once

#include <QObject>
#include <QString>

class QEditor;
class QTimelineBar;
class QTurtleOutputArea;
class RunSession;

namespace Ui {
class MainWindowClass;
}

// Going back in a run, as the window offers it: Step Back, the timeline
// (shown while a run can be travelled), the execution counts in the editor's
// gutter, and the way from a segment of the drawing to the instruction that
// drew it.
class TimeTravel : public QObject
{
    Q_OBJECT

public:
    TimeTravel(RunSession* session, Ui::MainWindowClass& ui, QTurtleOutputArea* outputArea, QTimelineBar* timeline,
               QEditor* editor, QObject* parent = nullptr);

    // The interface language's code ("" for English): numbers are written as it writes them.
    void setLanguage(const QString& code);

private:
    void refresh();
    void showCounts();
    QString describe(int snapshot) const;
    void pick(int snapshot);

    RunSession* m_session;
    Ui::MainWindowClass& m_ui;
    QEditor* m_editor;
    QTimelineBar* m_timeline;
};
