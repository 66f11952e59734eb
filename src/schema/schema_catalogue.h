#pragma once

#include "core/database.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace stokara::schema::detail {

using core::Database;
using core::DbError;
using core::Engine;

// What the database already has, read once per batch so that steps whose work
// is done are skipped without a round trip. Names are kept in lower case: both
// engines treat unquoted names without regard to case.
struct ColumnInfo {
    QString type;       // engine's type name
    int length = -1;    // varchar length, -1 when unbounded or not text
    int precision = -1; // numeric precision, -1 when unconstrained
    int scale = -1;
};

class Catalogue {
public:
    void load(Database& db) {
        tables_.clear();
        indexes_.clear();
        triggers_.clear();
        primaryKeys_.clear();
        try {
            if (db.isSqlite())
                loadSqlite(db);
            else
                loadPostgres(db);
        } catch (const DbError&) {
            // An unreadable catalogue leaves every step to try its statement;
            // each then fails or succeeds on its own.
        }
    }

    bool empty() const { return tables_.isEmpty(); }
    bool hasTable(const QString& t) const { return tables_.contains(t.toLower()); }
    bool hasColumn(const QString& t, const QString& c) const {
        auto it = tables_.constFind(t.toLower());
        return it != tables_.constEnd() && it->contains(c.toLower());
    }
    const ColumnInfo* column(const QString& t, const QString& c) const {
        auto it = tables_.constFind(t.toLower());
        if (it == tables_.constEnd())
            return nullptr;
        auto ct = it->constFind(c.toLower());
        return ct == it->constEnd() ? nullptr : &*ct;
    }
    QStringList columns(const QString& t) const { return tables_.value(t.toLower()).keys(); }
    bool hasIndex(const QString& i) const { return indexes_.contains(i.toLower()); }
    bool hasTrigger(const QString& i) const { return triggers_.contains(i.toLower()); }
    bool hasPrimaryKey(const QString& t) const { return primaryKeys_.contains(t.toLower()); }

    void addTable(const QString& t) { tables_[t.toLower()]; }
    void addColumn(const QString& t, const QString& c, ColumnInfo info = {}) {
        tables_[t.toLower()][c.toLower()] = std::move(info);
    }
    void dropTable(const QString& t) {
        tables_.remove(t.toLower());
        primaryKeys_.remove(t.toLower());
    }
    void addIndex(const QString& i) { indexes_.insert(i.toLower()); }
    void dropIndex(const QString& i) { indexes_.remove(i.toLower()); }
    void addTrigger(const QString& i) { triggers_.insert(i.toLower()); }
    void addPrimaryKey(const QString& t) { primaryKeys_.insert(t.toLower()); }

private:
    void loadSqlite(Database& db) {
        const auto rows = db.query(QStringLiteral(
            "select m.name, p.name, p.type from sqlite_master m join pragma_table_info(m.name) p "
            "where m.type = 'table'"));
        for (const auto& r : rows)
            addColumn(r.text(0), r.text(1), ColumnInfo{r.text(2).toLower()});
        for (const auto& r :
             db.query(QStringLiteral("select type, name from sqlite_master where type in "
                                     "('index', 'trigger')"))) {
            if (r.text(0) == QLatin1String("index"))
                addIndex(r.text(1));
            else
                addTrigger(r.text(1));
        }
    }

    void loadPostgres(Database& db) {
        const auto rows = db.query(
            QStringLiteral("select table_name, column_name, data_type, character_maximum_length, "
                           "numeric_precision, numeric_scale from information_schema.columns "
                           "where table_schema = current_schema()"));
        for (const auto& r : rows) {
            ColumnInfo c;
            c.type = r.text(2);
            c.length = r.at(3).isNull() ? -1 : r.at(3).toInt();
            c.precision = r.at(4).isNull() ? -1 : r.at(4).toInt();
            c.scale = r.at(5).isNull() ? -1 : r.at(5).toInt();
            addColumn(r.text(0), r.text(1), c);
        }
        for (const auto& r : db.query(QStringLiteral(
                 "select indexname from pg_indexes where schemaname = current_schema()")))
            addIndex(r.text(0));
        for (const auto& r : db.query(QStringLiteral(
                 "select table_name from information_schema.table_constraints where "
                 "table_schema = current_schema() and constraint_type = 'PRIMARY KEY'")))
            addPrimaryKey(r.text(0));
    }

    QHash<QString, QHash<QString, ColumnInfo>> tables_;
    QSet<QString> indexes_;
    QSet<QString> triggers_;
    QSet<QString> primaryKeys_;
};

} // namespace stokara::schema::detail
