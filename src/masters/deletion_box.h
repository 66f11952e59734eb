#pragma once

class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace stokara::masters {

// The box of the party and vendor masters that asks for the day's deletion
// password ("Frame2" with "TxtPassword" and "CmdOk"); hidden until a delete asks.
struct DeletionBox {
    QGroupBox* box = nullptr;
    QLineEdit* password = nullptr;
    QPushButton* ok = nullptr;
};
DeletionBox makeDeletionBox(QWidget* parent);

// Leaving an address empty writes "." (as the masters always have).
void dotForEmptyAddress(QLineEdit* address);

} // namespace stokara::masters
