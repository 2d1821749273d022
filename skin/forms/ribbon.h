// The ribbon: a skinned bar at the top of a form whose tab row holds the
// application button, the tabs and, at the right end, small image buttons
// and, while an MDI child is maximized, that child's three buttons; below
// the row lies the page of the selected tab. The application button opens
// the application menu, a panel over the form with a column of command and
// page items and the page of the chosen page item.
//
// One unit split by topic: ribbontabs.cpp (tabs, pages, button items, the
// shared background fill), ribbon.cpp (the bar), appmenu.cpp (the
// application button and menu), ribbonform.cpp (the form component's side).
#pragma once

#include <functional>

#include "platform/base/collections.h"
#include "platform/toolkit/forms.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/controls/qxskinmenubutton.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/forms/scrollpages.h"

class TqxRibbon;
class TqxAppMenu;
class TqxAppMenuItem;
class TqxSkinHint;
class TqxSkinPopupMenu;
class TqxDravenfold;

// Fills ATarget on ACanvas from the picture APicture: stretched over it
// (AStretchEffect with qxstFull), stretched to a column of the target's
// height repeated across (qxstHorz) or to a row of its width repeated down
// (qxstVert), or tiled from its top-left. A picture without width or
// height draws nothing.
void SkinBackgroundFill(TCanvas* ACanvas, const TRect& ATarget, TBitmap* APicture, bool AStretchEffect,
                        TqxStretchType AStretchType);
// ASource of APicture as a bitmap of its own; empty when ASource is empty.
void CutPicture(TBitmap* ADest, TBitmap* APicture, const TRect& ASource);

// P lies in R; the right and bottom edges are outside.
inline bool ItemHit(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// AFormat ("qxRibbonPage%d") with 1, raised while AForm already owns a
// component of that name; without a form the first name.
String MakeUniqueComponentName(const String& AFormat, TComponent* AForm);

class TqxRibbonPage : public TqxRibbonCustomPage {
public:
    explicit TqxRibbonPage(TComponent* AOwner);

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    TqxRibbon* RibbonBar() const;

    // On a ribbon the page always takes the ribbon's page area.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void PaintPageBackground(win::HDC ADC);

protected:
    void ContentScrolled() override;

private:
    String FCaption;
};

class TqxRibbonTab : public TCollectionItem {
public:
    explicit TqxRibbonTab(TCollection* ACollection);

    TqxRibbonPage* Page() const { return FPage; }
    // Selects this tab on the page's ribbon.
    void SetPage(TqxRibbonPage* AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);
    void Assign(TPersistent* ASource) override;
    TqxRibbon* Ribbon() const;

    // Set by the ribbon: the mouse is over the tab, its place and width.
    bool Active = false;
    TRect ItemRect;
    Integer Width = 0;

private:
    friend class TqxRibbon;
    friend class TqxRibbonTabs;
    TqxRibbonPage* FPage = nullptr;
    bool FVisible = true;
};

class TqxRibbonTabs : public TCollectionOf<TqxRibbonTab> {
public:
    explicit TqxRibbonTabs(TqxRibbon* ARibbon);
    TqxRibbon* Ribbon() const { return FRibbon; }
    // At run time a new tab gets a page of its own, which is selected.
    TqxRibbonTab* Add();
    TqxRibbonTab* Insert(Integer AIndex);
    // At run time the tab's page goes with it.
    void Delete(Integer AIndex);

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TqxRibbonTab* Added(TqxRibbonTab* ATab);
    TqxRibbon* FRibbon;
};

class TqxRibbonButtonItem : public TCollectionItem {
public:
    explicit TqxRibbonButtonItem(TCollection* ACollection);

    Integer ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(Integer AValue);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool AValue);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool AValue);
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue) { FHint = AValue; }
    void Assign(TPersistent* ASource) override;

    // Raised with the ribbon as Sender.
    TNotifyEvent OnClick;
    // Opened below the item when it is pressed.
    TqxSkinPopupMenu* PopupMenu = nullptr;
    TRect ItemRect;
    bool Active = false;
    bool Down = false;
    // MDI buttons: 1 close, 2 restore, 3 minimize; 0 otherwise.
    Integer Code = 0;

private:
    Integer FImageIndex = -1;
    bool FEnabled = true;
    bool FVisible = true;
    String FHint;
};

