#pragma once

#include "transactions/day_book_voucher_screen.h"

namespace stokara::transactions {

// "Day Book": cash vouchers against milk suppliers (F2), retail customers (F3),
// account heads (F4), vendors (F7) and product buyers (F8).
class DayBookScreen : public VoucherScreenBase {
    Q_OBJECT
public:
    explicit DayBookScreen(core::Session& session, QWidget* parent = nullptr);

    // Switches the account list and the category of new vouchers.
    void switchAccounts(AccountCategory category);

protected:
    bool functionKey(int key) override;
    void showLoadedAccount(const StoredVoucher& voucher) override;
    bool correctionSetsParty() const override;
    void afterSave() override;
    void dateLeft() override;
};

} // namespace stokara::transactions
