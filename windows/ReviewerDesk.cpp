// The main window's reviewer's desk: where a shown amount comes from, the mine shown
// against another mine, an estimate brought in from another data file, and a copy of
// the mine re-priced at the newest costs of the reference data.
#include "AppContext.h"
#include "ComparisonWindow.h"
#include "Computation.h"
#include "DBNavigator.h"
#include "DataModule.h"
#include "Dialogs.h"
#include "ExplanationWindow.h"
#include "HelpRequest.h"
#include "MainWindow.h"
#include "MineImport.h"
#include "MineReprice.h"
#include "Money.h"
#include "Notebook.h"
#include "Query.h"
#include "WorksheetKinds.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <functional>

namespace {

QString field(const DataSet& view, const char* name)
{
    return view.fieldByName(QString::fromLatin1(name)).asString();
}

// A value of the data file by a one-parameter query; invalid when there is no row.
QVariantList lookup(Database& db, const QString& sql, qint64 id)
{
    Query q(db, QStringLiteral("DeskLookup"));
    q.setSql({sql});
    q.setParam(QStringLiteral("ID"), id);
    q.open();
    QVariantList row;
    if (!q.isEmpty())
        for (Field* f : q.fields())
            row << f->value();
    return row;
}

}  // namespace

void MainWindow::offerExplanation(QWidget* control, int item, bool project)
{
    auto* explain = new QAction(QStringLiteral("Explain this amount..."), control);
    explain->setObjectName(QStringLiteral("ExplainAmount1"));
    HelpRequest::addContextAction(control, explain);
    connect(explain, &QAction::triggered, this, [this, item, project] { ExplainAmount(item, project); });
}

void MainWindow::showExplanation(const ExplainPtr& tree, const QString& project)
{
    if (!explanation_) {
        explanation_ = new ExplanationWindow(ctx_.dialogs, *dm_, this);
        connect(explanation_, &ExplanationWindow::goToStored, this, &MainWindow::goToStored);
    }
    explanation_->showTree(tree, field(dm_->MineT, "Applicant"), project);
    explanation_->show();
    explanation_->raise();
    explanation_->activateWindow();
}

