// The skinned frame on the memory back end, each cost a ratio to a
// yardstick measured in the same run:
// - "x_bitblt" for the frame paint of an 827 x 489 form (the main window's
//   size; active and inactive) and for one size step (geometry and the
//   second skin's mask region): its time over one BitBlt of the whole window;
// - "x_repaint" for a skin switch (default <-> second) of a form holding
//   the main window's skinned controls: its time over one full repaint of
//   that form;
// - "x_bitblt" also for opening a skinned popup menu of 30 items with images
//   and one submenu (layout, background, rows) and for a skinned hint's
//   activation with a title and an image (size, region, paint): their time
//   over one BitBlt of the window's area;
// - "x_bitblt" for a ribbon of three tabs with pages of six buttons and
//   three button items: one repaint of the bar, and one tab switch (the
//   pages swap, the bar and the new page repaint), over one BitBlt of the
//   bar's area;
// - "x_bitblt" also for one size step of the second skin's layered frame
//   (its four images rebuilt and uploaded): its time over one BitBlt of as
//   many pixels as the four images hold;
// - "x_repaint" for tiling twenty skinned MDI children of an MDI form of the
//   main window's size with a tabs bar: its time over one full repaint of
//   that form; "x_bitblt" for switching the active child by a press on its
//   tab: its time over one BitBlt of the whole window.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "platform/base/clock.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/win/painting.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/ribbon.h"
#include "skin/forms/layeredframe.h"
#include "skin/forms/mditabsbar.h"
#include "skin/forms/skinhint.h"
#include "skin/forms/skinmenus.h"
#include "skinfixtures.h"

using namespace win;
using namespace skinfixtures;

namespace {

using Clock = std::chrono::steady_clock;
constexpr Integer Width = 827;
constexpr Integer Height = 489;

// Seconds per call of AWork, over at least half a second.
template <typename F>
double SecondsPerCall(F AWork) {
    AWork();
    size_t calls = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> elapsed{};
    while (elapsed.count() < 0.5) {
        for (int i = 0; i < 10; ++i)
            AWork();
        calls += 10;
        elapsed = Clock::now() - start;
    }
    return elapsed.count() / double(calls);
}

// Runs AWork per iteration and reports its time over AYardstick's.
template <typename F>
void Ratio(benchmark::State& AState, const char* ACounter, double AYardstick, F AWork) {
    const Clock::time_point start = Clock::now();
    for (auto _ : AState)
        AWork();
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    AState.counters[ACounter] = elapsed.count() / double(AState.iterations()) / AYardstick;
}

// A desktop with the main window's form: its skinned buttons and the file
// list with its two scroll bars, and a second form to take the activation.
struct TDesktop {
    TDesktop() {
        UseTestClock(1000);
        driver::Reset();
        Free(Application);
        Free(Screen);
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        Default = StoredSkin(CompressedSkin(ProjectSkin(u"default")));
        Second = StoredSkin(CompressedSkin(ProjectSkin(u"second")));
        Skin = new TqxSkinData(Application);
        Skin->LoadCompressedStoredSkin(Default.get());
        Form = new TForm(Application);
        Form->SetBoundsRect(Bounds(40, 40, Width, Height));
        Component = new TqxDravenfold(Form);
        Component->SetSkinData(Skin);
        for (Integer i = 0; i < 12; ++i) {
            auto* button = new TqxSkinButton(Form);
            button->SetParent(Form);
            button->SetSkinData(Skin);
            button->SetBounds(10 + (i % 6) * 100, 10 + (i / 6) * 36, 90, 30);
            button->SetCaption(u"添加文件");
        }
        auto* list = new TqxSkinListView(Form);
        list->SetParent(Form);
        list->SetBounds(10, 90, 750, 310);
        list->SetViewStyle(vsReport);
        list->SetHeaderSkinDataName(u"resizetoolbutton");
        list->SetSkinData(Skin);
        for (const char16_t* caption : {u"文件名", u"时长", u"大小", u"输出文件", u"进度"}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(140);
        }
        for (Integer i = 0; i < 30; ++i) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(u"/home/用户/视频/0000" + IntToStr(i % 10) + u".MTS");
            for (const char16_t* text : {u"00:01:10", u"40.5 MB", u"输出.mp4", u"等待"})
                item->SubItems()->Add(text);
        }
        for (const bool vertical : {true, false}) {
            auto* bar = new TqxSkinScrollBar(Form);
            bar->SetParent(Form);
            if (vertical) {
                bar->SetKind(sbVertical);
                bar->SetSkinDataName(u"vscrollbar");
            }
            bar->SetSkinData(Skin);
            bar->SetBounds(vertical ? 760 : 10, vertical ? 90 : 400, vertical ? 17 : 750, vertical ? 310 : 17);
            if (vertical)
                list->SetVScrollBar(bar);
            else
                list->SetHScrollBar(bar);
        }
        Form->Show();
        Other = new TForm(Application);
        Other->SetBoundsRect(Bounds(900, 600, 200, 100));
        driver::Pump();
    }

