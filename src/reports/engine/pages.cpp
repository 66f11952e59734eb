#include "pages.h"

#include "report.h"
#include "text_fit.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>

namespace stokara::reports {

namespace {

using TextOf = std::function<QString(const LayoutItem&)>;

bool showsText(ItemKind kind) {
    return kind == ItemKind::Label || kind == ItemKind::Field || kind == ItemKind::Formula;
}

double itemTop(const LayoutItem& item) {
    return item.kind == ItemKind::Line ? std::min(item.rect.top(), item.rect.bottom())
                                       : item.rect.top();
}

double itemBottom(const LayoutItem& item) {
    return item.kind == ItemKind::Line ? std::max(item.rect.top(), item.rect.bottom())
                                       : item.rect.bottom();
}

// Texts fitted to their boxes, kept per item and text while pages are
// planned: a long report repeats its item names, particulars and header texts
// row after row and party after party, and shaping a text is what costs.
class FitCache {
public:
    const FittedText& fitted(const LayoutItem& item, const QString& family, double size,
                             const QString& text) {
        const auto key = std::make_pair(reinterpret_cast<quintptr>(&item), text);
        auto found = fitted_.find(key);
        if (found == fitted_.end())
            found = fitted_.insert(key, fitText(item, family, size, text));
        return *found;
    }

    // Whether the item's box is tall enough for one line at that size.
    bool lineHolds(const LayoutItem& item, const QString& family, double size) {
        const auto key = reinterpret_cast<quintptr>(&item);
        auto found = holds_.find(key);
        if (found == holds_.end())
            found = holds_.insert(key, blockHeight(reportFont(family, size, item.bold), 1) <=
                                           item.rect.height() + 1e-9);
        return *found;
    }

private:
    QHash<std::pair<quintptr, QString>, FittedText> fitted_;
    QHash<quintptr, bool> holds_;
};

// One section as it comes out for one row or page: its texts fitted, what
// lies below a grown text moved down, its height.
struct Arranged {
    std::vector<QString> texts;
    std::vector<FittedText> fitted;
    std::vector<double> shift; // mm each item moves down
    std::vector<bool> shown;
    double height = 0;
};

// Whether an item can change its section's height: a text that may grow, or
// something below the height that takes room only when it has a text.
bool canGrow(const LayoutSection& section, const LayoutItem& item) {
    return ((showsText(item.kind) && item.fit != Fit::Line) || item.kind == ItemKind::Qr ||
            itemTop(item) >= section.height - 1e-6) &&
           item.kind != ItemKind::Line && item.kind != ItemKind::Box;
}

// `heightOnly`: only the height is wanted, so texts that cannot change it are
// not made (a ledger's rows are measured when its pages are planned).
Arranged arrange(const Layout& layout, const LayoutSection& section, const TextOf& textOf,
                 bool heightOnly = false, FitCache* cache = nullptr) {
    const size_t n = section.items.size();
    Arranged a;
    a.texts.resize(n);
    a.fitted.resize(n);
    a.shift.assign(n, 0);
    a.shown.assign(n, true);
    std::vector<double> growth(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const LayoutItem& item = section.items[i];
        if (!showsText(item.kind) && item.kind != ItemKind::Qr)
            continue;
        if (heightOnly && !canGrow(section, item))
            continue;
        a.texts[i] = textOf(item);
        const double size = item.fontSize > 0 ? item.fontSize : layout.fontSize;
        if (item.kind == ItemKind::Qr || item.fit == Fit::Line) {
            a.fitted[i] = FittedText{size, QStringList{a.texts[i]}, item.rect.height()};
        } else {
            a.fitted[i] = cache ? cache->fitted(item, layout.fontFamily, size, a.texts[i])
                                : fitText(item, layout.fontFamily, size, a.texts[i]);
            growth[i] = std::max(0.0, a.fitted[i].height - item.rect.height());
        }
        // Below the section's height: drawn, and room made for it, only when it has something.
        if (itemTop(item) >= section.height - 1e-6 && a.texts[i].isEmpty())
            a.shown[i] = false;
    }
    // Top to bottom: an item moves down by as much as the lowest grown item above it.
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t l, size_t r) {
        return itemTop(section.items[l]) < itemTop(section.items[r]);
    });
    double extra = 0;
    for (size_t k = 0; k < n; ++k) {
        const size_t i = order[k];
        const double top = itemTop(section.items[i]);
        for (size_t m = 0; m < k; ++m) {
            const size_t j = order[m];
            if (a.shown[j] && (growth[j] > 0 || a.shift[j] > 0) &&
                itemBottom(section.items[j]) <= top + 1e-6)
                a.shift[i] = std::max(a.shift[i], a.shift[j] + growth[j]);
        }
        if (a.shown[i] && top < section.height - 1e-6)
            extra = std::max(extra, a.shift[i] + growth[i]);
    }
    // Whatever is shown is held, a control reaching below the height included.
    a.height = section.height + extra;
    for (size_t i = 0; i < n; ++i)
        if (a.shown[i])
            a.height = std::max(a.height, itemBottom(section.items[i]) + a.shift[i] + growth[i]);
    return a;
}

