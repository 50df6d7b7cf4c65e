#pragma once
// The 34-item bond of the current mine (all its projects) or of the current
// project: inflation, indirect costs, fee look-ups and the Phase I and
// Phase II releases.
#include "Explanation.h"
#include "LeftOutValue.h"
#include "Money.h"

#include <QString>
#include <QVariant>
#include <array>
#include <optional>

class Dialogs;
class DirectCosts;
class DataModule;
class Table;

struct BondItems {
    std::array<Money, 35> item{};  // items 1 to 34 (item 14 also as a double below)
    double item14 = 0;              // inflated direct cost after Phase I, unrounded
    Money inflationFactor;          // item 6's factor, two places kept as money
    double phase1Factor = 1;
    double phase2Factor = 1;
    // The indirect items' (7 to 11, 15 to 19, 27 to 31) percents as the mine holds them,
    // and whether their amounts were entered to override them.
    std::array<double, 35> percent{};
    std::array<bool, 35> overridden{};
    LeftOutValues incomplete;  // the stored values the items leave out, each once

    // An item as the bond pages and worksheets show it: "%12.2m".
    QString amountText(int i) const;
    // An item's amount in dollars (item 14 unrounded).
    double amount(int i) const { return i == 14 ? item14 : item[static_cast<size_t>(i)].toDouble(); }
    // A factor as shown, "%10.3f": 0 item 6's, 1 Phase I's, 2 Phase II's.
    QString factorText(int which) const;
};

// Where each computed bond goes: the main window's bond pages format its items.
class BondDisplay {
public:
    virtual ~BondDisplay() = default;
    // After each computation: its items, or nullptr when it failed (nothing of an
    // earlier computation is to stay shown).
    virtual void bondComputed(const BondItems* items) = 0;
};

// For the batch runs: they read the items themselves.
class NoBondDisplay : public BondDisplay {
public:
    void bondComputed(const BondItems*) override {}
};

// The label of each item as the bond pages and worksheets print it.
QString bondItemLabel(int item);

class BondSummary {
public:
    BondSummary(DataModule& dm, DirectCosts& totals, Dialogs& dialogs, BondDisplay& display);

    // The bond of the mine a window shows: all its projects, or the project it shows.
    void CalcBondSummary(bool AllProjects);
    // The same for a mine named by key, of all its projects or (with `projectId`) of one.
    void CalcBondSummaryOf(const QVariant& mineId, const std::optional<QVariant>& projectId);
    const BondItems& items() const { return items_; }
    // The bond of the mine named by key (of one project with `projectId`), each item 1 to 34
    // with the tree of what it is made of, recorded by the computation that gives it.
    std::array<ExplainPtr, 35> ExplainBond(const QVariant& mineId, const std::optional<QVariant>& projectId);
    // The record a bond of the mine named by key reads the mine's own figures from and
    // writes the looked-up percents to.
    Table& mineRecordOf(const QVariant& mineId);

    double ProfitPercentFromTable(int phase);
    double ManPercentFromTable(int phase);
    void AutoFeePercents();

    // The bond pages' buttons.
    void RecalcClick() { CalcBondSummary(true); }
    void BondPostClick();
    void ContracBtnClick();  // profit and overhead percents from their table
    void RecBtnClick();      // management fee percents from their table

    // The override flag, override amount and percent fields of indirect cost i (0 to 4) of a phase.
    struct IndirectFields {
        const char* over;
        const char* amount;
        const char* percent;
    };
    static IndirectFields indirectFields(int phase, int i);

private:
    struct Of {
        QVariant mine, project;
    };
    void calculate(bool AllProjects, const std::optional<Of>& of);
    void computeBond(bool AllProjects, const std::optional<Of>& of);
    double feeFromTable(Table& table, int phase);
    void editMine();
    void writeFeePercents(Table& mine);

    DataModule& dm_;
    DirectCosts& totals_;
    Dialogs& dialogs_;
    BondDisplay& display_;
    BondItems items_;
    // The amounts the fee tables are looked up with (items 6, 14 and 26), as money; empty
    // until a computation has given them, and again after one failed.
    std::array<std::optional<Money>, 3> compared_{};
    int computing_ = 0;  // the item being computed, for an amount beyond the range of money
    std::array<ExplainPtr, 35> explained_{};
};

// What the bond's explanation is made of, as its computation recorded it: each project's
// total of each kind (items 1 to 4) and the mine's stored figures it read.
struct BondParts {
    std::array<std::vector<ExplainPtr>, 4> projectTotals;
    std::vector<std::pair<QString, ExplainPtr>> mineFields;
    ExplainPtr field(const QString& name) const;
};
std::array<ExplainPtr, 35> explainBondItems(const BondItems& b, const BondParts& parts);
