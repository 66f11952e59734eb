#pragma once

#include "core/input_rules.h"

#include <QString>

#include <optional>

namespace stokara::masters {

// Characters the AccountHead text columns hold (0: no limit). Day-book
// vouchers carry the head in DayBook.AccountHead, so the head's is the smaller
// width.
struct AccountHeadWidths {
    int head = 0;
    int group = 0;
};

// Text too long for its column: the first problem, naming the field.
std::optional<core::Problem> checkAccountHead(const QString& head, const QString& group,
                                              const AccountHeadWidths& widths);

} // namespace stokara::masters
