#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace stokara::core_ui {

// Grid widths are given in twips as the screens were laid out; 15 twips make a
// pixel at 96 dpi.
int twips(int value);

// A read-only grid of whole rows with the given headings and widths (twips;
// 0 hides the column, a negative width keeps the default).
QTableWidget* makeGrid(QWidget* parent, const QString& objectName, const QStringList& headings,
                       std::initializer_list<int> widths);
// Replaces the rows of the grid.
void fillGrid(QTableWidget* grid, const QList<QStringList>& rows);
// Text of a cell of the current row; "" when no data row is current.
QString currentCell(const QTableWidget* grid, int column);

// A drop-down list: the text shown, "" when nothing is chosen.
QComboBox* makeList(QWidget* parent, const QString& objectName, const QStringList& items,
                    bool editable = false);
// Chooses the entry with that text; "" chooses nothing; a text not in the list
// is added so a stored value is always shown as stored.
void setListText(QComboBox* list, const QString& text);
QString listText(const QComboBox* list);

QLineEdit* makeField(QWidget* parent, const QString& objectName);

} // namespace stokara::core_ui
