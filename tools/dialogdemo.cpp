// The skinned dialogs on the X display for a person to look at: buttons
// that show each message-box type, a path combo, folder tree and
// report-view file list linked over the home folder, filtered by the
// filter combo box, and buttons opening the open dialog (list view, or
// report view with several files), the picture open and save dialogs over
// a folder of a few pictures drawn at start, the select-directory dialog
// and the skin dialog over the two generated skins.
//
//   dialogdemo [--skin default|second] [milliseconds]
//              [warning|error|information|confirmation|custom|open|openreport|
//               pictureopen|picturesave|selectdir|skin]
//
// The skin comes from the build's resources/skins; the milliseconds end the
// demo; a box type or dialog named last opens half a second after the start.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'build/tools/dialogdemo --skin second 4000 confirmation &
//   sleep 2; import -window root shot.png; wait'
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/streams.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/pngimage.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/dialogs/qxfilectrl.h"
#include "skin/dialogs/qxskinshellcombo.h"
#include "skin/dialogs/qxskinshelllist.h"
#include "skin/dialogs/qxselectskin.h"
#include "skin/dialogs/qxskinmessage.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/dialogs/qxskinopenpicturedialog.h"
#include "skin/dialogs/qxskinselectdir.h"
#include "skin/forms/dravenfold.h"

namespace {

// A few pictures for the picture dialogs, drawn into a fresh folder of the
// temporary directory; returns the folder with its trailing "/", empty
// when none can be made.
String MakePictureFolder() {
    std::string pattern = "/tmp/velqua-dialogdemo-XXXXXX";
    if (!::mkdtemp(pattern.data())) return {};
    const String folder = UTF8ToString(pattern) + u"/";
    struct TDemoPicture {
        const char16_t* Name;
        Integer Width, Height;
        TColor Back, Shape;
    };
    const TDemoPicture pictures[] = {
        {u"风景.bmp", 320, 220, TColor(0xE0B060), TColor(0x2080F0)},
        {u"circles.png", 96, 96, TColor(0xFFFFFF), TColor(0x3050C0)},
        {u"wide.bmp", 480, 120, TColor(0x40A040), TColor(0xF0F0F0)},
        {u"icon.png", 32, 32, TColor(0x202020), TColor(0x00C0FF)},
    };
    for (const TDemoPicture& p : pictures) {
        TBitmap bitmap;
        bitmap.SetSize(p.Width, p.Height);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(p.Back);
        canvas->FillRect(TRect(0, 0, p.Width, p.Height));
        canvas->Brush()->SetColor(p.Shape);
        for (Integer i = 0; i < 3; ++i)
            canvas->Ellipse(p.Width * i / 4, p.Height / 6, p.Width * i / 4 + p.Width / 3, p.Height * 5 / 6);
        const String name = folder + p.Name;
        if (ExtractFileExt(name) == u".png") {
            TPngImage png;
            png.Assign(&bitmap);
            png.SaveToFile(name);
        } else {
            bitmap.SaveToFile(name);
        }
    }
    return folder;
}

struct TBoxKind {
    const char* Name;
    const char16_t* Caption;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};

const TBoxKind BoxKinds[] = {
    {"warning", u"警告", mtWarning, {mbOK, mbCancel}},
    {"error", u"错误", mtError, {mbAbort, mbRetry, mbIgnore}},
    {"information", u"提示", mtInformation, {mbOK}},
    {"confirmation", u"确认", mtConfirmation, {mbYes, mbNo, mbCancel}},
    {"custom", u"自定义", mtCustom, {mbOK, mbHelp}},
};

class TDialogDemoForm : public TForm {
public:
    explicit TDialogDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption(u"Velqua 对话框演示");
        SetBounds(200, 100, 560, 470);
        Skin = new TqxSkinData(this);
        auto* frame = new TqxDravenfold(this);
        frame->SetSkinData(Skin);
        frame->SetMenusSkinData(Skin);
        Message = new TqxSkinMessage(this);
        Message->SetSkinData(Skin);
        Message->SetCtrlSkinData(Skin);
        Message->SetShowAgainFlag(true);

