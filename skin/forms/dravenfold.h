// The form-skinning component: one on every skinned form. It takes over the
// form's window procedure and draws the whole frame itself (caption, frame,
// caption buttons), from the loaded skin or in its plain default look; it
// hit-tests the frame, cuts the window region from the skin's mask, applies
// the window states by moving its own window, carries a skin change to every
// skinned control on the form, and routes the mouse to the frame objects.
//
// The unit is split by topic: dravenfold.cpp (the component), formwindowproc
// (the window procedure), framegeometry (geometry, hit testing, region),
// framepaint (frame and background), skinchange (skin change and the control
// walk), windowstates (states, sizes, effects), framerouting (mouse
// routing, the menu hub, short cuts) and layeredframe (the layered frame).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/timer.h"
#include "skin/core/qxskindata.h"

class TqxActiveSkinObject;
class TqxSkinCaptionObject;
class TqxQuickButtonItems;
class TqxLayerManager;
class TqxFormLayerBorder;
class TqxClientInActivePanel;
class TqxSkinStatusBar;
class TqxDravenfold;
class TqxSkinMenu;
class TqxSkinPopupMenu;
class TqxSkinHint;
class TqxTrayIcon;
class TqxSkinMainMenuBar;
class TqxRibbon;
class TqxSkinScrollBar;
class TqxSkinMDITabsBar;

// Scoped: the toolkit's own border icons use the first three names.
enum class TqxBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TqxBorderIcons = TSet<TqxBorderIcon>;
enum TqxPositionInMonitor { qxpDefault, qxpScreenCenter, qxpDesktopCenter };
enum TqxClientInActiveEffect { qxieSemiTransparent, qxieBlur };

using TqxCaptionPaintEvent = std::function<void(TCanvas* Cnvs, TRect R, bool AActive)>;
using TqxObjectEvent = std::function<void(const String& IDName)>;
using TqxObjectMouseEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, TRect ObjectRect, TMouseButton Button)>;
using TqxObjectMouseMoveEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, TRect ObjectRect)>;
using TqxObjectPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TqxActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;
using TqxOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

// What the form component needs of its skinned popup-menu machinery: the
// menu that shows a chain of popup windows for one form. The menus install
// a maker in FormSkinMenuMaker; without one a form has no skin menu.
class TqxFormSkinMenu {
public:
    virtual ~TqxFormSkinMenu() = default;
    virtual bool Visible() const = 0;
    // Closes the whole chain (the menu then tells the form it closed).
    virtual void Hide() = 0;
    // Shows AItem's items against ARect (screen), with ASkinData's looks.
    virtual void Popup(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer AStartIndex, const TRect& ARect,
                       TMenuItem* AItem, bool APopupUp) = 0;
    // Popup windows open now.
    virtual Integer PopupCount() const = 0;
    // A key for the innermost popup window.
    virtual void PopupKeyDown(Word AKey) = 0;
    // The innermost popup window's highlighted item has sub-items.
    virtual bool LastPopupItemHasChildren() const { return false; }
};
using TqxFormSkinMenuMaker = std::function<std::unique_ptr<TqxFormSkinMenu>(TqxDravenfold*, TCustomForm*)>;
extern TqxFormSkinMenuMaker FormSkinMenuMaker;

class TqxDravenfold : public TComponent {
public:
    // AOwner must be a form: anything else raises EInvalidCast.
    explicit TqxDravenfold(TComponent* AOwner);
    ~TqxDravenfold() override;
    void Loaded() override;