void MainWindow::ExplainAmount(int item, bool project)
{
    if (!dm_ || !tablesOpenFor(comp_->viewsOfBond()))
        return;
    try {
        PostPendingEdits();
        if (dm_->MineT.isEmpty() || (project && dm_->ProjectT.isEmpty())) {
            ctx_.dialogs.information(project ? QStringLiteral("There is no project whose amount could be explained.")
                                             : QStringLiteral("There is no mine whose amount could be explained."));
            return;
        }
        const QVariant mine = dm_->MineT.fieldByName(QStringLiteral("MineID")).value();
        const std::optional<QVariant> prj =
            project ? std::optional(dm_->ProjectT.fieldByName(QStringLiteral("PrjID")).value()) : std::nullopt;
        const std::array<ExplainPtr, 35> tree = comp_->bond.ExplainBond(mine, prj);
        showExplanation(tree[static_cast<size_t>(item)], project ? field(dm_->ProjectT, "ProjectName") : QString());
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}

void MainWindow::ExplainRevegetationRow()
{
    if (!dm_ || !tablesOpenFor(comp_->viewsOfBond()))
        return;
    try {
        PostPendingEdits();
        if (dm_->MineT.isEmpty() || dm_->ProjectT.isEmpty() || dm_->RevegT.isEmpty())
            return;
        const qint64 sheet = dm_->RevegT.fieldByName(QStringLiteral("SheetID")).asInteger();
        const std::array<ExplainPtr, 35> tree = comp_->bond.ExplainBond(
            dm_->MineT.fieldByName(QStringLiteral("MineID")).value(), dm_->ProjectT.fieldByName(QStringLiteral("PrjID")).value());
        // The row of the project's revegetation total that is the row shown.
        const std::function<ExplainPtr(const ExplainPtr&)> find = [&](const ExplainPtr& n) -> ExplainPtr {
            if (n->source.table == QLatin1String("REVEG.DB") && n->source.field.isEmpty() && n->source.key == sheet)
                return n;
            for (const ExplainPtr& p : n->parts)
                if (ExplainPtr found = find(p))
                    return found;
            return {};
        };
        const ExplainPtr row = find(tree[3]);
        if (!row)
            return;
        showExplanation(row, field(dm_->ProjectT, "ProjectName"));
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}

void MainWindow::goToStored(const ExplainSource& source)
{
    if (!dm_)
        return;
    try {
        Database& db = dm_->TarvaneDatabase;
        QString table = source.table;
        qint64 sheet = source.key;
        qint64 plan = -1;
        if (table == QLatin1String("MINE.DB")) {
            mainNotebook_->setCurrentIndex(0);
            return;
        }
        if (table == QLatin1String("Equipment.DB")) {
            const QVariantList row =
                lookup(db, QStringLiteral("SELECT CostType, SheetID FROM \"Equipment.DB\" WHERE PlanID = :ID"), source.key);
            const WorksheetKind* kind = row.isEmpty() ? nullptr : (row[0].toString().isEmpty() ? nullptr : findWorksheetKind(row[0].toString().at(0)));
            if (!kind)
                throw EDatabaseError(QStringLiteral("Equipment row %1 is no longer in the data file").arg(source.key));
            table = QLatin1String(kind->tableName);
            sheet = row[1].toLongLong();
            plan = source.key;
        }
        int page = 0;
        const WorksheetKind* kind = nullptr;
        for (const WorksheetKind& k : worksheetKinds()) {
            ++page;
            if (table == QLatin1String(k.tableName))
                kind = &k;
            if (kind)
                break;
        }
        qint64 project = source.key;
        if (kind) {
            const QVariantList row = lookup(
                db, QStringLiteral("SELECT PrjID FROM %1 WHERE SheetID = :ID").arg(quoteIdent(table)), sheet);
            if (row.isEmpty())
                throw EDatabaseError(QStringLiteral("Worksheet row %1 of %2 is no longer in the data file").arg(sheet).arg(table));
            project = row[0].toLongLong();
        } else if (table != QLatin1String("PROJECT.DB")) {
            ctx_.dialogs.information(QStringLiteral("The value is stored in %1, a table of the reference data; the "
                                                    "Databases menu edits it.")
                                         .arg(table));
            return;
        }
        if (!mainNotebook_->setCurrentIndex(1))
            return;
        if (!dm_->ProjectT.locate({QStringLiteral("PrjID")}, {project}))
            throw EDatabaseError(QStringLiteral("Project %1 is not a project of the mine shown").arg(project));
        if (!kind) {
            projectNotebook_->setCurrentIndex(0);
            return;
        }
        if (!projectNotebook_->setCurrentIndex(page))
            return;
        kind->sheetsOf(*dm_).locate({QStringLiteral("SheetID")}, {sheet});
        if (plan >= 0 && kind->equipmentOf(*dm_)) {
            kind->equipmentOf(*dm_)->locate({QStringLiteral("PlanID")}, {plan});
            EnterEquipBtnClick();
        }
        raise();
        activateWindow();
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}

void MainWindow::comparisonWindowMade()
{
    if (comparison_)
        return;
    comparison_ = new ComparisonWindow(*dm_, *comp_, ctx_.dialogs, this);
    connect(comparison_, &ComparisonWindow::goToStored, this, &MainWindow::goToStored);
}

void MainWindow::CompareWith1Click()
{
    if (!dm_ || !tablesOpenFor(comp_->viewsOfBond()))
        return;
    PostPendingEdits();
    if (dm_->MineT.isEmpty()) {
        ctx_.dialogs.information(QStringLiteral("There is no mine to compare."));
        return;
    }
    comparisonWindowMade();
    comparison_->setMine(dm_->MineT.fieldByName(QStringLiteral("MineID")).asInteger());
    comparison_->show();
    comparison_->raise();
    comparison_->activateWindow();
}

void MainWindow::RepriceMine1Click()
{
    if (!dm_ || !tablesOpenFor(comp_->viewsOfBond()))
        return;
    try {
        PostPendingEdits();
        if (dm_->MineT.isEmpty()) {
            ctx_.dialogs.information(QStringLiteral("There is no mine to re-price."));
            return;
        }
        const int mine = dm_->MineT.fieldByName(QStringLiteral("MineID")).asInteger();
        CostIndex index = newestCostIndex(dm_->TarvaneDatabase);
        QString value = QString::number(index.current, 'f', 2);
        if (!ctx_.dialogs.inputBox(QStringLiteral("Re-price at Current Costs"),
                                   QStringLiteral("Current ENR cost index of the re-priced copy, dated today (the newest "
                                                  "on file is that of %1):")
                                       .arg(index.from),
                                   value))
            return;
        bool ok = false;
        index.current = value.trimmed().remove(QLatin1Char(',')).toDouble(&ok);
        if (!ok || !isCostIndex(index.current)) {
            ctx_.dialogs.error(QStringLiteral("The current cost index must be a number %1, not '%2'.").arg(costIndexRange(), value));
            return;
        }
        index.date = QDate::currentDate();
        index.from.clear();
        RepricedMine r;
        if (!repriceMine(*dm_, comp_->rules, ctx_.dialogs, mine, index, r))
            return;
        dm_->MineT.refresh();
        if (auto* navigator = findChild<DBNavigator*>(QStringLiteral("DBNavigator1")))
            navigator->update();
        int repriced = 0;
        QStringList kept;
        for (const RepricedMachine& m : r.machines) {
            repriced += m.changed();
            if (!m.kept())
                continue;
            QStringList reasons;
            for (const QString& r : {m.equipmentKept, m.laborKept})
                if (!r.isEmpty())
                    reasons << r;
            kept << m.place + QStringLiteral(": ") + reasons.join(QStringLiteral("; "));
        }
        comparisonWindowMade();
        comparison_->setMine(mine, r.mineId);
        comparison_->compare();
        QString note = QStringLiteral("Mine %1 is mine %2 re-priced: %3 of %4 machine(s) take the newest costs; cost index %5.")
                           .arg(r.mineId)
                           .arg(mine)
                           .arg(repriced)
                           .arg(r.machines.size())
                           .arg(QString::number(index.current, 'f', 2));
        if (!kept.isEmpty())
            note += QStringLiteral("\nThese keep their stored cost:\n  ") + kept.join(QStringLiteral("\n  "));
        comparison_->setNote(note);
        comparison_->show();
        comparison_->raise();
        comparison_->activateWindow();
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}

void MainWindow::ImportMine1Click()
{
    if (!dm_ || !dm_->TarvaneDatabase.connected())
        return;
    QFileDialog ask(this, QStringLiteral("Import Mine from Data File"), QDir::homePath(),
                    QStringLiteral("Tarvane Data (TarvaneData.db);;All files (*)"));
    ask.setObjectName(QStringLiteral("ImportDialog1"));
    ask.setFileMode(QFileDialog::ExistingFile);
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty())
        return;
    const QFileInfo chosen(ask.selectedFiles().first());
    importMineFrom(chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath());
}

void MainWindow::importMineFrom(const QString& directory)
{
    if (!dm_ || !dm_->TarvaneDatabase.connected())
        return;
    try {
        PostPendingEdits();
        SourceDataFile source(directory, dm_->TarvaneDatabase);
        const QList<SourceDataFile::Mine> mines = source.mines();
        if (mines.isEmpty()) {
            ctx_.dialogs.information(QStringLiteral("%1 holds no mine.").arg(QDir::toNativeSeparators(source.path())));
            return;
        }
        QStringList list;
        for (const SourceDataFile::Mine& m : mines)
            list << QStringLiteral("  %1  %2").arg(m.id).arg(m.applicant);
        QString value = QString::number(mines.first().id);
        if (!ctx_.dialogs.inputBox(QStringLiteral("Import Mine from Data File"),
                                   QStringLiteral("The mines of %1:\n%2\n\nMineID of the mine to bring in:")
                                       .arg(QDir::toNativeSeparators(source.path()), list.join(QLatin1Char('\n'))),
                                   value))
            return;
        bool ok = false;
        const int id = value.trimmed().toInt(&ok);
        if (!ok) {
            ctx_.dialogs.error(QStringLiteral("'%1' is not a MineID.").arg(value));
            return;
        }
        const QList<ReferenceDifference> differences = referenceDifferences(source, dm_->TarvaneDatabase, id);
        ReferenceChoice choice = ReferenceChoice::Keep;
        if (!differences.isEmpty()) {
            QStringList lines;
            for (const ReferenceDifference& d : differences)
                lines << QStringLiteral("%1 (%2): %3\n    here: %4\n    there: %5")
                             .arg(d.what, differenceName(d.kind), d.table,
                                  d.here.isEmpty() ? QStringLiteral("none") : d.here, d.there);
            const MsgResult answer = ctx_.dialogs.message(
                MsgType::Confirmation,
                QStringLiteral("The estimate names reference rows that this data file lacks or prices differently:\n\n%1\n\n"
                               "Bring its rows into this data file? (No keeps this file's rows.)")
                    .arg(lines.join(QLatin1Char('\n'))),
                MsgButtons::YesNo);
            choice = answer == MsgResult::Yes ? ReferenceChoice::Bring : ReferenceChoice::Keep;
        }
        ImportedMine result;
        if (!importMine(*dm_, comp_->rules, ctx_.dialogs, source, id, choice, result))
            return;
        dm_->MineT.refresh();
        const bool shown = dm_->MineT.locate({QStringLiteral("MineID")}, {result.mineId});
        if (shown)
            mainNotebook_->setCurrentIndex(0);
        ctx_.dialogs.information(
            QStringLiteral("Mine %1 of %2 is brought in as mine %3.%4")
                .arg(id)
                .arg(QDir::toNativeSeparators(source.path()))
                .arg(result.mineId)
                .arg(shown ? QString() : QStringLiteral(" It belongs to another data set than the one shown.")));
    } catch (const std::exception& e) {
        ctx_.dialogs.showException(e);
    }
}