class TqxRibbonButtonItems : public TCollectionOf<TqxRibbonButtonItem> {
public:
    explicit TqxRibbonButtonItems(TqxRibbon* ARibbon);
    TqxRibbon* Ribbon() const { return FRibbon; }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TqxRibbon* FRibbon;
};

// The application button: a menu button that opens the ribbon's
// application menu, or the ribbon's popup menu when there is none.
class TqxAppButton : public TqxSkinMenuButton {
public:
    explicit TqxAppButton(TComponent* AOwner);

    bool CanTrackMenu(Integer X, Integer Y) override;
    void TrackMenu() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void Dispatch(TMessage& AMessage) override;

    TqxRibbon* Ribbon = nullptr;
};

class TqxRibbon : public TqxSkinControl {
public:
    explicit TqxRibbon(TComponent* AOwner);
    ~TqxRibbon() override;

    TqxRibbonTabs* Tabs() const { return FTabs.get(); }
    void SetTabs(TqxRibbonTabs* AValue);
    Integer TabIndex() const { return FTabIndex; }
    void SetTabIndex(Integer AValue);
    TqxRibbonPage* ActivePage() const;
    void SetActivePage(TqxRibbonPage* AValue);
    // The index of the tab that shows APage, -1 without.
    Integer IndexOfPage(TqxRibbonPage* APage) const;
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    Integer AppButtonSpacing() const;
    void SetAppButtonSpacing(Integer AValue);
    Integer AppButtonMargin() const;
    void SetAppButtonMargin(Integer AValue);
    String AppButtonCaption() const;
    void SetAppButtonCaption(const String& AValue);
    Integer AppButtonWidth() const { return FAppButtonWidth; }
    // The same value and values below 35 are ignored.
    void SetAppButtonWidth(Integer AValue);
    TCustomImageList* AppButtonImageList() const { return FAppButtonImageList; }
    void SetAppButtonImageList(TCustomImageList* AValue);
    Integer AppButtonImageIndex() const { return FAppButtonImageIndex; }
    void SetAppButtonImageIndex(Integer AValue);
    TqxSkinPopupMenu* AppButtonPopupMenu() const { return FAppButtonPopupMenu; }
    void SetAppButtonPopupMenu(TqxSkinPopupMenu* AValue);
    TqxRibbonButtonItems* Buttons() const { return FButtons.get(); }
    void SetButtons(TqxRibbonButtonItems* AValue);
    TCustomImageList* ButtonsImageList() const { return FButtonsImageList; }
    void SetButtonsImageList(TCustomImageList* AValue);
    bool ButtonsShowHint() const { return FButtonsShowHint; }
    void SetButtonsShowHint(bool AValue) { FButtonsShowHint = AValue; }
    TqxSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TqxSkinHint* AValue);
    TqxAppMenu* AppMenu() const { return FAppMenu; }
    void SetAppMenu(TqxAppMenu* AValue);
    bool TabBoldStyle() const { return FTabBoldStyle; }
    void SetTabBoldStyle(bool AValue);
    TqxAppButton* AppButton() const { return FAppButton; }
    TqxRibbonButtonItems* MDIButtons() const { return FMDIButtons.get(); }

    // The form component the ribbon belongs to; freed, it is forgotten.
    TqxDravenfold* QXD() const { return FQXD; }
    void SetQXD(TqxDravenfold* AValue);

    void ShowAppMenu();
    // Closes the menu; with an item, that item's OnClick runs afterwards.
    void HideAppMenu(TqxAppMenuItem* AItem);
    bool AppMenuVisible() const;
    // An MDI child was maximized, or children were restored.
    void MDIChildMaximize();
    void MDIChildRestore();
    void CreateAppButton();

    // Geometry, for the pages and the tests.
    Integer GetTabRowHeight();
    TRect GetPageBounds();
    void CalcTabsLayout(TCanvas* ACanvas);
    void SelectNextTab();
    void SelectPriorTab(bool AFromKeyboard);
    void SelectFirstTab();
    void SelectLastTab();

    void Loaded() override;
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void GetSkinData() override;
    void SetSkinData(TqxSkinData* AValue) override;
    void ChangeSkinData() override;
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnChangePage;
    TNotifyEvent OnChangingPage;
    TNotifyEvent OnMenuClose;

    // The skin element ("officetab") and its picture; nil without skin.
    const TqxDataSkinTabControl* FData = nullptr;
    TBitmap* FDataPicture = nullptr;
    bool Skinned() const { return FIndex != -1 && FData; }

    // Layout and tracking state.
    bool FShowDivider = false;
    Integer FLeftOffset = 57;
    Integer FRightOffset = 5;
    Integer FTabActive = -1, FOldTabActive = -1;
    Integer FActiveButton = -1, FOldActiveButton = -1;
    Integer FMDIActiveButton = -1, FMDIOldActiveButton = -1;
    Integer FMouseCaptureButton = -1, FMouseCaptureMDIButton = -1;
    Integer FPopupButton = -1;
    // While set, selecting a tab does not fall back to -1 without visible tabs.
    bool FStopCheckTabIndex = false;
    // The last WM_ERASEBKGND painted everything; the next Paint is skipped.
    bool WMEraseReady = false;
    bool InAppHook() const { return FInAppHook; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend struct TqxRibbonHook;

    void PaintRibbon(win::HDC ADC);
    void PaintDefaultTab(TCanvas* ACanvas, TqxRibbonTab* ATab, Integer AIndex);
    void PaintSkinTab(TCanvas* ACanvas, TqxRibbonTab* ATab, Integer AIndex);
    void PaintButtonItem(TCanvas* ACanvas, TqxRibbonButtonItem* AItem);
    void PaintMDIButton(TCanvas* ACanvas, TqxRibbonButtonItem* AItem);
    void PaintEmptyPageArea(win::HDC ADC);
    bool HasVisibleTab() const;
    void TestActive(Integer X, Integer Y);
    void TrackButtons(TqxRibbonButtonItems* AItems, Integer& AActive, Integer& AOld, bool AEnabledOnly,
                      Integer X, Integer Y);
    void PopupButtonMenu(Integer AIndex);
    // The menu over the form below the button, or over the whole client area.
    void PlaceAppMenu();
    void HookRibbonAppMessages();
    void UnhookRibbonAppMessages();
    void RibbonAppMessage(win::MSG& Msg, bool& Handled);
    void AddMDIButtons();
    void RemoveMDIButtons();
    void MenuClosed();

    std::unique_ptr<TqxRibbonTabs> FTabs;
    std::unique_ptr<TqxRibbonButtonItems> FButtons;
    std::unique_ptr<TqxRibbonButtonItems> FMDIButtons;
    Integer FTabIndex = -1;
    bool FUseSkinFont = true;
    bool FTabBoldStyle = false;
    bool FButtonsShowHint = false;
    bool FInAppHook = false;
    TMessageEvent OldAppMessage;
    TqxAppMenu* FAppMenu = nullptr;
    TCustomImageList* FButtonsImageList = nullptr;
    TqxSkinHint* FSkinHint = nullptr;
    Integer FAppButtonWidth = 54;
    TqxAppButton* FAppButton = nullptr;
    TCustomImageList* FAppButtonImageList = nullptr;
    Integer FAppButtonImageIndex = 0;
    TqxSkinPopupMenu* FAppButtonPopupMenu = nullptr;
    TqxDravenfold* FQXD = nullptr;
};

