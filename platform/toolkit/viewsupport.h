// What the list view, the tree view and the page control share: custom-draw
// states, hooks that may refuse, image lists they follow, type-ahead, text
// measures and plain drawing, the scroll state kept on the window, the
// in-place label editor, and the base of the two views.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/toolkit/controls.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/imagelist.h"

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

// Stores AValue; false when AField held it already.
template <typename T>
bool Store(T& AField, const T& AValue) {
    if (AField == AValue) return false;
    AField = AValue;
    return true;
}

// Raises an event whose last argument may refuse; true when none is assigned.
template <typename TEvent, typename... TArgs>
bool Allowed(const TEvent& AEvent, TArgs&&... AArgs) {
    bool allow = true;
    if (AEvent) AEvent(std::forward<TArgs>(AArgs)..., allow);
    return allow;
}

// An image list a control shows: its changes reach AChanged, and the control
// hears when it is freed (and then follows nil from its Notification).
class TImageListLink {
public:
    TImageListLink(TComponent* AControl, std::function<void()> AChanged);
    TCustomImageList* List() const { return FList; }
    win::HIMAGELIST Handle() const { return FList ? FList->Handle() : nullptr; }
    // False when it follows AList already.
    bool Follow(TCustomImageList* AList);

private:
    TComponent* FControl;
    TCustomImageList* FList = nullptr;
    std::unique_ptr<TChangeLink> FLink;
};

bool ContainsPoint(const TRect& ARect, TPoint APoint);
bool RectsIntersect(const TRect& A, const TRect& B);

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
class TLabelEditor : public TCustomEdit {
public:
    explicit TLabelEditor(TComponent* AOwner);

    // Shows the editor at ABounds with AText and gives it the focus.
    void Start(const TRect& ABounds, const String& AText);
    bool Active() const { return FActive; }
    // Ends an active edit: AAccept keeps the text.
    void Finish(bool AAccept);

    std::function<void(bool AAccept)> OnDone;

    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;

private:
    bool FActive = false;
};

// The base of the list and tree views: the messages both answer alike (their
// own scrolling, resizing, focus, font, the context popup before the popup
// menu), the font's height, and the label editor's life.
class TCustomViewControl : public TCustomControl {
public:
    explicit TCustomViewControl(TComponent* AOwner);
    ~TCustomViewControl() override;

    bool IsEditing() const { return FEditor && FEditor->Active(); }

    TContextPopupEvent OnContextPopup;

    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;

protected:
    // Raises OnContextPopup; Handled keeps the popup menu away.
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    // WM_HSCROLL (SB_HORZ) or WM_VSCROLL (SB_VERT) of the window itself.
    virtual void ScrollMessage(TMessage& AMessage, int ABar) = 0;
    // The size or the font changed.
    virtual void LayoutChanged() = 0;
    virtual void FontChanged() {}
    Integer FontHeight();
    // Opens the label editor over ABounds with AText.
    void StartEditor(const TRect& ABounds, const String& AText);
    void PlaceEditor(const TRect& ABounds);
    void FinishEditor(bool AAccept);
    // The editor closed, with AText when accepted.
    virtual void EditorDone(std::optional<String> AText) = 0;
    win::HWND EditorHandle() { return FEditor ? FEditor->Handle() : nullptr; }

private:
    std::unique_ptr<TLabelEditor> FEditor;
    Integer FFontHeight = 0;
};
