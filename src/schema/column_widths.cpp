#include "column_widths.h"

#include "core/database.h"
#include "upgrade_steps.h"

#include <QRegularExpression>

namespace stokara::schema {

int ColumnWidths::width(const QString& table, const QString& column) {
    const QString key = table.toLower() + QLatin1Char('.') + column.toLower();
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd())
        return it.value();
    int result = 0;
    static const QRegularExpression re(QStringLiteral("char\\s*\\(\\s*(\\d+)\\s*\\)"),
                                       QRegularExpression::CaseInsensitiveOption);
    if (db_.isSqlite()) {
        // SQLite keeps the type a column was created with; the upgrade's widenings
        // only change PostgreSQL, so the widened width is the one that counts.
        QString type;
        for (const schema::Step& step : schema::firstBatch()) {
            if (step.kind == schema::StepKind::Widen &&
                table.compare(QLatin1String(step.table), Qt::CaseInsensitive) == 0 &&
                column.compare(QLatin1String(step.name), Qt::CaseInsensitive) == 0)
                type = QString::fromLatin1(step.text);
        }
        if (type.isEmpty())
            type = db_.scalar(QStringLiteral("select type from pragma_table_info(?) where "
                                             "lower(name) = lower(?)"),
                              {table, column})
                       .toString();
        const auto m = re.match(type);
        if (m.hasMatch())
            result = m.captured(1).toInt();
    } else {
        const QVariant n = db_.scalar(
            QStringLiteral("select character_maximum_length from information_schema.columns "
                           "where table_schema = current_schema() and table_name = lower(?) "
                           "and column_name = lower(?)"),
            {table, column});
        if (!n.isNull())
            result = n.toInt();
    }
    cache_.insert(key, result);
    return result;
}

int ColumnWidths::limit(std::initializer_list<std::pair<const char*, const char*>> columns) {
    int result = 0;
    for (const auto& [table, column] : columns) {
        const int w = width(QString::fromLatin1(table), QString::fromLatin1(column));
        if (w > 0 && (result == 0 || w < result))
            result = w;
    }
    return result;
}

} // namespace stokara::schema
