// Forms and the application: creation, showing, closing, the modal loop,
// the exception box, the message loop and the screen's form list.
#include "platform/toolkit/forms.h"

#include <algorithm>
#include <functional>
#include <map>

#include "platform/gdi/icons.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/resources.h"

#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Forms = ToolkitTest;

class TDialog : public TForm {
public:
    explicit TDialog(TComponent* AOwner) : TForm(AOwner) {
        SetBounds(0, 0, 200, 120);
        Ok = new TTestButton(this);
        Ok->SetName(u"Ok");
        Ok->ModalResult = mrOk;
        Ok->SetParent(this);
    }
    TTestButton* Ok;
};

TEST_F(Forms, AModalFormRunsUntilItsModalResultIsSetAndTheOtherFormsWaitMeanwhile) {
    TForm* main = NewForm();
    auto* dialog = new TDialog(Application);
    bool mainEnabled = true;
    dialog->OnShow = [&](TObject*) {
        mainEnabled = IsWindowEnabled(main->Handle());
        driver::Click(At(dialog->Ok, 5, 5));
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->Ok->Clicks, 1);

    // With nothing left to come, the loop ends as a cancel.
    dialog->OnShow = nullptr;
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    // A handler in the loop may decide, and a close query may refuse.
    Integer asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& ACanClose) { ACanClose = ++asked > 1; };
    Application->OnIdle = [&](TObject*, bool&) { dialog->SetModalResult(mrYes); };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(asked, 2);
}

TEST_F(Forms, AnExceptionInAClickHandlerShowsTheExceptionBoxAndTheLoopGoesOn) {
    Application->SetTitle(u"转换器");
    TForm* form = NewForm();
    auto* failing = new TTestButton(form);
    failing->SetParent(form);
    failing->OnClick = [](TObject*) { throw Exception(u"磁盘已满"); };
    auto* next = new TTestButton(form);
    next->SetTop(40);
    next->SetParent(form);
    String boxCaption;
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* box = Screen->ActiveCustomForm();
        if (!box || box == form || box->ModalResult() != mrNone) return;
        boxCaption = box->Caption();
        box->SetModalResult(mrOk);
    };

    driver::Click(At(failing, 5, 5));
    Pump();
    driver::Click(At(next, 5, 5));
    Pump();
    EXPECT_EQ(boxCaption, u"转换器");
    EXPECT_EQ(driver::Beeps(), (std::vector<UINT>{MB_ICONHAND}));
    EXPECT_EQ(next->Clicks, 1);
    // EAbort is silent.
    failing->OnClick = [](TObject*) { Abort(); };
    driver::Click(At(failing, 5, 5));
    Pump();
    EXPECT_EQ(driver::Beeps().size(), 1u);
}

// A windowed control whose painting raises until it is told, when it may
// fall back to a plain look; with ABeforeBeginPaint it raises before
// validating anything, as a message method of its own would.
class TFailingPaint : public TCustomControl {
public:
    explicit TFailingPaint(TComponent* AOwner, bool ABeforeBeginPaint = false)
        : TCustomControl(AOwner), FBeforeBeginPaint(ABeforeBeginPaint) {}
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == WM_PAINT && FBeforeBeginPaint) throw EOutOfResources(u"Out of system resources");
        TCustomControl::Dispatch(AMessage);
    }
    void Paint() override {
        if (!FellBack) throw EOutOfResources(u"Out of system resources");
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(ClientRect());
    }
    void PaintFailed() override {
        ++Failures;
        if (!CanFallBack || FellBack) return;
        FellBack = true;
        Invalidate();
    }
    bool CanFallBack = false;
    bool FellBack = false;
    Integer Failures = 0;

private:
    bool FBeforeBeginPaint;
};

class TFailingGraphic : public TTestGraphic {
public:
    using TTestGraphic::TTestGraphic;
    void Paint() override { throw EOutOfResources(u"Out of system resources"); }
    void PaintFailed() override { ++Failures; }
    Integer Failures = 0;
};

