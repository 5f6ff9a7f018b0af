#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// Above the editor while its file was changed on disk by another program and
// the editor holds unsaved edits: offers to read the file again or to keep the
// edits, and lets the user go on typing meanwhile.
class QFileChangedBar : public QWidget
{
    Q_OBJECT

public:
    explicit QFileChangedBar(QWidget* parent = nullptr);

    void retranslate();

signals:
    void reloadRequested();
    void keepRequested();

private:
    QLabel* m_label;
    QPushButton* m_reloadButton;
    QPushButton* m_keepButton;
};
