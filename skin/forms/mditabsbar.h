// The MDI tabs bar: one tab per shown MDI child of the main form, placed on
// the main form and linked to its form component. A press shows the child;
// tabs can carry close buttons, be dragged into a new order and hide when
// they no longer fit, listed then in a drop-down; a right click opens the
// child's system menu. Drawn from the skin's tab element, as resizable
// buttons, or in a plain default look.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "skin/controls/qxskincontrol.h"

class TqxDravenfold;
class TqxSkinMenuSpeedButton;
class TqxSkinPopupMenu;
class TqxSkinMDITabsBar;
class TMenuItem;

enum TqxSkinMDITabKind { qxtkTab, qxtkButton };

class TqxMDITab {
public:
    TqxMDITab(TqxSkinMDITabsBar* ABar, TCustomForm* AChild) : TabsBar(ABar), Child(AChild) {}

    // Draws the tab at its place on Cnvs (nothing without width).
    void Draw(TCanvas* Cnvs);

    TqxSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    // In bar coordinates; empty for a hidden tab.
    TRect ObjectRect;
    TCustomForm* Child;
    bool Visible = true;
    // The close button relative to the tab's top-left, set while drawn.
    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;
    TColor TextFontColor = clBtnText;

private:
    void DrawFixed(TCanvas* Cnvs, TBitmap* B);
    void ResizeDraw(TBitmap* B);
    void ButtonDraw(TBitmap* B);
    // The close button, the icon and the caption in ATextArea.
    void DrawContent(TCanvas* Cnvs, TRect ATextArea, Integer AHeight);
    void DrawCloseButton(TCanvas* Cnvs, const TRect& R);
    void DrawChildIcon(TRect& R, TCanvas* Cnvs);
};

using TqxMDITabMouseEnterEvent = std::function<void(TqxMDITab* MDITab)>;
using TqxMDITabMouseLeaveEvent = std::function<void(TqxMDITab* MDITab)>;
using TqxMDITabMouseDownEvent =
    std::function<void(TMouseButton Button, TShiftState Shift, TqxMDITab* MDITab)>;
using TqxMDITabMouseUpEvent = std::function<void(TMouseButton Button, TShiftState Shift, TqxMDITab* MDITab)>;
using TqxMDITabGetDrawParamsEvent = std::function<void(TqxMDITab* MDITab, TCanvas* Cnvs)>;

class TqxSkinMDITabsBar : public TqxSkinControl {
public:
    explicit TqxSkinMDITabsBar(TComponent* AOwner);
    ~TqxSkinMDITabsBar() override;

    // Published properties.
    bool ShowAddButton() const { return FShowAddButton; }
    void SetShowAddButton(bool Value);
    bool ShowChildIcon() const { return FShowChildIcon; }
    void SetShowChildIcon(bool Value);
    bool DblClickChildMove() const { return FDblClickChildMove; }
    void SetDblClickChildMove(bool Value) { FDblClickChildMove = Value; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    TqxSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TqxSkinMDITabKind Value);
    TqxDravenfold* Dravenfold() const { return FDravenfold; }
    void SetDravenfold(TqxDravenfold* Value);
    bool SupportChildMenus() const { return FSupportChildMenus; }
    void SetSupportChildMenus(bool Value) { FSupportChildMenus = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool MoveTabs() const { return FMoveTabs; }
    void SetMoveTabs(bool Value) { FMoveTabs = Value; }
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    Integer DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(Integer Value) { FDefaultTabWidth = Value; }
    Integer MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(Integer Value) { FMinTabWidth = Value; }

    TNotifyEvent OnAddButtonClick;
    TqxMDITabMouseEnterEvent OnTabMouseEnter;
    TqxMDITabMouseLeaveEvent OnTabMouseLeave;
    TqxMDITabMouseDownEvent OnTabMouseDown;
    TqxMDITabMouseUpEvent OnTabMouseUp;
    TqxMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

    // The tabs in display order.
    Integer TabCount() const { return Integer(ObjectList.size()); }
    TqxMDITab* Tabs(Integer AIndex) const { return ObjectList.at(size_t(AIndex)).get(); }
    void AddTab(TCustomForm* Child);
    void DeleteTab(TCustomForm* Child);
    Integer GetTabIndex(Integer X, Integer Y) const;
    TqxMDITab* GetTab(Integer X, Integer Y) const;
    Integer GetCloseSize() const;
    void UpdateActiveTab();
    // Redraws the child's tab.
    void RefreshTab(TCustomForm* Child);
    // Lays the tabs out for the bar's size.
    void CalcTabs();
    Integer GetDropIndex() const;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void AdjustClientRect(TRect& ARect) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TqxSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TqxSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    TqxSkinPopupMenu* ListMenu() const { return FListMenu; }
    TqxSkinPopupMenu* HideListMenu() const { return FHideListMenu; }

    // State, public for the tabs and for tests.
    bool FAddButtonActive = false;
    bool FAddButtonDown = false;
    Integer FBottomOffset = 0;
    bool IsDrag = false;
    Integer DX = 0;
    Integer TabDX = 0;
    bool FDown = false;
    Integer DragIndex = -1;
    Integer ActiveTabIndex = -1;
    Integer OldTabIndex = -1;
    Integer FInVisibleCount = 0;
    TRect FAddButtonRect;
    Integer FCloseSize = 14;

    // Values copied from the skin's tab element.
    TBitmap* Picture = nullptr;
    TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
    Integer TabLeftOffset = 0, TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = clBtnText, ActiveFontColor = clBtnText, MouseInFontColor = clBtnText;
    String UpDown;
    bool TabStretchEffect = false;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect SkinRect, ClRect;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TqxStretchType StretchType = qxstFull;
    Integer FActiveTabOffset = 0;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TqxMDITab;
    bool Skinned() const { return FIndex != -1; }
    // The caption font of the tabs: the skin's or the default font.
    void SetupTabFont(TCanvas* Cnvs, TColor AColor) const;
    void DrawBackground(TBitmap* B);
    void DrawTabs(TBitmap* B);
    void DrawAddButton(TCanvas* Cnvs);
    void DrawDropMarker(TCanvas* Cnvs);
    // Hover tracking of tabs, close buttons and the add button.
    void TestActive(Integer X, Integer Y);
    TqxSkinMenuSpeedButton* MakeListButton(TAlign AAlign, Integer AArrowType, TqxSkinPopupMenu* AMenu);
    void FillListMenu(TqxSkinPopupMenu* AMenu, bool AHiddenOnly);
    void ListItemClick(TObject* Sender);
    void OpenChildMenu(TqxMDITab* ATab, Integer X, Integer Y);

    std::vector<std::unique_ptr<TqxMDITab>> ObjectList;
    bool FShowAddButton = false;
    bool FShowChildIcon = false;
    bool FDblClickChildMove = false;
    bool FShowCloseButtons = false;
    TqxSkinMDITabKind FTabKind = qxtkTab;
    TqxDravenfold* FDravenfold = nullptr;
    bool FSupportChildMenus = true;
    bool FUseSkinSize = true;
    bool FUseSkinFont = true;
    bool FMoveTabs = true;
    Integer FDefaultHeight = 21;
    std::unique_ptr<TFont> FDefaultFont;
    Integer FDefaultTabWidth = 100;
    Integer FMinTabWidth = 0;
    TqxSkinMenuSpeedButton* FListButton = nullptr;
    TqxSkinMenuSpeedButton* FHideListButton = nullptr;
    TqxSkinPopupMenu* FListMenu = nullptr;
    TqxSkinPopupMenu* FHideListMenu = nullptr;
};
