#pragma once
// CostWizard, the equipment and labor cost wizard: fills one equipment row
// of a worksheet step by step (laborer, machine, productivity worksheet) in
// insert, edit or view/edit mode. Everything it edits is the equipment list's
// current row.
#include "EquipmentHours.h"

#include <QDialog>
#include <QHash>
#include <memory>

class Computation;
class DataSource;
class Dialogs;
class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TableRules;
class DataModule;
class ToolWindows;
class DBEdit;

class CostWizard : public QDialog, public EquipWorksheetPage {
    Q_OBJECT
    // The topic of the step in view, for "Help With This Form" and F1.
    Q_PROPERTY(int helpContext MEMBER HelpContextId)
public:
    enum Mode { Insert = 0, Edit = 1, ViewEdit = 2 };
    enum Page { SelectEquipment = 10, SelectLaborer = 11, EditPage = 12 };

    CostWizard(DataModule& dm, Computation& computation, Dialogs& dialogs, EquipListBinding& list,
                   QWidget* parent = nullptr);
    ~CostWizard() override;

    // Set by the equipment list before each opening.
    int kind = 0;
    Mode mode = Insert;
    int sheet = 0;
    int step() const { return step_; }
    int HelpContextId = 37;
    // The side tools of its "&Tools" menu, shown again when the wizard becomes active.
    ToolWindows* tools = nullptr;

    // The opening set-up: partners, mode, first step. Runs once per opening.
    void prepare();

    // The bar's buttons, as clicks.
    void LeftBtnClick();
    void RightBtnClick();
    void BackBtnClick();
    void CancelBtnClick();
    void Print1Click();  // "&Print": this row's worksheet, in view/edit mode only
    QAction* printAction() const { return print_; }

    // The worksheet page interface of the calculation.
    int pickedScraper() override;
    bool pusherFactorChosen() override;
    void chooseFirstPusherFactor() override;
    int truckPartnerChoice() override;
    int pickedTruckPartner() override;
    void showResults(int kind, const EquipCalcResults& results) override;

    QStackedWidget* pages() const { return pages_; }
    void recalculate();  // the page's kind, with the results shown

    // The type of a dragged volume total that the Volume fields accept.
    static QString volumeMimeType() { return QStringLiteral("application/x-tarvane-volume-total"); }

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    DataSet* row() const;
    void setStep(int step);
    void laborerChosen();
    void equipmentChosen();
    void finishCheck();
    void finish();
    void truckRelink();
    void pushDozerSetUp();
    void truckSetUp();
    void fillPicker(QComboBox* picker, int partnerKind, const QList<EquipmentCalculator::Partner>& rows);
    void truckChoiceChanged(int choice);
    void truckPickerChanged();
    void scraperPickerChanged();
    void pusherFactorPicked(int index);
    void matchHours(EquipmentCalculator::MatchSide side);
    void showTruckOverride();
    void dropVolume(double volume);
    void editRow();
    QWidget* buildWorksheet(int kind);
    QWidget* buildSelectEquipment();
    QWidget* buildSelectLaborer();

    DataModule& dm_;
    Computation& comp_;
    Dialogs& dialogs_;
    EquipListBinding& list_;
    std::unique_ptr<DataSource> rowSource_;
    int step_ = 1;
    bool prepared_ = false;
    QAction* print_;
    QLabel* question_;
    QLabel* modeText_;
    QPushButton* left_;
    QPushButton* right_;
    QPushButton* back_;
    QPushButton* cancel_;
    QStackedWidget* pages_;
    QWidget* equipmentGrids_ = nullptr;
    QHash<int, QHash<QString, QLineEdit*>> results_;  // per kind: result name -> field
    QHash<int, QLineEdit*> hoursFields_;
    QComboBox* scraperPicker_ = nullptr;
    QButtonGroup* pusherFactors_ = nullptr;
    QRadioButton* loaderChoice_ = nullptr;
    QRadioButton* excavatorChoice_ = nullptr;
    QComboBox* loaderPicker_ = nullptr;
    QComboBox* excavatorPicker_ = nullptr;
    QList<int> offeredLoaders_, offeredExcavators_;
    QWidget* numTrucks_ = nullptr;
    QWidget* numTrucksCaption_ = nullptr;
    class QCheckBox* overrideTrucks_ = nullptr;
    bool settingUp_ = false;
};
