#include "platform/gdi/icons.h"

#include <gtest/gtest.h>

#include <string>

#include "gditest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

using namespace win;

namespace {

// A 2 x 1 icon: a colour bitmap (32-bit DIB section) and its mask.
HICON MakeIcon(uint32_t ALeft, uint32_t ARight, uint8_t AMaskBits) {
    TestBitmap color(2, 1);
    color.Set(0, 0, ALeft);
    color.Set(1, 0, ARight);
    const uint8_t maskBits[] = {AMaskBits, 0};
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    ICONINFO info{TRUE, 0, 0, mask, color.Bitmap()};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);  // the icon has its own copies
    return icon;
}

// The row after drawing the icon at its own size over ABackground.
std::string Drawn(TestBitmap& B, HICON AIcon, uint32_t ABackground, UINT AFlags = DI_NORMAL) {
    B.Fill(ABackground);
    EXPECT_TRUE(DrawIconEx(B.DC(), 0, 0, AIcon, 0, 0, 0, nullptr, AFlags));
    return B.RowText(0);
}

}  // namespace

TEST(Icons, AlphaIconsBlendAndWriteAlpha) {
    HICON icon = MakeIcon(0x80FF0000, 0x00000000, 0x00);  // half-transparent red, clear
    TestBitmap b(2, 1);
    EXPECT_EQ(Drawn(b, icon, 0x00000000), "80800000 00000000");
    EXPECT_EQ(Drawn(b, icon, 0xFF0000FF), "FF80007F FF0000FF");
    DestroyIcon(icon);
}

TEST(Icons, IconsWithoutAlphaUseTheMaskAndLeaveAlphaZero) {
    // Left pixel opaque green (mask 0), right transparent (mask 1, colour black).
    HICON icon = MakeIcon(0x0000FF00, 0x00000000, 0x40);
    TestBitmap b(2, 1);
    EXPECT_EQ(Drawn(b, icon, 0xFF123456), "0000FF00 00123456");
    EXPECT_EQ(Drawn(b, icon, 0xFF123456, DI_MASK), "00000000 00123456");
    // Whatever the DC's colours, the mask stays black and white.
    SetTextColor(b.DC(), RGB(255, 0, 0));
    SetBkColor(b.DC(), RGB(0, 0, 255));
    EXPECT_EQ(Drawn(b, icon, 0xFF123456), "0000FF00 00123456");
    DestroyIcon(icon);
}

TEST(Icons, ScaledDrawingBackgroundAndCopies) {
    HICON icon = MakeIcon(0x0000FF00, 0x00000000, 0x40);
    TestBitmap b(4, 2);
    ASSERT_TRUE(
        DrawIconEx(b.DC(), 0, 0, icon, 4, 2, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), DI_NORMAL));
    EXPECT_EQ(b.RowText(0), "0000FF00 0000FF00 00FFFFFF 00FFFFFF");
    EXPECT_EQ(b.RowText(1), "0000FF00 0000FF00 00FFFFFF 00FFFFFF");

    HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 1, 1, LR_COPYFROMRESOURCE));
    ASSERT_NE(small, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_TRUE(DeleteObject(info.hbmColor));  // copies belong to the caller
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    EXPECT_EQ(CopyImage(icon, IMAGE_BITMAP, 1, 1, 0), nullptr);
    DestroyIcon(small);
    DestroyIcon(icon);
}

TEST(Icons, MonochromeIconsAndStaleHandles) {
    // AND row 0 1, XOR row 1 1: left pixel inverted-white, right pixel inverted.
    const uint8_t bits[] = {0x40, 0, 0xC0, 0};
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, bits);
    ICONINFO info{TRUE, 0, 0, mask, nullptr};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    TestBitmap b(2, 1);
    EXPECT_EQ(Drawn(b, icon, 0x00123456), "00FFFFFF 00EDCBA9");
    EXPECT_FALSE(DeleteObject(icon));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(b.DC(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    // A mask of odd height cannot hold two halves; sizes must agree.
    HBITMAP odd = CreateBitmap(2, 3, 1, 1, nullptr);
    ICONINFO bad{TRUE, 0, 0, odd, nullptr};
    EXPECT_EQ(CreateIconIndirect(&bad), nullptr);
    bad.hbmColor = mask;
    EXPECT_EQ(CreateIconIndirect(&bad), nullptr);
    DeleteObject(odd);
    DeleteObject(mask);
}

TEST(Icons, TheApplicationStockIconIsSharedAndDrawsAWindow) {
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, IDI_APPLICATION), icon);
    EXPECT_EQ(LoadIconW(nullptr, reinterpret_cast<const WCHAR*>(ULONG_PTR(32516))), nullptr);
    // Shared: destroying it leaves it usable.
    EXPECT_TRUE(DestroyIcon(icon));
    TestBitmap b(32, 32);
    b.Fill(0xFF123456);
    ASSERT_TRUE(DrawIconEx(b.DC(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    const std::string corner = b.RowText(0).substr(0, 8);
    EXPECT_EQ(corner, "FF123456");  // the clear margin keeps the background
    EXPECT_NE(b.RowText(16).substr(9 * 10, 8), "FF123456");
    // The small copy a caption shows is a new icon of its own.
    HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
    ASSERT_NE(small, nullptr);
    TestBitmap s(16, 16);
    s.Fill(0xFF000000);
    ASSERT_TRUE(DrawIconEx(s.DC(), 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_NE(s.RowText(8).substr(9 * 8, 8), "FF000000");
    EXPECT_TRUE(DestroyIcon(small));
    EXPECT_FALSE(DestroyIcon(small));
}
