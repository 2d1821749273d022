#include "skin/controls/qxskinedit.h"

#include "platform/gdi/blit.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

// The hover poll: is the pointer still over the edit?
constexpr ULONG_PTR HoverTimer = 1;
constexpr UINT HoverInterval = 100;

bool Inside(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

Integer TextMetricHeight(TFont* AFont) {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->Assign(AFont);
    canvas->RequiredState({csHandleValid, csFontValid});
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas->Handle(), &metrics);
    return metrics.tmHeight;
}

}  // namespace

TqxSkinCustomEdit::TqxSkinCustomEdit(TComponent* AOwner)
    : TqxCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetColor(clBlack);
    FDefaultFont->SetStyle({});
    FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChange(Sender); };
    SetFont(FDefaultFont.get());
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    SetEditTransparent(true);
    TqxCustomEdit::SetBounds(Left(), Top(), Width(), 20);
}

TqxSkinCustomEdit::~TqxSkinCustomEdit() {
    StopHoverTimer();
    FDefaultFont->OnChange = nullptr;
}

// Properties.

void TqxSkinCustomEdit::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TqxSkinCustomEdit::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxCustomEdit::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
}

void TqxSkinCustomEdit::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
}

void TqxSkinCustomEdit::DefaultFontChange(TObject*) {
    if (!Skinned()) SetFont(FDefaultFont.get());
}

void TqxSkinCustomEdit::SetDefaultColor(TColor AValue) {
    FDefaultColor = AValue;
    if (!Skinned()) Invalidate();
}

void TqxSkinCustomEdit::SetDefaultWidth(Integer AValue) {
    FDefaultWidth = AValue;
    if (!Skinned() && AValue > 0) SetWidth(AValue);
}

void TqxSkinCustomEdit::SetDefaultHeight(Integer AValue) {
    FDefaultHeight = AValue;
    if (!Skinned() && AValue > 0 && FUseSkinFont)
        SetHeight(AValue);
    else
        AdjustEditHeight();
}

void TqxSkinCustomEdit::SetButtonMode(bool AValue) {
    FButtonMode = AValue;
    RecreateWnd();
}

void TqxSkinCustomEdit::SetButtonImageIndex(Integer AValue) {
    if (AValue == FButtonImageIndex) return;
    FButtonImageIndex = AValue;
    RepaintFrame();
}

void TqxSkinCustomEdit::SetImages(TCustomImageList* AValue) {
    SetReference(this, FImages, AValue);
    CalcImageButtons(true);
    if (!(Skinned() && FUseSkinFont)) AdjustEditHeight();
    Invalidate();
}

void TqxSkinCustomEdit::SetImageIndex(Integer& AField, Integer AValue) {
    AField = AValue;
    CalcImageButtons(true);
    Invalidate();
}

void TqxSkinCustomEdit::SetLeftImageIndex(Integer AValue) {
    SetImageIndex(FLeftImageIndex, AValue);
}

void TqxSkinCustomEdit::SetRightImageIndex(Integer AValue) {
    SetImageIndex(FRightImageIndex, AValue);
}

// The skin.

void TqxSkinCustomEdit::GetSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    Picture = nullptr;
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinEditControl*>(FSD->CtrlList[FIndex]);
    Picture = e ? FSD->GetActivePicture(e->PictureIndex) : nullptr;
    // Another kind of element, or one without its picture: the default look.
    if (!Picture) {
        FIndex = -1;
        return;
    }
    SkinRect = e->SkinRect;
    ActiveSkinRect = IsRectDegenerate(e->ActiveSkinRect) ? e->SkinRect : e->ActiveSkinRect;
    LOffset = e->LTPoint.X;
    ROffset = e->SkinRect.Width() - e->RTPoint.X;
    ClRect = e->ClRect;
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    FontColor = e->FontColor;
    DisabledFontColor = e->DisabledFontColor;
    ActiveFontColor = e->ActiveFontColor;
    ButtonRect = e->ButtonRect;
    ActiveButtonRect = e->ActiveButtonRect;
    DownButtonRect = IsRectDegenerate(e->DownButtonRect) ? e->ActiveButtonRect : e->DownButtonRect;
    UnEnabledButtonRect = e->UnEnabledButtonRect;
    StretchEffect = e->StretchEffect;
}

void TqxSkinCustomEdit::BeforeChangeSkinData() {
    // The old skin's pictures go with it.
    FIndex = -1;
    Picture = nullptr;
}

