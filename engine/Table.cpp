#include "Table.h"

#include "Database.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "Statement.h"

#include <sqlite3.h>

Table::Table(Database& db, const QString& name, const QString& tableName, const QStringList& fieldNames)
    : DataSet(db, name), tableName_(tableName)
{
    format_ = db.format(tableName);
    if (!format_)
        throw EDatabaseError(QStringLiteral("%1: unknown table %2").arg(name, tableName));
    if (fieldNames.isEmpty()) {
        for (int i = 0; i < format_->fields.size(); ++i)
            columns_ << i;
    } else {
        for (const QString& n : fieldNames) {
            const int i = format_->fieldIndex(n);
            if (i < 0)
                throw EDatabaseError(QStringLiteral("%1: table %2 has no field %3").arg(name, tableName, n));
            columns_ << i;
        }
    }
    QStringList cols{QStringLiteral("rowid")};
    for (int i : columns_) {
        // A row with an empty key field could not be found again by its key: keys are required.
        FieldDef def = format_->fields[i];
        for (const QString& k : format_->keyFields)
            if (k.compare(def.name, Qt::CaseInsensitive) == 0 && def.type != FieldType::AutoInc)
                def.required = true;
        addDataField(def);
        cols << quoteIdent(format_->fields[i].name);
    }
    selectList_ = cols.join(QStringLiteral(", "));
    for (int i = 0; i < columns_.size(); ++i)
        fullColumns_ << i + 1;
    read_ = QVector<bool>(columns_.size(), false);
    indexFields_ = format_->keyOrder();
    rebuildNarrowList();
}

Table::~Table()
{
    close();
}

// ---------------------------------------------------------------- order and link

void Table::setIndexName(const QString& indexName)
{
    if (indexName.isEmpty()) {
        indexFields_ = format_->keyOrder();
    } else {
        const IndexDef* ix = format_->index(indexName);
        if (!ix)
            throw EDatabaseError(QStringLiteral("%1: table %2 has no index %3").arg(name(), tableName_, indexName));
        indexFields_ = ix->fields;
        indexNoCase_ = ix->caseInsensitive;
    }
    if (indexName.isEmpty())
        indexNoCase_ = false;
    indexName_ = indexName;
    if (active()) {
        resolveOrder();
        refresh();
    }
}

void Table::setIndexFieldNames(const QStringList& fields)
{
    for (const QString& f : fields)
        typeOfField(f);
    indexName_.clear();
    indexFields_ = fields;
    indexNoCase_ = false;
    if (active()) {
        resolveOrder();
        refresh();
    }
}

void Table::setMasterSource(DataSource* master, const QStringList& masterFields)
{
    if (masterFields.size() > indexFields_.size())
        throw EDatabaseError(QStringLiteral("%1: the index has fewer fields than the master link").arg(name()));
    setMasterLink(master, masterFields, indexFields_.mid(0, masterFields.size()));
}

void Table::resolveOrder()
{
    const QStringList oldOrder = orderFields_;
    const bool oldNoCase = indexNoCase_;
    orderFields_.clear();
    orderColumns_.clear();
    const int ai = format_->autoIncIndex();
    for (const QString& f : indexFields_) {
        bool fixed = false;
        if (masterSource())
            for (const QString& d : detailFields())
                fixed = fixed || d.compare(f, Qt::CaseInsensitive) == 0;
        if (fixed)
            continue;
        if (ai >= 0 && format_->fields[ai].name.compare(f, Qt::CaseInsensitive) == 0)
            break;  // the row id itself: later fields cannot change the order
        Field* field = findField(f);
        if (!field || field->isCalculated())
            throw EDatabaseError(QStringLiteral("%1: index field %2 is not among the view's fields").arg(name(), f));
        orderFields_ << field->fieldName();
        orderColumns_ << field->slot();
        read_[field->slot()] = true;
    }
    rebuildNarrowList();
    if (orderFields_ != oldOrder || indexNoCase_ != oldNoCase)
        clearReadMemo();
}

