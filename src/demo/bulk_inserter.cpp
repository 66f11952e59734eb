#include "bulk_inserter.h"

#include <QDate>
#include <QSqlError>

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

} // namespace

BulkInserter::BulkInserter(core::Database& db, QString table, QStringList columns, int rowsPerBlock,
                           Written written)
    : db_(db), table_(std::move(table)), columns_(std::move(columns)),
      rowsPerBlock_(std::max(1, rowsPerBlock)), written_(std::move(written)) {
    pending_.reserve(rowsPerBlock_ * columns_.size());
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
    if (pending_.size() >= rowsPerBlock_ * columns_.size()) {
        if (!block_) {
            blockSql_ = insertSql(rowsPerBlock_);
            block_.emplace(db_.handle());
            if (!block_->prepare(blockSql_)) {
                const QSqlError e = block_->lastError();
                block_.reset();
                throw core::DbError(e.nativeErrorCode(), e.text(), blockSql_);
            }
        }
        execute(*block_, blockSql_, rowsPerBlock_);
    }
}

void BulkInserter::finish() {
    if (pending_.isEmpty())
        return;
    const int rowCount = static_cast<int>(pending_.size() / columns_.size());
    const QString sql = insertSql(rowCount);
    QSqlQuery query(db_.handle());
    if (!query.prepare(sql))
        throw core::DbError(query.lastError().nativeErrorCode(), query.lastError().text(), sql);
    execute(query, sql, rowCount);
}

void BulkInserter::execute(QSqlQuery& query, const QString& sql, int rowCount) {
    for (int i = 0; i < pending_.size(); ++i)
        query.bindValue(i, pending_[i]);
    if (!query.exec()) {
        const QSqlError e = query.lastError();
        throw core::DbError(e.nativeErrorCode().isEmpty() ? QString::number(int(e.type()))
                                                          : e.nativeErrorCode(),
                            e.text(), sql);
    }
    pending_.clear();
    rows_ += rowCount;
    if (written_)
        written_(rowCount);
}

} // namespace stokara::demo
