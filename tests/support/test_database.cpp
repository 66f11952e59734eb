#include "test_database.h"

#include "schema/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdlib>

namespace stokara::test {

using core::Database;
using core::DatabaseUrl;
using core::Engine;

namespace {

QString pgServer() {
    return qEnvironmentVariable("STOKARA_TEST_PG");
}

struct Templates;
Templates& templates();

// The schema is built once per test process into a template, and each scratch
// database is a copy of it: running the whole upgrade for every test would
// make the suite crawl.
struct Templates {
    std::unique_ptr<QTemporaryDir> dir;
    QString sqliteTemplate;
    QString pgTemplate;
    std::unique_ptr<Database> pgAdmin;

    ~Templates() { release(); }

    void release() {
        for (const QString& name : {pgPooled, pgTemplate})
            if (pgAdmin && !name.isEmpty())
                pgAdmin->tryExec(QStringLiteral("DROP DATABASE IF EXISTS ") + name +
                                 QStringLiteral(" WITH (FORCE)"));
        pgPooled.clear();
        pgTemplate.clear();
        pgAdmin.reset();
    }

    // PostgreSQL takes most of a second to create and drop a database, so one
    // scratch database per process is reused: emptied and given back the rows
    // a new database starts with. A test that changed the tables themselves
    // gets a new copy of the template instead.
    QString pgPooled;
    bool pooledInUse = false;
    struct TableSnapshot {
        QString table;
        QStringList columns; // without the auto-numbered ones
        std::vector<QVariantList> rows;
    };
    std::vector<TableSnapshot> snapshot;
    QStringList allTables;
    QString signature;

    static QString schemaSignature(Database& db) {
        return db
            .scalar(QStringLiteral(
                "select string_agg(table_name || '.' || column_name || ':' || data_type, ',' "
                "order by table_name, column_name) from information_schema.columns where "
                "table_schema = current_schema()"))
            .toString();
    }

    void takeSnapshot(Database& db) {
        signature = schemaSignature(db);
        auto tables = db.query(
            QStringLiteral("select table_name from information_schema.tables where table_schema = "
                           "current_schema() and table_type = 'BASE TABLE' order by table_name"));
        for (const core::Row& t : tables) {
            const QString table = t.text(0);
            allTables << table;
            if (db.scalar(QStringLiteral("select count(*) from ") + table).toInt() == 0)
                continue;
            TableSnapshot snap;
            snap.table = table;
            auto cols =
                db.query(QStringLiteral("select column_name from information_schema.columns where "
                                        "table_schema = current_schema() and table_name = ? and "
                                        "coalesce(column_default, '') not like 'nextval%' order by "
                                        "ordinal_position"),
                         {table});
            for (const core::Row& c : cols)
                snap.columns << c.text(0);
            auto rows = db.query(QStringLiteral("select ") + snap.columns.join(QLatin1Char(',')) +
                                 QStringLiteral(" from ") + table);
            for (const core::Row& r : rows)
                snap.rows.push_back(r.values());
            snapshot.push_back(std::move(snap));
        }
    }

    bool resetPooled(Database& db) {
        if (schemaSignature(db) != signature)
            return false;
        core::Transaction tx(db);
        db.exec(QStringLiteral("TRUNCATE TABLE ") + allTables.join(QLatin1Char(',')) +
                QStringLiteral(" RESTART IDENTITY"));
        for (const TableSnapshot& snap : snapshot) {
            QStringList marks;
            for (int i = 0; i < snap.columns.size(); ++i)
                marks << QStringLiteral("?");
            const QString sql = QStringLiteral("insert into ") + snap.table + QStringLiteral(" (") +
                                snap.columns.join(QLatin1Char(',')) + QStringLiteral(") values (") +
                                marks.join(QLatin1Char(',')) + QLatin1Char(')');
            for (const QVariantList& row : snap.rows)
                db.exec(sql, row);
        }
        tx.commit();
        return true;
    }

    QTemporaryDir& tempDir() {
        if (!dir) {
            dir = std::make_unique<QTemporaryDir>();
            dir->setAutoRemove(true);
        }
        return *dir;
    }

    Database& admin() {
        if (!pgAdmin) {
            pgAdmin = Database::open(pgServer());
        }
        return *pgAdmin;
    }

    DatabaseUrl pgUrl(const QString& name) {
        DatabaseUrl u = DatabaseUrl::parse(pgServer());
        u.database = name;
        return u;
    }

