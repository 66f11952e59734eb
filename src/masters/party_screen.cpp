#include "party_screen.h"

#include "deletion_password.h"
#include "core_ui/widgets.h"

#include "card_poller.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core_ui/screen_support.h"
#include "core/session.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stokara::masters {

using core::ErrorKind;
using core::guarded;

namespace {

QStringList yesNo() {
    return {QStringLiteral("Y"), QStringLiteral("N")};
}

} // namespace

PartyScreen::PartyScreen(core::Session& session, QWidget* parent)
    : QWidget(parent), session_(session), store_(*session.db) {
    setObjectName(QStringLiteral("masparty"));
    setWindowTitle(caption());
    buildControls();

    guarded(session_, ErrorKind::Show, QStringLiteral("Form_Load"), [this] { formLoad(); });

    poller_ = new reader::CardPoller(reader::PollSchedule::partyMaster(), this);
    connect(poller_, &reader::CardPoller::connected, this,
            [this] { setWindowTitle(reader::CardPoller::kConnectedCaption); });
    connect(poller_, &reader::CardPoller::disconnected, this,
            [this] { setWindowTitle(caption()); });
    connect(poller_, &reader::CardPoller::cardPresented, this, &PartyScreen::setCardNumber);
    poller_->start();

    core_ui::onScreenLoad(this, session_);
}

PartyScreen::~PartyScreen() {
    session_.newAccountName.clear();
}

void PartyScreen::closeEvent(QCloseEvent* event) {
    session_.newAccountName.clear();
    if (poller_)
        poller_->stop();
    QWidget::closeEvent(event);
}

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
    add1_ = core_ui::makeField(this, QStringLiteral("txtadd1"));
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
    comm1_ = core_ui::makeField(this, QStringLiteral("Text2"));
    commType1_ = core_ui::makeList(this, QStringLiteral("List2"), commissionTypes());
    commBuff1_ = core_ui::makeField(this, QStringLiteral("Text3"));
    commTypeBuff1_ = core_ui::makeList(this, QStringLiteral("List3"), commissionTypes());
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
    place(QStringLiteral("Party Code"), code_);
    place(QStringLiteral("Party Name"), name_);
    place(QStringLiteral("Address"), add1_);
    place(QStringLiteral("City"), city_);
    place(QStringLiteral("Mobile No."), ph_);
    place(QStringLiteral("Vehicle / Village"), vehicle_);
    place(QStringLiteral("Category"), category_);
    place(QStringLiteral("Card No."), cardNo_);
    place(QStringLiteral("Credit Limit"), creditLimit_);
    place(QStringLiteral("Active"), active_);
    place(QStringLiteral("Commission (Cow)"), pair(comm_, commType_));
    place(QStringLiteral("Commission (Buffalo)"), pair(commBuff_, commTypeBuff_));
    place(QStringLiteral("Commission (Cow)"), pair(comm1_, commType1_));
    place(QStringLiteral("Commission (Buffalo)"), pair(commBuff1_, commTypeBuff1_));
    place(QStringLiteral("SNF Circuit"), circuit_);
    place(QStringLiteral("IFSC"), ifsc_);
    place(QStringLiteral("Bank Account No."), acNo_);
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
    QLabel* drcrLabel = place(QStringLiteral("Dr./Cr."), balDrCr_);

    // The rate types serve the milk-collection editions only.
    rateFrame_ = new QGroupBox(QStringLiteral("Rate Setting"), this);
    rateFrame_->setObjectName(QStringLiteral("FrameRateSetting"));
    cowRate_ = core_ui::makeList(rateFrame_, QStringLiteral("LstCowRateType"), rateTypes());
    buffaloRate_ = core_ui::makeList(rateFrame_, QStringLiteral("LstBuffaloRateType"), rateTypes());
    auto* rateLayout = new QGridLayout(rateFrame_);
    rateLayout->addWidget(new QLabel(QStringLiteral("Cow"), rateFrame_), 0, 0);
    rateLayout->addWidget(cowRate_, 0, 1);
    rateLayout->addWidget(new QLabel(QStringLiteral("Buffalo"), rateFrame_), 1, 0);
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

    securityBox_ = new QGroupBox(QStringLiteral("Security"), this);
    securityBox_->setObjectName(QStringLiteral("Frame2"));
    password_ = core_ui::makeField(securityBox_, QStringLiteral("TxtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    passwordOk_ = new QPushButton(QStringLiteral("OK"), securityBox_);
    passwordOk_->setObjectName(QStringLiteral("CmdOk"));
    auto* secLayout = new QHBoxLayout(securityBox_);
    secLayout->addWidget(new QLabel(QStringLiteral("Password"), securityBox_));
    secLayout->addWidget(password_);
    secLayout->addWidget(passwordOk_);

    grid_ = core_ui::makeGrid(this, QStringLiteral("VsGrid"),
                     {QStringLiteral("Party Code"), QStringLiteral("Party Name"),
                      QStringLiteral("City"), QStringLiteral("MobileNo"), QStringLiteral("CardNo")},
                     {1500, 4500, 2500, 2000, -1});

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
    for (QWidget* w : {static_cast<QWidget*>(category_), static_cast<QWidget*>(comm1_),
                       static_cast<QWidget*>(commType1_), static_cast<QWidget*>(acNo_),
                       static_cast<QWidget*>(interest_), static_cast<QWidget*>(bankName_),
                       static_cast<QWidget*>(pan_), static_cast<QWidget*>(code_),
                       static_cast<QWidget*>(image_), static_cast<QWidget*>(photoButton_)})
        w->setEnabled(false);

    // Enter moves through the fields in this order.
    core_ui::EnterChain* chain = core_ui::makeEnterChain(this);
    chain->add(code_)
        .add(name_, [this] { return leaveName(); })
        .add(add1_,
             [this] {
                 leaveAddress();
                 return true;
             })
        .add(city_)
        .add(ph_)
        .add(vehicle_)
        .add(cardNo_)
        .add(creditLimit_)
        .add(active_)
        .add(comm_)
        .add(commType_)
        .add(commBuff_)
        .add(commTypeBuff_)
        .add(commBuff1_)
        .add(commTypeBuff1_)
        .add(circuit_)
        .add(ifsc_)
        .add(bankBranch_)
        .add(fatherName_)
        .add(accountName_)
        .add(save_);
    // Enter on the password is the box's OK.
    core_ui::makeEnterChain(this)->add(password_, [this] {
        passwordOk_->click();
        return false;
    });

    core_ui::onLeave(name_, [this] { leaveName(); });
    core_ui::onLeave(add1_, [this] { leaveAddress(); });
    core_ui::onLeave(opeBal_, [this] {
        if (opeBal_->text().isEmpty())
            opeBal_->setText(QStringLiteral("0"));
    });

    connect(save_, &QPushButton::clicked, this, [this] {
        guarded(session_, ErrorKind::Show, QStringLiteral("Command8_Click"), [this] { save(); });
    });
    connect(clear_, &QPushButton::clicked, this, [this] {
        guarded(session_, ErrorKind::Show, QStringLiteral("Command9_Click"),
                [this] { clearFields(); });
    });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) {
        guarded(session_, ErrorKind::Show, QStringLiteral("VsGrid_Click"),
                [this, r] { loadFromGrid(r); });
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        guarded(session_, ErrorKind::Show, QStringLiteral("VsGrid_DblClick"),
                [this, r] { askDelete(r); });
    });
    connect(passwordOk_, &QPushButton::clicked, this, [this] {
        guarded(session_, ErrorKind::Show, QStringLiteral("CmdOk_Click"),
                [this] { confirmDelete(); });
    });
    connect(photoButton_, &QPushButton::clicked, this, [this] {
        guarded(session_, ErrorKind::Show, QStringLiteral("CmdPhoto_Click"),
                [this] { selectPhoto(); });
    });
}

