// The program among other windows under a window manager: its dialogs and
// boxes stay above the main window and take the keyboard, the window manager
// knows its windows (icon, class, dialogs), F10, Escape and the wheel do what
// a user expects, and a failed task's box shows its caption.
#include <algorithm>
#include <string>
#include <vector>

#include "acceptance.h"

namespace acceptance {
namespace {

// ICCCM's iconic state, as WM_CHANGE_STATE asks for it.
constexpr long Iconic = 3;

bool Inside(const Rect& ARect, Point APoint) {
    return APoint.x >= ARect.x && APoint.y >= ARect.y && APoint.x < ARect.x + ARect.w &&
           APoint.y < ARect.y + ARect.h;
}

// How many pixels of AImage APixel picks.
template <class F>
int Count(const Image& AImage, F APixel) {
    return int(std::count_if(AImage.pixels.begin(), AImage.pixels.end(), APixel));
}

class WindowManagerTest : public ProgramTest {
protected:
    // Place in the window manager's stacking, bottom first; -1 when absent.
    int StackPlace(Window AWindow) const {
        const std::vector<Window> stacking = FDesktop.Stacking();
        const auto it = std::find(stacking.begin(), stacking.end(), AWindow);
        return it == stacking.end() ? -1 : int(it - stacking.begin());
    }
    Window ActiveWindow() const {
        const std::vector<long> active = FDesktop.Cardinals(FDesktop.Root(), "_NET_ACTIVE_WINDOW");
        return active.empty() ? 0 : Window(active[0]);
    }
    // Opens 选项 with the tool bar's button and waits for the dialog.
    Window OpenOptions() {
        const std::vector<Window> before = FDesktop.Clients();
        FDesktop.Click(MainControl("qxSkinButton19").Center());
        return FDesktop.WaitForNewClient(before);
    }
    // A message to the window manager about AWindow, as a task bar sends it.
    void AskWindowManager(Window AWindow, const char* AMessage, long AData0, long AData1 = 0) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = AWindow;
        event.xclient.message_type = XInternAtom(FDesktop.X(), AMessage, False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = AData0;
        event.xclient.data.l[1] = AData1;
        XSendEvent(FDesktop.X(), FDesktop.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XFlush(FDesktop.X());
    }
};

// In each skin: a click on the main window while the options dialog is open
// leaves the dialog above it, active, and its 取消 closes it.
class ModalDialogTest : public WindowManagerTest, public ::testing::WithParamInterface<int> {};

TEST_P(ModalDialogTest, StaysAboveTheMainWindowAfterAClickOnItAndItsButtonsWork) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    const Window dialog = OpenOptions();
    ASSERT_NE(dialog, 0u) << "选项 did not open";
    const Rect main = MainBounds();
    const Rect bounds = FDesktop.Bounds(dialog);
    Point outside = main.At(12, main.h - 12);
    ASSERT_FALSE(Inside(bounds, outside));
    FDesktop.Click(outside);
    // Whatever the window manager did with the click, it settles with the
    // dialog on top and active.
    ASSERT_TRUE(
        WaitUntil([&] { return StackPlace(dialog) > StackPlace(FMain) && ActiveWindow() == dialog; }, 10s))
        << "The main window came over its modal dialog";
    EXPECT_TRUE(FDesktop.Viewable(dialog));

    const FormLayout options(FProgram->Folder() + "/resources/forms/TForm5.form");
    FDesktop.Click(options.Center(FDesktop.Bounds(dialog), "qxSkinButton1"));
    EXPECT_TRUE(FDesktop.WaitForGone(dialog, 10s)) << "取消 did not close the dialog";
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(Skins, ModalDialogTest, ::testing::Values(0, 1));

// 添加整个目录 on a folder without media: the notice opens above the main
// window, active, and Return dismisses it.
TEST_F(WindowManagerTest, TheNoMediaNoticeOpensOnTopAndReturnDismissesIt) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(2));
    const Window folders = FDesktop.WaitForClient("选择目录");
    ASSERT_NE(folders, 0u) << "The folder dialog did not open";
    // The home folder, the tree's last top-level folder, holds no media.
    FDesktop.Key("End");
    const std::vector<Window> before = FDesktop.Clients();
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(folders, 10s));
    const Window notice = FDesktop.WaitForNewClient(before, 20s);
    ASSERT_NE(notice, 0u) << "No notice came";
    EXPECT_EQ(FDesktop.Title(notice), "提示");
    ASSERT_TRUE(
        WaitUntil([&] { return StackPlace(notice) > StackPlace(FMain) && ActiveWindow() == notice; }, 10s))
        << "The notice is not on top and active";
    FDesktop.Key("Return");
    EXPECT_TRUE(FDesktop.WaitForGone(notice, 10s)) << "Return did not dismiss the notice";
    CloseProgram();
}

