#pragma once
// EquipmentListWindow, "Equipment and Labor Calculations:": the equipment rows of
// one worksheet row, added by kind from the side bar and filled, changed and
// viewed through the cost wizard.
#include "EquipmentHours.h"

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
class CostWizard;
class DataModule;
class ToolWindows;

class EquipmentListWindow : public QDialog, public EquipListBinding {
    Q_OBJECT
public:
    EquipmentListWindow(DataModule& dm, Computation& computation, Dialogs& dialogs, QWidget* parent = nullptr);
    ~EquipmentListWindow() override;

    // Shows the about box over the list ("&Help", "&About").
    std::function<void(QWidget*)> showAbout;
    // Published properties, set before the window is shown.
    void setDataSet(DataSet* ds) override;
    DataSet* dataSet() override { return dataSet_; }
    QString NameActivity;
    QString SetCostType;
    int SetSheetID = 0;

    CostWizard& wizard() const { return *wizard_; }
    // The side tools its menus show and that it closes and shows again around the wizard.
    void setTools(ToolWindows* tools);
    ToolWindows* tools() const { return tools_; }
    QString factorStatus() const;

    // The window's actions, as the user starts them.
    void AddEquipment(int kind);
    void EditLaborBtnClick();
    void ViewWorksheetBtnClick();
    void DeleteBtnClick();
    // Right-click "Explain this amount..." on the total cost or hours: the tree of the machine's cost.
    void explainMachine();
    class ExplanationWindow* explanationWindow() const { return explanation_; }
    // The set-up each activation runs (not the activation a closing message box gives back).
    void FormActivate();

protected:
    bool event(QEvent* e) override;

private:
    void handOver(int kind, int mode, bool sideWindowsClosed = false);
    void setFactorStatus();
    void setEditableState();

    DataModule& dm_;
    Computation& comp_;
    Dialogs& dialogs_;
    DataSet* dataSet_ = nullptr;
    std::unique_ptr<DataSource> source_;
    std::unique_ptr<CostWizard> wizard_;
    QLabel* activity_;
    QLabel* status_;
    QList<DBEdit*> editable_;
    std::unique_ptr<ActivationSetUp> activation_;
    ToolWindows* tools_ = nullptr;
    bool opening_ = true;
    class ExplanationWindow* explanation_ = nullptr;
};
