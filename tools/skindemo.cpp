// Shows the skinned controls on forms read from their descriptions
// (tools/forms/), in one of the project skins or without a skin, on the X
// display for a person to look at.
//
//   skindemo [default|second|none] [milliseconds] [form] [maximize] [drop] [closed]
//
// The skin comes from the build's resources/skins; the milliseconds end the
// demo; the forms are listed below ("controls" when none is named). Beside
// the demo form a small form with a form-skinning component and no skin
// shows the frame's default look, inactive. "maximize" maximizes the demo
// form after a second and restores it a second later; "drop" opens the
// form's drop-down list after half a second (forms that have one).
//
//   xvfb-run -s "-screen 0 1024x768x24" sh -c 'build/tools/skindemo second 4000 & sleep 2; import -window
//   root shot.png; wait'
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/formatcatalogue.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/label.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"
#include "platform/win/input.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlinklabel.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinmenubutton.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinscrollbox.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/controls/qxskintreeview.h"
#include "skin/core/qxpngimagelist.h"
#include "skin/core/qxskinmessages.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/imagesmenu.h"
#include "skin/forms/menubar.h"
#include "skin/forms/ribbon.h"
#include "skin/forms/scrollpages.h"
#include "skin/forms/skinhint.h"
#include "skin/forms/trayicon.h"

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
    // Opens the form's drop-down list, when it has one.
    virtual void Drop() {}
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

        const char16_t* names[] = {u"婚礼 2023", u"毕业典礼", u"海边日落",
                                   u"生日聚会",  u"长城之旅", u"春节联欢"};
        const char16_t* states[] = {u"完成", u"45%", u"等待", u"等待"};
        for (Integer i = 0; i < 30; ++i) {
            TListItem* item = FileList->Items()->Add();
            item->SetCaption(u"/home/用户/视频/" + String(names[i % 6]) + u"/0000" + IntToStr(i % 10) +
                             u".MTS");
            item->SubItems()->Add(u"00:0" + IntToStr(1 + i % 9) + u":" + IntToStr(10 + i));
            item->SubItems()->Add(IntToStr(40 + 7 * i) + u".5 MB");
            item->SubItems()->Add(String(names[i % 6]) + u"_" + IntToStr(i) + u".mp4");
            item->SubItems()->Add(states[std::min(i, 3)]);
            for (Integer k = 4; k < 24; ++k)
                item->SubItems()->Add(u"");
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
    }

    void Drop() override {
        FormatCombo->SetFocus();
        FormatCombo->DropDown();
    }
};

