#pragma once
// A side bar of folders holding items; a click on an item, or Enter or Space on
// the current one, reports its number once.
#include <QTreeWidget>

class SideBar : public QTreeWidget {
    Q_OBJECT
public:
    explicit SideBar(QWidget* parent = nullptr);
    void addFolder(const QString& caption, const QStringList& items);
    int itemCount() const { return count_; }
    void clickItem(int index);  // as a user's click
    void markItem(int index);   // shows which item is in view
    // Wide enough for its longest caption.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void itemClicked(int index);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QTreeWidgetItem* itemAt(int index) const;
    int count_ = 0;
};
