#pragma once
// MainWindow: the program's main window and hub. Its pages edit the current
// mine, its projects and their four kinds of worksheet, and show the bond of
// the mine or of a project. It owns the opening of the tables on its first
// activation and their closing when it closes.
#include "BondSummary.h"
#include "TableRules.h"
#include "ToolWindows.h"

#include <QHash>
#include <QMainWindow>
#include <memory>

class AppContext;
class Computation;
class DatabaseStartup;
class DBRadioGroup;
class Notebook;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SideBar;
class DataModule;

class MainWindow : public QMainWindow, public MainWindowLink, public BondDisplay, public ToolWindows {
    Q_OBJECT
    // The help context of the page in view, for F1 and "What's this?".
    Q_PROPERTY(int helpContext READ helpContext)
public:
    explicit MainWindow(AppContext& ctx);
    ~MainWindow() override;

    // Builds the pages on the data module's sources; nothing here touches a table.
    void attachDataModule(DataModule& dm, Computation& computation);

    bool Activated = false;
    int HelpContextId = 2;
    int helpContext() const { return HelpContextId; }
    bool ReopenVolume = false;
    bool ReopenCalculator = false;
    bool DatabaseOpened() const;

    // Stored properties.
    QString OvcURL;
    bool WinHelpChecked = false;
    bool HTMLHelpChecked = true;

    bool OpenAllTables(QString& name);
    void CloseAllTables();
    void PostPendingEdits();

    void FormActivate();
    bool FormCloseQuery();

    // What the table rules refresh.
    bool isActivated() const override { return Activated; }
    void RefreshStatusLine() override;
    void setBondPostButtonsEnabled(bool on) override;
    void setEquipButtonEnabled(QChar costType, bool on) override;
    void setTotalText(QChar costType, const QString& text) override;
    void showRevegProducts(const std::array<double, 4>& products) override;
    void volumeSetsChanged() override;
    QString statusLineText() const override;
    void refreshBondPages() override;

    // The side tools, for this window and the equipment windows.
    void showVolumeCalculator(QWidget* owner) override;
    void showDeskCalculator(QWidget* owner) override;
    void showTruckCalculator(QWidget* owner) override;
    bool closeSideWindows() override;
    void reopenSideWindows(QWidget* owner) override;

    // The bond pages' texts.
    // The text a bond page's control shows.
    QString text(const QString& control) const;
    void bondComputed(const BondItems* items) override;

