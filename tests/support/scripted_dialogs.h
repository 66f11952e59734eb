#pragma once

#include "core/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace stokara::test {

// Records every message and answers from queues, so a test can state exactly
// what the user saw and what they pressed. Unqueued questions are answered
// with Yes/OK; unqueued input boxes are cancelled.
class ScriptedDialogs : public core::Dialogs {
public:
    struct Shown {
        core::Icon icon;
        QString title;
        QString text;
        core::Buttons buttons;
    };

    core::Answer message(core::Icon icon, const QString& title, const QString& text,
                         core::Buttons buttons = core::Buttons::Ok) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial = {}) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter,
                     const QString& suggested = {}) override;

    void answer(core::Answer a) { answers.push_back(a); }
    void answerInput(std::optional<QString> text) { inputs.push_back(std::move(text)); }
    void answerFile(const QString& path) { files.push_back(path); }

    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear() { shown.clear(); }

    QList<Shown> shown;
    QStringList prompts;     // prompts of input boxes, in order
    QStringList suggestions; // the paths save-file choosers offered, in order
    std::deque<core::Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;
};

} // namespace stokara::test
