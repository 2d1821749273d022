// The shared fixture of the acceptance tests: a test starts the real program
// on the desktop the runner gave it and uses it as a user does. See
// desktop.h (windows, input, pixels), program.h (one run of the program),
// formlayout.h (where a form's controls are) and media.h (clips, ffprobe).
//
// A test that fails leaves its folder (under TEST_TMPDIR) with failure.png,
// a screenshot of the moment it failed, and the program's log; one that
// passes removes it. Every test ends by closing the program, which must end
// cleanly (exit status 0, no sanitizer report in its log).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop.h"
#include "formlayout.h"
#include "media.h"
#include "program.h"

namespace acceptance {

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    void SetUp() override;
    void TearDown() override;

    // Starts the program and waits for its main window (fatal when it never
    // shows: check with ASSERT_NO_FATAL_FAILURE).
    void StartProgram(ProgramSetup ASetup = {});
    // Closes the program and checks that it ended cleanly, within ALimit.
    void CloseProgram(std::chrono::milliseconds ALimit = 30s);

    // The test's own folder; the program's is FProgram->Folder().
    const std::string& Folder() const { return FFolder; }
    // The main window's bounds now.
    Rect MainBounds() const { return FDesktop.Bounds(FMain); }
    // A control of the main window (named as in its form description), on
    // the screen.
    Rect MainControl(const std::string& AName) const;
    // Picks item AIndex of the main menu's 文件 menu (0 添加一个文件,
    // 1 添加多个文件, 2 添加整个目录) with the keyboard, as a user who knows
    // the menus does.
    void PickFileMenuItem(int AIndex);
    // Adds one file through 添加一个文件, typing its name in the open dialog
    // (the file must be in the folder the dialog shows: the program's).
    void AddFileByName(const std::string& AName);
    // Makes a short clip AName in the program's folder, adds it and waits
    // for 开始 to be enabled; gives 开始's place.
    Rect AddClip(const std::string& AName);

    Desktop FDesktop;
    FormLayout FMainForm;
    std::unique_ptr<Program> FProgram;
    Window FMain = 0;

private:
    std::string FFolder;
    bool FClosed = false;
};

}  // namespace acceptance
