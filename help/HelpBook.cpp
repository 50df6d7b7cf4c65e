#include "HelpBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QStandardPaths>
#include <QDateTime>
#include <QTextDocument>

const QString HelpBook::kContents = QStringLiteral("index.html");
const QString HelpBook::kHelpOnHelp = QStringLiteral("using-help.html");
const QString kHelpNamespace = QStringLiteral("com.veskor.tarvane");

namespace {

class FolderBook : public HelpBook {
public:
    explicit FolderBook(const QString& folder) : HelpBook(HelpFormat::WinHelp, folder) {}
    QUrl urlOf(const QString& page) const override { return QUrl::fromLocalFile(file() + QLatin1Char('/') + page); }
    QByteArray data(const QString& page) override
    {
        if (page.contains(QLatin1String("..")))
            return {};
        QFile f(file() + QLatin1Char('/') + page);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

protected:
    QString openError() override
    {
        if (!QFileInfo(file()).isDir() || !QFileInfo::exists(file() + QLatin1Char('/') + kContents))
            return missingFileText(file());
        return {};
    }
};

class CompiledBook : public HelpBook {
public:
    explicit CompiledBook(const QString& qch) : HelpBook(HelpFormat::HtmlHelp, qch) {}
    QUrl urlOf(const QString& page) const override
    {
        return QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(kHelpNamespace, page));
    }
    QByteArray data(const QString& page) override
    {
        if (!engine_)
            return {};
        return engine_->fileData(urlOf(page));
    }

protected:
    QString openError() override
    {
        QString error;
        const QString collection = prepareHelpCollection(file(), error);
        if (collection.isEmpty())
            return error;
        engine_ = std::make_unique<QHelpEngineCore>(collection);
        if (!engine_->setupData()) {
            error = QStringLiteral("Cannot open the help file %1: %2").arg(QDir::toNativeSeparators(file()), engine_->error());
            engine_.reset();
        }
        return error;
    }

private:
    std::unique_ptr<QHelpEngineCore> engine_;
};

QString cacheFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir + QStringLiteral("/help")))
        dir = QDir::tempPath() + QStringLiteral("/tarvane-help-") + qEnvironmentVariable("USER");
    QDir().mkpath(dir + QStringLiteral("/help"));
    return dir + QStringLiteral("/help");
}

}  // namespace

QString prepareHelpCollection(const QString& qch, QString& error)
{
    const QFileInfo info(qch);
    if (!info.isFile()) {
        error = HelpBook::missingFileText(qch);
        return {};
    }
    const QString ns = QHelpEngineCore::namespaceName(info.absoluteFilePath());
    if (ns.isEmpty()) {
        error = QStringLiteral("The help file %1 is damaged or is not a help file.").arg(QDir::toNativeSeparators(qch));
        return {};
    }
    // One collection per help file, so two installations never share one.
    const QString collection = cacheFolder() + QStringLiteral("/Tarvane-%1.qhc")
                                                   .arg(qHash(info.absoluteFilePath()), 8, 16, QLatin1Char('0'));
    const QString shipped = info.absolutePath() + QStringLiteral("/Tarvane.qhc");
    if (!QFileInfo::exists(collection) && QFileInfo::exists(shipped))
        QFile::copy(shipped, collection);
    QFile::setPermissions(collection, QFile::ReadOwner | QFile::WriteOwner);
    QHelpEngineCore engine(collection);
    if (!engine.setupData()) {
        error = QStringLiteral("Cannot open the help collection %1: %2").arg(QDir::toNativeSeparators(collection), engine.error());
        return {};
    }
    // The collection keeps its own list of the help file's pages: a help file that was
    // replaced (a new version of the program) is registered again, or its pages would not be found.
    const QString stamp = QStringLiteral("%1 %2 %3")
                              .arg(info.absoluteFilePath())
                              .arg(info.lastModified().toMSecsSinceEpoch())
                              .arg(info.size());
    const bool current = engine.customValue(QStringLiteral("TarvaneHelpFile")).toString() == stamp;
    for (const QString& registered : engine.registeredDocumentations())
        if (!current || engine.documentationFileName(registered) != info.absoluteFilePath())
            engine.unregisterDocumentation(registered);
    if (!engine.registeredDocumentations().contains(ns) && !engine.registerDocumentation(info.absoluteFilePath())) {
        error = QStringLiteral("Cannot open the help file %1: %2").arg(QDir::toNativeSeparators(qch), engine.error());
        return {};
    }
    engine.setCustomValue(QStringLiteral("TarvaneHelpFile"), stamp);
    return collection;
}

std::unique_ptr<HelpBook> HelpBook::open(HelpFormat format, const QString& file)
{
    if (format == HelpFormat::WinHelp)
        return std::make_unique<FolderBook>(file);
    return std::make_unique<CompiledBook>(file);
}

HelpBook::~HelpBook() = default;

void HelpBook::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    error_ = openError();
    if (!error_.isEmpty())
        return;
    // contexts.txt: "number<TAB>page<TAB>title" per line.
    for (const QString& line : QString::fromUtf8(data(QStringLiteral("contexts.txt"))).split(QLatin1Char('\n'))) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int n = parts.value(0).toInt(&ok);
        if (ok && parts.size() >= 3)
            topics_.insert(n, Topic{parts[1], parts[2]});
    }
    // CSHelp.txt: ".topic N" followed by its text, up to the next ".topic".
    int current = 0;
    for (const QString& line : QString::fromUtf8(data(QStringLiteral("CSHelp.txt"))).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(".topic "))) {
            current = line.mid(7).trimmed().toInt();
            continue;
        }
        if (current > 0 && !line.trimmed().isEmpty()) {
            QString& text = popups_[current];
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + line.trimmed();
        }
    }
    if (topics_.isEmpty())
        error_ = QStringLiteral("The help file %1 has no topics.").arg(QDir::toNativeSeparators(file_));
}

QString HelpBook::error()
{
    load();
    return error_;
}

HelpBook::Topic HelpBook::topicFor(int context)
{
    load();
    return topics_.value(context);
}

QString HelpBook::popupFor(int context)
{
    load();
    return popups_.value(context);
}

QString HelpBook::noTopicText(int context) const
{
    return QStringLiteral("The help file %1 has no topic for context number %2.").arg(QDir::toNativeSeparators(file_)).arg(context);
}

QString HelpBook::missingFileText(const QString& file)
{
    return QStringLiteral("Cannot find the help file %1.").arg(QDir::toNativeSeparators(file));
}

QString HelpBook::plainText(const QString& page)
{
    load();
    QString html = QString::fromUtf8(data(page));
    const int from = html.indexOf(QLatin1String("<!-- topic -->"));
    const int to = html.indexOf(QLatin1String("<!-- /topic -->"));
    if (from >= 0 && to > from)
        html = html.mid(from, to - from);
    QTextDocument doc;
    doc.setHtml(html);
    // Pictures have no text: their place holders go.
    return doc.toPlainText().remove(QChar::ObjectReplacementCharacter).trimmed();
}
