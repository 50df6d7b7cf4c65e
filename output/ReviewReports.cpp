#include "ReviewReports.h"

#include "Explanation.h"
#include "MineComparison.h"
#include "Money.h"

#include <functional>

namespace {

using J = ReportCanvas::Justify;

QString storedIn(const ExplainSource& s)
{
    if (!s.stored())
        return {};
    const QString record = QStringLiteral("%1 %2 %3").arg(s.table, s.keyField).arg(s.key);
    return s.field.isEmpty() ? record : record + QStringLiteral(", ") + s.field;
}

}  // namespace

QString comparisonPercent(double before, double after)
{
    if (before == 0.0)
        return after == 0.0 ? QStringLiteral("0.00 %") : QStringLiteral("new");
    return QString::number((after - before) / before * 100.0, 'f', 2) + QStringLiteral(" %");
}

void PrintExplanation(ReportFrame& frame, const ExplainNode& root, const QString& mine, const QString& project)
{
    frame.mineName = [mine] { return mine; };
    frame.projectName = [project] { return project; };
    const QString title = QStringLiteral("Where an Amount Comes From");
    frame.StartFramedPage(false, title, root.label, 1);
    frame.beginTable({{QStringLiteral("What"), 2.4, J::Left},
                      {QStringLiteral("Value"), 1.1, J::Right},
                      {QStringLiteral("Rule"), 2.3, J::Left},
                      {QStringLiteral("Stored in"), 1.2, J::Left}},
                     title, root.label, 1);
    const std::function<void(const ExplainNode&, int)> row = [&](const ExplainNode& n, int depth) {
        frame.tableRow({QString(depth * 3, QLatin1Char(' ')) + n.label, explainValue(n), n.ruleText(), storedIn(n.source)});
        for (const ExplainPtr& p : n.parts)
            row(*p, depth + 1);
    };
    row(root, 0);
}

void PrintComparison(ReportFrame& frame, const MineComparison& c, int mineId, int withId)
{
    frame.mineName = [&c, mineId, withId] {
        return QStringLiteral("Mine %1: %2 -- Mine %3: %4").arg(mineId).arg(c.mineName).arg(withId).arg(c.withName);
    };
    frame.projectName = [] { return QStringLiteral("All projects"); };
    const QString title = QStringLiteral("Comparison of Two Estimates");
    const QString subtitle = QStringLiteral("Mine %1 and Mine %2").arg(mineId).arg(withId);
    frame.StartFramedPage(false, title, subtitle, 1);
    frame.beginTable({{QStringLiteral("Item"), 0.4, J::Right},
                      {QStringLiteral("Description"), 2.6, J::Left},
                      {QStringLiteral("Mine %1").arg(mineId), 1.1, J::Right},
                      {QStringLiteral("Mine %1").arg(withId), 1.1, J::Right},
                      {QStringLiteral("Difference"), 1.1, J::Right},
                      {QStringLiteral("Percent"), 0.7, J::Right}},
                     title, subtitle, 1);
    for (int i = 1; i <= 34; ++i) {
        const double a = c.before.amount(i), b = c.after.amount(i);
        frame.tableRow({QString::number(i), bondItemLabel(i), c.before.amountText(i).trimmed(),
                        c.after.amountText(i).trimmed(), formatMoney(b - a).trimmed(), comparisonPercent(a, b)});
    }
    ReportCanvas& canvas = frame.canvas();
    canvas.NewLine();
    if (c.records.isEmpty()) {
        canvas.SetFont(QStringLiteral("Times New Roman"), 10);
        canvas.PrintLine(c.equal() ? QStringLiteral("The estimates are equal.")
                                   : QStringLiteral("No project, worksheet row or machine differs."));
        return;
    }
    frame.beginTable({{QStringLiteral("Change"), 0.7, J::Left},
                      {QStringLiteral("Record"), 3.2, J::Left},
                      {QStringLiteral("What differs"), 3.1, J::Left}},
                     title, subtitle, 1);
    for (const RecordDifference& d : c.records)
        frame.tableRow({changeName(d.change), d.what, differenceText(d)});
}
