#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class QMenuBar;
class QWidget;

// Keeps every title of a menu bar, and every entry of the menus under it,
// reachable by a letter of its own. Texts from the translations carry their
// own '&'; an entry whose text has none, or one that an earlier entry of the
// same menu already uses (a panel's title, a file name, a translation that
// clashes), gets the first free letter of its words, so its words stay as
// they are.
class MnemonicKeeper : public QObject
{
    Q_OBJECT

public:
    explicit MnemonicKeeper(QMenuBar* bar);

    // The lower-case letter after a single '&'; a null character when there is none.
    static QChar mnemonic(const QString& text);
    // The text with its mnemonic moved to a letter not in taken (word starts
    // first, then any letter or digit); unchanged when every letter is taken.
    static QString withMnemonic(const QString& text, const QSet<QChar>& taken);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* menu);
    void fix(QWidget* menu);

    bool m_fixing = false;
};
