// The grid model, the grid and the navigator on the data module's views over
// a real data file made by the program's own init.
#include "PictureValidator.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "DataSetModel.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "DataModule.h"
#include "OpenedData.h"
#include "Picture.h"
#include "UserActions.h"
#include "WindowSettings.h"
#include <QScreen>
#include "Keyboard.h"
#include "Notebook.h"
#include "SideBar.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSettings>
#include <QTemporaryDir>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QValidator>
#include <memory>
#include <stdexcept>

namespace {

QString cell(const QAbstractItemModel& m, int row, int column, int role = Qt::DisplayRole)
{
    return m.data(m.index(row, column), role).toString();
}

qint64 countIn(const TempData& data, const QString& table, const QString& where = QString())
{
    return data.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"%2")
                           .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
}

QStringList enabledButtons(const DBNavigator& nav)
{
    QStringList out;
    for (DBNavigator::Button b : DBNavigator::allButtons())
        if (nav.button(b)->isEnabled())
            out << DBNavigator::buttonName(b);
    return out;
}

void attachTester(QAbstractItemModel* model)
{
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}

}  // namespace

class TestUiKit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelShowsView_data();
    void modelShowsView();
    void modelFollowsInsertPostDelete();
    void setDataWritesThrough_data();
    void setDataWritesThrough();
    void displayFormat_data();
    void displayFormat();
    void gridAndDataSetFollowEachOther();
    void gridRefusedMoveStays();
    void gridEditorWrittenAtPost();
    void navigatorButtons();
    void navigatorEnabledStates_data();
    void navigatorEnabledStates();
    void navigatorPostAndCancel_data();
    void navigatorPostAndCancel();
    void navigatorDelete_data();
    void navigatorDelete();
    void navigatorShowsErrors_data();
    void navigatorShowsErrors();
    void pictureDigits_data();
    void pictureDigits();
    void onceMessagesAfterUserAction();
    void dateForms_data();
    void dateForms();
    void dateMaskWhileTyping_data();
    void dateMaskWhileTyping();
    void sideBarKeys_data();
    void sideBarKeys();
    void notebookKeys();
    void mnemonics();
    void gridColumnWidths();
    void windowFitsScreen();
};

void TestUiKit::modelShowsView_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("numeric");
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<QStringList>("readOnly");
    QTest::newRow("fee schedule") << "Graph2T" << "GRAPH2.DB" << QStringList{"DirectCost", "Percent"} << QStringList{}
                                  << QStringList{};
    QTest::newRow("efficiency factors") << "EffFactorT" << "EffFactor.DB" << QStringList{"ID", "Factor"}
                                        << QStringList{"Desc"} << QStringList{};
    QTest::newRow("filtered mines") << "MineT" << "MINE.DB" << QStringList{"MineID", "ENRIndex", "RevegYears"}
                                    << QStringList{"Applicant", "PemitID", "Date"} << QStringList{"MineID"};
}

// Every shown record is a row in the view's order, its cells the fields' text.
void TestUiKit::modelShowsView()
{
    QFETCH(QString, view);
    QFETCH(QString, table);
    QFETCH(QStringList, numeric);
    QFETCH(QStringList, text);
    QFETCH(QStringList, readOnly);
    Opened o;
    for (const char* m : {"Alpha Coal", "Beta Minerals", "Gamma Sand"})
        addMine(o.dm, QString::fromLatin1(m));
    DataSet& ds = *o.dm.dataSetByName(view);
    ds.fields().last()->displayLabel = QStringLiteral("Shown As");
    DataSource source(QStringLiteral("TestDS"), &ds);
    DataSetModel model(&source);
    attachTester(&model);

    QVERIFY(countIn(o.data, table) >= 3);
    QCOMPARE(model.rowCount(), static_cast<int>(countIn(o.data, table)));
    QCOMPARE(model.rowCount(), ds.recordCount());
    int visible = 0;
    for (Field* f : ds.fields())
        visible += f->visible ? 1 : 0;
    QCOMPARE(model.columnCount(), visible);
    for (int c = 0; c < model.columnCount(); ++c) {
        Field* f = model.fieldAt(c);
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), f->displayLabel);
        QCOMPARE(bool(model.flags(model.index(0, c)) & Qt::ItemIsEditable), !readOnly.contains(f->fieldName()));
    }
    QCOMPARE(model.headerData(model.columnCount() - 1, Qt::Horizontal).toString(), QStringLiteral("Shown As"));
    for (const QString& name : numeric + text) {
        const int c = model.columnOf(name);
        QVERIFY(c >= 0);
        const auto align = Qt::Alignment(model.data(model.index(0, c), Qt::TextAlignmentRole).toInt());
        QCOMPARE(bool(align & Qt::AlignRight), numeric.contains(name));
        QCOMPARE(bool(align & Qt::AlignLeft), text.contains(name));
    }

    int row = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++row) {
        QCOMPARE(model.currentRow(), row);
        QCOMPARE(model.bookmarkAt(row), ds.bookmark());
        for (int c = 0; c < model.columnCount(); ++c) {
            const Field* f = model.fieldAt(c);
            QCOMPARE(cell(model, row, c), f->displayFormat.isEmpty() || f->isNull()
                                              ? f->asString()
                                              : DataSetModel::formatNumber(f->asFloat(), f->displayFormat));
        }
    }
    QCOMPARE(row, model.rowCount());
}

