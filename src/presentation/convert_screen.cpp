#include "convert_screen.h"

#include "books/amount_words.h"
#include "core/errors.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace stokara::presentation {

using books::ConvertedValue;
using books::convertValue;

ConvertScreen::ConvertScreen(core::Session& session, QWidget* parent)
    : core_ui::EntryScreen(session, QStringLiteral("FrmConvert"), QStringLiteral("Convert"),
                           parent) {
    auto* valueLabel = new QLabel(QStringLiteral("Value"), this);
    valueLabel->setObjectName(QStringLiteral("Label1"));
    txtValue_ = new QLineEdit(this);
    txtValue_->setObjectName(QStringLiteral("txtValue"));
    cmdGo_ = new QPushButton(QStringLiteral("Go"), this);
    cmdGo_->setObjectName(QStringLiteral("cmdGo"));
    lblWords_ = new QLabel(this);
    lblWords_->setObjectName(QStringLiteral("lblWords"));
    lblWords_->setWordWrap(true);
    lblMoney_ = new QLabel(this);
    lblMoney_->setObjectName(QStringLiteral("lblMoney"));
    lblMoney_->setWordWrap(true);

    auto* form = new QFormLayout(this);
    form->addRow(valueLabel, txtValue_);
    form->addRow(QString(), cmdGo_);
    form->addRow(lblWords_);
    form->addRow(lblMoney_);

    flow().add(txtValue_).add(cmdGo_);
    connect(cmdGo_, &QPushButton::clicked, this, &ConvertScreen::convert);
    finishSetup();
}

void ConvertScreen::convert() {
    // An overflow is reported and leaves both labels as they were.
    run(core::ErrorKind::Show, QStringLiteral("cmdGo_Click"), [this] {
        const ConvertedValue value = convertValue(txtValue_->text());
        lblWords_->setText(value.words);
        lblMoney_->setText(value.money);
    });
}

} // namespace stokara::presentation
