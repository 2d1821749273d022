// What the list classes share: the index error text, a sort that is
// safe with any compare function, update brackets that survive errors and
// their Assign.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/base/classes.h"

inline constexpr char16_t SListIndexError[] = u"List index out of bounds (%d)";

// A stable merge sort. Callers pass their own compare functions, and the
// standard sorts may read past the range when such a function is
// inconsistent; this one never leaves it, whatever ALess answers.
template <typename T, typename TLess>
void SafeStableSort(std::vector<T>& AItems, TLess ALess) {
    const size_t n = AItems.size();
    if (n < 2) return;
    std::vector<T> buffer(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n);
            const size_t hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                buffer[k++] = ALess(AItems[j], AItems[i]) ? std::move(AItems[j++]) : std::move(AItems[i++]);
            while (i < mid)
                buffer[k++] = std::move(AItems[i++]);
            while (j < hi)
                buffer[k++] = std::move(AItems[j++]);
        }
        AItems.swap(buffer);
    }
}

// Runs AWork between AObject's BeginUpdate and EndUpdate; EndUpdate also
// runs when AWork throws, as a try/finally would.
template <typename TObj, typename TWork>
void WithUpdate(TObj& AObject, TWork&& AWork) {
    AObject.BeginUpdate();
    try {
        AWork();
    } catch (...) {
        AObject.EndUpdate();
        throw;
    }
    AObject.EndUpdate();
}

// Assign of a list class: from another TKind, replaces the content through
// ACopy(source) as one update; from anything else, the base's Assign.
template <typename TKind, typename TSelf, typename TCopy>
void AssignContent(TSelf& ASelf, TPersistent* ASource, TCopy&& ACopy) {
    auto* source = dynamic_cast<TKind*>(ASource);
    if (!source) {
        ASelf.TPersistent::Assign(ASource);
        return;
    }
    // Clearing first would empty the source too.
    if (source == &ASelf) return;
    WithUpdate(ASelf, [&] {
        ASelf.Clear();
        ACopy(*source);
    });
}