// Rows come and go as the view inserts, posts, cancels and deletes; the
// record being inserted shows as a row of its own until it is posted.
void TestUiKit::modelFollowsInsertPostDelete()
{
    Opened o;
    Table& t = o.dm.EffFactorT;
    DataSetModel model(&o.dm.EffFactorDS, {QStringLiteral("ID"), QStringLiteral("Desc"), QStringLiteral("Factor")});
    attachTester(&model);
    const int rows = model.rowCount();
    QVERIFY(rows >= 3);

    t.first();
    t.next();
    t.insert();
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(model.bookmarkAt(model.currentRow()), kNoBookmark);
    t.fieldByName(QStringLiteral("ID")).setAsInteger(99);
    t.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("35 min/hr"));
    QCOMPARE(cell(model, model.currentRow(), 1), QStringLiteral("35 min/hr"));
    t.cancel();
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(cell(model, model.currentRow(), 0), t.fieldByName(QStringLiteral("ID")).asString());

    t.insert();
    t.fieldByName(QStringLiteral("ID")).setAsInteger(99);
    t.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("35 min/hr"));
    t.fieldByName(QStringLiteral("Factor")).setAsFloat(0.58);
    t.post();
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(model.rowCount(), static_cast<int>(countIn(o.data, QStringLiteral("EffFactor.DB"))));
    QCOMPARE(model.bookmarkAt(model.currentRow()), t.bookmark());
    QCOMPARE(cell(model, model.currentRow(), 1), QStringLiteral("35 min/hr"));
    QCOMPARE(cell(model, model.currentRow(), 2), t.fieldByName(QStringLiteral("Factor")).asString());

    t.first();
    const QString firstId = cell(model, 0, 0);
    t.remove();
    QCOMPARE(model.rowCount(), rows);
    QVERIFY(cell(model, 0, 0) != firstId);
    QCOMPARE(model.currentRow(), 0);
    QCOMPARE(cell(model, 0, 0), t.fieldByName(QStringLiteral("ID")).asString());

    t.close();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.currentRow(), -1);
    t.open();
    QCOMPARE(model.rowCount(), rows);
}

void TestUiKit::setDataWritesThrough_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("text") << "Desc" << "52 min/hr - typed" << true;
    QTest::newRow("number") << "Factor" << "0.5" << true;
    QTest::newRow("not a number") << "Factor" << "half" << false;
}

// Writing a cell moves the view to the row's record and edits it there;
// a refused value comes back as false with the view's message.
void TestUiKit::setDataWritesThrough()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Opened o;
    Table& t = o.dm.EffFactorT;
    DataSetModel model(&o.dm.EffFactorDS);
    attachTester(&model);
    t.first();
    const int row = model.rowCount() - 2;
    const int column = model.columnOf(field);
    QVERIFY(row > 0 && column >= 0);
    const QString before = cell(model, row, column, Qt::EditRole);

    QCOMPARE(model.setData(model.index(row, column), text), accepted);
    QCOMPARE(model.lastError().isEmpty(), accepted);
    if (!accepted) {
        QVERIFY2(model.lastError().contains(field), qPrintable(model.lastError()));
        t.cancel();
        QCOMPARE(cell(model, row, column, Qt::EditRole), before);
        return;
    }
    QCOMPARE(model.currentRow(), row);
    QCOMPARE(t.state(), DataSetState::Edit);
    QCOMPARE(cell(model, row, column), text);
    const QString id = t.fieldByName(QStringLiteral("ID")).asString();
    const QString match = QStringLiteral("ID = %1 AND \"%2\" = '%3'").arg(id, field, text);
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB"), match), 0);
    t.post();
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB"), match), 1);
    QCOMPARE(cell(model, model.currentRow(), column), text);

    // A calculated field is not editable.
    Field& calc = t.addCalculatedField(QStringLiteral("Shown"), FieldType::String, 10);
    DataSetModel withCalc(&o.dm.EffFactorDS, {QStringLiteral("ID"), calc.fieldName()});
    QVERIFY(!(withCalc.flags(withCalc.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!withCalc.setData(withCalc.index(0, 1), QStringLiteral("x")));
}

void TestUiKit::displayFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("grouped, optional decimals") << "###,###,###.##" << 1234567.5 << "1,234,567.5";
    QTest::newRow("fixed decimals") << "#,##0.00" << 1234.0 << "1,234.00";
    QTest::newRow("rounded") << "0.0" << 2.46 << "2.5";
    QTest::newRow("negative with text") << "$#,##0" << -9876.4 << "-$9,876";
    QTest::newRow("small") << "#,##0.00" << 0.5 << "0.50";
}

