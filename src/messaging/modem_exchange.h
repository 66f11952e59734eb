#pragma once

#include <QString>

#include <atomic>

namespace stokara::messaging {

// How long each answer of the modem may take (ms).
struct ModemTimeouts {
    int command = 3000; // "OK" after each command
    int prompt = 5000;  // ">" after AT+CMGS
    int send = 30000;   // "+CMGS"/"OK" after the text: the network takes its time
};

enum class ModemOutcome {
    Sent,
    NoPort,    // the port does not exist or cannot be opened
    NoAnswer,  // an answer did not come in time
    Refused,   // the modem answered ERROR
    Cancelled, // the operator cancelled while waiting
};

struct ModemResult {
    ModemOutcome outcome = ModemOutcome::NoPort;
    QString detail; // what went wrong, for the log
};

// Sends one text through the GSM modem on `port` (9600 baud, 8N1): the port is
// opened for the exchange and closed after it; each command waits for its
// answer. Blocks the calling thread, so it runs in a worker; `cancel` is
// looked at while waiting.
ModemResult sendViaModem(const QString& port, const QString& mobile, const QString& text,
                         const ModemTimeouts& timeouts = {},
                         const std::atomic<bool>* cancel = nullptr);

} // namespace stokara::messaging
