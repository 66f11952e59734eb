#pragma once

// Doubles shared by the reader tests: a transport that answers from a queue of prepared
// reports, and hooks that skip the protocol's pauses and record its messages.

#include "reader/rrhfoem04_reader.h"
#include "reader/simulated_reader.h"

#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

namespace stokara::reader::testkit {

// Hooks that cost no time: the protocol's pauses are skipped, messages recorded.
struct Recorder {
    QStringList messages;

    ReaderHooks hooks(std::chrono::milliseconds readTimeout = std::chrono::milliseconds(200)) {
        ReaderHooks h;
        h.wait = [](int) {};
        h.showInfo = [this](const QString& m) { messages << m; };
        h.readTimeout = readTimeout;
        return h;
    }
};

// Builds a response report: LEN, the status and data from byte 6, with a correct check.
inline Report response(quint8 s0, quint8 s1, const std::vector<quint8>& data = {}) {
    Report r{};
    r[1] = quint8(5 + data.size());
    r[4] = s0;
    r[5] = s1;
    for (std::size_t i = 0; i < data.size(); ++i)
        r.at(6 + i) = data[i];
    setFrameCheck(r);
    return r;
}

// Answers each written report with the next prepared one; nothing left means no answer.
class ScriptedTransport final : public ReaderTransport {
public:
    struct State {
        std::deque<Report> answers;
        std::vector<Report> written;
        std::vector<std::chrono::milliseconds> readTimeouts; // as each read asked
        bool findsReader = true;
        bool opens = true;
        bool open = false;
        QString errorText = QStringLiteral("Access is denied.\r\n");
    };

    explicit ScriptedTransport(std::shared_ptr<State> state) : s_(std::move(state)) {}

    int findReaderPath(QString& path) override {
        path = s_->findsReader ? QStringLiteral("scripted") : QString();
        return s_->findsReader ? 0 : 2;
    }
    bool openDevice(const QString&) override {
        s_->open = s_->opens;
        return s_->opens;
    }
    bool closeDevice() override { return !(s_->open = false); }
    bool isOpen() const override { return s_->open; }
    bool writeReport(const Report& report) override {
        s_->written.push_back(report);
        return s_->open;
    }
    bool readReport(Report& report, std::chrono::milliseconds timeout) override {
        s_->readTimeouts.push_back(timeout);
        if (s_->answers.empty())
            return false;
        report = s_->answers.front();
        s_->answers.pop_front();
        return true;
    }
    QString lastErrorText() const override { return s_->errorText; }

private:
    std::shared_ptr<State> s_;
};

// Blocks a log of commands wrote to a card.
inline std::vector<int> cardWrites(const std::vector<Report>& log) {
    std::vector<int> blocks;
    for (const Report& r : log)
        if (r[2] == 0x21 && r[3] == 0x03)
            blocks.push_back(r[4]);
    return blocks;
}

} // namespace stokara::reader::testkit