// The band's own height when nothing in it grows for this row, else -1 (then
// it is arranged in full): most rows of a long report take this way.
double plainHeight(const Layout& layout, const LayoutSection& section, const TextOf& textOf,
                   FitCache& cache) {
    for (const LayoutItem& item : section.items) {
        if (!canGrow(section, item))
            continue;
        const QString text = textOf(item);
        // Below the band (a bill's QR under its closing line): no room when empty.
        if (itemTop(item) >= section.height - 1e-6 && text.isEmpty())
            continue;
        if (itemTop(item) >= section.height - 1e-6 || item.fit == Fit::Line)
            return -1; // below the band with a text, or a QR: decided in full
        const double size = item.fontSize > 0 ? item.fontSize : layout.fontSize;
        // Most texts of a row are short: one line at the item's size holds them.
        if (cache.lineHolds(item, layout.fontFamily, size) &&
            fitsOnOneLine(item, layout.fontFamily, size, text))
            continue;
        if (cache.fitted(item, layout.fontFamily, size, text).height > item.rect.height() + 1e-9)
            return -1;
    }
    return section.height;
}

// Places one arranged section with its top at `top` on a page.
void place(const Layout& layout, Page& target, const LayoutSection& section, const Arranged& a,
           double top) {
    const double left = layout.marginLeft;
    for (size_t i = 0; i < section.items.size(); ++i) {
        if (!a.shown[i])
            continue;
        const LayoutItem& item = section.items[i];
        const QRectF rect = item.rect.translated(left, top + a.shift[i]);
        switch (item.kind) {
        case ItemKind::Line:
            target.lines.push_back({QLineF(rect.topLeft(), rect.bottomRight()), item.lineWidth});
            break;
        case ItemKind::Box:
            target.boxes.push_back({rect, item.lineWidth});
            break;
        case ItemKind::Qr: {
            const double side = std::min(rect.width(), rect.height());
            const double x = item.align == Align::Right    ? rect.right() - side
                             : item.align == Align::Center ? rect.center().x() - side / 2
                                                           : rect.left();
            if (!a.texts[i].isEmpty())
                target.qrs.push_back({QRectF(x, rect.top(), side, side), a.texts[i], section.name});
            break;
        }
        default: {
            const FittedText& f = a.fitted[i];
            QRectF box = rect;
            box.setHeight(std::max(rect.height(), f.height));
            target.texts.push_back({box, a.texts[i], f.lines, item.align, f.pointSize, item.bold,
                                    section.name, item.name});
        }
        }
    }
}

// A sheet of paper: which rows it shows and where.
struct Sheet {
    size_t first = 0, end = 0; // rows
    size_t groupFirst = 0;     // the first row of its group
    int number = 1, count = 1; // within its group
    double bodyTop = 0;
    double pageFooterTop = 0;
    bool footer = false;
    double footerTop = 0;
    double height = 0;
};

} // namespace

struct Pages::Plan {
    explicit Plan(const Report& r) : report(r) {}

    Report report; // a copy: pages are made from it after the caller's is gone
    const LayoutSection* header = nullptr;
    const LayoutSection* detail = nullptr;
    const LayoutSection* footer = nullptr;
    const LayoutSection* pageFooter = nullptr;
    std::vector<Sheet> sheets;
    std::vector<std::unique_ptr<Page>> made;
};

int Pages::count() const {
    return plan_ ? static_cast<int>(plan_->made.size()) : 0;
}

