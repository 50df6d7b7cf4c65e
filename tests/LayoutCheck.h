#pragma once
// Whether a window's visible texts can be read whole: every label, button, group
// title, tab, grid header, side-bar item and picker entry against the width its
// widget gives it, with the widget's own font. A window is looked at at its
// default size and at the size it gets on a 1400 x 1000 screen at 150 %
// (933 x 666 device-independent pixels, less a window frame and title bar).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTextDocument>
#include <QTreeWidget>

namespace LayoutCheck {

inline QSize screenAt150() { return QSize(1400 * 2 / 3, 1000 * 2 / 3) - QSize(16, 48); }

inline int widest(const QFontMetrics& fm, const QString& text)
{
    int w = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        w = std::max(w, fm.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
    return w;
}

inline QString where(const QWidget* w)
{
    QStringList path;
    for (const QObject* o = w; o; o = o->parent())
        if (!o->objectName().isEmpty()) {
            path.prepend(o->objectName());
            if (path.size() == 2)
                break;
        }
    return path.join(QLatin1Char('/'));
}

// The texts of `window` (shown, laid out) that do not fit their widgets, described.
inline QStringList cutTexts(QWidget* window)
{
    QStringList out;
    auto report = [&](const QWidget* w, const QString& text, int need, int have) {
        out << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(where(w), text.left(60)).arg(need).arg(have);
    };
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(window) || l->wordWrap() || l->text().isEmpty() || l->pixmap().cacheKey() != 0)
            continue;
        QString text = l->text();
        if (Qt::mightBeRichText(text)) {
            QTextDocument doc;
            doc.setHtml(text);
            text = doc.toPlainText();
        }
        const int need = widest(l->fontMetrics(), text);
        const int have = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
        if (need > have + 1)
            report(l, text, need, have);
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(window) || b->text().isEmpty() || qobject_cast<QTabBar*>(b->parentWidget()))
            continue;
        // A push button's text with its frame; a check box or radio button with its indicator.
        const int need = qobject_cast<QPushButton*>(b) ? widest(b->fontMetrics(), b->text()) + 10 : b->sizeHint().width();
        if (b->width() + 2 < need)
            report(b, b->text(), need, b->width());
        // No button stands over another.
        for (QAbstractButton* other : b->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
            if (other != b && other->isVisibleTo(window) && b->geometry().intersects(other->geometry()) &&
                b->geometry().intersected(other->geometry()).width() > 2)
                report(b, b->text() + QStringLiteral(" over ") + other->text(), 0, 0);
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>()) {
        if (!g->isVisibleTo(window) || g->title().isEmpty())
            continue;
        const int need = widest(g->fontMetrics(), g->title()) + 16;
        if (g->width() < need)
            report(g, g->title(), need, g->width());
    }
    for (QTabBar* t : window->findChildren<QTabBar*>()) {
        if (!t->isVisibleTo(window))
            continue;
        for (int i = 0; i < t->count(); ++i) {
            const int need = widest(t->fontMetrics(), t->tabText(i)) + 8;
            if (t->tabRect(i).width() < need || t->tabRect(i).right() > t->width())
                report(t, t->tabText(i), need, t->tabRect(i).right() > t->width() ? 0 : t->tabRect(i).width());
        }
    }
    for (QTableView* v : window->findChildren<QTableView*>()) {
        if (!v->isVisibleTo(window) || !v->model())
            continue;
        QHeaderView* h = v->horizontalHeader();
        for (int c = 0; c < v->model()->columnCount(); ++c) {
            if (h->isSectionHidden(c))
                continue;
            const QString text = v->model()->headerData(c, Qt::Horizontal).toString();
            const int need = widest(h->fontMetrics(), text) + 8;
            if (h->sectionSize(c) < need)
                report(v, text, need, h->sectionSize(c));
            // Every column is inside the grid: none is out of sight to the right.
            if (h->sectionPosition(c) + h->sectionSize(c) > v->viewport()->width() + 1)
                report(v, text + QStringLiteral(" (out of sight)"), h->sectionPosition(c) + h->sectionSize(c),
                       v->viewport()->width());
            // The cells of the column read whole.
            for (int r = 0; r < std::min(v->model()->rowCount(), 60); ++r) {
                const QString cell = v->model()->index(r, c).data().toString();
                const int cellNeed = widest(v->fontMetrics(), cell) + 8;
                if (h->sectionSize(c) < cellNeed) {
                    report(v, cell, cellNeed, h->sectionSize(c));
                    break;
                }
            }
        }
    }
    for (QTreeWidget* t : window->findChildren<QTreeWidget*>()) {
        if (!t->isVisibleTo(window))
            continue;
        for (int f = 0; f < t->topLevelItemCount(); ++f) {
            QList<QTreeWidgetItem*> items{t->topLevelItem(f)};
            for (int i = 0; i < t->topLevelItem(f)->childCount(); ++i)
                items << t->topLevelItem(f)->child(i);
            for (QTreeWidgetItem* item : items) {
                const QRect r = t->visualItemRect(item);
                const int need = widest(QFontMetrics(item->font(0)), item->text(0)) + 8;
                if (r.isValid() && std::min(r.right(), t->viewport()->width()) - r.left() < need)
                    report(t, item->text(0), need, std::min(r.right(), t->viewport()->width()) - r.left());
            }
        }
    }
    for (QListWidget* l : window->findChildren<QListWidget*>()) {
        if (!l->isVisibleTo(window))
            continue;
        for (int i = 0; i < std::min(l->count(), 60); ++i) {
            const QRect r = l->visualItemRect(l->item(i));
            const QString text = l->item(i)->text();
            const QRect need = l->fontMetrics().boundingRect(QRect(0, 0, std::max(1, r.width() - 6), 10000),
                                                             Qt::TextWordWrap, text);
            const int shown = std::min(r.right(), l->viewport()->width()) - r.left();
            if (need.width() > shown || need.height() > r.height() + 2)
                report(l, text, need.width(), shown);
        }
    }
    for (QComboBox* c : window->findChildren<QComboBox*>()) {
        if (!c->isVisibleTo(window))
            continue;
        int need = 0;
        for (int i = 0; i < c->count(); ++i)
            need = std::max(need, widest(c->fontMetrics(), c->itemText(i)));
        need += 24;  // the arrow and the frame
        if (c->count() > 0 && c->width() < need)
            report(c, c->currentText(), need, c->width());
    }
    return out;
}

// Shows `window` at its default size, then as it fits the screen at 150 %; the texts cut
// at either size, and a window that cannot fit that screen at all.
inline QStringList cutTextsAtBothSizes(QWidget* window)
{
    QStringList out;
    const QSize defaultSize = window->size();
    window->show();
    QApplication::processEvents();
    for (const QString& text : cutTexts(window))
        out << QStringLiteral("100 %: ") + text;
    const QSize screen = screenAt150();
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    if (minimum.width() > screen.width() || minimum.height() > screen.height())
        out << QStringLiteral("150 %: the window needs %1 x %2").arg(minimum.width()).arg(minimum.height());
    window->resize(defaultSize.boundedTo(screen));
    QApplication::processEvents();
    for (const QString& text : cutTexts(window))
        out << QStringLiteral("150 %: ") + text;
    window->resize(defaultSize);
    return out;
}

}  // namespace LayoutCheck