class TqxAppMenuPage : public TqxAppMenuCustomPage {
public:
    explicit TqxAppMenuPage(TComponent* AOwner);

    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer AValue);
    // Takes the focus when the page's item is chosen by the keyboard.
    TWinControl* FirstActiveControl() const { return FFirstActiveControl; }
    void SetFirstActiveControl(TWinControl* AValue);
    TqxAppMenu* Menu() const;

    // On a menu the page takes the menu's page area, its width limited by
    // DefaultWidth, at least 100 x 100.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void PaintPageBackground(win::HDC ADC);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    Integer FDefaultWidth = 0;
    TWinControl* FFirstActiveControl = nullptr;
};

class TqxAppMenuItem : public TCollectionItem {
public:
    explicit TqxAppMenuItem(TCollection* ACollection);

    TqxAppMenuPage* Page() const { return FPage; }
    void SetPage(TqxAppMenuPage* AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    void Assign(TPersistent* ASource) override;

    // Raised with the ribbon as Sender when the item is chosen.
    TNotifyEvent OnClick;
    bool Active = false;
    // In the menu, already moved by the scroll offset.
    TRect ItemRect;

private:
    friend class TqxAppMenu;
    TqxAppMenuPage* FPage = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    Integer FImageIndex = -1;
    String FCaption;
};

class TqxAppMenuItems : public TCollectionOf<TqxAppMenuItem> {
public:
    explicit TqxAppMenuItems(TqxAppMenu* AMenu);
    TqxAppMenu* AppMenu() const { return FMenu; }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TqxAppMenu* FMenu;
};

class TqxAppMenu : public TqxSkinControl {
public:
    explicit TqxAppMenu(TComponent* AOwner);
    ~TqxAppMenu() override;

