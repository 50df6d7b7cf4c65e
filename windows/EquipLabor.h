#pragma once
// TEquipLaborForm, "Equipment and Labor Calculations:": the equipment rows of
// one worksheet row, added by kind from the side bar and filled, changed and
// viewed through the cost wizard.
#include "EquipCalc.h"

#include <functional>
#include <QDialog>
#include <memory>

class ActivationSetUp;
class Computation;
class DataSource;
class DBEdit;
class Dialogs;
class QLabel;
class SideBar;
class TEquipWiz1Form;
class TTarvaneDataForm;
class ToolWindows;

class TEquipLaborForm : public QDialog, public EquipListBinding {
    Q_OBJECT
public:
    TEquipLaborForm(TTarvaneDataForm& dm, Computation& computation, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TEquipLaborForm() override;

    // Shows the about box over the list ("&Help", "&About").
    std::function<void(QWidget*)> showAbout;
    // Published properties, set before the window is shown.
    void setDataSet(DataSet* ds) override;
    DataSet* dataSet() override { return dataSet_; }
    QString NameActivity;
    QString SetCostType;
    int SetSheetID = 0;

    TEquipWiz1Form& wizard() const { return *wizard_; }
    // The side tools its menus show and that it closes and shows again around the wizard.
    void setTools(ToolWindows* tools);
    ToolWindows* tools() const { return tools_; }
    QString factorStatus() const;

    // The window's actions, as the user starts them.
    void AddEquipment(int kind);
    void EditLaborBtnClick();
    void ViewWorksheetBtnClick();
    void DeleteBtnClick();
    // The set-up each activation runs (not the activation a closing message box gives back).
    void FormActivate();

protected:
    bool event(QEvent* e) override;

private:
    void handOver(int kind, int mode, bool sideWindowsClosed = false);
    void setFactorStatus();
    void setEditableState();

    TTarvaneDataForm& dm_;
    Computation& comp_;
    Dialogs& dialogs_;
    DataSet* dataSet_ = nullptr;
    std::unique_ptr<DataSource> source_;
    std::unique_ptr<TEquipWiz1Form> wizard_;
    QLabel* activity_;
    QLabel* status_;
    QList<DBEdit*> editable_;
    std::unique_ptr<ActivationSetUp> activation_;
    ToolWindows* tools_ = nullptr;
    bool opening_ = true;
};