// The window manager knows the program's windows: the icon at 16, 32 and 48
// pixels, the class, the process and machine, and the options dialog as a
// modal dialog kept above the main window; minimized and restored through
// the window manager, the program shows no other window.
TEST_F(WindowManagerTest, TheWindowsCarryIconClassAndDialogHints) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(FDesktop.ClassHint(FMain), (std::vector<std::string>{"velqua", "Velqua"}));
    const std::vector<long> pid = FDesktop.Cardinals(FMain, "_NET_WM_PID");
    ASSERT_EQ(pid.size(), 1u);
    EXPECT_GT(pid[0], 0);
    EXPECT_FALSE(FDesktop.Text(FMain, "WM_CLIENT_MACHINE").empty());
    const std::vector<long> icons = FDesktop.Cardinals(FMain, "_NET_WM_ICON");
    size_t at = 0;
    for (const long size : {16, 32, 48}) {
        ASSERT_LT(at + 1, icons.size()) << "No icon of " << size << " pixels";
        EXPECT_EQ(icons[at], size);
        EXPECT_EQ(icons[at + 1], size);
        // Not a blank picture: some pixels are opaque.
        const auto begin = icons.begin() + long(at) + 2;
        EXPECT_GT(
            std::count_if(begin, begin + size * size, [](long APixel) { return (APixel >> 24) & 0xFF; }),
            size * size / 4);
        at += 2 + size_t(size * size);
    }
    EXPECT_EQ(FDesktop.TransientFor(FMain), 0u);

    const Window dialog = OpenOptions();
    ASSERT_NE(dialog, 0u);
    EXPECT_EQ(FDesktop.TransientFor(dialog), FMain);
    const std::vector<std::string> types = FDesktop.AtomNames(dialog, "_NET_WM_WINDOW_TYPE");
    EXPECT_NE(std::find(types.begin(), types.end(), "_NET_WM_WINDOW_TYPE_DIALOG"), types.end());
    const std::vector<std::string> states = FDesktop.AtomNames(dialog, "_NET_WM_STATE");
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_MODAL"), states.end());
    EXPECT_EQ(FDesktop.ClassHint(dialog), (std::vector<std::string>{"velqua", "Velqua"}));
    FDesktop.Key("Escape");
    ASSERT_TRUE(FDesktop.WaitForGone(dialog, 10s));

    AskWindowManager(FMain, "WM_CHANGE_STATE", Iconic);
    ASSERT_TRUE(WaitUntil([&] { return !FDesktop.Viewable(FMain); }, 10s))
        << "The main window was not minimized";
    AskWindowManager(FMain, "_NET_ACTIVE_WINDOW", 2);
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Viewable(FMain); }, 10s))
        << "The main window did not come back";
    // Only the main window: the application's hidden window never shows.
    EXPECT_EQ(FDesktop.Clients(), std::vector<Window>{FMain});
    // And the program still answers: the options dialog opens.
    const Window again = OpenOptions();
    ASSERT_NE(again, 0u) << "The program does not answer after the restore";
    FDesktop.Key("Escape");
    EXPECT_TRUE(FDesktop.WaitForGone(again, 10s));
    CloseProgram();
}

