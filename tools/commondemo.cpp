// Shows the toolkit's list view, tree view and page control on the X display
// for a person to look at: a report list with Chinese rows, hidden columns
// and grid lines, the same rows in icon view, a three-level tree and a page
// control with three sheets. Esc or closing the window ends it; an optional
// argument ends it after that many milliseconds.
//
//   xvfb-run -s "-screen 0 1024x768x24" build/tools/commondemo 3000 &
//   sleep 2; DISPLAY=... import -window root shot.png
#include <cstdio>
#include <cstdlib>

#include "platform/base/sysutils.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/listview.h"
#include "platform/toolkit/pagecontrol.h"
#include "platform/toolkit/timer.h"
#include "platform/toolkit/treeview.h"
#include "platform/win/display.h"
#include "platform/win/input.h"

namespace {

struct TRow {
    const char16_t* File;
    const char16_t* Length;
    const char16_t* Size;
    const char16_t* Output;
};

constexpr TRow Rows[] = {
    {u"/home/用户/视频/婚礼录像.mts", u"00:12:31", u"1.2 GB", u"婚礼录像.mp4"},
    {u"/home/用户/视频/毕业典礼.m2ts", u"00:45:02", u"3.8 GB", u"毕业典礼.mp4"},
    {u"/home/用户/视频/旅行-西湖.mts", u"00:03:17", u"310 MB", u"旅行-西湖.mp4"},
    {u"/home/用户/音乐/演唱会.mts", u"01:20:45", u"6.1 GB", u"演唱会.mp4"},
    {u"/home/用户/视频/宝宝第一步.mov", u"00:00:48", u"96 MB", u"宝宝第一步.mp4"},
};

// An image list of plain coloured squares, one per colour.
TCustomImageList* Squares(TComponent* AOwner, Integer ASize, std::initializer_list<TColor> AColors) {
    auto* list = new TCustomImageList(ASize, ASize, AOwner);
    for (TColor color : AColors) {
        TBitmap picture;
        picture.SetSize(ASize, ASize);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(Rect(0, 0, ASize, ASize));
        picture.Canvas()->Brush()->SetColor(clWhite);
        picture.Canvas()->FillRect(Rect(ASize / 4, ASize / 4, ASize - ASize / 4, ASize / 2));
        list->Add(&picture, nullptr);
    }
    return list;
}

TListView* FileList(TForm* AForm, TViewStyle AView, TRect ABounds, TCustomImageList* AImages) {
    auto* list = new TListView(AForm);
    list->SetBoundsRect(ABounds);
    list->SetViewStyle(AView);
    list->SetGridLines(true);
    list->SetRowSelect(true);
    list->SetReadOnly(true);
    list->SetHideSelection(false);
    list->SetLargeImages(AImages);
    const struct {
        const char16_t* Caption;
        Integer Width;
        TAlignment Alignment;
    } columns[] = {{u"输入文件", 150, taLeftJustify},
                   {u"时长", 62, taCenter},
                   {u"大小", 60, taRightJustify},
                   {u"输出文件", 90, taLeftJustify}};
    for (const auto& c : columns) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(c.Caption);
        column->SetWidth(c.Width);
        column->SetAlignment(c.Alignment);
    }
    // The program's hidden columns: width 0, kept shut.
    for (const char16_t* caption : {u"视频编码", u"音频编码", u"VideoTag"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(0);
        column->SetMaxWidth(1);
    }
    Integer index = 0;
    for (const TRow& row : Rows) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(AView == vsReport ? String(row.File) : row.Output);
        item->SetImageIndex(index++ % 3);
        for (const char16_t* text : {row.Length, row.Size, row.Output, u"libx264", u"aac", u"avc1"})
            item->SubItems()->Add(text);
    }
    list->SetParent(AForm);
    list->SetItemIndex(1);
    return list;
}

TTreeView* FolderTree(TForm* AForm, TRect ABounds, TCustomImageList* AImages) {
    auto* tree = new TTreeView(AForm);
    tree->SetBoundsRect(ABounds);
    tree->SetImages(AImages);
    tree->SetHideSelection(false);
    TTreeNodes* nodes = tree->Items();
    TTreeNode* computer = nodes->AddChild(nullptr, u"我的电脑");
    TTreeNode* disk = nodes->AddChild(computer, u"本地磁盘 (/)");
    TTreeNode* home = nodes->AddChild(disk, u"用户");
    for (const char16_t* name : {u"视频", u"音乐", u"图片"})
        nodes->AddChild(home, name);
    nodes->AddChild(disk, u"临时文件");
    TTreeNode* data = nodes->AddChild(computer, u"数据盘 (/data)");
    nodes->AddChild(data, u"输出");
    nodes->AddChild(nullptr, u"网络");
    for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext()) {
        n->SetImageIndex(n->Level() % 3);
        n->SetSelectedIndex(n->Level() % 3);
    }
    tree->SetParent(AForm);
    computer->Expand(false);
    disk->Expand(false);
    home->Expand(false);
    tree->SetSelected(home->Item(0));
    return tree;
}

TPageControl* Sheets(TForm* AForm, TRect ABounds, TCustomImageList* AImages) {
    auto* pages = new TPageControl(AForm);
    pages->SetBoundsRect(ABounds);
    pages->SetImages(AImages);
    pages->SetParent(AForm);
    Integer index = 0;
    for (const char16_t* caption : {u"常规", u"视频参数", u"音频参数"}) {
        auto* sheet = new TTabSheet(AForm);
        sheet->SetCaption(caption);
        sheet->SetImageIndex(index++);
        sheet->SetPageControl(pages);
    }
    // The middle sheet holds a small list of its own.
    auto* list = new TListView(AForm);
    list->SetViewStyle(vsList);
    list->SetAlign(alClient);
    for (const char16_t* text : {u"分辨率 1920*1080", u"帧率 25", u"比特率 8000 kbps", u"宽屏 16:9"})
        list->Items()->Add()->SetCaption(text);
    list->SetParent(pages->Pages(1));
    pages->SetActivePageIndex(1);
    return pages;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption(u"Velqua 通用控件演示");
        SetBorderStyle(bsSingle);
        SetBounds(60, 60, 780, 520);
        SetColor(clBtnFace);
        SetKeyPreview(true);
        TCustomImageList* large = Squares(this, 32, {clRed, clGreen, clBlue});
        TCustomImageList* small = Squares(this, 16, {clMaroon, clTeal, clNavy});
        TListView* report = FileList(this, vsReport, Bounds(10, 10, 370, 220), large);
        report->SetSmallImages(small);
        FileList(this, vsIcon, Bounds(390, 10, 370, 220), large);
        FolderTree(this, Bounds(10, 240, 250, 230), small);
        Sheets(this, Bounds(270, 240, 490, 230), small);
        OnKeyDown = [this](TObject*, Word& AKey, TShiftState) {
            if (AKey == win::VK_ESCAPE) Close();
        };
    }
};

}  // namespace

int main(int argc, char** argv) {
    try {
        win::InstallDisplayBackend();
    } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    if (argc > 1) {
        auto* timer = new TTimer(form);
        timer->SetInterval(Cardinal(std::strtoul(argv[1], nullptr, 10)));
        timer->OnTimer = [form](TObject*) { form->Close(); };
    }
    Application->Run();
    return 0;
}
