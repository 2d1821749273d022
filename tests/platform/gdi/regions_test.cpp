#include "platform/gdi/regions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/objects.h"

using namespace win;

namespace {

// '#' for every pixel of the region in a W x H grid, rows joined by '|'.
std::string Map(HRGN ARegion, int AWidth, int AHeight) {
    std::string text;
    for (int y = 0; y < AHeight; ++y) {
        if (y) text += '|';
        for (int x = 0; x < AWidth; ++x)
            text += PtInRegion(ARegion, x, y) ? '#' : '.';
    }
    return text;
}

std::vector<uint8_t> RegionData(const std::vector<RECT>& ARects, DWORD ACountOverride = ~0u) {
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + ARects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = ACountOverride == ~0u ? DWORD(ARects.size()) : ACountOverride;
    std::memcpy(data.data(), &header, sizeof(header));
    if (!ARects.empty())
        std::memcpy(data.data() + sizeof(header), ARects.data(), ARects.size() * sizeof(RECT));
    return data;
}

}  // namespace

TEST(CombineRgn, EveryModeOnTwoOverlappingSquares) {
    struct Case {
        int Mode;
        const char* Map;
        int Result;
    };
    const Case cases[] = {
        {RGN_AND, "...|.#.|...", SIMPLEREGION},  {RGN_OR, "##.|###|.##", COMPLEXREGION},
        {RGN_XOR, "##.|#.#|.##", COMPLEXREGION}, {RGN_DIFF, "##.|#..|...", COMPLEXREGION},
        {RGN_COPY, "##.|##.|...", SIMPLEREGION},
    };
    HRGN a = CreateRectRgn(0, 0, 2, 2);
    HRGN b = CreateRectRgn(1, 1, 3, 3);
    for (const Case& c : cases) {
        HRGN dest = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(dest, a, b, c.Mode), c.Result) << c.Mode;
        EXPECT_EQ(Map(dest, 3, 3), c.Map) << c.Mode;
        DeleteObject(dest);
    }
    DeleteObject(a);
    DeleteObject(b);
}

TEST(CombineRgn, ResultCodesAndFailures) {
    HRGN a = CreateRectRgn(0, 0, 2, 2);
    HRGN b = CreateRectRgn(5, 5, 6, 6);
    HRGN dest = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(dest, a, nullptr, RGN_COPY), SIMPLEREGION);  // the second is not needed
    EXPECT_EQ(CombineRgn(dest, a, nullptr, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(dest, a, b, 6), ERROR);
    // The destination may be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 5, 5));
    DeleteObject(b);
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_OR), ERROR);  // b is gone
    DeleteObject(a);
    DeleteObject(dest);
}

TEST(Regions, RectanglesExcludeTheirRightAndBottomEdges) {
    HRGN r = CreateRectRgn(3, 2, 1, 0);  // corners in any order
    EXPECT_EQ(Map(r, 4, 3), ".##.|.##.|....");
    RECT box{};
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{1, 0, 3, 2}));
    const RECT touching{3, 0, 5, 2}, overlapping{2, 1, 9, 9}, reversed{9, 9, 2, 1};
    EXPECT_FALSE(RectInRegion(r, &touching));
    EXPECT_TRUE(RectInRegion(r, &overlapping));
    EXPECT_TRUE(RectInRegion(r, &reversed));
    EXPECT_EQ(OffsetRgn(r, -1, 1), SIMPLEREGION);
    EXPECT_EQ(Map(r, 4, 3), "....|##..|##..");
    DeleteObject(r);

    const RECT empty{4, 4, 4, 9};
    HRGN e = CreateRectRgnIndirect(&empty);
    EXPECT_EQ(GetRgnBox(e, &box), NULLREGION);
    EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
    DeleteObject(e);
}

TEST(Regions, EqualityIsBySetOfPixels) {
    HRGN a = CreateRectRgn(0, 0, 4, 2);
    HRGN left = CreateRectRgn(0, 0, 2, 2);
    HRGN right = CreateRectRgn(2, 0, 4, 2);
    HRGN joined = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(joined, left, right, RGN_OR);
    EXPECT_TRUE(EqualRgn(a, joined));
    EXPECT_FALSE(EqualRgn(a, left));
    EXPECT_FALSE(EqualRgn(a, nullptr));
    for (HRGN r : {a, left, right, joined})
        DeleteObject(r);
}

