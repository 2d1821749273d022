// List boxes: incremental search, the scroll range the window reports, the
// item messages a replaced WindowProc sees, owner drawing, and selection by
// mouse and keys.
#include "platform/toolkit/listbox.h"

#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using ListBoxes = ToolkitTest;

// Owner-drawn items 20 high in a borderless list, so that rows are exact.
TListBox* NewList(TForm* AForm, TRect ABounds, std::initializer_list<const char16_t*> AItems) {
    auto* list = new TListBox(AForm);
    list->SetBorderStyle(bsNone);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->SetBoundsRect(ABounds);
    list->SetParent(AForm);
    for (const char16_t* item : AItems)
        list->Items()->Add(item);
    return list;
}

SCROLLINFO ScrollOf(TListBox* AList, int ABar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(AList->Handle(), ABar, &info);
    return info;
}

TEST_F(ListBoxes, TypedCharactersFindItemsByTheirBeginning) {
    TForm* form = NewForm();
    TListBox* list =
        NewList(form, Bounds(0, 0, 120, 100), {u"apple", u"Banana", u"blueberry", u"cherry", u"bean"});
    Integer clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetFocus();
    Pump();
    struct Step {
        const char16_t* Typed;
        Cardinal PauseBefore;
        Integer Expected;
    } steps[] = {
        {u"B", 0, 1},    // without regard to case
        {u"l", 0, 2},    // "bl" within the pause: from the top
        {u"b", 600, 4},  // a new search, one character: after the current item
        {u"b", 600, 1},  // round from the top
        {u"x", 600, 1},  // nothing begins with it
        {u"c", 600, 3},
    };
    for (const Step& step : steps) {
        driver::AdvanceTime(step.PauseBefore);
        driver::Text(step.Typed);
        Pump();
        EXPECT_EQ(list->ItemIndex(), step.Expected) << StringToUTF8(step.Typed);
    }
    EXPECT_EQ(clicks, 5);

    // Without AutoComplete every character searches alone: "bb" is two steps.
    list->SetAutoComplete(false);
    driver::Text(u"bb");
    Pump();
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ListBoxes, TheScrollRangeFollowsTheItemsAndTheTopIndex) {
    TForm* form = NewForm();
    TListBox* list = NewList(form, Bounds(0, 0, 100, 100), {u"0", u"1", u"2"});
    const auto scroll = [&](int ABar) {
        const SCROLLINFO info = ScrollOf(list, ABar);
        return std::vector<int>{info.nMin, info.nMax, int(info.nPage), info.nPos};
    };
    EXPECT_EQ(scroll(SB_VERT), (std::vector<int>{0, 2, 5, 0}));
    for (int i = 3; i < 12; ++i)
        list->Items()->Add(IntToStr(i));
    EXPECT_EQ(scroll(SB_VERT), (std::vector<int>{0, 11, 5, 0}));
    struct Case {
        const char* Name;
        std::function<void()> Action;
        Integer Top;
    } cases[] = {
        {"TopIndex", [&] { list->SetTopIndex(4); }, 4},
        {"beyond the last page", [&] { list->SetTopIndex(10); }, 7},
        {"thumb", [&] { list->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0); }, 2},
        {"line down", [&] { list->Perform(WM_VSCROLL, SB_LINEDOWN, 0); }, 3},
        {"wheel", [&] { list->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0); }, 6},
        {"selection", [&] { list->SetItemIndex(1); }, 1},
        {"fewer items",
         [&] {
             list->SetTopIndex(7);
             for (int i = 0; i < 6; ++i)
                 list->Items()->Delete(0);
         },
         1},
        {"taller", [&] { list->SetHeight(200); }, 0},
    };
    for (const Case& c : cases) {
        c.Action();
        EXPECT_EQ(list->TopIndex(), c.Top) << c.Name;
        EXPECT_EQ(ScrollOf(list, SB_VERT).nPos, c.Top) << c.Name;
    }
    EXPECT_EQ(scroll(SB_VERT), (std::vector<int>{0, 5, 10, 0}));

    // In columns the list scrolls sideways, a column at a time.
    list->SetHeight(100);
    list->SetColumns(2);
    for (int i = 0; i < 6; ++i)
        list->Items()->Add(IntToStr(i));
    EXPECT_EQ(scroll(SB_HORZ), (std::vector<int>{0, 2, 2, 0}));
    list->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(list->TopIndex(), 5);
    EXPECT_EQ(ScrollOf(list, SB_HORZ).nPos, 1);
    EXPECT_EQ(list->ItemRect(11), Bounds(50, 20, 50, 20));
}

