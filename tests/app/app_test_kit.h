#pragma once

#include "support/test_session.h"

#include "core/database.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace stokara::test {

// Points the settings row's backup folder at `folder` (a test's own temp folder).
inline void setBackupPath(core::Database& db, const QString& folder) {
    db.exec(QStringLiteral("update dairysetting set backuppath = ?"),
            {QDir::toNativeSeparators(folder)});
}

inline bool sqliteIntegrityOk(const QString& path) {
    auto db = core::Database::open(QStringLiteral("sqlite:") + path);
    return db->scalar(QStringLiteral("PRAGMA integrity_check")).toString() == QLatin1String("ok");
}

} // namespace stokara::test
