// The program's forms on the X display for a person to look at: the forms
// created by the program's own start-up, and the one named on the command
// line shown by itself.
//
//   formsdemo [--skin default|second] [--clip FILE] [milliseconds] [main|about|options|settings|preset]
//
// main is the main window (TForm1), about the about box (TForm2), options
// the options dialog (TForm5), settings the settings dialog (TForm6), preset
// the preset dialog (TForm7); main by default. The demo runs on a settings
// file of its own in a temporary program folder, so the skin asked for is
// the one the start-up reads, and the program's own settings stay as they
// are; descriptions, pictures and skins come from the build's resources.
// --clip adds FILE to the main window's list as "添加一个文件" does with the
// file chosen, which selects it and previews it in the player.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'build/tools/formsdemo --skin second 4000 preset &
//   sleep 2; import -window root shot.png; wait'
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/program.h"
#include "app/settingsdialog.h"
#include "media/previewform.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"

namespace {

namespace fs = std::filesystem;

const char* const FormNames[] = {"main", "about", "options", "settings", "preset"};

TCustomForm* FormNamed(const std::string& AName) {
    if (AName == "about") return Form2;
    if (AName == "options") return Form5;
    if (AName == "settings") return Form6;
    if (AName == "preset") return Form7;
    return Form1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: formsdemo [--skin default|second] [--clip FILE] [milliseconds] "
                 "[main|about|options|settings|preset]\n");
    return 2;
}

// A program folder of the demo's own, gone when the demo ends.
struct TScratchFolder {
    TScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "velqua-formsdemo-XXXXXX").string();
        if (mkdtemp(pattern.data())) Path = pattern;
    }
    ~TScratchFolder() {
        std::error_code ignored;
        if (!Path.empty()) fs::remove_all(Path, ignored);
    }
    fs::path Path;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string skin = "default";
    if (args.size() >= 2 && args[0] == "--skin") {
        skin = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (skin != "default" && skin != "second") return Usage();
    std::string clip;
    if (args.size() >= 2 && args[0] == "--clip") {
        clip = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    std::string name = "main";
    if (args.size() > 1) {
        name = args[1];
        bool known = false;
        for (const char* form : FormNames) known = known || name == form;
        if (!known) return Usage();
    }
    const TScratchFolder folder;
    if (folder.Path.empty()) {
        std::fprintf(stderr, "formsdemo: no temporary folder for the settings file\n");
        return 1;
    }
    // The start-up reads the skin's position from the settings file.
    std::ofstream(folder.Path / "option.ini") << "[Skin]\nSetSkin=" << (skin == "second" ? 1 : 0) << "\n";
    SetProgramFolder(UTF8ToString(folder.Path.string()));
    SetResourceFolder(UTF8ToString(VELQUA_RESOURCES_FOLDER));
    try {
        win::InstallDisplayBackend();
        InstallPreviewForms();
        CreateProgramForms();
    } catch (const Exception& e) {
        std::fprintf(stderr, "formsdemo: %s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
    Application->SetShowMainForm(false);
    FormNamed(name)->Show();
    if (!clip.empty()) Form1->AddOneFile(ExpandFileName(UTF8ToString(clip)));
    TTimer quit(nullptr);
    quit.SetEnabled(!args.empty());
    if (!args.empty()) quit.SetInterval(Cardinal(std::strtoul(args[0].c_str(), nullptr, 10)));
    quit.OnTimer = [](TObject*) {
        // A box still open ends its modal run first.
        if (TCustomForm* box = Screen->ActiveCustomForm(); box && box->Modal()) box->SetModalResult(mrCancel);
        Application->Terminate();
    };
    Application->Run();
    return 0;
}
