// The skinned main menu bar: the top-level items of a main menu drawn as a
// bar under the caption, opening their submenus through the form
// component's skinned menu; it tracks the pointer, has a keyboard menu mode
// the form component drives, hides items that do not fit behind an
// overflow marker, merges a child form's menu and shows the system buttons
// of a maximized child at its ends. The items and buttons on it are light
// objects (menubarobjects.cpp).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/menus.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/forms/dravenfold.h"

class TqxSkinMainMenuBar;

// A main menu that carries the skin data its caption objects' popups use.
class TqxSkinMainMenu : public TMainMenu {
public:
    using TMainMenu::TMainMenu;
    TqxSkinData* SkinData() const { return FSD; }
    void SetSkinData(TqxSkinData* AValue);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TqxSkinData* FSD = nullptr;
};

class TqxMenuBarObject : public TObject {
public:
    TqxMenuBarObject(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData);

    virtual void StartMorph();
    virtual void Draw(TCanvas*) {}
    virtual void MouseDown(Integer, Integer, TMouseButton) {}
    virtual void MouseUp(Integer, Integer, TMouseButton) {}
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();
    bool EnableMorphing() const;
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double AValue);

    TqxSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    bool FDown = false;
    String IDName;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect DownRect;
    TRect ObjectRect;
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;

protected:
    // Two looks blended by MorphKf, drawn at ObjectRect.
    void DrawMorph(TCanvas* ACanvas, TBitmap* ANormal, TBitmap* AActive);
    double FMorphKf = 0;
};

// A system button of a maximized child: 0 close, 1 restore, 2 minimize,
// 3 system menu.
class TqxSkinMainMenuBarButton : public TqxMenuBarObject {
public:
    TqxSkinMainMenuBarButton(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData);

    void Draw(TCanvas* Cnvs) override;
    void DefaultDraw(TCanvas* Cnvs);
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void ButtonClick();

    bool FSkinSupport = false;
    TqxStdCommand Command = cmClose;
};

class TqxSkinMainMenuBarItem : public TqxMenuBarObject {
public:
    TqxSkinMainMenuBarItem(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData);

    void StartMorph() override;
    void Draw(TCanvas* Cnvs) override;
    void DefaultDraw(TCanvas* Cnvs);
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation() const;
    void SetDown(bool Value);
    void PopupItemMenu();
    // The item's place on the bar, then the overflow rule.
    void CalcObjectRect(TCanvas* Cnvs);

    bool FSkinSupport = false;
    bool OldEnabled = true;
    // Its own, hiding the object's: the item fits on the bar.
    bool Visible = true;
    TMenuItem* MenuItem = nullptr;
    String FontName;
    Integer FontHeight = 13;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TRect TextRct;
    Integer LO = 0;
    Integer RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    Integer CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    // Runs the item's OnClick, then opens its menu.
    void OpenAfterClick();
    void SetItemFont(TCanvas* Cnvs) const;
    Integer ImageWidth() const;
    void DrawImageAndCaption(TCanvas* Cnvs, TRect ATextRect, bool AActiveText, TColor AColor);
    void CreateItemImage(TBitmap* B, const TRect& AState, bool AActiveText);
    void CreateToolButtonImage(TBitmap* B, Integer AState);
    TRect AnimateFrameRect() const;
};

using TqxItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TqxItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;

class TqxSkinMainMenuBar : public TqxSkinControl {
public:
    explicit TqxSkinMainMenuBar(TComponent* AOwner);
    ~TqxSkinMainMenuBar() override;

    bool ToolBarMode() const { return FToolBarMode; }
    void SetToolBarMode(bool Value);
    bool ToolBarModeItemTransparent() const { return FToolBarModeItemTransparent; }
    void SetToolBarModeItemTransparent(bool Value);
    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool Value);
    TFont* DefItemFont() const { return FDefItemFont.get(); }
    void SetDefItemFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool PopupToUp() const { return FPopupToUp; }
    void SetPopupToUp(bool Value) { FPopupToUp = Value; }
    TqxDravenfold* Dravenfold() const { return QXD; }
    void SetDravenfold(TqxDravenfold* Value);
    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer Value);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer Value);
    bool SkinSupport() const { return FSkinSupport; }
    bool ChildMenuIn() const { return FChildMenuIn; }
    TMainMenu* MergeMenu() const { return FMergeMenu; }

    void Merge(TMainMenu* Menu);
    void UnMerge();
    TMainMenu* GetChildMainMenu();
    void CreateMenu();
    void UpDateItems();
    void UpDateEnabledItems();
    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void MDIChildMaximized();
    void CheckMDIChildMaximized();
    bool HandleAccel(Word Key);
    void NextItem();
    void PrevItem();
    bool OpenActiveItem();
    void EnterMenuMode();
    void ExitMenuMode();
    void ItemMenuClosed();
    void RedrawObject(TqxMenuBarObject* Obj);
    void TrackMouse(Integer X, Integer Y);
    void CalcItemsRect();
    // The bar's background at the bar's size.
    void PaintBar(win::HDC DC);
    void PopupOverflowMenu();
    // The marker rectangle of hidden items.
    TRect MarkerRect() const;

    void Paint() override {}
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

    // The objects: MDI buttons first (when shown), then the items.
    std::vector<std::unique_ptr<TqxMenuBarObject>> ObjectList;
    // The item that stands for AMenuItem now, or nil: a handler run on the
    // way may have rebuilt the bar and freed the item it started from.
    TqxSkinMainMenuBarItem* ItemOf(const TMenuItem* AMenuItem) const;
    Integer ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    Integer ActiveObject = -1;
    Integer OldActiveObject = -1;
    Integer MouseCaptureObject = -1;
    TRect NewItemsRect;
    TRect SkinRect;
    TRect ItemsRect;
    String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    TColor TrackMarkColor = 0;
    TColor TrackMarkActiveColor = 0;
    TBitmap* Picture = nullptr;
    bool StretchEffect = false;
    bool ItemTransparent = false;
    // The bar's current image while it paints (transparent items copy it).
    std::unique_ptr<TBitmap> FBuffer;

    TqxItemEnterEvent OnItemMouseEnter;
    TqxItemLeaveEvent OnItemMouseLeave;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void MouseTimerTick();
    void MorphTimerTick();
    void AnimateTimerTick();
    void CreateMDIButtons();
    void DeleteMDIButtons();
    void UpdateMDIButtonsEnabled();
    bool ItemsTransparent() const;
    TqxSkinMainMenuBarItem* ItemAt(Integer AIndex) const;
    // Items that are enabled and shown, in bar order.
    std::vector<TqxSkinMainMenuBarItem*> UsableItems() const;
    bool HasChildMenuForm() const;

    bool FToolBarMode = false;
    bool FToolBarModeItemTransparent = false;
    bool FScrollMenu = true;
    std::unique_ptr<TFont> FDefItemFont;
    bool FUseSkinFont = true;
    bool FUseSkinSize = true;
    bool FSkinSupport = false;
    bool FPopupToUp = false;
    TqxDravenfold* QXD = nullptr;
    TMainMenu* FMainMenu = nullptr;
    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 22;
    TMainMenu* FMergeMenu = nullptr;
    bool FChildMenuIn = false;
};

// The form component of the maximized MDI child of the screen's forms, nil
// for none.
TqxDravenfold* FindMaximizedChildDravenfold();
