#include "skin/core/qximagebuilders.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "skintest.h"

namespace {

// Every pixel of the test pictures names its own place (red = x, green =
// y, blue = Tag), so a built pixel tells which picture pixel it came from.
constexpr Cardinal Tag = 0x64;
// What no part wrote: blue C8 is never a picture pixel.
constexpr Cardinal Untouched = 0x0000C8;

std::unique_ptr<TBitmap> Picture(Integer AWidth, Integer AHeight) {
    auto picture = SolidBitmap(AWidth, AHeight, 0);
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x)
            SetRGB(*picture, x, y, Cardinal(x) << 16 | Cardinal(y) << 8 | Tag);
    return picture;
}

using TPlace = std::pair<Integer, Integer>;
constexpr TPlace Nowhere{-1, -1};

TPlace From(TBitmap& ABitmap, Integer X, Integer Y) {
    const Cardinal c = RGBAt(ABitmap, X, Y);
    if ((c & 0xFF) != Tag) return Nowhere;
    return {Integer(c >> 16 & 0xFF), Integer(c >> 8 & 0xFF)};
}

// The source pixel that scaling a span of ASource pixels onto ADest picks
// for destination pixel AAt (DESIGN's nearest-pixel rule).
Integer Nearest(Integer AAt, Integer ADest, Integer ASource) {
    return (2 * AAt + 1) * ASource / (2 * ADest);
}

// A 12 x 12 skin at (2, 3) of a 20 x 20 picture: bands of 3 around a 6 x 6
// centre; every edge runs from 4 to 8.
const TRect Skin{2, 3, 14, 15};

struct TGeometry {
    TPoint LT, RT, LB, RB;
    TRect Cl;
};
const TGeometry Fixture{{4, 4}, {8, 4}, {4, 8}, {8, 8}, {3, 3, 9, 9}};

// The geometry at W x H, as the callers derive it.
TGeometry Resized(const TGeometry& G, Integer W, Integer H, const TRect& ASkin = Skin) {
    const Integer dw = W - ASkin.Width(), dh = H - ASkin.Height();
    return {G.LT,
            {G.RT.X + dw, G.RT.Y},
            {G.LB.X, G.LB.Y + dh},
            {G.RB.X + dw, G.RB.Y + dh},
            {G.Cl.Left, G.Cl.Top, G.Cl.Right + dw, G.Cl.Bottom + dh}};
}

struct TFlags {
    bool Stretch = false;  // all four edges
    bool Effect = false;
    TqxStretchType Type = qxstFull;
    bool Client = true;
};

using TNinePartBuilder = decltype(&BuildNinePartImage);

void Build(TNinePartBuilder ABuilder, TBitmap& ADest, TBitmap* APicture, Integer W, Integer H,
           const TFlags& F, const TGeometry& G = Fixture, const TRect& ASkin = Skin) {
    const TGeometry n = Resized(G, W, H, ASkin);
    ABuilder(G.LT, G.RT, G.LB, G.RB, G.Cl, n.LT, n.RT, n.LB, n.RB, n.Cl, &ADest, APicture, ASkin, W, H,
             F.Client, F.Stretch, F.Stretch, F.Stretch, F.Stretch, F.Effect, F.Type);
}

// Every pixel of ABitmap came from the skin pixel the maps give.
void ExpectImage(TBitmap& ABitmap, const std::function<Integer(Integer)>& AX,
                 const std::function<Integer(Integer)>& AY, const TRect& ASkin = Skin) {
    for (Integer y = 0; y < ABitmap.Height(); ++y)
        for (Integer x = 0; x < ABitmap.Width(); ++x)
            ASSERT_EQ(TPlace(ASkin.Left + AX(x), ASkin.Top + AY(y)), From(ABitmap, x, y))
                << "at " << x << ", " << y;
}

Integer Same(Integer A) {
    return A;
}

TEST(NinePartImage, NaturalSizeReproducesTheSkinRect) {
    const auto picture = Picture(20, 20);
    const TFlags flags[] = {
        {}, {true}, {false, true, qxstFull}, {true, true, qxstHorz}, {false, true, qxstVert}};
    for (TNinePartBuilder builder : {&BuildNinePartImage, &BuildWindowNinePartImage})
        for (const TFlags& f : flags) {
            SCOPED_TRACE(testing::Message()
                         << "stretch " << f.Stretch << " effect " << f.Effect << " type " << f.Type);
            TBitmap image;
            Build(builder, image, picture.get(), 12, 12, f);
            ASSERT_EQ(12, image.Width());
            ASSERT_EQ(12, image.Height());
            ExpectImage(image, Same, Same);
        }
}

