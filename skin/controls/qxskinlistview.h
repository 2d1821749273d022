// The skinned list view: the toolkit's list view (window class
// "SysListView32") with the skin laid over it. Its font and colours come
// from a list-view element; its own scroll bars give way to two external
// skinned bars that mirror and drive its scroll state; its column header
// (the "SysHeader32" child) is subclassed and painted from a button element;
// and with DrawSkin every item is drawn here (qxskinlistviewitems.cpp): the
// selection from a list-box element, check boxes from a check-box element,
// icons, sub-items and skin grid lines.
#pragma once

#include <functional>
#include <memory>

#include "platform/toolkit/listview.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/core/qxskindata.h"

using TqxDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;
using TqxDrawSkinSubItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, Integer SubItemIndex, TCustomDrawState State,
                       TCanvas* ACanvas, const TRect& ADrawRect)>;

class TqxSkinCustomListView : public TCustomListView, public IqxSkinChangeable {
public:
    explicit TqxSkinCustomListView(TComponent* AOwner);
    // Gives the header its own procedure back.
    ~TqxSkinCustomListView() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // With a skin, re-skins the list at once.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& AValue) { FHeaderSkinDataName = AValue; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& AValue) { FItemSkinDataName = AValue; }
    const String& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const String& AValue) { FCheckSkinDataName = AValue; }
    // The unskinned font and colour, also Font and Color while there is no element.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    // The items drawn from the skin; once on, it stays installed.
    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool AValue);
    // Skin grid lines with DrawSkin.
    bool DrawSkinLines() const { return FDrawSkinLines; }
    void SetDrawSkinLines(bool AValue) { FDrawSkinLines = AValue; }
    TqxSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TqxSkinScrollBar* AValue);
    TqxSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TqxSkinScrollBar* AValue);

    // Reads the list-view element again: font, colours, the bars, the header.
    void ChangeSkinData() override;
    // The element is refused and the control takes its default look.
    void PaintFailed() override;
    // The external bars from the list's scroll state.
    void UpDateScrollBars();
    // The whole item from the skin; leaves DefaultDraw alone when the skin
    // has no list-box element to draw it with.
    void SkinCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                            bool& DefaultDraw);
    // The header into a device context.
    void PaintHeader(win::HDC ADC);
    win::HWND HeaderHandle() const { return FHeaderHandle; }

    void Loaded() override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;

    TqxDrawHeaderSectionEvent OnDrawHeaderSection;
    TqxDrawSkinSubItemEvent OnDrawSkinSubItem;

    // The list-view element's index, -1 unskinned; the header element's.
    Integer FIndex = -1;
    Integer FHIndex = -1;
    // The skin grid lines' colour.
    TColor FLineColor = clBtnFace;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void Change(TListItem* Item, TItemChange AChange) override;

private:
    void HeaderWndProc(TMessage& AMessage);
    void SubclassHeader(win::HWND AHeader);
    void ReleaseHeader();
    void RedrawHeader();
    void GetHeaderSkinData();
    TRect GetHeaderSectionRect(Integer AIndex);
    void DrawHeaderSection(TCanvas* ACanvas, TListColumn* AColumn, const TRect& AR, bool APressed);
    void DrawHeaderFace(TBitmap* ABitmap, const TRect& ASource, Integer AWidth, Integer AHeight);
    void DrawHeaderCaption(TCanvas* ACanvas, TListColumn* AColumn, const TRect& AR);
    bool HeaderSkinned() const { return FHIndex != -1 && HPicture; }
    void SetBarVisible(TqxSkinScrollBar* ABar, bool AVisible, bool& AChanged);
    void UpdateScrollBarsReport(bool& AChanged);
    void UpdateScrollBarsList(bool& AChanged);
    void UpdateScrollBarsIcon(bool& AChanged);
    Integer ItemZeroHeight();
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void AttachBar(TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue, bool AVertical);
    // Item drawing (qxskinlistviewitems.cpp).
    // The sub-items of a report row in ABounds (column 0 starts at its left).
    void DrawSubItems(TCanvas* ACanvas, TListItem* AItem, TCustomDrawState AState, const TRect& ABounds,
                      bool AFill, bool AOddLower);
    Integer CaptionRoom(const TRect& ALabel) const;

    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"listview";
    String FHeaderSkinDataName = u"header";
    String FItemSkinDataName = u"listbox";
    String FCheckSkinDataName = u"checkbox";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
    bool FDrawSkin = false;
    bool FDrawSkinLines = false;
    TqxSkinScrollBar* FVScrollBar = nullptr;
    TqxSkinScrollBar* FHScrollBar = nullptr;

    // An image list the window holds without SmallImages or LargeImages.
    win::HIMAGELIST FThirdImages = nullptr;
    Integer FThirdImageWidth = 0;
    Integer FThirdImageHeight = 0;
    Integer FThirdImagesCount = 0;

    // The subclassed header: its handle (nullptr for none), the procedure
    // bound to HeaderWndProc, its own procedure before.
    win::HWND FHeaderHandle = nullptr;
    win::WNDPROC FHeaderInstance = nullptr;
    win::WNDPROC FDefHeaderProc = nullptr;
    Integer FActiveSection = -1;
    bool FHeaderDown = false;
    bool FDevDown = false;

    // The header element's copy.
    TPoint HLTPt, HRTPt, HLBPt, HRBPt;
    TRect HSkinRect, HClRect;
    TBitmap* HPicture = nullptr;
    TColor HFontColor = 0;
    TColor HActiveFontColor = 0;
    TColor HDownFontColor = 0;
    TRect HActiveSkinRect, HDownSkinRect;
    bool HStretchEffect = false;
    bool HLeftStretch = false, HTopStretch = false, HRightStretch = false, HBottomStretch = false;
    TqxStretchType HStretchType = qxstFull;

    bool FInCheckScrollBars = false;
    bool FromSB = false;
    Integer FOldVScrollBarPos = 0;
    Integer FOldHScrollBarPos = 0;
};

class TqxSkinListView : public TqxSkinCustomListView {
public:
    using TqxSkinCustomListView::TqxSkinCustomListView;
};
