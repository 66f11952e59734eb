#include "card_poller.h"

namespace stokara::reader {

const QString CardPoller::kConnectedCaption = QStringLiteral("Item Sale - Reader Connected");

ReaderFactory defaultReaderFactory() {
    return [] { return std::make_unique<Rrhfoem04Reader>(makeReaderTransport()); };
}

CardPoller::CardPoller(PollSchedule schedule, QObject* parent, ReaderFactory factory)
    : QObject(parent), schedule_(schedule), factory_(std::move(factory)) {
    connectTimer_.setObjectName(QStringLiteral("Timer1"));
    pollTimer_.setObjectName(QStringLiteral("Timer2"));
    connectTimer_.setInterval(schedule_.connectIntervalMs);
    pollTimer_.setInterval(schedule_.pollIntervalMs);
    QObject::connect(&connectTimer_, &QTimer::timeout, this, &CardPoller::connectTick);
    QObject::connect(&pollTimer_, &QTimer::timeout, this, &CardPoller::pollTick);
}

CardPoller::~CardPoller() = default;

void CardPoller::start() {
    connectTimer_.start();
    if (schedule_.pollFromStart) {
        pollTimer_.start();
    }
}

void CardPoller::stop() {
    connectTimer_.stop();
    pollTimer_.stop();
    reader_.reset();
    connected_ = false;
}

void CardPoller::reconnect() {
    connectTimer_.start();
}

void CardPoller::connectTick() {
    // Releasing the previous reader disconnects it.
    reader_.reset();
    reader_ = factory_ ? factory_() : nullptr;
    const bool wasConnected = connected_;
    connected_ = reader_ && reader_->connect();
    if (!connected_) {
        if (wasConnected) {
            cardNumber_.clear();
            emit disconnected();
        }
        return;
    }
    connectTimer_.stop();
    pollTimer_.start();
    emit connected();
}

void CardPoller::pollTick() {
    if (!reader_ || !connected_) {
        return;
    }
    QString cardNo;
    if (!reader_->iso14443AInventory(cardNo)) {
        // A failed write or read (the error text is set) means the reader is gone or
        // mute; a bad check value alone only skips this poll.
        if (!reader_->error().isEmpty()) {
            readerLost();
        }
        return;
    }
    if (cardNo == cardNumber_) {
        return;
    }
    cardNumber_ = cardNo;
    emit cardNumberChanged(cardNo);
    if (cardNo.isEmpty()) {
        emit cardRemoved();
    } else {
        emit cardPresented(cardNo);
    }
}

void CardPoller::readerLost() {
    reader_.reset();
    connected_ = false;
    // A card seen before the loss counts as a new presentation once the reader is back.
    cardNumber_.clear();
    if (!schedule_.pollFromStart) {
        pollTimer_.stop();
    }
    connectTimer_.start();
    emit disconnected();
}

} // namespace stokara::reader