// Tiles start at the new corner point; the last one is cut, so a span of
// 9 for an edge of 4 ends with one column from the edge's start.
TEST(NinePartImage, TiledEdgesRepeatFromTheirStartAndCutTheLastTile) {
    const auto picture = Picture(20, 20);
    for (Integer size : {16, 17}) {
        SCOPED_TRACE(size);
        TBitmap image;
        Build(&BuildNinePartImage, image, picture.get(), size, size, {false, false});
        // The top edge and the left edge run from 4 to the new corner point.
        const Integer end = 8 + size - 12;
        const auto map = [&](Integer A) { return A < 4 ? A : A < end ? 4 + (A - 4) % 4 : 8 + A - end; };
        for (Integer y = 0; y < 3; ++y)
            for (Integer x = 0; x < size; ++x)
                ASSERT_EQ(TPlace(Skin.Left + map(x), Skin.Top + y), From(image, x, y)) << x << ", " << y;
        for (Integer y = 0; y < size; ++y)
            ASSERT_EQ(TPlace(Skin.Left, Skin.Top + map(y)), From(image, 0, y)) << y;
        EXPECT_EQ(TPlace(Skin.Left + (size == 17 ? 4 : 7), Skin.Top), From(image, end - 1, 0));
    }
}

TEST(NinePartImage, ScaledEdgesPickTheNearestPixel) {
    const auto picture = Picture(20, 20);
    TBitmap image;
    Build(&BuildNinePartImage, image, picture.get(), 20, 18, {true, false});
    for (Integer x = 4; x < 16; ++x)
        ASSERT_EQ(TPlace(Skin.Left + 4 + Nearest(x - 4, 12, 4), Skin.Top + 1), From(image, x, 1)) << x;
    for (Integer y = 4; y < 14; ++y)
        ASSERT_EQ(TPlace(Skin.Left + 10, Skin.Top + 4 + Nearest(y - 4, 10, 4)), From(image, 18, y)) << y;
    // The corners stay as they are.
    EXPECT_EQ(TPlace(Skin.Left + 11, Skin.Top + 11), From(image, 19, 17));
}

TEST(NinePartImage, TheCentreByStretchEffectAndStretchType) {
    const auto picture = Picture(20, 20);
    // At 20 x 20 the centre grows from 6 x 6 at (3, 3) to 14 x 14.
    const auto tiled = [](Integer A) { return 3 + (A - 3) % 6; };
    const auto scaled = [](Integer A) { return 3 + Nearest(A - 3, 14, 6); };
    struct TCase {
        TFlags Flags;
        std::function<Integer(Integer)> X, Y;
    } cases[] = {
        {{false, false}, tiled, tiled},
        {{false, true, qxstFull}, scaled, scaled},
        {{false, true, qxstHorz}, tiled, scaled},
        {{false, true, qxstVert}, scaled, tiled},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "effect " << c.Flags.Effect << " type " << c.Flags.Type);
        TBitmap image;
        Build(&BuildNinePartImage, image, picture.get(), 20, 20, c.Flags);
        for (Integer y = 3; y < 17; ++y)
            for (Integer x = 3; x < 17; ++x)
                ASSERT_EQ(TPlace(Skin.Left + c.X(x), Skin.Top + c.Y(y)), From(image, x, y)) << x << ", " << y;
    }
    // Without the draw-centre flag the centre is left alone.
    const auto image = SolidBitmap(20, 20, Untouched);
    Build(&BuildNinePartImage, *image, picture.get(), 20, 20, {false, false, qxstFull, false});
    EXPECT_EQ(Untouched, RGBAt(*image, 10, 10));
}

TEST(NinePartImage, AHorzCentreNarrowerThanItsSourceDrawsOneTileClippedToTheCentre) {
    const auto picture = Picture(20, 20);
    TBitmap image;
    Build(&BuildNinePartImage, image, picture.get(), 10, 16, {false, true, qxstHorz});
    // The centre is 4 x 10 at (3, 3); the right band from x = 7 is not overdrawn.
    for (Integer y = 3; y < 13; ++y) {
        for (Integer x = 3; x < 7; ++x)
            ASSERT_EQ(TPlace(Skin.Left + x, Skin.Top + 3 + Nearest(y - 3, 10, 6)), From(image, x, y))
                << x << y;
        for (Integer x = 7; x < 10; ++x)
            ASSERT_EQ(Skin.Left + 9 + x - 7, From(image, x, y).first) << x << ", " << y;
    }
}

