// The skinned list box and its inner list: what the inner list paints and
// answers, the bars that come and go with the content, the layout, the
// caption bar and its buttons, and the hooks descendants override.
#include "skin/controls/qxskinlistbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

// A bitmap filled with one colour, to paint into.
struct TTarget {
    explicit TTarget(Integer AWidth = 100, Integer AHeight = 100, TColor AColor = TColor(0x123456)) {
        Bitmap.SetSize(AWidth, AHeight);
        Bitmap.Canvas()->Brush()->SetColor(AColor);
        Bitmap.Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    }
    HDC DC() { return Bitmap.Canvas()->Handle(); }
    TColor At(Integer X, Integer Y) { return Bitmap.Canvas()->Pixels(X, Y); }
    TBitmap Bitmap;
};

class QxSkinListBox : public ControlTest {
protected:
    // A list of AItems items "item 0" ... at (20, 20), unskinned unless skinned.
    TqxSkinListBox* List(Integer AItems, bool ASkinned = false, Integer AWidth = 150, Integer AHeight = 120,
                         const String& ASection = u"listbox") {
        if (ASkinned && FSkin->Empty) LoadFlat();
        auto* list = Add<TqxSkinListBox>(20, 20, AWidth, AHeight);
        list->SetSkinDataName(ASection);
        if (ASkinned) list->SetSkinData(FSkin);
        for (Integer i = 0; i < AItems; ++i)
            list->Items()->Add(u"item " + IntToStr(i));
        Pump();
        return list;
    }
    // The colour of a client point of the inner list.
    TColor ListPixel(TqxSkinListBox* AList, Integer X, Integer Y) {
        return PixelOf(AList->ListBox()->Handle(), X, Y);
    }
    // A press and release at a client point of the list box.
    POINT At(TqxSkinListBox* AList, Integer X, Integer Y) { return ScreenPoint(AList->Handle(), X, Y); }
};

TEST_F(QxSkinListBox, AListOfNoSizePaintsAndErasesNothing) {
    // Frames of 4 pixels leave the inner list no width, or no height.
    for (const auto& [w, h] : {std::pair{4, 120}, std::pair{150, 4}}) {
        TqxSkinListBox* list = List(3, false, w, h);
        TqxListBox* inner = list->ListBox();
        ASSERT_TRUE(inner->Width() == 0 || inner->Height() == 0);
        TTarget target;
        EXPECT_EQ(1, inner->Perform(WM_ERASEBKGND, WPARAM(target.DC()), 0));
        inner->PaintWindow(target.DC());
        EXPECT_EQ(TColor(0x123456), target.At(0, 0));
        Free(list);
    }
}

TEST_F(QxSkinListBox, TheEmptyBackgroundIsPaintedOnlyForTheKeyAndOnlyWhenEmpty) {
    TqxSkinListBox* list = List(0, true);
    TqxListBox* inner = list->ListBox();
    const TColor centre = FlatColor(u"listbox", u"skinrect", fpCenter);
    {
        TTarget target;
        EXPECT_EQ(SKINMSG_PAINTKEY,
                  inner->Perform(SKINMSG_PAINTEMPTYTODC, WPARAM(target.DC()), SKINMSG_PAINTKEY));
        EXPECT_EQ(centre, target.At(16, 16));
    }
    {
        TTarget target;
        EXPECT_EQ(0, inner->Perform(SKINMSG_PAINTEMPTYTODC, WPARAM(target.DC()), 1));
        EXPECT_EQ(TColor(0x123456), target.At(16, 16));
    }
    // Without a DC it only answers.
    EXPECT_EQ(SKINMSG_PAINTKEY, inner->Perform(SKINMSG_PAINTEMPTYTODC, 0, SKINMSG_PAINTKEY));
    list->Items()->Add(u"one");
    TTarget target;
    EXPECT_EQ(0, inner->Perform(SKINMSG_PAINTEMPTYTODC, WPARAM(target.DC()), SKINMSG_PAINTKEY));
    EXPECT_EQ(TColor(0x123456), target.At(16, 16));
    EXPECT_EQ(SKINMSG_ANSWER_PAINTED, inner->Perform(SKINMSG_PAINTTODC, WPARAM(target.DC()), 0));
}