// Numbers show under the field's display format; editing uses the plain text.
void TestUiKit::displayFormat()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QCOMPARE(DataSetModel::formatNumber(value, format), shown);

    Opened o;
    Table& t = o.dm.Graph2T;
    t.fieldByName(QStringLiteral("DirectCost")).displayFormat = format;
    DataSource source(QStringLiteral("TestDS"), &t);
    DataSetModel model(&source, {QStringLiteral("DirectCost")});
    t.last();
    t.edit();
    t.fieldByName(QStringLiteral("DirectCost")).setAsFloat(value);
    t.post();
    const int row = model.currentRow();
    QCOMPARE(cell(model, row, 0), shown);
    QCOMPARE(cell(model, row, 0, Qt::EditRole), t.fieldByName(QStringLiteral("DirectCost")).asString());
}

// The grid selects the current record's row; selecting a row moves the view.
void TestUiKit::gridAndDataSetFollowEachOther()
{
    Opened o;
    Table& t = o.dm.EffFactorT;
    DBGrid grid(&o.dm.EffFactorDS);
    grid.setObjectName(QStringLiteral("EffFactorGrid"));
    attachTester(grid.model());
    grid.resize(600, 400);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    DataSetModel& model = *grid.dataSetModel();
    const int last = model.rowCount() - 1;

    const auto selectedRows = [&grid] {
        QList<int> rows;
        for (const QModelIndex& i : grid.selectionModel()->selectedRows())
            rows << i.row();
        return rows;
    };
    t.last();
    QCOMPARE(grid.currentIndex().row(), last);
    QCOMPARE(selectedRows(), QList<int>{last});
    t.prior();
    QCOMPARE(selectedRows(), QList<int>{last - 1});

    const QModelIndex second = model.index(1, model.columnOf(QStringLiteral("Desc")));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(second).center());
    QCOMPARE(t.bookmark(), model.bookmarkAt(1));
    QCOMPARE(t.fieldByName(QStringLiteral("Desc")).asString(), cell(model, 1, second.column()));
    QCOMPARE(selectedRows(), QList<int>{1});

    grid.selectRow(last);
    QCOMPARE(t.bookmark(), model.bookmarkAt(last));
    QCOMPARE(t.fieldByName(QStringLiteral("ID")).asString(), cell(model, last, 0));
}

// A move the view refuses (its pending edit cannot be posted) is shown, and
// the grid stays on the record being edited.
void TestUiKit::gridRefusedMoveStays()
{
    Opened o;
    Table& t = o.dm.Graph2T;
    DataSource source(QStringLiteral("TestDS"), &t);
    ScriptedDialogs dialogs;
    DBGrid grid(&source);
    grid.setDialogs(&dialogs);
    attachTester(grid.model());
    DataSetModel& model = *grid.dataSetModel();
    t.first();
    t.next();
    t.edit();
    t.fieldByName(QStringLiteral("Percent")).clear();
    const Bookmark edited = t.bookmark();
    grid.selectRow(3);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].type, MsgType::Error);
    QVERIFY2(dialogs.shown[0].text.contains(QStringLiteral("Percent")), qPrintable(dialogs.shown[0].text));
    QCOMPARE(t.state(), DataSetState::Edit);
    QCOMPARE(t.bookmark(), edited);
    QCOMPARE(grid.currentIndex().row(), 1);
    QCOMPARE(model.currentRow(), 1);
    t.cancel();
    QCOMPARE(countIn(o.data, QStringLiteral("GRAPH2.DB"), QStringLiteral("Percent IS NULL")), 0);
}

