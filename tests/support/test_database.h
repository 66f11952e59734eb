#pragma once

#include "core/database.h"

#include <QString>

#include <memory>

namespace stokara::test {

// Which engine this test run uses: STOKARA_TEST_ENGINE is "sqlite" (default)
// or "postgres"; the PostgreSQL server is named by STOKARA_TEST_PG
// (postgresql://user@host:port/postgres).
core::Engine testEngine();
// Empty when the engine can be used; otherwise why not (for QSKIP).
QString databaseUnavailableReason();

// A scratch database that is removed when this object goes. SQLite: a file in
// a temporary folder. PostgreSQL: a database of its own on the test server.
class TestDatabase {
public:
    enum class Content { Empty, Schema };
    explicit TestDatabase(Content content = Content::Schema);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    core::Database& db() { return *db_; }
    const core::DatabaseUrl& url() const { return url_; }
    // A second connection to the same database (another counter).
    std::unique_ptr<core::Database> openAnother() const;

private:
    core::DatabaseUrl url_;
    std::unique_ptr<core::Database> db_;
    QString scratchName_; // postgres database or sqlite folder to remove
    bool pooled_ = false;
};

} // namespace stokara::test

// Skips the current test function when its engine cannot be reached.
#define STOKARA_REQUIRE_DATABASE()                                                                 \
    do {                                                                                           \
        const QString why = stokara::test::databaseUnavailableReason();                            \
        if (!why.isEmpty())                                                                        \
            QSKIP(qPrintable(why));                                                                \
    } while (0)
