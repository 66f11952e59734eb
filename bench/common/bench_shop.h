#pragma once

#include "core/database.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "demo/shop_generator.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace stokara::bench {

// Answers every question with OK or Yes, records nothing: only speed is measured.
class QuietDialogs : public core::Dialogs {
public:
    core::Answer message(core::Icon, const QString&, const QString&, core::Buttons b) override {
        return b == core::Buttons::OkCancel ? core::Answer::Ok : core::Answer::Yes;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

// A session over `db` for the screens under measurement.
core::Session benchSession(core::Database& db, core::Dialogs& dialogs, core::Clock& clock,
                           const QString& dataDir);

// One figure, on a line of its own, the way scripts/bench collects them:
// "BENCH <name> <value> <unit>".
void printFigure(const QString& name, double value, const QString& unit);

// The size a benchmark was asked for: its first argument when given (a small one
// makes the quick run the tests do), else `fallback`. Exits with a usage line on
// anything that is not a positive whole number.
qint64 sizeArgument(int argc, char** argv, qint64 fallback);

// "2k", "100k", "1m": a size as the figure names carry it.
QString sizeName(qint64 count);

// Runs the event loop until `done` answers true or `ms` have passed; returns
// whether it did. For answers that arrive from another thread.
bool waitUntil(const std::function<bool()>& done, int ms);

// The middle of a set of timings (the upper middle of an even set); 0 when empty.
double median(std::vector<double> values);

// A new SQLite shop at <folder>/<name>.db, built and filled with `options`.
// Prints how long the filling took as "BENCH <name>.generate_seconds".
struct GeneratedShop {
    std::unique_ptr<core::Database> db;
    demo::GenerateResult result;
    double seconds = 0;
};
GeneratedShop generateSqliteShop(const QString& folder, const QString& name,
                                 const demo::GenerateOptions& options);
// The same on an empty database already open (a scratch PostgreSQL database).
GeneratedShop generateShop(std::unique_ptr<core::Database> db, const QString& name,
                           const demo::GenerateOptions& options);

} // namespace stokara::bench
