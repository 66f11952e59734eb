#pragma once

// Card polling for the screens that read party cards.
//
// A screen owns one CardPoller for its whole life:
//
//     #include "reader/card_poller.h"   // target stokara_reader
//     using stokara::reader::CardPoller;
//     using stokara::reader::PollSchedule;
//
//     poller_ = new CardPoller(PollSchedule::cardRecharge(), this);   // or saleOriginal(),
//     connect(poller_, &CardPoller::connected, this,                  //    partyMaster()
//             [this] { setWindowTitle(CardPoller::kConnectedCaption); });
//     connect(poller_, &CardPoller::disconnected, this,
//             [this] { setWindowTitle(originalCaption_); });
//     connect(poller_, &CardPoller::cardNumberChanged, txtCardNo, &QLineEdit::setText);
//     poller_->start();
//
// cardNumberChanged carries the eight hexadecimal digits of a card when it is presented and
// "" when it is taken away; it fires once per change, so a card resting on the reader is
// looked up once, and presenting it again after removal fires again. The screen's own
// change handling of TxtCardNo does the lookup (masparty just keeps the number). A card
// number typed by hand is not overwritten while no card is read, and an unregistered card
// resting on the reader gives one "Wrong Card." rather than one per poll. cardPresented and
// cardRemoved are the same events split in two, for screens that prefer them. forgetCard()
// makes a resting card count as presented again (after the screen has saved and cleared).
//
// The item sale screen constructs its poller with PollSchedule::itemSale() and calls start()
// on F2 the first time and reconnect() after that.
//
// The connect timer makes a new reader object each tick until one connects; the poll timer
// then asks for a card. When the reader goes away (unplugged, or it stops answering) the
// poller says disconnected() and goes back to connecting by itself. reconnect() restarts
// the connect timer (the sale screen's F2).
//
// The timers run on the user-interface thread, but an exchange with the reader takes up to
// 100 ms, or 1.1 s with a mute reader, so a tick only asks a worker on the poller's own
// thread to connect or poll, and the answer comes back as a queued signal: typing never
// waits for the reader. One request is out at a time; a tick while it is out is skipped.
// Signals are therefore emitted a moment after the tick, from the event loop.
//
// The reader is the USB module, or the simulated one when STOKARA_READER=simulated.

#include "reader/rrhfoem04_reader.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace stokara::reader {

// Timer intervals (ms) of a polling screen and whether its poll timer runs from the start.
struct PollSchedule {
    int connectIntervalMs = 1000;
    int pollIntervalMs = 1000;
    bool pollFromStart = false;

    static PollSchedule saleOriginal() { return {1000, 2700, true}; }
    static PollSchedule cardRecharge() { return {1000, 1000, false}; }
    static PollSchedule partyMaster() { return {1000, 1000, false}; }
    // FrmItemsale polls only once F2 has called start().
    static PollSchedule itemSale() { return {1000, 1000, false}; }
};

using ReaderFactory = std::function<std::unique_ptr<Rrhfoem04Reader>()>;

// New reader objects over the transport the environment asks for.
ReaderFactory defaultReaderFactory();

// Owns the reader on the poller's thread; every slot is one request of the poller.
class ReaderWorker : public QObject {
    Q_OBJECT
public:
    explicit ReaderWorker(ReaderFactory factory) : factory_(std::move(factory)) {}
    void release() { reader_.reset(); }

public slots:
    void connectReader(quint64 request);
    void poll(quint64 request);

signals:
    void connectAnswered(quint64 request, bool ok);
    // lost: the write or read failed, so the reader is gone or mute.
    void pollAnswered(quint64 request, bool ok, bool lost, const QString& cardNo);

private:
    ReaderFactory factory_;
    std::unique_ptr<Rrhfoem04Reader> reader_;
};

class CardPoller : public QObject {
    Q_OBJECT
public:
    // The caption every polling screen shows once its reader is connected.
    static const QString kConnectedCaption;

    explicit CardPoller(PollSchedule schedule, QObject* parent = nullptr,
                        ReaderFactory factory = defaultReaderFactory());
    ~CardPoller() override;

    // Starts the connect timer (and the poll timer when the schedule says so).
    void start();
    // Stops both timers, waits for the exchange in progress and releases the reader.
    void stop();
    // Starts the connect timer again: its next tick replaces the reader with a new one.
    void reconnect();
    // Forgets the card last read, so that a card still on the reader is announced again
    // at the next poll (for a screen that has cleared itself, e.g. after saving).
    void forgetCard() { cardNumber_.clear(); }

    bool isConnected() const { return connected_; }
    // The card number of the last successful poll; empty when no card was on the reader.
    const QString& cardNumber() const { return cardNumber_; }
    // A connect or poll was asked for and its answer has not been handled yet.
    bool requestPending() const { return pending_ != 0; }
    QTimer* connectTimer() { return &connectTimer_; }
    QTimer* pollTimer() { return &pollTimer_; }

public slots:
    void connectTick();
    void pollTick();

signals:
    void connected();
    void disconnected();
    void cardNumberChanged(const QString& cardNo);
    void cardPresented(const QString& cardNo);
    void cardRemoved();

private:
    friend class PollPause;
    struct PollAnswer {
        bool ok;
        bool lost;
        QString cardNo;
    };

    quint64 ask();
    void onConnectAnswered(quint64 request, bool ok);
    void onPollAnswered(quint64 request, bool ok, bool lost, const QString& cardNo);
    void handlePoll(const PollAnswer& answer);
    void pause() { ++paused_; }
    void resume();
    void readerLost();

    PollSchedule schedule_;
    QThread thread_;
    std::unique_ptr<ReaderWorker> worker_;
    QTimer connectTimer_;
    QTimer pollTimer_;
    bool connected_ = false;
    QString cardNumber_;
    quint64 lastRequest_ = 0;
    quint64 pending_ = 0; // the request out at the worker, 0 when none
    int paused_ = 0;
    // A poll answered while paused, handled once the pause is over.
    std::optional<PollAnswer> held_;
};

// No poll while a card is being looked up: the event loop of a message box
// would otherwise run the next poll, and another lookup, underneath it.
// A poll already out at the reader is held back until the pause is over.
class PollPause {
public:
    explicit PollPause(CardPoller* poller)
        : poller_(poller), timer_(poller ? poller->pollTimer() : nullptr),
          wasActive_(timer_ && timer_->isActive()) {
        if (poller)
            poller->pause();
        if (wasActive_)
            timer_->stop();
    }
    ~PollPause() {
        if (wasActive_ && timer_)
            timer_->start();
        if (poller_)
            poller_->resume();
    }
    PollPause(const PollPause&) = delete;
    PollPause& operator=(const PollPause&) = delete;

private:
    QPointer<CardPoller> poller_;
    QPointer<QTimer> timer_;
    bool wasActive_;
};

} // namespace stokara::reader
