// A fresh folder per test for the tests that touch files.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/base/ustring.h"

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velqua-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        FFolder = pattern;
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(FFolder, error);
    }

    // A path inside the folder, as the system spells file names.
    String Path(std::u16string_view AName) const { return UTF8ToString(FFolder + "/") + String(AName); }

    static std::string ReadBytes(const String& AFileName) {
        std::ifstream in(StringToUTF8(AFileName), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteBytes(const String& AFileName, std::string_view ABytes) {
        std::ofstream out(StringToUTF8(AFileName), std::ios::binary);
        out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
    }

    std::string FFolder;
};
