#pragma once
// Filter expressions of the table engine, such as
//   PlanID = 12
//   (EquipCode2 = 7) and (CostType = 'D') and (SheetID = 3)
// with and, or, not, parentheses, the comparisons = <> < > <= >= and
// "field is [not] null". Parsed into a small tree; literals become bound
// parameters, never SQL text.
#include "TableFormat.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class FilterExpr {
public:
    struct Node {
        enum Kind { And, Or, Not, Compare, IsNull } kind = Compare;
        QString field;
        QString op;       // for Compare: = <> < > <= >=
        QVariant literal;  // for Compare
        bool negated = false;  // for IsNull: "is not null"
        std::unique_ptr<Node> left, right;
    };
    using TypeOf = std::function<FieldType(const QString& field)>;  // throws when unknown
    using ValueOf = std::function<QVariant(const QString& field)>;   // canonical value

    // Throws EDatabaseError with the position of the fault.
    static std::shared_ptr<const Node> parse(const QString& text);
    // SQL with "?" placeholders; appends the literals, converted to the field types, to params.
    static QString toSql(const Node& node, const TypeOf& typeOf, QVariantList& params);
    static bool eval(const Node& node, const TypeOf& typeOf, const ValueOf& valueOf);
};
