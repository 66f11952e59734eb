#pragma once

#include <QString>

#include <optional>

namespace stokara::core {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// The one door to message boxes, questions, input boxes and file choosers.
// An empty title shows the application title.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(Icon icon, const QString& title, const QString& text,
                           Buttons buttons = Buttons::Ok) = 0;
    // std::nullopt when the user cancels.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial = {}) = 0;
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& filter,
                             const QString& suggested = {}) = 0;

    void information(const QString& title, const QString& text) {
        message(Icon::Information, title, text);
    }
    void plain(const QString& title, const QString& text) { message(Icon::None, title, text); }
    void critical(const QString& title, const QString& text) {
        message(Icon::Critical, title, text);
    }
    void warning(const QString& title, const QString& text) { message(Icon::Warning, title, text); }
    bool yesNo(const QString& title, const QString& text, Icon icon = Icon::Question) {
        return message(icon, title, text, Buttons::YesNo) == Answer::Yes;
    }
    bool okCancel(const QString& title, const QString& text, Icon icon = Icon::Question) {
        return message(icon, title, text, Buttons::OkCancel) == Answer::Ok;
    }
};

} // namespace stokara::core
