#include "skin/controls/qxskinlabels.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"

namespace {

using namespace skinfixtures;
using namespace win;

class SkinLabel : public ControlTest {
protected:
    // How many pixels of AControl's rectangle on the form have AColor.
    Integer Count(TControl* AControl, TColor AColor) {
        Pump();
        Integer n = 0;
        for (Integer y = 0; y < AControl->Height(); ++y)
            for (Integer x = 0; x < AControl->Width(); ++x)
                n += TColor(driver::Pixel(FForm->Handle(), AControl->Left() + x, AControl->Top() + y)) ==
                     AColor;
        return n;
    }
};

TEST_F(SkinLabel, ADisabledLabelIsEmbossed) {
    FForm->SetColor(TColor(0x336699));
    auto* label = Add<TqxSkinStdLabel>(20, 20, 100, 20);
    label->SetCaption(u"转换完成 ABC");
    EXPECT_EQ(0, Count(label, ColorToRGB(clBtnHighlight)));
    label->SetEnabled(false);
    EXPECT_GT(Count(label, ColorToRGB(clBtnHighlight)), 10);
    EXPECT_GT(Count(label, ColorToRGB(clBtnShadow)), 10);
    // With a skin, in the skin's colours.
    LoadFlat();
    label->SetSkinData(FSkin);
    EXPECT_GT(Count(label, FSkin->SkinColors()->cBtnHighLight()), 10);
}

TEST_F(SkinLabel, WithoutAnElementTheDefaultFontOrTheOwnFont) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"stdlabel", u"fontheight", u"40");
    Load(skin);
    auto* label = Add<TqxSkinStdLabel>(20, 20, 10, 10);
    label->SetCaption(u"Velqua");
    label->SetSkinData(FSkin);
    const Integer skinned = label->Height();
    label->SetSkinDataName(u"nolabel");
    label->ChangeSkinData();
    EXPECT_EQ(-1, label->SkinIndex());
    const Integer byDefault = label->Height();
    EXPECT_LT(byDefault, skinned);
    label->Font()->SetHeight(30);
    label->SetUseSkinFont(false);
    label->ChangeSkinData();
    EXPECT_GT(label->Height(), byDefault);
    EXPECT_LT(label->Height(), skinned);
}

TEST_F(SkinLabel, EllipsesAreThePlatformsOwn) {
    const String path = u"/home/用户/视频/婚礼/一个很长的文件夹名字/00001.MTS";
    for (const auto& [type, flag] :
         {std::pair{qxetEndEllips, DT_END_ELLIPSIS}, {qxetPathEllips, DT_PATH_ELLIPSIS}}) {
        SCOPED_TRACE(Integer(type));
        auto* label = Add<TqxSkinStdLabel>(20, 20, 10, 10);
        label->SetAutoSize(false);
        label->SetBounds(20, 20, 120, 20);
        label->SetEllipsType(type);
        TBitmap drawn, expected;
        for (TBitmap* b : {&drawn, &expected}) {
            b->SetSize(120, 20);
            b->Canvas()->Brush()->SetColor(clWhite);
            b->Canvas()->FillRect(Rect(0, 0, 120, 20));
        }
        label->PaintSkinTo(drawn.Canvas(), 0, 0, path);
        TCanvas* canvas = expected.Canvas();
        canvas->Font()->Assign(label->DefaultFont());
        canvas->Brush()->SetStyle(bsClear);
        RECT r{0, 0, 120, 20};
        DrawTextW(canvas->Handle(), path.c_str(), Integer(path.size()), &r, DT_EXPANDTABS | flag);
        Integer differences = 0, ink = 0;
        for (Integer y = 0; y < 20; ++y)
            for (Integer x = 0; x < 120; ++x) {
                differences += drawn.Canvas()->Pixels(x, y) != expected.Canvas()->Pixels(x, y);
                ink += expected.Canvas()->Pixels(x, y) != clWhite;
            }
        EXPECT_EQ(0, differences);
        EXPECT_GT(ink, 20);
        delete label;
    }
}

TEST_F(SkinLabel, ARightAlignedTextLabelKeepsItsRightEdge) {
    auto* label = Add<TqxSkinTextLabel>(100, 20, 10, 10);
    label->SetAlignment(taRightJustify);
    label->Lines()->Add(u"输出目录");
    const Integer right = label->Left() + label->Width();
    const Integer oneLine = label->Height();
    EXPECT_GT(oneLine, 0);
    label->Lines()->Add(u"输出格式：MP4 - MPEG-4 视频格式");
    EXPECT_EQ(right, label->Left() + label->Width());
    EXPECT_GT(label->Height(), oneLine);
    // Empty lines leave no negative height.
    label->Lines()->Clear();
    EXPECT_EQ(0, label->Height());
    EXPECT_GE(label->Width(), 0);
}

TEST_F(SkinLabel, TheTextLabelsLayout) {
    auto* label = Add<TqxSkinTextLabel>(20, 20, 10, 10);
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 120, 60);
    label->Lines()->Add(u"■■■");
    // The text's top row: at the top, in the middle, at the bottom.
    const auto firstInkRow = [&]() {
        Pump();
        for (Integer y = 0; y < 60; ++y)
            for (Integer x = 0; x < 40; ++x)
                if (TColor(driver::Pixel(FForm->Handle(), 20 + x, 20 + y)) != ColorToRGB(FForm->Color()))
                    return y;
        return -1;
    };
    const Integer top = firstInkRow();
    label->SetLayout(tlCenter);
    const Integer centre = firstInkRow();
    label->SetLayout(tlBottom);
    const Integer bottom = firstInkRow();
    EXPECT_GT(centre, top);
    EXPECT_GT(bottom, centre);
    EXPECT_NEAR(centre - top, bottom - centre, 1);
}

}  // namespace
