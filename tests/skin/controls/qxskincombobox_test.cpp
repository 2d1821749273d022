// The skinned combo box: its item and events, the drop-down list and how it
// opens, closes and follows keys, the wheel, typed search and a dragged
// press; its looks; and the edit style with its completion.
#include "skin/controls/qxskincombobox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/gdi/capabilities.h"
#include "platform/toolkit/buttons.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

class QxSkinComboBox : public ControlTest {
protected:
    // A combo box at (20, 20) holding AItems, its events logged.
    TqxSkinComboBox* Combo(std::initializer_list<const char16_t*> AItems, bool ASkinned = false) {
        if (ASkinned && FSkin->Empty) LoadFlat();
        auto* combo = Add<TqxSkinComboBox>(20, 20, 120, 20);
        if (ASkinned) combo->SetSkinData(FSkin);
        for (const char16_t* item : AItems)
            combo->Items()->Add(item);
        Log(combo);
        Pump();
        return combo;
    }
    // A combo box of AItems items "item 0" ...
    TqxSkinComboBox* Combo(Integer AItems, bool ASkinned = false) {
        TqxSkinComboBox* combo = Combo({}, ASkinned);
        for (Integer i = 0; i < AItems; ++i)
            combo->Items()->Add(u"item " + IntToStr(i));
        return combo;
    }
    void Log(TqxSkinComboBox* ACombo) {
        ACombo->OnChange = [this](TObject*) { FLog.push_back("change"); };
        ACombo->OnClick = [this](TObject*) { FLog.push_back("click"); };
        ACombo->OnDropDown = [this](TObject*) { FLog.push_back("dropdown"); };
        ACombo->OnCloseUp = [this](TObject*) { FLog.push_back("closeup"); };
    }
    std::vector<std::string> TakeLog() { return std::exchange(FLog, {}); }
    static POINT At(TControl* AControl, Integer X, Integer Y) {
        return ScreenPoint(static_cast<TWinControl*>(AControl)->Handle(), X, Y);
    }
    static void Focus(TqxSkinComboBox* ACombo) {
        ACombo->SetFocus();
        Pump();
    }

    std::vector<std::string> FLog;
};

// Change() of a descendant, logged too.
class TLoggingCombo : public TqxSkinComboBox {
public:
    using TqxSkinComboBox::TqxSkinComboBox;
    void Change() override { Log->push_back("Change"); }
    std::vector<std::string>* Log = nullptr;
};

TEST_F(QxSkinComboBox, SettingTheItemRaisesItsEvents) {
    TqxSkinComboBox* combo = Combo({u"a", u"b", u"c"});
    combo->SetItemIndex(0);
    TakeLog();
    combo->SetItemIndex(2);
    EXPECT_EQ(u"c", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"change", "click"}), TakeLog());
    combo->SetItemIndex(2);
    EXPECT_EQ((std::vector<std::string>{"click"}), TakeLog());
    combo->SetItemIndex(-1);
    EXPECT_EQ(u"c", combo->Text());
    EXPECT_EQ(-1, combo->ItemIndex());
    EXPECT_EQ((std::vector<std::string>{"click"}), TakeLog());
}

