#include "core/database.h"
#include "core/dialect.h"
#include "schema/schema.h"
#include "support/test_database.h"

#include <QDir>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace stokara;
using core::Database;
using core::Engine;
using test::TestDatabase;

namespace {

// Every table with its columns and types, and every index and trigger, as the
// engine reports them; sorted so that column order does not matter.
QStringList schemaSnapshot(Database& db) {
    QStringList out;
    if (db.isSqlite()) {
        for (const auto& r : db.query(
                 QString("select m.name, p.name, p.type from sqlite_master m join "
                         "pragma_table_info(m.name) p where m.type = 'table' and m.name not like "
                         "'sqlite_%'")))
            out << QString("column %1.%2 %3")
                       .arg(r.text(0).toLower(), r.text(1).toLower(), r.text(2).toLower());
        for (const auto& r : db.query(
                 QString("select type, name, tbl_name from sqlite_master where type in ('index', "
                         "'trigger') and name not like 'sqlite_%'")))
            out << QString("%1 %2 on %3").arg(r.text(0), r.text(1).toLower(), r.text(2).toLower());
    } else {
        for (const auto& r : db.query(
                 QString("select table_name, column_name, data_type, character_maximum_length, "
                         "numeric_precision, numeric_scale from information_schema.columns where "
                         "table_schema = current_schema()")))
            out << QString("column %1.%2 %3(%4,%5,%6)")
                       .arg(r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.text(5));
        for (const auto& r :
             db.query(QString("select indexname, tablename from pg_indexes where schemaname = "
                              "current_schema()")))
            out << QString("index %1 on %2").arg(r.text(0), r.text(1));
    }
    out.sort();
    return out;
}

QStringList tableRows(Database& db, const QString& sql) {
    QStringList out;
    for (const auto& r : db.query(sql)) {
        QStringList cells;
        for (const QVariant& v : r.values())
            cells << v.toString();
        out << cells.join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

QString errorsOf(const schema::UpgradeResult& r) {
    return r.errorTexts.join(QLatin1Char('\n'));
}

// A file of an older edition: the initial tables, and some of the later ones as
// they were first created, holding data.
void makeOldDatabase(Database& db) {
    schema::createInitialDatabase(db);
    const Engine e = db.engine();
    const QString key = core::dialect::identityType(e);
    const QString dt = core::dialect::dateTimeType(e);
    db.exec(QString("create table itemsale (Doc_dt %1, Party_code varchar(10), item_name "
                    "varchar(40), Qty numeric(9,2), unit varchar(10), Rate numeric(9,2), "
                    "Net_amt numeric(9,2), Auto_No %2)")
                .arg(dt, key));
    // An index a later, wider one replaces: the upgrade drops it.
    db.exec(QString("create index idx_itemsale_item_dt_qty on itemsale (item_name, Doc_dt, Qty)"));
    db.exec(QString("create table daybook (auto_No %1, Dt %2, AccountHead varchar(20), "
                    "V_Type Varchar(2), Net_Amount numeric(9), Remark varchar(100))")
                .arg(key, dt));
    db.exec(QString("create table dairysetting (Dairylanguage varchar(50), vendor "
                    "varchar(10))"));
    db.exec(QString("insert into dairysetting (Dairylanguage, vendor) values (?, ?)"),
            {QString("2"), QString("V01")});
    db.exec(QString("insert into masitem (item_name) values (?)"), {QString("Cake")});
    db.exec(QString("insert into masitem (item_name) values (?)"), {QString("Bran")});
    db.exec(QString("insert into masparty (party_code, Party_name, category) values (?, "
                    "?, ?)"),
            {QString("7"), QString("Ram Lal"), QString("MilkMan")});
    db.exec(QString("insert into itemsale (Doc_dt, Party_code, item_name, Qty, Rate, "
                    "Net_amt) values (?, ?, ?, ?, ?, ?)"),
            {QDate(2023, 5, 1), QString("7"), QString("Cake"), 2, 250.5, 501});
    db.exec(QString("insert into daybook (Dt, AccountHead, V_Type, Net_Amount) values (?, "
                    "?, ?, ?)"),
            {QDate(2023, 5, 2), QString("Rent"), QString("Dr"), 1200});
}

} // namespace

class SchemaTest : public QObject {
    Q_OBJECT
private slots:
    void oldAndFreshEndAlike();
    void secondRunChangesNothing();
    void failingStatementDoesNotStopTheRest();
    void twoCountersUpgradingTogether();
    void existingDatabaseLeftAlone();
};

void SchemaTest::oldAndFreshEndAlike() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase fresh(TestDatabase::Content::Empty);
    schema::createNewDatabase(fresh.db());
    TestDatabase old(TestDatabase::Content::Empty);
    makeOldDatabase(old.db());
    schema::UpgradeOptions options;
    options.dataFolder = QString("/srv/dairy data");
    const auto r = schema::upgradeDatabase(old.db(), options);
    QVERIFY2(r.errors == 0, qPrintable(errorsOf(r)));

    const QStringList expected = schemaSnapshot(fresh.db());
    const QStringList actual = schemaSnapshot(old.db());
    QStringList missing, extra;
    for (const QString& s : expected)
        if (!actual.contains(s))
            missing << s;
    for (const QString& s : actual)
        if (!expected.contains(s))
            extra << s;
    QVERIFY2(missing.isEmpty() && extra.isEmpty(),
             qPrintable(QString("missing: ") + missing.join(QString(", ")) + QString("\nextra: ") +
                        extra.join(QString(", "))));

    Database& db = old.db();
    // The old rows survive, the settings row is the old one completed: its empty
    // backup folder becomes the data folder.
    const core::Rows settings =
        db.query(QString("select Dairylanguage, vendor, PrintSNF, BackupPath from dairysetting"));
    QCOMPARE(settings.size(), size_t(1));
    QCOMPARE(QStringList({settings[0].text(0), settings[0].text(1), settings[0].text(2),
                          settings[0].text(3)}),
             QStringList({"2", "V01", "1", QDir::toNativeSeparators("/srv/dairy data")}));
    QCOMPARE(db.scalar(QString("select Active from masparty where party_code = ?"), {QString("7")})
                 .toString(),
             QString("Y"));
    QCOMPARE(db.scalar(QString("select Net_amt from itemsale")).toDouble(), 501.0);
    // Items that existed before their number column get numbers of their own.
    const auto items = db.query(QString("select autono, MainItem from masitem"));
    QCOMPARE(items.size(), size_t(2));
    QVERIFY(!items[0].at(0).isNull() && !items[1].at(0).isNull());
    QVERIFY(items[0].at(0).toInt() != items[1].at(0).toInt());
    QCOMPARE(items[0].text(1), QString("N"));
    // The widened columns take what the screens now write (PostgreSQL enforces widths).
    db.exec(QString("insert into daybook (Dt, AccountHead, V_Type, Net_Amount) values (?, "
                    "?, ?, ?)"),
            {QDate(2024, 1, 1), QString(50, QLatin1Char('H')), QString("Cr"), 12345.67});
    QCOMPARE(db.scalar(QString("select Net_Amount from daybook where V_Type = 'Cr'")).toDouble(),
             12345.67);
    QCOMPARE(db.scalar(QString("select max(auto_No) from daybook")).toInt(), 2);
}

void SchemaTest::secondRunChangesNothing() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    Database& db = t.db();
    QList<int> batches;
    schema::UpgradeOptions options;
    options.batchDone = [&](int b) { batches << b; };
    schema::createInitialDatabase(db);
    QList<int> done;
    int total = -1;
    const auto first = schema::upgradeDatabase(db, options, [&](int d, int all, int) {
        done << d;
        total = all;
    });
    QVERIFY2(first.errors == 0, qPrintable(errorsOf(first)));
    QCOMPARE(batches, (QList<int>{1, 2}));
    // The progress bar counts every statement up to its end.
    QCOMPARE(done.size(), total);
    QCOMPARE(done.value(total - 1), total);