// Text typed into an open cell editor is written into the field when the view posts.
void TestUiKit::gridEditorWrittenAtPost()
{
    Opened o;
    Table& t = o.dm.EffFactorT;
    ScriptedDialogs dialogs;
    DBGrid grid(&o.dm.EffFactorDS);
    DBNavigator nav(&o.dm.EffFactorDS, dialogs);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    DataSetModel& model = *grid.dataSetModel();
    const QModelIndex target = model.index(2, model.columnOf(QStringLiteral("Desc")));
    grid.edit(target);
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(t.state(), DataSetState::Edit);
    QCOMPARE(t.bookmark(), model.bookmarkAt(2));
    QVERIFY(nav.button(DBNavigator::Post)->isEnabled());
    editor->setText(QStringLiteral("typed in the grid"));
    nav.button(DBNavigator::Post)->click();
    QCOMPARE(t.state(), DataSetState::Browse);
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB"),
                     QStringLiteral("rowid = %1 AND \"Desc\" = 'typed in the grid'").arg(model.bookmarkAt(2))),
             1);
}

void TestUiKit::navigatorButtons()
{
    Opened o;
    ScriptedDialogs dialogs;
    DBNavigator nav(&o.dm.EffFactorDS, dialogs);
    const QStringList names{"First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Post", "Cancel", "Refresh"};
    const QStringList hints{"First record", "Prior record", "Next record", "Last record", "Insert record",
                            "Delete record", "Edit record", "Post edit", "Cancel edit", "Refresh data"};
    QStringList laidOut, shownHints;
    for (int i = 0; i < nav.layout()->count(); ++i)
        if (auto* b = qobject_cast<QToolButton*>(nav.layout()->itemAt(i)->widget())) {
            laidOut << b->objectName();
            shownHints << b->toolTip();
            QVERIFY(!b->text().isEmpty());
        }
    QCOMPARE(laidOut, names);
    QCOMPARE(shownHints, hints);
    QCOMPARE(nav.findChild<QToolButton*>(QStringLiteral("Post")), nav.button(DBNavigator::Post));

    nav.setVisibleButtons({DBNavigator::First, DBNavigator::Last, DBNavigator::Post});
    QCOMPARE(nav.visibleButtons(), (QList<DBNavigator::Button>{DBNavigator::First, DBNavigator::Last, DBNavigator::Post}));
    QStringList visible;
    for (const QString& n : names)
        if (nav.findChild<QToolButton*>(n)->isVisibleTo(&nav))
            visible << n;
    QCOMPARE(visible, (QStringList{"First", "Last", "Post"}));
}

void TestUiKit::navigatorEnabledStates_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("enabled");
    const QStringList all{"First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Refresh"};
    QTest::newRow("first record") << "EffFactorDS" << "first"
                                  << QStringList{"Next", "Last", "Insert", "Delete", "Edit", "Refresh"};
    QTest::newRow("middle record") << "EffFactorDS" << "next" << all;
    QTest::newRow("last record") << "EffFactorDS" << "last"
                                 << QStringList{"First", "Prior", "Insert", "Delete", "Edit", "Refresh"};
    QTest::newRow("editing") << "EffFactorDS" << "edit"
                             << QStringList{"Next", "Last", "Insert", "Delete", "Post", "Cancel"};
    QTest::newRow("inserting") << "EffFactorDS" << "insert"
                               << QStringList{"First", "Prior", "Next", "Last", "Insert", "Delete", "Post", "Cancel"};
    QTest::newRow("no records") << "MineDS" << "first" << QStringList{"Insert", "Edit", "Refresh"};
    QTest::newRow("closed") << "EffFactorDS" << "close" << QStringList{};
}

void TestUiKit::navigatorEnabledStates()
{
    QFETCH(QString, source);
    QFETCH(QString, step);
    QFETCH(QStringList, enabled);
    Opened o;
    ScriptedDialogs dialogs;
    DataSource* ds = o.dm.dataSourceByName(source);
    DBNavigator nav(ds, dialogs);
    DataSet& view = *ds->dataSet();
    view.first();
    if (step == QLatin1String("next"))
        view.next();
    else if (step == QLatin1String("last"))
        view.last();
    else if (step == QLatin1String("edit"))
        view.edit();
    else if (step == QLatin1String("insert"))
        view.insert();
    else if (step == QLatin1String("close"))
        view.close();
    QCOMPARE(enabledButtons(nav), enabled);
}

void TestUiKit::navigatorPostAndCancel_data()
{
    QTest::addColumn<int>("finish");
    QTest::addColumn<qint64>("written");
    QTest::newRow("post") << int(DBNavigator::Post) << qint64(1);
    QTest::newRow("cancel") << int(DBNavigator::Cancel) << qint64(0);
}

