#include "dialect.h"

#include <QRegularExpression>
#include <QStringList>

namespace stokara::core::dialect {

QString identityType(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                                    : QStringLiteral("SERIAL PRIMARY KEY");
}

QString dateTimeType(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("datetime") : QStringLiteral("timestamp");
}

QString now(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("datetime('now','localtime')")
                                    : QStringLiteral("localtimestamp");
}

QString addDays(Engine engine, const QString& dateExpr) {
    if (engine == Engine::Sqlite)
        return QStringLiteral("date(%1, printf('%+d days', ?))").arg(dateExpr);
    return QStringLiteral("(%1 + (? * interval '1 day'))").arg(dateExpr);
}

QString codeNumber(Engine engine, const QString& column) {
    if (engine == Engine::Sqlite)
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(column);
    return QStringLiteral("val(%1)").arg(column);
}

QString columnType(Engine engine, const QString& declared) {
    const QString t = declared.trimmed();
    static const QRegularExpression counter(
        QStringLiteral("^(counter|identity)\\s*(\\(\\s*1\\s*,\\s*1\\s*\\))?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (counter.match(t).hasMatch())
        return identityType(engine);
    if (t.compare(QLatin1String("datetime"), Qt::CaseInsensitive) == 0)
        return dateTimeType(engine);
    return t;
}

QString inIdList(Engine engine, const QString& column) {
    return engine == Engine::Sqlite
               ? column + QStringLiteral(" in (select value from json_each(?))")
               : column + QStringLiteral(" in (select json_array_elements_text(cast(? as json))"
                                         "::bigint)");
}

QString idList(const QList<qint64>& ids) {
    QStringList numbers;
    numbers.reserve(ids.size());
    for (const qint64 id : ids)
        numbers << QString::number(id);
    return QLatin1Char('[') + numbers.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace stokara::core::dialect
