// The inner list of the skinned list boxes: the platform list window with
// its items, selection, keys and scroll position, but without a border or
// native bars, painting every item itself (the default look, or the owner's
// list-box element) and handing its input to the owner's hooks. Only a
// TqxSkinCustomListBox makes one: it sets itself as SkinListBox at once.
#pragma once

#include <functional>

#include "platform/toolkit/listbox.h"

class TqxSkinCustomListBox;
class TBitmap;

// Owner drawing of an item (or of a combo box's item part) on an off-screen
// bitmap: its canvas, the item, the bitmap's size, the text rectangle in it.
using TqxDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, Integer ItemWidth,
                                                Integer ItemHeight, TRect TxtRect, TOwnerDrawState State)>;

// The value of a tab-stop entry: all digits, else 0 (also when it does not
// fit an Integer).
Integer TabStopFromString(const String& AValue);
// AText at the text rectangle's left + AIndent + 2, vertically centred, its
// tabs at the stops of ATabWidths (ten at most).
void DrawTabbedItemText(TCanvas* ACanvas, const String& AText, TStrings* ATabWidths, Integer AIndent,
                        const TRect& ARect);

class TqxListBox : public TListBox {
public:
    explicit TqxListBox(TComponent* AOwner);

    // How far item images and plain item text are drawn to the left, in
    // pixels: the horizontal bar's position.
    Integer HorizontalExtentValue() const { return FHorizontalExtentValue; }
    void SetHorizontalExtentValue(Integer AValue) { FHorizontalExtentValue = AValue; }
    // The scroll state the list keeps for its bar (rows of one column, or
    // columns): as the window reports it once there is one.
    void GetScrollState(Integer& AMin, Integer& AMax, Integer& APosition);
    // The item's state bits as this list paints it (ODS_SELECTED, ODS_FOCUS).
    TOwnerDrawState GetItemDrawState(Integer AIndex);

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void PaintWindow(win::HDC ADC) override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyPress(char16_t& AKey) override;
    void KeyUp(Word& AKey, TShiftState AShift) override;
    void Click() override;

    // The owner: every hook and skin value comes from it.
    TqxSkinCustomListBox* SkinListBox = nullptr;

private:
    void PaintItems(TCanvas* ACanvas);
    void PaintColumnItems(TCanvas* ACanvas);
    void PaintItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    void PaintEmptyBackground(win::HDC ADC);
    void TileSkinBackground(TCanvas* ACanvas, Integer AWidth, Integer X, Integer Y, Integer AHeight);
    void DrawDefaultItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState, const TRect& ARect);
    void DrawSkinItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState, const TRect& ARect);
    void DrawStretchedSkinItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState, const TRect& ARect);
    // The skinned item's font in AColor, then OnDrawItem or the focus frame
    // and the content, on ABitmap.
    void DrawSkinItemContent(TBitmap* ABitmap, Integer AIndex, TOwnerDrawState AState, const TRect& AText,
                             TColor AColor);
    void DrawItemContent(TCanvas* ACanvas, Integer AIndex, const TRect& ARect);
    // The canvas font takes the string table's character set, else the
    // owner's default font's.
    void SetCharset(TFont* AFont);
    void CNDrawItem(TMessage& AMessage);
    void WheelScroll(TMessage& AMessage);

    Integer FHorizontalExtentValue = 0;
};
