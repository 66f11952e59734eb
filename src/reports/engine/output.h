#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace stokara::reports {

class Report;
class Pages;

// The report as CSV (UTF-8, with a byte-order mark): the page header's named controls as
// "control,value" lines, a blank line, the detail headings and rows as the
// report formats them, a blank line, the report footer's controls likewise.
QByteArray csvText(const Report& report);

// Paints one page (0-based) on a painter whose device measures in its logical
// dpi (a printer, a PDF writer, an image with its dots per metre set).
void paintPage(QPainter& painter, const Pages& pages, int page);

// Told after each page painted (pages done, pages to do); false stops the run.
using PageProgress = std::function<bool(int done, int total)>;

// Paints pages `from` to `to` (0-based, both included) with a new page of the
// device between them. False when `progress` stopped it.
bool paintPages(QPainter& painter, QPagedPaintDevice& device, const Pages& pages, int from, int to,
                const PageProgress& progress = {});

// Files; each throws ReportError when the file cannot be written, and leaves
// any earlier file of that name as it was. A PDF stopped by `progress` is not
// written (false).
bool writePdf(const Pages& pages, const QString& path, const QString& title,
              const PageProgress& progress = {});
void writeCsv(const Report& report, const QString& path);
// PDF, CSV or spreadsheet by the file's extension (.pdf, .csv, .xlsx); anything
// else is refused.
void writeReportFile(const Report& report, const QString& path);

} // namespace stokara::reports
