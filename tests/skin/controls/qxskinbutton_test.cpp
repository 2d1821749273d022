#include "skin/controls/qxskinbutton.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/gdi/capabilities.h"
#include "platform/toolkit/actions.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/methods.h"
#include "platform/win/input.h"
#include "skin/core/qxutils.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

class SkinButton : public ControlTest {
protected:
    void TearDown() override {
        ControlTest::TearDown();
        LoadPlatformEntryPoints();
    }
    // A skinned button of 100 x 30 at (20, 20) counting its clicks; the flat
    // skin without effects unless told otherwise.
    TqxSkinButton* Button(bool ASkinned = true, bool AEffects = false) {
        if (ASkinned && FSkin->Empty) LoadFlat();
        FSkin->SetEnableSkinEffects(AEffects);
        auto* button = Add<TqxSkinButton>(20, 20, 100, 30);
        button->SetSkinData(ASkinned ? FSkin : nullptr);
        button->OnClick = [this](TObject*) { ++FClicks; };
        Pump();
        return button;
    }
    POINT At(TqxSkinButton* AButton, Integer X = 50, Integer Y = 15) {
        return ScreenPoint(AButton->Handle(), X, Y);
    }
    POINT Away() { return ScreenPoint(FForm->Handle(), 380, 280); }
    void Move(POINT APoint) {
        driver::MouseMove(APoint);
        Pump();
    }
    TColor Center(TqxSkinButton* AButton) { return PixelOf(AButton->Handle(), 50, 15); }
    static TColor Look(const char16_t* AKey) { return FlatColor(u"button", AKey, fpCenter); }

    Integer FClicks = 0;
};

TEST_F(SkinButton, EachStateShowsItsRectangle) {
    TqxSkinButton* button = Button();
    TqxSkinButton* other = Add<TqxSkinButton>(20, 100, 100, 30);
    EXPECT_EQ(Look(u"skinrect"), Center(button));
    Move(At(button));
    EXPECT_EQ(Look(u"activeskinrect"), Center(button));
    driver::MouseDown(At(button));
    Pump();
    EXPECT_EQ(Look(u"downskinrect"), Center(button));
    driver::MouseUp(At(button));
    Move(Away());
    // The press took the focus.
    ASSERT_TRUE(button->Focused());
    EXPECT_EQ(Look(u"focusedskinrect"), Center(button));
    other->SetFocus();
    button->SetEnabled(false);
    EXPECT_EQ(Look(u"disabledskinrect"), Center(button));
    // Down only shows while pressed and hovered: a focused button held
    // down with the mouse shows it, dragged off it does not.
    button->SetEnabled(true);
    driver::MouseDown(At(button));
    Move(Away());
    EXPECT_NE(Look(u"downskinrect"), Center(button));
    driver::MouseUp(Away());
    Pump();
    EXPECT_EQ(0 + 1, FClicks);
}

TEST_F(SkinButton, EmptyActiveAndDownRectanglesFallBackToNormal) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"button", u"activeskinrect", u"0,0,0,0");
    SetValue(skin, u"button", u"downskinrect", u"0,0,0,0");
    SetValue(skin, u"button", u"focusedskinrect", u"0,0,0,0");
    // A disabled colour equal to the normal one turns grey.
    SetValue(skin, u"button", u"disabledfontcolor", GetValue(skin, u"button", u"fontcolor"));
    Load(skin);
    TqxSkinButton* button = Button();
    EXPECT_EQ(TColor(RGB(128, 128, 128)), button->DisabledFontColor);
    Move(At(button));
    EXPECT_EQ(Look(u"skinrect"), Center(button));
    driver::MouseDown(At(button));
    Pump();
    EXPECT_EQ(Look(u"skinrect"), Center(button));
    driver::MouseUp(At(button));
    Pump();
    EXPECT_EQ(1, FClicks);
}

TEST_F(SkinButton, TheDefaultLooksColours) {
    TqxSkinButton* button = Button(false);
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(button->Handle(), 0, 0));
    EXPECT_EQ(ColorToRGB(clBtnFace), Center(button));
    Move(At(button));
    EXPECT_EQ(TColor(RGB(59, 107, 183)), PixelOf(button->Handle(), 0, 0));
    EXPECT_EQ(TColor(RGB(193, 212, 243)), Center(button));
    driver::MouseDown(At(button));
    Pump();
    EXPECT_EQ(TColor(RGB(162, 188, 228)), Center(button));
    EXPECT_EQ(TColor(RGB(59, 107, 183)), PixelOf(button->Handle(), 99, 29));
}

