// The program's forms on the memory back end, over a temporary program
// folder and home, with the build's form descriptions, pictures and skins:
// - start-up in each skin: from the application object's creation to the
//   main window's first complete paint (descriptions read, skin loaded,
//   FormCreate run, the window shown and painted); target under 300 ms;
// - a skin switch, qxSkinData1 between its skins 0 and 1, until the shown
//   main window has repainted; target under 100 ms;
// - "设置..." to the preset dialog's first complete paint: the main
//   window's choice handed to the dialog (its pickers' handlers run) and
//   the dialog's modal run until it has painted.
// Each reports "of_bitblt": a BitBlt of the form's area onto its window,
// timed in the same run, divided by the operation's time (1: as fast as
// copying the area once; 0.01: a hundred copies' time), and "ms", the time
// itself beside its target.
// - adding 5,000 small files (names of one tiny clip) at once, under the
//   usual limit of 1,024 descriptors: "of_probe" is one probe of the clip,
//   timed in the same run, divided by the time per file; beside it the time
//   per file, the memory each row costs, the descriptors before and after
//   and the rows added.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/aboutform.h"
#include "app/formatchoice.h"
#include "app/mainform.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/program.h"
#include "app/settingsdialog.h"
#include "bench/bitblt_ratio.h"
#include "media/avprobe.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/core/qxskindata.h"

namespace {

namespace fs = std::filesystem;
using namespace win;
using Clock = std::chrono::steady_clock;

// A program folder holding only the settings file, and a home, made once
// and removed at exit.
const fs::path& Scratch() {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "velqua-appbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        fs::create_directories(fs::path(pattern) / "program");
        fs::create_directories(fs::path(pattern) / "home");
        setenv("HOME", (fs::path(pattern) / "home").c_str(), 1);
        SetProgramFolder(UTF8ToString((fs::path(pattern) / "program").string()));
        SetResourceFolder(UTF8ToString(VELQUA_BUILD_DIR "/resources/"));
        std::atexit([] {
            std::error_code error;
            fs::remove_all(root, error);
        });
        return fs::path(pattern);
    }();
    return root;
}

void Shutdown() {
    Application->OnIdle = nullptr;
    Free(Application);
    Free(Screen);
    Application = nullptr;
    Screen = nullptr;
    Form1 = nullptr;
    Form2 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
    PresetDialogTarget = {};
}

// The program started in skin ASkin with its main window shown and painted.
void StartProgram(Integer ASkin) {
    std::ofstream(Scratch() / "program" / "option.ini") << "[Skin]\nSetSkin=" << ASkin << "\n";
    driver::Reset();
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
    CreateProgramForms();
    Form1->Show();
    driver::Pump();
}

double BitBltOf(TCustomForm* AForm) {
    return bench::BitBltSeconds(AForm->Handle(), AForm->Width(), AForm->Height());
}

// Reports the mean of ASeconds over the iterations against AYardstick.
void Report(benchmark::State& AState, double AYardstick, double ASeconds) {
    const double each = ASeconds / double(AState.iterations());
    AState.counters["of_bitblt"] = AYardstick / each;
    AState.counters["ms"] = each * 1000;
}

void StartUp(benchmark::State& AState) {
    const Integer skin = Integer(AState.range(0));
    StartProgram(skin);
    const double yardstick = BitBltOf(Form1);
    Shutdown();
    std::chrono::duration<double> spent{};
    for (auto _ : AState) {
        const Clock::time_point start = Clock::now();
        StartProgram(skin);
        spent += Clock::now() - start;
        AState.PauseTiming();
        Shutdown();
        AState.ResumeTiming();
    }
    Report(AState, yardstick, spent.count());
    AState.SetLabel(skin == 0 ? "default skin, target 300 ms" : "second skin, target 300 ms");
}

void SkinSwitch(benchmark::State& AState) {
    StartProgram(0);
    const double yardstick = BitBltOf(Form1);
    std::chrono::duration<double> spent{};
    for (auto _ : AState) {
        const Clock::time_point start = Clock::now();
        Form1->qxSkinData1->SetSkinIndex(1 - Form1->qxSkinData1->SkinIndex());
        driver::Pump();
        spent += Clock::now() - start;
    }
    Report(AState, yardstick, spent.count());
    AState.SetLabel("0 <-> 1, target 100 ms");
    Shutdown();
}

