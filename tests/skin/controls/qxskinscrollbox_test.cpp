#include "skin/controls/qxskinscrollbox.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/toolkit/buttons.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;

// The flat skin with a 4-pixel frame around the scroll box's client piece.
TFixtureSkin FramedSkin() {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"scrollbox", u"clientrect", u"4,4,28,28");
    return skin;
}

class SkinScrollBox : public ControlTest {
protected:
    // A box of 150 x 150 at (10, 10) with both bars attached.
    TqxSkinScrollBox* Box(bool ASkinned) {
        if (ASkinned && FSkin->Empty) Load(FramedSkin());
        auto* box = Add<TqxSkinScrollBox>(10, 10, 150, 150);
        if (ASkinned) box->SetSkinData(FSkin);
        FV = Add<TqxSkinScrollBar>(170, 10, 16, 150);
        FV->SetKind(sbVertical);
        FH = Add<TqxSkinScrollBar>(10, 170, 150, 16);
        box->SetVScrollBar(FV);
        box->SetHScrollBar(FH);
        Pump();
        return box;
    }
    TButton* Child(TqxSkinScrollBox* ABox, Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
        auto* child = new TButton(FForm);
        child->SetParent(ABox);
        child->SetBounds(ALeft, ATop, AWidth, AHeight);
        ABox->UpDateScrollRange();
        return child;
    }

    TqxSkinScrollBar* FV = nullptr;
    TqxSkinScrollBar* FH = nullptr;
};

TEST_F(SkinScrollBox, ABarShowsOnlyWhenTheContentExceedsTheBox) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned);
        TqxSkinScrollBox* box = Box(skinned);
        // The flat skin's frame is 4 pixels, the plain one 1.
        const Integer client = skinned ? 142 : 148;
        EXPECT_EQ(client, box->ClientHeight());
        TButton* child = Child(box, 0, 0, 20, client);
        EXPECT_FALSE(FV->Visible());
        EXPECT_FALSE(FH->Both());
        child->SetHeight(client + 1);
        box->UpDateScrollRange();
        ASSERT_TRUE(FV->Visible());
        EXPECT_EQ(client, FV->Max());
        EXPECT_EQ(client, FV->PageSize());
        EXPECT_FALSE(FH->Visible());
        EXPECT_TRUE(FH->Both());
        child->SetWidth(client + 40);
        box->UpDateScrollRange();
        EXPECT_TRUE(FH->Visible());
        // Hidden with the box, back with it.
        box->SetVisible(false);
        EXPECT_FALSE(FV->Visible());
        box->SetVisible(true);
        EXPECT_TRUE(FV->Visible());
        delete box;
    }
}

TEST_F(SkinScrollBox, TheBarsMoveTheChildrenAndScrollingStaysWithinTheRange) {
    TqxSkinScrollBox* box = Box(false);
    TButton* child = Child(box, 10, 10, 400, 300);
    // 148 visible of 310 high, 410 wide.
    ASSERT_EQ(309, FV->Max());
    FV->SetPosition(50);
    EXPECT_EQ(-40, child->Top());
    box->VScroll(1000);
    EXPECT_EQ(309 - 148, FV->Position());
    EXPECT_EQ(10 - (309 - 148), child->Top());
    // The horizontal direction keeps the same limits as the bar.
    box->HScroll(1000);
    EXPECT_EQ(409 - 148, FH->Position());
    EXPECT_EQ(10 - (409 - 148), child->Left());
    box->HScroll(-20);
    EXPECT_EQ(0, FH->Position());
    EXPECT_EQ(10, child->Left());
    // A child below the visible area is scrolled to.
    box->VScroll(0);
    TButton* low = Child(box, 0, 250, 20, 20);
    box->ScrollToControl(low);
    EXPECT_LE(0, low->Top());
    EXPECT_GE(148, low->Top() + low->Height());
    // Aligned children are laid out in the scrolled content area.
    TRect area;
    box->AdjustClientRect(area);
    EXPECT_EQ(Bounds(0, -FV->Position(), 409, 309), area);
}

TEST_F(SkinScrollBox, ShrinkingTheContentOrGrowingTheBoxScrollsBack) {
    TqxSkinScrollBox* box = Box(false);
    TButton* small = Child(box, 0, 0, 20, 100);
    TButton* tall = Child(box, 30, 0, 20, 300);
    FV->SetPosition(100);
    EXPECT_EQ(-100, small->Top());
    // The last tall child goes while scrolled: everything moves back.
    delete tall;
    box->UpDateScrollRange();
    EXPECT_FALSE(FV->Visible());
    EXPECT_EQ(0, FV->Position());
    EXPECT_EQ(0, small->Top());

    small->SetHeight(250);
    box->UpDateScrollRange();
    FV->SetPosition(102);
    ASSERT_EQ(102, FV->Position());
    // Grown by 50: the content now ends inside, so it scrolls back by the gain.
    box->SetBounds(10, 10, 150, 200);
    EXPECT_EQ(52, FV->Position());
    EXPECT_EQ(-52, small->Top());
    EXPECT_TRUE(FV->Visible());
    // Grown past the content: back at 0, never beyond.
    box->SetBounds(10, 10, 150, 280);
    EXPECT_EQ(0, small->Top());
    EXPECT_FALSE(FV->Visible());
}

TEST_F(SkinScrollBox, TheFrameComesFromTheSkinAndABackgroundPictureRemovesIt) {
    TqxSkinScrollBox* box = Box(true);
    RECT window;
    GetWindowRect(box->Handle(), &window);
    const POINT corner = ScreenPoint(box->Handle(), 0, 0);
    EXPECT_EQ(4, corner.x - window.left);
    // Window point (1, 1) of the frame, read from the form's surface.
    const RECT form = driver::Inspect(FForm->Handle()).Bounds;
    Pump();
    const DWORD raw = driver::RawPixel(FForm->Handle(), window.left - form.left + 1, window.top - form.top + 1);
    EXPECT_EQ(FlatColor(u"scrollbox", u"skinrect", fpLeftTop), TColor(RGB(raw >> 16 & 0xFF, raw >> 8 & 0xFF, raw & 0xFF)));
    EXPECT_EQ(FlatColor(u"scrollbox", u"skinrect", fpCenter), PixelOf(box->Handle(), 70, 70));
    // Another LParam is not the library's painting request.
    EXPECT_NE(LRESULT(SKINMSG_PAINTKEY), box->Perform(SKINMSG_PAINTFRAMETODC, 0, 0));

    TFixtureSkin skin = FramedSkin();
    const Integer picture = AddPicture(skin, u"boxbg.bmp", PaintedBmp(8, 8, [](Integer, Integer) { return 0x204060u; }));
    SetValue(skin, u"scrollbox", u"bgpictureindex", IntToStr(picture));
    Load(skin);
    box->ChangeSkinData();
    Pump();
    EXPECT_EQ(150, box->ClientWidth());
    EXPECT_EQ(TColor(0x604020), PixelOf(box->Handle(), 1, 1));

    // An empty client piece, tiled, draws nothing rather than dividing by zero.
    TFixtureSkin empty = FlatSkin();
    SetValue(empty, u"scrollbox", u"clientrect", u"4,4,4,4");
    SetValue(empty, u"scrollbox", u"stretcheffect", u"0");
    Load(empty);
    box->ChangeSkinData();
    EXPECT_NO_THROW(box->Repaint());
    Pump();
}

}  // namespace
