// The list view: scroll state per view, selection order and events, index
// checks, the header window and its subclassing, custom drawing, owner data,
// label editing, keys and hooks that delete.
#include "platform/toolkit/listview.h"

#include <algorithm>
#include <map>

#include "platform/base/listhelpers.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/menus.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Highlight = 0xFF9933;

class ListView : public ToolkitTest {
protected:
    TListView* NewList(TViewStyle AView, Integer ARows, TRect ABounds = Bounds(10, 10, 250, 150)) {
        Form = NewForm(Bounds(100, 100, 400, 300));
        auto* list = new TListView(Form);
        list->SetBoundsRect(ABounds);
        list->SetViewStyle(AView);
        for (const char16_t* caption : {u"Name", u"Size", u"Type"}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(100);
        }
        list->Items()->BeginUpdate();
        for (Integer i = 0; i < ARows; ++i) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(u"Row " + IntToStr(i));
            item->SubItems()->Add(IntToStr(i * 10));
            item->SubItems()->Add(u"file");
        }
        list->Items()->EndUpdate();
        list->SetParent(Form);
        Pump();
        return list;
    }

    static SCROLLINFO Info(TWinControl* AControl, int ABar) {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(AControl->Handle(), ABar, &info);
        return info;
    }

    // The row height and the first row's top in report view.
    static std::pair<Integer, Integer> Rows(TListView* AList) {
        const Integer top = AList->Items()->Item(0)->Top();
        return {AList->Items()->Item(1)->Top() - top, top};
    }

    TForm* Form = nullptr;
};

std::string Selection(TListItem* AItem, bool ASelected) {
    return StringToUTF8(AItem->Caption()) + (ASelected ? " on" : " off");
}

TEST_F(ListView, ScrollStateKeepsEachViewsUnits) {
    // Report: rows vertically, pixels sideways.
    {
        TListView* list = NewList(vsReport, 30);
        const auto [row, top] = Rows(list);
        list->SetHeight(top + 10 * row + row / 2 + 4);
        Pump();
        EXPECT_EQ(list->Perform(LVM_GETCOUNTPERPAGE, 0, 0), 10);
        SCROLLINFO v = Info(list, SB_VERT);
        EXPECT_EQ(std::tuple(v.nMin, v.nMax, v.nPage, v.nPos), std::tuple(0, 29, 10u, 0));
        list->Scroll(0, 3 * row);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), 3);
        EXPECT_EQ(list->TopItem()->Index(), 3);
        EXPECT_EQ(list->Items()->Item(3)->Top(), top);
        SendMessageW(list->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 25), 0);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), 20) << "the last page ends at the last row";
        SendMessageW(list->Handle(), WM_VSCROLL, SB_TOP, 0);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), 0);
        const SCROLLINFO h = Info(list, SB_HORZ);
        EXPECT_EQ(std::tuple(h.nMax, Integer(h.nPage)), std::tuple(299, list->ClientWidth()));
        list->Scroll(40, 0);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_HORZ), 40);
        RECT header{};
        GetWindowRect(HWND(list->Perform(LVM_GETHEADER, 0, 0)), &header);
        EXPECT_EQ(header.left, list->ClientOrigin().X - 40) << "the header moves with the rows";
        Free(Form);
    }
    // List: whole columns sideways, nothing vertically.
    {
        TListView* list = NewList(vsList, 30);
        const Integer row = list->Items()->Item(1)->Top() - list->Items()->Item(0)->Top();
        const Integer perColumn = list->ClientHeight() / row;
        const Integer width = Integer(list->Perform(LVM_GETCOLUMNWIDTH, 0, 0));
        const SCROLLINFO h = Info(list, SB_HORZ);
        EXPECT_EQ(h.nMax, (30 + perColumn - 1) / perColumn - 1);
        EXPECT_EQ(Integer(h.nPage), list->ClientWidth() / width);
        SendMessageW(list->Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_HORZ), 1);
        EXPECT_EQ(list->Items()->Item(perColumn)->Left(), 0);
        EXPECT_EQ(Info(list, SB_VERT).nMax, 0);
        Free(Form);
    }
    // Icon views: pixels both ways.
    for (TViewStyle view : {vsIcon, vsSmallIcon}) {
        TListView* list = NewList(view, 30);
        const TRect first = list->Items()->Item(0)->DisplayRect(drBounds);
        const TRect last = list->Items()->Item(29)->DisplayRect(drBounds);
        const SCROLLINFO v = Info(list, SB_VERT);
        EXPECT_EQ(v.nMax, last.Bottom - first.Top - 1);
        EXPECT_EQ(Integer(v.nPage), list->ClientHeight());
        list->Scroll(0, 7);
        EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), 7);
        EXPECT_EQ(list->Items()->Item(0)->Top(), first.Top - 7);
        Free(Form);
    }
}