        Integer x = 20;
        for (const TBoxKind& kind : BoxKinds) {
            auto* button = new TqxSkinButton(this);
            button->SetParent(this);
            button->SetCaption(kind.Caption);
            button->SetBounds(x, 20, 90, 25);
            button->SetSkinData(Skin);
            button->OnClick = [this, &kind](TObject*) { ShowBox(kind); };
            x += 100;
        }
        const std::pair<const char*, const char16_t*> dialogs[] = {
            {"open", u"打开文件"},     {"openreport", u"打开(详细)"}, {"pictureopen", u"打开图片"},
            {"picturesave", u"保存图片"}, {"selectdir", u"选择目录"},   {"skin", u"皮肤"}};
        x = 20;
        for (const auto& [kind, caption] : dialogs) {
            auto* button = new TqxSkinButton(this);
            button->SetParent(this);
            button->SetCaption(caption);
            button->SetBounds(x, 395, 82, 25);
            button->SetSkinData(Skin);
            button->OnClick = [this, kind = std::string(kind)](TObject*) { ShowDialog(kind); };
            x += 87;
        }
        auto* filterLabel = new TqxSkinStdLabel(this);
        filterLabel->SetParent(this);
        filterLabel->SetCaption(u"文件类型:");
        filterLabel->SetBounds(20, 74, 80, 20);
        filterLabel->SetSkinData(Skin);
        Filter = new TqxSkinFilterComboBox(this);
        Filter->SetParent(this);
        Filter->SetBounds(110, 70, 300, 22);
        Filter->SetFilter(u"视频文件 (*.avi;*.mp4;*.mkv)|*.avi;*.mp4;*.mkv|音频文件 (*.mp3;*.wav)|*.mp3;*.wav|"
                          u"所有文件 (*.*)|*.*");
        Filter->SetSkinData(Skin);
        MaskLabel = new TqxSkinStdLabel(this);
        MaskLabel->SetParent(this);
        MaskLabel->SetBounds(420, 74, 120, 20);
        MaskLabel->SetSkinData(Skin);
        MaskLabel->SetCaption(Filter->Mask());

        // A path combo, a folder tree and a report list over the home
        // folder, linked; the filter's mask filters the list.
        auto* combo = new TqxSkinShellComboBox(this);
        combo->SetParent(this);
        combo->SetBounds(20, 110, 520, 22);
        combo->SetSkinData(Skin);
        auto* tree = new TqxSkinDirTreeView(this);
        tree->SetParent(this);
        tree->SetBounds(20, 140, 180, 240);
        tree->SetSkinData(Skin);
        auto* list = new TqxSkinFileListView(this);
        list->SetParent(this);
        list->SetBounds(208, 140, 332, 240);
        list->SetSkinData(Skin);
        list->SetViewStyle(vsReport);
        tree->SetShellComboBox(combo);
        list->SetShellTreeView(tree);
        list->SetPath(GetHomeDir());
        Filter->OnChange = [this, list](TObject*) {
            MaskLabel->SetCaption(Filter->Mask());
            list->SetMask(Filter->Mask());
        };
        list->SetMask(Filter->Mask());
    }

    // The file, folder and skin dialogs, as the main window sets them up.
    void ShowDialog(const std::string& AKind) {
        if (AKind == "open" || AKind == "openreport") {
            TqxSkinOpenDialog dialog(nullptr);
            dialog.Title = u"打开文件";
            dialog.ToolButtonsTransparent = true;
            dialog.LVHeaderSkinDataName = u"resizebutton";
            dialog.SetSkinData(Skin);
            dialog.SetCtrlSkinData(Skin);
            dialog.Filter = u"视频文件 (*.avi;*.mp4;*.mkv)|*.avi;*.mp4;*.mkv|所有文件 (*.*)|*.*";
            dialog.InitialDir = GetHomeDir();
            dialog.MultiSelection = AKind == "openreport";
            if (AKind == "openreport") dialog.ListViewStyle = vsReport;
            dialog.Execute();
        } else if (AKind == "pictureopen" || AKind == "picturesave") {
            if (Pictures.empty()) Pictures = MakePictureFolder();
            const String folder = Pictures.empty() ? GetHomeDir() + u"/" : Pictures;
            std::unique_ptr<TqxSkinOpenPictureDialog> dialog;
            if (AKind == "picturesave") {
                dialog = std::make_unique<TqxSkinSavePictureDialog>(nullptr);
                dialog->Filter = u"BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg";
                dialog->SetFileName(folder + u"快照");
            } else {
                dialog = std::make_unique<TqxSkinOpenPictureDialog>(nullptr);
                dialog->Title = u"打开图片";
                dialog->Filter = u"图片 (*.bmp;*.png;*.jpg;*.gif)|*.bmp;*.png;*.jpg;*.gif|所有文件 (*.*)|*.*";
                dialog->SetFileName(folder + u"风景.bmp");
            }
            dialog->ToolButtonsTransparent = true;
            dialog->LVHeaderSkinDataName = u"resizebutton";
            dialog->SetSkinData(Skin);
            dialog->SetCtrlSkinData(Skin);
            dialog->Execute();
        } else if (AKind == "selectdir") {
            TqxSkinSelectDirectoryDialog dialog(nullptr);
            dialog.Title = u"选择目录";
            dialog.ToolButtonsTransparent = true;
            dialog.SetSkinData(Skin);
            dialog.SetCtrlSkinData(Skin);
            dialog.Directory = GetHomeDir();
            dialog.Execute();
        } else if (AKind == "skin") {
            TqxCompressedSkinList list(nullptr);
            for (const char* name : {"default", "second"}) {
                TFileStream file(UTF8ToString(VELQUA_SKINS_FOLDER) + UTF8ToString(name) + u".skn", fmOpenRead);
                TqxSkinListItem* item = list.Skins()->Add();
                item->ReadSkinData(&file);
                item->SetDescription(UTF8ToString(name));
            }
            TqxSelectSkinDialog dialog(nullptr);
            dialog.SetSkinList(&list);
            dialog.SetSkinData(Skin);
            dialog.SetCtrlSkinData(Skin);
            dialog.Execute(1);
        }
    }