    void ShowOverrideFields();
    Notebook* MainOvcNotebook() const { return mainNotebook_; }
    Notebook* ProjCostOvcNotebook() const { return projectNotebook_; }
    SideBar* projectSideBar() const { return sideBar_; }

public Q_SLOTS:
    void About1Click();
    void Exit1Click();
    void Print1Click();
    // The workbook of the current mine (of the current project on the Projects page), and
    // a backup of the data file.
    void ExportToSpreadsheet1Click();
    void BackUpData1Click();
    void EquipmentCost1Click();
    void LaborCost1Click();
    void ProfitandOverhead1Click();
    void ReclamationManagementFee1Click();
    void EfficiencyFactor1Click();
    void ChangeURL1Click();
    // The Help menu: topics by context number, the contents and search, help on help,
    // and the help format (kept in the settings).
    void Introduction1Click();
    void HelpThisForm1Click();
    void SearchHelp1Click();
    void HelpOnHelp1Click();
    void WinHelp1Click();
    void HTMLHelp1Click();
    // Shows the one truck calculator modally.
    void OptimalTruckCalculator1Click();
    void Calculator1Click();
    void VolumeCalculator1Click();
    void OpenCostIndexSite();
    // The copy of the current mine's bond, the data sets, the event log.
    void CopyRecord1Click();
    void UseTutorialDataSet1Click();
    void UseFullExampleDataSet1Click();
    void UseUsersData1Click();
    void EventLog1Click();
    void EnterEquipBtnClick();
    void SideBarItemClick(int index);
    // The reviewer's desk: where a shown amount comes from (item 1 to 34 of the mine's bond,
    // or of the current project's), the mine shown against another, an estimate brought in
    // from another data file, and a copy of the mine re-priced at the newest costs.
    void ExplainAmount(int item, bool project);
    // The revegetation page's products: the current revegetation row's cost.
    void ExplainRevegetationRow();
    void CompareWith1Click();
    void ImportMine1Click();
    void RepriceMine1Click();
    // Brings a mine of the data directory in; the mine is asked for.
    void importMineFrom(const QString& directory);
    // Goes to the record that holds a stored value of an explanation.
    void goToStored(const struct ExplainSource& source);
    class ExplanationWindow* explanationWindow() const { return explanation_; }
    class ComparisonWindow* comparisonWindow() const { return comparison_; }

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    DatabaseStartup& startup();
    void createMenus();
    void createHelpMenu();
    QWidget* buildMinePage();
    QWidget* buildProjectsPage();
    QWidget* buildProjectPage();
    QWidget* buildDemolitionPage();
    QWidget* buildEarthmovingPage();
    QWidget* buildRevegetationPage();
    QWidget* buildOtherCostPage();
    QWidget* buildBondPage(int phase, bool project);
    // False, after one message naming the first of them, when one of `views` is not open.
    bool tablesOpenFor(const QList<class DataSet*>& views);
    QList<DataSet*> viewsOfEquipmentList(int page) const;
    bool MainNotebookBeforeChange(int from, int to);
    void MainNotebookChanged(int page);
    void ProjectNotebookChanged(int page);
    void applyAutoFee(int choice);
    void createDataSetMenus(class QMenu* file, class QAction* before);
    void showWorkingCopy(double working, double master);
    void refreshShownFigures();
    void useDataSet(class QAction* item, double working, double master, const QString& label);
    QLineEdit* bondField(const QString& name, QWidget* parent);
    // The title names the program and marks a record being edited.
    void showEditMark();
    void markBondOutdated();

    AppContext& ctx_;
    DataModule* dm_ = nullptr;
    Computation* comp_ = nullptr;
    std::unique_ptr<DatabaseStartup> startup_;
    Notebook* mainNotebook_ = nullptr;
    Notebook* projectNotebook_ = nullptr;
    SideBar* sideBar_ = nullptr;
    QLabel* statusPanel1_;
    QLabel* statusPanel2_;
    QHash<QString, QLineEdit*> bondFields_;
    QList<QPushButton*> postButtons_;
    QList<QLabel*> outdatedNotes_;  // beside "Re-calculate After a Change"
    QList<QLabel*> incompleteNotes_;  // beside the amounts: the stored values the bond leaves out
    QString title_;
    QHash<QChar, QPushButton*> equipButtons_;
    QHash<QChar, QLineEdit*> totals_;
    QLineEdit* products_[4] = {};
    QLabel* failureRateLabel_ = nullptr;
    struct OverridePair {
        QCheckBox* box;
        QWidget* amount;
        QWidget* computed;
    };
    QList<OverridePair> overrides_;
    QList<QWidget*> autoFeeFields_;
    QString failedTable_;  // where opening stopped at start-up
    class QAction* copyRecord_ = nullptr;
    ExplanationWindow* explanation_ = nullptr;
    ComparisonWindow* comparison_ = nullptr;
    // Offers "Explain this amount..." on a control showing item `item` of a bond.
    void offerExplanation(QWidget* control, int item, bool project);
    void comparisonWindowMade();
    void showExplanation(const std::shared_ptr<const struct ExplainNode>& tree, const QString& project);
    class QAction *winHelp_ = nullptr, *htmlHelp_ = nullptr;
    class QAction *useTutorial_ = nullptr, *useExample_ = nullptr, *useUsers_ = nullptr;
};
