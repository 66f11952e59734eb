#include "app/repair.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace stokara;

namespace {

// A plain connection, as another program (or a crashed Stokara) would have.
class Plain {
public:
    explicit Plain(const QString& path) : name_(QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Plain() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    void exec(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(name_));
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }
    QStringList names() {
        QSqlQuery q(QSqlDatabase::database(name_));
        q.exec(QStringLiteral("select name from t order by name"));
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private:
    QString name_;
};

} // namespace

// stokara --restore: a sound backup replaces the database, the old file and its
// journal are set aside, never deleted, and a stale log is never replayed.
class TestRestore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString db() const { return dir.filePath(QStringLiteral("dairy.db")); }
    QString backup() const { return dir.filePath(QStringLiteral("Tarvex05")); }
    const QDateTime now{QDate(2026, 12, 5), QTime(10, 0)};

    // dairy.db with rows "kept" and "later"; the backup has only "kept"; a
    // crash left the log of "later" beside dairy.db.
    void makeShop(bool withStaleLog) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        QByteArray log;
        {
            Plain p(db());
            p.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            p.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
            p.exec(QStringLiteral("create table t (name text)"));
            p.exec(QStringLiteral("insert into t values ('kept')"));
            p.exec(QStringLiteral("VACUUM INTO '%1'").arg(backup()));
            p.exec(QStringLiteral("insert into t values ('later')"));
            QFile wal(db() + QStringLiteral("-wal"));
            QVERIFY(wal.open(QIODevice::ReadOnly));
            log = wal.readAll();
        }
        if (withStaleLog) {
            QFile wal(db() + QStringLiteral("-wal"));
            QVERIFY(wal.open(QIODevice::WriteOnly));
            wal.write(log);
        }
    }

private slots:
    void restoreSetsTheOldFileAndItsLogAside() {
        makeShop(true);
        const auto report = app::restoreDatabase(db(), backup(), now, 500);
        QVERIFY2(report.restored, qPrintable(report.lines.join('\n')));
        QVERIFY(!QFile::exists(db() + QStringLiteral("-wal")));
        {
            Plain p(db());
            QCOMPARE(p.names(), QStringList{QStringLiteral("kept")});
        }
        // The replaced file with its log still holds everything it had.
        QVERIFY(report.setAsideAs.endsWith(QStringLiteral("dairy-replaced-20261205-100000.db")));
        QVERIFY(QFile::exists(report.setAsideAs + QStringLiteral("-wal")) ||
                QFile::exists(report.setAsideAs));
        Plain old(report.setAsideAs);
        QCOMPARE(old.names(), (QStringList{QStringLiteral("kept"), QStringLiteral("later")}));
    }

    void aStaleLogWithoutItsDatabaseIsNotReplayed() {
        makeShop(true);
        QFile::rename(db(), dir.filePath(QStringLiteral("elsewhere.db")));
        const auto report = app::restoreDatabase(db(), backup(), now, 500);
        QVERIFY2(report.restored, qPrintable(report.lines.join('\n')));
        Plain p(db());
        QCOMPARE(p.names(), QStringList{QStringLiteral("kept")});
    }

    void refusedRestoresChangeNothing_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("backup damaged") << "damaged";
        QTest::newRow("backup missing") << "missing";
        QTest::newRow("database open in another program") << "open";
    }
    void refusedRestoresChangeNothing() {
        QFETCH(QString, what);
        makeShop(false);
        if (what == QLatin1String("damaged")) {
            QFile f(backup());
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(100);
            f.write(QByteArray(4000, 'x'));
        } else if (what == QLatin1String("missing")) {
            QFile::remove(backup());
        }
        std::optional<Plain> other;
        if (what == QLatin1String("open")) {
            other.emplace(db());
            other->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            other->exec(QStringLiteral("select count(*) from t"));
        }
        const auto report = app::restoreDatabase(db(), backup(), now, 300);
        QVERIFY(!report.restored);
        QVERIFY(report.lines.join(' ').contains(QStringLiteral("Nothing was changed.")));
        other.reset();
        Plain p(db());
        QCOMPARE(p.names(), (QStringList{QStringLiteral("kept"), QStringLiteral("later")}));
    }
};

QTEST_GUILESS_MAIN(TestRestore)
#include "test_restore.moc"
