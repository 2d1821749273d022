// The process's pseudo-random generator: a linear congruential generator
// whose sequence is fixed by the seed, so tests that set it are repeatable.
#pragma once

#include "platform/base/types.h"

// 0 <= result < ARange; 0 when ARange <= 0 (the seed still steps).
Integer Random(Integer ARange);
// 0 <= result < 1.
double Random();
// Seeds from the real-time clock.
void Randomize();
void SetRandSeed(Cardinal AValue);
Cardinal RandSeed();
