#include "FilterExpr.h"

#include "EDatabaseError.h"
#include "FieldValue.h"

namespace {

struct Token {
    enum Kind { Ident, Number, String, Op, LParen, RParen, End } kind;
    QString text;
    int pos;
};

QList<Token> tokenize(const QString& s)
{
    QList<Token> out;
    int i = 0;
    const int n = static_cast<int>(s.size());
    auto fail = [&](int at, const QString& what) {
        throw EDatabaseError(QStringLiteral("Filter expression \"%1\": %2 at position %3").arg(s, what).arg(at + 1));
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const int start = i;
        if (c == QLatin1Char('(')) {
            out.append({Token::LParen, QStringLiteral("("), start});
            ++i;
        } else if (c == QLatin1Char(')')) {
            out.append({Token::RParen, QStringLiteral(")"), start});
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += s[i++];
            }
            if (!closed)
                fail(start, QStringLiteral("unterminated text"));
            out.append({Token::String, text, start});
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']');
            const int end = static_cast<int>(s.indexOf(close, i + 1));
            if (end < 0)
                fail(start, QStringLiteral("unterminated field name"));
            out.append({Token::Ident, s.mid(i + 1, end - i - 1), start});
            i = end + 1;
        } else if (c.isDigit() || c == QLatin1Char('.') ||
                   (c == QLatin1Char('-') && i + 1 < n && (s[i + 1].isDigit() || s[i + 1] == QLatin1Char('.')) &&
                    (out.isEmpty() || out.last().kind == Token::Op || out.last().kind == Token::LParen))) {
            ++i;
            while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.') || s[i] == QLatin1Char('e') ||
                             s[i] == QLatin1Char('E') ||
                             ((s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')) &&
                              (s[i - 1] == QLatin1Char('e') || s[i - 1] == QLatin1Char('E')))))
                ++i;
            out.append({Token::Number, s.mid(start, i - start), start});
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_')))
                ++i;
            out.append({Token::Ident, s.mid(start, i - start), start});
        } else if (QStringLiteral("=<>!").contains(c)) {
            QString op(c);
            ++i;
            if (i < n && (s[i] == QLatin1Char('=') || (c == QLatin1Char('<') && s[i] == QLatin1Char('>')))) {
                op += s[i];
                ++i;
            }
            if (op == QLatin1String("!="))
                op = QStringLiteral("<>");
            if (op == QLatin1String("!") || op == QLatin1String("=="))
                fail(start, QStringLiteral("unknown operator '%1'").arg(op));
            out.append({Token::Op, op, start});
        } else {
            fail(start, QStringLiteral("unexpected character '%1'").arg(c));
        }
    }
    out.append({Token::End, QString(), static_cast<int>(n)});
    return out;
}

class Parser {
public:
    Parser(const QString& text) : text_(text), toks_(tokenize(text)) {}

