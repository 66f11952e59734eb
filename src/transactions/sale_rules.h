#pragma once

#include "core/input_rules.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace stokara::transactions::sale {

// Caption of the item sale screen; also the title of its messages.
inline const QString kCaption = QStringLiteral("Item Sale");
// Title of the field checks shared with the rest of the suite.
inline const QString kFieldCheckTitle = QStringLiteral("Tarvex Milvora");

// numeric(9,2) holds at most seven whole digits.
inline constexpr double kLargestAmount = 9999999.99;

// A typed number as the screen accepts it: the whole trimmed text is one
// finite decimal number ("12", " 2.5 ", "-1", ".5"); "", "abc", "12abc" are not.
bool isNumeric(const QString& text);

// Quantity for a money amount the customer wants to buy for.
double quantityForAmount(double saleAmount, double rate);
// Line amount of a quantity at a rate.
double lineAmount(double qty, double rate);

// A number in its plain text form, as the fields and grid show it: 2.5, 100, 0.12.
QString numberText(double value);

// The bill or entry number after the highest one in use; "1" when none is.
QString nextNumberAfter(const QVariant& highest);

// Widths of the itemsale columns a line is written into (0: no limit).
struct LineWidths {
    int billNo = 0;
    int partyCode = 0;
    int itemName = 0;
    int unit = 0;
    int category = 0;
};

// The fields the save checks, as typed.
struct LineFields {
    QString dateText;
    QString rateText;
    QString partyName;
    QString partyCode;
    QString qtyText;
    QString itemName;
    QString unit;
    QString amountText;
    QString billNo;
};

// The first check the line fails, in the order the save runs them, with the
// field to go back to; nothing when the line may be saved. Quantity, rate and
// amount must be above 0: returns are not part of this program.
std::optional<core::Problem> firstSaveProblem(const LineFields& line, const LineWidths& widths);

// Party display of a row loaded from the grid: " <code>-<name>" for a numeric
// code (the code as a number carries a leading blank), "<code>-<name>" otherwise.
QString loadedPartyLabel(const QString& code, const QString& name);

} // namespace stokara::transactions::sale
