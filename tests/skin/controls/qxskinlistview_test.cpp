#include "skin/controls/qxskinlistview.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;

// Counts the list's horizontal line steps.
class TCountingListView : public TqxSkinListView {
public:
    using TqxSkinListView::TqxSkinListView;
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == WM_HSCROLL && LOWORD(AMessage.WParam) == SB_LINELEFT) ++LineLefts;
        if (AMessage.Msg == WM_HSCROLL && LOWORD(AMessage.WParam) == SB_LINERIGHT) ++LineRights;
        TqxSkinListView::Dispatch(AMessage);
    }
    Integer LineLefts = 0;
    Integer LineRights = 0;
};

// A list of 300 x 200 at (10, 10) with three columns of 100 and its two
// bars beside and below it.
class SkinListView : public ControlTest {
protected:
    TCountingListView* List(TViewStyle AStyle, Integer ARows, bool ASkinned = true) {
        if (ASkinned && FSkin->Empty) LoadFlat();
        auto* list = Add<TCountingListView>(10, 10, 300, 200);
        list->SetViewStyle(AStyle);
        for (Integer c = 0; c < 3; ++c) {
            TListColumn* column = list->Columns()->Add();
            String caption = u"列";  // built in place: GCC 12 -O3 misreads the temporary
            caption += IntToStr(c);
            column->SetCaption(caption);
            column->SetWidth(100);
        }
        for (Integer r = 0; r < ARows; ++r) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(u"视频" + IntToStr(r));
            item->SubItems()->Add(u"00:01:00");
            item->SubItems()->Add(u"");
        }
        FV = Add<TqxSkinScrollBar>(310, 10, 19, 200);
        FV->SetKind(sbVertical);
        FV->SetSkinDataName(u"vscrollbar");
        FH = Add<TqxSkinScrollBar>(10, 210, 300, 19);
        if (ASkinned) {
            list->SetSkinData(FSkin);
            FV->SetSkinData(FSkin);
            FH->SetSkinData(FSkin);
        }
        list->SetVScrollBar(FV);
        list->SetHScrollBar(FH);
        Pump();
        return list;
    }
    TColor HeaderPixel(TqxSkinListView* AList, Integer X, Integer Y) {
        return PixelOf(AList->HeaderHandle(), X, Y);
    }

    TqxSkinScrollBar* FV = nullptr;
    TqxSkinScrollBar* FH = nullptr;
};

TEST_F(SkinListView, ReportBarsFollowTheRowsAndColumns) {
    TCountingListView* list = List(vsReport, 3);
    EXPECT_FALSE(FV->Visible());
    EXPECT_FALSE(FH->Visible());
    const Integer perPage = Integer(list->Perform(LVM_GETCOUNTPERPAGE, 0, 0));
    for (Integer r = 3; r < 50; ++r)
        list->Items()->Add()->SetCaption(u"行");
    Pump();
    EXPECT_TRUE(FV->Visible());
    EXPECT_EQ(perPage, FV->PageSize());
    EXPECT_EQ(perPage, FV->LargeChange());
    EXPECT_EQ(49, FV->Max());
    // The horizontal bar takes the "both" form beside the vertical one.
    EXPECT_TRUE(FH->Both());
    // Moving the bar by 3 scrolls 3 rows.
    FV->SetPosition(3);
    EXPECT_EQ(3, list->TopItem()->Index());
    EXPECT_EQ(3, GetScrollPos(list->Handle(), SB_VERT));
    // The list scrolled by itself: the bar follows.
    list->Scroll(0, 2 * list->Items()->Item(0)->DisplayRect(drBounds).Height());
    Pump();
    EXPECT_EQ(5, FV->Position());
    while (list->Items()->Count() > 3)
        list->Items()->Delete(list->Items()->Count() - 1);
    Pump();
    EXPECT_FALSE(FV->Visible());
    EXPECT_FALSE(FH->Both());

    // Horizontally the range's max must exceed the width: 300 columns wide
    // (max 299) and 301 (max 300) keep the bar hidden, 302 shows it.
    for (const auto& [width, visible] : {std::pair{100, false}, {101, false}, {102, true}}) {
        list->Column(2)->SetWidth(width);
        Pump();
        EXPECT_EQ(visible, FH->Visible()) << width;
    }
    list->Column(2)->SetWidth(200);
    Pump();
    FH->SetPosition(40);
    EXPECT_EQ(40, GetScrollPos(list->Handle(), SB_HORZ));
}

// With no rows a vertical bar given a range by hand scrolls nothing.
TEST_F(SkinListView, AMoveWithoutRowsScrollsNothing) {
    TCountingListView* list = List(vsReport, 0);
    FV->SetRange(0, 10, 0, 0);
    FV->SetPosition(3);
    EXPECT_EQ(0, GetScrollPos(list->Handle(), SB_VERT));
    EXPECT_EQ(nullptr, list->TopItem());
}