void Table::rebuildNarrowList()
{
    // The same fields as last time (a filter set again) keep the list they had.
    if (read_ != narrowListRead_ || narrowColumns_.size() != columns_.size()) {
        QStringList cols{QStringLiteral("rowid")};
        narrowColumns_ = QVector<int>(columns_.size(), -1);
        for (int i = 0; i < columns_.size(); ++i)
            if (read_[i]) {
                narrowColumns_[i] = static_cast<int>(cols.size());
                cols << quoteIdent(dataFields()[i]->fieldName());
            }
        narrowList_ = cols.join(QStringLiteral(", "));
        narrowListRead_ = read_;
        clearReadMemo();
    }
}

void Table::clearReadMemo()
{
    for (auto& m : readMemo_)
        m.clear();
}

bool Table::walksNarrow(Role role) const
{
    // A filter callback may read any field of a candidate row: then every field is selected.
    return (role == Forward || role == Backward) && !hasFilterCallback();
}

QString Table::orderExpr(int i) const
{
    return quoteIdent(orderFields_[i]) + (indexNoCase_ ? QStringLiteral(" COLLATE NOCASE") : QString());
}

QString Table::selectSql(Role role, const QString& extraCondition, bool ascending) const
{
    QString sql = QStringLiteral("SELECT ") + (walksNarrow(role) ? narrowList_ : selectList_) + QStringLiteral(" FROM ") +
                  quoteIdent(format_->fileName);
    QStringList conds;
    if (!where_.isEmpty())
        conds << where_;
    if (!extraCondition.isEmpty())
        conds << QLatin1Char('(') + extraCondition + QLatin1Char(')');
    if (!conds.isEmpty())
        sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
    const QString dir = ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    QStringList order;
    for (int i = 0; i < orderFields_.size(); ++i)
        order << orderExpr(i) + dir;
    order << QStringLiteral("rowid") + dir;
    return sql + QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
}

// Strictly after (forward) or before the key in the view's order; NULL sorts first.
QString Table::seekCondition(const QVariantList& key, bool forward, QVariantList& params, bool inclusive) const
{
    const int n = static_cast<int>(orderFields_.size());
    std::function<QString(int)> build = [&](int i) -> QString {
        if (i == n) {
            params << key[n];
            if (inclusive)
                return forward ? QStringLiteral("rowid >= ?") : QStringLiteral("rowid <= ?");
            return forward ? QStringLiteral("rowid > ?") : QStringLiteral("rowid < ?");
        }
        const QString e = orderExpr(i);
        const QString raw = quoteIdent(orderFields_[i]);
        const QVariant& v = key[i];
        QString beyond;
        if (!v.isValid()) {
            beyond = forward ? raw + QStringLiteral(" IS NOT NULL") : QStringLiteral("0");
        } else {
            beyond = forward ? QString(e + QStringLiteral(" > ?"))
                             : QString(QLatin1Char('(') + e + QStringLiteral(" < ? OR ") + raw + QStringLiteral(" IS NULL)"));
            params << v;
        }
        QString same;
        if (!v.isValid()) {
            same = raw + QStringLiteral(" IS NULL");
        } else {
            same = e + QStringLiteral(" = ?");
            params << v;
        }
        return QLatin1Char('(') + beyond + QStringLiteral(" OR (") + same + QStringLiteral(" AND ") + build(i + 1) +
               QStringLiteral("))");
    };
    return build(0);
}

