// Start-up to the login screen shown, and login to the main window shown, on an
// SQLite shop with a year of sales, purchases and vouchers. The start-up copy is
// made on a worker while the login is shown, so the login is timed without it;
// OK is pressed once it has ended, as an operator typing a password would. The
// main window follows the day backup, so that copy's own time is printed beside
// it (startup.day_backup), and the start-up copy's (startup.startup_copy).
// Runs offscreen. Prints BENCH lines.
#include "common/bench_shop.h"

#include "app/backup.h"
#include "app/login_screen.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "core/clock.h"
#include "core/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace stokara;

namespace {

// Answers every box at once, so nothing waits for a person.
class SilentDialogs : public core::Dialogs {
public:
    core::Answer message(core::Icon, const QString&, const QString& text, core::Buttons) override {
        texts << text;
        return core::Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QStringList texts;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    // bench_startup [sales]  (default 60000, a year of a busy shop)
    const qint64 sales = bench::sizeArgument(argc, argv, 60000);

    demo::GenerateOptions year;
    year.parties = 800;
    year.items = 12;
    year.vendors = 5;
    year.accountHeads = 11;
    year.sales = sales; // a bill line every few minutes of every shop day
    year.purchases = std::max<qint64>(1, sales / 40);
    year.vouchers = sales / 4;
    year.days = 365;
    year.lastDay = QDate::currentDate();
    year.commitEvery = 1000000; // one transaction
    QString dbPath;
    {
        bench::GeneratedShop shop =
            bench::generateSqliteShop(dir.path(), QStringLiteral("dairy"), year);
        dbPath = shop.db->url().path;
    }

    app::Options options;
    options.dataDir = dir.path();
    options.databaseUrl = QStringLiteral("sqlite:") + dbPath;

    std::vector<double> loginShown;
    std::vector<double> mainShown;
    // Filled from the copy's own thread.
    QMutex copiesLock;
    std::vector<double> startupCopies;
    std::vector<double> dayBackups;
    for (int run = 0; run < 7; ++run) {
        SilentDialogs dialogs;
        core::SystemClock clock;
        app::Shell shell(options, dialogs, clock);
        shell.setHooks([](app::MainWindowHooks& h) { h.quit = [] {}; });
        shell.setCopier([&](const core::DatabaseUrl& url, const QString& target) {
            QElapsedTimer copyTimer;
            copyTimer.start();
            const app::CopyResult result = app::copyDatabase(url, target, QString());
            const double ms = copyTimer.nsecsElapsed() / 1e6;
            QMutexLocker locked(&copiesLock);
            (QFileInfo(target).fileName().startsWith(QLatin1String("Tarvex")) ? dayBackups
                                                                              : startupCopies)
                .push_back(ms);
            return result;
        });

        QElapsedTimer timer;
        timer.start();
        shell.start();
        QApplication::processEvents();
        if (!shell.loginScreen() || !shell.loginScreen()->isVisible()) {
            std::fprintf(stderr, "login screen not shown: %s\n",
                         qPrintable(dialogs.texts.join("; ")));
            return 1;
        }
        loginShown.push_back(timer.nsecsElapsed() / 1e6);
        if (!bench::waitUntil([&] { return !shell.startupCopyRunning(); }, 60000)) {
            std::fprintf(stderr, "the start-up copy did not end\n");
            return 1;
        }
        QApplication::processEvents();

        timer.restart();
        shell.loginScreen()->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QApplication::processEvents();
        if (!shell.mainWindow() || !shell.mainWindow()->isVisible()) {
            std::fprintf(stderr, "main window not shown: %s\n",
                         qPrintable(dialogs.texts.join("; ")));
            return 1;
        }
        mainShown.push_back(timer.nsecsElapsed() / 1e6);
    }
    bench::printFigure(QStringLiteral("startup.login_shown"), bench::median(loginShown),
                       QStringLiteral("ms"));
    bench::printFigure(QStringLiteral("startup.main_shown"), bench::median(mainShown),
                       QStringLiteral("ms"));
    if (dayBackups.size() != mainShown.size() || startupCopies.size() != loginShown.size()) {
        std::fprintf(stderr,
                     "expected %zu copies of each kind, got %zu day backups and %zu "
                     "start-up copies\n",
                     mainShown.size(), dayBackups.size(), startupCopies.size());
        return 1;
    }
    bench::printFigure(QStringLiteral("startup.day_backup"), bench::median(dayBackups),
                       QStringLiteral("ms"));
    bench::printFigure(QStringLiteral("startup.startup_copy"), bench::median(startupCopies),
                       QStringLiteral("ms"));
    return 0;
}
