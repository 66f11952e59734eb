#include "report_command.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "startup.h"

#ifdef STOKARA_HAVE_REPORTS
#include "reports/engine/output.h"
#include "reports/ledgers.h"
#include "reports/statements.h"
#include "reports/stock_reports.h"
#endif

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace stokara::app {

bool isReportCommand(const QStringList& args) {
    return args.size() > 1 && args.at(1) == QLatin1String("report");
}

QString reportHelpText() {
    return QStringLiteral(
        "Usage: stokara report NAME [options] --output FILE\n"
        "Writes a report to FILE, as PDF or CSV by its extension.\n"
        "\n"
        "  party-ledger        --party CODE --from DD/MM/YYYY --to DD/MM/YYYY\n"
        "  vendor-ledger       --vendor NAME --from DD/MM/YYYY --to DD/MM/YYYY\n"
        "  ledger-consolidate  --date DD/MM/YYYY\n"
        "  item-sale-statement      [--item NAME] [--party CODE] --from .. --to ..\n"
        "  item-purchase-statement  [--item NAME] [--vendor CODE] --from .. --to ..\n"
        "  item-sale-summary        --from .. --to ..\n"
        "  day-book-statement       [--name HEAD] --from .. --to ..\n"
        "  party-bill               [--party CODE] --from .. --to ..\n"
        "  party-bill-invoice       --party CODE --bill NO --date DD/MM/YYYY\n"
        "  item-stock              --item NAME --from DD/MM/YYYY --to DD/MM/YYYY\n"
        "  sub-item-stock          --item NAME --from DD/MM/YYYY --to DD/MM/YYYY\n"
        "  item-stock-consolidate  --date DD/MM/YYYY\n"
        "\n"
        "Dates left out are today. --data-dir and --database as for the program.\n"
        "Exit status: 0 written, 2 bad input, 3 nothing to report, 1 database or file\n"
        "failure.\n");
}

#ifdef STOKARA_HAVE_REPORTS
namespace {

bool isStatementName(const QString& name) {
    static const QStringList names{"item-sale-statement", "item-purchase-statement",
                                   "item-sale-summary",   "day-book-statement",
                                   "party-bill",          "party-bill-invoice"};
    return names.contains(name);
}

// A statement or bill by its command name: whether the name is one, whether
// the names given are known, and the report (none when nothing matched).
struct StatementRun {
    bool known = false;
    bool proper = true;
    std::optional<reports::Report> report;
};

StatementRun statementReport(const QString& name, const QCommandLineParser& parser,
                             core::Database& db, const reports::ReportContext& context,
                             const QDate& from, const QDate& to) {
    using namespace reports;
    StatementRun run;
    run.known = isStatementName(name);
    if (!run.known)
        return run;
    const QString item = parser.value(QStringLiteral("item")).trimmed();
    const QString given =
        parser
            .value(name == QLatin1String("item-purchase-statement") ? QStringLiteral("vendor")
                                                                    : QStringLiteral("party"))
            .trimmed();
    const QString head = parser.value(QStringLiteral("name")).trimmed();
    auto known = [](const std::vector<ListEntry>& list, const QString& bound) {
        return std::any_of(list.begin(), list.end(),
                           [&](const ListEntry& e) { return e.bound == bound; });
    };
    if ((!item.isEmpty() && !known(statementItems(db), item)) ||
        (!head.isEmpty() && !known(dayBookNames(db), head))) {
        run.proper = false;
        return run;
    }
    const StatementMode mode = name == QLatin1String("item-purchase-statement")
                                   ? StatementMode::Purchase
                                   : StatementMode::Sale;
    QString code;
    if (!given.isEmpty()) {
        const auto account = findStatementAccount(db, mode, given);
        if (!account) {
            run.proper = false;
            return run;
        }
        code = account->bound;
    }
    const core::ShopInfo shop = readShopInfo(db);
    // The company chosen at login is the shop's own record here.
    const QString company = shop.name;
    if (name == QLatin1String("item-sale-statement") ||
        name == QLatin1String("item-purchase-statement"))
        run.report = itemStatement(db, context, company, mode, from, to, item, code);
    else if (name == QLatin1String("item-sale-summary"))
        run.report = itemSaleSummary(db, context, company, QStringLiteral("itemsale"), from, to);
    else if (name == QLatin1String("day-book-statement"))
        run.report = dayBookStatement(db, context, from, to, head);
    else if (name == QLatin1String("party-bill"))
        run.report = partyBill(db, context, shop, from, to, code);
    else // found by its party and number; the date is only checked
        run.report = partyBillInvoice(db, context, shop, code,
                                      parser.value(QStringLiteral("bill")).trimmed());
    return run;
}

} // namespace
#endif

int runReportCommand(const QStringList& args, const QProcessEnvironment& env,
                     const QString& defaultDataDir, QTextStream& err) {
#ifndef STOKARA_HAVE_REPORTS
    (void)args;
    (void)env;
    (void)defaultDataDir;
    err << "stokara: this build has no reports\n";
    return 2;
#else
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"data-dir", "database", "party", "vendor", "from", "to", "date",
                             "output", "item", "name", "bill"})
        parser.addOption({QString::fromLatin1(name), QString(), QStringLiteral("VALUE")});
    QStringList rest = args.mid(2);
    rest.prepend(args.value(0));
    const QString name = args.value(2);
    if (!parser.parse(rest) || parser.positionalArguments().size() != 1 ||
        !parser.isSet(QStringLiteral("output"))) {
        err << "stokara: "
            << (parser.errorText().isEmpty() ? QStringLiteral("bad arguments") : parser.errorText())
            << "\n\n"
            << reportHelpText();
        return 2;
    }
    const QString output = QFileInfo(parser.value(QStringLiteral("output"))).absoluteFilePath();
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("csv")) {
        err << "stokara: the output file must end in .pdf or .csv\n";
        return 2;
    }

    QString dataDir = parser.isSet(QStringLiteral("data-dir"))
                          ? parser.value(QStringLiteral("data-dir"))
                          : env.value(QStringLiteral("STOKARA_DATA_DIR"), defaultDataDir);
    dataDir = QDir::cleanPath(QDir(dataDir).absolutePath());
    QString url = parser.isSet(QStringLiteral("database"))
                      ? parser.value(QStringLiteral("database"))
                      : env.value(QStringLiteral("STOKARA_DATABASE"));
    if (url.isEmpty())
        url = QStringLiteral("sqlite:") + QDir(dataDir).filePath(QStringLiteral("dairy.db"));

    // Today's date where a date is left out, as the screens start.
    const QString today = core::formatDate(QDate::currentDate());
    auto date = [&](const char* option) {
        const QString o = QString::fromLatin1(option);
        return core::parseDate(parser.isSet(o) ? parser.value(o) : today);
    };
    auto refuse = [&err] {
        err << reports::kEnterProperInformation << '\n';
        return 2;
    };

    // The inputs are checked before the database is opened, as the screens check
    // them before running anything.
    const bool single =
        name == QLatin1String("party-ledger") || name == QLatin1String("vendor-ledger");
    const QString account = parser.value(
        name == QLatin1String("party-ledger") ? QStringLiteral("party") : QStringLiteral("vendor"));
    const auto from = date("from"), to = date("to"), asOn = date("date");
    if (single && (account.trimmed().isEmpty() || !from || !to))
        return refuse();
    if (name == QLatin1String("ledger-consolidate") && !asOn)
        return refuse();
    // The statements and bills: both dates (the invoice bill: its date and number).
    if (name == QLatin1String("party-bill-invoice")
            ? !asOn || parser.value(QStringLiteral("bill")).trimmed().isEmpty() ||
                  parser.value(QStringLiteral("party")).trimmed().isEmpty()
            : isStatementName(name) && (!from || !to))
        return refuse();
    // Stock reports: the item as its list shows it, and the dates.
    const bool itemWise =
        name == QLatin1String("item-stock") || name == QLatin1String("sub-item-stock");
    const QString item = parser.value(QStringLiteral("item"));
    if (itemWise && (item.trimmed().isEmpty() || !from || !to))
        return refuse();
    if (name == QLatin1String("item-stock-consolidate") && !asOn)
        return refuse();

    try {
        const core::DatabaseUrl where = core::DatabaseUrl::parse(url);
        if (where.engine == core::Engine::Sqlite && !QFileInfo::exists(where.path)) {
            err << "stokara: the database " << QDir::toNativeSeparators(where.path)
                << " does not exist\n";
            return 1;
        }
        auto db = core::Database::open(where);
        const reports::ReportContext context{reports::ReportFolders{dataDir, {}},
                                             readShopInfo(*db).name};
        std::optional<reports::Report> report;
        if (name == QLatin1String("party-ledger")) {
            const auto party = reports::findParty(*db, account);
            if (!party || party->shown.isEmpty())
                return refuse();
            report = reports::partyLedger(*db, context, party->bound, party->shown, *from, *to);
        } else if (name == QLatin1String("vendor-ledger")) {
            const auto vendor = reports::findVendor(*db, account);
            if (!vendor || vendor->bound.isEmpty())
                return refuse();
            report = reports::vendorLedger(*db, context, vendor->bound, *from, *to);
        } else if (name == QLatin1String("ledger-consolidate")) {
            report = reports::ledgerConsolidate(*db, context, *asOn);
        } else if (const auto statement = statementReport(
                       name, parser, *db, context, from.value_or(QDate()), to.value_or(QDate()));
                   statement.known) {
            if (!statement.proper)
                return refuse();
            if (!statement.report) {
                err << reports::kNoRecords << '\n';
                return 3;
            }
            report = *statement.report;
        } else if (itemWise) {
            const bool mainItem = name == QLatin1String("item-stock");
            if (!(mainItem ? reports::mainItems(*db) : reports::subItems(*db)).contains(item))
                return refuse();
            report = mainItem ? reports::itemStock(*db, context, item, *from, *to)
                              : reports::subItemStock(*db, context, item, *from, *to);
        } else if (name == QLatin1String("item-stock-consolidate")) {
            report = reports::itemStockConsolidate(*db, context, *asOn);
        } else {
            err << "stokara: unknown report \"" << name << "\"\n\n" << reportHelpText();
            return 2;
        }
        reports::writeReportFile(*report, output);
        return 0;
    } catch (const std::exception& e) {
        err << core::errorMessageText(QStringLiteral("report ") + name, core::ErrorInfo::from(e))
            << '\n';
        return 1;
    }
#endif
}

} // namespace stokara::app
