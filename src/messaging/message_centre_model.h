#pragma once

#include "messaging/message_centre_store.h"

#include <QAbstractTableModel>

#include <vector>

namespace stokara::messaging {

// The message centre's grid `VsFlex`: Mark, Date, Milk Man Code, Milk Man
// Name, Message, and the hidden RecordId and Mobile No. Only the Mark column
// can be changed: a check box whose cell text reads "-1" when ticked.
class MessageCentreModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Mark, Date, Code, Name, Text, RecordId, Mobile, ColumnCount };

    explicit MessageCentreModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setMessages(std::vector<CentreMessage> messages);
    void setAllTicked(bool ticked);
    bool ticked(int row) const { return ticks_.at(static_cast<size_t>(row)) != 0; }
    const CentreMessage& message(int row) const { return rows_.at(static_cast<size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The cell text (Mark: "-1" or ""), as EditRole; the tick as CheckStateRole.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A Mark cell takes a check state, or a text: "-1" ticks, anything else clears.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<CentreMessage> rows_;
    std::vector<char> ticks_;
};

} // namespace stokara::messaging
