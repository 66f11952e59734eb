#pragma once

#include <QString>

namespace stokara::reports {

class Report;

// The report as a spreadsheet (.xlsx) with the CSV's shape: the page header's
// named controls and their values, a blank row, the detail headings and rows,
// a blank row, the report footer's controls. Amounts are numbers shown with
// two decimals and dates are dates, so a spreadsheet adds and sorts them.
// Throws ReportError when the file cannot be written; an earlier file of that
// name is then left as it was.
void writeXlsx(const Report& report, const QString& path);

} // namespace stokara::reports