TEST_F(QxSkinComboBox, AnEmptyComboBoxDoesNotDropDown) {
    TqxSkinComboBox* combo = Combo({});
    combo->DropDown();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(QxSkinComboBox, TheListShowsUpToDropDownCountRows) {
    TqxSkinComboBox* few = Combo({u"a", u"b", u"c"});
    few->DropDown();
    Pump();
    ASSERT_TRUE(few->IsPopupVisible());
    EXPECT_EQ(3 * 20 + 4, few->ListBox()->Height());
    EXPECT_EQ(nullptr, few->ListBox()->ScrollBar());
    EXPECT_EQ(120, few->ListBox()->Width());
    // Below the combo box, on the screen.
    const driver::TWindowInfo info = driver::Inspect(few->ListBox()->Handle());
    const POINT below = At(few, 0, 20);
    EXPECT_EQ(below.x, info.Bounds.left);
    EXPECT_EQ(below.y, info.Bounds.top);
    few->CloseUp(false);
    TqxSkinComboBox* many = Combo(20);
    many->SetListBoxWidth(200);
    many->DropDown();
    Pump();
    EXPECT_EQ(8 * 20 + 4, many->ListBox()->Height());
    EXPECT_NE(nullptr, many->ListBox()->ScrollBar());
    EXPECT_EQ(200, many->ListBox()->Width());
}

TEST_F(QxSkinComboBox, NearTheBottomOfTheWorkAreaTheListOpensUpwards) {
    TqxSkinComboBox* combo = Combo(20);
    const POINT below = At(combo, 0, 20);
    driver::SetMonitors({{RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, below.y + 100}}});
    combo->DropDown();
    Pump();
    const driver::TWindowInfo info = driver::Inspect(combo->ListBox()->Handle());
    EXPECT_EQ(below.y - 20 - combo->ListBox()->Height(), info.Bounds.top);
}

TEST_F(QxSkinComboBox, EscapeCancelsAndEnterTakesTheHighlightedRow) {
    auto* combo = Add<TLoggingCombo>(20, 20, 120, 20);
    combo->Log = &FLog;
    for (const char16_t* item : {u"a", u"b", u"c"})
        combo->Items()->Add(item);
    Log(combo);
    combo->SetItemIndex(0);
    Focus(combo);
    TakeLog();
    combo->DropDown();
    Pump();
    // Hovering over the rows highlights them without events.
    driver::MouseMove(At(combo->ListBox()->ListBox(), 10, 45));
    Pump();
    EXPECT_EQ(2, combo->ListBox()->ItemIndex());
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(0, combo->ItemIndex());
    EXPECT_EQ(u"a", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"dropdown", "closeup"}), TakeLog());
    combo->DropDown();
    driver::MouseMove(At(combo->ListBox()->ListBox(), 10, 25));
    Pump();
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ(u"b", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"dropdown", "change", "click", "Change", "closeup"}), TakeLog());
}

TEST_F(QxSkinComboBox, ArrowsStepAndEscapeKeepsTheStep) {
    TqxSkinComboBox* combo = Combo({u"a", u"b", u"c"});
    combo->SetItemIndex(0);
    Focus(combo);
    combo->DropDown();
    Pump();
    TakeLog();
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(u"b", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"change", "click"}), TakeLog());
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(1, combo->ItemIndex());
    // Alt+Down opens, Alt+Up closes.
    driver::KeyDown(VK_MENU);
    driver::Key(VK_DOWN);
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(combo->IsPopupVisible());
    driver::KeyDown(VK_MENU);
    driver::Key(VK_UP);
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(1, combo->ItemIndex());
}

TEST_F(QxSkinComboBox, PageKeys) {
    TqxSkinComboBox* combo = Combo(30);
    Focus(combo);
    const struct {
        Integer From;
        BYTE Key;
        Integer To;
    } cases[] = {{20, VK_PRIOR, 11}, {5, VK_PRIOR, 0}, {0, VK_NEXT, 7}, {27, VK_NEXT, 29}};
    for (const auto& c : cases) {
        combo->SetItemIndex(c.From);
        driver::Key(c.Key);
        Pump();
        EXPECT_EQ(c.To, combo->ItemIndex()) << c.From << " " << Integer(c.Key);
    }
}

TEST_F(QxSkinComboBox, TypedLettersSearchTogetherWithinHalfASecond) {
    TqxSkinComboBox* combo = Combo({u"apple", u"banana", u"bar", u"berry", u"cherry"});
    Focus(combo);
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(1, combo->ItemIndex());
    AdvanceTime(100);
    driver::Text(u"e");
    Pump();
    EXPECT_EQ(3, combo->ItemIndex());
    // After a pause the same letter goes on to the next item with it.
    AdvanceTime(600);
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(1, combo->ItemIndex());
    AdvanceTime(600);
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(2, combo->ItemIndex());
    // Without AutoComplete every letter searches alone.
    combo->SetAutoComplete(false);
    combo->SetItemIndex(0);
    driver::Text(u"b");
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(2, combo->ItemIndex());
}

