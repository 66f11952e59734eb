#include "database.h"

#include "idioms.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

namespace stokara::core {

namespace {

QString errorNumber(const QSqlError& e) {
    QString n = e.nativeErrorCode();
    return n.isEmpty() ? QString::number(static_cast<int>(e.type())) : n;
}

QString errorText(const QSqlError& e) {
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    if (t.isEmpty())
        t = e.driverText().trimmed();
    return t;
}

void sqliteVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(v));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(v));
        return;
    case SQLITE_NULL:
        sqlite3_result_int(ctx, 0);
        return;
    default: {
        auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
        // The same reading of a typed number as the screens use.
        sqlite3_result_double(ctx, val(QString::fromUtf8(text, sqlite3_value_bytes(v))));
    }
    }
}

QVariant bindable(Engine engine, const QVariant& v) {
    if (engine != Engine::Sqlite)
        return v;
    // SQLite keeps dates as ISO text; one format for all writers keeps them comparable.
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().isValid() ? QVariant(v.toDate().toString(Qt::ISODate))
                                    : QVariant(QMetaType(QMetaType::QString));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().isValid()
                   ? QVariant(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                   : QVariant(QMetaType(QMetaType::QString));
    return v;
}

} // namespace

DbError::DbError(QString number, QString description, QString statement)
    : std::runtime_error(description.toStdString()), number_(std::move(number)),
      description_(std::move(description)), statement_(std::move(statement)) {}

Row::Row(std::shared_ptr<const QStringList> names, QVariantList values)
    : names_(std::move(names)), values_(std::move(values)) {}

const QVariant& Row::at(int column) const {
    static const QVariant null;
    if (column < 0 || column >= values_.size())
        return null;
    return values_[column];
}

int Row::indexOf(const QString& column) const {
    for (int i = 0; i < names_->size(); ++i)
        if (names_->at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Row::value(const QString& column) const {
    int i = indexOf(column);
    if (i < 0)
        throw DbError(QStringLiteral("3265"),
                      QStringLiteral("Item cannot be found in the collection: ") + column);
    return values_[i];
}

static QString variantText(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::Double) {
        // Whole amounts read back as "500", not "500.0".
        return QString::number(v.toDouble(), 'g', 15);
    }
    return v.toString();
}

static QDate variantDate(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString s = v.toString();
    return QDate::fromString(s.left(10), Qt::ISODate);
}

QString Row::text(int column) const {
    return variantText(at(column));
}
QString Row::text(const QString& column) const {
    return variantText(value(column));
}
double Row::number(int column) const {
    return at(column).toDouble();
}
double Row::number(const QString& column) const {
    return value(column).toDouble();
}
QDate Row::date(int column) const {
    return variantDate(at(column));
}
QDate Row::date(const QString& column) const {
    return variantDate(value(column));
}
bool Row::isNull(const QString& column) const {
    return value(column).isNull();
}

DatabaseUrl DatabaseUrl::parse(const QString& text) {
    DatabaseUrl u;
    if (text.startsWith(QLatin1String("postgresql://")) ||
        text.startsWith(QLatin1String("postgres://"))) {
        QUrl url(text);
        u.engine = Engine::Postgres;
        u.host = url.host().isEmpty() ? QStringLiteral("localhost") : url.host();
        u.port = url.port(5432);
        u.user = url.userName();
        u.password = url.password();
        u.database = url.path().mid(1);
        return u;
    }
    u.engine = Engine::Sqlite;
    u.path = text.startsWith(QLatin1String("sqlite:")) ? text.mid(7) : text;
    return u;
}

QString DatabaseUrl::toString() const {
    if (engine == Engine::Sqlite)
        return QStringLiteral("sqlite:") + path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(host);
    url.setPort(port);
    url.setUserName(user);
    url.setPath(QLatin1Char('/') + database);
    return url.toString();
}

std::unique_ptr<Database> Database::open(const DatabaseUrl& url) {
    const QString name =
        QStringLiteral("stokara-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db;
    if (url.engine == Engine::Sqlite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(url.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.host);
        db.setPort(url.port);
        db.setUserName(url.user);
        db.setPassword(url.password);
        db.setDatabaseName(url.database);
        // A counter must never hang on a dead server or a half-open connection:
        // keepalives notice a vanished peer, tcp_user_timeout bounds unacknowledged
        // writes (milliseconds).
        db.setConnectOptions(QStringLiteral("connect_timeout=5;keepalives=1;keepalives_idle=10;"
                                            "keepalives_interval=5;keepalives_count=3;"
                                            "tcp_user_timeout=20000"));
    }
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(name);
        throw DbError(QStringLiteral("0"), QStringLiteral("The database driver is not installed."));
    }
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open()) {
        QSqlError e = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw DbError(errorNumber(e), errorText(e));
    }
    std::unique_ptr<Database> result(new Database(url, db));
    result->connectionName_ = name;
    result->installFunctions();
    return result;
}

