#pragma once
// The seam through which the program asks and tells the user: message boxes
// and input boxes. Windows use the Qt implementation, the command line writes
// to standard error, tests answer from a script and record what was shown.
// The seam also knows whether a box stands at the moment, so that a window can
// tell activation given back by its own box from activation by the user, and
// it keeps the messages of computations that run on every read to one showing
// per user action.
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

enum class MsgType { Error, Warning, Information, Confirmation };
enum class MsgButtons { Ok, YesNo, OkNo };
enum class MsgResult { Ok, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    MsgResult message(MsgType type, const QString& text, MsgButtons buttons = MsgButtons::Ok);
    // An input box; false when cancelled, `value` holds the default text on entry.
    bool inputBox(const QString& caption, const QString& prompt, QString& value);

    void error(const QString& text) { message(MsgType::Error, text, MsgButtons::Ok); }
    void information(const QString& text) { message(MsgType::Information, text, MsgButtons::Ok); }
    // The application's default error box: what an exception escaping a handler shows.
    void showException(const std::exception& e);

    // An error raised by a computation that runs whenever a record is read (calculated
    // fields, totals): shown once, and again only after the user has acted.
    void errorOnce(const QString& text);
    // The user pressed a key or a mouse button outside any box: a new action begins.
    void userActed() { shownThisAction_.clear(); }

    bool boxOpen() const { return open_ > 0; }
    // How many boxes have been opened so far.
    quint64 boxesShown() const { return opened_; }

protected:
    virtual MsgResult showMessage(MsgType type, const QString& text, MsgButtons buttons) = 0;
    virtual bool showInputBox(const QString& caption, const QString& prompt, QString& value) = 0;

private:
    class Standing;
    int open_ = 0;
    quint64 opened_ = 0;
    QSet<QString> shownThisAction_;
};

// Answers from a queue and records every text shown; for tests and scripted runs.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        MsgType type;
        QString text;
        MsgButtons buttons;
    };

    QList<MsgResult> answers;       // taken in order; when empty: Ok, or Yes
    QList<QStringList> inputs;      // one entry per input box: empty list cancels, else its first text
    QList<Shown> shown;
    QStringList prompts;
    QStringList texts() const;
    // Runs while a recorded box stands (a test can play the window system here).
    std::function<void(const Shown&)> whileShown;

protected:
    MsgResult showMessage(MsgType type, const QString& text, MsgButtons buttons) override;
    bool showInputBox(const QString& caption, const QString& prompt, QString& value) override;
};

// Writes messages as "error: ", "warning: ", "information: " lines on standard error;
// a question is answered No, the answer that changes nothing, unless `answerYes`
// is set (the command line's --yes), when it is answered Yes or OK; either way
// the answer is written beside the question.
class ConsoleDialogs : public Dialogs {
protected:
    MsgResult showMessage(MsgType type, const QString& text, MsgButtons buttons) override;
    bool showInputBox(const QString& caption, const QString& prompt, QString& value) override;

public:
    bool answerYes = false;
};
