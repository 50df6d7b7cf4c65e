#include "SideBar.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

SideBar::SideBar(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(8);
    setUniformRowHeights(true);
    // As wide as its captions, no wider: the pages beside it take the rest.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QVariant n = item->data(0, Qt::UserRole);
        if (n.isValid())
            Q_EMIT itemClicked(n.toInt());
    });
}

// Enter, Return and Space choose the current item and go no further: a key the bar
// passed on would also press the window's default button.
void SideBar::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        e->accept();
        if (QTreeWidgetItem* item = currentItem()) {
            const QVariant n = item->data(0, Qt::UserRole);
            if (n.isValid())
                Q_EMIT itemClicked(n.toInt());
        }
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void SideBar::addFolder(const QString& caption, const QStringList& items)
{
    auto* folder = new QTreeWidgetItem(this, {caption});
    QFont f = folder->font(0);
    f.setBold(true);
    folder->setFont(0, f);
    folder->setFlags(Qt::ItemIsEnabled);
    for (const QString& text : items) {
        auto* item = new QTreeWidgetItem(folder, {text});
        item->setData(0, Qt::UserRole, count_++);
    }
    folder->setExpanded(true);
}

QSize SideBar::minimumSizeHint() const
{
    int widest = 0;
    for (int f = 0; f < topLevelItemCount(); ++f) {
        QTreeWidgetItem* folder = topLevelItem(f);
        widest = std::max(widest, QFontMetrics(folder->font(0)).horizontalAdvance(folder->text(0)));
        for (int i = 0; i < folder->childCount(); ++i)
            widest = std::max(widest, indentation() +
                                          QFontMetrics(folder->child(i)->font(0)).horizontalAdvance(folder->child(i)->text(0)));
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return {widest + 2 * frameWidth() + scrollBar + 16, QTreeWidget::minimumSizeHint().height()};
}

QSize SideBar::sizeHint() const
{
    return {minimumSizeHint().width(), QTreeWidget::sizeHint().height()};
}

QTreeWidgetItem* SideBar::itemAt(int index) const
{
    for (int f = 0; f < topLevelItemCount(); ++f)
        for (int i = 0; i < topLevelItem(f)->childCount(); ++i)
            if (topLevelItem(f)->child(i)->data(0, Qt::UserRole).toInt() == index)
                return topLevelItem(f)->child(i);
    return nullptr;
}

void SideBar::clickItem(int index)
{
    if (itemAt(index))
        Q_EMIT itemClicked(index);
}

void SideBar::markItem(int index)
{
    if (QTreeWidgetItem* item = itemAt(index)) {
        const QSignalBlocker block(this);
        setCurrentItem(item);
    }
}