TEST_F(Forms, APaintErrorIsReportedOnceAfterThePaintingAndTheControlFallsBack) {
    TForm* form = NewForm(Bounds(100, 100, 120, 80));
    form->SetColor(clWhite);
    auto* windowed = new TFailingPaint(form);
    windowed->CanFallBack = true;
    windowed->SetBoundsRect(Bounds(60, 10, 40, 40));
    windowed->SetParent(form);
    auto* graphic = new TFailingGraphic(form, clRed);
    graphic->SetBoundsRect(Bounds(10, 10, 20, 20));
    graphic->SetParent(form);
    auto* sibling = new TTestGraphic(form, clLime);
    sibling->SetBoundsRect(Bounds(10, 40, 20, 20));
    sibling->SetParent(form);
    std::vector<String> reports;
    Application->OnException = [&](TObject*, const Exception& E) { reports.push_back(E.Message()); };

    form->Repaint();
    windowed->Repaint();
    EXPECT_TRUE(reports.empty()) << "nothing is reported from inside painting";
    Pump();
    EXPECT_EQ(reports, std::vector<String>{u"Out of system resources"});
    EXPECT_TRUE(windowed->FellBack);
    EXPECT_EQ(PixelOf(windowed, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(form, 15, 45), RGB(0, 255, 0)) << "the sibling after the failing child paints";
    EXPECT_GE(graphic->Failures, 1);
    // Failing again is told to the control but not reported again.
    for (int i = 0; i < 3; ++i)
        form->Repaint();
    Pump();
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_GE(graphic->Failures, 4);
}

TEST_F(Forms, APaintErrorThatLeavesTheWindowInvalidOpensOneBoxNotAStorm) {
    TForm* form = NewForm();
    auto* failing = new TFailingPaint(form, true);
    failing->SetBoundsRect(Bounds(10, 10, 40, 40));
    failing->SetParent(form);
    failing->Invalidate();
    Pump();
    // The box's own loop repainted the form: still one box, and nothing pending.
    EXPECT_EQ(driver::Beeps(), (std::vector<UINT>{MB_ICONHAND}));
    EXPECT_FALSE(GetUpdateRect(failing->Handle(), nullptr, FALSE));
    EXPECT_GE(failing->Failures, 1);
}

TEST_F(Forms, ClosingAsksThenHidesFreesOrEndsTheApplication) {
    NewForm();
    TForm* other = NewForm();
    bool allow = false;
    TCloseAction action = caHide;
    other->OnCloseQuery = [&](TObject*, bool& ACanClose) { ACanClose = allow; };
    other->OnClose = [&](TObject*, TCloseAction& AAction) { AAction = action; };
    other->Close();
    EXPECT_TRUE(other->Visible());
    allow = true;
    other->Close();
    EXPECT_FALSE(other->Visible());

    other->Show();
    action = caFree;
    const HWND window = other->Handle();
    PostMessageW(window, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Screen->FormCount(), 1);

    TForm* created = nullptr;
    Application->CreateForm(created);
    ASSERT_EQ(Application->MainForm(), created);
    created->Close();
    Pump();
    EXPECT_TRUE(Application->Terminated());
}

class TCreated : public TForm {
public:
    explicit TCreated(TComponent* AOwner) : TForm(AOwner) {
        OnCreate = [this](TObject*) {
            SeenAsGlobal = Global == this;
            throw Exception(u"no option.ini");
        };
    }
    static TCreated* Global;
    bool SeenAsGlobal = false;
};
TCreated* TCreated::Global = nullptr;

TEST_F(Forms, TheFirstFormCreatedIsTheMainFormAndACreationErrorLeavesItStanding) {
    Application->CreateForm(TCreated::Global);
    TForm* second = nullptr;
    Application->CreateForm(second);
    ASSERT_NE(TCreated::Global, nullptr);
    EXPECT_TRUE(TCreated::Global->SeenAsGlobal);
    EXPECT_EQ(Application->MainForm(), TCreated::Global);
    EXPECT_EQ(driver::Beeps(), (std::vector<UINT>{MB_ICONHAND}));
    // Run shows the main form; closing it ends the loop.
    TCreated::Global->OnShow = [](TObject*) { PostMessageW(TCreated::Global->Handle(), WM_CLOSE, 0, 0); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    TCreated::Global = nullptr;
}

TEST_F(Forms, PositionAndClientSizeApplyWhenTheWindowIsMade) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(350);
    form->SetClientHeight(230);
    form->SetPosition(poScreenCenter);
    EXPECT_EQ(form->ClientWidth(), 350);
    form->Show();
    EXPECT_EQ(form->ClientRect(), Rect(0, 0, 350, 230));
    EXPECT_GT(form->Height(), 230);
    EXPECT_EQ(form->Left(), (1920 - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (1080 - form->Height()) / 2);
}

// Centred on its owner form, a wider or taller form near the screen's edge
// stays inside the work area; one that fits is centred as it is.
TEST_F(Forms, AFormCentredOnItsOwnerStaysInsideTheWorkArea) {
    const TRect work = Screen->WorkAreaRect();
    TForm* main = NewForm();
    const auto place = [&](TRect AMain, Integer AWidth, Integer AHeight) {
        main->SetBoundsRect(AMain);
        auto* form = new TForm(main);
        form->SetBounds(0, 0, AWidth, AHeight);
        form->SetPosition(poOwnerFormCenter);
        form->Show();
        const TRect placed = form->BoundsRect();
        Free(form);
        return placed;
    };
    // Past the left and top edges.
    TRect placed = place(Rect(work.Left + 10, work.Top + 10, work.Left + 410, work.Top + 110), 1000, 300);
    EXPECT_EQ(placed.Left, work.Left);
    EXPECT_EQ(placed.Top, work.Top);
    // Past the right and bottom edges.
    placed = place(Rect(work.Right - 300, work.Bottom - 100, work.Right, work.Bottom), 600, 400);
    EXPECT_EQ(placed.Right, work.Right);
    EXPECT_EQ(placed.Bottom, work.Bottom);
    // Room enough: centred on the main form.
    placed = place(Rect(500, 300, 1300, 800), 400, 200);
    EXPECT_EQ(placed, Rect(700, 450, 1100, 650));
}

TEST_F(Forms, AFormWithAParentIsAChildWindowWithItsFrame) {
    TForm* host = NewForm();
    auto* inner = new TForm(host);
    inner->SetParent(host);
    inner->SetBounds(10, 10, 200, 150);
    inner->SetVisible(true);
    const HWND window = inner->Handle();
    EXPECT_EQ(GetParent(window), host->Handle());
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_POPUP);
    // Its frame takes room of its own.
    EXPECT_LT(inner->ClientHeight(), 150);
    EXPECT_EQ(Screen->ActiveCustomForm(), host);
}

TEST_F(Forms, TheScreenListsFormsLastFocusedFirst) {
    TForm* a = NewForm();
    TForm* b = NewForm();
    ASSERT_EQ(Screen->FormCount(), 2);
    a->SetFocus();
    EXPECT_EQ(Screen->Forms(0), a);
    EXPECT_EQ(Screen->ActiveCustomForm(), a);
    b->SetFocus();
    EXPECT_EQ(Screen->Forms(0), b);
    EXPECT_EQ(Screen->Forms(1), a);
    EXPECT_EQ(Screen->WorkAreaRect(), Rect(0, 0, 1920, 1040));
    EXPECT_EQ(Screen->MonitorFromWindow(b->Handle()).WorkareaRect, Rect(0, 0, 1920, 1040));
}

TEST_F(Forms, ProcessMessagesInsideAHandlerRunsTheMessagesBehindIt) {
    TForm* form = NewForm();
    std::vector<std::string> order;
    const TWndMethod old = form->WindowProc();
    form->SetWindowProc([&](TMessage& AMessage) {
        if (AMessage.Msg == WM_USER + 1) {
            order.push_back("first begins");
            Application->ProcessMessages();
            order.push_back("first ends");
        } else if (AMessage.Msg == WM_USER + 2) {
            order.push_back("second");
        }
        old(AMessage);
    });
    PostMessageW(form->Handle(), WM_USER + 1, 0, 0);
    PostMessageW(form->Handle(), WM_USER + 2, 0, 0);
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"first begins", "second", "first ends"}));
    form->SetWindowProc(old);
}

