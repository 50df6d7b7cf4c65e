#pragma once
// The whole program's windows made as start-up makes them, the main window shown
// and activated, on a real data file; with helpers that type into its controls.
#include "AppContext.h"
#include "DBNavigator.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "Notebook.h"
#include "TarvaneApplication.h"
#include "DataModule.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

struct Window {
    TempData data;
    ScriptedDialogs dialogs;
    AppContext ctx{dialogs, data.configPath};
    Window(double dataSet = 5.0)
    {
        static_cast<TarvaneApplication*>(qApp)->setDialogs(&dialogs);
        ctx.create([](const QString&) {}, [](int) {});
        ctx.TarvaneDataForm->DataSetCode = dataSet;
        main().show();
        main().FormActivate();
    }
    MainWindow& main() { return *ctx.MainForm; }
    DataModule& dm() { return *ctx.TarvaneDataForm; }
    template <typename T>
    T* find(const QString& name)
    {
        T* w = main().findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QString status() { return find<QLabel>(QStringLiteral("StatusPanel1"))->text(); }
    void type(const QString& control, const QString& text)
    {
        auto* e = find<QLineEdit>(control);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);  // enter: the text goes into the field
    }
    void nav(const QString& navigator, const QString& button)
    {
        find<DBNavigator>(navigator)->findChild<QToolButton*>(button)->click();
    }
    void addMine(const QString& applicant)
    {
        nav(QStringLiteral("DBNavigator1"), QStringLiteral("Insert"));
        type(QStringLiteral("ApplicantEdit"), applicant);
        type(QStringLiteral("PemitIDEdit"), QStringLiteral("WV-1"));
        type(QStringLiteral("DateEdit"), QStringLiteral("/"));
        type(QStringLiteral("PreparedByEdit"), QStringLiteral("Reviewer"));
        type(QStringLiteral("ENRIndexEdit"), QStringLiteral("13600"));
        type(QStringLiteral("ENRIndexDateEdit"), QStringLiteral("7/1/2024"));
        nav(QStringLiteral("DBNavigator1"), QStringLiteral("Post"));
    }
    // A mine with one project, on the Projects page.
    void addMineWithProject()
    {
        addMine(QStringLiteral("Cedar Run Mining"));
        dm().ProjectT.insert();
        dm().ProjectT.fieldByName(QStringLiteral("ProjectName")).setAsString(QStringLiteral("Plant"));
        dm().ProjectT.fieldByName(QStringLiteral("Date")).setAsDate(QDate(2024, 7, 1));
        dm().ProjectT.post();
        QVERIFY(main().MainOvcNotebook()->setCurrentIndex(1));
    }
};