// The office controls: the two pickers with the program's categories and
// formats, the edits and the links.
class TOfficeDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxSkinOfficeComboBox* CategoryPicker = nullptr;
    TqxSkinOfficeComboBox* FormatPicker = nullptr;
    TqxPngImageList* CategoryImages = nullptr;
    TqxPngImageList* EditImages = nullptr;
    TqxSkinEdit* FolderEdit = nullptr;
    TqxSkinLinkLabel* HomeLink = nullptr;

    void FormCreate(TObject*) {
        static const TColor hues[] = {0x3C78D8, 0x2E9A3A, 0xD0822A, 0x8E44AD, 0x1F8FB0, 0xC0392B};
        const std::span<const TFormatCategory> categories = FormatCategories();
        for (size_t i = 0; i < categories.size(); ++i)
            AddIcon(CategoryImages, hues[i % 6], String(categories[i].Caption).substr(0, 2));
        // The folder, the clearing cross and the browse dots, each also hot.
        AddIcon(EditImages, 0x2A9FD0, u"");
        AddIcon(EditImages, 0x1A7FF0, u"");
        AddIcon(EditImages, 0x808080, u"×");
        AddIcon(EditImages, 0x2020D0, u"×");
        AddIcon(EditImages, 0x606060, u"…");
        const struct {
            size_t Before;
            const char16_t* Caption;
        } headers[] = {{0, u"常用视频"}, {8, u"设备与网络"}, {16, u"其他格式"}};
        CategoryPicker->BeginUpdateItems();
        for (size_t i = 0; i < categories.size(); ++i) {
            for (const auto& header : headers)
                if (header.Before == i) {
                    TqxSkinOfficeItem* item = CategoryPicker->Items()->Add();
                    item->SetHeader(true);
                    item->SetCaption(header.Caption);
                }
            TqxSkinOfficeItem* item = CategoryPicker->Items()->Add();
            item->SetTitle(categories[i].Caption);
            item->SetCaption(u"共 " + IntToStr(Integer(categories[i].Formats.size())) + u" 种格式，如 " +
                             categories[i].Formats[0]);
            item->SetImageIndex(Integer(i));
            item->SetData(reinterpret_cast<void*>(i));
        }
        CategoryPicker->EndUpdateItems();
        CategoryPicker->SetItemIndex(1);
        // Hovered, the link glows.
        HomeLink->Perform(CM_MOUSEENTER, 0, 0);
    }
    void CategoryChange(TObject*) {
        const Integer index = CategoryPicker->ItemIndex();
        if (index < 0) return;
        const auto position = reinterpret_cast<size_t>(CategoryPicker->Items()->Items(index)->Data());
        const TFormatCategory& category = FormatCategories()[position];
        FormatPicker->BeginUpdateItems();
        FormatPicker->Items()->Clear();
        TqxSkinOfficeItem* header = FormatPicker->Items()->Add();
        header->SetHeader(true);
        header->SetCaption(String(category.Caption) + u"的输出格式");
        for (const char16_t* format : category.Formats) {
            TqxSkinOfficeItem* item = FormatPicker->Items()->Add();
            const String caption = format;
            item->SetTitle(caption.substr(0, caption.find(u'(')));
            item->SetCaption(caption);
            item->SetImageIndex(Integer(position));
        }
        FormatPicker->EndUpdateItems();
        FormatPicker->SetItemIndex(1);
    }
    void FormatChange(TObject*) {
        const Integer index = FormatPicker->ItemIndex();
        if (index > 0) SetCaption(u"Velqua 换肤控件演示 — " + FormatPicker->Items()->Items(index)->Caption());
    }
    // The plain labels take the skin's label colour.
    void SkinChanged(TObject*) {
        TqxSkinData* skin = FindSkinData();
        const Integer index = skin && !skin->Empty ? skin->GetControlIndex(u"stdlabel") : -1;
        const auto* element =
            index < 0 ? nullptr : dynamic_cast<const TqxDataSkinStdLabelControl*>(skin->CtrlList[index]);
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (auto* label = dynamic_cast<TLabel*>(Components(i)))
                label->Font()->SetColor(element ? element->FontColor : clWindowText);
    }
    void FolderClick(TObject*) { FolderEdit->SetText(u"/home/用户/视频/转换结果"); }
    void NameButtonClick(TObject* Sender) { static_cast<TqxSkinEdit*>(Sender)->SetText(u"新文件名.mp4"); }
    void Drop() override { CategoryPicker->DropDown(); }

private:
    // A round badge in AColor (0xRRGGBB) with AText, its corners clear.
    static void AddIcon(TqxPngImageList* AList, Cardinal AColor, const String& AText) {
        const Integer size = AList->PngWidth();
        TBitmap bitmap;
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(size, size);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(TColor(0xFF00FF));
        canvas->FillRect(Rect(0, 0, size, size));
        const TColor color = TColor((AColor & 0xFF) << 16 | (AColor & 0xFF00) | AColor >> 16);
        canvas->Brush()->SetColor(color);
        canvas->Pen()->SetColor(color);
        canvas->Ellipse(1, 1, size - 1, size - 1);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetName(u"宋体");
        canvas->Font()->SetHeight(-size * 3 / 8);
        canvas->Font()->SetStyle({fsBold});
        canvas->Font()->SetColor(clWhite);
        const TSize extent = canvas->TextExtent(AText);
        canvas->TextOut((size - extent.cx) / 2, (size - extent.cy) / 2, AText);
        bitmap.SetTransparentColor(TColor(0xFF00FF));
        bitmap.SetTransparent(true);
        TqxPngImage png;
        png.Assign(&bitmap);
        AList->PngImages()->Add()->SetPngImage(&png);
    }
};
// The command line's words, for forms that act on them.
std::vector<std::string>& DemoArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
bool DemoArgument(const char* AName);

