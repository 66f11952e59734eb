#include "messaging/resend_run.h"

#include "core/errors.h"
#include "core/session.h"
#include "messaging/message_centre_store.h"
#include "messaging/simulated_modem.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

namespace stokara::messaging {

// Lives in the run's thread; tells the run each outcome by a queued call.
class ResendWorker : public QObject {
public:
    ResendWorker(ResendRun* run, std::vector<OutgoingMessage> messages, CentreSettings settings,
                 QString footer, int webTimeoutMs, ModemTimeouts modemTimeouts,
                 std::shared_ptr<std::atomic<bool>> cancel)
        : run_(run), messages_(std::move(messages)), settings_(std::move(settings)),
          footer_(std::move(footer)), webTimeoutMs_(webTimeoutMs), modemTimeouts_(modemTimeouts),
          cancel_(std::move(cancel)) {}

    void begin() {
        network_ = new QNetworkAccessManager(this);
        next();
    }

    void abortCurrent() {
        if (reply_)
            reply_->abort();
    }

private:
    bool cancelled() const { return cancel_->load(); }

    void next() {
        if (cancelled() || index_ >= messages_.size()) {
            QMetaObject::invokeMethod(
                run_, [run = run_] { run->workerDone(); }, Qt::QueuedConnection);
            return;
        }
        const OutgoingMessage& m = messages_[index_];
        current_ = SendOutcome{};
        current_.recordId = m.recordId;
        if (!settings_.webEnabled || !webSendable(m.mobile)) {
            modemStep();
            return;
        }
        const QUrl url = centreRequestUrl(settings_, m.mobile, m.message);
        if (!url.isValid()) {
            current_.returnText = QStringLiteral("No web gateway host is set.");
            modemStep();
            return;
        }
        QNetworkRequest request(url);
        request.setTransferTimeout(webTimeoutMs_);
        reply_ = network_->get(request);
        connect(reply_, &QNetworkReply::finished, this, [this] { webAnswered(); });
    }

    void webAnswered() {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->deleteLater();
        if (reply->error() == QNetworkReply::NoError) {
            const QString answer = QString::fromUtf8(reply->readAll());
            current_.webAccepted = centreGatewayAccepted(settings_.format, answer);
            current_.returnText = answer.trimmed();
        } else if (reply->error() == QNetworkReply::OperationCanceledError) {
            current_.returnText = cancelled()
                                      ? QStringLiteral("Cancelled.")
                                      : QStringLiteral("The gateway did not answer within %1 s.")
                                            .arg(webTimeoutMs_ / 1000.0);
        } else {
            current_.returnText = reply->errorString();
        }
        modemStep();
    }

    void modemStep() {
        const OutgoingMessage& m = messages_[index_];
        if (!cancelled() && settings_.modemEnabled && modemSendable(m.mobile)) {
            const ModemResult r =
                sendViaModem(settings_.modemPort, m.mobile, modemText(m.message, footer_),
                             modemTimeouts_, cancel_.get());
            if (r.outcome == ModemOutcome::Sent) {
                current_.modem = SendOutcome::Modem::Sent;
                if (!current_.webAccepted)
                    current_.returnText = QStringLiteral("Sent through the GSM modem.");
            } else {
                current_.modem = SendOutcome::Modem::Failed;
                if (!current_.webAccepted)
                    current_.returnText = r.detail;
            }
        }
        QMetaObject::invokeMethod(
            run_, [run = run_, outcome = current_] { run->record(outcome); }, Qt::QueuedConnection);
        ++index_;
        // Through the event loop, so that an abort or a quit gets in between.
        QMetaObject::invokeMethod(
            this, [this] { next(); }, Qt::QueuedConnection);
    }

    ResendRun* run_;
    std::vector<OutgoingMessage> messages_;
    CentreSettings settings_;
    QString footer_;
    int webTimeoutMs_;
    ModemTimeouts modemTimeouts_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    QNetworkAccessManager* network_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    SendOutcome current_;
    size_t index_ = 0;
};

ResendRun::ResendRun(core::Session& session, QObject* parent)
    : QObject(parent), session_(session) {}

ResendRun::~ResendRun() {
    if (!thread_)
        return;
    cancel();
    join();
    // Outcomes already on their way are written, so an accepted message does
    // not stay in the out box.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool ResendRun::start(std::vector<OutgoingMessage> messages, const CentreSettings& settings,
                      const QString& footer) {
    if (thread_)
        return false;
    CentreSettings used = settings;
    if (SimulatedModem::requested())
        used.modemPort = SimulatedModem::shared().portName();
    summary_ = RunSummary{};
    summary_.total = static_cast<int>(messages.size());
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    thread_ = new QThread(this);
    auto* worker = new ResendWorker(this, std::move(messages), used, footer, webTimeoutMs_,
                                    modemTimeouts_, cancel_);
    worker->moveToThread(thread_);
    worker_ = worker;
    connect(thread_, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread_, &QThread::started, worker, [worker] { worker->begin(); });
    thread_->start();
    return true;
}

void ResendRun::cancel() {
    if (!thread_)
        return;
    cancel_->store(true);
    auto* worker = static_cast<ResendWorker*>(worker_);
    QMetaObject::invokeMethod(
        worker, [worker] { worker->abortCurrent(); }, Qt::QueuedConnection);
}

void ResendRun::record(const SendOutcome& outcome) {
    ++summary_.done;
    if (outcome.modem == SendOutcome::Modem::Sent)
        ++summary_.modemSent;
    else if (outcome.modem == SendOutcome::Modem::Failed)
        ++summary_.modemFailed;
    if (outcome.sent()) {
        core::guarded(session_, core::ErrorKind::Log, QStringLiteral("Message"), [&] {
            if (MessageCentreStore(*session_.db).markSent(outcome.recordId, outcome.returnText))
                ++summary_.marked;
        });
    }
    emit progress(summary_.done, summary_.total);
}

void ResendRun::workerDone() {
    summary_.cancelled = cancel_->load();
    join();
    emit finished(summary_);
}

void ResendRun::join() {
    if (!thread_)
        return;
    thread_->quit();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    worker_ = nullptr;
}

} // namespace stokara::messaging
