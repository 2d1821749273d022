// Shows the skinned controls on forms read from their descriptions
// (tools/forms/), in one of the project skins or without a skin, on the X
// display for a person to look at.
//
//   skindemo [default|second|none] [milliseconds] [form] [maximize] [drop]
//
// The skin comes from the build's resources/skins; the milliseconds end the
// demo; the forms are listed below ("controls" when none is named; "lists"
// with "drop" opens its combo box's list; "periphery" shows the scroll box
// and a scrolling page). Beside
// the demo form a small form with a form-skinning component and no skin
// shows the frame's default look, inactive. "maximize" maximizes the demo
// form after a second and restores it a second later.
//
//   xvfb-run -s "-screen 0 1024x768x24" sh -c 'build/tools/skindemo second 4000 & sleep 2; import -window root
//   shot.png; wait'
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinscrollbox.h"
#include "skin/core/qxskinmessages.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/scrollpages.h"

namespace {

// A demo form: its skin data, and its form-skinning component, which carries
// a skin change to the skinned controls.
class TSkinnedDemoForm : public TForm {
public:
    using TForm::TForm;

    // The form's skin data: the first one it holds.
    TqxSkinData* FindSkinData() const {
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (auto* skinData = dynamic_cast<TqxSkinData*>(Components(i))) return skinData;
        return nullptr;
    }
};

}  // namespace

// Buttons in every state, two stand-alone bars and the program's file list.
class TSkinDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxSkinButton* AddButton = nullptr;
    TqxSkinListView* FileList = nullptr;

    void FormCreate(TObject*) {
        // A green plus on a magenta ground, which the glyph leaves out.
        TBitmap glyph;
        glyph.SetSize(16, 16);
        TCanvas* canvas = glyph.Canvas();
        canvas->Brush()->SetColor(TColor(0xFF00FF));
        canvas->FillRect(Rect(0, 0, 16, 16));
        canvas->Brush()->SetColor(TColor(0x2E9A3A));
        canvas->FillRect(Rect(6, 2, 10, 14));
        canvas->FillRect(Rect(2, 6, 14, 10));
        AddButton->SetGlyph(&glyph);
        AddButton->SetSpacing(4);

        const char16_t* names[] = {u"婚礼 2023", u"毕业典礼", u"海边日落", u"生日聚会", u"长城之旅", u"春节联欢"};
        const char16_t* states[] = {u"完成", u"45%", u"等待", u"等待"};
        for (Integer i = 0; i < 30; ++i) {
            TListItem* item = FileList->Items()->Add();
            item->SetCaption(u"/home/用户/视频/" + String(names[i % 6]) + u"/0000" + IntToStr(i % 10) + u".MTS");
            item->SubItems()->Add(u"00:0" + IntToStr(1 + i % 9) + u":" + IntToStr(10 + i));
            item->SubItems()->Add(IntToStr(40 + 7 * i) + u".5 MB");
            item->SubItems()->Add(String(names[i % 6]) + u"_" + IntToStr(i) + u".mp4");
            item->SubItems()->Add(states[std::min(i, 3)]);
            for (Integer k = 4; k < 24; ++k) item->SubItems()->Add(u"");
        }
        FileList->Items()->Item(1)->SetSelected(true);
    }
    void ButtonClick(TObject* Sender) {
        SetCaption(u"Velqua 换肤控件演示 — " + static_cast<TControl*>(Sender)->Caption());
    }
};

