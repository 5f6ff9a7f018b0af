#include "mnemonickeeper.h"

#include <QAction>
#include <QActionEvent>
#include <QMenu>
#include <QMenuBar>

#include <functional>

namespace {

const QChar Amp(QLatin1Char('&'));

// Drops a mnemonic marker and keeps "&&", which shows one '&'.
QString withoutMnemonic(const QString& text)
{
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == Amp && i + 1 < text.size() && text.at(i + 1) == Amp) {
            plain += QStringLiteral("&&");
            ++i;
        } else if (text.at(i) != Amp) {
            plain += text.at(i);
        }
    }
    return plain;
}

} // namespace

MnemonicKeeper::MnemonicKeeper(QMenuBar* bar)
    : QObject(bar)
{
    watch(bar);
}

QChar MnemonicKeeper::mnemonic(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == Amp) {
            if (text.at(i + 1) != Amp) {
                return text.at(i + 1).toLower();
            }
            ++i;
        }
    }
    return QChar();
}

QString MnemonicKeeper::withMnemonic(const QString& text, const QSet<QChar>& taken)
{
    const QString plain = withoutMnemonic(text);
    // Letters a keyboard of any layout types with Alt: ASCII before the rest.
    const std::function<bool(QChar, bool)> passes[] = {
        [](QChar c, bool wordStart) { return wordStart && c.unicode() < 128 && c.isLetterOrNumber(); },
        [](QChar c, bool) { return c.unicode() < 128 && c.isLetterOrNumber(); },
        [](QChar c, bool) { return c.isLetterOrNumber(); },
    };
    for (const auto& pass : passes) {
        bool wordStart = true;
        for (int i = 0; i < plain.size(); ++i) {
            const QChar c = plain.at(i);
            if (c == Amp) {
                ++i;
                wordStart = true;
                continue;
            }
            if (pass(c, wordStart) && !taken.contains(c.toLower())) {
                return plain.left(i) + Amp + plain.mid(i);
            }
            wordStart = !c.isLetterOrNumber();
        }
    }
    return text;
}

void MnemonicKeeper::watch(QWidget* menu)
{
    menu->installEventFilter(this);
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            watch(action->menu());
        }
    }
    fix(menu);
}

void MnemonicKeeper::fix(QWidget* menu)
{
    m_fixing = true;
    QSet<QChar> taken;
    QList<QAction*> lacking;
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible() || action->text().isEmpty()) {
            continue;
        }
        const QChar letter = mnemonic(action->text());
        if (letter.isNull() || taken.contains(letter)) {
            lacking << action;
        } else {
            taken.insert(letter);
        }
    }
    for (QAction* action : qAsConst(lacking)) {
        const QString text = withMnemonic(action->text(), taken);
        action->setText(text);
        if (!mnemonic(text).isNull()) {
            taken.insert(mnemonic(text));
        }
    }
    m_fixing = false;
}

bool MnemonicKeeper::eventFilter(QObject* watched, QEvent* event)
{
    const bool added = event->type() == QEvent::ActionAdded;
    if (!m_fixing && (added || event->type() == QEvent::ActionChanged)) {
        auto* menu = static_cast<QWidget*>(watched);
        QAction* action = static_cast<QActionEvent*>(event)->action();
        if (added && action->menu()) {
            watch(action->menu());
        }
        fix(menu);
    }
    return QObject::eventFilter(watched, event);
}
