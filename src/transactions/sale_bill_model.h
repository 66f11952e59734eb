#pragma once

#include "transactions/sale_store.h"

#include <QAbstractTableModel>

#include <vector>

namespace stokara::transactions {

// The rows of the bill on the sale screen (grid `VsFlex`): date, bill number,
// party, item, quantity, unit, rate, amount and the hidden entry number.
class SaleBillModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kEntryColumn = 8;

    explicit SaleBillModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setRows(std::vector<SaleGridRow> rows);
    void clear() { setRows({}); }
    // The entry number of a row; 0 for none.
    qint64 entryNo(int row) const;
    const SaleGridRow& at(int row) const { return rows_.at(static_cast<size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<SaleGridRow> rows_;
};

} // namespace stokara::transactions
