// Skinned hints: the hint window's size, place, region, fade and looks,
// the component that serves the application's hints, and the timed hints.
#include "skin/forms/skinhint.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

TqxSkinHint* FindActiveSkinHint() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (Integer i = 0; i < main->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<TqxSkinHint*>(main->Components(i)); hint && hint->Active()) return hint;
    return nullptr;
}

String WithLineBreaks(const String& AText, const String& ASeparator) {
    if (ASeparator.empty()) return AText;
    String out;
    size_t from = 0;
    for (size_t at; (at = AText.find(ASeparator, from)) != String::npos; from = at + ASeparator.size()) {
        out += AText.substr(from, at - from);
        out += u"\n\r";
    }
    return out + AText.substr(from);
}

TSize TextExtent(TCanvas* C, const String& AText) {
    RECT r{0, 0, 0, 0};
    DrawTextW(C->Handle(), AText.c_str(), int(AText.size()), &r, DT_CALCRECT);
    return TSize{r.right - r.left, r.bottom - r.top};
}

void DrawPlainText(TCanvas* C, const String& AText, TRect R) {
    RECT r = ToRECT(R);
    DrawTextW(C->Handle(), AText.c_str(), int(AText.size()), &r, 0);
}

}  // namespace

Integer CursorMaskBottomRow(const std::vector<Byte>& ABits, Integer AWidth, Integer AHeight) {
    if (AWidth <= 0 || AHeight <= 0) return -1;
    const size_t perLine = size_t((AWidth + 31) / 32 * 4);
    const size_t rows = std::min(ABits.size() / perLine, size_t(AHeight));
    if (rows == 0) return -1;
    // The AND mask: the last square of the bottom-up data, never more rows
    // than there are.
    const size_t maskRows = std::min(size_t(AWidth), rows);
    const auto scan = [&](size_t AStart, size_t ARows, Byte ASkip) -> Integer {
        const size_t n = ARows * perLine;
        for (size_t i = 0; i < n; ++i)
            if (ABits[AStart + i] != ASkip) return Integer((n - i - 1) / perLine);
        return 0;
    };
    const size_t andStart = rows * perLine - maskRows * perLine;
    Integer row = scan(andStart, maskRows, 0xFF);
    if (row == 0 && AHeight >= 2 * AWidth && andStart > 0) {
        const size_t xorRows = std::min(maskRows, andStart / perLine);
        row = scan(andStart - xorRows * perLine, xorRows, 0x00);
    }
    return row;
}

// The window.

TqxSkinHintWindow::TqxSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
    SetVisible(false);
}

TqxSkinHintWindow::~TqxSkinHintWindow() = default;

void TqxSkinHintWindow::CreateParams(TCreateParams& AParams) {
    THintWindow::CreateParams(AParams);
    AParams.Style &= ~DWORD(WS_BORDER);
    if (IsXPOrLater()) AParams.WindowClass.style |= CS_DROPSHADOW;
}

void TqxSkinHintWindow::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_NCPAINT) return;
    if (AMessage.Msg == WM_ERASEBKGND) {
        AMessage.Result = 1;
        return;
    }
    THintWindow::Dispatch(AMessage);
}

TqxDataSkinHintWindow* TqxSkinHintWindow::Element() const {
    return FSD ? FSD->HintWindow() : nullptr;
}

TBitmap* TqxSkinHintWindow::WindowPicture() const {
    return FSD ? FSD->GetActivePicture(FSD->HintWindow()->WindowPictureIndex) : nullptr;
}