TEST_F(ListView, SelectionChangesRaiseOnSelectItemForTheLosingRowFirstThenOnClick) {
    TListView* list = NewList(vsReport, 5);
    list->SetRowSelect(true);
    std::vector<std::string> log;
    list->OnSelectItem = [&](TObject*, TListItem* AItem, bool ASelected) {
        log.push_back(Selection(AItem, ASelected));
    };
    list->OnClick = [&](TObject*) { log.push_back("click"); };

    list->SetItemIndex(0);
    list->SetItemIndex(1);
    EXPECT_EQ(log, (std::vector<std::string>{"Row 0 on", "Row 0 off", "Row 1 on"}));
    EXPECT_EQ(list->Selected(), list->Items()->Item(1));

    log.clear();
    const TRect third = list->Items()->Item(3)->DisplayRect(drBounds);
    driver::Click(At(list, 150, third.Top + 2));
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"Row 1 off", "Row 3 on", "click"}));

    log.clear();
    driver::Click(At(list, 50, list->ClientHeight() - 2));
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"Row 3 off", "click"})) << "empty space clears the selection";
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListView, IndexesFromOutsideRaiseTheListErrorOrAnswerFailure) {
    TListView* list = NewList(vsReport, 3);
    TListItem* row = list->Items()->Item(0);
    try {
        row->SubItems()->SetStrings(5, u"x");
        ADD_FAILURE() << "a sub-item beyond the count was written";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
    }
    EXPECT_THROW(list->Items()->Item(3), EListError);
    EXPECT_THROW(list->SetItemIndex(3), EListError);
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    EXPECT_EQ(list->Perform(LVM_GETITEMRECT, 7, LPARAM(&r)), FALSE);
    EXPECT_EQ(list->Perform(LVM_GETCOLUMNWIDTH, 9, 0), 0);
    EXPECT_EQ(list->Perform(LVM_SETCOLUMNWIDTH, 9, 10), FALSE);
    EXPECT_EQ(list->Perform(LVM_EDITLABELW, 3, 0), 0);
    list->Items()->Clear();
    EXPECT_THROW(list->Items()->Item(0), EListError) << "item 0 of an empty list";
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(list->TopItem(), nullptr);
}

// A list that hooks its header by handle the way the skinned list does: the
// header is always 25 pixels wider than the list asks.
class THookedList : public TListView {
public:
    using TListView::TListView;
    ~THookedList() override {
        if (FHook) FreeObjectInstance(FHook);
    }
    void WndProc(TMessage& AMessage) override {
        if (AMessage.Msg == WM_PARENTNOTIFY) {
            const HWND child = reinterpret_cast<HWND>(AMessage.LParam);
            WCHAR name[80] = {};
            if (LOWORD(AMessage.WParam) == WM_CREATE && GetClassNameW(child, name, 80) &&
                String(name) == u"SysHeader32") {
                Created.push_back(child);
                Subclass(child);
            }
            if (LOWORD(AMessage.WParam) == WM_DESTROY) Destroyed.push_back(child);
        }
        TListView::WndProc(AMessage);
    }

