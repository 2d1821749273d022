#include "skin/controls/qxskinsplitters.h"

#include <gtest/gtest.h>

#include "controltest.h"

namespace {

using namespace skinfixtures;

class SkinSplitter : public ControlTest {};

TEST_F(SkinSplitter, TakesTheThicknessOfItsElement) {
    LoadFlat();
    auto* top = Add<TqxSkinSplitter>(0, 0, 100, 30);
    top->SetAlign(alTop);
    top->SetSkinDataName(u"hsplitter");
    top->SetSkinData(FSkin);
    EXPECT_EQ(6, top->Height());
    auto* left = Add<TqxSkinSplitter>(0, 0, 30, 100);
    left->SetAlign(alLeft);
    left->SetSkinData(FSkin);
    EXPECT_EQ(6, left->Width());
    // Drawn from the element: its middle and its grip in the centre.
    EXPECT_EQ(FlatColor(u"hsplitter", u"skinrect", fpCenter), FormPixel(top->Left() + 30, top->Top() + 1));
    EXPECT_EQ(FlatColor(u"hsplitter", u"gripperrect", fpWhole),
              FormPixel(top->Left() + top->Width() / 2, top->Top() + 3));
    // A transparent one keeps the default size and draws nothing; without a
    // skin it is the default size too.
    top->SetTransparent(true);
    top->ChangeSkinData();
    EXPECT_EQ(10, top->Height());
    left->SetSkinData(nullptr);
    EXPECT_EQ(10, left->Width());
}

TEST_F(SkinSplitter, ADividerIsOneGrooveTwoPixelsShortOfTheEnds) {
    auto* bevel = Add<TqxSkinBevel>(20, 20, 25, 70);
    bevel->SetDividerMode(true);
    EXPECT_EQ(ColorToRGB(clBtnShadow), FormPixel(20 + 11, 20 + 2));
    EXPECT_EQ(ColorToRGB(clBtnShadow), FormPixel(20 + 11, 20 + 67));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), FormPixel(20 + 12, 20 + 67));
    EXPECT_NE(ColorToRGB(clBtnShadow), FormPixel(20 + 11, 20 + 1));
    EXPECT_NE(ColorToRGB(clBtnHighlight), FormPixel(20 + 12, 20 + 69));
    // The skin's colours, raised the other way round.
    LoadFlat();
    bevel->SetSkinData(FSkin);
    bevel->SetStyle(bsRaised);
    EXPECT_EQ(bevel->LightColor, FormPixel(20 + 11, 20 + 5));
    EXPECT_EQ(bevel->DarkColor, FormPixel(20 + 12, 20 + 5));
    EXPECT_NE(ColorToRGB(clBtnShadow), bevel->DarkColor);
}

TEST_F(SkinSplitter, TheBevelShapes) {
    auto* bevel = Add<TqxSkinBevel>(20, 20, 30, 20);
    const struct {
        TBevelShape Shape;
        Integer X, Y;
        TColor Color;
    } cases[] = {{bsBox, 0, 10, clBtnShadow},         {bsBox, 29, 10, clBtnHighlight},
                 {bsTopLine, 10, 0, clBtnShadow},     {bsTopLine, 10, 1, clBtnHighlight},
                 {bsBottomLine, 10, 18, clBtnShadow}, {bsBottomLine, 10, 19, clBtnHighlight},
                 {bsLeftLine, 0, 10, clBtnShadow},    {bsRightLine, 29, 10, clBtnHighlight},
                 {bsFrame, 0, 10, clBtnShadow},       {bsFrame, 1, 10, clBtnHighlight}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Integer(c.Shape));
        bevel->SetShape(c.Shape);
        EXPECT_EQ(ColorToRGB(c.Color), FormPixel(20 + c.X, 20 + c.Y));
    }
}

}  // namespace
