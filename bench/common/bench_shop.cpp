#include "bench_shop.h"

#include "schema/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace stokara::bench {

void printFigure(const QString& name, double value, const QString& unit) {
    std::printf("BENCH %s %.6g %s\n", qPrintable(name), value, qPrintable(unit));
    std::fflush(stdout);
}

core::Session benchSession(core::Database& db, core::Dialogs& dialogs, core::Clock& clock,
                           const QString& dataDir) {
    core::Session session;
    session.db = &db;
    session.dialogs = &dialogs;
    session.clock = &clock;
    session.dataDir = dataDir;
    return session;
}

qint64 sizeArgument(int argc, char** argv, qint64 fallback) {
    if (argc < 2)
        return fallback;
    bool ok = false;
    const qint64 size = QByteArray(argv[1]).toLongLong(&ok);
    if (!ok || size <= 0) {
        std::fprintf(stderr, "usage: %s [size]\n", argv[0]);
        std::exit(2);
    }
    return size;
}

QString sizeName(qint64 count) {
    if (count % 1000000 == 0)
        return QString::number(count / 1000000) + QStringLiteral("m");
    if (count % 1000 == 0)
        return QString::number(count / 1000) + QStringLiteral("k");
    return QString::number(count);
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

GeneratedShop generateSqliteShop(const QString& folder, const QString& name,
                                 const demo::GenerateOptions& options) {
    return generateShop(core::Database::open(QStringLiteral("sqlite:") +
                                             QDir(folder).filePath(name + QStringLiteral(".db"))),
                        name, options);
}

GeneratedShop generateShop(std::unique_ptr<core::Database> db, const QString& name,
                           const demo::GenerateOptions& options) {
    GeneratedShop shop;
    shop.db = std::move(db);
    schema::createNewDatabase(*shop.db);
    QElapsedTimer timer;
    timer.start();
    shop.result = demo::generateShop(*shop.db, options);
    shop.seconds = timer.nsecsElapsed() / 1e9;
    printFigure(name + QStringLiteral(".generate_seconds"), shop.seconds, QStringLiteral("s"));
    return shop;
}

} // namespace stokara::bench
