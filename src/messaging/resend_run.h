#pragma once

#include "messaging/message_centre_rules.h"
#include "messaging/modem_exchange.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

namespace stokara::core {
struct Session;
}

namespace stokara::messaging {

// A ticked message to send again.
struct OutgoingMessage {
    qint64 recordId = 0;
    QString mobile;
    QString message;
};

// How one message went.
struct SendOutcome {
    enum class Modem { NotTried, Sent, Failed };
    qint64 recordId = 0;
    bool webAccepted = false;
    Modem modem = Modem::NotTried;
    QString returnText; // the gateway's answer, or what happened
    bool sent() const { return webAccepted || modem == Modem::Sent; }
};

struct RunSummary {
    int total = 0;
    int done = 0;
    int marked = 0; // rows now "S"
    int modemSent = 0;
    int modemFailed = 0;
    bool cancelled = false;
};

// Sends messages again, one after another, in a worker thread: each through
// the web gateway (number of 12 characters, a time-out per request) and/or the
// GSM modem (10 characters or more). A message the gateway accepted, or the
// modem confirmed, has its log row set to "S" on this (the database's)
// thread as soon as its outcome comes; any other row stays as it was.
class ResendRun : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultWebTimeoutMs = 10000;

    explicit ResendRun(core::Session& session, QObject* parent = nullptr);
    // Cancels a run still going and records the outcomes already known.
    ~ResendRun() override;

    // `footer` ends every modem text. False when a run is already going.
    bool start(std::vector<OutgoingMessage> messages, const CentreSettings& settings,
               const QString& footer);
    // Stops after the message being sent (its request or exchange is cut short).
    void cancel();
    bool running() const { return thread_ != nullptr; }

    void setWebTimeout(int milliseconds) { webTimeoutMs_ = milliseconds; }
    void setModemTimeouts(const ModemTimeouts& timeouts) { modemTimeouts_ = timeouts; }

signals:
    void progress(int done, int total);
    void finished(const stokara::messaging::RunSummary& summary);

private:
    friend class ResendWorker;
    void record(const SendOutcome& outcome);
    void workerDone();
    void join();

    core::Session& session_;
    int webTimeoutMs_ = kDefaultWebTimeoutMs;
    ModemTimeouts modemTimeouts_;
    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
    RunSummary summary_;
};

} // namespace stokara::messaging
