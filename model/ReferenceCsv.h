#pragma once
// The yearly update of the reference tables (equipment-cost handbook, labor
// rates, efficiency factors, fee tables, equipment kinds) as CSV files, one per
// table, named after the table (HCOMPANY.csv, LaborCost.csv, ...), with a header
// row of its field names.
//
// An import reads every file the directory holds, checks every row (the field
// types, sizes and required fields of the table format, a key given once, the link
// of a child row to a parent row in the table or in the parent's file) and is
// refused whole when any row is bad. A good import is a plan first: each row of a
// file adds a row (its key is not in the table), changes one (its key is, with other
// values) or leaves one as it is; rows of a table that its file does not hold stay.
// Applying the plan writes through views of the data file in one transaction. New
// rows of a table with an auto-increment key take new keys, and the child rows of
// the import that named the file's key are linked to the new one. Equipment rows
// keep the costs they were priced with: they are not reference rows.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class Database;

// The reference tables, parents before their children.
QStringList referenceTableNames();
QString referenceCsvFileName(const QString& tableName);

// Writes one CSV file per reference table into `directory` (made when missing);
// returns the files written. Refuses a path that is the data file or the engine's
// configuration, as every output does.
// `tables`: the tables to write, in the order of referenceTableNames().
QStringList exportReferenceData(Database& db, const QString& directory, const QStringList& tables = referenceTableNames());

class ReferenceImport {
public:
    // Reads and checks the files of `directory` for `tables`; nothing is written.
    ReferenceImport(Database& db, const QString& directory, const QStringList& tables = referenceTableNames());

    // "FILE line N: reason" for every bad row (and a file that cannot be read); the
    // import cannot be applied while there is one.
    const QStringList& errors() const { return errors_; }
    bool ok() const { return errors_.isEmpty() && !tables_.isEmpty(); }
    // The message of an import refused: what was not imported, then every error.
    QString refusal() const;
    // The plan as lines: per table what is added, changed and left, then each row added
    // or changed with its line and, for a change, the values before and after. With
    // `rowLimit` >= 0 the rows are listed only when there are no more than that many.
    QStringList plan(int rowLimit = -1) const;
    int added() const;
    int changed() const;
    // What an applied import did: "Imported: N rows added, M rows changed".
    QString outcome() const;
    // Writes the plan in one transaction; throws EDatabaseError when the import is not ok.
    void apply();

    enum class Action { Add, Change, Leave };
    struct Row {
        int line = 0;
        QVector<QVariant> values;  // canonical values, in the format's field order
        Action action = Action::Add;
        QStringList differences;   // of a change: "Field: before -> after"
    };
    struct TableImport {
        QString table;
        QString file;
        QList<Row> rows;
        int kept = 0;  // rows of the table its file does not hold
    };

private:
    void readTable(const QString& table, const QString& path);

    Database& db_;
    QString directory_;
    QList<TableImport> tables_;
    QStringList errors_;
    // The keys of each table's file rows and of its stored rows, for the links of child rows.
    QMap<QString, QList<QVariant>> fileKeys_, storedKeys_;
};