TSize TqxSkinHintWindow::SkinnedSize(Integer W, Integer H, Integer AMargin) {
    TqxDataSkinHintWindow* e = Element();
    TBitmap* picture = WindowPicture();
    const Integer pw = picture->Width(), ph = picture->Height();
    W += e->ClRect.Left + (pw - e->ClRect.Right) + AMargin;
    H += e->ClRect.Top + (ph - e->ClRect.Bottom);
    Integer dx = W - pw, dy = H - ph;
    // The stretched frame must not fold.
    if (e->RTPoint.X + dx < e->LTPoint.X) {
        W += e->LTPoint.X - (e->RTPoint.X + dx);
        dx = W - pw;
    }
    if (e->RBPoint.X + dx < e->LBPoint.X) {
        W += e->LBPoint.X - (e->RBPoint.X + dx);
        dx = W - pw;
    }
    if (e->LBPoint.Y + dy < e->LTPoint.Y) {
        H += e->LTPoint.Y - (e->LBPoint.Y + dy);
        dy = H - ph;
    }
    if (e->RBPoint.Y + dy < e->RTPoint.Y) {
        H += e->RTPoint.Y - (e->RBPoint.Y + dy);
        dy = H - ph;
    }
    NewClRect = Rect(e->ClRect.Left, e->ClRect.Top, e->ClRect.Right + dx, e->ClRect.Bottom + dy);
    NewLTPoint = e->LTPoint;
    NewRTPoint = Point(e->RTPoint.X + dx, e->RTPoint.Y);
    NewLBPoint = Point(e->LBPoint.X, e->LBPoint.Y + dy);
    NewRBPoint = Point(e->RBPoint.X + dx, e->RBPoint.Y + dy);
    return TSize{W, H};
}

TSize TqxSkinHintWindow::CalcHintSize(const String& AText) {
    const TSize t = TextExtent(Canvas(), AText);
    if (!FSD) return TSize{t.cx + 4, t.cy + 4};
    return SkinnedSize(t.cx, t.cy, 5);
}

TSize TqxSkinHintWindow::CalcHintSizeEx(const String& AText, const String& ATitle, TCustomImageList* AList,
                                        Integer AIndex) {
    TSize t = TextExtent(Canvas(), AText);
    Integer th = 0;
    if (!ATitle.empty()) {
        TFont* font = Canvas()->Font();
        const TFontStyles old = font->Style();
        font->SetStyle(old + TFontStyles{fsBold});
        const TSize title = TextExtent(Canvas(), ATitle);
        font->SetStyle(old);
        t.cy += title.cy + 10;
        t.cx = std::max(t.cx, title.cx);
        th = title.cy;
    }
    if (AList && AIndex >= 0 && AIndex < AList->Count()) {
        t.cx += AList->Width() + 10;
        t.cy = std::max<Integer>(t.cy, AList->Height() + th + 5);
    }
    if (!FSD) return TSize{t.cx + 4, t.cy + 4};
    return SkinnedSize(t.cx, t.cy, 10);
}

void TqxSkinHintWindow::UpdateHintRegion() {
    HRGN region = nullptr;
    TqxDataSkinHintWindow* e = Element();
    TBitmap* mask = e && e->MaskPictureIndex != -1 ? FSD->GetActivePicture(e->MaskPictureIndex) : nullptr;
    if (mask)
        CreateResizedMaskRegion(region, e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, NewLTPoint,
                                NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, mask, Width(), Height());
    if (!region && !FRgn) return;
    // The window owns the region it is given; the old one goes with it.
    SetWindowRgn(Handle(), region, FALSE);
    FRgn = region;
}

