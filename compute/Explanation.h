#pragma once
// Where an amount comes from: a tree recorded by the computation that gives the amount,
// down to the stored values it read. Each node has its label, its value, its rule in
// words with the values put in, and (for a stored value) where the value is stored.
#include <QJsonObject>
#include <QString>
#include <memory>
#include <vector>

struct ExplainSource {
    QString table, keyField;  // empty table: not a stored value
    qint64 key = 0;
    QString field;
    bool stored() const { return !table.isEmpty(); }
};

struct ExplainNode;

// A node's rule in words. Either a text made at once, or a pattern put together only when
// it is read (a tree of a large mine is mostly never shown in full): in a pattern, %1 to %9
// stand for the values of the node's parts as numbers and $1 to $9 as money; the node's own
// value may follow as " = value".
class ExplainRule {
public:
    enum class Result { None, Number, Money };
    ExplainRule() = default;
    ExplainRule(QString text) : text_(std::move(text)) {}
    ExplainRule(const char* text) : text_(QString::fromUtf8(text)) {}
    static ExplainRule pattern(QString words, Result result = Result::None);

    QString text(const ExplainNode& node) const;
    bool isEmpty() const { return text_.isEmpty() && pattern_.isEmpty(); }

private:
    mutable QString text_;
    QString pattern_;
    Result result_ = Result::None;
};

struct ExplainNode {
    // How the value follows from the parts; the checks of the tree rely on it.
    enum class Rule {
        Stored,      // a value as the file holds it (or a constant of the rule)
        Sum,         // the sum of the parts
        Product,     // the product of the parts
        Difference,  // the first part less the second
        Larger,      // the larger of the two parts
        Formula,     // a formula of its kind, told in words (the hours, a revegetation row)
        LeftOut,     // a value the computation could not use: counts as 0
    };
    QString label;
    double value = 0;
    Rule kind = Rule::Stored;
    ExplainRule rule;
    ExplainSource source;
    bool money = false;  // an amount of money: shown with two decimals
    std::vector<std::shared_ptr<const ExplainNode>> parts;  // shared: an item is a part of several

    // Whether the value follows from the parts by its rule, to the rounding of money
    // (half a ten-thousandth of a dollar for each part); true for stored, formula and left-out nodes.
    bool addsUp() const;
    // The rule in words with the values put in.
    QString ruleText() const { return rule.text(*this); }
};
using ExplainPtr = std::shared_ptr<const ExplainNode>;

// A node with its parts.
ExplainPtr makeExplainNode(const QString& label, double value, ExplainNode::Rule kind, ExplainRule rule,
                           std::vector<ExplainPtr> parts = {}, bool money = false, const ExplainSource& source = {});

// Collects the nodes a computation records. Nodes recorded while a scope is open become
// its parts when it closes; a scope left without closing (an error) drops them.
class ExplainRecorder {
public:
    class Scope {
    public:
        explicit Scope(ExplainRecorder* recorder);  // nullptr: records nothing
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        // Makes the node of the scope, with the parts recorded since it opened.
        // How many parts the scope has recorded so far.
        size_t partCount() const;
        ExplainPtr close(const QString& label, double value, ExplainNode::Rule kind, ExplainRule rule,
                         const ExplainSource& source = {}, bool money = true);

    private:
        ExplainRecorder* r_;
        size_t depth_ = 0;
        bool closed_ = false;
    };

    void add(ExplainPtr node);
    ExplainPtr stored(const QString& label, double value, const ExplainSource& source, ExplainRule rule = {},
                      bool money = false);
    // The nodes recorded at the outermost level, in order; taking them empties the recorder.
    std::vector<ExplainPtr> take();
    // The most recent node recorded in the open scope (or at the outermost level), taken out of it.
    ExplainPtr takeLast();

private:
    std::vector<std::vector<ExplainPtr>> frames_{1};
};

// A field name spelled out in the program, as one shared text: a tree names the same
// fields thousands of times.
const QString& explainName(const char* spelled);

// A number as a rule's text shows it: money with two decimals and thousands separators.
QString explainMoney(double v);
// Any other number: thousands separators and up to four decimals, trailing zeros dropped.
QString explainNumber(double v);
// A node's value as the tree shows it: money or number.
QString explainValue(const ExplainNode& n);

// The tree as indented text, down to `depth` levels below the root (negative: all).
QString explainText(const ExplainNode& root, int depth);
// The tree as one JSON object: {"label","value","rule","source":{...}|null,"parts":[...]}.
QJsonObject explainJson(const ExplainNode& root, int depth);
