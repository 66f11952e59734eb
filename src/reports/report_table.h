#pragma once

#include "ledgers.h"

#include "core/errors.h"
#include "core/session.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace stokara::reports {

// What a report is asked for: its dates and the entries chosen from its lists.
enum class Criterion {
    From,    // first date of a period
    To,      // last date of a period
    AsOn,    // the one date of a report as on a day (the invoice bill's date too)
    Account, // a party, vendor, head: the entry of the report's list
    Item,    // an item: the entry of the report's item list
    Bill,    // a bill number, typed
};

struct Field {
    Criterion criterion;
    QString name;   // the control's objectName
    QString label;  // shown beside it
    QString option; // the command line's option, without "--"
    bool required = true;
    // The list's entries (none for a date or a typed field).
    std::function<std::vector<ListEntry>(core::Database&)> entries;
    // An entry named on the command line (by code or name, as the report takes
    // it); nothing when none matches.
    std::function<std::optional<ListEntry>(core::Database&, const QString&)> find;
    bool dropDown = false; // a drop-down list with an empty first entry, not a list box
};

// The values of a report's fields once checked.
struct Inputs {
    QDate from, to, asOn;
    std::optional<ListEntry> account, item;
    QString bill;
};

// What a report needs besides its inputs, as a screen or the command line has it.
struct RunContext {
    ReportContext report;
    core::ShopInfo shop;
    QString company; // chosen at login; the shop's name on the command line
};

struct ReportEntry {
    QString command; // "party-ledger"
    QString screen;  // objectName of its criteria screen
    QString caption;
    std::vector<Field> fields;
    // Tells "Sorry! There is no any records." when the report has no rows.
    bool toldWhenEmpty = false;
    core::ErrorKind errors = core::ErrorKind::Show;
    std::function<std::optional<Report>(core::Database&, const RunContext&, const Inputs&)> run;
};

// Every report, in the order the help lists them.
const std::vector<ReportEntry>& reportTable();
const ReportEntry* reportByCommand(const QString& command);
// The criteria screen's report; the statement screen's follows the statement kind.
const ReportEntry* reportByScreen(const QString& screen, const QString& statementKind = {});

// The name a saved copy of a report is offered under, without extension: the
// command, the account, item or bill asked for, and the dates
// ("party-ledger_3_2026-04-01_2026-04-30").
QString fileStem(const ReportEntry& report, const Inputs& inputs);

// The command line's usage of one report ("party-ledger --party CODE --from ...").
QString usageLine(const ReportEntry& report);

} // namespace stokara::reports
