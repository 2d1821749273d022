// The program stays up: thousands of files added at once under the usual
// descriptor limit, and a skin list with a broken skin file.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "acceptance.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

// The descriptors the program holds now: its process is the velqua whose
// working folder is the program folder. -1 when there is none.
long ProgramDescriptors(const std::string& AFolder) {
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
        std::error_code error;
        if (fs::read_symlink(process.path() / "cwd", error) != fs::path(AFolder) || error) continue;
        if (fs::read_symlink(process.path() / "exe", error).filename() != "velqua" || error) continue;
        return std::distance(fs::directory_iterator(process.path() / "fd", error), fs::directory_iterator());
    }
    return -1;
}

// The usual desktop limit of 1,024 descriptors for what starts while it lives.
class UsualDescriptorLimit {
public:
    UsualDescriptorLimit() {
        getrlimit(RLIMIT_NOFILE, &FSaved);
        rlimit usual = FSaved;
        usual.rlim_cur = std::min<rlim_t>(FSaved.rlim_max, 1024);
        setrlimit(RLIMIT_NOFILE, &usual);
    }
    ~UsualDescriptorLimit() { setrlimit(RLIMIT_NOFILE, &FSaved); }
    UsualDescriptorLimit(const UsualDescriptorLimit&) = delete;
    UsualDescriptorLimit& operator=(const UsualDescriptorLimit&) = delete;

private:
    rlimit FSaved{};
};

using StayingUpTest = ProgramTest;

// 2,000 files chosen at once in 添加多个文件: every one is added without a
// word, the program holds no more descriptors than before, and the last one
// still opens in the preview.
TEST_F(StayingUpTest, TwoThousandFilesAddedAtOnceAndThePreviewStillOpens) {
    {
        const UsualDescriptorLimit limit;
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }
    const std::string folder = FProgram->Folder() + "/many";
    fs::create_directories(folder);
    MakeMedia(folder + "/c0000.avi", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=0.3"});
    for (int i = 1; i < 2000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/c%04d.avi", i);
        fs::create_hard_link(folder + "/c0000.avi", folder + name);
    }
    const long before = ProgramDescriptors(FProgram->Folder());
    ASSERT_GT(before, 0);
    const Rect preview = MainControl("Panel6");
    const Image idlePreview = FDesktop.Grab(preview);

    ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(1));
    const Window dialog = FDesktop.WaitForClient("打开文件");
    ASSERT_NE(dialog, 0u) << "The open dialog did not open";
    // The list of files, under the 查找范围 row; each step waits for the list
    // to show that it was taken.
    const Rect bounds = FDesktop.Bounds(dialog);
    const Rect list{bounds.x + 4, bounds.y + 58, bounds.w - 8, 160};
    const auto changes = [&](const std::function<void()>& AStep, const char* AWhat) {
        const Image before = FDesktop.Grab(list);
        AStep();
        return WaitUntil([&] { return FDesktop.Grab(list) != before; }, 60s)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << AWhat;
    };
    ASSERT_TRUE(changes(
        [&] {
            FDesktop.Type(folder + "/");
            FDesktop.Key("Return");
        },
        "The dialog did not show the folder"));
    // The first file of the folder, top left of the list, then all to the last.
    ASSERT_TRUE(changes([&] { FDesktop.Click(bounds.At(46, 64)); }, "The first file was not selected"));
    ASSERT_TRUE(
        changes([&] { FDesktop.Key("End", {"Shift_L"}); }, "The files were not selected to the last"));
    const std::vector<Window> clients = FDesktop.Clients();
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(dialog, 60s)) << "The open dialog did not close";

    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(preview) != idlePreview; }, 120s))
        << "The preview never showed the last file";
    EXPECT_TRUE(FProgram->Running());
    // No box: nothing failed on the way.
    EXPECT_EQ(FDesktop.WaitForNewClient(clients, 1s), 0u);
    EXPECT_LE(ProgramDescriptors(FProgram->Folder()), before + 8);
    CloseProgram();
}

// A skin file of the program's list cut in half, while the settings ask for
// that very skin: one box names it, and the program starts in the other.
TEST_F(StayingUpTest, ABrokenSkinFileIsLeftOutAndTheProgramStarts) {
    FProgram = std::make_unique<Program>(FDesktop, Folder(), InSkin(1));
    const fs::path skin = FProgram->Folder() + "/resources/skins/second.skn";
    fs::resize_file(skin, fs::file_size(skin) / 2);
    const std::vector<Window> clients = FDesktop.Clients();
    FProgram->Start();

    const Window box = FDesktop.WaitForNewClient(clients, 60s);
    ASSERT_NE(box, 0u) << "No box told of the broken skin. The program said:\n" << FProgram->Log();
    EXPECT_NE(FDesktop.Title(box), MainTitle);
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(box));
    FMain = FProgram->WaitForMainWindow();
    ASSERT_NE(FMain, 0u) << "The main window never showed. The program said:\n" << FProgram->Log();
    EXPECT_EQ(FProgram->Log().find("Stream read error"), std::string::npos) << FProgram->Log();
    CloseProgram();
}

}  // namespace
}  // namespace acceptance
