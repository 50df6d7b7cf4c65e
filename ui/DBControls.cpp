#include "DBControls.h"

#include "DataSet.h"
#include "DataSource.h"
#include "EDatabaseError.h"
#include "Table.h"

#include <QDate>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {

bool isNumeric(const Field* f)
{
    switch (f->dataType()) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Float:
    case FieldType::Currency:
        return true;
    default:
        return false;
    }
}

}  // namespace

FieldBinding::FieldBinding(QWidget* control, DataSource* source, QString fieldName, std::function<void()> refresh,
                           std::function<void()> commit)
    : QObject(control), source_(source), fieldName_(std::move(fieldName)), refresh_(std::move(refresh)),
      commit_(std::move(commit))
{
    connect(source_, &DataSource::dataChanged, this, [this] {
        if (starting)
            return;
        dirty = false;
        refresh_();
    });
    connect(source_, &DataSource::stateChanged, this, [this] {
        if (starting)
            return;
        if (!source_->dataSet() || !source_->dataSet()->isEditing())
            dirty = false;
        refresh_();
    });
    // A change of any field may change this one (calculated fields follow every change).
    connect(source_, &DataSource::fieldChanged, this, [this](Field*) {
        if (!dirty && !starting)
            refresh_();
    });
    connect(source_, &DataSource::updateData, this, [this] { commit_(); });
}

Field* FieldBinding::field() const
{
    DataSet* ds = source_->dataSet();
    return ds && ds->active() ? ds->findField(fieldName_) : nullptr;
}

bool FieldBinding::canEdit() const
{
    const Field* f = field();
    return f && !f->readOnly() && !f->isCalculated() && source_->dataSet()->modifiable();
}

void FieldBinding::beginEdit()
{
    if (refreshing)
        return;
    DataSet* ds = source_->dataSet();
    if (ds && ds->active() && !ds->isEditing()) {
        starting = true;
        try {
            ds->edit();
        } catch (...) {
            starting = false;
            throw;
        }
        starting = false;
    }
    dirty = true;
}

// ---------------------------------------------------------------- DBEdit

DBEdit::DBEdit(DataSource* source, const QString& field, const QString& picture, QWidget* parent)
    : QLineEdit(parent), picture_(picture)
{
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [this] { commit(); });
    if (!picture_.isEmpty())
        setValidator(picture_.validator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { binding_->beginEdit(); });
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(); });
    refresh();
}

void DBEdit::setDisplayOnly(bool on)
{
    displayOnly_ = on;
    refresh();
}

void DBEdit::refresh()
{
    const Field* f = binding_->field();
    binding_->refreshing = true;
    if (!f || f->isNull())
        setText(QString());
    else if (!picture_.isEmpty() && isNumeric(f))
        setText(picture_.format(f->asFloat()));
    else
        setText(f->asString());
    binding_->refreshing = false;
    binding_->dirty = false;
    const bool readOnly = displayOnly_ || !binding_->canEdit();
    setReadOnly(readOnly);
    setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
    setBackgroundRole(readOnly ? QPalette::Window : QPalette::Base);
    QPalette p = palette();
    p.setColor(QPalette::Base, readOnly ? p.color(QPalette::Window) : QPalette().color(QPalette::Base));
    setPalette(p);
    if (f) {
        setAlignment(isNumeric(f) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
        if (f->dataType() == FieldType::String && f->size() > 0)
            setMaxLength(f->size());
    }
}

void DBEdit::commit()
{
    if (!binding_->dirty)
        return;
    Field* f = binding_->field();
    if (!f)
        return;
    binding_->dirty = false;
    const QString t = text().trimmed();
    double v = 0;
    if (!picture_.isEmpty() && isNumeric(f) && !t.isEmpty()) {
        if (!picture_.parse(t, &v)) {
            binding_->dirty = true;
            throw EDatabaseError(QStringLiteral("'%1' is not a valid value for field '%2'").arg(t, f->fieldName()));
        }
        if (v < minimum_) {
            binding_->dirty = true;
            throw EDatabaseError(QStringLiteral("%1 must be at least %2").arg(f->fieldName()).arg(minimum_));
        }
        f->setAsFloat(v);
    } else {
        f->setAsString(t);
    }
}

void DBEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    commit();
}

// ---------------------------------------------------------------- DBDateEdit

