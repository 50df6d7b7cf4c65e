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
        addDataField(format_->fields[i]);
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
}

void Table::rebuildNarrowList()
{
    QStringList cols{QStringLiteral("rowid")};
    narrowColumns_ = QVector<int>(columns_.size(), -1);
    for (int i = 0; i < columns_.size(); ++i)
        if (read_[i]) {
            narrowColumns_[i] = static_cast<int>(cols.size());
            cols << quoteIdent(dataFields()[i]->fieldName());
        }
    narrowList_ = cols.join(QStringLiteral(", "));
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

void Table::cursorRebuild()
{
    where_.clear();
    whereParams_.clear();
    linkedToNone_ = false;
    QStringList conds;
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
            conds << quoteIdent(fields[i]) + QStringLiteral(" = ?");
            whereParams_ << toStorage(t, toFieldValue(t, v, fields[i]));
        }
    }
    if (const FilterExpr::Node* tree = filterTree())
        conds << FilterExpr::toSql(*tree, [this](const QString& f) { return typeOfField(f); }, whereParams_);
    for (const QString& c : conds)
        where_ += (where_.isEmpty() ? QString() : QStringLiteral(" AND ")) + QLatin1Char('(') + c + QLatin1Char(')');
    resolveOrder();
    cur_ = nullptr;
    stepping_ = nullptr;
    rowId_ = -1;
    key_.clear();
    hasKey_ = false;
}

// ---------------------------------------------------------------- statements

Statement& Table::statement(Role role, const QString& sql)
{
    auto& slot = statements_[role][sql];
    if (!slot) {
        slot = std::make_unique<Statement>(database().handle(), sql);
        slot->fieldColumn = walksNarrow(role) ? narrowColumns_ : fullColumns_;
    }
    return *slot;
}

int Table::widen(int column)
{
    read_[column] = true;
    rebuildNarrowList();
    const qint64 row = rowId_;
    const QVariantList key = currentKey();
    const bool walking = stepping_ && stepping_ == cur_;
    const bool forward = steppingForward_;
    cur_ = nullptr;
    // Stand on the same row again, through a statement that reads the field.
    if (!(walking ? seekFrom(key, forward, true) : false) && !fetchRow(row))
        return -1;
    return cur_->fieldColumn[column];
}

void Table::cursorLoadFullRow()
{
    if (cur_ && cur_->fieldColumn != fullColumns_)
        fetchRow(rowId_);
}

void Table::bindAndReset(Statement& st, const QVariantList& extra)
{
    st.reset();
    st.bindAll(whereParams_, 1);
    st.bindAll(extra, static_cast<int>(whereParams_.size()) + 1);
}

bool Table::stepToAccepted(Statement& st)
{
    while (st.step()) {
        if (!hasFilterCallback())
            return true;
        Statement* saved = cur_;
        cur_ = &st;  // the filter reads the candidate through the view's fields
        bool ok = false;
        try {
            ok = acceptRow();
        } catch (...) {
            cur_ = saved;
            throw;
        }
        cur_ = saved;
        if (ok)
            return true;
    }
    return false;
}

QVariantList Table::rowKey(Statement& st) const
{
    QVariantList key;
    for (int c : orderColumns_)
        key << st.value(st.fieldColumn[c]);
    key << st.int64(0);
    return key;
}

void Table::land(Statement& st)
{
    cur_ = &st;
    rowId_ = st.int64(0);
    // In row order the row id is the whole key; other orders keep their field values.
    if (orderColumns_.isEmpty())
        key_.clear();
    else
        key_ = rowKey(st);
    hasKey_ = true;
}

QVariantList Table::currentKey() const
{
    if (!hasKey_)
        return {};
    return orderColumns_.isEmpty() ? QVariantList{rowId_} : key_;
}

bool Table::fetchRow(qint64 rowId)
{
    if (linkedToNone_)
        return false;
    Statement& st = statement(Row, selectSql(Row, QStringLiteral("rowid = ?"), true));
    if (cur_ == &st)
        cur_ = nullptr;
    bindAndReset(st, {rowId});
    seenGen_ = *gen_;
    if (stepToAccepted(st)) {
        land(st);
        stepping_ = nullptr;
        return true;
    }
    return false;
}

// Runs a walking statement with the condition and stands on its first accepted row.
bool Table::walkFrom(bool forward, const QString& condition, const QVariantList& params)
{
    const Role role = forward ? Forward : Backward;
    Statement& st = statement(role, selectSql(role, condition, forward));
    if (cur_ == &st)
        cur_ = nullptr;
    bindAndReset(st, params);
    seenGen_ = *gen_;
    if (!stepToAccepted(st))
        return false;
    land(st);
    stepping_ = &st;
    steppingForward_ = forward;
    return true;
}

bool Table::seekFrom(const QVariantList& key, bool forward, bool inclusive)
{
    if (linkedToNone_ || key.isEmpty())
        return false;
    QVariantList p;
    const QString cond = seekCondition(key, forward, p, inclusive);
    return walkFrom(forward, cond, p);
}

