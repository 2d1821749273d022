// The program started on the memory back end: a temporary program folder
// and home, the build's resources, the forms as main creates them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/optionfile.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/program.h"
#include "app/settingsdialog.h"
#include "platform/base/fileutils.h"
#include "platform/base/inifiles.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/memo.h"
#include "platform/win/testdriver.h"

namespace fs = std::filesystem;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder serves each test in turn. Its name is short: fontconfig
        // loses memory when a path under HOME passes 128 bytes.
        FRoot = fs::path(::testing::TempDir()) / "velqua";
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "program");
        fs::create_directories(FRoot / "home");
        FSavedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (FRoot / "home").c_str(), 1);
        SetProgramFolder(UTF8ToString((FRoot / "program").string()));
        SetResourceFolder(UTF8ToString(VELQUA_BUILD_DIR "/resources/"));
        win::driver::Reset();
        // The program's own globals give way to a fresh pair per test.
        Free(Application);
        Free(Screen);
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
    }
    void TearDown() override {
        // A test may have ended the program itself.
        if (Application) Application->OnIdle = nullptr;
        Free(Application);
        Application = nullptr;
        Free(Screen);
        Screen = nullptr;
        Form1 = nullptr;
        Form2 = nullptr;
        Form5 = nullptr;
        Form6 = nullptr;
        Form7 = nullptr;
        PresetDialogTarget = {};
        SetProgramFolder({});
        setenv("HOME", FSavedHome.c_str(), 1);
        fs::remove_all(FRoot);
    }
    // Starts the program and settles its first paints.
    void Start() {
        CreateProgramForms();
        Form1->Show();
        win::driver::Pump();
    }
    void WriteIni(const std::string& AText) { std::ofstream(FRoot / "program" / "option.ini") << AText; }
    String Option(const char16_t* ASection, const char16_t* AKey) {
        return TIniFile(OptionFileName()).ReadString(ASection, AKey, u"(absent)");
    }
    // How many lines of the program's log start with ALine.
    Integer LogCount(const String& ALine) {
        TStrings* lines = Form1->mmoLog->Lines();
        Integer count = 0;
        for (Integer i = 0; i < lines->Count(); ++i)
            count += lines->Strings(i).starts_with(ALine);
        return count;
    }
    String Home(const char16_t* APath) const {
        return UTF8ToString((FRoot / "home").string()) + u"/" + APath;
    }

    fs::path FRoot;
    std::string FSavedHome;
};
