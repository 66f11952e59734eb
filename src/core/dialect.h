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

} // namespace stokara::core::dialect
