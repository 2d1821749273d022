// Window states of a skinned form done by moving its own window, the size
// limits, centring, shadow and alpha, and the inactive client effect.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskintoolbars.h"

using namespace win;
using namespace skinfixtures;

namespace {

class StatesTest : public FormsTest {
protected:
};

TEST_F(StatesTest, MinimizedSecondaryFormsLineUpFromTheBottomLeft) {
    TForm* main = NewMainForm(Rect(0, 0, 800, 600));
    (void)main;
    TForm* a = SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 700, 500));
    TForm* b = SkinnedForm(ProjectSkin(u"default"), Rect(150, 150, 750, 550));
    D(a)->SetWindowState(wsMinimized);
    D(b)->SetWindowState(wsMinimized);
    const Integer w = D(a)->GetMinWidth(), h = D(a)->GetMinHeight();
    EXPECT_EQ(a->BoundsRect(), Rect(0, 1040 - h, w, 1040));
    EXPECT_EQ(b->BoundsRect(), Rect(w, 1040 - h, 2 * w, 1040));
    EXPECT_EQ(D(a)->WindowState(), wsMinimized);
    EXPECT_EQ(a->WindowState(), wsNormal);
    // Restoring gives the exact bounds back.
    D(a)->SetWindowState(wsNormal);
    EXPECT_EQ(a->BoundsRect(), Rect(100, 100, 700, 500));
}

TEST_F(StatesTest, TheMainFormMinimizesTheApplicationAndKeepsTheAppliedStateNormal) {
    TForm* main = NewMainForm(Rect(100, 100, 700, 500));
    ASSERT_EQ(Application->MainForm(), main);
    bool minimized = false;
    D(main)->OnMinimize = [&](TObject*) { minimized = true; };
    D(main)->SetWindowState(wsMinimized);
    EXPECT_TRUE(minimized);
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_EQ(D(main)->WindowState(), wsNormal);
    EXPECT_EQ(D(main)->AppliedWindowState(), wsNormal);
}

TEST_F(StatesTest, MaximizeFillsTheWorkAreaAndRestoreBringsTheBoundsBack) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(123, 77, 723, 477));
    D(form)->SetWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1920, 1040));
    EXPECT_EQ(form->WindowState(), wsNormal);
    // A maximized form cannot be dragged.
    driver::MouseDown(At(form, 200, 10));
    driver::MouseMove(POINT{300, 100});
    driver::MouseUp(POINT{300, 100});
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1920, 1040));
    D(form)->SetWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), Rect(123, 77, 723, 477));

    // A task bar that hides itself leaves the whole monitor as work area: a
    // pixel stays free on each side.
    driver::SetMonitors({TMonitorArea{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1080}}});
    D(form)->SetWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), Rect(1, 1, 1919, 1079));
    D(form)->SetWindowState(wsNormal);
    D(form)->SetMaximizeOnFullScreen(true);
    driver::SetMonitors({TMonitorArea{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}}});
    D(form)->SetWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1920, 1080));
}

TEST_F(StatesTest, TheStatusBarsGripHidesWhileMaximized) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = SkinnedForm(ProjectSkin(u"default"));
    auto* bar = new TqxSkinStatusBar(form);
    bar->SetParent(form);
    D(form)->SetStatusBar(bar);
    D(form)->SetWindowState(wsMaximized);
    // Without a grip there is nothing to hide.
    EXPECT_TRUE(bar->ShowGrip());
    D(form)->SetWindowState(wsNormal);
    bar->SetSizeGrip(true);
    D(form)->SetWindowState(wsMaximized);
    EXPECT_FALSE(bar->ShowGrip());
    D(form)->SetWindowState(wsNormal);
    EXPECT_TRUE(bar->ShowGrip());
    delete bar;
    EXPECT_EQ(nullptr, D(form)->StatusBar());
}

TEST_F(StatesTest, RollUpIsRefusedWithoutItsIconAndWhileMinimized) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    Integer changes = 0;
    D(form)->OnChangeRollUpState = [&](TObject*) { ++changes; };
    D(form)->SetRollUpState(true);
    EXPECT_TRUE(D(form)->RollUpState());
    EXPECT_EQ(form->Height(), 25);
    EXPECT_EQ(D(form)->RealHeight(), 300);
    D(form)->SetRollUpState(false);
    EXPECT_EQ(form->Height(), 300);
    EXPECT_EQ(changes, 2);

    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize});
    D(form)->SetRollUpState(true);
    EXPECT_FALSE(D(form)->RollUpState());
    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize, TqxBorderIcon::biRollUp});
    D(form)->SetWindowState(wsMinimized);
    D(form)->SetRollUpState(true);
    EXPECT_FALSE(D(form)->RollUpState());
    EXPECT_EQ(changes, 2);
}