void TestUiKit::navigatorPostAndCancel()
{
    QFETCH(int, finish);
    QFETCH(qint64, written);
    Opened o;
    ScriptedDialogs dialogs;
    Table& t = o.dm.EffFactorT;
    DBNavigator nav(&o.dm.EffFactorDS, dialogs);
    QSignalSpy clicked(&nav, &DBNavigator::clicked);
    nav.button(DBNavigator::Next)->click();
    nav.button(DBNavigator::Edit)->click();
    QCOMPARE(t.state(), DataSetState::Edit);
    const QString before = t.fieldByName(QStringLiteral("Desc")).asString();
    const QString id = t.fieldByName(QStringLiteral("ID")).asString();
    t.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("changed by hand"));
    nav.button(static_cast<DBNavigator::Button>(finish))->click();
    QCOMPARE(t.state(), DataSetState::Browse);
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB"),
                     QStringLiteral("ID = %1 AND \"Desc\" = 'changed by hand'").arg(id)),
             written);
    QCOMPARE(t.fieldByName(QStringLiteral("Desc")).asString(), written ? QStringLiteral("changed by hand") : before);
    QCOMPARE(clicked.size(), 3);
    QCOMPARE(clicked.at(2).at(0).value<DBNavigator::Button>(), static_cast<DBNavigator::Button>(finish));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestUiKit::navigatorDelete_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("confirmed") << true << int(MsgResult::Yes) << true;
    QTest::newRow("refused") << true << int(MsgResult::No) << false;
    QTest::newRow("without asking") << false << int(MsgResult::No) << true;
}

void TestUiKit::navigatorDelete()
{
    QFETCH(bool, confirm);
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    Opened o;
    ScriptedDialogs dialogs;
    dialogs.answers << static_cast<MsgResult>(answer);
    Table& t = o.dm.EffFactorT;
    DBNavigator nav(&o.dm.EffFactorDS, dialogs);
    nav.setConfirmDelete(confirm);
    t.next();
    const QString id = t.fieldByName(QStringLiteral("ID")).asString();
    const qint64 rows = countIn(o.data, QStringLiteral("EffFactor.DB"));
    nav.button(DBNavigator::Delete)->click();
    QCOMPARE(dialogs.shown.size(), confirm ? 1 : 0);
    if (confirm) {
        QCOMPARE(dialogs.shown[0].type, MsgType::Confirmation);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Delete record?"));
        QCOMPARE(dialogs.shown[0].buttons, MsgButtons::YesNo);
    }
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB")), deleted ? rows - 1 : rows);
    QCOMPARE(countIn(o.data, QStringLiteral("EffFactor.DB"), QStringLiteral("ID = ") + id), deleted ? 0 : 1);
}

void TestUiKit::navigatorShowsErrors_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("clicks");
    QTest::newRow("post refused by the table") << "MineDS" << "MINE.DB" << int(DBNavigator::Post) << "Applicant" << 1;
    QTest::newRow("delete refused by a rule") << "EffFactorDS" << "EffFactor.DB" << int(DBNavigator::Delete)
                                              << "factors in use" << 0;
}

// A failing action is shown through the dialogs and leaves the view as it was.
void TestUiKit::navigatorShowsErrors()
{
    QFETCH(QString, source);
    QFETCH(QString, table);
    QFETCH(int, button);
    QFETCH(QString, message);
    QFETCH(int, clicks);
    Opened o;
    ScriptedDialogs dialogs;
    o.dm.EffFactorT.beforeDelete = [](DataSet&) { throw std::runtime_error("factors in use"); };
    DataSource* ds = o.dm.dataSourceByName(source);
    DBNavigator nav(ds, dialogs);
    QSignalSpy clicked(&nav, &DBNavigator::clicked);
    const qint64 rows = countIn(o.data, table);
    if (button == DBNavigator::Post)
        nav.button(DBNavigator::Insert)->click();
    const DataSetState state = ds->dataSet()->state();
    nav.button(static_cast<DBNavigator::Button>(button))->click();
    QVERIFY(!dialogs.shown.isEmpty());
    QCOMPARE(dialogs.shown.last().type, MsgType::Error);
    QVERIFY2(dialogs.shown.last().text.contains(message), qPrintable(dialogs.shown.last().text));
    QCOMPARE(ds->dataSet()->state(), state);
    QCOMPARE(countIn(o.data, table), rows);
    QCOMPARE(clicked.size(), clicks);
}

