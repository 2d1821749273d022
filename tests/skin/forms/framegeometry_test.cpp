// The frame's geometry: the skin picture stretched to the form, the places
// of the caption buttons, the hit test, the window region, and drags of
// the caption and the edges through the window layer's move/size loop.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/captionobject.h"

using namespace win;
using namespace skinfixtures;

namespace {

class GeometryTest : public FormsTest {
protected:
    static TqxActiveSkinObject* Object(TForm* AForm, const String& AName) {
        const Integer index = D(AForm)->GetIndex(AName);
        return index == -1 ? nullptr : D(AForm)->ObjectList[size_t(index)].get();
    }
    // The hit code of a window point, as the window layer asks for it.
    static Integer Hit(TForm* AForm, Integer X, Integer Y) {
        const POINT p = At(AForm, X, Y);
        return Integer(SendMessageW(AForm->Handle(), WM_NCHITTEST, 0, MAKELPARAM(WORD(p.x), WORD(p.y))));
    }
};

TEST_F(GeometryTest, TheFramePictureStretchesToTheForm) {
    const TFixtureSkin& skin = ProjectSkin(u"default");
    TForm* form = SkinnedForm(skin, Rect(0, 0, 600, 400));
    const TqxSkinData* s = D(form)->SkinData();
    const Integer pw = s->FPicture->Width(), ph = s->FPicture->Height();
    struct Case {
        const char* Name;
        Integer Width, Height;
    } cases[] = {
        {"the picture's size", pw, ph}, {"larger", pw + 200, ph + 240}, {"narrower", pw - 60, ph + 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        // The skin's own minimum may not allow every size: take the geometry directly.
        D(form)->FFormWidth = c.Width;
        D(form)->FFormHeight = c.Height;
        D(form)->CalcSkinRects();
        const Integer dw = c.Width - pw, dh = c.Height - ph;
        EXPECT_EQ(D(form)->NewLTPoint, s->LTPoint);
        EXPECT_EQ(D(form)->NewRTPoint, Point(s->RTPoint.X + dw, s->RTPoint.Y));
        EXPECT_EQ(D(form)->NewRBPoint, Point(s->RBPoint.X + dw, s->RBPoint.Y + dh));
        EXPECT_EQ(D(form)->NewClRect,
                  Rect(s->ClRect.Left, s->ClRect.Top, s->ClRect.Right + dw, s->ClRect.Bottom + dh));
        EXPECT_EQ(D(form)->NewCaptionRect.Right, s->CaptionRect.Right + dw);
        // The buttons lie in the picture's right half and go with the right edge.
        EXPECT_EQ(D(form)->NewButtonsRect.Right, s->ButtonsRect.Right + dw);
        EXPECT_EQ(D(form)->NewHitTestRBPoint, Point(s->HitTestRBPoint.X + dw, s->HitTestRBPoint.Y + dh));
    }
    // Buttons in the left half stay at the left.
    TFixtureSkin left = skin;
    SetValue(left, u"FORMINFO", u"buttonsrect", u"10,1,148,30");
    TForm* other = SkinnedForm(left, Rect(0, 0, 800, 500));
    EXPECT_EQ(D(other)->NewButtonsRect, Rect(10, 1, 148, 30));
}

TEST_F(GeometryTest, ObjectRectanglesStretchByTheZoneTheyLieIn) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(0, 0, 600, 400));
    const TqxSkinData* s = D(form)->SkinData();
    const Integer dx = 200, dy = 240;
    const TPoint lt = s->LTPoint, rt = s->RTPoint, lb = s->LBPoint, rb = s->RBPoint;
    const Integer pw = s->FPicture->Width(), ph = s->FPicture->Height();
    struct Case {
        const char* Name;
        TRect In, Out;
    } cases[] = {
        {"left top", Rect(1, 1, 5, 5), Rect(1, 1, 5, 5)},
        {"right top", Rect(rt.X + 1, 1, rt.X + 5, 5), Rect(rt.X + 1 + dx, 1, rt.X + 5 + dx, 5)},
        {"left bottom", Rect(1, lb.Y, 5, lb.Y), Rect(1, lb.Y + dy, 5, lb.Y + dy)},
        // The bottom-right corner lies outside its rectangle, so a part
        // reaching the picture's last row stays where it is.
        {"to the last row", Rect(1, lb.Y, 5, ph), Rect(1, lb.Y, 5, ph)},
        {"right bottom", Rect(rb.X, rb.Y, pw - 1, ph - 1),
         Rect(rb.X + dx, rb.Y + dy, pw - 1 + dx, ph - 1 + dy)},
        {"across the top", Rect(1, 1, rt.X + 5, 5), Rect(1, 1, rt.X + 5 + dx, 5)},
        {"across everything", Rect(1, 1, rb.X + 2, rb.Y), Rect(1, 1, rb.X + 2 + dx, rb.Y + dy)},
        {"down the left", Rect(1, 1, 5, lb.Y), Rect(1, 1, 5, lb.Y + dy)},
        {"down the right", Rect(rt.X + 1, 1, pw - 1, rb.Y), Rect(rt.X + 1 + dx, 1, pw - 1 + dx, rb.Y + dy)},
        {"across the bottom", Rect(1, lb.Y, rb.X + 2, ph - 1),
         Rect(1, lb.Y + dy, rb.X + 2 + dx, ph - 1 + dy)},
        {"in the middle", Rect(lt.X + 1, lt.Y + 1, lt.X + 5, lt.Y + 5),
         Rect(lt.X + 1, lt.Y + 1, lt.X + 5, lt.Y + 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(D(form)->StretchObjectRect(c.In), c.Out);
    }
}

TEST_F(GeometryTest, CaptionButtonsLineUpFromTheRightAndTheSystemMenuSitsAtTheLeft) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(0, 0, 600, 400));
    const TRect buttons = D(form)->NewButtonsRect;
    const TRect close = Object(form, u"closebutton")->ObjectRect;
    const TRect max = Object(form, u"maxbutton")->ObjectRect;
    const TRect min = Object(form, u"minbutton")->ObjectRect;
    EXPECT_EQ(close.Right, buttons.Right);
    EXPECT_EQ(close.Top, buttons.Top);
    EXPECT_EQ(max.Right, close.Left);
    EXPECT_EQ(min.Right, max.Left);
    const TRect sys = Object(form, u"sysmenubutton")->ObjectRect;
    const TRect caption = D(form)->NewCaptionRect;
    EXPECT_EQ(sys.Left, caption.Left);
    EXPECT_EQ(sys.Top, caption.Top + caption.Height() / 2 - sys.Height() / 2);
    // The caption runs from the system menu to the buttons.
    EXPECT_EQ(D(form)->CaptionObject()->ObjectRect.Left, sys.Right);
    // Without the maximize button the minimize button moves up to close.
    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize});
    D(form)->ArrangeObjects();
    EXPECT_EQ(Object(form, u"minbutton")->ObjectRect.Right, close.Left);

    // The default look: 17-pixel buttons from 3 pixels inside the right edge.
    TForm* plain = NewSkinnedForm(u"P", Rect(0, 0, 300, 200));
    SendMessageW(plain->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(Object(plain, u"closebutton")->ObjectRect, Rect(280, 4, 297, 21));
    EXPECT_EQ(Object(plain, u"maxbutton")->ObjectRect, Rect(263, 4, 280, 21));
    EXPECT_EQ(Object(plain, u"sysmenubutton")->ObjectRect, Rect(3, 4, 20, 21));
    EXPECT_EQ(D(plain)->NewDefCaptionRect, Rect(20, 3, 229, 19));
}

