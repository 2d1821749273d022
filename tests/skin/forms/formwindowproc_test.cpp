// The form's window procedure: which messages it answers itself, which it
// changes on their way, the menus it closes, the fade-in, the caption's
// double click and the application hook while a skin menu is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "formtest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinbutton.h"

using namespace win;
using namespace skinfixtures;

namespace {

class WindowProcTest : public FormsTest {
protected:
    // A form whose own procedure records what reaches it, under a component.
    TForm* NewRecordedForm(TRect ABounds = Rect(100, 100, 500, 400)) {
        auto* form = new TForm(Application);
        form->SetBoundsRect(ABounds);
        TWndMethod own = form->WindowProc();
        form->SetWindowProc([this, own](TMessage& AMessage) {
            FReached.push_back(AMessage.Msg);
            FLastLParam[AMessage.Msg] = AMessage.LParam;
            own(AMessage);
        });
        new TqxDravenfold(form);
        form->Show();
        driver::Pump();
        return form;
    }
    bool Reached(UINT AMsg) const { return std::find(FReached.begin(), FReached.end(), AMsg) != FReached.end(); }

    std::vector<UINT> FReached;
    std::map<UINT, LPARAM> FLastLParam;
};

TEST_F(WindowProcTest, MessagesTheComponentAnswersItselfOrPassesOn) {
    TForm* form = NewRecordedForm();
    const HWND h = form->Handle();
    struct Case {
        const char* Name;
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
        bool ReachesForm;
        LRESULT Result;
    } cases[] = {
        {"activation look", WM_NCACTIVATE, TRUE, 0, false, 1},
        {"frame paint", WM_NCPAINT, 0, 0, false, 0},
        {"Alt alone", WM_SYSCOMMAND, SC_KEYMENU, 0, false, 0},
        {"asked whether skinned", SKINMSG_QUERYSKINNED, 0, 0, false, SKINMSG_ANSWER_SKINNED},
        {"frame into a DC without one", SKINMSG_PAINTFRAMETODC, 0, SKINMSG_PAINTKEY, false, SKINMSG_PAINTKEY},
        {"frame into a DC, another key", SKINMSG_PAINTFRAMETODC, 0, 0x1234, true, 0},
        {"paint into no DC", SKINMSG_PAINTTODC, 0, 0, false, 0},
        {"restore from the task bar", WM_SYSCOMMAND, SC_RESTORE, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FReached.clear();
        EXPECT_EQ(SendMessageW(h, c.Msg, c.WParam, c.LParam), c.Result);
        EXPECT_EQ(Reached(c.Msg), c.ReachesForm);
    }
    // Unskinned, the same messages take the native way.
    D(form)->SetSkinnableForm(false);
    FReached.clear();
    EXPECT_EQ(SendMessageW(form->Handle(), SKINMSG_QUERYSKINNED, 0, 0), SKINMSG_ANSWER_NATIVE);
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(Reached(WM_NCACTIVATE));
}

TEST_F(WindowProcTest, TheClientAreaLiesInsideTheSkinsMarginsOrTheDefaultFrame) {
    struct Case {
        const char* Name;
        const TFixtureSkin* Skin;
        TFormBorderStyle Style;
        RECT Insets;
    } cases[] = {
        {"default look", nullptr, bsSizeable, {3, 22, 3, 3}},
        {"default look, tool window", nullptr, bsSizeToolWin, {3, 18, 3, 3}},
        {"no border", nullptr, bsNone, {0, 0, 0, 0}},
        {"default skin", &ProjectSkin(u"default"), bsSizeable, {}},
        {"second skin", &ProjectSkin(u"second"), bsSingle, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm* form = NewSkinnedForm(u"", Rect(100, 100, 600, 450), c.Style);
        RECT insets = c.Insets;
        if (c.Skin) {
            // The skin's frame picture around its client rectangle.
            D(form)->SetSkinData(NewSkinData(*c.Skin));
            const TqxSkinData* skin = D(form)->SkinData();
            insets = RECT{skin->ClRect.Left, skin->ClRect.Top, skin->FPicture->Width() - skin->ClRect.Right,
                          skin->FPicture->Height() - skin->ClRect.Bottom};
            EXPECT_GT(insets.top, 22);
        }
        const driver::TWindowInfo info = driver::Inspect(form->Handle());
        EXPECT_EQ(info.Client.left - info.Bounds.left, insets.left);
        EXPECT_EQ(info.Client.top - info.Bounds.top, insets.top);
        EXPECT_EQ(info.Bounds.right - info.Client.right, insets.right);
        EXPECT_EQ(info.Bounds.bottom - info.Client.bottom, insets.bottom);
    }
}

TEST_F(WindowProcTest, TheFormsCursorOverTheFrameKeepsTheSizingCodes) {
    TForm* form = NewRecordedForm();
    D(form)->SetUseFormCursorInNCArea(true);
    const struct {
        int Code;
        int Seen;
    } cases[] = {{HTCAPTION, HTCLIENT}, {HTOBJECT, HTCLIENT}, {HTLEFT, HTLEFT}, {HTBOTTOMRIGHT, HTBOTTOMRIGHT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        SendMessageW(form->Handle(), WM_SETCURSOR, WPARAM(form->Handle()), MAKELPARAM(WORD(c.Code), WM_MOUSEMOVE));
        EXPECT_EQ(LOWORD(FLastLParam[WM_SETCURSOR]), c.Seen);
    }
}

TEST_F(WindowProcTest, EveryMenuClosingMessageClosesAnOpenSkinMenu) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    TRecordingMenu* menu = Menu(form);
    Integer closes = 0;
    D(form)->OnSkinMenuClose = [&](TObject*) { ++closes; };
    auto* popup = new TPopupMenu(form);
    const UINT messages[] = {WM_MOVE,          WM_SIZE,          WM_ACTIVATE,      WM_KILLFOCUS,     WM_CANCELMODE,
                             WM_MOUSEACTIVATE, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_LBUTTONDOWN,
                             WM_RBUTTONDOWN,   WM_MBUTTONDOWN,   WM_PARENTNOTIFY};
    for (const UINT msg : messages) {
        SCOPED_TRACE(msg);
        D(form)->PopupSkinMenu(popup, Point(0, 0));
        ASSERT_TRUE(menu->Visible());
        menu->Calls.clear();
        closes = 0;
        TMessage message{msg, msg == WM_NCLBUTTONDOWN || msg == WM_NCRBUTTONDOWN ? WPARAM(HTNOWHERE) : 0, 0, 0};
        D(form)->FormWindowProc(message);
        EXPECT_EQ(menu->Calls, std::vector<std::string>{"Hide"});
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(D(form)->InMenu());
    }
    // Nothing open: nothing closes.
    menu->Calls.clear();
    SendMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(menu->Calls.empty());
}

TEST_F(WindowProcTest, PaintingTheFrameIntoAnOutsideDC) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(form->Width(), form->Height(), 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(SendMessageW(form->Handle(), SKINMSG_PAINTFRAMETODC, WPARAM(dc), SKINMSG_PAINTKEY), SKINMSG_PAINTKEY);
    EXPECT_EQ(GetPixel(dc, 0, 0), ColorToRGB(FlatColor(u"FORMINFO", u"picture", fpLeftTop)));
    EXPECT_EQ(SendMessageW(form->Handle(), SKINMSG_PAINTTODC, WPARAM(dc), 0), SKINMSG_ANSWER_PAINTED);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(WindowProcTest, TheFadeInRaisesTheAlphaInFifteenStepsThenDropsTheLayer) {
    auto* form = new TForm(Application);
    form->SetBoundsRect(Rect(100, 100, 500, 400));
    auto* component = new TqxDravenfold(form);
    component->SetAlphaBlendAnimation(true);
    auto* button = new TqxSkinButton(form);
    button->SetParent(form);
    form->SetActiveControl(button);
    form->Show();
    EXPECT_FALSE(button->FStopAnimate);
    driver::AdvanceTime(10);
    // The focused button shows its hover look once the form is there.
    EXPECT_TRUE(button->FStopAnimate);
    const driver::TLayeredInfo layered = driver::Layered(form->Handle());
    std::vector<BYTE> expected{0};
    for (Integer alpha = 17; alpha <= 255; alpha += 17)
        expected.push_back(BYTE(alpha));
    EXPECT_EQ(layered.AlphaHistory, expected);
    EXPECT_FALSE(driver::Inspect(form->Handle()).ExStyle & WS_EX_LAYERED);

    // A translucent form stays layered at its value.
    auto* second = new TForm(Application);
    second->SetBoundsRect(Rect(100, 100, 500, 400));
    auto* translucent = new TqxDravenfold(second);
    translucent->SetAlphaBlend(true);
    translucent->SetAlphaBlendValue(150);
    second->Show();
    driver::AdvanceTime(10);
    EXPECT_EQ(driver::Layered(second->Handle()).Alpha, 150);
    EXPECT_TRUE(driver::Inspect(second->Handle()).ExStyle & WS_EX_LAYERED);
}

TEST_F(WindowProcTest, ACaptionDoubleClickMaximizesRestoresOrRollsUp) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(ProjectSkin(u"default")));
    const auto doubleClick = [&] {
        const POINT p = At(form, 100, 10);
        driver::Click(p);
        driver::Click(p);
        driver::Pump();
    };
    doubleClick();
    EXPECT_EQ(D(form)->WindowState(), wsMaximized);
    doubleClick();
    EXPECT_EQ(D(form)->WindowState(), wsNormal);
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 500, 400));
    // Without the maximize button the caption rolls the form up and down.
    D(form)->SetBorderIcons({TqxBorderIcon::biRollUp});
    doubleClick();
    EXPECT_TRUE(D(form)->RollUpState());
    EXPECT_EQ(form->Height(), D(form)->GetMinHeight());
    doubleClick();
    EXPECT_FALSE(D(form)->RollUpState());
    EXPECT_EQ(form->Height(), 300);
}

