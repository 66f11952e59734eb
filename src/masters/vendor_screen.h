#pragma once

#include "core_ui/entry_screen.h"
#include "vendor_store.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::masters {

// "Vendor": the vendors items are bought from.
class VendorScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit VendorScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Vendor"); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillGrid();
    bool leaveName();
    void save();
    void clearFields();
    void loadFromGrid(int row);
    void askDelete(int row);
    void confirmDelete();
    void info(const QString& text);

    VendorStore store_;
    QString pendingDelete_;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* ph_ = nullptr;
    QLineEdit* city_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QGroupBox* securityBox_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* passwordOk_ = nullptr;
};

} // namespace stokara::masters
