// A skinned MDI form on the X display for a person to look at: a menu bar
// with a Window menu, the MDI tabs bar with close and add buttons, and three
// children tiled in the client area (or maximized, so that the menu bar
// shows the child's buttons and the caption its name).
//
//   mdidemo [--skin default|second|none] [milliseconds] [maximized|cascade]
//
//   xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'build/tools/mdidemo --skin second 4000 maximized &
//   sleep 2; import -window root shot.png; wait'
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/mditabsbar.h"
#include "skin/forms/menubar.h"

namespace {

TMenuItem* AddItem(TMenu* AMenu, TMenuItem* AParent, const String& ACaption,
                   TNotifyEvent AOnClick = nullptr) {
    auto* item = new TMenuItem(AMenu);
    item->SetCaption(ACaption);
    item->OnClick = std::move(AOnClick);
    AParent->Add(item);
    return item;
}

class TMDIDemoForm : public TForm {
public:
    explicit TMDIDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetName(u"MDIDemo");
        SetFormStyle(fsMDIForm);
        SetCaption(u"Velqua 多文档演示");
        SetBounds(60, 30, 820, 670);
        Skin = new TqxSkinData(this);
        Frame = new TqxDravenfold(this);
        Frame->SetSkinData(Skin);
        Frame->SetMenusSkinData(Skin);
        auto* menu = new TMainMenu(this);
        TMenuItem* file = AddItem(menu, menu->Items(), u"文件(&F)");
        AddItem(menu, file, u"新建文档", [this](TObject*) { NewChild(); });
        AddItem(menu, file, u"全部关闭", [this](TObject*) { Frame->CloseAll(); });
        TMenuItem* window = AddItem(menu, menu->Items(), u"窗口(&W)");
        AddItem(menu, window, u"平铺", [this](TObject*) { Frame->Tile(); });
        AddItem(menu, window, u"层叠", [this](TObject*) { Frame->Cascade(); });
        AddItem(menu, window, u"-");
        SetWindowMenu(window);
        auto* bar = new TqxSkinMainMenuBar(this);
        bar->SetParent(this);
        bar->SetDravenfold(Frame);
        bar->SetSkinData(Skin);
        bar->SetMainMenu(menu);
        Frame->SetMainMenuBar(bar);
        Tabs = new TqxSkinMDITabsBar(this);
        Tabs->SetAlign(alTop);
        Tabs->SetTop(bar->Height());
        Tabs->SetShowCloseButtons(true);
        Tabs->SetShowAddButton(true);
        Tabs->SetDravenfold(Frame);
        Tabs->SetSkinData(Skin);
        Tabs->OnAddButtonClick = [this](TObject*) { NewChild(); };
        Tabs->SetParent(this);
        Frame->SetMDITabsBar(Tabs);
    }

    TForm* NewChild() {
        static const char16_t* const captions[] = {u"转换列表", u"预览窗口", u"输出设置", u"日志"};
        const Integer n = Integer(Children.size());
        auto* child = new TForm(Application);
        child->SetName(u"Child" + IntToStr(n + 1));
        child->SetCaption(captions[n % 4]);
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(20 + 30 * n, 20 + 30 * n, 330, 220);
        auto* frame = new TqxDravenfold(child);
        frame->SetSkinData(Skin);
        auto* label = new TqxSkinStdLabel(child);
        label->SetCaption(String(u"这是第 ") + IntToStr(n + 1) + u" 个子窗口");
        label->SetBounds(16, 16, 260, 20);
        label->SetSkinData(Skin);
        label->SetParent(child);
        auto* button = new TqxSkinButton(child);
        button->SetCaption(u"关闭");
        button->SetBounds(16, 48, 90, 25);
        button->SetSkinData(Skin);
        button->OnClick = [child](TObject*) { child->Close(); };
        button->SetParent(child);
        child->Show();
        Children.push_back(child);
        return child;
    }

    TqxSkinData* Skin;
    TqxDravenfold* Frame;
    TqxSkinMDITabsBar* Tabs;
    std::vector<TForm*> Children;
};

int Usage() {
    std::fprintf(stderr, "usage: mdidemo [--skin default|second|none] [milliseconds] [maximized|cascade]\n");
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
    if (skin != "default" && skin != "second" && skin != "none") return Usage();
    const std::string mode = args.size() > 1 ? args[1] : "";
    if (!mode.empty() && mode != "maximized" && mode != "cascade") return Usage();
    try {
        win::InstallDisplayBackend();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
    Application->Initialize();
    Application->SetTitle(u"Velqua 多文档演示");
    TMDIDemoForm* form = nullptr;
    Application->CreateForm(form);
    if (skin != "none") {
        const String file = UTF8ToString(VELQUA_SKINS_FOLDER) + UTF8ToString(skin) + u"/skin.ini";
        if (!FileExists(file)) {
            std::fprintf(stderr, "mdidemo: no skin at %s (build the project_skins target)\n",
                         StringToUTF8(file).c_str());
            return 1;
        }
        form->Skin->LoadFromFile(file);
    }
    form->Show();
    for (Integer i = 0; i < 3; ++i)
        form->NewChild();
    if (mode == "cascade")
        form->Frame->Cascade();
    else
        form->Frame->Tile();
    if (mode == "maximized")
        if (TqxDravenfold* child = FindDravenfold(form->Children[1])) {
            form->Children[1]->Show();
            child->SetWindowState(wsMaximized);
        }
    TTimer quit(nullptr);
    quit.SetEnabled(!args.empty());
    if (!args.empty()) quit.SetInterval(Cardinal(std::strtoul(args[0].c_str(), nullptr, 10)));
    quit.OnTimer = [](TObject*) { Application->Terminate(); };
    Application->Run();
    return 0;
}
