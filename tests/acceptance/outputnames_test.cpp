// The names of the files a run writes, as a user sees them on disk: a run
// stopped, its row selected and started again writes its one file again; a
// finished row, selected, still names the file it wrote; a run whose output
// folder is its input's writes beside the input and leaves it as it was; a
// format the libraries cannot write is refused with a box, and the row
// still converts as before.
#include <cstdint>
#include <filesystem>
#include <set>

#include "acceptance.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

std::set<std::string> FilesIn(const std::string& AFolder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(AFolder))
        names.insert(entry.path().filename().string());
    return names;
}

class OutputNamesTest : public ProgramTest {
protected:
    // What ARect shows once it stays the same for a tenth of a second: the
    // skinned buttons morph between their looks.
    Image Settled(Rect ARect) {
        Image last;
        int same = 0;
        WaitUntil(
            [&] {
                Image now = FDesktop.Grab(ARect);
                same = now == last ? same + 1 : 0;
                last = std::move(now);
                return same >= 5;
            },
            10s);
        return last;
    }
    // Adds AName of the program's folder and finds its row, the list's only
    // one, by the selection the add leaves on it.
    void AddTheRow(const std::string& AName) {
        const Rect start = MainControl("qxSkinButton2");
        const Image idleStart = FDesktop.Grab(start);
        ASSERT_NO_FATAL_FAILURE(AddFileByName(AName));
        ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(start) != idleStart; }, 30s))
            << "开始 never became enabled";
        FStartOn = Settled(start);
        FClearOn = Settled(MainControl("qxSkinButton8"));
        const Rect list = MainControl("lvFiles");
        const Image selected = FDesktop.Grab(list);
        ClickBesideTheRow();
        Image plain;
        ASSERT_TRUE(WaitUntil(
            [&] {
                plain = FDesktop.Grab(list);
                return plain != selected;
            },
            10s))
            << "A click beside the row left it selected";
        // The row is where the two pictures differ.
        int top = list.h, bottom = -1, left = list.w, right = -1;
        for (int y = 0; y < list.h; ++y)
            for (int x = 0; x < list.w; ++x)
                if (selected.At(x, y) != plain.At(x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(bottom, top) << "No selected row to be seen";
        FRow = {list.x + left, list.y + top, right - left + 1, bottom - top + 1};
        // The selection's colour at the row's right end, where no text is.
        FSelection = selected.At(right - 2, (top + bottom) / 2);
    }
    void ClickBesideTheRow() {
        const Rect list = MainControl("lvFiles");
        FDesktop.Click({list.x + list.w / 2, list.y + list.h - 40});
    }
    bool RowSelected() const {
        return FDesktop.Grab({FRow.x + FRow.w - 2, FRow.y + FRow.h / 2, 1, 1}).At(0, 0) == FSelection;
    }
    // A click on the row, or beside it, and the row drawn so.
    void SelectTheRow() {
        FDesktop.Click(FRow.At(30, FRow.h / 2));
        ASSERT_TRUE(WaitUntil([&] { return RowSelected(); }, 10s)) << "A click on the row did not select it";
    }
    void DeselectTheRow() {
        ClickBesideTheRow();
        ASSERT_TRUE(WaitUntil([&] { return !RowSelected(); }, 10s))
            << "A click beside the row left it selected";
    }
    // The output name's cell of the row: after the input, duration and size
    // columns (80, 70 and 70 pixels wide), inside the dotted focus frame a
    // row keeps once it was selected.
    Rect NameCell() const { return {FRow.x + 222, FRow.y + 2, 76, FRow.h - 4}; }
    // Waits for the end of the run: 清空 is offered again.
    bool RunEnded() {
        const Rect clear = MainControl("qxSkinButton8");
        return WaitUntil([&] { return Settled(clear) == FClearOn; }, 60s);
    }

    // Opens the list of the main window's office combo box AName, moves
    // it to its end with the wheel and clicks its last row.
    void PickLastItem(const std::string& AName) {
        const std::vector<Window> before = FDesktop.Popups();
        FDesktop.Click(MainControl(AName).Center());
        const Window list = FDesktop.WaitForNewPopup(before);
        ASSERT_NE(list, 0u) << "The list of " << AName << " did not open";
        const Rect bounds = FDesktop.Bounds(list);
        // The wheel turned away from the user moves an open list towards its end.
        FDesktop.Wheel(bounds.At(bounds.w / 2, bounds.h / 2), 30);
        Settled(bounds);
        FDesktop.Click(bounds.At(bounds.w / 2, bounds.h - 28));
        ASSERT_TRUE(WaitUntil([&] { return !FDesktop.Viewable(list); }, 10s)) << "The list stayed open";
    }

    Rect FRow;
    uint32_t FSelection = 0;
    Image FStartOn, FClearOn;
};

