#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace stokara::messaging {

// A GSM modem on a pseudo-terminal: the program opens its device path like a
// real serial port. It echoes what it is given and answers AT commands with
// OK, AT+CMGS with the ">" prompt, and the text ended by Ctrl-Z with
// "+CMGS: <n>" and OK; it can be told to answer ERROR, or nothing at all.
// STOKARA_MODEM=simulated puts one in place of the configured port.
class SimulatedModem {
public:
    SimulatedModem();
    ~SimulatedModem();
    SimulatedModem(const SimulatedModem&) = delete;
    SimulatedModem& operator=(const SimulatedModem&) = delete;

    // The device path to open ("/dev/pts/7"); empty when no pseudo-terminal
    // could be made.
    QString portName() const;

    // The command starting with this text (or "\x1a": the text) is answered
    // with ERROR; empty: none.
    void setErrorOn(const QByteArray& commandStart);
    // Reads and never answers.
    void setMute(bool mute);
    // Every byte received, as received.
    QByteArray received() const;
    // Texts accepted so far.
    int messagesSent() const;

    // STOKARA_MODEM=simulated
    static bool requested();
    // The one of the process, made at the first call.
    static SimulatedModem& shared();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace stokara::messaging
