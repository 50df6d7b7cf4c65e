#include "DataSetModel.h"

#include "DataSource.h"
#include "Database.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "Table.h"
#include "WindowSettings.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QStyle>
#include <QItemSelectionModel>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace {

bool isNumeric(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::AutoInc || t == FieldType::Float || t == FieldType::Currency;
}

QString errorText(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const EDatabaseError*>(&e))
        return db->message();
    return QString::fromUtf8(e.what());
}

// Sets a flag for the length of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

}  // namespace

// ---------------------------------------------------------------- model

DataSetModel::DataSetModel(DataSource* source, const QStringList& fieldNames, QObject* parent)
    : QAbstractTableModel(parent), source_(source), requested_(fieldNames)
{
    if (source) {
        connect(source, &DataSource::dataChanged, this, [this] { sync(); });
        connect(source, &DataSource::stateChanged, this, [this] { sync(); });
        connect(source, &DataSource::fieldChanged, this, &DataSetModel::currentFieldChanged);
        connect(source, &QObject::destroyed, this, [this] { sync(); });
    }
    FlagScope busy(syncing_);
    resetAll();
}

DataSetModel::~DataSetModel() = default;

DataSet* DataSetModel::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

Field* DataSetModel::fieldAt(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_[column] : nullptr;
}

int DataSetModel::columnOf(const QString& fieldName) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i]->fieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DataSetModel::currentRow() const
{
    return current_;
}

Bookmark DataSetModel::bookmarkAt(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_[row] : kNoBookmark;
}

int DataSetModel::rowOf(Bookmark bm) const
{
    return rowIndex_.value(bm, -1);
}

void DataSetModel::rebuildRowIndex()
{
    rowIndex_.clear();
    rowIndex_.reserve(rows_.size());
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i] != kNoBookmark)
            rowIndex_.insert(rows_[i], i);
}

void DataSetModel::resolveColumns()
{
    columns_.clear();
    keyField_.clear();
    writeCounter_ = nullptr;
    if (!dataSet_)
        return;
    if (requested_.isEmpty()) {
        for (Field* f : dataSet_->fields())
            if (f->visible)
                columns_.append(f);
    } else {
        for (const QString& name : requested_) {
            if (Field* f = dataSet_->findField(name))
                columns_.append(f);
            else
                qWarning("DataSetModel: %s has no field %s", qPrintable(dataSet_->name()), qPrintable(name));
        }
    }
    for (Field* f : dataSet_->fields())
        if (f->kind() == FieldKind::Data) {
            keyField_ = f->fieldName();
            break;
        }
    if (auto* t = dynamic_cast<Table*>(dataSet_))
        writeCounter_ = t->database().changeCounter(t->format().fileName);
}

// The order and membership of a table view's records change only through a
// write to its table, another index, or a filter; views that follow a master
// or filter records are read again on every notice.
bool DataSetModel::setsUnchanged() const
{
    if (!recordsRead_ || !dataSet_ || !dataSet_->active() || !writeCounter_)
        return false;
    auto* t = dynamic_cast<Table*>(dataSet_);
    if (!t || t->filtered() || t->masterSource())
        return false;
    return *writeCounter_ == writesSeen_ && t->indexName() + t->indexFields().join(QLatin1Char(',')) == indexSeen_;
}

void DataSetModel::noteSetSignature()
{
    recordsRead_ = true;
    writesSeen_ = writeCounter_ ? *writeCounter_ : 0;
    if (auto* t = dynamic_cast<Table*>(dataSet_))
        indexSeen_ = t->indexName() + t->indexFields().join(QLatin1Char(','));
    else
        indexSeen_.clear();
}

// Reads the shown records in order; the listing field's values come along.
QVector<Bookmark> DataSetModel::fetchRecords()
{
    QVector<Bookmark> out;
    values_.clear();
    if (!dataSet_ || !dataSet_->active() || keyField_.isEmpty())
        return out;
    try {
        const auto list = dataSet_->fieldValues(keyField_);
        out.reserve(list.size());
        QHash<Bookmark, QVariant> keyValues;
        keyValues.reserve(list.size());
        for (const auto& p : list) {
            out.append(p.second);
            keyValues.insert(p.second, p.first);
        }
        values_.insert(&dataSet_->fieldByName(keyField_), keyValues);
    } catch (const std::exception& e) {
        qWarning("DataSetModel: %s", qPrintable(errorText(e)));
        out.clear();
    }
    noteSetSignature();
    return out;
}

