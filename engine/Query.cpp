#include "Query.h"

#include "DataSource.h"
#include "Database.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "Statement.h"

#include <QRegularExpression>
#include <sqlite3.h>

Query::Query(Database& db, const QString& name) : DataSet(db, name) {}

Query::~Query()
{
    close();
}

void Query::setSql(const QStringList& lines)
{
    if (active())
        close();
    sql_ = lines;
}

QStringList Query::parameterNames() const
{
    QStringList out;
    // Parameters outside quoted text: ":Name".
    static const QRegularExpression re(QStringLiteral(R"re('(?:[^']|'')*'|"(?:[^"]|"")*"|:([A-Za-z_][A-Za-z0-9_]*))re"));
    auto it = re.globalMatch(sql_.join(QLatin1Char('\n')));
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.hasCaptured(1) && !out.contains(m.captured(1)))
            out << m.captured(1);
    }
    return out;
}

void Query::setParamSource(DataSource* source)
{
    const QStringList names = parameterNames();
    QStringList detail;
    for (const QString& n : names)
        if (findField(n))
            detail << n;
    setMasterLink(source, names, detail.size() == names.size() ? names : QStringList());
}

void Query::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toLower(), value);
    if (active()) {
        cursorRebuild();
        first();
    }
}

int Query::baseFieldOf(int column) const
{
    return base_ ? base_->fieldIndex(dataFields()[column]->fieldName()) : -1;
}

void Query::cursorOpen()
{
    const QString text = sql_.join(QLatin1Char('\n'));
    static const QRegularExpression from(QStringLiteral(R"re(\bFROM\s+(?:"([^"]+)"|'([^']+)'|([^\s,;()]+)))re"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(text);
    base_ = nullptr;
    if (m.hasMatch()) {
        const QString table = !m.captured(1).isEmpty() ? m.captured(1) : !m.captured(2).isEmpty() ? m.captured(2) : m.captured(3);
        base_ = database().format(table);
    }
    if (base_) {
        database().checkTable(*base_);
        gen_ = database().changeCounter(base_->fileName);
        seenGen_ = *gen_;
    }
    if (dataFields().isEmpty()) {
        Statement st(database().handle(), text);
        for (int c = 0; c < st.columnCount(); ++c) {
            const QString n = st.columnName(c);
            const int bi = base_ ? base_->fieldIndex(n) : -1;
            addDataField(bi >= 0 ? base_->fields[bi] : FieldDef{n, FieldType::String, 255, false, {}});
        }
    }
    keyColumn_ = -1;
    const int ai = base_ ? base_->autoIncIndex() : -1;
    if (ai >= 0)
        for (int c = 0; c < dataFields().size(); ++c)
            if (dataFields()[c]->fieldName().compare(base_->fields[ai].name, Qt::CaseInsensitive) == 0)
                keyColumn_ = c;
}

void Query::cursorClose()
{
    rows_.clear();
    ids_.clear();
    pos_ = -1;
}

void Query::cursorRebuild()
{
    load();
    pos_ = -1;
}

void Query::load()
{
    Statement st(database().handle(), sql_.join(QLatin1Char('\n')));
    const QStringList linkNames = masterSource() ? parameterNames() : QStringList();
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString n = st.parameterName(i).mid(1);
        QVariant v = params_.value(n.toLower());
        const int li = static_cast<int>(linkNames.indexOf(n));
        if (li >= 0 && li < linkValues().size()) {
            v = linkValues()[li];
            if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::Bool)
                v = toStorage(v.typeId() == QMetaType::Bool ? FieldType::Boolean
                              : v.typeId() == QMetaType::QDate ? FieldType::Date : FieldType::DateTime, v);
        }
        st.bind(i, v);
    }
    if (gen_)
        seenGen_ = *gen_;
    rows_.clear();
    ids_.clear();
    const int n = static_cast<int>(dataFields().size());
    const FilterExpr::Node* tree = filterTree();
    auto typeOf = [this](const QString& f) { return typeOfField(f); };
    while (st.step()) {
        QVector<QVariant> row(n);
        for (int c = 0; c < n && c < st.columnCount(); ++c)
            row[c] = fromStorage(dataFields()[c]->dataType(), st.value(c));
        if (tree &&
            !FilterExpr::eval(*tree, typeOf, [&](const QString& f) { return row[fieldByName(f).slot()]; }))
            continue;
        if (hasFilterCallback()) {
            probe_ = &row;
            bool ok = false;
            try {
                ok = acceptRow();
            } catch (...) {
                probe_ = nullptr;
                throw;
            }
            probe_ = nullptr;
            if (!ok)
                continue;
        }
        ids_ << (keyColumn_ >= 0 ? row[keyColumn_].toLongLong() : ids_.size());
        rows_ << row;
    }
}

void Query::reloadAt(qint64 rowId, int fallbackPos)
{
    load();
    pos_ = static_cast<int>(ids_.indexOf(rowId));
    if (pos_ < 0 && !rows_.isEmpty())
        pos_ = std::clamp(fallbackPos, 0, static_cast<int>(rows_.size()) - 1);
}

