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
        for (const auto& r : db.query(QStringLiteral(
                 "select m.name, p.name, p.type from sqlite_master m join "
                 "pragma_table_info(m.name) p where m.type = 'table' and m.name not like "
                 "'sqlite_%'")))
            out << QStringLiteral("column %1.%2 %3")
                       .arg(r.text(0).toLower(), r.text(1).toLower(), r.text(2).toLower());
        for (const auto& r : db.query(QStringLiteral(
                 "select type, name, tbl_name from sqlite_master where type in ('index', "
                 "'trigger') and name not like 'sqlite_%'")))
            out << QStringLiteral("%1 %2 on %3")
                       .arg(r.text(0), r.text(1).toLower(), r.text(2).toLower());
    } else {
        for (const auto& r : db.query(QStringLiteral(
                 "select table_name, column_name, data_type, character_maximum_length, "
                 "numeric_precision, numeric_scale from information_schema.columns where "
                 "table_schema = current_schema()")))
            out << QStringLiteral("column %1.%2 %3(%4,%5,%6)")
                       .arg(r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.text(5));
        for (const auto& r : db.query(
                 QStringLiteral("select indexname, tablename from pg_indexes where schemaname = "
                                "current_schema()")))
            out << QStringLiteral("index %1 on %2").arg(r.text(0), r.text(1));
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
    db.exec(QStringLiteral("create table itemsale (Doc_dt %1, Party_code varchar(10), item_name "
                           "varchar(40), Qty numeric(9,2), unit varchar(10), Rate numeric(9,2), "
                           "Net_amt numeric(9,2), Auto_No %2)")
                .arg(dt, key));
    db.exec(QStringLiteral("create table daybook (auto_No %1, Dt %2, AccountHead varchar(20), "
                           "V_Type Varchar(2), Net_Amount numeric(9), Remark varchar(100))")
                .arg(key, dt));
    db.exec(QStringLiteral("create table dairysetting (Dairylanguage varchar(50), vendor "
                           "varchar(10))"));
    db.exec(QStringLiteral("insert into dairysetting (Dairylanguage, vendor) values (?, ?)"),
            {QStringLiteral("2"), QStringLiteral("V01")});
    db.exec(QStringLiteral("insert into masitem (item_name) values (?)"), {QStringLiteral("Cake")});
    db.exec(QStringLiteral("insert into masitem (item_name) values (?)"), {QStringLiteral("Bran")});
    db.exec(QStringLiteral("insert into masparty (party_code, Party_name, category) values (?, "
                           "?, ?)"),
            {QStringLiteral("7"), QStringLiteral("Ram Lal"), QStringLiteral("MilkMan")});
    db.exec(QStringLiteral("insert into itemsale (Doc_dt, Party_code, item_name, Qty, Rate, "
                           "Net_amt) values (?, ?, ?, ?, ?, ?)"),
            {QDate(2023, 5, 1), QStringLiteral("7"), QStringLiteral("Cake"), 2, 250.5, 501});
    db.exec(QStringLiteral("insert into daybook (Dt, AccountHead, V_Type, Net_Amount) values (?, "
                           "?, ?, ?)"),
            {QDate(2023, 5, 2), QStringLiteral("Rent"), QStringLiteral("Dr"), 1200});
}

} // namespace

class SchemaTest : public QObject {
    Q_OBJECT
private slots:
    void initialDatabase();
    void freshUpgradeHasNoEngineErrors();
    void everyTableAndColumn();
    void oldAndFreshEndAlike();
    void secondRunChangesNothing();
    void progressCountsEveryStatement();
    void settingsRow_data();
    void settingsRow();
    void emptyMainItemBecomesN_data();
    void emptyMainItemBecomesN();
    void errorLogPruning_data();
    void errorLogPruning();
    void autoNumbers_data();
    void autoNumbers();
    void menuNames();
    void apostropheName();
    void textColumnsHoldWhatScreensWrite();
    void nextBillNumberHasItsIndex();
    void failingStatementDoesNotStopTheRest();
    void twoCountersUpgradingTogether();
    void existingDatabaseLeftAlone();
    void closedConnectionStillEndsBothBatches();
};