void TqxSkinCustomEdit::PaintFailed() {
    if (FSD && FSD->RefuseControlElement(FIndex)) ChangeSkinData();
}

void TqxSkinCustomEdit::ChangeSkinData() {
    GetSkinData();
    if (!Skinned()) {
        SetFont(FDefaultFont.get());
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else if (FUseSkinFont) {
        Font()->SetName(FontName);
        Font()->SetStyle(FontStyle);
        SetHeight(SkinRect.Height());
        Font()->SetHeight(FontHeight);
    } else {
        SetFont(FDefaultFont.get());
    }
    Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont.get()));
    RecreateWnd();
    const bool focused = HandleAllocated() && Focused();
    Font()->SetColor(!Skinned() ? FDefaultFont->Color() : focused ? ActiveFontColor : FontColor);
    if (!FUseSkinFont) AdjustEditHeight();
    if (Parent()) RepaintFrame();
    if (FImages) {
        CalcImageButtons(true);
        Invalidate();
    }
}

void TqxSkinCustomEdit::Loaded() {
    TqxCustomEdit::Loaded();
    if (FSD && FSD->ResourceStrData()) Font()->SetCharset(SkinTextCharset(FSD, FDefaultFont.get()));
}

// Geometry.

void TqxSkinCustomEdit::CalcEditRects() {
    const Integer w = Width(), h = Height();
    if (!Skinned()) {
        FButtonRect = FButtonMode ? Rect(w - h, 0, w, h) : TRect{};
        FEditRect = Rect(2, 2, (FButtonMode ? FButtonRect.Left : w) - 2, h - 2);
        return;
    }
    const Integer dW = w - SkinRect.Width(), dH = FUseSkinFont ? 0 : h - SkinRect.Height();
    FEditRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH);
    FButtonRect = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - ROffset) {
        FButtonRect.Left += dW;
        FButtonRect.Right += dW;
    }
    FButtonRect.Bottom += dH;
}

Integer TqxSkinCustomEdit::CalcEditHeight() {
    Integer height = TextMetricHeight(Font());
    const Integer images = FImages ? FImages->Height() : 0;
    if (!Skinned()) return std::max(height + 2, images) + 4;
    return std::max(height, images) + SkinRect.Height() - ClRect.Height();
}

void TqxSkinCustomEdit::AdjustEditHeight() {
    SetHeight(CalcEditHeight());
}

void TqxSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    GetSkinData();
    const bool sideAligned = Align() == alClient || Align() == alLeft || Align() == alRight;
    if (!Skinned() && !sideAligned)
        AHeight = CalcEditHeight();
    else if ((AWidth != Width() || AHeight != Height()) && (Skinned() || !FUseSkinFont))
        AHeight = FUseSkinFont ? SkinRect.Height() : CalcEditHeight();
    if (Align() != alNone) ATop = AdjustedControlTop(Parent(), ATop, AHeight);
    TqxCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    RepaintFrame();
}

void TqxSkinCustomEdit::CalcImageButtons(bool AApply) {
    LeftButton.R = RightButton.R = TRect{};
    const TRect client = ClientRect();
    TRect text = client;
    if (FImages) {
        const Integer w = FImages->Width();
        if (FLeftImageIndex >= 0) {
            LeftButton.R = Rect(client.Left, client.Top, client.Left + w, client.Bottom);
            text.Left += w + 2;
        }
        if (FRightImageIndex >= 0) {
            RightButton.R = Rect(client.Right - w, client.Top, client.Right, client.Bottom);
            text.Right -= w + 2;
        }
    }
    if (!AApply || !HandleAllocated()) return;
    // Without images the edit lays its text out inside its margins again.
    RECT r = ToRECT(text);
    SendMessageW(Handle(), EM_SETRECTNP, 0, FImages ? LPARAM(&r) : 0);
}

void TqxSkinCustomEdit::CreateParams(TCreateParams& AParams) {
    TqxCustomEdit::CreateParams(AParams);
    AParams.ExStyle &= ~WS_EX_TRANSPARENT;
    AParams.Style &= ~WS_BORDER;
}

// Hover and focus.

bool TqxSkinCustomEdit::HoverLook() const {
    if (FButtonMode || FImages) return true;
    return Skinned() && (!IsRectDegenerate(ActiveSkinRect) || ActiveFontColor != FontColor);
}