    std::vector<HWND> Created, Destroyed;

private:
    void Subclass(HWND AHeader) {
        if (!FHook) FHook = MakeObjectInstance([this](TMessage& AMessage) { HeaderProc(AMessage); });
        FHeader = AHeader;
        FDefault = reinterpret_cast<WNDPROC>(SetWindowLongW(AHeader, GWL_WNDPROC, LONG_PTR(FHook)));
    }
    void HeaderProc(TMessage& AMessage) {
        if (AMessage.Msg == WM_WINDOWPOSCHANGING) {
            reinterpret_cast<WINDOWPOS*>(AMessage.LParam)->cx += 25;
            return;
        }
        AMessage.Result = CallWindowProcW(FDefault, FHeader, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    }

    WNDPROC FHook = nullptr;
    WNDPROC FDefault = nullptr;
    HWND FHeader = nullptr;
};

TEST_F(ListView, ASubclassedHeaderKeepsItsWidthAndHiddenColumnsStayShutUnderADividerDrag) {
    TForm* form = NewForm(Bounds(100, 100, 400, 300));
    auto* list = new THookedList(form);
    list->SetBoundsRect(Bounds(10, 10, 300, 150));
    list->SetViewStyle(vsReport);
    // The program's file list: visible columns, then columns kept at width 0.
    for (Integer i = 0; i < 6; ++i) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(u"C" + IntToStr(i));
        column->SetWidth(i < 3 ? 60 : 0);
        if (i >= 3) column->SetMaxWidth(1);
    }
    std::vector<Integer> clicked;
    list->OnColumnClick = [&](TObject*, TListColumn* AColumn) { clicked.push_back(AColumn->Index()); };
    list->SetParent(form);
    Pump();

    ASSERT_EQ(list->Created.size(), 1u);
    const HWND header = list->Created[0];
    EXPECT_EQ(HWND(list->Perform(LVM_GETHEADER, 0, 0)), header);
    RECT bounds{};
    GetWindowRect(header, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, list->ClientWidth() + 25);

    HDHITTESTINFO hit{{180, 5}, 0, -1};
    EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, LPARAM(&hit)), 2);
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER) << "the visible column's divider, not a hidden one on it";
    const POINT origin{bounds.left, bounds.top};
    driver::MouseDown({origin.x + 180, origin.y + 5});
    driver::MouseMove({origin.x + 210, origin.y + 5});
    Pump();
    EXPECT_EQ(list->Column(2)->Width(), 90) << "the column follows the drag";
    driver::MouseUp({origin.x + 210, origin.y + 5});
    Pump();
    for (Integer i = 3; i < 6; ++i)
        EXPECT_EQ(list->Column(i)->Width(), 0);

    // A click on a section is a column click.
    driver::Click({origin.x + 30, origin.y + 5});
    Pump();
    EXPECT_EQ(clicked, std::vector<Integer>{0});

    // A new window makes a new header; the old handle stays dead.
    list->RecreateWnd();
    list->HandleNeeded();
    Pump();
    ASSERT_EQ(list->Created.size(), 2u);
    EXPECT_EQ(list->Destroyed, std::vector<HWND>{header});
    EXPECT_NE(list->Created[1], header);
    EXPECT_FALSE(IsWindow(header));
    EXPECT_EQ(SetWindowLongW(header, GWL_WNDPROC, 0), 0);
}

TEST_F(ListView, DividerDragsStayWithinMinAndMaxWidthAndSectionsReorderWithFullDrag) {
    TListView* list = NewList(vsReport, 2);
    list->Column(0)->SetMinWidth(40);
    list->Column(0)->SetMaxWidth(150);
    list->SetFullDrag(true);
    const HWND header = HWND(list->Perform(LVM_GETHEADER, 0, 0));
    RECT bounds{};
    GetWindowRect(header, &bounds);
    const auto drag = [&](Integer AFrom, Integer ATo) {
        driver::MouseDown({bounds.left + AFrom, bounds.top + 5});
        driver::MouseMove({bounds.left + ATo, bounds.top + 5});
        driver::MouseUp({bounds.left + ATo, bounds.top + 5});
        Pump();
    };
    driver::MouseMove({bounds.left + 100, bounds.top + 5});
    Pump();
    EXPECT_EQ(driver::Cursor(), LoadCursorW(nullptr, IDC_SIZEWE)) << "over a divider";
    drag(100, 10);
    EXPECT_EQ(list->Column(0)->Width(), 40);
    drag(40, 240);
    EXPECT_EQ(list->Column(0)->Width(), 150);

    // Column 1 (at 150..250) dropped on the first section goes first.
    drag(200, 20);
    int order[3] = {};
    EXPECT_EQ(SendMessageW(header, HDM_GETORDERARRAY, 3, LPARAM(order)), TRUE);
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{1, 0, 2}));
    RECT section{};
    SendMessageW(header, HDM_GETITEMRECT, 1, LPARAM(&section));
    EXPECT_EQ(std::pair(section.left, section.right), std::pair(0, 100));
}

