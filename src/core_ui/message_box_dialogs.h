#pragma once

#include "core/dialogs.h"

namespace stokara::core_ui {

using core::Answer;
using core::Buttons;
using core::Icon;

// The program's Dialogs: QMessageBox, QInputDialog and QFileDialog over the
// active window.
class MessageBoxDialogs : public core::Dialogs {
public:
    Answer message(Icon icon, const QString& title, const QString& text,
                   Buttons buttons = Buttons::Ok) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial = {}) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter,
                     const QString& suggested = {}) override;
};

} // namespace stokara::core_ui
