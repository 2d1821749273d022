// The form component: its hook on the form, the form description, the links
// it drops, the finder and the form's icon.
#include "skin/forms/dravenfold.h"

#include <gtest/gtest.h>

#include "platform/base/fileutils.h"
#include "platform/gdi/icons.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/input.h"
#include "platform/win/system.h"
#include "skin/controls/qxmenuopener.h"
#include "formtest.h"

using namespace win;
using namespace skinfixtures;

namespace {

using DravenfoldTest = FormsTest;

// The client area's offsets from the window's corners: left, top, right, bottom.
RECT Insets(TForm* AForm) {
    const driver::TWindowInfo info = driver::Inspect(AForm->Handle());
    return RECT{info.Client.left - info.Bounds.left, info.Client.top - info.Bounds.top,
                info.Bounds.right - info.Client.right, info.Bounds.bottom - info.Client.bottom};
}

TEST_F(DravenfoldTest, TheHookLivesFromConstructionToDestructionAndGivesEverythingBack) {
    auto* form = new TForm(Application);
    form->SetBoundsRect(Rect(100, 100, 400, 300));
    bool userShortCut = false;
    form->OnShortCut = [&](TWMKey&, bool&) { userShortCut = true; };
    form->Show();
    const RECT native = Insets(form);

    auto* component = new TqxDravenfold(form);
    // The window was made again through the hook: the default look's frame.
    EXPECT_EQ(Insets(form).left, 3);
    EXPECT_EQ(Insets(form).top, 22);
    EXPECT_TRUE(form->BorderIcons().Empty());
    EXPECT_EQ(component->BorderIcons(), (TqxBorderIcons{TqxBorderIcon::biSystemMenu, TqxBorderIcon::biMinimize,
                                                        TqxBorderIcon::biMaximize, TqxBorderIcon::biRollUp}));

    Free(component);
    form->RecreateWnd();
    form->HandleNeeded();
    EXPECT_EQ(Insets(form).top, native.top);
    TWMKey key{WM_KEYDOWN, VK_F2, 0, 0};
    form->IsShortCut(key);
    EXPECT_TRUE(userShortCut);

    // A form freed with its component on it leaves nothing dangling.
    new TqxDravenfold(form);
    Free(form);
    driver::Pump();
}

TEST_F(DravenfoldTest, AnOwnerThatIsNoFormIsRefused) {
    TComponent owner(nullptr);
    EXPECT_THROW(TqxDravenfold component(&owner), EInvalidCast);
}

TEST_F(DravenfoldTest, TheFinderTakesTheFirstComponentInOrder) {
    EXPECT_EQ(FindDravenfold(nullptr), nullptr);
    auto* form = new TForm(Application);
    EXPECT_EQ(FindDravenfold(form), nullptr);
    new TComponent(form);
    auto* first = new TqxDravenfold(form);
    new TqxDravenfold(form);
    EXPECT_EQ(FindDravenfold(form), first);
    // Controls reach the component's skin data through the finder it installs.
    EXPECT_EQ(FormSkinData(form), nullptr);
    auto* skinData = new TqxSkinData(form);
    first->SetSkinData(skinData);
    EXPECT_EQ(FormSkinData(form), skinData);
    EXPECT_EQ(FormSkinData(nullptr), nullptr);
}

TEST_F(DravenfoldTest, AFormDescriptionSetsTheBorderIconsByTheirNames) {
    TTempFolder folder;
    const String file = folder.Path() + u"form.txt";
    WriteFileBytes(file, StringToUTF8(u"object Form1: TForm\r\n"
                                      u"  BorderStyle = bsSizeable\r\n"
                                      u"  object qxSkinData1: TqxSkinData\r\n"
                                      u"  end\r\n"
                                      u"  object Dravenfold1: TqxDravenfold\r\n"
                                      u"    SkinData = qxSkinData1\r\n"
                                      u"    BorderIcons = [biMinimize, biMinimizeToTray]\r\n"
                                      u"    PositionInMonitor = qxpDesktopCenter\r\n"
                                      u"    ClientWidth = 350\r\n"
                                      u"  end\r\n"
                                      u"end\r\n"));
    auto* form = new TForm(Application);
    ReadDescriptionFile(form, file);
    TqxDravenfold* component = D(form);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->BorderIcons(),
              (TqxBorderIcons{TqxBorderIcon::biMinimize, TqxBorderIcon::biMinimizeToTray}));
    EXPECT_EQ(component->PositionInMonitor(), qxpDesktopCenter);
    EXPECT_EQ(component->ClientWidth(), 350);
    EXPECT_NE(component->SkinData(), nullptr);
    // The toolkit's own border icons keep their names.
    EXPECT_TRUE(form->BorderIcons().Empty());
}

TEST_F(DravenfoldTest, LinksToComponentsThatGoAreDropped) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    auto* menus = new TqxSkinData(Application);
    auto* system = new TPopupMenu(Application);
    D(form)->SetSkinData(skin);
    D(form)->SetMenusSkinData(menus);
    D(form)->SetSystemMenu(system);
    Free(skin);
    Free(menus);
    Free(system);
    EXPECT_EQ(D(form)->SkinData(), nullptr);
    EXPECT_EQ(D(form)->MenusSkinData(), nullptr);
    EXPECT_EQ(D(form)->SystemMenu(), nullptr);
    // The frame is still drawn, now in the default look.
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    EXPECT_EQ(FramePixel(form, 0, 0), ColorToRGB(cl3DDkShadow));
}

TEST_F(DravenfoldTest, ARibbonFormIsNeverSkinned) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    D(form)->SetUseRibbon(true);
    EXPECT_FALSE(D(form)->SkinnableForm());
    D(form)->SetSkinnableForm(true);
    EXPECT_FALSE(D(form)->SkinnableForm());
    // The layer's own frame.
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize, biMaximize}));
    EXPECT_EQ(Insets(form).top, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
}

TEST_F(DravenfoldTest, TheIconFallsBackToTheStockApplicationIconAtTheSmallSize) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    D(form)->SetShowIcon(true);
    D(form)->CreateFormIcon();
    EXPECT_TRUE(D(form)->CheckIconAlpha());
    // The system-menu button of the default look shows the icon.
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    const Integer w = GetSystemMetrics(SM_CXSMICON);
    bool drawn = false;
    for (Integer x = 3; x < 3 + w; ++x)
        drawn = drawn || FramePixel(form, x, 4 + w / 2) != ColorToRGB(clBtnFace);
    EXPECT_TRUE(drawn);
    // The stock icon stays usable for everyone else.
    TIcon copy;
    copy.SetHandle(static_cast<HICON>(CopyImage(LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, 0, 0, 0)));
    EXPECT_FALSE(copy.Empty());
}

TEST_F(DravenfoldTest, NudgingTheWidthKeepsTheSize) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 221, 300));
    for (const Integer width : {121, 300}) {
        form->SetWidth(width);
        D(form)->NudgeFormWidth();
        EXPECT_EQ(form->Width(), width);
    }
}

}  // namespace
