#pragma once
// The data module opened with its rules and the bond computation, as the
// command line opens it, on a fresh benchmark data directory.
#include "BenchData.h"
#include "Computation.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "DataModule.h"

struct BenchComputation {
    BenchData data;
    ConsoleDialogs dialogs;
    NoBondDisplay display;
    NoMainWindow window;
    DataModule dm{data.config};
    Computation comp{dm, dialogs, display};
    DatabaseStartup startup{dm};

    // False when the data module does not open.
    bool open()
    {
        comp.rules.setMainWindow(&window);
        return startup.ActivateDatabase().isEmpty();
    }
};