TEST_F(GeometryTest, TheHitTestOfASkinnedFrame) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 700, 500));
    const TRect close = Object(form, u"closebutton")->ObjectRect;
    struct Case {
        const char* Name;
        Integer X, Y, Code;
    } cases[] = {
        {"caption", 150, 10, HTCAPTION},
        {"client", 300, 200, HTCLIENT},
        {"top-left corner", 1, 1, HTTOPLEFT},
        {"top-right corner", 598, 2, HTTOPRIGHT},
        {"bottom-left corner", 2, 398, HTBOTTOMLEFT},
        {"bottom-right corner", 598, 398, HTBOTTOMRIGHT},
        {"left edge", 0, 200, HTLEFT},
        {"the client's first column", 1, 200, HTCLIENT},
        {"right edge", 599, 200, HTRIGHT},
        {"bottom edge", 300, 399, HTBOTTOM},
        {"top edge", 300, 1, HTTOP},
        {"a caption button", close.Left + 5, close.Top + 8, HTOBJECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Hit(form, c.X, c.Y), c.Code);
    }
    // A form that cannot be sized has no sizing codes.
    form->SetBorderStyle(bsSingle);
    driver::Pump();
    EXPECT_EQ(Hit(form, 300, 1), HTCAPTION);
    EXPECT_EQ(Hit(form, 0, 200), HTOBJECT);
    // Rolled up: only the caption or the objects.
    form->SetBorderStyle(bsSizeable);
    D(form)->SetRollUpState(true);
    for (const TPoint p : {Point(1, 1), Point(300, 1), Point(150, 10), Point(300, 25)}) {
        const Integer code = Hit(form, p.X, p.Y);
        EXPECT_TRUE(code == HTCAPTION || code == HTOBJECT) << p.X << "," << p.Y << ": " << code;
    }
}

