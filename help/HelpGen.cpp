// tarvane-helpgen: builds the two help formats from the topic sources.
//
//   tarvane-helpgen SOURCES OUT
//
// SOURCES holds contents.txt, topics/*.html and images/*.png (see README.md).
// Writes OUT/Tarvane-html/ (one page per topic, index.html with the contents and
// the index, style.css, images/, contexts.txt mapping context numbers to pages,
// CSHelp.txt with the "What's this?" texts, and Tarvane.qhp, the project that
// qhelpgenerator compiles into Tarvane.qch) and OUT/Tarvane.qhcp (the collection
// project of Tarvane.qhc). Any fault in the sources (a topic missing from the
// contents, a context number given twice, a link or picture that leads nowhere)
// is reported and fails the build, so a broken manual never ships.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSize>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

const QString kNamespace = QStringLiteral("com.veskor.tarvane");

struct Topic {
    QString name;  // file stem, also the page's name without ".html"
    QString title;
    QList<int> contexts;
    QStringList keywords;
    QString popup;
    QString body;
    bool heading = false;
};

struct Entry {
    int level = 0;
    QString name;  // topic name, or the generated page of a heading
    std::vector<int> children;
    int parent = -1;
};

QStringList errors;

void fail(const QString& text)
{
    errors << text;
}

QString readText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(QStringLiteral("cannot read %1").arg(path));
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

bool writeText(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0) {
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

QString escaped(const QString& s)
{
    return s.toHtmlEscaped();
}

// The header comment: "key: value" lines; an indented line continues the value before it.
Topic readTopic(const QString& path)
{
    Topic t;
    t.name = QFileInfo(path).completeBaseName();
    const QString text = readText(path);
    const int open = text.indexOf(QLatin1String("<!--"));
    const int close = text.indexOf(QLatin1String("-->"), open + 4);
    if (open < 0 || close < 0 || !text.left(open).trimmed().isEmpty()) {
        fail(QStringLiteral("%1: the topic must start with its header comment").arg(path));
        return t;
    }
    QString key;
    QMap<QString, QString> values;
    for (const QString& line : text.mid(open + 4, close - open - 4).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        if (line.front().isSpace() && !key.isEmpty()) {
            values[key] += QLatin1Char(' ') + line.trimmed();
            continue;
        }
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            fail(QStringLiteral("%1: header line without a key: %2").arg(path, line));
            continue;
        }
        key = line.left(colon).trimmed();
        values[key] = line.mid(colon + 1).trimmed();
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (!QStringList{"title", "context", "keywords", "popup"}.contains(it.key()))
            fail(QStringLiteral("%1: unknown header key %2").arg(path, it.key()));
    t.title = values.value(QStringLiteral("title"));
    if (t.title.isEmpty())
        fail(QStringLiteral("%1: no title").arg(path));
    const QString contexts = values.value(QStringLiteral("context"));
    if (!contexts.isEmpty())
        for (const QString& c : contexts.split(QLatin1Char(','))) {
            bool ok = false;
            const int n = c.trimmed().toInt(&ok);
            if (!ok || n <= 0)
                fail(QStringLiteral("%1: context %2 is not a positive number").arg(path, c));
            else
                t.contexts << n;
        }
    for (const QString& k : values.value(QStringLiteral("keywords")).split(QLatin1Char(';')))
        if (!k.trimmed().isEmpty())
            t.keywords << k.trimmed();
    t.popup = values.value(QStringLiteral("popup"));
    if (!t.contexts.isEmpty() && t.popup.isEmpty())
        fail(QStringLiteral("%1: a topic with a context number needs a popup text").arg(path));
    t.body = text.mid(close + 3).trimmed();
    if (t.body.isEmpty())
        fail(QStringLiteral("%1: the topic has no text").arg(path));
    return t;
}

// The size of a PNG picture, from its header; empty when the file is no PNG.
QSize pngSize(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG"))
        return {};
    const auto* b = reinterpret_cast<const unsigned char*>(head.constData()) + 16;
    auto word = [](const unsigned char* p) {
        return int((quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]));
    };
    return QSize(word(b), word(b + 4));
}

