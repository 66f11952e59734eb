#include "pages.h"

#include "report.h"

#include <QDir>

#include <functional>
#include <stdexcept>

namespace stokara::reports {

struct Pages::Plan {
    explicit Plan(const Report& r) : report(r) {}

    Report report; // a copy: pages are made from it after the caller's is gone
    const LayoutSection* header = nullptr;
    const LayoutSection* detail = nullptr;
    const LayoutSection* footer = nullptr;
    const LayoutSection* pageFooter = nullptr;
    double bodyTop = 0;
    double bodyBottom = 0;
    std::vector<size_t> firstRow; // of each page; the next page's is its end
    int footerPage = -1;
    double footerTop = 0;
    std::vector<std::unique_ptr<Page>> made;
};

int Pages::count() const {
    return plan_ ? static_cast<int>(plan_->made.size()) : 0;
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

namespace {

// Places one section's controls with its top at `top` on a page.
void place(const Report& report, Page& target, const LayoutSection& section, double top,
           const std::function<QString(const LayoutItem&)>& textOf) {
    const double left = report.layout().marginLeft;
    const double defaultSize = report.layout().fontSize;
    for (const LayoutItem& item : section.items) {
        const QRectF rect = item.rect.translated(left, top);
        switch (item.kind) {
        case ItemKind::Line:
            target.lines.push_back({QLineF(rect.topLeft(), rect.bottomRight()), item.lineWidth});
            break;
        case ItemKind::Box:
            target.boxes.push_back({rect, item.lineWidth});
            break;
        default:
            target.texts.push_back({rect, textOf(item), item.align,
                                    item.fontSize > 0 ? item.fontSize : defaultSize, item.bold,
                                    section.name, item.name});
        }
    }
}

} // namespace

const Page& Pages::page(int index) const {
    if (!plan_)
        throw std::out_of_range("no pages laid out");
    Plan& plan = *plan_;
    std::unique_ptr<Page>& slot = plan.made.at(index);
    if (slot)
        return *slot;
    auto made = std::make_unique<Page>();
    const Report& report = plan.report;
    const int pageCount = count();
    const auto textOf = [&](const LayoutItem& item) {
        return report.text(item, index + 1, pageCount);
    };
    if (plan.header)
        place(report, *made, *plan.header, report.layout().marginTop, textOf);
    if (plan.pageFooter)
        place(report, *made, *plan.pageFooter, plan.bodyBottom, textOf);
    const auto& rows = report.rows();
    const size_t end = index + 1 < pageCount ? plan.firstRow[index + 1] : rows.size();
    double top = plan.bodyTop;
    for (size_t i = plan.firstRow[index]; i < end; ++i) {
        const core::Row& row = rows[i];
        place(report, *made, *plan.detail, top,
              [&](const LayoutItem& item) { return report.detailText(item, row); });
        top += plan.detail->height;
    }
    if (plan.footer && plan.footerPage == index)
        place(report, *made, *plan.footer, plan.footerTop, textOf);
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

    const double bodyTop = layout.marginTop + (plan->header ? plan->header->height : 0);
    const double bodyBottom =
        layout.pageHeight - layout.marginBottom - (plan->pageFooter ? plan->pageFooter->height : 0);
    const double room = bodyBottom - bodyTop;
    for (const LayoutSection* band : {plan->detail, plan->footer})
        if (band && band->height > room)
            throw ReportError(QStringLiteral("The section %1 of the report layout %2 is taller "
                                             "than the room a page leaves for it.")
                                  .arg(band->name, QDir::toNativeSeparators(layout.file)));
    plan->bodyTop = bodyTop;
    plan->bodyBottom = bodyBottom;

    // Where everything goes, so the page count is known before any text is made.
    int page = 0;
    double top = bodyTop;
    plan->firstRow.push_back(0);
    auto next = [&](double height, size_t row) {
        if (top + height > bodyBottom + 1e-9) {
            ++page;
            top = bodyTop;
            plan->firstRow.push_back(row);
        }
        const double here = top;
        top += height;
        return here;
    };
    const size_t rowCount = report.rows().size();
    for (size_t i = 0; i < rowCount; ++i)
        next(plan->detail->height, i);
    if (plan->footer) {
        plan->footerTop = next(plan->footer->height, rowCount);
        plan->footerPage = page;
    }
    plan->made.resize(page + 1);

    Pages pages;
    pages.width = layout.pageWidth;
    pages.height = layout.pageHeight;
    pages.fontFamily = layout.fontFamily;
    pages.plan_ = std::move(plan);
    return pages;
}

} // namespace stokara::reports