void TestUiKit::pictureDigits_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QString money = QStringLiteral("$###,###,###,###.##");
    QTest::newRow("max digits") << money << "999999999999.99" << true;
    QTest::newRow("max digits, grouped") << money << "$999,999,999,999.99" << true;
    QTest::newRow("max + 1") << money << "9999999999999" << false;
    QTest::newRow("max + 1, grouped") << money << "9,999,999,999,999" << false;
    QTest::newRow("16 digits") << money << "9999999999999999" << false;
    QTest::newRow("one decimal too many") << money << "12.345" << false;
    QTest::newRow("negative max") << money << "-999999999999.99" << true;
    QTest::newRow("inf") << money << "inf" << false;
    QTest::newRow("NaN") << money << "NaN" << false;
    QTest::newRow("1e200") << money << "1e200" << false;
    QTest::newRow("ungrouped max") << "##########.##" << "9999999999.99" << true;
    QTest::newRow("ungrouped max + 1") << "##########.##" << "99999999999" << false;
    QTest::newRow("percent max") << "###.#%" << "100.5%" << true;
    QTest::newRow("percent max + 1") << "###.#%" << "1000" << false;
}

// A number field takes no more digits than its picture holds, typed or set as text.
void TestUiKit::pictureDigits()
{
    QFETCH(QString, picture);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    const Picture p(picture);
    std::unique_ptr<QValidator> validator(pictureValidator(p, nullptr));
    QString text = typed;
    int pos = 0;
    QCOMPARE(validator->validate(text, pos) == QValidator::Acceptable, accepted);
    double v = 0;
    QCOMPARE(p.parse(typed, &v), accepted);

    // Through a bound money field of a real view: the text goes in only when it fits the picture.
    Opened o;
    ScriptedDialogs dialogs;
    DataSource* ds = o.dm.dataSourceByName(QStringLiteral("DemolDS"));
    QVERIFY(ds);
    DBEdit edit(ds, QStringLiteral("UnitCost"), picture);
    addMine(o.dm, QStringLiteral("Picture Mine"));
    o.dm.ProjectT.insert();
    o.dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).setAsString(QStringLiteral("Pit"));
    o.dm.ProjectT.fieldByName(QStringLiteral("Date")).setAsDate(QDate(2024, 7, 1));
    o.dm.ProjectT.post();
    o.dm.DemolT.insert();
    QTest::keyClicks(&edit, typed);
    const QString shown = edit.text();
    QVERIFY(accepted ? shown == typed : shown != typed);  // the refused keystroke never lands
    edit.setText(typed);                                     // as pasted or set by a program
    edit.binding()->beginEdit();
    bool refused = false;
    try {
        edit.commit();
    } catch (const EDatabaseError& e) {
        refused = true;
        QVERIFY2(e.message().contains(QStringLiteral("UnitCost")), qPrintable(e.message()));
    }
    QCOMPARE(refused, !accepted);
    if (accepted)
        QCOMPARE(o.dm.DemolT.fieldByName(QStringLiteral("UnitCost")).asFloat(), v);
    o.dm.DemolT.cancel();
}

// The messages of computations that run on every read show again only after the
// user pressed a key or a button outside a box.
void TestUiKit::onceMessagesAfterUserAction()
{
    ScriptedDialogs dialogs;
    UserActionWatcher watcher(dialogs);
    qApp->installEventFilter(&watcher);
    QLineEdit window;
    window.show();
    const QString text = QStringLiteral("Error in Loader or Excavator data.  Fix, then re-enter truck!");
    dialogs.errorOnce(text);
    dialogs.errorOnce(text);
    QCOMPARE(dialogs.shown.size(), 1);
    // Closing the box with a key is part of the same action.
    dialogs.whileShown = [&](const ScriptedDialogs::Shown&) { QTest::keyClick(&window, Qt::Key_Return); };
    dialogs.error(QStringLiteral("another box"));
    dialogs.whileShown = nullptr;
    dialogs.errorOnce(text);
    QCOMPARE(dialogs.shown.size(), 2);
    QTest::mouseClick(&window, Qt::LeftButton);  // a new action
    dialogs.errorOnce(text);
    dialogs.errorOnce(text);
    QCOMPARE(dialogs.shown.size(), 3);
    QTest::keyClick(&window, Qt::Key_A);
    dialogs.errorOnce(text);
    QCOMPARE(dialogs.shown.size(), 4);
    qApp->removeEventFilter(&watcher);
}

