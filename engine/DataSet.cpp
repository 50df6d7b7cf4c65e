#include "DataSet.h"

#include <algorithm>
#include <utility>

#include "DataSource.h"
#include "Database.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "Statement.h"

#include <sqlite3.h>

DataSet::DataSet(Database& db, QString name) : db_(db), name_(std::move(name))
{
    db_.registerDataSet(this);
}

DataSet::~DataSet()
{
    const QList<DataSource*> sources = sources_;
    for (DataSource* s : sources)
        s->setDataSet(nullptr);
    for (DataSet* d : details_) {
        d->master_ = nullptr;
        d->masterSet_ = nullptr;
    }
    if (masterSet_)
        masterSet_->details_.removeAll(this);
    db_.unregisterDataSet(this);
}

// ---------------------------------------------------------------- fields

Field* DataSet::findField(const QString& name) const
{
    if (Field* f = byName_.value(name))
        return f;
    for (Field* f : fieldList_)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

Field& DataSet::fieldByName(const QString& name) const
{
    Field* f = findField(name);
    if (!f)
        throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(name_, name));
    return *f;
}

Field& DataSet::fieldByName(const char* name) const
{
    Spelled& s = bySpelling_[name];
    if (s.field && s.text == name)  // the same text still lies there
        return *s.field;
    Field& f = fieldByName(QString::fromLatin1(name));
    s.text = name;
    s.field = &f;
    return f;
}

Field& DataSet::addDataField(const FieldDef& def)
{
    bySpelling_.clear();
    owned_.push_back(std::make_unique<Field>(*this, def, FieldKind::Data, static_cast<int>(dataFields_.size())));
    Field* f = owned_.back().get();
    fieldList_.insert(dataFields_.size(), f);
    dataFields_.append(f);
    byName_.insert(f->fieldName(), f);
    return *f;
}

Field& DataSet::addCalculatedField(const QString& name, FieldType type, int size)
{
    bySpelling_.clear();
    FieldDef def{name, type, size, false, {}};
    owned_.push_back(std::make_unique<Field>(*this, def, FieldKind::Calculated, static_cast<int>(computed_.size())));
    Field* f = owned_.back().get();
    fieldList_.append(f);
    computed_.append(f);
    computedValues_.resize(computed_.size());
    byName_.insert(f->fieldName(), f);
    return *f;
}

Field& DataSet::addLookupField(const QString& name, FieldType type, int size, const LookupDef& lookup)
{
    bySpelling_.clear();
    FieldDef def{name, type, size, false, {}};
    owned_.push_back(std::make_unique<Field>(*this, def, FieldKind::Lookup, static_cast<int>(computed_.size())));
    Field* f = owned_.back().get();
    f->lookup = lookup;
    byName_.insert(f->fieldName(), f);
    fieldList_.append(f);
    computed_.append(f);
    computedValues_.resize(computed_.size());
    return *f;
}

FieldType DataSet::typeOfField(const QString& name) const
{
    if (const Field* f = byName_.value(name); f && f->kind() == FieldKind::Data)
        return f->dataType();  // spelled as stored: no scan
    for (Field* f : dataFields_)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f->dataType();
    throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(name_, name));
}

bool DataSet::readsBuffer() const
{
    const DataSetState s = state_ == DataSetState::CalcFields ? calcSaved_ : state_;
    return s == DataSetState::Edit || s == DataSetState::Insert;
}

bool DataSet::fieldIsNull(const Field& f)
{
    if (f.isCalculated())
        return !fieldValue(f).isValid();
    if (readsBuffer())
        return !buffer_[f.slot()].isValid();
    if (state_ == DataSetState::Inactive)
        return true;
    syncIfStale();
    return !cursorHasRow() || cursorIsNull(f.slot());
}