TEST_F(QxSkinListBox, ASkinWithoutAClientSampleLeavesTheWindowColourBelowTheItems) {
    TFixtureSkin skin = FlatSkin();
    AddElement(skin, u"bareclient", u"listbox",
               {{u"pictureindex", GetValue(skin, u"listbox", u"pictureindex")},
                {u"skinrect", GetValue(skin, u"listbox", u"skinrect")},
                {u"lefttoppoint", u"4,4"},
                {u"righttoppoint", u"36,4"},
                {u"leftbottompoint", u"4,36"},
                {u"rightbottompoint", u"36,36"},
                {u"clientrect", u"0,0,0,0"},
                {u"itemrect", GetValue(skin, u"listbox", u"itemrect")}});
    Load(skin);
    TqxSkinListBox* list = List(1, true, 150, 120, u"bareclient");
    EXPECT_NE(-1, list->FIndex);
    EXPECT_EQ(ColorToRGB(clWindow), ListPixel(list, 10, 60));
}

TEST_F(QxSkinListBox, AnItemOutsideTheListPaintsNothing) {
    for (const bool skinned : {false, true}) {
        SCOPED_TRACE(skinned);
        TqxSkinListBox* list = List(3, skinned);
        for (const Integer index : {-1, 3}) {
            TTarget target;
            DRAWITEMSTRUCT item{
                ODT_LISTBOX,     0, UINT(index), ODA_DRAWENTIRE, ODS_SELECTED, nullptr, target.DC(),
                {0, 0, 100, 20}, 0};
            list->ListBox()->Perform(CN_DRAWITEM, 0, LPARAM(&item));
            EXPECT_EQ(TColor(0x123456), target.At(50, 10)) << index;
        }
        TTarget target;
        DRAWITEMSTRUCT item{ODT_LISTBOX,     0, 1, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, target.DC(),
                            {0, 0, 100, 20}, 0};
        list->ListBox()->Perform(CN_DRAWITEM, 0, LPARAM(&item));
        EXPECT_NE(TColor(0x123456), target.At(50, 10));
    }
}

TEST_F(QxSkinListBox, TheFlatSkinShowsWhichItemPictureWasDrawn) {
    TqxSkinListBox* list = List(3, true);
    list->SetItemIndex(1);
    Pump();
    const Integer y = list->ListBox()->ItemHeight() / 2;
    EXPECT_EQ(FlatColor(u"listbox", u"itemrect", fpCenter), ListPixel(list, 60, y));
    EXPECT_EQ(FlatColor(u"listbox", u"activeitemrect", fpCenter),
              ListPixel(list, 60, y + list->ListBox()->ItemHeight()));
    list->ListBox()->SetFocus();
    Pump();
    EXPECT_EQ(FlatColor(u"listbox", u"focusitemrect", fpCenter),
              ListPixel(list, 60, y + list->ListBox()->ItemHeight()));
    // Below the last item the client sample is tiled.
    EXPECT_EQ(FlatColor(u"listbox", u"skinrect", fpCenter), ListPixel(list, 60, 3 * 22 + 16));
    // The skin's item height, the default one without a skin.
    EXPECT_EQ(22, list->ListBox()->ItemHeight());
    list->SetSkinData(nullptr);
    list->ChangeSkinData();
    EXPECT_EQ(20, list->ListBox()->ItemHeight());
}