TEST_F(SkinButton, PressDragOffAndReleaseGivesNoClick) {
    TqxSkinButton* button = Button();
    Move(At(button));
    driver::MouseDown(At(button));
    Pump();
    EXPECT_TRUE(button->Down());
    Move(Away());
    EXPECT_FALSE(button->MouseIn());
    driver::MouseUp(Away());
    Pump();
    EXPECT_EQ(0, FClicks);
    EXPECT_FALSE(button->Down());
    // Dragged back over it, the release clicks.
    driver::MouseDown(At(button));
    Move(Away());
    Move(At(button));
    EXPECT_EQ(Look(u"downskinrect"), Center(button));
    driver::MouseUp(At(button));
    Pump();
    EXPECT_EQ(1, FClicks);
}

TEST_F(SkinButton, RepeatModeClicksWhileHeld) {
    // 500 ms is the delay before the repeat too: it must not be taken for it.
    for (Integer interval : {100, 500}) {
        SCOPED_TRACE(interval);
        FClicks = 0;
        TqxSkinButton* button = Button();
        button->SetRepeatMode(true);
        button->SetRepeatInterval(interval);
        Move(At(button));
        driver::MouseDown(At(button));
        Pump();
        AdvanceTime(500 + interval - 1);
        EXPECT_EQ(0, FClicks);
        AdvanceTime(1);
        EXPECT_EQ(1, FClicks);
        AdvanceTime(3 * interval);
        EXPECT_EQ(4, FClicks);
        // Off the button the repeat pauses.
        Move(Away());
        AdvanceTime(1000);
        EXPECT_EQ(4, FClicks);
        Move(At(button));
        AdvanceTime(500 + interval);
        EXPECT_EQ(5, FClicks);
        driver::MouseUp(At(button));
        Pump();
        EXPECT_EQ(6, FClicks);
        AdvanceTime(1000);
        EXPECT_EQ(6, FClicks);
        delete button;
    }
}

TEST_F(SkinButton, ACheckButtonTogglesAndClicks) {
    TqxSkinButton* button = Button();
    TEdit* edit = Add<TEdit>(200, 20, 100, 24);
    edit->SetFocus();
    button->SetCheckedMode(true);
    EXPECT_EQ(-1, button->GroupIndex());
    // A check button takes no focus, by click or by Tab.
    EXPECT_FALSE(button->CanFocused());
    EXPECT_FALSE(button->TabStop());
    driver::Key(VK_TAB);
    Pump();
    EXPECT_TRUE(edit->Focused());
    driver::MouseDown(At(button));
    Pump();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(1, FClicks);
    driver::MouseUp(At(button));
    Pump();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(1, FClicks);
    driver::MouseDown(At(button));
    Pump();
    EXPECT_EQ(1, FClicks);
    driver::MouseUp(At(button));
    Pump();
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(2, FClicks);
    EXPECT_TRUE(edit->Focused());
    button->SetCheckedMode(false);
    EXPECT_EQ(0, button->GroupIndex());
}

TEST_F(SkinButton, AGroupOfSiblings) {
    for (bool allowAllUp : {false, true}) {
        SCOPED_TRACE(allowAllUp);
        TqxSkinButton* first = Button();
        TqxSkinButton* second = Add<TqxSkinButton>(20, 100, 100, 30);
        second->SetSkinData(FSkin);
        second->OnClick = [this](TObject*) { ++FClicks; };
        for (TqxSkinButton* b : {first, second}) {
            b->SetGroupIndex(1);
            b->SetAllowAllUp(allowAllUp);
        }
        EXPECT_FALSE(first->CanFocused());
        EXPECT_FALSE(first->TabStop());
        driver::Click(At(first));
        driver::Click(At(second));
        Pump();
        EXPECT_EQ(!allowAllUp, !first->Down());
        EXPECT_TRUE(second->Down());
        // Pressing a down member again puts it up only with AllowAllUp.
        driver::Click(At(second));
        Pump();
        EXPECT_EQ(!allowAllUp, second->Down());
        EXPECT_EQ(allowAllUp ? 3 : 2, FClicks);
        delete first;
        delete second;
        FClicks = 0;
    }
}