void PartyScreen::formLoad() {
    vehicle_->clear();
    for (const Vehicle& v : store_.vehicles())
        vehicle_->addItem(v.name, v.code);
    vehicle_->setCurrentIndex(-1);

    settings_ = store_.codeSettings();
    code_->setEnabled(settings_.manualCodes());

    name_->setText(session_.newAccountName);
    for (QWidget* w :
         {static_cast<QWidget*>(name_), static_cast<QWidget*>(add1_), static_cast<QWidget*>(city_),
          static_cast<QWidget*>(ph_), static_cast<QWidget*>(comm_)})
        w->setEnabled(true);
    fillGrid();
}

void PartyScreen::fillGrid() {
    QList<QStringList> rows;
    for (const PartyGridRow& r : store_.gridRows())
        rows.append({r.code, r.name, r.city, r.mobile, r.cardNo});
    core_ui::fillGrid(grid_, rows);
}

void PartyScreen::info(const QString& text) {
    session_.dialogs->information(caption(), text);
}

bool PartyScreen::leaveName() {
    bool ok = true;
    guarded(session_, ErrorKind::Show, QStringLiteral("TxtParty_name_LostFocus"), [&] {
        const QString name = name_->text();
        if (name.isEmpty())
            return;
        core_ui::setListText(category_, kMilkMan());
        if (code_->text().trimmed().isEmpty()) {
            if (store_.countByName(name) > 0) {
                info(QStringLiteral("Duplicate Name."));
                name_->clear();
                name_->setFocus();
                ok = false;
                return;
            }
            allocatedCode_ = store_.nextCode();
            code_->setText(allocatedCode_);
        }
        core_ui::setListText(cowRate_, kFatAdvanceRate());
        core_ui::setListText(buffaloRate_, kFatAdvanceRate());
        enablePhoto();
    });
    return ok;
}

