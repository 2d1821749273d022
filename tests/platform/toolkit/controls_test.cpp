// Controls: ownership and links, alignment and anchors, message dispatch,
// the painting pipeline, mouse input, enter/leave and cancel mode.
#include "platform/toolkit/controls.h"

#include "platform/gdi/dc.h"
#include "platform/toolkit/actions.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Controls = ToolkitTest;

TCustomControl* NewPanel(TWinControl* AParent, TRect ABounds) {
    auto* panel = new TCustomControl(AParent->Owner() ? AParent->Owner() : AParent);
    panel->SetControlStyle(panel->ControlStyle() + TControlStyle{csAcceptsControls});
    panel->SetBoundsRect(ABounds);
    panel->SetParent(AParent);
    return panel;
}

TEST_F(Controls, FreeingAControlTakesItOffItsParentAndLinksToFreedComponentsClear) {
    TForm* form = NewForm();
    TCustomControl* panel = NewPanel(form, Rect(0, 0, 100, 100));
    auto* inner = new TTestGraphic(form);
    inner->SetParent(panel);
    auto* menu = new TPopupMenu(form);
    auto* action = new TAction(form);
    action->SetCaption(u"Run");
    inner->SetPopupMenu(menu);
    inner->SetAction(action);
    EXPECT_EQ(inner->Caption(), u"Run");

    Free(menu);
    Free(action);
    EXPECT_EQ(inner->PopupMenu(), nullptr);
    EXPECT_EQ(inner->Action(), nullptr);

    Free(inner);
    EXPECT_EQ(panel->ControlCount(), 0);
    const HWND panelWindow = panel->Handle();
    Free(panel);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_FALSE(IsWindow(panelWindow));
}

TEST_F(Controls, FindChildControlFindsADirectWindowedChildByItsExactName) {
    TForm* form = NewForm();
    auto* label = new TTestGraphic(form);
    label->SetName(u"Host");
    label->SetParent(form);
    TCustomControl* outer = NewPanel(form, Rect(0, 0, 100, 100));
    outer->SetName(u"Outer");
    TCustomControl* inner = NewPanel(outer, Rect(0, 0, 50, 50));
    inner->SetName(u"Inner");
    TCustomControl* host = NewPanel(form, Rect(0, 100, 100, 200));
    host->SetName(u"Host");

    // The graphic child of the same name comes first in child order and is passed over.
    EXPECT_EQ(form->FindChildControl(u"Host"), host);
    EXPECT_EQ(form->FindChildControl(u"Outer"), outer);
    EXPECT_EQ(form->FindChildControl(u"host"), nullptr);
    EXPECT_EQ(form->FindChildControl(u"Inner"), nullptr);
    EXPECT_EQ(outer->FindChildControl(u"Inner"), inner);
}

TEST_F(Controls, AlignedChildrenStackFromTheEdgesInOrder) {
    struct Case {
        const char* Name;
        TAlign Align;
        TRect Start;
        TRect Expected;
    } cases[] = {
        {"top1", alTop, Bounds(5, 5, 10, 20), Rect(0, 0, 300, 20)},
        {"top2", alTop, Bounds(5, 50, 10, 10), Rect(0, 20, 300, 30)},
        {"bottom", alBottom, Bounds(0, 0, 10, 30), Rect(0, 170, 300, 200)},
        {"left", alLeft, Bounds(0, 0, 40, 10), Rect(0, 30, 40, 170)},
        {"right", alRight, Bounds(0, 0, 50, 10), Rect(250, 30, 300, 170)},
        {"client", alClient, Bounds(0, 0, 1, 1), Rect(40, 30, 250, 170)},
    };
    TForm* form = NewForm(Bounds(0, 0, 300, 200));
    std::vector<TControl*> children;
    form->DisableAlign();
    for (const Case& c : cases) {
        auto* child = new TTestGraphic(form);
        child->SetBoundsRect(c.Start);
        child->SetAlign(c.Align);
        child->SetParent(form);
        children.push_back(child);
    }
    form->EnableAlign();
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(cases[i].Name);
        EXPECT_EQ(children[i]->BoundsRect(), cases[i].Expected);
    }
    // A resize lays them out again.
    form->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(children[5]->BoundsRect(), Rect(40, 30, 350, 270));
    EXPECT_EQ(children[2]->BoundsRect(), Rect(0, 270, 400, 300));
}

