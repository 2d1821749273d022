#include "skin/controls/qxskinofficelistbox.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/win/input.h"
#include "skin/core/qxutils.h"

namespace {

using namespace skinfixtures;
using namespace win;

struct TRow {
    const char16_t* Caption;
    bool Header = false;
    bool Enabled = true;
};

// An office list of 150 x 150 at (20, 20), unskinned unless skinned, rows
// 30 high and headers 20, counting its events.
class OfficeListBox : public ControlTest {
protected:
    TqxSkinOfficeListBox* List(std::initializer_list<TRow> ARows, bool ASkinned = false) {
        if (ASkinned) LoadFlat();
        auto* list = Add<TqxSkinOfficeListBox>(20, 20, 150, 150);
        list->SetSkinData(ASkinned ? FSkin : nullptr);
        for (const TRow& row : ARows) {
            TqxSkinOfficeItem* item = list->Items()->Add();
            item->SetCaption(row.Caption);
            item->SetHeader(row.Header);
            item->SetEnabled(row.Enabled);
            item->OnClick = [this](TObject*) { ++FRowClicks; };
        }
        list->OnItemClick = [this](TObject*) { ++FItemClicks; };
        list->OnItemCheckClick = [this](TObject*) { ++FCheckClicks; };
        Pump();
        return list;
    }
    // A header, two rows and a disabled row.
    TqxSkinOfficeListBox* Small(bool ASkinned = false) {
        return List({{u"视频", true}, {u"MP4"}, {u"AVI"}, {u"MKV", false, false}}, ASkinned);
    }
    POINT At(TqxSkinOfficeListBox* AList, Integer X, Integer Y) { return ScreenPoint(AList->Handle(), X, Y); }
    void Click(TqxSkinOfficeListBox* AList, Integer X, Integer Y, BYTE AButton = 0x01) {
        driver::MouseMove(At(AList, X, Y));
        driver::Click(At(AList, X, Y), AButton);
        Pump();
    }
    static std::vector<TqxSkinOfficeItem*> Rows(TqxSkinOfficeListBox* AList) {
        std::vector<TqxSkinOfficeItem*> rows;
        for (Integer i = 0; i < AList->Items()->Count(); ++i)
            rows.push_back(AList->Items()->Items(i));
        return rows;
    }

    Integer FRowClicks = 0;
    Integer FItemClicks = 0;
    Integer FCheckClicks = 0;
};

TEST_F(OfficeListBox, AnEmptyListPaintsItsBackgroundWithoutABar) {
    TqxSkinOfficeListBox* list = List({});
    EXPECT_EQ(nullptr, list->ScrollBar);
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(list->Handle(), 0, 0));
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(list->Handle(), 75, 75));
    EXPECT_EQ(5, list->CalcHeight(7));
    // The height of 7 rows of 3 is that of 3, skinned or not.
    TqxSkinOfficeListBox* three = List({{u"a"}, {u"b"}, {u"c"}});
    EXPECT_EQ(3 * 30 + 5, three->CalcHeight(7));
    TqxSkinOfficeListBox* skinned = List({{u"a"}, {u"b"}, {u"c"}}, true);
    EXPECT_EQ(3 * 30 + 150 - skinned->ItemsRect().Height() + 1, skinned->CalcHeight(7));
}

TEST_F(OfficeListBox, RowsStackFromTheTopAndHitTestingSkipsDisabledOnes) {
    TqxSkinOfficeListBox* list = Small();
    const std::vector<TqxSkinOfficeItem*> rows = Rows(list);
    EXPECT_EQ(Rect(2, 2, 148, 22), rows[0]->ItemRect);
    EXPECT_EQ(Rect(2, 22, 148, 52), rows[1]->ItemRect);
    EXPECT_EQ(Rect(2, 82, 148, 112), rows[3]->ItemRect);
    EXPECT_EQ(0, list->ItemAtPos(10, 10));
    EXPECT_EQ(1, list->ItemAtPos(10, 22));
    EXPECT_EQ(-1, list->ItemAtPos(10, 90));
    EXPECT_EQ(-1, list->ItemAtPos(10, 120));
    // A click on the header or on the disabled row chooses nothing.
    Click(list, 50, 10);
    Click(list, 50, 90);
    EXPECT_EQ(-1, list->ItemIndex());
    EXPECT_EQ(0, FItemClicks);
    Click(list, 50, 60);
    EXPECT_EQ(2, list->ItemIndex());
    EXPECT_EQ(1, FRowClicks);
    EXPECT_EQ(1, FItemClicks);
}

