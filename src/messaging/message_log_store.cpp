#include "messaging/message_log_store.h"

#include "core/database.h"
#include "messaging/sms_message.h"
#include "schema/column_widths.h"

namespace stokara::messaging {

QString SmsReceiptStore::partyMobile(const QString& partyCode, const QString& category) {
    const core::Rows rows =
        db_.query(QStringLiteral("select ph from masparty where party_code = ? order by case when "
                                 "category = ? then 0 else 1 end, party_name limit 1"),
                  {partyCode, category});
    return rows.empty() ? QString() : rows.front().text(QStringLiteral("ph"));
}

std::vector<SmsReceiptStore::BillRow> SmsReceiptStore::billRows(const QString& billNo) {
    const core::Rows rows = db_.query(
        QStringLiteral("select doc_dt, doc_no, item_name, qty, rate, net_amt from itemsale "
                       "where doc_no = ? order by auto_no"),
        {billNo});
    std::vector<BillRow> result;
    result.reserve(rows.size());
    for (const core::Row& r : rows)
        result.push_back({r.date(QStringLiteral("doc_dt")), r.text(QStringLiteral("doc_no")),
                          r.text(QStringLiteral("item_name")), r.number(QStringLiteral("qty")),
                          r.number(QStringLiteral("rate")), r.number(QStringLiteral("net_amt"))});
    return result;
}

namespace {
// An empty text is stored as '' and not as null, as the log has always had it.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}
} // namespace

void SmsReceiptStore::addLogEntry(const MessageLogEntry& entry) {
    // As wide as the column keeps it (50, the party master's own width).
    const int width =
        schema::ColumnWidths(db_).width(QStringLiteral("MessageLog"), QStringLiteral("Party_Name"));
    const QString name = width > 0 ? entry.partyName.left(width) : entry.partyName;
    db_.exec(QStringLiteral("insert into messagelog (doc_dt, party_code, party_name, message, "
                            "message1, status, returnmessage) values (?, ?, ?, ?, ?, ?, ?)"),
             {entry.date, text(entry.partyCode.left(10)), text(name),
              text(entry.message.left(kLoggedMessageLength)), text({}), text(entry.status.left(1)),
              text(entry.returnText.left(200))});
}

} // namespace stokara::messaging