double Pages::pageHeight(int index) const {
    if (!plan_ || index < 0 || index >= count())
        return height;
    return plan_->sheets[index].height;
}

QStringList Pages::texts(int index, const QString& control) const {
    QStringList found;
    if (index < 0 || index >= count())
        return found;
    for (const PageText& t : page(index).texts)
        if (t.control.compare(control, Qt::CaseInsensitive) == 0)
            found << t.text;
    return found;
}

QString Pages::text(int page, const QString& control) const {
    const QStringList found = texts(page, control);
    return found.isEmpty() ? QString() : found.first();
}

const Page& Pages::page(int index) const {
    if (!plan_)
        throw std::out_of_range("no pages laid out");
    Plan& plan = *plan_;
    std::unique_ptr<Page>& slot = plan.made.at(index);
    if (slot)
        return *slot;
    auto made = std::make_unique<Page>();
    const Report& report = plan.report;
    const Layout& layout = report.layout();
    const Sheet& sheet = plan.sheets.at(index);
    const auto& rows = report.rows();
    const core::Row* first = sheet.groupFirst < rows.size() ? &rows[sheet.groupFirst] : nullptr;
    const TextOf textOf = [&](const LayoutItem& item) {
        return report.text(item, sheet.number, sheet.count, first);
    };
    if (plan.header)
        place(layout, *made, *plan.header, arrange(layout, *plan.header, textOf), layout.marginTop);
    if (plan.pageFooter)
        place(layout, *made, *plan.pageFooter, arrange(layout, *plan.pageFooter, textOf),
              sheet.pageFooterTop);
    double top = sheet.bodyTop;
    for (size_t i = sheet.first; i < sheet.end; ++i) {
        const core::Row& row = rows[i];
        const Arranged a = arrange(layout, *plan.detail, [&](const LayoutItem& item) {
            return report.detailText(item, row);
        });
        place(layout, *made, *plan.detail, a, top);
        top += a.height;
    }
    if (plan.footer && sheet.footer)
        place(layout, *made, *plan.footer, arrange(layout, *plan.footer, textOf), sheet.footerTop);
    slot = std::move(made);
    return *slot;
}

