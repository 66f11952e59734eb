// Four counters saving bills at the same moment on one database never give two
// bills the same number, never lose an acknowledged line, and all get through.
#include "core/database.h"
#include "reliability.h"
#include "schema/schema.h"
#include "transactions/sale_store.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

using namespace stokara;

namespace {

constexpr int kCounters = 4;
constexpr int kBills = 250;

// One counter: each bill is a party of its own, of one or two lines, its
// number claimed as the sale screen claims it.
int counter(int n, const QString& url) {
    auto db = core::Database::open(url);
    transactions::SaleStore sales(*db);
    for (int bill = 0; bill < kBills; ++bill) {
        transactions::SaleLine line{QDate(2026, 4, 1),
                                    sales.nextBillNo(),
                                    QStringLiteral("C%1-%2").arg(n).arg(bill),
                                    QStringLiteral("CF PELLET"),
                                    QStringLiteral("BAG"),
                                    1,
                                    450,
                                    450,
                                    QStringLiteral("MilkMan")};
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
    QHash<QString, QString> acked; // entry number -> "party bill"
    for (int n = 0; n < kCounters; ++n) {
        const bool done = p[n].waitForFinished(80000) && p[n].exitStatus() == QProcess::NormalExit;
        tally.attempt(done && p[n].exitCode() == 0,
                      QStringLiteral("%1: counter %2 did not finish: %3")
                          .arg(what)
                          .arg(n)
                          .arg(QString::fromUtf8(p[n].readAllStandardError())));
        if (!done)
            p[n].kill();
        for (const QByteArray& l : p[n].readAllStandardOutput().split('\n'))
            if (l.startsWith("ACK "))
                acked.insert(QString::fromUtf8(l).section(QLatin1Char(' '), 1, 1),
                             QString::fromUtf8(l).section(QLatin1Char(' '), 2));
        p[n].waitForFinished();
    }
    auto db = core::Database::open(url);
    QHash<QString, QString> held;      // entry number -> "party bill"
    QHash<QString, QStringList> bills; // bill number -> parties
    QHash<QString, QStringList> billsOfParty;
    for (const core::Row& r :
         db->query(QStringLiteral("select auto_no, party_code, doc_no from itemsale where "
                                  "party_code like 'C%'"))) {
        const QString party = r.text(1), bill = r.text(2);
        held.insert(r.text(0), party + QLatin1Char(' ') + bill);
        if (!bills[bill].contains(party))
            bills[bill] << party;
        if (!billsOfParty[party].contains(bill))
            billsOfParty[party] << bill;
    }
    tally.attempt(acked.size() == kCounters * (kBills + kBills / 2),
                  QStringLiteral("%1: %2 lines acknowledged").arg(what).arg(acked.size()));
    for (auto a = acked.cbegin(); a != acked.cend(); ++a)
        tally.attempt(held.value(a.key()) == a.value(),
                      QStringLiteral("%1: entry %2 (%3) lost or moved: %4")
                          .arg(what, a.key(), a.value(), held.value(a.key())));
    for (auto b = bills.cbegin(); b != bills.cend(); ++b)
        tally.attempt(b->size() == 1, QStringLiteral("%1: bill %2 shared by %3")
                                          .arg(what, b.key(), b->join(QLatin1Char(','))));
    for (auto b = billsOfParty.cbegin(); b != billsOfParty.cend(); ++b)
        tally.attempt(b->size() == 1, QStringLiteral("%1: the lines of %2 under bills %3")
                                          .arg(what, b.key(), b->join(QLatin1Char(','))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--counter")) {
        try {
            return counter(args[2].toInt(), args[3]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 2;
        }
    }
    reliability::Tally tally(QStringLiteral("counters"));
    QTemporaryDir dir;
    const QString file = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("dairy.db"));
    schema::createNewDatabase(*core::Database::open(file));
    runCounters(QStringLiteral("SQLite"), file, tally);

    const QString server = qEnvironmentVariable("STOKARA_TEST_PG");
    if (server.isEmpty()) {
        std::printf("  counters: STOKARA_TEST_PG not set, SQLite only\n");
        return tally.finish();
    }
    const QString name = QStringLiteral("stokara_counters_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    auto admin = core::Database::open(server);
    admin->exec(QStringLiteral("CREATE DATABASE ") + name);
    QUrl url(server);
    url.setPath(QLatin1Char('/') + name);
    try {
        schema::createNewDatabase(*core::Database::open(url.toString()));
        runCounters(QStringLiteral("PostgreSQL"), url.toString(), tally);
    } catch (const core::DbError& e) {
        tally.attempt(false, QStringLiteral("PostgreSQL: ") + e.description());
    }
    admin->tryExec(QStringLiteral("DROP DATABASE IF EXISTS ") + name +
                   QStringLiteral(" WITH (FORCE)"));
    return tally.finish();
}