Database::Database(const DatabaseUrl& url, QSqlDatabase db) : url_(url), db_(std::move(db)) {}

Database::~Database() {
    db_.close();
    db_ = QSqlDatabase();
    if (!connectionName_.isEmpty())
        QSqlDatabase::removeDatabase(connectionName_);
}

bool installSqliteFunctions(const QSqlDatabase& db) {
    if (!db.driver())
        return false;
    QVariant v = db.driver()->handle();
    auto* handle = v.isValid() ? *static_cast<sqlite3**>(v.data()) : nullptr;
    if (!handle)
        return false;
    // Innocuous: a file made by an earlier version may still hold an index on
    // val() until the upgrade rebuilds it, and must open with trusted_schema off.
    return sqlite3_create_function_v2(handle, "val", 1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, &sqliteVal, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Database::installFunctions() {
    if (url_.engine == Engine::Sqlite) {
        if (!installSqliteFunctions(db_))
            throw DbError(QStringLiteral("0"),
                          QStringLiteral("The program's SQL functions could not be installed."));
        // What a database file holds (triggers, indexes) never runs a function
        // that is not harmless, whatever the file says.
        exec(QStringLiteral("PRAGMA trusted_schema = OFF"));
        // WAL lets readers go on while a counter writes; a failure here (read-only
        // medium) leaves the default journal and is not fatal.
        tryExec(QStringLiteral("PRAGMA journal_mode=WAL"));
        // A shop's file grows to hundreds of megabytes; SQLite's own cache of
        // 2 MB would send every report back to the disk for the same pages.
        // 64 MB, filled only as pages are read; a file that cannot be read is
        // reported by the steps that need it.
        tryExec(QStringLiteral("PRAGMA cache_size = -65536"));
        return;
    }
    applySessionLimits();
    // val() of a code text, as SQLite has it above. Created once per database;
    // checking first keeps several counters from racing on CREATE OR REPLACE.
    const bool have =
        scalar(QStringLiteral("select count(*) from pg_proc where proname = 'val'")).toInt() >= 2;
    if (!have) {
        tryExec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION val(t text) RETURNS double precision LANGUAGE sql "
            "IMMUTABLE AS $$ SELECT COALESCE(substring(t from "
            "'^[ \\t]*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+))')::double precision, 0) $$"));
        tryExec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION val(n numeric) RETURNS double precision LANGUAGE sql "
            "IMMUTABLE AS $$ SELECT COALESCE(n, 0)::double precision $$"));
    }
}

void Database::applySessionLimits() {
    // Waits a counter can live with: a lock held by another counter (the
    // advisory locks of bill numbers too), a runaway statement, a transaction
    // left open. Each ends as an ordinary DbError and a rollback.
    exec(QStringLiteral("SET lock_timeout = '%1s'").arg(kLockTimeoutSeconds));
    exec(QStringLiteral("SET statement_timeout = '%1s'").arg(kStatementTimeoutSeconds));
    exec(QStringLiteral("SET idle_in_transaction_session_timeout = '%1s'")
             .arg(kIdleInTransactionSeconds));
    // The server's notices ("relation ... already exists, skipping" from every
    // report run's IF NOT EXISTS) would fill the terminal and logs; warnings
    // and errors still come through.
    exec(QStringLiteral("SET client_min_messages = warning"));
}