// Dates as users type them: with "/", "-", "." or blanks between the parts, or digits alone.
void TestUiKit::dateForms_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    const int year = QDate::currentDate().year();
    QTest::newRow("m/d/yyyy") << "7/1/2024" << QDate(2024, 7, 1);
    QTest::newRow("mm/dd/yy") << "07/01/24" << QDate(2024, 7, 1);
    QTest::newRow("dashes") << "7-1-2024" << QDate(2024, 7, 1);
    QTest::newRow("points") << "12.31.1999" << QDate(1999, 12, 31);
    QTest::newRow("blanks") << "7 1 2024" << QDate(2024, 7, 1);
    QTest::newRow("mmddyyyy") << "07012024" << QDate(2024, 7, 1);
    QTest::newRow("mmddyy") << "123199" << QDate(1999, 12, 31);
    QTest::newRow("mmdd: this year") << "0701" << QDate(year, 7, 1);
    QTest::newRow("m/d: this year") << "7/1" << QDate(year, 7, 1);
    QTest::newRow("m/d/: this year") << "7/1/" << QDate(year, 7, 1);
    QTest::newRow("slash: today") << "/" << QDate::currentDate();
    QTest::newRow("no such day") << "13/45/2024" << QDate();
    QTest::newRow("three digits") << "701" << QDate();
    QTest::newRow("three-digit year") << "7/1/202" << QDate();
    QTest::newRow("letters") << "July 1" << QDate();
    QTest::newRow("month alone") << "7" << QDate();
}

void TestUiKit::dateForms()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    bool ok = false;
    QCOMPARE(DBDateEdit::readDate(typed, &ok), date);
    QCOMPARE(ok, date.isValid());
}

// While a date is typed the rest of its mask shows after the text.
void TestUiKit::dateMaskWhileTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("rest");
    QTest::newRow("nothing") << "" << "";
    QTest::newRow("a month digit") << "7" << "M/DD/YYYY";
    QTest::newRow("month and slash") << "7/" << "DD/YYYY";
    QTest::newRow("half a day") << "07/0" << "D/YYYY";
    QTest::newRow("digits alone") << "0701" << "/YYYY";
    QTest::newRow("year begun") << "7/1/20" << "YY";
    QTest::newRow("complete") << "07/01/2024" << "";
    QTest::newRow("today") << "/" << "";
}

void TestUiKit::dateMaskWhileTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, rest);
    QCOMPARE(DBDateEdit::maskRest(typed), rest);
}

// Enter, Return and Space on a side-bar item choose it once and press no default button;
// a double click chooses it once too.
void TestUiKit::sideBarKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("return") << int(Qt::Key_Return) << false;
    QTest::newRow("enter") << int(Qt::Key_Enter) << false;
    QTest::newRow("space") << int(Qt::Key_Space) << false;
    QTest::newRow("double click") << 0 << true;
}