void TqxSkinHintWindow::Activate(TRect ARect, const String& AHint, bool AExtended, TPlacement APlacement) {
    FspHint = FindActiveSkinHint();
    if (!FspHint) return;
    AExtendedStyle = AExtended;
    TqxSkinData* sd = FspHint->SkinData();
    FSD = sd && !sd->Empty && sd->HintWindow()->WindowPictureIndex != -1 &&
                  sd->GetActivePicture(sd->HintWindow()->WindowPictureIndex)
              ? sd
              : nullptr;
    TFont* font = Canvas()->Font();
    if (FSD && FspHint->UseSkinFont()) {
        font->SetHeight(FSD->HintWindow()->FontHeight);
        font->SetName(FSD->HintWindow()->FontName);
        font->SetStyle(FSD->HintWindow()->FontStyle);
    } else {
        font->Assign(FspHint->DefaultFont());
    }
    TqxResourceStrData* strings = sd ? sd->ResourceStrData() : nullptr;
    font->SetCharset(strings ? strings->CharSet() : FspHint->DefaultFont()->Charset());
    const String text = WithLineBreaks(AHint, FspHint->LineSeparator());
    SetCaption(text);
    const TSize size = AExtended ? CalcHintSizeEx(text, FspHint->HintTitle(), FspHint->HintImageList(),
                                                  FspHint->HintImageIndex())
                                 : CalcHintSize(text);
    Integer left = ARect.Left, top = ARect.Top;
    if (APlacement != hpRect) {
        left = ARect.Left + ARect.Width() / 2 - size.cx / 2;
        top = APlacement == hpFromRectTop ? ARect.Top - size.cy : ARect.Bottom;
    }
    TRect bounds;
    if (TCustomForm* active = Screen ? Screen->ActiveCustomForm() : nullptr)
        GetMonitorWorkArea(active->Handle(), true, bounds);
    else if (TCustomForm* main = Application->MainForm(); main && main->Visible())
        GetMonitorWorkArea(main->Handle(), true, bounds);
    else
        bounds = Rect(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    if (left + size.cx > bounds.Right) left -= size.cx + 2;
    if (top + size.cy > bounds.Bottom) top -= size.cy + 2;
    SetBounds(left, top, size.cx, size.cy);
    const HWND handle = Handle();
    const bool alpha = FspHint->AlphaBlend(), animate = alpha && FspHint->AlphaBlendAnimation();
    const Byte value = FspHint->AlphaBlendValue();
    if (IsLayeredWindowsAvailable()) {
        const bool added = alpha && !FOldAlphaBlend;
        if (alpha != FOldAlphaBlend) {
            const LONG_PTR style = GetWindowLongW(handle, GWL_EXSTYLE);
            SetWindowLongW(handle, GWL_EXSTYLE, alpha ? style | WS_EX_LAYERED : style & ~LONG_PTR(WS_EX_LAYERED));
            FOldAlphaBlend = alpha;
        }
        if (animate) SetWindowAlpha(handle, 0);
        // A window made layered again starts opaque: its alpha is given again.
        if (alpha && (value != FOldAlphaBlendValue || added)) {
            if (!animate) SetWindowAlpha(handle, value);
            FOldAlphaBlendValue = value;
        }
    }
    UpdateHintRegion();
    SetWindowPos(handle, HWND_TOPMOST, left, top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    Repaint();
    if (IsLayeredWindowsAvailable() && animate) {
        const Integer step = std::max(value / 10, 1);
        Integer current = 0;
        Cardinal last = GetTickCount();
        // About ten steps of at least 4 ms, without pumping.
        while (current < value) {
            const Cardinal now = GetTickCount();
            if (Cardinal(now - last) > 3) {
                last = now;
                current = std::min<Integer>(current + step, value);
                Repaint();
                SetWindowAlpha(handle, Byte(current));
            }
        }
    }
}

void TqxSkinHintWindow::ActivateHint(TRect ARect, const String& AHint) {
    TqxSkinHint* hint = FindActiveSkinHint();
    const bool extended = hint && (!hint->HintTitle().empty() || hint->HintImageList());
    Activate(ARect, AHint, extended, hpRect);
}

void TqxSkinHintWindow::ActivateHintEx(TRect ARect, const String&, const String& AHint, Integer,
                                       TCustomImageList*) {
    Activate(ARect, AHint, true, hpRect);
}

void TqxSkinHintWindow::ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop) {
    Activate(ARect, AHint, false, ATop ? hpFromRectTop : hpFromRectBottom);
}

void TqxSkinHintWindow::PaintBackground(TCanvas* C) {
    const Integer w = Width(), h = Height();
    if (FSD) {
        TqxDataSkinHintWindow* e = Element();
        TBitmap* picture = WindowPicture();
        TBitmap image;
        BuildWindowNinePartImage(e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, NewLTPoint, NewRTPoint,
                                 NewLBPoint, NewRBPoint, NewClRect, &image, picture,
                                 Rect(0, 0, picture->Width(), picture->Height()), w, h, true, e->LeftStretch,
                                 e->TopStretch, e->RightStretch, e->BottomStretch, e->StretchEffect, e->StretchType);
        C->Draw(0, 0, &image);
        C->Font()->SetColor(e->FontColor);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clInfoBk);
        C->FillRect(Rect(0, 0, w, h));
        DrawFrame3D(C, Rect(0, 0, w, h), clBtnShadow, clBtnShadow);
        C->Font()->Assign(FspHint->DefaultFont());
        C->Font()->SetColor(clInfoText);
    }
    C->Brush()->SetStyle(bsClear);
}

