#include "scripted_dialogs.h"

namespace stokara::test {

using core::Answer;
using core::Buttons;

core::Answer ScriptedDialogs::message(core::Icon icon, const QString& title, const QString& text,
                                      core::Buttons buttons) {
    shown.append({icon, title, text, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<QString> ScriptedDialogs::input(const QString& title, const QString& prompt,
                                              const QString&) {
    prompts << prompt;
    shown.append({core::Icon::None, title, prompt, Buttons::OkCancel});
    if (inputs.empty())
        return std::nullopt;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

QString ScriptedDialogs::openFile(const QString&, const QString&) {
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& filter,
                                  const QString& suggested) {
    suggestions << suggested;
    return openFile(title, filter);
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}

} // namespace stokara::test