TEST_F(SkinListView, ListViewStepsByLines) {
    TCountingListView* list = List(vsList, 200);
    EXPECT_FALSE(FV->Visible());
    EXPECT_TRUE(FH->Visible());
    FH->SetPosition(3);
    EXPECT_EQ(3, list->LineRights);
    FH->SetPosition(1);
    EXPECT_EQ(2, list->LineLefts);
    EXPECT_EQ(1, GetScrollPos(list->Handle(), SB_HORZ));
}

TEST_F(SkinListView, IconViewScrollsByPixels) {
    TCountingListView* list = List(vsIcon, 60);
    ASSERT_TRUE(FV->Visible());
    EXPECT_EQ(200, FV->PageSize());
    FV->SetPosition(30);
    EXPECT_EQ(30, GetScrollPos(list->Handle(), SB_VERT));
    EXPECT_EQ(std::max(list->Items()->Item(0)->DisplayRect(drBounds).Height() / 2, 1), FV->SmallChange());
}

TEST_F(SkinListView, TheSkinnedHeader) {
    TCountingListView* list = List(vsReport, 3);
    const HWND header = list->HeaderHandle();
    ASSERT_NE(nullptr, header);
    const driver::TWindowInfo info = driver::Inspect(header);
    EXPECT_EQ(list->ClientWidth() + 25, info.Bounds.right - info.Bounds.left);
    const Integer middle = (info.Bounds.bottom - info.Bounds.top) / 2;
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpCenter), HeaderPixel(list, 50, middle));
    // Right of the columns the skin runs on without its right edge.
    list->Column(2)->SetWidth(50);
    Pump();
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpCenter), HeaderPixel(list, 285, middle));
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpTop), HeaderPixel(list, 285, 1));
    // A pressed section is drawn pressed until the button is released.
    driver::MouseDown(ScreenPoint(header, 50, 3));
    Pump();
    EXPECT_EQ(FlatColor(u"header", u"downskinrect", fpCenter), HeaderPixel(list, 50, middle));
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpCenter), HeaderPixel(list, 150, middle));
    driver::MouseUp(ScreenPoint(header, 50, 3));
    Pump();
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpCenter), HeaderPixel(list, 50, middle));
    EXPECT_EQ(SKINMSG_ANSWER_PAINTED, SendMessageW(list->Handle(), SKINMSG_PAINTTODC, 0, 0));
}

TEST_F(SkinListView, TheHeaderFallsBackToTheToolButtonThenToTheDefaultLook) {
    TFixtureSkin skin = FlatSkin();
    // The index names the tool button's section otherwise: the skin has no
    // "resizetoolbutton".
    ASSERT_EQ(u"resizetoolbutton:button", GetValue(skin, u"SKINCONTROLS", u"2"));
    TCountingListView* list = List(vsReport, 3);
    list->SetHeaderSkinDataName(u"nosuchheader");
    InvalidateRect(list->HeaderHandle(), nullptr, TRUE);
    const Integer middle = 10;
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"skinrect", fpCenter), HeaderPixel(list, 50, middle));
    SetValue(skin, u"SKINCONTROLS", u"2", u"renamedtoolbutton:button");
    Load(skin);
    InvalidateRect(list->HeaderHandle(), nullptr, TRUE);
    EXPECT_EQ(ColorToRGB(clBtnFace), HeaderPixel(list, 50, middle));
    driver::MouseDown(ScreenPoint(list->HeaderHandle(), 50, 3));
    Pump();
    EXPECT_EQ(TColor(RGB(162, 188, 228)), HeaderPixel(list, 50, middle));
    driver::MouseUp(ScreenPoint(list->HeaderHandle(), 50, 3));
    Pump();
}

// A header that goes with the window is forgotten, never restored; a new
// one is subclassed in its place.
TEST_F(SkinListView, AHeaderThatGoesIsForgotten) {
    TCountingListView* list = List(vsReport, 3);
    const HWND first = list->HeaderHandle();
    list->SetShowColumnHeaders(false);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(nullptr, list->HeaderHandle());
    list->SetShowColumnHeaders(true);
    ASSERT_NE(nullptr, list->HeaderHandle());
    EXPECT_EQ(FlatColor(u"header", u"skinrect", fpCenter), HeaderPixel(list, 50, 10));
    list->RecreateWnd();
    list->HandleNeeded();
    Pump();
    EXPECT_TRUE(IsWindow(list->HeaderHandle()));
    delete list;
}

TEST_F(SkinListView, TheListTakesItsFontAndColoursFromTheSkin) {
    TCountingListView* list = List(vsReport, 3, false);
    EXPECT_EQ(clWindow, list->Color());
    EXPECT_EQ(u"Tahoma", list->Font()->Name());
    LoadFlat();
    list->SetSkinData(FSkin);
    EXPECT_EQ(TColor(0xFFFFFF), list->Color());
    EXPECT_EQ(u"黑体", list->Font()->Name());
    EXPECT_EQ(TColor(2630431), list->Font()->Color());
    EXPECT_EQ(MixColors(MixColors(MixColors(TColor(2630431), 0xFFFFFF), 0xFFFFFF), 0xFFFFFF),
              list->FLineColor);
    list->SetSkinData(nullptr);
    list->ChangeSkinData();
    EXPECT_EQ(clWindow, list->Color());
}