void DataSetModel::resetAll()
{
    beginResetModel();
    dataSet_ = dataSet();
    resolveColumns();
    values_.clear();
    records_.clear();
    rows_.clear();
    recordsRead_ = false;
    current_ = -1;
    if (dataSet_ && dataSet_->active()) {
        records_ = fetchRecords();
        rows_ = records_;
        try {
            if (dataSet_->state() == DataSetState::Insert) {
                const int pos = records_.indexOf(dataSet_->bookmark());
                rows_.insert(pos < 0 ? rows_.size() : pos, kNoBookmark);
            }
        } catch (const std::exception& e) {
            qWarning("DataSetModel: %s", qPrintable(errorText(e)));
        }
    }
    rebuildRowIndex();
    currentRecord_ = kNoBookmark;
    try {
        if (dataSet_ && dataSet_->active()) {
            if (dataSet_->state() != DataSetState::Insert)
                currentRecord_ = dataSet_->bookmark();
            current_ = dataSet_->state() == DataSetState::Insert ? rows_.indexOf(kNoBookmark) : rowOf(currentRecord_);
        }
    } catch (const std::exception& e) {
        qWarning("DataSetModel: %s", qPrintable(errorText(e)));
    }
    endResetModel();
}

void DataSetModel::reload()
{
    sync(true);
}

void DataSetModel::scheduleSync() const
{
    if (syncQueued_)
        return;
    syncQueued_ = true;
    auto* self = const_cast<DataSetModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->syncQueued_ = false;
            self->sync();
        },
        Qt::QueuedConnection);
}

// Brings the rows in line with the view. Notices that arrive while a cell is
// read are handled once control returns to the event loop; notices that
// arrive while the rows are being brought in line cause one more pass.
void DataSetModel::sync(bool force)
{
    if (reading_) {
        scheduleSync();
        return;
    }
    if (syncing_) {
        syncAgain_ = true;
        return;
    }
    const int before = current_;
    {
        FlagScope busy(syncing_);
        int passes = 0;
        do {
            syncAgain_ = false;
            syncOnce(force);
            force = false;
        } while (syncAgain_ && ++passes < 8);
    }
    if (current_ != before || current_ >= 0)
        Q_EMIT currentRowChanged(current_);
}

void DataSetModel::syncOnce(bool force)
{
    DataSet* ds = dataSet();
    if (ds != dataSet_) {
        resetAll();
        return;
    }
    const bool active = ds && ds->active();
    QVector<Bookmark> records;
    bool reread = false;
    Bookmark cur = kNoBookmark;
    bool inserting = false;
    try {
        if (active) {
            cur = ds->bookmark();
            inserting = ds->state() == DataSetState::Insert;
        }
    } catch (const std::exception& e) {
        qWarning("DataSetModel: %s", qPrintable(errorText(e)));
    }
    if (!active) {
        recordsRead_ = false;
        values_.clear();
    } else if (!force && setsUnchanged() && (cur == kNoBookmark ? records_.isEmpty() : rowIndex_.contains(cur))) {
        records = records_;
    } else {
        records = fetchRecords();
        reread = true;
    }
    QVector<Bookmark> wanted = records;
    if (inserting) {
        const int pos = cur == kNoBookmark ? -1 : records.indexOf(cur);
        wanted.insert(pos < 0 ? wanted.size() : pos, kNoBookmark);
    }
    records_ = records;
    currentRecord_ = inserting ? kNoBookmark : cur;
    const int oldCurrent = current_;
    // Compared as ranges: QList's own comparison hands a null pointer to memcmp when
    // both lists are empty (undefined, as the sanitizer reports).
    const bool moved = !std::equal(rows_.cbegin(), rows_.cend(), wanted.cbegin(), wanted.cend());
    applyRows(wanted);
    current_ = !active ? -1 : inserting ? rows_.indexOf(kNoBookmark) : rowOf(cur);
    if (rows_.isEmpty() || columns_.isEmpty())
        return;
    if (reread || moved) {
        Q_EMIT dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, static_cast<int>(columns_.size()) - 1));
    } else {
        // Only the current record moved or was read again: its old and new rows change.
        if (oldCurrent != current_)
            emitRowChanged(oldCurrent);
        emitRowChanged(current_);
    }
}

