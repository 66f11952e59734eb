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
        if (pgAdmin && !pgTemplate.isEmpty())
            pgAdmin->tryExec(QStringLiteral("DROP DATABASE IF EXISTS ") + pgTemplate +
                             QStringLiteral(" WITH (FORCE)"));
        pgTemplate.clear();
        pgAdmin.reset();
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
            // Static destructors run after the application object has unloaded
            // the SQL drivers; the template must go while they are still there.
            qAddPostRoutine([] { templates().release(); });
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
