#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

// The last scripts and traces opened or saved, newest first, as the entries of
// a menu: a fixed set of actions, each carrying its path, shown as needed.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxCount = 8;

    RecentFiles(QMenu* menu, QObject* parent);

    void add(const QString& path);
    QStringList files() const { return m_files; }
    // Keeps the first MaxCount distinct, non-empty paths.
    void setFiles(const QStringList& files);

signals:
    void fileChosen(const QString& path);

private:
    void refresh();

    QMenu* m_menu;
    QList<QAction*> m_actions;
    QStringList m_files;
};