void PartyScreen::leaveAddress() {
    if (add1_->text().isEmpty())
        add1_->setText(QStringLiteral("."));
}

void PartyScreen::enablePhoto() {
    image_->setEnabled(true);
    photoButton_->setEnabled(true);
}

PartyFields PartyScreen::collect() const {
    PartyFields f;
    f.code = code_->text();
    f.name = name_->text();
    f.add1 = add1_->text();
    f.ph = ph_->text();
    f.vehCode = vehicle_->currentIndex() >= 0 ? vehicle_->currentData().toString() : QString();
    f.category = core_ui::listText(category_);
    f.city = city_->text();
    f.opeBal = opeBal_->text();
    f.balDrCr = balDrCr_->text();
    f.commPer = comm_->text();
    f.commType = core_ui::listText(commType_);
    f.commPerBuff = commBuff_->text();
    f.commTypeBuff = core_ui::listText(commTypeBuff_);
    f.commPer1 = comm1_->text();
    f.commType1 = core_ui::listText(commType1_);
    f.commPerBuff1 = commBuff1_->text();
    f.commTypeBuff1 = core_ui::listText(commTypeBuff1_);
    f.cowRateType = core_ui::listText(cowRate_);
    f.buffaloRateType = core_ui::listText(buffaloRate_);
    f.acNo = acNo_->text();
    f.interestRate = interest_->text();
    f.active = core_ui::listText(active_);
    f.ifsc = ifsc_->text();
    f.snfCircuit = core_ui::listText(circuit_);
    f.imagePath = photoPath_;
    f.accountName = accountName_->text();
    f.fatherName = fatherName_->text();
    f.bankName = bankName_->text();
    f.bankBranch = bankBranch_->text();
    f.pan = pan_->text();
    f.cardNo = cardNo_->text();
    f.creditLimit = creditLimit_->text();
    return f;
}

QWidget* PartyScreen::fieldFor(const QString& column) const {
    const QHash<QString, QWidget*> map{
        {QStringLiteral("party_code"), code_},
        {QStringLiteral("party_name"), name_},
        {QStringLiteral("add1"), add1_},
        {QStringLiteral("city"), city_},
        {QStringLiteral("ph"), ph_},
        {QStringLiteral("veh_code"), vehicle_},
        {QStringLiteral("commper"), comm_},
        {QStringLiteral("commtype"), commType_},
        {QStringLiteral("commperbuff"), commBuff_},
        {QStringLiteral("commtypebuff"), commTypeBuff_},
        {QStringLiteral("commperbuff1"), commBuff1_},
        {QStringLiteral("commtypebuff1"), commTypeBuff1_},
        {QStringLiteral("ifsc"), ifsc_},
        {QStringLiteral("accountname"), accountName_},
        {QStringLiteral("fathername"), fatherName_},
        {QStringLiteral("bankbranch"), bankBranch_},
        {QStringLiteral("cardno"), cardNo_},
        {QStringLiteral("creditlimit"), creditLimit_},
    };
    return map.value(column, nullptr);
}

void PartyScreen::save() {
    const QString code = code_->text().trimmed();
    if (code.isEmpty()) {
        info(QStringLiteral("Enter Code."));
        return;
    }
    if (core_ui::listText(active_).isEmpty())
        core_ui::setListText(active_, QStringLiteral("Y"));
    const PartyFields fields = collect();
    if (const auto problem = store_.validate(fields)) {
        info(problem->message);
        if (QWidget* w = fieldFor(problem->column); w && w->isEnabled())
            w->setFocus();
        return;
    }
    const bool allocated = !allocatedCode_.isEmpty() && code == allocatedCode_;
    const PartyStore::SaveResult result = store_.save(fields, allocated);
    allocatedCode_.clear();
    if (result.inserted) {
        for (QLineEdit* e : {code_, name_, add1_, ph_, city_, balDrCr_, comm1_, commBuff1_, acNo_,
                             interest_, ifsc_, cardNo_})
            e->clear();
        for (QComboBox* l :
             {vehicle_, category_, commType_, commTypeBuff_, commType1_, commTypeBuff1_, circuit_})
            core_ui::setListText(l, QString());
        opeBal_->setText(QStringLiteral("0"));
        comm_->setText(QStringLiteral("0"));
        commBuff_->setText(QStringLiteral("0"));
        core_ui::setListText(active_, QStringLiteral("Y"));
    } else if (result.code != code) {
        code_->setText(result.code);
    }
    info(QStringLiteral("Data Saved."));
    fillGrid();
    name_->setFocus();
}

