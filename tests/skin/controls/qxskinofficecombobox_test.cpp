#include "skin/controls/qxskinofficecombobox.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/input.h"
#include "skin/core/qxutils.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

// An office combo box of 120 x 41 at (20, 20) with a header and rows "A"
// to "E" (1 .. 5) of 30 pixels, unskinned unless skinned, and its events
// in order: the rows' and the list's clicks, OnClick, OnChange, OnCloseUp.
class OfficeComboBox : public ControlTest {
protected:
    TqxSkinOfficeComboBox* Combo(bool ASkinned = false, Integer ARows = 5) {
        if (ASkinned) LoadFlat();
        auto* combo = Add<TqxSkinOfficeComboBox>(20, 20, 120, 41);
        combo->SetSkinData(ASkinned ? FSkin : nullptr);
        TqxSkinOfficeItem* header = combo->Items()->Add();
        header->SetCaption(u"视频");
        header->SetHeader(true);
        for (Integer i = 0; i < ARows; ++i) {
            TqxSkinOfficeItem* item = combo->Items()->Add();
            item->SetTitle(String(1, char16_t(u'A' + i)));
            item->SetCaption(u"格式 " + IntToStr(i + 1));
            item->OnClick = [this, i](TObject*) { FLog.push_back("row" + std::to_string(i + 1)); };
        }
        combo->OnClick = [this](TObject*) { FLog.push_back("click"); };
        combo->OnChange = [this](TObject*) { FLog.push_back("change"); };
        combo->OnCloseUp = [this](TObject*) { FLog.push_back("closeup"); };
        combo->SetListBoxItemHeight(30);
        Pump();
        return combo;
    }
    // The log since the last call.
    std::vector<std::string> Log() { return std::exchange(FLog, {}); }
    POINT At(TWinControl* AControl, Integer X, Integer Y) { return ScreenPoint(AControl->Handle(), X, Y); }
    void Move(POINT APoint) {
        driver::MouseMove(APoint);
        Pump();
    }
    void Key(BYTE AKey) {
        driver::Key(AKey);
        Pump();
    }
    void AltKey(BYTE AKey) {
        driver::KeyDown(VK_MENU);
        driver::Key(AKey);
        driver::KeyUp(VK_MENU);
        Pump();
    }
    // Opens with the keyboard; the log is cleared.
    void Open(TqxSkinOfficeComboBox* ACombo) {
        ACombo->SetFocus();
        AltKey(VK_DOWN);
        ASSERT_TRUE(ACombo->IsPopupVisible());
        Log();
    }
    // The point over row AIndex of the open list.
    POINT Row(TqxSkinOfficeComboBox* ACombo, Integer AIndex) {
        const TRect& r = ACombo->ListBox()->Items()->Items(AIndex)->ItemRect;
        return At(ACombo->ListBox(), 40, (r.Top + r.Bottom) / 2);
    }

    std::vector<std::string> FLog;
};

using TLog = std::vector<std::string>;

TEST_F(OfficeComboBox, ItemIndexInCodeRaisesItsEventsEachTime) {
    TqxSkinOfficeComboBox* combo = Combo();
    combo->SetItemIndex(2);
    EXPECT_EQ((TLog{"row2", "click", "change"}), Log());
    combo->SetItemIndex(2);
    EXPECT_EQ((TLog{"row2", "click", "change"}), Log());
    combo->SetItemIndex(-1);
    EXPECT_EQ((TLog{"click", "change"}), Log());
    // Nothing while the form is read.
    combo->IncludeState(csLoading);
    combo->SetItemIndex(3);
    combo->ExcludeState(csLoading);
    EXPECT_EQ(TLog{}, Log());
    EXPECT_EQ(3, combo->ItemIndex());
    EXPECT_FALSE(combo->ListBox()->ComponentState().Contains(csLoading));
}