QVariant DataSet::fieldValue(const Field& f)
{
    if (state_ == DataSetState::Inactive)
        return {};
    if (f.isCalculated()) {
        syncIfStale();
        if (lookupsDue_ && f.kind() == FieldKind::Lookup)
            resolveLookups();
        return computedValues_[f.slot()];
    }
    if (readsBuffer())
        return buffer_[f.slot()];
    syncIfStale();
    return cursorHasRow() ? cursorValue(f.slot()) : QVariant();
}

// Whether a field reads the stored value of the row in view: not a calculated
// field, an edit's buffer or a closed view. A walk's reads take the first test.
bool DataSet::readsCursor(const Field& f) const
{
    return !f.isCalculated() && (state_ == DataSetState::Browse || (!readsBuffer() && state_ != DataSetState::Inactive));
}

double DataSet::fieldDouble(const Field& f)
{
    if (!readsCursor(f))
        return fieldValue(f).toDouble();
    syncIfStale();
    return cursorHasRow() ? cursorDouble(f.slot()) : 0.0;
}

QString DataSet::fieldString(const Field& f)
{
    if (!readsCursor(f))
        return fieldValue(f).toString();
    syncIfStale();
    return cursorHasRow() ? cursorString(f.slot()) : QString();
}

QString DataSet::cursorString(int column) const
{
    return cursorValue(column).toString();
}

double DataSet::cursorDouble(int column) const
{
    return cursorValue(column).toDouble();
}

bool DataSet::cursorIsNull(int column) const
{
    return !cursorValue(column).isValid();
}

void DataSet::setFieldValue(Field& f, const QVariant& v)
{
    if (f.isCalculated()) {
        if (state_ != DataSetState::CalcFields)
            throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.displayLabel));
        computedValues_[f.slot()] = toFieldValue(f.dataType(), v, f.displayLabel);
        return;
    }
    if (state_ == DataSetState::CalcFields)
        throw EDatabaseError(QStringLiteral("%1: Field '%2' cannot be modified while fields are calculated")
                                 .arg(name_, f.fieldName()));
    if (!isEditing())
        throw EDatabaseError(QStringLiteral("The record is not being edited; start editing it first"));
    if (f.readOnly())
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.displayLabel));
    buffer_[f.slot()] = toFieldValue(f.dataType(), v, f.displayLabel);
    changed_[f.slot()] = true;
    modified_ = true;
    computeFields();
    notifyField(&f);
}

QString DataSet::computeLookup(const Field& f, const QVariant& key)
{
    const TableFormat* fmt = db_.format(f.lookup.table);
    if (!fmt)
        throw EDatabaseError(QStringLiteral("%1: lookup table %2 is unknown").arg(name_, f.lookup.table));
    auto& slot = lookups_[&f];
    if (!slot)
        slot = std::make_unique<Statement>(db_.handle(), QStringLiteral("SELECT ") + quoteIdent(f.lookup.resultField) +
                                                             QStringLiteral(" FROM ") + quoteIdent(fmt->fileName) +
                                                             QStringLiteral(" WHERE ") + quoteIdent(f.lookup.lookupKeyField) +
                                                             QStringLiteral(" = ? ORDER BY rowid LIMIT 1"));
    Statement& st = *slot;
    const int ki = fmt->fieldIndex(f.lookup.lookupKeyField);
    st.reset();
    st.bind(1, toStorage(ki >= 0 ? fmt->fields[ki].type : FieldType::String, key));
    QString text;
    try {
        text = st.step() ? st.text(0) : QString();
    } catch (...) {
        st.reset();
        throw;
    }
    st.reset();  // no statement stays open between calls
    return text;
}

// The record's calculated fields. Its lookup fields wait until one is read: a
// walk over many rows (a total, a report) reads none of them.
void DataSet::computeFields()
{
    lookupsDue_ = false;
    if (computed_.isEmpty() && !onCalcFields)
        return;
    for (QVariant& v : computedValues_)
        v = QVariant();
    if (!readsBuffer() && !cursorHasRow())
        return;
    lookupsDue_ = std::any_of(computed_.begin(), computed_.end(),
                              [](const Field* f) { return f->kind() == FieldKind::Lookup; });
    if (!onCalcFields)
        return;
    calcSaved_ = state_;
    state_ = DataSetState::CalcFields;
    try {
        onCalcFields(*this);
    } catch (...) {
        state_ = calcSaved_;
        throw;
    }
    state_ = calcSaved_;
}