    std::unique_ptr<TqxCompressedStoredSkin> Default;
    std::unique_ptr<TqxCompressedStoredSkin> Second;
    TqxSkinData* Skin = nullptr;
    TForm* Form = nullptr;
    TForm* Other = nullptr;
    TqxDravenfold* Component = nullptr;
};

TDesktop& Desktop() {
    static TDesktop desktop;
    return desktop;
}

// One BitBlt of AWidth x AHeight onto the form's window from a memory bitmap.
double BlitSeconds(Integer AWidth, Integer AHeight) {
    TDesktop& d = Desktop();
    HDC source = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(AWidth, AHeight, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    const HWND window = d.Form->Handle();
    HDC target = GetWindowDC(window);
    const double result =
        SecondsPerCall([&] { BitBlt(target, 0, 0, AWidth, AHeight, source, 0, 0, SRCCOPY); });
    ReleaseDC(window, target);
    SelectObject(source, old);
    DeleteObject(bitmap);
    DeleteDC(source);
    return result;
}

// One BitBlt of the whole 827 x 489 window.
double BlitSeconds() {
    static const double seconds = BlitSeconds(Width, Height);
    return seconds;
}

// A list of one 16 x 16 image.
TCustomImageList* OneImage(TComponent* AOwner) {
    auto* images = new TCustomImageList(16, 16, AOwner);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(TColor(0x2E9A3A));
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&picture, nullptr);
    return images;
}

void Activate(TForm* AForm) {
    AForm->Show();
    AForm->SetFocus();
    driver::Pump();
}

void BM_FramePaint(benchmark::State& AState, bool AActive) {
    TDesktop& d = Desktop();
    Activate(AActive ? d.Form : d.Other);
    const double blit = BlitSeconds();
    Ratio(AState, "x_bitblt", blit, [&] { d.Component->PaintNCSkin(nullptr, false); });
}

void BM_SizeStep(benchmark::State& AState) {
    TDesktop& d = Desktop();
    d.Skin->LoadCompressedStoredSkin(d.Second.get());
    driver::Pump();
    const double blit = BlitSeconds();
    Integer step = 0;
    Ratio(AState, "x_bitblt", blit, [&] {
        d.Component->FFormWidth = Width + (++step & 1);
        d.Component->CalcSkinRects();
        d.Component->ArrangeObjects();
        d.Component->UpdateSkinRegion(true);
    });
    d.Skin->LoadCompressedStoredSkin(d.Default.get());
    driver::Pump();
}

void BM_LayeredFrameStep(benchmark::State& AState) {
    TDesktop& d = Desktop();
    Activate(d.Form);
    d.Skin->LoadCompressedStoredSkin(d.Second.get());
    driver::Pump();
    TqxFormLayerBorder* frame = d.Component->FBorderLayer;
    if (!frame->Visible()) {
        AState.SkipWithError("no layered frame on this back end");
        return;
    }
    Integer pixels = 0;
    for (TqxFormLayerWindow* window : {frame->LeftBorder, frame->TopBorder, frame->RightBorder, frame->BottomBorder}) {
        const SIZE size = driver::Layered(window->Handle()).UploadSize;
        pixels += size.cx * size.cy;
    }
    const Integer frameWidth = frame->FWidth;
    AState.SetLabel(std::to_string(pixels) + " pixels");
    const double blit = BlitSeconds(frameWidth, pixels / frameWidth);
    Integer step = 0;
    Ratio(AState, "x_bitblt", blit,
          [&] { frame->SetBoundsWithForm3(d.Form->Left(), d.Form->Top(), Width + (++step & 1), Height); });
    d.Skin->LoadCompressedStoredSkin(d.Default.get());
    driver::Pump();
}