TEST_F(GeometryTest, WithoutASizingBandAndMaskNoEdgeSizes) {
    TFixtureSkin skin = ProjectSkin(u"default");
    SetValue(skin, u"FORMINFO", u"borderwidth", u"0");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 700, 500));
    for (Integer x = 0; x < 600; x += 7)
        for (const Integer y : {0, 1, 200, 398, 399}) {
            const Integer code = Hit(form, x, y);
            EXPECT_FALSE(code >= HTLEFT && code <= HTBOTTOMRIGHT) << x << "," << y;
        }
}

TEST_F(GeometryTest, TheDefaultLookSizesOnTwoPixelBands) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 400, 300));
    struct Case {
        Integer X, Y, Code;
    } cases[] = {{0, 0, HTTOPLEFT},         {2, 2, HTTOPLEFT},  {299, 0, HTTOPRIGHT}, {0, 199, HTBOTTOMLEFT},
                 {299, 199, HTBOTTOMRIGHT}, {2, 100, HTLEFT},   {150, 2, HTTOP},      {298, 100, HTRIGHT},
                 {150, 198, HTBOTTOM},      {3, 100, HTCLIENT}, {150, 20, HTOBJECT},  {100, 10, HTCAPTION},
                 {100, 100, HTCLIENT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
        EXPECT_EQ(Hit(form, c.X, c.Y), c.Code);
    }
    D(form)->SetWindowState(wsMaximized);
    EXPECT_EQ(Hit(form, 0, 0), HTOBJECT);
}

// The rounded skin sizes from its sides and bottom as well as its top.
TEST_F(GeometryTest, TheRoundedSkinSizesFromEveryEdge) {
    TForm* form = SkinnedForm(ProjectSkin(u"second"), Rect(100, 100, 740, 520));
    struct Case {
        Integer X, Y, Code;
    } cases[] = {{0, 200, HTLEFT},       {639, 200, HTRIGHT},       {320, 419, HTBOTTOM},
                 {0, 419, HTBOTTOMLEFT}, {639, 419, HTBOTTOMRIGHT}, {320, 0, HTTOP},
                 {1, 200, HTCLIENT},     {638, 200, HTCLIENT},      {320, 418, HTCLIENT}};
    for (const Case& c : cases)
        EXPECT_EQ(Hit(form, c.X, c.Y), c.Code) << c.X << "," << c.Y;
}

// Rolled up, a form of either skin is its caption strip: the frame without
// the client area.
TEST_F(GeometryTest, ARolledUpFormIsItsCaptionStrip) {
    for (const char16_t* name : {u"default", u"second"}) {
        TForm* form = SkinnedForm(ProjectSkin(name), Rect(100, 100, 700, 500));
        D(form)->SetBorderIcons({TqxBorderIcon::biMinimize, TqxBorderIcon::biRollUp});
        D(form)->SetRollUpState(true);
        driver::Pump();
        const TqxSkinData* s = D(form)->SkinData();
        EXPECT_EQ(form->Height(), s->FPicture->Height() - s->ClRect.Height()) << StringToUTF8(name);
        D(form)->SetRollUpState(false);
        driver::Pump();
        EXPECT_EQ(form->Height(), 400) << StringToUTF8(name);
    }
}