    QString sqliteSchemaFile() {
        if (sqliteTemplate.isEmpty()) {
            const QString path = tempDir().filePath(QStringLiteral("template.db"));
            {
                auto db = Database::open(QStringLiteral("sqlite:") + path);
                schema::createNewDatabase(*db);
                db->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            }
            sqliteTemplate = path;
        }
        return sqliteTemplate;
    }

    QString pgSchemaTemplate() {
        if (pgTemplate.isEmpty()) {
            const QString name = QStringLiteral("stokara_tmpl_%1_%2")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
            admin().exec(QStringLiteral("CREATE DATABASE ") + name);
            pgTemplate = name;
            auto db = Database::open(pgUrl(name));
            schema::createNewDatabase(*db);
            takeSnapshot(*db);
        }
        return pgTemplate;
    }
};

Templates* instance = nullptr;

// Runs while QCoreApplication is still alive: the SQL drivers are gone by the
// time static destructors would run.
void dropTemplates() {
    delete instance;
    instance = nullptr;
}

Templates& templates() {
    if (!instance) {
        instance = new Templates;
        qAddPostRoutine(dropTemplates);
    }
    return *instance;
}

int counter = 0;

} // namespace

Engine testEngine() {
    return qEnvironmentVariable("STOKARA_TEST_ENGINE") == QLatin1String("postgres")
               ? Engine::Postgres
               : Engine::Sqlite;
}

QString databaseUnavailableReason() {
    if (testEngine() == Engine::Postgres && pgServer().isEmpty())
        return QStringLiteral("STOKARA_TEST_PG names no PostgreSQL server");
    return {};
}

TestDatabase::TestDatabase(Content content) {
    Templates& t = templates();
    if (testEngine() == Engine::Sqlite) {
        const QString folder = t.tempDir().filePath(QStringLiteral("db%1").arg(++counter));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/dairy.db");
        if (content == Content::Schema)
            QFile::copy(t.sqliteSchemaFile(), path);
        url_ = DatabaseUrl::parse(QStringLiteral("sqlite:") + path);
        scratchName_ = folder;
    } else if (content == Content::Schema && !t.pooledInUse) {
        const QString tmpl = t.pgSchemaTemplate();
        if (t.pgPooled.isEmpty()) {
            t.pgPooled = QStringLiteral("stokara_p_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QUuid::createUuid().toString(QUuid::Id128).left(6));
            t.admin().exec(QStringLiteral("CREATE DATABASE ") + t.pgPooled +
                           QStringLiteral(" TEMPLATE ") + tmpl);
        }
        url_ = t.pgUrl(t.pgPooled);
        // A connection left open by the previous test could hold locks.
        t.admin().query(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity "
                                       "where datname = ?"),
                        {t.pgPooled});
        db_ = Database::open(url_);
        if (!t.resetPooled(*db_)) {
            db_.reset();
            t.admin().exec(QStringLiteral("DROP DATABASE IF EXISTS ") + t.pgPooled +
                           QStringLiteral(" WITH (FORCE)"));
            t.admin().exec(QStringLiteral("CREATE DATABASE ") + t.pgPooled +
                           QStringLiteral(" TEMPLATE ") + tmpl);
            db_ = Database::open(url_);
        }
        t.pooledInUse = true;
        pooled_ = true;
        return;
    } else {
        const QString name = QStringLiteral("stokara_t_%1_%2_%3")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(++counter)
                                 .arg(QUuid::createUuid().toString(QUuid::Id128).left(6));
        if (content == Content::Schema)
            t.admin().exec(QStringLiteral("CREATE DATABASE ") + name +
                           QStringLiteral(" TEMPLATE ") + t.pgSchemaTemplate());
        else
            t.admin().exec(QStringLiteral("CREATE DATABASE ") + name);
        url_ = t.pgUrl(name);
        scratchName_ = name;
    }
    db_ = Database::open(url_);
}

TestDatabase::~TestDatabase() {
    db_.reset();
    if (pooled_) {
        // Other connections a test opened to it are closed with it only at the next reset.
        templates().pooledInUse = false;
        return;
    }
    if (testEngine() == Engine::Sqlite)
        QDir(scratchName_).removeRecursively();
    else
        templates().admin().tryExec(QStringLiteral("DROP DATABASE IF EXISTS ") + scratchName_ +
                                    QStringLiteral(" WITH (FORCE)"));
}

std::unique_ptr<Database> TestDatabase::openAnother() const {
    return Database::open(url_);
}

} // namespace stokara::test
