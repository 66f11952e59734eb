#include "layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <utility>

namespace stokara::reports {

namespace {

struct PageSize {
    const char* name;
    double width;
    double height;
};
const PageSize kPageSizes[] = {
    {"A4", 210, 297},         {"A5", 148, 210},        {"A3", 297, 420},
    {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6},
};

class Parser {
public:
    Parser(const QByteArray& text, QString file) : xml_(text) { layout_.file = std::move(file); }

    Layout run() {
        if (!xml_.readNextStartElement() || xml_.name() != QLatin1String("report"))
            fail(QStringLiteral("the file does not start with <report>"));
        readReport();
        while (xml_.readNextStartElement()) {
            const auto tag = xml_.name();
            if (tag == QLatin1String("source"))
                layout_.source = xml_.readElementText().trimmed();
            else if (tag == QLatin1String("formula")) {
                layout_.formulaNames << attr("name");
                xml_.skipCurrentElement();
            } else if (tag == QLatin1String("section"))
                readSection();
            else
                fail(QStringLiteral("unknown element <%1>").arg(tag));
        }
        if (xml_.hasError())
            fail(xml_.errorString());
        if (!layout_.sectionOfKind(SectionKind::Detail))
            fail(QStringLiteral("the layout has no detail section"));
        return std::move(layout_);
    }

private:
    [[noreturn]] void fail(const QString& why) const {
        throw ReportError(QStringLiteral("The report layout %1 cannot be used (line %2): %3")
                              .arg(QDir::toNativeSeparators(layout_.file))
                              .arg(xml_.lineNumber())
                              .arg(why));
    }

    QString attr(const char* name) const {
        return xml_.attributes().value(QLatin1String(name)).toString();
    }

    double number(const char* name, double fallback = 0) const {
        const QString text = attr(name);
        if (text.isEmpty())
            return fallback;
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("%1=\"%2\" is not a number").arg(QLatin1String(name), text));
        return value;
    }

    void readReport() {
        layout_.name = attr("name");
        const QString page = attr("page").isEmpty() ? QStringLiteral("A4") : attr("page");
        bool known = false;
        // "80xroll", or roll="true" with the width of the page: a continuous roll
        layout_.roll = attr("roll") == QLatin1String("true");
        if (page.endsWith(QLatin1String("xroll"), Qt::CaseInsensitive)) {
            layout_.roll = true;
            bool ok = false;
            layout_.pageWidth = page.chopped(5).toDouble(&ok);
            if (!ok || layout_.pageWidth <= 0)
                fail(QStringLiteral("unknown page size \"%1\"").arg(page));
            known = true;
        }
        for (const PageSize& size : kPageSizes) {
            if (!known && page.compare(QLatin1String(size.name), Qt::CaseInsensitive) == 0) {
                layout_.pageWidth = size.width;
                layout_.pageHeight = size.height;
                known = true;
            }
        }
        if (!known) {
            // "WIDTHxHEIGHT" in millimetres
            const QStringList parts = page.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (parts.size() == 2) {
                layout_.pageWidth = parts[0].toDouble(&okW);
                layout_.pageHeight = parts[1].toDouble(&okH);
            }
            if (!okW || !okH || layout_.pageWidth <= 0 || layout_.pageHeight <= 0)
                fail(QStringLiteral("unknown page size \"%1\"").arg(page));
        }
        const QString orientation = attr("orientation");
        if (orientation == QLatin1String("landscape"))
            std::swap(layout_.pageWidth, layout_.pageHeight);
        else if (!orientation.isEmpty() && orientation != QLatin1String("portrait"))
            fail(QStringLiteral("unknown orientation \"%1\"").arg(orientation));
        const QString margins = attr("margins");
        if (!margins.isEmpty()) {
            const QStringList parts = margins.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.size() != 4)
                fail(QStringLiteral("margins need four numbers: left top right bottom"));
            double* targets[] = {&layout_.marginLeft, &layout_.marginTop, &layout_.marginRight,
                                 &layout_.marginBottom};
            for (int i = 0; i < 4; ++i) {
                bool ok = false;
                *targets[i] = parts[i].toDouble(&ok);
                if (!ok)
                    fail(QStringLiteral("margins need four numbers: left top right bottom"));
            }
        }
        if (!attr("font").isEmpty())
            layout_.fontFamily = attr("font");
        layout_.fontSize = number("size", layout_.fontSize);
        layout_.tearOff = number("tearoff", layout_.tearOff);
        if (layout_.tearOff < 0)
            fail(QStringLiteral("tearoff cannot be below 0"));
        layout_.breakOn = attr("breakOn");
    }

