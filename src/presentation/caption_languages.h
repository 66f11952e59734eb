#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::presentation {

// One caption of a set: the control name it belongs to and its text.
struct Caption {
    QString name;
    QString text;
    bool operator==(const Caption&) const = default;
};
// A caption set in file order; a name may come twice, the later one winning
// when the set is applied.
using CaptionSet = QList<Caption>;

// The three caption sets and how their labels are drawn.
enum class CaptionLanguage { Hindi, Punjabi, Gujarati };
struct CaptionStyle {
    const char* file;   // captions/<file>: data folder, system data folders, built in
    const char* family; // a Unicode font that draws the set's script
    int size;           // points
    int summarySize;    // points, for the collection-summary labels
};
const CaptionStyle& captionStyle(CaptionLanguage language);

// A caption file: "name<TAB or blanks>caption" per line (UTF-8); empty lines,
// lines starting with '#' and names without a caption are skipped.
CaptionSet parseCaptionSet(const QByteArray& utf8);

// The set of a language: the data folder's captions/<file> when it can be
// read, else stokara/captions/<file> in the system's data folders (an installed
// program), else the copy built into the program; empty when none reads.
CaptionSet loadCaptionSet(CaptionLanguage language, const QString& dataDir);

// Puts each caption of the set, in order, on the screen's label, button or
// frame of that name (compared without regard to case, as control names
// are), with the style's font, size and bold. Names the screen lacks are
// skipped. Returns how many captions were put.
int applyCaptionSet(QWidget* screen, const CaptionSet& set, const CaptionStyle& style);

// The session's caption hook: the third language on every screen, the Hindi
// set on the screens that carry it, the Punjabi set likewise, as the flags
// say. A failure leaves the English captions.
void applyCaptions(QWidget* screen, const core::Session& session);

} // namespace stokara::presentation
