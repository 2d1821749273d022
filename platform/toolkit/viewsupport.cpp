#include "platform/toolkit/viewsupport.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Cardinal TypeAheadPause = 1000;

SIZE MeasureText(TFont* AFont, const String& AText) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, AFont->Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, AText.c_str(), int(AText.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

}  // namespace

const String& TTypeAhead::Add(char16_t AChar) {
    const Cardinal now = GetTickCount();
    if (FText.empty() || now - FLast > TypeAheadPause) FText.clear();
    FText += AChar;
    FLast = now;
    return FText;
}

TImageListLink::TImageListLink(TComponent* AControl, std::function<void()> AChanged)
    : FControl(AControl), FLink(std::make_unique<TChangeLink>()) {
    FLink->OnChange = [AChanged](TObject*) { AChanged(); };
}

bool TImageListLink::Follow(TCustomImageList* AList) {
    if (AList == FList) return false;
    // The free notification stays: a list freed later finds nothing to clear.
    if (FList) FList->UnRegisterChanges(FLink.get());
    FList = AList;
    if (AList) {
        AList->FreeNotification(FControl);
        AList->RegisterChanges(FLink.get());
    }
    return true;
}

bool ContainsPoint(const TRect& ARect, TPoint APoint) {
    return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top &&
           APoint.Y < ARect.Bottom;
}

bool RectsIntersect(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

bool StartsWithText(const String& APrefix, const String& AText) {
    return AText.size() >= APrefix.size() && AnsiSameText(AText.substr(0, APrefix.size()), APrefix);
}

Integer FontTextHeight(TFont* AFont) {
    return MeasureText(AFont, u"Wg").cy;
}

Integer FontTextWidth(TFont* AFont, const String& AText) {
    return AText.empty() ? 0 : MeasureText(AFont, AText).cx;
}

void FillColor(TCanvas* ACanvas, const TRect& ARect, TColor AColor) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(AColor);
    ACanvas->FillRect(ARect);
}

void DrawTextIn(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags, TColor AColor) {
    if (AText.empty() || ARect.Right <= ARect.Left) return;
    ACanvas->Font()->SetColor(AColor);
    ACanvas->RequiredState({csHandleValid, csFontValid});
    const HDC dc = ACanvas->Handle();
    const int mode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COLORREF(ColorToRGB(AColor)));
    RECT r = ToRECT(ARect);
    DrawTextW(dc, AText.c_str(), int(AText.size()), &r, AFlags | DT_NOPREFIX);
    SetBkMode(dc, mode);
}

void DrawCheckBox(TCanvas* ACanvas, const TRect& ARect, bool AChecked) {
    constexpr Integer size = 13;
    const Integer x = ARect.Left + (ARect.Width() - size) / 2, y = ARect.Top + (ARect.Height() - size) / 2;
    const TRect box = Bounds(x, y, size, size);
    FillColor(ACanvas, box, clWindow);
    ACanvas->Brush()->SetColor(clBtnShadow);
    ACanvas->FrameRect(box);
    if (!AChecked) return;
    // A tick three pixels thick.
    for (Integer i = 0; i < 3; ++i) {
        DrawLine(ACanvas, x + 3, y + 5 + i, x + 5, y + 7 + i, clWindowText);
        DrawLine(ACanvas, x + 5, y + 7 + i, x + 10, y + 2 + i, clWindowText);
    }
}

void DrawLine(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor) {
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->MoveTo(X1, Y1);
    ACanvas->LineTo(X2, Y2);
}

void StoreScrollState(HWND AWindow, int ABar, Integer AMax, Integer APage, Integer APos) {
    const SCROLLINFO info{sizeof(SCROLLINFO),
                          SIF_RANGE | SIF_PAGE | SIF_POS,
                          0,
                          std::max(AMax, 0),
                          UINT(std::max(APage, 0)),
                          APos,
                          0};
    SetScrollInfo(AWindow, ABar, &info, FALSE);
}

Integer ScrollRequest(WPARAM AWParam, Integer APos, Integer ALine, Integer APage, Integer ALast) {
    switch (LOWORD(AWParam)) {
        case SB_LINEUP:
            return APos - ALine;
        case SB_LINEDOWN:
            return APos + ALine;
        case SB_PAGEUP:
            return APos - std::max(APage, 1);
        case SB_PAGEDOWN:
            return APos + std::max(APage, 1);
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            return HIWORD(AWParam);
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return ALast;
        default:
            return APos;
    }
}

