#include "platform/toolkit/canvas.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"

namespace {

// A white 32-bit bitmap whose canvas the tests draw on, read back as TColor.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        FBitmap.SetPixelFormat(pf32bit);
        FBitmap.SetSize(8, 6);
        Canvas()->FillRect(Rect(0, 0, 8, 6));
    }
    TCanvas* Canvas() { return FBitmap.Canvas(); }
    // One letter per pixel of a row: '.' white, 'x' black, 'r' red.
    std::string Row(Integer Y) {
        std::string row;
        for (Integer x = 0; x < FBitmap.Width(); ++x) {
            TColor c = Canvas()->Pixels(x, Y);
            row += c == clWhite ? '.' : c == clBlack ? 'x' : c == clRed ? 'r' : '?';
        }
        return row;
    }

    TBitmap FBitmap;
};

TEST_F(CanvasTest, FillsFramesAndClearBrushes) {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(1, 1, 3, 2));
    Canvas()->Brush()->SetColor(clBlack);
    Canvas()->FrameRect(Rect(4, 1, 8, 4));
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->FillRect(Rect(0, 0, 8, 6));
    EXPECT_EQ("........", Row(0));
    EXPECT_EQ(".rr.xxxx", Row(1));
    EXPECT_EQ("....x..x", Row(2));
    EXPECT_EQ("....xxxx", Row(3));
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    Canvas()->MoveTo(1, 1);
    Canvas()->LineTo(5, 1);
    EXPECT_EQ(Point(5, 1), Canvas()->PenPos());
    const TPoint points[] = {{0, 3}, {3, 3}, {3, 5}};
    Canvas()->Polyline(points);
    EXPECT_EQ(".xxxx...", Row(1));
    EXPECT_EQ("xxxx....", Row(3));
    EXPECT_EQ("...x....", Row(4));
    EXPECT_EQ("........", Row(5));
}

TEST_F(CanvasTest, ShapesUseThePenAndTheBrush) {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->Rectangle(0, 0, 4, 3);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Rectangle(Rect(4, 2, 8, 6));
    EXPECT_EQ("xxxx....", Row(0));
    EXPECT_EQ("xrrx....", Row(1));
    EXPECT_EQ("xxxxxxxx", Row(2));
    EXPECT_EQ("....x..x", Row(3));
    EXPECT_EQ("....xxxx", Row(5));
}

// Drawing on Handle() with the system's calls uses the canvas's tools.
TEST_F(CanvasTest, TheHandleCarriesThePenAndTheBrush) {
    Canvas()->Brush()->SetColor(clRed);
    win::Rectangle(Canvas()->Handle(), 0, 0, 4, 3);
    EXPECT_EQ("xxxx....", Row(0));
    EXPECT_EQ("xrrx....", Row(1));
}

TEST_F(CanvasTest, PolygonsAndEllipsesFill) {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->Pen()->SetColor(clRed);
    const TPoint triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    Canvas()->Polygon(triangle);
    EXPECT_EQ(clRed, Canvas()->Pixels(1, 1));
    EXPECT_EQ(clWhite, Canvas()->Pixels(4, 4));
    Canvas()->Ellipse(2, 0, 8, 6);
    EXPECT_EQ(clRed, Canvas()->Pixels(5, 3));
    EXPECT_EQ(clWhite, Canvas()->Pixels(7, 5));
}

TEST_F(CanvasTest, PixelsAndPenModes) {
    Canvas()->SetPixels(2, 2, clBtnShadow);
    EXPECT_EQ(0xA0A0A0, Canvas()->Pixels(2, 2));
    EXPECT_EQ(-1, Canvas()->Pixels(20, 2));
    Canvas()->Pen()->SetMode(pmNot);
    Canvas()->MoveTo(0, 4);
    Canvas()->LineTo(3, 4);
    EXPECT_EQ("xxx.....", Row(4));
}

TEST_F(CanvasTest, FocusRectanglesInvertAndUndoThemselves) {
    Canvas()->DrawFocusRect(Rect(0, 0, 8, 6));
    EXPECT_NE("........", Row(0));
    EXPECT_EQ("......", Row(3).substr(1, 6));
    Canvas()->DrawFocusRect(Rect(0, 0, 8, 6));
    for (Integer y = 0; y < 6; ++y)
        EXPECT_EQ("........", Row(y));
}

