#include "skin/controls/qxskinpagecontrol.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/messages.h"

namespace {

using namespace skinfixtures;
using namespace win;

class SkinPageControl : public ControlTest {
protected:
    // A page control of 300 x 200 with the captions as sheets, the first active.
    TqxSkinPageControl* Pages(std::initializer_list<const char16_t*> ACaptions, Integer AWidth = 300) {
        auto* control = Add<TqxSkinPageControl>(10, 10, AWidth, 200);
        for (const char16_t* caption : ACaptions) {
            auto* sheet = new TqxSkinTabSheet(FForm);
            sheet->SetPageControl(control);
            sheet->SetCaption(caption);
        }
        control->SetActivePageIndex(0);
        // As a form description's reading ends.
        control->Loaded();
        Pump();
        return control;
    }
    // What the plain page control answers for the same tabs and item size.
    TPageControl* Plain(TqxSkinPageControl* ASkinned) {
        auto* plain = Add<TPageControl>(10, 10, ASkinned->Width(), ASkinned->Height());
        plain->SetTabPosition(ASkinned->TabPosition());
        plain->Font()->Assign(ASkinned->Font());
        for (Integer i = 0; i < ASkinned->PageCount(); ++i) {
            auto* sheet = new TTabSheet(FForm);
            sheet->SetPageControl(plain);
            sheet->SetCaption(ASkinned->Pages(i)->Caption());
        }
        plain->Perform(TCM_SETIMAGELIST, 0, ASkinned->Perform(TCM_GETIMAGELIST, 0, 0));
        const Integer height = ASkinned->TabHeight() > 0   ? ASkinned->TabHeight()
                               : ASkinned->FIndex == -1 ? ASkinned->DefaultItemHeight()
                                                        : ASkinned->TabRect.Height();
        plain->Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(WORD(ASkinned->TabWidth()), WORD(height)));
        plain->SetVisible(false);
        return plain;
    }
    static RECT Display(TPageControl* A) {
        RECT r{0, 0, LONG(A->ClientWidth()), LONG(A->ClientHeight())};
        A->Perform(TCM_ADJUSTRECT, FALSE, LPARAM(&r));
        return r;
    }
    static RECT Item(TPageControl* A, Integer ATab) {
        RECT r{};
        A->Perform(TCM_GETITEMRECT, WPARAM(ATab), LPARAM(&r));
        return r;
    }
    POINT TabPoint(TqxSkinPageControl* A, Integer ATab) {
        const TRect r = A->TPageControl::TabRect(ATab);
        return ScreenPoint(A->Handle(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // The centre of a sheet's close button, on the screen.
    POINT CloseButton(TqxSkinPageControl* A, Integer APage) {
        auto* sheet = static_cast<TqxSkinCustomTabSheet*>(A->Pages(APage));
        const TRect tab = A->TPageControl::TabRect(sheet->TabIndex());
        const TRect& b = sheet->ButtonRect;
        return ScreenPoint(A->Handle(), tab.Left + (b.Left + b.Right) / 2, tab.Top + (b.Top + b.Bottom) / 2);
    }
    void Click(POINT P) {
        driver::MouseMove(P);
        Pump();
        driver::Click(P);
        Pump();
    }
};

// The display rectangle and the tab rectangles are the plain control's,
// corrected per side: with the skin frame's widths, or the plain frame.
TEST_F(SkinPageControl, DisplayAndItemRectanglesAreCorrectedPerSide) {
    struct TCase {
        TTabPosition Side;
        bool Skinned;
    };
    for (const TCase c : {TCase{tpTop, false}, TCase{tpBottom, false}, TCase{tpLeft, false}, TCase{tpRight, false},
                          TCase{tpTop, true}, TCase{tpBottom, true}, TCase{tpLeft, true}, TCase{tpRight, true}}) {
        SCOPED_TRACE(testing::Message() << "side " << int(c.Side) << " skinned " << c.Skinned);
        if (c.Skinned) LoadFlat();
        TqxSkinPageControl* control = Pages({u"One", u"Two"});
        control->SetTabPosition(c.Side);
        if (c.Skinned) control->SetSkinData(FSkin);
        TPageControl* plain = Plain(control);
        const RECT raw = Display(plain), got = Display(control);
        const Integer cw = control->ClientWidth(), ch = control->ClientHeight();
        const TRect& cl = control->ClRect;
        const Integer L = cl.Left, T = cl.Top, R = control->SkinRect.Width() - cl.Right,
                      B = control->SkinRect.Height() - cl.Bottom;
        RECT want{};
        switch (c.Side) {
            case tpTop:
                want = c.Skinned ? RECT{L, raw.top + T - 6, cw - R, ch - B} : RECT{1, raw.top - 5, cw - 1, ch - 1};
                break;
            case tpBottom:
                want = c.Skinned ? RECT{L, raw.top + T - 4, cw - R, raw.bottom - B + 4}
                                 : RECT{1, 1, cw - 1, raw.bottom + 3};
                break;
            case tpLeft:
                want = c.Skinned ? RECT{raw.left + L - 4, raw.top + T - 4, cw - R, ch - B}
                                 : RECT{raw.left - 3, raw.top - 5, cw - 1, ch - 1};
                break;
            case tpRight:
                want = c.Skinned ? RECT{L, raw.top + T - 4, raw.right - R + 4, ch - B}
                                 : RECT{raw.left - 3, raw.top - 5, raw.right + 3, ch - 1};
                break;
        }
        EXPECT_EQ(want.left, got.left);
        EXPECT_EQ(want.top, got.top);
        EXPECT_EQ(want.right, got.right);
        EXPECT_EQ(want.bottom, got.bottom);
        const RECT rawItem = Item(plain, 1), item = Item(control, 1);
        const Integer dx = c.Side == tpLeft ? -2 : c.Side == tpRight ? 2 : -2;
        const Integer dy = c.Side == tpTop ? -2 : c.Side == tpBottom ? 2 : 0;
        EXPECT_EQ(rawItem.left + dx, item.left);
        EXPECT_EQ(rawItem.right + dx, item.right);
        EXPECT_EQ(rawItem.top + dy, item.top);
        EXPECT_EQ(rawItem.bottom + dy, item.bottom);
        Free(plain);
        Free(control);
    }
}

TEST_F(SkinPageControl, HiddenTabsAndBorderWidenTheDisplay) {
    TqxSkinPageControl* control = Pages({u"One", u"Two"});
    control->SetTabHeight(30);
    control->HideTabs();
    EXPECT_EQ(1, control->TabHeight());
    control->HideTabs();  // the second keeps the first saved height
    // One more pixel than with tabs shown.
    EXPECT_EQ(Display(Plain(control)).top - 6, Display(control).top);
    control->ShowTabs();
    EXPECT_EQ(30, control->TabHeight());
    EXPECT_FALSE(control->TabsHidden());
    control->ShowTabs();
    EXPECT_EQ(30, control->TabHeight());
    control->HideBorderAndTabs();
    const RECT bare = Display(control);
    EXPECT_EQ(0, bare.left);
    EXPECT_EQ(-2, bare.top);
    EXPECT_EQ(300, bare.right);
    control->ShowBorderAndTabs();
    EXPECT_FALSE(control->TabsHidden());
    EXPECT_EQ(1, Display(control).left);
}

TEST_F(SkinPageControl, TabsInCenterNeedATabWidthAndMoveTheTabs) {
    TqxSkinPageControl* control = Pages({u"One", u"Two"});
    control->SetTabPosition(tpBottom);
    control->SetMultiLine(true);
    control->SetTabsInCenter(true);
    EXPECT_FALSE(control->TabsInCenter());
    EXPECT_EQ(tpBottom, control->TabPosition());
    control->SetTabWidth(50);
    control->SetTabsInCenter(true);
    EXPECT_TRUE(control->TabsInCenter());
    EXPECT_EQ(tpTop, control->TabPosition());
    EXPECT_FALSE(control->MultiLine());
    EXPECT_TRUE(control->TabsBGTransparent());
    // Two tabs of 50 centred on 300: they start at 100, and clicks land on them.
    EXPECT_EQ(100, control->TabStart());
    EXPECT_EQ(100 + Item(Plain(control), 0).left - 2, Item(control, 0).left);
    Click(TabPoint(control, 1));
    EXPECT_EQ(1, control->ActivePageIndex());
}

TEST_F(SkinPageControl, CloseButtonsAskAndFreeOnlyWhenTold) {
    LoadFlat();
    TqxSkinPageControl* control = Pages({u"One", u"Two", u"Three"});
    control->SetSkinData(FSkin);
    control->SetShowCloseButtons(true);
    Integer asked = 0, after = 0;
    bool allow = false;
    control->OnClose = [&](TObject* Sender, bool& CanClose) {
        ++asked;
        EXPECT_EQ(control->ActivePage(), Sender);
        CanClose = allow;
    };
    control->OnAfterClose = [&](TObject* Sender) {
        ++after;
        EXPECT_EQ(control, Sender);
    };
    control->Repaint();
    Click(CloseButton(control, 0));
    EXPECT_EQ(1, asked);
    EXPECT_EQ(0, after);
    EXPECT_TRUE(control->Pages(0)->TabVisible());

    allow = true;
    Click(CloseButton(control, 0));
    EXPECT_EQ(1, after);
    EXPECT_EQ(3, control->PageCount());
    EXPECT_FALSE(control->Pages(0)->TabVisible());

    // Freed with FreeOnClose; the hot tab no longer names a page.
    control->SetFreeOnClose(true);
    control->SetActivePageIndex(2);
    control->Repaint();
    Click(CloseButton(control, 2));
    EXPECT_EQ(2, control->PageCount());
    EXPECT_EQ(-1, control->ActiveTab());
    // A press beside the button closes nothing.
    control->SetActivePageIndex(1);
    control->Repaint();
    const TRect tab = control->TPageControl::TabRect(control->Pages(1)->TabIndex());
    Click(ScreenPoint(control->Handle(), tab.Left + 3, tab.Top + 3));
    EXPECT_EQ(3, asked);
}

TEST_F(SkinPageControl, TheScrollerStepsTheTabsThatDoNotFit) {
    TqxSkinPageControl* control = Pages({u"First", u"Second", u"Third", u"Fourth"}, 200);
    control->SetTabWidth(70);
    control->UpDateTabs();
    control->SetBounds(10, 10, 199, 200);
    Pump();
    // Tabs of 70 from 0 on 199 pixels: the third ends past Width - 3, the fourth is out.
    TqxSkinUpDown* scroller = control->SkinUpDown();
    ASSERT_NE(nullptr, scroller);
    EXPECT_EQ(2, scroller->Max());
    EXPECT_EQ(0, scroller->Position());
    EXPECT_EQ(control->Width() - scroller->Width(), scroller->Left());
    scroller->SetPosition(1);
    EXPECT_LE(Item(control, 0).right, 0);
    EXPECT_LE(Item(control, 1).left, 0);
    EXPECT_GT(Item(control, 1).right, 0);
    // Back at the start and widened until every tab fits, it is freed.
    scroller->SetPosition(0);
    EXPECT_GT(Item(control, 0).right, 0);
    control->SetBounds(10, 10, 380, 200);
    Pump();
    EXPECT_EQ(nullptr, control->SkinUpDown());
}

TEST_F(SkinPageControl, TheWheelSwitchesVisiblePagesAndStopsAtTheEnds) {
    TqxSkinPageControl* control = Pages({u"One", u"Two", u"Three"});
    control->Pages(1)->SetTabVisible(false);
    control->SetMouseWheelSupport(true);
    control->SetFocus();
    const POINT p = ScreenPoint(control->Handle(), 150, 100);
    driver::Wheel(p, -120);
    Pump();
    EXPECT_EQ(2, control->ActivePageIndex());
    driver::Wheel(p, -120);
    Pump();
    EXPECT_EQ(2, control->ActivePageIndex());
    driver::Wheel(p, 120);
    Pump();
    EXPECT_EQ(0, control->ActivePageIndex());
    control->SetMouseWheelSupport(false);
    driver::Wheel(p, -120);
    Pump();
    EXPECT_EQ(0, control->ActivePageIndex());
}

TEST_F(SkinPageControl, SheetsPaintTheSkinOrTheirWallpaper) {
    LoadFlat();
    TqxSkinPageControl* control = Pages({u"One", u"Two"});
    control->SetSkinData(FSkin);
    Pump();
    TTabSheet* sheet = control->Pages(0);
    EXPECT_EQ(FlatColor(u"tab", u"skinrect", fpCenter), PixelOf(sheet->Handle(), 20, 20));
    TBitmap wallpaper;
    wallpaper.SetSize(4, 4);
    wallpaper.Canvas()->Brush()->SetColor(TColor(0x00336699));
    wallpaper.Canvas()->FillRect(Rect(0, 0, 4, 4));
    static_cast<TqxSkinTabSheet*>(sheet)->SetWallPaper(&wallpaper);
    sheet->Invalidate();
    EXPECT_EQ(TColor(0x00336699), PixelOf(sheet->Handle(), 20, 20));
    // The selected tab is drawn from the focus or the active image, the
    // others from the tab image.
    const TRect other = control->TPageControl::TabRect(1);
    EXPECT_EQ(FlatColor(u"tab", u"tabrect", fpCenter),
              PixelOf(control->Handle(), (other.Left + other.Right) / 2, other.Top + 4));
}

TEST_F(SkinPageControl, UnskinnedTabsShowHotAndSelectedFills) {
    TqxSkinPageControl* control = Pages({u"One", u"Two", u"Three"});
    const TRect second = control->TPageControl::TabRect(1), third = control->TPageControl::TabRect(2);
    driver::MouseMove(ScreenPoint(control->Handle(), second.Left + 4, second.Top + 4));
    Pump();
    EXPECT_EQ(1, control->ActiveTab());
    EXPECT_EQ(RGB(193, 212, 243), PixelOf(control->Handle(), second.Left + 4, second.Top + 4));
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(control->Handle(), third.Left + 4, third.Top + 4));
}

}  // namespace
