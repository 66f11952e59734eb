// The party master's controls and their places; the behaviour is in party_screen.cpp.
#include "deletion_box.h"
#include "master_list_model.h"
#include "party_screen.h"

#include "core_ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace stokara::masters {

namespace {

QStringList yesNo() {
    return {QStringLiteral("Y"), QStringLiteral("N")};
}

} // namespace

void PartyScreen::buildControls() {
    auto* form = new QGridLayout;
    int row = 0;
    int col = 0;
    auto place = [&](const QString& label, QWidget* field) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);
        form->addWidget(l, row, col * 2);
        form->addWidget(field, row, col * 2 + 1);
        if (++col == 2) {
            col = 0;
            ++row;
        }
        return l;
    };

    code_ = core_ui::makeField(this, QStringLiteral("TxtPartyCode"));
    name_ = core_ui::makeField(this, QStringLiteral("TxtParty_name"));
    address_ = core_ui::makeField(this, QStringLiteral("txtadd1"));
    city_ = core_ui::makeField(this, QStringLiteral("txtcity"));
    ph_ = core_ui::makeField(this, QStringLiteral("txtph"));
    vehicle_ = core_ui::makeList(this, QStringLiteral("DCvehicle"), {});
    category_ = core_ui::makeList(this, QStringLiteral("ListCategory"), partyCategories());
    opeBal_ = core_ui::makeField(this, QStringLiteral("Txtope_bal"));
    balDrCr_ = core_ui::makeField(this, QStringLiteral("txtbaldrcr"));
    comm_ = core_ui::makeField(this, QStringLiteral("TxtComm"));
    commType_ = core_ui::makeList(this, QStringLiteral("ListComm"), commissionTypes());
    commBuff_ = core_ui::makeField(this, QStringLiteral("TxtCommBuff"));
    commTypeBuff_ = core_ui::makeList(this, QStringLiteral("ListCommBuff"), commissionTypes());
    secondCowComm_ = core_ui::makeField(this, QStringLiteral("Text2"));
    secondCowCommType_ = core_ui::makeList(this, QStringLiteral("List2"), commissionTypes());
    secondBuffaloComm_ = core_ui::makeField(this, QStringLiteral("Text3"));
    secondBuffaloCommType_ = core_ui::makeList(this, QStringLiteral("List3"), commissionTypes());
    acNo_ = core_ui::makeField(this, QStringLiteral("TxtAcNo"));
    interest_ = core_ui::makeField(this, QStringLiteral("TxtInterestRate"));
    active_ = core_ui::makeList(this, QStringLiteral("LstActive"), yesNo());
    ifsc_ = core_ui::makeField(this, QStringLiteral("TxtIFSC"));
    circuit_ = core_ui::makeList(this, QStringLiteral("LstCircuit"), yesNo());
    accountName_ = core_ui::makeField(this, QStringLiteral("TxtAccountName"));
    fatherName_ = core_ui::makeField(this, QStringLiteral("TxtFatherName"));
    bankName_ = core_ui::makeField(this, QStringLiteral("TxtBankName"));
    bankBranch_ = core_ui::makeField(this, QStringLiteral("TxtBankBranch"));
    pan_ = core_ui::makeField(this, QStringLiteral("TxtPan"));
    cardNo_ = core_ui::makeField(this, QStringLiteral("TxtCardNo"));
    creditLimit_ = core_ui::makeField(this, QStringLiteral("TxtCreditLimit"));

    // A commission and its type share one row, so each type list sits beside its value.
    auto pair = [this](QLineEdit* value, QComboBox* type) {
        auto* box = new QWidget(this);
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(value, 1);
        h->addWidget(type, 1);
        return box;
    };
    place(QStringLiteral("Party Code"), code_)->setObjectName(QStringLiteral("LblCode"));
    place(QStringLiteral("Party Name"), name_)->setObjectName(QStringLiteral("lblname"));
    place(QStringLiteral("Address"), address_)->setObjectName(QStringLiteral("LblAddress"));
    place(QStringLiteral("City"), city_)->setObjectName(QStringLiteral("LblCity"));
    place(QStringLiteral("Mobile No."), ph_)->setObjectName(QStringLiteral("LblMobile"));
    place(QStringLiteral("Vehicle / Village"), vehicle_)
        ->setObjectName(QStringLiteral("LblVehicle"));
    place(QStringLiteral("Category"), category_)->setObjectName(QStringLiteral("LblCategory"));
    place(QStringLiteral("Card No."), cardNo_);
    place(QStringLiteral("Credit Limit"), creditLimit_);
    place(QStringLiteral("Active"), active_);
    place(QStringLiteral("Commission (Cow)"), pair(comm_, commType_))
        ->setObjectName(QStringLiteral("LblCommission"));
    place(QStringLiteral("Commission (Buffalo)"), pair(commBuff_, commTypeBuff_))
        ->setObjectName(QStringLiteral("LblcommissionBuffalo"));
    place(QStringLiteral("Commission (Cow)"), pair(secondCowComm_, secondCowCommType_));
    place(QStringLiteral("Commission (Buffalo)"), pair(secondBuffaloComm_, secondBuffaloCommType_));
    place(QStringLiteral("SNF Circuit"), circuit_);
    place(QStringLiteral("IFSC"), ifsc_);
    place(QStringLiteral("Bank Account No."), acNo_)
        ->setObjectName(QStringLiteral("LblBankAccountno"));
    place(QStringLiteral("Interest Rate %"), interest_);
    place(QStringLiteral("Bank Name"), bankName_);
    place(QStringLiteral("Bank Branch"), bankBranch_);
    place(QStringLiteral("PAN"), pan_);
    place(QStringLiteral("Father Name"), fatherName_);
    place(QStringLiteral("Account Name"), accountName_);
    // Hidden in this edition: last, so they leave no gap.
    if (col != 0) {
        col = 0;
        ++row;
    }
    QLabel* opeLabel = place(QStringLiteral("Op. Balance"), opeBal_);
    opeLabel->setObjectName(QStringLiteral("LblBalance"));
    QLabel* drcrLabel = place(QStringLiteral("Dr./Cr."), balDrCr_);

    // The rate types serve the milk-collection editions only.
    rateFrame_ = new QGroupBox(QStringLiteral("Rate Setting"), this);
    rateFrame_->setObjectName(QStringLiteral("FrameRateSetting"));
    cowRate_ = core_ui::makeList(rateFrame_, QStringLiteral("LstCowRateType"), rateTypes());
    buffaloRate_ = core_ui::makeList(rateFrame_, QStringLiteral("LstBuffaloRateType"), rateTypes());
    auto* rateLayout = new QGridLayout(rateFrame_);
    auto* cow = new QLabel(QStringLiteral("Cow"), rateFrame_);
    cow->setObjectName(QStringLiteral("LblCattleCow"));
    auto* buffalo = new QLabel(QStringLiteral("Buffalo"), rateFrame_);
    buffalo->setObjectName(QStringLiteral("LblCattleBuffalo"));
    rateLayout->addWidget(cow, 0, 0);
    rateLayout->addWidget(cowRate_, 0, 1);
    rateLayout->addWidget(buffalo, 1, 0);
    rateLayout->addWidget(buffaloRate_, 1, 1);

    // Photograph panel.
    auto* photoPanel = new QVBoxLayout;
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setFixedSize(130, 150);
    image_->setFrameShape(QFrame::Box);
    image_->setAlignment(Qt::AlignCenter);
    photoButton_ = new QPushButton(QStringLiteral("Select Photo"), this);
    photoButton_->setObjectName(QStringLiteral("CmdPhoto"));
    photoPanel->addWidget(image_);
    photoPanel->addWidget(photoButton_);
    photoPanel->addWidget(rateFrame_);
    photoPanel->addStretch();

    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("Command8"));
    clear_ = new QPushButton(QStringLiteral("&Clear"), this);
    clear_->setObjectName(QStringLiteral("Command9"));

    const DeletionBox deletion = makeDeletionBox(this);
    securityBox_ = deletion.box;
    password_ = deletion.password;
    passwordOk_ = deletion.ok;

    gridRows_ = new MasterListModel({QStringLiteral("Party Code"), QStringLiteral("Party Name"),
                                     QStringLiteral("City"), QStringLiteral("MobileNo"),
                                     QStringLiteral("CardNo")},
                                    this);
    grid_ = makeListView(this, QStringLiteral("VsGrid"), gridRows_, {1500, 4500, 2500, 2000, -1});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addWidget(securityBox_);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(photoPanel);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    // This edition's field states.
    for (QWidget* w : {static_cast<QWidget*>(opeBal_), static_cast<QWidget*>(opeLabel),
                       static_cast<QWidget*>(balDrCr_), static_cast<QWidget*>(drcrLabel),
                       static_cast<QWidget*>(rateFrame_), static_cast<QWidget*>(securityBox_)})
        w->hide();
    for (QWidget* w : {static_cast<QWidget*>(category_), static_cast<QWidget*>(secondCowComm_),
                       static_cast<QWidget*>(secondCowCommType_), static_cast<QWidget*>(acNo_),
                       static_cast<QWidget*>(interest_), static_cast<QWidget*>(bankName_),
                       static_cast<QWidget*>(pan_), static_cast<QWidget*>(code_),
                       static_cast<QWidget*>(image_), static_cast<QWidget*>(photoButton_)})
        w->setEnabled(false);
}

} // namespace stokara::masters
