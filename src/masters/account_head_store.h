#pragma once

#include "account_head_rules.h"
#include "core/input_rules.h"
#include "schema/column_widths.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

inline constexpr qint64 kAccountHeadLock = 0x53544B0003;

struct AccountHeadRow {
    QString autoNo;
    QString head;
    QString group;
};

const QStringList& accountGroups();

// Statements of the account head master (table AccountHead).
class AccountHeadStore {
public:
    explicit AccountHeadStore(core::Database& db) : db_(db), widths_(db) {}

    QList<AccountHeadRow> gridRows(); // by head, descending
    std::optional<AccountHeadRow> load(qint64 autoNo);
    int countByHead(const QString& head);
    std::optional<core::Problem> validate(const QString& head, const QString& group);
    // False (nothing stored) when the head exists already.
    bool insertNew(const QString& head, const QString& group);
    // False when the row no longer exists.
    bool update(qint64 autoNo, const QString& head, const QString& group);
    bool remove(qint64 autoNo);

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