void BM_SkinSwitch(benchmark::State& AState) {
    TDesktop& d = Desktop();
    const HWND window = d.Form->Handle();
    const auto repaint = [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    const double full = SecondsPerCall(repaint);
    bool second = false;
    Ratio(AState, "x_repaint", full, [&] {
        second = !second;
        d.Skin->LoadCompressedStoredSkin(second ? d.Second.get() : d.Default.get());
        driver::Pump();
    });
    if (second) d.Skin->LoadCompressedStoredSkin(d.Default.get());
}

void BM_PopupMenuOpen(benchmark::State& AState) {
    TDesktop& d = Desktop();
    Activate(d.Form);
    auto* menu = new TqxSkinPopupMenu(d.Form);
    menu->SetImages(OneImage(menu));
    for (Integer i = 0; i < 30; ++i) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(u"转换为格式 " + IntToStr(i + 1));
        item->SetImageIndex(0);
        menu->Items()->Add(item);
        if (i != 10) continue;
        auto* child = new TMenuItem(menu);
        child->SetCaption(u"子项");
        item->Add(child);
    }
    auto* skinMenu = dynamic_cast<TqxSkinMenu*>(d.Component->SkinMenu());
    menu->Popup2(d.Form, 100, 60);
    driver::Pump();
    const HWND window = skinMenu->PopupWindow(0)->Handle();
    const TRect area = ToTRect(driver::Inspect(window).Bounds);
    skinMenu->Hide();
    AState.SetLabel(std::to_string(area.Width()) + "x" + std::to_string(area.Height()));
    const double blit = BlitSeconds(area.Width(), area.Height());
    Ratio(AState, "x_bitblt", blit, [&] {
        menu->Popup2(d.Form, 100, 60);
        driver::Pump();
        skinMenu->Hide();
    });
    Free(menu);
}

void BM_HintActivation(benchmark::State& AState) {
    TDesktop& d = Desktop();
    // Hints come from the main form's hint component.
    if (!Application->MainForm()) {
        TForm* main = nullptr;
        Application->CreateForm(main);
    }
    auto* hint = new TqxSkinHint(Application->MainForm());
    hint->SetSkinData(d.Skin);
    TCustomImageList* images = OneImage(hint);
    const auto show = [&] {
        hint->ActivateHintEx(Point(300, 300), u"输出格式", u"选择转换后的文件格式@右侧箭头打开格式菜单", 0, images);
    };
    show();
    driver::Pump();
    const TRect area = ToTRect(driver::Inspect(hint->Window()->Handle()).Bounds);
    hint->HideHint();
    AState.SetLabel(std::to_string(area.Width()) + "x" + std::to_string(area.Height()));
    const double blit = BlitSeconds(area.Width(), area.Height());
    Ratio(AState, "x_bitblt", blit, [&] {
        show();
        driver::Pump();
        hint->HideHint();
    });
    Free(hint);
}

// A form of the main window's size with a skinned ribbon: three tabs, each
// page with six buttons, three button items.
TqxRibbon* RibbonForm() {
    static TqxRibbon* ribbon = [] {
        TDesktop& d = Desktop();
        auto* form = new TForm(Application);
        form->SetBoundsRect(Bounds(60, 60, Width, Height));
        auto* component = new TqxDravenfold(form);
        component->SetSkinData(d.Skin);
        auto* bar = new TqxRibbon(form);
        bar->SetParent(form);
        bar->SetSkinData(d.Skin);
        component->SetSkinRibbon(bar);
        for (const char16_t* caption : {u"开始", u"转换", u"视图"}) {
            TqxRibbonTab* tab = bar->Tabs()->Add();
            tab->Page()->SetCaption(caption);
            for (Integer i = 0; i < 6; ++i) {
                auto* button = new TqxSkinButton(form);
                button->SetParent(tab->Page());
                button->SetSkinData(d.Skin);
                button->SetBounds(8 + i * 92, 10, 86, 56);
                button->SetCaption(u"添加文件");
            }
        }
        bar->SetButtonsImageList(OneImage(form));
        for (Integer i = 0; i < 3; ++i)
            bar->Buttons()->Add()->SetImageIndex(0);
        form->Show();
        driver::Pump();
        return bar;
    }();
    return ribbon;
}