TEST_F(OfficeListBox, KeyboardNavigation) {
    // Rows 30 high in a view of 146: a page is 4 rows.
    TqxSkinOfficeListBox* list = List({{u"视频", true},
                                       {u"A"},
                                       {u"B"},
                                       {u"C", false, false},
                                       {u"音频", true},
                                       {u"D"},
                                       {u"E"},
                                       {u"F"},
                                       {u"G"}});
    const struct {
        const char* Name;
        Integer From;
        void (TqxSkinOfficeListBox::*Move)();
        Integer To;
    } cases[] = {
        {"down from none", -1, &TqxSkinOfficeListBox::FindDown, 1},
        {"up at the top", 0, &TqxSkinOfficeListBox::FindUp, 0},
        {"up at the first row", 1, &TqxSkinOfficeListBox::FindUp, 1},
        {"down past a disabled row and a header", 2, &TqxSkinOfficeListBox::FindDown, 5},
        {"up past them", 5, &TqxSkinOfficeListBox::FindUp, 2},
        {"down at the end", 8, &TqxSkinOfficeListBox::FindDown, 8},
        {"page up across a header", 5, &TqxSkinOfficeListBox::FindPageUp, 2},
        {"page up to the header", 8, &TqxSkinOfficeListBox::FindPageUp, 5},
        {"page down across a header", 1, &TqxSkinOfficeListBox::FindPageDown, 5},
        {"page down to the end", 6, &TqxSkinOfficeListBox::FindPageDown, 8},
        {"page down at the end", 8, &TqxSkinOfficeListBox::FindPageDown, 8},
        {"page down from none", -1, &TqxSkinOfficeListBox::FindPageDown, 1},
    };
    for (const auto& c : cases) {
        list->SetItemIndex(c.From);
        const Integer clicks = FItemClicks;
        (list->*c.Move)();
        EXPECT_EQ(c.To, list->ItemIndex()) << c.Name;
        EXPECT_EQ(clicks + (c.To != c.From ? 1 : 0), FItemClicks) << c.Name;
    }
    // The keys move the same way.
    list->SetFocus();
    list->SetItemIndex(5);
    driver::Key(VK_UP);
    Pump();
    EXPECT_EQ(2, list->ItemIndex());
    driver::Key(VK_NEXT);
    Pump();
    EXPECT_EQ(5, list->ItemIndex());
    // The first row under the first header brings the header into view.
    list->SetItemIndex(8);
    ASSERT_GT(list->ScrollOffset(), 0);
    list->ScrollToItem(1);
    EXPECT_EQ(0, list->ScrollOffset());
    list->SetItemIndex(8);
    list->ScrollToItem(2);
    EXPECT_EQ(Rows(list)[2]->ItemRect.Top, list->ItemsRect().Top);
}

TEST_F(OfficeListBox, SetItemIndexOutsideTheRows) {
    TqxSkinOfficeListBox* list = Small();
    list->SetItemIndex(1);
    EXPECT_TRUE(Rows(list)[1]->Active);
    EXPECT_EQ(1, FRowClicks);
    // The current row again raises its events again.
    list->SetItemIndex(1);
    EXPECT_EQ(2, FRowClicks);
    EXPECT_EQ(2, FItemClicks);
    // Past the last row: refused before anything changes.
    EXPECT_THROW(list->SetItemIndex(4), EListError);
    EXPECT_EQ(1, list->ItemIndex());
    EXPECT_TRUE(Rows(list)[1]->Active);
    EXPECT_EQ(2, FItemClicks);
    // None: no events, no row marked.
    list->SetItemIndex(-1);
    EXPECT_EQ(-1, list->ItemIndex());
    EXPECT_FALSE(Rows(list)[1]->Active);
    EXPECT_EQ(2, FItemClicks);
    // A new row knows whether it is the current one.
    list->SetItemIndex(2);
    list->Items()->Delete(3);
    list->Items()->Delete(2);
    EXPECT_TRUE(list->Items()->Add()->Active);
}

TEST_F(OfficeListBox, TheCheckColumn) {
    TqxSkinOfficeListBox* list = Small();
    list->SetShowCheckBoxes(true);
    Pump();
    EXPECT_EQ(14, list->CheckOffset());
    const std::vector<TqxSkinOfficeItem*> rows = Rows(list);
    // A left click in the column chooses the row and toggles it.
    Click(list, 8, 30);
    EXPECT_EQ(1, list->ItemIndex());
    EXPECT_TRUE(rows[1]->Checked());
    Click(list, 8, 30);
    EXPECT_FALSE(rows[1]->Checked());
    EXPECT_EQ(2, FCheckClicks);
    // Beside the column only the row changes.
    Click(list, 40, 60);
    EXPECT_EQ(2, list->ItemIndex());
    EXPECT_FALSE(rows[2]->Checked());
    // A right click toggles only the current row.
    Click(list, 8, 30, 0x02);
    EXPECT_FALSE(rows[1]->Checked());
    Click(list, 8, 60, 0x02);
    EXPECT_TRUE(rows[2]->Checked());
    EXPECT_EQ(3, FCheckClicks);
    // So does the space key.
    list->SetFocus();
    driver::Key(VK_SPACE);
    Pump();
    EXPECT_FALSE(rows[2]->Checked());
    EXPECT_EQ(4, FCheckClicks);
    // The mark is drawn for a checked row.
    rows[1]->SetChecked(true);
    // The mark's first stroke starts 2 pixels into the row, at its middle.
    EXPECT_EQ(ColorToRGB(clWindowText), PixelOf(list->Handle(), 4, 37));
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(list->Handle(), 4, 97));
}

