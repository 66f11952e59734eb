#include "vendor_screen.h"
#include "deletion_box.h"

#include "deletion_password.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <tuple>

namespace stokara::masters {

using core::ErrorKind;
using core_ui::Via;

VendorScreen::VendorScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("FrmVendor"), caption(), parent), store_(*session.db) {
    code_ = core_ui::makeField(this, QStringLiteral("TxtPartyCode"));
    code_->setReadOnly(true); // filled by the screen, never typed
    code_->setFocusPolicy(Qt::NoFocus);
    name_ = core_ui::makeField(this, QStringLiteral("txtparty_name"));
    address_ = core_ui::makeField(this, QStringLiteral("txtadd1"));
    ph_ = core_ui::makeField(this, QStringLiteral("txtph"));
    city_ = core_ui::makeField(this, QStringLiteral("txtcity"));
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("Command8"));
    clear_ = new QPushButton(QStringLiteral("&Clear"), this);
    clear_->setObjectName(QStringLiteral("Command9"));
    grid_ = core_ui::makeGrid(this, QStringLiteral("VsGrid"),
                              {QStringLiteral("Party Code"), QStringLiteral("Party Name"),
                               QStringLiteral("City"), QStringLiteral("Mobile")},
                              {1500, 2500, 1500, 1000});

    const DeletionBox deletion = makeDeletionBox(this);
    securityBox_ = deletion.box;
    password_ = deletion.password;
    passwordOk_ = deletion.ok;

    auto* form = new QGridLayout;
    int row = 0;
    for (auto [label, name, field] :
         {std::tuple{"Vendor Code", "LblCode", code_}, std::tuple{"Vendor Name", "lblname", name_},
          std::tuple{"Address", "LblAddress", address_}, std::tuple{"Phone", "LblPhone", ph_},
          std::tuple{"City", "LblCity", city_}}) {
        auto* l = new QLabel(QString::fromLatin1(label), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setBuddy(field);
        form->addWidget(l, row, 0);
        form->addWidget(field, row, 1);
        ++row;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addWidget(securityBox_);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    // Leaving the name (by Enter or otherwise) gives the duplicate warning once.
    flow()
        .add(name_, [this](Via) { return leaveName(); })
        .add(address_,
             [this](Via) {
                 dotForEmptyAddress(address_);
                 return true;
             })
        .add(ph_)
        .add(city_)
        .add(save_);
    // Enter on the password is the box's OK.
    flow().watch(password_, [this](Via via) {
        if (via == Via::Enter)
            passwordOk_->click();
        return false;
    });

    connect(save_, &QPushButton::clicked, this,
            [this] { run(ErrorKind::Show, QStringLiteral("Command8_Click"), [this] { save(); }); });
    connect(clear_, &QPushButton::clicked, this, [this] { clearFields(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) {
        run(ErrorKind::Show, QStringLiteral("VsGrid_Click"), [this, r] { loadFromGrid(r); });
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        run(ErrorKind::Show, QStringLiteral("VsGrid_DblClick"), [this, r] { askDelete(r); });
    });
    connect(passwordOk_, &QPushButton::clicked, this, [this] {
        run(ErrorKind::Show, QStringLiteral("CmdOk_Click"), [this] { confirmDelete(); });
    });

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] {
        name_->setText(session_.newAccountName);
        fillGrid();
    });
    finishSetup();
}

void VendorScreen::closeEvent(QCloseEvent* event) {
    run(ErrorKind::Show, QStringLiteral("Form_Unload"), [this] { store_.removeUncoded(); });
    QWidget::closeEvent(event);
}

void VendorScreen::info(const QString& text) {
    session_.dialogs->information(caption(), text);
}

void VendorScreen::fillGrid() {
    QList<QStringList> rows;
    for (const VendorFields& v : store_.gridRows())
        rows.append({v.code, v.name, v.city, v.ph});
    core_ui::fillGrid(grid_, rows);
}

bool VendorScreen::leaveName() {
    run(ErrorKind::Show, QStringLiteral("txtparty_name_LostFocus"), [this] {
        // Only a warning: the vendor may still be saved under that name.
        if (!name_->text().isEmpty() && code_->text().isEmpty() &&
            store_.countByName(name_->text()) > 0)
            info(QStringLiteral("Duplicate Entry."));
    });
    return true;
}

void VendorScreen::save() {
    if (name_->text().trimmed().isEmpty()) {
        info(QStringLiteral("Enter Milk Man Name."));
        return;
    }
    const VendorFields f{code_->text(), name_->text(), address_->text(), ph_->text(),
                         city_->text()};
    if (const auto problem = store_.validate(f)) {
        refuse(caption(), *problem);
        return;
    }
    const QVariant loaded = loadedEntry();
    if (!saveEntry(
            caption(), [&] { store_.insertNew(f); },
            [&](const QVariant& key) { return store_.update(key.toString(), f); })) {
        code_->clear(); // deleted meanwhile: a new Save makes a new vendor
        fillGrid();
        return;
    }
    if (loaded.isValid()) {
        cycle().loaded(loaded, true); // the fields still show it
    } else {
        for (QLineEdit* e : {code_, name_, address_, ph_, city_})
            e->clear();
    }
    info(QStringLiteral("Data Saved."));
    fillGrid();
    name_->setFocus();
}

void VendorScreen::clearFields() {
    name_->setFocus();
    for (QLineEdit* e : {code_, name_, address_, ph_, city_})
        e->clear();
    cycle().reset();
}

void VendorScreen::loadFromGrid(int row) {
    if (row < 0 || row >= grid_->rowCount())
        return;
    const QTableWidgetItem* cell = grid_->item(row, 0);
    const auto vendor = store_.load(cell ? cell->text() : QString());
    if (!vendor)
        return;
    code_->setText(vendor->code);
    name_->setText(vendor->name);
    address_->setText(vendor->add1);
    ph_->setText(vendor->ph);
    city_->setText(vendor->city);
    cycle().loaded(vendor->code, true);
}

void VendorScreen::askDelete(int row) {
    if (row < 0 || row >= grid_->rowCount() || !grid_->item(row, 0))
        return;
    if (!session_.dialogs->okCancel(caption(), QStringLiteral("Are you sure to delete it?"),
                                    core::Icon::Information))
        return;
    pendingDelete_ = grid_->item(row, 0)->text();
    password_->clear();
    securityBox_->show();
    flow().moveFocus(password_);
}

void VendorScreen::confirmDelete() {
    const QString typed = password_->text();
    password_->clear();
    securityBox_->hide();
    const QString code = pendingDelete_;
    pendingDelete_.clear();
    if (!isDeletionPassword(typed, session_.clock->today())) {
        info(QStringLiteral("Wrong Password."));
        return;
    }
    const bool shown = loadedEntry() == QVariant(code);
    if (deleteEntry(caption(), code,
                    [this](const QVariant& key) { return store_.remove(key.toString()); }))
        info(QStringLiteral("Record has ben deleted."));
    fillGrid();
    // The deleted vendor must not stay on the screen as if it could be corrected.
    if (shown || code_->text() == code)
        clearFields();
}

} // namespace stokara::masters
