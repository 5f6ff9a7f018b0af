#pragma once

#include <QDockWidget>

#include <memory>

namespace Ui {
class DockWidget;
}

// "Help": a fixed-width dock with two pages, each scrolling vertically: the
// description of the application with a memo of the script syntax, and what
// goes further (speeds, debugging, the timeline, zoom, export, command line).
class QHelp : public QDockWidget
{
    Q_OBJECT

public:
    explicit QHelp(QWidget* parent = nullptr);
    ~QHelp() override;

    // Sets the title and the whole page again in the current language.
    void retranslate();

private:
    std::unique_ptr<Ui::DockWidget> m_ui;
};