void TqxSkinHintWindow::Paint() {
    if (!FspHint) return;
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* c = buffer.Canvas();
    c->Font()->Assign(Canvas()->Font());
    if (AExtendedStyle) {
        PaintEx(c);
    } else {
        PaintBackground(c);
        const String text = Caption();
        if (FSD) {
            const TSize t = TextExtent(c, text);
            const Integer left = NewClRect.Left + NewClRect.Width() / 2 - t.cx / 2;
            const Integer top = NewClRect.Top + NewClRect.Height() / 2 - t.cy / 2;
            DrawPlainText(c, text, Rect(left, top, left + t.cx, top + t.cy));
        } else {
            DrawPlainText(c, text, Rect(2, 2, Width() - 2, Height() - 2));
        }
    }
    Canvas()->Draw(0, 0, &buffer);
}

void TqxSkinHintWindow::PaintEx(TCanvas* C) {
    PaintBackground(C);
    const String text = Caption();
    const String title = FspHint->HintTitle();
    TCustomImageList* list = FspHint->HintImageList();
    const Integer index = FspHint->HintImageIndex();
    const bool image = list && index >= 0 && index < list->Count();
    const TFontStyles style = C->Font()->Style();
    Integer th = 0;
    if (!title.empty()) {
        C->Font()->SetStyle(style + TFontStyles{fsBold});
        th = TextExtent(C, title).cy;
    }
    const TSize t = TextExtent(C, text);
    if (FSD) {
        const Integer l = NewClRect.Left + 5, top = NewClRect.Top;
        if (!title.empty()) DrawPlainText(C, title, Rect(l, top, NewClRect.Right, top + th));
        C->Font()->SetStyle(style);
        if (image)
            list->Draw(C, l, title.empty() ? NewClRect.Top + (NewClRect.Height() - list->Height()) / 2 : top + th + 5,
                       index, true);
        const Integer x = image ? l + list->Width() + 5 : l;
        const Integer y = title.empty() ? NewClRect.Top + (NewClRect.Height() - t.cy) / 2 : top + th + 5;
        DrawPlainText(C, text, Rect(x, y, x + t.cx, y + t.cy));
        return;
    }
    TRect area = Rect(2, 2, Width() - 2, Height() - 2);
    if (!title.empty()) DrawPlainText(C, title, Rect(area.Left, area.Top, area.Right, area.Top + th));
    C->Font()->SetStyle(style);
    if (image)
        list->Draw(C, 2, title.empty() ? (Height() - list->Height()) / 2 : th + 5, index, true);
    if (!title.empty()) area.Top += th + 5;
    if (image) area.Left += 2 + list->Width() + 5;
    DrawPlainText(C, text, area);
}

// The component.

