#include "Explanation.h"

#include <QHash>
#include <QJsonArray>
#include <QLocale>
#include <algorithm>
#include <cmath>

bool ExplainNode::addsUp() const
{
    if (parts.empty() && kind != Rule::Sum)  // an empty sum is 0; the others need their parts
        return kind == Rule::Stored || kind == Rule::Formula || kind == Rule::LeftOut;
    const double tolerance = 0.00005 * static_cast<double>(parts.size() + 1) + 1e-12 * std::fabs(value);
    const auto near = [&](double expected) { return std::fabs(expected - value) <= tolerance; };
    switch (kind) {
    case Rule::Sum: {
        double sum = 0;
        for (const ExplainPtr& p : parts)
            sum += p->value;
        return near(sum);
    }
    case Rule::Product: {
        double product = 1;
        for (const ExplainPtr& p : parts)
            product *= p->value;
        return near(product);
    }
    case Rule::Difference: return parts.size() == 2 && near(parts[0]->value - parts[1]->value);
    case Rule::Larger: return parts.size() == 2 && near(std::max(parts[0]->value, parts[1]->value));
    case Rule::Stored:
    case Rule::Formula:
    case Rule::LeftOut: return true;
    }
    return false;
}

ExplainRule ExplainRule::pattern(QString words, Result result)
{
    ExplainRule r;
    r.pattern_ = std::move(words);
    r.result_ = result;
    return r;
}

QString ExplainRule::text(const ExplainNode& node) const
{
    if (pattern_.isEmpty())
        return text_;
    QString out;
    out.reserve(pattern_.size() + 48);
    for (qsizetype i = 0; i < pattern_.size(); ++i) {
        const QChar c = pattern_.at(i);
        if ((c == QLatin1Char('%') || c == QLatin1Char('$')) && i + 1 < pattern_.size() &&
            pattern_.at(i + 1) >= QLatin1Char('1') && pattern_.at(i + 1) <= QLatin1Char('9')) {
            const size_t part = static_cast<size_t>(pattern_.at(i + 1).unicode() - '1');
            if (part < node.parts.size()) {
                const double v = node.parts[part]->value;
                out += c == QLatin1Char('$') ? explainMoney(v) : explainNumber(v);
                ++i;
                continue;
            }
        }
        out += c;
    }
    if (result_ != Result::None)
        out += QStringLiteral(" = ") + (result_ == Result::Money ? explainMoney(node.value) : explainNumber(node.value));
    text_ = out;
    const_cast<ExplainRule*>(this)->pattern_.clear();
    return text_;
}

ExplainPtr makeExplainNode(const QString& label, double value, ExplainNode::Rule kind, ExplainRule rule,
                           std::vector<ExplainPtr> parts, bool money, const ExplainSource& source)
{
    auto n = std::make_shared<ExplainNode>();
    n->label = label;
    n->value = value;
    n->kind = kind;
    n->rule = std::move(rule);
    n->source = source;
    n->money = money;
    n->parts = std::move(parts);
    return n;
}

ExplainRecorder::Scope::Scope(ExplainRecorder* recorder) : r_(recorder)
{
    if (r_) {
        r_->frames_.emplace_back();
        depth_ = r_->frames_.size();
    }
}

ExplainRecorder::Scope::~Scope()
{
    if (r_ && !closed_ && r_->frames_.size() >= depth_)
        r_->frames_.resize(depth_ - 1);
}

size_t ExplainRecorder::Scope::partCount() const
{
    return r_ && !closed_ && r_->frames_.size() == depth_ ? r_->frames_.back().size() : 0;
}

ExplainPtr ExplainRecorder::Scope::close(const QString& label, double value, ExplainNode::Rule kind, ExplainRule rule,
                                         const ExplainSource& source, bool money)
{
    if (!r_ || closed_)
        return {};
    closed_ = true;
    ExplainPtr node = makeExplainNode(label, value, kind, std::move(rule), std::move(r_->frames_.back()), money, source);
    r_->frames_.resize(depth_ - 1);
    r_->frames_.back().push_back(node);
    return node;
}

