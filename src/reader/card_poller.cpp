#include "reader/card_poller.h"

#include <QCoreApplication>

namespace stokara::reader {

const QString CardPoller::kConnectedCaption = QStringLiteral("Item Sale - Reader Connected");

ReaderFactory defaultReaderFactory() {
    return [] { return std::make_unique<Rrhfoem04Reader>(makeReaderTransport()); };
}

// ---------------------------------------------------------------------------------------
// ReaderWorker: runs on the poller's thread.

void ReaderWorker::connectReader(quint64 request) {
    // Releasing the previous reader disconnects it.
    reader_.reset();
    reader_ = factory_ ? factory_() : nullptr;
    const bool ok = reader_ && reader_->connect();
    if (!ok) {
        reader_.reset();
    }
    emit connectAnswered(request, ok);
}

void ReaderWorker::poll(quint64 request) {
    if (!reader_) {
        emit pollAnswered(request, false, true, QString());
        return;
    }
    QString cardNo;
    const bool ok = reader_->iso14443AInventory(cardNo);
    // A failed write or read (the error text is set) means the reader is gone or mute;
    // a bad check value alone only spoils this poll.
    const bool lost = !ok && !reader_->error().isEmpty();
    if (lost) {
        reader_.reset();
    }
    emit pollAnswered(request, ok, lost, cardNo);
}

// ---------------------------------------------------------------------------------------
// CardPoller: runs on the user-interface thread.

CardPoller::CardPoller(PollSchedule schedule, QObject* parent, ReaderFactory factory)
    : QObject(parent), schedule_(schedule),
      worker_(std::make_unique<ReaderWorker>(std::move(factory))) {
    thread_.setObjectName(QStringLiteral("CardReader"));
    worker_->moveToThread(&thread_);
    QObject::connect(worker_.get(), &ReaderWorker::connectAnswered, this,
                     &CardPoller::onConnectAnswered, Qt::QueuedConnection);
    QObject::connect(worker_.get(), &ReaderWorker::pollAnswered, this, &CardPoller::onPollAnswered,
                     Qt::QueuedConnection);
    connectTimer_.setObjectName(QStringLiteral("Timer1"));
    pollTimer_.setObjectName(QStringLiteral("Timer2"));
    connectTimer_.setInterval(schedule_.connectIntervalMs);
    pollTimer_.setInterval(schedule_.pollIntervalMs);
    QObject::connect(&connectTimer_, &QTimer::timeout, this, &CardPoller::connectTick);
    QObject::connect(&pollTimer_, &QTimer::timeout, this, &CardPoller::pollTick);
}

CardPoller::~CardPoller() {
    stop();
}

void CardPoller::start() {
    connectTimer_.start();
    if (schedule_.pollFromStart) {
        pollTimer_.start();
    }
}

void CardPoller::stop() {
    connectTimer_.stop();
    pollTimer_.stop();
    // The device is closed before stop() returns, so that another screen can open it.
    thread_.quit();
    thread_.wait();
    QCoreApplication::removePostedEvents(worker_.get());
    worker_->release();
    pending_ = 0; // answers still queued are stale now
    held_.reset();
    connected_ = false;
}

void CardPoller::reconnect() {
    connectTimer_.start();
}

quint64 CardPoller::ask() {
    if (!thread_.isRunning()) {
        thread_.start();
    }
    pending_ = ++lastRequest_;
    return pending_;
}

void CardPoller::connectTick() {
    if (pending_) {
        return;
    }
    const quint64 request = ask();
    QMetaObject::invokeMethod(
        worker_.get(), [w = worker_.get(), request] { w->connectReader(request); },
        Qt::QueuedConnection);
}

void CardPoller::pollTick() {
    if (!connected_ || pending_ || paused_ || held_) {
        return;
    }
    const quint64 request = ask();
    QMetaObject::invokeMethod(
        worker_.get(), [w = worker_.get(), request] { w->poll(request); }, Qt::QueuedConnection);
}

void CardPoller::onConnectAnswered(quint64 request, bool ok) {
    if (request != pending_) {
        return;
    }
    pending_ = 0;
    const bool wasConnected = connected_;
    connected_ = ok;
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

void CardPoller::onPollAnswered(quint64 request, bool ok, bool lost, const QString& cardNo) {
    if (request != pending_) {
        return;
    }
    pending_ = 0;
    if (paused_) {
        held_ = PollAnswer{ok, lost, cardNo};
        return;
    }
    handlePoll({ok, lost, cardNo});
}

void CardPoller::resume() {
    if (--paused_ > 0 || !held_) {
        return;
    }
    // From the event loop, not from inside the handler that paused.
    QTimer::singleShot(0, this, [this] {
        if (paused_ || !held_) {
            return;
        }
        const PollAnswer answer = *held_;
        held_.reset();
        handlePoll(answer);
    });
}

void CardPoller::handlePoll(const PollAnswer& answer) {
    if (!connected_) {
        return;
    }
    if (!answer.ok) {
        if (answer.lost) {
            readerLost();
        }
        return;
    }
    if (answer.cardNo == cardNumber_) {
        return;
    }
    cardNumber_ = answer.cardNo;
    emit cardNumberChanged(answer.cardNo);
    if (answer.cardNo.isEmpty()) {
        emit cardRemoved();
    } else {
        emit cardPresented(answer.cardNo);
    }
}

void CardPoller::readerLost() {
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
