// The skinned page control: the toolkit's page control with everything
// visible drawn here from a "tab" element (or a plain default look): the
// page frame, the tab strip, each tab with its image and close button, tabs
// on any side turned or flipped, centred or offset tabs, hot tracking,
// hidden tabs or border, page switching by the wheel, and a skinned up-down
// in place of the system's scroller when one row of tabs does not fit. Its
// sheets paint their background from the same element or a wallpaper.
#pragma once

#include <memory>

#include "platform/toolkit/pagecontrol.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskinupdown.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxskindata.h"

class TqxSkinPageControl;

using TqxCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TqxDrawSkinTabEvent =
    std::function<void(Integer TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TqxSkinCustomTabSheet : public TTabSheet {
public:
    explicit TqxSkinCustomTabSheet(TComponent* AOwner);
    ~TqxSkinCustomTabSheet() override;

    // Tiled over the sheet instead of the skin's background.
    TBitmap* WallPaper() const { return FWallPaper.get(); }
    void SetWallPaper(TBitmap* AValue);
    // The sheet's background into ADC.
    void PaintBG(win::HDC ADC);

    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;

    // The close button of the sheet's tab, in the tab's own coordinates.
    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

private:
    TqxSkinPageControl* SkinPageControl() const;

    std::unique_ptr<TBitmap> FWallPaper;
};

class TqxSkinTabSheet : public TqxSkinCustomTabSheet {
public:
    using TqxSkinCustomTabSheet::TqxSkinCustomTabSheet;
};

class TqxSkinPageControl : public TPageControl, public IqxSkinChangeable {
public:
    explicit TqxSkinPageControl(TComponent* AOwner);
    ~TqxSkinPageControl() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // Stores it; a usable one re-skins the control.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    // The tab height without a skin; also the scroller's size.
    Integer DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(Integer AValue);
    bool MouseWheelSupport() const { return FMouseWheelSupport; }
    void SetMouseWheelSupport(bool AValue) { FMouseWheelSupport = AValue; }
    // The tab content laid out as a button's (margin, spacing, layout).
    bool TabExtededDraw() const { return FTabExtendedDraw; }
    void SetTabExtededDraw(bool AValue);
    Integer TabMargin() const { return FTabMargin; }
    void SetTabMargin(Integer AValue);
    Integer TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(Integer AValue);
    TqxButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TqxButtonLayout AValue);
    // Left and right tabs keep their text horizontal.
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool AValue);
    // Close buttons on the tabs; a closed page is hidden, and freed with FreeOnClose.
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool AValue);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool AValue) { FFreeOnClose = AValue; }
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool AValue);
    // Tab images, by the sheets' ImageIndex.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    // Refused while TabWidth is 0; tabs go to the top in one row.
    bool TabsInCenter() const { return FTabsInCenter; }
    void SetTabsInCenter(bool AValue);
    Integer TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(Integer AValue);
    const String& ButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
    void SetButtonTabSkinDataName(const String& AValue) { FButtonTabSkinDataName = AValue; }

    // Reads the element: font, tab height, close size, scroller.
    void ChangeSkinData() override;
    // The element is refused and the control takes its default look.
    void PaintFailed() override;
    void UpDateTabs();
    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    bool TabsHidden() const { return FHideTabs; }
    // The tab scroller, nil while every tab fits.
    TqxSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
    // Where centred or offset tabs start.
    Integer TabStart();
    // The hot tab's page index, -1 none.
    Integer ActiveTab() const { return FActiveTab; }
    Integer CloseSize() const { return FCloseSize; }

    void Loaded() override;
    void Paint() override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TqxCloseEvent OnClose;
    TNotifyEvent OnAfterClose;
    TqxDrawSkinTabEvent OnDrawSkinTab;

    Integer FIndex = -1;
    // Copies of the tab element.
    TRect CloseButtonRect;
    TRect ClosebuttonActiveRect;
    TRect CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TBitmap* Picture = nullptr;
    TRect SkinRect;
    TRect ClRect;
    TRect TabRect;
    TRect ActiveTabRect;
    TRect FocusTabRect;
    TRect MouseInTabRect;
    TRect TabsBGRect;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    Integer TabLeftOffset = 0;
    Integer TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TColor MouseInFontColor = 0;
    String UpDown;
    Integer BGPictureIndex = -1;
    bool TabStretchEffect = false;
    bool ShowFocus = false;
    Integer FocusOffsetX = 0;
    Integer FocusOffsetY = 0;
    bool StretchEffect = false;
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    TqxStretchType StretchType = qxstFull;
    TRect TabLeftBottomActiveRect;
    TRect TabLeftBottomFocusRect;

