#include "platform/gdi/objects.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/regions.h"

using namespace win;

TEST(Handles, DeletedHandlesStayInvalid) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(DeleteObject(brush));
    // A new object may take the slot; the old handle must not reach it.
    HBRUSH next = CreateSolidBrush(RGB(4, 5, 6));
    LOGBRUSH lb{};
    EXPECT_EQ(GetObject(brush, sizeof(lb), &lb), 0);
    EXPECT_FALSE(DeleteObject(brush));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    EXPECT_EQ(GetObjectType(brush), 0u);
    DeleteDC(dc);
    DeleteObject(next);
}

TEST(Handles, ForeignValuesAndWrongKindsFail) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    for (uintptr_t value : {uintptr_t(1), uintptr_t(0x12345), uintptr_t(0xDEADBEEF), ~uintptr_t(0)}) {
        auto handle = reinterpret_cast<HGDIOBJ>(value);
        EXPECT_EQ(GetObjectType(handle), 0u);
        EXPECT_EQ(SelectObject(dc, handle), nullptr);
        EXPECT_FALSE(DeleteObject(handle));
    }
    // A pen is not a DC, a DC is not a region.
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(pen)));
    EXPECT_EQ(GetRgnBox(reinterpret_cast<HRGN>(dc), nullptr), ERROR);
    EXPECT_FALSE(DeleteObject(dc));
    DeleteObject(pen);
    DeleteDC(dc);
}

TEST(Handles, SelectedObjectsCannotBeDeleted) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(dc);
}

TEST(Handles, StatesKeptBySaveDCHoldTheirObjects) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(dc, brush);
    SaveDC(dc);
    SelectObject(dc, old);
    EXPECT_FALSE(DeleteObject(brush));  // the saved state still has it
    RestoreDC(dc, -1);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    SaveDC(dc);
    DeleteDC(dc);  // drops the current and the saved state
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(Handles, DeletingADCReleasesItsBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(StockObjects, AreSharedAndSurviveDeleteObject) {
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(white, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(white));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObject(white, sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    ASSERT_EQ(GetObject(GetStockObject(NULL_BRUSH), sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, BS_NULL);
    EXPECT_EQ(GetStockObject(9), nullptr);  // no stock object there
}

TEST(StockObjects, AFreshDCSelectsThem) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    BITMAP bm{};
    ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteDC(dc);
}

TEST(GetObject, DescribesPensBrushesAndFontsAsCreated) {
    HPEN pen = CreatePen(PS_DOT, 3, RGB(10, 20, 30));
    LOGPEN lp{};
    ASSERT_EQ(GetObject(pen, sizeof(lp), &lp), int(sizeof(lp)));
    EXPECT_EQ(lp.lopnStyle, PS_DOT);
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, RGB(10, 20, 30));

    LOGFONTW in{};
    in.lfHeight = -11;  // the sign is part of the request and stays
    in.lfWeight = FW_BOLD;
    in.lfItalic = 1;
    in.lfCharSet = GB2312_CHARSET;
    std::char_traits<char16_t>::copy(in.lfFaceName, u"宋体", 2);
    HFONT font = CreateFontIndirect(&in);
    LOGFONTW out{};
    ASSERT_EQ(GetObject(font, sizeof(out), &out), int(sizeof(out)));
    EXPECT_EQ(std::memcmp(&in, &out, sizeof(in)), 0);
    EXPECT_EQ(GetObject(font, 0, nullptr), int(sizeof(LOGFONTW)));

    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    DeleteDC(dc);
    DeleteObject(font);
    DeleteObject(pen);
}

TEST(GetObject, TypesOfObjects) {
    HDC dc = CreateCompatibleDC(nullptr);
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 1, 1);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    EXPECT_EQ(GetObjectType(region), OBJ_REGION);
    EXPECT_EQ(GetObjectType(bitmap), OBJ_BITMAP);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), OBJ_PEN);
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
    EXPECT_EQ(GetObject(region, 0, nullptr), 0);  // regions have no description
    DeleteObject(bitmap);
    DeleteObject(region);
    DeleteDC(dc);
}

TEST(Brushes, OnlySolidAndNullStyles) {
    LOGBRUSH hatched{2, 0, 0};
    EXPECT_EQ(CreateBrushIndirect(&hatched), nullptr);
    LOGBRUSH hollow{BS_HOLLOW, 0, 0};
    HBRUSH brush = CreateBrushIndirect(&hollow);
    EXPECT_NE(brush, nullptr);
    DeleteObject(brush);
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
}
