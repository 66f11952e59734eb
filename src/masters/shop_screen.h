#pragma once

#include "shop_store.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace stokara::core {
struct Session;
}

namespace stokara::masters {

// "Shop Master": the one record describing the shop, shown on slips and reports.
class ShopScreen : public QWidget {
    Q_OBJECT
public:
    explicit ShopScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Shop Master"); }

private:
    void formLoad();
    void leaveName();
    void save();
    void info(const QString& text);

    core::Session& session_;
    ShopStore store_;
    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* city_ = nullptr;
    QLineEdit* telNo_ = nullptr;
    QLineEdit* mobile_ = nullptr;
    QLineEdit* gstNo_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace stokara::masters
