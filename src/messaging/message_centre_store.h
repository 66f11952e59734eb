#pragma once

#include "messaging/message_centre_rules.h"

#include <QDate>
#include <QString>

#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::messaging {

// One logged message of a milk supplier, as the message centre lists it.
struct CentreMessage {
    QDate date;        // Doc_Dt
    QString partyCode; // the log row's party code
    QString partyName; // the log row's party name
    QString message;   // Message then Message1; empty when either is null
    qint64 recordId = 0;
    QString mobile; // the party's ph
};

// The message centre's statements: the out box or the sent messages, a
// message marked sent, messages deleted, and the centre's settings (columns
// of the settings row that nothing else writes).
class MessageCentreStore {
public:
    explicit MessageCentreStore(core::Database& db) : db_(db) {}

    // Status "S" (sent) or "O" (out box), parties of category MilkMan only,
    // in the order logged.
    std::vector<CentreMessage> messages(bool sent);
    // The row as sent, with the gateway's answer; false when it is gone.
    bool markSent(qint64 recordId, const QString& returnText);
    // Deletes the rows in one transaction; returns how many were there.
    int remove(const std::vector<qint64>& recordIds);

    // Adds the settings columns to a database that lacks them.
    void ensureSettingsColumns();
    CentreSettings loadSettings();
    // Trimmed; over-long values throw std::invalid_argument before anything is
    // written. The settings row is made when there is none.
    void saveSettings(const CentreSettings& settings);

private:
    core::Database& db_;
};

} // namespace stokara::messaging
