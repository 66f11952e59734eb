// A PostgreSQL server that goes away while the sale is open: the save in
// between is refused with a message the operator sees, nothing is
// half-written, and the next save after the restart works without restarting
// the program.
#include "core/clock.h"
#include "core/database.h"
#include "core/errors.h"
#include "core/session.h"
#include "reliability.h"
#include "schema/schema.h"
#include "support/scripted_dialogs.h"
#include "transactions/sale_controller.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

using namespace stokara;

namespace {

const QString kScratch = QStringLiteral(STOKARA_SOURCE_DIR "/scripts/pg_scratch");

QString scratch(const QString& command, const QString& dir) {
    QProcess p;
    p.start(kScratch, {command, dir});
    p.waitForFinished(120000);
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QString();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    reliability::Tally tally(QStringLiteral("server_loss"));
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                          QFileDevice::ExeGroup);
    const QString cluster = dir.filePath(QStringLiteral("pg"));
    const QString url = scratch(QStringLiteral("start"), cluster);
    if (url.isEmpty()) {
        tally.attempt(false, QStringLiteral("no PostgreSQL server could be started"));
        return tally.finish();
    }
    try {
        core::Database::open(url)->exec(QStringLiteral("create database shop"));
        QString shopUrl = url;
        shopUrl.replace(QStringLiteral("/postgres"), QStringLiteral("/shop"));
        auto db = core::Database::open(shopUrl);
        schema::createNewDatabase(*db);
        db->exec(QStringLiteral("insert into masparty (party_code, party_name, category) values "
                                "('1', 'Ram', 'MilkMan')"));
        test::ScriptedDialogs dialogs;
        core::FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(10, 0)));
        core::Session session;
        session.db = db.get();
        session.dialogs = &dialogs;
        session.clock = &clock;
        transactions::SaleController sale(session, nullptr);
        const transactions::SaleInput line{
            QStringLiteral("05/12/2026"), QStringLiteral("1"),  QStringLiteral("Ram"),
            QStringLiteral("CF PELLET"),  QStringLiteral("Kg"), QStringLiteral("2"),
            QStringLiteral("450"),        QStringLiteral("900")};
        // As the screen saves: a failure is logged, or shown when it cannot be.
        auto save = [&] {
            bool finished = false;
            const bool ok =
                core::guarded(session, core::ErrorKind::Log, QStringLiteral("Item Sale"), [&] {
                    sale.partyEntered();
                    finished = sale.save(line, false).saved ==
                               transactions::SaleController::Saved::BillFinished;
                });
            return ok && finished;
        };
        auto lines = [&] {
            return db->scalar(QStringLiteral("select count(*) from itemsale")).toInt();
        };
        tally.attempt(save() && lines() == 1, QStringLiteral("the first bill was not saved"));
        for (int round = 1; round <= 3; ++round) {
            const QString at = QStringLiteral("round %1: ").arg(round);
            scratch(QStringLiteral("pause"), cluster);
            dialogs.clear();
            const bool savedWhileDown = save();
            const QString told = dialogs.lastText();
            tally.attempt(!savedWhileDown && told.contains(QLatin1String("database server")),
                          at + QStringLiteral("a save with the server down said: ") + told);
            scratch(QStringLiteral("resume"), cluster);
            const bool savedAfter = save();
            tally.attempt(savedAfter, at + QStringLiteral("the save after the restart failed: ") +
                                          dialogs.lastText());
            tally.attempt(lines() == round + 1,
                          at +
                              QStringLiteral("%1 lines instead of %2").arg(lines()).arg(round + 1));
        }
    } catch (const std::exception& e) {
        tally.attempt(false, QString::fromLocal8Bit(e.what()));
    }
    scratch(QStringLiteral("stop"), cluster);
    return tally.finish();
}
