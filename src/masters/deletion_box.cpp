#include "deletion_box.h"

#include "core_ui/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace stokara::masters {

DeletionBox makeDeletionBox(QWidget* parent) {
    DeletionBox d;
    d.box = new QGroupBox(QStringLiteral("Security"), parent);
    d.box->setObjectName(QStringLiteral("Frame2"));
    d.password = core_ui::makeField(d.box, QStringLiteral("TxtPassword"));
    d.password->setEchoMode(QLineEdit::Password);
    d.ok = new QPushButton(QStringLiteral("OK"), d.box);
    d.ok->setObjectName(QStringLiteral("CmdOk"));
    auto* layout = new QHBoxLayout(d.box);
    layout->addWidget(new QLabel(QStringLiteral("Password"), d.box));
    layout->addWidget(d.password);
    layout->addWidget(d.ok);
    d.box->hide();
    return d;
}

void dotForEmptyAddress(QLineEdit* address) {
    if (address->text().isEmpty())
        address->setText(QStringLiteral("."));
}

} // namespace stokara::masters
