#pragma once

#include "bom_store.h"
#include "core_ui/entry_screen.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::masters {

// "BOM Entry": the kilograms of each sub-item that go into one unit of a main item.
class BomScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit BomScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("BOM Entry"); }

protected:
    bool functionKey(int key) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillGrid();
    bool saveLine();
    void emptyFields();
    void loadFromGrid(int row);
    void deleteCurrent();

    BomStore store_;
    QComboBox* mainItem_ = nullptr;
    QComboBox* subItem_ = nullptr;
    QLineEdit* weight_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* more_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace stokara::masters