TEST_F(OfficeListBox, OwnerDrawnRowsKeepTheirBackgroundLinesMarkAndFocus) {
    TqxSkinOfficeListBox* list = Small();
    std::vector<std::pair<Integer, TColor>> drawn;
    list->OnDrawItem = [&](TCanvas* Cnvs, Integer Index, TRect R) {
        drawn.push_back({Index, Cnvs->Font()->Color()});
        EXPECT_EQ(Rows(list)[Index]->ItemRect, R);
    };
    list->SetShowLines(true);
    list->SetShowCheckBoxes(true);
    Rows(list)[2]->SetChecked(true);
    list->SetItemIndex(2);
    list->SetFocus();
    Pump();
    drawn.clear();
    list->Repaint();
    const HWND h = list->Handle();
    EXPECT_EQ(ColorToRGB(clHighlight), PixelOf(h, 60, 66));
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(h, 60, 36));
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(h, 60, 51));
    EXPECT_EQ(ColorToRGB(clHighlightText), PixelOf(h, 4, 67));
    EXPECT_NE(ColorToRGB(clHighlight), PixelOf(h, 2, 52));
    // Headers are not the event's; a disabled row comes in grey.
    ASSERT_EQ(3u, drawn.size());
    EXPECT_EQ(1, drawn[0].first);
    EXPECT_EQ(clWindowText, drawn[0].second);
    EXPECT_EQ(clHighlightText, drawn[1].second);
    EXPECT_EQ(TColor(0x808080), drawn[2].second);
}

TEST_F(OfficeListBox, SkinnedRowsAndHeaders) {
    TqxSkinOfficeListBox* list = Small(true);
    std::map<Integer, TColor> colors;
    list->OnDrawItem = [&](TCanvas* Cnvs, Integer Index, TRect) { colors[Index] = Cnvs->Font()->Color(); };
    list->SetItemIndex(1);
    const TRect header = Rows(list)[0]->ItemRect, current = Rows(list)[1]->ItemRect;
    const HWND h = list->Handle();
    EXPECT_EQ(FlatColor(u"menuheader", u"skinrect", fpCenter),
              PixelOf(h, 20, (header.Top + header.Bottom) / 2));
    EXPECT_EQ(FlatColor(u"listbox", u"activeitemrect", fpCenter), PixelOf(h, 75, current.Top + 3));
    list->SetFocus();
    EXPECT_EQ(FlatColor(u"listbox", u"focusitemrect", fpCenter), PixelOf(h, 75, current.Top + 3));
    // The disabled row in the edit element's disabled colour.
    const auto* edit =
        dynamic_cast<const TqxDataSkinEditControl*>(FSkin->CtrlList[FSkin->GetControlIndex(u"edit")]);
    EXPECT_EQ(edit->DisabledFontColor, colors[3]);
    // Without the header element the label element stands in; without either, nothing.
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"menuheader", u"pictureindex", u"99");
    Load(skin);
    list->SetSkinData(FSkin);
    EXPECT_EQ(FlatColor(u"listbox", u"skinrect", fpCenter), PixelOf(h, 20, (header.Top + header.Bottom) / 2));
}

TEST_F(OfficeListBox, TheBarFollowsTheRows) {
    TqxSkinOfficeListBox* list = List({});
    list->BeginUpdateItems();
    for (Integer i = 0; i < 20; ++i)
        list->Items()->Add()->SetCaption(u"行 " + IntToStr(i));
    Pump();
    EXPECT_EQ(nullptr, list->ScrollBar);
    list->EndUpdateItems();
    ASSERT_NE(nullptr, list->ScrollBar);
    EXPECT_EQ(Rect(130, 1, 149, 149), list->ScrollBar->BoundsRect());
    EXPECT_EQ(600, list->ScrollBar->Max());
    EXPECT_EQ(146, list->ScrollBar->PageSize());
    // The rows end before the bar.
    EXPECT_EQ(130, Rows(list)[0]->ItemRect.Right);
    // The wheel scrolls by a row.
    list->SetFocus();
    driver::Wheel(At(list, 50, 50), -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(30, list->ScrollOffset());
    EXPECT_EQ(Rect(2, -28, 130, 2), Rows(list)[0]->ItemRect);
    // Rows taken away while scrolled: every row stays reachable.
    list->SetItemIndex(19);
    list->Items()->Clear();
    for (Integer i = 0; i < 3; ++i)
        list->Items()->Add();
    EXPECT_EQ(nullptr, list->ScrollBar);
    EXPECT_EQ(0, list->ScrollOffset());
    EXPECT_EQ(2, Rows(list)[0]->ItemRect.Top);
    // A taller list scrolls back what the new room shows.
    for (Integer i = 0; i < 7; ++i)
        list->Items()->Add();
    list->SetItemIndex(9);
    const Integer offset = list->ScrollOffset();
    ASSERT_GT(offset, 0);
    list->SetHeight(200);
    Pump();
    // The last row ended at 147; the view now ends at 198.
    EXPECT_EQ(offset - (198 - 147), list->ScrollOffset());
}

}  // namespace