DBDateEdit::DBDateEdit(DataSource* source, const QString& field, QWidget* parent) : QLineEdit(parent)
{
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [this] { commit(); });
    setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    connect(this, &QLineEdit::textEdited, this, [this] { binding_->beginEdit(); });
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(); });
    refresh();
}

QDate DBDateEdit::readDate(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    QDate d;
    if (t == QLatin1String("/")) {
        d = QDate::currentDate();
    } else {
        const QStringList parts = t.split(QLatin1Char('/'));
        if (parts.size() >= 2 && parts.size() <= 3 && !parts[0].isEmpty() && !parts[1].isEmpty()) {
            int year = QDate::currentDate().year();
            if (parts.size() == 3 && !parts[2].isEmpty()) {
                year = parts[2].toInt();
                if (parts[2].size() <= 2)
                    year += year < 50 ? 2000 : 1900;
            }
            d = QDate(year, parts[0].toInt(), parts[1].toInt());
        }
    }
    if (ok)
        *ok = d.isValid();
    return d;
}

void DBDateEdit::refresh()
{
    const Field* f = binding_->field();
    binding_->refreshing = true;
    setText(f && !f->isNull() ? f->asDate().toString(QStringLiteral("MM/dd/yyyy")) : QString());
    binding_->refreshing = false;
    binding_->dirty = false;
    setReadOnly(!binding_->canEdit());
}

void DBDateEdit::commit()
{
    if (!binding_->dirty)
        return;
    Field* f = binding_->field();
    if (!f)
        return;
    binding_->dirty = false;
    if (text().trimmed().isEmpty()) {
        f->clear();
        return;
    }
    bool ok = false;
    const QDate d = readDate(text(), &ok);
    if (!ok) {
        binding_->dirty = true;
        throw EDatabaseError(QStringLiteral("'%1' is not a valid date for field '%2': enter month/day[/year], or / for today")
                                 .arg(text(), f->fieldName()));
    }
    f->setAsDate(d);
    refresh();
}

void DBDateEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    commit();
}

// ---------------------------------------------------------------- DBMemo

DBMemo::DBMemo(DataSource* source, const QString& field, QWidget* parent) : QPlainTextEdit(parent)
{
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [this] { commit(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] { binding_->beginEdit(); });
    refresh();
}

void DBMemo::refresh()
{
    const Field* f = binding_->field();
    binding_->refreshing = true;
    setPlainText(f ? f->asString() : QString());
    binding_->refreshing = false;
    binding_->dirty = false;
    setReadOnly(!binding_->canEdit());
}

void DBMemo::commit()
{
    if (!binding_->dirty)
        return;
    if (Field* f = binding_->field()) {
        binding_->dirty = false;
        f->setAsString(toPlainText());
    }
}

void DBMemo::focusOutEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusOutEvent(e);
    commit();
}

// ---------------------------------------------------------------- DBCheckBox

DBCheckBox::DBCheckBox(const QString& caption, DataSource* source, const QString& field, QWidget* parent)
    : QCheckBox(caption, parent)
{
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [] {});
    connect(this, &QCheckBox::clicked, this, [this](bool on) {
        binding_->beginEdit();
        binding_->dirty = false;
        if (Field* f = binding_->field())
            f->setAsBoolean(on);
    });
    refresh();
}

void DBCheckBox::refresh()
{
    const Field* f = binding_->field();
    const QSignalBlocker block(this);
    setChecked(f && f->asBoolean());
    setEnabled(binding_->canEdit());
}

// ---------------------------------------------------------------- DBRadioGroup

DBRadioGroup::DBRadioGroup(const QString& caption, const QStringList& items, const QVariantList& values,
                           DataSource* source, const QString& field, QWidget* parent)
    : QGroupBox(caption, parent), values_(values)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto* layout = new QHBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1Item%2").arg(field).arg(i));
        buttons_ << b;
        layout->addWidget(b);
        connect(b, &QRadioButton::clicked, this, [this, i] { choose(i); });
    }
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [] {});
    refresh();
}

void DBRadioGroup::choose(int index)
{
    if (index < 0 || index >= values_.size())
        return;
    binding_->beginEdit();
    binding_->dirty = false;
    if (Field* f = binding_->field())
        f->setValue(values_[index]);
    refresh();
}