TEST_F(SkinButton, EnterAndEscapeThroughAFormWithAnEditFocused) {
    TqxSkinButton* ok = Button();
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    TqxSkinButton* cancel = Add<TqxSkinButton>(20, 100, 100, 30);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    Integer cancels = 0;
    cancel->OnClick = [&](TObject*) { ++cancels; };
    TEdit* edit = Add<TEdit>(200, 20, 100, 24);
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    // The default button shows its hover look while the edit has the focus.
    EXPECT_TRUE(ok->MouseIn());
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(1, FClicks);
    EXPECT_EQ(mrOk, FForm->ModalResult());
    EXPECT_EQ(u"", edit->Text());
    driver::KeyDown(VK_SHIFT);
    driver::Key(VK_ESCAPE);
    driver::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(0, cancels);
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(1, cancels);
    EXPECT_EQ(mrCancel, FForm->ModalResult());
    // A focused button is the one Enter reaches.
    cancel->SetFocus();
    Pump();
    EXPECT_FALSE(ok->Active());
    EXPECT_FALSE(ok->MouseIn());
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(2, cancels);
    EXPECT_EQ(1, FClicks);
}

TEST_F(SkinButton, SpaceAndTheAcceleratorClick) {
    TqxSkinButton* button = Button();
    button->SetCaption(u"开始(&S)");
    button->SetFocus();
    driver::KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(0, FClicks);
    driver::KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(1, FClicks);
    TEdit* edit = Add<TEdit>(200, 20, 100, 24);
    edit->SetFocus();
    driver::KeyDown(VK_MENU);
    driver::Key('S');
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(2, FClicks);
    EXPECT_TRUE(button->Focused());
}

// Image 4 while hovered, 3 while down and hovered, 2 while disabled, else 1.
TEST_F(SkinButton, FourGlyphsByState) {
    const Cardinal colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    TFixtureSkin files;
    files.Files[u"glyph"] = PaintedBmp(
        40, 10, [&](Integer X, Integer Y) { return X % 10 == 0 || Y == 9 ? 0xFF00FFu : colours[X / 10]; });
    TqxSkinButton* button = Button(false);
    button->SetGlyph(FilePicture(files, u"glyph").get());
    button->SetNumGlyphs(4);
    const auto glyph = [&] { return PixelOf(button->Handle(), 50, 15); };
    const auto rgb = [](Cardinal C) { return TColor(RGB(Byte(C >> 16), Byte(C >> 8), Byte(C))); };
    EXPECT_EQ(rgb(colours[0]), glyph());
    Move(At(button));
    EXPECT_EQ(rgb(colours[3]), glyph());
    driver::MouseDown(At(button));
    Pump();
    EXPECT_EQ(rgb(colours[2]), glyph());
    driver::MouseUp(At(button));
    Move(Away());
    button->SetEnabled(false);
    EXPECT_EQ(rgb(colours[1]), glyph());
}

TEST_F(SkinButton, TheMorphTakesFiveStepsOf20ms) {
    TqxSkinButton* button = Button(true, true);
    Move(At(button));
    EXPECT_TRUE(button->MorphRunning());
    std::vector<double> steps;
    for (Integer i = 0; i < 5; ++i) {
        AdvanceTime(20);
        steps.push_back(button->MorphKf());
    }
    EXPECT_EQ((std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0}), steps);
    AdvanceTime(20);
    EXPECT_FALSE(button->MorphRunning());
    EXPECT_EQ(Look(u"activeskinrect"), Center(button));
    Move(Away());
    AdvanceTime(40);
    // Half way the look lies between the two.
    const TColor between = Center(button);
    EXPECT_NE(Look(u"activeskinrect"), between);
    EXPECT_NE(Look(u"skinrect"), between);
    AdvanceTime(60);
    EXPECT_EQ(0, button->MorphKf());
    EXPECT_EQ(Look(u"skinrect"), Center(button));
}

// Frames stacked down the element's five looks: the hover animation shows
// them in turn. A skin whose frame count is 0 animates nothing and never
// divides by it.
TEST_F(SkinButton, TheFrameAnimationRunsThroughItsFrames) {
    for (const char16_t* count : {u"5", u"0"}) {
        SCOPED_TRACE(StringToUTF8(count));
        TFixtureSkin skin = FlatSkin();
        SetValue(skin, u"button", u"morphing", u"0");
        SetValue(skin, u"button", u"animateskinrect", u"0,0,64,125");
        SetValue(skin, u"button", u"framecount", count);
        SetValue(skin, u"button", u"animateinterval", u"30");
        Load(skin);
        TqxSkinButton* button = Button(true, true);
        Move(At(button));
        if (count == String(u"0")) {
            AdvanceTime(100);
            EXPECT_FALSE(button->Animating());
            EXPECT_EQ(Look(u"activeskinrect"), Center(button));
            delete button;
            continue;
        }
        EXPECT_EQ(1, button->CurrentFrame());
        EXPECT_EQ(Look(u"skinrect"), Center(button));
        const char16_t* frames[] = {u"activeskinrect", u"downskinrect", u"disabledskinrect",
                                    u"focusedskinrect"};
        for (const char16_t* frame : frames) {
            AdvanceTime(30);
            EXPECT_EQ(Look(frame), Center(button)) << StringToUTF8(frame);
        }
        AdvanceTime(60);
        EXPECT_FALSE(button->Animating());
        EXPECT_EQ(0, button->CurrentFrame());
        delete button;
    }
}

