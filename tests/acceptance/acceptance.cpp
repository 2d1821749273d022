#include "acceptance.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace acceptance {

namespace fs = std::filesystem;

ProgramTest::ProgramTest() : FMainForm(std::string(VELQUA_PROGRAM_DIR) + "/resources/forms/TForm1.form") {}

void ProgramTest::SetUp() {
    if (!FDesktop.SkipReason().empty()) {
        if (Desktop::Required()) FAIL() << FDesktop.SkipReason();
        GTEST_SKIP() << FDesktop.SkipReason();
    }
    if (!FDesktop.WaitForWindowManager(20s)) {
        if (Desktop::Required()) FAIL() << "The runner's window manager does not answer";
        GTEST_SKIP() << "No window manager on this display";
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const char* temporary = std::getenv("TEST_TMPDIR");
    FFolder =
        std::string(temporary ? temporary : "/tmp") + "/" + test->test_suite_name() + "." + test->name();
}

void ProgramTest::StartProgram(ProgramSetup ASetup) {
    FProgram = std::make_unique<Program>(FDesktop, FFolder, std::move(ASetup));
    FProgram->Start();
    FMain = FProgram->WaitForMainWindow();
    ASSERT_NE(FMain, 0u) << "The main window never showed. The program said:\n" << FProgram->Log();
}

void ProgramTest::CloseProgram(std::chrono::milliseconds ALimit) {
    if (!FProgram || FClosed) return;
    FClosed = true;
    const int status = FProgram->Close(ALimit);
    const std::string log = FProgram->Log();
    EXPECT_EQ(status, 0) << "The program did not end cleanly. It said:\n" << log;
    for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"})
        EXPECT_EQ(log.find(report), std::string::npos) << "The program's log has a sanitizer report:\n"
                                                       << log;
}

void ProgramTest::TearDown() {
    if (FFolder.empty()) return;
    if (HasFailure()) {
        fs::create_directories(FFolder);
        FDesktop.Screenshot(FFolder + "/failure.png");
        std::cerr << "The screen at the failure: " << FFolder << "/failure.png\n";
    }
    CloseProgram();
    if (HasFailure()) {
        if (FProgram) std::cerr << "The program's log:\n" << FProgram->Log() << "\n";
        return;
    }
    FProgram.reset();
    std::error_code ignored;
    fs::remove_all(FFolder, ignored);
}

Rect ProgramTest::MainControl(const std::string& AName) const {
    const Rect client = FMainForm.Bounds(AName);
    const Point origin = FMainForm.ClientToScreen(MainBounds(), {client.x, client.y});
    return {origin.x, origin.y, client.w, client.h};
}

void ProgramTest::PickFileMenuItem(int AIndex) {
    const std::vector<Window> before = FDesktop.Popups();
    // A lone Alt puts the menu bar in its keyboard mode on 文件; Down opens it
    // with its first item selected.
    FDesktop.Key("Alt_L");
    FDesktop.Key("Down");
    ASSERT_NE(FDesktop.WaitForNewPopup(before), 0u) << "The 文件 menu did not open";
    for (int i = 0; i < AIndex; ++i)
        FDesktop.Key("Down");
    FDesktop.Key("Return");
}

void ProgramTest::AddFileByName(const std::string& AName) {
    ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(0));
    const Window dialog = FDesktop.WaitForClient("打开文件");
    ASSERT_NE(dialog, 0u) << "The open dialog did not open";
    // The name field has the focus when the dialog opens.
    FDesktop.Type(AName);
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(dialog)) << "The open dialog did not close";
}

Rect ProgramTest::AddClip(const std::string& AName) {
    MakeClip(FProgram->Folder() + "/" + AName);
    const Rect start = MainControl("qxSkinButton2");
    const Image idleStart = FDesktop.Grab(start);
    AddFileByName(AName);
    // With a row in the list, 开始 is enabled and drawn so.
    EXPECT_TRUE(WaitUntil([&] { return FDesktop.Grab(start) != idleStart; }, 30s))
        << "开始 never became enabled";
    return start;
}

}  // namespace acceptance
