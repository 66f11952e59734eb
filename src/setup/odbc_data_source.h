#pragma once

#include "core/input_rules.h"

#include <QString>

#include <optional>

namespace stokara::core {
struct DatabaseUrl;
}

namespace stokara::setup {

// What the data-source screen writes; texts are used trimmed.
struct DataSourceFields {
    QString name;
    QString description;
    QString driverPath;
    QString driverId;
    QString driverName;
    // A file path, or postgresql://host:port/database for a server.
    QString databasePath;
    QString userName;
    QString password;
    bool visible = false; // also write Driver32 into the file at odbcIniPath
    QString odbcIniPath;
};

// Fields that reach the database in use: the SQLite 3 driver and the file, or
// the PostgreSQL Unicode driver and the connection's server, port, database
// and user.
DataSourceFields defaultDataSourceFields(const core::DatabaseUrl& url);

// The installed driver library of a driver name registered with the driver
// manager (odbcinst.ini), else `fileName` in the driver manager's own driver
// folder; empty when neither exists.
QString findOdbcDriver(const QString& driverName, const QString& fileName);

// The first missing or wrong field, in the screen's order; the problem's field
// is the control to put the cursor in.
std::optional<core::Problem> checkDataSource(const DataSourceFields& fields);

enum class DataSourceScope { System, User };
struct DataSourceWrite {
    bool ok = false;
    DataSourceScope scope = DataSourceScope::User;
    QString failedFile; // set when only the ODBC.ini file could not be written
};

// Writes the data source through the driver manager's installer library:
// for every user of the computer when the system odbc.ini may be written,
// else for this user. Running it again replaces the data source. Writing
// stops at the first refusal; what was written before stays.
DataSourceWrite writeDataSource(const DataSourceFields& fields);

} // namespace stokara::setup
