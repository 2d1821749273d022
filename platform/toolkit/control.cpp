// TControl: bounds, state, notifications, mouse input and the message
// dispatch every control shares; the size constraints and action links.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/toolkit/actions.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"

using namespace win;

void TSizeConstraints::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TSizeConstraints*>(ASource);
    if (!source) return TPersistent::Assign(ASource);
    FMaxHeight = source->FMaxHeight;
    FMaxWidth = source->FMaxWidth;
    FMinHeight = source->FMinHeight;
    FMinWidth = source->FMinWidth;
    Change(FMaxHeight, FMaxHeight);
}

void TSizeConstraints::Change(Integer& AField, Integer AValue) {
    AField = std::max(0, AValue);
    if (OnChange) OnChange(this);
    if (FControl && !FControl->ComponentState().Contains(csLoading)) FControl->AdjustSize();
}

void TSizeConstraints::SetMaxHeight(Integer AValue) {
    if (AValue == FMaxHeight) return;
    Change(FMaxHeight, AValue);
}

void TSizeConstraints::SetMaxWidth(Integer AValue) {
    if (AValue == FMaxWidth) return;
    Change(FMaxWidth, AValue);
}

void TSizeConstraints::SetMinHeight(Integer AValue) {
    if (AValue == FMinHeight) return;
    Change(FMinHeight, AValue);
}

void TSizeConstraints::SetMinWidth(Integer AValue) {
    if (AValue == FMinWidth) return;
    Change(FMinWidth, AValue);
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner),
      FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks},
      FConstraints(std::make_unique<TSizeConstraints>(this)),
      FFont(std::make_unique<TFont>()) {
    FWindowProc = [this](TMessage& AMessage) { WndProc(AMessage); };
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    ControlBorn(this);
}

TControl::~TControl() {
    BeforeDestruction();
    if (FParent) FParent->RemoveControl(this);
    ControlGone(this);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
}

void TControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->Action()) FActionLink.reset();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        if (!ComponentState().Contains(csLoading)) {
            if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
            if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
            if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        }
        UpdateAnchorRules();
    }
}

void TControl::StoreBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (!CheckNewSize(AWidth, AHeight)) return;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    InvalidateControl(FVisible, false);
    StoreBounds(ALeft, ATop, AWidth, AHeight);
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

bool TControl::CanResize(Integer&, Integer&) {
    return true;
}

bool TControl::CanAutoSize(Integer&, Integer&) {
    return false;
}

void TControl::ApplyConstraints(Integer& AWidth, Integer& AHeight) {
    const TSizeConstraints& c = *FConstraints;
    if (c.MinWidth() > 0 && AWidth < c.MinWidth()) AWidth = c.MinWidth();
    if (c.MaxWidth() > 0 && AWidth > c.MaxWidth()) AWidth = c.MaxWidth();
    if (c.MinHeight() > 0 && AHeight < c.MinHeight()) AHeight = c.MinHeight();
    if (c.MaxHeight() > 0 && AHeight > c.MaxHeight()) AHeight = c.MaxHeight();
}

bool TControl::CheckNewSize(Integer& AWidth, Integer& AHeight) {
    if (!CanResize(AWidth, AHeight)) return false;
    if (FAutoSize && !ComponentState().Contains(csLoading) && FAlign != alClient) {
        Integer w = AWidth, h = AHeight;
        if (CanAutoSize(w, h)) {
            if (FAlign == alNone || FAlign == alLeft || FAlign == alRight) AWidth = w;
            if (FAlign == alNone || FAlign == alTop || FAlign == alBottom) AHeight = h;
        }
    }
    ApplyConstraints(AWidth, AHeight);
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    return true;
}

void TControl::AdjustSize() {
    if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(Integer AValue) {
    SetClientSize(AValue, ClientHeight());
}

void TControl::SetClientHeight(Integer AValue) {
    SetClientSize(ClientWidth(), AValue);
}

void TControl::SetClientSize(Integer AWidth, Integer AHeight) {
    const TRect client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - client.Width() + AWidth, FHeight - client.Height() + AHeight);
}

