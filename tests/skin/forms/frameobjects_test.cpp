// The frame objects and the mouse over the frame: hover morphs, the looks by
// state, the caption buttons' presses and commands, the caption's
// animation and quick buttons, the system menu and the form's short cuts.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/captionobject.h"

using namespace win;
using namespace skinfixtures;

namespace {

class ObjectsTest : public FormsTest {
protected:
    template <typename T = TqxSkinStdButtonObject>
    static T* Object(TForm* AForm, const String& AName) {
        const Integer index = D(AForm)->GetIndex(AName);
        return index == -1 ? nullptr : dynamic_cast<T*>(D(AForm)->ObjectList[size_t(index)].get());
    }
    // The centre of an object on the screen.
    static POINT Centre(TForm* AForm, const String& AName) {
        const TRect r = Object<TqxActiveSkinObject>(AForm, AName)->ObjectRect;
        return At(AForm, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    static TColor CentrePixel(TForm* AForm, const String& AName) {
        const POINT p = Centre(AForm, AName);
        return FramePixel(AForm, p.x - AForm->Left(), p.y - AForm->Top());
    }
    static TColor Look(const char16_t* AObject, const char16_t* AKey) {
        return ColorToRGB(FlatColor(AObject, AKey, fpWhole));
    }
};

TEST_F(ObjectsTest, AMorphLeftHalfWayGoesBackInStepsAndStops) {
    TForm* form = SkinnedForm(FlatSkin());
    auto* min = Object(form, u"minbutton");
    ASSERT_TRUE(min->EnableMorphing());
    // The hover tracking runs on its timer once a skin is in.
    driver::MouseMove(Centre(form, u"minbutton"));
    driver::AdvanceTime(50);
    ASSERT_TRUE(min->Active);
    driver::AdvanceTime(75);
    EXPECT_DOUBLE_EQ(min->MorphKf(), 0.6);
    driver::MouseMove(POINT{1500, 900});
    driver::Pump();
    D(form)->TrackActiveObject(-1, -1, false);
    std::vector<double> steps;
    for (Integer i = 0; i < 4; ++i) {
        driver::AdvanceTime(25);
        steps.push_back(min->MorphKf());
    }
    const std::vector<double> expected{0.4, 0.2, 0, 0};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(steps[i], expected[i], 1e-9) << i;
    EXPECT_EQ(steps.back(), 0);
    EXPECT_FALSE(D(form)->MorphTimer->Enabled());
    EXPECT_EQ(CentrePixel(form, u"minbutton"), Look(u"minbutton", u"skinrect"));
}

TEST_F(ObjectsTest, WithoutEffectsOrAnActiveLookHoverSwitchesAtOnce) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"maxbutton", u"activeskinrect", u"0,0,0,0");
    TForm* form = SkinnedForm(skin);
    // Morphing needs a hover look.
    EXPECT_FALSE(Object(form, u"maxbutton")->Morphing);
    D(form)->SkinData()->SetEnableSkinEffects(false);
    std::vector<std::string> events;
    D(form)->OnMouseEnterEvent = [&](const String& AName) { events.push_back("enter " + StringToUTF8(AName)); };
    D(form)->OnMouseLeaveEvent = [&](const String& AName) { events.push_back("leave " + StringToUTF8(AName)); };
    driver::MouseMove(Centre(form, u"minbutton"));
    driver::AdvanceTime(50);
    EXPECT_FALSE(D(form)->MorphTimer->Enabled());
    EXPECT_EQ(CentrePixel(form, u"minbutton"), Look(u"minbutton", u"activeskinrect"));
    driver::MouseMove(Centre(form, u"maxbutton"));
    driver::AdvanceTime(50);
    EXPECT_EQ(CentrePixel(form, u"maxbutton"), Look(u"maxbutton", u"skinrect"));
    EXPECT_EQ(CentrePixel(form, u"minbutton"), Look(u"minbutton", u"skinrect"));
    EXPECT_EQ(events, (std::vector<std::string>{"enter minbutton", "leave minbutton", "enter maxbutton"}));
}

TEST_F(ObjectsTest, AnInactiveFormShowsTheInactiveLookOfEnabledObjects) {
    TForm* form = SkinnedForm(FlatSkin());
    D(form)->SetBorderIcons({TqxBorderIcon::biSystemMenu, TqxBorderIcon::biMinimize});
    NewSkinnedForm(u"Other", Rect(800, 600, 1000, 800));
    ASSERT_FALSE(form->Active());
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(CentrePixel(form, u"minbutton"), Look(u"minbutton", u"inactiveskinrect"));
    EXPECT_EQ(CentrePixel(form, u"closebutton"), Look(u"closebutton", u"inactiveskinrect"));
}

TEST_F(ObjectsTest, ObjectsInTheFramePictureAreOnlyDrawnWhenAlone) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"minbutton", u"skinrectinapicture", u"0");
    SetValue(skin, u"minbutton", u"skinrect", u"300,40,340,60");
    TForm* form = SkinnedForm(skin);
    auto* min = Object(form, u"minbutton");
    TBitmap canvas;
    canvas.SetSize(800, 600);
    canvas.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
    canvas.Canvas()->FillRect(Rect(0, 0, 800, 600));
    const TRect r = min->ObjectRect;
    min->Draw(canvas.Canvas(), false);
    EXPECT_EQ(canvas.Canvas()->Pixels(r.Left + 2, r.Top + 2), RGB(1, 2, 3));
    min->Draw(canvas.Canvas(), true);
    EXPECT_EQ(canvas.Canvas()->Pixels(r.Left + 2, r.Top + 2),
              D(form)->SkinData()->FPicture->Canvas()->Pixels(min->SkinRect.Left + 2, min->SkinRect.Top + 2));
}

