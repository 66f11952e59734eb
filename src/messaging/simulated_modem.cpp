#include "messaging/simulated_modem.h"

#include <QDebug>
#include <QtGlobal>

#include <atomic>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace stokara::messaging {

struct SimulatedModem::Impl {
    int master = -1;
    int slave = -1;
    QString path;
    std::thread thread;
    std::atomic<bool> stop{false};

    mutable std::mutex mutex; // guards what follows
    QByteArray errorOn;
    bool mute = false;
    QByteArray received;
    int sent = 0;

    // The modem's own state, used by its thread only.
    QByteArray line;
    bool textMode = false;

    void answer(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += n;
        }
    }

    void take(char c, const QByteArray& errorOnNow, bool muteNow) {
        if (muteNow)
            return;
        QByteArray out(1, c); // echo, as modems do unless told ATE0
        if (textMode) {
            if (c == 26) {
                textMode = false;
                out.chop(1);
                if (!errorOnNow.isEmpty() && errorOnNow == "\x1a") {
                    out += "\r\nERROR\r\n";
                } else {
                    std::lock_guard lock(mutex);
                    ++sent;
                    out += "\r\n+CMGS: " + QByteArray::number(sent) + "\r\n\r\nOK\r\n";
                    qInfo().noquote() << "Simulated modem sent:" << QString::fromLatin1(line);
                }
                line.clear();
            } else if (c == 27) {
                textMode = false;
                line.clear();
                out = "\r\nOK\r\n";
            } else if (c == '\r') {
                line += '\n';
                out = "\r\n> ";
            } else if (c != '\n' || !line.isEmpty()) {
                line += c;
            }
            answer(out);
            return;
        }
        if (c == '\n') // the line ended at its CR
            return;
        if (c != '\r') {
            line += c;
            answer(out);
            return;
        }
        const QByteArray command = line.trimmed().toUpper();
        line.clear();
        if (command.isEmpty()) {
            answer(out);
            return;
        }
        if (!errorOnNow.isEmpty() && command.startsWith(errorOnNow.toUpper())) {
            out += "\r\nERROR\r\n";
        } else if (command.startsWith("AT+CMGS=")) {
            textMode = true;
            out += "\r\n> ";
        } else if (command.startsWith("AT")) {
            out += "\r\nOK\r\n";
        } else {
            out += "\r\nERROR\r\n";
        }
        answer(out);
    }

    void run() {
        char buffer[256];
        while (!stop.load()) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN))
                continue;
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            QByteArray errorOnNow;
            bool muteNow = false;
            {
                std::lock_guard lock(mutex);
                received.append(buffer, n);
                errorOnNow = errorOn;
                muteNow = mute;
            }
            for (ssize_t i = 0; i < n; ++i)
                take(buffer[i], errorOnNow, muteNow);
        }
    }
};

SimulatedModem::SimulatedModem() : d(std::make_unique<Impl>()) {
    if (::openpty(&d->master, &d->slave, nullptr, nullptr, nullptr) != 0)
        return;
    // Bytes pass untouched (no CR/LF translation, no echo by the terminal).
    termios t{};
    if (::tcgetattr(d->slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(d->slave, TCSANOW, &t);
    }
    d->path = QString::fromLocal8Bit(::ttyname(d->slave));
    // The slave stays open here too, so the master keeps working between the
    // program's exchanges.
    d->thread = std::thread([this] { d->run(); });
}

SimulatedModem::~SimulatedModem() {
    d->stop = true;
    if (d->thread.joinable())
        d->thread.join();
    if (d->slave >= 0)
        ::close(d->slave);
    if (d->master >= 0)
        ::close(d->master);
}

QString SimulatedModem::portName() const {
    return d->path;
}

void SimulatedModem::setErrorOn(const QByteArray& commandStart) {
    std::lock_guard lock(d->mutex);
    d->errorOn = commandStart;
}

void SimulatedModem::setMute(bool mute) {
    std::lock_guard lock(d->mutex);
    d->mute = mute;
}

QByteArray SimulatedModem::received() const {
    std::lock_guard lock(d->mutex);
    return d->received;
}

int SimulatedModem::messagesSent() const {
    std::lock_guard lock(d->mutex);
    return d->sent;
}

bool SimulatedModem::requested() {
    return qEnvironmentVariable("STOKARA_MODEM")
               .compare(QLatin1String("simulated"), Qt::CaseInsensitive) == 0;
}

SimulatedModem& SimulatedModem::shared() {
    static SimulatedModem modem;
    static const bool told = [] {
        qInfo().noquote() << "Simulated GSM modem on" << modem.portName();
        return true;
    }();
    (void)told;
    return modem;
}

} // namespace stokara::messaging