// The link values change with every move of the master; the statements are
// rebuilt only when the shape of the condition changes.
void Table::cursorRebuild()
{
    linkedToNone_ = false;
    QVariantList linkParams;
    if (masterSource()) {
        const QVariantList& values = linkValues();
        const QStringList& fields = detailFields();
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant v = i < values.size() ? values[i] : QVariant();
            if (!v.isValid()) {
                linkedToNone_ = true;
                break;
            }
            const FieldType t = typeOfField(fields[i]);
            linkParams << toStorage(t, toFieldValue(t, v, fields[i]));
        }
    }
    const int links = static_cast<int>(linkParams.size());
    if (!shapeKnown_ || shapeVersion() != shape_ || links != shapeLinks_) {
        // The reads keep their statements when their text comes out the same
        // (a filter on another value of the same field: the value is a parameter).
        const QString oldShape = where_ + (walksNarrow(Forward) ? QStringLiteral("|n") : QStringLiteral("|f"));
        QStringList conds;
        for (int i = 0; i < links; ++i)
            conds << quoteIdent(detailFields()[i]) + QStringLiteral(" = ?");
        filterParams_.clear();
        if (const FilterExpr::Node* tree = filterTree())
            conds << FilterExpr::toSql(*tree, [this](const QString& f) { return typeOfField(f); }, filterParams_);
        where_.clear();
        for (const QString& c : conds)
            where_ += (where_.isEmpty() ? QString() : QStringLiteral(" AND ")) + QLatin1Char('(') + c + QLatin1Char(')');
        shapeKnown_ = true;
        shape_ = shapeVersion();
        shapeLinks_ = links;
        resolveOrder();
        if (where_ + (walksNarrow(Forward) ? QStringLiteral("|n") : QStringLiteral("|f")) != oldShape)
            clearReadMemo();
    }
    whereParams_ = linkParams + filterParams_;
    block_ = Block();
    pos_ = -1;
    rowId_ = -1;
    key_.clear();
    hasKey_ = false;
}

// ---------------------------------------------------------------- statements and blocks

namespace {
constexpr int kFirstBlock = 16;   // most views read a row or a few after a move
constexpr int kLargestBlock = 1024;
}  // namespace

Statement& Table::readStatement(Role role, bool ascending, const QString& condition, bool limited)
{
    QString key = condition;
    key += QLatin1Char(ascending ? 'a' : 'd');
    key += QLatin1Char(limited ? 'l' : 'u');
    Statement*& memo = readMemo_[role][key];
    if (!memo) {
        // Prepared statements are kept by their text, so a condition set again finds its statement.
        QString sql = role == Count ? countSql() : selectSql(role, condition, ascending);
        if (limited)
            sql += QStringLiteral(" LIMIT ?");
        memo = &statement(role, sql);
    }
    return *memo;
}

QString Table::countSql() const
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + quoteIdent(format_->fileName);
    if (!where_.isEmpty())
        sql += QStringLiteral(" WHERE ") + where_;
    return sql;
}

Statement& Table::statement(Role role, const QString& sql)
{
    auto& slot = statements_[role][sql];
    if (!slot) {
        slot = std::make_unique<Statement>(database().handle(), sql);
        slot->fieldColumn = walksNarrow(role) ? narrowColumns_ : fullColumns_;
    }
    return *slot;
}

// Every statement is reset before this returns, so the connection keeps no
// read transaction between calls.
void Table::readRows(Statement& st, const QVariantList& params, int limit, Block& out)
{
    st.reset();
    st.bindAll(whereParams_, 1);
    st.bindAll(params, static_cast<int>(whereParams_.size()) + 1);
    out.fieldColumn = st.fieldColumn;
    out.width = st.columnCount() - 1;
    out.ids.clear();
    out.vals.clear();
    if (limit > 0) {
        out.ids.reserve(limit);
        out.vals.reserve(static_cast<size_t>(limit) * out.width);
    }
    // The type of each selected column's field: values are kept in the field's own form.
    QVector<FieldType> types(out.width, FieldType::String);
    for (int f = 0; f < out.fieldColumn.size(); ++f)
        if (out.fieldColumn[f] > 0)
            types[out.fieldColumn[f] - 1] = dataFields()[f]->dataType();
    int n = 0;
    try {
        while ((limit == 0 || n < limit) && st.step()) {
            out.ids.append(st.int64(0));
            out.vals.appendRow(st, types);
            ++n;
        }
    } catch (...) {
        st.reset();
        throw;
    }
    st.reset();
    out.exhausted = limit == 0 || n < limit;
    if (n > 0)
        out.lastKey = keyOf(out, n - 1);
}

