#include "CliTrucks.h"

#include "CliArgs.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "Picture.h"
#include "TruckCalculation.h"

#include <QTextStream>
#include <cstdio>

namespace {

// One of the four offered efficiency factors, as ".92" or "0.92".
double takeFactor(QStringList& args, const QString& flag)
{
    const double v = takeReal(args, flag);
    for (double f : kTruckEfficiencyFactors)
        if (v == f)
            return v;
    throw EDatabaseError(QStringLiteral("%1 must be one of the offered efficiency factors .92, .83, .75 or .67, not %2")
                             .arg(flag)
                             .arg(v));
}

// The field a check turns red, as the window names it and as the option that sets it.
QString fieldName(TruckField f)
{
    switch (f) {
    case TruckField::LoaderHaul: return QStringLiteral("\"Haul Time\" (--haul)");
    case TruckField::LoaderReturn: return QStringLiteral("\"Return Time\" (--return)");
    case TruckField::Cycle: return QStringLiteral("\"Basic Cycle Time\" (--cycle)");
    case TruckField::Bucket: return QStringLiteral("\"Heaped Bucket Capacity:\" (--bucket)");
    case TruckField::Fill: return QStringLiteral("\"Bucket Fill Factor\" (--fill)");
    case TruckField::TruckCapacity: return QStringLiteral("\"Truck Capacity:\" (--truck-cap)");
    case TruckField::Trucks: return QStringLiteral("\"6. Enter number of trucks\" (--trucks)");
    }
    return {};
}

QString full(double v)
{
    return QString::number(v, 'g', 17);
}

}  // namespace

int cmdTrucks(QStringList args, Dialogs& dialogs)
{
    takeOption(args, QStringLiteral("--data"));  // the calculator reads no data
    const bool json = takeFlag(args, QStringLiteral("--json"));
    const bool loader = takeFlag(args, QStringLiteral("--loader"));
    const bool excavator = takeFlag(args, QStringLiteral("--excavator"));
    if (loader == excavator)
        throw CliUsageError(QStringLiteral("trucks needs either --loader or --excavator"));
    TruckInputs in;
    in.excavator = excavator;
    in.volume = takeReal(args, QStringLiteral("--volume"));
    if (loader) {
        in.loaderHaul = takeReal(args, QStringLiteral("--haul"));
        in.loaderReturn = takeReal(args, QStringLiteral("--return"));
    }
    in.cycle = takeReal(args, QStringLiteral("--cycle"));
    in.bucket = takeReal(args, QStringLiteral("--bucket"));
    in.fill = takeReal(args, QStringLiteral("--fill"));
    in.loaderEff = takeFactor(args, QStringLiteral("--loader-eff"));
    in.truckCapacity = takeReal(args, QStringLiteral("--truck-cap"));
    in.truckHaul = takeReal(args, QStringLiteral("--truck-haul"));
    in.truckReturn = takeReal(args, QStringLiteral("--truck-return"));
    in.dump = takeReal(args, QStringLiteral("--dump"));
    in.truckEff = takeFactor(args, QStringLiteral("--truck-eff"));
    in.truckLabor = takeReal(args, QStringLiteral("--truck-labor"));
    in.truckEquip = takeReal(args, QStringLiteral("--truck-equip"));
    in.loaderLabor = takeReal(args, QStringLiteral("--loader-labor"));
    in.loaderEquip = takeReal(args, QStringLiteral("--loader-equip"));
    in.trucks = takeNumber(args, QStringLiteral("--trucks"), true);
    if (in.trucks > 999)
        throw EDatabaseError(QStringLiteral("--trucks takes 1 to 999 trucks, not %1").arg(in.trucks));
    if (!args.isEmpty())
        throw CliUsageError(QStringLiteral("trucks does not take '%1'").arg(args.join(QLatin1Char(' '))));

    const auto outcome = calculateTrucks(in);
    if (const auto* failure = std::get_if<TruckCheckFailure>(&outcome)) {
        dialogs.error(failure->message);
        QStringList red;
        for (TruckField f : failure->red)
            red << fieldName(f);
        std::fprintf(stderr, "error: shown in red: %s\n", qPrintable(red.join(QStringLiteral(", "))));
        return 1;
    }
    const TruckResult& r = std::get<TruckResult>(outcome);
    QTextStream out(stdout);
    if (json) {
        out << "{\"total_cost\": " << full(r.totalCost) << ", \"optimal_trucks\": "
            << (r.optimalTrucks ? QString::number(*r.optimalTrucks) : QStringLiteral("null")) << ", \"optimal_cost\": "
            << (r.optimalCost ? full(*r.optimalCost) : QStringLiteral("null")) << "}" << Qt::endl;
        return 0;
    }
    const Picture money(QStringLiteral("$###,###,###,###.##"));
    out << "Total Cost: " << money.format(r.totalCost) << Qt::endl;
    if (r.optimalTrucks) {
        out << "Program Calculated Optimal # of Trucks: " << *r.optimalTrucks << Qt::endl;
        out << "Total Cost of Program Calculated # Trucks: " << money.format(*r.optimalCost) << Qt::endl;
    } else {
        out << "Program Calculated Optimal # of Trucks: not searched, the total cost is zero" << Qt::endl;
    }
    return 0;
}
