#include "Dialogs.h"

#include "EDatabaseError.h"

#include <cstdio>

void Dialogs::showException(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const EDatabaseError*>(&e))
        error(db->message());
    else
        error(QString::fromUtf8(e.what()));
}

MsgResult ScriptedDialogs::message(MsgType type, const QString& text, MsgButtons buttons)
{
    shown.append({type, text, buttons});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

bool ScriptedDialogs::inputBox(const QString& caption, const QString& prompt, QString& value)
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

MsgResult ConsoleDialogs::message(MsgType type, const QString& text, MsgButtons buttons)
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
    // A question: the careful answer, which changes nothing.
    std::fprintf(stderr, "%s%s (answered No)\n", prefix, lines.constData());
    return MsgResult::No;
}

bool ConsoleDialogs::inputBox(const QString& caption, const QString& prompt, QString& value)
{
    Q_UNUSED(caption);
    Q_UNUSED(prompt);
    Q_UNUSED(value);
    return false;
}