TEST_F(ListView, CustomDrawWithoutDefaultDrawLeavesTheRowUnpainted) {
    for (bool defaultDraw : {true, false}) {
        TListView* list = NewList(vsReport, 3);
        list->SetRowSelect(true);
        list->SetFocus();
        list->SetItemIndex(1);
        TCustomDrawState seen;
        list->OnCustomDrawItem = [&](TCustomListView*, TListItem* AItem, TCustomDrawState AState,
                                     bool& ADefault) {
            if (AItem->Index() != 1) return;
            seen = AState;
            ADefault = defaultDraw;
        };
        list->Invalidate();
        Pump();
        const TRect row = list->Items()->Item(1)->DisplayRect(drBounds);
        EXPECT_TRUE(seen.Contains(cdsSelected));
        EXPECT_EQ(PixelOf(list, 150, row.Top + row.Height() / 2), defaultDraw ? Highlight : White);
        Free(Form);
    }
}

TEST_F(ListView, OwnerDataAsksOnlyForTheRowsShownAndSearchesThroughTheFindHook) {
    TListView* list = NewList(vsReport, 0);
    list->SetOwnerData(true);
    std::vector<Integer> asked;
    list->OnData = [&](TObject*, TListItem* AItem) {
        asked.push_back(AItem->Index());
        AItem->SetCaption(u"Data " + IntToStr(AItem->Index()));
    };
    list->Items()->SetCount(1000);
    Pump();
    const Integer page = Integer(list->Perform(LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_FALSE(asked.empty());
    for (Integer index : asked)
        EXPECT_LE(index, page);

    list->Scroll(0, 600 * list->Items()->Item(1)->DisplayRect(drBounds).Height());
    list->Items()->SetCount(5);
    asked.clear();
    Pump();
    ASSERT_FALSE(asked.empty());
    for (Integer index : asked)
        EXPECT_LT(index, 5) << "never at or beyond the count";
    EXPECT_EQ(list->Items()->Item(2)->Caption(), u"Data 2");

    Integer start = -1;
    list->OnDataFind = [&](TObject*, TItemFind AFind, const String& AText, const TPoint&, void*,
                           Integer AStart, TSearchDirection, bool AWrap, Integer& AIndex) {
        EXPECT_EQ(AFind, ifPartialString);
        EXPECT_EQ(AText, u"d");
        EXPECT_TRUE(AWrap);
        start = AStart;
        AIndex = 3;
    };
    list->SetFocus();
    driver::Key('D');
    Pump();
    EXPECT_EQ(start, 0);
    EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListView, LabelEditingEndsWithTheTextOnEnterOrLeavingAndWithNothingOnEscape) {
    struct Case {
        const char* Name;
        BYTE Key;  // 0: the focus moves elsewhere
        String Caption;
        std::vector<String> Edited;
    } cases[] = {
        {"enter", VK_RETURN, u"new", {u"new"}},
        {"escape", VK_ESCAPE, u"Row 1", {}},
        {"leaving", 0, u"new", {u"new"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TListView* list = NewList(vsReport, 3);
        auto* other = new TTestButton(Form);
        other->SetBounds(0, 170, 75, 25);
        other->SetParent(Form);
        std::vector<String> edited;
        list->OnEdited = [&](TObject*, TListItem*, String& S) { edited.push_back(S); };
        const HWND editor = HWND(list->Perform(LVM_EDITLABELW, 1, 0));
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(list->IsEditing());
        EXPECT_EQ(GetFocus(), editor);
        driver::Text(u"new");
        Pump();
        if (c.Key)
            driver::Key(c.Key);
        else
            other->SetFocus();
        Pump();
        EXPECT_FALSE(list->IsEditing());
        EXPECT_EQ(list->Items()->Item(1)->Caption(), c.Caption);
        EXPECT_EQ(edited, c.Edited);
        EXPECT_EQ(GetFocus(), c.Key ? list->Handle() : other->Handle()) << "a key gives the focus back";
        Free(Form);
    }
    // Refused: read-only, or by OnEditing; code can cancel an open edit.
    TListView* list = NewList(vsReport, 3);
    list->SetReadOnly(true);
    EXPECT_EQ(list->Perform(LVM_EDITLABELW, 0, 0), 0);
    list->SetReadOnly(false);
    list->OnEditing = [](TObject*, TListItem* AItem, bool& AAllow) { AAllow = AItem->Index() != 0; };
    EXPECT_FALSE(list->Items()->Item(0)->EditCaption());
    EXPECT_TRUE(list->Items()->Item(2)->EditCaption());
    bool edited = false;
    list->OnEdited = [&](TObject*, TListItem*, String&) { edited = true; };
    list->CancelEdit();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_FALSE(edited);
}

TEST_F(ListView, KeysMoveTheFocusAndShiftAndCtrlExtendAMultiSelection) {
    TListView* list = NewList(vsReport, 20);
    list->SetMultiSelect(true);
    list->SetFocus();
    const auto selected = [&] {
        std::vector<Integer> rows;
        for (Integer i = 0; i < list->Items()->Count(); ++i)
            if (list->Items()->Item(i)->Selected()) rows.push_back(i);
        return rows;
    };
    driver::Key(VK_DOWN);
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(selected(), std::vector<Integer>{1});
    driver::KeyDown(VK_SHIFT);
    driver::Key(VK_DOWN);
    driver::Key(VK_DOWN);
    driver::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(selected(), (std::vector<Integer>{1, 2, 3}));
    driver::KeyDown(VK_CONTROL);
    driver::Key(VK_DOWN);
    driver::Key(VK_DOWN);
    driver::Key(VK_SPACE);
    driver::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(selected(), (std::vector<Integer>{1, 2, 3, 5}));
    EXPECT_EQ(list->ItemFocused()->Index(), 5);
    driver::Key(VK_END);
    Pump();
    EXPECT_EQ(selected(), std::vector<Integer>{19});
    EXPECT_GT(GetScrollPos(list->Handle(), SB_VERT), 0) << "the focused row is scrolled into view";
    driver::Key(VK_HOME);
    driver::Text(u"row 1");
    Pump();
    EXPECT_EQ(selected(), std::vector<Integer>{1}) << "type-ahead";
}

TEST_F(ListView, HooksMayDeleteItemsWhileTheSelectionMoves) {
    TListView* list = NewList(vsReport, 4);
    list->SetItemIndex(0);
    std::vector<std::string> log;
    list->OnSelectItem = [&](TObject*, TListItem* AItem, bool ASelected) {
        log.push_back(Selection(AItem, ASelected));
        // The row losing the selection takes the row about to gain it along.
        if (!ASelected) list->Items()->Delete(1);
    };
    list->SetItemIndex(1);
    EXPECT_EQ(log, std::vector<std::string>{"Row 0 off"});
    EXPECT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Item(1)->Caption(), u"Row 2");

    // A change handler that clears the list.
    list->OnSelectItem = nullptr;
    list->OnChange = [&](TObject*, TListItem*, TItemChange) { list->Items()->Clear(); };
    list->SetItemIndex(0);
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListView, ImagesComeFromListsSetByHandleAndCheckBoxesToggleOnClick) {
    TListView* list = NewList(vsReport, 3);
    auto* images = new TCustomImageList(16, 16, Form);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&picture, nullptr);
    EXPECT_EQ(list->Perform(LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(images->Handle())), 0);
    EXPECT_EQ(HIMAGELIST(list->Perform(LVM_GETIMAGELIST, LVSIL_SMALL, 0)), images->Handle());
    EXPECT_EQ(list->SmallImages(), nullptr);
    list->Items()->Item(0)->SetImageIndex(0);
    list->SetCheckboxes(true);
    Pump();
    const TRect icon = list->Items()->Item(0)->DisplayRect(drIcon);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(PixelOf(list, icon.Left + 8, icon.Top + icon.Height() / 2), RGB(255, 0, 0));

    const TRect check = list->Items()->Item(1)->DisplayRect(drBounds);
    driver::Click(At(list, icon.Left - 8, check.Top + check.Height() / 2));
    Pump();
    EXPECT_TRUE(list->Items()->Item(1)->Checked());
    EXPECT_EQ(list->ItemIndex(), -1) << "a click on the box does not select";
}

TEST_F(ListView, TheContextPopupHookComesBeforeThePopupMenuAndMayKeepItAway) {
    for (bool handled : {false, true}) {
        TListView* list = NewList(vsReport, 3);
        list->SetRowSelect(true);
        auto* menu = new TPopupMenu(Form);
        menu->Items()->Add(new TMenuItem(Form));
        list->SetPopupMenu(menu);
        std::vector<std::string> log;
        TPoint at;
        list->OnContextPopup = [&](TObject*, TPoint AMousePos, bool& AHandled) {
            log.push_back("hook");
            at = AMousePos;
            AHandled = handled;
        };
        menu->OnPopup = [&](TObject*) { log.push_back("menu"); };
        const TRect row = list->Items()->Item(2)->DisplayRect(drBounds);
        driver::Click(At(list, 40, row.Top + 3), VK_RBUTTON);
        Pump();
        EXPECT_EQ(log,
                  handled ? std::vector<std::string>{"hook"} : (std::vector<std::string>{"hook", "menu"}));
        EXPECT_EQ(at, Point(40, row.Top + 3)) << "client coordinates";
        EXPECT_EQ(list->ItemIndex(), 2) << "the right click selects the row first";
        Free(Form);
    }
}

TEST_F(ListView, ADescriptionSetsTheColumnsAndTheOptions) {
    auto* form = new TForm(Application);
    auto* images = new TCustomImageList(form);
    images->SetName(u"ImageList1");
    ReadDescriptionText(form, R"(
object Form1: TForm
  object lvFiles: TListView
    ViewStyle = vsReport
    GridLines = True
    RowSelect = True
    ReadOnly = True
    HideSelection = False
    SmallImages = ImageList1
    Columns = <
      item
        Caption = '输入文件'
        Width = 150
      end
      item
        Caption = '视频编码'
        Width = 0
        MaxWidth = 1
        Alignment = taRightJustify
      end>
    IconOptions.WrapText = False
    OnSelectItem = nil
  end
end
)");
    auto* list = dynamic_cast<TListView*>(form->FindComponent(u"lvFiles"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_TRUE(list->GridLines() && list->RowSelect() && list->ReadOnly());
    EXPECT_FALSE(list->HideSelection());
    EXPECT_FALSE(list->IconOptions()->WrapText());
    EXPECT_EQ(list->SmallImages(), images);
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->Column(0)->Caption(), u"输入文件");
    EXPECT_EQ(list->Column(1)->MaxWidth(), 1);
    EXPECT_EQ(list->Column(1)->Alignment(), taRightJustify);
}

// A selected row keeps its text readable whatever the list's own colours:
// focused, highlight text on the highlight; unfocused, button text on the
// face colour, also when the font is light on a dark list.
TEST_F(ListView, SelectedRowTextContrastsWithItsFillFocusedOrNot) {
    TListView* list = NewList(vsReport, 3);
    list->SetRowSelect(true);
    list->SetHideSelection(false);
    list->SetColor(TColor(0x202020));
    list->Font()->SetColor(TColor(0xEEEEEE));
    auto* other = new TTestEdit(Form);
    other->SetBounds(300, 10, 50, 20);
    other->SetParent(Form);
    list->Items()->Item(1)->SetSelected(true);
    const TRect row = list->Items()->Item(1)->DisplayRect(drBounds);
    // The row's fill (its most common colour) and the pixel farthest from it.
    const auto look = [&] {
        std::map<COLORREF, Integer> counts;
        for (Integer y = row.Top + 1; y < row.Bottom - 1; ++y)
            for (Integer x = row.Left + 2; x < 250; ++x)
                ++counts[PixelOf(list, x, y)];
        const COLORREF fill = std::max_element(counts.begin(), counts.end(), [](auto& A, auto& B) {
                                  return A.second < B.second;
                              })->first;
        const auto distance = [fill](COLORREF C) {
            Integer d = 0;
            for (Integer shift : {0, 8, 16})
                d += std::abs(Integer((C >> shift) & 0xFF) - Integer((fill >> shift) & 0xFF));
            return d;
        };
        COLORREF ink = fill;
        for (const auto& [colour, count] : counts)
            if (distance(colour) > distance(ink)) ink = colour;
        return std::pair{fill, ink};
    };
    const struct {
        bool Focused;
        COLORREF Fill, Ink;
    } cases[] = {{true, Highlight, White}, {false, 0xF0F0F0, 0x000000}};
    for (const auto& c : cases) {
        if (c.Focused)
            list->SetFocus();
        else
            other->SetFocus();
        Pump();
        const auto [fill, ink] = look();
        EXPECT_EQ(fill, c.Fill) << c.Focused;
        EXPECT_EQ(ink, c.Ink) << c.Focused;
    }
}

}  // namespace
