#pragma once
// The single instances that live for the whole run, created in the start-up
// order: the main window first, the data module after the tool windows.
#include <QString>
#include <functional>
#include <memory>

class Computation;
class HelpRouter;
class DeskCalculatorWindow;
class CopyBondDialog;
class CopyDataModule;
class Dialogs;
class EquipmentListWindow;
class MainWindow;
class TruckCalculatorWindow;
class VolumeCalculatorWindow;
class DataModule;

class AppContext {
public:
    AppContext(Dialogs& dialogs, QString engineConfigPath);
    ~AppContext();

    // Runs the creation steps; `status` gets each step's text before it runs,
    // `advance` the progress each step adds (the steps add up to 75 of 100).
    void create(const std::function<void(const QString&)>& status, const std::function<void(int)>& advance);

    Dialogs& dialogs;
    const QString engineConfigPath;
    // The application's help file name (start-up sets it; the main window makes it a path).
    QString helpFile;
    // The one help router: every window's help requests reach it.
    std::unique_ptr<HelpRouter> Help;
    // Destroyed in reverse order: the main window before the data module.
    std::unique_ptr<DataModule> TarvaneDataForm;
    // Hours, totals, the bond and the table rules, over the data module.
    std::unique_ptr<Computation> Computations;
    std::unique_ptr<MainWindow> MainForm;
    // The copy of a mine's bond: its window and the views it walks, made once.
    std::unique_ptr<CopyBondDialog> Copy1Form;
    std::unique_ptr<CopyDataModule> CopyDataForm;
    // The truck calculator, shown modally; its inputs stay between showings.
    std::unique_ptr<TruckCalculatorWindow> TruckCalForm;
    // The volume calculator, shown beside the other windows; its total stays between showings.
    std::unique_ptr<VolumeCalculatorWindow> VolumeForm;
    // The desk calculator, shown beside the other windows; its tape stays between showings.
    std::unique_ptr<DeskCalculatorWindow> CalculatorForm;
    // The worksheet equipment list with its cost wizard.
    std::unique_ptr<EquipmentListWindow> EquipLaborForm;
};
