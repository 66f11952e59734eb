#include "entry_cycle.h"

namespace stokara::core {

QString outcomeMessage(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::NothingLoaded:
        return kNothingLoaded;
    case WriteOutcome::Gone:
        return kEntryGone;
    default:
        return {};
    }
}

void EntryCycle::loaded(const QVariant& key, bool correctNow) {
    key_ = key;
    correcting_ = correctNow && key.isValid();
}

void EntryCycle::reset() {
    key_ = QVariant();
    correcting_ = false;
}

WriteOutcome EntryCycle::save(const std::function<void()>& insert,
                              const std::function<bool(const QVariant& key)>& update) {
    if (!correcting_) {
        insert();
        reset();
        return WriteOutcome::Inserted;
    }
    if (!key_.isValid())
        return WriteOutcome::NothingLoaded;
    if (!update(key_)) {
        reset();
        return WriteOutcome::Gone;
    }
    reset();
    return WriteOutcome::Updated;
}

WriteOutcome EntryCycle::remove(const QVariant& key,
                                const std::function<bool(const QVariant& key)>& del) {
    const bool hit = del(key);
    if (key_.isValid() && key_ == key)
        reset();
    return hit ? WriteOutcome::Removed : WriteOutcome::Gone;
}

} // namespace stokara::core
