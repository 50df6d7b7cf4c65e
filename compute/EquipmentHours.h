#pragma once
// Productivity and hours of the ten kinds of equipment worksheet, the links
// between trucks and their loaders or excavators and between push dozers and
// their scrapers, and the matching of truck and loader hours.
#include "Explanation.h"

#include <QList>
#include <QPair>
#include <QString>

class DataSet;
class Dialogs;
class DataModule;

enum EquipKind { kDozer = 0, kDozerGrading, kPushDozer, kRipper, kExcavator, kGrader, kLoader, kScraper, kTruck, kUserDefined };

// The named results of the most recent calculation.
struct EquipCalcResults {
    double OperatingFactor = 0;     // F
    double HourlyProduction = 0;    // P
    double NetHourlyProduction = 0; // N (the truck's HP)
    double CycleTime = 0;           // C
    double PassesPerHour = 0;       // ripper R
    double VolumePerPass = 0;       // ripper V
    double NetBucketCapacity = 0;   // B
    double ScraperLoadTime = 0;     // push dozer: the scraper's LoadT
    double PusherCycleTime = 0;     // PC
    double ScraperCycleTime = 0;    // SC
    double ScrapersPerPusher = 0;   // S
    double ScraperProduction = 0;   // SP
    double ScraperHours = 0;        // SH
    double LoaderCycleTime = 0;     // truck LC
    double PassesPerTruck = 0;      // n
    double NetTruckCapacity = 0;    // NC
    double LoadingTime = 0;         // LT
    double TruckCycleTime = 0;      // TC
    double NumberOfTrucks = 0;      // K
    double ProductionRate = 0;      // PR
    double HoursRequired = 0;       // H
    double TotalHours = 0;          // T
    double UnitHours = 0;           // hours of one machine before added hours
    bool TruckOverridden = false;

    QList<QPair<QString, double>> named() const;
};

// The wizard's worksheet page, which a calculation with the show flag reads
// choices from and writes its results into.
class EquipWorksheetPage {
public:
    virtual ~EquipWorksheetPage() = default;
    virtual int pickedScraper() = 0;            // PlanID picked for a push dozer, -1 none
    virtual bool pusherFactorChosen() = 0;
    virtual void chooseFirstPusherFactor() = 0;
    virtual int truckPartnerChoice() = 0;       // 0 loader, 1 excavator
    virtual int pickedTruckPartner() = 0;       // PlanID, -1 none
    virtual void showResults(int kind, const EquipCalcResults& results) = 0;
};

// The equipment list window, whose data set the bind flag sets.
class EquipListBinding {
public:
    virtual ~EquipListBinding() = default;
    virtual void setDataSet(DataSet* ds) = 0;
    virtual DataSet* dataSet() = 0;
};

class EquipmentCalculator {
public:
    EquipmentCalculator(DataModule& dm, Dialogs& dialogs);

    EquipCalcResults EquipCalcResults_;  // of the most recent calculation
    QString ActivityName;
    QString ItemName;
    bool SuspendPusherCalc = false;
    // Whether kinds 2 to 9 may be computed: the program says so once its start-up has
    // opened the views they read (the main window's first activation); while false they give 0.
    bool MayCompute = true;

    void setPage(EquipWorksheetPage* page) { page_ = page; }
    // While set, each calculation records its hours as a tree of its formula and inputs.
    void setExplain(ExplainRecorder* recorder) { explain_ = recorder; }
    void setList(EquipListBinding* list) { list_ = list; }

    double CalcEquipHours(DataSet& row, int kind, bool show, bool bind);
    // Runs one kind's calculation on the row (the wizard does this with show true).
    double calculateKind(DataSet& row, int kind, bool show);

    // The rows of one kind on one worksheet, as the wizard's pickers offer them.
    struct Partner {
        int planId;
        QString route;
        int addedEquipId;
        QString equipmentName;
    };
    // How a partner picker names a row: its Route, or its kind and machine when the Route is empty.
    static QString partnerText(int kind, const Partner& p);
    // The name of a kind as the equipment list's side bar offers it; empty for no kind.
    static QString kindName(int kind);
    QList<Partner> partnerRows(int kind, const QString& costType, int sheetId);
    static QString partnerFilter(int kind, const QString& costType, int sheetId);

    enum class MatchSide { Truck, Loader, Excavator };
    void MatchAddedHours(MatchSide side);

    // The views the hours read beyond the row itself: the partners of trucks and push
    // dozers, and the mine and project their messages name. The data module's, unless a
    // computation that walks views of its own lends its for the length of its walk.
    struct Views {
        DataSet* partners;
        DataSet* mine;
        DataSet* project;
    };
    class LentViews {
    public:
        LentViews(EquipmentCalculator& calc, const Views& views) : calc_(calc), was_(calc.views_) { calc.views_ = views; }
        ~LentViews() { calc_.views_ = was_; }
        LentViews(const LentViews&) = delete;
        LentViews& operator=(const LentViews&) = delete;

    private:
        EquipmentCalculator& calc_;
        Views was_;
    };

private:
    double dozer(DataSet& r, EquipCalcResults& x);
    double dozerGrading(DataSet& r, EquipCalcResults& x);
    double pushDozer(DataSet& r, EquipCalcResults& x, bool show);
    double ripper(DataSet& r, EquipCalcResults& x);
    double excavator(DataSet& r, EquipCalcResults& x);
    double grader(DataSet& r, EquipCalcResults& x);
    double loader(DataSet& r, EquipCalcResults& x);
    double scraper(DataSet& r, EquipCalcResults& x);
    double truck(DataSet& r, EquipCalcResults& x, bool show);
    bool activated() const { return MayCompute; }
    // Positions the view on the row with that PlanID; false when none passes.
    bool findPlan(DataSet& view, int planId);
    void showPusherError();

    DataModule& dm_;
    Dialogs& dialogs_;
    Views views_;
    EquipWorksheetPage* page_ = nullptr;
    EquipListBinding* list_ = nullptr;
    ExplainRecorder* explain_ = nullptr;
};

// A stored number a calculation read, for the explanation of its hours.
struct HoursRead {
    const DataSet* from;  // the machine's own row or its partner's
    const char* field;
    double value;
    ExplainSource source;
};
// The hours of a machine of the kind as a tree: the productivity formula of its kind with
// every input named and valued, from the results and the reads of that calculation.
ExplainPtr explainHours(int kind, const EquipCalcResults& x, double hours, const std::vector<HoursRead>& reads,
                        const DataSet& row);

// The whole part of a quotient plus one, the quotient truncated as computed.
double wholePartPlusOne(double numerator, double denominator);
