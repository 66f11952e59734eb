#pragma once

#include "core/database.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace stokara::demo {

// Writes many rows of one table fast: one prepared statement inserting a block of
// rows at a time, every value bound. Core's Database::exec prepares anew on each
// call, which is right for a screen and far too slow for a million rows. On
// SQLite the values go straight to the library: Qt's positional binding costs
// more than the insert itself.
class BulkInserter {
public:
    // Called after every executed block with the number of rows it wrote; the
    // generator commits there, between blocks.
    using Written = std::function<void(int rows)>;

    BulkInserter(core::Database& db, QString table, QStringList columns, int rowsPerBlock,
                 Written written = {});
    ~BulkInserter();
    BulkInserter(const BulkInserter&) = delete;
    BulkInserter& operator=(const BulkInserter&) = delete;

    // One row, its values in the order of the columns. Dates may be QDate: they
    // are bound the way core::Database binds them.
    void add(const QVariantList& row);
    // Writes what is left. Must be called before the transaction commits.
    void finish();
    qint64 rows() const { return rows_; }

private:
    QString insertSql(int rowCount) const;
    void execute(int rowCount, bool fullBlock);
    void executeQt(QSqlQuery& query, const QString& sql);
    void executeSqlite(sqlite3_stmt* statement, const QString& sql);
    sqlite3_stmt* prepareSqlite(const QString& sql);

    core::Database& db_;
    QString table_;
    QStringList columns_;
    int rowsPerBlock_;
    Written written_;
    sqlite3* sqlite_ = nullptr;
    sqlite3_stmt* sqliteBlock_ = nullptr;
    std::optional<QSqlQuery> block_;
    QString blockSql_;
    QVariantList pending_;
    qint64 rows_ = 0;
};

} // namespace stokara::demo