// Pictures wider than a page's text are shown narrower, keeping their shape.
QString fitPictures(QString body, const QString& imagesDir)
{
    constexpr int kMaxWidth = 640;
    static const QRegularExpression img(QStringLiteral("<img\\s+([^>]*?)src=\"images/([^\"]+)\"([^>]*)>"));
    QString out;
    qsizetype at = 0;
    for (auto it = img.globalMatch(body); it.hasNext();) {
        const auto m = it.next();
        out += body.mid(at, m.capturedStart() - at);
        QString tag = m.captured(0);
        const QSize size = pngSize(imagesDir + QLatin1Char('/') + m.captured(2));
        // Both sizes given, so that the help window lays the page out before the picture is read.
        if (!size.isEmpty() && !tag.contains(QLatin1String("width="))) {
            const int width = std::min(size.width(), kMaxWidth);
            tag.insert(4, QStringLiteral(" width=\"%1\" height=\"%2\"")
                              .arg(width)
                              .arg(qRound(double(size.height()) * width / size.width())));
        }
        // A picture standing alone becomes a paragraph of its own.
        const bool alone = (m.capturedStart() == 0 || body[m.capturedStart() - 1] == QLatin1Char('\n')) &&
                           (m.capturedEnd() == body.size() || body[m.capturedEnd()] == QLatin1Char('\n'));
        out += alone ? QStringLiteral("<p class=\"picture\">") + tag + QStringLiteral("</p>") : tag;
        at = m.capturedEnd();
    }
    return out + body.mid(at);
}

QString slug(const QString& title)
{
    QString s = title.toLower();
    s.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    return QStringLiteral("heading-") + s.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
}

struct Manual {
    std::map<QString, Topic> topics;
    std::vector<Entry> entries;  // the contents in reading order
    std::vector<int> roots;
};

void readContents(const QString& path, Manual& m)
{
    std::vector<int> open;  // the entry of each level above the current line
    QSet<QString> seen;
    for (const QString& raw : readText(path).split(QLatin1Char('\n'))) {
        if (raw.trimmed().isEmpty() || raw.trimmed().startsWith(QLatin1Char('#')))
            continue;
        int spaces = 0;
        while (spaces < raw.size() && raw[spaces] == QLatin1Char(' '))
            ++spaces;
        if (spaces % 2) {
            fail(QStringLiteral("contents.txt: odd indentation: %1").arg(raw));
            continue;
        }
        Entry e;
        e.level = spaces / 2;
        if (e.level > int(open.size())) {
            fail(QStringLiteral("contents.txt: indented too deep: %1").arg(raw));
            continue;
        }
        const QString item = raw.trimmed();
        if (item.startsWith(QLatin1Char('='))) {
            Topic h;
            h.title = item.mid(1).trimmed();
            h.name = slug(h.title);
            h.heading = true;
            e.name = h.name;
            if (m.topics.count(h.name))
                fail(QStringLiteral("contents.txt: heading given twice: %1").arg(h.title));
            m.topics[h.name] = h;
        } else {
            e.name = item;
            if (!m.topics.count(item))
                fail(QStringLiteral("contents.txt: no topic file for %1").arg(item));
        }
        if (seen.contains(e.name))
            fail(QStringLiteral("contents.txt: %1 appears twice").arg(e.name));
        seen.insert(e.name);
        open.resize(e.level);
        e.parent = open.empty() ? -1 : open.back();
        const int index = int(m.entries.size());
        m.entries.push_back(e);
        if (e.parent < 0)
            m.roots.push_back(index);
        else
            m.entries[e.parent].children.push_back(index);
        open.push_back(index);
    }
    for (const auto& [name, t] : m.topics)
        if (!seen.contains(name))
            fail(QStringLiteral("contents.txt: topic %1 is not in the contents").arg(name));
}

QString pageOf(const QString& name)
{
    return name + QStringLiteral(".html");
}

QString headingBody(const Manual& m, const Entry& e)
{
    QString html = QStringLiteral("<ul>\n");
    for (int c : e.children) {
        const Topic& t = m.topics.at(m.entries[c].name);
        html += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n").arg(pageOf(t.name), escaped(t.title));
    }
    return html + QStringLiteral("</ul>");
}

QString page(const QString& title, const QString& body, const QString& prev, const QString& next)
{
    QString nav = QStringLiteral("<p class=\"nav\"><a href=\"index.html\">Contents and Index</a>");
    if (!prev.isEmpty())
        nav += QStringLiteral(" | <a href=\"%1\">Previous</a>").arg(prev);
    if (!next.isEmpty())
        nav += QStringLiteral(" | <a href=\"%1\">Next</a>").arg(next);
    nav += QStringLiteral("</p>\n");
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n")
               .arg(escaped(title)) +
           nav + QStringLiteral("<h1>%1</h1>\n<!-- topic -->\n").arg(escaped(title)) + body +
           QStringLiteral("\n<!-- /topic -->\n") + nav + QStringLiteral("</body>\n</html>\n");
}

