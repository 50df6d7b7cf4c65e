#pragma once
// The 34-item bond of the current mine (all its projects) or of the current
// project: inflation, indirect costs, fee look-ups and the Phase I and
// Phase II releases.
#include "LeftOutValue.h"
#include "Money.h"

#include <QHash>
#include <QString>
#include <array>

class Dialogs;
class DirectCosts;
class TTarvaneDataForm;
class Table;

// Where the bond's texts are shown: the main window's bond pages, or a plain
// map for printing and the command line. The fee look-ups read texts back.
class BondDisplay {
public:
    virtual ~BondDisplay() = default;
    virtual void setText(const QString& control, const QString& text) = 0;
    virtual QString text(const QString& control) const = 0;
    // After each computation: whether it completed (the texts are the bond's) or failed
    // (the texts shown may be partly those of an earlier computation).
    virtual void bondComputed(bool ok) { Q_UNUSED(ok); }
};

class MapBondDisplay : public BondDisplay {
public:
    void setText(const QString& control, const QString& text) override { texts.insert(control, text); }
    QString text(const QString& control) const override { return texts.value(control); }
    QHash<QString, QString> texts;
};

struct BondItems {
    std::array<Money, 35> item{};  // items 1 to 34 (item 14 also as a double below)
    double item14 = 0;              // inflated direct cost after Phase I, unrounded
    Money inflationFactor;          // item 6's factor, two places kept as money
    double phase1Factor = 1;
    double phase2Factor = 1;
    LeftOutValues incomplete;  // the stored values the items leave out, each once
};

// The label of each item as the bond pages and worksheets print it.
QString bondItemLabel(int item);

class BondSummary {
public:
    BondSummary(TTarvaneDataForm& dm, DirectCosts& totals, Dialogs& dialogs, BondDisplay& display);

    void CalcBondSummary(bool AllProjects);
    const BondItems& items() const { return items_; }
    BondDisplay& display() const { return display_; }

    double ProfitPercentFromTable(int phase);
    double ManPercentFromTable(int phase);
    void AutoFeePercents();

    // The bond pages' buttons.
    void RecalcClick() { CalcBondSummary(true); }
    void BondPostClick();
    void ContracBtnClick();  // profit and overhead percents from their table
    void RecBtnClick();      // management fee percents from their table

    // The controls an item is shown in: the mine pages' and the project pages'.
    static QStringList controlsOfItem(int item);
    // The project page's control that shows what a mine page's control shows.
    static QString projectControlOf(const QString& mineControl);
    // The override flag, override amount and percent fields of indirect cost i (0 to 4) of a phase.
    struct IndirectFields {
        const char* over;
        const char* amount;
        const char* percent;
    };
    static IndirectFields indirectFields(int phase, int i);

private:
    void computeBond(bool AllProjects);
    double feeFromTable(Table& table, int phase);
    void editMine();
    void show(int item, const QString& text);
    void showFactor(int which, double value);

    TTarvaneDataForm& dm_;
    DirectCosts& totals_;
    Dialogs& dialogs_;
    BondDisplay& display_;
    BondItems items_;
    int computing_ = 0;  // the item being computed, for an amount beyond the range of money
};
