#pragma once
// The data module opened on a fresh data directory with the program's rules
// and computations, a scripted Dialogs and a main window that records what
// the rules tell it.
#include "Computation.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "DataModule.h"
#include "TestSupport.h"

#include <functional>

struct RecordingWindow : MainWindowLink {
    bool activated = true;
    int statusRefreshes = 0;
    QList<bool> postButtons;
    QHash<QChar, bool> equipButtons;
    QHash<QChar, QString> totals;
    std::array<double, 4> products{};
    int volumeSets = 0;
    QString status;  // the status bar's first panel

    bool isActivated() const override { return activated; }
    void RefreshStatusLine() override { ++statusRefreshes; }
    void setBondPostButtonsEnabled(bool on) override { postButtons << on; }
    void setEquipButtonEnabled(QChar t, bool on) override { equipButtons.insert(t, on); }
    void setTotalText(QChar t, const QString& text) override { totals.insert(t, text); }
    void showRevegProducts(const std::array<double, 4>& p) override { products = p; }
    void volumeSetsChanged() override { ++volumeSets; }
    QString statusLineText() const override { return status; }
};

struct ListBinding : EquipListBinding {
    DataSet* ds = nullptr;
    void setDataSet(DataSet* d) override { ds = d; }
    DataSet* dataSet() override { return ds; }
};

struct World {
    TempData data;
    // Runs on the fresh data file before the data module opens it.
    bool prepared;
    ScriptedDialogs dialogs;
    NoBondDisplay display;
    RecordingWindow window;
    DataModule dm{data.configPath};
    Computation comp{dm, dialogs, display};
    DatabaseStartup startup{dm};
    ListBinding list;

    explicit World(const std::function<void(const TempData&)>& prepare = {})
        : prepared(((prepare ? prepare(data) : void()), true))
    {
        comp.rules.setMainWindow(&window);
        comp.calculator.setList(&list);
        const QString failure = startup.ActivateDatabase();
        if (!failure.isEmpty())
            qFatal("%s", qPrintable(failure));
        for (const char* t : {"MINE.DB", "PROJECT.DB", "DEMOL.DB", "MATERIAL.DB", "REVEG.DB", "OTHERREC.DB",
                              "Equipment.DB", "CrossSections.db", "Volume.db", "EventLog.db"})
            shipped.insert(QString::fromLatin1(t), count(QString::fromLatin1(t)));
    }

    // Makes the shipped example mine (data set 1) current; false when it cannot be shown.
    bool selectExampleMine()
    {
        dm.DataSetCode = 1;
        dm.MineT.refresh();
        return dm.MineT.locate({QStringLiteral("MineID")}, {1});
    }

    // Rows a test added to a table beyond the shipped example and tutorial mines.
    qint64 added(const QString& table) { return count(table) - shipped.value(table); }
    QHash<QString, qint64> shipped;

    static void set(DataSet& ds, const QVariantMap& fields)
    {
        for (auto it = fields.begin(); it != fields.end(); ++it)
            ds.fieldByName(it.key()).setValue(it.value());
    }

    int addMine(const QString& applicant, const QVariantMap& extra = {})
    {
        Table& m = dm.MineT;
        m.insert();
        set(m, {{"Applicant", applicant}, {"PemitID", "P-1"}, {"Date", QDate(2024, 7, 1)}, {"PreparedBy", "Reviewer"},
                {"ENRIndex", 13600.0}, {"ENRIndexDate", QDate(2024, 7, 1)}, {"AutoFeeCal", 1}});
        set(m, extra);
        m.post();
        return m.fieldByName(QStringLiteral("MineID")).asInteger();
    }
    int addProject(const QString& name)
    {
        dm.ProjectT.insert();
        set(dm.ProjectT, {{"ProjectName", name}, {"Date", QDate(2024, 7, 1)}});
        dm.ProjectT.post();
        return dm.ProjectT.fieldByName(QStringLiteral("PrjID")).asInteger();
    }
    void addSheet(Table& sheet, const QVariantMap& fields)
    {
        sheet.insert();
        set(sheet, fields);
        sheet.post();
    }
    void addDemolition(const QString& item, double volume = 0, double unitCost = 0)
    {
        addSheet(dm.DemolT, {{"Item", item}, {"TypeMaterial", "Concrete"}, {"Volume", volume}, {"UnitCost", unitCost}});
    }
    int addEquipment(Table& view, int kind, const QVariantMap& fields)
    {
        view.insert();
        view.fieldByName(QStringLiteral("EquipCode2")).setAsInteger(kind);
        set(view, fields);
        view.post();
        return view.fieldByName(QStringLiteral("PlanID")).asInteger();
    }
    // A field of the row with that PlanID, read outside the views.
    QVariant planField(int plan, const QString& field)
    {
        return data.scalar(QStringLiteral("SELECT %1 FROM \"Equipment.DB\" WHERE PlanID = %2").arg(field).arg(plan));
    }
    qint64 count(const QString& table, const QString& where = QStringLiteral("1"))
    {
        return data.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE %2").arg(table, where));
    }
};