// The first column where the row's pixels differ from its background.
Integer FirstInk(TqxSkinListBox* AList, Integer AIndex) {
    const TRect r = AList->ItemRect(AIndex);
    const HWND window = AList->ListBox()->Handle();
    const COLORREF background = driver::Pixel(window, r.Right - 1, r.Top + 1);
    for (Integer x = 0; x < r.Right; ++x)
        for (Integer y = r.Top; y < r.Bottom; ++y)
            if (driver::Pixel(window, x, y) != background) return x;
    return -1;
}

TEST_F(QxSkinListBox, ItemImagesByTheirIndexOrOneForAll) {
    TqxSkinListBox* plain = List(4);
    auto* images = new TCustomImageList(12, 12, FForm);
    for (const TColor color : {TColor(0x0000FF), TColor(0x00FF00)}) {
        TBitmap picture;
        picture.SetSize(12, 12);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(Rect(0, 0, 12, 12));
        images->Add(&picture, nullptr);
    }
    auto* list = Add<TqxSkinListBox>(200, 20, 150, 120);
    for (Integer i = 0; i < 4; ++i)
        list->Items()->Add(u"item " + IntToStr(i));
    list->SetImages(images);
    Pump();
    const HWND window = list->ListBox()->Handle();
    const TRect r1 = list->ItemRect(1);
    EXPECT_EQ(COLORREF(0x00FF00), driver::Pixel(window, 2 + 6, r1.Top + 10));
    // Item 3 has no image of its own, but its text keeps the indent.
    const TRect r3 = list->ItemRect(3);
    EXPECT_EQ(COLORREF(ColorToRGB(clWindow)), driver::Pixel(window, 2 + 6, r3.Top + 10));
    EXPECT_EQ(FirstInk(plain, 3) + 12 + 2, FirstInk(list, 3));
    // One image for every item.
    list->SetImageIndex(0);
    Pump();
    EXPECT_EQ(COLORREF(0x0000FF), driver::Pixel(window, 2 + 6, r3.Top + 10));
}