const TRect& TqxSkinCustomEdit::FaceRect() {
    return FMouseIn || (HandleAllocated() && Focused()) ? ActiveSkinRect : SkinRect;
}

void TqxSkinCustomEdit::StartHoverTimer() {
    if (!HandleAllocated()) return;
    KillTimer(Handle(), HoverTimer);
    SetTimer(Handle(), HoverTimer, HoverInterval, nullptr);
    FHoverTimer = true;
}

void TqxSkinCustomEdit::StopHoverTimer() {
    if (FHoverTimer && HandleAllocated()) KillTimer(Handle(), HoverTimer);
    FHoverTimer = false;
}

void TqxSkinCustomEdit::DoMouseEnter() {
    FMouseIn = true;
    if (Skinned() && !Focused()) {
        Font()->SetColor(ActiveFontColor);
        CalcImageButtons(true);
        RepaintFrame();
    }
    const WeakControl self(this);
    if (OnMouseEnter) OnMouseEnter(this);
    // Every entry polls for the leave, hover look or not.
    if (self.Alive()) StartHoverTimer();
}

void TqxSkinCustomEdit::DoMouseLeave() {
    FMouseIn = false;
    if (HoverLook()) {
        if (Skinned() && !Focused()) {
            Font()->SetColor(FontColor);
            CalcImageButtons(true);
            RepaintFrame();
        }
        if (FButtonDown || FButtonActive) {
            FButtonDown = FButtonActive = false;
            RepaintFrame();
        }
        if (LeftButton.MouseIn || RightButton.MouseIn || LeftButton.Down || RightButton.Down) {
            LeftButton.MouseIn = RightButton.MouseIn = LeftButton.Down = RightButton.Down = false;
            TransparentRepaint();
        }
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TqxSkinCustomEdit::FocusChanged(bool AFocused) {
    RepaintFrame();
    if (Skinned() && !FMouseIn) Font()->SetColor(AFocused ? ActiveFontColor : FontColor);
    CalcImageButtons(true);
    Invalidate();
}

// The frame's buttons.

LRESULT TqxSkinCustomEdit::HitTest(TPoint AScreen) {
    if (!FMouseIn) DoMouseEnter();
    if (!HandleAllocated()) return 0;
    const TPoint p = ScreenToClient(AScreen);
    if (FImages) {
        if (FLeftImageIndex >= 0 && Inside(LeftButton.R, p)) {
            if (!LeftButton.MouseIn) {
                LeftButton.MouseIn = true;
                Invalidate();
            }
            return HTLEFTIMAGE;
        }
        if (FRightImageIndex >= 0 && Inside(RightButton.R, p)) {
            if (!RightButton.MouseIn) {
                RightButton.MouseIn = true;
                Invalidate();
            }
            return HTRIGHTIMAGE;
        }
        if (LeftButton.MouseIn || RightButton.MouseIn) {
            LeftButton.MouseIn = RightButton.MouseIn = false;
            Invalidate();
        }
    }
    if (FButtonMode) {
        GetSkinData();
        const TPoint origin = Skinned() ? ClRect.TopLeft() : Point(2, 2);
        const TPoint w = Point(p.X + origin.X, p.Y + origin.Y);
        CalcEditRects();
        if (Inside(FButtonRect, w)) return HTHSCROLL;
        if (!Inside(FEditRect, w)) return HTVSCROLL;
    }
    return 0;
}

void TqxSkinCustomEdit::NCButtonDown(LRESULT AHit) {
    if (AHit == HTHSCROLL) {
        FButtonDown = true;
        RepaintFrame();
        return;
    }
    (AHit == HTLEFTIMAGE ? LeftButton : RightButton).Down = true;
    if (CanFocus()) SetFocus();
    Invalidate();
}

void TqxSkinCustomEdit::NCButtonUp(LRESULT AHit) {
    if (AHit == HTHSCROLL) {
        // A release that no press on the button began is no click.
        if (!FButtonDown) return;
        FButtonDown = false;
        RepaintFrame();
        if (CanFocus()) SetFocus();
        if (OnButtonClick) OnButtonClick(this);
        return;
    }
    TImageButton& button = AHit == HTLEFTIMAGE ? LeftButton : RightButton;
    if (!button.Down) return;
    button.Down = false;
    Invalidate();
    const TNotifyEvent& event = AHit == HTLEFTIMAGE ? OnLeftButtonClick : OnRightButtonClick;
    if (event) event(this);
}

void TqxSkinCustomEdit::NCMouseMove(LRESULT AHit) {
    const bool over = AHit == HTHSCROLL;
    if (over == FButtonActive) return;
    FButtonActive = over;
    RepaintFrame();
    if (over) Invalidate();
}

// Messages.

void TqxSkinCustomEdit::Dispatch(TMessage& AMessage) {
    const bool designing = ComponentState().Contains(csDesigning);
    switch (AMessage.Msg) {
        case WM_NCCALCSIZE: {
            GetSkinData();
            RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0];
            if (!Skinned()) {
                // The button is as wide as the window is high.
                r.right -= FButtonMode ? r.bottom - r.top + 2 : 2;
                r.left += 2;
                r.top += 2;
                r.bottom -= 2;
            } else {
                r.left += ClRect.Left;
                r.top += ClRect.Top;
                r.right -= SkinRect.Width() - ClRect.Right;
                r.bottom -= SkinRect.Height() - ClRect.Bottom;
            }
            AMessage.Result = 0;
            return;
        }
        case WM_NCPAINT:
            NCPaint();
            AMessage.Result = 0;
            return;
        case WM_NCHITTEST:
            if (designing) break;
            if (const LRESULT hit = HitTest({GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)})) {
                AMessage.Result = hit;
                return;
            }
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCLBUTTONUP:
            if (AMessage.WParam != HTHSCROLL && AMessage.WParam != WPARAM(HTLEFTIMAGE) &&
                AMessage.WParam != WPARAM(HTRIGHTIMAGE))
                break;
            if (AMessage.Msg == WM_NCLBUTTONUP)
                NCButtonUp(LRESULT(AMessage.WParam));
            else
                NCButtonDown(LRESULT(AMessage.WParam));
            return;
        case WM_NCMOUSEMOVE:
            if (FButtonMode) NCMouseMove(LRESULT(AMessage.WParam));
            break;
        case WM_MOUSEMOVE:
            if (FButtonActive) {
                FButtonActive = false;
                RepaintFrame();
            }
            break;
        case WM_TIMER:
            if (AMessage.WParam != HoverTimer) break;
            if (POINT cursor{}; GetCursorPos(&cursor) && WindowFromPoint(cursor) != Handle()) {
                StopHoverTimer();
                DoMouseLeave();
            }
            return;
        case WM_DESTROY:
            StopHoverTimer();
            FMouseIn = false;
            break;
        case WM_SIZE:
            TqxCustomEdit::Dispatch(AMessage);
            CalcEditRects();
            CalcImageButtons(true);
            return;
        case WM_ERASEBKGND: {
            if (designing) break;
            AMessage.Result = 1;
            if (!FPaintingClient) return TransparentRepaint();
            const TRect client = ClientRect();
            TBitmap background;
            background.SetSize(client.Width(), client.Height());
            DrawEditBackground(background.Canvas());
            DrawImageButtons(background.Canvas());
            BitBlt(reinterpret_cast<HDC>(AMessage.WParam), 0, 0, client.Width(), client.Height(),
                   background.Canvas()->Handle(), 0, 0, SRCCOPY);
            return;
        }
        case WM_PAINT:
            if (designing || !FPaintingClient) break;
            if (Enabled()) return TCustomMaskEdit::Dispatch(AMessage);
            {
                const TRect client = ClientRect();
                TBitmap text;
                text.SetSize(client.Width(), client.Height());
                DrawDisabledText(text.Canvas());
                BitBlt(reinterpret_cast<HDC>(AMessage.WParam), 0, 0, client.Width(), client.Height(),
                       text.Canvas()->Handle(), 0, 0, SRCCOPY);
            }
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxCustomEdit::Dispatch(AMessage);
            FocusChanged(AMessage.Msg == WM_SETFOCUS);
            return;
        case CM_ENABLEDCHANGED:
            TqxCustomEdit::Dispatch(AMessage);
            RepaintFrame();
            Invalidate();
            return;
        case CM_FONTCHANGED:
            TqxCustomEdit::Dispatch(AMessage);
            if (FUseSkinFont || ComponentState().Contains(csLoading)) return;
            AdjustEditHeight();
            if (!Skinned()) RecreateWnd();
            return;
        case SKINMSG_PAINTTODC:
            if (AMessage.WParam) {
                PaintFrameTo(reinterpret_cast<HDC>(AMessage.WParam), false);
                AMessage.Result = SKINMSG_ANSWER_PAINTED;
            }
            return;
        case SKINMSG_PAINTFRAMETODC:
            if (AMessage.LParam != SKINMSG_PAINTKEY) break;
            if (AMessage.WParam) PaintFrameTo(reinterpret_cast<HDC>(AMessage.WParam), true);
            AMessage.Result = SKINMSG_PAINTKEY;
            return;
        default:
            break;
    }
    TqxCustomEdit::Dispatch(AMessage);
}

