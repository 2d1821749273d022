// Painting of the frame and the client background: the default look by
// pixel, the skin's frame parts, the inactive picture and effect, the
// minimum size, long captions, and background pictures from the skin.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "skin/forms/captionobject.h"

using namespace win;
using namespace skinfixtures;

namespace {

class PaintTest : public FormsTest {
protected:
    static void Repaint(TForm* AForm) {
        SendMessageW(AForm->Handle(), WM_NCPAINT, 0, 0);
        RedrawWindow(AForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        driver::Pump();
    }
    // Whether some pixel of the rows and columns has exactly the colour.
    static bool Holds(TForm* AForm, TRect AArea, TColor AColor) {
        for (Integer y = AArea.Top; y < AArea.Bottom; ++y)
            for (Integer x = AArea.Left; x < AArea.Right; ++x)
                if (FramePixel(AForm, x, y) == ColorToRGB(AColor)) return true;
        return false;
    }
    static TColor Part(const char16_t* AKey, TFlatPart APart) { return FlatColor(u"FORMINFO", AKey, APart); }
};

TEST_F(PaintTest, TheDefaultLookHasThreeRingsAndACaptionStripWithTheTitle) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 400, 300));
    form->SetCaption(u"Title");
    Repaint(form);
    EXPECT_EQ(FramePixel(form, 0, 100), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(FramePixel(form, 299, 199), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(FramePixel(form, 1, 100), ColorToRGB(clBtnFace));
    EXPECT_EQ(FramePixel(form, 2, 100), ColorToRGB(clBtnFace));
    EXPECT_EQ(FramePixel(form, 297, 100), ColorToRGB(clBtnFace));
    const TRect caption = Rect(30, 3, 220, 22);
    EXPECT_TRUE(Holds(form, caption, clBtnText));
    EXPECT_FALSE(Holds(form, caption, clBtnShadow));
    // Another window active: the caption text greys.
    TForm* other = NewSkinnedForm(u"G", Rect(500, 500, 700, 700));
    ASSERT_TRUE(other->Active());
    Repaint(form);
    EXPECT_TRUE(Holds(form, caption, clBtnShadow));
    EXPECT_FALSE(Holds(form, caption, clBtnText));
    // No caption: the strip is face only.
    form->SetCaption(u"");
    Repaint(form);
    EXPECT_FALSE(Holds(form, caption, clBtnShadow));
}

TEST_F(PaintTest, TheSkinnedFrameIsCutFromTheFramePictureOrTheInactiveOne) {
    TForm* form = SkinnedForm(FlatSkin(), Rect(100, 100, 700, 500));
    Repaint(form);
    const Integer w = form->Width(), h = form->Height();
    EXPECT_EQ(FramePixel(form, 0, 0), Part(u"picture", fpLeftTop));
    EXPECT_EQ(FramePixel(form, w - 1, h - 1), Part(u"picture", fpRightBottom));
    EXPECT_EQ(FramePixel(form, w / 2, h - 1), Part(u"picture", fpBottom));
    EXPECT_EQ(FramePixel(form, 0, h / 2), Part(u"picture", fpLeft));
    TForm* other = NewSkinnedForm(u"Other", Rect(800, 600, 1000, 800));
    ASSERT_FALSE(form->Active());
    Repaint(form);
    EXPECT_EQ(FramePixel(form, 0, 0), Part(u"inactivepicture", fpLeftTop));
    EXPECT_EQ(FramePixel(form, w - 1, h - 1), Part(u"inactivepicture", fpRightBottom));

    // Without an inactive picture, the effect lightens the frame picture.
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"PICTURES", u"inactivepicture", u"");
    SetValue(skin, u"FORMINFO", u"autorenderinginactiveimage", u"1");
    SetValue(skin, u"FORMINFO", u"inactiveeffect", u"iebrightness");
    TForm* effect = SkinnedForm(skin, Rect(100, 100, 700, 500));
    other->Show();
    other->SetFocus();
    driver::Pump();
    ASSERT_FALSE(effect->Active());
    Repaint(effect);
    const TColor normal = ColorToRGB(Part(u"picture", fpLeftTop));
    const TColor lighter = FramePixel(effect, 0, 0);
    for (const Integer shift : {0, 8, 16}) {
        const Integer before = (normal >> shift) & 0xFF, after = (lighter >> shift) & 0xFF;
        EXPECT_NEAR(after, before + (255 - before) / 2, 1) << shift;
    }
    (void)other;
}

