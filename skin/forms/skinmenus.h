// The skinned popup menus: every menu of a skinned form (popup menus, menu
// bar items, caption buttons with menus, the system and tray menus, menu
// buttons) opens as a chain of non-activating popup windows, one per open
// level, drawn from the skin's popup-window and menu-item sections or in a
// plain default look. No native menu and no modal loop: the chain lives in
// the ordinary message loop, and keys reach it through the form component's
// application hook.
//
// The unit is split by topic: menuitems.cpp (one row: layout, looks, the
// glyphs of the default look), popupwindow.cpp (one level: size, placement,
// painting, scrolling, mouse and keys) and skinmenus.cpp (the controller that
// opens and closes the chain, and the skinned popup menu component).
#pragma once

#include <memory>
#include <vector>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/forms/dravenfold.h"

class TqxSkinPopupWindow;
class TqxSkinMenu;

// Glyphs of the default look, in AColor.
void DrawMenuCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
// A right-pointing triangle 4 wide and 7 high.
void DrawMenuArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMenuRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
Integer RectWidth(const TRect& R);
Integer RectHeight(const TRect& R);

// A caption of exactly "-".
bool IsMenuSeparator(const TMenuItem* AItem);
// A disabled item whose caption begins and ends with "-" (a word between two
// hyphens): drawn as a title.
bool IsMenuHeader(const TMenuItem* AItem);

// The messages on which a form closes its open skin menus.
bool IsMenuCloseMessage(Integer Msg);

// One row of a popup window.
class TqxSkinMenuItem : public TObject {
public:
    // AData nil: the default look.
    TqxSkinMenuItem(TqxSkinPopupWindow* AParent, TqxDataSkinMenuItem* AData, TMenuItem* AMenuItem);

    bool EnableMorphing() const;
    bool EnableAnimation() const;
    virtual bool CanMorphing();
    void DoMorphing();
    void StartMorph();
    // Entered by the pointer (Kb false) or the keyboard.
    void MouseEnter(bool Kb);
    void MouseLeave();
    // Activates the row.
    void MouseDown(Integer X, Integer Y);
    // The row at ObjectRect.
    void Draw(TCanvas* Cnvs);
    void DefaultDraw(TCanvas* Cnvs);
    void ResizeDraw(TCanvas* Cnvs);

    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double AValue);
    bool HasChildren() const { return MenuItem->Count() > 0; }

    TqxSkinPopupWindow* Parent;
    TqxDataSkinMenuItem* MI;
    // The picture the rectangles below refer to; nil without one.
    TBitmap* ActivePicture = nullptr;
    TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    Integer CurrentFrame = 0;
    // The item skin's normal and active rectangles for this row: empty when
    // the skin names no picture. The loaded skin itself is never changed.
    TRect SkinRect;
    TRect ActiveSkinRect;

private:
    // Draws the skinned look into B (of the row's size) for the state A;
    // AStretched: the look stretched to the default item height.
    void CreateItemImage(TBitmap* B, bool A, bool AStretched, const TRect* AFrame);
    void DrawSkinned(TCanvas* Cnvs, bool AStretched);
    void DrawHeader(TCanvas* Cnvs, const TRect& R, bool AStretched);
    TRect GetAnimateFrameRect() const;
    void DrawGlyphImage(TCanvas* Cnvs, const TRect& R, const TRect& ANormal, const TRect& AActive, bool A);
    // The command glyph a standard item's name selects; false for none.
    bool DrawCommandGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor AColor) const;
    void SetItemFont(TCanvas* Cnvs, bool AUseSkin) const;

    double FMorphKf = 0;
};

// One level of an open menu.
class TqxSkinPopupWindow : public TCustomControl {
public:
    TqxSkinPopupWindow(TComponent* AOwner, TqxSkinMenu* AParentMenu, TqxDataSkinPopupWindow* AData);
    ~TqxSkinPopupWindow() override;

    void Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem,
               bool PopupUp);
    void Hide();
    void PaintMenu(win::HDC DC);
    void PopupKeyDown(Integer CharCode);
    void CloseSubMenus();

    void CreateParams(TCreateParams& AParams) override;
    void WndProc(TMessage& AMessage) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void Paint() override {}

    // The window's row canvas: rows redraw themselves on it.
    TCanvas* RowCanvas() { return Canvas(); }
    Integer ItemCount() const { return Integer(ItemList.size()); }
    TqxSkinMenuItem* Item(Integer AIndex) const { return ItemList[size_t(AIndex)].get(); }
    Integer IndexOfItem(const TqxSkinMenuItem* AItem) const;
    // The highlighted row, nil for none.
    TqxSkinMenuItem* ActiveRow() const;
    // The item height of a row (by its menu item).
    Integer ItemHeight(TMenuItem* AItem) const;

    TqxDataSkinMenuItem* DSMI = nullptr;
    Integer VisibleCount = 0;
    Integer VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    Integer ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    Integer ShowX = 0;
    Integer ShowY = 0;
    Integer OMX = -1;
    Integer OMY = -1;
    TCustomImageList* ImgL = nullptr;
    Integer GlyphWidth = 19;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    Integer OldActiveItem = -1;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TqxSkinMenu* ParentMenu;
    TqxSkinData* SD = nullptr;
    TqxDataSkinPopupWindow* PW = nullptr;
    std::vector<std::unique_ptr<TqxSkinMenuItem>> ItemList;
    Integer ActiveItem = -1;
    std::unique_ptr<TBitmap> FPaintBuffer;

    // The pointer poll and the morph/animation step (also reached by tests
    // through the timers).
    void MouseTimerTick();
    void MorphTimerTick();
    void TrackMouse(Integer X, Integer Y);
    bool CanScroll(Integer ACode) const;
    void ScrollUp(bool ACycle);
    void ScrollDown(bool ACycle);
    void StopScroll();
    void SelectNextItem();
    void SelectPrevItem();
    void DrawItemBackground(TCanvas* Cnvs, const TRect& R);