    std::unique_ptr<FilterExpr::Node> parseAll()
    {
        auto n = parseOr();
        if (peek().kind != Token::End)
            fail(QStringLiteral("unexpected '%1'").arg(peek().text));
        return n;
    }

private:
    const Token& peek() const { return toks_[pos_]; }
    Token take() { return toks_[pos_++]; }
    bool isWord(const char* w) const
    {
        return peek().kind == Token::Ident && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void fail(const QString& what) const
    {
        throw EDatabaseError(
            QStringLiteral("Filter expression \"%1\": %2 at position %3").arg(text_, what).arg(peek().pos + 1));
    }

    std::unique_ptr<FilterExpr::Node> binary(FilterExpr::Node::Kind k, std::unique_ptr<FilterExpr::Node> l,
                                             std::unique_ptr<FilterExpr::Node> r)
    {
        auto n = std::make_unique<FilterExpr::Node>();
        n->kind = k;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<FilterExpr::Node> parseOr()
    {
        auto l = parseAnd();
        while (isWord("or")) {
            take();
            l = binary(FilterExpr::Node::Or, std::move(l), parseAnd());
        }
        return l;
    }

    std::unique_ptr<FilterExpr::Node> parseAnd()
    {
        auto l = parseNot();
        while (isWord("and")) {
            take();
            l = binary(FilterExpr::Node::And, std::move(l), parseNot());
        }
        return l;
    }

    std::unique_ptr<FilterExpr::Node> parseNot()
    {
        if (isWord("not")) {
            take();
            auto n = std::make_unique<FilterExpr::Node>();
            n->kind = FilterExpr::Node::Not;
            n->left = parseNot();
            return n;
        }
        if (peek().kind == Token::LParen) {
            take();
            auto n = parseOr();
            if (peek().kind != Token::RParen)
                fail(QStringLiteral("')' expected"));
            take();
            return n;
        }
        return parseComparison();
    }

    QVariant literal()
    {
        const Token t = take();
        if (t.kind == Token::String)
            return t.text;
        if (t.kind == Token::Number) {
            bool ok = false;
            const double d = t.text.toDouble(&ok);
            if (!ok)
                throw EDatabaseError(
                    QStringLiteral("Filter expression \"%1\": bad number '%2' at position %3").arg(text_, t.text).arg(t.pos + 1));
            return d;
        }
        if (t.kind == Token::Ident && t.text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.kind == Token::Ident && t.text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        --pos_;
        fail(QStringLiteral("a value expected"));
    }

    std::unique_ptr<FilterExpr::Node> parseComparison()
    {
        if (peek().kind != Token::Ident)
            fail(QStringLiteral("a field name expected"));
        auto n = std::make_unique<FilterExpr::Node>();
        n->field = take().text;
        if (isWord("is")) {
            take();
            n->kind = FilterExpr::Node::IsNull;
            if (isWord("not")) {
                take();
                n->negated = true;
            }
            if (!isWord("null"))
                fail(QStringLiteral("'null' expected"));
            take();
            return n;
        }
        if (peek().kind != Token::Op)
            fail(QStringLiteral("a comparison expected"));
        n->op = take().text;
        if (isWord("null")) {  // "= null" and "<> null" mean "is null" and "is not null"
            take();
            if (n->op != QLatin1String("=") && n->op != QLatin1String("<>"))
                fail(QStringLiteral("only = and <> compare with null"));
            n->kind = FilterExpr::Node::IsNull;
            n->negated = n->op == QLatin1String("<>");
            return n;
        }
        n->kind = FilterExpr::Node::Compare;
        n->literal = literal();
        return n;
    }

    QString text_;
    QList<Token> toks_;
    int pos_ = 0;
};

int compareValues(const QVariant& a, const QVariant& b)
{
    const QPartialOrdering o = QVariant::compare(a, b);
    if (o == QPartialOrdering::Less)
        return -1;
    if (o == QPartialOrdering::Greater)
        return 1;
    return 0;
}

}  // namespace

std::shared_ptr<const FilterExpr::Node> FilterExpr::parse(const QString& text)
{
    Parser p(text);
    return std::shared_ptr<const Node>(p.parseAll().release());
}

QString FilterExpr::toSql(const Node& node, const TypeOf& typeOf, QVariantList& params)
{
    switch (node.kind) {
    case Node::And:
    case Node::Or: {
        // The left side first: its literals come first among the parameters.
        const QString left = toSql(*node.left, typeOf, params);
        const QString right = toSql(*node.right, typeOf, params);
        return QLatin1Char('(') + left + (node.kind == Node::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ")) +
               right + QLatin1Char(')');
    }
    case Node::Not:
        return QStringLiteral("(NOT ") + toSql(*node.left, typeOf, params) + QLatin1Char(')');
    case Node::IsNull:
        typeOf(node.field);
        return QLatin1Char('(') + quoteIdent(node.field) + (node.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
    case Node::Compare: {
        const FieldType t = typeOf(node.field);
        params << toStorage(t, toFieldValue(t, node.literal, node.field));
        return QLatin1Char('(') + quoteIdent(node.field) + QLatin1Char(' ') + node.op + QStringLiteral(" ?)");
    }
    }
    return QStringLiteral("1");
}

bool FilterExpr::eval(const Node& node, const TypeOf& typeOf, const ValueOf& valueOf)
{
    switch (node.kind) {
    case Node::And:
        return eval(*node.left, typeOf, valueOf) && eval(*node.right, typeOf, valueOf);
    case Node::Or:
        return eval(*node.left, typeOf, valueOf) || eval(*node.right, typeOf, valueOf);
    case Node::Not:
        return !eval(*node.left, typeOf, valueOf);
    case Node::IsNull:
        typeOf(node.field);
        return valueOf(node.field).isValid() == node.negated;
    case Node::Compare: {
        const FieldType t = typeOf(node.field);
        const QVariant v = valueOf(node.field);
        if (!v.isValid())
            return false;
        const int c = compareValues(v, toFieldValue(t, node.literal, node.field));
        const QString& op = node.op;
        if (op == QLatin1String("="))
            return c == 0;
        if (op == QLatin1String("<>"))
            return c != 0;
        if (op == QLatin1String("<"))
            return c < 0;
        if (op == QLatin1String(">"))
            return c > 0;
        if (op == QLatin1String("<="))
            return c <= 0;
        return c >= 0;
    }
    }
    return false;
}
