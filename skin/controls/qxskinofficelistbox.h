// The office list: a skinned, wholly owner-drawn list of office items,
// header rows that split it into groups and item rows with a bold title,
// an image, a word-wrapped caption and a check mark. It scrolls by pixels
// through a skinned vertical bar of its own, made only while the rows are
// taller than the list. The popup kind is the same list in a window that
// never takes the activation, with a fade-in: the drop-down of the office
// combo box. The rows are painted in qxskinofficelistboxitems.cpp.
#pragma once

#include <functional>

#include "platform/base/collections.h"
#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/controls/qxskinscrollbar.h"

class TqxSkinOfficeListBox;
class TqxSkinCustomOfficeComboBox;

// The owner-draw hook of office rows: the canvas, the row and the
// rectangle its content goes into.
using TqxDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, TRect TextRct)>;

// An office item's title in bold at the top of R; returns its height.
Integer DrawOfficeItemTitle(TCanvas* C, const String& ATitle, const TRect& R);

class TqxSkinOfficeItem : public TCollectionItem {
public:
    explicit TqxSkinOfficeItem(TCollection* ACollection);
    // From another office item: everything but Data and OnClick.
    void Assign(TPersistent* ASource) override;

    Integer ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(Integer AValue);
    const String& Title() const { return FTitle; }
    virtual void SetTitle(const String& AValue);
    const String& Caption() const { return FCaption; }
    virtual void SetCaption(const String& AValue);
    // Free for the application; not stored, no repaint.
    void* Data() const { return FData; }
    virtual void SetData(void* AValue) { FData = AValue; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool AValue);
    bool Header() const { return FHeader; }
    virtual void SetHeader(bool AValue);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool AValue);

    // The row became the list's current item through SetItemIndex.
    TNotifyEvent OnClick;

    // Written by the list: the row in its client coordinates after
    // scrolling, whether it shows, whether it is the current row.
    TRect ItemRect;
    bool IsVisible = false;
    bool Active = false;

private:
    template <typename T>
    void Store(T& AField, const T& AValue) {
        AField = AValue;
        Changed(false);
    }

    Integer FImageIndex = -1;
    String FTitle;
    String FCaption;
    void* FData = nullptr;
    bool FEnabled = true;
    bool FHeader = false;
    bool FChecked = false;
};

class TqxSkinOfficeItems : public TCollectionOf<TqxSkinOfficeItem> {
public:
    explicit TqxSkinOfficeItems(TqxSkinOfficeListBox* AListBox);

    TqxSkinOfficeListBox* OfficeListBox() const { return FOfficeListBox; }
    // The collection's own, each followed by a repaint of the list.
    TqxSkinOfficeItem* Add();
    TqxSkinOfficeItem* Insert(Integer AIndex);
    void Delete(Integer AIndex);
    void Clear();

protected:
    // Repaints the list and brings its bar up to date.
    void Update(TCollectionItem* AItem) override;

private:
    TqxSkinOfficeListBox* FOfficeListBox;
};

class TqxSkinOfficeListBox : public TqxSkinCustomControl {
public:
    explicit TqxSkinOfficeListBox(TComponent* AOwner);
    ~TqxSkinOfficeListBox() override;