Pages layOut(const Report& source) {
    auto plan = std::make_shared<Pages::Plan>(source);
    const Report& report = plan->report;
    const Layout& layout = report.layout();
    plan->header = layout.sectionOfKind(SectionKind::PageHeader);
    plan->detail = layout.sectionOfKind(SectionKind::Detail);
    plan->footer = layout.sectionOfKind(SectionKind::ReportFooter);
    plan->pageFooter = layout.sectionOfKind(SectionKind::PageFooter);
    const auto& rows = report.rows();

    // Runs of rows that each start a new page (the whole report when nothing breaks it).
    std::vector<std::pair<size_t, size_t>> groups;
    if (!layout.breakOn.isEmpty() && !rows.empty() &&
        !rows.columns.contains(layout.breakOn, Qt::CaseInsensitive))
        throw ReportError(QStringLiteral("The report layout %1 breaks on %2, a column its data "
                                         "does not have.")
                              .arg(QDir::toNativeSeparators(layout.file), layout.breakOn));
    if (!layout.breakOn.isEmpty()) {
        size_t begin = 0;
        for (size_t i = 1; i <= rows.size(); ++i)
            if (i == rows.size() ||
                rows[i].text(layout.breakOn) != rows[begin].text(layout.breakOn)) {
                groups.emplace_back(begin, i);
                begin = i;
            }
    }
    if (groups.empty())
        groups.emplace_back(0, rows.size());

    // A detail band whose every control keeps its place has one height; else each row is measured.
    const LayoutSection& detail = *plan->detail;
    const bool fixedRows =
        std::none_of(detail.items.begin(), detail.items.end(),
                     [&](const LayoutItem& item) { return canGrow(detail, item); });
    std::vector<double> rowHeight(rows.size(), detail.height);
    FitCache cache;
    // Each data field's column found once, not by name for every row.
    QHash<const LayoutItem*, int> columnOf;
    for (const LayoutItem& item : detail.items)
        if (item.kind == ItemKind::Field)
            for (int c = 0; c < rows.columns.size(); ++c)
                if (rows.columns.at(c).compare(report.dataField(item), Qt::CaseInsensitive) == 0) {
                    columnOf.insert(&item, c);
                    break;
                }
    for (size_t i = 0; i < rows.size() && !fixedRows; ++i) {
        const TextOf textOf = [&](const LayoutItem& item) {
            const int column = columnOf.value(&item, -1);
            return column >= 0 ? formatValue(rows[i].at(column), item.format)
                               : report.detailText(item, rows[i]);
        };
        rowHeight[i] = plainHeight(layout, detail, textOf, cache);
        if (rowHeight[i] < 0)
            rowHeight[i] = arrange(layout, detail, textOf, true, &cache).height;
    }
    // Only the texts that can change a section's height are made; a page
    // header laid out once per party asks again for the same texts often.
    QHash<QStringList, double> heights;
    const auto sectionHeight = [&](const LayoutSection* section, const core::Row* first) {
        if (!section)
            return 0.0;
        // Labels and formulas read the same for every group: only fields vary.
        QStringList key{section->name};
        for (const LayoutItem& item : section->items)
            if (item.kind == ItemKind::Field && canGrow(*section, item))
                key << report.text(item, 1, 1, first);
        const auto found = heights.constFind(key);
        if (found != heights.cend())
            return *found;
        const double height =
            arrange(
                layout, *section,
                [&](const LayoutItem& item) { return report.text(item, 1, 1, first); }, true,
                &cache)
                .height;
        heights.insert(key, height);
        return height;
    };
    const double pageFooterHeight = sectionHeight(plan->pageFooter, nullptr);
    const double footerHeight = sectionHeight(plan->footer, nullptr);
    const auto tooTall = [&](const LayoutSection* band) {
        return ReportError(QStringLiteral("The section %1 of the report layout %2 is taller "
                                          "than the room a page leaves for it.")
                               .arg(band->name, QDir::toNativeSeparators(layout.file)));
    };

    for (size_t g = 0; g < groups.size(); ++g) {
        const auto [begin, end] = groups[g];
        const bool last = g + 1 == groups.size();
        const core::Row* first = begin < rows.size() ? &rows[begin] : nullptr;
        const double bodyTop = layout.marginTop + sectionHeight(plan->header, first);
        const size_t firstSheet = plan->sheets.size();
        Sheet sheet;
        sheet.first = begin;
        sheet.groupFirst = begin;
        sheet.bodyTop = bodyTop;
        double top = bodyTop;
        if (layout.roll) {
            for (size_t i = begin; i < end; ++i)
                top += rowHeight[i];
            sheet.end = end;
            if (plan->footer && last) {
                sheet.footer = true;
                sheet.footerTop = top;
                top += footerHeight;
            }
            sheet.pageFooterTop = top;
            sheet.height = top + pageFooterHeight + layout.marginBottom + layout.tearOff;
            plan->sheets.push_back(sheet);
        } else {
            const double bodyBottom = layout.pageHeight - layout.marginBottom - pageFooterHeight;
            const double room = bodyBottom - bodyTop;
            sheet.pageFooterTop = bodyBottom;
            sheet.height = layout.pageHeight;
            const auto next = [&](double height, size_t row, const LayoutSection* band) {
                if (height > room + 1e-9)
                    throw tooTall(band);
                if (top + height > bodyBottom + 1e-9) {
                    sheet.end = row;
                    plan->sheets.push_back(sheet);
                    sheet.first = row;
                    top = bodyTop;
                }
                const double here = top;
                top += height;
                return here;
            };
            for (size_t i = begin; i < end; ++i)
                next(rowHeight[i], i, plan->detail);
            sheet.end = end;
            if (plan->footer && last) {
                sheet.footerTop = next(footerHeight, end, plan->footer);
                sheet.footer = true;
                sheet.end = end; // a footer alone on a page shows no rows there
            }
            plan->sheets.push_back(sheet);
        }
        const int count = static_cast<int>(plan->sheets.size() - firstSheet);
        for (int k = 0; k < count; ++k) {
            plan->sheets[firstSheet + k].number = k + 1;
            plan->sheets[firstSheet + k].count = count;
        }
    }
    plan->made.resize(plan->sheets.size());

    Pages pages;
    pages.width = layout.pageWidth;
    pages.height = plan->sheets.front().height;
    pages.fontFamily = layout.fontFamily;
    pages.plan_ = std::move(plan);
    return pages;
}

} // namespace stokara::reports
