#include "xlsx_output.h"

#include "layout.h"
#include "report.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>

namespace stokara::reports {

namespace {

[[noreturn]] void cannotWrite(const QString& path, const QString& why) {
    throw ReportError(QStringLiteral("The report cannot be written to %1: %2")
                          .arg(QDir::toNativeSeparators(path), why));
}

bool showsText(const LayoutItem& item) {
    return item.kind != ItemKind::Line && item.kind != ItemKind::Box && !item.name.isEmpty();
}

bool isNumberFormat(const QString& format) {
    return format == QLatin1String(".00") || format == QLatin1String("0.00") ||
           format == QLatin1String("#,##0.00") || format == QLatin1String("0");
}

// A whole text that reads as a number ("1360.00", ".00", "-400.00").
bool numberText(const QString& text, double* value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok)
        *value = v;
    return ok && !text.trimmed().isEmpty();
}

struct Sheet {
    lxw_worksheet* sheet;
    lxw_format* amount;
    lxw_format* whole;
    lxw_format* dateFormat;
    lxw_format* heading;

    void text(int row, int col, const QString& s, lxw_format* f = nullptr) {
        worksheet_write_string(sheet, row, col, s.toUtf8().constData(), f);
    }
    // A value shown by a control: a number where it reads as one.
    void shown(int row, int col, const QString& s) {
        double v = 0;
        if (numberText(s, &v))
            worksheet_write_number(sheet, row, col, v, amount);
        else
            text(row, col, s);
    }
    void writeDate(int row, int col, const QDate& d) {
        lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, row, col, &when, dateFormat);
    }
};

// The values of a section's named controls, one row each.
int writeValues(Sheet& s, int row, const Report& report, const LayoutSection* section) {
    if (!section)
        return row;
    for (const LayoutItem& item : section->items) {
        if (!showsText(item))
            continue;
        s.text(row, 0, item.name);
        s.shown(row, 1, report.text(item));
        ++row;
    }
    return row;
}

// One detail cell from the row's own value, so an amount stays a number and
// a date a date; anything else as the report shows it.
void writeCell(Sheet& s, int row, int col, const Report& report, const LayoutItem& item,
               const core::Row& data) {
    const QString column = report.dataField(item);
    const QVariant v = column.isEmpty() ? QVariant() : data.value(column);
    const QString shown = report.detailText(item, data);
    if (v.isNull() || shown.isEmpty())
        return;
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
        s.writeDate(row, col, v.toDate());
        return;
    }
    if (item.format.startsWith(QLatin1String("dd/mm"))) {
        const QDate d = v.toDate().isValid()
                            ? v.toDate()
                            : QDate::fromString(v.toString().left(10), Qt::ISODate);
        if (d.isValid()) {
            s.writeDate(row, col, d);
            return;
        }
    }
    bool ok = false;
    const double number = v.toDouble(&ok);
    if (ok && isNumberFormat(item.format)) {
        worksheet_write_number(s.sheet, row, col, number,
                               item.format == QLatin1String("0") ? s.whole : s.amount);
        return;
    }
    s.text(row, col, shown);
}

} // namespace

void writeXlsx(const Report& report, const QString& path) {
    const Layout& layout = report.layout();
    const LayoutSection* header = layout.sectionOfKind(SectionKind::PageHeader);
    const LayoutSection* detail = layout.sectionOfKind(SectionKind::Detail);

    // Written beside the target and moved over it once whole.
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        cannotWrite(path, QStringLiteral("the folder does not exist"));
    QTemporaryFile part(target.absoluteDir().filePath(QStringLiteral(".stokara-XXXXXX.xlsx")));
    if (!part.open())
        cannotWrite(path, part.errorString());
    part.close();
    const QByteArray partName = QFile::encodeName(part.fileName());

    lxw_workbook* book = workbook_new(partName.constData());
    if (!book)
        cannotWrite(path, QStringLiteral("the spreadsheet could not be started"));
    Sheet s{workbook_add_worksheet(book, nullptr), workbook_add_format(book),
            workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_num_format(s.amount, "0.00");
    format_set_num_format(s.whole, "0");
    format_set_num_format(s.dateFormat, "dd/mm/yyyy");
    format_set_bold(s.heading);

    int row = writeValues(s, 0, report, header) + 1;
    std::vector<const LayoutItem*> columns;
    if (detail) {
        for (const LayoutItem& item : detail->items) {
            if (!showsText(item))
                continue;
            QString heading = item.heading.isEmpty() ? item.name : item.heading;
            if (!item.headingFrom.isEmpty() && header)
                if (const LayoutItem* from = header->item(item.headingFrom))
                    heading = report.text(*from);
            s.text(row, int(columns.size()), heading, s.heading);
            columns.push_back(&item);
        }
        worksheet_set_column(s.sheet, 0, lxw_col_t(std::max<size_t>(columns.size(), 2) - 1), 14,
                             nullptr);
        ++row;
        for (const core::Row& data : report.rows()) {
            for (size_t c = 0; c < columns.size(); ++c)
                writeCell(s, row, int(c), report, *columns[c], data);
            ++row;
        }
    }
    writeValues(s, row + 1, report, layout.sectionOfKind(SectionKind::ReportFooter));

    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR)
        cannotWrite(path, QString::fromUtf8(lxw_strerror(closed)));
    // rename() puts the whole file in place of any earlier one at once.
    if (std::rename(partName.constData(), QFile::encodeName(path).constData()) != 0)
        cannotWrite(path, QStringLiteral("the finished file could not be put in place"));
    part.setAutoRemove(false);
}

} // namespace stokara::reports