TEST_F(QxSkinComboBox, TheWheelChangesTheItemOrOnlyTheHighlight) {
    TqxSkinComboBox* combo = Combo({u"a", u"b", u"c"});
    combo->SetItemIndex(0);
    Focus(combo);
    TakeLog();
    const POINT over = At(combo, 10, 10);
    driver::Wheel(over, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ((std::vector<std::string>{"change", "click"}), TakeLog());
    combo->DropDown();
    Pump();
    TakeLog();
    driver::Wheel(over, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(2, combo->ListBox()->ItemIndex());
    EXPECT_EQ(u"b", combo->Text());
    EXPECT_TRUE(TakeLog().empty());
    driver::Wheel(over, WHEEL_DELTA);
    Pump();
    EXPECT_EQ(1, combo->ListBox()->ItemIndex());
}

TEST_F(QxSkinComboBox, APressDraggedOverTheListChoosesAtTheRelease) {
    TqxSkinComboBox* combo = Combo({u"a", u"b", u"c"});
    combo->SetItemIndex(0);
    TakeLog();
    const POINT item = At(combo, 30, 10);
    driver::MouseMove(item);
    driver::MouseDown(item);
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    EXPECT_EQ(combo->Handle(), GetFocus());
    TqxListBox* inner = combo->ListBox()->ListBox();
    driver::MouseMove(At(inner, 10, 50));
    Pump();
    EXPECT_EQ(2, combo->ListBox()->ItemIndex());
    driver::MouseUp(At(inner, 10, 50));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(u"c", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"dropdown", "change", "click", "closeup"}), TakeLog());
    // A click that opens it and a click into it.
    driver::Click(item);
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    driver::MouseMove(At(inner, 10, 5));
    driver::Click(At(inner, 10, 5));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(0, combo->ItemIndex());
    EXPECT_EQ(combo->Handle(), GetFocus());
}

TEST_F(QxSkinComboBox, DraggingBelowTheListScrollsEvery25ms) {
    TqxSkinComboBox* combo = Combo(20);
    combo->SetItemIndex(0);
    TakeLog();
    const POINT item = At(combo, 30, 10);
    driver::MouseMove(item);
    driver::MouseDown(item);
    Pump();
    TqxListBox* inner = combo->ListBox()->ListBox();
    driver::MouseMove(At(inner, 10, 30));
    Pump();
    EXPECT_EQ(1, combo->ListBox()->ItemIndex());
    driver::MouseMove(At(inner, 10, inner->Height() + 30));
    Pump();
    AdvanceTime(25);
    EXPECT_EQ(2, combo->ListBox()->ItemIndex());
    AdvanceTime(100);
    EXPECT_EQ(6, combo->ListBox()->ItemIndex());
    AdvanceTime(1000);
    EXPECT_EQ(19, combo->ListBox()->ItemIndex());
    EXPECT_EQ(combo->ListBox()->ScrollBar()->Max() - combo->ListBox()->ScrollBar()->PageSize() + 1,
              combo->ListBox()->ScrollBar()->Position());
    // Let go outside the list: the old item stays.
    driver::MouseUp(At(inner, 10, inner->Height() + 30));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(0, combo->ItemIndex());
    EXPECT_EQ(u"item 0", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"dropdown", "closeup"}), TakeLog());
}

