#pragma once

#include <QObject>

class QMenu;

// Lists the example scripts shipped with Korvane, found wherever it is
// installed (or in its source folder), as entries of a menu.
class ExampleMenu : public QObject
{
    Q_OBJECT

public:
    ExampleMenu(QMenu* menu, QObject* parent);

signals:
    void exampleChosen(const QString& path);
};
