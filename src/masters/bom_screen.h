#pragma once

#include "bom_store.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::masters {

// "BOM Entry": the kilograms of each sub-item that go into one unit of a main item.
class BomScreen : public QWidget {
    Q_OBJECT
public:
    explicit BomScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("BOM Entry"); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillGrid();
    bool saveLine();
    void loadFromGrid(int row);
    void deleteCurrent();

    core::Session& session_;
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
