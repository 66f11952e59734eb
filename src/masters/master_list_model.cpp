#include "master_list_model.h"

#include "core_ui/widgets.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

namespace stokara::masters {

MasterListModel::MasterListModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)) {}

void MasterListModel::setRows(QList<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

QString MasterListModel::text(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0)
        return {};
    const QStringList& cells = rows_[row];
    return column < cells.size() ? cells[column] : QString();
}

int MasterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MasterListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant MasterListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.row(), index.column());
}

QVariant MasterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headings_.size() ? headings_[section] : QVariant();
    return section + 1;
}

QTableView* makeListView(QWidget* parent, const QString& objectName, MasterListModel* model,
                         std::initializer_list<int> widths) {
    auto* view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(20);
    int column = 0;
    int total = 0;
    for (int w : widths) {
        if (w == 0)
            view->setColumnHidden(column, true);
        else if (w > 0)
            view->setColumnWidth(column, core_ui::twips(w));
        if (w != 0)
            total += w > 0 ? core_ui::twips(w) : view->horizontalHeader()->defaultSectionSize();
        ++column;
    }
    view->setMinimumWidth(total + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * view->frameWidth() + 2);
    return view;
}

QString currentText(const QTableView* view, int column) {
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return {};
    return view->model()->index(current.row(), column).data().toString();
}

} // namespace stokara::masters