// F10 opens the menu bar as Alt does: Down then opens 文件.
TEST_F(WindowManagerTest, F10OpensTheMenuBar) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const std::vector<Window> before = FDesktop.Popups();
    FDesktop.Key("F10");
    FDesktop.Key("Down");
    const Window menu = FDesktop.WaitForNewPopup(before);
    ASSERT_NE(menu, 0u) << "F10 did not open the menu bar";
    FDesktop.Key("Escape");
    FDesktop.Key("Escape");
    EXPECT_TRUE(WaitUntil([&] { return !FDesktop.Viewable(menu); }, 10s));
    CloseProgram();
}

// Escape closes the options dialog, as its 取消 does.
TEST_F(WindowManagerTest, EscapeClosesTheOptionsDialog) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const Window dialog = OpenOptions();
    ASSERT_NE(dialog, 0u);
    FDesktop.Key("Escape");
    EXPECT_TRUE(FDesktop.WaitForGone(dialog, 10s)) << "Escape did not close the options dialog";
    CloseProgram();
}

// The wheel over the open category list moves through it.
TEST_F(WindowManagerTest, TheWheelScrollsAnOpenCategoryList) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const std::vector<Window> before = FDesktop.Popups();
    FDesktop.Click(MainControl("qxSkinOfficeComboBox2").Center());
    const Window list = FDesktop.WaitForNewPopup(before);
    ASSERT_NE(list, 0u) << "The category list did not open";
    const Rect bounds = FDesktop.Bounds(list);
    ASSERT_GT(bounds.w, 20);
    ASSERT_GT(bounds.h, 60);
    // Hovering picks a row: the list settles before the wheel.
    FDesktop.MoveTo(bounds.At(bounds.w / 2, 30));
    Image shown = FDesktop.Grab(bounds);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Image now = FDesktop.Grab(bounds);
            const bool settled = now == shown;
            shown = now;
            return settled;
        },
        10s));
    FDesktop.Wheel(bounds.At(bounds.w / 2, 30), 6);
    EXPECT_TRUE(WaitUntil([&] { return FDesktop.Grab(bounds) != shown; }, 10s)) << "The wheel moved nothing";
    FDesktop.Key("Escape");
    EXPECT_TRUE(WaitUntil([&] { return !FDesktop.Viewable(list); }, 10s));
    CloseProgram();
}

// A conversion that cannot write its output: the box of the failed task has
// the program's title as its caption, drawn, and the warning icon.
TEST_F(WindowManagerTest, AFailedTasksBoxShowsItsCaption) {
    ProgramSetup setup;
    // Nothing can be made there, not even by root.
    setup.OptionIni = "[OutPath]\nOutPath=/proc\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram(setup));
    Rect start;
    ASSERT_NO_FATAL_FAILURE(start = AddClip("clip.mp4"));
    ASSERT_FALSE(HasFailure());
    const std::vector<Window> before = FDesktop.Clients();
    FDesktop.Click(start.Center());
    const Window box = FDesktop.WaitForNewClient(before, 60s);
    ASSERT_NE(box, 0u) << "No box for the failed task";
    EXPECT_EQ(FDesktop.Title(box), MainTitle);
    ASSERT_TRUE(WaitUntil([&] { return ActiveWindow() == box; }, 10s));
    const Rect bounds = FDesktop.Bounds(box);
    // Polled, as every look at a window that has just appeared.
    const auto captionInked = [&] {
        const Image caption = FDesktop.Grab(Rect{bounds.x, bounds.y, bounds.w, 20});
        return Count(caption, [](uint32_t APixel) { return (APixel & 0x808080) == 0; }) > 40;
    };
    // The warning icon left of the text: yellow.
    const auto warningShown = [&] {
        const Image icon = FDesktop.Grab(Rect{bounds.x, bounds.y + 20, 64, 64});
        return Count(icon, [](uint32_t APixel) {
                   return (APixel >> 16) > 0xC0 && ((APixel >> 8) & 0xFF) > 0x90 && (APixel & 0xFF) < 0x70;
               }) > 50;
    };
    EXPECT_TRUE(WaitUntil(warningShown, 10s)) << "No warning icon";
    EXPECT_TRUE(captionInked()) << "The caption strip is empty";
    FDesktop.Key("Return");
    EXPECT_TRUE(FDesktop.WaitForGone(box, 10s));
    CloseProgram();
}

}  // namespace
}  // namespace acceptance
