#pragma once

#include "core/database.h"
#include "layout.h"

#include <QHash>
#include <QString>
#include <QVariant>

namespace stokara::reports {

// A value as a layout format shows it. Dates: "dd/mm/yy", "dd/mm/yyyy" (a date
// column of either engine, or a date text). Numbers: ".00" (no integer digit
// required, so zero is ".00"), "0.00", "#,##0.00", "0". No format: the text.
QString formatValue(const QVariant& value, const QString& format);

// The formula names every report file accepts.
const QStringList& sharedFormulaNames();

// A layout being filled by a screen: captions of labels, data fields of detail
// text boxes, formulas and the rows of the detail band. Sections and controls
// are addressed by the names the screens use; a name the layout does not have
// is a ReportError, never a silently empty report.
class Report {
public:
    explicit Report(Layout layout);

    const Layout& layout() const { return layout_; }

    void setCaption(const QString& section, const QString& control, const QString& text);
    void setDataField(const QString& section, const QString& control, const QString& column);
    // "name='value'" as a report screen hands it over ('' inside the quotes is one ').
    void setFormula(const QString& assignment);
    void setFormula(const QString& name, const QString& value);
    // A formula's value as set; empty when it was not.
    QString formulaValue(const QString& name) const { return formulas_.value(name.toLower()); }
    void setData(core::Rows rows) { rows_ = std::move(rows); }
    // A report file reads the scratch tables the screen has just filled through
    // its own query.
    void fetch(core::Database& db);

    const core::Rows& rows() const { return rows_; }
    // The text of a control outside the detail band ({page} and {pages} filled in).
    // A data field there shows `first` (the first row of the page's group), else
    // the report's first row.
    QString text(const LayoutItem& item, int page = 1, int pages = 1,
                 const core::Row* first = nullptr) const;
    // The text of a detail control for one row.
    QString detailText(const LayoutItem& item, const core::Row& row) const;
    // The column a detail control shows: the one set at run time, else the layout's.
    QString dataField(const LayoutItem& item) const;

private:
    const LayoutItem& control(const QString& section, const QString& control) const;
    // Where the item sits in this report's own layout, so a copied report keeps
    // what was set on it.
    int key(const LayoutItem& item) const;

    Layout layout_;
    QHash<int, QString> captions_;
    QHash<int, QString> fields_;
    QHash<QString, QString> formulas_;
    core::Rows rows_;
};

} // namespace stokara::reports