TEST_F(ObjectsTest, UserObjectsArePaintedByTheProgram) {
    TFixtureSkin skin = FlatSkin();
    const Integer count = StrToInt(GetValue(skin, u"SKINOBJECTS", u"count"));
    SetValue(skin, u"SKINOBJECTS", IntToStr(count), u"logo:userobject");
    SetValue(skin, u"SKINOBJECTS", u"count", IntToStr(count + 1));
    SetValue(skin, u"logo", u"skinrect", u"60,5,80,20");
    TForm* form = SkinnedForm(skin);
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    const TColor before = FramePixel(form, 65, 10);
    std::vector<TRect> painted;
    D(form)->OnPaintEvent = [&](const String& AName, TCanvas* ACanvas, TRect ARect) {
        EXPECT_EQ(AName, u"logo");
        painted.push_back(ARect);
        ACanvas->Brush()->SetColor(RGB(9, 8, 7));
        ACanvas->FillRect(ARect);
    };
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(painted, std::vector<TRect>{Rect(60, 5, 80, 20)});
    EXPECT_EQ(FramePixel(form, 65, 10), RGB(9, 8, 7));
    D(form)->OnPaintEvent = nullptr;
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(FramePixel(form, 65, 10), before);
}

TEST_F(ObjectsTest, CloseMovedOffBeforeTheReleaseLeavesTheFormOpen) {
    TForm* form = SkinnedForm(FlatSkin());
    const POINT close = Centre(form, u"closebutton");
    driver::MouseMove(close);
    driver::MouseDown(close);
    driver::Pump();
    EXPECT_TRUE(Object(form, u"closebutton")->Down());
    EXPECT_EQ(CentrePixel(form, u"closebutton"), Look(u"closebutton", u"downrect"));
    // Over another button while pressed: that one stays dark.
    driver::MouseMove(Centre(form, u"maxbutton"));
    driver::AdvanceTime(50);
    EXPECT_FALSE(Object(form, u"maxbutton")->Active);
    EXPECT_FALSE(Object(form, u"closebutton")->Active);
    driver::MouseUp(Centre(form, u"maxbutton"));
    driver::Pump();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(Object(form, u"closebutton")->Down());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(D(form)->WindowState(), wsNormal);
}

