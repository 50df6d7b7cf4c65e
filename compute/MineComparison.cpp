#include "MineComparison.h"

#include "Money.h"

#include "Computation.h"
#include "ComputeViews.h"
#include "EDatabaseError.h"
#include "EquipmentHours.h"
#include "WorksheetKinds.h"

#include <QHash>
#include <cmath>

namespace {

// A record of an estimate as the comparison reads it: what it is matched by, its stored
// values, its cost and the records under it.
struct Record {
    QString group;  // records are matched within their group: projects, one kind's rows, machines
    QString name;   // and by their name, in order
    QString place;  // how the difference names it
    QString table;
    qint64 key = 0;
    QStringList names;  // the compared fields, shared by every record of a view
    QVector<QVariant> values;
    double cost = 0;
    bool hasCost = false;
    QList<Record> children;
};

// Keys, links and the data set code say where a record is, not what it estimates.
bool compared(const FieldDef& f)
{
    static const QStringList places{QStringLiteral("MineID"), QStringLiteral("PrjID"), QStringLiteral("SheetID"),
                                    QStringLiteral("CostType"), QStringLiteral("PlanID"), QStringLiteral("AddedEquipID"),
                                    QStringLiteral("RevegYears")};
    return f.type != FieldType::AutoInc && !places.contains(f.name);
}

// The fields a view's records are compared by, found once per view.
struct Layout {
    Field* key = nullptr;
    QStringList names;
    QVector<Field*> fields;
};

// The layouts of the views one reading of a mine walks (their fields stay while it reads).
class Layouts {
public:
    const Layout& of(Table& t)
    {
        auto it = layouts_.find(&t);
        if (it != layouts_.end())
            return *it;
        Layout l;
        for (const FieldDef& f : t.format().fields) {
            if (f.type == FieldType::AutoInc)
                l.key = &t.fieldByName(f.name);
            if (compared(f)) {
                l.names.append(f.name);
                l.fields.append(&t.fieldByName(f.name));
            }
        }
        return *layouts_.insert(&t, l);
    }

private:
    QHash<const Table*, Layout> layouts_;
};

Record read(Table& t, Layouts& layouts, const QString& group, const QString& name, const QString& place)
{
    Record r;
    r.group = group;
    r.name = name;
    r.place = place;
    r.table = t.format().fileName;
    const Layout& l = layouts.of(t);
    if (l.key)
        r.key = l.key->asInteger();
    r.names = l.names;
    r.values.reserve(l.fields.size());
    for (const Field* field : l.fields)
        r.values.append(field->value());
    return r;
}

// The costs come from the walk of the mine's bond when it kept them.
Record readMine(Computation& c, const QVariant& mineId, const DirectCosts::CostCapture& costs, Layouts& layouts)
{
    ComputeViews& v = c.views;
    if (!v.standOnMine(mineId))
        throw EDatabaseError(QStringLiteral("There is no mine %1").arg(mineId.toString()));
    Record mine = read(v.MineV, layouts, QStringLiteral("mine"), QString(), QStringLiteral("Mine"));
    DirectCosts& totals = c.totals;
    for (v.ProjectV.first(); !v.ProjectV.eof(); v.ProjectV.next()) {
        const QString projectName = v.ProjectV.fieldByName(QStringLiteral("ProjectName")).asString();
        Record project = read(v.ProjectV, layouts, QStringLiteral("project"), projectName, QStringLiteral("Project ") + projectName);
        project.hasCost = true;
        for (const WorksheetKind& k : worksheetKinds()) {
            // The costs are added as the kind's total adds them: the rows' own costs, then
            // their machines', each in row order.
            double inputSum = 0.0, machineSum = 0.0;
            Table& sheets = v.sheets(k.letter);
            for (sheets.first(); !sheets.eof(); sheets.next()) {
                const QString item = sheets.fieldByName(QLatin1String(k.itemField)).asString();
                Record row = read(sheets, layouts, QString(k.letter), item,
                                  QStringLiteral("%1 row %2").arg(QLatin1String(k.sheetName), item));
                row.hasCost = true;
                const auto kept = costs.inputs.constFind({k.letter, sheets.fieldByName("SheetID").asInteger()});
                const double inputs = kept != costs.inputs.cend() ? *kept : totals.viewsInputsCost(v, k.letter).cost;
                inputSum += inputs;
                double machinesCost = 0.0;
                if (Table* machines = v.equipment(k.letter))
                    for (machines->first(); !machines->eof(); machines->next()) {
                        QString name = machines->fieldByName(QStringLiteral("EquipmentName")).asString();
                        if (name.isEmpty())
                            name = EquipmentCalculator::kindName(machines->fieldByName(QStringLiteral("EquipCode2")).asInteger());
                        Record m = read(*machines, layouts, QStringLiteral("machine"), name, QStringLiteral("Machine ") + name);
                        m.hasCost = true;
                        const auto cost = costs.machines.constFind(machines->fieldByName("PlanID").asInteger());
                        m.cost = cost != costs.machines.cend() ? *cost : totals.viewsMachineCost(v, k.letter).cost;
                        machineSum += m.cost;
                        machinesCost += m.cost;
                        row.children << m;
                    }
                row.cost = inputs + machinesCost;
                project.children << row;
            }
            project.cost += inputSum + machineSum;
        }
        mine.children << project;
    }
    return mine;
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    return a == b;
}

RecordDifference whole(const Record& r, RecordDifference::Change change, const QString& path)
{
    RecordDifference d;
    d.change = change;
    d.what = path + r.place;
    d.table = r.table;
    (change == RecordDifference::Change::Added ? d.keyAfter : d.keyBefore) = r.key;
    d.hasCost = r.hasCost;
    (change == RecordDifference::Change::Added ? d.costAfter : d.costBefore) = r.cost;
    return d;
}

void compare(const Record& a, const Record& b, const QString& path, QList<RecordDifference>& out)
{
    RecordDifference d;
    if (a.names == b.names) {
        // Records of one table list their fields in the same order.
        for (qsizetype i = 0; i < a.values.size(); ++i)
            if (!sameValue(a.values[i], b.values[i]))
                d.fields.append({a.names[i], a.values[i], b.values[i]});
    } else {
        for (qsizetype i = 0; i < a.values.size(); ++i) {
            const qsizetype j = b.names.indexOf(a.names[i]);
            if (j >= 0 && !sameValue(a.values[i], b.values[j]))
                d.fields.append({a.names[i], a.values[i], b.values[j]});
        }
    }
    if (!d.fields.isEmpty() || (a.hasCost && a.cost != b.cost)) {
        d.what = path + a.place;
        d.table = a.table;
        d.keyBefore = a.key;
        d.keyAfter = b.key;
        d.hasCost = a.hasCost;
        d.costBefore = a.cost;
        d.costAfter = b.cost;
        out << d;
    }

    // The records under them: the n-th of a name in a group is matched with the n-th of that
    // name in the same group of the other; what is left over was removed or added.
    const QString below = a.place == QLatin1String("Mine") ? QString() : path + a.place + QStringLiteral(" / ");
    QHash<QString, QList<int>> others;
    for (int i = 0; i < b.children.size(); ++i)
        others[b.children[i].group + QChar(0x1f) + b.children[i].name] << i;
    QList<bool> matched(b.children.size(), false);
    for (const Record& child : a.children) {
        QList<int>& candidates = others[child.group + QChar(0x1f) + child.name];
        if (candidates.isEmpty()) {
            out << whole(child, RecordDifference::Change::Removed, below);
            continue;
        }
        const int j = candidates.takeFirst();
        matched[j] = true;
        compare(child, b.children[j], below, out);
    }
    for (int j = 0; j < b.children.size(); ++j)
        if (!matched[j])
            out << whole(b.children[j], RecordDifference::Change::Added, below);
}

}  // namespace

