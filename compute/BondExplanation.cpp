// The bond's items told as what they are made of: the projects' totals the computation
// walked, the mine's figures it read, and the items before them.
#include "BondSummary.h"

namespace {

using Rule = ExplainNode::Rule;

// The items are money; their factors and percents are passed `money` false.
ExplainPtr make(const QString& label, double value, Rule kind, const QString& rule, std::vector<ExplainPtr> parts,
                bool money = true)
{
    return makeExplainNode(label, value, kind, rule, std::move(parts), money);
}

ExplainPtr constant(const QString& label, double value)
{
    return makeExplainNode(label, value, Rule::Stored, QStringLiteral("constant of the rule"));
}

// A stored figure of the mine the computation did not read (it stopped before): shown as 0.
ExplainPtr orNothing(const ExplainPtr& n, const QString& name)
{
    return n ? n : make(name, 0.0, Rule::Stored, QStringLiteral("not read"), {});
}

}  // namespace

ExplainPtr BondParts::field(const QString& name) const
{
    for (const auto& [f, n] : mineFields)
        if (f == name)
            return n;
    return orNothing(nullptr, name);
}

std::array<ExplainPtr, 35> explainBondItems(const BondItems& b, const BondParts& parts)
{
    std::array<ExplainPtr, 35> it{};
    const auto label = [](int i) { return QStringLiteral("Item %1, %2").arg(i).arg(bondItemLabel(i)); };
    const auto amount = [&](int i) { return i == 14 ? b.item14 : b.item[static_cast<size_t>(i)].toDouble(); };
    const auto money = [](double v) { return explainMoney(v); };
    // An item that is the sum of others.
    const auto sumOf = [&](int i, std::initializer_list<int> items) {
        QStringList names, values;
        std::vector<ExplainPtr> p;
        for (int k : items) {
            names << QStringLiteral("item %1").arg(k);
            values << money(it[static_cast<size_t>(k)]->value);
            p.push_back(it[static_cast<size_t>(k)]);
        }
        it[static_cast<size_t>(i)] =
            make(label(i), amount(i), Rule::Sum,
                 names.join(QStringLiteral(" + ")) + QStringLiteral(" = ") + values.join(QStringLiteral(" + ")) +
                     QStringLiteral(" = ") + money(amount(i)),
                 p);
    };

    static const char* const kinds[4] = {"demolition", "earthmoving", "revegetation", "other reclamation"};
    for (int i = 1; i <= 4; ++i) {
        const auto& totals = parts.projectTotals[static_cast<size_t>(i - 1)];
        it[static_cast<size_t>(i)] =
            make(label(i), amount(i), Rule::Sum,
                 QStringLiteral("the %1 totals of %2 project(s) = %3").arg(QLatin1String(kinds[i - 1])).arg(totals.size()).arg(money(amount(i))),
                 totals);
    }
    sumOf(5, {1, 2, 3, 4});
    sumOf(25, {3, 4});

    // The factors, from the cost indexes.
    const ExplainPtr enr = parts.field(QStringLiteral("ENRIndex"));
    const ExplainPtr enr5 = parts.field(QStringLiteral("ENRIndex5"));
    const double inflation = b.inflationFactor.toDouble();
    const ExplainPtr inflationNode =
        enr5->value == 0.0
            ? make(QStringLiteral("Inflation factor"), inflation, Rule::Formula,
                   QStringLiteral("no earlier cost index: 1"), {enr5}, false)
            : make(QStringLiteral("Inflation factor"), inflation, Rule::Formula,
                   QStringLiteral("cost index %1 / earlier index %2, to two places = %3")
                       .arg(explainNumber(enr->value), explainNumber(enr5->value), explainNumber(inflation)),
                   {enr, enr5}, false);
    const auto phaseFactor = [&](const char* name, const QString& index, double factor) {
        const ExplainPtr own = parts.field(index);
        if (own->value == 0.0 || enr5->value == 0.0)
            return make(QLatin1String(name), factor, Rule::Formula,
                        QStringLiteral("no %1 or no earlier index: 1").arg(index), {own, enr5}, false);
        return make(QLatin1String(name), factor, Rule::Formula,
                    QStringLiteral("cost index %1 / earlier index %2 = %3")
                        .arg(explainNumber(enr->value), explainNumber(enr5->value), explainNumber(factor)),
                    {enr, enr5, own}, false);
    };
    const ExplainPtr phase1 = phaseFactor("Phase I factor", QStringLiteral("ENRIndexI"), b.phase1Factor);
    const ExplainPtr phase2 = phaseFactor("Phase II factor", QStringLiteral("ENRIndexII"), b.phase2Factor);

    const auto productOf = [&](int i, const ExplainPtr& a, const ExplainPtr& c, const QString& words) {
        it[static_cast<size_t>(i)] =
            make(label(i), amount(i), Rule::Product,
                 words + QStringLiteral(" = ") + explainValue(*a) + QStringLiteral(" x ") + explainValue(*c) +
                     QStringLiteral(" = ") + money(amount(i)),
                 {a, c});
    };
    productOf(6, it[5], inflationNode, QStringLiteral("item 5 x inflation factor"));
    productOf(14, it[5], phase1, QStringLiteral("item 5 x Phase I factor"));
    productOf(26, phase2, it[25], QStringLiteral("Phase II factor x item 25"));

    // The indirect costs: a percent of the phase's base, or the amount entered over it.
    const int first[3] = {7, 15, 27};
    const int base[3] = {6, 14, 26};
    for (int phase = 0; phase < 3; ++phase)
        for (int k = 0; k < 5; ++k) {
            const BondSummary::IndirectFields f = BondSummary::indirectFields(phase, k);
            const int i = first[phase] + k;
            const size_t at = static_cast<size_t>(i);
            if (b.overridden[at]) {
                it[at] = make(label(i), amount(i), Rule::Sum,
                              QStringLiteral("the amount entered (%1 is set) = %2").arg(QLatin1String(f.over), money(amount(i))),
                              {parts.field(QLatin1String(f.amount))});
                continue;
            }
            const ExplainPtr stored = parts.field(QLatin1String(f.percent));
            const ExplainPtr share = make(QStringLiteral("%1 %2 %").arg(QLatin1String(f.percent), explainNumber(stored->value)),
                                          stored->value / 100.0, Rule::Formula,
                                          QStringLiteral("%1 % / 100 = %2")
                                              .arg(explainNumber(stored->value), explainNumber(stored->value / 100.0)),
                                          {stored}, false);
            productOf(i, share, it[static_cast<size_t>(base[phase])],
                      QStringLiteral("percent x item %1").arg(base[phase]));
        }
    sumOf(12, {7, 8, 9, 10, 11});
    sumOf(20, {15, 16, 17, 18, 19});
    sumOf(32, {27, 28, 29, 30, 31});
    sumOf(13, {6, 12});
    sumOf(21, {14, 20});
    sumOf(33, {26, 32});
    productOf(22, constant(QStringLiteral("40 percent of the bond"), 0.4), it[13], QStringLiteral("0.4 x item 13"));
    it[23] = make(label(23), amount(23), Rule::Larger,
                  QStringLiteral("the larger of item 22 and item 21 = the larger of %1 and %2 = %3")
                      .arg(money(it[22]->value), money(it[21]->value), money(amount(23))),
                  {it[22], it[21]});
    it[24] = make(label(24), amount(24), Rule::Difference,
                  QStringLiteral("item 13 - item 23 = %1 - %2 = %3").arg(money(it[13]->value), money(it[23]->value), money(amount(24))),
                  {it[13], it[23]});
    it[34] = make(label(34), amount(34), Rule::Difference,
                  QStringLiteral("item 23 - item 33 = %1 - %2 = %3").arg(money(it[23]->value), money(it[33]->value), money(amount(34))),
                  {it[23], it[33]});
    return it;
}
