// Helpers shared by the skin core tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/toolkit/bitmap.h"
#include "skin/core/qxbitmap.h"

// ABitmap becomes AWidth x AHeight holding APixels row by row (the rest 0).
void Fill(TqxBitmap& ABitmap, Integer AWidth, Integer AHeight, std::initializer_list<TqxColor> APixels);
// Every pixel, row by row.
std::vector<TqxColor> Pixels(const TqxBitmap& ABitmap);

// A pf24bit (or pf32bit) toolkit bitmap of AWidth x AHeight in one colour,
// and its pixel at X, Y as 0x00RRGGBB.
std::unique_ptr<TBitmap> SolidBitmap(Integer AWidth, Integer AHeight, Cardinal ARGB,
                                     TPixelFormat AFormat = pf24bit);
Cardinal RGBAt(TBitmap& ABitmap, Integer X, Integer Y);
void SetRGB(TBitmap& ABitmap, Integer X, Integer Y, Cardinal ARGB);

// Puts the capability table and the routine tables back as the program
// starts them, after tests that flip probes.
void RestartRoutines();

class ProbeTest : public ::testing::Test {
protected:
    void TearDown() override { RestartRoutines(); }
};

// A fresh memory desktop, application and screen per test, on the test clock.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