void Table::filterRows(Block& b)
{
    if (!hasFilterCallback() || b.ids.isEmpty())
        return;
    int kept = 0;
    for (int i = 0; i < b.size(); ++i) {
        probe_ = &b;
        probePos_ = i;
        bool ok = false;
        try {
            ok = acceptRow();  // the filter reads the candidate through the view's fields
        } catch (...) {
            probe_ = nullptr;
            throw;
        }
        probe_ = nullptr;
        if (ok) {
            // The accepted rows move down over the refused ones; the rows before stay as they are.
            b.ids[kept] = b.ids[i];
            b.vals.moveCells(static_cast<size_t>(i) * b.width, static_cast<size_t>(kept) * b.width, b.width);
            ++kept;
        }
    }
    b.ids.resize(kept);
    b.vals.truncate(static_cast<size_t>(kept) * b.width);
}

// Reads the rows of `condition` in the given order into `out`: a block that a
// walk continues, or (not a walk) the first accepted row alone.
bool Table::fetch(Role role, const QString& condition, const QVariantList& params, bool forward, Block& out)
{
    const bool walk = role == Forward || role == Backward;
    int limit = walk ? nextLimit_ : (hasFilterCallback() ? kFirstBlock : 1);
    QString cond = condition;
    QVariantList p = params;
    for (;;) {
        Statement& st = readStatement(role, forward, cond, true);
        QVariantList bound = p;
        bound << limit;
        readRows(st, bound, limit, out);
        filterRows(out);
        if (out.size() > 0 || out.exhausted)
            break;
        // Every row read was refused by the filter: go on beyond the last one.
        QVariantList sp;
        const QString seek = seekCondition(out.lastKey, forward, sp);
        cond = condition.isEmpty() ? seek : QLatin1Char('(') + condition + QStringLiteral(") AND ") + seek;
        p = params + sp;
        limit = std::min(limit * 4, kLargestBlock);
    }
    out.walk = walk;
    out.forward = forward;
    return out.size() > 0;
}

QVariantList Table::keyOf(const Block& b, int pos) const
{
    QVariantList key;
    for (int c : orderColumns_)
        key << toStorage(dataFields()[c]->dataType(), b.vals.value(static_cast<size_t>(pos) * b.width + b.fieldColumn[c] - 1));
    key << b.ids[pos];
    return key;
}

void Table::land(Block& b, int pos)
{
    if (&b != &block_)
        block_ = std::move(b);
    pos_ = pos;
    rowId_ = block_.ids[pos];
    hasKey_ = true;
    seenGen_ = *gen_;
}

// No current row; its key stays known, so that a later move can start from it.
void Table::clearCurrent()
{
    if (pos_ >= 0)
        key_ = keyOf(block_, pos_);
    pos_ = -1;
    seenGen_ = *gen_;
}

QVariantList Table::currentKey() const
{
    if (pos_ >= 0)
        return keyOf(block_, pos_);
    return hasKey_ ? key_ : QVariantList();
}

// A field not selected by the walking statement widens it; the current record
// stays the same, so this is a read as far as the view's users can tell.
const StoredValues* Table::widenedCell(int column, size_t& cell) const
{
    int c = -1;
    if (probe_ || (c = const_cast<Table*>(this)->widen(column)) < 0)
        return nullptr;
    cell = static_cast<size_t>(pos_) * block_.width + c - 1;
    return &block_.vals;
}

int Table::widen(int column)
{
    read_[column] = true;
    rebuildNarrowList();
    const qint64 row = rowId_;
    const QVariantList key = currentKey();
    const bool walk = block_.walk;
    const bool forward = block_.forward;
    // Stand on the same row again, through a statement that reads the field.
    if (!(walk && seekFrom(key, forward, true) && rowId_ == row) && !fetchRow(row)) {
        clearCurrent();
        return -1;
    }
    return block_.fieldColumn[column];
}

void Table::cursorLoadFullRow()
{
    if (pos_ >= 0 && block_.fieldColumn != fullColumns_)
        fetchRow(rowId_);
}

bool Table::fetchRow(qint64 rowId)
{
    if (linkedToNone_)
        return false;
    Block b;
    if (!fetch(Row, QStringLiteral("rowid = ?"), {rowId}, true, b))
        return false;
    land(b, 0);
    return true;
}

// Stands on the first accepted row of the condition (not a walk: the next move seeks).
bool Table::walkFrom(bool forward, const QString& condition, const QVariantList& params)
{
    Block b;
    if (!fetch(forward ? Forward : Backward, condition, params, forward, b))
        return false;
    b.walk = false;
    land(b, 0);
    return true;
}