// The text area through one bitmap of its size.

void TqxSkinCustomEdit::PaintClientThrough(HDC ADC) {
    const TRect client = ClientRect();
    if (client.Width() <= 0 || client.Height() <= 0) return;
    TBitmap buffer;
    buffer.SetSize(client.Width() + 1, client.Height() + 1);
    const HDC memory = buffer.Canvas()->Handle();
    FPaintingClient = true;
    try {
        SendMessageW(Handle(), WM_ERASEBKGND, WPARAM(memory), 0);
        SendMessageW(Handle(), WM_PAINT, WPARAM(memory), 0);
    } catch (...) {
        FPaintingClient = false;
        throw;
    }
    FPaintingClient = false;
    BitBlt(ADC, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
}

void TqxSkinCustomEdit::TransparentRepaint() {
    if (!HandleAllocated()) return;
    if (ComponentState().Contains(csDesigning)) return TqxCustomEdit::TransparentRepaint();
    const HWND window = Handle();
    const HDC dc = GetDC(window);
    try {
        PaintClientThrough(dc);
    } catch (...) {
        ReleaseDC(window, dc);
        throw;
    }
    ReleaseDC(window, dc);
}

void TqxSkinCustomEdit::PaintEditToDC(HDC ADC) {
    if (!HandleAllocated()) return;
    if (ComponentState().Contains(csDesigning)) return TqxCustomEdit::PaintEditToDC(ADC);
    PaintClientThrough(ADC);
}

namespace {

using TEdit = TqxSkinEdit;

const auto Registered = [] {
    RegisterClass<TqxSkinCustomEdit, TqxCustomEdit>();
    RegisterClass<TEdit, TqxSkinCustomEdit>()
        .Property(u"SkinData", &TEdit::SkinData, &TEdit::SetSkinData)
        .Property(u"SkinDataName", &TEdit::SkinDataName, &TEdit::SetSkinDataName)
        .Property(u"UseSkinFont", &TEdit::UseSkinFont, &TEdit::SetUseSkinFont)
        .Property(u"DefaultFont", &TEdit::DefaultFont)
        .Property(u"DefaultColor", &TEdit::DefaultColor, &TEdit::SetDefaultColor)
        .Property(u"DefaultWidth", &TEdit::DefaultWidth, &TEdit::SetDefaultWidth)
        .Property(u"DefaultHeight", &TEdit::DefaultHeight, &TEdit::SetDefaultHeight)
        .Property(u"ButtonMode", &TEdit::ButtonMode, &TEdit::SetButtonMode)
        .Property(u"ButtonImageIndex", &TEdit::ButtonImageIndex, &TEdit::SetButtonImageIndex)
        .Property(u"Images", &TEdit::Images, &TEdit::SetImages)
        .Property(u"LeftImageIndex", &TEdit::LeftImageIndex, &TEdit::SetLeftImageIndex)
        .Property(u"LeftImageHotIndex", &TEdit::LeftImageHotIndex, &TEdit::SetLeftImageHotIndex)
        .Property(u"LeftImageDownIndex", &TEdit::LeftImageDownIndex, &TEdit::SetLeftImageDownIndex)
        .Property(u"RightImageIndex", &TEdit::RightImageIndex, &TEdit::SetRightImageIndex)
        .Property(u"RightImageHotIndex", &TEdit::RightImageHotIndex, &TEdit::SetRightImageHotIndex)
        .Property(u"RightImageDownIndex", &TEdit::RightImageDownIndex, &TEdit::SetRightImageDownIndex)
        .Event(u"OnButtonClick", &TEdit::OnButtonClick)
        .Event(u"OnLeftButtonClick", &TEdit::OnLeftButtonClick)
        .Event(u"OnRightButtonClick", &TEdit::OnRightButtonClick)
        .Event(u"OnMouseEnter", &TEdit::OnMouseEnter)
        .Event(u"OnMouseLeave", &TEdit::OnMouseLeave);
    return true;
}();

}  // namespace
