#pragma once

#include "messaging/sms_message.h"

namespace stokara::core {
class Database;
}

namespace stokara::messaging {

// The SMS columns of the settings row (dairysetting). Other columns of the
// row belong to other settings and are never written here.
class SmsSettingsStore {
public:
    explicit SmsSettingsStore(core::Database& db) : db_(db) {}

    // Adds the gateway address column to a database that lacks it.
    void ensureGatewayColumn();
    // The first settings row's values; null and missing give empty texts.
    SmsSettings load();
    // Stores the four values, trimmed (empty stays empty text), creating the
    // settings row when there is none. Over-long values throw
    // std::invalid_argument before anything is written.
    void save(const SmsSettings& settings);
    // The caption language number (Dairylanguage) of the first settings row;
    // empty when there is no row or no value.
    QString loadLanguage();
    // Stores the caption language number, creating the settings row when
    // there is none.
    void saveLanguage(const QString& number);

private:
    core::Database& db_;
};

} // namespace stokara::messaging
