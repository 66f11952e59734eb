#include "test_session.h"

namespace stokara::test {

TestSession::TestSession(TestDatabase::Content content)
    : database(content), clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0))) {
    session.db = &database.db();
    session.dialogs = &dialogs;
    session.clock = &clock;
    session.dataDir = dataDir.path();
}

} // namespace stokara::test