TEST_F(CanvasTest, CopyRectScalesWithTheCopyMode) {
    TBitmap source;
    source.SetPixelFormat(pf32bit);
    source.SetSize(2, 1);
    source.Canvas()->SetPixels(0, 0, clBlack);
    source.Canvas()->SetPixels(1, 0, clRed);
    Canvas()->CopyRect(Rect(0, 0, 4, 2), source.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ("xxrr....", Row(0));
    EXPECT_EQ("xxrr....", Row(1));
    Canvas()->SetCopyMode(cmDstInvert);
    Canvas()->CopyRect(Rect(0, 0, 1, 1), source.Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(clWhite, Canvas()->Pixels(0, 0));
}

TEST_F(CanvasTest, TextMovesThePenAndMeasures) {
    Canvas()->Font()->SetName(u"Arial");
    Canvas()->Font()->SetHeight(-12);
    const TSize extent = Canvas()->TextExtent(u"Hello");
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);
    EXPECT_EQ(extent.cx, Canvas()->TextWidth(u"Hello"));
    EXPECT_EQ(extent.cy, Canvas()->TextHeight(u"Hello"));
    Canvas()->TextOut(1, 0, u"Hello");
    EXPECT_EQ(Point(1 + extent.cx, 0), Canvas()->PenPos());
    Canvas()->Font()->SetHeight(-24);
    EXPECT_GT(Canvas()->TextWidth(u"Hello"), extent.cx);
}

TEST_F(CanvasTest, TextRectStaysInsideItsRectangle) {
    Canvas()->Font()->SetHeight(-20);
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->TextRect(Rect(2, 1, 6, 4), 0, 0, u"WWW");
    EXPECT_EQ("........", Row(0));
    EXPECT_EQ("........", Row(4));
    EXPECT_EQ('.', Row(2)[1]);
    EXPECT_EQ('.', Row(2)[6]);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextRect(Rect(0, 5, 8, 6), 0, -40, u"W");
    EXPECT_EQ("........", Row(5));
}

TEST_F(CanvasTest, ReportsEveryDrawingOperation) {
    int changing = 0, changed = 0;
    Canvas()->OnChanging = [&](TObject*) { ++changing; };
    Canvas()->OnChange = [&](TObject*) { ++changed; };
    Canvas()->FillRect(Rect(0, 0, 1, 1));
    Canvas()->LineTo(2, 2);
    Canvas()->SetPixels(0, 0, clRed);
    Canvas()->TextExtent(u"x");
    EXPECT_EQ(3, changing);
    EXPECT_EQ(3, changed);
}

TEST(Canvas, WithoutADeviceContextItCannotDraw) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    try {
        canvas.FillRect(Rect(0, 0, 1, 1));
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(u"Canvas does not allow drawing", e.Message());
    }
}

TEST(Canvas, ReleasesWhatItSelectedWhenTheHandleGoes) {
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Rectangle(0, 0, 2, 2);
        canvas.TextExtent(u"x");
        EXPECT_EQ(canvas.Font()->Handle(), win::GetCurrentObject(dc, win::OBJ_FONT));
        canvas.SetHandle(nullptr);
        EXPECT_NE(canvas.Font()->Handle(), win::GetCurrentObject(dc, win::OBJ_FONT));
        EXPECT_NE(canvas.Pen()->Handle(), win::GetCurrentObject(dc, win::OBJ_PEN));
        EXPECT_NE(canvas.Brush()->Handle(), win::GetCurrentObject(dc, win::OBJ_BRUSH));
    }
    EXPECT_TRUE(win::DeleteDC(dc));
}

TEST(Canvas, LockNestsAndExcludesOtherThreads) {
    TCanvas canvas;
    canvas.Lock();
    EXPECT_TRUE(canvas.TryLock());
    EXPECT_EQ(2, canvas.LockCount());
    bool other = true;
    std::thread([&] { other = canvas.TryLock(); }).join();
    EXPECT_FALSE(other);
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(0, canvas.LockCount());
    std::thread([&] {
        other = canvas.TryLock();
        if (other) canvas.Unlock();
    }).join();
    EXPECT_TRUE(other);
}

}  // namespace

namespace {

// A second canvas borrowing the bitmap's DC gives the DC back with the
// bitmap canvas's own tools still selected.
TEST(CanvasOnBorrowedDC, LettingGoRestoresTheToolsItFound) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(4, 4);
    win::HDC dc = bitmap.Canvas()->Handle();
    const win::HGDIOBJ ownFont = win::GetCurrentObject(dc, win::OBJ_FONT);
    const win::HGDIOBJ ownBrush = win::GetCurrentObject(dc, win::OBJ_BRUSH);
    {
        TCanvas borrowed;
        borrowed.SetHandle(dc);
        borrowed.Font()->SetName(u"Arial");
        borrowed.Brush()->SetColor(clRed);
        borrowed.Handle();  // selects all of its tools
        EXPECT_NE(win::GetCurrentObject(dc, win::OBJ_FONT), ownFont);
        borrowed.SetHandle(nullptr);
    }
    EXPECT_EQ(win::GetCurrentObject(dc, win::OBJ_FONT), ownFont);
    EXPECT_EQ(win::GetCurrentObject(dc, win::OBJ_BRUSH), ownBrush);
}

}  // namespace
