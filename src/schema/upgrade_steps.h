#pragma once

#include <span>

namespace stokara::schema {

// One entry of the upgrade's statement list. The list is data: the runner turns
// each entry into the SQL of the engine at hand and checks first whether its
// work is already done, so an up-to-date database costs almost nothing.
enum class StepKind {
    Table,      // create table `table` (columns in `text`, as declared in the old schema)
    Column,     // alter table `table` add `name` `text`
    Widen,      // alter table `table` alter column `name` to `text` (PostgreSQL only)
    Index,      // create index `name` on `table` (`text`)
    PrimaryKey, // primary key `name` on `table` (`text`), when the table has none
    DropTable,  // drop table `table` (scratch tables that are re-created)
    DropIndex,  // drop index `name` of `table` (one a wider index has replaced)
    Sql,        // `text` as it stands, with the values named by `bind`
    MenuNames,  // the suite's menu names, when `mnuname` is empty
    // unique index `name` on `table` (`text`, one column) over its non-empty
    // values; left out while rows already repeat a value
    UniqueIndex,
};

// Values a Sql step binds; they are known only when the upgrade runs.
enum class StepValue {
    None,
    ErrorLogCutoff,   // now minus five days
    DataFolder,       // the program's data folder
    RateChartColumns, // a Table step's columns, one per fat value
};

struct Step {
    StepKind kind;
    const char* table;
    const char* name;
    const char* text;
    StepValue value = StepValue::None;
};

struct MenuEntry {
    const char* menuName;
    const char* enabled;
    const char* caption;
};

// The first batch, in its fixed order.
std::span<const Step> firstBatch();
// The statements the second batch adds after repeating the first.
std::span<const Step> secondBatchExtras();
// Rows of `mnuname` for an empty table.
std::span<const MenuEntry> menuEntries();
// Column list of the rate chart scratch table: one column per fat value.
const char* rateChartColumns();

} // namespace stokara::schema