void DataSet::resolveLookups()
{
    lookupsDue_ = false;
    for (Field* f : computed_)
        if (f->kind() == FieldKind::Lookup) {
            const QVariant key = fieldByName(f->lookup.keyField).value();
            if (key.isValid())
                computedValues_[f->slot()] = toFieldValue(f->dataType(), computeLookup(*f, key), f->fieldName());
        }
}

// ---------------------------------------------------------------- notifications

void DataSet::attachSource(DataSource* ds)
{
    if (!sources_.contains(ds))
        sources_.append(ds);
}

void DataSet::detachSource(DataSource* ds)
{
    sources_.removeAll(ds);
}

void DataSet::notifyData()
{
    if (controlsDisabled_ > 0)
        pendingNotify_ = true;
    else
        for (DataSource* s : std::as_const(sources_))
            s->recordChanged();
    if (details_.isEmpty())
        return;  // a walk over a view with no details moves nothing else
    const QList<DataSet*> details = details_;
    for (DataSet* d : details)
        d->masterChanged();
}

void DataSet::notifyState()
{
    if (controlsDisabled_ > 0)
        pendingNotify_ = true;
    else
        for (DataSource* s : std::as_const(sources_))
            s->stateWasChanged();
    const QList<DataSet*> details = details_;
    for (DataSet* d : details)
        d->masterChanged();
}

void DataSet::notifyField(Field* f)
{
    if (controlsDisabled_ > 0)
        pendingNotify_ = true;
    else
        for (DataSource* s : std::as_const(sources_))
            s->fieldValueChanged(f);
    const QList<DataSet*> details = details_;
    for (DataSet* d : details)
        d->masterChanged();
}

void DataSet::enableControls()
{
    if (controlsDisabled_ > 0 && --controlsDisabled_ == 0 && pendingNotify_) {
        pendingNotify_ = false;
        for (DataSource* s : std::as_const(sources_)) {
            s->stateWasChanged();
            s->recordChanged();
        }
    }
}

void DataSet::arrive()
{
    computeFields();
    notifyData();
}

void DataSet::syncIfStale()
{
    if (state_ == DataSetState::Browse && cursorStale()) {
        cursorResync();
        if (!cursorHasRow())
            eof_ = bof_ = true;
        arrive();
    }
}

// ---------------------------------------------------------------- master link

void DataSet::setMasterLink(DataSource* master, const QStringList& masterFields, const QStringList& detailFields)
{
    ++shapeVersion_;
    if (masterSet_)
        masterSet_->details_.removeAll(this);
    master_ = master;
    masterSet_ = master ? master->dataSet() : nullptr;
    masterFields_ = masterFields;
    detailFields_ = detailFields;
    if (masterSet_)
        masterSet_->details_.append(this);
    linkValues_.clear();
    if (active())
        masterChanged();
}

QVariantList DataSet::currentMasterValues() const
{
    QVariantList out;
    DataSet* m = masterSet_;
    for (const QString& name : masterFields_)
        out << ((m && m->active()) ? m->fieldByName(name).value() : QVariant());
    return out;
}

bool DataSet::linkedToNothing() const
{
    if (!master_)
        return false;
    for (const QVariant& v : linkValues_)
        if (!v.isValid())
            return true;
    return linkValues_.isEmpty();
}

void DataSet::masterChanged()
{
    if (!active() || !master_)
        return;
    const QVariantList v = currentMasterValues();
    if (v == linkValues_)
        return;
    checkBrowseMode();
    linkValues_ = v;
    cursorRebuild();
    toEnd(true);
}

// ---------------------------------------------------------------- open, close

void DataSet::checkActive() const
{
    if (state_ == DataSetState::Inactive)
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(name_));
}