TEST_F(ObjectsTest, CloseIsDrawnUpBeforeTheFormClosesAndOtherCommandsRunFirst) {
    TForm* form = SkinnedForm(FlatSkin());
    TColor atClose = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { atClose = CentrePixel(form, u"closebutton"); };
    driver::MouseMove(Centre(form, u"closebutton"));
    driver::Click(Centre(form, u"closebutton"));
    driver::Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(atClose, Look(u"closebutton", u"activeskinrect"));

    TForm* other = SkinnedForm(FlatSkin());
    bool downWhenMaximized = false;
    D(other)->OnMaximize = [&](TObject*) { downWhenMaximized = Object(other, u"maxbutton")->Down(); };
    driver::MouseMove(Centre(other, u"maxbutton"));
    driver::Click(Centre(other, u"maxbutton"));
    driver::Pump();
    EXPECT_EQ(D(other)->WindowState(), wsMaximized);
    EXPECT_TRUE(downWhenMaximized);
    // Maximized, the button shows and hints its restore look.
    driver::MouseMove(Centre(other, u"maxbutton"));
    driver::AdvanceTime(200);
    EXPECT_EQ(Object(other, u"maxbutton")->Hint, u"Restore");
    EXPECT_EQ(CentrePixel(other, u"maxbutton"), Look(u"maxbutton", u"restoreactiverect"));
}

TEST_F(ObjectsTest, TheRestoreLookOfAMinimizeButtonOnASecondaryFormOnly) {
    TFixtureSkin skin = FlatSkin();
    for (const char16_t* key : {u"restorerect", u"restoreactiverect", u"restoredownrect", u"restoreinactiverect"})
        SetValue(skin, u"minbutton", key, GetValue(skin, u"maxbutton", key));
    TForm* main = NewMainForm(Rect(100, 100, 700, 500));
    D(main)->SetSkinData(NewSkinData(skin));
    TForm* form = SkinnedForm(skin);
    D(form)->SetWindowState(wsMinimized);
    EXPECT_TRUE(Object(form, u"minbutton")->IsRestoreState());
    D(main)->SetWindowState(wsMinimized);
    // The main form's applied state stays normal: no restore look.
    EXPECT_FALSE(Object(main, u"minbutton")->IsRestoreState());
}

