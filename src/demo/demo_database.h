#pragma once

#include "core/database.h"

#include <QDate>
#include <QString>

#include <memory>

namespace stokara::demo {

// The demo shop lives in a folder of its own so it never mixes with a real shop.
// Its file is <folder>/dairy.db.
QString demoDatabasePath(const QString& demoFolder);

// Makes sure the demo database exists: on first use the folder is created and a
// small shop (GenerateOptions::demoShop, transactions ending on `today`) is
// written into a new file; afterwards the file is reused as the user left it.
// The shop is built in a side file and moved into place only when complete, so
// an interrupted first start does not leave half a demo behind.
// Returns the URL to open ("sqlite:<folder>/dairy.db"). Throws core::DbError or
// std::runtime_error when the folder or the file cannot be made.
QString ensureDemoDatabase(const QString& demoFolder, const QDate& today = QDate::currentDate());

struct DemoDatabase {
    std::unique_ptr<core::Database> db;
    QString url;
    bool created = false; // written just now rather than found
};

// ensureDemoDatabase, then open it.
DemoDatabase openDemoDatabase(const QString& demoFolder, const QDate& today = QDate::currentDate());

} // namespace stokara::demo
