// Bit-flag sets over unscoped enumerations whose values are ordinals 0..63.
#pragma once

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> AItems) {
        for (E item : AItems)
            FBits |= Bit(item);
    }

    constexpr bool Contains(E AItem) const { return (FBits & Bit(AItem)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E AItem) {
        FBits |= Bit(AItem);
        return *this;
    }
    constexpr TSet& Exclude(E AItem) {
        FBits &= ~Bit(AItem);
        return *this;
    }
    constexpr uint64_t Bits() const { return FBits; }

    constexpr friend TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
    constexpr friend TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
    constexpr friend TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
    constexpr friend bool operator==(TSet A, TSet B) { return A.FBits == B.FBits; }
    // True when every member of A is in B.
    constexpr friend bool operator<=(TSet A, TSet B) { return (A.FBits & ~B.FBits) == 0; }

    static constexpr TSet FromBits(uint64_t ABits) {
        TSet s;
        s.FBits = ABits;
        return s;
    }

private:
    static constexpr uint64_t Bit(E AItem) { return uint64_t{1} << static_cast<unsigned>(AItem); }
    uint64_t FBits = 0;
};
