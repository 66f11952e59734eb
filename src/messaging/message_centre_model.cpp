#include "messaging/message_centre_model.h"

#include "core/idioms.h"

namespace stokara::messaging {

void MessageCentreModel::setMessages(std::vector<CentreMessage> messages) {
    beginResetModel();
    rows_ = std::move(messages);
    ticks_.assign(rows_.size(), 0);
    endResetModel();
}

void MessageCentreModel::setAllTicked(bool ticked) {
    std::fill(ticks_.begin(), ticks_.end(), ticked ? 1 : 0);
    if (!rows_.empty())
        emit dataChanged(index(0, Mark), index(rowCount() - 1, Mark),
                         {Qt::CheckStateRole, Qt::EditRole});
}

int MessageCentreModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MessageCentreModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MessageCentreModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const size_t row = static_cast<size_t>(index.row());
    if (index.column() == Mark) {
        if (role == Qt::CheckStateRole)
            return ticks_[row] ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::EditRole)
            return ticks_[row] ? QStringLiteral("-1") : QString();
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const CentreMessage& m = rows_[row];
    switch (index.column()) {
    case Date:
        return core::formatDate(m.date);
    case Code:
        return m.partyCode;
    case Name:
        return m.partyName;
    case Text:
        return m.message;
    case RecordId:
        return QString::number(m.recordId);
    case Mobile:
        return m.mobile;
    default:
        return {};
    }
}

bool MessageCentreModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Mark || index.row() >= rowCount())
        return false;
    bool tick = false;
    if (role == Qt::CheckStateRole)
        tick = value.value<Qt::CheckState>() == Qt::Checked;
    else if (role == Qt::EditRole)
        tick = value.toString() == QLatin1String("-1");
    else
        return false;
    ticks_[static_cast<size_t>(index.row())] = tick ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags MessageCentreModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Mark)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant MessageCentreModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeaders[ColumnCount] = {
        "Mark", "Date", "Milk Man Code", "Milk Man Name", "Message", "RecordId", "Mobile No"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(kHeaders[section]);
}

} // namespace stokara::messaging