    TqxSkinOfficeItems* Items() const { return FItems.get(); }
    // A copy of AValue's rows.
    void SetItems(TqxSkinOfficeItems* AValue);
    Integer ItemIndex() const { return FItemIndex; }
    // Makes the row current with its OnClick and OnItemClick (again for the
    // current row); -1 for none. An index past the last row raises the
    // collection's index error and changes nothing.
    void SetItemIndex(Integer AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue) { SetReference(this, FImages, AValue); }
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool AValue);
    bool ShowCheckBoxes() const { return FShowCheckBoxes; }
    void SetShowCheckBoxes(bool AValue);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool AValue);
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer AValue);
    Integer HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(Integer AValue);
    bool HeaderLeftAlignment() const { return FHeaderLeftAlignment; }
    void SetHeaderLeftAlignment(bool AValue);
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& AValue) { FItemSkinDataName = AValue; }
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& AValue) { FHeaderSkinDataName = AValue; }
    // Hovering moves the current row (without events).
    bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
    void SetMouseMoveChangeIndex(bool AValue) { FMouseMoveChangeIndex = AValue; }

    // No repaint and no bar changes until EndUpdateItems.
    void BeginUpdateItems();
    void EndUpdateItems();
    // The height that shows AItemCount rows (at most all of them).
    Integer CalcHeight(Integer AItemCount);
    // Lays the rows out at the scroll offset.
    void CalcItemRects();
    void Scroll(Integer AScrollOffset);
    void GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APosition, Integer& APage);
    void ScrollToItem(Integer AIndex);
    void ShowScrollbar();
    void HideScrollBar();
    void UpdateScrollInfo();
    void AdjustScrollBar();
    void SBChange(TObject* Sender);
    // The first enabled row at the point (headers included), -1 for none.
    Integer ItemAtPos(Integer X, Integer Y);
    // Keyboard moves, each ending in SetItemIndex.
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();
    Integer ScrollOffset() const { return FScrollOffset; }
    const TRect& ItemsRect() const { return FItemsRect; }
    // The width of the check column found at the last paint.
    Integer CheckOffset() const { return FCheckOffset; }
    TColor DisabledFontColor() const { return FDisabledFontColor; }

    // The row painters (qxskinofficelistboxitems.cpp).
    void DrawItem(Integer AIndex, TCanvas* Cnvs);
    void DefaultDrawItem(Integer AIndex, TCanvas* Cnvs);
    void SkinDrawItem(Integer AIndex, TCanvas* Cnvs);
    void SkinDrawHeaderItem(Integer AIndex, TCanvas* Cnvs);

    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyUp(Word& AKey, TShiftState AShift) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TqxDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnItemClick;
    TNotifyEvent OnItemCheckClick;

    // Exists only while the rows are taller than the list.
    TqxSkinScrollBar* ScrollBar = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // Makes the row current without events.
    void SetItemActive(Integer AIndex);
    // ARect of ASource, its bottom-left colour left out, at X, Y.
    void DrawPicturePart(Integer X, Integer Y, TCanvas* Cnvs, const TRect& ARect, TCanvas* ASource);

private:
    bool Selectable(Integer AIndex) const;
    void SetActiveFlags(Integer AIndex);
    void PaintRows(TBitmap* B);
    void ToggleChecked(TqxSkinOfficeItem* AItem);
    // FindPageUp and FindPageDown: the row a page walk from AFrom to ATo
    // (inclusive, either way) chooses, -1 for none.
    Integer PageWalk(Integer AFrom, Integer ATo);
    void WMSize();
    // Row painting helpers.
    // Title, image and caption in R; ATabs expands tabs in the caption.
    void DrawItemContent(Integer AIndex, TCanvas* Cnvs, TRect R, bool ATabs);
    // The skinned check column at R's left; R then starts after it.
    void DrawSkinCheckColumn(TqxSkinOfficeItem* AItem, TCanvas* Cnvs, TRect& R, TColor AMarkColor);

    std::unique_ptr<TqxSkinOfficeItems> FItems;
    Integer FItemIndex = -1;
    TCustomImageList* FImages = nullptr;
    bool FShowItemTitles = true;
    bool FShowCheckBoxes = false;
    bool FShowLines = false;
    Integer FItemHeight = 30;
    Integer FHeaderHeight = 20;
    bool FHeaderLeftAlignment = false;
    String FItemSkinDataName = u"listbox";
    String FHeaderSkinDataName = u"menuheader";
    bool FMouseMoveChangeIndex = false;

    Integer FCheckOffset = 0;
    bool FUpdating = false;
    bool FClicksDisabled = false;
    bool FMouseDown = false;
    Integer FMouseActive = -1;
    Integer FMax = 0;
    Integer FRealMax = 0;
    TRect FItemsRect;
    Integer FScrollOffset = 0;
    Integer FOldHeight = -1;
    TColor FDisabledFontColor = TColor(0x808080);
};

// The drop-down of the office combo box: a popup window over the form that
// never takes the activation or the focus.
class TqxPopupOfficeListBox : public TqxSkinOfficeListBox {
public:
    explicit TqxPopupOfficeListBox(TComponent* AOwner);

    // At the screen point, on top, not activated; with an office combo box
    // as owner, in its alpha and with its fade-in.
    void Show(TPoint AOrigin);
    void Hide();

    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;

private:
    bool FOldAlphaBlend = false;
    // -1: nothing applied since the layered style came.
    Integer FOldAlphaBlendValue = 0;
};
