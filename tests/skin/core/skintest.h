// Helpers shared by the skin core tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "skin/core/qxbitmap.h"

// ABitmap becomes AWidth x AHeight holding APixels row by row (the rest 0).
void Fill(TqxBitmap& ABitmap, Integer AWidth, Integer AHeight, std::initializer_list<TqxColor> APixels);
// Every pixel, row by row.
std::vector<TqxColor> Pixels(const TqxBitmap& ABitmap);

// Puts the capability table and the routine tables back as the program
// starts them, after tests that flip probes.
void RestartRoutines();

class ProbeTest : public ::testing::Test {
protected:
    void TearDown() override { RestartRoutines(); }
};