void SchemaTest::initialDatabase() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    schema::createInitialDatabase(t.db());
    for (const char* table : {"masparty", "masitem", "repled2", "masspass", "adminsecurity"})
        QVERIFY2(t.db().tableExists(QString::fromLatin1(table)), table);
    // The login reads the second column of masspass's first row.
    const auto pass = t.db().query(QStringLiteral("select * from masspass"));
    QCOMPARE(pass.size(), size_t(1));
    QCOMPARE(pass.front().text(1), QStringLiteral("kelbo"));
    QCOMPARE(pass.columns.at(1).toLower(), QStringLiteral("password"));
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from adminsecurity")).toInt(), 1);
    // Running it again adds no second password row.
    schema::createInitialDatabase(t.db());
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from masspass")).toInt(), 1);
}

void SchemaTest::freshUpgradeHasNoEngineErrors() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    schema::createInitialDatabase(t.db());
    const auto first = schema::upgradeDatabase(t.db());
    QVERIFY2(first.errors == 0, qPrintable(errorsOf(first)));
    QVERIFY(first.statements > 500);
    const auto second = schema::upgradeDatabase(t.db());
    QVERIFY2(second.errors == 0, qPrintable(errorsOf(second)));
    QCOMPARE(second.statements, first.statements);
}

void SchemaTest::everyTableAndColumn() {
    STOKARA_REQUIRE_DATABASE();
    // One database for the whole list: each scratch PostgreSQL database costs time.
    TestDatabase t(TestDatabase::Content::Schema);
    QStringList missing;
    const char* pairs[][2] = {
        {"itemsale", "Doc_dt"},
        {"itemsale", "Auto_No"},
        {"itemsale", "Doc_No"},
        {"itemsale", "Post"},
        {"itemsale", "category"},
        {"ItemPurchases", "Net_amount"},
        {"ItemPurchases", "Auto_No"},
        {"daybook", "auto_No"},
        {"daybook", "party_code"},
        {"daybook", "Category"},
        {"accounthead", "Auto_no"},
        {"accounthead", "AutoNo"},
        {"BOM", "Wt"},
        {"masvendor", "party_code"},
        {"MessageLog", "RecordID"},
        {"MessageLog", "ReturnMessage"},
        {"ErrorDesc", "ErrorDate"},
        {"compmaster", "compcode"},
        {"compmaster", "TinNo"},
        {"MasPartyDeleted", "Category"},
        {"masitem", "MainItem"},
        {"masitem", "OpeBal"},
        {"masitem", "autono"},
        {"masitem", "rate"},
        {"masparty", "CReditLimit"},
        {"masparty", "CardNo"},
        {"masparty", "Active"},
        {"masparty", "enddt"},
        {"masparty", "CommTypeBuff"},
        {"masparty", "ope_bal"},
        {"REPLED2", "CATEGORY"},
        {"REPLED2", "AutoNo"},
        {"REPLED2", "MainItemRecd"},
        {"dairysetting", "Dairylanguage"},
        {"dairysetting", "vendor"},
        {"dairysetting", "BackupPath"},
        {"dairysetting", "SmsSenderName"},
        {"dairysetting", "Partycodemanual"},
        {"dairysetting", "CanCapacity"},
        {"dairysetting", "StdAddtion"},
        {"milk_col", "party_code"},
        {"milk_col", "MainColAutoNo"},
        {"advance", "party_code"},
        {"masrate", "party_code"},
        {"TableDebug", "StepNo"},
        {"mnuname", "MenuCaption"},
        {"mnuname", "MnuEnabled"},
        {"TempRateVerticalChart", "F100"},
    };
    for (const auto& p : pairs)
        if (!t.db().columnExists(QString::fromLatin1(p[0]), QString::fromLatin1(p[1])))
            missing << QStringLiteral("%1.%2").arg(QLatin1String(p[0]), QLatin1String(p[1]));
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void SchemaTest::oldAndFreshEndAlike() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase fresh(TestDatabase::Content::Empty);
    schema::createNewDatabase(fresh.db());
    TestDatabase old(TestDatabase::Content::Empty);
    makeOldDatabase(old.db());
    const auto r = schema::upgradeDatabase(old.db());
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
             qPrintable(QStringLiteral("missing: ") + missing.join(QStringLiteral(", ")) +
                        QStringLiteral("\nextra: ") + extra.join(QStringLiteral(", "))));

    Database& db = old.db();
    // The old rows survive, the settings row is the old one completed.
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from dairysetting")).toInt(), 1);
    const auto s = db.query(QStringLiteral("select Dairylanguage, vendor, PrintSNF, SnfFormula "
                                           "from dairysetting"))
                       .front();
    QCOMPARE(s.text(0), QStringLiteral("2"));
    QCOMPARE(s.text(1), QStringLiteral("V01"));
    QCOMPARE(s.text(2), QStringLiteral("1"));
    QCOMPARE(s.text(3), QStringLiteral("A"));
    QCOMPARE(db.scalar(QStringLiteral("select Active from masparty where party_code = ?"),
                       {QStringLiteral("7")})
                 .toString(),
             QStringLiteral("Y"));
    QCOMPARE(db.scalar(QStringLiteral("select Net_amt from itemsale")).toDouble(), 501.0);
    // Items that existed before their number column get numbers of their own.
    const auto items = db.query(QStringLiteral("select autono, MainItem from masitem"));
    QCOMPARE(items.size(), size_t(2));
    QVERIFY(!items[0].at(0).isNull() && !items[1].at(0).isNull());
    QVERIFY(items[0].at(0).toInt() != items[1].at(0).toInt());
    QCOMPARE(items[0].text(1), QStringLiteral("N"));
    // The widened columns take what the screens now write (PostgreSQL enforces widths).
    db.exec(QStringLiteral("insert into daybook (Dt, AccountHead, V_Type, Net_Amount) values (?, "
                           "?, ?, ?)"),
            {QDate(2024, 1, 1), QString(50, QLatin1Char('H')), QStringLiteral("Cr"), 12345.67});
    QCOMPARE(
        db.scalar(QStringLiteral("select Net_Amount from daybook where V_Type = 'Cr'")).toDouble(),
        12345.67);
    QCOMPARE(db.scalar(QStringLiteral("select max(auto_No) from daybook")).toInt(), 2);
}

