#include "platform/base/random.h"

#include <time.h>

#include <atomic>

namespace {

std::atomic<Cardinal> GSeed{0};

// seed := seed * 0x08088405 + 1 (mod 2^32); one step per number, never torn
// or lost between threads.
Cardinal NextSeed() {
    Cardinal seed = GSeed.load(std::memory_order_relaxed);
    Cardinal next;
    do {
        next = seed * 0x08088405u + 1u;
    } while (!GSeed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
    return next;
}

}  // namespace

Integer Random(Integer ARange) {
    const Cardinal seed = NextSeed();
    if (ARange <= 0) return 0;
    return static_cast<Integer>((static_cast<UInt64>(seed) * static_cast<UInt64>(ARange)) >> 32);
}

double Random() {
    return static_cast<double>(NextSeed()) / 4294967296.0;
}

void Randomize() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    SetRandSeed(static_cast<Cardinal>(now.tv_sec) * 1000003u ^ static_cast<Cardinal>(now.tv_nsec));
}

void SetRandSeed(Cardinal AValue) {
    GSeed.store(AValue, std::memory_order_relaxed);
}

Cardinal RandSeed() {
    return GSeed.load(std::memory_order_relaxed);
}