bool MineComparison::itemDiffers(int item) const
{
    if (item == 14)
        return before.item14 != after.item14;
    return before.item[static_cast<size_t>(item)].units() != after.item[static_cast<size_t>(item)].units();
}

bool MineComparison::equal() const
{
    for (int i = 1; i <= 34; ++i)
        if (itemDiffers(i))
            return false;
    return records.isEmpty();
}

MineComparison compareMines(Computation& c, const QVariant& mine, const QVariant& with)
{
    MineComparison result;
    result.mine = mine;
    result.with = with;
    DirectCosts& totals = c.totals;
    DirectCosts::Watch leftOut(totals);
    DirectCosts::CostCapture costsBefore, costsAfter;
    struct Capturing {
        DirectCosts& totals;
        ~Capturing() { totals.setCapture(nullptr); }
    } capturing{totals};
    totals.setCapture(&costsBefore);
    c.bond.CalcBondSummaryOf(mine, std::nullopt);
    result.before = c.bond.items();
    totals.setCapture(&costsAfter);
    c.bond.CalcBondSummaryOf(with, std::nullopt);
    result.after = c.bond.items();
    totals.setCapture(nullptr);
    totals.beginReport();  // one message at the end for the values the rows' costs leave out
    try {
        Layouts layouts;  // both mines are read through the same views
        const Record a = readMine(c, mine, costsBefore, layouts);
        const Record b = readMine(c, with, costsAfter, layouts);
        const auto applicant = [](const Record& r) {
            const qsizetype at = r.names.indexOf(QStringLiteral("Applicant"));
            if (at >= 0)
                return r.values[at].toString();
            return QString();
        };
        result.mineName = applicant(a);
        result.withName = applicant(b);
        compare(a, b, QString(), result.records);
    } catch (...) {
        totals.dropReport();
        throw;
    }
    totals.endReport();
    result.incomplete = leftOut.values();
    return result;
}

QString changeName(RecordDifference::Change change)
{
    switch (change) {
    case RecordDifference::Change::Added: return QStringLiteral("added");
    case RecordDifference::Change::Removed: return QStringLiteral("removed");
    case RecordDifference::Change::Changed: return QStringLiteral("changed");
    }
    return {};
}

QString comparedValue(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("(empty)");
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    if (v.typeId() == QMetaType::QString)
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    return v.toString();
}

QString differenceText(const RecordDifference& d)
{
    QStringList parts;
    for (const FieldChange& f : d.fields)
        parts << QStringLiteral("%1 %2 -> %3").arg(f.field, comparedValue(f.before), comparedValue(f.after));
    if (d.hasCost) {
        if (d.change == RecordDifference::Change::Changed && d.costBefore != d.costAfter)
            parts << QStringLiteral("cost %1 -> %2").arg(formatMoney(d.costBefore).trimmed(), formatMoney(d.costAfter).trimmed());
        else if (d.change != RecordDifference::Change::Changed)
            parts << QStringLiteral("cost %1")
                         .arg(formatMoney(d.change == RecordDifference::Change::Added ? d.costAfter : d.costBefore).trimmed());
    }
    return parts.join(QStringLiteral("; "));
}