TEST_F(Controls, AnchoredEdgesFollowTheParentsResize) {
    struct Case {
        TAnchors Anchors;
        TRect Expected;
    } cases[] = {
        {{akLeft, akTop}, Bounds(200, 10, 80, 20)},
        {{akTop, akRight}, Bounds(300, 10, 80, 20)},
        {{akLeft, akTop, akRight}, Bounds(200, 10, 180, 20)},
        {{akLeft, akTop, akRight, akBottom}, Bounds(200, 10, 180, 70)},
        {{akLeft, akBottom}, Bounds(200, 60, 80, 20)},
    };
    for (const Case& c : cases) {
        TForm* form = NewForm(Bounds(0, 0, 300, 100));
        auto* child = new TTestGraphic(form);
        child->SetBoundsRect(Bounds(200, 10, 80, 20));
        child->SetParent(form);
        child->SetAnchors(c.Anchors);
        form->SetBounds(0, 0, 400, 150);
        EXPECT_EQ(child->BoundsRect(), c.Expected);
        Free(form);
    }
}

TEST_F(Controls, AutoSizeAndConstraintsShapeTheSizeASetterAsksFor) {
    TForm* form = NewForm();
    TCustomControl* box = NewPanel(form, Rect(0, 0, 50, 50));
    auto* child = new TTestGraphic(form);
    child->SetBoundsRect(Bounds(10, 5, 60, 30));
    child->SetParent(box);
    box->SetAutoSize(true);
    EXPECT_EQ(box->BoundsRect(), Bounds(0, 0, 70, 35));
    box->SetAutoSize(false);
    box->Constraints()->SetMaxWidth(40);
    box->Constraints()->SetMinHeight(60);
    box->SetBounds(0, 0, 100, 10);
    EXPECT_EQ(box->BoundsRect(), Bounds(0, 0, 40, 60));
}

// A control that answers one message number itself and passes the rest on.
class TAnswering : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == WM_USER + 7) {
            AMessage.Result = 42;
            return;
        }
        TCustomControl::Dispatch(AMessage);
    }
};

TEST_F(Controls, MessagesPassTheReplaceableWindowProcThenTheMessageMethodsThenTheDefault) {
    TForm* form = NewForm();
    auto* control = new TAnswering(form);
    control->SetParent(form);
    std::vector<UINT> hooked;
    const TWndMethod old = control->WindowProc();
    control->SetWindowProc([&](TMessage& AMessage) {
        hooked.push_back(AMessage.Msg);
        old(AMessage);
    });

    EXPECT_EQ(SendMessageW(control->Handle(), WM_USER + 7, 0, 0), 42);
    EXPECT_EQ(control->Perform(WM_USER + 7, 0, 0), 42);
    // Nobody handles WM_USER + 8: the window's default answers 0.
    EXPECT_EQ(control->Perform(WM_USER + 8, 0, 0), 0);
    control->SetCaption(u"标题");
    EXPECT_EQ(GetWindowTextLengthW(control->Handle()), 2);
    EXPECT_EQ(std::count(hooked.begin(), hooked.end(), WM_USER + 7), 2);
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), CM_TEXTCHANGED), hooked.end());
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), WM_SETTEXT), hooked.end());
    control->SetWindowProc(old);
}

TEST_F(Controls, NotificationsFollowStateChangesAndReachTheChildren) {
    TForm* form = NewForm();
    TCustomControl* panel = NewPanel(form, Rect(0, 0, 100, 100));
    auto* child = new TTestGraphic(form);
    child->SetParent(panel);
    std::vector<UINT> seen;
    const TWndMethod old = child->WindowProc();
    child->SetWindowProc([&](TMessage& AMessage) {
        seen.push_back(AMessage.Msg);
        old(AMessage);
    });
    child->SetEnabled(false);
    child->SetVisible(false);
    panel->Font()->SetHeight(-20);
    panel->SetColor(clYellow);
    EXPECT_EQ(seen, (std::vector<UINT>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_PARENTFONTCHANGED,
                                       CM_FONTCHANGED, CM_PARENTCOLORCHANGED, CM_COLORCHANGED}));
    EXPECT_EQ(child->Font()->Height(), -20);
    EXPECT_EQ(child->Color(), clYellow);
    EXPECT_TRUE(child->ParentFont());
    child->SetWindowProc(old);
}

