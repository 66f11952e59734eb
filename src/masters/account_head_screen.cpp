#include "account_head_screen.h"

#include "core_ui/widgets.h"

#include "core/dialogs.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "core_ui/screen_support.h"
#include "core/session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace stokara::masters {

using core::ErrorKind;
using core::guarded;

namespace {
// The row number of a cell; 0 when it holds none.
qint64 rowNumber(const QString& text) {
    const double n = core::val(text);
    return n >= 1 && n < 9.0e15 ? static_cast<qint64>(std::floor(n)) : 0;
}
} // namespace

AccountHeadScreen::AccountHeadScreen(core::Session& session, QWidget* parent)
    : QWidget(parent), session_(session), store_(*session.db) {
    setObjectName(QStringLiteral("FrmHead"));
    setWindowTitle(caption());

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
    form->addWidget(new QLabel(QStringLiteral("Account Head"), this), 0, 0);
    form->addWidget(head_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Account Group"), this), 1, 0);
    form->addWidget(group_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Auto No"), this), 2, 0);
    form->addWidget(autoNo_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addWidget(grid_, 1);

    core_ui::makeEnterChain(this)->add(head_).add(group_).add(save_);

    connect(save_, &QPushButton::clicked, this, [this] {
        guarded(session_, ErrorKind::Show, QStringLiteral("Command8_Click"), [this] { save(); });
    });
    connect(clear_, &QPushButton::clicked, this, [this] { clearFields(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) {
        guarded(session_, ErrorKind::Show, QStringLiteral("VsFlex_Click"),
                [this, r] { loadFromGrid(r); });
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        guarded(session_, ErrorKind::Show, QStringLiteral("VsFlex_DblClick"),
                [this, r] { askDelete(r); });
    });

    guarded(session_, ErrorKind::Show, QStringLiteral("Form_Load"), [this] { fillGrid(); });
    core_ui::onScreenLoad(this, session_);
}

void AccountHeadScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F3) {
        event->accept();
        clearFields();
        return;
    }
    if (event->key() == Qt::Key_F6) {
        event->accept();
        editFlag_ = QStringLiteral("Y");
        return;
    }
    QWidget::keyPressEvent(event);
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
        info(problem->message);
        head_->setFocus();
        return;
    }
    if (!editing()) {
        if (!store_.insertNew(head, group)) {
            info(QStringLiteral("Duplicate Entry."));
            return;
        }
    } else {
        // The row changed is the one current in the grid.
        const qint64 number = rowNumber(core_ui::currentCell(grid_, 0));
        if (number == 0) {
            info(QStringLiteral("Please enter proper values."));
            return;
        }
        store_.update(number, head, group);
    }
    info(QStringLiteral("Data Saved."));
    fillGrid();
    editFlag_.clear();
    head_->setFocus();
}

void AccountHeadScreen::clearFields() {
    head_->clear();
    core_ui::setListText(group_, QString());
    autoNo_->clear();
    editFlag_.clear();
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
    store_.remove(number);
    fillGrid();
}

} // namespace stokara::masters
