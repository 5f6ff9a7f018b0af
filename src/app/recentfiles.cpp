#include "recentfiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFiles::RecentFiles(QMenu* menu, QObject* parent)
    : QObject(parent)
    , m_menu(menu)
{
    for (int i = 0; i < MaxCount; ++i) {
        QAction* action = m_menu->addAction(QString());
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, action] { emit fileChosen(action->data().toString()); });
        m_actions << action;
    }
    refresh();
}

void RecentFiles::add(const QString& path)
{
    QStringList files = m_files;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    setFiles(files);
}

void RecentFiles::setFiles(const QStringList& files)
{
    m_files.clear();
    for (const QString& path : files) {
        if (!path.isEmpty() && !m_files.contains(path) && m_files.size() < MaxCount) {
            m_files << path;
        }
    }
    refresh();
}

void RecentFiles::refresh()
{
    for (int i = 0; i < MaxCount; ++i) {
        QAction* action = m_actions.at(i);
        action->setVisible(i < m_files.size());
        if (i < m_files.size()) {
            const QString& path = m_files.at(i);
            // "&&" shows one "&" in a menu; a name may hold one.
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
            action->setToolTip(QDir::toNativeSeparators(path));
            action->setStatusTip(QDir::toNativeSeparators(path));
            action->setData(path);
        }
    }
    m_menu->setEnabled(!m_files.isEmpty());
}