    TqxAppMenuItems* Items() const { return FItems.get(); }
    void SetItems(TqxAppMenuItems* AValue);
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer AValue);
    TqxAppMenuPage* ActivePage() const { return FActivePage; }
    void SetActivePage(TqxAppMenuPage* AValue);
    Integer ItemWidth() const { return FItemWidth; }
    // At least 100.
    void SetItemWidth(Integer AValue);
    TCustomImageList* ItemImageList() const { return FItemImageList; }
    void SetItemImageList(TCustomImageList* AValue);
    TCustomImageList* ItemPageImageList() const { return FItemPageImageList; }
    void SetItemPageImageList(TCustomImageList* AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    TqxSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TqxSkinHint* AValue);
    // The ribbon that opens the menu; freed, it is forgotten.
    TqxRibbon* Ribbon() const { return FRibbon; }
    void SetRibbon(TqxRibbon* AValue);

    void FindNextItem();
    void FindPriorItem();
    void FindFirstItem();
    void FindLastItem();
    void UpdateScrollInfo();
    // A new page, owned by the menu's form, made the active page.
    TqxAppMenuPage* CreatePage();
    TRect GetPageBounds();
    void CalcItemRects();
    // Min 0, Max, the menu height.
    void GetItemsExtent(Integer& AMin, Integer& AMax, Integer& APage);
    bool SizeGripShown() const;
    TRect GetSizeGripRect() const { return Rect(Width() - 10, Height() - 10, Width(), Height()); }
    TqxSkinScrollBar* ScrollBar() const { return FScrollBar; }
    Integer ScrollOffset() const { return FScrollOffset; }
    // Whether the element's PageItemRect equals its ItemRect.
    bool SameRects();

    // What the form component draws while the menu is open.
    bool CanDrawAppMenuCaption();
    Integer GetAppMenuCaptionOffset();
    void DrawAppMenuCaption(TCanvas* ACanvas, const TRect& R);

    void Loaded() override;
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void GetSkinData() override;
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnChangePage;
    TNotifyEvent OnShowMenu;
    TNotifyEvent OnShowingMenu;
    TNotifyEvent OnHideMenu;
    TNotifyEvent OnHidingMenu;

    const TqxDataSkinAppMenu* FData = nullptr;
    TBitmap* FDataPicture = nullptr;
    TBitmap* FDataBGPicture = nullptr;
    TBitmap* FDataPageBGPicture = nullptr;
    TRect FBackButtonRect;
    bool FBackButtonActive = false;
    Integer FItemActive = -1, FOldItemActive = -1;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void PaintAppMenu();
    void PaintSkinItem(TCanvas* ACanvas, TqxAppMenuItem* AItem);
    void PaintDefaultItem(TCanvas* ACanvas, TqxAppMenuItem* AItem);
    void ItemContent(TCanvas* ACanvas, TqxAppMenuItem* AItem, TRect ARect, bool ASkinned, Integer ASpacing);
    void TestActive(Integer X, Integer Y);
    void ShowScrollBar();
    void HideScrollBar();
    void PlaceScrollBar();
    void ScrollToItem(Integer AIndex);
    void SelectFound(Integer AIndex);
    bool Selectable(Integer AIndex) const;
    void WMSize();

    std::unique_ptr<TqxAppMenuItems> FItems;
    Integer FScrollOffset = 0;
    TqxSkinScrollBar* FScrollBar = nullptr;
    Integer FOldHeight = -1;
    bool FUseSkinFont = true;
    Integer FItemIndex = -1;
    TqxSkinHint* FSkinHint = nullptr;
    TqxAppMenuPage* FActivePage = nullptr;
    Integer FItemWidth = 100;
    TCustomImageList* FItemImageList = nullptr;
    TCustomImageList* FItemPageImageList = nullptr;
    TqxRibbon* FRibbon = nullptr;
};
