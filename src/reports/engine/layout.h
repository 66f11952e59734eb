#pragma once

#include <QLineF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace stokara::reports {

// A report that cannot be made: a layout file missing or unreadable, a section
// or control name the file does not have. The text names the file.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

enum class SectionKind { PageHeader, Detail, ReportFooter, PageFooter };

enum class ItemKind {
    Label,   // fixed text, or a caption the screen sets; may hold {page} and {pages}
    Field,   // a data column: of the current row in the detail band
    Formula, // the value of a named formula
    Line,
    Box,
    Qr, // a formula's or column's text drawn as a QR code
};

enum class Align { Left, Center, Right };

// How a text behaves when it is wider than its box.
enum class Fit {
    Line,   // one line, as given (a shipped layout is sized so it never overflows)
    Wrap,   // onto more lines; the section grows to hold them
    Shrink, // a smaller font, down to minSize; wraps if still too wide at that size
};

// One control of a section. Positions are millimetres from the section's
// top-left corner (a line runs from rect's top-left to its bottom-right).
struct LayoutItem {
    ItemKind kind = ItemKind::Label;
    QString name; // control name (LABEL14, txtdoc_dt); decorations may have none
    QRectF rect;
    QString text;        // label text
    QString column;      // field: the data column it shows
    QString formula;     // formula item: the formula's name
    QString format;      // "dd/mm/yy", ".00", "0.00", "#,##0.00"
    QString heading;     // detail field: its column heading in the CSV ...
    QString headingFrom; // ... or the page-header label that carries it
    Align align = Align::Left;
    double fontSize = 0; // points; 0 takes the layout's
    bool bold = false;
    double lineWidth = 0.2; // mm
    Fit fit = Fit::Line;
    double minSize = 6; // points: the smallest a shrinking text is drawn
};

struct LayoutSection {
    QString name;  // section2, SECTION1, SECTION5
    QString alias; // a, d, c
    SectionKind kind = SectionKind::Detail;
    double height = 0; // mm
    std::vector<LayoutItem> items;

    const LayoutItem* item(const QString& control) const;
};

// A layout file as read: the page, the sections and, for a report file, the
// query that reads the scratch tables the screen has just filled.
struct Layout {
    QString file; // the path it was read from
    QString name;
    double pageWidth = 210;  // mm, after orientation
    double pageHeight = 297; // a roll: unused, each piece is as long as its content
    bool roll = false;       // continuous paper cut after each bill (or group)
    double tearOff = 12;     // mm of a roll fed past the last line, to tear it off
    QString breakOn;         // a column: each run of one value starts a new page,
                             // with its own page numbers
    double marginLeft = 12, marginTop = 12, marginRight = 12, marginBottom = 12;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9;
    QString source;           // report files: the select of the scratch tables
    QStringList formulaNames; // formulas the file accepts beyond the shared ones
    std::vector<LayoutSection> sections;

    // By name or alias, without regard to case (SECTION1, "d"); null when absent.
    const LayoutSection* section(const QString& name) const;
    const LayoutSection* sectionOfKind(SectionKind kind) const;
};

// Where layout files are looked for: the data folder's reports/ first (a shop's
// own letterhead), then stokara/reports/ in the system's data folders (an
// installed program), then the program folder's reports/ (a build tree).
struct ReportFolders {
    QString dataDir;
    QString programDir; // empty: the folder of the running executable

    QStringList searchPaths(const QString& fileName) const;
};

// Reads a layout file by its name (RepItemBook.xml); throws ReportError naming
// the file when it is missing or cannot be read.
Layout loadLayout(const QString& fileName, const ReportFolders& folders);
// Reads a layout from its text; `file` names it in errors.
Layout parseLayout(const QByteArray& text, const QString& file);

} // namespace stokara::reports