class SkinButtonGlow : public SkinButton {
protected:
    TqxSkinButton* GlowButton(const TFixtureSkin& ASkin) {
        Load(ASkin);
        return Button(true, true);
    }
};

TEST_F(SkinButtonGlow, ShownAfterEnterHiddenAfterLeave) {
    TqxSkinButton* button = GlowButton(LayeredSkin());
    EXPECT_EQ(16, button->Width());
    Move(At(button, 8, 8));
    ASSERT_TRUE(button->LayerManager()->IsVisible());
    const HWND glow = button->LayerManager()->LayerWindow()->Handle();
    const driver::TWindowInfo info = driver::Inspect(glow);
    const POINT origin = ScreenPoint(button->Handle(), 0, 0);
    EXPECT_EQ(origin.x - 4, info.Bounds.left);
    EXPECT_EQ(origin.y - 4, info.Bounds.top);
    EXPECT_EQ(24, info.Bounds.right - info.Bounds.left);
    AdvanceTime(300);
    EXPECT_EQ(200, driver::Layered(glow).AlphaHistory.back());
    Move(Away());
    EXPECT_FALSE(button->LayerManager()->IsVisible());

    // Off in the skin data, only AlwaysShowLayeredFrame shows it.
    FSkin->SetShowButtonGlowFrames(false);
    Move(At(button, 8, 8));
    EXPECT_FALSE(button->LayerManager()->IsVisible());
    Move(Away());
    button->SetAlwaysShowLayeredFrame(true);
    Move(At(button, 8, 8));
    EXPECT_TRUE(button->LayerManager()->IsVisible());
    Move(Away());

    Capabilities().HasUpdateLayeredWindow = false;
    LoadPlatformEntryPoints();
    Move(At(button, 8, 8));
    EXPECT_FALSE(button->LayerManager()->IsVisible());
}

// A glow picture index outside the pictures, or a mask that is not there,
// shows no glow.
TEST_F(SkinButtonGlow, ABrokenGlowShowsNothing) {
    for (const auto& [key, value] :
         {std::pair{u"glowlayerpictureindex", u"99"}, std::pair{u"glowlayermaskpictureindex", u"-1"},
          std::pair{u"glowlayermaskpictureindex", u"99"}}) {
        TFixtureSkin skin = LayeredSkin();
        SetValue(skin, u"button", key, value);
        TqxSkinButton* button = GlowButton(skin);
        Move(At(button, 8, 8));
        EXPECT_FALSE(button->LayerManager()->IsVisible()) << StringToUTF8(key);
        Move(Away());
        delete button;
    }
}

TEST_F(SkinButton, RefreshButtonDropsHoverAndDown) {
    TqxSkinButton* button = Button();
    Move(At(button));
    button->SetDown(true);
    EXPECT_EQ(Look(u"downskinrect"), Center(button));
    button->RefreshButton();
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->MouseIn());
    EXPECT_EQ(Look(u"skinrect"), Center(button));
}

struct TActionHandlers {
    Integer Executes = 0;
    Integer Clicks = 0;
    void Execute(TObject*) { ++Executes; }
    void Click(TObject*) { ++Clicks; }
};

TEST_F(SkinButton, ALinkedActionGivesItsImageAndRuns) {
    TqxSkinButton* button = Button();
    TActionHandlers handlers;
    auto* images = new TCustomImageList(FForm);
    TBitmap picture;
    picture.SetSize(32, 16);
    images->Add(&picture, nullptr);
    auto* list = new TActionList(FForm);
    list->SetImages(images);
    auto* action = new TAction(FForm);
    action->SetActionList(list);
    action->SetImageIndex(1);
    action->OnExecute = TMethod<void(TObject*)>(&handlers, &TActionHandlers::Execute);
    button->OnClick = nullptr;
    button->SetAction(action);
    EXPECT_EQ(images, button->ImageList());
    EXPECT_EQ(1, button->ImageIndex());
    // OnClick took the action's handler: the action runs once.
    button->ButtonClick();
    EXPECT_EQ(1, handlers.Executes);
    // Another handler runs instead of the action.
    button->OnClick = TMethod<void(TObject*)>(&handlers, &TActionHandlers::Click);
    button->ButtonClick();
    EXPECT_EQ(1, handlers.Executes);
    EXPECT_EQ(1, handlers.Clicks);
}

}  // namespace