// The menu bar, a menu button, a hint with a title and an image and a tray
// icon (docked when the desktop has a system tray); "open"
// opens the bar's first menu and its submenu once the form shows.
class TMenusDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxDravenfold* Dravenfold = nullptr;
    TqxSkinMainMenuBar* MenuBar = nullptr;
    TqxSkinMenuButton* FormatButton = nullptr;

    void FormCreate(TObject*) {
        FImages = new TCustomImageList(32, 32, this);
        TBitmap picture;
        picture.SetSize(32, 32);
        picture.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
        picture.Canvas()->FillRect(Rect(0, 0, 32, 32));
        picture.Canvas()->Brush()->SetColor(TColor(0x2E9A3A));
        picture.Canvas()->FillRect(Rect(4, 8, 28, 24));
        picture.Canvas()->Brush()->SetColor(TColor(0xFFFFFF));
        picture.Canvas()->FillRect(Rect(12, 12, 20, 20));
        FImages->AddMasked(&picture, TColor(0xFF00FF));
        // In the system tray, when the desktop has one.
        auto* tray = new TqxTrayIcon(this);
        TIcon icon;
        tray->BitmapToIcon(&picture, &icon, TColor(0xFF00FF));
        tray->SetIcon(&icon);
        tray->SetHint(u"Velqua 视频转换");
        tray->SetIconVisible(true);
        FHint = new TqxSkinHint(this);
        FHint->SetSkinData(FindSkinData());
        FSteps = std::make_unique<TTimer>(nullptr);
        FSteps->SetInterval(600);
        FSteps->OnTimer = [this](TObject*) { Step(); };
        FSteps->SetEnabled(true);
    }

private:
    // The hint first, then (with "open") the first menu, then its submenu.
    void Step() {
        ++FStep;
        if (FStep == 1) {
            const TPoint p = FormatButton->ClientToScreen(Point(0, FormatButton->Height() + 4));
            FHint->ActivateHintEx(p, u"输出格式", u"选择转换后的文件格式@右侧箭头打开格式菜单", 0, FImages);
            if (!DemoArgument("open")) FSteps->SetEnabled(false);
        } else if (FStep == 2) {
            MenuBar->EnterMenuMode();
            MenuBar->OpenActiveItem();
        } else {
            FSteps->SetEnabled(false);
            // From the first row down to the submenu, and into it.
            TqxFormSkinMenu* menu = Dravenfold->SkinMenu();
            if (!menu || menu->PopupCount() == 0) return;
            for (const Word key : {win::VK_DOWN, win::VK_DOWN, win::VK_DOWN, win::VK_DOWN, win::VK_DOWN, win::VK_RIGHT})
                menu->PopupKeyDown(key);
        }
    }

    TCustomImageList* FImages = nullptr;
    TqxSkinHint* FHint = nullptr;
    std::unique_ptr<TTimer> FSteps;
    Integer FStep = 0;
};