protected:
    friend class TqxSkinCustomTabSheet;

    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void Change() override;
    void GetSkinData();
    // The skin frame's border widths: left, top, right, bottom.
    TRect SkinBorders() const;
    // The client piece or background picture of the element over AArea.
    void PaintSkinBackground(TCanvas* ACanvas, const TRect& AArea, Integer AWidth, Integer AHeight);

private:
    struct TVisibleTab {
        TqxSkinCustomTabSheet* Sheet;
        Integer Tab;
        TRect R;
    };
    std::vector<TVisibleTab> VisibleTabs();
    TqxSkinCustomTabSheet* SheetOfPage(Integer APageIndex) const;
    bool Sideways() const { return TabPosition() == tpLeft || TabPosition() == tpRight; }
    // The reserve image list's length along the tabs, by what it holds.
    void ResizeReserve(Integer ADelta);
    void ApplyItemSize();
    void CorrectItemRect(win::RECT& R);
    void CorrectDisplayRect(win::RECT& R);
    TRect DisplayRect();
    TRect FrameRect();
    void PaintFrame(TCanvas* ACanvas);
    void DrawTabs(TCanvas* ACanvas);
    void DrawTab(Integer APageIndex, const TRect& ARect, TCanvas* ACanvas, bool AHot, bool ASelected);
    void DrawTabImageAndText(TCanvas* ACanvas, Integer AWidth, Integer AHeight, const String& AText,
                             Integer AImageIndex, bool AEnabled, Integer AShift);
    void DrawCloseButton(TCanvas* ACanvas, const TRect& AArea, TqxSkinCustomTabSheet* ASheet, Integer AWidth,
                         Integer AHeight, bool ASideways);
    // The selected tab's rectangle grown toward the page.
    TRect SelectedExtended(const TRect& R);
    void RedrawStrip();
    void HotTrack(Integer X, Integer Y);
    TPoint TabPoint(Integer X, Integer Y, const TVisibleTab& ATab) const;
    void CloseActivePage();
    void ResetHotTabs();
    Integer TabsScrolledLeft();
    void UpdateScroller();
    void FreeScroller();
    void ScrollerChanged(TObject* Sender);
    void RefreshScrollerPosition();
    void EraseBackground(TMessage& AMessage);
    void MouseWheel(Integer ADelta);

    bool FMouseWheelSupport = false;
    bool FTabExtendedDraw = false;
    Integer FTabMargin = -1;
    Integer FTabSpacing = 1;
    TqxButtonLayout FTabLayout = blGlyphLeft;
    bool FTextInHorizontal = false;
    bool FHideTabs = false;
    bool FHideBorder = false;
    TTabPosition FOldTabPosition = tpTop;
    bool FOldMultiLine = false;
    Integer FOldTabHeight = -1;
    Integer FCloseSize = 14;
    bool FFreeOnClose = false;
    bool FShowCloseButtons = false;
    bool FTabsBGTransparent = false;
    Integer FActiveTab = -1;
    Integer FActiveTabIndex = -1;
    Integer FOldActiveTab = -1;
    Integer FOldActiveTabIndex = -1;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FTempImages;
    bool FTabsInCenter = false;
    Integer FTabsOffset = 0;
    String FButtonTabSkinDataName = u"resizetoolbutton";
    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"tab";
    TqxSkinUpDown* FSkinUpDown = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    Integer FDefaultItemHeight = 20;
};