void Database::reconnectIfLost() {
    // Only between transactions: a transaction that lost its connection has
    // already failed, and ends as a rollback first.
    if (!lost_ || depth_ > 0)
        return;
    db_.close();
    if (!db_.open()) {
        const QSqlError e = db_.lastError();
        throw DbError(errorNumber(e),
                      QStringLiteral("The database server cannot be reached: ") + errorText(e));
    }
    lost_ = false;
    applySessionLimits();
}

DbError Database::failed(const QSqlQuery& q, const QString& sql) {
    const QSqlError e = q.lastError();
    QString text = errorText(e);
    if (url_.engine == Engine::Postgres) {
        // A server that went away (stopped, restarted, the network down) or ended
        // the session: the next statement reconnects instead of failing for ever.
        const QString lower = text.toLower();
        const bool gone =
            e.type() == QSqlError::ConnectionError ||
            (lower.contains(QLatin1String("connection")) &&
             (lower.contains(QLatin1String("closed")) ||
              lower.contains(QLatin1String("terminat")) ||
              lower.contains(QLatin1String("no connection")) ||
              lower.contains(QLatin1String("not open")) ||
              lower.contains(QLatin1String("could not")) || lower.contains(QLatin1String("lost"))));
        if (gone) {
            lost_ = true;
            text = QStringLiteral("The connection to the database server was lost: ") + text;
        }
    }
    return DbError(errorNumber(e), text, sql);
}

namespace {

// Prepares and runs one statement with its bound values. Statements without
// values run directly: PostgreSQL cannot prepare DDL.
bool run(QSqlQuery& q, Engine engine, const QString& sql, const QVariantList& values) {
    bool ok;
    if (values.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant& v : values)
                q.addBindValue(bindable(engine, v));
            ok = q.exec();
        }
    }
    return ok;
}

} // namespace

int Database::exec(const QString& sql, const QVariantList& values) {
    reconnectIfLost();
    QSqlQuery q(db_);
    if (!run(q, url_.engine, sql, values))
        throw failed(q, sql);
    int n = q.numRowsAffected();
    return n < 0 ? 0 : n;
}

int Database::execNamed(const QString& sql, const QVariantHash& values) {
    // Turned into positional placeholders here, so both engines see the same
    // text and quoted literals keep their colons.
    QString text;
    QVariantList ordered;
    QSet<QString> used;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() &&
                   (sql.at(i + 1).isLetter() || sql.at(i + 1) == QLatin1Char('_')) &&
                   (i == 0 || sql.at(i - 1) != QLatin1Char(':'))) {
            qsizetype end = i + 1;
            while (end < sql.size() &&
                   (sql.at(end).isLetterOrNumber() || sql.at(end) == QLatin1Char('_')))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            const auto it = values.constFind(name);
            if (it == values.constEnd())
                throw DbError(QString(), QStringLiteral("No value for :") + name, sql);
            ordered << it.value();
            used.insert(name);
            text += QLatin1Char('?');
            i = end - 1;
            continue;
        }
        text += c;
    }
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (!used.contains(it.key()))
            throw DbError(QString(), QStringLiteral("Unused value :") + it.key(), sql);
    return exec(text, ordered);
}

Rows Database::query(const QString& sql, const QVariantList& values) {
    reconnectIfLost();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!run(q, url_.engine, sql, values))
        throw failed(q, sql);
    Rows rows;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        rows.columns << rec.fieldName(i);
    auto names = std::make_shared<const QStringList>(rows.columns);
    const int n = rec.count();
    while (q.next()) {
        QVariantList vals;
        vals.reserve(n);
        for (int i = 0; i < n; ++i)
            vals << q.value(i);
        rows.emplace_back(names, std::move(vals));
    }
    if (q.lastError().isValid())
        throw failed(q, sql);
    return rows;
}