// Replaces the rows by `wanted`: the rows between the common beginning and
// the common end go, the wanted ones come in their place.
void DataSetModel::applyRows(const QVector<Bookmark>& wanted)
{
    const qsizetype oldSize = rows_.size();
    const qsizetype newSize = wanted.size();
    qsizetype head = 0;
    while (head < oldSize && head < newSize && rows_[head] == wanted[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldSize - head && tail < newSize - head && rows_[oldSize - 1 - tail] == wanted[newSize - 1 - tail])
        ++tail;
    const qsizetype gone = oldSize - head - tail;
    const qsizetype come = newSize - head - tail;
    if (gone > 0) {
        beginRemoveRows({}, static_cast<int>(head), static_cast<int>(head + gone - 1));
        rows_.remove(head, gone);
        rebuildRowIndex();
        current_ = -1;
        endRemoveRows();
    }
    if (come > 0) {
        beginInsertRows({}, static_cast<int>(head), static_cast<int>(head + come - 1));
        rows_ = rows_.mid(0, head) + wanted.mid(head, come) + rows_.mid(head);
        rebuildRowIndex();
        current_ = -1;
        endInsertRows();
    }
}

void DataSetModel::emitRowChanged(int row)
{
    if (row < 0 || row >= rows_.size() || columns_.isEmpty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, static_cast<int>(columns_.size()) - 1));
}