TEST_F(ListBoxes, ItemsChangeThroughTheListMessages) {
    TForm* form = NewForm();
    TListBox* list = NewList(form, Bounds(0, 0, 100, 100), {});
    std::vector<UINT> seen;
    const TWndMethod old = list->WindowProc();
    list->SetWindowProc([&](TMessage& AMessage) {
        if (AMessage.Msg >= LB_ADDSTRING && AMessage.Msg <= LB_RESETCONTENT) seen.push_back(AMessage.Msg);
        old(AMessage);
    });
    list->SetSorted(true);
    TObject marker;
    list->Items()->Add(u"pear");
    list->Items()->AddObject(u"Apple", &marker);
    list->Items()->Add(u"fig");
    EXPECT_EQ(list->Items()->Text(), u"Apple\r\nfig\r\npear\r\n");
    EXPECT_EQ(list->Items()->Objects(0), &marker);
    list->SetItemIndex(1);
    // Inserting ignores the order, and the selection moves with its item.
    list->Items()->Insert(0, u"zz");
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items()->SetStrings(1, u"apricot");
    EXPECT_EQ(list->Items()->Objects(1), &marker);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->IndexOf(u"FIG"), 2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Perform(LB_FINDSTRING, 1, LPARAM(u"zz")), 0);
    list->Items()->Clear();
    EXPECT_EQ(seen, (std::vector<UINT>{LB_ADDSTRING, LB_ADDSTRING, LB_ADDSTRING, LB_INSERTSTRING,
                                       LB_DELETESTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT}));
    list->SetWindowProc(old);
}

TEST_F(ListBoxes, OwnerDrawnItemsAreDrawnAtTheirHeightWithTheirState) {
    TForm* form = NewForm();
    TListBox* list = NewList(form, Bounds(0, 0, 100, 50), {u"a", u"b", u"c", u"d", u"e"});
    struct Drawn {
        Integer Index;
        TRect Rect;
        TOwnerDrawState State;
        bool operator==(const Drawn&) const = default;
    };
    std::vector<Drawn> drawn;
    list->OnDrawItem = [&](TWinControl*, Integer AIndex, const TRect& ARect, TOwnerDrawState AState) {
        drawn.push_back({AIndex, ARect, AState});
    };
    list->SetItemIndex(1);
    list->SetFocus();
    Pump();
    drawn.clear();
    list->Repaint();
    EXPECT_EQ(drawn, (std::vector<Drawn>{{0, Rect(0, 0, 100, 20), {}},
                                         {1, Rect(0, 20, 100, 40), {odSelected, odFocused}},
                                         {2, Rect(0, 40, 100, 60), {}}}));
    struct Case {
        TPoint Point;
        bool Existing;
        Integer Expected;
    } cases[] = {
        {{5, 25}, true, 1},
        {{5, 45}, true, 2},
        {{-1, 5}, true, -1},
        {{5, 55}, false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list->ItemAtPos(c.Point, c.Existing), c.Expected);
    list->SetHeight(200);
    EXPECT_EQ(list->ItemAtPos({5, 150}, true), -1);
    EXPECT_EQ(list->ItemAtPos({5, 150}, false), 5);
}

TEST_F(ListBoxes, TheMouseAndTheKeysSelect) {
    TForm* form = NewForm();
    TListBox* list = NewList(form, Bounds(0, 0, 100, 100), {u"a", u"b", u"c", u"d", u"e", u"f"});
    Integer clicks = 0, doubles = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++doubles; };
    Pump();
    driver::Click(At(list, 10, 45));
    Pump();
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_TRUE(list->Focused());
    driver::Key(VK_DOWN);
    driver::Key(VK_END);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 5);
    EXPECT_EQ(list->TopIndex(), 1);
    driver::AdvanceTime(1000);
    driver::Click(At(list, 10, 5));
    driver::Click(At(list, 10, 5));
    Pump();
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 5);

    list->SetMultiSelect(true);
    list->SetTopIndex(0);
    driver::AdvanceTime(1000);
    driver::Click(At(list, 10, 25));
    driver::AdvanceTime(1000);
    driver::KeyDown(VK_SHIFT);
    driver::Click(At(list, 10, 65));
    driver::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(list->SelCount(), 3);
    driver::AdvanceTime(1000);
    driver::KeyDown(VK_CONTROL);
    driver::Click(At(list, 10, 45));
    driver::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_FALSE(list->Selected(2));
    EXPECT_TRUE(list->Selected(3));
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListBoxes, ADescriptionSetsTheItemsAndTheOptions) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object ListBox1: TListBox
    Style = lbOwnerDrawFixed
    ItemHeight = 24
    MultiSelect = True
    ExtendedSelect = False
    Sorted = True
    Columns = 2
    AutoComplete = False
    Items = ( 'b' 'a' )
    OnDrawItem = nil
  end
end
)");
    auto* list = dynamic_cast<TListBox*>(form->FindComponent(u"ListBox1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Items()->Text(), u"a\r\nb\r\n");
    EXPECT_EQ(list->Style(), lbOwnerDrawFixed);
    EXPECT_EQ(list->ItemHeight(), 24);
    EXPECT_TRUE(list->MultiSelect());
    EXPECT_FALSE(list->ExtendedSelect());
    EXPECT_EQ(list->Columns(), 2);
    EXPECT_FALSE(list->AutoComplete());
}

}  // namespace