TEST_F(Controls, GraphicChildrenPaintOnTheirParentAtTheirPlace) {
    TForm* form = NewForm(Bounds(100, 100, 120, 80));
    form->SetColor(clWhite);
    auto* red = new TTestGraphic(form, clRed);
    red->SetBoundsRect(Bounds(10, 10, 20, 10));
    red->SetParent(form);
    auto* blue = new TTestGraphic(form, clBlue);
    blue->SetBoundsRect(Bounds(20, 15, 20, 10));
    blue->SetParent(form);
    Pump();
    EXPECT_EQ(PixelOf(form, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(form, 12, 12), RGB(255, 0, 0));
    // The later one lies above.
    EXPECT_EQ(PixelOf(form, 25, 17), RGB(0, 0, 255));

    // An opaque graphic control repaints at once, without the queue.
    red->PaintColor = clLime;
    red->Repaint();
    EXPECT_EQ(PixelOf(form, 12, 12), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(form, 25, 17), RGB(0, 0, 255));
}

TEST_F(Controls, PaintWithADeviceContextPaintsIntoIt) {
    TForm* form = NewForm(Bounds(100, 100, 120, 80));
    form->SetColor(clWhite);
    form->OnPaint = [form](TObject*) {
        form->Canvas()->Brush()->SetColor(clNavy);
        form->Canvas()->FillRect(Rect(0, 0, 5, 5));
    };
    auto* red = new TTestGraphic(form, clRed);
    red->SetBoundsRect(Bounds(10, 10, 20, 10));
    red->SetParent(form);
    Pump();
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(40, 30);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 40, 30));
    const HDC dc = bitmap.Canvas()->Handle();

    form->Perform(WM_PAINT, WPARAM(dc), 0);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clNavy);
    EXPECT_EQ(bitmap.Canvas()->Pixels(12, 12), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(35, 25), clWhite);
    // A graphic control alone paints at the DC's origin.
    red->PaintColor = clBlue;
    red->Perform(WM_PAINT, WPARAM(dc), 0);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clBlue);
    // The window itself is untouched.
    EXPECT_EQ(PixelOf(form, 12, 12), RGB(255, 0, 0));
}

TEST_F(Controls, AGraphicControlsCanvasDrawsOnItsParentAtItsPlaceClippedToIt) {
    TForm* form = NewForm(Bounds(100, 100, 120, 80));
    form->SetColor(clWhite);
    auto* graphic = new TTestGraphic(form, clWhite);
    graphic->SetBoundsRect(Bounds(10, 10, 20, 10));
    graphic->SetParent(form);
    Pump();
    graphic->Canvas()->Brush()->SetColor(clRed);
    graphic->Canvas()->FillRect(Rect(-5, -5, 50, 50));
    EXPECT_EQ(PixelOf(form, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(form, 29, 19), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(form, 30, 19), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(form, 9, 10), RGB(255, 255, 255));
    // Moved, it draws at its new place.
    graphic->SetLeft(50);
    graphic->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(PixelOf(form, 50, 10), RGB(255, 0, 0));
}

TEST_F(Controls, ScrollByMovesEveryChild) {
    TForm* form = NewForm();
    TCustomControl* box = NewPanel(form, Rect(0, 0, 200, 100));
    TCustomControl* inner = NewPanel(box, Bounds(10, 10, 30, 30));
    auto* graphic = new TTestGraphic(form);
    graphic->SetBoundsRect(Bounds(50, 5, 10, 10));
    graphic->SetParent(box);
    box->ScrollBy(-5, 20);
    EXPECT_EQ(inner->BoundsRect(), Bounds(5, 30, 30, 30));
    EXPECT_EQ(graphic->BoundsRect(), Bounds(45, 25, 10, 10));
    RECT r;
    GetWindowRect(inner->Handle(), &r);
    EXPECT_EQ(ToTRect(r), Bounds(105, 130, 30, 30));
}

// Answers the reflections of what it tells its parent.
class TReflected : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == CN_COMMAND) {
            AMessage.Result = 7;
            return;
        }
        TCustomControl::Dispatch(AMessage);
    }
};

TEST_F(Controls, NotificationsAChildSendsItsParentComeBackToItAsReflections) {
    TForm* form = NewForm();
    auto* child = new TReflected(form);
    child->SetParent(form);
    child->Font()->SetColor(clRed);
    child->SetColor(clYellow);
    const HWND parent = form->Handle();
    EXPECT_EQ(SendMessageW(parent, WM_COMMAND, 0, LPARAM(child->Handle())), 7);
    TBitmap bitmap;
    const HDC dc = bitmap.Canvas()->Handle();
    const LRESULT brush = SendMessageW(parent, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(child->Handle()));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(child->Brush()->Handle()));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
}

