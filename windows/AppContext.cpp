#include "AppContext.h"

#include "Computation.h"
#include "HelpRouter.h"
#include "AboutBox.h"
#include "DeskCalculatorWindow.h"
#include "CopyBondDialog.h"
#include "CopyDataModule.h"
#include "EquipmentListWindow.h"
#include "MainWindow.h"
#include "DataModule.h"
#include "TruckCalculatorWindow.h"
#include "VolumeCalculatorWindow.h"

#include <QCoreApplication>

AppContext::AppContext(Dialogs& d, QString engineConfigPath)
    : dialogs(d), engineConfigPath(std::move(engineConfigPath)),
      Help(std::make_unique<HelpRouter>(QCoreApplication::applicationDirPath()))
{
}

AppContext::~AppContext()
{
    // The rules stop reaching the window before it goes; the tables close while it still exists.
    if (Computations)
        Computations->rules.setMainWindow(nullptr);
    if (TarvaneDataForm)
        TarvaneDataForm->shutDown();
    // The tool windows go before the equipment windows, which may own them at the end.
    VolumeForm.reset();
    CalculatorForm.reset();
    TruckCalForm.reset();
    EquipLaborForm.reset();
    Copy1Form.reset();
    CopyDataForm.reset();
    MainForm.reset();
    Help.reset();
    Computations.reset();
    TarvaneDataForm.reset();
}

void AppContext::create(const std::function<void(const QString&)>& status, const std::function<void(int)>& advance)
{
    struct Step {
        const char* text;
        std::function<void()> create;  // empty: that window is not part of this build
        int progress;
    };
    const Step steps[] = {
        {"Create Main Form", [this] { MainForm = std::make_unique<MainWindow>(*this); }, 0},
        {"Create Copy Form", [this] { Copy1Form = std::make_unique<CopyBondDialog>(dialogs, MainForm.get()); }, 0},
        {"Create Copy Data Form",
         [this] {
             CopyDataForm = std::make_unique<CopyDataModule>();
             Copy1Form->setCopyData(CopyDataForm.get());
         },
         0},
        {"Create Truck Cal Form",
         [this] {
             TruckCalForm = std::make_unique<TruckCalculatorWindow>(dialogs, MainForm.get());
             TruckCalForm->showAbout = [](QWidget* parent) { AboutBox(parent).exec(); };
         },
         15},
        {"Create Volume Form",
         [this] {
             VolumeForm = std::make_unique<VolumeCalculatorWindow>(dialogs, MainForm.get());
             // A volume calculator the user closed is not shown again by itself.
             QObject::connect(VolumeForm.get(), &VolumeCalculatorWindow::closed, MainForm.get(),
                              [this] { MainForm->ReopenVolume = false; });
         },
         15},
        {"Create Calculator Form",
         [this] {
             CalculatorForm = std::make_unique<DeskCalculatorWindow>(MainForm.get());
             // A calculator the user closed is not shown again by itself.
             QObject::connect(CalculatorForm.get(), &DeskCalculatorWindow::closedByUser, MainForm.get(),
                              [this] { MainForm->ReopenCalculator = false; });
         },
         15},
        {"Create Equip Labor Form", {}, 15},
        {"Create Tarvane Data Form",
         [this] {
             TarvaneDataForm = std::make_unique<DataModule>(engineConfigPath);
             Computations = std::make_unique<Computation>(*TarvaneDataForm, dialogs, *MainForm);
             Computations->setMayCompute(MainForm->Activated);  // told again at the first activation
             Computations->rules.setMainWindow(MainForm.get());
             MainForm->attachDataModule(*TarvaneDataForm, *Computations);
             // The cost buttons read the labor rates and the handbook of the data module.
             TruckCalForm->setData(TarvaneDataForm.get(), &Computations->rules);
             VolumeForm->setData(*TarvaneDataForm);
             // The copy's views share the data module's database: one connection, one truth.
             CopyDataForm->setDatabase(&TarvaneDataForm->TarvaneDatabase);
             Copy1Form->setMainData(TarvaneDataForm.get());
         },
         15},
        // The list and its wizard bind to the data module's sources, so both are made once it exists.
        {"Create Euqip wiz Form",
         [this] {
             EquipLaborForm = std::make_unique<EquipmentListWindow>(*TarvaneDataForm, *Computations, dialogs, MainForm.get());
             // The list starts on the demolition equipment table.
             EquipLaborForm->setDataSet(&TarvaneDataForm->EquipDemoT);
             EquipLaborForm->setTools(MainForm.get());
             EquipLaborForm->showAbout = [](QWidget* parent) { AboutBox(parent).exec(); };
         },
         0},
    };
    for (const Step& s : steps) {
        if (s.create) {
            status(QString::fromLatin1(s.text));
            s.create();
        }
        // The bar keeps its scale whether or not a step has a window to create.
        advance(s.progress);
    }
}