void PresetDialogOpen(benchmark::State& AState) {
    StartProgram(0);
    // The dialog's modal run ends once nothing is left to do: it has painted.
    Application->OnIdle = [](TObject*, bool&) {
        if (Form7->Modal()) Form7->SetModalResult(mrCancel);
    };
    Form7->Show();
    driver::Pump();
    const double yardstick = BitBltOf(Form7);
    Form7->Hide();
    driver::Pump();
    std::chrono::duration<double> spent{};
    for (auto _ : AState) {
        const Clock::time_point start = Clock::now();
        formatchoice::CopyChoice(Form1->FormatControls(), Form7->Controls());
        Form7->ShowModal();
        spent += Clock::now() - start;
    }
    Report(AState, yardstick, spent.count());
    Shutdown();
}

// Every descriptor the limit allows when none is left to look.
long OpenDescriptors() {
    std::error_code error;
    const fs::directory_iterator listing("/proc/self/fd", error);
    if (error) {
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        return long(limit.rlim_cur);
    }
    return std::distance(listing, fs::directory_iterator());
}

long ResidentKiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void AddFiles(benchmark::State& AState) {
    constexpr int kFiles = 5000;
    const fs::path folder = Scratch() / "clips";
    fs::create_directories(folder);
    const std::string clip = (folder / "clip0.avi").string();
    const std::string make =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
        "testsrc=size=64x48:rate=10:duration=0.3 -c:v mpeg4 " +
        clip;
    if (std::system(make.c_str()) != 0) return AState.SkipWithError("ffmpeg could not make the clip");
    std::vector<String> names{UTF8ToString(clip)};
    for (int i = 1; i < kFiles; ++i) {
        const fs::path link = folder / ("clip" + std::to_string(i) + ".avi");
        fs::create_hard_link(clip, link);
        names.push_back(UTF8ToString(link.string()));
    }
    // The usual desktop limit.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1024);
    setrlimit(RLIMIT_NOFILE, &limit);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    StartProgram(0);
    // Boxes are answered at once.
    Application->OnIdle = [](TObject*, bool&) {
        TCustomForm* form = Screen->ActiveCustomForm();
        if (form && form != Form1 && form->ModalResult() == mrNone) form->SetModalResult(mrOk);
    };
    // The libraries loaded and the preview's start made by one add first.
    Form1->AddFiles({names.back()});
    names.pop_back();
    Clock::time_point start = Clock::now();
    TAVProbe probe(nullptr);
    constexpr int kProbes = 50;
    for (int i = 0; i < kProbes; ++i) {
        probe.LoadFile(names[size_t(i)], String());
        probe.CloseFile();
    }
    const double probeSeconds = std::chrono::duration<double>(Clock::now() - start).count() / kProbes;

    const long descriptors = OpenDescriptors(), resident = ResidentKiB();
    const Integer rows = Form1->lvFiles->Items()->Count();
    double seconds = 0;
    for (auto _ : AState) {
        start = Clock::now();
        Form1->AddFiles(names);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    const Integer added = Form1->lvFiles->Items()->Count() - rows;
    AState.counters["of_probe"] = probeSeconds / (seconds / double(names.size()));
    AState.counters["ms_per_file"] = seconds * 1000 / double(names.size());
    AState.counters["KiB_per_row"] = double(ResidentKiB() - resident) / std::max(added, 1);
    AState.counters["fds_before"] = double(descriptors);
    AState.counters["fds_after"] = double(OpenDescriptors());
    AState.counters["rows_added"] = added;
    // As the program closes: the player's last log lines must not reach a
    // window being freed.
    bool close = true;
    Form1->FormCloseQuery(Form1, close);
    Shutdown();
    setrlimit(RLIMIT_NOFILE, &saved);
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(AddFiles)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(StartUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(SkinSwitch)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(PresetDialogOpen)->Unit(benchmark::kMillisecond)->Iterations(20);
