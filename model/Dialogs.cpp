#include "Dialogs.h"

#include "EDatabaseError.h"

#include <cstdio>

// Counts a box from its opening to its closing, also when showing it fails.
class Dialogs::Standing {
public:
    explicit Standing(Dialogs& d) : d_(d)
    {
        ++d_.open_;
        ++d_.opened_;
    }
    ~Standing() { --d_.open_; }
    Standing(const Standing&) = delete;
    Standing& operator=(const Standing&) = delete;

private:
    Dialogs& d_;
};

MsgResult Dialogs::message(MsgType type, const QString& text, MsgButtons buttons)
{
    const Standing box(*this);
    return showMessage(type, text, buttons);
}

bool Dialogs::inputBox(const QString& caption, const QString& prompt, QString& value)
{
    const Standing box(*this);
    return showInputBox(caption, prompt, value);
}

void Dialogs::errorOnce(const QString& text)
{
    if (shownThisAction_.contains(text))
        return;
    shownThisAction_.insert(text);
    error(text);
}

void Dialogs::showException(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const EDatabaseError*>(&e))
        error(db->message());
    else
        error(QString::fromUtf8(e.what()));
}

MsgResult ScriptedDialogs::showMessage(MsgType type, const QString& text, MsgButtons buttons)
{
    shown.append({type, text, buttons});
    if (whileShown)
        whileShown(shown.last());
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

bool ScriptedDialogs::showInputBox(const QString& caption, const QString& prompt, QString& value)
{
    Q_UNUSED(caption);
    prompts << prompt;
    if (inputs.isEmpty())
        return true;
    const QStringList next = inputs.takeFirst();
    if (next.isEmpty())
        return false;
    value = next.first();
    return true;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}

MsgResult ConsoleDialogs::showMessage(MsgType type, const QString& text, MsgButtons buttons)
{
    const char* prefix = type == MsgType::Error         ? "error: "
                         : type == MsgType::Warning     ? "warning: "
                                                        : "information: ";
    // The message's lines as the box shows them, the first after the kind of message.
    const QByteArray lines = text.toUtf8();
    if (buttons == MsgButtons::Ok) {
        std::fprintf(stderr, "%s%s\n", prefix, lines.constData());
        return MsgResult::Ok;
    }
    if (answerYes) {
        const bool yesNo = buttons == MsgButtons::YesNo;
        std::fprintf(stderr, "%s%s (answered %s)\n", prefix, lines.constData(), yesNo ? "Yes" : "OK");
        return yesNo ? MsgResult::Yes : MsgResult::Ok;
    }
    // A question: the careful answer, which changes nothing.
    std::fprintf(stderr, "%s%s (answered No)\n", prefix, lines.constData());
    return MsgResult::No;
}

bool ConsoleDialogs::showInputBox(const QString& caption, const QString& prompt, QString& value)
{
    Q_UNUSED(caption);
    Q_UNUSED(prompt);
    Q_UNUSED(value);
    return false;
}
