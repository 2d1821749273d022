// The skinned controls on the memory back end: a repaint of a form of the
// main window's size (827 x 489) with 24 buttons and the file list (1,000
// rows, two bars) in both project skins and without one, one morph step of
// a button, one thumb-drag step of a 5,000-row list (bar, scroll, rows
// repainted), a combo box of 5,000 items dropped down and its list painted,
// a page step in that open list, and one character typed into an
// edit-style combo box's transparent edit; a repaint of the options dialog's
// page (a page control, twelve check and radio boxes in two group boxes,
// labels) and of the main window's tool bar, one bar step on a drawn-skin
// tree of 5,000 nodes with its visible rows repainted; the category
// picker's drop-down opened (19 rows with PNG images, titles and wrapped
// captions laid out and painted) and the skinned edit's frame and text area
// repainted as the pointer comes and goes. Each reports "of_bitblt": a
// BitBlt of the same area onto the same window, timed in the same run,
// divided by the operation's time (1: as fast as copying the area once;
// 0.1: ten copies' time).
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <map>

#include "platform/base/clock.h"
#include "platform/base/inifiles.h"
#include "platform/base/stringlist.h"
#include "bench/bitblt_ratio.h"
#include "platform/base/sysutils.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpagecontrol.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/controls/qxskinsplitters.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/controls/qxskintreeview.h"
#include "skin/core/qxpngimagelist.h"
#include "skingen.h"

namespace {

using namespace win;

using bench::BitBltSeconds;
using bench::Timed;

// A fresh memory desktop with a form of the main window's size.
class TBench {
public:
    explicit TBench(const char* ASkin) {
        driver::Reset();
        Free(Application);
        Free(Screen);
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 827, 489);
        Form->Show();
        SkinData = new TqxSkinData(Form);
        if (*ASkin) Load(UTF8ToString(ASkin));
    }
    ~TBench() {
        Free(Application);
        Free(Screen);
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        driver::Reset();
        UseSystemClock();
    }
    static void Pump() { Application->ProcessMessages(); }

    // AConfigure runs before the control takes the skin.
    template <typename T>
    T* Add(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
           const std::function<void(T*)>& AConfigure = nullptr) {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(ALeft, ATop, AWidth, AHeight);
        if (AConfigure) AConfigure(control);
        if (!SkinData->Empty) control->SetSkinData(SkinData);
        return control;
    }
    // The file list with its bars: five columns shown, twenty hidden.
    TqxSkinListView* FileList(const TRect& ABounds, Integer ARows) {
        auto* list =
            Add<TqxSkinListView>(ABounds.Left, ABounds.Top, ABounds.Width() - 17, ABounds.Height() - 17);
        list->SetViewStyle(vsReport);
        list->SetGridLines(true);
        list->SetRowSelect(true);
        list->SetHeaderSkinDataName(u"resizetoolbutton");
        const Integer widths[] = {300, 70, 80, 200, 66};
        for (Integer c = 0; c < 25; ++c) {
            TListColumn* column = list->Columns()->Add();
            String caption = u"列";
            caption += IntToStr(c);
            column->SetCaption(caption);
            column->SetWidth(c < 5 ? widths[c] : 0);
            if (c >= 5) column->SetMaxWidth(1);
        }
        list->Items()->BeginUpdate();
        for (Integer r = 0; r < ARows; ++r) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(u"/home/用户/视频/婚礼/0000" + IntToStr(r % 10) + u".MTS");
            item->SubItems()->Add(u"00:02:13");
            item->SubItems()->Add(u"153.2 MB");
            item->SubItems()->Add(u"婚礼_" + IntToStr(r) + u".mp4");
            item->SubItems()->Add(u"等待");
            for (Integer k = 4; k < 24; ++k)
                item->SubItems()->Add(u"");
        }
        list->Items()->EndUpdate();
        auto* vertical = Add<TqxSkinScrollBar>(ABounds.Right - 17, ABounds.Top, 17, ABounds.Height() - 17,
                                               [](TqxSkinScrollBar* ABar) {
                                                   ABar->SetKind(sbVertical);
                                                   ABar->SetSkinDataName(u"vscrollbar");
                                               });
        auto* horizontal = Add<TqxSkinScrollBar>(ABounds.Left, ABounds.Bottom - 17, ABounds.Width() - 17, 17);
        list->SetVScrollBar(vertical);
        list->SetHScrollBar(horizontal);
        return list;
    }

    TForm* Form;
    TqxSkinData* SkinData;