void contentsList(const Manual& m, const std::vector<int>& items, QString& html)
{
    html += QStringLiteral("<ul>\n");
    for (int i : items) {
        const Entry& e = m.entries[i];
        const Topic& t = m.topics.at(e.name);
        html += QStringLiteral("<li><a href=\"%1\">%2</a>").arg(pageOf(t.name), escaped(t.title));
        if (!e.children.empty()) {
            html += QLatin1Char('\n');
            contentsList(m, e.children, html);
        }
        html += QStringLiteral("</li>\n");
    }
    html += QStringLiteral("</ul>\n");
}

// The index: every title and keyword in alphabetical order, each with the topics it leads to.
std::vector<std::pair<QString, QStringList>> indexEntries(const Manual& m)
{
    QMap<QString, QPair<QString, QStringList>> byKey;  // lower-case key -> shown text, pages
    for (const auto& [name, t] : m.topics) {
        if (t.heading)
            continue;
        QStringList words = t.keywords;
        words.prepend(t.title);
        for (const QString& w : words) {
            auto& slot = byKey[w.toLower()];
            if (slot.first.isEmpty())
                slot.first = w;
            if (!slot.second.contains(name))
                slot.second << name;
        }
    }
    std::vector<std::pair<QString, QStringList>> out;
    for (const auto& v : byKey)
        out.emplace_back(v.first, v.second);
    return out;
}

QString indexPage(const Manual& m)
{
    QString body = QStringLiteral("<p>Choose a topic from the contents, or look a word up in the index below. "
                                  "<a href=\"using-help.html\">Using this help</a> explains both help formats.</p>\n"
                                  "<h2>Contents</h2>\n");
    contentsList(m, m.roots, body);
    body += QStringLiteral("<h2>Index</h2>\n<ul class=\"index\">\n");
    for (const auto& [word, pages] : indexEntries(m)) {
        QStringList links;
        for (const QString& p : pages)
            links << QStringLiteral("<a href=\"%1\">%2</a>").arg(pageOf(p), escaped(m.topics.at(p).title));
        body += QStringLiteral("<li>%1: %2</li>\n").arg(escaped(word), links.join(QStringLiteral("; ")));
    }
    body += QStringLiteral("</ul>");
    return page(QStringLiteral("Tarvane Help"), body, {}, {});
}