void SchemaTest::secondRunChangesNothing() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    Database& db = t.db();
    QList<int> batches;
    schema::UpgradeOptions options;
    options.batchDone = [&](int b) { batches << b; };
    schema::createInitialDatabase(db);
    schema::upgradeDatabase(db, options);
    QCOMPARE(batches, (QList<int>{1, 2}));

    const QStringList schemaBefore = schemaSnapshot(db);
    const QStringList settingsBefore = tableRows(db, QStringLiteral("select * from dairysetting"));
    const QStringList menusBefore = tableRows(db, QStringLiteral("select * from mnuname"));
    batches.clear();
    const auto r = schema::upgradeDatabase(db, options);
    QVERIFY2(r.errors == 0, qPrintable(errorsOf(r)));
    // Both messages appear again.
    QCOMPARE(batches, (QList<int>{1, 2}));
    QCOMPARE(schemaSnapshot(db), schemaBefore);
    QCOMPARE(tableRows(db, QStringLiteral("select * from dairysetting")), settingsBefore);
    QCOMPARE(tableRows(db, QStringLiteral("select * from mnuname")), menusBefore);
}

void SchemaTest::progressCountsEveryStatement() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    QList<int> done;
    int total = -1;
    int lastBatch = 0;
    bool batchesInOrder = true;
    const auto r = schema::upgradeDatabase(t.db(), [&](int d, int tot, int batch) {
        done << d;
        total = tot;
        batchesInOrder = batchesInOrder && batch >= lastBatch;
        lastBatch = batch;
    });
    QVERIFY(!done.isEmpty());
    QCOMPARE(done.size(), total);
    QCOMPARE(done.size(), r.statements);
    for (int i = 0; i < done.size(); ++i)
        QCOMPARE(done[i], i + 1);
    QVERIFY(batchesInOrder);
    QCOMPARE(lastBatch, 2);
}

void SchemaTest::settingsRow_data() {
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<QVariant>("storedPath");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<QString>("expectedLanguage");
    const QString folder = QStringLiteral("/srv/dairy data");
    QTest::newRow("empty table") << false << QVariant() << folder << QStringLiteral("1");
    QTest::newRow("row without a path")
        << true << QVariant(QMetaType(QMetaType::QString)) << folder << QStringLiteral("3");
    QTest::newRow("row with an empty path")
        << true << QVariant(QString()) << folder << QStringLiteral("3");
    QTest::newRow("row with a path kept")
        << true << QVariant(QStringLiteral("/media/usb/MilvoraBackup"))
        << QStringLiteral("/media/usb/MilvoraBackup") << QStringLiteral("3");
}

