#include "CliCommands.h"

#include <algorithm>

namespace {

CliOption opt(const char* name, const char* valueName, const char* description)
{
    return {QString::fromLatin1(name), QString::fromLatin1(valueName), QString::fromLatin1(description)};
}

CliOption json()
{
    return opt("json", "", "prints the result as one JSON object");
}

QList<CliCommand> makeCommands()
{
    QList<CliCommand> c;
    c.append({QStringLiteral("init"), QStringLiteral("DIR"),
              QStringLiteral("Makes a new data directory (DIR/TarvaneData.db) from the table formats and the shipped rows. "
                             "It never writes over an existing data file."),
              {}});
    c.append({QStringLiteral("check"), QStringLiteral("[--data DIR]"),
              QStringLiteral("Opens every table as the desktop program does at start-up and counts the records each view "
                             "shows; a table that does not open is named with the engine's reason (status 1)."),
              {}});
    c.append({QStringLiteral("bond"), QStringLiteral("--mine ID [--project ID] [--json] [--data DIR]"),
              QStringLiteral("The 34-item bond of a mine (all its projects) or of one of its projects."),
              {opt("mine", "ID", "the mine (MineID)"), opt("project", "ID", "one project of the mine (PrjID)"), json()}});
    c.append({QStringLiteral("explain"), QStringLiteral("--mine ID [--project ID] --item N [--depth K] [--json] [--data DIR]"),
              QStringLiteral("Where an item of the bond comes from: the tree of what it is made of, down to the stored "
                             "values, each with its value, its rule with the values put in, and where it is stored."),
              {opt("mine", "ID", "the mine (MineID)"), opt("project", "ID", "one project of the mine (PrjID)"),
               opt("item", "N", "the bond item, 1 to 34"), opt("depth", "K", "levels shown below the item (default all)"),
               opt("json", "", "prints the tree as one JSON object")}});
    c.append({QStringLiteral("compare"), QStringLiteral("--mine A --with B [--json] [--data DIR]"),
              QStringLiteral("Two estimates side by side: the 34 items of both bonds with the difference and the percent, "
                             "then the projects, worksheet rows and machines added, removed or changed, with each changed "
                             "value. Status 0 when they are equal, 1 when they differ, 2 when they cannot be compared."),
              {opt("mine", "A", "the first mine (MineID)"), opt("with", "B", "the mine it is compared with (MineID)"),
               json()}});
    c.append({QStringLiteral("import"),
              QStringLiteral("--from DIR --mine ID [--reference keep|bring] [--dry-run] [--json] [--data DIR]"),
              QStringLiteral("Brings mine ID of the data directory DIR in, with its projects, worksheets, volume sets "
                             "and machines, in one transaction; DIR's data file is opened for reading only. The "
                             "reference rows the estimate names that this file lacks or prices differently are listed "
                             "first; this file's are kept unless --reference bring."),
              {opt("from", "DIR", "the other data directory"), opt("mine", "ID", "the mine there (MineID)"),
               opt("reference", "keep|bring", "keep this file's reference rows (the default) or bring the estimate's in"),
               opt("dry-run", "", "lists what differs and writes nothing"), json()}});
    c.append({QStringLiteral("reprice"),
              QStringLiteral("--mine ID [--index N [--index-date DATE]] [--index5 N [--index5-date DATE]] [--json]\n"
                             "                          [--data DIR]"),
              QStringLiteral("A copy of the mine whose machines take the newest equipment and labor costs of the "
                             "reference data and whose current cost index is N dated DATE (default: the newest index "
                             "a mine of this file records, dated today), then the comparison of the two. Machines whose "
                             "model or labor rate is not in the reference data keep their stored cost and are listed."),
              {opt("mine", "ID", "the mine (MineID)"), opt("index", "N", "the current cost index"),
               opt("index-date", "DATE", "its date, YYYY-MM-DD (default today)"),
               opt("index5", "N", "the cost index five years earlier (default: the mine's)"),
               opt("index5-date", "DATE", "its date, YYYY-MM-DD"), json()}});
    c.append({QStringLiteral("server"),
              QStringLiteral("(init URI | push --data DIR URI | pull URI --to DIR | check URI)"),
              QStringLiteral("The team database on a PostgreSQL server, named by a postgresql:// URI or a service of "
                             "pg_service.conf (passwords from ~/.pgpass): init makes its tables, roles and shipped rows; "
                             "push copies a whole data file into an empty server database, pull makes a new data "
                             "directory from one, each in one transaction and checked row for row; check opens every "
                             "table as check does for a data file."),
              {opt("to", "DIR", "the new data directory pulled into")}});
    c.append({QStringLiteral("totals"), QStringLiteral("--project ID [--json] [--data DIR]"),
              QStringLiteral("The project's demolition, earthmoving, revegetation and other totals."),
              {opt("project", "ID", "the project (PrjID)"), json()}});
    c.append({QStringLiteral("hours"), QStringLiteral("--plan ID [--json] [--data DIR]"),
              QStringLiteral("The hours of one equipment row with every named result."),
              {opt("plan", "ID", "the equipment row (PlanID)"), json()}});
    c.append({QStringLiteral("report"),
              QStringLiteral("--mine ID [--project ID] [--choice N] [--detail] [--sheet SHEETID]\n"
                             "                          [--plan PLANID] [--paper NAME] (--pdf FILE | --text FILE) [--data DIR]"),
              QStringLiteral("Prints the report of choice N (0 the entire mine report, 1 the mine summary, 2 the project, "
                             "3 to 8 demolition, earthmoving and revegetation with their equipment, 9 other costs) as a "
                             "PDF or a text file."),
              {opt("mine", "ID", "the mine (MineID)"), opt("project", "ID", "the project (PrjID)"),
               opt("choice", "N", "the report choice, 0 to 9 (default 0)"),
               opt("detail", "", "the page and all pages below it, or all items"),
               opt("sheet", "SHEETID", "the worksheet row of choices 3 to 9"),
               opt("plan", "PLANID", "that equipment row's productivity worksheet alone"),
               opt("paper", "NAME", "Letter (default), Legal, Tabloid, Executive, A4, A3 or A5"),
               opt("pdf", "FILE", "writes a PDF file"), opt("text", "FILE", "writes a text file")}});
    c.append({QStringLiteral("generate"), QStringLiteral("--projects P --sheets S --equipment E [--seed N] [--data DIR]"),
              QStringLiteral("Adds a synthetic mine, all of it or (when interrupted) none of it."),
              {opt("projects", "P", "projects of the mine"), opt("sheets", "S", "worksheets of each project"),
               opt("equipment", "E", "equipment rows of each worksheet"), opt("seed", "N", "the random seed (default 1)")}});
    c.append({QStringLiteral("delete"),
              QStringLiteral("(--mine ID | --project ID | --sheet D|M|R|O:SHEETID | --plan ID) [--yes]\n"
                             "                          [--data DIR]"),
              QStringLiteral("Deletes one mine, project, worksheet or equipment row through the same views and table rules "
                             "as the windows, with their cascades, in one transaction."),
              {opt("mine", "ID", "a mine"), opt("project", "ID", "a project"),
               opt("sheet", "D|M|R|O:SHEETID", "a worksheet: its kind letter and SheetID"),
               opt("plan", "ID", "an equipment row"),
               opt("yes", "", "answers Yes to \"Do You Really Want to DELETE a Mine?\"")}});
    c.append({QStringLiteral("trucks"),
              QStringLiteral("--volume V (--loader --haul H --return R | --excavator) --cycle C --bucket B\n"
                             "                          --fill F --loader-eff E --truck-cap T --truck-haul H --truck-return R "
                             "--dump D\n"
                             "                          --truck-eff E --truck-labor X --truck-equip X --loader-labor X "
                             "--loader-equip X\n"
                             "                          --trucks N [--json]"),
              QStringLiteral("The truck calculator's \"Calculate Total Cost\": the total cost with N trucks and the cheapest "
                             "number of trucks with its cost. It reads no data."),
              {opt("volume", "V", "the volume to move"), opt("loader", "", "trucks loaded by a loader"),
               opt("excavator", "", "trucks loaded by an excavator"), opt("haul", "H", "the loader's haul time"),
               opt("return", "R", "the loader's return time"), opt("cycle", "C", "the basic cycle time"),
               opt("bucket", "B", "the heaped bucket capacity"), opt("fill", "F", "the bucket fill factor"),
               opt("loader-eff", "E", "the loader's efficiency factor: .92, .83, .75 or .67"),
               opt("truck-cap", "T", "the truck capacity"), opt("truck-haul", "H", "the truck's haul time"),
               opt("truck-return", "R", "the truck's return time"), opt("dump", "D", "the truck's dump time"),
               opt("truck-eff", "E", "the truck's efficiency factor: .92, .83, .75 or .67"),
               opt("truck-labor", "X", "the truck's labor cost per hour"),
               opt("truck-equip", "X", "the truck's equipment cost per hour"),
               opt("loader-labor", "X", "the loader's labor cost per hour"),
               opt("loader-equip", "X", "the loader's equipment cost per hour"),
               opt("trucks", "N", "the number of trucks, 1 to 999"), json()}});
    c.append({QStringLiteral("volume"), QStringLiteral("--project ID [--set CROSSID] [--json] [--data DIR]"),
              QStringLiteral("The volume sets of a project (or the one named) with each cross section's volume and the "
                             "set's total."),
              {opt("project", "ID", "the project (PrjID)"), opt("set", "CROSSID", "one volume set"), json()}});
    c.append({QStringLiteral("copy"), QStringLiteral("--mine ID [--log FILE] [--json] [--data DIR]"),
              QStringLiteral("The copy of a mine's bond by the same code as the copy window; prints the new MineID and the "
                             "copy log."),
              {opt("mine", "ID", "the mine to copy"), opt("log", "FILE", "also writes the copy log to a text file"),
               json()}});
    c.append({QStringLiteral("log"), QStringLiteral("[--mine NAME] [--json] [--data DIR]"),
              QStringLiteral("The event log of mines, oldest first."),
              {opt("mine", "NAME", "only the entries of the mine whose applicant is NAME"), json()}});
    c.append({QStringLiteral("backup"), QStringLiteral("--to FILE [--data DIR]"),
              QStringLiteral("Writes a consistent copy of the data file while it is in use. The copy is never written over "
                             "the live data file or its -wal, -shm or -journal file. Named DIR/TarvaneData.db, the copy "
                             "opens with --data DIR."),
              {opt("to", "FILE", "the copy to write")}});
    c.append({QStringLiteral("export"), QStringLiteral("--mine ID [--project ID] (--xlsx FILE | --csv DIR) [--data DIR]"),
              QStringLiteral("The workbook of a mine or of one of its projects: the bond, the projects' totals, every "
                             "worksheet row and every machine, as an XLSX file or as CSV files, one per sheet."),
              {opt("mine", "ID", "the mine (MineID)"), opt("project", "ID", "one project of the mine (PrjID)"),
               opt("xlsx", "FILE", "writes an XLSX workbook"), opt("csv", "DIR", "writes one CSV file per sheet into DIR")}});
    c.append({QStringLiteral("refdata"), QStringLiteral("(export DIR | import DIR [--dry-run]) [--data DIR]"),
              QStringLiteral("The reference tables (equipment-cost handbook, labor rates, efficiency factors, fee tables, "
                             "equipment kinds) as CSV files, one per table. Import checks every row, refuses the whole "
                             "import when a row is bad, lists what it adds, changes and leaves, and applies it in one "
                             "transaction."),
              {opt("dry-run", "", "lists what the import would do and changes nothing")}});
    c.append({QStringLiteral("help"), QStringLiteral("--context N [--format html|win] [--help-dir DIR]"),
              QStringLiteral("Prints the title and text of the help topic that context number N opens, from the "
                             "program's help files (the compiled help, or with --format win the plain help folder)."),
              {opt("context", "N", "the context number of the topic"),
               opt("format", "html|win", "the help format to read (default html)"),
               opt("help-dir", "DIR", "the folder of the help files (default: the program's own)")}});
    return c;
}

// The text in lines of at most `width` characters, broken between words.
QString wrapped(const QString& text, int width)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(QLatin1Char('\n'));
}