TEST_F(Forms, MinimizeAndRestoreGoThroughTheApplicationWindow) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    std::vector<WPARAM> sizes;
    Integer restored = 0;
    Application->OnRestore = [&](TObject*) { ++restored; };
    const HWND app = Application->Handle();
    Application->Minimize();
    EXPECT_TRUE(IsIconic(app));
    EXPECT_EQ(main->WindowState(), wsMinimized);
    Application->Restore();
    EXPECT_FALSE(IsIconic(app));
    EXPECT_EQ(main->WindowState(), wsNormal);
    EXPECT_EQ(restored, 1);
    // Shown, minimized or restored, the application's window stays empty,
    // so a display never puts it on the screen.
    const RECT bounds = driver::Inspect(app).Bounds;
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
}

// Runs AForm modally, AInside once while it is the active form, then ends
// the run; runs may nest.
void RunModal(TCustomForm* AForm, std::function<void()> AInside) {
    static std::map<TCustomForm*, std::function<void()>> pending;
    pending[AForm] = std::move(AInside);
    Application->OnIdle = [](TObject*, bool&) {
        TCustomForm* form = Screen->ActiveCustomForm();
        const auto it = pending.find(form);
        if (it == pending.end()) return;
        const std::function<void()> inside = std::move(it->second);
        pending.erase(it);
        inside();
        form->SetModalResult(mrOk);
    };
    AForm->ShowModal();
}

