#pragma once
// One help file of either format, read as the viewers read it: its map from
// context numbers to topics, its "What's this?" texts, and its pages.
//   - the plain help: a folder of HTML pages (Tarvane-html), opened in the browser;
//   - the compiled help: a Qt help file (Tarvane.qch), read as the SQLite
//     database it is, without a help engine: the command line reads it too.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>
#include <memory>

enum class HelpFormat { WinHelp, HtmlHelp };

class HelpBook {
public:
    struct Topic {
        QString page;  // e.g. "earthmoving-worksheet.html"
        QString title;
    };

    // The name of the help file of a format beside the programs: the folder
    // "Tarvane-html" for WinHelp, "Tarvane.qch" for HtmlHelp.
    static QString fileName(HelpFormat format);
    // The book of `file`: the folder for WinHelp, the .qch for HtmlHelp. It reads
    // nothing yet; `error()` tells whether it could be opened.
    static std::unique_ptr<HelpBook> open(HelpFormat format, const QString& file);
    virtual ~HelpBook();

    HelpFormat format() const { return format_; }
    const QString& file() const { return file_; }
    // Empty when the book is there and readable, else what is wrong, for the user.
    QString error();

    // The topic of a context number; empty page when the book has none.
    Topic topicFor(int context);
    // The "What's this?" text of a context number; empty when there is none.
    QString popupFor(int context);
    // The address a viewer shows a page of the book at.
    virtual QUrl urlOf(const QString& page) const = 0;
    // A page's bytes; empty when the book has no such page.
    virtual QByteArray data(const QString& page) = 0;
    // The text of a topic's page without its navigation lines, as plain text.
    QString plainText(const QString& page);
    // What the viewers tell when the book has no topic for a context number.
    QString noTopicText(int context) const;
    // What the viewers tell when a help file is not there.
    static QString missingFileText(const QString& file);

    static const QString kContents;    // the contents and index page
    static const QString kHelpOnHelp;  // the page on using the help

protected:
    HelpBook(HelpFormat format, QString file) : format_(format), file_(std::move(file)) {}
    virtual QString openError() = 0;

private:
    void load();
    HelpFormat format_;
    QString file_;
    bool loaded_ = false;
    QString error_;
    QHash<int, Topic> topics_;
    QHash<int, QString> popups_;
};

// The namespace of the compiled help, the host of its qthelp:// addresses.
extern const QString kHelpNamespace;