TEST_F(QxSkinComboBox, TheListsOwnPartsKeepItOpen) {
    TqxSkinComboBox* combo = Combo(20);
    Focus(combo);
    combo->DropDown();
    Pump();
    TqxPopupListBox* list = combo->ListBox();
    for (TControl* part : std::initializer_list<TControl*>{combo, list, list->ListBox(), list->ScrollBar()}) {
        combo->Perform(CM_CANCELMODE, 0, LPARAM(part));
        EXPECT_TRUE(combo->IsPopupVisible());
    }
    // Pressing the list's bar scrolls it and keeps it open.
    driver::Click(At(list->ScrollBar(), 8, list->ScrollBar()->Height() - 5));
    Pump();
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_GT(list->TopIndex(), 0);
    combo->Perform(CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(combo->IsPopupVisible());
    // A press on another control closes it.
    auto* other = Add<TButton>(200, 20, 75, 25);
    combo->DropDown();
    driver::Click(At(other, 10, 10));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
}

TEST_F(QxSkinComboBox, ClickingTheListTakesNeitherActivationNorFocus) {
    TqxSkinComboBox* combo = Combo(5);
    Focus(combo);
    const HWND active = GetActiveWindow();
    combo->DropDown();
    Pump();
    const driver::TWindowInfo info = driver::Inspect(combo->ListBox()->Handle());
    EXPECT_EQ(DWORD(WS_POPUP | WS_CLIPCHILDREN), info.Style & ~WS_VISIBLE);
    EXPECT_EQ(DWORD(WS_EX_TOOLWINDOW), info.ExStyle);
    EXPECT_NE(0u, info.ClassStyle & CS_SAVEBITS);
    EXPECT_NE(0u, info.ClassStyle & CS_DROPSHADOW);
    TqxListBox* inner = combo->ListBox()->ListBox();
    driver::MouseMove(At(inner, 10, 30));
    driver::MouseDown(At(inner, 10, 30));
    Pump();
    EXPECT_EQ(active, GetActiveWindow());
    EXPECT_EQ(combo->Handle(), GetFocus());
    driver::MouseUp(At(inner, 10, 30));
    Pump();
    EXPECT_EQ(active, GetActiveWindow());
    EXPECT_EQ(combo->Handle(), GetFocus());
    EXPECT_EQ(1, combo->ItemIndex());
}

// The alphas a shown list was given, in order.
class QxPopupListBox : public QxSkinComboBox {
protected:
    std::vector<BYTE> ShowAndRead(TqxSkinComboBox* ACombo) {
        ACombo->DropDown();
        Pump();
        std::vector<BYTE> history = driver::Layered(ACombo->ListBox()->Handle()).AlphaHistory;
        ACombo->CloseUp(false);
        return history;
    }
    static std::vector<BYTE> Ramp(Integer AStep, Integer ATarget) {
        std::vector<BYTE> ramp{0};
        for (Integer a = AStep; a < ATarget; a += AStep)
            ramp.push_back(BYTE(a));
        ramp.push_back(BYTE(ATarget));
        return ramp;
    }
};

TEST_F(QxPopupListBox, TheAlphaOfEachDropDown) {
    const struct {
        const char* What;
        bool Blend, Animation;
        Byte Value;
        std::vector<BYTE> First, Second;
    } cases[] = {
        {"off", false, false, 200, {}, {}},
        {"200 at once, once", true, false, 200, {200}, {200}},
        {"200 faded in every time", true, true, 200, Ramp(13, 200),
         [] {
             std::vector<BYTE> twice = Ramp(13, 200);
             const std::vector<BYTE> again = Ramp(13, 200);
             twice.insert(twice.end(), again.begin(), again.end());
             return twice;
         }()},
        {"10 in steps of 1", true, true, 10, Ramp(1, 10), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TqxSkinComboBox* combo = Combo(3);
        combo->SetAlphaBlend(c.Blend);
        combo->SetAlphaBlendAnimation(c.Animation);
        combo->SetAlphaBlendValue(c.Value);
        EXPECT_EQ(c.First, ShowAndRead(combo));
        const driver::TLayeredInfo info = driver::Layered(combo->ListBox()->Handle());
        EXPECT_EQ(c.Blend, info.Layered);
        if (!c.Second.empty()) {
            EXPECT_EQ(c.Second, ShowAndRead(combo));
        }
        Free(combo);
    }
    EXPECT_EQ(16u, Ramp(13, 200).size() - 1);
}

TEST_F(QxPopupListBox, ALayeredListThatWasPlainAgainGetsItsAlphaAgain) {
    TqxSkinComboBox* combo = Combo(3);
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(180);
    EXPECT_EQ((std::vector<BYTE>{180}), ShowAndRead(combo));
    combo->SetAlphaBlend(false);
    ShowAndRead(combo);
    EXPECT_FALSE(driver::Layered(combo->ListBox()->Handle()).Layered);
    combo->SetAlphaBlend(true);
    EXPECT_EQ((std::vector<BYTE>{180, 180}), ShowAndRead(combo));
    EXPECT_TRUE(driver::Layered(combo->ListBox()->Handle()).Layered);
}

TEST_F(QxPopupListBox, WithoutLayeredWindowsOrACombOwnerThereIsNoAlpha) {
    Capabilities().HasUpdateLayeredWindow = false;
    TqxSkinComboBox* combo = Combo(3);
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendAnimation(true);
    combo->SetAlphaBlendValue(200);
    EXPECT_TRUE(ShowAndRead(combo).empty());
    Capabilities().HasUpdateLayeredWindow = true;
    auto* list = new TqxPopupListBox(FForm);
    list->SetParent(FForm);
    list->Items()->Add(u"one");
    list->Show(Point(300, 300));
    Pump();
    EXPECT_TRUE(driver::Inspect(list->Handle()).Visible);
    EXPECT_TRUE(driver::Layered(list->Handle()).AlphaHistory.empty());
    list->Hide();
    EXPECT_FALSE(driver::Inspect(list->Handle()).Visible);
}

TEST_F(QxPopupListBox, AClickDuringTheFadeEndsItAndAFreedFormIsLeftAlone) {
    TqxSkinComboBox* combo = Combo(3);
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendAnimation(true);
    combo->SetAlphaBlendValue(200);
    Focus(combo);
    auto* other = Add<TButton>(200, 20, 75, 25);
    // The click waits in the queue when the list starts to fade in.
    driver::Click(At(other, 10, 10));
    combo->DropDown();
    EXPECT_FALSE(combo->IsPopupVisible());
    const std::vector<BYTE> history = driver::Layered(combo->ListBox()->Handle()).AlphaHistory;
    EXPECT_LT(history.size(), 3u);
    // A click that frees the form with the combo box and its list.
    auto* form = NewForm(u"Second");
    form->SetBounds(500, 100, 300, 200);
    auto* second = new TqxSkinComboBox(form);
    second->SetParent(form);
    second->SetBounds(10, 10, 120, 20);
    second->Items()->Add(u"one");
    second->SetAlphaBlend(true);
    second->SetAlphaBlendAnimation(true);
    second->SetAlphaBlendValue(200);
    auto* closer = new TButton(form);
    closer->SetParent(form);
    closer->SetBounds(10, 50, 75, 25);
    closer->OnClick = [form](TObject*) { form->Release(); };
    Pump();
    second->SetFocus();
    Pump();
    const WeakControl alive(second);
    driver::Click(At(closer, 10, 10));
    second->DropDown();
    EXPECT_FALSE(alive.Alive());
}

// Looks.

TEST_F(QxSkinComboBox, TheUnskinnedLayout) {
    TqxSkinComboBox* combo = Combo({u"abc"});
    Pump();
    EXPECT_EQ(Rect(101, 0, 120, 20), combo->Button.R);
    EXPECT_EQ(Rect(2, 2, 100, 18), combo->CBItem.R);
    combo->SetItemIndex(0);
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(combo->Handle(), 90, 10));
    Focus(combo);
    EXPECT_EQ(ColorToRGB(clHighlight), PixelOf(combo->Handle(), 90, 10));
    EXPECT_TRUE(combo->CBItem.State.Contains(odFocused));
    // The arrow: black, or the shadow colour when disabled.
    const auto arrow = [&] {
        for (Integer x = 101; x < 120; ++x)
            for (Integer y = 0; y < 20; ++y) {
                const TColor c = PixelOf(combo->Handle(), x, y);
                if (c == ColorToRGB(clBlack) || c == ColorToRGB(clBtnShadow)) {
                    if (x > 102 && x < 118 && y > 1 && y < 18) return c;
                }
            }
        return TColor(clNone);
    };
    EXPECT_EQ(ColorToRGB(clBlack), arrow());
    combo->SetEnabled(false);
    Pump();
    EXPECT_EQ(ColorToRGB(clBtnShadow), arrow());
}

TEST_F(QxSkinComboBox, TheOpenListLeavesTheItemPartAsItWas) {
    TqxSkinComboBox* combo = Combo({u"a", u"b", u"c"});
    combo->SetItemIndex(0);
    std::vector<Integer> drawn;
    combo->OnComboBoxDrawItem = [&](TCanvas*, Integer Index, Integer, Integer, TRect, TOwnerDrawState) {
        drawn.push_back(Index);
    };
    combo->DropDown();
    Pump();
    driver::MouseMove(At(combo->ListBox()->ListBox(), 10, 45));
    Pump();
    drawn.clear();
    combo->Repaint();
    EXPECT_EQ((std::vector<Integer>{0}), drawn);
}

TEST_F(QxSkinComboBox, TheFlatSkinShowsTheFaceTheItemAndTheButton) {
    TqxSkinComboBox* combo = Combo({u"a", u"b"}, true);
    combo->SetItemIndex(0);
    EXPECT_EQ(20, combo->Height());
    const HWND window = combo->Handle();
    // The item part over the face; the button part of the face.
    EXPECT_EQ(FlatColor(u"combobox", u"itemrect", fpCenter), PixelOf(window, 50, 10));
    EXPECT_EQ(FlatColor(u"combobox", u"skinrect", fpRight), PixelOf(window, 110, 10));
    driver::MouseMove(At(combo, 110, 10));
    driver::MouseMove(At(combo, 111, 10));
    Pump();
    EXPECT_EQ(FlatColor(u"combobox", u"activebuttonrect", fpWhole), PixelOf(window, 110, 10));
    EXPECT_EQ(FlatColor(u"combobox", u"activeskinrect", fpLeft), PixelOf(window, 1, 10));
    driver::MouseMove(At(combo, 300, 200));
    Focus(combo);
    EXPECT_EQ(FlatColor(u"combobox", u"focusitemrect", fpCenter), PixelOf(window, 50, 10));
    combo->SetEnabled(false);
    Pump();
    EXPECT_EQ(FlatColor(u"combobox", u"unenabledbuttonrect", fpWhole), PixelOf(window, 110, 10));
}

TEST_F(QxSkinComboBox, AnySizeStretchesTheFaceAndBuildsTheButton) {
    TqxSkinComboBox* combo = Combo({u"a", u"b"}, true);
    combo->SetUseSkinSize(false);
    combo->SetBounds(20, 20, 160, 30);
    combo->SetItemIndex(0);
    Pump();
    EXPECT_EQ(30, combo->Height());
    const HWND window = combo->Handle();
    const TRect button = combo->Button.R;
    EXPECT_EQ(30, button.Bottom);
    // Away from the arrow in its middle.
    EXPECT_EQ(FlatColor(u"combobutton", u"skinrect", fpCenter), PixelOf(window, button.Left + 5, 8));
    driver::MouseMove(At(combo, button.Left + 9, 15));
    driver::MouseMove(At(combo, button.Left + 10, 15));
    Pump();
    EXPECT_EQ(FlatColor(u"combobutton", u"activeskinrect", fpCenter), PixelOf(window, button.Left + 5, 8));
}

TEST_F(QxSkinComboBox, TheToolButtonLooks) {
    TqxSkinComboBox* plain = Combo({u"a", u"b"});
    plain->SetToolButtonStyle(true);
    plain->SetItemIndex(0);
    Pump();
    EXPECT_FALSE(plain->UseSkinSize());
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(plain->Handle(), 0, 0));
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(plain->Handle(), 60, 2));
    plain->DropDown();
    Pump();
    EXPECT_EQ(DefaultLookDownFill, PixelOf(plain->Handle(), 60, 2));
    plain->CloseUp(false);
    // Skinned: the tool button's face, and its marker from its own picture.
    TqxSkinComboBox* combo = Combo({u"a", u"b"}, true);
    combo->SetToolButtonStyle(true);
    combo->SetBounds(20, 60, 120, 24);
    combo->SetItemIndex(0);
    Pump();
    const HWND window = combo->Handle();
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"skinrect", fpCenter), PixelOf(window, 40, 12));
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"menumarkerrect", fpWhole), PixelOf(window, 120 - 8, 12));
    driver::MouseMove(At(combo, 40, 12));
    driver::MouseMove(At(combo, 41, 12));
    Pump();
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"activeskinrect", fpCenter), PixelOf(window, 40, 12));
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"menumarkeractiverect", fpWhole), PixelOf(window, 120 - 8, 12));
}

