#include "EquipmentHours.h"

#include "DataSet.h"
#include "Dialogs.h"
#include "DataModule.h"
#include "Table.h"

#include <cmath>

namespace {

// The reads of the calculation being explained; null while none is.
std::vector<HoursRead>* explainedReads = nullptr;

ExplainSource sourceOf(DataSet& r, const char* field)
{
    const auto* table = dynamic_cast<const Table*>(&r);
    if (!table)
        return {};
    static const QString plan = QStringLiteral("PlanID");
    return {table->format().fileName, plan, r.fieldByName("PlanID").asInteger(), explainName(field)};
}

double num(DataSet& r, const char* field)
{
    const double v = r.fieldByName(field).asFloat();  // an empty field reads as 0
    if (explainedReads)
        explainedReads->push_back({&r, field, v, sourceOf(r, field)});
    return v;
}

int whole(DataSet& r, const char* field)
{
    return r.fieldByName(field).asInteger();
}

// The whole part of a quotient, truncated toward zero as computed.
double wholePart(double numerator, double denominator)
{
    return static_cast<double>(std::trunc(static_cast<long double>(numerator) / static_cast<long double>(denominator)));
}

}  // namespace

double wholePartPlusOne(double numerator, double denominator)
{
    return wholePart(numerator, denominator) + 1.0;
}

QList<QPair<QString, double>> EquipCalcResults::named() const
{
    return {{QStringLiteral("OperatingFactor"), OperatingFactor},
            {QStringLiteral("HourlyProduction"), HourlyProduction},
            {QStringLiteral("NetHourlyProduction"), NetHourlyProduction},
            {QStringLiteral("CycleTime"), CycleTime},
            {QStringLiteral("PassesPerHour"), PassesPerHour},
            {QStringLiteral("VolumePerPass"), VolumePerPass},
            {QStringLiteral("NetBucketCapacity"), NetBucketCapacity},
            {QStringLiteral("ScraperLoadTime"), ScraperLoadTime},
            {QStringLiteral("PusherCycleTime"), PusherCycleTime},
            {QStringLiteral("ScraperCycleTime"), ScraperCycleTime},
            {QStringLiteral("ScrapersPerPusher"), ScrapersPerPusher},
            {QStringLiteral("ScraperProduction"), ScraperProduction},
            {QStringLiteral("ScraperHours"), ScraperHours},
            {QStringLiteral("LoaderCycleTime"), LoaderCycleTime},
            {QStringLiteral("PassesPerTruck"), PassesPerTruck},
            {QStringLiteral("NetTruckCapacity"), NetTruckCapacity},
            {QStringLiteral("LoadingTime"), LoadingTime},
            {QStringLiteral("TruckCycleTime"), TruckCycleTime},
            {QStringLiteral("NumberOfTrucks"), NumberOfTrucks},
            {QStringLiteral("ProductionRate"), ProductionRate},
            {QStringLiteral("HoursRequired"), HoursRequired},
            {QStringLiteral("TotalHours"), TotalHours},
            {QStringLiteral("UnitHours"), UnitHours},
            {QStringLiteral("TruckOverridden"), TruckOverridden ? 1.0 : 0.0}};
}

EquipmentCalculator::EquipmentCalculator(DataModule& dm, Dialogs& dialogs)
    : dm_(dm), dialogs_(dialogs), views_{&dm.EquipStuffT, &dm.MineT, &dm.ProjectT}
{
}

double EquipmentCalculator::CalcEquipHours(DataSet& row, int kind, bool show, bool bind)
{
    EquipCalcResults_ = EquipCalcResults();
    if (bind && list_)
        list_->setDataSet(&row);
    return calculateKind(row, kind, show);
}