private:
    void Load(const String& AName) {
        const TGeneratedSkin skin = GenerateSkin(AName);
        TStringList lines;
        for (const String& line : skin.Ini)
            lines.Add(line);
        TMemIniFile ini;
        ini.SetStrings(&lines);
        SkinData->LoadFromSkinIni(&ini, [&](const String& AFile, TBitmap* ABitmap) {
            for (const auto& [name, picture] : skin.Pictures)
                if (name == AFile) return ABitmap->Assign(picture.get());
            throw EFOpenError(u"No picture " + AFile);
        });
    }
};

void BM_FormRepaint(benchmark::State& AState, const char* ASkin) {
    TBench bench(ASkin);
    const char16_t* captions[] = {u"添加文件", u"开始转换", u"停止", u"预览", u"选项设置...", u"退出"};
    // Every button paint is counted: a repaint must draw all 24.
    int64_t paints = 0;
    for (Integer i = 0; i < 24; ++i) {
        auto* button = bench.Add<TqxSkinButton>(10 + (i % 8) * 100, 10 + (i / 8) * 36, 96, 30);
        button->SetCaption(captions[i % 6]);
        button->OnPaint = [&](TObject*, TCanvas*, const TRect&, bool, bool, bool&) { ++paints; };
    }
    bench.FileList(Rect(10, 130, 817, 479), 1000);
    TBench::Pump();
    const HWND form = bench.Form->Handle();
    paints = 0;
    Timed(AState, BitBltSeconds(form, 827, 489), [&] {
        RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    AState.counters["button_paints"] = double(paints) / double(AState.iterations());
}

void BM_ButtonMorphStep(benchmark::State& AState) {
    TBench bench("default");
    auto* button = bench.Add<TqxSkinButton>(100, 100, 96, 30);
    button->SetCaption(u"开始转换");
    TBench::Pump();
    const POINT inside{148, 115}, outside{600, 400};
    bool in = false;
    Timed(AState, BitBltSeconds(button->Handle(), 96, 30), [&] {
        // Back and forth between the two looks, one 20 ms step at a time.
        if (!button->MorphRunning()) {
            in = !in;
            driver::MouseMove(in ? inside : outside);
            TBench::Pump();
        }
        driver::AdvanceTime(20);
    });
}

void BM_ThumbDragStep(benchmark::State& AState) {
    TBench bench("default");
    TqxSkinListView* list = bench.FileList(Rect(10, 10, 817, 479), 5000);
    TBench::Pump();
    TqxSkinScrollBar* bar = list->VScrollBar();
    const TRect thumb = bar->Buttons[TqxSkinScrollBar::ThumbButton].R;
    POINT at{8, thumb.Top + thumb.Height() / 2};
    ClientToScreen(bar->Handle(), &at);
    driver::MouseMove(at);
    driver::MouseDown(at);
    TBench::Pump();
    Integer step = 0, scrolls = 0, top = 0;
    Timed(AState, BitBltSeconds(list->Handle(), list->Width(), list->Height()), [&] {
        // Down the track and back, a few pixels a move.
        const Integer offset = (step < 50 ? step : 100 - step) * 4;
        step = (step + 1) % 100;
        driver::MouseMove(POINT{at.x, at.y + offset});
        TBench::Pump();
        const Integer now = list->TopItem() ? list->TopItem()->Index() : 0;
        scrolls += now != top;
        top = now;
    });
    // The share of moves that scrolled the rows.
    AState.counters["scrolled"] = double(scrolls) / double(AState.iterations());
    driver::MouseUp(at);
}

// A combo box of 5,000 items in the default skin, focused.
TqxSkinComboBox* BigCombo(TBench& ABench) {
    auto* combo = ABench.Add<TqxSkinComboBox>(100, 100, 200, 20, [](TqxSkinComboBox* ACombo) {
        ACombo->Items()->BeginUpdate();
        for (Integer i = 0; i < 5000; ++i)
            ACombo->Items()->Add(u"婚礼_" + IntToStr(i) + u".mp4 (H.264 + AAC)");
        ACombo->Items()->EndUpdate();
    });
    combo->SetItemIndex(2500);
    combo->SetFocus();
    TBench::Pump();
    return combo;
}

void BM_ComboDropDown(benchmark::State& AState) {
    TBench bench("default");
    TqxSkinComboBox* combo = BigCombo(bench);
    combo->DropDown();
    TBench::Pump();
    TqxPopupListBox* list = combo->ListBox();
    const double bitblt = BitBltSeconds(list->Handle(), list->Width(), list->Height());
    combo->CloseUp(false);
    TBench::Pump();
    Timed(AState, bitblt, [&] {
        combo->DropDown();
        TBench::Pump();
        combo->CloseUp(false);
    });
}

void BM_ComboListPageStep(benchmark::State& AState) {
    TBench bench("default");
    TqxSkinComboBox* combo = BigCombo(bench);
    combo->DropDown();
    TBench::Pump();
    TqxPopupListBox* list = combo->ListBox();
    bool down = true;
    Timed(AState, BitBltSeconds(list->Handle(), list->Width(), list->Height()), [&] {
        // Down to the end and back up, a page a key.
        const Integer index = combo->ItemIndex();
        if (index >= 4990) down = false;
        if (index <= 10) down = true;
        driver::Key(down ? VK_NEXT : VK_PRIOR);
        TBench::Pump();
    });
    AState.counters["top"] = list->TopIndex();
}

void BM_EditTypedCharacter(benchmark::State& AState) {
    TBench bench("default");
    auto* combo = bench.Add<TqxSkinComboBox>(100, 100, 200, 20, [](TqxSkinComboBox* ACombo) {
        for (const char16_t* item : {u"~/Velqua视频软件/输出", u"~/视频", u"~/桌面", u"/media/移动硬盘"})
            ACombo->Items()->Add(item);
    });
    combo->SetFocus();
    combo->SetStyle(qxcbEditStyle);
    TBench::Pump();
    TqxCustomEdit* edit = combo->Edit();
    bool typing = true;
    Timed(AState, BitBltSeconds(edit->Handle(), edit->Width(), edit->Height()), [&] {
        // A letter, then a backspace, so that the text stays short.
        if (typing)
            driver::Text(u"视");
        else
            driver::Key(VK_BACK);
        typing = !typing;
        TBench::Pump();
    });
}

// A control of the bench's form placed on AParent.
template <typename T>
T* Child(TBench& ABench, TWinControl* AParent, Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    auto* control = new T(ABench.Form);
    control->SetParent(AParent);
    control->SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ABench.SkinData->Empty) control->SetSkinData(ABench.SkinData);
    return control;
}

// The options dialog's page: two sheets, two group boxes of six check or
// radio boxes each, and labels.
void BM_OptionsPageRepaint(benchmark::State& AState, const char* ASkin) {
    TBench bench(ASkin);
    auto* pages = bench.Add<TqxSkinPageControl>(10, 10, 440, 330);
    TqxSkinTabSheet* sheet = nullptr;
    for (const char16_t* caption : {u"CPU", u"常规"}) {
        auto* page = new TqxSkinTabSheet(bench.Form);
        page->SetPageControl(pages);
        page->SetCaption(caption);
        if (!sheet) sheet = page;
    }
    pages->SetActivePage(sheet);
    for (Integer g = 0; g < 2; ++g) {
        auto* group = Child<TqxSkinGroupBox>(bench, sheet, 8 + g * 212, 8, 200, 200);
        group->SetCaption(g == 0 ? u"处理器" : u"输出");
        for (Integer i = 0; i < 6; ++i) {
            auto* box = Child<TqxSkinCheckRadioBox>(bench, group, 10, 26 + i * 28, 180, 20);
            box->SetRadio(g == 1);
            box->SetCaption(u"选项 " + IntToStr(i + 1));
            box->SetChecked(i % 2 == 0);
        }
    }
    for (Integer i = 0; i < 3; ++i)
        Child<TqxSkinStdLabel>(bench, sheet, 12, 220 + i * 22, 300, 16)->SetCaption(u"线程数：" + IntToStr(i + 2));
    TBench::Pump();
    const HWND window = pages->Handle();
    Timed(AState, BitBltSeconds(window, pages->Width(), pages->Height()), [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
}

// The main window's tool bar: 69 high, flat speed buttons with captions and
// 32 x 32 images, a divider and a drop-down button.
void BM_ToolBarRepaint(benchmark::State& AState, const char* ASkin) {
    TBench bench(ASkin);
    auto* bar = bench.Add<TqxSkinToolBar>(0, 0, 827, 69, [](TqxSkinToolBar* ABar) {
        ABar->SetSkinDataName(u"resizetoolpanel");
        ABar->SetCanScroll(true);
        ABar->SetHotScroll(true);
        ABar->SetScrollOffset(30);
    });
    auto* images = new TCustomImageList(32, 32, bench.Form);
    for (Integer k = 0; k < 8; ++k) {
        TBitmap picture;
        picture.SetSize(32, 32);
        picture.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
        picture.Canvas()->FillRect(Rect(0, 0, 32, 32));
        picture.Canvas()->Brush()->SetColor(TColor(0x2E9A3A + 0x101010 * k));
        picture.Canvas()->FillRect(Rect(4, 4, 28, 28));
        images->AddMasked(&picture, TColor(0xFF00FF));
    }
    const char16_t* captions[] = {u"添加", u"删除", u"清空", u"转换", u"停止", u"预览", u"截图", u"设置"};
    for (Integer i = 0; i < 8; ++i) {
        auto* button = Child<TqxSkinSpeedButton>(bench, bar, 4 + i * 62, 4, 60, 60);
        button->SetSkinDataName(u"resizetoolbutton");
        button->SetCaption(captions[i]);
        button->SetImageIndex(i);
        button->SetLayout(blGlyphTop);
    }
    auto* divider = Child<TqxSkinBevel>(bench, bar, 504, 8, 8, 52);
    divider->SetDividerMode(true);
    auto* menu = Child<TqxSkinMenuSpeedButton>(bench, bar, 516, 4, 76, 60);
    menu->SetSkinDataName(u"resizetoolbutton");
    menu->SetTransparent(true);
    menu->SetCaption(u"输出");
    menu->SetLayout(blGlyphTop);
    bar->SetImages(images);
    bar->SetFlat(true);
    bar->SetShowCaptions(true);
    TBench::Pump();
    const HWND window = bar->Handle();
    Timed(AState, BitBltSeconds(window, bar->Width(), bar->Height()), [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
}

// A drawn-skin tree of 5,000 nodes (100 folders of 49 files, expanded) with
// its bars; one bar step moves the rows and repaints those in view.
void BM_TreeBarStep(benchmark::State& AState) {
    TBench bench("default");
    auto* tree = bench.Add<TqxSkinTreeView>(10, 10, 300, 400);
    tree->SetDrawSkin(true);
    tree->Items()->BeginUpdate();
    for (Integer f = 0; f < 100; ++f) {
        TTreeNode* folder = tree->Items()->Add(nullptr, u"/home/用户/视频/文件夹 " + IntToStr(f));
        for (Integer i = 0; i < 49; ++i) tree->Items()->AddChild(folder, u"婚礼_" + IntToStr(i) + u".mp4");
        folder->Expand(false);
    }
    tree->Items()->EndUpdate();
    auto* vertical = bench.Add<TqxSkinScrollBar>(310, 10, 17, 400, [](TqxSkinScrollBar* ABar) {
        ABar->SetKind(sbVertical);
        ABar->SetSkinDataName(u"vscrollbar");
    });
    tree->SetVScrollBar(vertical);
    tree->SetHScrollBar(bench.Add<TqxSkinScrollBar>(10, 410, 300, 17));
    TBench::Pump();
    Integer position = 0, step = 1;
    Timed(AState, BitBltSeconds(tree->Handle(), tree->Width(), tree->Height()), [&] {
        // Down the tree and back, one row a step.
        if (position + step > vertical->Max() - vertical->PageSize() + 1 || position + step < 0) step = -step;
        position += step;
        vertical->SetPosition(position);
        UpdateWindow(tree->Handle());
    });
    AState.counters["rows"] = double(vertical->Max() + 1);
}

// 19 categories under three headers, each with a 32 x 32 PNG badge.
void FillCategories(TqxSkinOfficeComboBox* ACombo, TqxPngImageList* AImages) {
    for (Integer i = 0; i < 19; ++i) {
        TBitmap badge;
        badge.SetPixelFormat(pf24bit);
        badge.SetSize(32, 32);
        badge.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
        badge.Canvas()->FillRect(Rect(0, 0, 32, 32));
        badge.Canvas()->Brush()->SetColor(TColor(0x3C78D8 + i * 0x0A0B0C));
        badge.Canvas()->Ellipse(1, 1, 31, 31);
        badge.SetTransparentColor(TColor(0xFF00FF));
        badge.SetTransparent(true);
        TqxPngImage png;
        png.Assign(&badge);
        AImages->PngImages()->Add()->SetPngImage(&png);
    }
    ACombo->SetImages(AImages);
    ACombo->BeginUpdateItems();
    for (Integer i = 0; i < 19; ++i) {
        if (i == 0 || i == 8 || i == 16) {
            TqxSkinOfficeItem* header = ACombo->Items()->Add();
            header->SetHeader(true);
            header->SetCaption(u"分组 " + IntToStr(i / 8 + 1));
        }
        TqxSkinOfficeItem* item = ACombo->Items()->Add();
        item->SetTitle(u"类别" + IntToStr(i + 1) + u"格式");
        item->SetCaption(u"共 12 种格式，如 MTS转换为网络在线常用FLV视频(*.flv)，以及更多");
        item->SetImageIndex(i);
    }
    ACombo->EndUpdateItems();
}

void BM_CategoryDropDown(benchmark::State& AState, const char* ASkin) {
    TBench bench(ASkin);
    auto* combo = bench.Add<TqxSkinOfficeComboBox>(20, 20, 300, 60, [](TqxSkinOfficeComboBox* ACombo) {
        ACombo->SetDropDownCount(4);
        ACombo->SetListBoxItemHeight(60);
    });
    auto* images = new TqxPngImageList(bench.Form);
    images->SetPngWidth(32);
    images->SetPngHeight(32);
    FillCategories(combo, images);
    combo->SetItemIndex(1);
    TBench::Pump();
    // The list exists and has its size once it has opened.
    combo->DropDown();
    TBench::Pump();
    combo->CloseUp(false);
    TqxPopupOfficeListBox* list = combo->ListBox();
    Timed(AState, BitBltSeconds(bench.Form->Handle(), list->Width(), list->Height()), [&] {
        combo->DropDown();
        TBench::Pump();
        combo->CloseUp(false);
        TBench::Pump();
    });
}

void BM_EditHoverRepaint(benchmark::State& AState, const char* ASkin) {
    TBench bench(ASkin);
    auto* edit = bench.Add<TqxSkinEdit>(20, 200, 600, 20);
    edit->SetText(u"/home/用户/Velqua视频软件/输出");
    TBench::Pump();
    POINT inside{300, 10};
    ClientToScreen(edit->Handle(), &inside);
    const POINT outside{700, 400};
    bool in = false;
    Timed(AState, BitBltSeconds(bench.Form->Handle(), edit->Width(), edit->Height()), [&] {
        // In, then out with the hover poll's next tick.
        in = !in;
        driver::MouseMove(in ? inside : outside);
        TBench::Pump();
        if (!in) driver::AdvanceTime(100);
    });
}

}  // namespace

BENCHMARK_CAPTURE(BM_OptionsPageRepaint, default, "default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OptionsPageRepaint, none, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ToolBarRepaint, default, "default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ToolBarRepaint, none, "")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBarStep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormRepaint, default, "default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormRepaint, second, "second")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormRepaint, none, "")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ButtonMorphStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThumbDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComboDropDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComboListPageStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditTypedCharacter)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CategoryDropDown, default, "default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CategoryDropDown, none, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EditHoverRepaint, default, "default")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_EditHoverRepaint, second, "second")->Unit(benchmark::kMicrosecond);