void PartyScreen::clearFields() {
    name_->setFocus();
    for (QLineEdit* e :
         {code_, name_, add1_, ph_, city_, balDrCr_, acNo_, interest_, ifsc_, cardNo_})
        e->clear();
    for (QComboBox* l : {vehicle_, category_, circuit_, active_})
        core_ui::setListText(l, QString());
    opeBal_->setText(QStringLiteral("0"));
    comm_->setText(QStringLiteral("0"));
    allocatedCode_.clear();
}

void PartyScreen::loadFromGrid(int row) {
    if (row < 0 || row >= grid_->rowCount())
        return;
    const QTableWidgetItem* cell = grid_->item(row, 0);
    const QString code = cell ? cell->text() : QString();
    const auto party = store_.load(code);
    if (!party)
        return;
    const PartyFields& f = *party;
    code_->setText(f.code);
    name_->setText(f.name);
    add1_->setText(f.add1);
    ph_->setText(f.ph);
    const int v = vehicle_->findData(f.vehCode);
    if (v >= 0 || f.vehCode.isEmpty()) {
        vehicle_->setCurrentIndex(v);
    } else {
        // A vehicle code with no vehicle row still shows and is kept.
        vehicle_->addItem(f.vehCode, f.vehCode);
        vehicle_->setCurrentIndex(vehicle_->count() - 1);
    }
    city_->setText(f.city);
    opeBal_->setText(f.opeBal);
    balDrCr_->setText(f.balDrCr);
    comm_->setText(f.commPer);
    core_ui::setListText(buffaloRate_, f.buffaloRateType);
    core_ui::setListText(cowRate_, f.cowRateType);
    core_ui::setListText(category_, f.category);
    core_ui::setListText(commType_, f.commType);
    commBuff_->setText(f.commPerBuff);
    core_ui::setListText(commTypeBuff_, f.commTypeBuff);
    acNo_->setText(f.acNo);
    comm1_->setText(f.commPer1);
    commBuff1_->setText(f.commPerBuff1);
    core_ui::setListText(commType1_, f.commType1);
    core_ui::setListText(commTypeBuff1_, f.commTypeBuff1);
    interest_->setText(f.interestRate);
    core_ui::setListText(active_, f.active);
    ifsc_->setText(f.ifsc);
    core_ui::setListText(circuit_, f.snfCircuit);
    accountName_->setText(f.accountName);
    fatherName_->setText(f.fatherName);
    bankName_->setText(f.bankName);
    bankBranch_->setText(f.bankBranch);
    pan_->setText(f.pan);
    cardNo_->setText(f.cardNo);
    creditLimit_->setText(f.creditLimit);
    allocatedCode_.clear();
    enablePhoto();

    if (!f.imagePath.isEmpty() && !QFileInfo::exists(f.imagePath)) {
        image_->clear();
        info(QStringLiteral("Photo missing in system."));
    } else {
        showPhoto(f.imagePath);
    }
    photoPath_ = f.imagePath;
}

void PartyScreen::showPhoto(const QString& path) {
    image_->clear();
    if (path.isEmpty())
        return;
    QPixmap picture(path);
    if (picture.isNull())
        return;
    image_->setPixmap(
        picture.scaled(image_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void PartyScreen::selectPhoto() {
    const QString path =
        session_.dialogs->openFile(QStringLiteral("Select a image"),
                                   QStringLiteral("JPEG pictures (*.jpg *.jpeg *.JPG *.JPEG)"));
    if (path.isEmpty())
        return;
    showPhoto(path);
    photoPath_ = QFileInfo(path).absoluteFilePath();
}

void PartyScreen::askDelete(int row) {
    if (row < 0 || row >= grid_->rowCount())
        return;
    const QTableWidgetItem* cell = grid_->item(row, 0);
    if (!cell)
        return;
    if (session_.dialogs->message(
            core::Icon::Information, caption(),
            QStringLiteral("Are you sure to delete milk man account and all its data.?"),
            core::Buttons::OkCancel) != core::Answer::Ok)
        return;
    // The party confirmed here is the one deleted, whatever row is current later.
    pendingDelete_ = cell->text();
    password_->clear();
    securityBox_->show();
    password_->setFocus();
}

void PartyScreen::confirmDelete() {
    const QString typed = password_->text();
    password_->clear();
    if (!isDeletionPassword(typed, session_.clock->today())) {
        securityBox_->hide();
        pendingDelete_.clear();
        info(QStringLiteral("Wrong Password."));
        return;
    }
    const QString code = pendingDelete_;
    pendingDelete_.clear();
    securityBox_->hide();
    store_.deleteParty(code);
    info(QStringLiteral("All data has ben deleted."));
    fillGrid();
    // A deleted party left on the screen would be stored again by the next Save.
    if (code_->text().trimmed() == code)
        clearFields();
}

void PartyScreen::setCardNumber(const QString& cardNo) {
    cardNo_->setText(cardNo);
}

} // namespace stokara::masters