QVariant Database::scalar(const QString& sql, const QVariantList& values) {
    Rows rows = query(sql, values);
    if (rows.empty() || rows.front().size() == 0)
        return {};
    return rows.front().at(0);
}

bool Database::tryExec(const QString& sql, const QVariantList& values) {
    // Inside a transaction a failed statement would poison PostgreSQL's whole
    // transaction, so it is fenced by a savepoint there.
    if (depth_ > 0 && url_.engine == Engine::Postgres) {
        try {
            Transaction t(*this);
            exec(sql, values);
            t.commit();
            return true;
        } catch (const DbError&) {
            return false;
        }
    }
    try {
        exec(sql, values);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

qint64 Database::lastInsertId(const QString& table, const QString& column) {
    if (url_.engine == Engine::Sqlite)
        return scalar(QStringLiteral("select last_insert_rowid()")).toLongLong();
    return scalar(QStringLiteral("select currval(pg_get_serial_sequence(?, ?))"),
                  {table.toLower(), column.toLower()})
        .toLongLong();
}

bool Database::tableExists(const QString& table) {
    if (url_.engine == Engine::Sqlite)
        return scalar(QStringLiteral("select count(*) from sqlite_master where type = 'table' "
                                     "and lower(name) = lower(?)"),
                      {table})
                   .toInt() > 0;
    return scalar(QStringLiteral("select count(*) from information_schema.tables where "
                                 "table_schema = current_schema() and table_name = lower(?)"),
                  {table})
               .toInt() > 0;
}

bool Database::columnExists(const QString& table, const QString& column) {
    if (url_.engine == Engine::Sqlite) {
        // pragma_table_info takes the table name as a bound argument.
        return scalar(QStringLiteral("select count(*) from pragma_table_info(?) where "
                                     "lower(name) = lower(?)"),
                      {table, column})
                   .toInt() > 0;
    }
    return scalar(QStringLiteral("select count(*) from information_schema.columns where "
                                 "table_schema = current_schema() and table_name = lower(?) "
                                 "and column_name = lower(?)"),
                  {table, column})
               .toInt() > 0;
}

void Database::begin(bool immediate) {
    if (depth_ == 0)
        exec(immediate && url_.engine == Engine::Sqlite ? QStringLiteral("BEGIN IMMEDIATE")
                                                        : QStringLiteral("BEGIN"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(depth_));
    ++depth_;
}

void Database::commit() {
    --depth_;
    try {
        if (depth_ == 0)
            exec(QStringLiteral("COMMIT"));
        else
            exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_));
    } catch (const DbError&) {
        // A COMMIT that failed (a deferred constraint, a busy file) may leave
        // the engine inside the transaction, and every later BEGIN would fail:
        // end it here, so nothing of it is kept, then report.
        ++depth_;
        rollback();
        throw;
    }
}

void Database::rollback() {
    --depth_;
    try {
        if (depth_ == 0) {
            exec(QStringLiteral("ROLLBACK"));
        } else {
            exec(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(depth_));
            exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_));
        }
    } catch (const DbError&) {
        // The connection is gone or the engine already ended the transaction;
        // either way nothing of it was kept.
    }
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::Transaction(Database& db, qint64 exclusiveKey) : db_(db) {
    db_.begin(true);
    if (db_.engine() == Engine::Postgres) {
        try {
            db_.query(QStringLiteral("select pg_advisory_xact_lock(?)"), {exclusiveKey});
        } catch (...) {
            db_.rollback();
            throw;
        }
    }
}

Transaction::~Transaction() {
    if (!done_)
        db_.rollback();
}

void Transaction::commit() {
    if (done_)
        return;
    done_ = true;
    db_.commit();
}

} // namespace stokara::core