TEST_F(OfficeComboBox, ItemsAndIndexFromADescription) {
    TTempFolder folder;
    WriteFileBytes(folder.Path() + u"form.txt",
                   StringToUTF8(String(u"object Form1: TRecordingForm\r\n"
                                       u"  object Picker: TqxSkinOfficeComboBox\r\n"
                                       u"    DropDownCount = 4\r\n"
                                       u"    ListBoxItemHeight = 60\r\n"
                                       u"    Items = <\r\n"
                                       u"      item\r\n"
                                       u"        Caption = '视频'\r\n"
                                       u"        Header = True\r\n"
                                       u"      end\r\n"
                                       u"      item\r\n"
                                       u"        Title = 'MP4'\r\n"
                                       u"        Caption = 'MPEG-4 视频'\r\n"
                                       u"        ImageIndex = 2\r\n"
                                       u"      end>\r\n"
                                       u"    ItemIndex = 1\r\n"
                                       u"  end\r\n"
                                       u"end\r\n")));
    auto* form = new TRecordingForm(Application, u"");
    ReadDescriptionFile(form, folder.Path() + u"form.txt");
    auto* combo = dynamic_cast<TqxSkinOfficeComboBox*>(form->FindComponent(u"Picker"));
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ(4, combo->DropDownCount());
    EXPECT_EQ(60, combo->ListBoxItemHeight());
    ASSERT_EQ(2, combo->Items()->Count());
    EXPECT_TRUE(combo->Items()->Items(0)->Header());
    EXPECT_EQ(u"MPEG-4 视频", combo->Items()->Items(1)->Caption());
    EXPECT_EQ(2, combo->Items()->Items(1)->ImageIndex());
}

TEST_F(OfficeComboBox, OpeningOnTheFirstRowScrollsBackToIt) {
    TqxSkinOfficeComboBox* combo = Combo();
    TqxSkinOfficeComboBox* empty = Add<TqxSkinOfficeComboBox>(20, 100, 120, 41);
    empty->DropDown();
    EXPECT_FALSE(empty->IsPopupVisible());
    combo->SetItemIndex(0);
    Log();
    combo->DropDown();
    EXPECT_EQ((TLog{"row1"}), Log());
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(0, combo->ItemIndex());
}

TEST_F(OfficeComboBox, TheListOpensWhereItsNewHeightFits) {
    TqxSkinOfficeComboBox* combo = Combo(false, 8);
    const TPoint bottom = combo->ClientToScreen(Point(0, combo->Height()));
    // Room for 140 pixels under the combo.
    driver::SetMonitors({TMonitorArea{RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, bottom.Y + 140}}});
    TqxPopupOfficeListBox* list = combo->ListBox();
    // Four rows (125 pixels) fit below, though a list has 150 before it first opens.
    combo->SetDropDownCount(4);
    combo->DropDown();
    EXPECT_EQ(4 * 30 + 5, list->Height());
    EXPECT_EQ(combo->ClientToScreen(Point(combo->Width() - list->Width(), combo->Height())),
              list->ClientOrigin());
    combo->CloseUp(false);
    // Seven (215) do not, though the last opening's 125 would.
    combo->SetDropDownCount(7);
    combo->DropDown();
    EXPECT_EQ(7 * 30 + 5, list->Height());
    EXPECT_EQ(combo->ClientToScreen(Point(0, 0)).Y - list->Height(), list->ClientOrigin().Y);
    combo->CloseUp(false);
    // A negative count is ignored; 0 keeps the list's height.
    combo->SetDropDownCount(-1);
    EXPECT_EQ(7, combo->DropDownCount());
    combo->SetDropDownCount(0);
    combo->DropDown();
    EXPECT_EQ(7 * 30 + 5, list->Height());
    combo->CloseUp(false);
    combo->SetListBoxWidth(200);
    combo->SetListBoxHeight(90);
    combo->DropDown();
    EXPECT_EQ(Rect(0, 0, 200, 90), Rect(0, 0, list->Width(), list->Height()));
    // The popup never takes the activation or the focus.
    const driver::TWindowInfo info = driver::Inspect(list->Handle());
    EXPECT_EQ(DWORD(WS_POPUP | WS_CLIPCHILDREN), info.Style & ~WS_VISIBLE);
    EXPECT_EQ(DWORD(WS_EX_TOOLWINDOW), info.ExStyle);
    EXPECT_EQ(UINT(CS_SAVEBITS | CS_DROPSHADOW), info.ClassStyle);
}

