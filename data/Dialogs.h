#pragma once
// The seam through which the program asks and tells the user: message boxes
// and input boxes. Windows use the Qt implementation, the command line writes
// to standard error, tests answer from a script and record what was shown.
#include <QList>
#include <QString>
#include <QStringList>
#include <exception>

enum class MsgType { Error, Warning, Information, Confirmation };
enum class MsgButtons { Ok, YesNo, OkNo };
enum class MsgResult { Ok, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult message(MsgType type, const QString& text, MsgButtons buttons = MsgButtons::Ok) = 0;
    // An input box; false when cancelled, `value` holds the default text on entry.
    virtual bool inputBox(const QString& caption, const QString& prompt, QString& value) = 0;

    void error(const QString& text) { message(MsgType::Error, text, MsgButtons::Ok); }
    void information(const QString& text) { message(MsgType::Information, text, MsgButtons::Ok); }
    // The application's default error box: what an exception escaping a handler shows.
    void showException(const std::exception& e);
};

// Answers from a queue and records every text shown; for tests and scripted runs.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        MsgType type;
        QString text;
        MsgButtons buttons;
    };
    MsgResult message(MsgType type, const QString& text, MsgButtons buttons) override;
    bool inputBox(const QString& caption, const QString& prompt, QString& value) override;

    QList<MsgResult> answers;       // taken in order; when empty: Ok, or Yes
    QList<QStringList> inputs;      // one entry per input box: empty list cancels, else its first text
    QList<Shown> shown;
    QStringList prompts;
    QStringList texts() const;
};

// Writes messages as "error: ", "warning: ", "information: " lines on standard error;
// a question is answered No, the answer that changes nothing, unless `answerYes`
// is set (the command line's --yes), when it is answered Yes or OK; either way
// the answer is written beside the question.
class ConsoleDialogs : public Dialogs {
public:
    MsgResult message(MsgType type, const QString& text, MsgButtons buttons) override;
    bool inputBox(const QString& caption, const QString& prompt, QString& value) override;

    bool answerYes = false;
};
