#include "Keyboard.h"

#include <QAction>
#include <QCheckBox>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>

namespace Keyboard {

QChar mnemonicOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;  // "&&" is a plain ampersand
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

QString withMnemonic(const QString& caption)
{
    if (!mnemonicOf(caption).isNull())
        return caption;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i].isLetter())
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
    return caption;
}

namespace {

// Picks a letter of `caption` not in `used`: word starts first, then any letter.
QString marked(const QString& caption, QSet<QChar>& used)
{
    QList<qsizetype> candidates;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i].isLetterOrNumber() && (i == 0 || !caption[i - 1].isLetterOrNumber()))
            candidates << i;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i].isLetter() && !candidates.contains(i))
            candidates << i;
    for (qsizetype i : candidates) {
        const QChar c = caption[i].toLower();
        if (!used.contains(c)) {
            used.insert(c);
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
        }
    }
    return caption;
}

// One group of neighbours: the letters they already use are kept; the others get one.
template <typename Item, typename Get, typename Set>
void assignGroup(const QList<Item*>& items, Get get, Set set, QSet<QChar> used)
{
    QHash<QString, QString> chosen;
    for (Item* item : items)
        if (const QChar c = mnemonicOf(get(item)); !c.isNull())
            used.insert(c);
    for (Item* item : items) {
        const QString caption = get(item);
        if (caption.isEmpty() || !mnemonicOf(caption).isNull())
            continue;
        auto it = chosen.find(caption);
        if (it == chosen.end())
            it = chosen.insert(caption, marked(caption, used));
        set(item, *it);
    }
}

}  // namespace

void assignMnemonics(QWidget* window, const QString& reserved)
{
    QSet<QChar> taken;
    for (QChar c : reserved)
        taken.insert(c.toLower());
    // The menus first: a button never takes the letter of a menu of the bar, which would make
    // Alt with that letter only move the focus between the two.
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        const QList<QAction*> top = bar->actions();
        assignGroup(
            top, [](QAction* a) { return a->text(); }, [](QAction* a, const QString& t) { a->setText(t); }, {});
        for (QAction* a : top) {
            if (const QChar c = mnemonicOf(a->text()); !c.isNull())
                taken.insert(c);
            if (QMenu* m = a->menu())
                assignGroup(
                    m->actions(), [](QAction* a) { return a->isSeparator() ? QString() : a->text(); },
                    [](QAction* a, const QString& t) { a->setText(t); }, {});
        }
    }
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if ((qobject_cast<QPushButton*>(b) || qobject_cast<QCheckBox*>(b)) && b->focusPolicy() != Qt::NoFocus)
            buttons << b;  // keys that never take the focus (a calculator's) have keys of their own
    assignGroup(
        buttons, [](QAbstractButton* b) { return b->text(); }, [](QAbstractButton* b, const QString& t) { b->setText(t); },
        taken);
}

void keepEnterForDefault(QWidget* dialog, QPushButton* defaultButton)
{
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(b == defaultButton);
    }
}

}  // namespace Keyboard
