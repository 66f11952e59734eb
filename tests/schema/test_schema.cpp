#include "schema/schema.h"
#include "support/test_database.h"

#include <QtTest>

using namespace stokara;

class SchemaTest : public QObject {
    Q_OBJECT
private slots:
    void freshUpgradeHasNoEngineErrors();
};

void SchemaTest::freshUpgradeHasNoEngineErrors() {
    STOKARA_REQUIRE_DATABASE();
    test::TestDatabase t(test::TestDatabase::Content::Empty);
    schema::createInitialDatabase(t.db());
    QElapsedTimer timer;
    timer.start();
    const auto r = schema::upgradeDatabase(t.db());
    qDebug() << "fresh upgrade" << timer.elapsed() << "ms" << r.statements << r.failed;
    QVERIFY2(r.errors == 0, qPrintable(r.errorTexts.join(QLatin1Char('\n'))));
    timer.restart();
    const auto r2 = schema::upgradeDatabase(t.db());
    qDebug() << "second upgrade" << timer.elapsed() << "ms" << r2.statements << r2.failed;
    QVERIFY2(r2.errors == 0, qPrintable(r2.errorTexts.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(SchemaTest)
#include "test_schema.moc"
