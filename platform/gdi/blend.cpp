#include "platform/gdi/blend.h"

#include <algorithm>
#include <cstring>

namespace gdi {

namespace {

// round(x / 255) for x in 0 .. 255 * 255 + 255.
inline unsigned Div255(unsigned X) {
    X += 128;
    return (X + (X >> 8)) >> 8;
}

inline Pixel Over(Pixel S, Pixel D) {
    const unsigned inverse = 255 - (S >> 24);
    Pixel r = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned v = ((S >> shift) & 0xFF) + Div255(((D >> shift) & 0xFF) * inverse);
        r |= Pixel(std::min(v, 255u)) << shift;
    }
    return r;
}

inline Pixel Scale(Pixel S, unsigned A) {
    Pixel r = 0;
    for (int shift = 0; shift < 32; shift += 8)
        r |= Pixel(Div255(((S >> shift) & 0xFF) * A)) << shift;
    return r;
}

inline Pixel Mix(Pixel S, Pixel D, unsigned A) {
    Pixel r = 0;
    for (int shift = 0; shift < 32; shift += 8)
        r |= Pixel(Div255(((S >> shift) & 0xFF) * A + ((D >> shift) & 0xFF) * (255 - A))) << shift;
    return r;
}

// Eight pixels at a time: their 32 channels as bytes, and widened to 16 bits
// so that products fit. The compiler maps these onto the machine's vectors.
// The helpers are always inlined, also without optimisation: a call passing
// vectors between the plain and the AVX2 build would disagree on registers.
#pragma GCC diagnostic ignored "-Wpsabi"
#define VECTOR_HELPER [[gnu::always_inline]] inline
constexpr int Step = 8;
using Bytes = uint8_t __attribute__((vector_size(32)));
using Words = uint16_t __attribute__((vector_size(64)));

VECTOR_HELPER Words Widen(Bytes B) {
    return __builtin_convertvector(B, Words);
}
VECTOR_HELPER Bytes Narrow(Words W) {
    return __builtin_convertvector(W, Bytes);
}
VECTOR_HELPER Words Div255(Words X) {
    X += 128;
    return (X + (X >> 8)) >> 8;
}
// Each pixel's alpha in all four of its bytes.
using Quads = uint32_t __attribute__((vector_size(32)));
VECTOR_HELPER Bytes Alphas(Bytes P) {
    Quads a = reinterpret_cast<Quads>(P) >> 24;
    a |= a << 8;
    a |= a << 16;
    return reinterpret_cast<Bytes>(a);
}

VECTOR_HELPER Bytes Load(const Pixel* P) {
    Bytes b;
    std::memcpy(&b, P, sizeof(b));
    return b;
}
VECTOR_HELPER void Store(Pixel* P, Bytes B) {
    std::memcpy(P, &B, sizeof(B));
}

// target_clones: one plain and one AVX2 build, chosen when the program loads.
// ThreadSanitizer instruments the chooser, which runs before its runtime is
// up and crashes the program at load: one plain build there.
#if defined(__SANITIZE_THREAD__)
#define BLEND_CLONES
#else
#define BLEND_CLONES __attribute__((target_clones("avx2", "default")))
#endif

BLEND_CLONES int OverRows(Pixel* D, const Pixel* S, int N, unsigned A) {
    int i = 0;
    for (; i + Step <= N; i += Step) {
        Bytes s = Load(S + i);
        if (A != 255) s = Narrow(Div255(Widen(s) * uint16_t(A)));
        Words r = Widen(s) + Div255(Widen(Load(D + i)) * Widen(~Alphas(s)));
        r = r > 255 ? 255 : r;
        Store(D + i, Narrow(r));
    }
    return i;
}

BLEND_CLONES int MixRows(Pixel* D, const Pixel* S, int N, unsigned A) {
    int i = 0;
    for (; i + Step <= N; i += Step)
        Store(D + i,
              Narrow(Div255(Widen(Load(S + i)) * uint16_t(A) + Widen(Load(D + i)) * uint16_t(255 - A))));
    return i;
}

#undef VECTOR_HELPER
#undef BLEND_CLONES

}  // namespace

void BlendRow(Pixel* D, const Pixel* S, int N, uint8_t AConstantAlpha, bool ASourceAlpha) {
    const unsigned a = AConstantAlpha;
    if (ASourceAlpha) {
        for (int i = OverRows(D, S, N, a); i < N; ++i)
            D[i] = Over(a == 255 ? S[i] : Scale(S[i], a), D[i]);
    } else {
        for (int i = MixRows(D, S, N, a); i < N; ++i)
            D[i] = Mix(S[i], D[i], a);
    }
}

}  // namespace gdi
