#pragma once
// Two estimates side by side: the mine shown against another mine of the data
// file, of any data set. The 34 items with both amounts, the difference and the
// percent, then each project, worksheet row and machine added, removed or changed
// with the values that differ. It prints as a report through the report canvas.
#include "Explanation.h"
#include "MineComparison.h"

#include <QWidget>

class Computation;
class DataModule;
class Dialogs;
class QComboBox;
class QLabel;
class QTableWidget;

class ComparisonWindow : public QWidget {
    Q_OBJECT
public:
    ComparisonWindow(DataModule& dm, Computation& computation, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ComparisonWindow() override;

    // The mine compared, and the mines it may be compared with; chooses `with` when given.
    void setMine(int mineId, int with = -1);
    // Compares the mine with the one chosen; false (the reason shown) when it cannot.
    bool compare();
    // A line above the comparison (what a re-pricing did).
    void setNote(const QString& note);
    void print();

    const MineComparison& comparison() const { return c_; }
    int withMine() const;

Q_SIGNALS:
    // A record of the first mine was double-clicked (its project, worksheet row or machine).
    void goToStored(const ExplainSource& source);

private:
    DataModule& dm_;
    Computation& comp_;
    Dialogs& dialogs_;
    int mine_ = -1;
    int with_ = -1;
    MineComparison c_;
    QLabel* heading_;
    QLabel* note_;
    QComboBox* with_combo_;
    QTableWidget* items_;
    QTableWidget* records_;
    QLabel* summary_;
};
