#include "CliParser.h"

#include "CliCommands.h"
#include "Version.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {

const QString kProgram = QStringLiteral("tarvane-cli");

}  // namespace

int reportUsageError(const QString& text, const QString& command)
{
    const QString hint = command.isEmpty() ? kProgram + QStringLiteral(" --help")
                                           : kProgram + QLatin1Char(' ') + command + QStringLiteral(" --help");
    std::fprintf(stderr, "%s: %s\nTry '%s' for more.\n", qPrintable(kProgram), qPrintable(text), qPrintable(hint));
    return 2;
}

namespace {

int usageError(const QString& text, const QString& command = QString())
{
    return reportUsageError(text, command);
}

int printed(const QString& text)
{
    std::fputs(qPrintable(text), stdout);
    std::fflush(stdout);
    return 0;
}

QCommandLineOption toOption(const CliOption& o)
{
    return o.valueName.isEmpty() ? QCommandLineOption(o.name, o.description)
                                 : QCommandLineOption(o.name, o.description, o.valueName);
}

const QCommandLineOption& helpOption()
{
    static const QCommandLineOption o({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("shows the help"));
    return o;
}

// The words after the command with each "--name=value" split in two.
QStringList commandWords(const QStringList& words, const QList<CliOption>& options)
{
    const auto takesValue = [&](const QString& name) {
        for (const CliOption& o : options)
            if (o.name == name)
                return !o.valueName.isEmpty();
        return false;
    };
    QStringList out;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w == QLatin1String("--"))
            continue;
        if (!w.startsWith(QLatin1String("--"))) {
            out << w;
            continue;
        }
        const qsizetype eq = w.indexOf(QLatin1Char('='));
        const QString name = w.mid(2, eq < 0 ? -1 : eq - 2);
        if (eq >= 0) {
            out << w.left(eq) << w.mid(eq + 1);
        } else {
            out << w;
            if (takesValue(name) && i + 1 < words.size())
                out << words[++i];
        }
    }
    return out;
}

}  // namespace

std::variant<int, ParsedCommand> parseCommandLine(const QStringList& args)
{
    // What comes before the command: --help, --version, --data DIR; the command and
    // everything after it are positional here.
    QCommandLineParser global;
    global.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("the version"));
    const QCommandLineOption data = toOption(dataDirOption());
    global.addOptions({helpOption(), version, data});
    global.addPositionalArgument(QStringLiteral("command"), QStringLiteral("the command to run"));
    if (!global.parse(QStringList{kProgram} + args))
        return usageError(global.errorText());
    if (global.isSet(helpOption()))
        return printed(cliHelp());
    if (global.isSet(version))
        return printed(kProgram + QLatin1Char(' ') + QLatin1String(kTarvaneVersion) + QLatin1Char('\n'));
    const QStringList positional = global.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const CliCommand* command = findCliCommand(positional.first());
    if (!command)
        return usageError(QStringLiteral("unknown command '%1'").arg(positional.first()));

    // The command's own options, checked by a parser that knows only them.
    QList<CliOption> options = command->options;
    const bool takesData = command->name != QLatin1String("init");
    if (takesData)
        options << dataDirOption();
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CliOption& o : options)
        parser.addOption(toOption(o));
    parser.addOption(helpOption());
    const QStringList words = positional.mid(1);
    if (!parser.parse(QStringList{kProgram} + words))
        return usageError(parser.errorText(), command->name);
    if (parser.isSet(helpOption()))
        return printed(cliCommandHelp(*command));
    if (global.isSet(data) && !takesData)
        return usageError(QStringLiteral("%1 does not take --data").arg(command->name), command->name);

    ParsedCommand result{command->name, commandWords(words, options)};
    if (global.isSet(data) && !parser.isSet(QStringLiteral("data")))
        result.args << QStringLiteral("--data") << global.value(data);
    return result;
}

QString commandOfCommandLine(const QStringList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& w = args[i];
        if (w == QLatin1String("--data") || w == QLatin1String("-data"))
            ++i;
        else if (!w.startsWith(QLatin1Char('-')))
            return w;
    }
    return {};
}
