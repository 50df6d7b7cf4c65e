#pragma once
// The truck calculator window: the inputs of a load-and-haul operation in
// numbered steps, the costs picked in the labor-rate and equipment-cost
// editors, and the total cost for the entered number of trucks beside the
// cheapest number, with the cost curve under them. Made once and shown modally;
// it writes to no table.
#include "TruckCalculation.h"

#include <QDialog>
#include <functional>

class Dialogs;
class PictureEdit;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class TableRules;
class TruckCostChart;
class DataModule;

class TruckCalculatorWindow : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext CONSTANT)
public:
    explicit TruckCalculatorWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TruckCalculatorWindow() override;

    // The data module whose current labor-rate and equipment-cost records the cost buttons take.
    void setData(DataModule* dm, TableRules* rules);
    // Shows the about box; set by the program.
    std::function<void(QWidget*)> showAbout;
    int helpContext() const { return 19; }

    TruckInputs inputs() const;
    QWidget* fieldOf(TruckField f) const;

    void CalculateBtnClick();
    void LaborTruckBtnClick();
    void EquipTruckBtnClick();
    void LaborLoaderBtnClick();
    void EquipLoaderBtnClick();
    // The step-3 fields and caption of the loader or the excavator.
    void LoadExRGClick();

public Q_SLOTS:
    void done(int r) override;

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QWidget* buildInputs();
    QWidget* buildCosts();
    QWidget* buildResults();
    void buildMenu();
    QGroupBox* efficiencyGroup(const QString& name, QButtonGroup*& group);
    PictureEdit* number(const QString& picture, const QString& name = {});
    double pickedLabor() const;
    void takeEquipmentCost();

    Dialogs& dialogs_;
    DataModule* dm_ = nullptr;
    TableRules* rules_ = nullptr;
    // The hourly cost of the equipment record that was current when the editor last moved.
    double equipCostMirror_ = 0;

    PictureEdit *volume_, *loHaul_, *loReturn_, *cycle_, *bucket_, *fill_;
    PictureEdit *truckCap_, *truckHaul_, *truckReturn_, *dump_;
    PictureEdit *ltc_, *etc_, *llc_, *elc_;
    QLabel *loHaulLabel_, *loReturnLabel_;
    QRadioButton *loaderRB_, *excavatorRB_;
    QGroupBox* loExGroup_;
    QButtonGroup *loExEff_, *truckEff_;
    QSpinBox* numTrucks_;
    QLineEdit *totalCost_, *optimalTrucks_, *optimalCost_;
    QLabel* optimalLabel_;
    QLabel* optimalCostLabel_;
    TruckCostChart* chart_;
};