    const QStringList schemaBefore = schemaSnapshot(db);
    const QStringList settingsBefore = tableRows(db, QString("select * from dairysetting"));
    const QStringList menusBefore = tableRows(db, QString("select * from mnuname"));
    batches.clear();
    const auto r = schema::upgradeDatabase(db, options);
    QVERIFY2(r.errors == 0, qPrintable(errorsOf(r)));
    // Both messages appear again.
    QCOMPARE(batches, (QList<int>{1, 2}));
    QCOMPARE(schemaSnapshot(db), schemaBefore);
    QCOMPARE(tableRows(db, QString("select * from dairysetting")), settingsBefore);
    QCOMPARE(tableRows(db, QString("select * from mnuname")), menusBefore);
}

void SchemaTest::failingStatementDoesNotStopTheRest() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    Database& db = t.db();
    schema::createInitialDatabase(db);
    // An index of another program holds the name the sale table needs, so
    // creating that table fails on both engines.
    db.exec(QString("create index itemsale on masparty (party_code)"));
    const auto r = schema::upgradeDatabase(db);
    QVERIFY2(r.errors >= 1, qPrintable(errorsOf(r)));
    for (const QString& e : r.errorTexts)
        QVERIFY2(e.contains(QLatin1String("itemsale"), Qt::CaseInsensitive), qPrintable(e));
    QVERIFY(!db.tableExists(QString("itemsale")));
    // Everything after it was done, in the same transaction.
    QVERIFY(db.columnExists(QString("dairysetting"), QString("StdAddtion")));
    QCOMPARE(db.scalar(QString("select count(*) from dairysetting")).toInt(), 1);
    QVERIFY(db.scalar(QString("select count(*) from mnuname")).toInt() > 0);
    QVERIFY(db.columnExists(QString("milk_col"), QString("MainColAutoNo")));
    // Once the name is free, the next run completes the file.
    db.exec(QString("drop index itemsale"));
    const auto again = schema::upgradeDatabase(db);
    QVERIFY2(again.errors == 0, qPrintable(errorsOf(again)));
    QVERIFY(db.columnExists(QString("itemsale"), QString("Doc_No")));
}

