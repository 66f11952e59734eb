#pragma once

#include "core/clock.h"
#include "core/session.h"
#include "scripted_dialogs.h"
#include "test_database.h"

#include <QTemporaryDir>

namespace stokara::test {

// A logged-in session on a fresh database, with scripted dialogs and a clock
// fixed at 10:00 on 15/04/2024 unless a test moves it.
struct TestSession {
    explicit TestSession(TestDatabase::Content content = TestDatabase::Content::Schema);

    TestDatabase database;
    ScriptedDialogs dialogs;
    core::FixedClock clock;
    QTemporaryDir dataDir;
    core::Session session;

    core::Database& db() { return database.db(); }
};

} // namespace stokara::test