void DataSet::open()
{
    if (active())
        return;
    cursorOpen();
    state_ = DataSetState::Browse;
    try {
        linkValues_ = master_ ? currentMasterValues() : QVariantList();
        cursorRebuild();
        const bool found = cursorFirst();
        bof_ = true;
        eof_ = !found;
    } catch (...) {
        state_ = DataSetState::Inactive;
        cursorClose();
        throw;
    }
    arrive();
    notifyState();
    fire(afterOpen);
    if (cursorHasRow())
        fire(afterScroll);
}

void DataSet::close()
{
    if (!active())
        return;
    fire(beforeClose);
    state_ = DataSetState::Inactive;
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    cursorClose();
    lookups_.clear();
    lookupsDue_ = false;
    eof_ = bof_ = true;
    for (QVariant& v : computedValues_)
        v = QVariant();
    notifyState();
    notifyData();
}

// ---------------------------------------------------------------- navigation

void DataSet::first()
{
    toEnd(true);
}

void DataSet::last()
{
    toEnd(false);
}

// The first record (bof set) or the last (eof set).
void DataSet::toEnd(bool first)
{
    checkActive();
    db_.checkExternalWrites();
    checkBrowseMode();
    fire(beforeScroll);
    const bool found = first ? cursorFirst() : cursorLast();
    (first ? bof_ : eof_) = true;
    (first ? eof_ : bof_) = !found;
    arrive();
    fire(afterScroll);
}

void DataSet::next()
{
    step(true);
}

void DataSet::prior()
{
    step(false);
}

// One record on, or back; at the end the current record stays and eof (bof) is set.
void DataSet::step(bool forward)
{
    checkActive();
    db_.checkExternalWrites();
    checkBrowseMode();
    if (forward ? eof_ : bof_)
        return;
    fire(beforeScroll);
    (forward ? bof_ : eof_) = false;
    if (!(forward ? cursorNext() : cursorPrior()))
        (forward ? eof_ : bof_) = true;
    if (!cursorHasRow())
        bof_ = eof_ = true;
    arrive();
    fire(afterScroll);
}

bool DataSet::isEmpty()
{
    checkActive();
    db_.checkExternalWrites();
    if (state_ == DataSetState::Insert)
        return false;
    syncIfStale();
    return !cursorHasRow();
}

int DataSet::recordCount()
{
    checkActive();
    db_.checkExternalWrites();
    syncIfStale();
    return cursorCount();
}

Bookmark DataSet::bookmark()
{
    checkActive();
    syncIfStale();
    return cursorHasRow() ? cursorRowId() : kNoBookmark;
}

void DataSet::gotoBookmark(Bookmark bm)
{
    checkActive();
    db_.checkExternalWrites();
    checkBrowseMode();
    fire(beforeScroll);
    if (bm == kNoBookmark || !cursorSeekRow(bm))
        throw EDatabaseError(QStringLiteral("%1: Record not found").arg(name_));
    eof_ = bof_ = false;
    arrive();
    fire(afterScroll);
}

bool DataSet::bookmarkValid(Bookmark bm)
{
    checkActive();
    if (bm == kNoBookmark)
        return false;
    return cursorShows(bm);
}

bool DataSet::cursorShows(Bookmark bm)
{
    for (const auto& p : cursorFieldValues(-1))
        if (p.second == bm)
            return true;
    return false;
}

bool DataSet::locate(const QStringList& fields, const QVariantList& values, LocateOptions options)
{
    checkActive();
    db_.checkExternalWrites();
    checkBrowseMode();
    if (fields.size() != values.size())
        throw EDatabaseError(QStringLiteral("%1: Locate needs one value per field").arg(name_));
    for (const QString& f : fields)
        typeOfField(f);
    fire(beforeScroll);
    if (!cursorLocate(fields, values, options))
        return false;
    eof_ = bof_ = false;
    arrive();
    fire(afterScroll);
    return true;
}

