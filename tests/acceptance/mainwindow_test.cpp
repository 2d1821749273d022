// The main window as a user sees it: the file list's bar once the rows
// exceed it, a preview that keeps nothing of an earlier clip, a tool bar
// whose buttons leave its border whole, the rename edit in its row, and a
// dark selected row that stays readable without the focus.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "acceptance.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

// The WCAG contrast ratio of two colours 0xRRGGBB.
double ContrastRatio(uint32_t A, uint32_t B) {
    const auto luminance = [](uint32_t C) {
        const auto channel = [](uint32_t AValue) {
            const double v = AValue / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(C >> 16 & 0xFF) + 0.7152 * channel(C >> 8 & 0xFF) +
               0.0722 * channel(C & 0xFF);
    };
    const double a = luminance(A), b = luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool Reddish(uint32_t C) {
    return (C >> 16 & 0xFF) > 0xA0 && (C >> 8 & 0xFF) < 0x50 && (C & 0xFF) < 0x50;
}

bool Bluish(uint32_t C) {
    return (C & 0xFF) > 0xA0 && (C >> 16 & 0xFF) < 0x50 && (C >> 8 & 0xFF) < 0x50;
}

size_t Count(const Image& AImage, const std::function<bool(uint32_t)>& AWanted) {
    return size_t(std::count_if(AImage.pixels.begin(), AImage.pixels.end(), AWanted));
}

// How many colours a piece of the screen shows: a scroll bar has its
// arrows and thumb, a bare panel one colour.
size_t Colours(const Image& AImage) {
    std::vector<uint32_t> pixels = AImage.pixels;
    std::sort(pixels.begin(), pixels.end());
    return size_t(std::unique(pixels.begin(), pixels.end()) - pixels.begin());
}

class MainWindowTest : public ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    // Chooses every file of AFolder at once in 添加多个文件.
    void AddFolderFiles(const std::string& AFolder) {
        ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(1));
        const Window dialog = FDesktop.WaitForClient("打开文件");
        ASSERT_NE(dialog, 0u) << "The open dialog did not open";
        const Rect bounds = FDesktop.Bounds(dialog);
        const Rect list{bounds.x + 4, bounds.y + 58, bounds.w - 8, 160};
        const auto changes = [&](const std::function<void()>& AStep) {
            const Image before = FDesktop.Grab(list);
            AStep();
            return WaitUntil([&] { return FDesktop.Grab(list) != before; }, 60s);
        };
        ASSERT_TRUE(changes([&] {
            FDesktop.Type(AFolder + "/");
            FDesktop.Key("Return");
        })) << "The dialog did not show the folder";
        ASSERT_TRUE(changes([&] { FDesktop.Click(bounds.At(46, 64)); })) << "The first file was not selected";
        ASSERT_TRUE(changes([&] { FDesktop.Key("End", {"Shift_L"}); })) << "The files were not all selected";
        FDesktop.Key("Return");
        ASSERT_TRUE(FDesktop.WaitForGone(dialog, 60s)) << "The open dialog did not close";
    }
};

// One row: no bar. 25 rows: the vertical bar shows beside the list.
TEST_P(MainWindowTest, TheListShowsItsBarWithTwentyFiveRows) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    MakeClip(FProgram->Folder() + "/one.avi", "64x48", 0.3);
    const std::string folder = FProgram->Folder() + "/more";
    fs::create_directories(folder);
    MakeClip(folder + "/c00.avi", "64x48", 0.3);
    for (int i = 1; i < 24; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/c%02d.avi", i);
        fs::copy_file(folder + "/c00.avi", folder + name);
    }
    const Rect bar = MainControl("lvFilesVBar");
    const Rect preview = MainControl("Panel6");
    const Image idlePreview = FDesktop.Grab(preview);

    ASSERT_NO_FATAL_FAILURE(AddFileByName("one.avi"));
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(preview) != idlePreview; }, 60s)) << "Nothing was added";
    EXPECT_LE(Colours(FDesktop.Grab(bar)), 2u) << "a bar with one row";

    ASSERT_NO_FATAL_FAILURE(AddFolderFiles(folder));
    EXPECT_TRUE(WaitUntil([&] { return Colours(FDesktop.Grab(bar)) > 3; }, 60s)) << "No bar with 25 rows";
    CloseProgram();
}

