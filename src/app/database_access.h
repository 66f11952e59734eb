#pragma once

#include "core/database.h"

#include <QString>

#include <memory>

namespace stokara::app {

struct OpenResult {
    std::unique_ptr<core::Database> db;
    bool created = false; // a new SQLite file was made and given the schema
    QString problem;      // what went wrong, in words for the shop; empty on success
};

// Opens the shop's database. A missing SQLite file in an existing folder (or
// in the data folder, which is made when missing) becomes a new database with
// every table. A file that cannot be read, is not a database or is locked, and
// a server that cannot be reached, give a problem text naming the cause; the
// file itself is never touched then.
OpenResult openShopDatabase(const QString& url, const QString& dataDir);

} // namespace stokara::app