void DataSet::refresh()
{
    checkActive();
    db_.checkExternalWrites(true);
    checkBrowseMode();
    cursorResync();
    eof_ = bof_ = !cursorHasRow();
    arrive();
}

QList<QPair<QVariant, Bookmark>> DataSet::fieldValues(const QString& fieldName)
{
    checkActive();
    Field& f = fieldByName(fieldName);
    if (f.isCalculated())
        throw EDatabaseError(QStringLiteral("%1: Field '%2' is not a stored field").arg(name_, fieldName));
    syncIfStale();
    return cursorFieldValues(f.slot());
}

// ---------------------------------------------------------------- editing

bool DataSet::modifiable() const
{
    return canModify() && !db_.readOnly();
}

void DataSet::checkModifiable() const
{
    if (db_.readOnly())
        throw EDatabaseError(
            QStringLiteral("The data file is open for reading only; no change can be made"));
    if (!canModify())
        throw EDatabaseError(QStringLiteral("These records cannot be changed here"));
}

void DataSet::checkBrowseMode()
{
    checkActive();
    if (!isEditing())
        return;
    for (DataSource* s : std::as_const(sources_))
        s->requestUpdate();
    if (modified_)
        post();
    else
        cancel();
}

void DataSet::insert()
{
    checkActive();
    checkModifiable();
    checkBrowseMode();
    if (master_) {
        // A detail row without its master would be stored with empty link fields,
        // shown by no view and deleted by no cascade.
        const QVariantList mv = currentMasterValues();
        for (int i = 0; i < detailFields_.size(); ++i)
            if (i >= mv.size() || !mv[i].isValid())
                throw EDatabaseError(QStringLiteral("%1: Cannot insert a record: there is no master record to link it to "
                                                    "(%2 is empty)")
                                         .arg(name_, detailFields_[i]));
    }
    fire(beforeInsert);
    fire(beforeScroll);
    syncIfStale();
    editRow_ = cursorHasRow() ? cursorRowId() : -1;
    const int n = static_cast<int>(dataFields_.size());
    buffer_ = QVector<QVariant>(n);
    changed_ = QVector<bool>(n, false);
    for (int i = 0; i < n; ++i) {
        const FieldDef& d = dataFields_[i]->def();
        if (d.defaultValue.isValid()) {
            buffer_[i] = toFieldValue(d.type, d.defaultValue, d.name);
            changed_[i] = true;
        }
    }
    if (master_) {
        const QVariantList mv = currentMasterValues();
        for (int i = 0; i < detailFields_.size() && i < mv.size(); ++i) {
            Field& f = fieldByName(detailFields_[i]);
            buffer_[f.slot()] = toFieldValue(f.dataType(), mv[i], f.fieldName());
            changed_[f.slot()] = true;
        }
    }
    modified_ = false;
    state_ = DataSetState::Insert;
    eof_ = bof_ = false;
    try {
        fire(onNewRecord);
        computeFields();
    } catch (...) {
        state_ = DataSetState::Browse;
        buffer_.clear();
        changed_.clear();
        modified_ = false;
        eof_ = bof_ = !cursorHasRow();
        arrive();
        throw;
    }
    notifyState();
    notifyData();
    fire(afterInsert);
    fire(afterScroll);
}

void DataSet::edit()
{
    checkActive();
    db_.checkExternalWrites();
    if (isEditing())
        return;
    checkModifiable();
    if (isEmpty()) {
        insert();
        return;
    }
    fire(beforeEdit);
    syncIfStale();
    if (!cursorHasRow())
        throw EDatabaseError(QStringLiteral("There is no record to edit"));
    cursorLoadFullRow();
    const int n = static_cast<int>(dataFields_.size());
    buffer_ = QVector<QVariant>(n);
    for (int i = 0; i < n; ++i)
        buffer_[i] = cursorValue(i);
    changed_ = QVector<bool>(n, false);
    editRow_ = cursorRowId();
    modified_ = false;
    state_ = DataSetState::Edit;
    computeFields();
    notifyState();
    fire(afterEdit);
}

