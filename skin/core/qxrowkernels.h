// The vector loops behind the row routines of qxroutines: N pixels a step
// (4 with SSE2, 8 with AVX2). Each returns how many pixels it did;
// the scalar routines finish the row. Only qxroutines.cpp and its tests use
// this header.
#pragma once

#include <cstdint>
#include <cstring>

// The helpers pass vectors by value only when inlined; the warning about
// their out-of-line calling convention (reported at the end of the including
// file) does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace qxkernels {

// Always inlined so that each caller compiles them for its own instruction
// set and no vector crosses a call.
#define QX_KERNEL [[gnu::always_inline]] inline

template <int N>
struct TVectors {
    typedef uint32_t Quads __attribute__((vector_size(4 * N)));
    // The same bytes as 16-bit halves.
    typedef uint16_t Halves __attribute__((vector_size(4 * N)));
};

template <int N>
QX_KERNEL typename TVectors<N>::Quads Load(const uint32_t* P) {
    typename TVectors<N>::Quads q;
    std::memcpy(&q, P, sizeof(q));
    return q;
}

template <int N>
QX_KERNEL void Store(uint32_t* P, typename TVectors<N>::Quads Q) {
    std::memcpy(P, &Q, sizeof(Q));
}

// AIf where AMask is all ones, AElse where it is zero: a bitwise select,
// which every vector unit has.
template <typename Q>
QX_KERNEL Q Select(Q AMask, Q AIf, Q AElse) {
    return (AMask & AIf) | (~AMask & AElse);
}

// Rows beyond what the hardware prefetcher keeps up with: ask for the pixels
// a few cache lines ahead (past the row's end that is the next row).
constexpr int PrefetchAhead = 128;

template <int N>
QX_KERNEL void Prefetch(const uint32_t* S, const uint32_t* D) {
    __builtin_prefetch(S + PrefetchAhead);
    __builtin_prefetch(D + PrefetchAhead, 1);
}

// Both blends run on pairs of channels in 16-bit halves, no widening: blue
// and red (the pixel masked with 0x00FF00FF), then green and alpha (shifted
// down by 8). Each channel is computed as (D 256 - D + (S - D) a) >> 8, resp.
// without the "- D": one product instead of two. The halves wrap, but the
// true value lies in 0 .. 65280, so it comes out exact; the result byte is
// the high byte of each half.
// One pair of channels (the low bytes of each half of AFrom and ATo).
template <int N, bool APlain>
QX_KERNEL typename TVectors<N>::Quads MixChannels(typename TVectors<N>::Quads AFrom,
                                                  typename TVectors<N>::Quads ATo,
                                                  typename TVectors<N>::Halves AAlpha) {
    using Halves = typename TVectors<N>::Halves;
    const Halves from = reinterpret_cast<Halves>(AFrom & 0x00FF00FFu);
    const Halves to = reinterpret_cast<Halves>(ATo & 0x00FF00FFu);
    Halves mixed = (to << 8) + (from - to) * AAlpha;
    if constexpr (APlain) mixed -= to;
    return reinterpret_cast<typename TVectors<N>::Quads>(mixed);
}

template <int N, bool APlain>
QX_KERNEL typename TVectors<N>::Quads Mix(typename TVectors<N>::Quads s, typename TVectors<N>::Quads d,
                                          typename TVectors<N>::Quads alpha) {
    using Halves = typename TVectors<N>::Halves;
    const Halves a = reinterpret_cast<Halves>(alpha | (alpha << 16));
    return ((MixChannels<N, APlain>(s, d, a) >> 8) & 0x00FF00FFu) |
           (MixChannels<N, APlain>(s >> 8, d >> 8, a) & 0xFF00FF00u);
}

// Alpha 255 takes the source. Plain: alpha 0 keeps the target, otherwise
// each colour (S a + D (255 - a)) >> 8 and alpha 255. MMX: every byte, alpha
// included, (D (256 - a) + S a) >> 8, which gives the target back by itself
// at alpha 0.
template <int N, bool APlain>
QX_KERNEL int BlendRowsOf(const uint32_t* S, uint32_t* D, int ACount) {
    using Quads = typename TVectors<N>::Quads;
    int i = 0;
    for (; i + N <= ACount; i += N) {
        Prefetch<N>(S + i, D + i);
        const Quads s = Load<N>(S + i), d = Load<N>(D + i);
        const Quads alpha = s >> 24;
        Quads mixed = Mix<N, APlain>(s, d, alpha);
        if constexpr (APlain) mixed = Select(Quads(alpha == 0), d, mixed | 0xFF000000u);
        Store<N>(D + i, Select(Quads(alpha == 255), s, mixed));
    }
    return i;
}

template <int N>
QX_KERNEL int BlendRows(const uint32_t* S, uint32_t* D, int ACount) {
    return BlendRowsOf<N, true>(S, D, ACount);
}

template <int N>
QX_KERNEL int BlendRowsMMX(const uint32_t* S, uint32_t* D, int ACount) {
    return BlendRowsOf<N, false>(S, D, ACount);
}

// Source pixels whose colour is not AKey are copied with alpha 255.
template <int N>
QX_KERNEL int CopyMaskedRows(const uint32_t* S, uint32_t* D, int ACount, uint32_t AKey) {
    using Quads = typename TVectors<N>::Quads;
    int i = 0;
    for (; i + N <= ACount; i += N) {
        const Quads s = Load<N>(S + i);
        Store<N>(D + i, Select(Quads((s & 0x00FFFFFFu) != AKey), s | 0xFF000000u, Load<N>(D + i)));
    }
    return i;
}

#undef QX_KERNEL

}  // namespace qxkernels
