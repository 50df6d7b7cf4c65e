#include "HelpBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QTextDocument>
#include <sqlite3.h>

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

// The compiled help read as the database it is: its pages, compressed, by name in
// the folder "doc" of its namespace. Opened read-only, so that no collection (and no
// help viewer) is needed to read a topic.
class CompiledBook : public HelpBook {
public:
    explicit CompiledBook(const QString& qch) : HelpBook(HelpFormat::HtmlHelp, qch) {}
    ~CompiledBook() override
    {
        if (db_)
            sqlite3_close(db_);
    }
    QUrl urlOf(const QString& page) const override
    {
        return QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(kHelpNamespace, page));
    }
    QByteArray data(const QString& page) override
    {
        if (!db_)
            return {};
        sqlite3_stmt* st = nullptr;
        const char* sql = "SELECT d.Data FROM FileNameTable n JOIN FolderTable f ON f.Id = n.FolderId "
                          "JOIN FileDataTable d ON d.Id = n.FileId WHERE f.Name = 'doc' AND n.Name = ?1";
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            return {};
        const QByteArray name = page.toUtf8();
        sqlite3_bind_text(st, 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        QByteArray out;
        if (sqlite3_step(st) == SQLITE_ROW) {
            const auto* bytes = static_cast<const uchar*>(sqlite3_column_blob(st, 0));
            out = qUncompress(bytes, sqlite3_column_bytes(st, 0));
        }
        sqlite3_finalize(st);
        return out;
    }

protected:
    QString openError() override
    {
        const QFileInfo info(file());
        if (!info.isFile())
            return missingFileText(file());
        const QString damaged =
            QStringLiteral("The help file %1 is damaged or is not a help file.").arg(QDir::toNativeSeparators(file()));
        const QByteArray path = info.absoluteFilePath().toUtf8();
        if (sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            return damaged;
        }
        sqlite3_stmt* st = nullptr;
        bool named = false;
        if (sqlite3_prepare_v2(db_, "SELECT Name FROM NamespaceTable", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            named = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == kHelpNamespace;
        sqlite3_finalize(st);
        if (!named) {
            sqlite3_close(db_);
            db_ = nullptr;
            return damaged;
        }
        return {};
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

QString HelpBook::fileName(HelpFormat format)
{
    return format == HelpFormat::WinHelp ? QStringLiteral("Tarvane-html") : QStringLiteral("Tarvane.qch");
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