double EquipmentCalculator::calculateKind(DataSet& row, int kind, bool show)
{
    EquipCalcResults& x = EquipCalcResults_;
    double hours = 0.0;
    if (kind >= kPushDozer && kind <= kUserDefined && !activated()) {
        if (explain_)
            explain_->stored(QStringLiteral("Hours"), 0.0, {}, QStringLiteral("not computed before the program has opened its views"));
        return 0.0;
    }
    // Explained: the reads are kept while the kind computes, then told as its formula.
    std::vector<HoursRead> reads;
    struct Reads {
        explicit Reads(std::vector<HoursRead>* r) : was(explainedReads) { explainedReads = r; }
        ~Reads() { explainedReads = was; }
        std::vector<HoursRead>* was;
    } keep(explain_ ? &reads : explainedReads);
    switch (kind) {
    case kDozer: hours = dozer(row, x); break;
    case kDozerGrading: hours = dozerGrading(row, x); break;
    case kPushDozer: hours = pushDozer(row, x, show); break;
    case kRipper: hours = ripper(row, x); break;
    case kExcavator: hours = excavator(row, x); break;
    case kGrader: hours = grader(row, x); break;
    case kLoader: hours = loader(row, x); break;
    case kScraper: hours = scraper(row, x); break;
    case kTruck: hours = truck(row, x, show); break;
    case kUserDefined:
        x.HoursRequired = x.UnitHours = x.TotalHours = num(row, "HrsReg");
        hours = x.HoursRequired;
        break;
    default:
        if (explain_)
            explain_->stored(QStringLiteral("Hours"), 0.0, {}, QStringLiteral("no equipment kind %1: 0 hours").arg(kind));
        return 0.0;
    }
    if (show && page_)
        page_->showResults(kind, x);
    if (explain_)
        explain_->add(explainHours(kind, x, hours, reads, row));
    return hours;
}

