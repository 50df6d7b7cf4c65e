#include "DBControls.h"

#include "PictureValidator.h"

#include "DataSet.h"
#include "DataSource.h"
#include "EDatabaseError.h"
#include "Table.h"

#include <QDate>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <QHash>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
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
        if (!caption_.isEmpty() && source_->dataSet() != captioned_)
            applyCaption();  // the caption names the field of a data set bound or opened later, too
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

void FieldBinding::setCaption(const QString& caption)
{
    caption_ = caption;
    applyCaption();
}

void FieldBinding::applyCaption()
{
    Field* f = field();
    captioned_ = f ? source_->dataSet() : nullptr;
    if (f && !caption_.isEmpty())
        f->displayLabel = caption_;
}

QString FieldBinding::label() const
{
    if (!caption_.isEmpty())
        return caption_;
    const Field* f = field();
    return f ? f->displayLabel : fieldName_;
}

void FieldBinding::beginEdit()
{
    if (refreshing)
        return;
    applyCaption();
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
        setValidator(pictureValidator(picture_, this));
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
            throw EDatabaseError(QStringLiteral("'%1' is not a valid value for field '%2'").arg(t, binding_->label()));
        }
        if (v < minimum_) {
            binding_->dirty = true;
            throw EDatabaseError(QStringLiteral("%1 must be at least %2").arg(binding_->label()).arg(minimum_));
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
    setToolTip(QStringLiteral("Month/day/year, as 7/1/2024, 07-01-24 or 07012024; month/day alone is this year; / alone is today"));
    connect(this, &QLineEdit::textChanged, this, [this] { update(); });
    connect(this, &QLineEdit::textEdited, this, [this] { binding_->beginEdit(); });
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(); });
    refresh();
}

namespace {

// A two-digit year is of this century below 50, else of the last.
int fullYear(const QString& digits)
{
    int year = digits.toInt();
    if (digits.size() <= 2)
        year += year < 50 ? 2000 : 1900;
    return year;
}

// The month, day and year parts of a typed date: split at "/", "-", "." or blanks, or,
// for digits alone, taken two, two and the rest ("0701", "070124", "07012024").
QStringList dateParts(const QString& t)
{
    static const QRegularExpression separators(QStringLiteral("[/\\-. ]+"));
    QStringList parts = t.split(separators);
    if (parts.size() == 1 && !t.isEmpty()) {
        const QString d = parts[0];  // a copy: `parts` is assigned anew below
        if (d.size() != 4 && d.size() != 6 && d.size() != 8)
            return {};
        parts = {d.left(2), d.mid(2, 2)};
        if (d.size() > 4)
            parts << d.mid(4);
    }
    return parts;
}

}  // namespace

QDate DBDateEdit::readDate(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    QDate d;
    if (t == QLatin1String("/")) {
        d = QDate::currentDate();
    } else {
        static const QRegularExpression shape(QStringLiteral("^[0-9/\\-. ]+$"));
        QStringList parts = shape.match(t).hasMatch() ? dateParts(t) : QStringList();
        if (parts.size() == 3 && parts[2].isEmpty())
            parts.removeLast();  // "7/1/" : this year
        const bool digits = std::all_of(parts.begin(), parts.end(), [](const QString& p) {
            return !p.isEmpty() && p.size() <= 4 && std::all_of(p.begin(), p.end(), [](QChar c) { return c.isDigit(); });
        });
        if (digits && parts.size() >= 2 && parts.size() <= 3 && parts[0].size() <= 2 && parts[1].size() <= 2 &&
            (parts.size() == 2 || parts[2].size() == 2 || parts[2].size() == 4)) {
            const int year = parts.size() == 3 ? fullYear(parts[2]) : QDate::currentDate().year();
            d = QDate(year, parts[0].toInt(), parts[1].toInt());
        }
    }
    if (ok)
        *ok = d.isValid();
    return d;
}

QString DBDateEdit::maskRest(const QString& typed)
{
    static const QStringList mask = {QStringLiteral("MM"), QStringLiteral("DD"), QStringLiteral("YYYY")};
    const QString t = typed.trimmed();
    if (t.isEmpty() || t == QLatin1String("/"))
        return {};
    static const QRegularExpression separators(QStringLiteral("[/\\-. ]"));
    QStringList parts = t.split(separators);
    if (parts.size() == 1) {
        // Digits alone fill the mask two, two and four.
        const qsizetype n = t.size();
        const QString full = QStringLiteral("MM/DD/YYYY");
        const qsizetype at = n <= 2 ? n : n <= 4 ? n + 1 : n + 2;
        return at < full.size() ? full.mid(at) : QString();
    }
    if (parts.size() > 3)
        return {};
    const qsizetype i = parts.size() - 1;
    QString rest = parts[i].size() < mask[i].size() ? mask[i].mid(parts[i].size()) : QString();
    for (qsizetype j = i + 1; j < 3; ++j)
        rest += QLatin1Char('/') + mask[j];
    return rest;
}

