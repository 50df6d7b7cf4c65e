#include "HelpWindow.h"

#include "HelpBook.h"
#include "HelpCollection.h"
#include "StoredNames.h"
#include "WindowSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QHelpContentWidget>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QImage>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kClass = QLatin1String(storedname::HelpWindow);
}

// A text browser that reads the pages and pictures of the help file.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}
    QHelpEngine* engine = nullptr;

    QVariant loadResource(int type, const QUrl& name) override
    {
        // Pictures and the style sheet come with addresses relative to the page.
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == QLatin1String("qthelp") && engine) {
            const QByteArray data = engine->fileData(url);
            if (type == QTextDocument::StyleSheetResource || type == QTextDocument::HtmlResource)
                return QString::fromUtf8(data);
            if (type == QTextDocument::ImageResource)
                return QImage::fromData(data);
            return data;
        }
        return QTextBrowser::loadResource(type, name);
    }
};

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Tarvane Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* split = new QSplitter(this);
    tabs_ = new QTabWidget(split);
    tabs_->setObjectName(QStringLiteral("HelpTabs"));
    browser_ = new HelpBrowser(split);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);
    setCentralWidget(split);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    QAction* back = bar->addAction(QStringLiteral("< &Back"));
    back->setObjectName(QStringLiteral("HelpBack"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(QStringLiteral("&Forward >"));
    forward->setObjectName(QStringLiteral("HelpForward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::selectInContents);
    QAction* contents = bar->addAction(QStringLiteral("&Contents"));
    contents->setObjectName(QStringLiteral("HelpContents"));
    connect(contents, &QAction::triggered, this, &HelpWindow::showContents);
    QAction* close = bar->addAction(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("HelpClose"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);

    resize(980, 700);
    WindowSettings::restorePlacement(this, kClass);
}

HelpWindow::~HelpWindow()
{
    WindowSettings::savePlacement(this, kClass);
}

bool HelpWindow::openFile(const QString& qch)
{
    if (engine_ && file_ == qch)
        return true;
    file_ = qch;
    tabs_->clear();
    browser_->engine = nullptr;
    delete engine_;
    engine_ = nullptr;
    QString error;
    const QString collection = prepareHelpCollection(qch, error);
    if (collection.isEmpty()) {
        showNotice(QStringLiteral("Help file not found"), error);
        return false;
    }
    engine_ = new QHelpEngine(collection, this);
    if (!engine_->setupData()) {
        showNotice(QStringLiteral("Help file not found"), engine_->error());
        delete engine_;
        engine_ = nullptr;
        return false;
    }
    browser_->engine = engine_;
    buildNavigation();
    tabs_->show();
    return true;
}

void HelpWindow::buildNavigation()
{
    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("HelpContentsTree"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    tabs_->addTab(contents, QStringLiteral("Contents"));
    // The chapters open, and the page in view selected, once the contents are read.
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        engine_->contentWidget()->expandToDepth(1);
        selectInContents(browser_->source());
    });

    auto* index = new QWidget;
    auto* il = new QVBoxLayout(index);
    auto* look = new QLineEdit(index);
    look->setObjectName(QStringLiteral("HelpIndexFilter"));
    look->setPlaceholderText(QStringLiteral("Type a word to look up"));
    QHelpIndexWidget* list = engine_->indexWidget();
    list->setObjectName(QStringLiteral("HelpIndexList"));
    il->addWidget(look);
    il->addWidget(list);
    connect(look, &QLineEdit::textChanged, list, [list](const QString& text) { list->filterIndices(text); });
    connect(look, &QLineEdit::returnPressed, list, &QHelpIndexWidget::activateCurrentItem);
    connect(list, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showPage(link.url); });
    connect(list, &QHelpIndexWidget::documentsActivated, this, [this](const QList<QHelpLink>& links, const QString&) {
        if (!links.isEmpty())
            showPage(links.first().url);
    });
    tabs_->addTab(index, QStringLiteral("Index"));

    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    auto* searchPage = new QWidget;
    searchPage->setObjectName(QStringLiteral("HelpSearchPage"));
    auto* sl = new QVBoxLayout(searchPage);
    QHelpSearchQueryWidget* query = searchEngine->queryWidget();
    query->setObjectName(QStringLiteral("HelpSearchQuery"));
    QHelpSearchResultWidget* results = searchEngine->resultWidget();
    results->setObjectName(QStringLiteral("HelpSearchResults"));
    sl->addWidget(query);
    sl->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, this, &HelpWindow::search);
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showPage);
    tabs_->addTab(searchPage, QStringLiteral("Search"));
    // The full-text index is made in the background the first time, and again when the file changes.
    searchEngine->scheduleIndexDocumentation();
}

void HelpWindow::search()
{
    if (engine_)
        engine_->searchEngine()->search(engine_->searchEngine()->queryWidget()->searchInput());
}

void HelpWindow::showPage(const QUrl& url)
{
    if (browser_->source() != url)
        browser_->setSource(url);
    selectInContents(url);
}

void HelpWindow::selectInContents(const QUrl& url)
{
    if (!engine_)
        return;
    const QModelIndex at = engine_->contentWidget()->indexOf(url);
    if (at.isValid())
        engine_->contentWidget()->setCurrentIndex(at);
}

void HelpWindow::showContents()
{
    if (tabs_->count() > 0)
        tabs_->setCurrentIndex(0);
    if (engine_)
        showPage(QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(kHelpNamespace, HelpBook::kContents)));
}

void HelpWindow::showSearch()
{
    if (!engine_)
        return;
    showContents();
    tabs_->setCurrentIndex(2);
    engine_->searchEngine()->queryWidget()->setFocus();
}

void HelpWindow::showNotice(const QString& title, const QString& text)
{
    // Without an open help file there are no contents to show beside the notice; with
    // one, the contents stand beside it, not the page last used (a search).
    tabs_->setVisible(engine_ != nullptr);
    if (engine_ && tabs_->count() > 0)
        tabs_->setCurrentIndex(0);
    browser_->clearHistory();
    browser_->setHtml(QStringLiteral("<h1>%1</h1><p>%2</p>").arg(title.toHtmlEscaped(), text.toHtmlEscaped()));
}

QUrl HelpWindow::currentUrl() const
{
    return browser_->source();
}

QString HelpWindow::currentTitle() const
{
    return browser_->documentTitle();
}
