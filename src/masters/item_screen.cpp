#include "item_screen.h"
#include "master_list_model.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace stokara::masters {

using core::ErrorKind;
using core_ui::Via;

namespace {
constexpr int kAutoNoColumn = 3;
}

ItemScreen::ItemScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("frmmasitem"), caption(), parent), store_(*session.db) {
    name_ = core_ui::makeField(this, QStringLiteral("txtitem_name"));
    mainItem_ = core_ui::makeList(this, QStringLiteral("LstMainItem"), mainItemFlags());
    // Free text is accepted besides the unit words.
    unit_ = core_ui::makeList(this, QStringLiteral("LstUnit"), unitWords(), true);
    rate_ = core_ui::makeField(this, QStringLiteral("txtrate"));
    opeBal_ = core_ui::makeField(this, QStringLiteral("TxtOpeBal"));
    autoNo_ = core_ui::makeField(this, QStringLiteral("TxtAutoNo"));
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("Command8"));
    clear_ = new QPushButton(QStringLiteral("&Clear"), this);
    clear_->setObjectName(QStringLiteral("Command9"));
    gridRows_ = new MasterListModel({QStringLiteral("Item Name"), QStringLiteral("Unit"),
                                     QStringLiteral("Rate"), QStringLiteral("AutoNo"),
                                     QStringLiteral("Ope. Bal."), QStringLiteral("Main Item")},
                                    this);
    grid_ =
        makeListView(this, QStringLiteral("VsGrid"), gridRows_, {5000, 1000, 1000, 0, 1400, 1400});

    auto* form = new QGridLayout;
    int row = 0;
    auto place = [&](const QString& label, QWidget* field) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);
        form->addWidget(l, row, 0);
        form->addWidget(field, row, 1);
        ++row;
        return l;
    };
    place(QStringLiteral("Item Name"), name_)->setObjectName(QStringLiteral("lblitemname"));
    place(QStringLiteral("Main Item"), mainItem_);
    place(QStringLiteral("Unit"), unit_)->setObjectName(QStringLiteral("lblunit"));
    place(QStringLiteral("Rate"), rate_)->setObjectName(QStringLiteral("lblrate"));
    place(QStringLiteral("Opening Balance"), opeBal_)->setObjectName(QStringLiteral("LblBalance"));
    autoNoLabel_ = place(QStringLiteral("Entry No."), autoNo_);
    autoNoLabel_->setObjectName(QStringLiteral("LblentryNo"));
    autoNo_->hide();
    autoNoLabel_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    // Enter only moves on; Enter in the opening balance goes to Save without saving.
    flow()
        .add(name_,
             [this](Via) {
                 leaveName();
                 return true;
             })
        .add(mainItem_)
        .add(unit_,
             [this](Via) {
                 leaveUnit();
                 return true;
             })
        .add(rate_)
        .add(opeBal_)
        .add(save_);

    connect(save_, &QPushButton::clicked, this,
            [this] { run(ErrorKind::Show, QStringLiteral("Command8_Click"), [this] { save(); }); });
    connect(clear_, &QPushButton::clicked, this,
            [this] { run(ErrorKind::Show, QStringLiteral("clear"), [this] { clearFields(); }); });
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& at) {
        const int r = at.row();
        run(ErrorKind::Show, QStringLiteral("VsGrid_Click"), [this, r] { loadFromGrid(r); });
    });

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] { fillGrid(); });
    finishSetup();
}

bool ItemScreen::functionKey(int key) {
    if (key != Qt::Key_F10)
        return false;
    deleteCurrent();
    return true;
}

void ItemScreen::fillGrid() {
    const auto items = store_.gridRows();
    QList<QStringList> rows;
    rows.reserve(items.size());
    for (const ItemGridRow& r : items)
        rows.append({r.name, r.unit, r.rate, r.autoNo, r.opeBal, r.mainItem});
    gridRows_->setRows(std::move(rows));
}

void ItemScreen::leaveName() {
    name_->setText(itemNameOnLeave(name_->text()));
    if (core_ui::listText(mainItem_).isEmpty())
        core_ui::setListText(mainItem_, mainItemOnLeave(QString()));
}

void ItemScreen::leaveUnit() {
    if (core_ui::listText(unit_).isEmpty())
        core_ui::setListText(unit_, unitOnLeave(QString()));
}

ItemFields ItemScreen::collect() const {
    return {name_->text(),   core_ui::listText(unit_),     rate_->text(),
            opeBal_->text(), core_ui::listText(mainItem_), autoNo_->text()};
}

void ItemScreen::save() {
    const ItemFields fields = collect();
    if (fields.name.isEmpty() || fields.unit.isEmpty()) {
        session_.dialogs->information(caption(), QStringLiteral("Enter Proper Data."));
        return;
    }
    if (const auto problem = store_.validate(fields)) {
        refuse(caption(), *problem);
        return;
    }
    const QVariant loaded = loadedEntry();
    const bool saved = saveEntry(
        caption(), [&] { store_.insert(fields); },
        [&](const QVariant& key) { return store_.update(key.toLongLong(), fields); });
    fillGrid();
    if (!saved) {
        autoNo_->clear(); // deleted meanwhile: what is shown is a new item now
        return;
    }
    if (loaded.isValid())
        cycle().loaded(loaded, true); // the fields still show it
    if (session_.dialogs->okCancel(caption(), QStringLiteral("Do You want to add new item?"))) {
        // The main-item flag stays for the next item.
        for (QLineEdit* e : {name_, autoNo_, rate_, opeBal_})
            e->clear();
        core_ui::setListText(unit_, QString());
        cycle().reset();
        name_->setFocus();
    }
}

void ItemScreen::clearFields() {
    for (QLineEdit* e : {name_, rate_, opeBal_, autoNo_})
        e->clear();
    core_ui::setListText(unit_, QString());
    core_ui::setListText(mainItem_, QString());
    cycle().reset();
}

void ItemScreen::loadFromGrid(int row) {
    if (row < 0 || row >= gridRows_->rowCount())
        return;
    auto cell = [&](int c) { return gridRows_->text(row, c); };
    if (!store_.exists(cell(0)))
        return;
    name_->setText(cell(0));
    core_ui::setListText(unit_, cell(1));
    rate_->setText(cell(2));
    autoNo_->setText(cell(3));
    opeBal_->setText(cell(4));
    core_ui::setListText(mainItem_, cell(5));
    const qint64 entry = itemNumbers({{}, {}, {}, {}, {}, cell(3)}).entry;
    if (entry > 0)
        cycle().loaded(entry, true);
    else
        cycle().reset();
}

void ItemScreen::deleteCurrent() {
    if (gridRows_->rowCount() == 0)
        return;
    const ItemNumbers n = itemNumbers({{}, {}, {}, {}, {}, currentText(grid_, kAutoNoColumn)});
    if (n.entry <= 0)
        return;
    if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                    QStringLiteral("Are You Sure to Delete.")))
        return;
    deleteEntry(caption(), n.entry,
                [this](const QVariant& key) { return store_.remove(key.toLongLong()); });
    name_->clear();
    core_ui::setListText(unit_, QString());
    rate_->clear();
    fillGrid();
}

} // namespace stokara::masters