TEST_F(ObjectsTest, TheSystemMenuButtonOpensOnThePressAndStaysDown) {
    TForm* form = SkinnedForm(FlatSkin());
    TRecordingMenu* menu = Menu(form);
    driver::MouseMove(Centre(form, u"sysmenubutton"));
    driver::MouseDown(Centre(form, u"sysmenubutton"));
    driver::Pump();
    EXPECT_EQ(menu->Calls, std::vector<std::string>{"Popup"});
    ASSERT_NE(menu->LastItem, nullptr);
    std::vector<String> items;
    for (Integer i = 0; i < menu->LastItem->Count(); ++i)
        items.push_back(menu->LastItem->Items(i)->Name());
    EXPECT_EQ(items, (std::vector<String>{u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_ROLLUP", u"", u"QXD_CLOSE"}));
    const TRect button = D(form)->WindowToScreen(Object(form, u"sysmenubutton")->ObjectRect);
    EXPECT_EQ(menu->LastRect, button);
    driver::MouseUp(Centre(form, u"sysmenubutton"));
    driver::Pump();
    EXPECT_TRUE(Object(form, u"sysmenubutton")->Down());
    EXPECT_TRUE(D(form)->InMenu());
    menu->Hide();
    EXPECT_FALSE(Object(form, u"sysmenubutton")->Down());
    EXPECT_FALSE(D(form)->InMenu());

    // A double click on it closes the form.
    driver::MouseMove(Centre(form, u"sysmenubutton"));
    driver::Click(Centre(form, u"sysmenubutton"));
    driver::Click(Centre(form, u"sysmenubutton"));
    driver::Pump();
    EXPECT_FALSE(form->Visible());
}

TEST_F(ObjectsTest, TheSystemMenuFollowsTheStateAndOpensFromTheCaption) {
    TForm* form = SkinnedForm(FlatSkin());
    TRecordingMenu* menu = Menu(form);
    const auto names = [&] {
        std::vector<String> result;
        TMenuItem* items = D(form)->GetSystemMenuItems();
        for (Integer i = 0; i < items->Count(); ++i)
            result.push_back(items->Items(i)->IsLine() ? String(u"-") : items->Items(i)->Name());
        return result;
    };
    D(form)->SetWindowState(wsMaximized);
    EXPECT_EQ(names(), (std::vector<String>{u"QXD_MINITEM", u"QXD_RESTORE", u"QXD_ROLLUP", u"-", u"QXD_CLOSE"}));
    D(form)->SetWindowState(wsNormal);
    D(form)->SetRollUpState(true);
    EXPECT_EQ(names(), (std::vector<String>{u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_RESTORE", u"-", u"QXD_CLOSE"}));
    // Restore rolls the form down.
    D(form)->GetSystemMenuItems()->Items(2)->Click();
    EXPECT_FALSE(D(form)->RollUpState());
    D(form)->SetBorderIcons({});
    EXPECT_EQ(names(), std::vector<String>{u"QXD_CLOSE"});
    EXPECT_EQ(D(form)->GetSystemMenuItems()->Items(0)->ShortCut(), TShortCut(VK_F4) | scAlt);

    // A right click on the caption opens it at the cursor, unless disabled.
    driver::Click(At(form, 150, 10), VK_RBUTTON);
    driver::Pump();
    EXPECT_EQ(menu->Calls, std::vector<std::string>{"Popup"});
    EXPECT_EQ(menu->LastRect, Rect(250, 110, 250, 110));
    menu->Hide();
    menu->Calls.clear();
    D(form)->SetDisableSystemMenu(true);
    driver::Click(At(form, 150, 10), VK_RBUTTON);
    driver::Pump();
    EXPECT_TRUE(menu->Calls.empty());
    D(form)->LinkMenu(u"nothing", D(form)->SystemMenu(), false);
}

TEST_F(ObjectsTest, AltSpaceOpensTheSystemMenuUnderItsButtonAndF1RunsTheMainMenu) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 400));
    TRecordingMenu* menu = Menu(form);
    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize});
    driver::KeyDown(VK_MENU);
    driver::Key(VK_SPACE);
    driver::KeyUp(VK_MENU);
    Application->ProcessMessages();
    // No system-menu button: nothing opens.
    EXPECT_TRUE(menu->Calls.empty());
    D(form)->SetBorderIcons({TqxBorderIcon::biSystemMenu});
    driver::KeyDown(VK_MENU);
    driver::Key(VK_SPACE);
    driver::KeyUp(VK_MENU);
    Application->ProcessMessages();
    EXPECT_EQ(menu->Calls, std::vector<std::string>{"Popup"});
    EXPECT_EQ(menu->LastRect, D(form)->WindowToScreen(Object(form, u"sysmenubutton")->ObjectRect));
    menu->Hide();

    // The form's menu goes when it shows; its short cuts stay.
    auto* main = new TForm(Application);
    main->SetBoundsRect(Rect(100, 100, 600, 400));
    auto* mainMenu = new TMainMenu(main);
    auto* help = new TMenuItem(mainMenu);
    help->SetCaption(u"帮助系统");
    help->SetShortCut(VK_F1);
    Integer runs = 0;
    help->OnClick = [&](TObject*) { ++runs; };
    mainMenu->Items()->Add(help);
    main->SetMenu(mainMenu);
    new TqxDravenfold(main);
    main->Show();
    driver::Pump();
    EXPECT_EQ(main->Menu(), nullptr);
    driver::Key(VK_F1);
    Application->ProcessMessages();
    EXPECT_EQ(runs, 1);
}

TEST_F(ObjectsTest, TheMouseLeavingTheWindowLeavesTheButtonWithinFiftyMilliseconds) {
    TForm* form = SkinnedForm(FlatSkin());
    std::vector<std::string> events;
    D(form)->OnMouseLeaveEvent = [&](const String& AName) { events.push_back(StringToUTF8(AName)); };
    driver::MouseMove(Centre(form, u"closebutton"));
    driver::AdvanceTime(50);
    ASSERT_TRUE(Object(form, u"closebutton")->Active);
    driver::MouseMove(POINT{1500, 900});
    driver::AdvanceTime(49);
    EXPECT_TRUE(events.empty());
    driver::AdvanceTime(1);
    EXPECT_EQ(events, std::vector<std::string>{"closebutton"});
    EXPECT_FALSE(Object(form, u"closebutton")->Active);
    EXPECT_FALSE(D(form)->MouseTimer->Enabled());
}

TEST_F(ObjectsTest, TheCaptionTakesNoCaptureAndFiresItsEvents) {
    TForm* form = SkinnedForm(FlatSkin());
    std::vector<std::string> events;
    D(form)->OnMouseDownEvent = [&](const String& AName, Integer, Integer, TRect, TMouseButton) {
        events.push_back("down " + StringToUTF8(AName));
        EXPECT_EQ(GetCapture(), nullptr);
    };
    driver::MouseMove(At(form, 150, 10));
    driver::MouseDown(At(form, 150, 10));
    driver::MouseUp(At(form, 150, 10));
    driver::Pump();
    EXPECT_EQ(events, std::vector<std::string>{"down caption"});
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(D(form)->MouseCaptureObject, -1);
}

TEST_F(ObjectsTest, AFourFrameCaptionAnimationShowsEachFrameForItsInterval) {
    TFixtureSkin skin = FlatSkin();
    const String index = GetValue(skin, u"closebutton", u"activepictureindex");
    SetValue(skin, u"caption", u"activepictureindex", index);
    SetValue(skin, u"caption", u"activeskinrect", u"0,0,40,20");
    SetValue(skin, u"caption", u"animateskinrect", u"0,0,160,20");
    SetValue(skin, u"caption", u"framecount", u"4");
    SetValue(skin, u"caption", u"animateinterval", u"100");
    TForm* form = SkinnedForm(skin);
    auto* caption = Object<TqxSkinCaptionObject>(form, u"caption");
    ASSERT_TRUE(caption->EnableAnimation());
    NewSkinnedForm(u"Other", Rect(800, 600, 1000, 800));
    form->SetFocus();
    driver::Pump();
    std::vector<Integer> frames{caption->CurrentFrame};
    for (Integer i = 0; i < 5; ++i) {
        driver::AdvanceTime(100);
        frames.push_back(caption->CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<Integer>{1, 2, 3, 4, 5, 5}));
    EXPECT_FALSE(D(form)->AnimateTimer->Enabled());
}

TEST_F(ObjectsTest, AQuickButtonClicksOnlyWhenReleasedOverIt) {
    TForm* form = SkinnedForm(FlatSkin());
    auto* images = new TCustomImageList(16, 16, form);
    TBitmap image;
    image.SetSize(16, 16);
    images->Add(&image, nullptr);
    D(form)->SetQuickImageList(images);
    TqxQuickButtonItem* item = D(form)->QuickButtons()->Add();
    item->SetImageIndex(0);
    Integer clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    const TRect r = item->ItemRect;
    ASSERT_GT(r.Width(), 0);
    const POINT on = At(form, r.Left + 4, r.Top + 4);
    // The quick buttons are no caption: no move loop starts there.
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(WORD(on.x), WORD(on.y))), HTOBJECT);
    driver::MouseMove(on);
    driver::Click(on);
    driver::Pump();
    EXPECT_EQ(clicks, 1);
    driver::MouseDown(on);
    driver::MouseMove(At(form, r.Right + 100, r.Top + 4));
    driver::MouseUp(At(form, r.Right + 100, r.Top + 4));
    driver::Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(item->Down);
}

}  // namespace