void DataSet::post()
{
    checkActive();
    if (!isEditing())
        return;
    for (DataSource* s : std::as_const(sources_))
        s->requestUpdate();
    fire(beforePost);
    for (Field* f : dataFields_) {
        const QString refusal = fieldValueRefusal(f->def(), buffer_[f->slot()], f->displayLabel);
        if (!refusal.isEmpty())
            throw EDatabaseError(refusal);
    }
    qint64 row = editRow_;
    if (state_ == DataSetState::Insert)
        row = cursorInsert(buffer_);
    else if (modified_)
        cursorUpdate(editRow_, buffer_, changed_);
    state_ = DataSetState::Browse;
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    if (!cursorSeekRow(row))
        cursorResync();
    eof_ = bof_ = !cursorHasRow();
    arrive();
    notifyState();
    fire(afterPost);
}

void DataSet::cancel()
{
    checkActive();
    if (!isEditing())
        return;
    fire(beforeCancel);
    state_ = DataSetState::Browse;
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    if (editRow_ < 0 || !cursorSeekRow(editRow_))
        cursorResync();
    eof_ = bof_ = !cursorHasRow();
    arrive();
    notifyState();
    fire(afterCancel);
}

void DataSet::remove()
{
    checkActive();
    checkModifiable();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (state_ == DataSetState::Browse)
        syncIfStale();
    if (!cursorHasRow())
        throw EDatabaseError(QStringLiteral("There is no record to delete"));
    const qint64 row = state_ == DataSetState::Edit ? editRow_ : cursorRowId();
    // The delete and everything its before-delete rules write (cascades, link
    // upkeep, log entries) are one transaction: an interruption leaves all or none.
    Database::Transaction tx(db_, Database::Transaction::Begin::AtFirstWrite);
    fire(beforeDelete);
    fire(beforeScroll);
    if (state_ == DataSetState::Edit) {
        state_ = DataSetState::Browse;
        buffer_.clear();
        changed_.clear();
        modified_ = false;
        notifyState();
    }
    cursorDelete(row);
    tx.commit();
    eof_ = bof_ = !cursorHasRow();
    arrive();
    fire(afterDelete);
    fire(afterScroll);
}

// ---------------------------------------------------------------- filters

void DataSet::setFilter(const QString& expression)
{
    ++shapeVersion_;
    std::shared_ptr<const FilterExpr::Node> tree;
    if (!expression.trimmed().isEmpty())
        tree = FilterExpr::parse(expression);
    filterText_ = expression;
    filterTree_ = tree;
    if (active() && filtered_) {
        checkBrowseMode();
        cursorRebuild();
        first();
    }
}

void DataSet::setFiltered(bool on)
{
    if (on == filtered_)
        return;  // the same rows: the view keeps its statements
    ++shapeVersion_;
    if (active())
        checkBrowseMode();
    filtered_ = on;
    if (active()) {
        cursorRebuild();
        first();
    }
}

void DataSet::setOnFilterRecord(FilterEvent f)
{
    ++shapeVersion_;
    onFilterRecord_ = std::move(f);
    if (active() && filtered_) {
        checkBrowseMode();
        cursorRebuild();
        first();
    }
}

bool DataSet::acceptRow()
{
    if (!filtered_ || !onFilterRecord_)
        return true;
    const DataSetState saved = state_;
    state_ = DataSetState::Filter;
    bool ok = false;
    try {
        ok = onFilterRecord_(*this);
    } catch (...) {
        state_ = saved;
        throw;
    }
    state_ = saved;
    return ok;
}

void DataSet::navigate(const std::function<bool()>& move, bool toEnd)
{
    checkActive();
    db_.checkExternalWrites();
    checkBrowseMode();
    fire(beforeScroll);
    const bool found = move();
    eof_ = toEnd || !found;
    bof_ = !found;
    if (!cursorHasRow())
        eof_ = bof_ = true;
    arrive();
    fire(afterScroll);
}
