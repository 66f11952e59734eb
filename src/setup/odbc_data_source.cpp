#include "odbc_data_source.h"

#include "core/database.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPair>

#include <cmath>
#include <limits>

#include <dlfcn.h>
#include <odbcinst.h>

namespace stokara::setup {

namespace {

const QString kSqliteDriver = QStringLiteral("SQLite3");
const QString kPostgresDriver = QStringLiteral("PostgreSQL Unicode");

std::string bytes(const QString& text) {
    return text.toUtf8().toStdString();
}

// The folder the driver manager's drivers are installed in: "odbc" beside
// its installer library (Debian: /usr/lib/<arch>/odbc).
QString driverFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&SQLWriteDSNToIni), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath() +
           QStringLiteral("/odbc");
}

// The driver ID as the whole number written, when it is a number that fits 32 bits.
std::optional<qlonglong> driverIdValue(const QString& text) {
    if (!core::isNumericText(text))
        return std::nullopt;
    const double value = std::nearbyint(text.trimmed().toDouble());
    if (value < 0 || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return static_cast<qlonglong>(value);
}

// Sets the driver manager's file for the writes of one scope, and back to
// both after them.
class ConfigMode {
public:
    explicit ConfigMode(UWORD mode) { SQLSetConfigMode(mode); }
    ~ConfigMode() { SQLSetConfigMode(ODBC_BOTH_DSN); }
    ConfigMode(const ConfigMode&) = delete;
    ConfigMode& operator=(const ConfigMode&) = delete;
};

bool writeEntry(const QString& section, const QString& key, const QString& value,
                const QString& file) {
    return SQLWritePrivateProfileString(bytes(section).c_str(), bytes(key).c_str(),
                                        bytes(value).c_str(), bytes(file).c_str());
}

enum class Written { NotStarted, Stopped, Done };

Written writeIn(UWORD mode, const DataSourceFields& f) {
    ConfigMode scope(mode);
    const QString name = f.name.trimmed();
    // Replaces an earlier data source of this name with one holding only "Driver".
    if (!SQLWriteDSNToIni(bytes(name).c_str(), bytes(f.driverPath.trimmed()).c_str()))
        return Written::NotStarted;
    QList<QPair<QString, QString>> entries = {
        {QStringLiteral("Description"), f.description.trimmed()},
        {QStringLiteral("UID"), f.userName.trimmed()}};
    if (!f.password.trimmed().isEmpty())
        entries.append({QStringLiteral("PWD"), f.password.trimmed()});
    entries.append({QStringLiteral("DriverId"), QString::number(*driverIdValue(f.driverId))});
    // The database under the names its driver reads.
    const QString database = f.databasePath.trimmed();
    if (database.startsWith(QLatin1String("postgresql://"))) {
        const core::DatabaseUrl url = core::DatabaseUrl::parse(database);
        entries.append({{QStringLiteral("Servername"), url.host},
                        {QStringLiteral("Port"), QString::number(url.port)},
                        {QStringLiteral("Database"), url.database},
                        {QStringLiteral("Username"), f.userName.trimmed()}});
        if (!f.password.trimmed().isEmpty())
            entries.append({QStringLiteral("Password"), f.password.trimmed()});
    } else if (!database.isEmpty()) {
        entries.append({QStringLiteral("Database"), database});
    }
    const QString file = QStringLiteral("odbc.ini");
    for (const auto& [key, value] : entries)
        if (!writeEntry(name, key, value, file))
            return Written::Stopped;
    if (!writeEntry(QStringLiteral("ODBC Data Sources"), name, f.driverName.trimmed(), file))
        return Written::Stopped;
    return Written::Done;
}

} // namespace

QString findOdbcDriver(const QString& driverName, const QString& fileName) {
    char buffer[1024] = {};
    SQLGetPrivateProfileString(bytes(driverName).c_str(), "Driver", "", buffer, sizeof buffer,
                               "odbcinst.ini");
    const QString folder = driverFolder();
    for (const QString& candidate : {QString::fromUtf8(buffer), fileName}) {
        if (candidate.isEmpty())
            continue;
        const QString path =
            QDir::isAbsolutePath(candidate) ? candidate : QDir(folder).filePath(candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

DataSourceFields defaultDataSourceFields(const core::DatabaseUrl& url) {
    DataSourceFields f;
    f.name = QStringLiteral("Dairy");
    f.description = QStringLiteral("Dairy");
    f.driverId = QStringLiteral("25");
    if (url.engine == core::Engine::Postgres) {
        f.driverName = kPostgresDriver;
        f.driverPath = findOdbcDriver(kPostgresDriver, QStringLiteral("psqlodbcw.so"));
        core::DatabaseUrl server = url;
        server.user.clear();
        server.password.clear();
        f.databasePath = server.toString();
        f.userName = url.user;
    } else {
        f.driverName = kSqliteDriver;
        f.driverPath = findOdbcDriver(kSqliteDriver, QStringLiteral("libsqlite3odbc.so"));
        f.databasePath = QFileInfo(url.path).absoluteFilePath();
        f.userName = QStringLiteral("Admin");
    }
    return f;
}

std::optional<core::Problem> checkDataSource(const DataSourceFields& f) {
    using core::Problem;
    if (f.name.trimmed().isEmpty())
        return Problem{QStringLiteral("txtDataSourceName"),
                       QStringLiteral("Missing data source name")};
    if (f.description.trimmed().isEmpty())
        return Problem{QStringLiteral("txtDescription"),
                       QStringLiteral("Missing data source description")};
    if (f.driverPath.trimmed().isEmpty())
        return Problem{QStringLiteral("txtDriverPath"), QStringLiteral("Missing driver path")};
    if (f.driverId.trimmed().isEmpty())
        return Problem{QStringLiteral("txtDriverID"), QStringLiteral("Missing driver ID")};
    if (!driverIdValue(f.driverId))
        return Problem{QStringLiteral("txtDriverID"), QStringLiteral("Driver ID must be numeric")};
    if (f.driverName.trimmed().isEmpty())
        return Problem{QStringLiteral("txtDriverName"), QStringLiteral("Missing driver name")};
    if (f.visible && f.odbcIniPath.trimmed().isEmpty())
        return Problem{QStringLiteral("txtODBCPath"), QStringLiteral("Missing ODBC.Ini path")};
    return std::nullopt;
}

DataSourceWrite writeDataSource(const DataSourceFields& fields) {
    DataSourceWrite result;
    Written written = writeIn(ODBC_SYSTEM_DSN, fields);
    result.scope = DataSourceScope::System;
    if (written == Written::NotStarted) {
        written = writeIn(ODBC_USER_DSN, fields);
        result.scope = DataSourceScope::User;
    }
    if (written != Written::Done)
        return result;
    result.ok = true;
    if (fields.visible) {
        // An absolute name, so the driver manager never takes it for its own odbc.ini.
        const QString file = QFileInfo(fields.odbcIniPath.trimmed()).absoluteFilePath();
        if (!writeEntry(fields.name.trimmed(), QStringLiteral("Driver32"),
                        fields.driverPath.trimmed(), file))
            result.failedFile = file;
    }
    return result;
}

} // namespace stokara::setup
