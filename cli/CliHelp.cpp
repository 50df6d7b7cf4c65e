#include "CliHelp.h"

#include "CliArgs.h"
#include "HelpBook.h"
#include "Dialogs.h"
#include "EDatabaseError.h"

#include <QCoreApplication>
#include <QTextStream>

int cmdHelp(QStringList args, Dialogs& dialogs)
{
    takeOption(args, QStringLiteral("--data"));  // help reads no data
    const int context = takeNumber(args, QStringLiteral("--context"), true);
    const QString format = takeOption(args, QStringLiteral("--format"));
    QString dir = takeOption(args, QStringLiteral("--help-dir"));
    if (!args.isEmpty())
        throw CliUsageError(QStringLiteral("help does not take '%1'").arg(args.join(QLatin1Char(' '))));
    HelpFormat f = HelpFormat::HtmlHelp;
    if (format == QLatin1String("win"))
        f = HelpFormat::WinHelp;
    else if (!format.isEmpty() && format != QLatin1String("html"))
        throw CliUsageError(QStringLiteral("--format is html or win, not %1").arg(format));
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    const QString file = dir + QLatin1Char('/') + HelpBook::fileName(f);
    const auto book = HelpBook::open(f, file);
    if (const QString error = book->error(); !error.isEmpty()) {
        dialogs.error(error);
        return 1;
    }
    const HelpBook::Topic topic = book->topicFor(context);
    if (topic.page.isEmpty()) {
        dialogs.error(book->noTopicText(context));
        return 1;
    }
    QTextStream out(stdout);
    out << topic.title << Qt::endl << QString(topic.title.size(), QLatin1Char('=')) << Qt::endl << Qt::endl
        << book->plainText(topic.page) << Qt::endl;
    return 0;
}
