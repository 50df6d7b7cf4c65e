#pragma once
// A notebook of pages whose change of page can be refused before it happens.
// Its tabs may be hidden, when only other controls change its pages. While its
// tabs show, Ctrl+Tab and Ctrl+Shift+Tab from any of its controls turn to the
// next and the previous page, through the same refusals as a click on a tab.
#include <QTabBar>
#include <QWidget>
#include <functional>

class QStackedWidget;

class NotebookTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;
    std::function<bool(int)> request;  // asks the notebook to change to a page

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
};

class Notebook : public QWidget {
    Q_OBJECT
public:
    explicit Notebook(QWidget* parent = nullptr);
    int addPage(QWidget* page, const QString& caption, const QString& hint = {});
    void setTabsVisible(bool on);
    int currentIndex() const;
    QWidget* page(int index) const;
    int count() const;
    QTabBar* tabBar() const { return tabs_; }

    // Changes the page unless `beforeChange` refuses; true when the page is in view afterwards.
    bool setCurrentIndex(int index);
    // Changes the page without asking.
    void showPage(int index);

    std::function<bool(int from, int to)> beforeChange;

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    NotebookTabBar* tabs_;
    QStackedWidget* stack_;
    QList<QWidget*> pages_;
};
