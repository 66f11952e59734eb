#include "party_screen.h"
#include "deletion_box.h"

#include "deletion_password.h"
#include "master_list_model.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"
#include "reader/card_poller.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>

namespace stokara::masters {

using core::ErrorKind;
using core_ui::Via;

PartyScreen::PartyScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("masparty"), caption(), parent), store_(*session.db) {
    buildControls();
    connectFlow();

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] { formLoad(); });

    poller_ = new reader::CardPoller(reader::PollSchedule::partyMaster(), this);
    connect(poller_, &reader::CardPoller::connected, this,
            [this] { setWindowTitle(reader::CardPoller::kConnectedCaption); });
    connect(poller_, &reader::CardPoller::disconnected, this,
            [this] { setWindowTitle(caption()); });
    connect(poller_, &reader::CardPoller::cardPresented, this, &PartyScreen::setCardNumber);
    poller_->start();

    finishSetup();
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

void PartyScreen::connectFlow() {
    flow()
        .add(code_)
        .add(name_, [this](Via) { return leaveName(); })
        .add(address_,
             [this](Via) {
                 dotForEmptyAddress(address_);
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
        .add(secondBuffaloComm_)
        .add(secondBuffaloCommType_)
        .add(circuit_)
        .add(ifsc_)
        .add(bankBranch_)
        .add(fatherName_)
        .add(accountName_)
        .add(save_);
    flow().watch(opeBal_, [this](Via) {
        if (opeBal_->text().isEmpty())
            opeBal_->setText(QStringLiteral("0"));
        return true;
    });
    // Enter on the password is the box's OK.
    flow().watch(password_, [this](Via via) {
        if (via == Via::Enter)
            passwordOk_->click();
        return false;
    });

    auto handler = [this](const char* procedure, auto body) {
        return [this, procedure, body] {
            run(ErrorKind::Show, QString::fromLatin1(procedure), [this, body] { (this->*body)(); });
        };
    };
    connect(save_, &QPushButton::clicked, this, handler("Command8_Click", &PartyScreen::save));
    connect(clear_, &QPushButton::clicked, this,
            handler("Command9_Click", &PartyScreen::clearFields));
    connect(passwordOk_, &QPushButton::clicked, this,
            handler("CmdOk_Click", &PartyScreen::confirmDelete));
    connect(photoButton_, &QPushButton::clicked, this,
            handler("CmdPhoto_Click", &PartyScreen::selectPhoto));
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& at) {
        const int r = at.row();
        run(ErrorKind::Show, QStringLiteral("VsGrid_Click"), [this, r] { loadFromGrid(r); });
    });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& at) {
        const int r = at.row();
        run(ErrorKind::Show, QStringLiteral("VsGrid_DblClick"), [this, r] { askDelete(r); });
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
         {static_cast<QWidget*>(name_), static_cast<QWidget*>(address_),
          static_cast<QWidget*>(city_), static_cast<QWidget*>(ph_), static_cast<QWidget*>(comm_)})
        w->setEnabled(true);
    fillGrid();
}

void PartyScreen::fillGrid() {
    const QList<PartyGridRow> parties = store_.gridRows();
    QList<QStringList> rows;
    rows.reserve(parties.size());
    for (const PartyGridRow& r : parties)
        rows.append({r.code, r.name, r.city, r.mobile, r.cardNo});
    gridRows_->setRows(std::move(rows));
}

void PartyScreen::info(const QString& text) {
    session_.dialogs->information(caption(), text);
}