TqxSkinHint::TqxSkinHint(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    HW = new TqxSkinHintWindow(this);
    if (!Application) return;
    Application->SetHintWindowClass(HintWindowClassOf<TqxSkinHintWindow>());
    // Off and on again: the application makes its window of the new class.
    Application->SetShowHint(!Application->ShowHint());
    Application->SetShowHint(!Application->ShowHint());
    Application->OnShowHint = [this](String& S, bool& C, THintInfo& I) { AppShowHint(S, C, I); };
    Application->SetHintShortPause(100);
}

TqxSkinHint::~TqxSkinHint() {
    if (HintTimer) HintTimer->SetEnabled(false);
    FDoomedTimers.clear();
    delete HintTimer;
    HintTimer = nullptr;
    if (Application && FActive) Application->OnShowHint = nullptr;
}

void TqxSkinHint::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TqxSkinHint::SetSkinData(TqxSkinData* Value) {
    SetReference(this, FSD, Value);
}

void TqxSkinHint::SetActive(bool Value) {
    FActive = Value;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (Value && main)
        for (Integer i = 0; i < main->ComponentCount(); ++i)
            if (auto* other = dynamic_cast<TqxSkinHint*>(main->Components(i)); other && other != this && other->Active())
                other->SetActive(false);
    if (FActive && Application)
        Application->OnShowHint = [this](String& S, bool& C, THintInfo& I) { AppShowHint(S, C, I); };
}

void TqxSkinHint::AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
    FHintTitle.clear();
    FHintImageIndex = 0;
    SetReference(this, FHintImageList, static_cast<TCustomImageList*>(nullptr));
    if (auto* windowed = dynamic_cast<TqxSkinLink<TCustomControl>*>(HintInfo.HintControl)) {
        FHintTitle = windowed->HintTitle();
        FHintImageIndex = windowed->HintImageIndex();
        SetReference(this, FHintImageList, windowed->HintImageList());
    } else if (auto* graphic = dynamic_cast<TqxSkinLink<TGraphicControl>*>(HintInfo.HintControl)) {
        FHintTitle = graphic->HintTitle();
        FHintImageIndex = graphic->HintImageIndex();
        SetReference(this, FHintImageList, graphic->HintImageList());
    }
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