bool Table::seekFrom(const QVariantList& key, bool forward, bool inclusive)
{
    if (linkedToNone_ || key.isEmpty())
        return false;
    QVariantList p;
    const QString cond = seekCondition(key, forward, p, inclusive);
    nextLimit_ = kFirstBlock;
    Block b;
    if (!fetch(forward ? Forward : Backward, cond, p, forward, b))
        return false;
    land(b, 0);
    return true;
}

void Table::restoreCurrent(qint64 rowId, const QVariantList& key)
{
    if (rowId >= 0 && !key.isEmpty() && (fetchRow(rowId) || seekFrom(key, true) || seekFrom(key, false)))
        return;
    pos_ = -1;
    seenGen_ = *gen_;
}

// ---------------------------------------------------------------- cursor

void Table::cursorOpen()
{
    database().checkTable(*format_);
    gen_ = database().changeCounter(format_->fileName);
    seenGen_ = *gen_;
    resolveOrder();
}

void Table::cursorClose()
{
    block_ = Block();
    pos_ = -1;
    rowId_ = -1;
    key_.clear();
    hasKey_ = false;
    for (auto& m : statements_)
        m.clear();
    clearReadMemo();
    shapeKnown_ = false;
}

// The first record in the view's order, or the last one.
bool Table::toEnd(bool first)
{
    // Back to the first row of a block read from the start: nothing was written to the
    // table since, the view's shape is the same (a rebuild drops the block) and no filter
    // callback could now judge its rows otherwise, so the read would give the same rows.
    if (first && pos_ >= 0 && block_.fromStart && !cursorStale() && !hasFilterCallback()) {
        pos_ = 0;
        rowId_ = block_.ids[0];
        return true;
    }
    pos_ = -1;
    seenGen_ = *gen_;
    if (linkedToNone_)
        return false;
    nextLimit_ = kFirstBlock;
    Block b;
    if (!fetch(first ? Forward : Backward, QString(), {}, first, b))
        return false;
    b.fromStart = first;
    land(b, 0);
    return true;
}

bool Table::cursorFirst()
{
    return toEnd(true);
}

bool Table::cursorLast()
{
    return toEnd(false);
}

bool Table::step(bool forward)
{
    if (pos_ < 0)
        return false;
    if (!cursorStale() && block_.walk) {
        // The common walk: the rows of the block are the view's rows in order.
        if (block_.forward == forward) {
            if (pos_ + 1 < block_.size()) {
                rowId_ = block_.ids[++pos_];
                return true;
            }
            if (block_.exhausted)
                return false;
            nextLimit_ = std::min(nextLimit_ * 4, kLargestBlock);
            QVariantList p;
            const QString cond = seekCondition(block_.lastKey, forward, p);
            Block b;
            if (fetch(forward ? Forward : Backward, cond, p, forward, b)) {
                land(b, 0);
                return true;
            }
            block_.exhausted = true;
            return false;
        }
        if (pos_ > 0) {
            rowId_ = block_.ids[--pos_];
            return true;
        }
    }
    const bool stale = cursorStale();
    const qint64 oldRow = rowId_;
    const QVariantList oldKey = currentKey();
    if (seekFrom(oldKey, forward))
        return true;
    if (stale)
        restoreCurrent(oldRow, oldKey);
    return false;
}

bool Table::cursorNext()
{
    return step(true);
}

bool Table::cursorPrior()
{
    return step(false);
}

bool Table::cursorSeekRow(qint64 rowId)
{
    const bool had = pos_ >= 0;
    const bool stale = cursorStale();
    const qint64 oldRow = rowId_;
    const QVariantList oldKey = currentKey();
    if (fetchRow(rowId))
        return true;
    if (had && stale)
        restoreCurrent(oldRow, oldKey);
    return false;
}