TEST_F(WindowProcTest, WhileASkinMenuIsOpenKeysGoToItAndTheWheelIsDropped) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 500, 400));
    TRecordingMenu* menu = Menu(form);
    Integer wheels = 0;
    TWndMethod own = form->WindowProc();
    form->SetWindowProc([&, own](TMessage& AMessage) {
        if (AMessage.Msg == WM_MOUSEWHEEL) ++wheels;
        own(AMessage);
    });
    Integer opens = 0, closes = 0;
    D(form)->OnSkinMenuOpen = [&](TObject*) { ++opens; };
    D(form)->OnSkinMenuClose = [&](TObject*) { ++closes; };
    auto* popup = new TPopupMenu(form);
    D(form)->PopupSkinMenu(popup, Point(10, 10));
    D(form)->PopupSkinMenu(popup, Point(10, 10));
    EXPECT_EQ(opens, 1);
    ASSERT_TRUE(Application->OnMessage);

    driver::Wheel(At(form, 50, 50), 120);
    driver::Key(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(wheels, 0);
    EXPECT_EQ(menu->Calls.back(), "Key 40");
    driver::Key(VK_ESCAPE);
    Application->ProcessMessages();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(D(form)->InMenu());
    EXPECT_FALSE(Application->OnMessage);
    driver::Wheel(At(form, 50, 50), 120);
    Application->ProcessMessages();
    EXPECT_EQ(wheels, 1);
    form->SetWindowProc(own);
}

}  // namespace