TEST_F(QxSkinComboBox, PaintSkinToDrawsTheTextGivenAndLeavesTextAlone) {
    TqxSkinComboBox* combo = Combo({u"a", u"b"});
    combo->SetItemIndex(0);
    TakeLog();
    TBitmap target;
    target.SetSize(200, 40);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 200, 40));
    combo->PaintSkinTo(target.Canvas(), 10, 10, u"WWWWWWWW");
    EXPECT_EQ(u"a", combo->Text());
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(ColorToRGB(clBtnShadow), ColorToRGB(target.Canvas()->Pixels(10, 10)));
    // The text is there: dark pixels across the item part.
    Integer ink = 0;
    for (Integer x = 14; x < 100; ++x)
        if (ColorToRGB(target.Canvas()->Pixels(x, 20)) != ColorToRGB(clWindow)) ++ink;
    EXPECT_GT(ink, 10);
}

// The edit style.

class QxComboEditStyle : public QxSkinComboBox {
protected:
    TqxSkinComboBox* EditCombo(std::initializer_list<const char16_t*> AItems) {
        TqxSkinComboBox* combo = Combo(AItems);
        Focus(combo);
        combo->SetStyle(qxcbEditStyle);
        Pump();
        TakeLog();
        return combo;
    }
    void Type(char16_t AKey) {
        driver::KeyDown(BYTE(AKey - u'a' + 'A'));
        Pump();
        driver::KeyUp(BYTE(AKey - u'a' + 'A'));
        Pump();
    }
};

