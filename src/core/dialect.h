#pragma once

#include "database.h"

#include <QString>

namespace stokara::core::dialect {

// The few places where SQLite and PostgreSQL need different SQL text. Portable
// SQL is written directly; these are for DDL and date arithmetic only. Both
// engines know val(text) (installed by Database::open).

// Column type of an auto-numbered key ("counter(1,1)" / "identity(1,1)").
QString identityType(Engine engine);
// Column type for a date with time ("datetime").
QString dateTimeType(Engine engine);
// SQL expression for "now" as a value comparable with stored datetimes.
QString now(Engine engine);
// Expression adding a whole number of days (bound as the next value) to a date expression.
QString addDays(Engine engine, const QString& dateExpr);
// Translates a column type as written in the old schema ("counter(1,1)",
// "datetime", "numeric(9)", "varchar(40)") into the engine's type.
QString columnType(Engine engine, const QString& declared);

// The numeric value of a code column (a bill number) as an index may hold it.
// SQLite: the built-in CAST, so the shop's file needs no function of this
// program and any SQLite tool can write and check it (it agrees with val() for
// the whole-number codes the program writes); PostgreSQL: val().
QString codeNumber(Engine engine, const QString& column);

// A condition "column is one of the numbers" with the whole list bound as ONE
// value: the numbers as a JSON array text ("[3,7,9]"), made by idList(). Any
// number of entries, one statement, nothing spliced into the SQL.
QString inIdList(Engine engine, const QString& column);
QString idList(const QList<qint64>& ids);

} // namespace stokara::core::dialect
