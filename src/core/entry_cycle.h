#pragma once

#include <QString>
#include <QVariant>

#include <functional>

namespace stokara::core {

// What an entry screen's Save or delete did.
enum class WriteOutcome {
    Inserted,
    Updated,
    Removed,
    NothingLoaded, // a correction was asked for with no entry loaded
    Gone,          // the loaded entry was deleted meanwhile (by another counter)
};

inline const QString kEntryGone = QStringLiteral("This entry no longer exists.");
inline const QString kNothingLoaded =
    QStringLiteral("Click the entry to correct in the list first.");

// The message an outcome owes the operator; "" for a write that happened.
QString outcomeMessage(WriteOutcome outcome);

// The load / correct / save / delete cycle of an entry screen, without widgets.
// It keeps the key of the entry that was loaded into the fields (never the grid
// cursor, which the operator may move meanwhile), so a correction rewrites
// exactly that entry, and an update or delete that hit no row is reported as
// gone instead of saved.
class EntryCycle {
public:
    // An entry was loaded into the fields. Masters correct what they load at
    // once; the sale, purchase and vouchers wait for F6.
    void loaded(const QVariant& key, bool correctNow = false);
    // F6: the next Save corrects the loaded entry.
    void startCorrection() { correcting_ = true; }
    // Clear, F3, F5, a finished save: new entries from here on.
    void reset();

    bool correcting() const { return correcting_; }
    bool hasLoaded() const { return key_.isValid(); }
    QVariant loadedKey() const { return key_; }

    // Insert when not correcting; otherwise the update of the loaded entry,
    // which returns whether it hit a row. A write that happened leaves
    // correction mode; a refused one keeps everything as it was, except that a
    // gone entry is forgotten.
    WriteOutcome save(const std::function<void()>& insert,
                      const std::function<bool(const QVariant& key)>& update);
    // Deletes one entry (the loaded one or a grid row's); the loaded entry is
    // forgotten when it is the one removed.
    WriteOutcome remove(const QVariant& key, const std::function<bool(const QVariant& key)>& del);

private:
    QVariant key_;
    bool correcting_ = false;
};

} // namespace stokara::core