// The main window's tool bar and the controls the dialogs place.
class TOthersDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxSkinToolBar* ToolBar = nullptr;
    TqxSkinTreeView* FolderTree = nullptr;

    void FormCreate(TObject*) {
        // Four 32 x 32 PNG pictures with soft edges: a plus, a cross, an
        // arrow and a disc.
        auto* images = new TqxPngImageList(this);
        images->SetPngWidth(32);
        images->SetPngHeight(32);
        const TColor colours[] = {TColor(0x3A9A2E), TColor(0x2E3AD0), TColor(0xD0762A), TColor(0x2A9AD0)};
        for (Integer k = 0; k < 4; ++k) {
            TPngImage png;
            png.CreateBlank(COLOR_RGBALPHA, 8, 32, 32);
            for (Integer y = 0; y < 32; ++y) {
                Byte* alpha = png.AlphaScanline(y);
                for (Integer x = 0; x < 32; ++x) {
                    const double dx = x - 15.5, dy = y - 15.5;
                    double inside = 0;
                    if (k == 0) inside = std::min(5 - std::abs(dx), 13 - std::abs(dy)) > 0 ||
                                         std::min(13 - std::abs(dx), 5 - std::abs(dy)) > 0;
                    if (k == 1) inside = std::abs(std::abs(dx) - std::abs(dy)) < 4 && std::abs(dx) < 12;
                    if (k == 2) inside = (std::abs(dy) < 4 && dx > -13 && dx < 4) || (dx >= 0 && std::abs(dy) < 13 - dx);
                    if (k == 3) inside = std::clamp(13.5 - std::hypot(dx, dy), 0.0, 1.0);
                    png.SetPixels(x, y, colours[k]);
                    alpha[x] = Byte(255 * inside);
                }
            }
            images->PngImages()->Add()->SetPngImage(&png);
        }
        ToolBar->SetImages(images);

        const char16_t* folders[] = {u"视频", u"音乐", u"图片", u"桌面", u"下载"};
        TTreeNode* home = FolderTree->Items()->Add(nullptr, u"/home/用户");
        for (const char16_t* folder : folders) {
            TTreeNode* node = FolderTree->Items()->AddChild(home, folder);
            for (Integer i = 1; i <= 4; ++i)
                FolderTree->Items()->AddChild(node, String(folder) + u" " + IntToStr(i) + u" 很长的子目录名称");
        }
        FolderTree->Items()->Add(nullptr, u"/media/移动硬盘");
        FolderTree->Items()->Add(nullptr, u"/mnt/共享");
        home->Expand(false);
        home->Item(0)->Expand(false);
        FolderTree->SetSelected(home->Item(0)->Item(1));
    }
};
bool DemoArgument(const char* AName) {
    return std::find(DemoArguments().begin(), DemoArguments().end(), AName) != DemoArguments().end();
}

// A scroll box larger inside than outside, a page of buttons wider than
// itself, and a menu button whose colour grid opens once the form shows.
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

        auto* colours = new TCustomImageList(16, 16, this);
        for (TColor colour : {TColor(0x3030E0), TColor(0x30A0F0), TColor(0x30D0D0), TColor(0x40B040),
                              TColor(0xD08030), TColor(0xA04080), TColor(0x404040), TColor(0xC0C0C0)}) {
            TBitmap swatch;
            swatch.SetSize(16, 16);
            swatch.Canvas()->Brush()->SetColor(colour);
            swatch.Canvas()->FillRect(Rect(0, 0, 16, 16));
            colours->Add(&swatch, nullptr);
        }
        auto* grid = new TqxSkinImagesMenu(this);
        grid->SetImages(colours);
        grid->SetSkinData(FindSkinData());
        grid->SetColumnsCount(4);
        TqxImagesMenuItem* header = grid->ImagesItems()->Add();
        header->SetHeader(true);
        header->SetCaption(u"字幕颜色");
        for (Integer i = 0; i < 8; ++i) grid->ImagesItems()->Add()->SetImageIndex(i);
        TqxImagesMenuItem* more = grid->ImagesItems()->Add();
        more->SetButton(true);
        more->SetCaption(u"更多颜色…");
        grid->SetItemIndex(4);
        FColourButton = new TqxSkinMenuButton(this);
        FColourButton->SetParent(this);
        FColourButton->SetBounds(352, 16, 120, 30);
        FColourButton->SetCaption(u"颜色");
        FColourButton->SetSkinData(FindSkinData());
        FColourButton->SetSkinImagesMenu(grid);
        FColourButton->SetUseImagesMenuImage(true);
        FOpen = std::make_unique<TTimer>(nullptr);
        FOpen->SetInterval(600);
        FOpen->OnTimer = [this](TObject*) {
            FOpen->SetEnabled(false);
            FColourButton->DropDown();
        };
        FOpen->SetEnabled(true);
    }

