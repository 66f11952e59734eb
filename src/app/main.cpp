#include "app/command_line.h"
#include "app/repair.h"
#include "app/report_command.h"
#include "app/shell.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core_ui/message_box_dialogs.h"

#include "demo/demo_database.h"
#include "reader/rrhfoem04_reader.h"
#include "reader/ui/simulated_reader_window.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

using namespace stokara;

namespace {

QtMessageHandler qtHandler = nullptr;

// Two notes Qt gives on every run without a desktop session, about its own
// harmless fallbacks (a private runtime folder, a platform that keeps no size
// hints); a shell command's standard error stays for what the user must read.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
         message.contains(QLatin1String("does not support propagateSizeHints"))))
        return;
    qtHandler(type, context, message);
}

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    qtHandler = qInstallMessageHandler(quietHandler);
    QCoreApplication::setApplicationName(QStringLiteral("Stokara"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1.0"));

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (app::isReportCommand(args)) {
        // A command for a shell: no window. Laying out and writing a PDF needs
        // fonts, which the offscreen platform gives without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int status = app::runReportCommand(
            args, QProcessEnvironment::systemEnvironment(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), out, err);
        out.flush();
        err.flush();
        return status;
    }
    const app::ParseResult parsed =
        app::parseCommandLine(args, QProcessEnvironment::systemEnvironment(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "stokara: %s\n\n%s", qPrintable(parsed.error),
                     qPrintable(app::helpText()));
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(qPrintable(app::helpText()), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::printf("%s\n", qPrintable(app::versionText()));
        return 0;
    }

    if (!parsed.options.restoreFrom.isEmpty()) {
        // A command for a shell: no window, the outcome on standard output.
        QCoreApplication application(argc, argv);
        const core::DatabaseUrl url = core::DatabaseUrl::parse(parsed.options.databaseUrl);
        if (url.engine != core::Engine::Sqlite) {
            std::fputs("stokara: --restore works on an SQLite database file; restore a "
                       "PostgreSQL backup with pg_restore\n",
                       stderr);
            return 2;
        }
        const app::RestoreReport report = app::restoreDatabase(url.path, parsed.options.restoreFrom,
                                                               QDateTime::currentDateTime());
        std::printf("%s\n", qPrintable(report.lines.join(QLatin1Char('\n'))));
        return report.restored ? 0 : 1;
    }

    if (!hasDisplay()) {
        // Said plainly instead of Qt's abort with its plugin list.
        std::fputs("stokara: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "not set); the report command works without one, see stokara --help\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    core_ui::MessageBoxDialogs dialogs;
    core::SystemClock clock;

    app::Options options = parsed.options;
    if (options.demo) {
        // The demo keeps a data folder of its own, so it never mixes with the shop.
        const QString folder = QDir(options.dataDir).filePath(QStringLiteral("demo"));
        try {
            options.databaseUrl = demo::ensureDemoDatabase(folder, clock.today());
            options.dataDir = folder;
        } catch (const std::exception& e) {
            dialogs.critical(QString(), QStringLiteral("The demo shop could not be made in %1: %2")
                                            .arg(QDir::toNativeSeparators(folder),
                                                 QString::fromLocal8Bit(e.what())));
            return 1;
        }
    }
    reader::ui::showSimulatedReaderWindowIfRequested();
    // The reader's two information messages reach the operator as plain boxes.
    reader::setInformationSink([&dialogs](const QString& text) { dialogs.plain(QString(), text); });

    if (parsed.options.repair) {
        app::RepairSettings settings;
        settings.databaseUrl = options.databaseUrl;
        settings.backupFolders = {options.backupDir, options.dataDir};
        const app::RepairReport report = app::repairDatabase(settings, dialogs, clock);
        std::printf("%s\n", qPrintable(report.lines.join(QLatin1Char('\n'))));
        return report.outcome == app::RepairReport::Outcome::InUse ? 1 : 0;
    }

    app::Shell shell(options, dialogs, clock);
    shell.start();
    return application.exec();
}
