// MDI: the frame's client window, its children in activation order, the
// activation of a child by a press, hidden and freed children.
#include "platform/toolkit/menus.h"
#include "platform/toolkit/panels.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class TFrameForm : public TForm {
public:
    explicit TFrameForm(TComponent* AOwner) : TForm(AOwner) {
        SetFormStyle(fsMDIForm);
        SetBorderStyle(bsNone);
        SetBounds(0, 0, 600, 400);
    }
};

// A child that logs its activation messages and holds one edit.
class TChildForm : public TForm {
public:
    TChildForm(TComponent* AOwner, const std::string& AName) : TForm(AOwner), Name(AName) {
        SetFormStyle(fsMDIChild);
        SetBorderStyle(bsNone);
        Edit = new TTestEdit(this);
        Edit->SetBounds(10, 10, 50, 20);
        Edit->SetParent(this);
    }
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == WM_NCACTIVATE) Log.push_back(Name + (AMessage.WParam ? " on" : " off"));
        TForm::Dispatch(AMessage);
    }
    std::string Name;
    TTestEdit* Edit;
};

class Mdi : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        Application->CreateForm(Frame);
        Frame->Show();
    }
    TChildForm* NewChild(const std::string& AName, Integer X) {
        auto* child = new TChildForm(Application, AName);
        child->SetBounds(X, 20, 150, 100);
        child->Show();
        return child;
    }
    std::vector<TCustomForm*> Children() const {
        std::vector<TCustomForm*> list;
        for (Integer i = 0; i < Frame->MDIChildCount(); ++i)
            list.push_back(Frame->MDIChildren(i));
        return list;
    }
    TFrameForm* Frame = nullptr;
};

