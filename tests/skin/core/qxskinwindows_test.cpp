// The window-wide sections: the layered frame's images, the skin colours,
// the sections' round trip, and the form frame's normalisation.
#include "skin/core/qxskinwindows.h"

#include <gtest/gtest.h>

#include "elementtest.h"
#include "skin/core/qxskindata.h"
#include "skinfixtures.h"

using namespace skinfixtures;

namespace {

TEST(SkinWindows, DefaultsBeforeAnySkin) {
    TqxSkinData data(nullptr);
    EXPECT_EQ(-1, data.PopupWindow()->WindowPictureIndex);
    EXPECT_EQ(-1, data.HintWindow()->MaskPictureIndex);
    EXPECT_EQ(u"Tahoma", data.HintWindow()->FontName);
    EXPECT_EQ(13, data.HintWindow()->FontHeight);
    EXPECT_EQ(-1, data.LayerFrame()->BlurMaskPictureIndex);
    EXPECT_EQ(255, data.LayerFrame()->InActiveAlphaBlendValue);
    EXPECT_FALSE(data.LayerFrame()->FSourceBitmap);
    // The colours are 0 until the skin data is cleared or loaded.
    EXPECT_EQ(0, data.SkinColors()->cBtnFace());
    data.ClearAll();
    EXPECT_EQ(clBtnFace, data.SkinColors()->cBtnFace());
    EXPECT_EQ(-16777201, data.SkinColors()->cBtnFace());
    EXPECT_EQ(clBtnShadow, data.SkinColors()->cBtnShadow());
    EXPECT_EQ(clHighlightText, data.SkinColors()->cHighLightText());
}

TEST(SkinWindows, SectionsRoundTrip) {
    TqxSkinData data(nullptr);
    data.PopupWindow()->ItemsRect = Rect(1, 2, 3, 4);
    data.PopupWindow()->StretchType = qxstVert;
    data.LayerFrame()->HitTestRBPoint = Point(9, 8);
    data.LayerFrame()->HeightOffset = 7;
    data.HintWindow()->FontStyle = TFontStyles{fsItalic};
    data.SkinColors()->SetcWindow(0x123456);
    TMemIniFile ini;
    data.PopupWindow()->SaveToFile(&ini);
    data.LayerFrame()->SaveToFile(&ini);
    data.HintWindow()->SaveToFile(&ini);
    data.SkinColors()->SaveToFile(&ini);
    TqxSkinData read(nullptr);
    read.PopupWindow()->LoadFromFile(&ini);
    read.LayerFrame()->LoadFromFile(&ini);
    read.HintWindow()->LoadFromFile(&ini);
    read.SkinColors()->LoadFromFile(&ini);
    TMemIniFile again;
    read.PopupWindow()->SaveToFile(&again);
    read.LayerFrame()->SaveToFile(&again);
    read.HintWindow()->SaveToFile(&again);
    read.SkinColors()->SaveToFile(&again);
    for (const char16_t* section : {u"POPUPWINDOW", u"LAYERFRAME", u"HINTWINDOW", u"SKINCOLORS"})
        EXPECT_EQ(SectionLines(&ini, section), SectionLines(&again, section)) << StringToUTF8(section);
    EXPECT_EQ(qxstVert, read.PopupWindow()->StretchType);
    EXPECT_EQ(Point(9, 8), read.LayerFrame()->HitTestRBPoint);
    EXPECT_EQ(0x123456, read.SkinColors()->cWindow());
    EXPECT_EQ(33u, SectionLines(&ini, u"LAYERFRAME").size());
}

TEST(SkinWindows, LayerFrameImagesTakeTheirAlphaFromTheMask) {
    TqxSkinData data(nullptr);
    LoadFixture(&data, LayeredSkin());
    const TqxBitmap* frame = data.LayerFrame()->FSourceBitmap.get();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(data.LayerFrame()->FSourceInActiveBitMap);
    EXPECT_EQ(100, frame->Width());
    EXPECT_TRUE(frame->AlphaBlend());
    EXPECT_EQ(0x002563EBu, *frame->GetPixelPtr(0, 5));
    EXPECT_EQ(0xFF2563EBu, *frame->GetPixelPtr(99, 5));

    struct TCase {
        const char16_t* Key;
        const char16_t* Value;
    } cases[] = {{u"maskpictureindex", u"-1"},
                 {u"maskpictureindex", u"99"},
                 {u"pictureindex", u"-5"},
                 // The button mask is smaller than the frame picture.
                 {u"maskpictureindex", u"3"}};
    for (const TCase& c : cases) {
        TFixtureSkin skin = LayeredSkin();
        SetValue(skin, u"LAYERFRAME", c.Key, c.Value);
        LoadFixture(&data, skin);
        EXPECT_FALSE(data.LayerFrame()->FSourceBitmap) << StringToUTF8(c.Key) << "=" << StringToUTF8(c.Value);
        EXPECT_TRUE(data.LayerFrame()->FSourceInActiveBitMap);
    }
    data.ClearObjects();
    EXPECT_FALSE(data.LayerFrame()->FSourceInActiveBitMap);
    EXPECT_EQ(-1, data.LayerFrame()->PictureIndex);
}

TEST(SkinWindows, ASkinWithoutColoursHasTheSystemsColours) {
    TqxSkinData data(nullptr);
    TFixtureSkin skin = MinimalSkin();
    SetValue(skin, u"SKINCOLORS", u"cbtnface", u"255");
    LoadFixture(&data, skin);
    EXPECT_EQ(255, data.SkinColors()->cBtnFace());
    LoadFixture(&data, MinimalSkin());
    EXPECT_EQ(clBtnFace, data.SkinColors()->cBtnFace());
    EXPECT_EQ(clWindowText, data.SkinColors()->cWindowText());
}

TEST(SkinWindows, FormFrameNormalisation) {
    struct TCase {
        const char16_t* Mask;
        std::vector<std::pair<const char16_t*, const char16_t*>> Keys;
        TRect MaskRectArea;
        TPoint LTPoint;
        TPoint HitTestLTPoint;
        TPoint RTPoint;
    } cases[] = {
        // Without a mask the mask area and the hit-test points stay as read.
        {u"", {{u"clientrect", u"10,20,300,200"}}, TRect{}, TPoint{}, TPoint{}, TPoint{}},
        {u"",
         {{u"clientrect", u"10,20,300,200"}, {u"hittestlefttoppoint", u"0,4"}},
         TRect{},
         TPoint{},
         Point(0, 4),
         TPoint{}},
        // With a mask a missing mask area becomes the client rectangle, a
        // present one grows to hold it, and hit-test points with a zero
        // take the corner point's.
        {u"mask.bmp",
         {{u"clientrect", u"10,20,300,200"}, {u"lefttoppoint", u"12,22"}, {u"rightbottompoint", u"290,190"}},
         Rect(10, 20, 300, 200),
         Point(12, 22),
         Point(12, 22),
         Point(0, 20)},
        {u"mask.bmp",
         {{u"clientrect", u"10,20,300,200"}, {u"maskrectarea", u"0,0,320,240"}},
         Rect(0, 0, 320, 240),
         TPoint{},
         TPoint{},
         TPoint{}},
        {u"mask.bmp",
         {{u"clientrect", u"10,20,300,200"},
          {u"maskrectarea", u"20,5,400,100"},
          {u"hittestlefttoppoint", u"7,7"}},
         Rect(10, 5, 400, 200),
         TPoint{},
         Point(7, 7),
         TPoint{}},
        // Corner points move into the client rectangle unless the right
        // bottom one is level with the left top one.
        {u"",
         {{u"clientrect", u"10,10,100,100"},
          {u"lefttoppoint", u"5,5"},
          {u"righttoppoint", u"150,3"},
          {u"rightbottompoint", u"90,90"}},
         TRect{},
         Point(10, 10),
         TPoint{},
         Point(100, 10)},
        {u"",
         {{u"clientrect", u"10,10,100,100"}, {u"lefttoppoint", u"5,5"}, {u"rightbottompoint", u"5,5"}},
         TRect{},
         Point(5, 5),
         TPoint{},
         TPoint{}},
    };
    for (const TCase& c : cases) {
        TFixtureSkin skin = MinimalSkin();
        // A form picture that holds every rectangle and point of the cases.
        skin.Files[u"form.bmp"] = SolidBmp(400, 240, 0x336699);
        EraseSection(skin, u"FORMINFO");
        for (const auto& [key, value] : c.Keys)
            SetValue(skin, u"FORMINFO", key, value);
        if (*c.Mask) {
            SetValue(skin, u"PICTURES", u"mask", c.Mask);
            skin.Files[c.Mask] = SolidBmp(4, 4, 0);
        }
        TqxSkinData data(nullptr);
        LoadFixture(&data, skin);
        SCOPED_TRACE(StringToUTF8(c.Keys.back().first) + "=" + StringToUTF8(c.Keys.back().second));
        EXPECT_EQ(c.MaskRectArea, data.MaskRectArea);
        EXPECT_EQ(c.LTPoint, data.LTPoint);
        EXPECT_EQ(c.HitTestLTPoint, data.HitTestLTPoint);
        EXPECT_EQ(c.RTPoint, data.RTPoint);
    }
}

}  // namespace
