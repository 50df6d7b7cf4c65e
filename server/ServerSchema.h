#pragma once
// The tables of the team database, made from the same table formats as the data
// file: the same (quoted) table and column names, the types mapped (money as
// numeric(19,4), dates as date and timestamp, yes/no as boolean, keys as identity
// columns), the indexes, and a row version on every table. And the three roles
// of its users with what each may read and write.
#include "TableFormat.h"

#include <QList>
#include <QString>
#include <QStringList>

class ServerConnection;

// The server's own key of a table that has none (its rows' order in the data file).
inline constexpr const char* kServerRowId = "tarvane_rowid";

QString serverType(const FieldDef& field);
// CREATE TABLE and CREATE INDEX statements of one table.
QStringList serverTableStatements(const TableFormat& format);

// The tables whose rows are a mine's estimate (and the event log), and the reference tables.
bool isEstimateTable(const TableFormat& format);

// The roles of the team database and their grants: tarvane_estimator reads everything and
// writes the estimates, tarvane_reviewer reads everything and writes only the event log,
// tarvane_admin also writes the reference data. Roles that exist are kept.
QStringList serverRoleStatements(const QList<TableFormat>& formats);
QStringList serverRoles();

// Which of the formats' tables the server database already holds.
QStringList serverTablesPresent(ServerConnection& server, const QList<TableFormat>& formats);