// A modal form is kept above the form that was active when it opened (the
// main form when none is), not above the application's hidden window, a
// modal dialog to the display; hidden, it goes back to that window. Other
// forms stay with the application's window.
TEST_F(Forms, AModalFormIsKeptAboveTheFormActiveWhenItOpened) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    TForm* other = NewForm();
    EXPECT_EQ(GetWindow(other->Handle(), GW_OWNER), Application->Handle());
    auto* outer = new TDialog(Application);
    auto* inner = new TDialog(Application);
    const auto ownerOf = [](TWinControl* AForm) { return GetWindow(AForm->Handle(), GW_OWNER); };

    SetActiveWindow(main->Handle());
    RunModal(outer, [&] {
        EXPECT_EQ(ownerOf(outer), main->Handle());
        EXPECT_EQ(driver::DisplayState(outer->Handle()).Owner, main->Handle());
        EXPECT_TRUE(driver::DisplayState(outer->Handle()).Modal);
        RunModal(inner, [&] {
            EXPECT_EQ(ownerOf(inner), outer->Handle());
            // The window manager activates the main form: the dialogs stay
            // above it and the innermost keeps the activation.
            driver::WindowManagerFocus(main->Handle());
            EXPECT_EQ(GetActiveWindow(), inner->Handle());
            const std::vector<HWND> order = driver::Stacking();
            const auto place = [&](TWinControl* AForm) {
                return std::find(order.begin(), order.end(), AForm->Handle());
            };
            EXPECT_LT(place(inner), place(outer));
            EXPECT_LT(place(outer), place(main));
        });
        EXPECT_EQ(ownerOf(inner), Application->Handle());
    });
    EXPECT_EQ(ownerOf(outer), Application->Handle());

    driver::WindowManagerFocus(nullptr);
    RunModal(outer, [&] { EXPECT_EQ(ownerOf(outer), main->Handle()); });

    // Freed while a dialog is up over it, a form leaves the dialog's window
    // standing.
    SetActiveWindow(other->Handle());
    RunModal(outer, [&] {
        const HWND window = outer->Handle();
        ASSERT_EQ(ownerOf(outer), other->Handle());
        Free(other);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(GetWindow(window, GW_OWNER), Application->Handle());
    });
}

// Every form's window carries its icon, else the application's.
TEST_F(Forms, WindowsCarryTheFormsOrTheApplicationsIcon) {
    TForm* plain = NewForm();
    TForm* own = NewForm();
    own->Icon()->SetHandle(LoadIconW(nullptr, IDI_APPLICATION));
    const auto iconOf = [](TForm* AForm) {
        return reinterpret_cast<HICON>(SendMessageW(AForm->Handle(), WM_GETICON, ICON_BIG, 0));
    };
    EXPECT_EQ(iconOf(plain), nullptr);
    EXPECT_EQ(iconOf(own), own->Icon()->Handle());
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(48, 48);
    Application->Icon()->SetHandle(CreateIconOfBitmap(&picture));
    ASSERT_FALSE(Application->Icon()->Empty());
    EXPECT_EQ(iconOf(plain), Application->Icon()->Handle());
    EXPECT_EQ(iconOf(own), own->Icon()->Handle());
    EXPECT_EQ(iconOf(NewForm()), Application->Icon()->Handle());
}

// The application's box draws its caption and the stock icon its flags
// name left of the text.
TEST_F(Forms, TheMessageBoxShowsItsCaptionAndStockIcon) {
    RegisterBitmapResource(u"IDI_EXCLAMATION", [](TBitmap* ABitmap) {
        ABitmap->SetPixelFormat(pf24bit);
        ABitmap->SetSize(32, 32);
        ABitmap->Canvas()->Brush()->SetColor(clRed);
        ABitmap->Canvas()->FillRect(Rect(0, 0, 32, 32));
    });
    struct Case {
        Cardinal Flags;
        bool Icon;
    } cases[] = {{MB_OK | MB_ICONEXCLAMATION, true}, {MB_OK, false}};
    for (const Case& c : cases) {
        COLORREF iconPixel = CLR_INVALID;
        Integer captionInk = 0;
        Application->OnIdle = [&](TObject*, bool&) {
            TCustomForm* box = Screen->ActiveCustomForm();
            if (!box || box->ModalResult() != mrNone) return;
            iconPixel = driver::Pixel(box->Handle(), 32, 32);
            const driver::TWindowInfo info = driver::Inspect(box->Handle());
            // The title's dark ink on the light caption strip.
            const Integer captionBottom = info.Client.top - info.Bounds.top;
            for (Integer y = 0; y < captionBottom; ++y)
                for (Integer x = 0; x < info.Bounds.right - info.Bounds.left; ++x) {
                    const DWORD pixel = driver::RawPixel(box->Handle(), x, y);
                    captionInk += (pixel & 0x808080) == 0;
                }
            box->SetModalResult(mrOk);
        };
        EXPECT_EQ(Application->MessageBox(u"转换失败", u"转换器标题", c.Flags), 1);
        EXPECT_EQ(iconPixel == COLORREF(clRed), c.Icon) << c.Flags;
        EXPECT_GT(captionInk, 20) << c.Flags;
    }
    Application->OnIdle = nullptr;
}

}  // namespace