TEST_F(Controls, ClicksAndDoubleClicksReachTheControlUnderTheMouse) {
    TForm* form = NewForm();
    auto* graphic = new TTestGraphic(form);
    graphic->SetName(u"G");
    graphic->SetBoundsRect(Bounds(10, 10, 40, 20));
    graphic->SetParent(form);
    std::vector<std::string> presses;
    graphic->OnMouseDown = [&](TObject*, TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
        presses.push_back(std::to_string(AButton) + (AShift.Contains(ssDouble) ? "d" : "") + "@" +
                          std::to_string(X) + "," + std::to_string(Y));
    };
    graphic->OnDblClick = [](TObject*) { Log.push_back("dblclick"); };
    driver::MouseMove(At(graphic, 5, 6));
    Pump();
    Log.clear();

    driver::Click(At(graphic, 5, 6));
    driver::Click(At(graphic, 5, 6));
    Pump();
    EXPECT_EQ(presses, (std::vector<std::string>{"0@5,6", "0d@5,6"}));
    EXPECT_EQ(Log, (std::vector<std::string>{"G.click", "dblclick"}));

    // Without csDoubleClicks the second press is a plain one.
    graphic->SetControlStyle(graphic->ControlStyle() - TControlStyle{csDoubleClicks});
    presses.clear();
    driver::AdvanceTime(1000);
    driver::Click(At(graphic, 1, 1));
    driver::Click(At(graphic, 1, 1));
    Pump();
    EXPECT_EQ(presses, (std::vector<std::string>{"0@1,1", "0@1,1"}));
}

TEST_F(Controls, EnterAndLeaveFollowTheMouseAndTheCaptureHoldsThem) {
    TForm* form = NewForm();
    auto* a = new TTestGraphic(form);
    a->SetName(u"A");
    a->SetBoundsRect(Bounds(10, 10, 40, 20));
    a->SetParent(form);
    auto* b = new TTestGraphic(form);
    b->SetName(u"B");
    b->SetBoundsRect(Bounds(60, 10, 40, 20));
    b->SetParent(form);

    driver::MouseMove(At(form, 1, 1));
    driver::MouseMove(At(a, 1, 1));
    driver::MouseMove(At(b, 1, 1));
    driver::MouseMove(At(form, 1, 100));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"A.enter", "A.leave", "B.enter", "B.leave"}));

    // Pressed on A, the mouse belongs to A until it is released.
    Log.clear();
    driver::MouseDown(At(a, 1, 1));
    driver::MouseMove(At(b, 1, 1));
    driver::MouseUp(At(b, 1, 1));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"A.enter", "A.leave", "B.enter"}));
}

TEST_F(Controls, APressSendsCancelModeToTheActiveControlWithThePressedControl) {
    TForm* form = NewForm();
    auto* edit = new TTestEdit(form);
    edit->SetName(u"Edit");
    edit->SetParent(form);
    auto* graphic = new TTestGraphic(form);
    graphic->SetName(u"G");
    graphic->SetBoundsRect(Bounds(10, 40, 40, 20));
    graphic->SetParent(form);
    edit->SetFocus();
    Pump();
    Log.clear();
    driver::Click(At(graphic, 1, 1));
    Pump();
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), "Edit.cancelmode by G");
}

TEST_F(Controls, RecreatingTheWindowKeepsTextAndFocus) {
    TForm* form = NewForm();
    auto* edit = new TTestEdit(form);
    edit->SetParent(form);
    edit->SetCaption(u"文字");
    edit->SetFocus();
    const HWND old = edit->Handle();
    edit->RecreateWnd();
    EXPECT_NE(edit->Handle(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(edit->Caption(), u"文字");
    EXPECT_EQ(GetWindowTextLengthW(edit->Handle()), 2);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(Controls, AClickRunsTheLinkedActionUnlessOnClickIsAnotherHandler) {
    TForm* form = NewForm();
    auto* action = new TAction(form);
    Integer executed = 0, clicked = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* graphic = new TTestGraphic(form);
    graphic->SetParent(form);
    graphic->SetAction(action);
    graphic->Click();
    EXPECT_EQ(executed, 1);
    graphic->OnClick = [&](TObject*) { ++clicked; };
    graphic->Click();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(executed, 1);
    // Action changes reach the control.
    action->SetEnabled(false);
    EXPECT_FALSE(graphic->Enabled());
}

}  // namespace
