#include "MineReprice.h"

#include "CopyDataModule.h"
#include "CostHandbook.h"
#include "DataModule.h"
#include "EDatabaseError.h"
#include "MineCopy.h"
#include "Money.h"
#include "Query.h"
#include "Table.h"
#include "TableRules.h"
#include "WorksheetKinds.h"

#include <QSet>

namespace {

// The laborer a stored labor cost was taken from, by the rates the file holds at any
// date; the reason it cannot be told otherwise.
const LaborRate* laborerOf(const CostHandbook& book, double laborCost, QString& reason)
{
    const QList<const LaborRate*> found = book.categoriesOfRate(laborCost);
    if (found.isEmpty()) {
        reason = QStringLiteral("its labor cost %1 is no rate of the labor rates").arg(formatMoney(laborCost).trimmed());
        return nullptr;
    }
    for (const LaborRate* r : found)
        if (!sameMoney(r->hourlyCost, found.first()->hourlyCost)) {
            reason = QStringLiteral("its labor cost %1 is the rate of %2 laborers whose current rates differ")
                         .arg(formatMoney(laborCost).trimmed())
                         .arg(found.size());
            return nullptr;
        }
    return found.first();
}

void reprice(Table& machine, const CostHandbook& book, RepricedMachine& m)
{
    const QString name = machine.fieldByName("EquipmentName").asString();
    m.equipmentBefore = m.equipmentAfter = machine.fieldByName("OperatCost").asFloat();
    m.laborBefore = m.laborAfter = machine.fieldByName("LaborCost").asFloat();
    if (const HandbookPrice* p = book.price(name))
        m.equipmentAfter = p->hourlyCost;
    else
        m.equipmentKept = QStringLiteral("its model is not in the equipment-cost handbook");
    if (const LaborRate* r = laborerOf(book, m.laborBefore, m.laborKept))
        m.laborAfter = r->hourlyCost;
    if (!m.changed())
        return;
    machine.edit();
    machine.fieldByName("OperatCost").setAsFloat(m.equipmentAfter);
    machine.fieldByName("LaborCost").setAsFloat(m.laborAfter);
    machine.post();
}

}  // namespace

bool isCostIndex(double value)
{
    return value >= 0.1 && value <= 9999999999.99;
}

QString costIndexRange()
{
    return QStringLiteral("from 0.1 to 9,999,999,999.99");
}

CostIndex newestCostIndex(Database& db)
{
    Query q(db, QStringLiteral("NewestCostIndex"));
    q.setSql({QStringLiteral("SELECT MineID, ENRIndex, ENRIndexDate, ENRIndex5, ENRIndexDate5, Applicant FROM \"MINE.DB\" "
                             "WHERE ENRIndex IS NOT NULL ORDER BY MineID")});
    q.open();
    CostIndex newest;
    QDate newestDate;
    bool any = false;
    for (q.first(); !q.eof(); q.next()) {
        const QDate d = q.fieldByName(QStringLiteral("ENRIndexDate")).asDate();
        if (any && !(d.isValid() && (!newestDate.isValid() || d >= newestDate)))
            continue;
        any = true;
        newestDate = d;
        newest.current = q.fieldByName(QStringLiteral("ENRIndex")).asFloat();
        newest.fiveYearsEarlier = q.fieldByName(QStringLiteral("ENRIndex5")).asFloat();
        newest.fiveYearsEarlierDate = q.fieldByName(QStringLiteral("ENRIndexDate5")).asDate();
        newest.from = QStringLiteral("mine %1 (%2), dated %3")
                          .arg(q.fieldByName(QStringLiteral("MineID")).asInteger())
                          .arg(q.fieldByName(QStringLiteral("Applicant")).asString(),
                               d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("no date"));
    }
    newest.date = QDate::currentDate();
    return newest;
}

bool repriceMine(DataModule& dm, TableRules& rules, Dialogs& dialogs, int mineId, const CostIndex& index,
                 RepricedMine& result, const std::function<void(int)>& stepBy)
{
    if (!isCostIndex(index.current))
        throw EDatabaseError(QStringLiteral("The current cost index must be %1").arg(costIndexRange()));
    Database& db = dm.TarvaneDatabase;
    result = RepricedMine{};
    result.source = mineId;
    const CostHandbook book(db);
    Database::Transaction tx(db);
    try {
        CopyDataModule copyData;
        copyData.setDatabase(&db);
        MineCopy copy(copyData, dialogs);
        copy.stepBy = stepBy;
        if (!runMineCopy(dm, copyData, copy, mineId)) {
            tx.rollback();
            return false;
        }
        result.mineId = copy.newMineId();
        CopyDataModule::Views& v = copyData.views();
        if (!v.MineTT.locate({QStringLiteral("MineID")}, {result.mineId}))
            throw EDatabaseError(QStringLiteral("The copy of mine %1 cannot be found").arg(mineId));
        result.indexBefore = v.MineTT.fieldByName("ENRIndex").asFloat();
        result.dateBefore = v.MineTT.fieldByName("ENRIndexDate").asDate();
        struct Sheets {
            QChar letter;
            Table *sheets, *machines;
        };
        const Sheets kinds[] = {{QLatin1Char('D'), &v.DemolTT, &v.EquipDemoTT},
                                {QLatin1Char('M'), &v.MatTT, &v.EquipMatTT},
                                {QLatin1Char('R'), &v.RevegTT, &v.EquipRevegTT}};
        for (v.ProjectTT.first(); !v.ProjectTT.eof(); v.ProjectTT.next()) {
            const QString project = v.ProjectTT.fieldByName("ProjectName").asString();
            for (const auto& [letter, sheets, machines] : kinds) {
                const WorksheetKind& kind = worksheetKind(letter);
                for (sheets->first(); !sheets->eof(); sheets->next()) {
                    const QString row = sheets->fieldByName(QLatin1String(kind.itemField)).asString();
                    QList<int> plans;  // read first: a post makes the view seek its place again
                    for (machines->first(); !machines->eof(); machines->next())
                        plans << machines->fieldByName("PlanID").asInteger();
                    for (int plan : plans) {
                        machines->locate({QStringLiteral("PlanID")}, {plan});
                        RepricedMachine m;
                        m.planId = plan;
                        m.place = QStringLiteral("Project %1 / %2 row %3 / Machine %4")
                                      .arg(project, QLatin1String(kind.sheetName), row,
                                           machines->fieldByName("EquipmentName").asString());
                        reprice(*machines, book, m);
                        result.machines << m;
                    }
                }
            }
        }
        v.MineTT.edit();
        v.MineTT.fieldByName("ENRIndex").setAsFloat(index.current);
        v.MineTT.fieldByName("ENRIndexDate").setValue(index.date.isValid() ? QVariant(index.date) : QVariant());
        if (index.fiveYearsEarlier > 0) {
            v.MineTT.fieldByName("ENRIndex5").setAsFloat(index.fiveYearsEarlier);
            if (index.fiveYearsEarlierDate.isValid())
                v.MineTT.fieldByName("ENRIndexDate5").setValue(index.fiveYearsEarlierDate);
        }
        v.MineTT.post();
        result.indexAfter = index.current;
        result.dateAfter = index.date;
        rules.logEventText(QStringLiteral("Re-price"), v.MineTT.fieldByName("Applicant").asString());
        copyData.closeViews();
        tx.commit();
    } catch (...) {
        tx.rollback();
        throw;
    }
    return true;
}
