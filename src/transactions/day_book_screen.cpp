#include "day_book_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stokara::transactions {

using core_ui::Via;

DayBookScreen::DayBookScreen(core::Session& session, QWidget* parent)
    : VoucherScreenBase(session, QStringLiteral("FrmDayBook"), QStringLiteral("Day Book"), parent) {
    picker_->setObjectName(QStringLiteral("dcHead"));

    auto* fields = new QGridLayout;
    auto addRow = [&](int row, const QString& label, QWidget* field, const char* name) {
        auto* l = new QLabel(label, this);
        l->setObjectName(QString::fromLatin1(name)); // its caption in other languages
        l->setBuddy(field);
        fields->addWidget(l, row, 0);
        fields->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("Date"), date_, "LblDate");
    addRow(1, QStringLiteral("Voucher Type"), voucherTypeList_, "LblVType");
    addRow(2, QStringLiteral("Account Head"), picker_, "LblHead");
    addRow(3, QStringLiteral("Amount"), txtAmount_, "LblNamt");
    addRow(4, QStringLiteral("Remark"), txtRemark_, "LblRemark");
    addRow(5, QStringLiteral("Entry No."), txtDocNo_, "LblentryNo");
    fields->addWidget(saveButton_, 6, 1, Qt::AlignLeft);

    auto* help = new QLabel(
        QStringLiteral("F2 Party Name,  F4 Account Head  F5 Clear  F6 Edit  F7 Vendor"), this);
    help->setObjectName(QStringLiteral("LblHelp"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(help);
    layout->addWidget(grid_, 1);

    setTabOrder(date_, voucherTypeList_);
    setTabOrder(voucherTypeList_, picker_);
    setTabOrder(picker_, txtAmount_);
    setTabOrder(txtAmount_, txtRemark_);
    setTabOrder(txtRemark_, saveButton_);

    flowFromDate()
        .add(voucherTypeList_,
             [this](Via) {
                 voucherTypeLeft();
                 return true;
             })
        .add(picker_)
        .add(txtAmount_)
        .add(txtRemark_)
        .add(saveButton_);

    run(core::ErrorKind::Log, caption_, [&] {
        switchAccounts(AccountCategory::MilkMan);
        fillGrid();
    });
    finishSetup();
}

void DayBookScreen::switchAccounts(AccountCategory category) {
    const auto list = store_.accounts(category);
    category_ = categoryName(category);
    picker_->setEntries(list);
}

bool DayBookScreen::functionKey(int key) {
    switch (key) {
    case Qt::Key_F2:
        switchAccounts(AccountCategory::MilkMan);
        return true;
    case Qt::Key_F3:
        voucherKey(Qt::Key_F5);
        switchAccounts(AccountCategory::RetailMilk);
        return true;
    case Qt::Key_F4:
        switchAccounts(AccountCategory::AccountHead);
        return true;
    case Qt::Key_F7:
        switchAccounts(AccountCategory::Vendor);
        return true;
    case Qt::Key_F8:
        switchAccounts(AccountCategory::BuyerProduct);
        return true;
    default:
        return voucherKey(key);
    }
}

void DayBookScreen::showLoadedAccount(const StoredVoucher& voucher) {
    // The shown text is what was stored; the bound value is that of the matching entry
    // of the current list, else the stored code when the voucher is of this category
    // (a card recharge stores the bare party name).
    const int i = picker_->findText(voucher.accountHead, Qt::MatchExactly);
    if (i >= 0)
        picker_->setBoundValue(picker_->itemData(i).toString());
    else
        picker_->setBoundValue(voucher.category == category_ ? voucher.partyCode : QString());
    picker_->setShownText(voucher.accountHead);
}

bool DayBookScreen::correctionSetsParty() const {
    // Correcting an account-head voucher leaves its party code and category alone.
    return category_ != categoryName(AccountCategory::AccountHead);
}

void DayBookScreen::afterSave() {
    flow().moveFocus(voucherTypeList_);
}

void DayBookScreen::dateLeft() {
    fillGrid();
}

} // namespace stokara::transactions
