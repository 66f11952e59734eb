#include "report_command.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "startup.h"

#include "reports/engine/output.h"
#include "reports/report_table.h"
#include "reports/statements.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace stokara::app {

namespace {

// The program's options that take a value, which may stand before "report".
const QStringList kValued{QStringLiteral("--data-dir"), QStringLiteral("--database"),
                          QStringLiteral("--backup-dir")};

// Where the word "report" stands among the arguments; -1 when it is not the
// first word that is not an option.
int reportWord(const QStringList& args) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("report"))
            return i;
        if (!a.startsWith(QLatin1Char('-')))
            return -1;
        if (kValued.contains(a))
            ++i; // its value
    }
    return -1;
}

QString listText() {
    QString text = QStringLiteral("Reports:\n");
    for (const reports::ReportEntry& r : reports::reportTable())
        text += QStringLiteral("  ") + r.command.leftJustified(26) + r.caption.trimmed() +
                QLatin1Char('\n');
    return text;
}

} // namespace

bool isReportCommand(const QStringList& args) {
    return reportWord(args) > 0;
}

QString reportHelpText() {
    QString text =
        QStringLiteral("Usage: stokara report NAME [options] --output FILE\n"
                       "Writes a report to FILE, as PDF, CSV or a spreadsheet (.xlsx) by its\n"
                       "extension.\n"
                       "Options may stand before or after NAME.\n\n");
    for (const reports::ReportEntry& r : reports::reportTable())
        text += QStringLiteral("  ") + reports::usageLine(r) + QLatin1Char('\n');
    return text + QStringLiteral(
                      "\nDates left out are today. --data-dir and --database as for the program.\n"
                      "Exit status: 0 written (or the list of reports), 2 bad input, 3 nothing to\n"
                      "report, 1 database or file failure.\n");
}

int runReportCommand(const QStringList& args, const QProcessEnvironment& env,
                     const QString& defaultDataDir, QTextStream& out, QTextStream& err) {
    using namespace reports;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QStringList options{QStringLiteral("data-dir"), QStringLiteral("database"),
                        QStringLiteral("backup-dir"), QStringLiteral("output")};
    for (const ReportEntry& r : reportTable())
        for (const Field& f : r.fields)
            if (!options.contains(f.option))
                options << f.option;
    for (const QString& name : options)
        parser.addOption({name, QString(), QStringLiteral("VALUE")});
    QStringList rest = args;
    rest.removeAt(reportWord(args));
    if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
        out << reportHelpText();
        return 0;
    }
    if (!parser.parse(rest)) {
        err << "stokara: " << parser.errorText() << "\n\n" << reportHelpText();
        return 2;
    }
    if (parser.positionalArguments().isEmpty()) {
        out << listText();
        return 0;
    }
    const QString name = parser.positionalArguments().constFirst();
    const ReportEntry* report = reportByCommand(name);
    if (!report) {
        err << "stokara: unknown report \"" << name << "\"\n\n" << reportHelpText();
        return 2;
    }
    if (parser.positionalArguments().size() != 1 || !parser.isSet(QStringLiteral("output"))) {
        err << "stokara: "
            << (parser.positionalArguments().size() != 1
                    ? QStringLiteral("one report at a time")
                    : QStringLiteral("--output FILE is missing"))
            << "\n\n"
            << reportHelpText();
        return 2;
    }
    const QString output = QFileInfo(parser.value(QStringLiteral("output"))).absoluteFilePath();
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("csv") &&
        suffix != QLatin1String("xlsx")) {
        err << "stokara: the output file must end in .pdf, .csv or .xlsx\n";
        return 2;
    }

    // The dates are checked before the database is opened; one left out is
    // today, as the screens start.
    Inputs in;
    for (const Field& f : report->fields) {
        if (f.criterion != Criterion::From && f.criterion != Criterion::To &&
            f.criterion != Criterion::AsOn)
            continue;
        const QString given = parser.isSet(f.option) ? parser.value(f.option)
                                                     : core::formatDate(QDate::currentDate());
        const auto d = core::parseDate(given);
        if (!d) {
            err << "--" << f.option << ": " << given << " is not a date dd/mm/yyyy\n";
            return 2;
        }
        (f.criterion == Criterion::From ? in.from
         : f.criterion == Criterion::To ? in.to
                                        : in.asOn) = *d;
    }
    auto refuse = [&err] {
        err << kEnterProperInformation << '\n';
        return 2;
    };
    for (const Field& f : report->fields)
        if (f.required &&
            (f.criterion == Criterion::Account || f.criterion == Criterion::Item ||
             f.criterion == Criterion::Bill) &&
            parser.value(f.option).trimmed().isEmpty())
            return refuse();

    QString dataDir = parser.isSet(QStringLiteral("data-dir"))
                          ? parser.value(QStringLiteral("data-dir"))
                          : env.value(QStringLiteral("STOKARA_DATA_DIR"), defaultDataDir);
    dataDir = QDir::cleanPath(QDir(dataDir).absolutePath());
    QString url = parser.isSet(QStringLiteral("database"))
                      ? parser.value(QStringLiteral("database"))
                      : env.value(QStringLiteral("STOKARA_DATABASE"));
    if (url.isEmpty())
        url = QStringLiteral("sqlite:") + QDir(dataDir).filePath(QStringLiteral("dairy.db"));

    try {
        const core::DatabaseUrl where = core::DatabaseUrl::parse(url);
        if (where.engine == core::Engine::Sqlite && !QFileInfo::exists(where.path)) {
            err << "stokara: the database " << QDir::toNativeSeparators(where.path)
                << " does not exist\n";
            return 1;
        }
        auto db = core::Database::open(where);
        // The entries named: as the lists bind them, found by code or name.
        for (const Field& f : report->fields) {
            if (f.criterion == Criterion::Bill) {
                in.bill = parser.value(f.option).trimmed();
                continue;
            }
            if (f.criterion != Criterion::Account && f.criterion != Criterion::Item)
                continue;
            const QString given = parser.value(f.option).trimmed();
            if (given.isEmpty())
                continue;
            std::optional<ListEntry> entry;
            if (f.find) {
                entry = f.find(*db, given);
            } else {
                for (const ListEntry& e : f.entries(*db))
                    if (e.bound == given || e.shown == given) {
                        entry = e;
                        break;
                    }
            }
            if (!entry || entry->shown.isEmpty() || entry->bound.isEmpty())
                return refuse();
            (f.criterion == Criterion::Item ? in.item : in.account) = entry;
        }
        const core::ShopInfo shop = readShopInfo(*db);
        // The company chosen at login is the shop's own record here.
        const RunContext context{{ReportFolders{dataDir, {}}, shop.name}, shop, shop.name};
        const std::optional<Report> made = report->run(*db, context, in);
        if (!made) {
            err << kNoRecords << '\n';
            return 3;
        }
        writeReportFile(*made, output);
        return 0;
    } catch (const std::exception& e) {
        err << core::errorMessageText(QStringLiteral("report ") + name, core::ErrorInfo::from(e))
            << '\n';
        return 1;
    }
}

} // namespace stokara::app
