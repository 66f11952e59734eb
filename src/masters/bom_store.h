#pragma once

#include "bom_rules.h"
#include "core/input_rules.h"
#include "schema/column_widths.h"

#include <QStringList>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

struct BomLine {
    QString mainItem;
    QString subItem;
    QString weight;
};

// Statements of the bill-of-materials screen (table BOM).
class BomStore {
public:
    explicit BomStore(core::Database& db) : db_(db), widths_(db) {}

    QStringList mainItems();
    QStringList subItems();
    QList<BomLine> lines(const QString& mainItem);
    std::optional<BomLine> find(const QString& mainItem, const QString& subItem);
    std::optional<core::Problem> validate(const QString& mainItem, const QString& subItem);
    // Replaces the line of the pair: at most one line per main and sub-item.
    void saveLine(const QString& mainItem, const QString& subItem, double weight);
    // False when the line no longer exists.
    bool removeLine(const QString& mainItem, const QString& subItem);
    // Blank rows the milk-collection editions leave in the vehicle table.
    void removeBlankVehicles();

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