TEST(NinePartImage, DegenerateGeometryLeavesTheDestinationSizedAndUntouched) {
    const auto picture = Picture(20, 20);
    TBitmap empty;
    TGeometry flatX = Fixture, flatY = Fixture;
    flatX.RB.X = flatX.LT.X;
    flatY.RB.Y = flatY.LT.Y;
    struct TCase {
        const char* Name;
        TGeometry Geometry;
        TBitmap* Picture;
    } cases[] = {{"RBPoint.X = LTPoint.X", flatX, picture.get()},
                 {"RBPoint.Y = LTPoint.Y", flatY, picture.get()},
                 {"empty picture", Fixture, &empty}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto image = SolidBitmap(5, 5, Untouched);
        Build(&BuildNinePartImage, *image, c.Picture, 8, 7, {true, true}, c.Geometry);
        ASSERT_EQ(8, image->Width());
        ASSERT_EQ(7, image->Height());
        for (Integer y = 0; y < 7; ++y)
            for (Integer x = 0; x < 8; ++x)
                ASSERT_EQ(x < 5 && y < 5 ? Untouched : 0u, RGBAt(*image, x, y)) << x << ", " << y;
    }
}

// A part to be tiled whose source has no length stays empty instead of
// dividing by zero: here the top edge (LTPoint.X = RTPoint.X) and, in a
// second skin, the centre (no height).
TEST(NinePartImage, PartsOfNoLengthStayEmpty) {
    const auto picture = Picture(20, 20);
    TGeometry noTopEdge = Fixture, noCentre = Fixture;
    noTopEdge.RT.X = noTopEdge.LT.X;
    noCentre.Cl.Bottom = noCentre.Cl.Top;
    const TFlags flags[] = {{false, false}, {false, true, qxstHorz}, {false, true, qxstVert}};
    for (const TFlags& f : flags) {
        SCOPED_TRACE(f.Type);
        const auto image = SolidBitmap(16, 16, Untouched);
        Build(&BuildNinePartImage, *image, picture.get(), 16, 16, f, noTopEdge);
        for (Integer x = 4; x < 8; ++x)
            ASSERT_EQ(Untouched, RGBAt(*image, x, 1)) << x;
        EXPECT_EQ(TPlace(Skin.Left + 4, Skin.Top + 1), From(*image, 8, 1));
        const auto centreless = SolidBitmap(16, 16, Untouched);
        Build(&BuildNinePartImage, *centreless, picture.get(), 16, 16, f, noCentre);
        EXPECT_EQ(16, centreless->Width());
    }
    TBitmap strip;
    BuildHorzThreePartImage(8, 8, &strip, picture.get(), Skin, 20, 12, false);
    BuildVertThreePartImage(8, 8, &strip, picture.get(), Skin, 12, 20, true);
    EXPECT_EQ(20, strip.Height());
}

// A skin rectangle from a file may reach past its picture: only what lies
// inside is copied, whole or scaled, and the rest of the image stays.
TEST(NinePartImage, PartsReachingPastThePictureCopyOnlyWhatLiesInside) {
    const auto picture = Picture(20, 20);
    const TRect skin{10, 10, 22, 22};
    struct TCase {
        Integer Size;
        TFlags Flags;
    } cases[] = {{12, {false, false}}, {12, {true, true}}, {16, {true, true}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Size << " stretch " << c.Flags.Stretch);
        const auto image = SolidBitmap(c.Size, c.Size, Untouched);
        Build(&BuildNinePartImage, *image, picture.get(), c.Size, c.Size, c.Flags, Fixture, skin);
        for (Integer y = 0; y < c.Size; ++y)
            for (Integer x = 0; x < c.Size; ++x) {
                // The last two columns and rows of the skin lie outside.
                const bool outside = x >= c.Size - 2 || y >= c.Size - 2;
                if (outside)
                    ASSERT_EQ(Untouched, RGBAt(*image, x, y)) << x << ", " << y;
                else if (c.Size == 12)
                    ASSERT_EQ(TPlace(skin.Left + x, skin.Top + y), From(*image, x, y)) << x << ", " << y;
                else
                    ASSERT_NE(Nowhere, From(*image, x, y)) << x << ", " << y;
            }
    }
}

