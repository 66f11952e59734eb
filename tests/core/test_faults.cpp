#include "core/database.h"
#include "schema/schema.h"
#include "support/test_database.h"

#include <QTest>

using namespace stokara;
using core::Database;
using core::DbError;
using core::Transaction;
using test::TestDatabase;

// A counter that meets a failing commit or another counter's lock reports it
// and goes on working: it is never left stuck or writing unlocked.
class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void init() { STOKARA_REQUIRE_DATABASE(); }

    void failedCommitLeavesTheConnectionUsable() {
        TestDatabase t(TestDatabase::Content::Empty);
        Database& db = t.db();
        // A constraint checked only at COMMIT makes the COMMIT itself fail.
        if (db.isSqlite()) {
            db.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
            db.exec(QStringLiteral("create table parent (id integer primary key)"));
            db.exec(QStringLiteral("create table child (id integer, parent_id integer references "
                                   "parent(id) deferrable initially deferred)"));
        } else {
            db.exec(QStringLiteral("create table parent (id integer primary key)"));
            db.exec(QStringLiteral("create table child (id integer, parent_id integer references "
                                   "parent(id) deferrable initially deferred)"));
        }
        {
            Transaction tx(db);
            db.exec(QStringLiteral("insert into child (id, parent_id) values (1, 99)"));
            QVERIFY_THROWS_EXCEPTION(DbError, tx.commit());
        }
        QCOMPARE(db.transactionDepth(), 0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from child")).toInt(), 0);
        // The next transaction begins and commits as usual.
        Transaction next(db);
        db.exec(QStringLiteral("insert into parent (id) values (1)"));
        db.exec(QStringLiteral("insert into child (id, parent_id) values (2, 1)"));
        next.commit();
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from child")).toInt(), 1);
    }

    void anotherCountersLockIsWaitedForBoundedly() {
        TestDatabase t(TestDatabase::Content::Empty);
        auto other = t.openAnother();
        Transaction holder(*other, 4242);
        // Without a bound this would wait for ever; with it, an ordinary error.
        QVERIFY_THROWS_EXCEPTION(DbError, Transaction(t.db(), 4242));
        QCOMPARE(t.db().transactionDepth(), 0);
        holder.commit();
        Transaction after(t.db(), 4242);
        after.commit();
    }

    void upgradeStopsWhenItCannotLock() {
        TestDatabase t(TestDatabase::Content::Schema);
        t.db().exec(QStringLiteral("delete from mnuname"));
        auto other = t.openAnother();
        // Another counter is upgrading (or writing) and keeps the lock.
        std::optional<Transaction> upgrading;
        if (t.db().isSqlite()) {
            upgrading.emplace(*other, 1);
        } else {
            upgrading.emplace(*other);
            other->query(QStringLiteral("select pg_advisory_xact_lock(?)"),
                         {qint64(0x53746b557067)});
        }
        QVERIFY_THROWS_EXCEPTION(DbError, schema::upgradeDatabase(t.db()));
        // Nothing ran unlocked.
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from mnuname")).toInt(), 0);
        upgrading.reset();
        schema::upgradeDatabase(t.db());
        QVERIFY(t.db().scalar(QStringLiteral("select count(*) from mnuname")).toInt() > 0);
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