private:
    TqxSkinMenuButton* FColourButton = nullptr;
    std::unique_ptr<TTimer> FOpen;
};

// The ribbon with three tabs, button items and the application menu,
// opened once the form shows unless "closed" is given.
class TRibbonDemoForm : public TSkinnedDemoForm {
public:
    using TSkinnedDemoForm::TSkinnedDemoForm;

    TqxRibbon* Ribbon = nullptr;
    TqxAppMenu* AppMenu = nullptr;

    void FormCreate(TObject*) {
        const std::vector<std::vector<const char16_t*>> pages = {
            {u"添加文件", u"添加目录", u"删除", u"清空列表", u"上移", u"下移"},
            {u"开始转换", u"暂停", u"停止", u"输出目录", u"参数设置"},
            {u"预览", u"截图", u"全屏", u"皮肤"}};
        const char16_t* captions[] = {u"开始(&H)", u"转换(&C)", u"视图(&V)"};
        for (size_t t = 0; t < pages.size(); ++t) {
            TqxRibbonTab* tab = Ribbon->Tabs()->Add();
            tab->Page()->SetCaption(captions[t]);
            for (size_t i = 0; i < pages[t].size(); ++i) {
                auto* button = new TqxSkinButton(this);
                button->SetParent(tab->Page());
                button->SetBounds(8 + Integer(i) * 92, 10, 86, 56);
                button->SetCaption(pages[t][i]);
                button->SetSkinData(FindSkinData());
            }
        }
        Ribbon->SetTabIndex(0);
        auto* glyphs = new TCustomImageList(16, 16, this);
        for (TColor colour : {TColor(0xD08030), TColor(0x40B040), TColor(0x3030E0)}) {
            TBitmap glyph;
            glyph.SetSize(16, 16);
            glyph.Canvas()->Brush()->SetColor(clFuchsia);
            glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
            glyph.Canvas()->Brush()->SetColor(colour);
            glyph.Canvas()->Ellipse(2, 2, 14, 14);
            glyphs->AddMasked(&glyph, clFuchsia);
        }
        Ribbon->SetButtonsImageList(glyphs);
        const char16_t* hints[] = {u"帮助", u"选项", u"关于"};
        for (Integer i = 0; i < 3; ++i) {
            TqxRibbonButtonItem* item = Ribbon->Buttons()->Add();
            item->SetImageIndex(i);
            item->SetHint(hints[i]);
        }
        for (const char16_t* caption : {u"新建任务", u"打开文件…", u"保存列表"})
            AppMenu->Items()->Add()->SetCaption(caption);
        TqxAppMenuItem* recent = AppMenu->Items()->Add();
        recent->SetCaption(u"最近使用的文件");
        TqxAppMenuPage* page = AppMenu->CreatePage();
        recent->SetPage(page);
        const char16_t* files[] = {u"1 家庭聚会.mts", u"2 毕业典礼.m2ts", u"3 旅行日记.mts"};
        for (Integer i = 0; i < 3; ++i) {
            auto* label = new TqxSkinStdLabel(this);
            label->SetParent(page);
            label->SetBounds(12, 12 + i * 26, 240, 20);
            label->SetCaption(files[i]);
            label->SetTransparent(true);
            label->SetSkinData(FindSkinData());
        }
        AppMenu->Items()->Add()->SetCaption(u"退出");
        AppMenu->SetItemIndex(0);
        if (DemoArgument("closed")) return;
        FOpen = std::make_unique<TTimer>(nullptr);
        FOpen->SetInterval(600);
        FOpen->OnTimer = [this](TObject*) {
            FOpen->SetEnabled(false);
            Ribbon->AppButton()->DropDown();
        };
        FOpen->SetEnabled(true);
    }

private:
    std::unique_ptr<TTimer> FOpen;
};

