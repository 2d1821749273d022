// A fresh folder per test, removed after it, for the output-name rules.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/ustring.h"

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        // Suite and test name: the test programs run side by side.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        FFolder = std::filesystem::path(::testing::TempDir()) /
                  ("velqua-app-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(FFolder);
        std::filesystem::create_directories(FFolder);
        Folder = UTF8ToString(FFolder.string());
    }
    void TearDown() override { std::filesystem::remove_all(FFolder); }
    void Touch(const char* AName) { std::ofstream(FFolder / AName) << "x"; }
    void MakeFolder(const char* AName) { std::filesystem::create_directory(FFolder / AName); }
    String In(const char16_t* AName) const { return Folder + u"/" + AName; }

    String Folder;

private:
    std::filesystem::path FFolder;
};
