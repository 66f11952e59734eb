#include "account_head_screen.h"

#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <tuple>

#include <cmath>

namespace stokara::masters {

using core::ErrorKind;

namespace {
// The row number of a cell; 0 when it holds none.
qint64 rowNumber(const QString& text) {
    const double n = core::val(text);
    return n >= 1 && n < 9.0e15 ? static_cast<qint64>(std::floor(n)) : 0;
}
} // namespace

AccountHeadScreen::AccountHeadScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("FrmHead"), caption(), parent), store_(*session.db) {
    head_ = core_ui::makeField(this, QStringLiteral("TxtHead"));
    group_ = core_ui::makeList(this, QStringLiteral("LstGroup"), accountGroups());
    autoNo_ = core_ui::makeField(this, QStringLiteral("TxtAuto_no"));
    autoNo_->setReadOnly(true);
    autoNo_->setFocusPolicy(Qt::NoFocus);
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("Command8"));
    clear_ = new QPushButton(QStringLiteral("&Clear"), this);
    clear_->setObjectName(QStringLiteral("Command9"));
    grid_ = core_ui::makeGrid(this, QStringLiteral("VsFlex"),
                              {QStringLiteral("Auto No"), QStringLiteral("Account Head"),
                               QStringLiteral("Account Group")},
                              {1000, 2500, 2500});

    auto* form = new QGridLayout;
    int row = 0;
    using Row = std::tuple<const char*, const char*, QWidget*>;
    for (auto [label, name, field] :
         {Row{"Account Head", "LblHead", head_}, Row{"Account Group", "LblGroup", group_},
          Row{"Auto No", "LblentryNo", autoNo_}}) {
        auto* l = new QLabel(QString::fromLatin1(label), this);
        l->setObjectName(QString::fromLatin1(name));
        form->addWidget(l, row, 0);
        form->addWidget(field, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    flow().add(head_).add(group_).add(save_);

    connect(save_, &QPushButton::clicked, this,
            [this] { run(ErrorKind::Show, QStringLiteral("Command8_Click"), [this] { save(); }); });
    connect(clear_, &QPushButton::clicked, this, [this] { clearFields(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) {
        run(ErrorKind::Show, QStringLiteral("VsFlex_Click"), [this, r] { loadFromGrid(r); });
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        run(ErrorKind::Show, QStringLiteral("VsFlex_DblClick"), [this, r] { askDelete(r); });
    });

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] { fillGrid(); });
    finishSetup();
}

bool AccountHeadScreen::functionKey(int key) {
    if (key == Qt::Key_F3) {
        clearFields();
        return true;
    }
    if (key == Qt::Key_F6) {
        cycle().startCorrection();
        return true;
    }
    return false;
}

void AccountHeadScreen::info(const QString& text) {
    session_.dialogs->information(caption(), text);
}

void AccountHeadScreen::fillGrid() {
    QList<QStringList> rows;
    for (const AccountHeadRow& r : store_.gridRows())
        rows.append({r.autoNo, r.head, r.group});
    core_ui::fillGrid(grid_, rows);
}

void AccountHeadScreen::save() {
    if (!session_.dialogs->okCancel(caption(), QStringLiteral("Do you want to save?"),
                                    core::Icon::Information))
        return;
    const QString head = head_->text();
    const QString group = core_ui::listText(group_);
    if (head.isEmpty() || group.isEmpty()) {
        info(QStringLiteral("Please enter proper values."));
        return;
    }
    if (const auto problem = store_.validate(head, group)) {
        refuse(caption(), *problem);
        return;
    }
    bool duplicate = false;
    const QVariant loaded = loadedEntry();
    if (!saveEntry(
            caption(), [&] { duplicate = !store_.insertNew(head, group); },
            [&](const QVariant& key) { return store_.update(key.toLongLong(), head, group); })) {
        fillGrid();
        return;
    }
    if (duplicate) {
        cycle().loaded(loaded);
        info(QStringLiteral("Duplicate Entry."));
        return;
    }
    // The fields still show the head; correcting it again takes another F6.
    cycle().loaded(loaded);
    info(QStringLiteral("Data Saved."));
    fillGrid();
    head_->setFocus();
}

void AccountHeadScreen::clearFields() {
    head_->clear();
    core_ui::setListText(group_, QString());
    autoNo_->clear();
    cycle().reset();
    head_->setFocus();
}

void AccountHeadScreen::loadFromGrid(int row) {
    if (row < 0 || row >= grid_->rowCount() || !grid_->item(row, 0))
        return;
    const qint64 number = rowNumber(grid_->item(row, 0)->text());
    if (number == 0)
        return;
    const auto found = store_.load(number);
    head_->clear();
    core_ui::setListText(group_, QString());
    autoNo_->clear();
    if (!found)
        return;
    head_->setText(found->head);
    core_ui::setListText(group_, found->group);
    autoNo_->setText(found->autoNo);
    cycle().loaded(number);
}

void AccountHeadScreen::askDelete(int row) {
    if (row < 0 || row >= grid_->rowCount() || !grid_->item(row, 0))
        return;
    const qint64 number = rowNumber(grid_->item(row, 0)->text());
    if (number == 0)
        return;
    if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                    QStringLiteral("Are You Sure to Delete."),
                                    core::Icon::Information))
        return;
    const bool shown = loadedEntry() == QVariant(number);
    deleteEntry(caption(), number,
                [this](const QVariant& key) { return store_.remove(key.toLongLong()); });
    fillGrid();
    if (shown)
        clearFields();
}

} // namespace stokara::masters