void SchemaTest::settingsRow() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, hasRow);
    QFETCH(QVariant, storedPath);
    QFETCH(QString, expectedPath);
    QFETCH(QString, expectedLanguage);
    TestDatabase t(TestDatabase::Content::Schema);
    Database& db = t.db();
    db.exec(QStringLiteral("delete from dairysetting"));
    if (hasRow)
        db.exec(
            QStringLiteral("insert into dairysetting (Dairylanguage, BackupPath) values (?, ?)"),
            {QStringLiteral("3"), storedPath});
    schema::UpgradeOptions options;
    options.dataFolder = QStringLiteral("/srv/dairy data");
    const auto r = schema::upgradeDatabase(db, options);
    QVERIFY2(r.errors == 0, qPrintable(errorsOf(r)));
    const auto rows = db.query(
        QStringLiteral("select Dairylanguage, BackupPath, f6040_5248, PrintSNF, PrintFAT, "
                       "PrintLacto, PrintRate, PrintBalance, PrintTotalWeight, SnfFormula, "
                       "Partycodeauto, MilkPort, WtPort, bits from dairysetting"));
    QCOMPARE(rows.size(), size_t(1));
    const auto& s = rows.front();
    QCOMPARE(s.text(0), expectedLanguage);
    QCOMPARE(s.text(1), QDir::toNativeSeparators(expectedPath));
    QCOMPARE(s.text(2), hasRow ? QString() : QStringLiteral("60X40"));
    for (int i = 3; i <= 8; ++i)
        QCOMPARE(s.text(i), QStringLiteral("1"));
    QCOMPARE(s.text(9), QStringLiteral("A"));
    QCOMPARE(s.text(10), QStringLiteral("1"));
    QCOMPARE(s.text(11), QStringLiteral("1"));
    QCOMPARE(s.text(12), QStringLiteral("2"));
    QCOMPARE(s.text(13), QStringLiteral("2400"));
}

void SchemaTest::emptyMainItemBecomesN_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("null") << QVariant(QMetaType(QMetaType::QString)) << QStringLiteral("N");
    QTest::newRow("empty") << QVariant(QString()) << QStringLiteral("N");
    QTest::newRow("main item kept") << QVariant(QStringLiteral("Y")) << QStringLiteral("Y");
    QTest::newRow("sub item kept") << QVariant(QStringLiteral("N")) << QStringLiteral("N");
}

void SchemaTest::emptyMainItemBecomesN() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QVariant, stored);
    QFETCH(QString, expected);
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().exec(QStringLiteral("insert into masitem (item_name, MainItem) values (?, ?)"),
                {QStringLiteral("Cattle Feed"), stored});
    schema::upgradeDatabase(t.db());
    QCOMPARE(t.db()
                 .scalar(QStringLiteral("select MainItem from masitem where item_name = ?"),
                         {QStringLiteral("Cattle Feed")})
                 .toString(),
             expected);
}

void SchemaTest::errorLogPruning_data() {
    QTest::addColumn<int>("hoursAgo");
    QTest::addColumn<bool>("kept");
    QTest::newRow("an hour ago") << 1 << true;
    QTest::newRow("earlier today") << 9 << true;
    QTest::newRow("four days ago") << 4 * 24 << true;
    QTest::newRow("six days ago") << 6 * 24 << false;
    QTest::newRow("a year ago") << 365 * 24 << false;
}

void SchemaTest::errorLogPruning() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, hoursAgo);
    QFETCH(bool, kept);
    TestDatabase t(TestDatabase::Content::Schema);
    const QDateTime now(QDate(2024, 4, 15), QTime(10, 0));
    t.db().exec(QStringLiteral("insert into ErrorDesc (FormName, ErrorDescription, ErrorNo, "
                               "ErrorDate) values (?, ?, ?, ?)"),
                {QStringLiteral("Items Sale"), QStringLiteral("Overflow"), QStringLiteral("6"),
                 now.addSecs(-3600LL * hoursAgo)});
    schema::UpgradeOptions options;
    options.now = now;
    schema::upgradeDatabase(t.db(), options);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from ErrorDesc")).toInt(), kept ? 1 : 0);
}