void DBDateEdit::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (!hasFocus() || isReadOnly())
        return;
    const QString rest = maskRest(text());
    if (rest.isEmpty())
        return;
    // What is still to type, in grey after the text: "7/1" shows "7/1" then "/YYYY".
    QPainter p(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int x = r.left() + 2 + fontMetrics().horizontalAdvance(text()) + 1;
    QColor grey = palette().color(QPalette::PlaceholderText);
    p.setPen(grey);
    p.drawText(QRect(x, r.top(), r.right() - x, r.height()), Qt::AlignLeft | Qt::AlignVCenter, rest);
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
        throw EDatabaseError(QStringLiteral("'%1' is not a valid date for field '%2': enter month/day/year as 7/1/2024 or 07012024, or / for today")
                                 .arg(text(), binding_->label()));
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
    // A long entry wraps onto a second line instead of running out of sight.
    setWordWrap(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(source_, &DataSource::dataChanged, this, [this] { reload(); });
    connect(source_, &DataSource::stateChanged, this, [this] { reload(); });
    // A click, or the arrow keys and type-ahead, move the view to the entry's record, so
    // the highlighted entry is always the record the window shows. A refused move (a post
    // that fails) shows its message and leaves the highlight on the record that stays.
    const auto moveTo = [this](Bookmark mark) {
        DataSet* ds = source_->dataSet();
        if (!ds || !ds->active() || moving_)
            return;
        if (!ds->isEmpty() && ds->bookmark() == mark)
            return;
        moving_ = true;
        try {
            ds->gotoBookmark(mark);
        } catch (...) {
            moving_ = false;
            reload();
            throw;
        }
        moving_ = false;
        reload();
    };
    connect(this, &QListWidget::itemClicked, this, [moveTo](QListWidgetItem* item) {
        if (item)
            moveTo(item->data(Qt::UserRole).toLongLong());
    });
    // The keys change the entry inside the list's own handling: the move waits until it returns,
    // because moving rebuilds the list.
    connect(this, &QListWidget::currentItemChanged, this, [this, moveTo](QListWidgetItem* current) {
        if (!current)
            return;
        const Bookmark mark = current->data(Qt::UserRole).toLongLong();
        QMetaObject::invokeMethod(this, [moveTo, mark] { moveTo(mark); }, Qt::QueuedConnection);
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
    QList<QHash<Bookmark, QVariant>> more;
    if (text_)
        for (const QString& name : moreFields_) {
            QHash<Bookmark, QVariant> values;
            for (const auto& [value, mark] : ds->fieldValues(name))
                values.insert(mark, value);
            more << values;
        }
    for (const auto& [value, mark] : ds->fieldValues(field_)) {
        QString shown = value.toString();
        if (text_) {
            QVariantList values{value};
            for (const auto& m : more)
                values << m.value(mark);
            shown = text_(values);
        }
        auto* item = new QListWidgetItem(shown, this);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(mark));
        if (mark == current)
            setCurrentItem(item);
    }
}

void DBPickList::setItemText(const QStringList& moreFields, std::function<QString(const QVariantList&)> text)
{
    moreFields_ = moreFields;
    text_ = std::move(text);
    reload();
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

// ---------------------------------------------------------------- captions

QString fieldCaption(const QString& labelText)
{
    QString t = labelText;
    t.remove(QLatin1Char('&'));
    t = t.simplified();
    while (t.endsWith(QLatin1Char(':')) || t.endsWith(QLatin1Char('=')))
        t = t.chopped(1).trimmed();
    for (const QString& sign : {QStringLiteral("X "), QStringLiteral("= ")})
        if (t.startsWith(sign))
            t = t.mid(sign.size()).trimmed();
    return t;
}

namespace {

FieldBinding* bindingOf(QWidget* w)
{
    return w ? w->findChild<FieldBinding*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace

void captionBoundControls(QWidget* root)
{
    for (QFormLayout* form : root->findChildren<QFormLayout*>()) {
        for (int r = 0; r < form->rowCount(); ++r) {
            QLayoutItem* labelItem = form->itemAt(r, QFormLayout::LabelRole);
            QLayoutItem* fieldItem = form->itemAt(r, QFormLayout::FieldRole);
            auto* label = labelItem ? qobject_cast<QLabel*>(labelItem->widget()) : nullptr;
            FieldBinding* b = fieldItem ? bindingOf(fieldItem->widget()) : nullptr;
            if (label && b && !fieldCaption(label->text()).isEmpty())
                b->setCaption(fieldCaption(label->text()));
        }
    }
    for (DBRadioGroup* g : root->findChildren<DBRadioGroup*>())
        if (FieldBinding* b = bindingOf(g); b && b->caption().isEmpty())
            b->setCaption(fieldCaption(g->title()));
    for (DBCheckBox* c : root->findChildren<DBCheckBox*>())
        if (FieldBinding* b = bindingOf(c); b && b->caption().isEmpty())
            b->setCaption(fieldCaption(c->text()));
}
