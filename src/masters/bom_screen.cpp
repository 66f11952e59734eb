#include "bom_screen.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stokara::masters {

using core::ErrorKind;

BomScreen::BomScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("FrmBOM"), caption(), parent), store_(*session.db) {
    mainItem_ = core_ui::makeList(this, QStringLiteral("DCMainItem"), {}, true);
    subItem_ = core_ui::makeList(this, QStringLiteral("DcSubItem"), {}, true);
    weight_ = core_ui::makeField(this, QStringLiteral("TxtWt"));
    search_ = new QPushButton(QStringLiteral("Search"), this);
    search_->setObjectName(QStringLiteral("CmdSearch"));
    more_ = new QPushButton(QStringLiteral("More Item"), this);
    more_->setObjectName(QStringLiteral("CmdMore"));
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("Command8"));
    clear_ = new QPushButton(QStringLiteral("&Clear"), this);
    clear_->setObjectName(QStringLiteral("Command9"));
    grid_ = core_ui::makeGrid(
        this, QStringLiteral("VsGrid"),
        {QStringLiteral("Main Item"), QStringLiteral("Sub Item"), QStringLiteral("Weight")},
        {1500, 3500, 1500});

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Main Item"), this), 0, 0);
    form->addWidget(mainItem_, 0, 1);
    form->addWidget(search_, 0, 2);
    form->addWidget(new QLabel(QStringLiteral("Sub Item"), this), 1, 0);
    form->addWidget(subItem_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Weight (KG)"), this), 2, 0);
    form->addWidget(weight_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(more_);
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    flow().add(mainItem_).add(subItem_).add(weight_).add(more_);

    connect(more_, &QPushButton::clicked, this, [this] {
        run(ErrorKind::Show, QStringLiteral("CmdMore_Click"), [this] {
            if (!saveLine())
                return;
            core_ui::setListText(subItem_, QString());
            weight_->clear();
            subItem_->setFocus();
        });
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        run(ErrorKind::Show, QStringLiteral("Command8_Click"), [this] {
            if (!saveLine())
                return;
            emptyFields();
            mainItem_->setFocus();
        });
    });
    connect(search_, &QPushButton::clicked, this, [this] {
        run(ErrorKind::Show, QStringLiteral("CmdSearch_Click"), [this] { fillGrid(); });
    });
    connect(clear_, &QPushButton::clicked, this, [this] { emptyFields(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) {
        run(ErrorKind::Show, QStringLiteral("VsGrid_Click"), [this, r] { loadFromGrid(r); });
    });

    run(ErrorKind::Show, QStringLiteral("Form_Load"), [this] {
        // Read once: items added while the screen is open appear when it is opened again.
        mainItem_->addItems(store_.mainItems());
        subItem_->addItems(store_.subItems());
        core_ui::setListText(mainItem_, QString());
        core_ui::setListText(subItem_, QString());
        fillGrid();
    });
    finishSetup();
}

bool BomScreen::functionKey(int key) {
    if (key != Qt::Key_F10)
        return false;
    deleteCurrent();
    return true;
}

void BomScreen::emptyFields() {
    core_ui::setListText(mainItem_, QString());
    core_ui::setListText(subItem_, QString());
    weight_->clear();
}

void BomScreen::closeEvent(QCloseEvent* event) {
    run(ErrorKind::Show, QStringLiteral("Form_Unload"), [this] { store_.removeBlankVehicles(); });
    QWidget::closeEvent(event);
}

void BomScreen::fillGrid() {
    QList<QStringList> rows;
    for (const BomLine& l : store_.lines(core_ui::listText(mainItem_)))
        rows.append({l.mainItem, l.subItem, l.weight});
    core_ui::fillGrid(grid_, rows);
}

bool BomScreen::saveLine() {
    const QString main = core_ui::listText(mainItem_).trimmed();
    const QString sub = core_ui::listText(subItem_).trimmed();
    const auto weight = bomWeight(weight_->text());
    if (main.isEmpty() || sub.isEmpty() || !weight) {
        session_.dialogs->information(caption(), QStringLiteral("Enter proper value."));
        return false;
    }
    if (const auto problem = store_.validate(main, sub)) {
        refuse(caption(), *problem);
        return false;
    }
    store_.saveLine(main, sub, *weight);
    fillGrid();
    return true;
}

void BomScreen::loadFromGrid(int row) {
    if (row < 0 || row >= grid_->rowCount())
        return;
    auto cell = [&](int c) {
        const QTableWidgetItem* item = grid_->item(row, c);
        return item ? item->text() : QString();
    };
    const auto line = store_.find(cell(0), cell(1));
    if (!line)
        return;
    core_ui::setListText(mainItem_, line->mainItem);
    core_ui::setListText(subItem_, line->subItem);
    weight_->setText(line->weight);
}

void BomScreen::deleteCurrent() {
    if (grid_->rowCount() == 0)
        return;
    const QString main = core_ui::currentCell(grid_, 0);
    const QString sub = core_ui::currentCell(grid_, 1);
    if (main.isEmpty())
        return;
    if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                    QStringLiteral("Are You Sure to Delete.")))
        return;
    // A line is known by its pair; one deleted meanwhile is said to be gone.
    deleteEntry(caption(), QStringList{main, sub}, [this](const QVariant& key) {
        const QStringList pair = key.toStringList();
        return store_.removeLine(pair.value(0), pair.value(1));
    });
    fillGrid();
    emptyFields();
}

} // namespace stokara::masters