void SchemaTest::autoNumbers_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("textColumn");
    QTest::addColumn<QString>("numberColumn");
    QTest::newRow("itemsale") << "itemsale"
                              << "Party_code"
                              << "Auto_No";
    QTest::newRow("ItemPurchases") << "ItemPurchases"
                                   << "Party_name"
                                   << "Auto_No";
    QTest::newRow("daybook") << "daybook"
                             << "Remark"
                             << "auto_No";
    QTest::newRow("accounthead first") << "accounthead"
                                       << "AccountHead"
                                       << "Auto_no";
    QTest::newRow("accounthead added") << "accounthead"
                                       << "AccountHead"
                                       << "AutoNo";
    QTest::newRow("masitem added") << "masitem"
                                   << "item_name"
                                   << "autono";
    QTest::newRow("MessageLog added") << "MessageLog"
                                      << "Party_Name"
                                      << "RecordID";
    QTest::newRow("REPLED2 added") << "REPLED2"
                                   << "party_name"
                                   << "AutoNo";
    QTest::newRow("mnuname") << "mnuname"
                             << "MenuName"
                             << "autono";
}

void SchemaTest::autoNumbers() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, table);
    QFETCH(QString, textColumn);
    QFETCH(QString, numberColumn);
    TestDatabase t(TestDatabase::Content::Schema);
    Database& db = t.db();
    const QString insert = QStringLiteral("insert into %1 (%2) values (?)").arg(table, textColumn);
    const QString read =
        QStringLiteral("select %1 from %2 where %3 = ?").arg(numberColumn, table, textColumn);
    db.exec(insert, {QStringLiteral("first")});
    const QVariant first = db.scalar(read, {QStringLiteral("first")});
    db.exec(insert, {QStringLiteral("second")});
    const QVariant second = db.scalar(read, {QStringLiteral("second")});
    QVERIFY(!first.isNull());
    QVERIFY(!second.isNull());
    QVERIFY(second.toLongLong() > first.toLongLong());
}

void SchemaTest::menuNames() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    Database& db = t.db();
    const int count = db.scalar(QStringLiteral("select count(*) from mnuname")).toInt();
    QVERIFY(count > 50);
    QCOMPARE(db.scalar(QStringLiteral("select count(distinct MenuName) from mnuname")).toInt(),
             count);
    QCOMPARE(db.scalar(QStringLiteral("select MenuCaption from mnuname where MenuName = ?"),
                       {QStringLiteral("MnuDR")})
                 .toString(),
             QStringLiteral("Update Database"));

    // A duplicated name loses its newest row; the older one, and every other, stays.
    const qint64 older = db.scalar(QStringLiteral("select autono from mnuname where MenuName = ?"),
                                   {QStringLiteral("MnuDR")})
                             .toLongLong();
    db.exec(QStringLiteral("insert into mnuname (MenuName, MnuEnabled, MenuCaption) values (?, ?, "
                           "?)"),
            {QStringLiteral("MnuDR"), QStringLiteral("N"), QStringLiteral("Copy")});
    schema::upgradeDatabase(db);
    const auto rows = db.query(QStringLiteral("select autono, MenuCaption from mnuname where "
                                              "MenuName = ?"),
                               {QStringLiteral("MnuDR")});
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows.front().at(0).toLongLong(), older);
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from mnuname")).toInt(), count);
}

void SchemaTest::apostropheName() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    const QString name = QStringLiteral("D'Souza's Dairy");
    t.db().exec(QStringLiteral("insert into masparty (party_code, Party_name, category) values "
                               "(?, ?, ?)"),
                {QStringLiteral("12"), name, QStringLiteral("MilkMan")});
    const auto r = schema::upgradeDatabase(t.db());
    QVERIFY2(r.errors == 0, qPrintable(errorsOf(r)));
    QCOMPARE(t.db()
                 .scalar(QStringLiteral("select Party_name from masparty where party_code = ?"),
                         {QStringLiteral("12")})
                 .toString(),
             name);
}

void SchemaTest::failingStatementDoesNotStopTheRest() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Empty);
    Database& db = t.db();
    schema::createInitialDatabase(db);
    // An index of another program holds the name the sale table needs, so
    // creating that table fails on both engines.
    db.exec(QStringLiteral("create index itemsale on masparty (party_code)"));
    const auto r = schema::upgradeDatabase(db);
    QVERIFY2(r.errors >= 1, qPrintable(errorsOf(r)));
    for (const QString& e : r.errorTexts)
        QVERIFY2(e.contains(QLatin1String("itemsale"), Qt::CaseInsensitive), qPrintable(e));
    QVERIFY(!db.tableExists(QStringLiteral("itemsale")));
    // Everything after it was done, in the same transaction.
    QVERIFY(db.columnExists(QStringLiteral("dairysetting"), QStringLiteral("StdAddtion")));
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from dairysetting")).toInt(), 1);
    QVERIFY(db.scalar(QStringLiteral("select count(*) from mnuname")).toInt() > 0);
    QVERIFY(db.columnExists(QStringLiteral("milk_col"), QStringLiteral("MainColAutoNo")));
    // Once the name is free, the next run completes the file.
    db.exec(QStringLiteral("drop index itemsale"));
    const auto again = schema::upgradeDatabase(db);
    QVERIFY2(again.errors == 0, qPrintable(errorsOf(again)));
    QVERIFY(db.columnExists(QStringLiteral("itemsale"), QStringLiteral("Doc_No")));
}