    void readSection() {
        LayoutSection section;
        section.name = attr("name");
        section.alias = attr("alias");
        const QString kind = attr("kind");
        if (kind == QLatin1String("pageheader"))
            section.kind = SectionKind::PageHeader;
        else if (kind == QLatin1String("detail"))
            section.kind = SectionKind::Detail;
        else if (kind == QLatin1String("reportfooter"))
            section.kind = SectionKind::ReportFooter;
        else if (kind == QLatin1String("pagefooter"))
            section.kind = SectionKind::PageFooter;
        else
            fail(QStringLiteral("unknown section kind \"%1\"").arg(kind));
        if (layout_.sectionOfKind(section.kind))
            fail(QStringLiteral("a second section of kind \"%1\"").arg(kind));
        section.height = number("height");
        if (section.height <= 0)
            fail(QStringLiteral("section %1 needs a height above 0").arg(section.name));
        while (xml_.readNextStartElement())
            section.items.push_back(readItem());
        layout_.sections.push_back(std::move(section));
    }

    LayoutItem readItem() {
        LayoutItem item;
        const auto tag = xml_.name();
        if (tag == QLatin1String("label"))
            item.kind = ItemKind::Label;
        else if (tag == QLatin1String("field"))
            item.kind = ItemKind::Field;
        else if (tag == QLatin1String("formula"))
            item.kind = ItemKind::Formula;
        else if (tag == QLatin1String("line"))
            item.kind = ItemKind::Line;
        else if (tag == QLatin1String("box"))
            item.kind = ItemKind::Box;
        else if (tag == QLatin1String("qr"))
            item.kind = ItemKind::Qr;
        else
            fail(QStringLiteral("unknown control <%1>").arg(tag));
        item.name = attr("name");
        if (item.kind == ItemKind::Line)
            item.rect =
                QRectF(QPointF(number("x1"), number("y1")), QPointF(number("x2"), number("y2")));
        else
            item.rect = QRectF(number("x"), number("y"), number("w"), number("h"));
        item.text = attr("text");
        item.column = attr("column");
        item.formula = attr("formula");
        item.format = attr("format");
        item.heading = attr("heading");
        item.headingFrom = attr("headingFrom");
        const QString align = attr("align");
        if (align == QLatin1String("center"))
            item.align = Align::Center;
        else if (align == QLatin1String("right"))
            item.align = Align::Right;
        else if (!align.isEmpty() && align != QLatin1String("left"))
            fail(QStringLiteral("unknown alignment \"%1\"").arg(align));
        item.fontSize = number("size");
        item.bold = attr("bold") == QLatin1String("true");
        item.lineWidth = number("width", item.lineWidth);
        const QString fit = attr("fit");
        if (fit == QLatin1String("wrap"))
            item.fit = Fit::Wrap;
        else if (fit == QLatin1String("shrink"))
            item.fit = Fit::Shrink;
        else if (!fit.isEmpty() && fit != QLatin1String("line"))
            fail(QStringLiteral("unknown fit \"%1\"").arg(fit));
        item.minSize = number("minsize", item.minSize);
        if (item.minSize <= 0)
            fail(QStringLiteral("minsize needs a size above 0"));
        if (item.kind == ItemKind::Qr && item.formula.isEmpty() == item.column.isEmpty())
            fail(QStringLiteral("a QR control needs a formula or a column, one of them"));
        if (item.kind == ItemKind::Formula && item.formula.isEmpty())
            fail(QStringLiteral("formula control %1 names no formula").arg(item.name));
        xml_.skipCurrentElement();
        return item;
    }

    QXmlStreamReader xml_;
    Layout layout_;
};

} // namespace

const LayoutItem* LayoutSection::item(const QString& control) const {
    for (const LayoutItem& i : items)
        if (!i.name.isEmpty() && i.name.compare(control, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

const LayoutSection* Layout::section(const QString& name) const {
    for (const LayoutSection& s : sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0 ||
            (!s.alias.isEmpty() && s.alias.compare(name, Qt::CaseInsensitive) == 0))
            return &s;
    return nullptr;
}

const LayoutSection* Layout::sectionOfKind(SectionKind kind) const {
    for (const LayoutSection& s : sections)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

QStringList ReportFolders::searchPaths(const QString& fileName) const {
    QStringList paths;
    if (!dataDir.isEmpty())
        paths << QDir(dataDir).filePath(QStringLiteral("reports/") + fileName);
    // An installed program's layouts (/usr/share/stokara/reports), as the
    // system's data folders list them (XDG_DATA_HOME, XDG_DATA_DIRS).
    for (const QString& shared :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        paths << QDir(shared).filePath(QStringLiteral("stokara/reports/") + fileName);
    // A build tree keeps its layouts beside the program.
    const QString program =
        programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    paths << QDir(program).filePath(QStringLiteral("reports/") + fileName);
    paths.removeDuplicates();
    return paths;
}

Layout loadLayout(const QString& fileName, const ReportFolders& folders) {
    const QStringList paths = folders.searchPaths(fileName);
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw ReportError(QStringLiteral("The report layout %1 cannot be read: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
        return parseLayout(file.readAll(), path);
    }
    throw ReportError(
        QStringLiteral("The report layout %1 was not found (looked for %2).")
            .arg(fileName, QDir::toNativeSeparators(paths.join(QStringLiteral(", ")))));
}

Layout parseLayout(const QByteArray& text, const QString& file) {
    return Parser(text, file).run();
}

} // namespace stokara::reports
