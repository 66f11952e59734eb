#pragma once

#include "core_ui/entry_screen.h"
#include "shop_store.h"

class QLineEdit;
class QPushButton;

namespace stokara::masters {

// "Shop Master": the one record describing the shop, shown on slips and reports.
class ShopScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit ShopScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Shop Master"); }

private:
    void formLoad();
    bool leaveName();
    void save();
    void info(const QString& text);

    ShopStore store_;
    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* city_ = nullptr;
    QLineEdit* telNo_ = nullptr;
    QLineEdit* mobile_ = nullptr;
    QLineEdit* gstNo_;
    QLineEdit* upiId_;
    QLineEdit* upiPayee_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace stokara::masters
