// The page control: tab rectangles per side and in rows, the display
// rectangle the sheets fill, scrolling the strip, selection by the press's
// own coordinates, and pages coming and going.
#include "platform/toolkit/pagecontrol.h"

#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class PageControl : public ToolkitTest {
protected:
    template <typename T = TPageControl>
    T* NewPages(Integer AWidth = 300, Integer AHeight = 200) {
        Form = NewForm(Bounds(100, 100, 400, 300));
        auto* pages = new T(Form);
        pages->SetBoundsRect(Bounds(10, 10, AWidth, AHeight));
        pages->SetParent(Form);
        for (const char16_t* caption : {u"One", u"Two", u"Three"}) {
            auto* sheet = new TTabSheet(Form);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        Pump();
        return pages;
    }

    static TRect ItemRect(TPageControl* APages, Integer ATab) {
        RECT r{};
        if (!SendMessageW(APages->Handle(), TCM_GETITEMRECT, WPARAM(ATab), LPARAM(&r))) return {};
        return ToTRect(r);
    }

    static TRect Adjust(TPageControl* APages, TRect ARect, bool AToWindow) {
        RECT r = ToRECT(ARect);
        SendMessageW(APages->Handle(), TCM_ADJUSTRECT, AToWindow, LPARAM(&r));
        return ToTRect(r);
    }

    TForm* Form = nullptr;
};

TEST_F(PageControl, TabsLieOnTheirSideAndTheSheetsFillTheRest) {
    struct Case {
        const char* Name;
        TTabPosition Position;
        TRect Second;
        TRect Display;
    } cases[] = {
        {"top", tpTop, Rect(62, 2, 122, 22), Rect(4, 26, 296, 196)},
        {"bottom", tpBottom, Rect(62, 178, 122, 198), Rect(4, 4, 296, 174)},
        {"left", tpLeft, Rect(2, 62, 22, 122), Rect(26, 4, 296, 196)},
        {"right", tpRight, Rect(278, 62, 298, 122), Rect(4, 4, 274, 196)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPageControl* pages = NewPages();
        pages->SetTabPosition(c.Position);
        pages->SetTabWidth(60);
        EXPECT_EQ(pages->Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(60, 20)), LRESULT(MAKELONG(60, 0)));
        Pump();
        EXPECT_EQ(ItemRect(pages, 1), c.Second);
        const TRect display = Adjust(pages, pages->ClientRect(), false);
        EXPECT_EQ(display, c.Display);
        EXPECT_EQ(Adjust(pages, display, true), pages->ClientRect());
        EXPECT_EQ(pages->ActivePage()->BoundsRect(), c.Display) << "the sheet fills the display rectangle";
        Free(Form);
    }
}

TEST_F(PageControl, TabsMakeRoomForImagesAndWrapIntoRows) {
    TPageControl* pages = NewPages(150, 120);
    const Integer plain = ItemRect(pages, 0).Width();
    auto* images = new TCustomImageList(16, 16, Form);
    pages->SetImages(images);
    EXPECT_EQ(ItemRect(pages, 0).Width(), plain + 16 + 3) << "room for the image before the text";

    pages->SetTabWidth(60);
    pages->SetTabHeight(20);
    pages->SetMultiLine(true);
    Pump();
    EXPECT_EQ(ItemRect(pages, 1), Rect(62, 2, 122, 22));
    EXPECT_EQ(ItemRect(pages, 2), Rect(2, 22, 62, 42)) << "a second row";
    EXPECT_EQ(Adjust(pages, pages->ClientRect(), false).Top, 2 + 2 * 20 + 4);
}