    void ShowBox(const TBoxKind& AKind) {
        const String text = u"这是一个" + String(AKind.Caption) + u"对话框。\n第二行文字。";
        if (AKind.Type == mtInformation)
            Message->MessageDlg2(text, AKind.Caption, AKind.Type, AKind.Buttons, 0);
        else
            Message->MessageDlg(text, AKind.Type, AKind.Buttons, 0);
    }

    TqxSkinData* Skin = nullptr;
    TqxSkinMessage* Message = nullptr;
    TqxSkinFilterComboBox* Filter = nullptr;
    TqxSkinStdLabel* MaskLabel = nullptr;
    // The picture dialogs' folder, made at their first opening.
    String Pictures;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: dialogdemo [--skin default|second] [milliseconds] "
                 "[warning|error|information|confirmation|custom|open|openreport|pictureopen|picturesave|"
                 "selectdir|skin]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string skin = "default";
    if (args.size() >= 2 && args[0] == "--skin") {
        skin = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (skin != "default" && skin != "second") return Usage();
    const TBoxKind* open = nullptr;
    std::string dialog;
    if (args.size() > 1) {
        for (const TBoxKind& kind : BoxKinds)
            if (args[1] == kind.Name) open = &kind;
        for (const char* kind : {"open", "openreport", "pictureopen", "picturesave", "selectdir", "skin"})
            if (args[1] == kind) dialog = kind;
        if (!open && dialog.empty()) return Usage();
    }
    try {
        win::InstallDisplayBackend();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
    Application->Initialize();
    Application->SetTitle(u"Velqua 对话框演示");
    auto* form = new TDialogDemoForm(Application);
    const String file = UTF8ToString(VELQUA_SKINS_FOLDER) + UTF8ToString(skin) + u"/skin.ini";
    if (!FileExists(file)) {
        std::fprintf(stderr, "dialogdemo: no skin at %s (build the project_skins target)\n",
                     StringToUTF8(file).c_str());
        return 1;
    }
    form->Skin->LoadFromFile(file);
    form->Show();
    TTimer quit(nullptr);
    quit.SetEnabled(!args.empty());
    if (!args.empty()) quit.SetInterval(Cardinal(std::strtoul(args[0].c_str(), nullptr, 10)));
    quit.OnTimer = [](TObject*) {
        // A box still open ends its modal run first.
        if (TCustomForm* box = Screen->ActiveCustomForm(); box && box->Modal()) box->SetModalResult(mrCancel);
        Application->Terminate();
    };
    TTimer opener(nullptr);
    opener.SetInterval(500);
    opener.OnTimer = [&](TObject*) {
        opener.SetEnabled(false);
        if (open)
            form->ShowBox(*open);
        else
            form->ShowDialog(dialog);
    };
    opener.SetEnabled(open != nullptr || !dialog.empty());
    Application->Run();
    if (!form->Pictures.empty()) {
        std::error_code error;
        std::filesystem::remove_all(StringToUTF8(form->Pictures), error);
    }
    return 0;
}
