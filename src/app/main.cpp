#include "app/command_line.h"
#include "app/repair.h"
#include "app/shell.h"

#include "core/clock.h"
#include "core/dialogs.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>

using namespace stokara;

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Stokara"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1.0"));

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
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

    QApplication application(argc, argv);
    core::MessageBoxDialogs dialogs;
    core::SystemClock clock;

    if (parsed.options.repair) {
        app::RepairSettings settings;
        settings.databaseUrl = parsed.options.databaseUrl;
        settings.backupFolders = {parsed.options.backupDir, parsed.options.dataDir};
        const app::RepairReport report = app::repairDatabase(settings, dialogs, clock);
        std::printf("%s\n", qPrintable(report.lines.join(QLatin1Char('\n'))));
        return report.outcome == app::RepairReport::Outcome::InUse ? 1 : 0;
    }

    app::Shell shell(parsed.options, dialogs, clock);
    shell.start();
    return application.exec();
}