TEST_F(QxComboEditStyle, TheStyleSwitchMovesFocusAndText) {
    TqxSkinComboBox* combo = Combo({u"apple", u"banana"});
    combo->SetItemIndex(1);
    Focus(combo);
    combo->SetStyle(qxcbEditStyle);
    Pump();
    ASSERT_NE(nullptr, combo->Edit());
    EXPECT_EQ(combo->Edit()->Handle(), GetFocus());
    EXPECT_EQ(u"banana", combo->Edit()->Text());
    EXPECT_FALSE(combo->TabStop());
    EXPECT_TRUE(combo->Edit()->TabStop());
    // In the item part, as high as its font.
    EXPECT_EQ(combo->CBItem.R.Left, combo->Edit()->Left());
    EXPECT_EQ(combo->CBItem.R.Width(), combo->Edit()->Width());
    combo->SetStyle(qxcbFixedStyle);
    Pump();
    EXPECT_EQ(nullptr, combo->Edit());
}

TEST_F(QxComboEditStyle, TypingCompletesAtTheKeyUp) {
    TqxSkinComboBox* combo = EditCombo({u"apple", u"banana"});
    AdvanceTime(1000);
    Type(u'b');
    EXPECT_EQ(u"banana", combo->Text());
    EXPECT_EQ(u"banana", combo->Edit()->Text());
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ(1, combo->SelStart());
    EXPECT_EQ(5, combo->SelLength());
    EXPECT_EQ((std::vector<std::string>{"change", "change", "click"}), TakeLog());
    AdvanceTime(300);
    Type(u'a');
    EXPECT_EQ(u"banana", combo->Text());
    EXPECT_EQ(2, combo->SelStart());
    EXPECT_EQ(4, combo->SelLength());
    // Key-ups closer than 200 ms complete once.
    combo->Edit()->SetText(u"");
    AdvanceTime(300);
    driver::KeyDown('A');
    driver::KeyDown('P');
    driver::KeyUp('A');
    driver::KeyUp('P');
    Pump();
    // The first key-up completed "ap"; the second, had it completed, would
    // have found the whole text and selected nothing.
    EXPECT_EQ(u"apple", combo->Text());
    EXPECT_EQ(2, combo->SelStart());
    EXPECT_EQ(3, combo->SelLength());
}

