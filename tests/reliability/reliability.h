#pragma once

#include <QString>
#include <QTextStream>

#include <cstdio>

namespace stokara::reliability {

// The tally of one part of the suite. It prints one line,
// "RELIABILITY <name> tried=<n> failed=<m>", and each failure on a line of its own
// before it, so a run tells what went wrong and a script can collect the figures.
class Tally {
public:
    explicit Tally(QString name) : name_(std::move(name)) {}
    // One attempt; `why` says what went wrong when it failed.
    void attempt(bool ok, const QString& why = {}) {
        ++tried_;
        if (!ok) {
            ++failed_;
            std::fprintf(stderr, "  %s: %s\n", qPrintable(name_), qPrintable(why));
        }
    }
    int tried() const { return tried_; }
    int failed() const { return failed_; }
    // Prints the line; the exit status of the part.
    int finish() const {
        std::printf("RELIABILITY %s tried=%d failed=%d\n", qPrintable(name_), tried_, failed_);
        std::fflush(stdout);
        return failed_ == 0 && tried_ > 0 ? 0 : 1;
    }

private:
    QString name_;
    int tried_ = 0;
    int failed_ = 0;
};

} // namespace stokara::reliability