TEST_F(OfficeComboBox, KeysCloseWithOrWithoutAChoice) {
    TqxSkinOfficeComboBox* combo = Combo();
    TqxSkinOfficeComboBox* other = Add<TqxSkinOfficeComboBox>(20, 100, 120, 41);
    combo->SetItemIndex(2);
    const struct {
        const char* Name;
        std::function<void()> Close;
        Integer Index;
        TLog Events;
    } cases[] = {
        {"escape", [&] { Key(VK_ESCAPE); }, 2, {"row2"}},
        {"alt up", [&] { AltKey(VK_UP); }, 2, {"row2"}},
        {"focus elsewhere", [&] { other->SetFocus(); }, 2, {"row2"}},
        {"return", [&] { Key(VK_RETURN); }, 4, {"click", "change", "closeup"}},
    };
    for (const auto& c : cases) {
        combo->SetItemIndex(2);
        Open(combo);
        // Hovering moves the list's row, not the face's.
        Move(Row(combo, 4));
        EXPECT_EQ(4, combo->ItemIndex()) << c.Name;
        EXPECT_EQ(2, combo->ShownItemIndex()) << c.Name;
        EXPECT_EQ(TLog{}, Log()) << c.Name;
        c.Close();
        EXPECT_FALSE(combo->IsPopupVisible()) << c.Name;
        EXPECT_EQ(c.Index, combo->ItemIndex()) << c.Name;
        EXPECT_EQ(c.Events, Log()) << c.Name;
    }
    // Return keeps the row it opened on, and still reports it.
    combo->SetItemIndex(2);
    Open(combo);
    Key(VK_RETURN);
    EXPECT_EQ((TLog{"click", "change", "closeup"}), Log());
    // Arrows choose with their events, open or not.
    Open(combo);
    // The list moves (its event) and the combo takes the row (both again).
    Key(VK_DOWN);
    EXPECT_EQ((TLog{"row3", "row3", "click", "change"}), Log());
    EXPECT_EQ(3, combo->ShownItemIndex());
    Key(VK_ESCAPE);
    EXPECT_EQ(3, combo->ItemIndex());
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(1, combo->ItemIndex());
}

TEST_F(OfficeComboBox, AnOpenListTakesEscapeAndReturnBeforeTheFormsButtons) {
    TqxSkinOfficeComboBox* combo = Combo();
    auto* cancel = Add<TButton>(200, 200, 75, 25);
    cancel->SetCancel(true);
    auto* ok = Add<TButton>(280, 200, 75, 25);
    ok->SetDefault(true);
    Integer cancels = 0, oks = 0;
    cancel->OnClick = [&](TObject*) { ++cancels; };
    ok->OnClick = [&](TObject*) { ++oks; };
    combo->SetItemIndex(1);
    Open(combo);
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(0, cancels);
    Open(combo);
    Key(VK_RETURN);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(0, oks);
    // Closed, the keys are the form's.
    Key(VK_ESCAPE);
    Key(VK_RETURN);
    EXPECT_EQ(1, cancels);
    EXPECT_EQ(1, oks);
}

