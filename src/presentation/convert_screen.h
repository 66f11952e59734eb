#pragma once

#include "core_ui/entry_screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace stokara::presentation {

// FrmConvert: a number in words, with and without currency. No menu opens it;
// a bill puts its total into txtValue, presses cmdGo and reads lblWords.
class ConvertScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit ConvertScreen(core::Session& session, QWidget* parent = nullptr);

    void convert(); // cmdGo_Click

private:
    QLineEdit* txtValue_;
    QPushButton* cmdGo_;
    QLabel* lblWords_;
    QLabel* lblMoney_;
};

} // namespace stokara::presentation
