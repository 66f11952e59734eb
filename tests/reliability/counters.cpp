// Four counters saving bills at the same moment on one database never give two
// bills the same number, never lose an acknowledged line, and all get through.
#include "core/database.h"
#include "reliability.h"
#include "support/test_database.h"
#include "transactions/sale_store.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QSet>

using namespace stokara;

namespace {

constexpr int kCounters = 4, kBills = 250;

// One counter: each bill is a party of its own, of one or two lines, its
// number claimed as the sale screen claims it.
int counter(const QString& n, const QString& url) {
    auto db = core::Database::open(url);
    transactions::SaleStore sales(*db);
    for (int bill = 0; bill < kBills; ++bill) {
        transactions::SaleLine line{QDate(2026, 4, 1), {}, {}, "CF PELLET", "BAG", 1, 450, 450,
                                    "MilkMan"};
        line.partyCode = QStringLiteral("C%1-%2").arg(n).arg(bill);
        line.billNo = sales.nextBillNo();
        for (int i = 0; i <= bill % 2; ++i) {
            const auto saved = sales.insertLine(line, i == 0);
            line.billNo = saved.billNo;
            std::printf("ACK %lld %s %s\n", saved.autoNo, qPrintable(line.partyCode),
                        qPrintable(saved.billNo));
            std::fflush(stdout);
        }
    }
    return 0;
}

void runCounters(const QString& what, const QString& url, reliability::Tally& tally) {
    QProcess p[kCounters];
    for (int n = 0; n < kCounters; ++n)
        p[n].start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--counter"), QString::number(n), url});
    QSet<QString> acked; // "<entry> <party> <bill>"
    for (QProcess& c : p) {
        const bool done = c.waitForFinished(80000) && c.exitStatus() == QProcess::NormalExit;
        if (!done)
            c.kill();
        tally.attempt(done && c.exitCode() == 0, what + QStringLiteral(": a counter failed: ") +
                                                     QString::fromUtf8(c.readAllStandardError()));
        for (const QByteArray& l : c.readAllStandardOutput().split('\n'))
            if (l.startsWith("ACK "))
                acked.insert(QString::fromUtf8(l.mid(4)));
        c.waitForFinished();
    }
    tally.attempt(acked.size() == kCounters * (kBills + kBills / 2),
                  what + QStringLiteral(": %1 lines acknowledged").arg(acked.size()));
    QSet<QString> held;
    QHash<QString, QSet<QString>> partiesOfBill, billsOfParty;
    for (const core::Row& r : core::Database::open(url)->query(QStringLiteral(
             "select auto_no, party_code, doc_no from itemsale where party_code like 'C%'"))) {
        held.insert(r.text(0) + QLatin1Char(' ') + r.text(1) + QLatin1Char(' ') + r.text(2));
        partiesOfBill[r.text(2)].insert(r.text(1));
        billsOfParty[r.text(1)].insert(r.text(2));
    }
    for (const QString& line : acked)
        tally.attempt(held.contains(line), what + QStringLiteral(": lost or moved: ") + line);
    // One party per bill number, and one bill number for all of a party's lines.
    for (const auto* map : {&partiesOfBill, &billsOfParty})
        for (auto b = map->cbegin(); b != map->cend(); ++b)
            tally.attempt(b->size() == 1,
                          what + QStringLiteral(": %1 goes with %2")
                                     .arg(b.key(), b->values().join(QLatin1Char(','))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--counter")) {
        return counter(args[2], args[3]); // a failure throws: its text goes to stderr
    }
    reliability::Tally tally(QStringLiteral("counters"));
    QStringList engines{QStringLiteral("sqlite")};
    if (qEnvironmentVariableIsEmpty("STOKARA_TEST_PG"))
        std::printf("  counters: STOKARA_TEST_PG not set, SQLite only\n");
    else
        engines << QStringLiteral("postgres");
    for (const QString& engine : engines) {
        qputenv("STOKARA_TEST_ENGINE", engine.toLatin1());
        try {
            test::TestDatabase scratch;
            runCounters(engine, scratch.url().toString(), tally);
        } catch (const core::DbError& e) {
            tally.attempt(false, engine + QStringLiteral(": ") + e.description());
        }
    }
    return tally.finish();
}
