#include "caption_languages.h"

#include "core/caption_language.h"
#include "core/session.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <exception>

namespace stokara::presentation {

namespace {

// The collection-summary labels are drawn smaller in the Hindi and third-language sets.
const QStringList kSummaryLabels = {
    QStringLiteral("LblSiftTotal"),  QStringLiteral("LblTotalMember"),
    QStringLiteral("LblAverageFat"), QStringLiteral("Label6"),
    QStringLiteral("Label5"),        QStringLiteral("LblSiftMember"),
    QStringLiteral("LblLeftMember"), QStringLiteral("LblSifAmount"),
    QStringLiteral("LblSnfAverage"), QStringLiteral("LblCanLabel")};

// Screens that show the Hindi and the Punjabi captions; the third language
// reaches every screen.
const QStringList kHindiScreens = {
    QStringLiteral("FrmCompany"),      QStringLiteral("frmmasitem"), QStringLiteral("FrmItemsale"),
    QStringLiteral("FrmCardRecharge"), QStringLiteral("FrmHead"),    QStringLiteral("masparty"),
    QStringLiteral("Frmitempurchase"), QStringLiteral("FrmDayBook")};
const QStringList kPunjabiScreens = {QStringLiteral("FrmCompany"), QStringLiteral("frmmasitem"),
                                     QStringLiteral("FrmHead"), QStringLiteral("FrmVendor"),
                                     QStringLiteral("masparty")};

bool readFile(const QString& path, QByteArray* content) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *content = file.readAll();
    return true;
}

// Puts the caption on a control that shows one; false for any other widget.
bool setCaption(QWidget* w, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(w))
        frame->setTitle(text);
    else
        return false;
    return true;
}

} // namespace

const CaptionStyle& captionStyle(CaptionLanguage language) {
    static const CaptionStyle hindi{"hindi.txt", "Noto Sans Devanagari", 20, 15};
    static const CaptionStyle punjabi{"punjabi.txt", "Noto Sans Gurmukhi", 15, 15};
    static const CaptionStyle gujarati{"gujarati.txt", "Noto Sans Gujarati", 20, 15};
    switch (language) {
    case CaptionLanguage::Hindi:
        return hindi;
    case CaptionLanguage::Punjabi:
        return punjabi;
    case CaptionLanguage::Gujarati:
        break;
    }
    return gujarati;
}

CaptionSet parseCaptionSet(const QByteArray& utf8) {
    CaptionSet set;
    for (const QString& raw : QString::fromUtf8(utf8).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype gap = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        if (gap < 0)
            continue;
        const QString text = line.mid(gap).trimmed();
        if (!text.isEmpty())
            set.append({line.left(gap), text});
    }
    return set;
}

CaptionSet loadCaptionSet(CaptionLanguage language, const QString& dataDir) {
    const QString file = QString::fromLatin1(captionStyle(language).file);
    QByteArray content;
    if (!dataDir.isEmpty() &&
        readFile(QDir(dataDir).filePath(QStringLiteral("captions/") + file), &content))
        return parseCaptionSet(content);
    // An installed program's sets (/usr/share/stokara/captions), as the
    // system's data folders list them; the built-in copy serves a build tree.
    const QString shared = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QStringLiteral("stokara/captions/") + file);
    if (!shared.isEmpty() && readFile(shared, &content))
        return parseCaptionSet(content);
    if (readFile(QStringLiteral(":/captions/") + file, &content))
        return parseCaptionSet(content);
    return {};
}

int applyCaptionSet(QWidget* screen, const CaptionSet& set, const CaptionStyle& style) {
    // The first control of a name wins, as a lookup by name would find it.
    QHash<QString, QWidget*> byName;
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        const QString key = w->objectName().toLower();
        if (!key.isEmpty() && !byName.contains(key))
            byName.insert(key, w);
    }
    int put = 0;
    for (const Caption& caption : set) {
        QWidget* w = byName.value(caption.name.toLower());
        if (!w || !setCaption(w, caption.text))
            continue;
        QFont font = w->font();
        font.setFamilies({QString::fromLatin1(style.family)});
        font.setPointSize(kSummaryLabels.contains(caption.name, Qt::CaseInsensitive)
                              ? style.summarySize
                              : style.size);
        font.setBold(true);
        w->setFont(font);
        ++put;
    }
    return put;
}

void applyCaptions(QWidget* screen, const core::Session& session) {
    const auto apply = [&](CaptionLanguage language) {
        try {
            applyCaptionSet(screen, loadCaptionSet(language, session.dataDir),
                            captionStyle(language));
        } catch (const std::exception&) {
            // A caption that cannot be put stays English; the screen still opens.
        }
    };
    const QString yes = QStringLiteral("Y");
    const QString name = screen->objectName();
    if (session.languageFlags[core::kThirdLanguageFlag] == yes)
        apply(CaptionLanguage::Gujarati);
    if (session.languageFlags[core::kHindiFlag] == yes && kHindiScreens.contains(name))
        apply(CaptionLanguage::Hindi);
    if (session.languageFlags[core::kPunjabiFlag] == yes && kPunjabiScreens.contains(name))
        apply(CaptionLanguage::Punjabi);
}

} // namespace stokara::presentation
