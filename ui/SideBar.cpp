#include "SideBar.h"

#include <QHeaderView>

SideBar::SideBar(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(8);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QVariant n = item->data(0, Qt::UserRole);
        if (n.isValid())
            Q_EMIT itemClicked(n.toInt());
    });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QVariant n = item->data(0, Qt::UserRole);
        if (n.isValid())
            Q_EMIT itemClicked(n.toInt());
    });
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