TEST_F(Mdi, TheClientWindowCoversTheClientAreaLessTheAlignedControlsAndFollowsThem) {
    ASSERT_TRUE(Frame->ClientHandle());
    EXPECT_EQ(GetParent(Frame->ClientHandle()), Frame->Handle());
    auto* bar = new TPanel(Frame);
    bar->SetAlign(alTop);
    bar->SetHeight(30);
    bar->SetParent(Frame);
    const auto clientBounds = [&] {
        const RECT r = driver::Inspect(Frame->ClientHandle()).Bounds;
        return Rect(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(clientBounds(), Rect(0, 30, 600, 400));
    Frame->SetBounds(0, 0, 500, 300);
    EXPECT_EQ(clientBounds(), Rect(0, 30, 500, 300));
    bar->SetVisible(false);
    EXPECT_EQ(clientBounds(), Rect(0, 0, 500, 300));
    // Without MDI style there is no client; a child needs an MDI main form.
    EXPECT_FALSE(NewForm()->ClientHandle());
}

TEST_F(Mdi, ChildrenAreChildWindowsOfTheClientListedActiveFirst) {
    TChildForm* a = NewChild("a", 0);
    TChildForm* b = NewChild("b", 50);
    TChildForm* c = NewChild("c", 100);
    EXPECT_EQ(GetParent(a->Handle()), Frame->ClientHandle());
    EXPECT_TRUE(GetWindowLongW(a->Handle(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(Children(), (std::vector<TCustomForm*>{c, b, a}));
    EXPECT_EQ(Frame->ActiveMDIChild(), c);
    EXPECT_EQ(SendMessageW(Frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0), LRESULT(c->Handle()));
    // Bounds are in the client's coordinates.
    EXPECT_EQ(b->Left(), 50);
    EXPECT_EQ(driver::Inspect(b->Handle()).Bounds.left, 50);
    EXPECT_EQ(driver::Children(Frame->ClientHandle()).front(), c->Handle());

    // A press in a child activates it among its siblings and focuses its
    // active control; the old child is told first.
    Log.clear();
    driver::Click(At(a, 20, 60));
    Pump();
    EXPECT_EQ(Children(), (std::vector<TCustomForm*>{a, c, b}));
    EXPECT_EQ(Log, (std::vector<std::string>{"c off", "a on"}));
    EXPECT_EQ(GetFocus(), a->Edit->Handle());
    EXPECT_EQ(driver::Children(Frame->ClientHandle()).front(), a->Handle());
    // Showing an inactive child activates it too; Next goes round.
    b->Show();
    EXPECT_EQ(Frame->ActiveMDIChild(), b);
    Frame->Next();
    EXPECT_EQ(Children(), (std::vector<TCustomForm*>{a, c, b}));
    EXPECT_EQ(GetFocus(), a->Edit->Handle());
}

TEST_F(Mdi, AHiddenChildStaysListedLastAndTheNextVisibleOneBecomesActive) {
    TChildForm* a = NewChild("a", 0);
    TChildForm* b = NewChild("b", 50);
    Log.clear();
    b->Hide();
    EXPECT_EQ(Children(), (std::vector<TCustomForm*>{a, b}));
    EXPECT_EQ(Frame->ActiveMDIChild(), a);
    EXPECT_EQ(Log, (std::vector<std::string>{"b off", "a on"}));
    // Next skips the hidden child; with every child hidden none is active.
    Frame->Next();
    EXPECT_EQ(Frame->ActiveMDIChild(), a);
    a->Hide();
    EXPECT_EQ(Frame->ActiveMDIChild(), nullptr);
    EXPECT_EQ(Frame->MDIChildCount(), 2);
    EXPECT_EQ(SendMessageW(Frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0), 0);
    // WM_MDIACTIVATE shows and activates a listed child.
    SendMessageW(Frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(b->Handle()), 0);
    EXPECT_EQ(Frame->ActiveMDIChild(), b);
    EXPECT_TRUE(b->Visible());
}

TEST_F(Mdi, FreeingTheActiveChildActivatesTheNextAndFreeingTheFrameTakesTheWindowsAlong) {
    TChildForm* a = NewChild("a", 0);
    TChildForm* b = NewChild("b", 50);
    TChildForm* c = NewChild("c", 100);
    a->Show();
    Log.clear();
    delete a;
    EXPECT_EQ(Children(), (std::vector<TCustomForm*>{c, b}));
    EXPECT_EQ(Log, (std::vector<std::string>{"c on"}));
    EXPECT_EQ(GetFocus(), c->Edit->Handle());
    // Re-making the frame's window destroys the children's windows first.
    const HWND old = c->Handle();
    Frame->RecreateWnd();
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(Frame->MDIChildCount(), 0);
    EXPECT_FALSE(c->HandleAllocated());
}

TEST_F(Mdi, AChildWithoutAnMdiMainFormCannotBeShownAndTheClientCanBeSubclassed) {
    auto* child = new TChildForm(Application, "x");
    Frame->SetFormStyle(fsNormal);
    EXPECT_THROW(child->Show(), EInvalidOperation);
    delete child;
    Frame->SetFormStyle(fsMDIForm);
    ASSERT_TRUE(Frame->ClientHandle());

    static WNDPROC previous = nullptr;
    static Integer erased = 0;
    erased = 0;
    previous = reinterpret_cast<WNDPROC>(
        SetWindowLongW(Frame->ClientHandle(), GWL_WNDPROC,
                       LONG_PTR(+[](HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) -> LRESULT {
                           if (AMessage == WM_ERASEBKGND) ++erased;
                           return CallWindowProcW(previous, AWindow, AMessage, AWParam, ALParam);
                       })));
    TChildForm* a = NewChild("a", 0);
    InvalidateRect(Frame->ClientHandle(), nullptr, TRUE);
    Pump();
    EXPECT_GT(erased, 0);
    EXPECT_EQ(SendMessageW(Frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0), LRESULT(a->Handle()));
    // The Window menu is dropped when freed.
    auto* menu = new TMainMenu(Frame);
    auto* item = new TMenuItem(menu);
    Frame->SetWindowMenu(item);
    delete item;
    EXPECT_EQ(Frame->WindowMenu(), nullptr);
}

}  // namespace