// The list boxes and combo boxes; "drop" opens the format list once the
// form shows.
class TListsDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxSkinListBox* RecentList = nullptr;
    TqxSkinListBox* PathList = nullptr;
    TqxSkinComboBox* FormatCombo = nullptr;
    TqxSkinComboBox* FolderCombo = nullptr;

    void FormCreate(TObject*) {
        // Three file kinds as coloured squares.
        auto* images = new TCustomImageList(16, 16, this);
        for (const TColor color : {TColor(0x3A9A2E), TColor(0xD0762A), TColor(0x2E5BD0)}) {
            TBitmap picture;
            picture.SetSize(16, 16);
            picture.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
            picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
            picture.Canvas()->Brush()->SetColor(color);
            picture.Canvas()->FillRect(Rect(2, 2, 14, 14));
            images->AddMasked(&picture, TColor(0xFF00FF));
        }
        const char16_t* names[] = {u"婚礼 2023", u"毕业典礼", u"海边日落", u"生日聚会", u"长城之旅", u"春节联欢"};
        for (Integer i = 0; i < 30; ++i)
            RecentList->Items()->Add(String(names[i % 6]) + u" " + IntToStr(i + 1) + u"\t00:0" + IntToStr(1 + i % 9) +
                                     u":" + IntToStr(10 + i) + u"\t" + IntToStr(40 + 7 * i) + u" MB");
        RecentList->SetImages(images);
        RecentList->SetItemIndex(2);
        for (const char16_t* path : {u"/home/用户/视频/婚礼 2023/00001.MTS",
                                     u"/home/用户/视频/海边日落/很长很长的文件名_第二部分_高清版本.MTS",
                                     u"/media/移动硬盘/相机备份/2024/春节联欢/00012.MTS", u"/home/用户/桌面/短片.mp4"})
            PathList->Items()->Add(path);
        const char16_t* formats[] = {u"MP4 (H.264 + AAC)", u"AVI (Xvid + MP3)", u"MKV (H.265 + Opus)",
                                     u"FLV (网络视频)",     u"3GP (手机视频)",   u"WMV (Windows 媒体)",
                                     u"MOV (QuickTime)",   u"MPEG-2 (DVD)",     u"VOB (DVD 光盘)",
                                     u"WebM (VP9)",        u"OGV (Theora)",     u"M4V (苹果设备)",
                                     u"TS (高清电视)",     u"ASF (流媒体)",     u"DV (数码摄像机)",
                                     u"GIF (动画)",        u"MP3 (音频)",       u"AAC (音频)",
                                     u"WAV (无损音频)",    u"FLAC (无损压缩)"};
        for (const char16_t* format : formats)
            FormatCombo->Items()->Add(format);
        FormatCombo->SetItemIndex(3);
        FolderCombo->SetItemIndex(0);
        if (!DemoArgument("drop")) return;
        FDropTimer = std::make_unique<TTimer>(nullptr);
        FDropTimer->SetInterval(700);
        FDropTimer->OnTimer = [this](TObject*) {
            FDropTimer->SetEnabled(false);
            FormatCombo->SetFocus();
            FormatCombo->DropDown();
        };
        FDropTimer->SetEnabled(true);
    }

    // Whether the command line names AName.
    static bool DemoArgument(const char* AName);
    static std::vector<std::string>& Arguments() {
        static std::vector<std::string> arguments;
        return arguments;
    }

private:
    std::unique_ptr<TTimer> FDropTimer;
};

bool TListsDemoForm::DemoArgument(const char* AName) {
    return std::find(Arguments().begin(), Arguments().end(), AName) != Arguments().end();
}

// A scroll box larger inside than outside, and a page of buttons wider
// than itself.
class TPeripheryDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxSkinScrollBox* Box = nullptr;
    TqxRibbonCustomPage* Page = nullptr;

    void FormCreate(TObject*) {
        const char16_t* captions[] = {u"打开", u"保存", u"剪切", u"复制", u"粘贴", u"转换", u"预览", u"截图"};
        for (Integer i = 0; i < 8; ++i) {
            auto* button = new TqxSkinButton(this);
            button->SetParent(Page);
            button->SetBounds(4 + i * 84, 8, 80, 48);
            button->SetCaption(captions[i]);
            button->SetSkinData(FindSkinData());
        }
        // Its scroll buttons take the skin the box uses.
        Page->SetRibbon(Box);
        Page->GetScrollInfo();
        Box->UpDateScrollRange();
        Box->HScroll(40);
    }
};

