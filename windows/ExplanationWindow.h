#pragma once
// The window that shows where an amount comes from: the tree recorded by the
// computation that gives the amount, with each part's value, its rule with the
// values put in and where a stored value is kept. It searches the tree, expands
// it, copies it to the clipboard as text and prints it; double-clicking a stored
// value asks the main window to go to the record that holds it.
#include "Explanation.h"

#include <QWidget>

class DataModule;
class Dialogs;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

class ExplanationWindow : public QWidget {
    Q_OBJECT
public:
    ExplanationWindow(Dialogs& dialogs, const DataModule& data, QWidget* parent = nullptr);
    ~ExplanationWindow() override;

    // Shows the tree of an amount of the mine `mine` (of the project `project`, when not empty).
    void showTree(ExplainPtr root, const QString& mine, const QString& project);
    const ExplainNode* root() const { return root_.get(); }
    // The tree as the clipboard gets it: indented text.
    QString treeText() const;

    void search(const QString& text);
    void expandAll();
    void copyTree();
    void printTree();

Q_SIGNALS:
    // A stored value was double-clicked.
    void goToStored(const ExplainSource& source);

private:
    void activated(const class QModelIndex& index);
    static const ExplainNode* nodeOf(const class QStandardItem* item);
    void fill(QStandardItem* item);
    bool fillMatches(QStandardItem* item, const QString& text);

    Dialogs& dialogs_;
    const DataModule& data_;
    ExplainPtr root_;
    QString mine_, project_;
    QLabel* heading_;
    QLineEdit* search_;
    QTreeView* tree_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* filter_;
};