void SchemaTest::twoCountersUpgradingTogether() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().exec(QString("delete from dairysetting"));
    t.db().exec(QString("delete from mnuname"));
    // Each counter has its own connection, opened and closed in its own thread.
    std::atomic<int> errors{0};
    auto counter = [&] {
        try {
            auto db = t.openAnother();
            for (int i = 0; i < 3; ++i)
                errors += schema::upgradeDatabase(*db).errors;
        } catch (const std::exception&) {
            ++errors;
        }
    };
    std::thread first(counter);
    std::thread second(counter);
    first.join();
    second.join();
    QCOMPARE(errors.load(), 0);
    QCOMPARE(t.db().scalar(QString("select count(*) from dairysetting")).toInt(), 1);
    QCOMPARE(t.db().scalar(QString("select count(*) from mnuname")).toInt(),
             t.db().scalar(QString("select count(distinct MenuName) from mnuname")).toInt());
}

void SchemaTest::existingDatabaseLeftAlone() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().exec(QString("update masspass set password = ?"), {QString("changed")});
    t.db().exec(QString("delete from dairysetting"));
    schema::createNewDatabase(t.db());
    // One password row, the operator's own.
    QCOMPARE(t.db().scalar(QString("select count(*) from masspass")).toInt(), 1);
    QCOMPARE(t.db().scalar(QString("select password from masspass")).toString(),
             QString("changed"));
    // No upgrade ran either: the emptied settings table stays empty.
    QCOMPARE(t.db().scalar(QString("select count(*) from dairysetting")).toInt(), 0);
}

QTEST_GUILESS_MAIN(SchemaTest)
#include "test_schema.moc"
