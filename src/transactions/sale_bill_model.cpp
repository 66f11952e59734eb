#include "transactions/sale_bill_model.h"

namespace stokara::transactions {

void SaleBillModel::setRows(std::vector<SaleGridRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

qint64 SaleBillModel::entryNo(int row) const {
    if (row < 0 || row >= rowCount())
        return 0;
    return rows_[static_cast<size_t>(row)].autoNo.toLongLong();
}

int SaleBillModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SaleBillModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 9;
}

QVariant SaleBillModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const SaleGridRow& r = rows_[static_cast<size_t>(index.row())];
    const QString* cells[9] = {&r.date, &r.billNo, &r.partyName, &r.itemName, &r.qty,
                               &r.unit, &r.rate,   &r.amount,    &r.autoNo};
    return index.column() >= 0 && index.column() < 9 ? QVariant(*cells[index.column()])
                                                     : QVariant();
}

QVariant SaleBillModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeaders[9] = {"Date", "Bill No.", "Party",  "Item", "Qty",
                                            "Unit", "Rate",     "Amount", ""};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 9)
        return {};
    return QString::fromLatin1(kHeaders[section]);
}

} // namespace stokara::transactions