void Table::restoreCurrent(qint64 rowId, const QVariantList& key)
{
    if (rowId < 0 || key.isEmpty()) {
        cur_ = nullptr;
        return;
    }
    if (fetchRow(rowId) || seekFrom(key, true) || seekFrom(key, false))
        return;
    cur_ = nullptr;
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
    cur_ = nullptr;
    stepping_ = nullptr;
    rowId_ = -1;
    key_.clear();
    hasKey_ = false;
    for (auto& m : statements_)
        m.clear();
}

// The first record in the view's order, or the last one.
bool Table::toEnd(bool first)
{
    cur_ = nullptr;
    stepping_ = nullptr;
    seenGen_ = *gen_;
    if (linkedToNone_)
        return false;
    return walkFrom(first, QString(), {});
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
    if (!cur_)
        return false;
    if (!cursorStale() && stepping_ == cur_ && steppingForward_ == forward) {
        // The common walk: the live statement steps on.
        if (stepToAccepted(*cur_)) {
            land(*cur_);
            return true;
        }
        cur_ = nullptr;
        restoreCurrent(rowId_, currentKey());
        return false;
    }
    const qint64 oldRow = rowId_;
    const QVariantList oldKey = currentKey();
    if (seekFrom(oldKey, forward))
        return true;
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
    const qint64 oldRow = cur_ ? rowId_ : -1;
    const QVariantList oldKey = currentKey();
    if (fetchRow(rowId))
        return true;
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
    const qint64 oldRow = cur_ ? rowId_ : -1;
    const QVariantList oldKey = currentKey();
    if (walkFrom(true, conds.join(QStringLiteral(" AND ")), p))
        return true;
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
        cur_ = nullptr;
        stepping_ = nullptr;
        seenGen_ = *gen_;
        return;
    }
    if (rowId_ >= 0 && hasKey_) {
        const qint64 oldRow = rowId_;
        const QVariantList oldKey = currentKey();
        if (!fetchRow(oldRow) && !seekFrom(oldKey, true) && !seekFrom(oldKey, false)) {
            cur_ = nullptr;
            stepping_ = nullptr;
        }
        return;
    }
    cursorFirst();
}

// A field not selected by the walking statement widens it; the current record
// stays the same, so this is a read as far as the view's users can tell.
QVariant Table::cursorValue(int column) const
{
    int c = cur_->fieldColumn[column];
    if (c < 0 && (c = const_cast<Table*>(this)->widen(column)) < 0)
        return {};
    return fromStorage(dataFields()[column]->dataType(), cur_->value(c));
}

double Table::cursorDouble(int column) const
{
    int c = cur_->fieldColumn[column];
    if (c < 0 && (c = const_cast<Table*>(this)->widen(column)) < 0)
        return 0.0;
    return cur_->real(c);
}

bool Table::cursorIsNull(int column) const
{
    int c = cur_->fieldColumn[column];
    if (c < 0 && (c = const_cast<Table*>(this)->widen(column)) < 0)
        return true;
    return cur_->isNull(c);
}

int Table::cursorCount()
{
    if (linkedToNone_)
        return 0;
    if (!hasFilterCallback()) {
        QString sql = QStringLiteral("SELECT count(*) FROM ") + quoteIdent(format_->fileName);
        if (!where_.isEmpty())
            sql += QStringLiteral(" WHERE ") + where_;
        Statement& st = statement(Count, sql);
        bindAndReset(st, {});
        st.step();
        const int n = static_cast<int>(st.int64(0));
        st.reset();
        return n;
    }
    Statement& st = statement(Probe, selectSql(Probe, QString(), true));
    bindAndReset(st, {});
    int n = 0;
    while (stepToAccepted(st))
        ++n;
    return n;
}

QList<QPair<QVariant, Bookmark>> Table::cursorFieldValues(int column)
{
    QList<QPair<QVariant, Bookmark>> out;
    if (linkedToNone_)
        return out;
    Statement& st = statement(Probe, selectSql(Probe, QString(), true));
    bindAndReset(st, {});
    const FieldType t = column >= 0 ? dataFields()[column]->dataType() : FieldType::String;
    while (stepToAccepted(st))
        out.append({column >= 0 ? fromStorage(t, st.value(column + 1)) : QVariant(), st.int64(0)});
    return out;
}

// ---------------------------------------------------------------- writes

qint64 Table::cursorInsert(const QVector<QVariant>& values)
{
    QStringList cols, marks;
    QVariantList params;
    for (int i = 0; i < values.size(); ++i) {
        const Field* f = dataFields()[i];
        if (!values[i].isValid() || f->dataType() == FieldType::AutoInc)
            continue;
        cols << quoteIdent(f->fieldName());
        marks << QStringLiteral("?");
        params << toStorage(f->dataType(), values[i]);
    }
    const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(format_->fileName))
                                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                             .arg(quoteIdent(format_->fileName), cols.join(QStringLiteral(", ")),
                                                  marks.join(QStringLiteral(", ")));
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
    const QVariantList key = (cur_ && rowId_ == rowId) ? currentKey() : QVariantList();
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
    cur_ = nullptr;
    stepping_ = nullptr;
    if (!key.isEmpty()) {
        if (!seekFrom(key, true) && !seekFrom(key, false))
            cur_ = nullptr;
    } else {
        cursorResync();
    }
}
