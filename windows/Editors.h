#pragma once
// The editors of the reference tables: the equipment-cost handbook, the labor
// rates, the efficiency factors and the fee schedules.
#include "ReferenceEditor.h"

#include <memory>

class DataSet;
class Table;
class TableRules;
class TTarvaneDataForm;

class TEquipCostForm : public ReferenceEditor {
    Q_OBJECT
public:
    TEquipCostForm(TTarvaneDataForm& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TEquipCostForm() override;

protected:
    bool canClose() override;

private:
    TTarvaneDataForm& dm_;
    TableRules& rules_;
};

class TLaborForm : public ReferenceEditor {
    Q_OBJECT
public:
    TLaborForm(TTarvaneDataForm& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TLaborForm() override;

protected:
    bool canClose() override;

private:
    TTarvaneDataForm& dm_;
    TableRules& rules_;
};

class TEffFactorForm : public ReferenceEditor {
    Q_OBJECT
public:
    TEffFactorForm(TTarvaneDataForm& dm, Dialogs& dialogs, QWidget* parent = nullptr);

protected:
    bool canClose() override;

private:
    TTarvaneDataForm& dm_;
};

class TFeeForm : public ReferenceEditor {
    Q_OBJECT
public:
    TFeeForm(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFeeForm() override;
    // The opener hands it the fee table and the title it shows once opened.
    void setTable(Table& table, const QString& title);

protected:
    bool canClose() override;
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<DataSource> source_;
    Table* table_ = nullptr;
    QString title_;
};

// Greys the grids and navigators of the other two levels while one level of a
// three-level table is edited or inserted.
