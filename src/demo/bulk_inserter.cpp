#include "bulk_inserter.h"

#include <QDate>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace stokara::demo {

namespace {

QVariant bindable(core::Engine engine, const QVariant& v) {
    // SQLite keeps dates as ISO text, exactly as core::Database writes them, so
    // the screens' date comparisons see generated rows like their own.
    if (engine == core::Engine::Sqlite && v.typeId() == QMetaType::QDate)
        return v.toDate().isValid() ? QVariant(v.toDate().toString(Qt::ISODate))
                                    : QVariant(QMetaType(QMetaType::QString));
    return v;
}

sqlite3* sqliteHandle(core::Database& db) {
    if (!db.isSqlite())
        return nullptr;
    QVariant v = db.handle().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(v.data());
}

} // namespace

BulkInserter::BulkInserter(core::Database& db, QString table, QStringList columns, int rowsPerBlock,
                           Written written)
    : db_(db), table_(std::move(table)), columns_(std::move(columns)),
      rowsPerBlock_(std::max(1, rowsPerBlock)), written_(std::move(written)) {
    sqlite_ = sqliteHandle(db_);
    pending_.reserve(rowsPerBlock_ * columns_.size());
}

BulkInserter::~BulkInserter() {
    if (sqliteBlock_)
        sqlite3_finalize(sqliteBlock_);
}

QString BulkInserter::insertSql(int rowCount) const {
    QString one = QStringLiteral("(");
    for (int i = 0; i < columns_.size(); ++i)
        one += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    one += QLatin1Char(')');
    QString sql = QStringLiteral("insert into ") + table_ + QStringLiteral(" (") +
                  columns_.join(QLatin1Char(',')) + QStringLiteral(") values ");
    sql.reserve(sql.size() + rowCount * (one.size() + 1));
    for (int r = 0; r < rowCount; ++r) {
        if (r > 0)
            sql += QLatin1Char(',');
        sql += one;
    }
    return sql;
}

void BulkInserter::add(const QVariantList& row) {
    Q_ASSERT(row.size() == columns_.size());
    for (const QVariant& v : row)
        pending_.append(bindable(db_.engine(), v));
    if (pending_.size() >= rowsPerBlock_ * columns_.size())
        execute(rowsPerBlock_, true);
}

void BulkInserter::finish() {
    if (!pending_.isEmpty())
        execute(static_cast<int>(pending_.size() / columns_.size()), false);
}

void BulkInserter::execute(int rowCount, bool fullBlock) {
    if (fullBlock && blockSql_.isEmpty())
        blockSql_ = insertSql(rowsPerBlock_);
    const QString sql = fullBlock ? blockSql_ : insertSql(rowCount);
    if (sqlite_) {
        if (fullBlock) {
            if (!sqliteBlock_)
                sqliteBlock_ = prepareSqlite(sql);
            executeSqlite(sqliteBlock_, sql);
        } else {
            sqlite3_stmt* statement = prepareSqlite(sql);
            try {
                executeSqlite(statement, sql);
            } catch (...) {
                sqlite3_finalize(statement);
                throw;
            }
            sqlite3_finalize(statement);
        }
    } else if (fullBlock) {
        if (!block_) {
            block_.emplace(db_.handle());
            if (!block_->prepare(sql)) {
                const QSqlError e = block_->lastError();
                block_.reset();
                throw core::DbError(e.nativeErrorCode(), e.text(), sql);
            }
        }
        executeQt(*block_, sql);
    } else {
        QSqlQuery query(db_.handle());
        if (!query.prepare(sql))
            throw core::DbError(query.lastError().nativeErrorCode(), query.lastError().text(), sql);
        executeQt(query, sql);
    }
    pending_.clear();
    rows_ += rowCount;
    if (written_)
        written_(rowCount);
}

void BulkInserter::executeQt(QSqlQuery& query, const QString& sql) {
    for (int i = 0; i < pending_.size(); ++i)
        query.bindValue(i, pending_[i]);
    if (!query.exec()) {
        const QSqlError e = query.lastError();
        throw core::DbError(e.nativeErrorCode().isEmpty() ? QString::number(int(e.type()))
                                                          : e.nativeErrorCode(),
                            e.text(), sql);
    }
}

sqlite3_stmt* BulkInserter::prepareSqlite(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(sqlite_, text.constData(), static_cast<int>(text.size()), &statement,
                           nullptr) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(sqlite_);
        const QString message = QString::fromUtf8(sqlite3_errmsg(sqlite_));
        sqlite3_finalize(statement);
        throw core::DbError(QString::number(code), message, sql);
    }
    return statement;
}

void BulkInserter::executeSqlite(sqlite3_stmt* statement, const QString& sql) {
    // The same storage classes Qt's SQLite driver binds: text, real, integer, null.
    int rc = SQLITE_OK;
    for (int i = 0; i < pending_.size() && rc == SQLITE_OK; ++i) {
        const QVariant& v = pending_[i];
        const int at = i + 1;
        if (v.isNull()) {
            rc = sqlite3_bind_null(statement, at);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Double:
            rc = sqlite3_bind_double(statement, at, v.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(statement, at, v.toLongLong());
            break;
        default: {
            const QString s = v.toString();
            rc = sqlite3_bind_text16(statement, at, s.utf16(),
                                     static_cast<int>(s.size() * sizeof(QChar)), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    const bool ok = rc == SQLITE_DONE;
    const int code = ok ? 0 : sqlite3_extended_errcode(sqlite_);
    const QString message = ok ? QString() : QString::fromUtf8(sqlite3_errmsg(sqlite_));
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!ok)
        throw core::DbError(QString::number(code), message, sql);
}

} // namespace stokara::demo
