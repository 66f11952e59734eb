#include "demo_database.h"

#include "core/database.h"
#include "schema/schema.h"
#include "shop_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace stokara::demo {

namespace {

constexpr const char* kFileName = "dairy.db";

void removeSqliteFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QString demoDatabasePath(const QString& demoFolder) {
    return QDir(demoFolder).filePath(QLatin1String(kFileName));
}

QString ensureDemoDatabase(const QString& demoFolder, const QDate& today) {
    const QString path = demoDatabasePath(demoFolder);
    const QString url = QStringLiteral("sqlite:") + path;
    if (QFileInfo::exists(path))
        return url;
    if (!QDir().mkpath(demoFolder))
        throw std::runtime_error(
            QStringLiteral("The demo folder %1 cannot be created.").arg(demoFolder).toStdString());

    // A side file of this process's own, so two first starts at once do not
    // write into one file.
    const QString building =
        QDir(demoFolder)
            .filePath(
                QStringLiteral("dairy-building-%1.db").arg(QCoreApplication::applicationPid()));
    removeSqliteFiles(building); // left over from an interrupted start
    try {
        auto db = core::Database::open(QStringLiteral("sqlite:") + building);
        schema::createNewDatabase(*db);
        generateShop(*db, GenerateOptions::demoShop(today));
        // One file to move: fold the write-ahead log back in before closing.
        db->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.reset();
    } catch (...) {
        removeSqliteFiles(building);
        throw;
    }
    QFile::remove(building + QLatin1String("-wal"));
    QFile::remove(building + QLatin1String("-shm"));
    if (!QFile::rename(building, path)) {
        removeSqliteFiles(building);
        if (QFileInfo::exists(path)) // another start finished first; use its shop
            return url;
        throw std::runtime_error(
            QStringLiteral("The demo database %1 cannot be written.").arg(path).toStdString());
    }
    return url;
}

DemoDatabase openDemoDatabase(const QString& demoFolder, const QDate& today) {
    DemoDatabase result;
    const bool existed = QFileInfo::exists(demoDatabasePath(demoFolder));
    result.url = ensureDemoDatabase(demoFolder, today);
    result.db = core::Database::open(result.url);
    result.created = !existed;
    return result;
}

} // namespace stokara::demo