bool Table::cursorLocate(const QStringList& fields, const QVariantList& values, LocateOptions options)
{
    if (linkedToNone_)
        return false;
    QStringList conds;
    QVariantList p;
    for (int i = 0; i < fields.size(); ++i) {
        const FieldType t = typeOfField(fields[i]);
        const QString col = quoteIdent(fields[i]);
        const bool text = t == FieldType::String || t == FieldType::Memo;
        const QString collate = options.caseInsensitive && text ? QStringLiteral(" COLLATE NOCASE") : QString();
        const QVariant v = toFieldValue(t, values[i], fields[i]);
        if (!v.isValid()) {
            conds << col + QStringLiteral(" IS NULL");
        } else if (options.partialKey && text) {
            const QString s = v.toString();
            conds << QStringLiteral("substr(%1, 1, %2) = ?").arg(col).arg(s.size()) + collate;
            p << s;
        } else {
            conds << col + QStringLiteral(" = ?") + collate;
            p << toStorage(t, v);
        }
    }
    const bool had = pos_ >= 0;
    const bool stale = cursorStale();
    const qint64 oldRow = rowId_;
    const QVariantList oldKey = currentKey();
    if (walkFrom(true, conds.join(QStringLiteral(" AND ")), p))
        return true;
    if (had && stale)
        restoreCurrent(oldRow, oldKey);
    return false;
}

void Table::findNearest(const QVariantList& values)
{
    navigate(
        [&]() {
            const int k = std::min<int>(static_cast<int>(values.size()), static_cast<int>(orderFields_.size()));
            if (k == 0 || linkedToNone_)
                return cursorFirst();
            QVariantList p;
            std::function<QString(int)> build = [&](int i) -> QString {
                const FieldType t = typeOfField(orderFields_[i]);
                const QVariant v = toStorage(t, toFieldValue(t, values[i], orderFields_[i]));
                const QString e = orderExpr(i);
                if (i == k - 1) {
                    if (!v.isValid())
                        return QStringLiteral("1");
                    p << v;
                    return e + QStringLiteral(" >= ?");
                }
                if (!v.isValid())
                    return QLatin1Char('(') + quoteIdent(orderFields_[i]) + QStringLiteral(" IS NOT NULL OR ") + build(i + 1) +
                           QLatin1Char(')');
                p << v;
                const QString gt = e + QStringLiteral(" > ?");
                p << v;
                return QLatin1Char('(') + gt + QStringLiteral(" OR (") + e + QStringLiteral(" = ? AND ") + build(i + 1) +
                       QStringLiteral("))");
            };
            const QString cond = build(0);
            return walkFrom(true, cond, p) || cursorLast();
        });
}

void Table::cursorResync()
{
    if (linkedToNone_) {
        pos_ = -1;
        seenGen_ = *gen_;
        return;
    }
    if (hasKey_) {
        const qint64 oldRow = rowId_;
        const QVariantList oldKey = currentKey();
        // The record it stood on, else its neighbour in the order, else (when the view
        // stood on nothing, or a changed filter hides all around it) the first record.
        if (!fetchRow(oldRow) && !seekFrom(oldKey, true) && !seekFrom(oldKey, false))
            cursorFirst();
        return;
    }
    cursorFirst();
}

QVariant Table::cursorValue(int column) const
{
    size_t cell = 0;
    const StoredValues* v = stored(column, cell);
    return v ? v->value(cell) : QVariant();
}

double Table::cursorDouble(int column) const
{
    size_t cell = 0;
    const StoredValues* v = stored(column, cell);
    return v ? v->toDouble(cell) : 0.0;
}

QString Table::cursorString(int column) const
{
    size_t cell = 0;
    const StoredValues* v = stored(column, cell);
    return v ? v->toString(cell) : QString();
}

bool Table::cursorIsNull(int column) const
{
    size_t cell = 0;
    const StoredValues* v = stored(column, cell);
    return !v || v->isNull(cell);
}

int Table::cursorCount()
{
    if (linkedToNone_)
        return 0;
    if (!hasFilterCallback()) {
        Statement& st = readStatement(Count, true, QString(), false);
        st.reset();
        st.bindAll(whereParams_, 1);
        int n = 0;
        try {
            st.step();
            n = static_cast<int>(st.int64(0));
        } catch (...) {
            st.reset();
            throw;
        }
        st.reset();
        return n;
    }
    Block b;
    readRows(readStatement(Probe, true, QString(), false), {}, 0, b);
    filterRows(b);
    return b.size();
}