void TestUiKit::sideBarKeys()
{
    QFETCH(int, key);
    QFETCH(bool, doubleClick);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* bar = new SideBar(&dialog);
    bar->addFolder(QStringLiteral("Add"), {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    auto* button = new QPushButton(QStringLiteral("Edit"), &dialog);
    layout->addWidget(bar);
    layout->addWidget(button);
    dialog.show();
    QSignalSpy chosen(bar, &SideBar::itemClicked);
    QSignalSpy pressed(button, &QPushButton::clicked);
    QTreeWidgetItem* item = bar->topLevelItem(0)->child(1);
    bar->setCurrentItem(item);
    bar->setFocus();
    if (doubleClick) {
        const QPoint at = bar->visualItemRect(item).center();
        QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(bar->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(chosen.size(), 1);
    } else {
        QTest::keyClick(bar, static_cast<Qt::Key>(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(chosen.size(), 1);
    }
    QCOMPARE(chosen.first().first().toInt(), 1);
    QCOMPARE(pressed.size(), 0);
}

// Ctrl+Tab turns a notebook with tabs from any of its controls, through its refusals; a
// notebook without tabs leaves the keys to the notebook around it.
void TestUiKit::notebookKeys()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    Notebook outer(&window);
    layout->addWidget(&outer);
    Notebook* inner = new Notebook;
    inner->setTabsVisible(false);
    auto* innerEdit = new QLineEdit;
    inner->addPage(innerEdit, QStringLiteral("Inner 0"));
    inner->addPage(new QLineEdit, QStringLiteral("Inner 1"));
    auto* edit = new QLineEdit;
    outer.addPage(edit, QStringLiteral("First"));
    outer.addPage(inner, QStringLiteral("Second"));
    outer.addPage(new QLineEdit, QStringLiteral("Third"));
    bool refuse = false;
    outer.beforeChange = [&](int, int) { return !refuse; };
    window.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(outer.currentIndex(), 1);
    innerEdit->setFocus();
    QTest::keyClick(innerEdit, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(outer.currentIndex(), 2);
    QCOMPARE(inner->currentIndex(), 0);
    refuse = true;
    QTest::keyClick(outer.page(2), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(outer.currentIndex(), 2);
    refuse = false;
    QTest::keyClick(outer.page(2), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(outer.currentIndex(), 1);
    QTest::keyClick(outer.page(1), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(outer.page(0), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(outer.currentIndex(), 2);  // from the first page back to the last
}

// Buttons and menus get a mnemonic each: free letters of their words first, the same one
// for equal captions, and the ones already given are kept.
void TestUiKit::mnemonics()
{
    QMainWindow window;
    auto* page = new QWidget;
    window.setCentralWidget(page);
    auto* layout = new QVBoxLayout(page);
    QStringList captions{"Post", "Print", "&Cancel", "Post", "Re-calculate After a Change", "Close", "Tools reference"};
    QList<QPushButton*> buttons;
    for (const QString& c : captions)
        layout->addWidget(buttons.emplace_back(new QPushButton(c, page)));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    QAction* copy = file->addAction(QStringLiteral("Copy Record"));
    QAction* calc = file->addAction(QStringLiteral("Calculator"));
    window.menuBar()->addMenu(QStringLiteral("&Tools"));
    Keyboard::assignMnemonics(&window);
    QStringList texts;
    for (QPushButton* b : buttons)
        texts << b->text();
    QCOMPARE(texts, (QStringList{"&Post", "P&rint", "&Cancel", "&Post", "Re-calculate &After a Change", "C&lose",
                                 "T&ools reference"}));  // "t" is the Tools menu's
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(copy->text(), QStringLiteral("&Copy Record"));
    QCOMPARE(calc->text(), QStringLiteral("C&alculator"));
    QCOMPARE(Keyboard::mnemonicOf(QStringLiteral("Profit && Overhead &Fees")), QLatin1Char('f'));
    QCOMPARE(Keyboard::withMnemonic(QStringLiteral("<-- Back")), QStringLiteral("<-- &Back"));
}

// Grid columns take the width of their contents, and the widths the user drags come back
// in the next grid of the same name in the same window's settings section.
void TestUiKit::gridColumnWidths()
{
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Opened o;
    Table& t = o.dm.EffFactorT;
    t.last();
    t.edit();
    t.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("Good conditions, with a long description"));
    t.post();
    int dragged = 0;
    {
        DBGrid grid(&o.dm.EffFactorDS, {QStringLiteral("Desc"), QStringLiteral("Factor")});
        grid.setObjectName(QStringLiteral("EffFactorGrid"));
        grid.keepColumnWidths(QStringLiteral("TTestForm"));
        grid.resize(900, 300);
        grid.show();
        const int need = grid.fontMetrics().horizontalAdvance(t.fieldByName(QStringLiteral("Desc")).asString());
        QVERIFY2(grid.columnWidth(0) >= need, qPrintable(QString::number(grid.columnWidth(0))));
        // The user drags the edge between the first two columns 37 pixels to the right.
        QHeaderView* h = grid.horizontalHeader();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const int edge = h->sectionViewportPosition(1) - 1;
        const int y = h->height() / 2;
        QTest::mousePress(h->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
        QTest::mouseMove(h->viewport(), QPoint(edge + 20, y));
        QTest::mouseMove(h->viewport(), QPoint(edge + 37, y));
        QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, QPoint(edge + 37, y));
        dragged = grid.columnWidth(0);
        QVERIFY2(dragged > need, qPrintable(QString::number(dragged)));
        h->resizeSection(0, dragged + 50);  // the program's own resizing is not kept
    }
    DBGrid again(&o.dm.EffFactorDS, {QStringLiteral("Desc"), QStringLiteral("Factor")});
    again.setObjectName(QStringLiteral("EffFactorGrid"));
    again.keepColumnWidths(QStringLiteral("TTestForm"));
    QCOMPARE(again.columnWidth(0), dragged);
    DBGrid elsewhere(&o.dm.EffFactorDS, {QStringLiteral("Desc"), QStringLiteral("Factor")});
    elsewhere.setObjectName(QStringLiteral("EffFactorGrid"));
    elsewhere.keepColumnWidths(QStringLiteral("TOtherForm"));
    QVERIFY(elsewhere.columnWidth(0) != dragged);
}

// A window kept from a larger screen, or larger than this one, fits the screen's free area.
void TestUiKit::windowFitsScreen()
{
    QWidget window;
    window.setMinimumSize(200, 150);
    window.resize(5000, 4000);
    window.move(9000, 9000);
    WindowSettings::fitScreen(&window);
    const QRect room = window.screen()->availableGeometry().adjusted(0, 0, -WindowSettings::kFrame.width(),
                                                                     -WindowSettings::kFrame.height());
    QCOMPARE(window.size(), room.size());
    QVERIFY(room.contains(QRect(window.pos(), window.size())));
}

QTEST_MAIN(TestUiKit)
#include "tst_uikit.moc"