Integer TqxSkinHint::GetCursorHeightMargin() const {
    const Integer fallback = GetSystemMetrics(SM_CYCURSOR);
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(GetCursor()), &info)) return fallback;
    Integer result = fallback;
    BITMAP bm{};
    if (info.hbmMask && GetObjectW(info.hbmMask, sizeof(bm), &bm) && bm.bmBitsPixel == 1 && bm.bmWidth > 0) {
        const Integer perLine = (bm.bmWidth + 31) / 32 * 4;
        std::vector<Byte> bits(size_t(perLine) * size_t(bm.bmHeight));
        struct {
            BITMAPINFOHEADER Header;
            RGBQUAD Colors[2];
        } bmi{};
        bmi.Header.biSize = sizeof(BITMAPINFOHEADER);
        bmi.Header.biWidth = bm.bmWidth;
        bmi.Header.biHeight = bm.bmHeight;
        bmi.Header.biPlanes = 1;
        bmi.Header.biBitCount = 1;
        const HDC dc = CreateCompatibleDC(nullptr);
        const int lines = GetDIBits(dc, info.hbmMask, 0, UINT(bm.bmHeight), bits.data(),
                                    reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
        DeleteDC(dc);
        if (lines > 0) {
            bits.resize(size_t(perLine) * size_t(lines));
            const Integer row = CursorMaskBottomRow(bits, bm.bmWidth, bm.bmHeight);
            if (row >= 0) result = row - Integer(info.yHotspot);
        }
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return result;
}

TPoint TqxSkinHint::CursorAnchor() const {
    POINT p{};
    GetCursorPos(&p);
    return Point(p.x, p.y + GetCursorHeightMargin());
}

void TqxSkinHint::ActivateHint(TPoint P, const String& AHint) {
    FHintTitle.clear();
    FHintImageIndex = 0;
    SetReference(this, FHintImageList, static_cast<TCustomImageList*>(nullptr));
    HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
}

void TqxSkinHint::ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                 TCustomImageList* AImageList) {
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    SetReference(this, FHintImageList, AImageList);
    HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TqxSkinHint::FreeTimer() {
    if (!HintTimer) return;
    HintTimer->SetEnabled(false);
    // A timer cannot be freed inside its own tick: it goes once that ends.
    if (FInTick)
        FDoomedTimers.emplace_back(HintTimer);
    else
        delete HintTimer;
    HintTimer = nullptr;
}

void TqxSkinHint::StartTimed(TTimedKind AKind) {
    if (!FInTick) FDoomedTimers.clear();
    FreeTimer();
    FTimedKind = AKind;
    FTimedShown = false;
    HintTimer = new TTimer(nullptr);
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(Cardinal(Application ? Application->HintPause() : 500));
    HintTimer->OnTimer = [this](TObject*) { TimerTick(); };
    HintTimer->SetEnabled(true);
}

void TqxSkinHint::TimerTick() {
    FInTick = true;
    if (!FTimedShown) {
        FTimedShown = true;
        switch (FTimedKind) {
            case tkPlain: {
                const TPoint p = CursorAnchor();
                HW->ActivateHint(Rect(p.X, p.Y, p.X, p.Y), HintText);
                break;
            }
            case tkExtended: {
                const TPoint p = CursorAnchor();
                HW->ActivateHintEx(Rect(p.X, p.Y, p.X, p.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
                break;
            }
            case tkFromRect:
                HW->ActivateHintFromRect(FromRect, HintText, Top);
                break;
        }
        if (HintTimer) HintTimer->SetInterval(Cardinal(Application ? Application->HintHidePause() : 2500));
    } else {
        HideHint();
    }
    FInTick = false;
}

void TqxSkinHint::ActivateHint2(const String& AHint) {
    HintText = AHint;
    FHintTitle.clear();
    FHintImageIndex = 0;
    SetReference(this, FHintImageList, static_cast<TCustomImageList*>(nullptr));
    StartTimed(tkPlain);
}

void TqxSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                  TCustomImageList* AImageList) {
    HintText = AHint;
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    SetReference(this, FHintImageList, AImageList);
    StartTimed(tkExtended);
}

void TqxSkinHint::ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop) {
    FromRect = AFromRect;
    Top = ATop;
    HintText = AHint;
    FHintTitle.clear();
    FHintImageIndex = 0;
    SetReference(this, FHintImageList, static_cast<TCustomImageList*>(nullptr));
    StartTimed(tkFromRect);
}

bool TqxSkinHint::IsVisible() const {
    return HW->HandleAllocated() && IsWindowVisible(HW->Handle());
}

void TqxSkinHint::HideHint() {
    if (!FInTick) FDoomedTimers.clear();
    FreeTimer();
    if (!IsVisible()) return;
    HW->SetVisible(false);
    SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FHintTitle.clear();
    FHintImageIndex = 0;
    SetReference(this, FHintImageList, static_cast<TCustomImageList*>(nullptr));
}

namespace {

const auto Registered = [] {
    using H = TqxSkinHint;
    RegisterClass<H, TComponent>()
        .Property(u"Active", &H::Active, &H::SetActive)
        .Property(u"SkinData", &H::SkinData, &H::SetSkinData)
        .Property(u"AlphaBlend", &H::AlphaBlend, &H::SetAlphaBlend)
        .Property(u"AlphaBlendValue", &H::AlphaBlendValue, &H::SetAlphaBlendValue)
        .Property(u"AlphaBlendAnimation", &H::AlphaBlendAnimation, &H::SetAlphaBlendAnimation)
        .Property(u"DefaultFont", &H::DefaultFont)
        .Property(u"UseSkinFont", &H::UseSkinFont, &H::SetUseSkinFont)
        .Property(u"LineSeparator", &H::LineSeparator, &H::SetLineSeparator);
    return true;
}();

}  // namespace
