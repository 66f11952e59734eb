#include "schema.h"

#include "core/database.h"
#include "core/dialect.h"
#include "schema_catalogue.h"
#include "upgrade_steps.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <optional>

namespace stokara::schema {

using core::Database;
using core::DbError;
using core::Engine;
using core::Transaction;

namespace {

using detail::Catalogue;
using detail::ColumnInfo;

// An auto-numbered column of the old schema: "counter(1,1)", "identity(1,1)",
// "counter (1,1)", "numeric(9) identity".
bool isIdentity(const QString& declared) {
    static const QRegularExpression re(
        QStringLiteral("^((counter|identity)\\s*(\\(\\s*\\d+\\s*,\\s*\\d+\\s*\\))?|"
                       "numeric\\s*\\(\\s*\\d+\\s*\\)\\s+identity)$"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(declared.trimmed()).hasMatch();
}

// A declared type (with an optional default) in the engine's words; identity
// columns are handled by the callers.
QString plainType(Engine engine, const QString& declared) {
    static const QRegularExpression datetime(QStringLiteral("^datetime\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString t = declared.trimmed();
    auto m = datetime.match(t);
    if (m.hasMatch())
        t = core::dialect::dateTimeType(engine) + t.mid(m.capturedLength());
    return t;
}

struct ColumnDecl {
    QString name;
    QString type;
};

// "a varchar(10), b numeric(9,2) default 0" -> its columns; commas inside
// parentheses belong to the type.
QList<ColumnDecl> parseColumns(const QString& text) {
    QList<ColumnDecl> out;
    int depth = 0;
    QString part;
    auto flush = [&] {
        const QString p = part.trimmed();
        part.clear();
        if (p.isEmpty())
            return;
        const int space = p.indexOf(QRegularExpression(QStringLiteral("\\s")));
        out.append({p.left(space), p.mid(space + 1).trimmed()});
    };
    for (QChar ch : text) {
        if (ch == QLatin1Char('('))
            ++depth;
        else if (ch == QLatin1Char(')'))
            --depth;
        if (ch == QLatin1Char(',') && depth == 0)
            flush();
        else
            part += ch;
    }
    flush();
    return out;
}

// On SQLite a table has at most one AUTOINCREMENT key and ALTER TABLE cannot add
// one, so any further auto-numbered column is a plain INTEGER that a trigger
// fills with the new row's rowid (unique, ascending while the newest row is kept).
QString numberingTrigger(const QString& table, const QString& column) {
    return QStringLiteral("trg_%1_%2").arg(table.toLower(), column.toLower());
}

QStringList numberingTriggerSql(const QString& table, const QString& column) {
    const QString trigger = numberingTrigger(table, column);
    return {QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER INSERT ON %2 FOR EACH ROW "
                           "WHEN new.%3 IS NULL BEGIN UPDATE %2 SET %3 = new.rowid "
                           "WHERE rowid = new.rowid; END")
                .arg(trigger, table, column)};
}

bool widthReached(const ColumnInfo& c, const QString& declared) {
    static const QRegularExpression varchar(QStringLiteral("^varchar\\s*\\(\\s*(\\d+)\\s*\\)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression numeric(
        QStringLiteral("^numeric\\s*\\(\\s*(\\d+)\\s*(,\\s*(\\d+)\\s*)?\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (auto m = varchar.match(declared.trimmed()); m.hasMatch()) {
        if (c.type != QLatin1String("character varying") && c.type != QLatin1String("text"))
            return false;
        return c.length < 0 || c.length >= m.captured(1).toInt();
    }
    if (auto m = numeric.match(declared.trimmed()); m.hasMatch()) {
        const int scale = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        return c.type == QLatin1String("numeric") && c.precision == m.captured(1).toInt() &&
               c.scale == scale;
    }
    return false;
}

QString defaultDataFolder(const Database& db) {
    if (db.isSqlite() && !db.url().path.isEmpty() && db.url().path != QLatin1String(":memory:"))
        return QFileInfo(db.url().path).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// Advisory lock key of the upgrade ("StkUpg").
constexpr qint64 kUpgradeLockKey = 0x53746b557067;

class Runner {
public:
    Runner(Database& db, const UpgradeOptions& options, const UpgradeProgress& progress,
           UpgradeResult& result)
        : db_(db), engine_(db.engine()), progress_(progress), result_(result) {
        dataFolder_ = options.dataFolder.isEmpty() ? defaultDataFolder(db) : options.dataFolder;
        now_ = options.now.isValid() ? options.now : QDateTime::currentDateTime();
        total_ = static_cast<int>(2 * firstBatch().size() + secondBatchExtras().size());
    }

    void runBatch(int batch) {
        // One transaction per batch: hundreds of small schema changes commit once
        // instead of each paying for its own write to disk. Each step is fenced
        // by a savepoint, so a failing one leaves the rest untouched. The
        // transaction is exclusive, so two counters choosing "Update Database"
        // together run one after the other (and insert one settings row, not two);
        // the catalogue is read once the lock is held.
        // Without the lock two counters could upgrade over each other: a lock
        // that cannot be had stops the upgrade (the caller reports the DbError).
        Transaction tx(db_, kUpgradeLockKey);
        // A large shop's index builds may take longer than a counter's usual
        // statement limit; the limit comes back with the transaction's end.
        if (engine_ == core::Engine::Postgres)
            db_.exec(QStringLiteral("SET LOCAL statement_timeout = 0"));
        catalogue_.load(db_);
        auto runAll = [&](std::span<const Step> steps) {
            for (const Step& s : steps) {
                run(s);
                ++done_;
                if (progress_)
                    progress_(done_, total_, batch);
            }
        };
        runAll(firstBatch());
        if (batch == 2)
            runAll(secondBatchExtras());
        tx.commit();
    }

private:
    // A step found done (or impossible) before running anything.
    void skip() {
        ++result_.statements;
        ++result_.failed;
    }

    void noteError(const QString& sql, const DbError& e) {
        ++result_.errors;
        result_.errorTexts << sql + QStringLiteral(": ") + e.description();
    }

    // Runs the statements of one step in a savepoint; false when the engine refused.
    bool execute(const QStringList& statements, const QVariantList& values = {}) {
        ++result_.statements;
        QString current;
        try {
            Transaction t(db_);
            for (const QString& sql : statements) {
                current = sql;
                db_.exec(sql, values);
            }
            t.commit();
            return true;
        } catch (const DbError& e) {
            ++result_.failed;
            noteError(current, e);
            return false;
        }
    }

    void run(const Step& s) {
        const QString table = QString::fromLatin1(s.table);
        const QString name = s.name ? QString::fromLatin1(s.name) : QString();
        const QString text = s.value == StepValue::RateChartColumns
                                 ? QString::fromLatin1(rateChartColumns())
                                 : (s.text ? QString::fromLatin1(s.text) : QString());
        switch (s.kind) {
        case StepKind::Table:
            return createTable(table, text);
        case StepKind::Column:
            return addColumn(table, name, text);
        case StepKind::Widen:
            return widen(table, name, text);
        case StepKind::Index:
            return createIndex(table, name, text);
        case StepKind::UniqueIndex:
            return createUniqueIndex(table, name, text);
        case StepKind::PrimaryKey:
            return primaryKey(table, name, text);
        case StepKind::DropTable:
            if (!catalogue_.hasTable(table))
                return skip();
            if (execute({QStringLiteral("DROP TABLE ") + table}))
                catalogue_.dropTable(table);
            return;
        case StepKind::DropIndex:
            if (!catalogue_.hasIndex(name))
                return skip();
            if (execute({QStringLiteral("DROP INDEX ") + name}))
                catalogue_.dropIndex(name);
            return;
        case StepKind::Sql:
            return sql(table, name, text, s.value);
        case StepKind::MenuNames:
            return menuNames(table);
        }
    }

    void createTable(const QString& table, const QString& text) {
        if (catalogue_.hasTable(table))
            return skip();
        const QList<ColumnDecl> cols = parseColumns(text);
        QStringList defs;
        QStringList extra;
        QStringList triggers;
        bool keyTaken = false;
        for (const ColumnDecl& c : cols) {
            QString type;
            if (isIdentity(c.type)) {
                if (!keyTaken) {
                    type = core::dialect::identityType(engine_);
                    keyTaken = true;
                } else if (engine_ == Engine::Sqlite) {
                    type = QStringLiteral("INTEGER");
                    extra << numberingTriggerSql(table, c.name);
                    triggers << numberingTrigger(table, c.name);
                } else {
                    type = QStringLiteral("SERIAL");
                }
            } else {
                type = plainType(engine_, c.type);
            }
            defs << c.name + QLatin1Char(' ') + type;
        }
        QStringList statements{
            QStringLiteral("CREATE TABLE %1 (%2)").arg(table, defs.join(QStringLiteral(", ")))};
        statements << extra;
        if (!execute(statements))
            return;
        catalogue_.addTable(table);
        for (const ColumnDecl& c : cols)
            catalogue_.addColumn(table, c.name);
        for (const QString& trigger : triggers)
            catalogue_.addTrigger(trigger);
        if (keyTaken)
            catalogue_.addPrimaryKey(table);
    }

    void addColumn(const QString& table, const QString& column, const QString& declared) {
        if (!catalogue_.hasTable(table))
            return skip();
        const bool identity = isIdentity(declared);
        if (catalogue_.hasColumn(table, column)) {
            if (identity && engine_ == Engine::Sqlite &&
                !catalogue_.hasTrigger(numberingTrigger(table, column)) &&
                isPlainIntegerColumn(table, column)) {
                // Column added by an interrupted older run: give it its numbering.
                if (execute(numberingTriggerSql(table, column)))
                    catalogue_.addTrigger(numberingTrigger(table, column));
                return;
            }
            return skip();
        }
        QStringList statements;
        if (identity && engine_ == Engine::Sqlite) {
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 INTEGER").arg(table, column)
                       // Names from the step list, never typed text.
                       << QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + column +
                              QStringLiteral(" = rowid")
                       << numberingTriggerSql(table, column);
        } else if (identity) {
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 SERIAL").arg(table, column);
        } else {
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                              .arg(table, column, plainType(engine_, declared));
        }
        if (!execute(statements))
            return;
        catalogue_.addColumn(table, column);
        if (identity && engine_ == Engine::Sqlite)
            catalogue_.addTrigger(numberingTrigger(table, column));
    }

    bool isPlainIntegerColumn(const QString& table, const QString& column) const {
        const ColumnInfo* c = catalogue_.column(table, column);
        return c && c->type == QLatin1String("integer");
    }

    void widen(const QString& table, const QString& column, const QString& declared) {
        // SQLite does not enforce declared widths; the wider value already fits.
        if (engine_ == Engine::Sqlite || !catalogue_.hasColumn(table, column))
            return skip();
        const ColumnInfo* c = catalogue_.column(table, column);
        if (c && !c->type.isEmpty() && widthReached(*c, declared))
            return skip();
        if (execute({QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3")
                         .arg(table, column, plainType(engine_, declared))}))
            catalogue_.addColumn(table, column); // its new width is no longer known
    }

    bool allColumns(const QString& table, const QString& columns) const {
        for (QString c : columns.split(QLatin1Char(','))) {
            // An expression such as val(doc_no) names its column inside the brackets.
            const qsizetype open = c.indexOf(QLatin1Char('('));
            if (open >= 0)
                c = c.mid(open + 1).section(QLatin1Char(')'), 0, 0);
            if (!catalogue_.hasColumn(table, c.trimmed()))
                return false;
        }
        return true;
    }

    void createIndex(const QString& table, const QString& index, const QString& columns) {
        if (!allColumns(table, columns))
            return skip();
        // Steps name a code's numeric value as val(column); on SQLite the index
        // holds a built-in expression instead (see dialect::codeNumber).
        static const QRegularExpression valCall(QStringLiteral("\\bval\\(\\s*(\\w+)\\s*\\)"));
        QString expression;
        qsizetype from = 0;
        for (auto it = valCall.globalMatch(columns); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            expression += columns.mid(from, m.capturedStart() - from) +
                          core::dialect::codeNumber(engine_, m.captured(1));
            from = m.capturedEnd();
        }
        const bool usesVal = from > 0;
        expression += columns.mid(from);
        QStringList statements;
        if (catalogue_.hasIndex(index)) {
            // A file made by an earlier version holds this index on the program's
            // own val(): outside tools could not write or check it. Rebuilt once.
            if (!usesVal || engine_ != Engine::Sqlite || !sqliteIndexUses(index, "val("))
                return skip();
            statements << QStringLiteral("DROP INDEX %1").arg(index);
        }
        statements << QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(index, table, expression);
        if (execute(statements))
            catalogue_.addIndex(index);
    }

    void createUniqueIndex(const QString& table, const QString& index, const QString& column) {
        if (catalogue_.hasIndex(index) || !allColumns(table, column))
            return skip();
        // A shop whose rows already repeat a value still upgrades; the screens
        // refuse new repeats, and a later run adds the index once they are gone.
        const QString nonEmpty = column + QStringLiteral(" <> ''");
        if (!db_.query(QStringLiteral("select 1 from %1 where %2 group by %3 having count(*) > 1")
                           .arg(table, nonEmpty, column))
                 .empty())
            return skip();
        if (execute({QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3) WHERE %4")
                         .arg(index, table, column, nonEmpty)}))
            catalogue_.addIndex(index);
    }

    bool sqliteIndexUses(const QString& index, const char* text) {
        const QString sql = db_.scalar(QStringLiteral("select sql from sqlite_master where type = "
                                                      "'index' and lower(name) = lower(?)"),
                                       {index})
                                .toString();
        return sql.contains(QLatin1String(text), Qt::CaseInsensitive);
    }

    void primaryKey(const QString& table, const QString& name, const QString& columns) {
        // SQLite tables keep the key they were created with; it cannot be added later.
        if (engine_ == Engine::Sqlite || catalogue_.hasPrimaryKey(table) ||
            !allColumns(table, columns))
            return skip();
        if (execute({QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 PRIMARY KEY (%3)")
                         .arg(table, name, columns)}))
            catalogue_.addPrimaryKey(table);
    }

    void sql(const QString& table, const QString& column, const QString& text, StepValue value) {
        // A statement about a table or column that is not there would only fail.
        if (!catalogue_.hasTable(table) ||
            (!column.isEmpty() && !catalogue_.hasColumn(table, column)))
            return skip();
        QVariantList values;
        switch (value) {
        case StepValue::ErrorLogCutoff:
            values << now_.addDays(-5);
            break;
        case StepValue::DataFolder:
            values << QDir::toNativeSeparators(dataFolder_);
            break;
        default:
            break;
        }
        execute({text}, values);
    }

    void menuNames(const QString& table) {
        if (!catalogue_.hasTable(table))
            return skip();
        ++result_.statements;
        try {
            Transaction t(db_);
            if (db_.scalar(QStringLiteral("select count(*) from mnuname")).toInt() > 0)
                return; // already named; the transaction ends having written nothing
            for (const MenuEntry& e : menuEntries())
                db_.exec(QStringLiteral("insert into mnuname (MenuName, MnuEnabled, MenuCaption) "
                                        "values (?, ?, ?)"),
                         {QString::fromLatin1(e.menuName), QString::fromLatin1(e.enabled),
                          QString::fromLatin1(e.caption)});
            t.commit();
        } catch (const DbError& e) {
            ++result_.failed;
            noteError(QStringLiteral("insert into mnuname"), e);
        }
    }

    Database& db_;
    Engine engine_;
    const UpgradeProgress& progress_;
    UpgradeResult& result_;
    Catalogue catalogue_;
    QString dataFolder_;
    QDateTime now_;
    int done_ = 0;
    int total_ = 0;
};

} // namespace

void createInitialDatabase(Database& db) {
    const Engine e = db.engine();
    const QString dt = core::dialect::dateTimeType(e);
    // repled2 receives "party - item" names, account heads, day-book remarks and
    // day-book amounts, so its columns are as wide as the widest of those.
    const std::pair<const char*, QString> tables[] = {
        {"masparty", QStringLiteral("party_code varchar(10), Party_name varchar(50), add1 "
                                    "varchar(100), ph varchar(50), veh_code varchar(10), city "
                                    "varchar(50), ope_bal numeric(12,2), baldrcr varchar(5), "
                                    "category varchar(20)")},
        {"masitem", QStringLiteral("item_name varchar(40)")},
        {"repled2", QStringLiteral("party_name varchar(100), doc_dt %1, item_name varchar(100), "
                                   "dr numeric(20,2), cr numeric(20,2), remark varchar(100)")
                        .arg(dt)},
        {"masspass", QStringLiteral("UserName varchar(50), password varchar(50)")},
        {"adminsecurity", QStringLiteral("password varchar(50)")},
    };
    Transaction t(db);
    for (const auto& [name, columns] : tables) {
        const QString table = QString::fromLatin1(name);
        if (!db.tableExists(table))
            db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns));
    }
    if (db.scalar(QStringLiteral("select count(*) from masspass")).toInt() == 0)
        db.exec(QStringLiteral("insert into masspass (UserName, password) values (?, ?)"),
                {QStringLiteral("admin"), QStringLiteral("kelbo")});
    if (db.scalar(QStringLiteral("select count(*) from adminsecurity")).toInt() == 0)
        db.exec(QStringLiteral("insert into adminsecurity (password) values (?)"),
                {QStringLiteral("kelbo")});
    t.commit();
}

UpgradeResult upgradeDatabase(Database& db, const UpgradeProgress& progress) {
    return upgradeDatabase(db, UpgradeOptions{}, progress);
}

UpgradeResult upgradeDatabase(Database& db, const UpgradeOptions& options,
                              const UpgradeProgress& progress) {
    UpgradeResult result;
    Runner runner(db, options, progress, result);
    runner.runBatch(1);
    if (options.batchDone)
        options.batchDone(1);
    runner.runBatch(2);
    if (options.batchDone)
        options.batchDone(2);
    return result;
}

void createNewDatabase(Database& db) {
    createNewDatabase(db, UpgradeOptions{});
}

void createNewDatabase(Database& db, const UpgradeOptions& options) {
    if (db.tableExists(QStringLiteral("masparty")))
        return;
    {
        // Under the upgrade's lock: a second counter starting on the same new
        // database at the same moment waits here instead of failing halfway.
        Transaction lock(db, kUpgradeLockKey);
        createInitialDatabase(db);
        lock.commit();
    }
    upgradeDatabase(db, options);
}

} // namespace stokara::schema