private:
    void CreateItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex);
    void AddItems(TMenuItem* AItem, Integer AFrom);
    void BuildItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool ATwo);
    void ShowAt(const TRect& R, bool PopupByItem, bool PopupUp);
    void CalcSize(bool ATwo);
    Integer CalcWindowWidth();
    Integer CalcWindowHeight(bool ATwo);
    Integer GetItemTextWidth(TMenuItem* AItem);
    void LayoutItems();
    Integer LastPageStartIndex() const;
    void CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp);
    void CreateMenuBackground(TBitmap* ABitmap, bool AFillItems);
    void DrawUpMarker(TCanvas* Cnvs);
    void DrawDownMarker(TCanvas* Cnvs);
    void DrawMarker(TCanvas* Cnvs, bool AUp);
    void SetMenuRegion();
    void StartScrollTimer();
    bool FindAccelItem(Integer CharCode);
    bool PointOnItem(Integer X, Integer Y) const;
    bool CursorOverWindow() const;
    bool Skinned() const { return PW != nullptr; }
    void SetActive(Integer AIndex);
};

// The controller of one form's chain of popup windows.
class TqxSkinMenu : public TComponent, public TqxFormSkinMenu {
public:
    TqxSkinMenu(TComponent* AOwner, TCustomForm* AForm);
    ~TqxSkinMenu() override;

    // TqxFormSkinMenu.
    bool Visible() const override { return FVisible; }
    void Hide() override;
    void Popup(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R, TMenuItem* AItem,
               bool PopupUp) override;
    Integer PopupCount() const override { return Integer(FPopupList.size()); }
    void PopupKeyDown(Word AKey) override;
    bool LastPopupItemHasChildren() const override;

    // One window listing AItem's children, then AItem2's.
    void Popup2(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R, TMenuItem* AItem,
                TMenuItem* AItem2, bool PopupUp);
    void ProcessItem(TqxSkinPopupWindow* Sender, TqxSkinMenuItem* Item, bool Activate, bool ByKeyboard);
    void CloseFrom(Integer Index);
    Integer IndexOfPopup(const TqxSkinPopupWindow* AWindow) const;
    void GetWorkArea(TRect& R) const;
    void AddPopupWindow(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
    void AddPopupWindow2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                         bool PopupByItem, bool PopupUp);
    void WaitTimerTick();
    TqxSkinPopupWindow* PopupWindow(Integer AIndex) const { return FPopupList[size_t(AIndex)].get(); }

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    bool First() const { return FFirst; }
    Integer DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
    void SetDefaultMenuItemHeight(Integer AValue) { FDefaultMenuItemHeight = AValue; }
    TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
    void SetDefaultMenuItemFont(TFont* AValue) { FDefaultMenuItemFont->Assign(AValue); }
    TCustomForm* Form() const { return FForm; }
    TControl* PopupCtrl() const { return FPopupCtrl; }

    TNotifyEvent OnMenuClose;
    TTimer* WaitTimer = nullptr;
    TqxSkinMenuItem* WItem = nullptr;
    TRect WorkArea;
    TqxSkinData* SkinData = nullptr;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    Integer MaxMenuItemsInWindow = 0;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void SetPopupCtrl(TControl* AValue);
    void SetDCtrl(TControl* AValue);
    void Tell(TControl* AControl, win::UINT AMsg);
    // Opens the chain; AItem2 nil for a plain popup.
    void OpenChain(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R,
                   TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp);
    void StopWaiting();
    void CloseDeeper(TqxSkinPopupWindow* Sender);

    bool FUseSkinFont = true;
    bool FUseSkinSize = true;
    bool FFirst = false;
    Integer FDefaultMenuItemHeight = 20;
    std::unique_ptr<TFont> FDefaultMenuItemFont;
    TControl* FPopupCtrl = nullptr;
    TControl* FDCtrl = nullptr;
    TCustomForm* FForm;
    bool FVisible = false;
    std::vector<std::unique_ptr<TqxSkinPopupWindow>> FPopupList;
};

// The maker the form component uses by default.
std::unique_ptr<TqxFormSkinMenu> MakeSkinMenu(TqxDravenfold* AComponent, TCustomForm* AForm);

// The popup menu a designer drops on a form: its popups go through the form
// component's skinned menu.
class TqxSkinPopupMenu : public TPopupMenu, public IqxSkinPopupMenu {
public:
    explicit TqxSkinPopupMenu(TComponent* AOwner);

    void Popup(Integer X, Integer Y) override;
    void PopupFromRect(const TRect& R, bool APopupUp);
    void Popup2(TControl* ACtrl, Integer X, Integer Y) override;
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) override;

    TPoint PopupPoint() const { return FPopupPoint; }
    TqxSkinData* SkinData() const { return FSD; }
    void SetSkinData(TqxSkinData* AValue);
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* AValue);
    TComponent* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TComponent* AValue);

    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void PopupSteps(TControl* ACtrl, const TRect& R, bool APopupUp, bool ANeedSkin);
    TqxDravenfold* FindComponent() const;

    TPoint FPopupPoint{-1, -1};
    TqxSkinData* FSD = nullptr;
    TCustomForm* FComponentForm = nullptr;
    TComponent* FSkinComponent = nullptr;
};

// Installs the skinned popup menu as the menu controls build for themselves.
void InstallSkinPopupMenuMaker();