void BM_RibbonRepaint(benchmark::State& AState) {
    TqxRibbon* ribbon = RibbonForm();
    AState.SetLabel(std::to_string(ribbon->Width()) + "x" + std::to_string(ribbon->Height()));
    const double blit = BlitSeconds(ribbon->Width(), ribbon->Height());
    Ratio(AState, "x_bitblt", blit, [&] { ribbon->Repaint(); });
}

void BM_RibbonTabSwitch(benchmark::State& AState) {
    TqxRibbon* ribbon = RibbonForm();
    const double blit = BlitSeconds(ribbon->Width(), ribbon->Height());
    Integer next = 0;
    Ratio(AState, "x_bitblt", blit, [&] {
        next = (next + 1) % 3;
        ribbon->SetTabIndex(next);
        driver::Pump();
    });
}

// An MDI main form of the main window's size with a tabs bar and twenty
// skinned children; the application's main form becomes an MDI form.
struct TMDIDesktop {
    TMDIDesktop() {
        TDesktop& d = Desktop();
        if (!Application->MainForm()) {
            TForm* main = nullptr;
            Application->CreateForm(main);
        }
        Main = static_cast<TForm*>(Application->MainForm());
        Main->SetFormStyle(fsMDIForm);
        Main->SetBoundsRect(Bounds(40, 40, Width, Height));
        if (!FindDravenfold(Main)) new TqxDravenfold(Main);
        Component = FindDravenfold(Main);
        Component->SetSkinData(d.Skin);
        Tabs = new TqxSkinMDITabsBar(Main);
        Tabs->SetAlign(alTop);
        Tabs->SetSkinData(d.Skin);
        Tabs->SetShowCloseButtons(true);
        Tabs->SetParent(Main);
        Component->SetMDITabsBar(Tabs);
        Main->Show();
        for (Integer i = 0; i < 20; ++i) {
            auto* child = new TForm(Application);
            child->SetFormStyle(fsMDIChild);
            child->SetCaption(u"文档 " + IntToStr(i + 1));
            child->SetBounds(i * 8, i * 8, 300, 200);
            (new TqxDravenfold(child))->SetSkinData(d.Skin);
            auto* button = new TqxSkinButton(child);
            button->SetParent(child);
            button->SetSkinData(d.Skin);
            button->SetBounds(10, 10, 90, 30);
            button->SetCaption(u"关闭");
            child->Show();
        }
        driver::Pump();
    }
    TForm* Main = nullptr;
    TqxDravenfold* Component = nullptr;
    TqxSkinMDITabsBar* Tabs = nullptr;
};

TMDIDesktop& MDIDesktop() {
    static TMDIDesktop desktop;
    return desktop;
}

void BM_MDITile(benchmark::State& AState) {
    TMDIDesktop& m = MDIDesktop();
    const HWND window = m.Main->Handle();
    const double full = SecondsPerCall([&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    bool vertical = false;
    Ratio(AState, "x_repaint", full, [&] {
        // Each run lays the children out anew.
        vertical = !vertical;
        m.Component->SetTileMode(vertical ? tbVertical : tbHorizontal);
        m.Component->Tile();
        driver::Pump();
    });
}

void BM_MDITabSwitch(benchmark::State& AState) {
    TMDIDesktop& m = MDIDesktop();
    const double blit = BlitSeconds();
    m.Tabs->CalcTabs();
    Integer tab = 0;
    Ratio(AState, "x_bitblt", blit, [&] {
        tab = (tab + 7) % m.Tabs->TabCount();
        const TRect r = m.Tabs->Tabs(tab)->ObjectRect;
        m.Tabs->MouseDown(mbLeft, {}, r.Left + 4, r.Top + 4);
        m.Tabs->MouseUp(mbLeft, {}, r.Left + 4, r.Top + 4);
        driver::Pump();
    });
}

}  // namespace

BENCHMARK(BM_RibbonRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RibbonTabSwitch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MDITile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MDITabSwitch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PopupMenuOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HintActivation)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FramePaint, active, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FramePaint, inactive, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SizeStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LayeredFrameStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinSwitch)->Unit(benchmark::kMillisecond);