TEST_F(GeometryTest, TheWindowRegionFollowsTheSkin) {
    // Without a border: no region.
    TForm* bare = NewSkinnedForm(u"B", Rect(0, 0, 300, 200), bsNone);
    EXPECT_FALSE(driver::WindowRegion(bare->Handle()).has_value());
    // Without a skin and with the default skin: the whole window.
    TForm* plain = NewSkinnedForm(u"P", Rect(0, 0, 300, 200));
    ASSERT_TRUE(driver::WindowRegion(plain->Handle()).has_value());
    EXPECT_EQ(*driver::WindowRegion(plain->Handle()), gdi::PixRegion(RECT{0, 0, 300, 200}));
    D(plain)->SetSkinData(NewSkinData(ProjectSkin(u"default")));
    EXPECT_EQ(*driver::WindowRegion(plain->Handle()),
              gdi::PixRegion(RECT{0, 0, plain->Width(), plain->Height()}));

    // The second skin's mask rounds the top corners, at any size.
    TForm* round = SkinnedForm(ProjectSkin(u"second"), Rect(0, 0, 640, 420));
    const auto region = driver::WindowRegion(round->Handle());
    ASSERT_TRUE(region.has_value());
    const TqxSkinData* s = D(round)->SkinData();
    for (const TPoint p : {Point(0, 0), Point(639, 0), Point(1, 1), Point(638, 1)})
        EXPECT_FALSE(region->Contains(p.X, p.Y)) << p.X << "," << p.Y;
    for (const TPoint p : {Point(320, 0), Point(0, 200), Point(639, 419), Point(0, 419), Point(20, 2)})
        EXPECT_TRUE(region->Contains(p.X, p.Y)) << p.X << "," << p.Y;
    // The region is the mask's black pixels at the corner.
    for (Integer y = 0; y < s->MaskRectArea.Top; ++y)
        for (Integer x = 0; x < s->MaskRectArea.Top; ++x)
            EXPECT_EQ(region->Contains(x, y), (s->FMask->Canvas()->Pixels(x, y) & 0xFFFFFF) == 0)
                << x << "," << y;

    // Switching the skin off gives the plain rectangle back.
    D(round)->SetSkinData(nullptr);
    EXPECT_EQ(*driver::WindowRegion(round->Handle()),
              gdi::PixRegion(RECT{0, 0, round->Width(), round->Height()}));
}

TEST_F(GeometryTest, MaskProbesOutsideTheWindowCountAsOutside) {
    TForm* form = SkinnedForm(ProjectSkin(u"second"), Rect(100, 100, 740, 520));
    // Points beyond every strip are outside the shape, and nothing is read
    // past a strip.
    for (const TPoint p : {Point(-4, 2), Point(644, 2), Point(-4, 200), Point(644, 200), Point(320, -4),
                           Point(320, 424), Point(-100, -100), Point(10000, 10000)})
        EXPECT_FALSE(D(form)->PointInMaskRegion(p)) << p.X << "," << p.Y;
    EXPECT_TRUE(D(form)->PointInMaskRegion(Point(320, 2)));
    // The rounded corner still sizes diagonally.
    EXPECT_EQ(Hit(form, 3, 3), HTTOPLEFT);
    EXPECT_EQ(Hit(form, 636, 3), HTTOPRIGHT);
}

TEST_F(GeometryTest, DragsOfTheCaptionAndOfAnEdgeRunTheMoveLoop) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 700, 500));
    // The caption: the form follows the mouse.
    driver::MouseDown(At(form, 150, 10));
    driver::MouseMove(POINT{300, 160});
    driver::MouseMove(POINT{330, 180});
    driver::MouseUp(POINT{330, 180});
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(180, 170, 780, 570));
    // The right edge: the form grows, and never below the skin's minimum.
    driver::MouseDown(At(form, 599, 200));
    driver::MouseMove(At(form, 649, 200));
    driver::MouseUp(At(form, 649, 200));
    driver::Pump();
    EXPECT_EQ(form->Width(), 650);
    EXPECT_EQ(D(form)->FFormWidth, 650);
    driver::MouseDown(At(form, 649, 200));
    driver::MouseMove(At(form, 10, 200));
    driver::MouseUp(At(form, 10, 200));
    driver::Pump();
    EXPECT_EQ(form->Width(), D(form)->GetMinWidth());
    EXPECT_EQ(D(form)->NewClRect.Right, form->Width() - 1);
}

TEST_F(GeometryTest, AMagneticFormSnapsToTheWorkAreaAndBreaksFreeLater) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 700, 500));
    D(form)->SetMagnetic(true);
    driver::MouseDown(At(form, 150, 10));
    // 3 pixels from the left edge: snapped.
    driver::MouseMove(POINT{150 + 3, 110});
    driver::MouseMove(POINT{150 + 5, 110});
    // Far enough from where it snapped: free again.
    driver::MouseMove(POINT{150 + 30, 110});
    driver::MouseUp(POINT{150 + 30, 110});
    driver::Pump();
    EXPECT_EQ(form->Left(), 30);
    driver::MouseDown(At(form, 150, 10));
    driver::MouseMove(POINT{30 + 150 - 28, 110});
    driver::MouseUp(POINT{30 + 150 - 28, 110});
    driver::Pump();
    EXPECT_EQ(form->Left(), 0);
}

}  // namespace
