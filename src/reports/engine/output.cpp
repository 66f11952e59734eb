#include "output.h"

#include "layout.h"
#include "pages.h"
#include "qr_code.h"
#include "report.h"
#include "text_fit.h"
#include "xlsx_output.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace stokara::reports {

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool showsText(const LayoutItem& item) {
    return item.kind != ItemKind::Line && item.kind != ItemKind::Box && !item.name.isEmpty();
}

void appendValues(QString& out, const Report& report, const LayoutSection* section) {
    if (!section)
        return;
    for (const LayoutItem& item : section->items)
        if (showsText(item))
            out += csvField(item.name) + QLatin1Char(',') + csvField(report.text(item)) +
                   QLatin1Char('\n');
}

[[noreturn]] void cannotWrite(const QString& path, const QString& why) {
    throw ReportError(QStringLiteral("The report cannot be written to %1: %2")
                          .arg(QDir::toNativeSeparators(path), why));
}

void commit(QSaveFile& file, const QString& path) {
    if (!file.commit())
        cannotWrite(path, file.errorString());
}

} // namespace

QByteArray csvText(const Report& report) {
    const Layout& layout = report.layout();
    const LayoutSection* header = layout.sectionOfKind(SectionKind::PageHeader);
    const LayoutSection* detail = layout.sectionOfKind(SectionKind::Detail);
    // A byte-order mark first, so a spreadsheet reads the text as UTF-8 (names
    // in Hindi, Gujarati, Punjabi) rather than in the computer's code page.
    QString out = QString(QChar(0xFEFF));
    appendValues(out, report, header);
    out += QLatin1Char('\n');

    std::vector<const LayoutItem*> columns;
    QStringList headings;
    for (const LayoutItem& item : detail->items) {
        if (!showsText(item))
            continue;
        columns.push_back(&item);
        QString heading = item.heading.isEmpty() ? item.name : item.heading;
        if (!item.headingFrom.isEmpty() && header)
            if (const LayoutItem* from = header->item(item.headingFrom))
                heading = report.text(*from);
        headings << csvField(heading);
    }
    out += headings.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const core::Row& row : report.rows()) {
        QStringList cells;
        for (const LayoutItem* item : columns)
            cells << csvField(report.detailText(*item, row));
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
    appendValues(out, report, layout.sectionOfKind(SectionKind::ReportFooter));
    return out.toUtf8();
}

void paintPage(QPainter& painter, const Pages& pages, int index) {
    const Page& page = pages.page(index);
    const double dpmm = painter.device()->logicalDpiX() / 25.4;
    auto scaled = [dpmm](const QRectF& r) {
        return QRectF(r.x() * dpmm, r.y() * dpmm, r.width() * dpmm, r.height() * dpmm);
    };
    painter.save();
    for (const PageLine& line : page.lines) {
        painter.setPen(QPen(Qt::black, line.width * dpmm));
        painter.drawLine(QLineF(line.line.p1() * dpmm, line.line.p2() * dpmm));
    }
    painter.setBrush(Qt::NoBrush);
    for (const PageBox& box : page.boxes) {
        painter.setPen(QPen(Qt::black, box.width * dpmm));
        painter.drawRect(scaled(box.rect));
    }
    painter.setPen(Qt::black);
    for (const PageText& text : page.texts)
        drawText(painter, text, pages.fontFamily, dpmm);
    for (const PageQr& qr : page.qrs)
        paintQr(painter, scaled(qr.rect), qr.text);
    painter.restore();
}

bool paintPages(QPainter& painter, QPagedPaintDevice& device, const Pages& pages, int from, int to,
                const PageProgress& progress) {
    for (int p = from; p <= to; ++p) {
        if (p > from) {
            // Pieces of a roll differ in length: each goes to the device as its own size.
            if (pages.pageHeight(p) != pages.pageHeight(p - 1))
                device.setPageSize(
                    QPageSize(QSizeF(pages.width, pages.pageHeight(p)), QPageSize::Millimeter));
            device.newPage();
        }
        paintPage(painter, pages, p);
        if (progress && !progress(p - from + 1, to - from + 1))
            return false;
    }
    return true;
}

bool writePdf(const Pages& pages, const QString& path, const QString& title,
              const PageProgress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString());
    bool whole = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Stokara"));
        writer.setPageSize(
            QPageSize(QSizeF(pages.width, pages.pageHeight(0)), QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            cannotWrite(path, QStringLiteral("the PDF could not be started"));
        whole = paintPages(painter, writer, pages, 0, pages.count() - 1, progress);
        painter.end();
    }
    if (!whole) {
        file.cancelWriting(); // a stopped run leaves the earlier file, or none
        return false;
    }
    commit(file, path);
    return true;
}

void writeCsv(const Report& report, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString());
    file.write(csvText(report));
    commit(file, path);
}

void writeReportFile(const Report& report, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        writeCsv(report, path);
    else if (suffix == QLatin1String("pdf"))
        writePdf(layOut(report), path, report.layout().name);
    else if (suffix == QLatin1String("xlsx"))
        writeXlsx(report, path);
    else
        cannotWrite(path, QStringLiteral("the file name must end in .pdf, .csv or .xlsx"));
}

} // namespace stokara::reports