// A red 16:9 clip, then a blue 4:3 one: the preview shows the blue picture
// with nothing red left around it.
TEST_P(MainWindowTest, NothingOfARedWideClipRemainsAfterABlueSquarerOne) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    MakeMedia(FProgram->Folder() + "/red.avi",
              {"-f", "lavfi", "-i", "color=c=red:size=320x180:rate=25:duration=1"});
    MakeMedia(FProgram->Folder() + "/blue.avi",
              {"-f", "lavfi", "-i", "color=c=blue:size=320x240:rate=25:duration=1"});
    const Rect preview = MainControl("Panel6");

    ASSERT_NO_FATAL_FAILURE(AddFileByName("red.avi"));
    ASSERT_TRUE(WaitUntil([&] { return Count(FDesktop.Grab(preview), Reddish) > 1000; }, 60s))
        << "The red clip was not shown";
    ASSERT_NO_FATAL_FAILURE(AddFileByName("blue.avi"));
    const bool clean = WaitUntil(
        [&] {
            const Image shown = FDesktop.Grab(preview);
            return Count(shown, Bluish) > 1000 && Count(shown, Reddish) == 0;
        },
        60s);
    const Image shown = FDesktop.Grab(preview);
    EXPECT_TRUE(clean) << Count(shown, Reddish) << " red pixels left beside " << Count(shown, Bluish)
                       << " blue ones";
    CloseProgram();
}

// Nothing of the tool bar covers its bottom border: beneath 添加 it runs as
// beneath 删除, down to the panels under the bar.
TEST_P(MainWindowTest, TheToolBarsBottomBorderRunsBeneathItsButtons) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    const Rect bar = MainControl("qxSkinToolBar2");
    const Rect add = MainControl("qxSkinMenuSpeedButton1");
    const Rect remove = MainControl("qxSkinButton7");
    // Away from the buttons: a hovered one frames itself.
    FDesktop.MoveTo(MainControl("lvFiles").Center());
    // Drawn, with its icons: before its first paint the line is even too.
    ASSERT_TRUE(WaitUntil([&] { return Colours(FDesktop.Grab(bar)) > 20; }, 30s))
        << "The tool bar was not drawn";
    // The bar's foot, with some room for the frame's own thickness.
    const Rect foot{bar.x, bar.y + bar.h - 2, bar.w, 12};
    const auto even = [&] {
        const Image strip = FDesktop.Grab(foot);
        for (int y = 0; y < strip.h; ++y)
            if (strip.At(add.x - bar.x + add.w / 2, y) != strip.At(remove.x - bar.x + remove.w / 2, y))
                return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil(even, 30s)) << "A button covers the tool bar's bottom border";
    CloseProgram();
}