void DataSetModel::currentFieldChanged(Field* field)
{
    Q_UNUSED(field);
    // Calculated fields follow any change, so the whole row is shown again.
    emitRowChanged(current_);
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const QHash<Bookmark, QVariant>& DataSetModel::columnValues(Field* field) const
{
    auto it = values_.find(field);
    if (it != values_.end())
        return *it;
    QHash<Bookmark, QVariant> values;
    try {
        if (dataSet_ && dataSet_->active())
            for (const auto& p : dataSet_->fieldValues(field->fieldName()))
                values.insert(p.second, p.first);
    } catch (const std::exception& e) {
        qWarning("DataSetModel: %s", qPrintable(errorText(e)));
    }
    return *values_.insert(field, values);
}

QString DataSetModel::cellText(int row, Field* field, bool forEdit) const
{
    if (!dataSet_ || !dataSet_->active())
        return {};
    const Bookmark bm = rows_[row];
    const bool inserted = bm == kNoBookmark;
    if (inserted && dataSet_->state() != DataSetState::Insert)
        return {};
    QVariant value;
    // The current record is read live: its edit buffer and its calculated fields.
    const DataSetState state = dataSet_->state();
    const bool live = inserted || (bm == currentRecord_ && (state == DataSetState::Edit ||
                                                            (state == DataSetState::Browse && field->isCalculated())));
    if (live)
        value = field->value();
    else if (!field->isCalculated())
        value = columnValues(field).value(bm);
    if (!value.isValid())
        return {};
    if (!forEdit && !field->displayFormat.isEmpty() && isNumeric(field->dataType()))
        return formatNumber(value.toDouble(), field->displayFormat);
    return fieldValueText(field->dataType(), value);
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
        return {};
    Field* field = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        FlagScope busy(reading_);
        try {
            return cellText(index.row(), field, role == Qt::EditRole);
        } catch (const std::exception& e) {
            qWarning("DataSetModel: %s", qPrintable(errorText(e)));
            return {};
        }
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>((isNumeric(field->dataType()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columns_.size())
            return {};
        if (role == Qt::DisplayRole) {
            const Field* f = columns_[section];
            return f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel;
        }
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(
                (isNumeric(columns_[section]->dataType()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        return {};
    }
    if (section < 0 || section >= rows_.size())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[section] == kNoBookmark ? QStringLiteral("*") : QString::number(section + 1);
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    const Field* field = columns_[index.column()];
    if (!readOnly_ && !field->readOnly() && !field->isCalculated())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
        return false;
    DataSet* ds = dataSet_;
    Field* field = columns_[index.column()];
    if (!ds || readOnly_ || !ds->active() || field->readOnly() || field->isCalculated())
        return false;
    const Bookmark bm = rows_[index.row()];
    const QString text = value.toString();
    try {
        {
            FlagScope busy(reading_);
            if (text == cellText(index.row(), field, true)) {
                lastError_.clear();
                return true;
            }
        }
        if (bm == kNoBookmark) {
            if (ds->state() != DataSetState::Insert)
                return false;
        } else {
            const bool onRecord = ds->state() != DataSetState::Insert && ds->bookmark() == bm;
            if (!onRecord)
                ds->gotoBookmark(bm);
            ds->edit();
        }
        field->setAsString(text);
    } catch (const std::exception& e) {
        lastError_ = errorText(e);
        return false;
    }
    lastError_.clear();
    emitRowChanged(current_);
    return true;
}

QString DataSetModel::formatNumber(double value, const QString& format)
{
    const QString fmt = format.section(QLatin1Char(';'), 0, 0);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < fmt.size(); ++i)
        if (fmt[i] == QLatin1Char('#') || fmt[i] == QLatin1Char('0')) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return QString::number(value, 'g', 15);
    const QString prefix = fmt.left(first);
    const QString body = fmt.mid(first, last - first + 1);
    const QString suffix = fmt.mid(last + 1);
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const QString intPattern = dot < 0 ? body : body.left(dot);
    const QString fracPattern = dot < 0 ? QString() : body.mid(dot + 1);
    const qsizetype minInt = intPattern.count(QLatin1Char('0'));
    const qsizetype minFrac = fracPattern.count(QLatin1Char('0'));
    const int maxFrac = static_cast<int>(minFrac + fracPattern.count(QLatin1Char('#')));

    const QString digits = QString::number(std::abs(value), 'f', maxFrac);
    QString intPart = digits.section(QLatin1Char('.'), 0, 0);
    QString fracPart = maxFrac > 0 ? digits.section(QLatin1Char('.'), 1, 1) : QString();
    while (fracPart.size() > minFrac && fracPart.endsWith(QLatin1Char('0')))
        fracPart.chop(1);
    while (intPart.size() < minInt)
        intPart.prepend(QLatin1Char('0'));
    if (intPattern.contains(QLatin1Char(',')))
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, QLatin1Char(','));
    const auto nonZero = [](const QString& s) {
        for (QChar c : s)
            if (c.isDigit() && c != QLatin1Char('0'))
                return true;
        return false;
    };
    const bool negative = value < 0 && (nonZero(intPart) || nonZero(fracPart));
    QString out = negative ? QStringLiteral("-") : QString();
    out += prefix + intPart;
    if (!fracPart.isEmpty())
        out += QLatin1Char('.') + fracPart;
    return out + suffix;
}

// ---------------------------------------------------------------- grid

// The grid's cell editor: remembers the open editor so that its text can be
// written into the field when the view asks before a post.
class DBGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!grid_->beginCellEdit(index))
            return nullptr;
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor_ = editor;
        index_ = index;
        return editor;
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == editor_)
            editor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }
    // Writes the open editor's text when it edits the current record.
    void writeOpenEditor(DataSetModel* model)
    {
        if (writing_ || !editor_ || !index_.isValid() || index_.row() != model->currentRow())
            return;
        FlagScope busy(writing_);
        setModelData(editor_, model, index_);
    }

private:
    DBGrid* grid_;
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex index_;
    bool writing_ = false;
};

DBGrid::DBGrid(DataSource* source, const QStringList& fieldNames, QWidget* parent)
    : QTableView(parent), model_(new DataSetModel(source, fieldNames, this)), delegate_(new Delegate(this))
{
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    sizeColumns();
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::sizeColumns);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &DBGrid::sizeColumns);  // other rows, other widths
    // Only widths the user drags are kept, not those the layout or the last column's stretch give.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (sizing_ || settingsClass_.isEmpty() || objectName().isEmpty() ||
            !(QGuiApplication::mouseButtons() & Qt::LeftButton))
            return;
        QVariantList widths;
        for (int c = 0; c < model_->columnCount(); ++c)
            widths << columnWidth(c);
        WindowSettings::setValue(settingsClass_, objectName() + QStringLiteral(".ColumnWidths"), widths);
    });
    connect(model_, &DataSetModel::currentRowChanged, this, &DBGrid::selectCurrentRecord);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { userMovedTo(current); });
    if (source)
        connect(source, &DataSource::updateData, this, &DBGrid::writePendingEdit);
    selectCurrentRecord();
}

DBGrid::~DBGrid() = default;

