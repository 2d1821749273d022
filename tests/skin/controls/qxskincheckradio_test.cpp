#include "skin/controls/qxskincheckradio.h"

#include <gtest/gtest.h>

#include <map>

#include "controltest.h"
#include "platform/win/input.h"

namespace {

using namespace skinfixtures;
using namespace win;

class CheckRadio : public ControlTest {
protected:
    TqxSkinCheckRadioBox* Box(bool ARadio, Integer AGroup, Integer ATop = 20) {
        auto* box = Add<TqxSkinCheckRadioBox>(20, ATop, 150, 25);
        box->SetRadio(ARadio);
        box->SetGroupIndex(AGroup);
        box->OnClick = [this](TObject* S) { ++FClicks[static_cast<TqxSkinCheckRadioBox*>(S)]; };
        return box;
    }
    POINT On(TqxSkinCheckRadioBox* ABox, Integer X = 8, Integer Y = 12) {
        return ScreenPoint(ABox->Handle(), X, Y);
    }
    void Click(TqxSkinCheckRadioBox* ABox) {
        driver::Click(On(ABox));
        Pump();
    }

    std::map<TqxSkinCheckRadioBox*, Integer> FClicks;
};

TEST_F(CheckRadio, EveryWriteOfCheckedClicksAndGrayedStaysGrayed) {
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(2, FClicks[box]);
    EXPECT_EQ(cbChecked, box->State());
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(false);
    EXPECT_EQ(cbGrayed, box->State());
    EXPECT_EQ(4, FClicks[box]);
}

TEST_F(CheckRadio, AGroupOfRadioButtonsAndACheckBox) {
    TqxSkinCheckRadioBox* a = Box(true, 1, 10);
    TqxSkinCheckRadioBox* b = Box(true, 1, 40);
    TqxSkinCheckRadioBox* check = Box(false, 1, 70);
    TqxSkinCheckRadioBox* other = Box(true, 2, 100);
    a->SetChecked(true);
    check->SetChecked(true);
    other->SetChecked(true);
    FClicks.clear();
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(check->Checked());
    EXPECT_TRUE(other->Checked());
    // Only the newly checked radio button and the check box click.
    EXPECT_EQ(0, FClicks[a]);
    EXPECT_EQ(1, FClicks[b]);
    EXPECT_EQ(1, FClicks[check]);
    // A click on a checked radio button changes nothing.
    Click(b);
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(1, FClicks[b]);
    Click(a);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
}

TEST_F(CheckRadio, ClicksCycleThroughGrayedAndADragOutDoesNothing) {
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetAllowGrayed(true);
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState state : cycle) {
        Click(box);
        EXPECT_EQ(state, box->State());
    }
    EXPECT_EQ(3, FClicks[box]);
    driver::MouseDown(On(box));
    Pump();
    driver::MouseMove(ScreenPoint(FForm->Handle(), 300, 250));
    Pump();
    EXPECT_FALSE(box->MouseIn());
    driver::MouseUp(ScreenPoint(FForm->Handle(), 300, 250));
    Pump();
    EXPECT_EQ(cbUnchecked, box->State());
    EXPECT_EQ(3, FClicks[box]);
}

TEST_F(CheckRadio, SpaceActsOnReleaseOnlyWhenItMayTakeTheFocus) {
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetFocus();
    driver::KeyDown(VK_SPACE);
    Pump();
    EXPECT_FALSE(box->Checked());
    driver::KeyUp(VK_SPACE);
    Pump();
    EXPECT_TRUE(box->Checked());
    box->SetCanFocused(false);
    EXPECT_FALSE(box->TabStop());
    driver::Key(VK_SPACE);
    Pump();
    EXPECT_TRUE(box->Checked());
}

TEST_F(CheckRadio, TheDefaultFlatLook) {
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetCaption(u"自动关机");
    const HWND h = box->Handle();
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(h, 3, 12));
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(h, 10, 7));
    driver::MouseMove(On(box));
    Pump();
    EXPECT_EQ(TColor(RGB(59, 107, 183)), PixelOf(h, 3, 12));
    box->SetChecked(true);
    // The check mark's first stroke: (7, 9) down to (9, 11).
    EXPECT_EQ(ColorToRGB(clBlack), PixelOf(h, 7, 12 - 4 + 5));
    box->SetRadio(true);
    EXPECT_EQ(ColorToRGB(clBlack), PixelOf(h, 9, 11));
}

TEST_F(CheckRadio, AnImageOutsideTheListDrawsNothingAndShiftsNothing) {
    auto* images = new TCustomImageList(16, 16, FForm);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(TColor(0x0000FF));
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&red, nullptr);
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetImages(images);
    EXPECT_EQ(TColor(0x0000FF), PixelOf(box->Handle(), 30, 12));
    box->SetImageIndex(3);
    EXPECT_NE(TColor(0x0000FF), PixelOf(box->Handle(), 30, 12));
}

TEST_F(CheckRadio, TheSkinsLooksAndSizes) {
    LoadFlat();
    FSkin->SetEnableSkinEffects(false);
    TqxSkinCheckRadioBox* flat = Box(false, 0, 10);
    flat->SetSkinData(FSkin);
    EXPECT_EQ(150, flat->Width());
    EXPECT_EQ(25, flat->Height());
    EXPECT_EQ(FlatColor(u"checkbox", u"uncheckimagerect", fpWhole), PixelOf(flat->Handle(), 3 + 8, 12));
    flat->SetChecked(true);
    EXPECT_EQ(FlatColor(u"checkbox", u"checkimagerect", fpWhole), PixelOf(flat->Handle(), 3 + 8, 12));
    // Grayed without a grayed picture: the check image brightened.
    TqxSkinCheckRadioBox* framed = Box(false, 0, 60);
    framed->SetFlat(false);
    framed->SetSkinData(FSkin);
    EXPECT_EQ(20, framed->Height());
    EXPECT_EQ(Rect(22, 0, 98 + 50, 20), framed->NewTextArea);
    EXPECT_EQ(FlatColor(u"checkbox", u"skinrect", fpCenter), PixelOf(framed->Handle(), 60, 10));
    driver::MouseMove(ScreenPoint(framed->Handle(), 60, 10));
    Pump();
    EXPECT_EQ(FlatColor(u"checkbox", u"activeskinrect", fpCenter), PixelOf(framed->Handle(), 60, 10));
}

TEST_F(CheckRadio, AGrayedImageIsMadeFromTheCheckImageWhenTheSkinHasNone) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"checkbox", u"grayedcheckimagerect", u"0,0,0,0");
    Load(skin);
    TqxSkinCheckRadioBox* box = Box(false, 0);
    box->SetSkinData(FSkin);
    box->SetState(cbGrayed);
    const TColor check = FlatColor(u"checkbox", u"checkimagerect", fpWhole);
    const TColor grayed = PixelOf(box->Handle(), 3 + 8, 12);
    EXPECT_NE(check, grayed);
    // Half way to white in every channel.
    EXPECT_NEAR(Integer(GetRValue(check)) + (255 - GetRValue(check)) / 2, GetRValue(grayed), 1);
}

}  // namespace
