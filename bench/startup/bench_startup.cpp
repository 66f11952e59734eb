// Start-up to the login screen shown, and login to the main window shown, on an
// SQLite shop with a year of sales, purchases and vouchers. Both include the
// consistent copies the program makes on the way (start-up copy, day backup).
// Runs offscreen. Prints BENCH lines.
#include "common/bench_shop.h"

#include "app/login_screen.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "core/clock.h"
#include "core/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
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

    demo::GenerateOptions year;
    year.parties = 800;
    year.items = 12;
    year.vendors = 5;
    year.accountHeads = 11;
    year.sales = 60000; // a bill line every few minutes of every shop day
    year.purchases = 1500;
    year.vouchers = 15000;
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
    for (int run = 0; run < 7; ++run) {
        SilentDialogs dialogs;
        core::SystemClock clock;
        app::Shell shell(options, dialogs, clock);
        shell.setHooks([](app::MainWindowHooks& h) { h.quit = [] {}; });

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
    return 0;
}