TLabelEditor::TLabelEditor(TComponent* AOwner) : TCustomEdit(AOwner) {
    SetVisible(false);
    SetAutoSelect(false);
}

void TLabelEditor::Start(const TRect& ABounds, const String& AText) {
    SetBoundsRect(ABounds);
    SetText(AText);
    SelectAll();
    FActive = true;
    BringToFront();
    Show();
    if (CanFocus()) SetFocus();
}

void TLabelEditor::Finish(bool AAccept) {
    if (!FActive) return;
    FActive = false;
    const auto done = OnDone;
    // Ended by a key, the focus goes back to the view; ended by leaving, it stays where it went.
    const bool focused = Focused();
    Hide();
    if (focused && Parent() && Parent()->CanFocus()) Parent()->SetFocus();
    if (done) done(AAccept);
}

void TLabelEditor::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            // Enter and Escape end the edit instead of reaching the form's buttons.
            TCustomEdit::Dispatch(AMessage);
            AMessage.Result |= DLGC_WANTALLKEYS;
            return;
        case WM_KILLFOCUS:
            TCustomEdit::Dispatch(AMessage);
            return Finish(true);
        default:
            return TCustomEdit::Dispatch(AMessage);
    }
}

void TLabelEditor::KeyDown(Word& AKey, TShiftState AShift) {
    TCustomEdit::KeyDown(AKey, AShift);
    if (AKey != VK_RETURN && AKey != VK_ESCAPE) return;
    const bool accept = AKey == VK_RETURN;
    AKey = 0;
    Finish(accept);
}

TCustomViewControl::TCustomViewControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse} + TControlStyle{csAcceptsControls});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomViewControl::~TCustomViewControl() = default;

void TCustomViewControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_HSCROLL:
        case WM_VSCROLL:
            // A scroll bar control's own message goes back to that control.
            if (AMessage.LParam) break;
            AMessage.Result = 0;
            return ScrollMessage(AMessage, AMessage.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ);
        case WM_SIZE:
            TCustomControl::Dispatch(AMessage);
            return LayoutChanged();
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(AMessage);
            // The selection's colour follows the focus.
            if (HandleAllocated()) Invalidate();
            return;
        case CM_FONTCHANGED:
            FFontHeight = 0;
            TCustomControl::Dispatch(AMessage);
            FontChanged();
            return LayoutChanged();
        case WM_CONTEXTMENU: {
            if (AMessage.Result != 0) break;
            // From the keyboard the point is (-1, -1); from the mouse, client coordinates.
            const TPoint screen{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            const TPoint at = AMessage.LParam == -1 ? TPoint{-1, -1} : ScreenToClient(screen);
            bool handled = false;
            DoContextPopup(at, handled);
            if (!handled) break;
            AMessage.Result = 1;
            return;
        }
        default:
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TCustomViewControl::DefaultHandler(TMessage& AMessage) {
    if (AMessage.Msg != WM_GETDLGCODE) return TCustomControl::DefaultHandler(AMessage);
    AMessage.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomViewControl::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    // Children over the items (the label editor, a program's own edit) are not painted over.
    AParams.Style |= WS_CLIPCHILDREN;
}

void TCustomViewControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

Integer TCustomViewControl::FontHeight() {
    if (FFontHeight == 0) FFontHeight = std::max(FontTextHeight(Font()), 1);
    return FFontHeight;
}

void TCustomViewControl::StartEditor(const TRect& ABounds, const String& AText) {
    if (!FEditor) {
        FEditor = std::make_unique<TLabelEditor>(nullptr);
        FEditor->SetParent(this);
        FEditor->OnDone = [this](bool AAccept) {
            EditorDone(AAccept ? std::optional<String>(FEditor->Text()) : std::nullopt);
        };
    }
    FEditor->Start(ABounds, AText);
}

void TCustomViewControl::PlaceEditor(const TRect& ABounds) {
    if (IsEditing()) FEditor->SetBoundsRect(ABounds);
}

void TCustomViewControl::FinishEditor(bool AAccept) {
    if (IsEditing()) FEditor->Finish(AAccept);
}
