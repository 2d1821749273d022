// The catalogue's tables by format key: rows with a Key field, held sorted by it.
#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "platform/base/types.h"

template <class TRow>
void SortByKey(std::vector<TRow>& ARows) {
    std::sort(ARows.begin(), ARows.end(), [](const TRow& A, const TRow& B) { return A.Key < B.Key; });
}

// Nil when no row has the key.
template <class TRow>
const TRow* FindByKey(std::span<const TRow> ARows, Integer AKey) {
    const auto found = std::lower_bound(ARows.begin(), ARows.end(), AKey,
                                        [](const TRow& ARow, Integer AValue) { return ARow.Key < AValue; });
    return found != ARows.end() && found->Key == AKey ? &*found : nullptr;
}
