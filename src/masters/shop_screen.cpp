#include "shop_screen.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

namespace stokara::masters {

using core::ErrorKind;
using core_ui::Via;

ShopScreen::ShopScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("FrmCompany"), caption(), parent), store_(*session.db) {
    name_ = core_ui::makeField(this, QStringLiteral("txtCompName"));
    address_ = core_ui::makeField(this, QStringLiteral("txtAddress"));
    city_ = core_ui::makeField(this, QStringLiteral("TxtCity"));
    telNo_ = core_ui::makeField(this, QStringLiteral("TxtTelno"));
    mobile_ = core_ui::makeField(this, QStringLiteral("TxtMobile"));
    gstNo_ = core_ui::makeField(this, QStringLiteral("TxtTinNo"));
    upiId_ = core_ui::makeField(this, QStringLiteral("TxtUpiId"));
    upiPayee_ = core_ui::makeField(this, QStringLiteral("TxtUpiPayee"));
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("CmdSave"));

    auto* form = new QGridLayout(this);
    int row = 0;
    // Each label carries the control name its caption in another language is kept under.
    for (auto [label, name, field] :
         {std::tuple{"Name", "lblname", name_}, std::tuple{"Address", "LblAddress", address_},
          std::tuple{"City", "LblCity", city_}, std::tuple{"TelNo", "LblPhone", telNo_},
          std::tuple{"Mobile", "LblMobile", mobile_}, std::tuple{"GST No.", "LblTinNo", gstNo_},
          std::tuple{"UPI ID", "LblUpiId", upiId_},
          std::tuple{"UPI payee", "LblUpiPayee", upiPayee_}}) {
        auto* l = new QLabel(QString::fromLatin1(label), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setBuddy(field);
        field->setMinimumWidth(320); // an address of up to 200 characters stays readable
        form->addWidget(l, row, 0);
        form->addWidget(field, row, 1);
        ++row;
    }
    form->addWidget(save_, row, 1, Qt::AlignRight);
    form->setRowStretch(row + 1, 1);

    // Leaving the name (by Enter or otherwise) gives the warning once.
    flow()
        .add(name_, [this](Via) { return leaveName(); })
        .add(address_)
        .add(city_)
        .add(telNo_)
        .add(mobile_)
        .add(gstNo_)
        .add(upiId_)
        .add(upiPayee_)
        .add(save_);
    connect(save_, &QPushButton::clicked, this,
            [this] { run(ErrorKind::Show, QStringLiteral("CmdSave_Click"), [this] { save(); }); });

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] { formLoad(); });
    finishSetup();
}

void ShopScreen::info(const QString& text) {
    session_.dialogs->information(caption(), text);
}

void ShopScreen::formLoad() {
    const auto shop = store_.first();
    if (!shop) {
        info(QStringLiteral("No Company information found.Please enter company information."));
        return;
    }
    name_->setText(shop->name);
    address_->setText(shop->address);
    city_->setText(shop->city);
    telNo_->setText(shop->telNo);
    mobile_->setText(shop->mobile);
    gstNo_->setText(shop->gstNo);
    upiId_->setText(shop->upiId);
    upiPayee_->setText(shop->upiPayee);
}

bool ShopScreen::leaveName() {
    if (name_->text().trimmed().isEmpty())
        info(QStringLiteral("Blank not allowed."));
    return true;
}

void ShopScreen::save() {
    if (name_->text().isEmpty()) {
        info(QStringLiteral("Blank company not allowed."));
        return;
    }
    const ShopFields f{name_->text(),   address_->text(), city_->text(),  telNo_->text(),
                       mobile_->text(), gstNo_->text(),   upiId_->text(), upiPayee_->text()};
    if (const auto problem = store_.validate(f)) {
        refuse(caption(), *problem);
        return;
    }
    store_.save(f);
    // Slips and reports printed from now on show the new record.
    session_.shop.name = f.name;
    session_.shop.address = f.address;
    session_.shop.city = f.city;
    session_.shop.mobile = f.mobile;
    session_.shop.tinNo = f.gstNo;
    if (store_.hasUpi()) {
        session_.shop.upiId = f.upiId.trimmed();
        session_.shop.upiPayee = f.upiPayee;
    }
    info(QStringLiteral("Saved."));
}

} // namespace stokara::masters