bool PartyScreen::leaveName() {
    bool ok = true;
    run(ErrorKind::Show, QStringLiteral("TxtParty_name_LostFocus"), [&] {
        const QString name = name_->text();
        if (name.isEmpty())
            return;
        // A new party is a milk supplier; a loaded one keeps its category, so a
        // collection centre corrected here stays one.
        if (core_ui::listText(category_).isEmpty())
            core_ui::setListText(category_, kMilkMan());
        if (code_->text().trimmed().isEmpty()) {
            if (store_.countByName(name) > 0) {
                name_->clear();
                refuse(caption(), {name_->objectName(), kDuplicateName});
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

void PartyScreen::enablePhoto() {
    image_->setEnabled(true);
    photoButton_->setEnabled(true);
}

PartyFields PartyScreen::collect() const {
    PartyFields f;
    f.code = code_->text();
    f.name = name_->text();
    f.add1 = address_->text();
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
    f.commPer1 = secondCowComm_->text();
    f.commType1 = core_ui::listText(secondCowCommType_);
    f.commPerBuff1 = secondBuffaloComm_->text();
    f.commTypeBuff1 = core_ui::listText(secondBuffaloCommType_);
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
        refuse(caption(), *problem);
        return;
    }
    // Insert or update follows the loaded party, never a lookup by code or
    // name: a typed code with another party's name must not rewrite nothing.
    const QVariant loaded = loadedEntry();
    const bool allocated = !allocatedCode_.isEmpty() && code == allocatedCode_;
    PartyStore::Written written;
    const bool saved = saveEntry(
        caption(), [&] { written = store_.insert(fields, allocated); },
        [&](const QVariant& key) {
            written = store_.update(key.toString(), fields);
            return written.hit || written.refused.has_value();
        });
    if (written.refused) {
        if (loaded.isValid())
            cycle().loaded(loaded, true);
        if (written.refused->message == kDuplicateName)
            name_->clear();
        refuse(caption(), *written.refused);
        return;
    }
    if (!saved) {
        // The party was deleted by another counter: what is shown is a new party
        // now, and its code is given up if someone takes it meanwhile.
        allocatedCode_ = code;
        code_->setEnabled(settings_.manualCodes());
        fillGrid();
        return;
    }
    allocatedCode_.clear();
    if (loaded.isValid())
        cycle().loaded(loaded, true); // the fields still show it
    else
        afterInsert();
    info(QStringLiteral("Data Saved."));
    fillGrid();
    name_->setFocus();
}

void PartyScreen::afterInsert() {
    for (QLineEdit* e : {code_, name_, address_, ph_, city_, balDrCr_, secondCowComm_,
                         secondBuffaloComm_, acNo_, interest_, ifsc_, cardNo_})
        e->clear();
    for (QComboBox* l : {vehicle_, category_, commType_, commTypeBuff_, secondCowCommType_,
                         secondBuffaloCommType_, circuit_})
        core_ui::setListText(l, QString());
    opeBal_->setText(QStringLiteral("0"));
    comm_->setText(QStringLiteral("0"));
    commBuff_->setText(QStringLiteral("0"));
    core_ui::setListText(active_, QStringLiteral("Y"));
    // The next party must not be saved with this one's photograph.
    forgetPhoto();
}

void PartyScreen::forgetPhoto() {
    photoPath_.clear();
    image_->clear();
}

void PartyScreen::clearFields() {
    name_->setFocus();
    for (QLineEdit* e :
         {code_, name_, address_, ph_, city_, balDrCr_, acNo_, interest_, ifsc_, cardNo_})
        e->clear();
    for (QComboBox* l : {vehicle_, category_, circuit_, active_})
        core_ui::setListText(l, QString());
    opeBal_->setText(QStringLiteral("0"));
    comm_->setText(QStringLiteral("0"));
    allocatedCode_.clear();
    forgetPhoto();
    cycle().reset();
    code_->setEnabled(settings_.manualCodes());
}

void PartyScreen::loadFromGrid(int row) {
    if (row < 0 || row >= gridRows_->rowCount())
        return;
    const auto party = store_.load(gridRows_->text(row, 0));
    if (!party)
        return;
    const PartyFields& f = *party;
    code_->setText(f.code);
    name_->setText(f.name);
    address_->setText(f.add1);
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
    secondCowComm_->setText(f.commPer1);
    secondBuffaloComm_->setText(f.commPerBuff1);
    core_ui::setListText(secondCowCommType_, f.commType1);
    core_ui::setListText(secondBuffaloCommType_, f.commTypeBuff1);
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
    // A loaded party keeps its code: Save rewrites exactly this party.
    cycle().loaded(f.code, true);
    code_->setEnabled(false);
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
    if (row < 0 || row >= gridRows_->rowCount())
        return;
    if (session_.dialogs->message(
            core::Icon::Information, caption(),
            QStringLiteral("Are you sure to delete milk man account and all its data.?"),
            core::Buttons::OkCancel) != core::Answer::Ok)
        return;
    // The party confirmed here is the one deleted, whatever row is current later.
    pendingDelete_ = gridRows_->text(row, 0);
    password_->clear();
    securityBox_->show();
    flow().moveFocus(password_);
}

void PartyScreen::confirmDelete() {
    const QString typed = password_->text();
    const QString code = pendingDelete_;
    password_->clear();
    pendingDelete_.clear();
    securityBox_->hide();
    if (!isDeletionPassword(typed, session_.clock->today())) {
        info(QStringLiteral("Wrong Password."));
        return;
    }
    const bool shown = loadedEntry() == QVariant(code);
    if (deleteEntry(caption(), code,
                    [this](const QVariant& key) { return store_.deleteParty(key.toString()); }))
        info(QStringLiteral("All data has ben deleted."));
    fillGrid();
    // A deleted party left on the screen would be stored again by the next Save.
    if (shown || code_->text().trimmed() == code)
        clearFields();
}

void PartyScreen::setCardNumber(const QString& cardNo) {
    cardNo_->setText(cardNo);
}

} // namespace stokara::masters
