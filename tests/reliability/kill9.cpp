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
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <sqlite3.h>

using namespace stokara;

namespace {

void ack(const QString& line) {
    std::printf("ACK %s\n", qPrintable(line));
    std::fflush(stdout);
}

// Saves until killed: bills of three lines, a purchase, a voucher, and a party
// made with rows in every table its deletion empties, then deleted.
int child(const QString& file) {
    auto db = core::Database::open(QStringLiteral("sqlite:") + file);
    transactions::SaleStore sales(*db);
    transactions::PurchaseStore purchases(*db);
    transactions::DayBookStore dayBook(*db);
    masters::PartyStore parties(*db);
    const QDate today(2026, 4, 1);
    int party = db->scalar(QStringLiteral("select max(cast(substr(party_code, 2) as integer)) "
                                          "from (select party_code from masparty union all "
                                          "select party_code from MasPartyDeleted) p where "
                                          "party_code like 'K%'"))
                    .toInt();
    for (int round = 0;; ++round) {
        transactions::SaleLine line{today,
                                    sales.nextBillNo(),
                                    QStringLiteral("7"),
                                    QStringLiteral("CF PELLET"),
                                    QStringLiteral("BAG"),
                                    2,
                                    450,
                                    900,
                                    QStringLiteral("MilkMan")};
        for (int i = 0; i < 3; ++i) {
            const auto saved = sales.insertLine(line, i == 0);
            line.billNo = saved.billNo;
            ack(QStringLiteral("sale %1 %2").arg(saved.autoNo).arg(saved.billNo));
        }
        ack(QStringLiteral("purchase %1")
                .arg(purchases.insert({today, QStringLiteral("AMUL"), QStringLiteral("GHEE"), 3,
                                       QStringLiteral("KG"), 500, 1500})));
        ack(QStringLiteral("daybook %1")
                .arg(dayBook.insert({today, QStringLiteral("RENT"), QStringLiteral("Dr"), 250,
                                     QString::number(round), QStringLiteral("NA"),
                                     QStringLiteral("NA")})));
        const QString code = QStringLiteral("K%1").arg(++party);
        {
            core::Transaction t(*db);
            db->exec(QStringLiteral("insert into masparty (party_code, party_name, category) "
                                    "values (?, ?, 'MilkMan')"),
                     {code, QStringLiteral("KILL ") + code});
            for (const char* table : {"milk_col", "itemsale", "advance", "masrate"})
                db->exec(QStringLiteral("insert into %1 (party_code) values (?)")
                             .arg(QLatin1String(table)),
                         {code});
            t.commit();
        }
        if (parties.deleteParty(code))
            ack(QStringLiteral("gone ") + code);
    }
}

// The rows of a statement through the plain library, none of the program's
// functions registered; each row as text, "\x1f" between columns.
QStringList plainRows(sqlite3* db, const char* sql, QString* why) {
    QStringList rows;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        *why = QString::fromUtf8(sqlite3_errmsg(db));
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList cols;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            cols << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        rows << cols.join(QChar(0x1f));
    }
    if (rc != SQLITE_DONE)
        *why = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--child")) {
        try {
            return child(args[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 2;
        }
    }
    reliability::Tally tally(QStringLiteral("kill9"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dairy.db"));
    schema::createNewDatabase(*core::Database::open(QStringLiteral("sqlite:") + file));

    QHash<QString, QString> acked; // "sale 12" -> bill "4"; "purchase 3", "gone K2" -> ""
    for (int kill = 0; kill < 100; ++kill) {
        QProcess p;
        p.start(app.applicationFilePath(), {QStringLiteral("--child"), file});
        p.waitForStarted();
        QThread::msleep(QRandomGenerator::global()->bounded(20, 301));
        const bool running = p.state() == QProcess::Running;
        p.kill();
        p.waitForFinished();
        tally.attempt(running, QStringLiteral("kill %1: the child had stopped by itself: %2")
                                   .arg(kill)
                                   .arg(QString::fromUtf8(p.readAllStandardError())));
        // Only whole lines: the last one may have been cut by the kill.
        const QList<QByteArray> out = p.readAllStandardOutput().split('\n');
        for (qsizetype i = 0; i + 1 < out.size(); ++i) {
            const QStringList w = QString::fromUtf8(out[i]).split(QLatin1Char(' '));
            if (w.size() >= 3 && w[0] == QLatin1String("ACK"))
                acked.insert(w[1] + QLatin1Char(' ') + w[2], w.value(3));
        }

        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        QString why;
        const QStringList verdict = plainRows(db, "PRAGMA integrity_check", &why);
        tally.attempt(verdict == QStringList{QStringLiteral("ok")},
                      QStringLiteral("kill %1: integrity_check %2 %3")
                          .arg(kill)
                          .arg(verdict.join(QLatin1Char(';')), why));
        // What the file holds, in the words of the acknowledgements.
        QHash<QString, QString> held;
        for (const QString& r : plainRows(db, "select auto_no, doc_no from itemsale", &why))
            held.insert(QStringLiteral("sale ") + r.section(QChar(0x1f), 0, 0),
                        r.section(QChar(0x1f), 1));
        for (const QString& r : plainRows(db, "select auto_no from ItemPurchases", &why))
            held.insert(QStringLiteral("purchase ") + r, {});
        for (const QString& r : plainRows(db, "select auto_no from DayBook", &why))
            held.insert(QStringLiteral("daybook ") + r, {});
        // Per party made for deleting: its row and one in each other table, and
        // the copy of a deleted one. "1 1 1 1 1 0" or "0 0 0 0 0 1", nothing else.
        const QStringList partyState = plainRows(
            db,
            "select k.c, (select count(*) from masparty where party_code = k.c) || ' ' || "
            "(select count(*) from milk_col where party_code = k.c) || ' ' || "
            "(select count(*) from itemsale where party_code = k.c) || ' ' || "
            "(select count(*) from advance where party_code = k.c) || ' ' || "
            "(select count(*) from masrate where party_code = k.c) || ' ' || "
            "(select count(*) from MasPartyDeleted where party_code = k.c) from "
            "(select party_code c from masparty union select party_code from MasPartyDeleted "
            "union select party_code from itemsale union select party_code from milk_col) k "
            "where k.c like 'K%'",
            &why);
        sqlite3_close(db);
        QStringList halfDeleted;
        for (const QString& r : partyState) {
            const QString code = r.section(QChar(0x1f), 0, 0), counts = r.section(QChar(0x1f), 1);
            if (counts == QLatin1String("0 0 0 0 0 1"))
                held.insert(QStringLiteral("gone ") + code, {});
            else if (counts != QLatin1String("1 1 1 1 1 0"))
                halfDeleted << code + QStringLiteral(" (") + counts + QLatin1Char(')');
        }
        tally.attempt(halfDeleted.isEmpty(), QStringLiteral("kill %1: parties half deleted: %2")
                                                 .arg(kill)
                                                 .arg(halfDeleted.join(QStringLiteral(", "))));
        QStringList lost;
        for (auto a = acked.cbegin(); a != acked.cend(); ++a)
            if (!held.contains(a.key()) || held.value(a.key()) != a.value())
                lost << a.key() + QLatin1Char(' ') + a.value();
        tally.attempt(why.isEmpty() && lost.isEmpty(),
                      QStringLiteral("kill %1 (%2 acknowledged): %3 missing or moved: %4")
                          .arg(kill)
                          .arg(acked.size())
                          .arg(lost.size())
                          .arg(why + lost.mid(0, 5).join(QStringLiteral(", "))));
    }
    std::printf("  kill9: %lld writes acknowledged over 100 kills\n",
                static_cast<long long>(acked.size()));
    return tally.finish();
}