bool Query::cursorFirst()
{
    if (cursorStale())
        load();
    pos_ = rows_.isEmpty() ? -1 : 0;
    return pos_ >= 0;
}

bool Query::cursorLast()
{
    if (cursorStale())
        load();
    pos_ = static_cast<int>(rows_.size()) - 1;
    return pos_ >= 0;
}

bool Query::cursorNext()
{
    if (cursorStale())
        cursorResync();
    if (pos_ < 0 || pos_ + 1 >= rows_.size())
        return false;
    ++pos_;
    return true;
}

bool Query::cursorPrior()
{
    if (cursorStale())
        cursorResync();
    if (pos_ <= 0)
        return false;
    --pos_;
    return true;
}

bool Query::cursorSeekRow(qint64 rowId)
{
    if (cursorStale())
        cursorResync();
    const int i = static_cast<int>(ids_.indexOf(rowId));
    if (i < 0)
        return false;
    pos_ = i;
    return true;
}

bool Query::cursorLocate(const QStringList& fields, const QVariantList& values, LocateOptions options)
{
    if (cursorStale())
        cursorResync();
    for (int r = 0; r < rows_.size(); ++r) {
        bool all = true;
        for (int i = 0; i < fields.size() && all; ++i) {
            const Field& f = fieldByName(fields[i]);
            const QVariant want = toFieldValue(f.dataType(), values[i], f.fieldName());
            const QVariant have = rows_[r][f.slot()];
            if (!want.isValid() || !have.isValid()) {
                all = want.isValid() == have.isValid();
            } else if (f.dataType() == FieldType::String || f.dataType() == FieldType::Memo) {
                const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
                all = options.partialKey ? have.toString().startsWith(want.toString(), cs)
                                         : have.toString().compare(want.toString(), cs) == 0;
            } else {
                all = have == want;
            }
        }
        if (all) {
            pos_ = r;
            return true;
        }
    }
    return false;
}

void Query::cursorResync()
{
    const qint64 id = pos_ >= 0 ? ids_[pos_] : -1;
    reloadAt(id, pos_);
}

QList<QPair<QVariant, Bookmark>> Query::cursorFieldValues(int column)
{
    if (cursorStale())
        cursorResync();
    QList<QPair<QVariant, Bookmark>> out;
    for (int r = 0; r < rows_.size(); ++r)
        out.append({column >= 0 ? rows_[r][column] : QVariant(), ids_[r]});
    return out;
}

qint64 Query::cursorInsert(const QVector<QVariant>& values)
{
    QStringList cols, marks;
    QVariantList params;
    for (int c = 0; c < values.size(); ++c) {
        const int bi = baseFieldOf(c);
        if (bi < 0 || !values[c].isValid() || base_->fields[bi].type == FieldType::AutoInc)
            continue;
        cols << quoteIdent(base_->fields[bi].name);
        marks << QStringLiteral("?");
        params << toStorage(base_->fields[bi].type, values[c]);
    }
    const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(base_->fileName))
                                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                             .arg(quoteIdent(base_->fileName), cols.join(QStringLiteral(", ")),
                                                  marks.join(QStringLiteral(", ")));
    sqlite3* h = database().handle();
    Database::WriteScope ws(database());
    Statement st(h, sql);
    st.bindAll(params);
    st.exec();
    const qint64 row = sqlite3_last_insert_rowid(h);
    ws.commit();
    database().noteWrite(base_->fileName);
    reloadAt(row, pos_);
    return row;
}

void Query::cursorUpdate(qint64 rowId, const QVector<QVariant>& values, const QVector<bool>& changed)
{
    QStringList sets;
    QVariantList params;
    for (int c = 0; c < values.size(); ++c) {
        const int bi = baseFieldOf(c);
        if (!changed[c] || bi < 0)
            continue;
        sets << quoteIdent(base_->fields[bi].name) + QStringLiteral(" = ?");
        params << toStorage(base_->fields[bi].type, values[c]);
    }
    if (sets.isEmpty())
        return;
    params << rowId;
    sqlite3* h = database().handle();
    Database::WriteScope ws(database());
    Statement st(h, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                        .arg(quoteIdent(base_->fileName), sets.join(QStringLiteral(", "))));
    st.bindAll(params);
    st.exec();
    if (sqlite3_changes(h) == 0)
        throw EDatabaseError(QStringLiteral("Cannot post the record to %1: the record was deleted meanwhile").arg(base_->fileName));
    ws.commit();
    database().noteWrite(base_->fileName);
    reloadAt(rowId, pos_);
}

void Query::cursorDelete(qint64 rowId)
{
    Database::WriteScope ws(database());
    Statement st(database().handle(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdent(base_->fileName)));
    st.bind(1, rowId);
    st.exec();
    ws.commit();
    database().noteWrite(base_->fileName);
    reloadAt(-1, pos_);
}
