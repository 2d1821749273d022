// What the list view, the tree view and the page control share: custom-draw
// states, the context popup, type-ahead, text measures outside painting, the
// scroll state kept on the window, and the in-place label editor.
#pragma once

#include <functional>

#include "platform/toolkit/controls.h"

enum TCustomDrawStateItem {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };

// Before a control's popup menu: Handled keeps the menu away.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Characters typed less than a second apart make one search prefix.
class TTypeAhead {
public:
    // The prefix with AChar added, or AChar alone after a pause.
    const String& Add(char16_t AChar);

private:
    String FText;
    Cardinal FLast = 0;
};

// Whether AText begins with APrefix, letters compared without case.
bool StartsWithText(const String& APrefix, const String& AText);

// Text sizes in a font, with or without a window.
Integer FontTextHeight(TFont* AFont);
Integer FontTextWidth(TFont* AFont, const String& AText);

// Plain drawing on a canvas: a fill, text in a rectangle (DT_ flags, no
// background), a check box centred in a rectangle, and lines.
void FillColor(TCanvas* ACanvas, const TRect& ARect, TColor AColor);
void DrawTextIn(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags, TColor AColor);
void DrawCheckBox(TCanvas* ACanvas, const TRect& ARect, bool AChecked);
void DrawLine(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor);

// Keeps one bar's range (0..AMax), page and position on the window, where
// GetScrollInfo and the skinned scroll bars read them; no bar is drawn.
void StoreScrollState(win::HWND AWindow, int ABar, Integer AMax, Integer APage, Integer APos);
// The position a WM_HSCROLL or WM_VSCROLL asks for: lines and pages from
// APos, the thumb's position, or the ends (ALast: the last position).
Integer ScrollRequest(win::WPARAM AWParam, Integer APos, Integer ALine, Integer APage, Integer ALast);

// The in-place editor of a list or tree label: a one-line edit that starts
// with its whole text selected. Enter ends it with the text, Escape cancels
// it, and losing the focus ends it with the text; OnDone hears which, once.
class TLabelEditor : public TCustomControl {
public:
    explicit TLabelEditor(TComponent* AOwner);

    // Shows the editor at ABounds with AText and gives it the focus.
    void Start(const TRect& ABounds, const String& AText);
    bool Active() const { return FActive; }
    // Ends an active edit: AAccept keeps the text.
    void Finish(bool AAccept);

    std::function<void(bool AAccept)> OnDone;

    void Paint() override;
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyPress(char16_t& AKey) override;

private:
    bool FActive = false;
    bool FAllSelected = false;
    Integer FCaret = 0;
};