void ExplainRecorder::add(ExplainPtr node)
{
    if (node)
        frames_.back().push_back(std::move(node));
}

ExplainPtr ExplainRecorder::stored(const QString& label, double value, const ExplainSource& source, ExplainRule rule,
                                  bool money)
{
    static const ExplainRule kStored(QStringLiteral("stored"));
    if (source.stored() && rule.isEmpty())
        rule = kStored;
    ExplainPtr node = makeExplainNode(label, value, ExplainNode::Rule::Stored, std::move(rule), {}, money, source);
    frames_.back().push_back(node);
    return node;
}

std::vector<ExplainPtr> ExplainRecorder::take()
{
    std::vector<ExplainPtr> out = std::move(frames_.front());
    frames_.assign(1, {});
    return out;
}

ExplainPtr ExplainRecorder::takeLast()
{
    std::vector<ExplainPtr>& f = frames_.back();
    if (f.empty())
        return {};
    ExplainPtr last = f.back();
    f.pop_back();
    return last;
}

const QString& explainName(const char* spelled)
{
    static QHash<const char*, QString> names;
    auto it = names.find(spelled);
    if (it == names.end())
        it = names.insert(spelled, QString::fromLatin1(spelled));
    return *it;
}

namespace {
const QLocale& numbers()
{
    static const QLocale l(QLocale::English, QLocale::UnitedStates);
    return l;
}
}  // namespace

QString explainMoney(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    return numbers().toString(v, 'f', 2);
}

QString explainNumber(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    QString s = numbers().toString(v, 'f', 4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

QString explainValue(const ExplainNode& n)
{
    return n.money ? explainMoney(n.value) : explainNumber(n.value);
}

namespace {

QString sourceText(const ExplainSource& s)
{
    const QString record = QStringLiteral("%1, %2 %3").arg(s.table, s.keyField).arg(s.key);
    return s.field.isEmpty() ? record : record + QStringLiteral(": ") + s.field;
}

void textOf(const ExplainNode& n, int level, int depth, QStringList& lines)
{
    QString line = QString(level * 2, QLatin1Char(' ')) + n.label + QStringLiteral(" = ") + explainValue(n);
    const QString rule = n.ruleText();
    if (!rule.isEmpty())
        line += QStringLiteral("   (") + rule + QLatin1Char(')');
    if (n.source.stored())
        line += QStringLiteral("   [") + sourceText(n.source) + QLatin1Char(']');
    lines << line;
    if (depth >= 0 && level >= depth)
        return;
    for (const ExplainPtr& p : n.parts)
        textOf(*p, level + 1, depth, lines);
}

QJsonObject jsonOf(const ExplainNode& n, int level, int depth)
{
    QJsonObject o;
    o.insert(QStringLiteral("label"), n.label);
    o.insert(QStringLiteral("value"), std::isfinite(n.value) ? QJsonValue(n.value) : QJsonValue());
    o.insert(QStringLiteral("rule"), n.ruleText());
    if (n.source.stored())
        o.insert(QStringLiteral("source"), QJsonObject{{QStringLiteral("table"), n.source.table},
                                                       {QStringLiteral("key_field"), n.source.keyField},
                                                       {QStringLiteral("key"), n.source.key},
                                                       {QStringLiteral("field"), n.source.field}});
    else
        o.insert(QStringLiteral("source"), QJsonValue());
    QJsonArray parts;
    if (depth < 0 || level < depth)
        for (const ExplainPtr& p : n.parts)
            parts.append(jsonOf(*p, level + 1, depth));
    o.insert(QStringLiteral("parts"), parts);
    return o;
}

}  // namespace

QString explainText(const ExplainNode& root, int depth)
{
    QStringList lines;
    textOf(root, 0, depth, lines);
    return lines.join(QLatin1Char('\n'));
}

QJsonObject explainJson(const ExplainNode& root, int depth)
{
    return jsonOf(root, 0, depth);
}