TEST_F(QxComboEditStyle, WithAChineseStringTableBackspaceAndDeleteNeverComplete) {
    auto* strings = new TqxResourceStrData(FForm);
    strings->SetCharSet(GB2312_CHARSET);
    FSkin->SetResourceStrData(strings);
    TqxSkinComboBox* combo = Combo({u"apple", u"banana"});
    combo->SetSkinData(FSkin);
    Focus(combo);
    combo->SetStyle(qxcbEditStyle);
    Pump();
    combo->Edit()->SetText(u"bana");
    combo->Edit()->SetSelStart(4);
    AdvanceTime(1000);
    for (const BYTE key : {BYTE(VK_BACK), BYTE(VK_DELETE)}) {
        driver::Key(key);
        Pump();
        AdvanceTime(300);
        EXPECT_NE(u"banana", combo->Text()) << Integer(key);
    }
    // Any other key-up completes, after the selection is dropped.
    combo->Edit()->SetText(u"ba");
    combo->Edit()->SetSelStart(0);
    combo->Edit()->SetSelLength(2);
    driver::Key(VK_SHIFT);
    Pump();
    EXPECT_EQ(u"banana", combo->Text());
    EXPECT_EQ(2, combo->SelStart());
    EXPECT_EQ(4, combo->SelLength());
}