QString optionLine(const CliOption& o)
{
    return QStringLiteral("--") + o.name + (o.valueName.isEmpty() ? QString() : QLatin1Char(' ') + o.valueName);
}

}  // namespace

const QList<CliCommand>& cliCommands()
{
    static const QList<CliCommand> commands = makeCommands();
    return commands;
}

const CliCommand* findCliCommand(const QString& name)
{
    const auto& all = cliCommands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const CliCommand& c) { return c.name == name; });
    return it == all.end() ? nullptr : &*it;
}

CliOption dataDirOption()
{
    return opt("data", "DIR", "the data directory (default: the directory of the TarvaneDB alias)");
}

QString cliUsage()
{
    QString text;
    bool firstLine = true;
    for (const CliCommand& c : cliCommands()) {
        text += (firstLine ? QStringLiteral("usage: ") : QStringLiteral("       ")) + QStringLiteral("tarvane-cli ") +
                c.name + QLatin1Char(' ') + c.synopsis + QLatin1Char('\n');
        firstLine = false;
    }
    text += QStringLiteral("       tarvane-cli --help | --version | COMMAND --help\n");
    return text;
}

QString cliHelp()
{
    return cliUsage() +
           QStringLiteral("\nBatch use of Tarvane's data module and rules. Every command takes --data DIR, before or\n"
                          "after the command (default: the directory of the TarvaneDB alias). Messages go to standard\n"
                          "error as \"error: \", \"warning: \" and \"information: \" lines.\n"
                          "\nExit status: 0 success, 1 a refused or failed operation, 2 a usage error, 3 written but incomplete.\n");
}

QString cliCommandHelp(const CliCommand& command)
{
    QList<CliOption> options = command.options;
    if (command.name != QLatin1String("init") && command.name != QLatin1String("trucks") &&
        command.name != QLatin1String("help"))
        options << dataDirOption();
    options << opt("help", "", "shows this help");
    qsizetype width = 0;
    for (const CliOption& o : options)
        width = std::max(width, optionLine(o).size());
    QString text = QStringLiteral("usage: tarvane-cli ") + command.name + QLatin1Char(' ') + command.synopsis +
                   QStringLiteral("\n\n") + wrapped(command.description, 78) + QStringLiteral("\n\nOptions:\n");
    for (const CliOption& o : options)
        text += QStringLiteral("  ") + optionLine(o).leftJustified(width + 2) + o.description + QLatin1Char('\n');
    text += QStringLiteral("\nExit status: 0 success, 1 a refused or failed operation, 2 a usage error, 3 written but incomplete.\n");
    return text;
}