TEST(RegionData, RoundTripsThroughExtCreateRegion) {
    // Two runs on row 0 and one on row 1, as mask scanning produces them.
    const std::vector<RECT> runs = {{0, 0, 2, 1}, {3, 0, 5, 1}, {1, 1, 4, 2}};
    std::vector<uint8_t> data = RegionData(runs);
    HRGN r = ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Map(r, 5, 2), "##.##|.###.");

    const DWORD size = GetRegionData(r, 0, nullptr);
    EXPECT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
    std::vector<uint8_t> out(size + 8);
    EXPECT_EQ(GetRegionData(r, size - 1, reinterpret_cast<RGNDATA*>(out.data())), 0u);
    EXPECT_EQ(GetRegionData(r, DWORD(out.size()), reinterpret_cast<RGNDATA*>(out.data())), DWORD(out.size()));
    RGNDATAHEADER header{};
    std::memcpy(&header, out.data(), sizeof(header));
    EXPECT_EQ(header.dwSize, 32u);
    EXPECT_EQ(header.iType, RDH_RECTANGLES);
    EXPECT_EQ(header.nCount, 3u);
    EXPECT_EQ(header.nRgnSize, 48u);
    EXPECT_EQ(header.rcBound, (RECT{0, 0, 5, 2}));
    std::vector<RECT> rects(3);
    std::memcpy(rects.data(), out.data() + 32, 48);
    EXPECT_EQ(rects, runs);
    DeleteObject(r);
}

TEST(RegionData, EmptyAndMalformedData) {
    std::vector<uint8_t> none = RegionData({});
    HRGN empty = ExtCreateRegion(nullptr, DWORD(none.size()), reinterpret_cast<RGNDATA*>(none.data()));
    ASSERT_NE(empty, nullptr);
    RECT box{};
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    DeleteObject(empty);

    std::vector<uint8_t> claimsMore = RegionData({{0, 0, 1, 1}}, 2);
    EXPECT_EQ(
        ExtCreateRegion(nullptr, DWORD(claimsMore.size()), reinterpret_cast<RGNDATA*>(claimsMore.data())),
        nullptr);
    std::vector<uint8_t> ok = RegionData({{0, 0, 1, 1}});
    EXPECT_EQ(ExtCreateRegion(nullptr, 31, reinterpret_cast<RGNDATA*>(ok.data())), nullptr);
    ok[4] = 2;  // iType
    EXPECT_EQ(ExtCreateRegion(nullptr, DWORD(ok.size()), reinterpret_cast<RGNDATA*>(ok.data())), nullptr);
    XFORM identity{};
    ok[4] = 1;
    EXPECT_EQ(ExtCreateRegion(&identity, DWORD(ok.size()), reinterpret_cast<RGNDATA*>(ok.data())), nullptr);
}

TEST(RoundRectRgn, CutsSymmetricCorners) {
    HRGN r = CreateRoundRectRgn(0, 0, 6, 6, 4, 4);
    EXPECT_EQ(Map(r, 6, 6), ".####.|######|######|######|######|.####.");
    DeleteObject(r);
    HRGN square = CreateRoundRectRgn(0, 0, 3, 2, 0, 0);
    EXPECT_EQ(Map(square, 3, 2), "###|###");
    DeleteObject(square);
    HRGN pill = CreateRoundRectRgn(0, 0, 8, 4, 8, 4);
    EXPECT_EQ(Map(pill, 8, 4), ".######.|########|########|.######.");
    DeleteObject(pill);
}

TEST(Regions, HugeCoordinatesStayInRange) {
    HRGN r = CreateRectRgn(-2147483647, -2147483647, 2147483647, 2147483647);
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    EXPECT_EQ(OffsetRgn(r, 1 << 27, 0), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(r, -5, 0));
    EXPECT_TRUE(PtInRegion(r, 5, 0));
    EXPECT_EQ(OffsetRgn(r, 2147483647, 0), NULLREGION);  // moved out of the coordinate space
    DeleteObject(r);
}