TEST_F(QxComboEditStyle, ArrowsTheWheelAndThePageKeys) {
    TqxSkinComboBox* combo =
        EditCombo({u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"l"});
    combo->SetItemIndex(0);
    TakeLog();
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(u"b", combo->Edit()->Text());
    EXPECT_EQ(1, combo->SelLength());
    EXPECT_EQ((std::vector<std::string>{"change", "click"}), TakeLog());
    driver::Key(VK_UP);
    Pump();
    EXPECT_EQ(0, combo->ItemIndex());
    TakeLog();
    // Closed: the page keys do nothing; open, they move the highlight only.
    driver::Key(VK_NEXT);
    Pump();
    EXPECT_EQ(0, combo->ItemIndex());
    combo->DropDown();
    Pump();
    TakeLog();
    driver::Key(VK_NEXT);
    Pump();
    EXPECT_EQ(7, combo->ListBox()->ItemIndex());
    EXPECT_EQ(u"a", combo->Text());
    const POINT over = At(combo->Edit(), 5, 5);
    driver::Wheel(over, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(8, combo->ListBox()->ItemIndex());
    EXPECT_EQ(u"a", combo->Text());
    EXPECT_TRUE(TakeLog().empty());
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(u"i", combo->Edit()->Text());
    EXPECT_FALSE(combo->IsPopupVisible());
    TakeLog();
    driver::Wheel(over, WHEEL_DELTA);
    Pump();
    EXPECT_EQ(7, combo->ItemIndex());
    EXPECT_EQ(u"h", combo->Text());
    EXPECT_EQ((std::vector<std::string>{"change", "click"}), TakeLog());
}

}  // namespace