// Stopped while it writes, the row selected, 开始 again: the run writes its
// file again under the same name, and it is the only file.
TEST_F(OutputNamesTest, StopSelectAndStartAgainWritesOneFile) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    MakeClip(FProgram->Folder() + "/clip.avi", "640x480", 20);
    ASSERT_NO_FATAL_FAILURE(AddTheRow("clip.avi"));
    const std::string output = FProgram->OutputFolder() + "/clip.avi";
    FDesktop.Click(MainControl("qxSkinButton2").Center());
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(output) && fs::file_size(output) > 0; }, 60s))
        << "The run wrote nothing";
    FDesktop.Click(MainControl("qxSkinButton10").Center());
    const Rect start = MainControl("qxSkinButton2");
    ASSERT_TRUE(WaitUntil([&] { return Settled(start) == FStartOn; }, 60s)) << "开始 did not come back";
    ASSERT_TRUE(RunEnded());

    ASSERT_NO_FATAL_FAILURE(DeselectTheRow());
    ASSERT_NO_FATAL_FAILURE(SelectTheRow());
    FDesktop.Click(start.Center());
    // Either the file again, or a second one beside it.
    ASSERT_TRUE(WaitUntil(
        [&] { return FilesIn(FProgram->OutputFolder()).size() > 1 || IsCompleteMedia(output, 19.9); }, 300s))
        << "No complete " << output;
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(FilesIn(FProgram->OutputFolder()), std::set<std::string>{"clip.avi"});
    CloseProgram();
}

// A finished row selected again still shows the name of the file it wrote.
TEST_F(OutputNamesTest, AFinishedRowKeepsTheNameOfItsFile) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    MakeClip(FProgram->Folder() + "/clip.avi");
    ASSERT_NO_FATAL_FAILURE(AddTheRow("clip.avi"));
    const std::string output = FProgram->OutputFolder() + "/clip.avi";
    FDesktop.Click(MainControl("qxSkinButton2").Center());
    ASSERT_TRUE(WaitUntil([&] { return IsCompleteMedia(output, 0.9); }, 120s)) << "No complete " << output;
    ASSERT_TRUE(RunEnded());

    ASSERT_NO_FATAL_FAILURE(DeselectTheRow());
    Image before;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Image now = FDesktop.Grab(NameCell());
            const bool settled = now == before;
            before = now;
            return settled;
        },
        10s));
    ASSERT_NO_FATAL_FAILURE(SelectTheRow());
    ASSERT_NO_FATAL_FAILURE(DeselectTheRow());
    EXPECT_TRUE(WaitUntil([&] { return FDesktop.Grab(NameCell()) == before; }, 10s))
        << "The row's name changed when it was selected";
    EXPECT_EQ(FilesIn(FProgram->OutputFolder()), std::set<std::string>{"clip.avi"});
    CloseProgram();
}

// 直接覆盖输出文件 on and the output folder the input's: the output is
// numbered beside the input, whose bytes stay as they were.
TEST_F(OutputNamesTest, ARunInTheInputsFolderLeavesTheInputAsItWas) {
    const std::string program = Folder() + "/program";
    ProgramSetup setup;
    setup.OptionIni = "[OutPath]\nOutPath=" + program + "\n[Options]\nOverwrite_File=0\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram(setup));
    const std::string input = program + "/sd43.avi";
    MakeClip(input, "320x240", 2);
    const std::string source = FileBytes(input);
    ASSERT_NO_FATAL_FAILURE(AddTheRow("sd43.avi"));
    FDesktop.Click(MainControl("qxSkinButton2").Center());
    const std::string output = program + "/sd43_1.avi";
    // Either the output beside the input, or the input written over.
    ASSERT_TRUE(WaitUntil([&] { return FileBytes(input) != source || IsCompleteMedia(output, 1.9); }, 120s))
        << "No complete " << output;
    ASSERT_TRUE(RunEnded());
    EXPECT_TRUE(FileBytes(input) == source) << "The input was written over";
    EXPECT_TRUE(IsCompleteMedia(input, 1.9));
    CloseProgram();
}

// AMR, whose encoder the libraries lack, picked for a row of MP3: a "提示"
// box says so and Return dismisses it, and 开始 writes the row's MP3, and
// nothing else.
TEST_F(OutputNamesTest, AFormatWithoutItsEncoderIsRefusedAndTheRowStillConverts) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    MakeClip(FProgram->Folder() + "/clip.avi");
    ASSERT_NO_FATAL_FAILURE(AddTheRow("clip.avi"));
    ASSERT_NO_FATAL_FAILURE(SelectTheRow());
    // 音频格式, the last category: its first format, MP3, is the row's.
    ASSERT_NO_FATAL_FAILURE(PickLastItem("qxSkinOfficeComboBox2"));

    const std::vector<Window> before = FDesktop.Clients();
    // AMR, the category's last format.
    ASSERT_NO_FATAL_FAILURE(PickLastItem("qxSkinOfficeComboBox1"));
    const Window box = FDesktop.WaitForNewClient(before, 20s);
    ASSERT_NE(box, 0u) << "Nothing refused the format";
    EXPECT_EQ(FDesktop.Title(box), "提示");
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<long> active = FDesktop.Cardinals(FDesktop.Root(), "_NET_ACTIVE_WINDOW");
            return !active.empty() && Window(active[0]) == box;
        },
        10s))
        << "The box is not active";
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(box, 10s)) << "Return did not dismiss the box";

    FDesktop.Click(MainControl("qxSkinButton2").Center());
    const std::string output = FProgram->OutputFolder() + "/clip.mp3";
    ASSERT_TRUE(WaitUntil([&] { return IsCompleteMedia(output, 0.9); }, 120s)) << "No complete " << output;
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(FilesIn(FProgram->OutputFolder()), std::set<std::string>{"clip.mp3"});
    CloseProgram();
}

}  // namespace
}  // namespace acceptance
