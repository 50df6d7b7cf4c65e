#pragma once
// The editors of the reference tables: the equipment-cost handbook, the labor
// rates, the efficiency factors and the fee schedules.
#include "ReferenceEditor.h"

#include <memory>

class DataSet;
class Table;
class TableRules;
class DataModule;

class EquipmentCostEditor : public ReferenceEditor {
    Q_OBJECT
public:
    EquipmentCostEditor(DataModule& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent = nullptr);
    ~EquipmentCostEditor() override;

protected:
    bool canClose() override;

private:
    DataModule& dm_;
    TableRules& rules_;
};

class LaborRatesEditor : public ReferenceEditor {
    Q_OBJECT
public:
    LaborRatesEditor(DataModule& dm, TableRules& rules, Dialogs& dialogs, QWidget* parent = nullptr);
    ~LaborRatesEditor() override;

protected:
    bool canClose() override;

private:
    DataModule& dm_;
    TableRules& rules_;
};

class EfficiencyFactorEditor : public ReferenceEditor {
    Q_OBJECT
public:
    EfficiencyFactorEditor(DataModule& dm, Dialogs& dialogs, QWidget* parent = nullptr);

protected:
    bool canClose() override;

private:
    DataModule& dm_;
};

class FeeTableEditor : public ReferenceEditor {
    Q_OBJECT
public:
    FeeTableEditor(Dialogs& dialogs, QWidget* parent = nullptr);
    ~FeeTableEditor() override;
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
