#include "database_access.h"

#include "schema/schema.h"

#include <QDir>
#include <QFileInfo>

namespace stokara::app {

using core::Database;
using core::DatabaseUrl;
using core::DbError;
using core::Engine;

namespace {

QString describe(const DbError& e) {
    return e.description().isEmpty() ? QStringLiteral("error %1").arg(e.number()) : e.description();
}

} // namespace

OpenResult openShopDatabase(const QString& urlText, const QString& dataDir) {
    OpenResult result;
    const DatabaseUrl url = DatabaseUrl::parse(urlText);
    bool isNew = false;
    if (url.engine == Engine::Sqlite) {
        const QFileInfo file(url.path);
        const QString folder = file.absolutePath();
        if (file.exists()) {
            if (file.isDir()) {
                result.problem = QStringLiteral("The database %1 is a folder, not a database file.")
                                     .arg(QDir::toNativeSeparators(url.path));
                return result;
            }
            if (!file.isReadable()) {
                result.problem =
                    QStringLiteral("The database file %1 cannot be read (no permission).")
                        .arg(QDir::toNativeSeparators(url.path));
                return result;
            }
            isNew = file.size() == 0;
        } else {
            // Only the data folder is made on demand: a missing folder elsewhere is
            // more likely an unplugged disk than a wish for an empty database.
            const bool inDataFolder =
                QDir::cleanPath(folder) == QDir::cleanPath(QDir(dataDir).absolutePath());
            if (!QFileInfo::exists(folder) && !inDataFolder) {
                result.problem =
                    QStringLiteral("The database file %1 cannot be found: its folder "
                                   "%2 does not exist. Is the disk plugged in?")
                        .arg(QDir::toNativeSeparators(url.path), QDir::toNativeSeparators(folder));
                return result;
            }
            if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
                result.problem = QStringLiteral("The data folder %1 does not exist and cannot "
                                                "be made.")
                                     .arg(QDir::toNativeSeparators(folder));
                return result;
            }
            if (!QFileInfo(folder).isWritable()) {
                result.problem =
                    QStringLiteral("The database file %1 does not exist and the "
                                   "folder %2 cannot be written.")
                        .arg(QDir::toNativeSeparators(url.path), QDir::toNativeSeparators(folder));
                return result;
            }
            isNew = true;
        }
    }

    try {
        result.db = Database::open(url);
    } catch (const DbError& e) {
        if (url.engine == Engine::Sqlite)
            result.problem = QStringLiteral("The database file %1 cannot be opened: %2")
                                 .arg(QDir::toNativeSeparators(url.path), describe(e));
        else
            result.problem =
                QStringLiteral("The PostgreSQL server at %1:%2 (database %3) cannot be reached: %4")
                    .arg(url.host)
                    .arg(url.port)
                    .arg(url.database, describe(e));
        return result;
    }

    // SQLite opens anything lazily; the first read shows a file that is not a
    // database, is damaged or is locked by another program.
    if (url.engine == Engine::Sqlite) {
        try {
            result.db->scalar(QStringLiteral("select count(*) from sqlite_master"));
        } catch (const DbError& e) {
            const QString text = describe(e);
            const bool locked =
                text.contains(QLatin1String("locked")) || text.contains(QLatin1String("busy"));
            result.problem =
                locked ? QStringLiteral("The database file %1 is locked by another program: %2")
                             .arg(QDir::toNativeSeparators(url.path), text)
                       : QStringLiteral("The database file %1 cannot be read: %2. Close Stokara "
                                        "and start stokara --repair to check it.")
                             .arg(QDir::toNativeSeparators(url.path), text);
            result.db.reset();
            return result;
        }
    }

    try {
        schema::UpgradeOptions options;
        options.dataFolder = dataDir;
        if (url.engine == Engine::Postgres || isNew) {
            const bool hadTables = result.db->tableExists(QStringLiteral("masspass"));
            schema::createNewDatabase(*result.db, options);
            result.created = !hadTables;
        }
    } catch (const DbError& e) {
        result.problem =
            QStringLiteral("The new database could not be set up: %1").arg(describe(e));
        result.db.reset();
    }
    return result;
}

} // namespace stokara::app