class SkinListViewItems : public SkinListView {
protected:
    TCountingListView* Drawn(TViewStyle AStyle, Integer ARows, bool ARowSelect) {
        TCountingListView* list = List(AStyle, ARows);
        list->SetRowSelect(ARowSelect);
        list->SetDrawSkin(true);
        Pump();
        return list;
    }
    static TColor Selection(bool AFocused) {
        return FlatColor(u"listbox", AFocused ? u"focusitemrect" : u"activeitemrect", fpCenter);
    }
};

// Without a list-box element to draw with (none, another kind, a picture
// index outside the skin) the common control draws the item.
TEST_F(SkinListViewItems, WithoutAListBoxElementTheControlDraws) {
    TFixtureSkin skin = FlatSkin();
    AddElement(skin, u"brokenlistbox", u"listbox", {{u"pictureindex", u"99"}, {u"skinrect", u"0,0,40,40"}});
    Load(skin);
    TCountingListView* list = Drawn(vsReport, 3, true);
    for (const char16_t* name : {u"nosuchsection", u"button", u"brokenlistbox", u"listbox"}) {
        list->SetItemSkinDataName(name);
        bool defaultDraw = true;
        list->SkinCustomDrawItem(list, list->Items()->Item(0), {}, defaultDraw);
        EXPECT_EQ(String(name) != u"listbox", defaultDraw) << StringToUTF8(name);
    }
}

TEST_F(SkinListViewItems, ASelectedReportRowWithRowSelectCarriesItsSubItems) {
    for (bool rowSelect : {true, false}) {
        SCOPED_TRACE(rowSelect);
        TCountingListView* list = Drawn(vsReport, 3, rowSelect);
        list->Items()->Item(1)->SetSelected(true);
        list->Invalidate();
        const TRect bounds = list->Items()->Item(1)->DisplayRect(drBounds);
        const Integer y = bounds.Top + bounds.Height() / 2;
        // Column 2's sub-item is empty: only the background shows there.
        EXPECT_EQ(rowSelect ? Selection(false) : list->Color(), PixelOf(list->Handle(), 250, y));
        EXPECT_EQ(list->Color(),
                  PixelOf(list->Handle(), 250, list->Items()->Item(0)->DisplayRect(drBounds).Top + 3));
        delete list;
        delete FV;
        delete FH;
    }
}

TEST_F(SkinListViewItems, AnEmptyCaptionInListViewGetsTwentyPixels) {
    TCountingListView* list = Drawn(vsList, 2, false);
    TListItem* item = list->Items()->Item(0);
    item->SetCaption(u"");
    item->SetSelected(true);
    list->Invalidate();
    const TRect label = item->DisplayRect(drLabel);
    const Integer y = label.Top + label.Height() / 2;
    EXPECT_EQ(Selection(false), PixelOf(list->Handle(), label.Left + 10, y));
    EXPECT_NE(Selection(false), PixelOf(list->Handle(), label.Left + 21, y));
}

// The check box sits in the row, never above it, even where centring on
// the icon would lift it.
TEST_F(SkinListViewItems, ACheckBoxIsNeverAboveTheRow) {
    TCountingListView* list = Drawn(vsReport, 3, false);
    list->SetCheckboxes(true);
    list->Items()->Item(1)->SetChecked(true);
    Pump();
    const TRect icon = list->Items()->Item(1)->DisplayRect(drIcon);
    const TRect bounds = list->Items()->Item(1)->DisplayRect(drBounds);
    const Integer x = icon.Left - 16 - 1 + 8;
    EXPECT_EQ(FlatColor(u"checkbox", u"checkimagerect", fpWhole), PixelOf(list->Handle(), x, bounds.Top + 8));
    EXPECT_EQ(FlatColor(u"checkbox", u"uncheckimagerect", fpWhole),
              PixelOf(list->Handle(), x, list->Items()->Item(2)->DisplayRect(drBounds).Top + 8));
    // A check element of another kind draws no skin check box.
    list->SetCheckSkinDataName(u"button");
    list->Invalidate();
    EXPECT_NE(FlatColor(u"checkbox", u"checkimagerect", fpWhole), PixelOf(list->Handle(), x, bounds.Top + 8));
}

TEST_F(SkinListViewItems, SkinGridLines) {
    TCountingListView* list = Drawn(vsReport, 3, false);
    list->SetDrawSkinLines(true);
    list->Invalidate();
    const TRect bounds = list->Items()->Item(1)->DisplayRect(drBounds);
    EXPECT_EQ(list->FLineColor, PixelOf(list->Handle(), 99, bounds.Top + 3));
    EXPECT_EQ(list->FLineColor, PixelOf(list->Handle(), 150, bounds.Bottom - 1));
    EXPECT_NE(list->FLineColor, PixelOf(list->Handle(), 150, bounds.Bottom - 3));
}

}  // namespace