TEST_F(PaintTest, AFormBelowTheMinimumSizeGetsNoFrame) {
    TForm* form = SkinnedForm(FlatSkin(), Rect(100, 100, 700, 500));
    RECT whole{0, 0, form->Width(), form->Height()};
    HDC dc = GetWindowDC(form->Handle());
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc, &whole, brush);
    DeleteObject(brush);
    ReleaseDC(form->Handle(), dc);
    D(form)->SetMinWidth(2000);
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(FramePixel(form, 0, 0), RGB(1, 2, 3));
    D(form)->SetMinWidth(0);
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(FramePixel(form, 0, 0), Part(u"picture", fpLeftTop));
}

TEST_F(PaintTest, ALongCaptionEndsBeforeTheButtons) {
    for (const bool skinned : {false, true}) {
        SCOPED_TRACE(skinned);
        TForm* form = skinned ? SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 500, 400))
                              : NewSkinnedForm(u"L", Rect(100, 100, 400, 300));
        const Integer right = skinned ? D(form)->CaptionObject()->ObjectRect.Right : D(form)->NewDefCaptionRect.Right;
        const auto snapshot = [&] {
            std::vector<TColor> pixels;
            for (Integer y = 0; y < 25; ++y)
                for (Integer x = right; x < form->Width(); ++x)
                    pixels.push_back(FramePixel(form, x, y));
            return pixels;
        };
        form->SetCaption(u"A");
        Repaint(form);
        const std::vector<TColor> shortCaption = snapshot();
        form->SetCaption(String(200, u'W') + u"转换器");
        Repaint(form);
        EXPECT_EQ(snapshot(), shortCaption);
        Free(form);
    }
}

TEST_F(PaintTest, BackgroundPicturesTileTheClientAreaAndBadIndexesFallBack) {
    TFixtureSkin skin = FlatSkin();
    // The caption buttons' picture as background.
    const String pictures = GetValue(skin, u"PICTURES", u"activepicturescount");
    Integer index = -1;
    for (Integer i = 0; i < StrToInt(pictures); ++i)
        if (GetValue(skin, u"PICTURES", IntToStr(i)) == u"captionbuttons.bmp") index = i;
    ASSERT_NE(index, -1);
    SetValue(skin, u"FORMINFO", u"bgpictureindex", IntToStr(index));
    SetValue(skin, u"FORMINFO", u"stretcheffect", u"0");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 800, 600));
    Repaint(form);
    TBitmap* picture = D(form)->SkinData()->GetActivePicture(index);
    const Integer pw = picture->Width(), ph = picture->Height();
    ASSERT_LT(pw, form->ClientWidth());
    for (const TPoint p : {Point(3, 3), Point(pw + 3, 3), Point(3, ph + 3), Point(2 * pw + 1, ph + 5)})
        EXPECT_EQ(driver::Pixel(form->Handle(), p.X, p.Y), driver::Pixel(form->Handle(), p.X % pw, p.Y % ph)) << p.X << "," << p.Y;
    EXPECT_EQ(driver::Pixel(form->Handle(), 3, 3), ColorToRGB(picture->Canvas()->Pixels(3, 3)));

    // An index past the pictures, or below -1, paints the plain background.
    for (const char16_t* bad : {u"99", u"-5"}) {
        SCOPED_TRACE(StringToUTF8(bad));
        TFixtureSkin broken = BrokenSkin("picture indexes -5 and 99").Folder;
        SetValue(broken, u"FORMINFO", u"bgpictureindex", bad);
        TForm* other = SkinnedForm(broken, Rect(100, 100, 500, 400));
        Repaint(other);
        EXPECT_EQ(driver::Pixel(other->Handle(), 10, 10), ColorToRGB(clBtnFace));
        Free(other);
    }
}

}  // namespace