int DBRadioGroup::itemIndex() const
{
    const Field* f = binding_->field();
    if (!f)
        return -1;
    if (f->isNull())
        return emptyChoice_;
    const QVariant v = f->value();
    for (int i = 0; i < values_.size(); ++i)
        if (QVariant::compare(values_[i], v) == QPartialOrdering::Equivalent)
            return i;
    return -1;
}

void DBRadioGroup::setEmptyChoice(int index)
{
    emptyChoice_ = index >= 0 && index < values_.size() ? index : -1;
    refresh();
}

void DBRadioGroup::refresh()
{
    const int index = itemIndex();
    for (int i = 0; i < buttons_.size(); ++i) {
        const QSignalBlocker block(buttons_[i]);
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(i == index);
        buttons_[i]->setAutoExclusive(true);
        buttons_[i]->setEnabled(binding_->canEdit());
    }
    Q_EMIT changed(index);
}

// ---------------------------------------------------------------- DBLookupCombo

DBLookupCombo::DBLookupCombo(DataSource* source, const QString& field, DataSet* list, const QString& keyField,
                             const QString& listField, QWidget* parent)
    : QComboBox(parent), list_(list), keyField_(keyField), listField_(listField)
{
    binding_ = new FieldBinding(this, source, field, [this] { refresh(); }, [] {});
    connect(this, &QComboBox::activated, this, [this](int i) {
        if (i < 0 || i >= keys_.size())
            return;
        binding_->beginEdit();
        binding_->dirty = false;
        if (Field* f = binding_->field())
            f->setValue(keys_[i]);
    });
    reload();
}

void DBLookupCombo::reload()
{
    const QSignalBlocker block(this);
    clear();
    keys_.clear();
    if (list_ && list_->active()) {
        const auto keys = list_->fieldValues(keyField_);
        const auto texts = list_->fieldValues(listField_);
        for (int i = 0; i < keys.size() && i < texts.size(); ++i) {
            keys_ << keys[i].first;
            addItem(texts[i].first.toString());
        }
    }
    refresh();
}

void DBLookupCombo::refresh()
{
    const Field* f = binding_->field();
    const QSignalBlocker block(this);
    int index = -1;
    if (f && !f->isNull())
        for (int i = 0; i < keys_.size(); ++i)
            if (QVariant::compare(keys_[i], f->value()) == QPartialOrdering::Equivalent)
                index = i;
    setCurrentIndex(index);
    setEnabled(binding_->canEdit());
}

// ---------------------------------------------------------------- DBPickList

DBPickList::DBPickList(DataSource* source, const QString& field, QWidget* parent)
    : QListWidget(parent), source_(source), field_(field)
{
    connect(source_, &DataSource::dataChanged, this, [this] { reload(); });
    connect(source_, &DataSource::stateChanged, this, [this] { reload(); });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        DataSet* ds = source_->dataSet();
        if (!ds || !ds->active() || !item)
            return;
        moving_ = true;
        try {
            ds->gotoBookmark(item->data(Qt::UserRole).toLongLong());
        } catch (...) {
            moving_ = false;
            throw;
        }
        moving_ = false;
        reload();
    });
    reload();
}

void DBPickList::reload()
{
    if (moving_)
        return;
    DataSet* ds = source_->dataSet();
    const QSignalBlocker block(this);
    clear();
    if (!ds || !ds->active() || ds->state() == DataSetState::Insert)
        return;
    const Bookmark current = ds->isEmpty() ? kNoBookmark : ds->bookmark();
    for (const auto& [value, mark] : ds->fieldValues(field_)) {
        auto* item = new QListWidgetItem(value.toString(), this);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(mark));
        if (mark == current)
            setCurrentItem(item);
    }
}

// ---------------------------------------------------------------- IndexSearch

IndexSearch::IndexSearch(Table& table, QWidget* parent) : QWidget(parent), table_(table)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("IndexChooser"));
    for (const IndexDef& ix : table.format().indexes)
        chooser_->addItem(ix.name);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("SearchText"));
    layout->addWidget(chooser_);
    layout->addWidget(text_, 1);
    connect(text_, &QLineEdit::textEdited, this, [this] { search(); });
    connect(chooser_, &QComboBox::activated, this, [this] { search(); });
}

void IndexSearch::search()
{
    if (!table_.active() || chooser_->currentIndex() < 0)
        return;
    if (table_.indexName() != chooser_->currentText())
        table_.setIndexName(chooser_->currentText());
    if (!text_->text().isEmpty())
        table_.findNearest({text_->text()});
}
