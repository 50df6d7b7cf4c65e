#include "CopyBondDialog.h"

#include "HelpRequest.h"
#include "ActivationSetUp.h"
#include "CopyDataModule.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "DataModule.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 520;
}

CopyBondDialog::CopyBondDialog(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Copy1Form"));
    setWindowTitle(QStringLiteral("Make Copy of Bond for a Mine --"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    panel_ = new QPlainTextEdit(this);
    panel_->setObjectName(QStringLiteral("Memo1"));
    panel_->setReadOnly(true);
    panel_->setPlainText(QStringList{QStringLiteral("This routine will copy the selected mine and all of its parts to a new record.  "),
                                     QString(),
                                     QStringLiteral("Before pressing the \"OK\" button on this form be sure you have selected "),
                                     QStringLiteral("the mine you want copied."),
                                     QString(),
                                     QStringLiteral("This will not copy the relationships between push dozer and scraper or "),
                                     QStringLiteral("between truck and loader or excavator!")}
                             .join(QLatin1Char('\n')));
    panel_->setFixedHeight(118);
    layout->addWidget(panel_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    ok_ = button("OkBtn", "Ok");
    cancel_ = button("CancelBtn", "Cancel");
    help_ = button("HelpBtn", "Help");
    details_ = button("DetailsBtn", "Copy Log Details");
    write_ = button("WriteToFileBtn", "Write To File");
    layout->addLayout(buttons);

    log_ = new QListWidget(this);
    log_->setObjectName(QStringLiteral("LogListBox"));
    layout->addWidget(log_, 1);

    connect(ok_, &QPushButton::clicked, this, &CopyBondDialog::OkBtnClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] { HelpRequest::context(this, helpContext()); });
    connect(details_, &QPushButton::clicked, this, &CopyBondDialog::DetailsBtnClick);
    connect(write_, &QPushButton::clicked, this, &CopyBondDialog::WriteToFileBtnClick);
    activation_ = std::make_unique<ActivationSetUp>(*this, dialogs_, [this] { FormActivate(); });
    showLog(false);
}

CopyBondDialog::~CopyBondDialog() = default;

void CopyBondDialog::setCopyData(CopyDataModule* data)
{
    data_ = data;
    copy_.reset();
    if (!data)
        return;
    copy_ = std::make_unique<MineCopy>(*data, dialogs_);
    copy_->stepBy = [this](int n) { stepBy(n); };
}

bool CopyBondDialog::event(QEvent* e)
{
    // The save dialog of "Write To File" gives the activation back when it closes: no new activation.
    if (e->type() == QEvent::WindowActivate && (ownDialogOpen_ || dialogGivesBack_)) {
        dialogGivesBack_ = false;
        return QDialog::event(e);
    }
    if (activation_)  // events come while the constructor builds the window, before it is made
        activation_->handle(e);
    return QDialog::event(e);
}

// Opens the copy's views (those open stay open); the window is ready only when all opened.
void CopyBondDialog::FormActivate()
{
    const bool opened = data_ && data_->openViews();
    cancel_->setText(opened ? QStringLiteral("Cancel") : QStringLiteral("Close"));
    ok_->setEnabled(opened);
}

void CopyBondDialog::stepBy(int n)
{
    const int v = std::min(progress_->maximum(), progress_->value() + n);
    if (v == progress_->value())
        return;
    progress_->setValue(v);
    if (isVisible())
        progress_->repaint();
}

void CopyBondDialog::OkBtnClick()
{
    cancel_->setEnabled(false);
    try {
        if (!copy_ || !main_ || !main_->MineT.active() || main_->MineT.isEmpty())
            throw EDatabaseError(QStringLiteral("No records to copy!  Enter a record first!"));
        copy_->run(main_->MineT.fieldByName(QStringLiteral("MineID")).asInteger());
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
    log_->clear();
    log_->addItems(copyLog());
    // Done or failed: the window only closes now; the next activation makes it ready again.
    cancel_->setText(QStringLiteral("Close"));
    cancel_->setEnabled(true);
    ok_->setEnabled(false);
}

bool CopyBondDialog::logShown() const
{
    return log_->isVisibleTo(this);
}

void CopyBondDialog::showLog(bool on)
{
    log_->setVisible(on);
    details_->setText(on ? QStringLiteral("No Details") : QStringLiteral("Copy Log Details"));
    setFixedSize(kWidth, on ? kLongHeight : kShortHeight);
}

void CopyBondDialog::DetailsBtnClick()
{
    showLog(!logShown());
}

void CopyBondDialog::WriteToFileBtnClick()
{
    QFileDialog ask(this, QStringLiteral("Write To File"), QDir::homePath(), QStringLiteral("Text File (*.txt)"));
    ask.setObjectName(QStringLiteral("SaveDialog1"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setFileMode(QFileDialog::AnyFile);
    ask.setDefaultSuffix(QStringLiteral("txt"));
    // Both questions are asked below, through the program's message boxes.
    ask.setOption(QFileDialog::DontConfirmOverwrite, true);
    ownDialogOpen_ = true;
    const bool chosen = ask.exec() == QDialog::Accepted && !ask.selectedFiles().isEmpty();
    ownDialogOpen_ = false;
    dialogGivesBack_ = !isActiveWindow();  // the activation it gives back may still be on its way
    if (!chosen)
        return;
    const QString path = ask.selectedFiles().first();
    const QString name = QDir::toNativeSeparators(path);
    const QString question = QFileInfo::exists(path)
                                 ? name + QStringLiteral(" already exists.\nDo you want to replace it?")
                                 : name + QStringLiteral(" does not exist.\nDo you want to create it?");
    if (dialogs_.message(MsgType::Confirmation, question, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    try {
        writeCopyLog(path, copyLog());
    } catch (const std::exception& e) {
        dialogs_.showException(e);
    }
}

// Closing, by the cancel button or the close box: the bar back to 0, the cancel
// button enabled, the views closed in their opening order. The window always closes.
void CopyBondDialog::done(int r)
{
    progress_->setValue(0);
    cancel_->setEnabled(true);
    try {
        if (data_)
            data_->closeViews();
    } catch (const std::exception&) {
        dialogs_.error(QStringLiteral("Error Closing Copy Database!"));
    }
    QDialog::done(r);
}