TEST(NinePartImage, OpenRightRunsTheEdgesAndTheCentreToTheBorder) {
    const auto picture = Picture(20, 20);
    TBitmap image;
    Build(&BuildNinePartImageOpenRight, image, picture.get(), 17, 12, {false, false});
    const auto across = [](Integer Y) { return Y < 3 || Y >= 9; };
    for (Integer y = 0; y < 12; ++y)
        for (Integer x = 0; x < 17; ++x) {
            Integer sx = x;
            if (across(y) && x >= 4) sx = 4 + (x - 4) % 4;
            if (!across(y) && x >= 3) sx = 3 + (x - 3) % 6;
            ASSERT_EQ(TPlace(Skin.Left + sx, Skin.Top + y), From(image, x, y)) << x << ", " << y;
        }
    // A scaled-across centre is clipped at the border, not at NewClRect.
    TBitmap horz;
    Build(&BuildNinePartImageOpenRight, horz, picture.get(), 17, 12, {false, true, qxstHorz});
    EXPECT_EQ(TPlace(Skin.Left + 3 + 13 % 6, Skin.Top + 5), From(horz, 16, 5));
}

TEST(NinePartImage, StretchedSkinImageKeepsTheCornersAndScalesTheRest) {
    const auto picture = Picture(20, 20);
    const auto image = SolidBitmap(20, 16, Untouched);
    BuildStretchedSkinImage(image.get(), picture.get(), Skin, Fixture.Cl, true);
    ASSERT_EQ(20, image->Width());
    ExpectImage(
        *image, [](Integer X) { return X < 3    ? X
                                       : X < 17 ? 3 + Nearest(X - 3, 14, 6)
                                                : 9 + X - 17; },
        [](Integer Y) { return Y < 3    ? Y
                               : Y < 13 ? 3 + Nearest(Y - 3, 10, 6)
                                        : 9 + Y - 13; });
}

using TThreePartBuilder = decltype(&BuildHorzThreePartImage);