TEST_F(OfficeComboBox, TheWheelChoosesOnlyWhileClosed) {
    TqxSkinOfficeComboBox* combo = Combo();
    combo->SetItemIndex(3);
    combo->SetFocus();
    Log();
    // Towards the user: the row before.
    driver::Wheel(At(combo, 10, 10), -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(2, combo->ItemIndex());
    EXPECT_EQ((TLog{"row2", "row2", "click", "change"}), Log());
    Open(combo);
    driver::Wheel(At(combo, 10, 10), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(3, combo->ItemIndex());
    EXPECT_EQ(2, combo->ShownItemIndex());
    EXPECT_EQ((TLog{"row3"}), Log());
}

TEST_F(OfficeComboBox, MouseGestures) {
    TqxSkinOfficeComboBox* combo = Combo();
    combo->SetItemIndex(1);
    Log();
    TqxPopupOfficeListBox* list = combo->ListBox();
    // Press on the combo, drag onto a row, let go there: chosen.
    Move(At(combo, 10, 10));
    driver::MouseDown(At(combo, 10, 10));
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    EXPECT_TRUE(combo->Focused());
    Move(Row(combo, 3));
    driver::MouseUp(Row(combo, 3));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(3, combo->ItemIndex());
    EXPECT_EQ((TLog{"click", "change", "closeup"}), Log());
    // Let go away from the list: the old row is back.
    driver::MouseDown(At(combo, 10, 10));
    Pump();
    Move(Row(combo, 5));
    Move(ScreenPoint(FForm->Handle(), 390, 10));
    driver::MouseUp(ScreenPoint(FForm->Handle(), 390, 10));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(3, combo->ItemIndex());
    EXPECT_EQ(TLog{"row3"}, Log());
    // A click opens, a click on a row chooses it.
    driver::Click(At(combo, 10, 10));
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    Move(Row(combo, 2));
    driver::Click(Row(combo, 2));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(2, combo->ItemIndex());
    EXPECT_EQ((TLog{"click", "change", "closeup"}), Log());
    // A click on the combo while open closes it without a choice.
    driver::Click(At(combo, 10, 10));
    Pump();
    Move(Row(combo, 4));
    driver::Click(At(combo, 10, 10));
    Pump();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(2, combo->ItemIndex());
    EXPECT_FALSE(list->Visible());
}

TEST_F(OfficeComboBox, DraggingPastTheListScrollsIt) {
    TqxSkinOfficeComboBox* combo = Combo(false, 12);
    combo->SetDropDownCount(4);
    combo->SetItemIndex(1);
    driver::MouseDown(At(combo, 10, 10));
    Pump();
    TqxPopupOfficeListBox* list = combo->ListBox();
    ASSERT_NE(nullptr, list->ScrollBar);
    Move(Row(combo, 2));
    Move(At(list, 40, list->Height() + 20));
    AdvanceTime(25);
    EXPECT_EQ(3, list->ItemIndex());
    AdvanceTime(50);
    EXPECT_EQ(5, list->ItemIndex());
    EXPECT_GT(list->ScrollOffset(), 0);
    // Back over the list the scrolling stops.
    Move(Row(combo, 5));
    AdvanceTime(100);
    EXPECT_EQ(5, list->ItemIndex());
    driver::MouseUp(Row(combo, 5));
    Pump();
    EXPECT_EQ(5, combo->ItemIndex());
}

TEST_F(OfficeComboBox, TheFadeInRisesInFifteenths) {
    TqxSkinOfficeComboBox* combo = Combo();
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendAnimation(true);
    combo->SetAlphaBlendValue(200);
    const HWND list = combo->ListBox()->Handle();
    std::vector<BYTE> fade = {0};
    for (Integer a = 13; a < 200; a += 13)
        fade.push_back(BYTE(a));
    fade.push_back(200);
    combo->DropDown();
    EXPECT_EQ(fade, driver::Layered(list).AlphaHistory);
    EXPECT_TRUE(driver::Layered(list).Layered);
    combo->CloseUp(false);
    // Each opening starts from nothing.
    combo->DropDown();
    EXPECT_EQ(2 * fade.size(), driver::Layered(list).AlphaHistory.size());
    combo->CloseUp(false);
    // Without the fade the alpha is set once; taken away and given back, again.
    combo->SetAlphaBlendAnimation(false);
    combo->DropDown();
    combo->CloseUp(false);
    combo->DropDown();
    combo->CloseUp(false);
    EXPECT_EQ(2 * fade.size() + 1, driver::Layered(list).AlphaHistory.size());
    combo->SetAlphaBlend(false);
    combo->DropDown();
    combo->CloseUp(false);
    EXPECT_FALSE(driver::Layered(list).Layered);
    combo->SetAlphaBlend(true);
    combo->DropDown();
    EXPECT_TRUE(driver::Layered(list).Layered);
    EXPECT_EQ(200, driver::Layered(list).AlphaHistory.back());
    EXPECT_EQ(2 * fade.size() + 2, driver::Layered(list).AlphaHistory.size());
}

TEST_F(OfficeComboBox, TheDefaultLook) {
    TqxSkinOfficeComboBox* combo = Combo();
    const HWND h = combo->Handle();
    EXPECT_EQ(Rect(101, 0, 120, 41), combo->Button.R);
    EXPECT_EQ(Rect(2, 2, 100, 39), combo->CBItem);
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(h, 0, 0));
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(h, 50, 30));
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(h, 110, 5));
    Move(At(combo, 110, 5));
    EXPECT_EQ(TColor(0xF3D4C1), PixelOf(h, 110, 5));
    EXPECT_EQ(TColor(0xB76B3B), PixelOf(h, 101, 0));
    driver::MouseDown(At(combo, 110, 5));
    Pump();
    EXPECT_EQ(TColor(0xE4BCA2), PixelOf(h, 110, 5));
    driver::MouseUp(At(combo, 110, 5));
    Pump();
    // Focused, the item shows the highlight.
    EXPECT_EQ(ColorToRGB(clHighlight), PixelOf(h, 97, 30));
    // The tool-button look is never at the skin's size.
    combo->SetUseSkinSize(true);
    combo->SetToolButtonStyle(true);
    EXPECT_FALSE(combo->UseSkinSize());
    combo->SetUseSkinSize(true);
    EXPECT_TRUE(combo->UseSkinSize());
}