TEST_F(QxSkinListBox, TabStops) {
    const struct {
        const char16_t* Entry;
        Integer Stop;
    } cases[] = {{u"40", 40},        {u"8x", 0},
                 {u"120", 120},      {u"", 0},
                 {u"-5", 0},         {u"2147483647", 2147483647},
                 {u"2147483648", 0}, {u"99999999999999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.Stop, TabStopFromString(c.Entry)) << StringToUTF8(c.Entry);
    // Tabbed items start where plain ones do; the text after a tab at its stop.
    TqxSkinListBox* plain = List(2);
    auto* tabbed = Add<TqxSkinListBox>(200, 20, 180, 120);
    tabbed->Items()->Add(u"item 0");
    tabbed->Items()->Add(u"\titem 1");
    tabbed->TabWidths()->Add(u"100");
    tabbed->ListBox()->Invalidate();
    Pump();
    EXPECT_EQ(FirstInk(plain, 0), FirstInk(tabbed, 0));
    // Tab stops count from the item's left edge.
    EXPECT_EQ(FirstInk(plain, 1) - 4 + 100, FirstInk(tabbed, 1));
}

TEST_F(QxSkinListBox, TheDrawingOffsetFollowsTheWidth) {
    TqxSkinListBox* list = List(3);
    TqxListBox* inner = list->ListBox();
    const Integer width = inner->Width();
    inner->SetHorizontalExtentValue(30);
    inner->SetBounds(inner->Left(), inner->Top(), width - 10, inner->Height());
    EXPECT_EQ(40, inner->HorizontalExtentValue());
    inner->SetBounds(inner->Left(), inner->Top(), width + 40, inner->Height());
    EXPECT_EQ(0, inner->HorizontalExtentValue());
}

TEST_F(QxSkinListBox, ARowCountSizesTheListAndNeedsNoBar) {
    TqxSkinListBox* list = List(8);
    list->SetRowCount(8);
    EXPECT_EQ(8 * 20 + 4, list->Height());
    EXPECT_EQ(nullptr, list->ScrollBar());
    list->Items()->Add(u"item 8");
    Pump();
    ASSERT_NE(nullptr, list->ScrollBar());
    EXPECT_EQ(0, list->ScrollBar()->Min());
    EXPECT_EQ(8, list->ScrollBar()->Max());
    EXPECT_EQ(8, list->ScrollBar()->PageSize());
    // Skinned: the frame and the skin's rows.
    TqxSkinListBox* skinned = List(8, true);
    skinned->SetRowCount(8);
    EXPECT_EQ(40 + 8 * 22 - 36, skinned->Height());
    EXPECT_EQ(nullptr, skinned->ScrollBar());
}

TEST_F(QxSkinListBox, TheVerticalBarComesAndGoesAndScrollsTheList) {
    TqxSkinListBox* list = List(3);
    EXPECT_EQ(nullptr, list->ScrollBar());
    for (Integer i = 3; i < 20; ++i)
        list->Items()->Add(u"item " + IntToStr(i));
    Pump();
    ASSERT_NE(nullptr, list->ScrollBar());
    TqxSkinScrollBar* bar = list->ScrollBar();
    EXPECT_EQ(sbVertical, bar->Kind());
    bar->SetPosition(5);
    EXPECT_EQ(5, list->TopIndex());
    // The keyboard and the wheel move the bar with the list.
    list->ListBox()->SetFocus();
    list->SetItemIndex(5);
    driver::Key(VK_END);
    Pump();
    EXPECT_EQ(list->TopIndex(), bar->Position());
    EXPECT_GT(bar->Position(), 5);
    driver::Wheel(ScreenPoint(list->ListBox()->Handle(), 10, 10), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(list->TopIndex(), bar->Position());
    list->Clear();
    Pump();
    EXPECT_EQ(nullptr, list->ScrollBar());
}

TEST_F(QxSkinListBox, TheHorizontalExtent) {
    TqxSkinListBox* list = List(3);
    const String wide = u"a rather long item that never fits the list";
    list->Items()->Add(wide);
    list->SetHorizontalExtent(true);
    ASSERT_NE(nullptr, list->HScrollBar());
    TBitmap measure;
    measure.Canvas()->SetFont(list->ListBox()->Font());
    EXPECT_EQ(measure.Canvas()->TextWidth(wide), list->HScrollBar()->Max());
    EXPECT_EQ(list->ListBox()->Width() - 4, list->HScrollBar()->PageSize());
    EXPECT_EQ(measure.Canvas()->TextWidth(u"0"), list->HScrollBar()->SmallChange());
    list->HScrollBar()->SetPosition(30);
    EXPECT_EQ(30, list->ListBox()->HorizontalExtentValue());
    // The keys step it too.
    list->ListBox()->SetFocus();
    driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(30 + list->HScrollBar()->SmallChange(), list->ListBox()->HorizontalExtentValue());
    list->SetHorizontalExtent(false);
    EXPECT_EQ(nullptr, list->HScrollBar());
    EXPECT_EQ(0, list->ListBox()->HorizontalExtentValue());
}

TEST_F(QxSkinListBox, ASkinChangeMeasuresTheHorizontalExtentAgain) {
    TqxSkinListBox* list = List(3);
    const String wide = u"a rather long item that never fits the list";
    list->Items()->Add(wide);
    list->SetHorizontalExtent(true);
    ASSERT_NE(nullptr, list->HScrollBar());
    const Integer plainMax = list->HScrollBar()->Max();
    LoadFlat();
    list->SetSkinData(FSkin);
    Pump();
    ASSERT_NE(nullptr, list->HScrollBar());
    TBitmap measure;
    measure.Canvas()->Font()->SetName(list->FontName);
    measure.Canvas()->Font()->SetHeight(list->FontHeight);
    measure.Canvas()->Font()->SetStyle(list->FontStyle);
    EXPECT_EQ(measure.Canvas()->TextWidth(wide), list->HScrollBar()->Max());
    EXPECT_NE(plainMax, list->HScrollBar()->Max());
    EXPECT_EQ(u"hscrollbar", list->HScrollBar()->SkinDataName());
}

TEST_F(QxSkinListBox, TheListAndItsBarsInTheFrame) {
    const struct {
        bool Skinned;
        bool Vertical, Horizontal;
        Integer Columns;
        TRect List, VBar, HBar;
    } cases[] = {
        // Unskinned 150 x 120: a one-pixel top inset, bars 19 wide.
        {false, false, false, 0, Rect(2, 2, 148, 118), {}, {}},
        {false, true, false, 0, Rect(2, 2, 130, 118), Rect(130, 1, 149, 119), {}},
        {false, false, true, 0, Rect(2, 2, 148, 100), {}, Rect(1, 100, 149, 119)},
        {false, true, true, 0, Rect(2, 2, 130, 100), Rect(130, 1, 149, 101), Rect(1, 100, 149, 119)},
        {false, true, false, 2, Rect(2, 2, 148, 100), Rect(1, 100, 149, 119), {}},
        // Skinned: the client rectangle (2, 2) .. (148, 118), bars of the skin's 17 pixels.
        {true, false, false, 0, Rect(2, 2, 148, 118), {}, {}},
        {true, true, false, 0, Rect(2, 2, 131, 118), Rect(131, 2, 148, 118), {}},
        {true, false, true, 0, Rect(2, 2, 148, 101), {}, Rect(2, 101, 148, 118)},
        {true, true, true, 0, Rect(2, 2, 131, 101), Rect(131, 2, 148, 101), Rect(2, 101, 148, 118)},
        {true, true, false, 2, Rect(2, 2, 148, 101), Rect(2, 101, 148, 118), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "skinned " << c.Skinned << " bars " << c.Vertical << c.Horizontal
                                        << " columns " << c.Columns);
        TqxSkinListBox* list = List(0, c.Skinned);
        list->SetColumns(c.Columns);
        const String wide(60, u'W');
        list->Items()->Add(c.Horizontal ? wide : String(u"x"));
        list->SetHorizontalExtent(c.Horizontal);
        for (Integer i = 0; c.Vertical && i < 30; ++i)
            list->Items()->Add(u"x");
        Pump();
        EXPECT_EQ(c.List, list->ListBox()->BoundsRect());
        EXPECT_EQ(c.List, list->ListRect);
        ASSERT_EQ(c.Vertical, list->ScrollBar() != nullptr);
        if (c.Vertical) {
            EXPECT_EQ(c.VBar, list->ScrollBar()->BoundsRect());
        }
        ASSERT_EQ(c.Horizontal, list->HScrollBar() != nullptr);
        if (c.Horizontal) {
            EXPECT_EQ(c.HBar, list->HScrollBar()->BoundsRect());
        }
        Free(list);
    }
}

TEST_F(QxSkinListBox, UnskinnedCaptionButtonsFollowTheCaptionHeight) {
    TqxSkinListBox* list = List(3, false, 200, 150);
    list->SetCaptionMode(true);
    Pump();
    const Integer w = 200;
    EXPECT_EQ(Rect(w - 19, 2, w - 2, 18), list->Buttons[TqxSkinCustomListBox::UpButton].R);
    EXPECT_EQ(Rect(w - 36, 2, w - 19, 18), list->Buttons[TqxSkinCustomListBox::DownButton].R);
    EXPECT_EQ(Rect(w - 53, 2, w - 36, 18), list->Buttons[TqxSkinCustomListBox::CheckButton].R);
    EXPECT_EQ(Rect(2, 21, 198, 148), list->ListBox()->BoundsRect());
    list->SetDefaultCaptionHeight(14);
    Pump();
    EXPECT_EQ(Rect(w - 13, 2, w - 2, 12), list->Buttons[TqxSkinCustomListBox::UpButton].R);
    EXPECT_EQ(Rect(w - 24, 2, w - 13, 12), list->Buttons[TqxSkinCustomListBox::DownButton].R);
    EXPECT_EQ(Rect(2, 15, 198, 148), list->ListBox()->BoundsRect());
    // The caption strip and an idle button in the button shadow colour.
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(list->Handle(), 5, 12));
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(list->Handle(), w - 3, 11));
}

TEST_F(QxSkinListBox, AHeldCaptionButtonRepeats) {
    TqxSkinListBox* list = List(30, false, 200, 150);
    list->SetCaptionMode(true);
    list->SetItemIndex(0);
    Pump();
    const POINT down = At(list, 200 - 28, 10), outside = At(list, 100, 10);
    driver::MouseMove(down);
    driver::MouseDown(down);
    Pump();
    EXPECT_EQ(0, list->ItemIndex());
    AdvanceTime(499);
    EXPECT_EQ(0, list->ItemIndex());
    AdvanceTime(1);
    EXPECT_EQ(0, list->ItemIndex());
    AdvanceTime(100);
    EXPECT_EQ(1, list->ItemIndex());
    AdvanceTime(300);
    EXPECT_EQ(4, list->ItemIndex());
    // Off the button it pauses; back over it, it goes on every 50 ms.
    driver::MouseMove(outside);
    Pump();
    AdvanceTime(500);
    EXPECT_EQ(4, list->ItemIndex());
    driver::MouseMove(down);
    Pump();
    AdvanceTime(100);
    EXPECT_EQ(6, list->ItemIndex());
    // Let go outside: one more step, and no more.
    driver::MouseMove(outside);
    driver::MouseUp(outside);
    Pump();
    EXPECT_EQ(7, list->ItemIndex());
    AdvanceTime(1000);
    EXPECT_EQ(7, list->ItemIndex());
    // The up button stops at the first item.
    list->SetItemIndex(0);
    const POINT up = At(list, 200 - 10, 10);
    driver::MouseMove(up);
    driver::Click(up);
    Pump();
    EXPECT_EQ(0, list->ItemIndex());
}

TEST_F(QxSkinListBox, AnAssignedButtonEventReplacesTheStep) {
    TqxSkinListBox* list = List(10, false, 200, 150);
    list->SetCaptionMode(true);
    list->SetItemIndex(5);
    Integer clicks = 0;
    list->OnUpButtonClick = [&](TObject*) { ++clicks; };
    Pump();
    const POINT up = At(list, 200 - 10, 10), outside = At(list, 100, 10);
    driver::MouseMove(up);
    driver::Click(up);
    Pump();
    AdvanceTime(1000);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(5, list->ItemIndex());
    // Let go outside the button: the step instead of the event.
    driver::MouseDown(up);
    driver::MouseMove(outside);
    driver::MouseUp(outside);
    Pump();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(4, list->ItemIndex());
    // A right press presses the check button, which clicks the list.
    Integer listClicks = 0;
    list->OnListBoxClick = [&](TObject* Sender) {
        EXPECT_EQ(list, Sender);
        ++listClicks;
    };
    const POINT check = At(list, 200 - 45, 10);
    driver::MouseMove(check);
    driver::Click(check, 0x02);
    Pump();
    EXPECT_EQ(1, listClicks);
}

TEST_F(QxSkinListBox, TheSkinnedCaptionBarAndItsButtons) {
    TqxSkinListBox* list = List(3, true, 200, 150, u"captionlistbox");
    list->SetCaptionMode(true);
    list->SetCaption(u"caption");
    Pump();
    // The buttons keep their place at the right end; the list sits below the caption.
    const Integer dx = 200 - 100;
    EXPECT_EQ(Rect(80 + dx, 3, 96 + dx, 19), list->Buttons[TqxSkinCustomListBox::UpButton].R);
    EXPECT_EQ(Rect(46 + dx, 3, 62 + dx, 19), list->Buttons[TqxSkinCustomListBox::CheckButton].R);
    EXPECT_EQ(Rect(2, 22, 198, 148), list->ListBox()->BoundsRect());
    EXPECT_EQ(Rect(6, 2, 44 + dx, 20), list->NewCaptionRect);
    const HWND window = list->Handle();
    EXPECT_EQ(FlatColor(u"captionlistbox", u"upbuttonrect", fpWhole), PixelOf(window, 88 + dx, 11));
    const POINT up = ScreenPoint(window, 88 + dx, 11);
    // The first move over the list enters it, which resets the hot button.
    driver::MouseMove(ScreenPoint(window, 87 + dx, 11));
    driver::MouseMove(up);
    Pump();
    EXPECT_EQ(FlatColor(u"captionlistbox", u"activeupbuttonrect", fpWhole), PixelOf(window, 88 + dx, 11));
    driver::MouseDown(up);
    Pump();
    EXPECT_EQ(FlatColor(u"captionlistbox", u"downupbuttonrect", fpWhole), PixelOf(window, 88 + dx, 11));
    driver::MouseUp(up);
    // Hidden buttons: the skin's picture of the empty area covers them.
    list->SetShowCaptionButtons(false);
    Pump();
    EXPECT_EQ(FlatColor(u"captionlistbox", u"disabledbuttonsrect", fpWhole), PixelOf(window, 88 + dx, 11));
    EXPECT_EQ(Rect(6, 2, 200 - 6, 20), list->NewCaptionRect);
}

TEST_F(QxSkinListBox, ASkinWithoutCaptionButtonsNeverPressesOne) {
    TqxSkinListBox* list = List(10, true, 200, 150);
    list->SetCaptionMode(true);
    list->SetItemIndex(5);
    Pump();
    const POINT corner = At(list, 190, 2);
    driver::MouseMove(corner);
    driver::Click(corner);
    Pump();
    AdvanceTime(1000);
    EXPECT_EQ(5, list->ItemIndex());
    EXPECT_EQ(-1, list->ActiveButton);
}

// A list as the dialogs derive theirs: its own answers to the hooks.
class TTracingList : public TqxSkinListBox {
public:
    using TqxSkinListBox::TqxSkinListBox;
    void ListBoxMouseDown(TMouseButton, TShiftState, Integer X, Integer Y) override {
        Log.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    }
    void ListBoxKeyDown(Word& AKey, TShiftState) override {
        Log.push_back("key " + std::to_string(AKey));
        if (AKey == VK_DOWN) AKey = 0;
    }
    void ListBoxWndProc(TMessage& AMessage, bool& ACallDefault) override {
        ACallDefault = AMessage.Msg != WM_CHAR;
    }
    void ListBoxEnter() override { Log.push_back("enter"); }
    void ListBoxCreateWnd() override { Log.push_back("window"); }
    Integer GetItemWidth(Integer, TCanvas*) override { return 1000; }

    std::vector<std::string> Log;
};

TEST_F(QxSkinListBox, DescendantsAnswerTheHooks) {
    auto* list = Add<TTracingList>(20, 20, 150, 120);
    for (Integer i = 0; i < 5; ++i)
        list->Items()->Add(u"item " + IntToStr(i));
    Pump();
    list->SetItemIndex(0);
    list->ListBox()->SetFocus();
    Pump();
    driver::Click(ScreenPoint(list->ListBox()->Handle(), 10, 30));
    driver::Key(VK_DOWN);
    driver::Text(u"i");
    Pump();
    EXPECT_EQ((std::vector<std::string>{"window", "enter", "down 10,30", "key 40"}), list->Log);
    // The click chose item 1; the cleared key and the dropped character moved nothing.
    EXPECT_EQ(1, list->ItemIndex());
    list->SetHorizontalExtent(true);
    ASSERT_NE(nullptr, list->HScrollBar());
    EXPECT_EQ(1000, list->HScrollBar()->Max());
}

}  // namespace
