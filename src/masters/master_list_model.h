#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class QTableView;
class QWidget;

namespace stokara::masters {

// The read-only list under a master screen (the party master's `VsGrid` and the
// like): whole rows of text. A table view asks only for the rows it draws, so a
// list of tens of thousands of parties opens as fast as its query; a widget grid
// built an item per cell.
class MasterListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MasterListModel(QStringList headings, QObject* parent = nullptr);

    // Replaces every row; a row shorter than the headings shows empty cells.
    void setRows(QList<QStringList> rows);
    // The cell's text; empty outside the list.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList headings_;
    QList<QStringList> rows_;
};

// A table view over `model` laid out as core_ui::makeGrid lays out a grid: whole
// rows selected, not editable, widths in twips (0 hides a column, -1 leaves the
// default width), wide enough to show every visible column.
QTableView* makeListView(QWidget* parent, const QString& objectName, MasterListModel* model,
                         std::initializer_list<int> widths);

// The text in `column` of the view's current row; empty when no row is current.
QString currentText(const QTableView* view, int column);

} // namespace stokara::masters