    // Published properties.
    TqxSkinData* SkinData() const { return FSD; }
    void SetSkinData(TqxSkinData* Value);
    TqxSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TqxSkinData* Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    bool GetSkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool Value);
    TWindowState WindowState() const { return FWindowStateInit; }
    void SetWindowState(TWindowState Value);
    TqxBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TqxBorderIcons Value);
    TqxQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
    void SetQuickButtons(TqxQuickButtonItems* Value);
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    // Its size grip hides while the form is maximized.
    TqxSkinStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TqxSkinStatusBar* Value);
    bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool Value) { FQuickButtonsShowHint = Value; }
    bool QuickButtonsShowDivider() const { return FQuickButtonsShowDivider; }
    void SetQuickButtonsShowDivider(bool Value) { FQuickButtonsShowDivider = Value; }
    bool ClientInActiveEffect() const { return FClientInActiveEffect; }
    void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
    TqxClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
    void SetClientInActiveEffectType(TqxClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
    bool DisableSystemMenu() const { return FDisableSystemMenu; }
    void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
    bool AlwaysResize() const { return FAlwaysResize; }
    void SetAlwaysResize(bool Value) { FAlwaysResize = Value; }
    TqxPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
    void SetPositionInMonitor(TqxPositionInMonitor Value) { FPositionInMonitor = Value; }
    bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool Value) { FUseFormCursorInNCArea = Value; }
    Integer MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(Integer Value);
    Integer ClientWidth() const { return FClientWidth; }
    void SetClientWidth(Integer Value) { FClientWidth = Value; }
    Integer ClientHeight() const { return FClientHeight; }
    void SetClientHeight(Integer Value) { FClientHeight = Value; }
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool Value) { FHideCaptionButtons = Value; }
    bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool Value) { FAlwaysMinimizeToTray = Value; }
    TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
    void SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }
    bool LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
    void SetLogoBitMapTransparent(bool Value) { FLogoBitMapTransparent = Value; }
    bool UseSkinFontInCaption() const { return FUseSkinFontInCaption; }
    void SetUseSkinFontInCaption(bool Value) { FUseSkinFontInCaption = Value; }
    bool ShowIcon() const { return FShowIcon; }
    void SetShowIcon(bool Value);
    bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool Value) { FMaximizeOnFullScreen = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte Value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool ShowObjectHint() const { return FShowObjectHint; }
    void SetShowObjectHint(bool Value) { FShowObjectHint = Value; }
    bool UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
    void SetUseDefaultObjectHint(bool Value) { FUseDefaultObjectHint = Value; }
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool Value);
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool Value);
    Byte MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(Byte Value);
    // Straight through to the skinned menu (defaults without one).
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool Value);
    bool UseSkinSizeInMenu() const;
    void SetUseSkinSizeInMenu(bool Value);
    Integer DefMenuItemHeight() const;
    // Values of 0 or less are ignored.
    void SetDefMenuItemHeight(Integer Value);
    TFont* DefMenuItemFont() const;
    void SetDefMenuItemFont(TFont* Value);
    TqxSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TqxSkinHint* Value);
    TqxTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TqxTrayIcon* Value);
    bool AlwaysShowInTray() const { return FAlwaysShowInTray; }
    void SetAlwaysShowInTray(bool Value) { FAlwaysShowInTray = Value; }
    TqxSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(TqxSkinMainMenuBar* Value);
    TFont* DefCaptionFont() const { return FDefCaptionFont.get(); }
    void SetDefCaptionFont(TFont* Value);
    TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
    void SetDefInActiveCaptionFont(TFont* Value);
    bool UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
    void SetUseDefaultSysMenu(bool Value) { FUseDefaultSysMenu = Value; }
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* Value);
    Integer MinHeight() const { return FMinHeight; }
    void SetMinHeight(Integer Value) { FMinHeight = Value; }
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer Value) { FMinWidth = Value; }
    Integer MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
    bool Magnetic() const { return FMagnetic; }
    void SetMagnetic(bool Value) { FMagnetic = Value; }
    Byte MagneticSize() const { return FMagneticSize; }
    void SetMagneticSize(Byte Value) { FMagneticSize = Value; }

    TqxCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnChangeSkinData;
    TNotifyEvent OnBeforeChangeSkinData;
    TNotifyEvent OnAfterChangeSkinData;
    TqxObjectEvent OnMouseEnterEvent;
    TqxObjectEvent OnMouseLeaveEvent;
    TqxObjectMouseEvent OnMouseDownEvent;
    TqxObjectMouseEvent OnMouseUpEvent;
    TqxObjectMouseMoveEvent OnMouseMoveEvent;
    TqxObjectPaintEvent OnPaintEvent;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeActivate;
    TNotifyEvent OnSkinMenuOpen;
    TNotifyEvent OnSkinMenuClose;
    TNotifyEvent OnChangeRollUpState;
    TNotifyEvent OnMainMenuEnter;
    TNotifyEvent OnMainMenuExit;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnRestoreFromTray;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMaximize;
    TqxActivateCustomObjectEvent OnActivateCustomObject;
    TShortCutEvent OnShortCut;

    // Public state.
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    // The height before the roll-up while rolled up.
    Integer RealHeight() const;
    void SetRealHeight(Integer Value) { OldHeight = Value; }
    bool MinimizeDefault() const { return FMinimizeDefault; }
    void SetMinimizeDefault(bool Value) { FMinimizeDefault = Value; }
    TCustomForm* Form() const { return FForm; }
    // The form's skinned popup-menu machinery; nil without the menus.
    TqxFormSkinMenu* SkinMenu() const { return FSkinMenu.get(); }
    // The same as the library's own menu; nil when another one stands in.
    TqxSkinMenu* RealSkinMenu() const;
    // The tray menu given to a linked tray icon.
    TqxSkinPopupMenu* SysTrayMenu() const { return FSysTrayMenu; }
    bool SkinSupport() const { return FSkinSupport; }
    // The state the component applied last.
    TWindowState AppliedWindowState() const { return FWindowState; }
    bool InMenu() const { return FInMenu; }
    void SetInMenu(bool Value) { FInMenu = Value; }
    bool InMainMenu() const { return FInMainMenu; }
    void SetInMainMenu(bool Value) { FInMainMenu = Value; }
    bool StopPainting() const { return FStopPainting; }

    // The form component (4.101).
    void Move(Integer AX, Integer AY);
    void SetBounds(Integer AX, Integer AY, Integer AWidth, Integer AHeight);
    void UpDateFormNC();
    static String GetProductVersion() { return u"10.10"; }
    void DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y);
    void NudgeFormWidth();
    void SyncFormBorderIcons();
    void NotifyChildrenParentBG();
    // The small-icon size.
    TSize GetIconSize() const;
    void CreateFormIcon();
    void DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y);
    bool IsAlphaIcon = false;
    bool CheckIconAlpha();

    // The window procedure (4.102).
    void FormWindowProc(TMessage& Message);
    // Installed as Application.OnMessage while a skin menu is open.
    void AppMessageHook(win::MSG& Msg, bool& Handled);
    void MenuKeyDown(TMessage& Message);
    // Mouse points of non-client messages into window coordinates.
    void ScreenToWindowPoint(TPoint& P) const;
    // The frame is resizable.
    bool IsSizeable() const;
    // The form has a border and the component draws it.
    bool FrameDrawn() const;
    // Whether the form's size takes the skinned frame: a top-level form
    // no smaller than the minimum, a child form at any size.
    bool FrameFits() const;
    bool IsToolWindow() const;
    Integer GetDefCaptionHeight() const;
    Integer GetDefButtonSize() const;

    // Geometry, hit testing and region (4.103).
    void CalcSkinRects();
    void UpdateSkinGeometry(bool AUpdate);
    void UpdateSkinRegion(bool AUpdate);
    void ArrangeObjects();
    TRect StretchObjectRect(const TRect& R) const;
    Integer SkinHitTest(TPoint P);
    Integer DefaultHitTest(TPoint P);
    void CalcDefRects();
    bool PointInMaskRegion(TPoint P) const;
    bool IsFrameCollapsed() const;
    bool GetFormActive() const;
    void SetCaptionActive(bool AAnimate);
    // P lies on a caption object (not on its quick buttons).
    bool PointInCaption(TPoint P);
    // The first caption object, nil for none.
    TqxSkinCaptionObject* CaptionObject() const;

    // Painting (4.104).
    void PaintNCSkin(win::HDC ADC, bool AUseExternalDC);
    void PaintNCDefault(win::HDC ADC, bool AUseExternalDC);
    void DrawSkinObject(TqxActiveSkinObject* AObject);
    void UserObjectDraw(const String& AIDName);
    void PaintBG(win::HDC DC);
    void PaintBG2(win::HDC DC);
    void PaintBG3(win::HDC DC);
    void PaintBGDefault(win::HDC DC);
    void PaintMDIBGDefault(win::HDC DC);
    void DrawLogo(TCanvas* Canvas);
    void FitCaptionText(TCanvas* ACanvas, String& AText, Integer AWidth);

    // Skin change (4.105).
    void RebuildSkinObjects();
    void CreateObjectsFromSkin();
    void CreateDefaultObjects();
    void ClearObjects();
    void UpdateButtonStates();
    void UpdateObjectHints();
    void BeforeChangeControls(TqxSkinData* ASkinData, TControl* AControl);
    void ChangeControlsSkinData(TqxSkinData* ASkinData, TControl* AControl);
    Integer GetIndex(const String& AIDName) const;
    void SetEnabled(const String& AIDName, bool Value);

    // Window states, sizes and effects (4.106).
    void ApplyWindowState(TWindowState Value);
    void DoMinimize();
    void DoMaximize();
    void DoRestore();
    void FindMinimizedPlace(TPoint& P);
    void RollUpForm();
    void RollDownForm();
    Integer GetMinWidth() const;
    Integer GetMinHeight() const;
    Integer GetMaxWidth() const;
    Integer GetMaxHeight() const;
    void SnapToEdges(Integer& X, Integer& Y, Integer W, Integer H);
    void AnimateTimerProc(TObject* Sender);
    void MorphTimerProc(TObject* Sender);
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) const;
    void SetFormBorderStyle(TFormBorderStyle BS);
    void SetFormStyle(TFormStyle FS);
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    // The layered frame around the form (layeredframe.cpp).
    bool UsesLayeredFrame() const;
    // The layered frame is shown as the form's whole non-client area.
    bool FullBorderFrameShown() const;
    // The form shows transparent and timer 1 makes it opaque, so that it
    // appears together with its layered frame.
    bool NeedsLayeredShow() const;
    // The bounds saved before the frame changed, for the frame shown now:
    // the outer edge stays where it was. Saved bounds are used once.
    void RestoreOldBounds();
    // The main form's share of the application's restore: the other normal
    // forms, then the main form, come forward over the layered frames.
    void CheckAppLayeredBorders();
    void AppRestore(TObject* Sender);
    TqxFormLayerBorder* FBorderLayer = nullptr;
    // The frame windows are resizing the form.
    bool FBorderLayerChangeSize = false;
    bool AlwaysDisableLayeredFrames = false;

    // Mouse routing, skin menus and short cuts (4.107).
    void TrackActiveObject(Integer X, Integer Y, bool AInside);
    void MouseTimerProc(TObject* Sender);
    void ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y);
    void ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y);
    void ObjectsMouseMove(Integer X, Integer Y);
    void ObjectsDblClick();
    void ResetObjectStates();
    void DoMouseEnterEvent(const String& IDName);
    void DoMouseLeaveEvent(const String& IDName);
    void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                          TMouseButton Button);
    void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                        TMouseButton Button);
    void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect);
    void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect);
    void SkinMenuOpen();
    void SkinMenuClose();
    void PopupSkinMenu(TMenu* Menu, TPoint P);
    void PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp);
    void LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp);
    void HookAppMessage();
    void UnhookAppMessage();
    void CloseMainMenu();
    void MainMenuPopupClosed();
    void PopupSystemMenu(Integer X, Integer Y);
    void PopupSystemMenuUnder(const TRect& R);
    void PopupSystemMenuFromButton();
    // The items the system menu shows: the supplied SystemMenu's, else the
    // generated ones for the current state.
    TMenuItem* GetSystemMenuItems();
    void RebuildSysMenuItems();
    // The supplied system menu with fresh standard items.
    void BuildSystemMenu();
    void FillTrayMenu();
    void MinimizeToTray();
    void RestoreFromTray();
    // The main-menu bar's side of the keys in main-menu mode.
    bool MainMenuBarKey(Word Key);
    bool CanMainMenuMoveLeft() const;
    bool CanMainMenuMoveRight() const;
    bool MainMenuBarOpenItem();
    void FormShortCut(TWMKey& Msg, bool& Handled);
    // Window coordinates to the screen.
    TRect WindowToScreen(const TRect& R) const;
    // The window's top-left corner on the screen: an MDI child's Left and
    // Top are inside its MDI client.
    TPoint WindowScreenOrigin() const;

    // The ribbon linked to the form, and what the frame and the keys do for
    // it (ribbonform.cpp).
    TqxRibbon* SkinRibbon() const { return FSkinRibbon; }
    void SetSkinRibbon(TqxRibbon* Value);
    // The ribbon's open application menu draws its caption into the frame.
    bool AppMenuCaptionDrawn() const;
    Integer AppMenuCaptionOffset() const;
    void PaintAppMenuCaption(TCanvas* ACanvas, Integer ATopHeight);
    // SC_KEYMENU: the application menu closes and the ribbon takes the keys.
    void RibbonKeyMenu();
    // The application button's menu shortcuts and Alt with a tab's accelerator.
    bool RibbonShortCut(TWMKey& Msg);
    void RibbonRemoved(TComponent* AComponent);
    TqxRibbon* FSkinRibbon = nullptr;
    // MDI support (mdisupport.cpp): the parent side acts only on an
    // fsMDIForm, the child side only on an fsMDIChild of an MDI main form.
    bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
    void SetShowMDIScrollBars(bool Value);
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode Value) { FTileMode = Value; }
    TqxSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TqxSkinMDITabsBar* Value);
    TqxSkinScrollBar* MDIHScrollBar() const { return FMDIHScrollBar; }
    TqxSkinScrollBar* MDIVScrollBar() const { return FMDIVScrollBar; }
    TqxOnAcceptToMDITabsBar OnAcceptToMDITabsBar;
    void Tile();
    void TileHorizontal();
    void TileVertical();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void CloseAll();
    void RestoreAll();
    void RestoreAllExcept(win::HWND AFormHandle);
    bool IsMDIChildMaximized() const { return FMDIChildMaximized; }
    TCustomForm* GetMaximizedMDIChild() const;
    // The main form's client area less its aligned controls.
    TRect GetMDIClientArea() const;
    void AddChildToMenu(TCustomForm* Child);
    void DeleteChildFromMenu(TCustomForm* Child);
    void UpDateChildCaptionInMenu(TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* Sender);
    void AddChildToBar(TCustomForm* Child);
    void DeleteChildFromBar(TCustomForm* Child);
    void RefreshMDIBarTab(TCustomForm* Child);
    void RefitMDIChildren();
    void ArrangeMinimizedChildren();
    void UpdateMDIScrollBars(bool AUpdateRange);
    void AlignMDIScrollBars();
    void RefreshMainMenuBar();
    void RefreshMDITabsBar();
    // The form's caption; an MDI form with maximized children adds the
    // active child's as " - [child]".
    String MDIFormCaption() const;
    // The MDI client's window procedure while subclassed.
    void ClientWindowProc(TMessage& Message);

    // The frame objects by index; the routing keeps an object alive while it
    // is being called, so a handler may rebuild the list.
    std::vector<std::shared_ptr<TqxActiveSkinObject>> ObjectList;
    Integer ActiveObject = -1;
    Integer OldActiveObject = -1;
    Integer MouseCaptureObject = -1;

    // Geometry in window coordinates (4.103).
    Integer FFormWidth = 0;
    Integer FFormHeight = 0;
    Integer FFormLeft = 0;
    Integer FFormTop = 0;
    Integer FOldFormLeft = 0;
    Integer FOldFormTop = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
    TRect NewClRect, NewCaptionRect, NewButtonsRect, NewMaskRectArea, NewDefCaptionRect;
    Integer NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    // The mask's border strips for the current size.
    std::unique_ptr<TBitmap> RMTop, RMBottom, RMLeft, RMRight;
    // The region set on the window (the window owns it), 0 for none.
    win::HRGN FRgn = nullptr;

    // Timers: hover tracking (50 ms), morphs and animations (25 ms).
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    TqxLayerManager* FLayerManager = nullptr;
    TqxLayerManager* FMenuLayerManager = nullptr;

    bool FFormActive = false;
    bool FSizeMove = false;
    bool FSizing = false;
    bool FFullDrag = false;
    bool PreviewMode = false;
    TRect OldBoundsRect;
    Integer OldHeight = 0;
    bool MaxRollUpState = false;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TqxClientInActivePanel;

    // Sends to the form's window, only when it exists.
    win::LRESULT SendToForm(win::UINT AMsg, win::WPARAM AWParam = 0, win::LPARAM ALParam = 0);
    bool DesigningOrLoading() const;
    void CallOldWindowProc(TMessage& Message);
    bool IsMainForm() const;
    TRect FormRect() const;
    // The picture size of the loaded skin's frame.
    TSize PictureSize() const;
    bool HasMask() const;

    // Window procedure parts.
    void CloseMenusOnMessage(const TMessage& Message);
    void WMSize(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMShowWindow(TMessage& Message);
    void WMTimer(TMessage& Message);
    void WMSizing(TMessage& Message);
    void WMMoving(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void SkinMessage(TMessage& Message);
    void PaintToDC(win::HDC ADC);
    void AfterOldProc(TMessage& Message);
    void CaptionDblClick();
    void FadeIn();
    // An alpha setting asks for the show to fade in or to stay translucent.
    bool FadesIn() const {
        return FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows());
    }
    // The end of a show that waited for the layered frame (timer 1).
    void EndLayeredShow();
    // The layered frame's share of the window procedure: before the form's
    // own (true: answered) and after it; and its rebuild with the skin.
    bool LayeredFrameBefore(TMessage& Message);
    void LayeredFrameAfter(TMessage& Message);
    void RebuildLayeredFrame();
    void LayeredBordersChanged();
    // Move and SetBounds place the frame's outer edge.
    bool FrameHasOuterEdge() const;
    // Visible forms of the screen that are no frame windows and no MDI
    // children; the stay-on-top ones, or the others but the main form.
    std::vector<TCustomForm*> ScreenForms(bool AStayOnTop) const;
    bool OtherNormalFormsVisible() const;
    void BringStayOnTopForms();
    // Application.OnRestore for the main form's component, when free.
    void InstallAppRestore();
    void RemoveAppRestore();
    bool FAppRestoreInstalled = false;

    // Painting helpers.
    void ApplyInActiveEffect(TBitmap* AStrip);
    void PaintBackground(win::HDC DC, TBitmap* AImage, bool AStretch, TqxStretchType AType);

    // Geometry helpers.
    bool InCaptionArea(TPoint P);
    Integer EdgeHitTest(TPoint P) const;
    Integer TailHitTest(TPoint P);

    // States helpers.
    void SetRegion(win::HRGN ARegion);
    void RemoveRegion();

    // Skin change helpers.
    void SaveOuterBounds();
    void ChangeControls(TqxSkinData* ASkinData, TControl* AControl, bool ABefore);
    void ApplyMinimumSize();

    // MDI support (mdisupport.cpp).
    static TqxDravenfold* MainFormDravenfold();
    bool IsMDIChild() const;
    bool IsMDIForm() const;
    void CreateMDIScrollBars();
    void ApplyMDIScrollPosition(TqxSkinScrollBar* ABar, Integer& AApplied, bool AHorizontal);
    void SubclassMDIClient();
    void UnsubclassMDIClient();
    // The MDI protocol and the child's events: before the previous procedure
    // (true when the message is answered) and after it.
    bool MDIMessage(TMessage& Message);
    // CM_CANCELMODE to the visible, enabled skinned controls of an MDI form.
    void CancelChildModes();
    void MDIAfterMessage(const TMessage& Message);
    win::LRESULT SendToMainForm(win::UINT AMsg, win::WPARAM AWParam = 0);
    TqxSkinScrollBar* FMDIHScrollBar = nullptr;
    TqxSkinScrollBar* FMDIVScrollBar = nullptr;
    win::HWND ChangeVisibleChildHanle = nullptr;
    bool FStopCheckChildMove = false;
    Integer FOldHSrollBarPosition = 0;
    Integer FOldVSrollBarPosition = 0;
    bool FShowMDIScrollBars = true;
    bool FInMaximizeAll = false;
    bool FInRestoreAll = false;
    bool FMDIChildMaximized = false;
    TTileMode FTileMode = tbHorizontal;
    TqxSkinMDITabsBar* FMDITabsBar = nullptr;
    win::WNDPROC FClientInstance = nullptr;
    win::WNDPROC FPrevClientProc = nullptr;
    win::HWND FSubclassedClient = nullptr;

    TCustomForm* FForm = nullptr;
    TqxSkinData* FSD = nullptr;
    TqxSkinData* FMSD = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TPopupMenu* FSystemMenu = nullptr;
    TPopupMenu* FSysMenu = nullptr;
    TqxSkinPopupMenu* FSysTrayMenu = nullptr;
    TqxSkinHint* FSkinHint = nullptr;
    TqxTrayIcon* FTrayIcon = nullptr;
    TqxSkinMainMenuBar* FMainMenuBar = nullptr;
    bool FAlwaysShowInTray = false;
    std::unique_ptr<TqxFormSkinMenu> FSkinMenu;
    TCustomImageList* FQuickImageList = nullptr;
    TqxSkinStatusBar* FStatusBar = nullptr;
    std::unique_ptr<TqxQuickButtonItems> FQuickButtons;
    std::unique_ptr<TBitmap> FLogoBitMap;
    std::unique_ptr<TFont> FDefCaptionFont;
    std::unique_ptr<TFont> FDefInActiveCaptionFont;
    std::unique_ptr<TIcon> FIcon;
    TqxClientInActivePanel* FInActivePanel = nullptr;

    TWndMethod OldWindowProc;
    TShortCutEvent OldShortCut;
    TMessageEvent OldAppMessage;
    bool FInAppHook = false;

    bool FSkinnableForm = true;
    bool FSkinSupport = false;
    bool FStopPainting = false;
    bool FInChangeSkinData = false;
    bool FIsVistaOs = false;
    bool FIsW7 = false;
    bool FIsLayerEnabled = false;
    bool FHaveShadow = false;
    Integer FOldFullBorder = -1;
    TRect FOldFormBounds;
    bool FUseRibbon = false;
    TqxBorderIcons FBorderIcons;
    bool FQuickButtonsShowHint = false;
    bool FQuickButtonsShowDivider = true;
    bool FClientInActiveEffect = false;
    TqxClientInActiveEffect FClientInActiveEffectType = qxieSemiTransparent;
    bool FClientInActiveDraw = false;
    bool FDisableSystemMenu = false;
    bool FAlwaysResize = false;
    TqxPositionInMonitor FPositionInMonitor = qxpDefault;
    bool FUseFormCursorInNCArea = false;
    Integer FMaxMenuItemsInWindow = 0;
    Integer FClientWidth = 0;
    Integer FClientHeight = 0;
    bool FHideCaptionButtons = false;
    bool FAlwaysMinimizeToTray = false;
    bool FLogoBitMapTransparent = false;
    bool FUseSkinFontInCaption = true;
    bool FShowIcon = false;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 200;
    bool FAlphaBlendAnimation = false;
    bool FShowObjectHint = false;
    bool FUseDefaultObjectHint = true;
    bool FMenusAlphaBlend = false;
    bool FMenusAlphaBlendAnimation = false;
    Byte FMenusAlphaBlendValue = 200;
    bool FUseDefaultSysMenu = true;
    Integer FMinHeight = 0;
    Integer FMinWidth = 0;
    Integer FMaxHeight = 0;
    Integer FMaxWidth = 0;
    bool FMagnetic = false;
    Byte FMagneticSize = 5;

    TWindowState FWindowStateInit = wsNormal;
    TWindowState FWindowState = wsNormal;
    bool FRollUpState = false;
    bool FRollUpBeforeMaximize = false;
    bool FMinimizeDefault = false;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
    TPoint FOnMouseDownCoord{-1, -1};
    bool FStartShow = true;
    bool FInMenu = false;
    bool FInMainMenu = false;
    bool FInShortCut = false;
    bool DisableDWMAnimation = false;
    // An outside window effect is running.
    bool FSmartEffectsShow = false;
    // Cleared by the destructor: a handler that freed the form (and with it
    // this component) ends the window procedure there.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The first form-skinning component of the form in component order; nil for
// a nil form or none.
TqxDravenfold* FindDravenfold(TCustomForm* AForm);
// The form component of the main form's active MDI child; nil for none.
TqxDravenfold* FindActiveChildDravenfold();