TEST_F(PageControl, OneRowScrollsToAFirstVisibleTab) {
    TPageControl* pages = NewPages(150, 120);
    pages->SetTabWidth(60);
    SendMessageW(pages->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
    EXPECT_EQ(ItemRect(pages, 0).Right, 0) << "scrolled out to the left";
    EXPECT_EQ(ItemRect(pages, 1).Left, 0);
    EXPECT_GT(ItemRect(pages, 2).Right, 0);
    for (HWND child : driver::Children(pages->Handle()))
        EXPECT_NE(dynamic_cast<TTabSheet*>(FindControl(child)), nullptr) << "the sheets only, no scroller";
}

// Moves the tabs 100 pixels right the way a skinned control centres them:
// presses are moved back before the control sees them, rectangles after.
class TShiftedPages : public TPageControl {
public:
    using TPageControl::TPageControl;
    void WndProc(TMessage& AMessage) override {
        if (AMessage.Msg == WM_LBUTTONDOWN || AMessage.Msg == WM_LBUTTONDBLCLK)
            AMessage.LParam =
                MAKELPARAM(WORD(GET_X_LPARAM(AMessage.LParam) - 100), WORD(GET_Y_LPARAM(AMessage.LParam)));
        TPageControl::WndProc(AMessage);
        if (AMessage.Msg == TCM_GETITEMRECT && AMessage.Result) {
            auto* r = reinterpret_cast<RECT*>(AMessage.LParam);
            r->left += 100;
            r->right += 100;
        }
    }
};

TEST_F(PageControl, APressSelectsTheTabUnderTheCoordinatesItCarries) {
    auto* pages = NewPages<TShiftedPages>();
    std::vector<std::string> log;
    bool allow = false;
    pages->OnChanging = [&](TObject*, bool& AAllow) {
        log.push_back("changing");
        AAllow = allow;
    };
    pages->OnChange = [&](TObject*) { log.push_back("change"); };
    const TRect third = pages->TabRect(2);
    EXPECT_EQ(third.Left, ItemRect(pages, 2).Left) << "TabRect passes the window procedure";
    const POINT at = At(pages, third.Left + 5, third.Top + 5);
    driver::Click(at);
    Pump();
    EXPECT_EQ(pages->ActivePageIndex(), 0) << "refused";
    allow = true;
    driver::Click(at);
    Pump();
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "changing", "change"}));
    EXPECT_TRUE(pages->Pages(2)->Visible());
    EXPECT_FALSE(pages->Pages(0)->Visible());

    log.clear();
    EXPECT_EQ(pages->Perform(TCM_SETCURSEL, 1, 0), 2);
    pages->SetActivePage(pages->Pages(0));
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_TRUE(log.empty()) << "code changes pages without the events";
}

TEST_F(PageControl, HiddenTabsAndFreedPagesHandTheSelectionOn) {
    TPageControl* pages = NewPages();
    TTabSheet* one = pages->Pages(0);
    TTabSheet* three = pages->Pages(2);
    one->SetTabVisible(false);
    EXPECT_EQ(pages->Perform(TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(three->TabIndex(), 1);
    EXPECT_EQ(one->TabIndex(), -1);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(1)) << "the next tab shown";
    Free(pages->Pages(1));
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), three);
    EXPECT_TRUE(three->Visible());
    EXPECT_EQ(ItemRect(pages, 1), TRect{});
    EXPECT_THROW(pages->Pages(2), EListError);

    // Ctrl+Tab turns the pages of the control holding the focus.
    one->SetTabVisible(true);
    pages->SetFocus();
    driver::KeyDown(VK_CONTROL);
    driver::Key(VK_TAB);
    driver::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(pages->ActivePage(), one);
}

TEST_F(PageControl, ADescriptionNestsTheSheetsAndPicksTheActivePage) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object PageControl1: TPageControl
    Width = 300
    Height = 200
    ActivePage = TabSheet2
    TabPosition = tpBottom
    MultiLine = True
    object TabSheet1: TTabSheet
      Caption = '常规'
    end
    object TabSheet2: TTabSheet
      Caption = '视频'
      ImageIndex = 1
    end
    object TabSheet3: TTabSheet
      Caption = '隐藏'
      TabVisible = False
    end
  end
end
)");
    auto* pages = dynamic_cast<TPageControl*>(form->FindComponent(u"PageControl1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), form->FindComponent(u"TabSheet2"));
    EXPECT_EQ(pages->TabPosition(), tpBottom);
    EXPECT_TRUE(pages->MultiLine());
    EXPECT_EQ(pages->Pages(1)->ImageIndex(), 1);
    EXPECT_EQ(pages->Pages(2)->TabIndex(), -1);
    EXPECT_FALSE(pages->Pages(0)->Visible());
}

}  // namespace
