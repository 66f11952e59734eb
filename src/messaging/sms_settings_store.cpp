#include "messaging/sms_settings_store.h"

#include "core/database.h"

#include <stdexcept>

namespace stokara::messaging {

namespace {
// An empty field is stored as '' (not null), as the settings screen always did.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}
} // namespace

void SmsSettingsStore::ensureGatewayColumn() {
    if (!db_.columnExists(QStringLiteral("dairysetting"), QStringLiteral("SmsGateway")))
        db_.tryExec(QStringLiteral("alter table dairysetting add SmsGateway varchar(200)"));
}

SmsSettings SmsSettingsStore::load() {
    ensureGatewayColumn();
    const core::Rows rows = db_.query(
        QStringLiteral("select SmsSenderName, SmsPwd, SmsId, SmsGateway from dairysetting"));
    SmsSettings settings;
    if (rows.empty())
        return settings;
    const core::Row& row = rows.front();
    settings.senderName = row.text(QStringLiteral("SmsSenderName"));
    settings.key = row.text(QStringLiteral("SmsPwd"));
    settings.userId = row.text(QStringLiteral("SmsId"));
    settings.gateway = row.text(QStringLiteral("SmsGateway"));
    return settings;
}

void SmsSettingsStore::save(const SmsSettings& settings) {
    const QString senderName = settings.senderName.trimmed();
    const QString key = settings.key.trimmed();
    const QString userId = settings.userId.trimmed();
    const QString gateway = settings.gateway.trimmed();
    if (senderName.size() > kSmsSenderNameWidth || key.size() > kSmsPwdWidth ||
        userId.size() > kSmsIdWidth || gateway.size() > kSmsGatewayWidth)
        throw std::invalid_argument("An SMS setting is longer than its column.");

    // DDL first: on PostgreSQL a failed statement would spoil the transaction.
    ensureGatewayColumn();
    core::Transaction transaction(db_);
    if (db_.scalar(QStringLiteral("select count(*) from dairysetting")).toInt() == 0)
        db_.exec(QStringLiteral("insert into dairysetting (dairylanguage) values (?)"),
                 {QStringLiteral("1")});
    db_.exec(QStringLiteral("update dairysetting set SmsSenderName = ?, SmsPwd = ?, SmsId = ?, "
                            "SmsGateway = ?"),
             {text(senderName), text(key), text(userId), text(gateway)});
    transaction.commit();
}

QString SmsSettingsStore::loadLanguage() {
    const core::Rows rows = db_.query(QStringLiteral("select Dairylanguage from dairysetting"));
    return rows.empty() ? QString() : rows.front().text(0).trimmed();
}

void SmsSettingsStore::saveLanguage(const QString& number) {
    core::Transaction transaction(db_);
    if (db_.scalar(QStringLiteral("select count(*) from dairysetting")).toInt() == 0)
        db_.exec(QStringLiteral("insert into dairysetting (dairylanguage) values (?)"), {number});
    else
        db_.exec(QStringLiteral("update dairysetting set Dairylanguage = ?"), {number});
    transaction.commit();
}

} // namespace stokara::messaging
