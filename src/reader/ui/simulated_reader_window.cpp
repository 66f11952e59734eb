#include "reader/ui/simulated_reader_window.h"

#include "reader/reader_transport.h"
#include "reader/simulated_reader.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

namespace stokara::reader::ui {

std::optional<std::array<quint8, 4>> parseCardNumber(const QString& text) {
    static const QRegularExpression hex8(QStringLiteral("^[0-9A-Fa-f]{8}$"));
    const QString trimmed = text.trimmed();
    if (!hex8.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    std::array<quint8, 4> uid{};
    for (int i = 0; i < 4; ++i) {
        uid[std::size_t(i)] = quint8(trimmed.mid(i * 2, 2).toUInt(nullptr, 16));
    }
    return uid;
}

SimulatedReaderWindow::SimulatedReaderWindow(std::shared_ptr<SimulatedReaderModule> module,
                                             QWidget* parent)
    // Kept above the program's windows, or the main window would hide it at once.
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), module_(std::move(module)) {
    setObjectName(QStringLiteral("FrmSimulatedReader"));
    setWindowTitle(QStringLiteral("Simulated card reader"));

    cardNo_ = new QLineEdit(QStringLiteral("04A1B2C3"), this);
    cardNo_->setObjectName(QStringLiteral("TxtSimCardNo"));
    cardNo_->setMaxLength(8);
    cardNo_->setInputMask(QStringLiteral(">HHHHHHHH"));
    present_ = new QPushButton(QStringLiteral("Present card"), this);
    present_->setObjectName(QStringLiteral("CmdPresent"));
    remove_ = new QPushButton(QStringLiteral("Remove card"), this);
    remove_->setObjectName(QStringLiteral("CmdRemove"));
    plugged_ = new QCheckBox(QStringLiteral("Reader plugged in"), this);
    plugged_->setObjectName(QStringLiteral("ChkPlugged"));
    silent_ = new QCheckBox(QStringLiteral("Reader does not answer"), this);
    silent_->setObjectName(QStringLiteral("ChkSilent"));
    corrupt_ = new QCheckBox(QStringLiteral("Corrupt check bytes"), this);
    corrupt_->setObjectName(QStringLiteral("ChkCorrupt"));
    tag_ = new QCheckBox(QStringLiteral("ISO 15693 tag on the reader"), this);
    tag_->setObjectName(QStringLiteral("ChkTag"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblStatus"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(present_);
    buttons->addWidget(remove_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Card No."), cardNo_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(plugged_);
    layout->addWidget(silent_);
    layout->addWidget(corrupt_);
    layout->addWidget(tag_);
    layout->addWidget(status_);

    connect(present_, &QPushButton::clicked, this, &SimulatedReaderWindow::presentCard);
    connect(cardNo_, &QLineEdit::returnPressed, this, &SimulatedReaderWindow::presentCard);
    connect(remove_, &QPushButton::clicked, this, [this] { module_->removeCard(); });
    connect(plugged_, &QCheckBox::toggled, this, [this](bool on) { module_->setPlugged(on); });
    connect(silent_, &QCheckBox::toggled, this, [this](bool on) { module_->setSilent(on); });
    connect(corrupt_, &QCheckBox::toggled, this, [this](bool on) { module_->setCorruptCheck(on); });
    connect(tag_, &QCheckBox::toggled, this, [this](bool on) {
        if (on == (module_->tagOnReader() != nullptr)) {
            return;
        }
        if (on) {
            module_->presentTag(Iso15693Tag{});
        } else {
            module_->removeTag();
        }
    });
    connect(module_.get(), &SimulatedReaderModule::changed, this, &SimulatedReaderWindow::refresh);
    refresh();
}

void SimulatedReaderWindow::presentCard() {
    const auto uid = parseCardNumber(cardNo_->text());
    if (!uid) {
        status_->setText(QStringLiteral("Enter eight hexadecimal digits."));
        cardNo_->setFocus();
        return;
    }
    module_->presentCard(*uid);
}

void SimulatedReaderWindow::refresh() {
    const QSignalBlocker b1(plugged_);
    const QSignalBlocker b2(silent_);
    const QSignalBlocker b3(corrupt_);
    const QSignalBlocker b4(tag_);
    plugged_->setChecked(module_->plugged());
    silent_->setChecked(module_->silent());
    corrupt_->setChecked(module_->corruptCheck());
    tag_->setChecked(module_->tagOnReader() != nullptr);
    const MifareClassicCard* card = module_->cardOnReader();
    remove_->setEnabled(card != nullptr);
    status_->setText(card ? QStringLiteral("Card %1 on the reader.").arg(card->uidText())
                          : QStringLiteral("No card on the reader."));
}

SimulatedReaderWindow* showSimulatedReaderWindowIfRequested() {
    if (!simulatedReaderRequested()) {
        return nullptr;
    }
    auto* window = new SimulatedReaderWindow(SimulatedReaderModule::shared());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->adjustSize();
    // Top right of the screen, clear of the main window and its menu bar.
    if (const QScreen* screen = window->screen()) {
        const QRect free = screen->availableGeometry();
        window->move(free.right() - window->frameGeometry().width() - 8, free.top() + 40);
    }
    window->show();
    return window;
}

} // namespace stokara::reader::ui