TEST(ThreePartImages, LeftRightAndMiddleAcross) {
    const auto picture = Picture(20, 20);
    // The middle of the skin is 5 wide (4 left, 3 right); 0 wide counts as 1.
    struct TCase {
        const char* Name;
        TThreePartBuilder Builder;
        Integer Left, Right;
        bool Stretch;
        std::function<Integer(Integer)> X;
    } cases[] = {
        {"three, tiled", &BuildHorzThreePartImage, 4, 3, false,
         [](Integer X) { return X < 4    ? X
                                : X < 17 ? 4 + (X - 4) % 5
                                         : 9 + X - 17; }},
        {"three, scaled", &BuildHorzThreePartImage, 4, 3, true,
         [](Integer X) { return X < 4    ? X
                                : X < 17 ? 4 + Nearest(X - 4, 13, 5)
                                         : 9 + X - 17; }},
        {"three, no middle", &BuildHorzThreePartImage, 6, 6, false,
         [](Integer X) { return X < 6    ? X
                                : X < 14 ? 6
                                         : 6 + X - 14; }},
        {"open right, tiled", &BuildHorzThreePartImageOpenRight, 4, 3, false,
         [](Integer X) { return X < 4 ? X : 4 + (X - 4) % 5; }},
        {"open right, scaled", &BuildHorzThreePartImageOpenRight, 4, 3, true,
         [](Integer X) { return X < 4 ? X : 4 + Nearest(X - 4, 16, 5); }},
        {"middle, tiled", &BuildHorzMiddlePartImage, 4, 3, false, [](Integer X) { return 4 + X % 5; }},
        {"middle, scaled", &BuildHorzMiddlePartImage, 4, 3, true,
         [](Integer X) { return 4 + Nearest(X, 20, 5); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap image;
        c.Builder(c.Left, c.Right, &image, picture.get(), Skin, 20, 99, c.Stretch);
        ASSERT_EQ(20, image.Width());
        ASSERT_EQ(12, image.Height());
        ExpectImage(image, c.X, Same);
    }
}

TEST(ThreePartImages, TopBottomAndMiddleDownwards) {
    const auto picture = Picture(20, 20);
    struct TCase {
        bool Stretch;
        std::function<Integer(Integer)> Y;
    } cases[] = {
        {false, [](Integer Y) { return Y < 4    ? Y
                                       : Y < 17 ? 4 + (Y - 4) % 5
                                                : 9 + Y - 17; }},
        {true, [](Integer Y) { return Y < 4    ? Y
                                      : Y < 17 ? 4 + Nearest(Y - 4, 13, 5)
                                               : 9 + Y - 17; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Stretch);
        TBitmap image;
        BuildVertThreePartImage(4, 3, &image, picture.get(), Skin, 99, 20, c.Stretch);
        ASSERT_EQ(12, image.Width());
        ASSERT_EQ(20, image.Height());
        ExpectImage(image, Same, c.Y);
    }
    // A middle of no height draws nothing.
    const auto image = SolidBitmap(12, 20, Untouched);
    BuildVertThreePartImage(6, 6, image.get(), picture.get(), Skin, 12, 20, false);
    EXPECT_EQ(Untouched, RGBAt(*image, 5, 10));
    EXPECT_EQ(TPlace(Skin.Left + 5, Skin.Top + 7), From(*image, 5, 15));
}

// A hostile skin's rectangle is cut to its picture before the strip is
// made: its thickness never follows the skin's number past the picture.
TEST(ThreePartImages, ARectangleReachingPastThePictureIsCutToIt) {
    const auto picture = Picture(20, 20);
    TBitmap image;
    BuildHorzThreePartImage(4, 3, &image, picture.get(), Rect(0, 10, 12, 100000), 30, 0, false);
    EXPECT_EQ(30, image.Width());
    EXPECT_EQ(10, image.Height());
    EXPECT_EQ(TPlace(0, 10), From(image, 0, 0));
    BuildVertThreePartImage(4, 3, &image, picture.get(), Rect(-100000, 0, 12, 12), 0, 30, false);
    EXPECT_EQ(12, image.Width());
    EXPECT_EQ(30, image.Height());
    BuildHorzMiddlePartImage(4, 3, &image, nullptr, Rect(0, 0, 12, 100000), 30, 0, false);
    EXPECT_EQ(0, image.Height());
}

TEST(BorderStrips, FourStripsWithTheirEdgesTiledFromTheStripsStart) {
    const auto picture = Picture(20, 20);
    const TGeometry& g = Fixture;
    const TGeometry n = Resized(g, 17, 15);
    TBitmap left, top, right, bottom;
    BuildBorderStrips(g.LT, g.RT, g.LB, g.RB, g.Cl, n.LT, n.RT, n.LB, n.RB, n.Cl, &left, &top, &right,
                      &bottom, picture.get(), Skin, 17, 15, false, false, false, false);
    for (TBitmap* strip : {&top, &bottom}) {
        ASSERT_EQ(17, strip->Width());
        ASSERT_EQ(3, strip->Height());
    }
    for (TBitmap* strip : {&left, &right}) {
        ASSERT_EQ(3, strip->Width());
        ASSERT_EQ(9, strip->Height());
    }
    const auto across = [](Integer X) { return X < 4 ? X : X < 13 ? 4 + X % 4 : 8 + X - 13; };
    ExpectImage(top, across, Same);
    ExpectImage(bottom, across, [](Integer Y) { return 9 + Y; });
    // The side edges start at the strip's top, under the fixed pieces of the
    // band above and below them: rows 3 and 8 of the skin.
    const Integer rows[] = {3, 5, 6, 7, 4, 5, 6, 7, 8};
    ExpectImage(left, Same, [&](Integer Y) { return rows[Y]; });
    ExpectImage(
        right, [](Integer X) { return 9 + X; }, [&](Integer Y) { return rows[Y]; });

    // Scaled, the side edge fills the rows between its fixed pieces.
    BuildBorderStrips(g.LT, g.RT, g.LB, g.RB, g.Cl, n.LT, n.RT, n.LB, n.RB, n.Cl, &left, &top, &right,
                      &bottom, picture.get(), Skin, 17, 15, true, true, true, true);
    ExpectImage(left, Same, [](Integer Y) { return Y == 0 ? 3 : Y == 8 ? 8 : 4 + Nearest(Y - 1, 7, 4); });
}

TEST(BorderStrips, StripsWithoutPixelsOrEdgeAreNotBuilt) {
    const auto picture = Picture(20, 20);
    TGeometry g = Fixture;
    g.RT.X = g.LT.X;  // no top edge
    const TGeometry n = Resized(g, 17, 15);
    TBitmap left, top, right, bottom;
    BuildBorderStrips(g.LT, g.RT, g.LB, g.RB, g.Cl, n.LT, n.RT, n.LB, n.RB, n.Cl, &left, &top, &right,
                      &bottom, picture.get(), Skin, 17, 15, false, false, false, false);
    EXPECT_TRUE(top.Empty());
    EXPECT_FALSE(bottom.Empty());
    // No room right of the centre: no right strip.
    TBitmap left2, top2, right2, bottom2;
    BuildBorderStrips(g.LT, g.RT, g.LB, g.RB, g.Cl, n.LT, n.RT, n.LB, n.RB, n.Cl, &left2, &top2, &right2,
                      &bottom2, picture.get(), Skin, n.Cl.Right, 15, false, false, false, false);
    EXPECT_TRUE(right2.Empty());
    EXPECT_FALSE(left2.Empty());
}

}  // namespace