// Renaming in place: the edit opens within the row, its text reads on its
// field, Escape leaves the name as it was and Enter gives the row the new one.
TEST_P(MainWindowTest, TheRenameEditSitsInItsRowReadsAndEndsWithEscapeOrEnter) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    ASSERT_NO_FATAL_FAILURE(AddClip("clip.avi"));
    const Rect list = MainControl("lvFiles");
    // The added row, once the list has been still for a while: what the
    // open dialog left over it goes at the list's next paint.
    Image named = FDesktop.Grab(list);
    auto still = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            const Image now = FDesktop.Grab(list);
            if (now != named) named = now, still = std::chrono::steady_clock::now();
            return std::chrono::steady_clock::now() - still > 500ms;
        },
        10s);
    const Point pencil = MainControl("qxSkinButton21").Center();
    const auto openEdit = [&] {
        FDesktop.Click(pencil);
        ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(list) != named; }, 30s)) << "No rename edit opened";
        FDesktop.Type("holiday");
        // The caret to the start, out of the text read below.
        FDesktop.Key("Home");
    };

    ASSERT_NO_FATAL_FAILURE(openEdit());
    // The edit: where the list differs from the named row, once it shows
    // what was typed.
    // The row: where the list differs from the named row (its selection
    // loses the focus to the edit). The edit's field: past the first three
    // columns, where the layout opens it, within the row's top 14 pixels.
    Rect row;
    Image editing;
    const int fieldLeft = 80 + 70 + 70 + 13 + 2;
    const auto field = [&](const Image& AImage) {
        std::map<uint32_t, int> counts;
        for (int y = row.y + 3; y < row.y + 11; ++y)
            for (int x = fieldLeft + 6; x < fieldLeft + 70; ++x)
                ++counts[AImage.At(x, y)];
        return counts;
    };
    const auto commonest = [](const std::map<uint32_t, int>& ACounts) {
        return std::max_element(ACounts.begin(), ACounts.end(),
                                [](auto& A, auto& B) { return A.second < B.second; })
            ->first;
    };
    const auto typed = [&] {
        editing = FDesktop.Grab(list);
        int top = editing.h, bottom = -1;
        for (int y = 0; y < editing.h; ++y)
            for (int x = 0; x < editing.w; ++x)
                if (editing.At(x, y) != named.At(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
        row = {0, top, editing.w, bottom - top + 1};
        return bottom >= 0 && field(editing) != field(named);
    };
    ASSERT_TRUE(WaitUntil(typed, 30s)) << "The typed name did not show";
    EXPECT_LE(row.h, 20) << "The edit stands out of its row";
    const std::map<uint32_t, int> shown = field(editing);
    const uint32_t fill = commonest(shown);
    double ratio = 1;
    for (const auto& [colour, count] : shown)
        ratio = std::max(ratio, ContrastRatio(colour, fill));
    EXPECT_GE(ratio, 3.0) << std::hex << "field " << fill;

    FDesktop.Key("Escape");
    EXPECT_TRUE(WaitUntil([&] { return FDesktop.Grab(list) == named; }, 30s))
        << "Escape did not leave the row as it was";

    ASSERT_NO_FATAL_FAILURE(openEdit());
    ASSERT_TRUE(WaitUntil(typed, 30s)) << "The typed name did not show again";
    FDesktop.Key("Return");
    // The new name in the row: the cell differs from the old one and is
    // drawn on the row's own fill again, without the edit's field.
    const auto renamed = [&] {
        const Image now = FDesktop.Grab(list);
        return now != named && now != editing && commonest(field(now)) == now.At(2, row.y + row.h / 2);
    };
    EXPECT_TRUE(WaitUntil(renamed, 30s)) << "Enter did not give the row its new name";
    CloseProgram();
}

using SelectionTest = ProgramTest;

// In the dark skin, with the focus elsewhere, the selected row's text stands
// out from its fill.
TEST_F(SelectionTest, TheDarkSelectedRowReadsWithoutTheFocus) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(1)));
    MakeClip(FProgram->Folder() + "/first.avi", "64x48", 0.3);
    MakeClip(FProgram->Folder() + "/second.avi", "64x48", 0.3);
    const Rect list = MainControl("lvFiles");
    const Image empty = FDesktop.Grab(list);
    ASSERT_NO_FATAL_FAILURE(AddFileByName("first.avi"));
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(list) != empty; }, 60s)) << "Nothing was added";
    const Image one = FDesktop.Grab(list);
    ASSERT_NO_FATAL_FAILURE(AddFileByName("second.avi"));
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(list) != one; }, 60s))
        << "The second file was not added";
    // The list has the focus after an add; Tab takes it to the next control.
    Image focused = FDesktop.Grab(list);
    WaitUntil(
        [&] {
            const Image now = FDesktop.Grab(list);
            const bool settled = now == focused;
            focused = now;
            return settled;
        },
        10s);
    FDesktop.Key("Tab");
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(list) != focused; }, 30s))
        << "The selection never showed the list without the focus";

    // The selected row: the lines whose commonest colour differs most from
    // the list's own (its bottom line, under the two rows).
    const Image shown = FDesktop.Grab(list);
    const auto commonest = [&](int AY) {
        std::map<uint32_t, int> counts;
        for (int x = 0; x < shown.w; ++x)
            ++counts[shown.At(x, AY)];
        return std::max_element(counts.begin(), counts.end(),
                                [](auto& A, auto& B) { return A.second < B.second; })
            ->first;
    };
    const uint32_t background = commonest(shown.h - 2);
    int best = -1;
    for (int y = 0; y < shown.h; ++y)
        if (best < 0 || ContrastRatio(commonest(y), background) > ContrastRatio(commonest(best), background))
            best = y;
    const uint32_t fill = commonest(best);
    double ratio = 1;
    for (int y = 0; y < shown.h; ++y) {
        if (commonest(y) != fill) continue;
        for (int x = 0; x < shown.w; ++x)
            ratio = std::max(ratio, ContrastRatio(shown.At(x, y), fill));
    }
    EXPECT_GE(ratio, 3.0) << std::hex << "fill " << fill;
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(Skins, MainWindowTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace acceptance