const char* kStyle = R"(body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 11pt; margin: 1em 2em; max-width: 50em; }
h1 { font-size: 16pt; color: #1c3f6e; }
h2 { font-size: 13pt; color: #1c3f6e; margin-top: 1.2em; }
h3 { font-size: 11pt; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #e4e9f0; }
code, pre { font-family: "Liberation Mono", monospace; }
pre { background: #f4f4f4; padding: 4px 8px; }
p.nav { font-size: 9pt; color: #555; }
span.figure { font-weight: bold; }
)";

void checkLinks(const Manual& m, const QString& imagesDir)
{
    static const QRegularExpression link(QStringLiteral("(href|src)\\s*=\\s*\"([^\"]*)\""));
    for (const auto& [name, t] : m.topics) {
        for (auto it = link.globalMatch(t.body); it.hasNext();) {
            const auto match = it.next();
            const QString target = match.captured(2);
            if (target.startsWith(QLatin1String("http://")) || target.startsWith(QLatin1String("https://")))
                continue;
            if (match.captured(1) == QLatin1String("src")) {
                if (!target.startsWith(QLatin1String("images/")) ||
                    !QFileInfo::exists(imagesDir + QLatin1Char('/') + target.mid(7)))
                    fail(QStringLiteral("%1: no picture %2").arg(name, target));
                continue;
            }
            const QString file = target.section(QLatin1Char('#'), 0, 0);
            if (!file.endsWith(QLatin1String(".html")) || !m.topics.count(file.chopped(5)))
                fail(QStringLiteral("%1: the link %2 leads to no topic").arg(name, target));
        }
    }
}

void qhpSections(const Manual& m, const std::vector<int>& items, int depth, QString& out)
{
    for (int i : items) {
        const Entry& e = m.entries[i];
        const Topic& t = m.topics.at(e.name);
        const QString indent(depth * 2 + 6, QLatin1Char(' '));
        out += indent + QStringLiteral("<section title=\"%1\" ref=\"%2\"").arg(escaped(t.title), pageOf(t.name));
        if (e.children.empty()) {
            out += QStringLiteral("/>\n");
        } else {
            out += QStringLiteral(">\n");
            qhpSections(m, e.children, depth + 1, out);
            out += indent + QStringLiteral("</section>\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tarvane-helpgen SOURCES OUT\n");
        return 2;
    }
    const QString sources = args[1];
    const QString out = args[2];
    const QString html = out + QStringLiteral("/Tarvane-html");
    const QString imagesDir = sources + QStringLiteral("/images");

    Manual m;
    const QStringList files = QDir(sources + QStringLiteral("/topics")).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& f : files) {
        Topic t = readTopic(sources + QStringLiteral("/topics/") + f);
        m.topics[t.name] = t;
    }
    if (!m.topics.count(QStringLiteral("using-help")))
        fail(QStringLiteral("there is no using-help topic (Help-on-Help)"));
    readContents(sources + QStringLiteral("/contents.txt"), m);
    std::map<int, QString> byContext;
    for (const auto& [name, t] : m.topics)
        for (int n : t.contexts) {
            if (byContext.count(n))
                fail(QStringLiteral("context %1 is given to both %2 and %3").arg(n).arg(byContext[n], name));
            byContext[n] = name;
        }
    checkLinks(m, imagesDir);
    for (auto& [name, t] : m.topics)
        if (t.heading)
            for (const Entry& e : m.entries)
                if (e.name == name)
                    t.body = headingBody(m, e);

    QDir().mkpath(html + QStringLiteral("/images"));
    QStringList written;
    for (size_t i = 0; i < m.entries.size(); ++i) {
        const Topic& t = m.topics.at(m.entries[i].name);
        const QString prev = i > 0 ? pageOf(m.entries[i - 1].name) : QString();
        const QString next = i + 1 < m.entries.size() ? pageOf(m.entries[i + 1].name) : QString();
        writeText(html + QLatin1Char('/') + pageOf(t.name), page(t.title, fitPictures(t.body, imagesDir), prev, next));
        written << pageOf(t.name);
    }
    writeText(html + QStringLiteral("/index.html"), indexPage(m));
    writeText(html + QStringLiteral("/style.css"), QString::fromUtf8(kStyle));
    QString map, popups;
    for (const auto& [n, name] : byContext) {
        map += QStringLiteral("%1\t%2\t%3\n").arg(n).arg(pageOf(name), m.topics.at(name).title);
        popups += QStringLiteral(".topic %1\n%2\n\n").arg(n).arg(m.topics.at(name).popup);
    }
    writeText(html + QStringLiteral("/contexts.txt"), map);
    writeText(html + QStringLiteral("/CSHelp.txt"), popups);
    written << QStringLiteral("index.html") << QStringLiteral("style.css") << QStringLiteral("contexts.txt")
            << QStringLiteral("CSHelp.txt");
    for (const QString& img : QDir(imagesDir).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        const QString target = html + QStringLiteral("/images/") + img;
        QFile::remove(target);
        if (!QFile::copy(imagesDir + QLatin1Char('/') + img, target))
            fail(QStringLiteral("cannot copy picture %1").arg(img));
        written << QStringLiteral("images/") + img;
    }
    // Pages of topics that were removed since the last build go too.
    for (const QString& old : QDir(html).entryList({QStringLiteral("*.html")}, QDir::Files))
        if (!written.contains(old))
            QFile::remove(html + QLatin1Char('/') + old);

    QString qhp = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QtHelpProject version=\"1.0\">\n"
                                 "  <namespace>%1</namespace>\n  <virtualFolder>doc</virtualFolder>\n"
                                 "  <filterSection>\n    <toc>\n      <section title=\"Tarvane Help\" ref=\"index.html\">\n")
                      .arg(kNamespace);
    qhpSections(m, m.roots, 1, qhp);
    qhp += QStringLiteral("      </section>\n    </toc>\n    <keywords>\n");
    for (const auto& [word, pages] : indexEntries(m))
        for (const QString& p : pages)
            qhp += QStringLiteral("      <keyword name=\"%1\" ref=\"%2\"/>\n").arg(escaped(word), pageOf(p));
    qhp += QStringLiteral("    </keywords>\n    <files>\n");
    for (const QString& f : written)
        qhp += QStringLiteral("      <file>%1</file>\n").arg(escaped(f));
    qhp += QStringLiteral("    </files>\n  </filterSection>\n</QtHelpProject>\n");
    writeText(html + QStringLiteral("/Tarvane.qhp"), qhp);
    writeText(out + QStringLiteral("/Tarvane.qhcp"),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QHelpCollectionProject version=\"1.0\">\n"
                             "  <docFiles>\n    <register>\n      <file>Tarvane.qch</file>\n    </register>\n"
                             "  </docFiles>\n</QHelpCollectionProject>\n"));

    for (const QString& e : errors)
        std::fprintf(stderr, "tarvane-helpgen: %s\n", qPrintable(e));
    return errors.isEmpty() ? 0 : 1;
}
