#include "messaging/modem_exchange.h"

#include "messaging/message_centre_rules.h"

#include <QDeadlineTimer>
#include <QSerialPort>

namespace stokara::messaging {

namespace {

enum class Expect { Ok, Prompt, Final };
enum class Heard { Nothing, Expected, Error };

// Judges what the modem said so far. Only whole lines count as OK or ERROR (an
// "O" may come before its "K"); the prompt has no line end after it. Echoed
// commands are lines of their own and match nothing.
Heard judge(const QByteArray& buffer, Expect expect) {
    const QList<QByteArray> lines = buffer.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const bool whole = i + 1 < lines.size();
        if (expect == Expect::Prompt && line.startsWith('>'))
            return Heard::Expected;
        if (!whole)
            continue;
        if (line == "ERROR" || line.startsWith("+CMS ERROR") || line.startsWith("+CME ERROR"))
            return Heard::Error;
        if (line == "OK" && expect != Expect::Prompt)
            return Heard::Expected;
        if (line.startsWith("+CMGS:") && expect == Expect::Final)
            return Heard::Expected;
    }
    return Heard::Nothing;
}

ModemResult await(QSerialPort& port, Expect expect, int timeoutMs, const std::atomic<bool>* cancel,
                  const QByteArray& command) {
    QByteArray heard;
    const QDeadlineTimer deadline(timeoutMs);
    const QString what = QString::fromLatin1(command.left(command.indexOf('\r')));
    for (;;) {
        switch (judge(heard, expect)) {
        case Heard::Expected:
            return {ModemOutcome::Sent, {}};
        case Heard::Error:
            return {ModemOutcome::Refused, QStringLiteral("The modem refused %1: %2")
                                               .arg(what, QString::fromLatin1(heard.trimmed()))};
        case Heard::Nothing:
            break;
        }
        if (cancel && cancel->load())
            return {ModemOutcome::Cancelled, QStringLiteral("Cancelled.")};
        if (deadline.hasExpired())
            return {ModemOutcome::NoAnswer,
                    QStringLiteral("The modem did not answer %1 within %2 s.")
                        .arg(what)
                        .arg(timeoutMs / 1000.0)};
        // Short waits, so that a cancel is seen soon.
        const int slice = static_cast<int>(std::min<qint64>(100, deadline.remainingTime()));
        if (port.waitForReadyRead(std::max(slice, 1))) {
            heard += port.readAll();
        } else if (port.error() != QSerialPort::NoError &&
                   port.error() != QSerialPort::TimeoutError) {
            return {ModemOutcome::NoPort, port.errorString()};
        }
        port.clearError();
    }
}

} // namespace

ModemResult sendViaModem(const QString& portName, const QString& mobile, const QString& text,
                         const ModemTimeouts& timeouts, const std::atomic<bool>* cancel) {
    if (portName.trimmed().isEmpty())
        return {ModemOutcome::NoPort, QStringLiteral("No serial port is set for the modem.")};
    QSerialPort port;
    port.setPortName(portName.trimmed());
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite))
        return {ModemOutcome::NoPort, QStringLiteral("%1: %2").arg(portName, port.errorString())};
    port.clear(); // what an earlier exchange left behind is no answer of ours
    port.readAll();

    const QList<QByteArray> commands = modemCommands(mobile, text);
    ModemResult result{ModemOutcome::Sent, {}};
    qsizetype step = 0;
    for (; step < commands.size(); ++step) {
        const qsizetype i = step;
        const Expect expect = i < 3 ? Expect::Ok : i == 3 ? Expect::Prompt : Expect::Final;
        const int timeout = expect == Expect::Ok
                                ? timeouts.command
                                : (expect == Expect::Prompt ? timeouts.prompt : timeouts.send);
        port.write(commands[i]);
        if (!port.waitForBytesWritten(timeouts.command) && port.bytesToWrite() > 0) {
            result = {ModemOutcome::NoAnswer, QStringLiteral("The modem takes no input.")};
            break;
        }
        result = await(port, expect, timeout, cancel, commands[i]);
        if (result.outcome != ModemOutcome::Sent)
            break;
    }
    // A modem left waiting for the text would take the next command as text.
    if (result.outcome != ModemOutcome::Sent && step >= 3) {
        port.write("\x1b");
        port.waitForBytesWritten(200);
    }
    port.close();
    return result;
}

} // namespace stokara::messaging
