#include "widgets.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>

namespace stokara::core_ui {

int twips(int value) {
    return value / 15;
}

QTableWidget* makeGrid(QWidget* parent, const QString& objectName, const QStringList& headings,
                       std::initializer_list<int> widths) {
    auto* grid = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    grid->setObjectName(objectName);
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    int column = 0;
    int total = 0;
    for (int w : widths) {
        if (w == 0)
            grid->setColumnHidden(column, true);
        else if (w > 0)
            grid->setColumnWidth(column, twips(w));
        if (w != 0)
            total += w > 0 ? twips(w) : grid->horizontalHeader()->defaultSectionSize();
        ++column;
    }
    // Wide enough to show every visible column without scrolling sideways.
    grid->setMinimumWidth(total + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * grid->frameWidth() + 2);
    return grid;
}

void fillGrid(QTableWidget* grid, const QList<QStringList>& rows) {
    grid->setUpdatesEnabled(false);
    grid->clearContents();
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        for (int c = 0; c < cells.size() && c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    grid->setUpdatesEnabled(true);
}

QString currentCell(const QTableWidget* grid, int column) {
    const int row = grid->currentRow();
    if (row < 0 || row >= grid->rowCount())
        return {};
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QComboBox* makeList(QWidget* parent, const QString& objectName, const QStringList& items,
                    bool editable) {
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->setEditable(editable);
    list->addItems(items);
    list->setCurrentIndex(-1);
    if (editable)
        list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

void setListText(QComboBox* list, const QString& text) {
    if (list->isEditable()) {
        const int i = list->findText(text);
        list->setCurrentIndex(i);
        list->setEditText(text);
        return;
    }
    if (text.isEmpty()) {
        list->setCurrentIndex(-1);
        return;
    }
    int i = list->findText(text);
    if (i < 0) {
        list->addItem(text);
        i = list->count() - 1;
    }
    list->setCurrentIndex(i);
}

QString listText(const QComboBox* list) {
    if (!list->isEditable() && list->currentIndex() < 0)
        return {};
    return list->currentText();
}

QLineEdit* makeField(QWidget* parent, const QString& objectName) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    return field;
}

} // namespace stokara::core_ui