namespace {

const auto RibbonRegistered = RegisterForm<TRibbonDemoForm>(u"ribbondemo.form")
                                  .Handler(u"FormCreate", &TRibbonDemoForm::FormCreate)
                                  .Field(u"Ribbon", &TRibbonDemoForm::Ribbon)
                                  .Field(u"AppMenu", &TRibbonDemoForm::AppMenu);
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
const auto OthersRegistered = RegisterForm<TOthersDemoForm>(u"othersdemo.form")
                                  .Handler(u"FormCreate", &TOthersDemoForm::FormCreate)
                                  .Field(u"ToolBar", &TOthersDemoForm::ToolBar)
                                  .Field(u"FolderTree", &TOthersDemoForm::FolderTree);
const auto MenusRegistered = RegisterForm<TMenusDemoForm>(u"menusdemo.form")
                                 .Handler(u"FormCreate", &TMenusDemoForm::FormCreate)
                                 .Field(u"Dravenfold", &TMenusDemoForm::Dravenfold)
                                 .Field(u"MenuBar", &TMenusDemoForm::MenuBar)
                                 .Field(u"FormatButton", &TMenusDemoForm::FormatButton);

const auto OfficeRegistered = RegisterForm<TOfficeDemoForm>(u"officedemo.form")
                                  .Handler(u"FormCreate", &TOfficeDemoForm::FormCreate)
                                  .Handler(u"CategoryChange", &TOfficeDemoForm::CategoryChange)
                                  .Handler(u"FormatChange", &TOfficeDemoForm::FormatChange)
                                  .Handler(u"FolderClick", &TOfficeDemoForm::FolderClick)
                                  .Handler(u"SkinChanged", &TOfficeDemoForm::SkinChanged)
                                  .Handler(u"NameButtonClick", &TOfficeDemoForm::NameButtonClick)
                                  .Field(u"CategoryPicker", &TOfficeDemoForm::CategoryPicker)
                                  .Field(u"FormatPicker", &TOfficeDemoForm::FormatPicker)
                                  .Field(u"CategoryImages", &TOfficeDemoForm::CategoryImages)
                                  .Field(u"EditImages", &TOfficeDemoForm::EditImages)
                                  .Field(u"FolderEdit", &TOfficeDemoForm::FolderEdit)
                                  .Field(u"HomeLink", &TOfficeDemoForm::HomeLink);

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
        {"others", CreateDemoForm<TOthersDemoForm>},
        {"office", CreateDemoForm<TOfficeDemoForm>},
        {"menus", CreateDemoForm<TMenusDemoForm>},
        {"periphery", CreateDemoForm<TPeripheryDemoForm>},
        {"ribbon", CreateDemoForm<TRibbonDemoForm>},
    };
    return demos;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: skindemo [default|second|none] [milliseconds] [form] [maximize] [drop] [closed]\nforms:");
    for (const TDemo& demo : Demos())
        std::fprintf(stderr, " %s", demo.Name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    DemoArguments() = args;
    const bool maximize = std::erase(args, "maximize") > 0;
    const bool drop = std::erase(args, "drop") > 0;
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
    TTimer dropper(nullptr);
    dropper.SetEnabled(false);
    dropper.SetInterval(500);
    dropper.OnTimer = [form, &dropper](TObject*) {
        dropper.SetEnabled(false);
        form->Drop();
    };
    dropper.SetEnabled(drop);
    Application->Run();
    return 0;
}