namespace {

const auto PeripheryRegistered = RegisterForm<TPeripheryDemoForm>(u"peripherydemo.form")
                                     .Handler(u"FormCreate", &TPeripheryDemoForm::FormCreate)
                                     .Field(u"Box", &TPeripheryDemoForm::Box)
                                     .Field(u"Page", &TPeripheryDemoForm::Page);
const auto Registered = RegisterForm<TSkinDemoForm>(u"skindemo.form")
                            .Handler(u"FormCreate", &TSkinDemoForm::FormCreate)
                            .Handler(u"ButtonClick", &TSkinDemoForm::ButtonClick)
                            .Field(u"AddButton", &TSkinDemoForm::AddButton)
                            .Field(u"FileList", &TSkinDemoForm::FileList);
const auto ListsRegistered = RegisterForm<TListsDemoForm>(u"listsdemo.form")
                                 .Handler(u"FormCreate", &TListsDemoForm::FormCreate)
                                 .Field(u"RecentList", &TListsDemoForm::RecentList)
                                 .Field(u"PathList", &TListsDemoForm::PathList)
                                 .Field(u"FormatCombo", &TListsDemoForm::FormatCombo)
                                 .Field(u"FolderCombo", &TListsDemoForm::FolderCombo);

// The demo's forms by name; later controls add theirs.
struct TDemo {
    const char* Name;
    std::function<TSkinnedDemoForm*()> Create;
};

template <typename T>
TSkinnedDemoForm* CreateDemoForm() {
    T* form = nullptr;
    Application->CreateForm(form);
    return form;
}

const std::vector<TDemo>& Demos() {
    static const std::vector<TDemo> demos = {
        {"controls", CreateDemoForm<TSkinDemoForm>},
        {"lists", CreateDemoForm<TListsDemoForm>},
        {"periphery", CreateDemoForm<TPeripheryDemoForm>},
    };
    return demos;
}

int Usage() {
    std::fprintf(stderr, "usage: skindemo [default|second|none] [milliseconds] [form]\nforms:");
    for (const TDemo& demo : Demos()) std::fprintf(stderr, " %s", demo.Name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TListsDemoForm::Arguments() = args;
    const bool maximize = std::erase(args, "maximize") > 0;
    const std::string skin = args.size() > 0 ? args[0] : "default";
    const std::string formName = args.size() > 2 ? args[2] : "controls";
    const TDemo* demo = nullptr;
    for (const TDemo& d : Demos())
        if (formName == d.Name) demo = &d;
    if (!demo || (skin != "default" && skin != "second" && skin != "none")) return Usage();
    try {
        win::InstallDisplayBackend();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
    SetResourceFolder(UTF8ToString(VELQUA_DEMO_FOLDER));
    Application->Initialize();
    Application->SetTitle(u"Velqua 换肤控件演示");
    TSkinnedDemoForm* form = demo->Create();
    // The default look of the frame, on a form that stays inactive.
    auto* plain = new TForm(Application);
    plain->SetCaption(u"默认外观（无皮肤）");
    plain->SetBounds(40, 40, 320, 160);
    new TqxDravenfold(plain);
    plain->Show();
    if (skin != "none") {
        const String file = UTF8ToString(VELQUA_SKINS_FOLDER) + UTF8ToString(skin) + u"/skin.ini";
        TqxSkinData* skinData = form->FindSkinData();
        if (!skinData || !FileExists(file)) {
            std::fprintf(stderr, "skindemo: no skin at %s (build the project_skins target)\n",
                         StringToUTF8(file).c_str());
            return 1;
        }
        skinData->LoadFromFile(file);
    }
    TTimer quit(nullptr);
    quit.SetEnabled(args.size() > 1);
    if (args.size() > 1) quit.SetInterval(Cardinal(std::strtoul(args[1].c_str(), nullptr, 10)));
    quit.OnTimer = [](TObject*) { Application->Terminate(); };
    TTimer states(nullptr);
    states.OnTimer = [form, &states](TObject*) {
        TqxDravenfold* component = FindDravenfold(form);
        if (!component) return states.SetEnabled(false);
        if (component->WindowState() == wsMaximized) {
            component->SetWindowState(wsNormal);
            states.SetEnabled(false);
        } else {
            component->SetWindowState(wsMaximized);
        }
    };
    states.SetEnabled(false);
    states.SetInterval(1000);
    states.SetEnabled(maximize);
    Application->Run();
    return 0;
}