bool Table::cursorShows(Bookmark bm)
{
    if (linkedToNone_)
        return false;
    Block b;
    return fetch(Row, QStringLiteral("rowid = ?"), {bm}, true, b);  // the view's conditions and filter, on that row alone
}

QList<QPair<QVariant, Bookmark>> Table::cursorFieldValues(int column)
{
    QList<QPair<QVariant, Bookmark>> out;
    if (linkedToNone_)
        return out;
    Block b;
    readRows(readStatement(Probe, true, QString(), false), {}, 0, b);
    filterRows(b);
    for (int i = 0; i < b.size(); ++i)
        out.append({column >= 0 ? b.vals.value(static_cast<size_t>(i) * b.width + b.fieldColumn[column] - 1) : QVariant(),
                    b.ids[i]});
    return out;
}


// ---------------------------------------------------------------- writes

qint64 Table::cursorInsert(const QVector<QVariant>& values)
{
    // The statement names the fields that have a value; it is built once for each such set.
    QByteArray present(values.size(), '0');
    QVariantList params;
    for (int i = 0; i < values.size(); ++i) {
        const Field* f = dataFields()[i];
        if (!values[i].isValid() || f->dataType() == FieldType::AutoInc)
            continue;
        present[i] = '1';
        params << toStorage(f->dataType(), values[i]);
    }
    QString& sql = insertSql_[present];
    if (sql.isEmpty()) {
        QStringList cols, marks;
        for (int i = 0; i < values.size(); ++i)
            if (present[i] == '1') {
                cols << quoteIdent(dataFields()[i]->fieldName());
                marks << QStringLiteral("?");
            }
        sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(format_->fileName))
                             : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(quoteIdent(format_->fileName), cols.join(QStringLiteral(", ")),
                                        marks.join(QStringLiteral(", ")));
    }
    sqlite3* h = database().handle();
    try {
        Database::WriteScope ws(database());
        Statement& st = statement(Write, sql);
        st.reset();
        st.bindAll(params);
        st.exec();
        const qint64 row = sqlite3_last_insert_rowid(h);
        ws.commit();
        database().noteWrite(format_->fileName);
        return row;
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(QStringLiteral("Cannot post the new record to %1: %2").arg(format_->fileName, e.message()));
    }
}

void Table::cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed)
{
    QStringList sets;
    QVariantList params;
    for (int i = 0; i < values.size(); ++i) {
        if (!changed[i])
            continue;
        const Field* f = dataFields()[i];
        sets << quoteIdent(f->fieldName()) + QStringLiteral(" = ?");
        params << toStorage(f->dataType(), values[i]);
    }
    if (sets.isEmpty())
        return;
    params << rowId;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                            .arg(quoteIdent(format_->fileName), sets.join(QStringLiteral(", ")));
    sqlite3* h = database().handle();
    try {
        Database::WriteScope ws(database());
        Statement& st = statement(Write, sql);
        st.reset();
        st.bindAll(params);
        st.exec();
        if (sqlite3_changes(h) == 0)
            throw EDatabaseError(QStringLiteral("the record was deleted meanwhile"));
        ws.commit();
        database().noteWrite(format_->fileName);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(QStringLiteral("Cannot post the record to %1: %2").arg(format_->fileName, e.message()));
    }
}

void Table::cursorDelete(qint64 rowId)
{
    const QVariantList key = (pos_ >= 0 && rowId_ == rowId) ? currentKey() : QVariantList();
    try {
        Database::WriteScope ws(database());
        Statement& st = statement(Write, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdent(format_->fileName)));
        st.reset();
        st.bind(1, rowId);
        st.exec();
        ws.commit();
        database().noteWrite(format_->fileName);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(QStringLiteral("Cannot delete the record from %1: %2").arg(format_->fileName, e.message()));
    }
    pos_ = -1;
    if (!key.isEmpty()) {
        key_ = key;
        if (!seekFrom(key, true) && !seekFrom(key, false))
            clearCurrent();
    } else {
        cursorResync();
    }
}