TEST_F(StatesTest, SizeLimitsWithAndWithoutASkin) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    EXPECT_EQ(D(form)->GetMinWidth(), 120);
    EXPECT_EQ(D(form)->GetMinHeight(), 25);
    D(form)->SetMinWidth(200);
    D(form)->SetMinHeight(100);
    EXPECT_EQ(D(form)->GetMinWidth(), 200);
    EXPECT_EQ(D(form)->GetMinHeight(), 100);
    EXPECT_EQ(D(form)->GetMaxWidth(), 1920);
    EXPECT_EQ(D(form)->GetMaxHeight(), 1040);
    // The form cannot be made smaller than its minimum.
    form->SetBounds(100, 100, 50, 50);
    EXPECT_EQ(form->Width(), 200);
    EXPECT_EQ(form->Height(), 100);

    TFixtureSkin skin = ProjectSkin(u"default");
    SetValue(skin, u"FORMINFO", u"formminwidth", u"0");
    SetValue(skin, u"FORMINFO", u"formminheight", u"0");
    D(form)->SetMinWidth(0);
    D(form)->SetMinHeight(0);
    D(form)->SetSkinData(NewSkinData(skin));
    const TqxSkinData* s = D(form)->SkinData();
    EXPECT_EQ(D(form)->GetMinWidth(), s->FPicture->Width());
    EXPECT_EQ(D(form)->GetMinHeight(), s->FPicture->Height() - s->ClRect.Height());
}

TEST_F(StatesTest, MinimizingIntoAFullAreaEndsAtTheBottomLeftEvenWithEmptySlots) {
    // A skin whose frame is all client: its minimum height comes out 0.
    TFixtureSkin skin = ProjectSkin(u"default");
    SetValue(skin, u"FORMINFO", u"formminheight", u"0");
    SetValue(skin, u"FORMINFO", u"clientrect", u"0,0,400,160");
    driver::SetMonitors({TMonitorArea{RECT{0, 0, 1920, 1080}, RECT{0, 0, 400, 2}}});
    NewMainForm(Rect(0, 0, 300, 200));
    std::vector<TForm*> forms;
    for (Integer i = 0; i < 4; ++i) {
        forms.push_back(SkinnedForm(skin, Rect(100, 100, 600, 400)));
        D(forms.back())->SetWindowState(wsMinimized);
    }
    EXPECT_EQ(forms[0]->Top(), 1);
    EXPECT_EQ(forms[1]->Top(), 0);
    // No slot left: the bottom-left one is used again.
    EXPECT_EQ(forms[2]->Top(), 1);
    EXPECT_EQ(forms[2]->Left(), 0);
}

TEST_F(StatesTest, CentringShadowAlphaAndStyles) {
    NewMainForm(Rect(0, 0, 300, 200));
    auto* form = new TForm(Application);
    form->SetBoundsRect(Rect(10, 10, 410, 310));
    auto* component = new TqxDravenfold(form);
    component->SetPositionInMonitor(qxpDesktopCenter);
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Rect(760, 370, 1160, 670));
    // Moved away, it stays: only the first show centres.
    form->SetBounds(0, 0, 400, 300);
    form->Hide();
    form->Show();
    EXPECT_EQ(form->Left(), 0);

    component->EnableShadow(true, false);
    EXPECT_TRUE(driver::Inspect(form->Handle()).ClassStyle & CS_DROPSHADOW);
    component->EnableShadow(false, false);
    EXPECT_FALSE(driver::Inspect(form->Handle()).ClassStyle & CS_DROPSHADOW);

    component->SetAlphaBlendValue(120);
    component->SetAlphaBlend(true);
    EXPECT_TRUE(driver::Inspect(form->Handle()).ExStyle & WS_EX_LAYERED);
    EXPECT_EQ(driver::Layered(form->Handle()).Alpha, 120);
    component->SetAlphaBlend(false);
    EXPECT_FALSE(driver::Inspect(form->Handle()).ExStyle & WS_EX_LAYERED);

    component->SetFormStyle(fsMDIChild);
    EXPECT_EQ(form->FormStyle(), fsNormal);
    component->SetFormStyle(fsStayOnTop);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
}

TEST_F(StatesTest, TheInactiveCopyOfTheClientLeavesPendingPaintsPending) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    D(form)->SetClientInActiveEffect(true);
    for (const TqxClientInActiveEffect effect : {qxieSemiTransparent, qxieBlur}) {
        SCOPED_TRACE(effect);
        D(form)->SetClientInActiveEffectType(effect);
        form->SetFocus();
        driver::Pump();
        Integer paints = 0;
        form->OnPaint = [&](TObject*) { ++paints; };
        const std::vector<HWND> before = driver::Children(form->Handle());
        // A paint waits while the form loses the activation.
        InvalidateRect(form->Handle(), nullptr, TRUE);
        SetActiveWindow(Application->MainForm()->Handle());
        const std::vector<HWND> during = driver::Children(form->Handle());
        ASSERT_EQ(during.size(), before.size() + 1);
        const driver::TWindowInfo panel = driver::Inspect(during.front());
        EXPECT_TRUE(panel.Visible);
        EXPECT_EQ(panel.Client, driver::Inspect(form->Handle()).Client);
        driver::Pump();
        EXPECT_GE(paints, 1);
        form->OnPaint = nullptr;
        // Active again: the copy goes.
        form->SetFocus();
        driver::Pump();
        EXPECT_EQ(driver::Children(form->Handle()).size(), before.size());
    }
}

}  // namespace
