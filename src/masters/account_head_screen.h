#pragma once

#include "account_head_store.h"
#include "core_ui/entry_screen.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::masters {

// "Account Head Master": the heads of the cash day book with their groups.
// A head loaded from the grid is corrected only after F6, as in the day book.
class AccountHeadScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit AccountHeadScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Account Head Master"); }

protected:
    bool functionKey(int key) override;

private:
    void fillGrid();
    void save();
    void clearFields();
    void loadFromGrid(int row);
    void askDelete(int row);
    void info(const QString& text);

    AccountHeadStore store_;
    QLineEdit* head_ = nullptr;
    QComboBox* group_ = nullptr;
    QLineEdit* autoNo_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace stokara::masters
