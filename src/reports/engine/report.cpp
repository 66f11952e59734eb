#include "report.h"

#include <QDate>
#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cmath>

namespace stokara::reports {

namespace {

QDate asDate(const QVariant& value) {
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    // SQLite keeps dates as ISO text, with or without a time of day. Read by
    // hand: a long ledger formats thousands of them.
    const QString text = value.toString().trimmed();
    if (text.size() < 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return {};
    return QDate(QStringView(text).left(4).toInt(), QStringView(text).mid(5, 2).toInt(),
                 QStringView(text).mid(8, 2).toInt());
}

QString formatNumber(double value, const QString& format) {
    const int point = format.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? format : format.left(point);
    const int decimals = point < 0 ? 0 : static_cast<int>(format.size() - point - 1);
    const bool grouped = whole.contains(QLatin1Char(','));
    const bool leadingZero = whole.contains(QLatin1Char('0'));
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    // A value that rounds to zero shows no sign.
    const bool negative = value < 0 && std::any_of(digits.cbegin(), digits.cend(), [](QChar c) {
                              return c >= QLatin1Char('1') && c <= QLatin1Char('9');
                          });
    QString integer = decimals > 0 ? digits.left(digits.indexOf(QLatin1Char('.'))) : digits;
    const QString fraction =
        decimals > 0 ? digits.mid(digits.indexOf(QLatin1Char('.'))) : QString();
    if (integer == QLatin1String("0") && !leadingZero && decimals > 0)
        integer.clear(); // ".00" shows zero as ".00" and a half as ".50"
    if (grouped)
        for (int i = static_cast<int>(integer.size()) - 3; i > 0; i -= 3)
            integer.insert(i, QLatin1Char(','));
    return (negative ? QStringLiteral("-") : QString()) + integer + fraction;
}

// A column the rows may not carry yet (a layout ahead of its data): "".
QString optionalText(const core::Row& row, const QString& column) {
    try {
        return row.text(column);
    } catch (const core::DbError&) {
        return {};
    }
}

} // namespace

QString formatValue(const QVariant& value, const QString& format) {
    if (value.isNull() || !value.isValid())
        return {};
    if (format.isEmpty()) {
        if (value.typeId() == QMetaType::Double) {
            // A whole number without ".0", as the program shows numbers.
            const double v = value.toDouble();
            return v == std::floor(v) && std::fabs(v) < 1e15 ? QString::number(qint64(v))
                                                             : QString::number(v);
        }
        return value.toString();
    }
    if (format.startsWith(QLatin1String("dd"), Qt::CaseInsensitive)) {
        const QDate date = asDate(value);
        if (!date.isValid())
            return value.toString();
        if (format == QLatin1String("dd/mm/yyyy") || format == QLatin1String("dd/mm/yy")) {
            const int year = format.size() == 10 ? date.year() : date.year() % 100;
            return QStringLiteral("%1/%2/%3")
                .arg(date.day(), 2, 10, QLatin1Char('0'))
                .arg(date.month(), 2, 10, QLatin1Char('0'))
                .arg(year, format.size() == 10 ? 4 : 2, 10, QLatin1Char('0'));
        }
        QString qtFormat = format;
        qtFormat.replace(QLatin1String("mm"), QLatin1String("MM"));
        return date.toString(qtFormat);
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    return formatNumber(number, format);
}

const QStringList& sharedFormulaNames() {
    static const QStringList names{
        QStringLiteral("dairyname"),   QStringLiteral("fromdate"),     QStringLiteral("todate"),
        QStringLiteral("reporttitle"), QStringLiteral("partycode"),    QStringLiteral("partyname"),
        QStringLiteral("mobileno"),    QStringLiteral("address"),      QStringLiteral("city"),
        QStringLiteral("partymobile"), QStringLiteral("partyaddress"), QStringLiteral("partycity"),
        QStringLiteral("amtinwords"),  QStringLiteral("mgstno"),       QStringLiteral("creditline"),
        QStringLiteral("upilink"),
    };
    return names;
}

Report::Report(Layout layout) : layout_(std::move(layout)) {}

const LayoutItem& Report::control(const QString& sectionName, const QString& controlName) const {
    const LayoutSection* section = layout_.section(sectionName);
    if (!section)
        throw ReportError(QStringLiteral("The report layout %1 has no section %2.")
                              .arg(QDir::toNativeSeparators(layout_.file), sectionName));
    const LayoutItem* item = section->item(controlName);
    if (!item)
        throw ReportError(
            QStringLiteral("The report layout %1 has no control %2 in section %3.")
                .arg(QDir::toNativeSeparators(layout_.file), controlName, sectionName));
    return *item;
}

int Report::key(const LayoutItem& item) const {
    for (size_t s = 0; s < layout_.sections.size(); ++s) {
        const auto& items = layout_.sections[s].items;
        if (!items.empty() && &item >= &items.front() && &item <= &items.back())
            return int(s) * 100000 + int(&item - &items.front());
    }
    return -1; // not of this report: nothing was set on it
}

void Report::setCaption(const QString& section, const QString& controlName, const QString& text) {
    captions_[key(control(section, controlName))] = text;
}

void Report::setDataField(const QString& section, const QString& controlName,
                          const QString& column) {
    const LayoutItem& item = control(section, controlName);
    if (item.kind != ItemKind::Field)
        throw ReportError(QStringLiteral("%1 in the report layout %2 is not a data field.")
                              .arg(controlName, QDir::toNativeSeparators(layout_.file)));
    fields_[key(item)] = column;
}

void Report::setFormula(const QString& assignment) {
    const int equals = assignment.indexOf(QLatin1Char('='));
    QString value = equals < 0 ? QString() : assignment.mid(equals + 1).trimmed();
    if (equals < 0 || value.size() < 2 || !value.startsWith(QLatin1Char('\'')) ||
        !value.endsWith(QLatin1Char('\'')))
        throw ReportError(
            QStringLiteral("The formula %1 is not of the form name='value'.").arg(assignment));
    value = value.mid(1, value.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
    setFormula(assignment.left(equals).trimmed(), value);
}

void Report::setFormula(const QString& name, const QString& value) {
    const QString lower = name.toLower();
    if (!sharedFormulaNames().contains(lower) &&
        !layout_.formulaNames.contains(name, Qt::CaseInsensitive))
        throw ReportError(QStringLiteral("The report file %1 has no formula %2.")
                              .arg(QDir::toNativeSeparators(layout_.file), name));
    formulas_[lower] = value;
}

void Report::fetch(core::Database& db) {
    if (layout_.source.isEmpty())
        throw ReportError(QStringLiteral("The report file %1 names no data (<source>).")
                              .arg(QDir::toNativeSeparators(layout_.file)));
    rows_ = db.query(layout_.source);
}

QString Report::dataField(const LayoutItem& item) const {
    return fields_.value(key(item), item.column);
}

QString Report::text(const LayoutItem& item, int page, int pages, const core::Row* first) const {
    switch (item.kind) {
    case ItemKind::Label: {
        QString t = captions_.value(key(item), item.text);
        t.replace(QLatin1String("{page}"), QString::number(page));
        t.replace(QLatin1String("{pages}"), QString::number(pages));
        return t;
    }
    case ItemKind::Formula:
        return formulas_.value(item.formula.toLower());
    case ItemKind::Qr:
        if (!item.formula.isEmpty())
            return formulas_.value(item.formula.toLower());
        if (first)
            return optionalText(*first, item.column);
        return rows_.empty() ? QString() : optionalText(rows_.front(), item.column);
    case ItemKind::Field: {
        // A field outside the detail band shows a caption set at run time, or the first row's
        // value.
        if (captions_.contains(key(item)))
            return captions_.value(key(item));
        const QString column = dataField(item);
        if (column.isEmpty() || (rows_.empty() && !first))
            return {};
        return formatValue((first ? *first : rows_.front()).value(column), item.format);
    }
    default:
        return {};
    }
}

QString Report::detailText(const LayoutItem& item, const core::Row& row) const {
    if (item.kind == ItemKind::Qr && !item.column.isEmpty())
        return optionalText(row, item.column);
    if (item.kind != ItemKind::Field)
        return text(item);
    const QString column = dataField(item);
    return column.isEmpty() ? QString() : formatValue(row.value(column), item.format);
}

} // namespace stokara::reports