double EquipmentCalculator::dozer(DataSet& r, EquipCalcResults& x)
{
    x.OperatingFactor = num(r, "OpFact") * num(r, "MatFact") * num(r, "EffFact") * num(r, "GradeFact") *
                        num(r, "WeiFact") * num(r, "ProdFact") * num(r, "Visibil") * num(r, "Elevation");
    x.NetHourlyProduction = num(r, "HourProd") * x.OperatingFactor;
    x.HoursRequired = x.NetHourlyProduction == 0.0 ? 0.0 : wholePartPlusOne(num(r, "Volume"), x.NetHourlyProduction);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

double EquipmentCalculator::dozerGrading(DataSet& r, EquipCalcResults& x)
{
    x.OperatingFactor = num(r, "OpFact") * num(r, "MatFact") * num(r, "EffFact") * num(r, "GradeFact") *
                        num(r, "WeiFact") * num(r, "ProdFact") * num(r, "Visibil") * num(r, "Elevation");
    x.HourlyProduction = num(r, "Speed") * num(r, "Blade") * 5280.0 / 43560.0;
    x.NetHourlyProduction = x.OperatingFactor * x.HourlyProduction;
    x.HoursRequired = x.NetHourlyProduction == 0.0 ? 0.0 : wholePartPlusOne(num(r, "Acres"), x.NetHourlyProduction);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

double EquipmentCalculator::grader(DataSet& r, EquipCalcResults& x)
{
    x.HourlyProduction = num(r, "Speed") * num(r, "Blade") * num(r, "EffFact") * 5280.0 / 43560.0;
    x.HoursRequired = x.HourlyProduction == 0.0 ? 0.0 : wholePartPlusOne(num(r, "Acres"), x.HourlyProduction);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

double EquipmentCalculator::ripper(DataSet& r, EquipCalcResults& x)
{
    const double cutL = num(r, "CutL");
    x.CycleTime = cutL / 88.0 + num(r, "Turn");
    x.PassesPerHour = x.CycleTime == 0.0 ? 0.0 : num(r, "EffFact") * (60.0 / x.CycleTime);
    x.VolumePerPass = num(r, "ToolPenetration") * num(r, "CutS") * cutL / 27.0;
    x.HourlyProduction = x.VolumePerPass * x.PassesPerHour;
    x.HoursRequired = x.HourlyProduction == 0.0 ? 0.0 : wholePartPlusOne(num(r, "Volume"), x.HourlyProduction);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

double EquipmentCalculator::excavator(DataSet& r, EquipCalcResults& x)
{
    x.NetBucketCapacity = num(r, "BuckCap") * num(r, "FillFact");
    const double cycle = num(r, "CycleT");
    x.CycleTime = cycle;
    x.NetHourlyProduction = cycle == 0.0 ? 0.0 : x.NetBucketCapacity * 60.0 / cycle * num(r, "EffFact");
    if (x.NetHourlyProduction == 0.0)
        return 0.0;
    x.HoursRequired = x.UnitHours = wholePartPlusOne(num(r, "Volume"), x.NetHourlyProduction);
    return x.TotalHours = x.HoursRequired + num(r, "AddHours");
}

double EquipmentCalculator::loader(DataSet& r, EquipCalcResults& x)
{
    x.CycleTime = num(r, "HaulT") + num(r, "ReturnT") + num(r, "CycleT");
    x.NetBucketCapacity = num(r, "BuckCap") * num(r, "BuckFact") / 100.0;
    x.NetHourlyProduction = x.CycleTime == 0.0 ? 0.0 : x.NetBucketCapacity / x.CycleTime * 60.0 * num(r, "EffFact");
    if (x.NetHourlyProduction == 0.0)
        return 0.0;
    x.HoursRequired = x.UnitHours = wholePartPlusOne(num(r, "Volume"), x.NetHourlyProduction);
    return x.TotalHours = x.HoursRequired + num(r, "AddHours");
}

double EquipmentCalculator::scraper(DataSet& r, EquipCalcResults& x)
{
    x.CycleTime = num(r, "LoadT") + num(r, "TripT") + num(r, "SpreadT") + num(r, "ReturnT");
    x.HourlyProduction = x.CycleTime == 0.0 ? 0.0 : num(r, "AdjustedLoad") * 60.0 / x.CycleTime * num(r, "EffFact");
    x.HoursRequired = x.HourlyProduction == 0.0 ? 0.0 : wholePartPlusOne(num(r, "Volume"), x.HourlyProduction);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

bool EquipmentCalculator::findPlan(DataSet& view, int planId)
{
    view.setFilter(QStringLiteral("PlanID = ") + QString::number(planId));
    view.setFiltered(true);
    return !view.isEmpty();
}

QString EquipmentCalculator::partnerFilter(int kind, const QString& costType, int sheetId)
{
    QString quoted = costType;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("(EquipCode2 = ") + QString::number(kind) + QStringLiteral(")") +
           QStringLiteral(" and (CostType = '") + quoted + QStringLiteral("')") + QStringLiteral(" and (SheetID = ") +
           QString::number(sheetId) + QStringLiteral(")");
}

QList<EquipmentCalculator::Partner> EquipmentCalculator::partnerRows(int kind, const QString& costType, int sheetId)
{
    Table& view = dm_.EquipStuffT;
    view.setFilter(partnerFilter(kind, costType, sheetId));
    view.setFiltered(true);
    QList<Partner> out;
    for (view.first(); !view.eof(); view.next())
        out.append({whole(view, "PlanID"), view.fieldByName(QStringLiteral("Route")).asString(), whole(view, "AddedEquipID"),
                    view.fieldByName(QStringLiteral("EquipmentName")).asString()});
    return out;
}

QString EquipmentCalculator::partnerText(int kind, const Partner& p)
{
    if (!p.route.trimmed().isEmpty())
        return p.route;
    return p.equipmentName.isEmpty() ? kindName(kind) : kindName(kind) + QStringLiteral(": ") + p.equipmentName;
}

QString EquipmentCalculator::kindName(int kind)
{
    static const char* const kinds[] = {"Dozer", "Dozer Grading", "Push Dozer", "Dozer Ripper", "Excavator",
                                        "Grader", "Loader", "Scraper", "Truck", "User Defined"};
    return kind >= 0 && kind < 10 ? QString::fromLatin1(kinds[kind]) : QString();
}

void EquipmentCalculator::showPusherError()
{
    dialogs_.errorOnce(QStringLiteral("Error with pusher dozer.  Can NOT find scraper!\n") + QStringLiteral("Mine: ") +
                   views_.mine->fieldByName(QStringLiteral("Applicant")).asString() + QLatin1Char('\n') +
                   QStringLiteral("Project: ") + views_.project->fieldByName(QStringLiteral("ProjectName")).asString() +
                   QLatin1Char('\n') + ActivityName + QLatin1Char('\n') + QStringLiteral("Item Name: ") + ItemName);
}

double EquipmentCalculator::pushDozer(DataSet& r, EquipCalcResults& x, bool show)
{
    if (SuspendPusherCalc)
        return 0.0;
    int scraperId = whole(r, "AddedEquipID");
    if (show && page_) {
        if (!page_->pusherFactorChosen())
            page_->chooseFirstPusherFactor();
        scraperId = page_->pickedScraper();
    }
    DataSet& s = *views_.partners;
    if (!findPlan(s, scraperId)) {
        showPusherError();
        return 0.0;
    }
    x.ScraperLoadTime = num(s, "LoadT");
    x.PusherCycleTime = x.ScraperLoadTime * num(r, "PusherFactor");
    x.ScraperCycleTime = x.ScraperLoadTime + num(s, "TripT") + num(s, "SpreadT") + num(s, "ReturnT");
    x.ScrapersPerPusher = x.PusherCycleTime == 0.0 ? 0.0 : wholePart(x.ScraperCycleTime, x.PusherCycleTime);
    if (x.ScrapersPerPusher == 0.0)
        return 0.0;
    x.ScraperProduction =
        x.ScraperCycleTime == 0.0 ? 0.0 : num(s, "AdjustedLoad") * 60.0 / x.ScraperCycleTime * num(s, "EffFact");
    x.ScraperHours = x.ScraperProduction == 0.0 ? 0.0 : num(s, "Volume") / x.ScraperProduction;
    x.HoursRequired = wholePartPlusOne(x.ScraperHours, x.ScrapersPerPusher);
    return x.UnitHours = x.TotalHours = x.HoursRequired;
}

double EquipmentCalculator::truck(DataSet& r, EquipCalcResults& x, bool show)
{
    int partnerId = whole(r, "AddedEquipID");
    int choice = whole(r, "LoadExcavRG");
    if (show && page_) {
        choice = page_->truckPartnerChoice();
        partnerId = page_->pickedTruckPartner();
    }
    DataSet& p = *views_.partners;
    if (!findPlan(p, partnerId))
        return 0.0;
    if (choice == 0) {
        x.LoaderCycleTime = num(p, "HaulT") + num(p, "ReturnT") + num(p, "CycleT");
        x.NetBucketCapacity = num(p, "BuckCap") * num(p, "BuckFact") / 100.0;
    } else if (choice == 1) {
        x.LoaderCycleTime = num(p, "CycleT");
        x.NetBucketCapacity = num(p, "BuckCap") * num(p, "FillFact");
    }
    if (x.NetBucketCapacity == 0.0)
        dialogs_.errorOnce(QStringLiteral("Error in Loader or Excavator data.  Fix, then re-enter truck!"));
    else
        x.PassesPerTruck = wholePart(num(r, "TruckCap"), x.NetBucketCapacity);
    x.NetTruckCapacity = x.NetBucketCapacity * x.PassesPerTruck;
    x.LoadingTime = x.PassesPerTruck * x.LoaderCycleTime;
    x.TruckCycleTime = num(r, "HaulT") + x.LoadingTime + num(r, "DumpT") + num(r, "ReturnT");
    if (r.fieldByName(QStringLiteral("OverrideTruck")).asBoolean()) {
        x.NumberOfTrucks = num(r, "NumTrucks");
        x.TruckOverridden = true;
    } else {
        x.TruckOverridden = false;
        if (x.LoadingTime == 0.0) {
            x.NumberOfTrucks = 0.0;
        } else {
            const long double q = static_cast<long double>(x.TruckCycleTime) / x.LoadingTime;
            const long double w = std::trunc(q);
            x.NumberOfTrucks = static_cast<double>(q - w > 0 ? w + 1 : q);
        }
    }
    x.ProductionRate = x.TruckCycleTime == 0.0 ? 0.0 : x.NetTruckCapacity * x.NumberOfTrucks / x.TruckCycleTime;
    x.NetHourlyProduction = 60.0 * x.ProductionRate * num(r, "EffFact");
    if (x.NetHourlyProduction == 0.0)
        return 0.0;
    x.HoursRequired = x.UnitHours = wholePartPlusOne(num(r, "Volume"), x.NetHourlyProduction);
    return x.TotalHours = (x.HoursRequired + num(r, "AddHours")) * x.NumberOfTrucks;
}

void EquipmentCalculator::MatchAddedHours(MatchSide side)
{
    DataSet* row = list_ ? list_->dataSet() : nullptr;
    if (!row)
        return;
    if (row->state() == DataSetState::Insert)
        dialogs_.error(QStringLiteral("insert mode 5xx"));
    for (DataSet* v : {static_cast<DataSet*>(&dm_.EquipStuffT), static_cast<DataSet*>(&dm_.EquipStuff1T)})
        if (v->state() == DataSetState::Insert)
            dialogs_.error(QStringLiteral("Insert 6xx"));
    double truckUnit = 0.0, partnerUnit = 0.0;
    EquipCalcResults other;
    if (side == MatchSide::Truck) {
        if (!findPlan(dm_.EquipStuffT, whole(*row, "AddedEquipID"))) {
            dialogs_.error(QStringLiteral("Error finding loader or excavator worksheet for max hours!"));
            return;
        }
        const int rg = whole(*row, "LoadExcavRG");
        if (rg == 0)
            loader(dm_.EquipStuffT, other);
        else if (rg == 1)
            excavator(dm_.EquipStuffT, other);
        partnerUnit = other.UnitHours;
        EquipCalcResults_ = EquipCalcResults();
        calculateKind(*row, kTruck, true);
        truckUnit = EquipCalcResults_.UnitHours;
    } else {
        const int truckId = whole(*row, "AddedEquipID");
        if (!findPlan(dm_.EquipStuff1T, truckId)) {
            if (truckId != -1)
                dialogs_.error(QStringLiteral("Error finding truck worksheet for max hours!"));
            return;
        }
        truck(dm_.EquipStuff1T, other, false);
        truckUnit = other.UnitHours;
        EquipCalcResults_ = EquipCalcResults();
        calculateKind(*row, side == MatchSide::Loader ? kLoader : kExcavator, true);
        partnerUnit = EquipCalcResults_.UnitHours;
    }
    const double t = std::nearbyint(truckUnit);  // halves to the even neighbour
    const double l = std::nearbyint(partnerUnit);
    const double truckAdded = l > t ? l - t : 0.0;
    const double partnerAdded = t > l ? t - l : 0.0;

    if (!row->isEditing())
        row->edit();
    row->fieldByName(QStringLiteral("AddHours")).setAsFloat(side == MatchSide::Truck ? truckAdded : partnerAdded);
    row->post();
    DataSet& view = side == MatchSide::Truck ? static_cast<DataSet&>(dm_.EquipStuffT) : dm_.EquipStuff1T;
    if (findPlan(view, whole(*row, "AddedEquipID"))) {
        view.edit();
        view.fieldByName(QStringLiteral("AddHours")).setAsFloat(side == MatchSide::Truck ? partnerAdded : truckAdded);
        view.post();
    } else if (side == MatchSide::Truck) {
        dialogs_.error(QStringLiteral("Error Cal Added hours!"));
    }
}