TEST_F(OfficeComboBox, ATallComboStretchesItsSkin) {
    TqxSkinOfficeComboBox* combo = Combo(true);
    combo->SetHeight(51);
    Pump();
    EXPECT_EQ(51, combo->Height());
    EXPECT_EQ(51, combo->Button.R.Bottom);
    EXPECT_EQ(120, combo->Button.R.Right);
    const HWND h = combo->Handle();
    EXPECT_EQ(FlatColor(u"combobutton", u"skinrect", fpCenter), PixelOf(h, combo->Button.R.Left + 9, 44));
    EXPECT_EQ(FlatColor(u"combobox", u"itemrect", fpCenter), PixelOf(h, 20, 45));
    EXPECT_EQ(FlatColor(u"combobox", u"skinrect", fpLeft), PixelOf(h, 1, 45));
    // The drop-down follows the combo's skin.
    combo->DropDown();
    EXPECT_EQ(combo->SkinData(), combo->ListBox()->SkinData());
    EXPECT_EQ(u"listbox", combo->ListBox()->SkinDataName());
}

TEST_F(OfficeComboBox, ASkinWithoutTheComboLeavesTheDropDownUnskinnedUntilTheNextOne) {
    TqxSkinOfficeComboBox* combo = Combo(true);
    TFixtureSkin skin = FlatSkin();
    for (Integer i = 0;; ++i) {
        const String entry = GetValue(skin, u"SKINCONTROLS", IntToStr(i));
        if (entry.empty()) break;
        if (entry == u"combobox:combobox") SetValue(skin, u"SKINCONTROLS", IntToStr(i), u"nocombo:combobox");
    }
    Load(skin);
    combo->ChangeSkinData();
    EXPECT_EQ(-1, combo->FIndex);
    EXPECT_EQ(u"", combo->ListBox()->SkinDataName());
    LoadFlat();
    combo->ChangeSkinData();
    EXPECT_NE(-1, combo->FIndex);
    EXPECT_EQ(u"listbox", combo->ListBox()->SkinDataName());
}

TEST_F(OfficeComboBox, PaintSkinToDrawsTheGivenText) {
    TqxSkinOfficeComboBox* combo = Combo();
    TBitmap target;
    target.SetSize(200, 100);
    target.Canvas()->Brush()->SetColor(clRed);
    target.Canvas()->FillRect(Rect(0, 0, 200, 100));
    combo->PaintSkinTo(target.Canvas(), 10, 20, u"MPEG-4");
    EXPECT_EQ(ColorToRGB(clBtnShadow), ColorToRGB(target.Canvas()->Pixels(10, 20)));
    EXPECT_EQ(ColorToRGB(clRed), ColorToRGB(target.Canvas()->Pixels(9, 20)));
    // The text lands in the item area, darker than the window colour.
    bool text = false;
    for (Integer x = 14; x < 60 && !text; ++x)
        for (Integer y = 30; y < 50 && !text; ++y)
            text = target.Canvas()->Pixels(x, y) != ColorToRGB(clWindow);
    EXPECT_TRUE(text);
}

TEST_F(OfficeComboBox, AFormFreedWhileTheListFadesInTakesTheComboAlong) {
    TRecordingForm* form = NewForm(u"Picker");
    auto* combo = new TqxSkinOfficeComboBox(form);
    combo->SetParent(form);
    combo->Items()->Add()->SetCaption(u"MP4");
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendAnimation(true);
    combo->SetAlphaBlendValue(200);
    Pump();
    // The fade first runs what is pending: here the form's release.
    form->Release();
    combo->DropDown();
    EXPECT_FALSE(ControlAlive(combo));
}

TEST_F(OfficeComboBox, AHandlerMayFreeTheCombo) {
    TqxSkinOfficeComboBox* combo = Combo();
    combo->OnChange = [&](TObject*) { delete combo; };
    combo->SetItemIndex(2);
    EXPECT_FALSE(ControlAlive(combo));
    TqxSkinOfficeComboBox* other = Combo();
    other->SetItemIndex(1);
    Open(other);
    other->OnChange = [&](TObject*) { delete other; };
    other->CloseUp(true);
    EXPECT_FALSE(ControlAlive(other));
}

}  // namespace
