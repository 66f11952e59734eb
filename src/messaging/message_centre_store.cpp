#include "messaging/message_centre_store.h"

#include "core/database.h"
#include "core/dialect.h"
#include "schema/column_widths.h"

#include <stdexcept>

namespace stokara::messaging {

namespace {

struct SettingColumn {
    const char* name;
    const char* type;
};
// In the order of CentreSettings.
const SettingColumn kSettingColumns[] = {
    {"MsgWebGateway", "varchar(1)"},    {"MsgGatewayFormat", "varchar(1)"},
    {"MsgGatewayHost", "varchar(200)"}, {"MsgGatewayUser", "varchar(50)"},
    {"MsgGatewayPwd", "varchar(50)"},   {"MsgGatewaySender", "varchar(20)"},
    {"MsgGsmModem", "varchar(1)"},      {"MsgModemPort", "varchar(100)"},
};

QString flag(bool on) {
    return on ? QStringLiteral("Y") : QStringLiteral("N");
}

} // namespace

std::vector<CentreMessage> MessageCentreStore::messages(bool sent) {
    const core::Rows rows = db_.query(
        QStringLiteral("select m.doc_dt, m.party_code, m.party_name, m.message, m.message1, "
                       "m.recordid, p.ph from messagelog m, masparty p where m.status = ? and "
                       "m.party_code = p.party_code and p.category = ? order by m.recordid"),
        {sent ? QStringLiteral("S") : QStringLiteral("O"), QStringLiteral("MilkMan")});
    std::vector<CentreMessage> out;
    out.reserve(rows.size());
    for (const core::Row& r : rows) {
        CentreMessage m;
        m.date = r.date(0);
        m.partyCode = r.at(1).toString();
        m.partyName = r.at(2).toString();
        if (!r.at(3).isNull() && !r.at(4).isNull())
            m.message = r.at(3).toString() + r.at(4).toString();
        m.recordId = r.at(5).toLongLong();
        m.mobile = r.at(6).toString();
        out.push_back(std::move(m));
    }
    return out;
}

bool MessageCentreStore::markSent(qint64 recordId, const QString& returnText) {
    return db_.exec(QStringLiteral("update messagelog set status = ?, returnmessage = ? "
                                   "where recordid = ?"),
                    {QStringLiteral("S"), returnText.left(200), recordId}) > 0;
}

int MessageCentreStore::remove(const std::vector<qint64>& recordIds) {
    // One statement for any number of messages, the ids bound as one list.
    return db_.exec(QStringLiteral("delete from messagelog where ") +
                        core::dialect::inIdList(db_.engine(), QStringLiteral("recordid")),
                    {core::dialect::idList(QList<qint64>(recordIds.begin(), recordIds.end()))});
}

void MessageCentreStore::ensureSettingsColumns() {
    for (const SettingColumn& c : kSettingColumns)
        if (!db_.columnExists(QStringLiteral("dairysetting"), QLatin1String(c.name)))
            db_.tryExec(QStringLiteral("alter table dairysetting add %1 %2")
                            .arg(QLatin1String(c.name), QLatin1String(c.type)));
}

CentreSettings MessageCentreStore::loadSettings() {
    ensureSettingsColumns();
    const core::Rows rows = db_.query(
        QStringLiteral("select MsgWebGateway, MsgGatewayFormat, MsgGatewayHost, MsgGatewayUser, "
                       "MsgGatewayPwd, MsgGatewaySender, MsgGsmModem, MsgModemPort "
                       "from dairysetting"));
    CentreSettings s;
    if (rows.empty())
        return s;
    const core::Row& r = rows.front();
    s.webEnabled = r.text(0) == QLatin1String("Y");
    s.format = r.text(1) == QLatin1String("B") ? GatewayFormat::B : GatewayFormat::A;
    s.host = r.text(2);
    s.account = r.text(3);
    s.password = r.text(4);
    s.senderId = r.text(5);
    s.modemEnabled = r.text(6) == QLatin1String("Y");
    s.modemPort = r.text(7);
    return s;
}

void MessageCentreStore::saveSettings(const CentreSettings& settings) {
    const QStringList values = {flag(settings.webEnabled),
                                settings.format == GatewayFormat::B ? QStringLiteral("B")
                                                                    : QStringLiteral("A"),
                                settings.host.trimmed(),
                                settings.account.trimmed(),
                                settings.password.trimmed(),
                                settings.senderId.trimmed(),
                                flag(settings.modemEnabled),
                                settings.modemPort.trimmed()};
    // DDL first: on PostgreSQL a failed statement would spoil the transaction.
    ensureSettingsColumns();
    schema::ColumnWidths widths(db_);
    for (int i = 0; i < values.size(); ++i) {
        const int width =
            widths.width(QStringLiteral("dairysetting"), QLatin1String(kSettingColumns[i].name));
        if (width > 0 && values[i].size() > width)
            throw std::invalid_argument("A message centre setting is longer than its column.");
    }
    core::Transaction transaction(db_);
    if (db_.scalar(QStringLiteral("select count(*) from dairysetting")).toInt() == 0)
        db_.exec(QStringLiteral("insert into dairysetting (dairylanguage) values (?)"),
                 {QStringLiteral("1")});
    QVariantList bound;
    for (const QString& v : values)
        bound << (v.isNull() ? QVariant(QStringLiteral("")) : QVariant(v));
    db_.exec(QStringLiteral("update dairysetting set MsgWebGateway = ?, MsgGatewayFormat = ?, "
                            "MsgGatewayHost = ?, MsgGatewayUser = ?, MsgGatewayPwd = ?, "
                            "MsgGatewaySender = ?, MsgGsmModem = ?, MsgModemPort = ?"),
             bound);
    transaction.commit();
}

} // namespace stokara::messaging
