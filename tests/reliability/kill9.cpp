// A counter killed at any moment (power cut, task manager) leaves an SQLite file
// that is sound, holds every write it had acknowledged, and no party deletion
// half done. A bill is saved line by line, so only its acknowledged lines are
// promised, each under the bill number it was given.
#include "core/database.h"
#include "masters/party_store.h"
#include "reliability.h"
#include "schema/schema.h"
#include "transactions/day_book_store.h"
#include "transactions/purchase_store.h"
#include "transactions/sale_store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <sqlite3.h>

using namespace stokara;

namespace {

void ack(const QString& what) {
    std::printf("ACK %s\n", qPrintable(what));
    std::fflush(stdout);
}

// Saves until killed: bills of three lines, a purchase, a voucher, and a party
// made with a row in every table its deletion empties, then deleted.
int child(const QString& file, int party) {
    auto db = core::Database::open(QStringLiteral("sqlite:") + file);
    transactions::SaleStore sales(*db);
    transactions::PurchaseStore purchases(*db);
    transactions::DayBookStore dayBook(*db);
    masters::PartyStore parties(*db);
    const QDate day(2026, 4, 1);
    for (;;) {
        transactions::SaleLine line{day, {}, "7", "CF PELLET", "BAG", 2, 450, 900, "MilkMan"};
        line.billNo = sales.nextBillNo();
        for (int i = 0; i < 3; ++i) {
            const auto saved = sales.insertLine(line, i == 0);
            line.billNo = saved.billNo;
            ack(QStringLiteral("sale %1 %2").arg(saved.autoNo).arg(saved.billNo));
        }
        ack(QStringLiteral("purchase %1")
                .arg(purchases.insert({day, "AMUL", "GHEE", 3, "KG", 500, 1500})));
        ack(QStringLiteral("daybook %1")
                .arg(dayBook.insert({day, "RENT", "Dr", 250, "SHOP", "NA", "NA"})));
        const QString code = QStringLiteral("K%1").arg(++party);
        core::Transaction t(*db);
        db->exec(QStringLiteral("insert into masparty (party_code, party_name, category) values "
                                "(?, ?, 'MilkMan')"),
                 {code, code});
        for (const char* table : {"milk_col", "itemsale", "advance", "masrate"})
            db->exec(
                QStringLiteral("insert into %1 (party_code) values (?)").arg(QLatin1String(table)),
                {code});
        t.commit();
        if (parties.deleteParty(code))
            ack(QStringLiteral("gone ") + code);
    }
}

// Rows through the plain library, none of the program's functions registered.
QStringList plainRows(sqlite3* db, const char* sql) {
    QStringList rows;
    char* error = nullptr;
    sqlite3_exec(
        db, sql,
        [](void* out, int n, char** values, char**) {
            QStringList row;
            for (int i = 0; i < n; ++i)
                row << QString::fromUtf8(values[i] ? values[i] : "");
            static_cast<QStringList*>(out)->append(row.join(QLatin1Char(' ')));
            return 0;
        },
        &rows, &error);
    if (error)
        rows << QStringLiteral("error: ") + QString::fromUtf8(error);
    sqlite3_free(error);
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child")) {
        return child(args[2], args[3].toInt()); // a failure throws: its text goes to stderr
    }
    reliability::Tally tally(QStringLiteral("kill9"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dairy.db"));
    schema::createNewDatabase(*core::Database::open(QStringLiteral("sqlite:") + file));

    QSet<QString> acked; // "sale <entry> <bill>", "purchase <entry>", "gone <party>"...
    for (int kill = 0; kill < 100; ++kill) {
        QProcess p;
        // Party codes from K<kill>000 on: no child makes one an earlier child made.
        p.start(app.applicationFilePath(),
                {QStringLiteral("--child"), file, QString::number(kill * 1000)});
        p.waitForStarted();
        QThread::msleep(QRandomGenerator::global()->bounded(20, 301));
        const bool running = p.state() == QProcess::Running;
        p.kill();
        p.waitForFinished();
        tally.attempt(running, QStringLiteral("kill %1: the child had stopped: ").arg(kill) +
                                   QString::fromUtf8(p.readAllStandardError()));
        // Whole lines only: the kill may have cut the last one.
        const QList<QByteArray> out = p.readAllStandardOutput().split('\n');
        for (qsizetype i = 0; i + 1 < out.size(); ++i)
            if (out[i].startsWith("ACK "))
                acked.insert(QString::fromUtf8(out[i].mid(4)));

        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const QStringList verdict = plainRows(db, "PRAGMA integrity_check");
        tally.attempt(verdict == QStringList{QStringLiteral("ok")},
                      QStringLiteral("kill %1: ").arg(kill) + verdict.join(QLatin1Char(';')));
        // What the file holds, in the words of the acknowledgements.
        QSet<QString> held;
        for (const char* sql : {"select 'sale', auto_no, doc_no from itemsale",
                                "select 'purchase', auto_no from ItemPurchases",
                                "select 'daybook', auto_no from DayBook"})
            for (const QString& row : plainRows(db, sql))
                held.insert(row);
        // A party made for deleting has its row and one in each table its
        // deletion empties (1+2+4+8+16), or none of them and the copy kept of
        // deleted parties (32).
        QStringList halfDeleted;
        for (const QString& row : plainRows(
                 db, "select c, sum(w) from (select party_code c, 1 w from masparty union all "
                     "select party_code, 2 from milk_col union all select party_code, 4 from "
                     "itemsale union all select party_code, 8 from advance union all select "
                     "party_code, 16 from masrate union all select party_code, 32 from "
                     "MasPartyDeleted) where c like 'K%' group by c")) {
            if (row.endsWith(QLatin1String(" 32")))
                held.insert(QStringLiteral("gone ") + row.section(QLatin1Char(' '), 0, 0));
            else if (!row.endsWith(QLatin1String(" 31")))
                halfDeleted << row;
        }
        sqlite3_close(db);
        tally.attempt(halfDeleted.isEmpty(), QStringLiteral("kill %1: half deleted: ").arg(kill) +
                                                 halfDeleted.join(QStringLiteral(", ")));
        const QStringList lost = (acked - held).values();
        tally.attempt(lost.isEmpty(), QStringLiteral("kill %1: %2 of %3 acknowledged missing: ")
                                              .arg(kill)
                                              .arg(lost.size())
                                              .arg(acked.size()) +
                                          lost.mid(0, 5).join(QStringLiteral(", ")));
    }
    std::printf("  kill9: %lld writes acknowledged over 100 kills\n",
                static_cast<long long>(acked.size()));
    return tally.finish();
}