TPoint TControl::ClientOrigin() {
    if (!FParent) throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
    const TPoint origin = FParent->ClientOrigin();
    return {origin.X + FLeft, origin.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint APoint) {
    const TPoint origin = ClientOrigin();
    return {APoint.X + origin.X, APoint.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint APoint) {
    const TPoint origin = ClientOrigin();
    return {APoint.X - origin.X, APoint.Y - origin.Y};
}

void TControl::SetAnchors(TAnchors AValue) {
    if (AValue == FAnchors) return;
    FAnchors = AValue;
    if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (FAnchorMove || ComponentState().Contains(csLoading) || !FParent) return;
    const TRect parent = FParent->ClientRect();
    FOriginalParentSize = {parent.Width(), parent.Height()};
    if (FAnchors.Contains(akRight))
        FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
    else
        FAnchorRules.X = FLeft + FWidth / 2;
    if (FAnchors.Contains(akBottom))
        FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
    else
        FAnchorRules.Y = FTop + FHeight / 2;
}

void TControl::SetAutoSize(bool AValue) {
    if (AValue == FAutoSize) return;
    FAutoSize = AValue;
    if (AValue) AdjustSize();
}

void TControl::RequestAlign() {
    if (FParent) FParent->AlignControl(this);
}

void TControl::SetVisible(bool AValue) {
    if (AValue == FVisible) return;
    VisibleChanging();
    FVisible = AValue;
    Perform(CM_VISIBLECHANGED, WPARAM(AValue), 0);
    RequestAlign();
}

void TControl::Show() {
    if (FParent) FParent->Show();
    SetVisible(true);
}

void TControl::Hide() {
    SetVisible(false);
}

bool TControl::IsControlVisible() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetEnabled(bool AValue) {
    if (AValue == FEnabled) return;
    FEnabled = AValue;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const String& AValue) {
    if (AValue == GetText()) return;
    Perform(WM_SETTEXT, 0, LPARAM(AValue.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const String& AValue) {
    const bool follow =
        FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) && Name() == GetText();
    TComponent::SetName(AValue);
    if (follow) SetText(AValue);
}

void TControl::FontChanged() {
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool AValue) {
    if (AValue == FParentFont) return;
    FParentFont = AValue;
    if (FParent && AValue && !ComponentState().Contains(csLoading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor AValue) {
    if (AValue == FColor) return;
    FColor = AValue;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool AValue) {
    if (AValue == FParentColor) return;
    FParentColor = AValue;
    if (FParent && AValue && !ComponentState().Contains(csLoading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool AValue) {
    FParentShowHint = false;
    if (AValue == FShowHint) return;
    FShowHint = AValue;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool AValue) {
    if (AValue == FParentShowHint) return;
    FParentShowHint = AValue;
    if (FParent && AValue && !ComponentState().Contains(csLoading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    FFont->Assign(FParent->Font());
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent) return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::SetPopupMenu(TPopupMenu* AValue) {
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = AValue;
    if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TControl::SetCursor(TCursor AValue) {
    if (AValue == FCursor) return;
    FCursor = AValue;
    Perform(CM_CURSORCHANGED, 0, 0);
}

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool AValue) {
    if (MouseCapture() == AValue) return;
    SetCaptureControl(AValue ? this : nullptr);
}

LRESULT TControl::Perform(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    TMessage message{AMsg, AWParam, ALParam, 0};
    if (FWindowProc) FWindowProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& AMessage) {
    if (AMessage.Msg >= WM_MOUSEFIRST && AMessage.Msg <= WM_MOUSELAST) {
        // Without csDoubleClicks the second press is an ordinary press.
        if (!FControlStyle.Contains(csDoubleClicks) &&
            (AMessage.Msg == WM_LBUTTONDBLCLK || AMessage.Msg == WM_RBUTTONDBLCLK ||
             AMessage.Msg == WM_MBUTTONDBLCLK))
            AMessage.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        switch (AMessage.Msg) {
            case WM_MOUSEMOVE:
                if (Application) Application->HintMouseMessage(this, AMessage);
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                FControlState.Include(csLButtonDown);
                break;
            case WM_LBUTTONUP:
                FControlState.Exclude(csLButtonDown);
                break;
            default:
                break;
        }
    }
    Dispatch(AMessage);
}

void TControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
            return WMButtonDown(AMessage, mbLeft, false);
        case WM_RBUTTONDOWN:
            return WMButtonDown(AMessage, mbRight, false);
        case WM_MBUTTONDOWN:
            return WMButtonDown(AMessage, mbMiddle, false);
        case WM_LBUTTONDBLCLK:
            return WMButtonDown(AMessage, mbLeft, true);
        case WM_RBUTTONDBLCLK:
            return WMButtonDown(AMessage, mbRight, true);
        case WM_MBUTTONDBLCLK:
            return WMButtonDown(AMessage, mbMiddle, true);
        case WM_LBUTTONUP:
            return WMButtonUp(AMessage, mbLeft);
        case WM_RBUTTONUP:
            return WMButtonUp(AMessage, mbRight);
        case WM_MBUTTONUP:
            return WMButtonUp(AMessage, mbMiddle);
        case WM_MOUSEMOVE:
            DefaultHandler(AMessage);
            if (!FControlStyle.Contains(csNoStdEvents))
                MouseMove(KeysToShiftState(AMessage.WParam), GET_X_LPARAM(AMessage.LParam),
                          GET_Y_LPARAM(AMessage.LParam));
            return;
        case WM_SETTEXT:
            FText = AMessage.LParam ? String(reinterpret_cast<const char16_t*>(AMessage.LParam)) : String();
            return DefaultHandler(AMessage);
        case WM_CANCELMODE:
            if (GetCaptureControl() == this) SetCaptureControl(nullptr);
            return DefaultHandler(AMessage);
        case WM_CONTEXTMENU:
            return WMContextMenu(AMessage);
        case CM_VISIBLECHANGED:
            InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
            return;
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED:
        case CM_COLORCHANGED:
            Invalidate();
            return;
        case CM_FONTCHANGED:
            Invalidate();
            return;
        case CM_PARENTFONTCHANGED:
            return CMParentFontChanged(AMessage);
        case CM_PARENTCOLORCHANGED:
            return CMParentColorChanged(AMessage);
        case CM_PARENTSHOWHINTCHANGED:
            if (FParentShowHint && FParent) {
                SetShowHint(FParent->ShowHint());
                FParentShowHint = true;
            }
            return;
        case CM_HITTEST:
            AMessage.Result = 1;
            return;
        default:
            return DefaultHandler(AMessage);
    }
}

void TControl::DefaultHandler(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETTEXT: {
            if (!AMessage.WParam || !AMessage.LParam) return;
            auto* buffer = reinterpret_cast<char16_t*>(AMessage.LParam);
            const size_t count = std::min(FText.size(), size_t(AMessage.WParam) - 1);
            std::copy_n(FText.begin(), count, buffer);
            buffer[count] = 0;
            AMessage.Result = LRESULT(count);
            return;
        }
        case WM_GETTEXTLENGTH:
            AMessage.Result = LRESULT(FText.size());
            return;
        default:
            return;
    }
}

void TControl::SendCancelMode() {
    for (TControl* c = this; c; c = c->FParent)
        if (auto* form = dynamic_cast<TCustomForm*>(c)) form->SendCancelMode(this);
}

void TControl::WMButtonDown(TMessage& AMessage, TMouseButton AButton, bool ADouble) {
    SendCancelMode();
    DefaultHandler(AMessage);
    if (AButton == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (FControlStyle.Contains(csClickEvents)) {
            if (ADouble)
                DblClick();
            else
                FControlState.Include(csClicked);
        }
    }
    DoMouseDown(AMessage, AButton, ADouble ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::WMButtonUp(TMessage& AMessage, TMouseButton AButton) {
    const WeakControl self(this);
    // A button's own window clicks in its default handling, and the click
    // may free the control.
    DefaultHandler(AMessage);
    if (!self.Alive()) return;
    if (AButton == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            const TRect client = ClientRect();
            if (p.X >= client.Left && p.X < client.Right && p.Y >= client.Top && p.Y < client.Bottom) Click();
            // The click may have freed the control.
            if (!self.Alive()) return;
        }
    }
    DoMouseUp(AMessage, AButton);
}

// A right click (the window's default turns it into WM_CONTEXTMENU), Shift+F10
// or the menu key: the control's popup menu, else its parent's.
void TControl::WMContextMenu(TMessage& AMessage) {
    if (AMessage.Result != 0) return;
    const bool fromKeyboard = AMessage.LParam == -1;
    TPoint at{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    if (!fromKeyboard) {
        const TPoint p = ScreenToClient(at);
        const TRect client = ClientRect();
        if (p.X < client.Left || p.Y < client.Top || p.X >= client.Right || p.Y >= client.Bottom)
            return DefaultHandler(AMessage);
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        SendCancelMode();
        FPopupMenu->SetPopupComponent(this);
        if (fromKeyboard) at = ClientToScreen({0, 0});
        FPopupMenu->Popup(at.X, at.Y);
        AMessage.Result = 1;
        return;
    }
    DefaultHandler(AMessage);
}

void TControl::DoMouseDown(TMessage& AMessage, TMouseButton AButton, TShiftState AShift) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseDown(AButton, KeysToShiftState(AMessage.WParam) + AShift, GET_X_LPARAM(AMessage.LParam),
              GET_Y_LPARAM(AMessage.LParam));
}

void TControl::DoMouseUp(TMessage& AMessage, TMouseButton AButton) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(AButton, KeysToShiftState(AMessage.WParam), GET_X_LPARAM(AMessage.LParam),
            GET_Y_LPARAM(AMessage.LParam));
}

void TControl::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (OnMouseDown) OnMouseDown(this, AButton, AShift, X, Y);
}

void TControl::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (OnMouseMove) OnMouseMove(this, AShift, X, Y);
}

void TControl::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (OnMouseUp) OnMouseUp(this, AButton, AShift, X, Y);
}

void TControl::Click() {
    ClickThroughAction(OnClick, FActionLink.get(), this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

TBasicAction* TControl::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* AValue) {
    LinkAction(FActionLink, this, AValue);
}

void TControl::ActionChange(TObject* Sender, bool ACheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!ACheckDefaults || GetText().empty() || GetText() == Name()) SetText(action->Caption());
    if (!ACheckDefaults || FEnabled) SetEnabled(action->Enabled());
    if (!ACheckDefaults || FHint.empty()) SetHint(action->Hint());
    if (!ACheckDefaults || FVisible) SetVisible(action->Visible());
    if (!ACheckDefaults || !OnClick) OnClick = action->OnExecute;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
    UpdateAnchorRules();
}

void TControl::InvalidateControl(bool AIsVisible, bool AIsOpaque) {
    if (!AIsVisible || !FParent || !FParent->HandleAllocated()) return;
    const RECT r = ToRECT(BoundsRect());
    InvalidateRect(FParent->Handle(), &r,
                   !(AIsOpaque || FParent->ControlStyle().Contains(csOpaque)) ? TRUE : FALSE);
}

void TControl::Invalidate() {
    InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
    if (!FControlStyle.Contains(csOpaque)) {
        Invalidate();
        Update();
        return;
    }
    const HDC dc = GetDC(FParent->Handle());
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(dc, this);
    RestoreDC(dc, saved);
    ReleaseDC(FParent->Handle(), dc);
}

HDC TControl::GetDeviceContext(HWND& AWindowHandle) {
    if (!FParent) throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
    const HDC dc = FParent->GetDeviceContext(AWindowHandle);
    SetViewportOrgEx(dc, FLeft, FTop, nullptr);
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    return dc;
}

void TControl::BringToFront() {
    if (FParent) FParent->SetZOrderOf(this, true);
}

void TControl::SendToBack() {
    if (FParent) FParent->SetZOrderOf(this, false);
}

TShiftState KeysToShiftState(WPARAM AKeys) {
    TShiftState result;
    if (AKeys & MK_SHIFT) result.Include(ssShift);
    if (AKeys & MK_CONTROL) result.Include(ssCtrl);
    if (AKeys & MK_LBUTTON) result.Include(ssLeft);
    if (AKeys & MK_RBUTTON) result.Include(ssRight);
    if (AKeys & MK_MBUTTON) result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) result.Include(ssAlt);
    return result;
}

TShiftState KeyDataToShiftState(LPARAM AKeyData) {
    TShiftState result;
    if (GetKeyState(VK_SHIFT) < 0) result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) result.Include(ssCtrl);
    if (AKeyData & AltMask) result.Include(ssAlt);
    return result;
}
