#pragma once
// A side bar of folders holding items; a click on an item reports its number.
#include <QTreeWidget>

class SideBar : public QTreeWidget {
    Q_OBJECT
public:
    explicit SideBar(QWidget* parent = nullptr);
    void addFolder(const QString& caption, const QStringList& items);
    int itemCount() const { return count_; }
    void clickItem(int index);  // as a user's click
    void markItem(int index);   // shows which item is in view

Q_SIGNALS:
    void itemClicked(int index);

private:
    QTreeWidgetItem* itemAt(int index) const;
    int count_ = 0;
};