void SchemaTest::twoCountersUpgradingTogether() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().exec(QStringLiteral("delete from dairysetting"));
    t.db().exec(QStringLiteral("delete from mnuname"));
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
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from dairysetting")).toInt(), 1);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from mnuname")).toInt(),
             t.db().scalar(QStringLiteral("select count(distinct MenuName) from mnuname")).toInt());
}

void SchemaTest::textColumnsHoldWhatScreensWrite() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    // PostgreSQL refuses a text longer than its column; these are the longest
    // values the screens and reports put there.
    const struct {
        const char* table;
        const char* column;
        int length;
    } cases[] = {
        {"masparty", "Party_name", 50},
        {"MessageLog", "Party_Name", 50},
        {"MasPartyDeleted", "Party_name", 50},
        {"daybook", "AccountHead", 100},
        {"itemsale", "Doc_No", 10},
        {"daybook", "party_code", 10},
        {"masparty", "baldrcr", 3},
        {"accounthead", "AccountHead", 100},
        {"masparty", "CowRateType", 35},
        {"masparty", "BuffaloRateType", 35},
        {"repled2", "party_name", 93},
        {"repled2", "item_name", 100},
        {"dairysetting", "BackupPath", 200},
    };
    QStringList refused;
    for (const auto& c : cases) {
        const QString sql = QStringLiteral("insert into %1 (%2) values (?)")
                                .arg(QLatin1String(c.table), QLatin1String(c.column));
        if (!t.db().tryExec(sql, {QString(c.length, QLatin1Char('x'))}))
            refused << QStringLiteral("%1.%2").arg(QLatin1String(c.table), QLatin1String(c.column));
    }
    QVERIFY2(refused.isEmpty(), qPrintable(refused.join(QStringLiteral(", "))));
}

void SchemaTest::nextBillNumberHasItsIndex() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    const QString sql = t.db().isSqlite()
                            ? QStringLiteral("select count(*) from sqlite_master where type = "
                                             "'index' and name = 'idx_itemsale_valdocno'")
                            : QStringLiteral("select count(*) from pg_indexes where indexname = "
                                             "'idx_itemsale_valdocno'");
    QCOMPARE(t.db().scalar(sql).toInt(), 1);
}

void SchemaTest::existingDatabaseLeftAlone() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().exec(QStringLiteral("update masspass set password = ?"), {QStringLiteral("changed")});
    t.db().exec(QStringLiteral("delete from dairysetting"));
    schema::createNewDatabase(t.db());
    QCOMPARE(t.db().scalar(QStringLiteral("select password from masspass")).toString(),
             QStringLiteral("changed"));
    // No upgrade ran either: the emptied settings table stays empty.
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from dairysetting")).toInt(), 0);
}

void SchemaTest::closedConnectionStillEndsBothBatches() {
    STOKARA_REQUIRE_DATABASE();
    TestDatabase t(TestDatabase::Content::Schema);
    t.db().handle().close();
    // Qt warns once for every statement on the closed connection.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.contains(QLatin1String("database not open")))
                previous(type, context, text);
        });
    const auto restore = qScopeGuard([] { qInstallMessageHandler(previous); });
    QList<int> batches;
    schema::UpgradeOptions options;
    options.batchDone = [&](int b) { batches << b; };
    schema::UpgradeResult r;
    try {
        r = schema::upgradeDatabase(t.db(), options);
    } catch (const std::exception& e) {
        QFAIL(e.what());
    }
    QCOMPARE(batches, (QList<int>{1, 2}));
    QCOMPARE(r.failed, r.statements);
}

QTEST_GUILESS_MAIN(SchemaTest)
#include "test_schema.moc"
