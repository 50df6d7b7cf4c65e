#pragma once
// Whole data files moved between an SQLite data file and the team database, each way in
// one transaction and checked afterwards row for row: a value the other side cannot keep
// exactly (money beyond four decimals, a stored text that is no date) stops the move with
// its table, key and field named, and nothing is written.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class ServerConnection;
class SourceDataFile;

struct TransferCount {
    QString table;
    qint64 rows = 0;
};

// Creates the tables, the roles and the shipped rows (those of a new data directory) in a
// server database that holds no Tarvane table yet.
QList<TransferCount> initServer(ServerConnection& server);
// Copies every row of the data file into a server database without Tarvane rows (its
// tables are made when missing).
QList<TransferCount> pushToServer(SourceDataFile& source, ServerConnection& server);
// Makes a new data directory DIR (its data file must not exist) from the server's rows.
QList<TransferCount> pullFromServer(ServerConnection& server, const QString& directory);

// What `check` is for a server: each table with its row count, or what is wrong with it.
struct ServerCheck {
    QList<TransferCount> tables;
    QStringList problems;
};
ServerCheck checkServer(ServerConnection& server);