void DBGrid::sizeColumns()
{
    FlagScope busy(sizing_);
    const int charWidth = fontMetrics().averageCharWidth();
    const int widest = 64 * charWidth;  // a long text column leaves room for the others
    const int columns = model_->columnCount();
    // A stretched last column is as wide as the room left; what it needs is its own width.
    const auto stretched = [&](int c) { return c == columns - 1 && horizontalHeader()->stretchLastSection(); };
    QVector<int> want(columns, 0);
    for (int c = 0; c < columns; ++c) {
        if (const Field* f = model_->fieldAt(c); f && f->displayWidth > 0) {
            want[c] = f->displayWidth * charWidth + 8;
            setColumnWidth(c, want[c]);
            continue;
        }
        const int title = horizontalHeader()->fontMetrics().horizontalAdvance(
                              model_->headerData(c, Qt::Horizontal).toString()) + 20;
        if (model_->rowCount() == 0 && columnWidth(c) > title) {
            want[c] = stretched(c) ? title : columnWidth(c);  // nothing to measure yet: the width stays
            continue;
        }
        int contents = 0;
        for (int r = 0; r < std::min(model_->rowCount(), 200); ++r)
            contents = std::max(contents, fontMetrics().horizontalAdvance(model_->index(r, c).data().toString()) + 12);
        want[c] = std::max(title, std::min(contents, widest));
        setColumnWidth(c, want[c]);
    }
    if (!settingsClass_.isEmpty() && !objectName().isEmpty()) {
        const QVariantList saved =
            WindowSettings::value(settingsClass_, objectName() + QStringLiteral(".ColumnWidths")).toList();
        if (saved.size() == columns)
            for (int c = 0; c < columns; ++c)
                if (saved[c].toInt() > 0 && !stretched(c)) {
                    want[c] = saved[c].toInt();
                    setColumnWidth(c, want[c]);
                }
    }
    // The grid is never narrower than its columns: none is out of sight to the right.
    int total = 2 * frameWidth() + (verticalHeader()->isHidden() ? 0 : verticalHeader()->sizeHint().width()) +
                style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    for (int c = 0; c < columns; ++c)
        total += horizontalHeader()->isSectionHidden(c) ? 0 : want[c];
    setMinimumWidth(total);
}

void DBGrid::keepColumnWidths(const QString& windowClass)
{
    settingsClass_ = windowClass;
    sizeColumns();
}

void DBGrid::setReadOnly(bool on)
{
    model_->setReadOnly(on);
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers : QAbstractItemView::DoubleClicked |
                                                                  QAbstractItemView::EditKeyPressed |
                                                                  QAbstractItemView::AnyKeyPressed);
}

void DBGrid::selectCurrentRecord()
{
    const int row = model_->currentRow();
    FlagScope busy(following_);
    if (row < 0 || model_->columnCount() == 0) {
        selectionModel()->clearSelection();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = model_->index(row, column);
    if (selectionModel()->currentIndex() != target || !selectionModel()->isRowSelected(row, {}))
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

void DBGrid::userMovedTo(const QModelIndex& current)
{
    if (following_ || model_->updating() || !current.isValid() || current.row() == model_->currentRow())
        return;
    DataSet* ds = model_->dataSet();
    const Bookmark bm = model_->bookmarkAt(current.row());
    if (!ds || !ds->active() || bm == kNoBookmark) {
        selectCurrentRecord();
        return;
    }
    try {
        ds->gotoBookmark(bm);
    } catch (const std::exception& e) {
        if (dialogs_)
            dialogs_->showException(e);
    }
    selectCurrentRecord();
}

// The record of the cell about to be edited becomes the current one and goes into edit.
bool DBGrid::beginCellEdit(const QModelIndex& index)
{
    DataSet* ds = model_->dataSet();
    if (!ds || !ds->active() || !index.isValid())
        return false;
    const Bookmark bm = model_->bookmarkAt(index.row());
    try {
        if (bm == kNoBookmark)
            return ds->state() == DataSetState::Insert;
        if (ds->state() == DataSetState::Insert || ds->bookmark() != bm)
            ds->gotoBookmark(bm);
        ds->edit();
        return true;
    } catch (const std::exception& e) {
        if (dialogs_)
            dialogs_->showException(e);
        selectCurrentRecord();
        return false;
    }
}

void DBGrid::writePendingEdit()
{
    delegate_->writeOpenEditor(model_);
}
