#include "skin/controls/qxskingeometry.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/regions.h"

namespace {

TqxSkinGeometry Element(const TRect& ASkinRect, TPoint ALT, TPoint ART, TPoint ALB, TPoint ARB,
                        TRect AClient = {}) {
    TqxSkinGeometry g;
    g.SkinRect = ASkinRect;
    g.LTPt = ALT;
    g.RTPt = ART;
    g.LBPt = ALB;
    g.RBPt = ARB;
    g.ClRect = AClient;
    g.ResizeMode = GetResizeMode(g);
    return g;
}

TEST(SkinGeometry, ResizeModeByRectangleAndPoints) {
    const struct {
        TRect Skin;
        TPoint LT, RT, LB, RB;
        Integer Mode;
    } cases[] = {
        {Rect(0, 0, 0, 30), {4, 4}, {60, 4}, {4, 21}, {60, 21}, -1},
        {Rect(0, 0, 100, 30), {4, 4}, {60, 4}, {4, 21}, {60, 21}, 1},
        // Both coordinates of RBPt are needed for nine parts.
        {Rect(0, 0, 100, 30), {}, {}, {}, {5, 0}, 0},
        {Rect(0, 0, 100, 30), {4, 0}, {60, 0}, {}, {5, 0}, 2},
        {Rect(0, 0, 100, 30), {0, 4}, {0, 0}, {0, 21}, {}, 3},
        {Rect(10, 10, 30, 30), {}, {}, {}, {}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Mode, Element(c.Skin, c.LT, c.RT, c.LB, c.RB).ResizeMode) << c.Skin.Right;
}

TEST(SkinGeometry, NinePartGrowsTheRightAndBottomPointsAndTheClient) {
    TqxSkinGeometry g = Element(Rect(0, 0, 100, 30), {5, 6}, {90, 6}, {5, 24}, {90, 24}, Rect(5, 6, 90, 24));
    Integer w = 160, h = 50;
    CalcSize(g, true, w, h);
    EXPECT_EQ(160, w);
    EXPECT_EQ(50, h);
    EXPECT_EQ(Point(5, 6), g.NewLTPoint);
    EXPECT_EQ(Point(150, 6), g.NewRTPoint);
    EXPECT_EQ(Point(5, 44), g.NewLBPoint);
    EXPECT_EQ(Point(150, 44), g.NewRBPoint);
    EXPECT_EQ(Rect(5, 6, 150, 44), g.NewClRect);
    EXPECT_EQ(145, g.RealClientWidth());
}

TEST(SkinGeometry, SizeTakenByMode) {
    const struct {
        TqxSkinGeometry G;
        bool HasElement;
        Integer AskW, AskH, W, H;
        TRect Client;
    } cases[] = {
        // Fixed size: the element's size, whatever is asked.
        {Element(Rect(10, 10, 40, 30), {}, {}, {}, {}, Rect(2, 2, 28, 18)), true, 90, 70, 30, 20,
         Rect(2, 2, 28, 18)},
        // Without an element a fixed-size element changes nothing.
        {Element(Rect(10, 10, 40, 30), {}, {}, {}, {}, Rect(2, 2, 28, 18)), false, 90, 70, 90, 70, TRect{}},
        // Three parts across: the height is the element's.
        {Element(Rect(0, 0, 100, 17), {17, 0}, {82, 0}, {}, {}, Rect(17, 0, 82, 17)), true, 200, 40, 200, 17,
         Rect(17, 0, 182, 17)},
        // Three parts down: the width is the element's.
        {Element(Rect(0, 0, 17, 100), {0, 17}, {}, {0, 82}, {}, Rect(0, 17, 17, 82)), true, 30, 150, 17, 150,
         Rect(0, 17, 17, 132)},
        // Nothing from the skin: nothing changes.
        {Element(TRect{}, {}, {}, {}, {}), true, 90, 70, 90, 70, TRect{}},
    };
    for (auto c : cases) {
        Integer w = c.AskW, h = c.AskH;
        CalcSize(c.G, c.HasElement, w, h);
        EXPECT_EQ(c.W, w) << c.G.ResizeMode;
        EXPECT_EQ(c.H, h) << c.G.ResizeMode;
        EXPECT_EQ(c.Client, c.G.NewClRect) << c.G.ResizeMode;
    }
}

TEST(SkinGeometry, MapSkinRectByMode) {
    const TqxSkinGeometry nine =
        Element(Rect(0, 0, 100, 30), {10, 10}, {90, 10}, {10, 20}, {90, 20}, Rect(10, 10, 90, 20));
    const TqxSkinGeometry across = Element(Rect(0, 0, 100, 30), {10, 0}, {90, 0}, {}, {});
    const TqxSkinGeometry down = Element(Rect(0, 0, 30, 100), {0, 10}, {}, {0, 90}, {});
    const struct {
        const TqxSkinGeometry* G;
        TRect R, Expected;
    } cases[] = {
        // 160 x 50: 60 wider, 20 higher.
        {&nine, Rect(1, 1, 5, 5), Rect(1, 1, 5, 5)},
        {&nine, Rect(92, 2, 96, 6), Rect(152, 2, 156, 6)},
        {&nine, Rect(2, 22, 6, 26), Rect(2, 42, 6, 46)},
        {&nine, Rect(92, 22, 96, 26), Rect(152, 42, 156, 46)},
        {&nine, Rect(5, 5, 95, 25), Rect(5, 5, 155, 45)},
        {&nine, Rect(5, 5, 95, 8), Rect(5, 5, 155, 8)},
        {&nine, Rect(5, 22, 95, 25), Rect(5, 42, 155, 45)},
        {&nine, Rect(5, 5, 8, 25), Rect(5, 5, 8, 45)},
        {&nine, Rect(92, 5, 95, 25), Rect(152, 5, 155, 45)},
        {&nine, Rect(40, 12, 50, 18), Rect(40, 12, 50, 18)},
        // A rectangle right of RTPt moves; one across the middle widens.
        {&across, Rect(92, 2, 98, 8), Rect(152, 2, 158, 8)},
        {&across, Rect(5, 2, 95, 8), Rect(5, 2, 155, 8)},
        {&across, Rect(20, 2, 30, 8), Rect(20, 2, 30, 8)},
        {&down, Rect(2, 92, 8, 98), Rect(2, 112, 8, 118)},
        {&down, Rect(2, 5, 8, 95), Rect(2, 5, 8, 115)},
    };
    for (const auto& c : cases) {
        const bool wide = c.G != &down;
        EXPECT_EQ(c.Expected, MapSkinRect(*c.G, c.R, wide ? 160 : 30, wide ? 50 : 120))
            << c.R.Left << "," << c.R.Top << "," << c.R.Right << "," << c.R.Bottom;
    }
}

// The region of a fixed-size element is the mask's black pixels; no mask, no region.
TEST(SkinGeometry, RegionIsTheMasksBlackPixels) {
    const std::string bmp =
        PaintedBmp(20, 10, [](Integer X, Integer Y) { return X < 10 + Y ? 0u : 0xFFFFFFu; });
    skinfixtures::TFixtureSkin files;
    files.Files[u"mask.bmp"] = bmp;
    const std::unique_ptr<TBitmap> mask = skinfixtures::FilePicture(files, u"mask.bmp");
    const TqxSkinGeometry g = Element(Rect(0, 0, 20, 10), {}, {}, {}, {});
    const win::HRGN region = CreateControlRegion(g, mask.get(), 20, 10);
    ASSERT_NE(nullptr, region);
    for (Integer y = 0; y < 10; ++y)
        for (Integer x = 0; x < 20; ++x)
            EXPECT_EQ(x < 10 + y, bool(win::PtInRegion(region, x, y))) << x << "," << y;
    win::DeleteObject(region);
    EXPECT_EQ(nullptr, CreateControlRegion(g, nullptr, 20, 10));
}

}  // namespace
