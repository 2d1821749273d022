// The shell views on the memory back end over a temporary folder: a folder
// of 10,000 files filled into the report-view list and painted, filtered,
// re-sorted by a column click, a tree node expanding to 2,000
// subfolders, and the open dialog from Execute to its first complete paint
// on the 10,000 files. Each reports "of_bitblt": a BitBlt of the control's area onto
// its window, timed in the same run, divided by the operation's time (1: as
// fast as copying the area once; 0.01: a hundred copies' time).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/bitblt_ratio.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/forms.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/dialogs/qxskinshelllist.h"

namespace {

using namespace win;

using bench::BitBltSeconds;
using bench::Timed;

// The folders, made once: 10,000 files of four kinds, and two folders of
// 2,000 subfolders each.
const std::string& Tree() {
    static const std::string root = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velqua-shellbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::filesystem::create_directories(pattern + "/files");
        const char* kinds[] = {".avi", ".mp4", ".txt", ".mp3"};
        for (int i = 0; i < 10000; ++i)
            std::ofstream(pattern + "/files/file" + std::to_string(i) + kinds[i % 4]) << std::string(size_t(i % 97), 'x');
        for (const char* side : {"/a/", "/b/"})
            for (int i = 0; i < 2000; ++i) std::filesystem::create_directories(pattern + side + "sub" + std::to_string(i));
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(root, error);
        });
        return pattern;
    }();
    return root;
}

class TTestList : public TqxSkinFileListView {
public:
    using TqxSkinFileListView::ColClick;
    using TqxSkinFileListView::TqxSkinFileListView;
};

struct TBench {
    TBench() {
        driver::Reset();
        Free(Application);
        Free(Screen);
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 827, 489);
        Form->Show();
    }
    ~TBench() { delete Form; }
    TForm* Form;
};

// A report-view list of 600 x 400 on the bench's form.
TTestList* ReportList(TBench& ABench) {
    auto* list = new TTestList(ABench.Form);
    list->SetBounds(0, 0, 600, 400);
    list->SetParent(ABench.Form);
    list->SetViewStyle(vsReport);
    return list;
}

void ListFillAndPaint(benchmark::State& AState) {
    const String folder = UTF8ToString(Tree() + "/files");
    TBench bench;
    TTestList* list = ReportList(bench);
    list->SetMask(u"*.*");
    const double blit = BitBltSeconds(list->Handle(), 600, 400);
    Timed(AState, blit, [&] {
        list->SetPath(folder);
        list->Repaint();
    });
    AState.counters["rows"] = list->FolderCount();
}

void ListFilter(benchmark::State& AState) {
    TBench bench;
    TTestList* list = ReportList(bench);
    list->SetPath(UTF8ToString(Tree() + "/files"));
    const double blit = BitBltSeconds(list->Handle(), 600, 400);
    bool videos = false;
    Timed(AState, blit, [&] {
        videos = !videos;
        list->SetMask(videos ? u"*.avi;*.mp4" : u"*.*");
    });
}

void ListColumnSort(benchmark::State& AState) {
    TBench bench;
    TTestList* list = ReportList(bench);
    list->SetPath(UTF8ToString(Tree() + "/files"));
    const double blit = BitBltSeconds(list->Handle(), 600, 400);
    Timed(AState, blit, [&] {
        list->ColClick(list->Columns()->Items(1));
        list->Repaint();
    });
}

void TreeExpand(benchmark::State& AState) {
    TBench bench;
    auto* tree = new TqxSkinDirTreeView(bench.Form);
    tree->SetBounds(0, 0, 250, 400);
    tree->SetParent(bench.Form);
    const double blit = BitBltSeconds(tree->Handle(), 250, 400);
    bool a = false;
    Timed(AState, blit, [&] {
        a = !a;
        tree->SetRoot(UTF8ToString(Tree() + (a ? "/a" : "/b")));
        tree->Repaint();
    });
    AState.counters["nodes"] = tree->Items()->Count();
}

// Execute until the dialog is shown with nothing left to paint: the modal
// loop idles only once every paint is done. The BitBlt is of the dialog's
// area, onto the bench's form.
void OpenDialogFirstPaint(benchmark::State& AState) {
    using Clock = std::chrono::steady_clock;
    TBench bench;
    TqxSkinOpenDialog dialog(nullptr);
    dialog.SetFileName(UTF8ToString(Tree() + "/files/"));
    double total = 0;
    Integer rows = 0, width = 0, height = 0;
    for (auto _ : AState) {
        Clock::time_point start;
        std::chrono::duration<double> elapsed{};
        Application->OnIdle = [&](TObject*, bool&) {
            auto* form = dynamic_cast<TqxOpenDlgForm*>(Screen->ActiveCustomForm());
            if (!form || form->ModalResult() != mrNone) return;
            elapsed = Clock::now() - start;
            width = form->Width();
            height = form->Height();
            rows = form->FileListView->FolderCount();
            form->SetModalResult(mrCancel);
        };
        start = Clock::now();
        dialog.Execute();
        Application->OnIdle = nullptr;
        AState.SetIterationTime(elapsed.count());
        total += elapsed.count();
    }
    const double blit = BitBltSeconds(bench.Form->Handle(), width, height);
    AState.counters["of_bitblt"] = blit / (total / double(AState.iterations()));
    AState.counters["rows"] = rows;
}

}  // namespace

BENCHMARK(OpenDialogFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(ListFillAndPaint)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListFilter)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListColumnSort)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(TreeExpand)->Unit(benchmark::kMillisecond)->Iterations(5);
