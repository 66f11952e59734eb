#pragma once

#include "core_ui/entry_screen.h"
#include "item_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace stokara::masters {

class MasterListModel;

// "Item Master": the shop's items with unit, rate, opening stock and main-item flag.
class ItemScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit ItemScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Item Master"); }

protected:
    bool functionKey(int key) override;

private:
    void fillGrid();
    void leaveName();
    void leaveUnit();
    void save();
    void clearFields();
    void loadFromGrid(int row);
    void deleteCurrent();
    ItemFields collect() const;

    ItemStore store_;
    QLineEdit* name_ = nullptr;
    QComboBox* mainItem_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLineEdit* rate_ = nullptr;
    QLineEdit* opeBal_ = nullptr;
    QLineEdit* autoNo_ = nullptr;
    QLabel* autoNoLabel_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableView* grid_ = nullptr;
    MasterListModel* gridRows_ = nullptr;
};

} // namespace stokara::masters
