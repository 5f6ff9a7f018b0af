#include "examplemenu.h"

#include "system/datalocation.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

ExampleMenu::ExampleMenu(QMenu* menu, QObject* parent)
    : QObject(parent)
{
    const QDir folder(locateDataFile(QStringLiteral("TurtleCodes")));
    const QFileInfoList scripts
        = folder.entryInfoList({ QStringLiteral("*.tur") }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& script : scripts) {
        QAction* action = menu->addAction(script.completeBaseName());
        const QString path = script.absoluteFilePath();
        connect(action, &QAction::triggered, this, [this, path] { emit exampleChosen(path); });
    }
    menu->setEnabled(!scripts.isEmpty());
}
