#include "pages.h"

#include "report.h"

#include <QDir>

#include <functional>

namespace stokara::reports {

QStringList Pages::texts(int page, const QString& control) const {
    QStringList found;
    if (page < 0 || page >= count())
        return found;
    for (const PageText& t : pages[page].texts)
        if (t.control.compare(control, Qt::CaseInsensitive) == 0)
            found << t.text;
    return found;
}

QString Pages::text(int page, const QString& control) const {
    const QStringList found = texts(page, control);
    return found.isEmpty() ? QString() : found.first();
}

namespace {

struct Placement {
    int page = 0;
    double top = 0;
};

class PageBuilder {
public:
    PageBuilder(const Report& report, Pages& pages) : report_(report), pages_(pages) {}

    // Places one section's controls with its top at `top` on a page.
    void place(int page, const LayoutSection& section, double top,
               const std::function<QString(const LayoutItem&)>& textOf) {
        Page& target = pages_.pages[page];
        const double left = report_.layout().marginLeft;
        const double defaultSize = report_.layout().fontSize;
        for (const LayoutItem& item : section.items) {
            const QRectF rect = item.rect.translated(left, top);
            switch (item.kind) {
            case ItemKind::Line:
                target.lines.push_back(
                    {QLineF(rect.topLeft(), rect.bottomRight()), item.lineWidth});
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

private:
    const Report& report_;
    Pages& pages_;
};

} // namespace

Pages layOut(const Report& report) {
    const Layout& layout = report.layout();
    const LayoutSection* header = layout.sectionOfKind(SectionKind::PageHeader);
    const LayoutSection* detail = layout.sectionOfKind(SectionKind::Detail);
    const LayoutSection* footer = layout.sectionOfKind(SectionKind::ReportFooter);
    const LayoutSection* pageFooter = layout.sectionOfKind(SectionKind::PageFooter);

    const double bodyTop = layout.marginTop + (header ? header->height : 0);
    const double bodyBottom =
        layout.pageHeight - layout.marginBottom - (pageFooter ? pageFooter->height : 0);
    const double room = bodyBottom - bodyTop;
    for (const LayoutSection* band : {detail, footer})
        if (band && band->height > room)
            throw ReportError(QStringLiteral("The section %1 of the report layout %2 is taller "
                                             "than the room a page leaves for it.")
                                  .arg(band->name, QDir::toNativeSeparators(layout.file)));

    // First where everything goes, so the page count is known when the texts are made.
    const auto& rows = report.rows();
    std::vector<Placement> rowPlaces;
    rowPlaces.reserve(rows.size());
    Placement at{0, bodyTop};
    auto next = [&](double height) {
        if (at.top + height > bodyBottom + 1e-9)
            at = {at.page + 1, bodyTop};
        const Placement here = at;
        at.top += height;
        return here;
    };
    for (size_t i = 0; i < rows.size(); ++i)
        rowPlaces.push_back(next(detail->height));
    const Placement footerPlace = footer ? next(footer->height) : Placement{};
    const int pageCount = at.page + 1;

    Pages pages;
    pages.width = layout.pageWidth;
    pages.height = layout.pageHeight;
    pages.fontFamily = layout.fontFamily;
    pages.pages.resize(pageCount);
    PageBuilder builder(report, pages);
    for (int p = 0; p < pageCount; ++p) {
        const auto textOf = [&](const LayoutItem& item) {
            return report.text(item, p + 1, pageCount);
        };
        if (header)
            builder.place(p, *header, layout.marginTop, textOf);
        if (pageFooter)
            builder.place(p, *pageFooter, bodyBottom, textOf);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const core::Row& row = rows[i];
        builder.place(rowPlaces[i].page, *detail, rowPlaces[i].top,
                      [&](const LayoutItem& item) { return report.detailText(item, row); });
    }
    if (footer)
        builder.place(footerPlace.page, *footer, footerPlace.top, [&](const LayoutItem& item) {
            return report.text(item, footerPlace.page + 1, pageCount);
        });
    return pages;
}

} // namespace stokara::reports
