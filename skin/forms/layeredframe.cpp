#include "skin/forms/layeredframe.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/base/clock.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxutils.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinhint.h"

using namespace win;

namespace {

// Right and bottom edges excluded.
bool Inside(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TPoint CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return Point(p.x, p.y);
}

// Copies ASrc of ASource onto ADst of ATarget, stretched by nearest pixels,
// all four bytes kept. A skin's points may lie outside its picture and a
// narrow frame may cut a part: only what lies inside both bitmaps is copied.
void CopyStretched(TqxBitmap* ATarget, const TRect& ADst, const TqxBitmap* ASource, const TRect& ASrc) {
    TRect src = ASrc;
    src.Left = std::max(src.Left, 0);
    src.Top = std::max(src.Top, 0);
    src.Right = std::min(src.Right, ASource->Width());
    src.Bottom = std::min(src.Bottom, ASource->Height());
    const Integer dw = ADst.Width(), dh = ADst.Height(), sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const Integer x0 = std::max(0, -ADst.Left), x1 = std::min(dw, ATarget->Width() - ADst.Left);
    const Integer y0 = std::max(0, -ADst.Top), y1 = std::min(dh, ATarget->Height() - ADst.Top);
    if (x0 >= x1 || y0 >= y1) return;
    std::vector<Integer> columns(static_cast<size_t>(dw));
    for (Integer x = x0; x < x1; ++x)
        columns[size_t(x)] = src.Left + Integer(Int64(x) * sw / dw);
    for (Integer y = y0; y < y1; ++y) {
        const TqxColor* from = ASource->GetScanLinePtr(src.Top + Integer(Int64(y) * sh / dh));
        TqxColor* to = ATarget->GetPixelPtr(ADst.Left, ADst.Top + y);
        for (Integer x = x0; x < x1; ++x)
            to[x] = from[columns[size_t(x)]];
    }
}

// ASrc repeated down ATarget's whole height (the last tile cut).
void TileDown(TqxBitmap* ATarget, const TqxBitmap* ASource, const TRect& ASrc) {
    const Integer step = ASrc.Height();
    if (step <= 0) return;
    for (Integer y = 0; y < ATarget->Height(); y += step) {
        const Integer h = std::min(step, ATarget->Height() - y);
        CopyStretched(ATarget, Rect(0, y, ATarget->Width(), y + h), ASource,
                      Rect(ASrc.Left, ASrc.Top, ASrc.Right, ASrc.Top + h));
    }
}

// A strip of three copies: left part fixed, right part fixed at the end,
// the middle stretched between them.
void ThreeParts(TqxBitmap* ATarget, const TqxBitmap* ASource, Integer ASrcTop, Integer ASrcBottom, Integer ALeft,
                Integer ARight) {
    const Integer w = ATarget->Width(), h = ATarget->Height(), sw = ASource->Width();
    const Integer rightWidth = sw - ARight;
    CopyStretched(ATarget, Rect(0, 0, ALeft, h), ASource, Rect(0, ASrcTop, ALeft, ASrcBottom));
    CopyStretched(ATarget, Rect(w - rightWidth, 0, w, h), ASource, Rect(ARight, ASrcTop, sw, ASrcBottom));
    CopyStretched(ATarget, Rect(ALeft, 0, w - rightWidth, h), ASource, Rect(ALeft, ASrcTop, ARight, ASrcBottom));
}

void SetImageSize(TqxBitmap* AImage, Integer AWidth, Integer AHeight) {
    if (AWidth > 0 && AHeight > 0) AImage->SetSize(AWidth, AHeight);
}

Integer ImageHeight(const std::unique_ptr<TqxBitmap>& AImage) {
    return AImage && !AImage->Empty() ? AImage->Height() : 0;
}

Integer ImageWidth(const std::unique_ptr<TqxBitmap>& AImage) {
    return AImage && !AImage->Empty() ? AImage->Width() : 0;
}

// The black pixels of part ARect of a picture as a region at (0, 0).
HRGN CornerRegion(TBitmap* APicture, const TRect& ARect) {
    if (ARect.Width() <= 0 || ARect.Height() <= 0) return nullptr;
    TBitmap part;
    part.SetSize(ARect.Width(), ARect.Height());
    BitBlt(part.Canvas()->Handle(), 0, 0, ARect.Width(), ARect.Height(), APicture->Canvas()->Handle(), ARect.Left,
           ARect.Top, SRCCOPY);
    HRGN region = nullptr;
    CreateMaskRegion(region, &part);
    return region;
}

void Unite(HRGN ATarget, HRGN APart, Integer DX) {
    if (!APart) return;
    const HRGN moved = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(moved, APart, nullptr, RGN_COPY);
    OffsetRgn(moved, DX, 0);
    CombineRgn(ATarget, ATarget, moved, RGN_OR);
    DeleteObject(moved);
}

void FreeRegion(HRGN& ARegion) {
    if (ARegion) DeleteObject(ARegion);
    ARegion = nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// The frame

TqxFormLayerBorder::TqxFormLayerBorder(TqxDravenfold* AOwner) : TComponent(AOwner), QXD(AOwner) {
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(500);
    MouseTimer->OnTimer = [this](TObject* S) { CheckMouseLeave(S); };
}

TqxFormLayerBorder::~TqxFormLayerBorder() {
    FreeWindows();
    DeleteRegions(true);
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TqxFormLayerBorder::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    // Nothing may read a skin that went: its members are gone already, and
    // hiding dispatches to the windows, which read FData.
    if (AOperation == opRemove && AComponent == FSD) {
        FSD = nullptr;
        FData = nullptr;
        Hide();
        DeleteRegions(true);
    }
}

void TqxFormLayerBorder::InitFrame(TqxSkinData* ASkinData, TCustomForm* AForm) {
    if (FSD != ASkinData) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = ASkinData;
        if (FSD) FSD->FreeNotification(this);
    }
    FForm = AForm;
    FData = nullptr;
    if (!FSD || FSD->Empty || !FSD->LayerFrame() || FSD->LayerFrame()->PictureIndex == -1 ||
        !FSD->LayerFrame()->FSourceBitmap) {
        DeleteRegions(true);
        return;
    }
    FData = FSD->LayerFrame();
    FIsAeroEnabled = IsVistaOrLater() && IsDwmCompositionEnabled() && !IsWindows8OrLater();
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    const TRect& b = FData->BorderRect;
    if (IsRectDegenerate(b)) {
        LeftSize = TopSize = RightSize = BottomSize = 0;
        HitTopLeftX = HitTopLeftY = HitTopRightX = HitTopRightY = 0;
        HitBottomLeftX = HitBottomLeftY = HitBottomRightX = HitBottomRightY = 0;
    } else {
        LeftSize = FData->ClRect.Left - b.Left;
        TopSize = FData->ClRect.Top - b.Top;
        RightSize = b.Right - FData->ClRect.Right;
        BottomSize = b.Bottom - FData->ClRect.Bottom;
        HitTopLeftX = FData->HitTestLTPoint.X - b.Left;
        HitTopLeftY = FData->HitTestLTPoint.Y - b.Top;
        HitTopRightX = b.Right - FData->HitTestRTPoint.X;
        HitTopRightY = FData->HitTestRTPoint.Y - b.Top;
        HitBottomLeftX = FData->HitTestLBPoint.X - b.Left;
        HitBottomLeftY = b.Bottom - FData->HitTestLBPoint.Y;
        HitBottomRightX = b.Right - FData->HitTestRBPoint.X;
        HitBottomRightY = b.Bottom - FData->HitTestRBPoint.Y;
    }
    if (FData->FullBorder) {
        QXD->IsAlphaIcon = QXD->CheckIconAlpha();
        OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    }
    InitBlurRegions();
}

TqxBitmap* TqxFormLayerBorder::Source() const {
    if (!FData) return nullptr;
    if (FActive || !FData->FSourceInActiveBitMap) return FData->FSourceBitmap.get();
    return FData->FSourceInActiveBitMap.get();
}

TRect TqxFormLayerBorder::FrameRect(Integer L, Integer T, Integer W, Integer H, bool ANoCollapse) const {
    if (!FData || !FData->FSourceBitmap) return Rect(L, T, L + W, T + H);
    const TqxBitmap* source = FData->FSourceBitmap.get();
    const TRect& cl = FData->ClRect;
    const bool collapsed =
        !ANoCollapse && FData->FullBorder && (QXD->RollUpState() || QXD->IsFrameCollapsed());
    const Integer h = collapsed ? FData->RollUpFormHeight : H + FData->HeightOffset;
    const Integer left = L + FData->LeftOffset - cl.Left, top = T + FData->TopOffset - cl.Top;
    const Integer width = W + FData->WidthOffset + source->Width() - cl.Width();
    const Integer height = h + source->Height() - cl.Height();
    return Rect(left, top, left + width, top + height);
}

void TqxFormLayerBorder::CreateFrameImages(Integer AWidth, Integer AHeight) {
    TqxBitmap* source = Source();
    if (!FData || !source || source->Empty()) return;
    LeftImage = std::make_unique<TqxBitmap>();
    TopImage = std::make_unique<TqxBitmap>();
    RightImage = std::make_unique<TqxBitmap>();
    BottomImage = std::make_unique<TqxBitmap>();
    const Integer sw = source->Width(), sh = source->Height();
    const Integer topHeight = std::max(FData->LTPoint.Y, FData->RTPoint.Y);
    SetImageSize(TopImage.get(), AWidth, topHeight);
    if (!TopImage->Empty()) {
        ThreeParts(TopImage.get(), source, 0, topHeight, FData->LTPoint.X, FData->RTPoint.X);
        if (FData->FullBorder) {
            ArrangeCaptionObjects(AWidth);
            for (const auto& object : QXD->ObjectList)
                if (object->Visible) object->DrawAlpha(TopImage->Canvas(), TopImage.get());
        }
    }
    // A form lower than both strips cuts the bottom strip; never below 0.
    const Integer stripTop = std::min(FData->LBPoint.Y, FData->RBPoint.Y);
    Integer bottomHeight = sh - stripTop;
    if (AHeight < bottomHeight + topHeight) bottomHeight = std::max(AHeight - topHeight, 0);
    SetImageSize(BottomImage.get(), AWidth, bottomHeight);
    // The bottom-most rows of the strip fill a cut image.
    if (!BottomImage->Empty())
        ThreeParts(BottomImage.get(), source, sh - bottomHeight, sh, FData->LBPoint.X, FData->RBPoint.X);
    const Integer sideHeight = AHeight - topHeight - ImageHeight(BottomImage);
    const TRect leftSrc = Rect(0, topHeight, FData->ClRect.Left, stripTop);
    const TRect rightSrc = Rect(FData->ClRect.Right, topHeight, sw, stripTop);
    SetImageSize(LeftImage.get(), FData->ClRect.Left, sideHeight);
    SetImageSize(RightImage.get(), sw - FData->ClRect.Right, sideHeight);
    for (const auto& [image, src] : {std::pair{LeftImage.get(), leftSrc}, std::pair{RightImage.get(), rightSrc}}) {
        if (image->Empty()) continue;
        if (FData->FullStretch)
            CopyStretched(image, Rect(0, 0, image->Width(), image->Height()), source, src);
        else
            TileDown(image, source, src);
    }
    for (TqxBitmap* image : {LeftImage.get(), TopImage.get(), RightImage.get(), BottomImage.get()})
        if (!image->Empty()) {
            image->CheckingAlphaBlend();
            image->CheckRGBA();
        }
    if (BlurApplies()) CreateWindowRegions();
}

void TqxFormLayerBorder::ArrangeCaptionObjects(Integer AWidth) {
    TqxBitmap* source = FData->FSourceBitmap.get();
    const Integer dx = AWidth - source->Width();
    TRect caption = FData->CaptionRect;
    caption.Right += dx;
    Integer x, y;
    if (IsRectDegenerate(FData->ButtonsRect)) {
        x = caption.Right;
        y = FData->ButtonsTopOffset != 0 ? FData->ButtonsTopOffset : caption.Top;
    } else {
        x = FData->ButtonsRect.Right + dx;
        y = FData->ButtonsRect.Top;
    }
    const Integer offset = FSD->ButtonsOffset;
    const auto commandOf = [](TqxActiveSkinObject* AObject, TqxStdCommand& ACommand) {
        if (auto* button = dynamic_cast<TqxSkinStdButtonObject*>(AObject)) {
            ACommand = button->Command;
            return true;
        }
        if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(AObject)) {
            ACommand = animate->Command;
            return true;
        }
        return false;
    };
    for (TqxStdCommand command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        for (const auto& object : QXD->ObjectList) {
            TqxStdCommand c;
            if (!object->Visible || !object->Picture || !commandOf(object.get(), c) || c != command) continue;
            const Integer w = object->SkinRect.Width(), h = object->SkinRect.Height();
            object->ObjectRect = Rect(x - w, y, x, y + h);
            x -= w + offset;
            break;
        }
    TqxSkinCaptionObject* captionObject = nullptr;
    for (const auto& object : QXD->ObjectList)
        if ((captionObject = dynamic_cast<TqxSkinCaptionObject*>(object.get()))) {
            captionObject->ObjectRect = Rect(caption.Left, caption.Top, x - offset, caption.Bottom);
            break;
        }
    for (const auto& object : QXD->ObjectList) {
        auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object.get());
        if (!button || button->Command != cmSysMenu) continue;
        TSize size = QXD->ShowIcon() ? QXD->GetIconSize() : TSize{button->SkinRect.Width(), button->SkinRect.Height()};
        const Integer w = size.cx, h = size.cy;
        if (IsRectDegenerate(FData->SysMenuButtonRect)) {
            Integer sx = caption.Left;
            const Integer top = !QXD->ShowIcon() && FData->SysButtonTopOffset != 0
                                    ? FData->SysButtonTopOffset
                                    : caption.Top + caption.Height() / 2 - h / 2;
            button->ObjectRect = Rect(sx, top, sx + w, top + h);
            sx += w + offset;
            if (captionObject) captionObject->ObjectRect.Left = sx;
        } else {
            const TRect& r = FData->SysMenuButtonRect;
            const Integer top = r.Top + r.Height() / 2 - h / 2;
            button->ObjectRect = Rect(r.Left, top, r.Left + w, top + h);
        }
        break;
    }
}

bool TqxFormLayerBorder::BlurApplies() const {
    return FIsAeroEnabled && FSD && FSD->AeroBlurEnabled() && !QXD->AlphaBlend();
}

void TqxFormLayerBorder::DeleteRegions(bool ACorners) {
    for (HRGN* region : {&TopRgn, &BottomRgn, &RightRgn, &LeftRgn})
        FreeRegion(*region);
    if (ACorners)
        for (HRGN* region : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4})
            FreeRegion(*region);
}

void TqxFormLayerBorder::InitBlurRegions() {
    DeleteRegions(true);
    TBitmap* mask = FSD->GetActivePicture(FData->BlurMaskPictureIndex);
    if (!mask || mask->Empty()) return;
    const Integer w = mask->Width(), h = mask->Height();
    const TqxDataSkinLayerFrame& d = *FData;
    DataRgn1 = CornerRegion(mask, Rect(0, 0, d.LTPoint.X, d.LTPoint.Y));
    DataRgn2 = CornerRegion(mask, Rect(d.RTPoint.X, 0, w, d.RTPoint.Y));
    DataRgn3 = CornerRegion(mask, Rect(0, d.LBPoint.Y, d.LBPoint.X, h));
    DataRgn4 = CornerRegion(mask, Rect(d.RBPoint.X, d.RBPoint.Y, w, h));
    if (DataRgn2) OffsetRgn(DataRgn2, d.RTPoint.X, 0);
    if (DataRgn4) OffsetRgn(DataRgn4, d.RBPoint.X, 0);
}

void TqxFormLayerBorder::CreateWindowRegions() {
    DeleteRegions(false);
    const TqxDataSkinLayerFrame& d = *FData;
    const Integer dx = ImageWidth(TopImage) - d.FSourceBitmap->Width();
    const TRect& in = d.IntersectBlurMaskRect;
    const TRect& ex = d.ExcludeBlurMaskRect;
    TopRgn = CreateRectRgn(d.LTPoint.X, in.Top, dx + d.RTPoint.X, ex.Top);
    Unite(TopRgn, DataRgn1, 0);
    Unite(TopRgn, DataRgn2, dx);
    BottomRgn = CreateRectRgn(d.LBPoint.X, ex.Bottom - d.LBPoint.Y, dx + d.RBPoint.X, in.Bottom - d.LBPoint.Y);
    Unite(BottomRgn, DataRgn3, 0);
    Unite(BottomRgn, DataRgn4, dx);
    if (ImageHeight(LeftImage) > 0) LeftRgn = CreateRectRgn(in.Left, 0, ex.Left, ImageHeight(LeftImage));
    if (ImageHeight(RightImage) > 0)
        RightRgn = CreateRectRgn(ex.Right - d.ClRect.Right, 0, in.Right - d.ClRect.Right, ImageHeight(RightImage));
}

Byte TqxFormLayerBorder::CurrentAlpha() const {
    return Byte(std::clamp(FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue, 0, 255));
}

void TqxFormLayerBorder::PushImages() {
    const Byte alpha = CurrentAlpha();
    const bool blur = BlurApplies();
    const auto push = [&](TqxBitmap* AImage, TqxFormLayerWindow* AWindow, HRGN ARegion) {
        if (!AWindow) return;
        UpdateLayeredBitmap(AImage, alpha, AWindow);
        if (blur && ARegion) EnableDwmBlurBehind(AWindow->Handle(), true, ARegion);
    };
    push(TopImage.get(), TopBorder, TopRgn);
    push(BottomImage.get(), BottomBorder, BottomRgn);
    if (ImageHeight(LeftImage) > 0) push(LeftImage.get(), LeftBorder, LeftRgn);
    if (ImageHeight(RightImage) > 0) push(RightImage.get(), RightBorder, RightRgn);
}

void TqxFormLayerBorder::Place(Integer X, Integer Y, Integer AWidth, Integer AHeight, UINT AExtraFlags) {
    const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | AExtraFlags;
    const Integer topHeight = ImageHeight(TopImage), bottomHeight = ImageHeight(BottomImage);
    // A window whose image is empty never got its size: it stays hidden.
    const auto place = [&](TqxFormLayerWindow* AWindow, const std::unique_ptr<TqxBitmap>& AImage, Integer AX,
                           Integer AY) {
        if (!AWindow) return;
        const bool shown = ImageHeight(AImage) >= 1 && ImageWidth(AImage) >= 1;
        SetWindowPos(AWindow->Handle(), nullptr, AX, AY, 0, 0, flags | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        AWindow->SetVisible(shown);
    };
    place(TopBorder, TopImage, X, Y);
    place(BottomBorder, BottomImage, X, Y + AHeight - bottomHeight);
    place(LeftBorder, LeftImage, X, Y + topHeight);
    place(RightBorder, RightImage, X + AWidth - ImageWidth(RightImage), Y + topHeight);
}

void TqxFormLayerBorder::Show(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    CreateFrameImages(AWidth, AHeight);
    FreeWindows();
    LeftBorder = new TqxFormLayerWindow(this, FForm, qxflLeft);
    RightBorder = new TqxFormLayerWindow(this, FForm, qxflRight);
    TopBorder = new TqxFormLayerWindow(this, FForm, qxflTop);
    BottomBorder = new TqxFormLayerWindow(this, FForm, qxflBottom);
    PushImages();
    Place(X, Y, AWidth, AHeight, 0);
}

void TqxFormLayerBorder::SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
    if (!FVisible || !FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateFrameImages(AWidth, AHeight);
    PushImages();
    Place(X, Y, AWidth, AHeight, SWP_NOOWNERZORDER);
}

void TqxFormLayerBorder::Update(Integer, Integer, Integer AWidth, Integer AHeight) {
    if (!FVisible || !FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateFrameImages(AWidth, AHeight);
    PushImages();
    for (TqxFormLayerWindow* window : {TopBorder, BottomBorder, LeftBorder, RightBorder})
        if (window && window->HandleAllocated()) UpdateWindow(window->Handle());
}

void TqxFormLayerBorder::FreeWindows() {
    for (TqxFormLayerWindow** window : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
        TqxFormLayerWindow* w = *window;
        *window = nullptr;
        if (w) Free(w);
    }
}

void TqxFormLayerBorder::Hide() {
    FVisible = false;
    MouseTimer->SetEnabled(false);
    FreeWindows();
    LeftImage.reset();
    TopImage.reset();
    RightImage.reset();
    BottomImage.reset();
}

void TqxFormLayerBorder::Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight) {
    if (!FData || !C) return;
    CreateFrameImages(AWidth, AHeight);
    if (!TopImage) return;
    const Integer topHeight = ImageHeight(TopImage);
    const auto draw = [&](const std::unique_ptr<TqxBitmap>& AImage, Integer AX, Integer AY) {
        if (AImage && !AImage->Empty()) AImage->Draw(C, AX, AY);
    };
    draw(TopImage, X, Y);
    draw(BottomImage, X, Y + AHeight - ImageHeight(BottomImage));
    draw(LeftImage, X, Y + topHeight);
    draw(RightImage, X + AWidth - ImageWidth(RightImage), Y + topHeight);
}

void TqxFormLayerBorder::ShowWithForm() {
    if (!FForm) return;
    const TRect r = FrameRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Show(r.Left, r.Top, r.Width(), r.Height());
}

void TqxFormLayerBorder::SetBoundsWithForm() {
    if (!FForm) return;
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TqxFormLayerBorder::UpdateBorder() {
    if (!FForm) return;
    const TRect r = FrameRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Update(r.Left, r.Top, r.Width(), r.Height());
}

void TqxFormLayerBorder::SetBoundsWithForm2(Integer AW, Integer AH) {
    if (!FForm) return;
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TqxFormLayerBorder::SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH) {
    const TRect r = FrameRect(ALeft, ATop, AW, AH);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TqxFormLayerBorder::MoveWithForm() {
    if (FForm) MoveWithForm2(FForm->Left(), FForm->Top());
}

void TqxFormLayerBorder::MoveWithForm2(Integer ALeft, Integer ATop) {
    if (!FVisible || !FData || !FForm) return;
    const TRect r = FrameRect(ALeft, ATop, FForm->Width(), FForm->Height());
    const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER;
    const Integer topHeight = ImageHeight(TopImage);
    if (TopBorder && TopBorder->Visible()) SetWindowPos(TopBorder->Handle(), nullptr, r.Left, r.Top, 0, 0, flags);
    if (BottomBorder && BottomBorder->Visible())
        SetWindowPos(BottomBorder->Handle(), nullptr, r.Left, r.Bottom - ImageHeight(BottomImage), 0, 0, flags);
    if (LeftBorder && LeftBorder->Visible())
        SetWindowPos(LeftBorder->Handle(), nullptr, r.Left, r.Top + topHeight, 0, 0, flags);
    if (RightBorder && RightBorder->Visible())
        SetWindowPos(RightBorder->Handle(), nullptr, r.Right - ImageWidth(RightImage), r.Top + topHeight, 0, 0,
                     flags);
}

void TqxFormLayerBorder::SetAlphaBlend() {
    if (!FVisible || !FData) return;
    const Byte alpha = CurrentAlpha();
    if (ImageWidth(TopImage) > 0) UpdateLayeredBitmap(TopImage.get(), alpha, TopBorder);
    if (ImageWidth(BottomImage) > 0) UpdateLayeredBitmap(BottomImage.get(), alpha, BottomBorder);
    if (LeftBorder && LeftBorder->Visible()) UpdateLayeredBitmap(LeftImage.get(), alpha, LeftBorder);
    if (RightBorder && RightBorder->Visible()) UpdateLayeredBitmap(RightImage.get(), alpha, RightBorder);
}

void TqxFormLayerBorder::SetAlphaBlend2() {
    if (!FVisible || !FData || !FForm) return;
    SetAlphaBlend();
    const TRect r = FrameRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Place(r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW);
}

void TqxFormLayerBorder::CheckFormAlpha(Integer AFormAlpha, bool AUpdate) {
    if (!FData) return;
    // Halves go to the even neighbour.
    FCurrentAlphaBlendValue = Integer(std::nearbyint(FData->AlphaBlendValue * double(AFormAlpha) / 255.0));
    FCurrentInActiveAlphaBlendValue =
        Integer(std::nearbyint(FData->InActiveAlphaBlendValue * double(AFormAlpha) / 255.0));
    if (AUpdate) SetAlphaBlend();
}

void TqxFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
    FActive = AValue;
    if (!AValue) {
        if (ActiveObject >= 0 && ActiveObject < Integer(QXD->ObjectList.size()) && QXD->QuickButtons())
            if (auto* caption = dynamic_cast<TqxSkinCaptionObject*>(QXD->ObjectList[size_t(ActiveObject)].get()))
                if (caption->ActiveQuickButton != -1 && caption->ActiveQuickButton < QXD->QuickButtons()->Count()) {
                    QXD->QuickButtons()->Items(caption->ActiveQuickButton)->Active = false;
                    QXD->QuickButtons()->Items(caption->ActiveQuickButton)->Down = false;
                }
        for (const auto& object : QXD->ObjectList)
            if (auto* button = dynamic_cast<TqxSkinButtonObject*>(object.get())) {
                if (button->Down()) button->SetDown(false);
                button->SetMouseIn(false);
            }
        MouseCaptureObject = -1;
        TestActiveObject(-1, -1);
        ActiveObject = -1;
    }
    if (!FVisible || !FData) return;
    if (FData->FullBorder || FData->FSourceInActiveBitMap) SetBoundsWithForm();
    if (AUpdate) SetAlphaBlend2();
}

void TqxFormLayerBorder::ShowWithFormAnimation() {
    if (!FData || !FForm) return;
    const Integer target = FCurrentAlphaBlendValue;
    FCurrentAlphaBlendValue = 0;
    const TRect r = FrameRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
    Show(r.Left, r.Top, r.Width(), r.Height());
    if (Application) Application->ProcessMessages();
    Integer alpha = 0;
    Cardinal last = 0;
    bool first = true;
    // Polls the tick count without yielding: about 15 steps.
    while (alpha < target) {
        if (first || Cardinal(GetTickCount() - last) > 5) {
            first = false;
            last = GetTickCount();
            alpha = std::min(alpha + std::max(target / 15, 1), target);
            FCurrentAlphaBlendValue = alpha;
            SetAlphaBlend();
        }
    }
    FCurrentAlphaBlendValue = std::max(target, 0);
}

void TqxFormLayerBorder::TestActiveObject(Integer X, Integer Y) {
    if (QXD->ObjectList.empty() || !QXD->GetFormActive() || QXD->FSizeMove || QXD->FBorderLayerChangeSize ||
        QXD->PreviewMode || (QXD->AppliedWindowState() == wsMaximized && QXD->Form()->FormStyle() == fsMDIChild) ||
        !QXD->FrameDrawn() || (FData && !FData->FullBorder))
        return;
    OldActiveObject = ActiveObject;
    const TPoint p = Point(X, Y);
    ActiveObject = -1;
    for (size_t i = 0; i < QXD->ObjectList.size(); ++i) {
        TqxActiveSkinObject* object = QXD->ObjectList[i].get();
        if (object->Enabled && object->Visible && Inside(object->ObjectRect, p) &&
            object->PointInMask(X - object->ObjectRect.Left, Y - object->ObjectRect.Top)) {
            ActiveObject = Integer(i);
            break;
        }
    }
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
    if (ActiveObject >= Integer(QXD->ObjectList.size())) ActiveObject = -1;
    if (ActiveObject == OldActiveObject) return;
    TqxSkinHint* hint = QXD->ShowObjectHint() ? QXD->SkinHint() : nullptr;
    if (OldActiveObject >= 0 && OldActiveObject < Integer(QXD->ObjectList.size())) {
        const auto old = QXD->ObjectList[size_t(OldActiveObject)];
        if (old->Enabled && old->Visible) old->MouseLeave();
        if (hint && !old->Hint.empty()) hint->HideHint();
    }
    if (ActiveObject >= 0) {
        const auto object = QXD->ObjectList[size_t(ActiveObject)];
        if (object->Enabled && object->Visible) object->MouseEnter();
        if (hint && QXD->GetFormActive() && !object->Hint.empty()) hint->ActivateHint2(object->Hint);
    }
}

void TqxFormLayerBorder::CheckMouseLeave(TObject*) {
    if (FData && !FData->FullBorder) {
        MouseTimer->SetEnabled(false);
        return;
    }
    if (!TopBorder || !TopBorder->HandleAllocated()) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == TopBorder->Handle()) return;
    MouseTimer->SetEnabled(false);
    MouseCaptureObject = -1;
    TestActiveObject(-1, -1);
}

// ---------------------------------------------------------------------------
// One window

TqxFormLayerWindow::TqxFormLayerWindow(TqxFormLayerBorder* AOwner, TCustomForm* AForm, TqxFormLayerBorderType AType)
    : TForm(AOwner), FForm(AForm), FLayerBorder(AOwner), BorderType(AType) {
    SetBorderStyle(bsNone);
    SetBounds(0, 0, 0, 0);
    SetFormStyle(AForm && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
    SetVisible(false);
    HandleNeeded();
}

void TqxFormLayerWindow::CreateParams(TCreateParams& AParams) {
    TForm::CreateParams(AParams);
    // Owned by the form, so they stack with it; no task-bar entries.
    if (FForm && FForm->HandleAllocated()) AParams.WndParent = FForm->Handle();
    AParams.ExStyle |= WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    // A frame without a hit border lets the mouse through.
    const TqxDataSkinLayerFrame* data = FLayerBorder->FData;
    if (!data || IsRectDegenerate(data->BorderRect)) AParams.ExStyle |= WS_EX_TRANSPARENT;
}

TqxDravenfold* TqxFormLayerWindow::QXD() const {
    return FLayerBorder->QXD;
}

bool TqxFormLayerWindow::CanResizeForm() const {
    return QXD()->IsSizeable() && QXD()->AppliedWindowState() == wsNormal && !QXD()->RollUpState();
}

void TqxFormLayerWindow::CMShowingChanged(TMessage&) {
    // Shown without taking the activation.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (Showing() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

TqxFormLayerBorderHit TqxFormLayerWindow::GetHitMode(Integer X, Integer Y) {
    TqxFormLayerBorder* b = FLayerBorder;
    const TqxDataSkinLayerFrame* d = b->FData;
    if (!d || !FForm) return qxflhNone;
    const TPoint p = CursorPos();
    const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    TRect c = d->CaptionRect;
    c.Right += W - d->ClRect.Width();
    c.Top = d->BorderRect.Top + d->HitTestSize;
    c = Rect(c.Left + Left(), c.Top + Top(), c.Right + Left(), c.Bottom + Top());
    if (d->FullBorder && BorderType == qxflTop)
        b->TestActiveObject(X, Y);
    else if (!d->FullBorder)
        b->ActiveObject = -1;
    if (b->ActiveObject >= 0 && b->ActiveObject < Integer(QXD()->ObjectList.size()))
        return dynamic_cast<TqxSkinCaptionObject*>(QXD()->ObjectList[size_t(b->ActiveObject)].get()) ? qxflCaption
                                                                                                      : qxflObject;
    if (!CanResizeForm()) return qxflhNone;
    const Integer size = d->HitTestSize;
    switch (BorderType) {
        case qxflLeft:
            return p.X >= L - b->LeftSize ? qxflhLeft : qxflhNone;
        case qxflRight:
            return p.X <= L + W + b->RightSize ? qxflhRight : qxflhNone;
        case qxflTop: {
            const Integer bottom = Top() + Height();
            const TRect tl = Rect(L - b->LeftSize, T - b->TopSize, L - b->LeftSize + b->HitTopLeftX,
                                  T - b->TopSize + b->HitTopLeftY);
            const TRect tr = Rect(L + W + b->RightSize - b->HitTopRightX, T - b->TopSize, L + W + b->RightSize,
                                  T - b->TopSize + b->HitTopRightY);
            const TRect edge = Rect(tl.Right, tl.Top, tr.Left, tl.Top + size);
            const TRect leftPart = Rect(tl.Left, tl.Bottom, tl.Left + size, bottom);
            const TRect rightPart = Rect(tr.Left, tr.Bottom, tr.Right, bottom);
            const bool inCaption = Inside(c, p);
            if (Inside(tl, p) && !inCaption) return qxflhTopLeft;
            if (Inside(edge, p)) return qxflhTop;
            if (Inside(tr, p) && !inCaption) return qxflhTopRight;
            if (Inside(leftPart, p) && !inCaption) return qxflhLeft;
            if (Inside(rightPart, p) && !inCaption) return qxflhRight;
            return qxflhNone;
        }
        case qxflBottom: {
            const Integer B = T + H + b->BottomSize;
            const TRect bl = Rect(L - b->LeftSize, B - b->HitBottomLeftY, L - b->LeftSize + b->HitBottomLeftX, B);
            const TRect br = Rect(L + W + b->RightSize - b->HitBottomRightX, B - b->HitBottomRightY,
                                  L + W + b->RightSize, B);
            const TRect edge = Rect(bl.Right, bl.Top, br.Left, B);
            const TRect leftPart = Rect(bl.Left, Top(), L, bl.Top);
            const TRect rightPart = Rect(L + W, Top(), L + W + b->RightSize, br.Top);
            if (Inside(bl, p)) return qxflhBottomLeft;
            if (Inside(edge, p)) return qxflhBottom;
            if (Inside(br, p)) return qxflhBottomRight;
            if (Inside(leftPart, p)) return qxflhLeft;
            if (Inside(rightPart, p)) return qxflhRight;
            return qxflhNone;
        }
    }
    return qxflhNone;
}

void TqxFormLayerWindow::Dispatch(TMessage& AMessage) {
    TqxFormLayerBorder* b = FLayerBorder;
    const bool hitTest = b->FData && b->FData->HitTestEnable;
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            AMessage.Result = 1;
            return;
        case WM_PAINT:
            // What shows is the upload: nothing to paint.
            ValidateRect(Handle(), nullptr);
            return;
        case WM_MOUSEACTIVATE:
            AMessage.Result = MA_NOACTIVATE;
            if (hitTest && FForm) {
                if (!FForm->Active()) {
                    FForm->Show();
                    FForm->SetFocus();
                }
                POINT p{};
                GetCursorPos(&p);
                FHitMode = GetHitMode(p.x - Left(), p.y - Top());
            }
            return;
        case WM_SETFOCUS:
            if (FForm && !FForm->Active()) {
                FForm->Show();
                FForm->SetFocus();
            }
            AMessage.Result = 1;
            return;
        case WM_LBUTTONDBLCLK:
            if (b->IsFullBorder()) DblClick();
            break;
        case CM_MOUSEENTER:
            if (b->IsFullBorder()) b->MouseTimer->SetEnabled(true);
            break;
        case CM_MOUSELEAVE:
            if (b->IsFullBorder()) {
                b->MouseTimer->SetEnabled(false);
                b->TestActiveObject(-1, -1);
            }
            break;
        default:
            break;
    }
    TForm::Dispatch(AMessage);
    if (AMessage.Msg == WM_LBUTTONDBLCLK && b->IsFullBorder()) b->MouseCaptureObject = -1;
}

void TqxFormLayerWindow::DblClick() {
    TqxFormLayerBorder* b = FLayerBorder;
    const TPoint cursor = CursorPos();
    TqxFormLayerBorderHit hit = GetHitMode(cursor.X - Left(), cursor.Y - Top());
    TqxActiveSkinObject* object = b->ActiveObject >= 0 && b->ActiveObject < Integer(QXD()->ObjectList.size())
                                      ? QXD()->ObjectList[size_t(b->ActiveObject)].get()
                                      : nullptr;
    if (hit == qxflCaption)
        if (auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object))
            if (caption->ActiveQuickButton != -1) hit = qxflObject;
    MousePos1 = MousePos2;
    if (hit == qxflObject) {
        if (auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object))
            if (button->Command == cmSysMenu) FForm->Close();
    } else if (hit == qxflCaption) {
        TqxDravenfold* q = QXD();
        const bool sizeable = q->IsSizeable();
        if (sizeable && q->WindowState() == wsMinimized) {
            q->SetWindowState(wsNormal);
        } else if (sizeable && q->WindowState() != wsMaximized && !q->RollUpState() &&
                   q->BorderIcons().Contains(TqxBorderIcon::biMaximize)) {
            FDown = false;
            q->SetWindowState(wsMaximized);
        } else if (sizeable && q->WindowState() == wsMaximized && !q->MaxRollUpState) {
            FDown = false;
            q->SetWindowState(wsNormal);
        } else {
            q->SetRollUpState(!q->RollUpState());
        }
    }
}

void TqxFormLayerWindow::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TForm::MouseDown(AButton, AShift, X, Y);
    TqxDravenfold* q = QXD();
    TqxFormLayerBorder* b = FLayerBorder;
    if (q->SkinMenu() && q->SkinMenu()->Visible()) q->SkinMenu()->Hide();
    if (FForm && FForm->ActiveControl()) FForm->ActiveControl()->Perform(CM_CANCELMODE, 0, 0);
    const TqxFormLayerBorderHit hit = GetHitMode(X, Y);
    if (!b->FData || !b->FData->HitTestEnable) return;
    if (!CanResizeForm() && hit != qxflCaption && hit != qxflObject) return;
    FHitMode = hit;
    FInProcessMessages = false;
    FDown = hit != qxflObject && hit != qxflhNone && q->AppliedWindowState() != wsMaximized && AButton == mbLeft;
    MousePos1 = MousePos2 = CursorPos();
    if (b->FData->FullBorder && b->ActiveObject >= 0 && b->ActiveObject < Integer(q->ObjectList.size())) {
        const auto object = q->ObjectList[size_t(b->ActiveObject)];
        if (AButton != mbRight) b->MouseCaptureObject = b->ActiveObject;
        object->MouseDown(X, Y, AButton);
        if (auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get()))
            if (caption->ActiveQuickButton != -1) FDown = false;
        if (q->FLayerManager->IsVisible() && FForm->FormStyle() == fsStayOnTop) q->FLayerManager->Update();
    }
}

void TqxFormLayerWindow::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (FInProcessMessages) {
        FInProcessMessages = false;
        MousePos1 = MousePos2;
        return;
    }
    TForm::MouseMove(AShift, X, Y);
    TqxFormLayerBorder* b = FLayerBorder;
    if (!b->FData || !b->FData->HitTestEnable || !FForm) return;
    TqxDravenfold* q = QXD();
    MousePos2 = CursorPos();
    const Integer dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
    if (!FDown) {
        q->FBorderLayerChangeSize = false;
        FHitMode = GetHitMode(X, Y);
        TCursor cursor = crDefault;
        switch (FHitMode) {
            case qxflhLeft:
            case qxflhRight:
                cursor = crSizeWE;
                break;
            case qxflhTop:
            case qxflhBottom:
                cursor = crSizeNS;
                break;
            case qxflhTopLeft:
            case qxflhBottomRight:
                cursor = crSizeNWSE;
                break;
            case qxflhTopRight:
            case qxflhBottomLeft:
                cursor = crSizeNESW;
                break;
            default:
                break;
        }
        SetCursor(cursor);
        if (b->FData->FullBorder && b->ActiveObject >= 0 && b->ActiveObject < Integer(q->ObjectList.size()))
            q->ObjectList[size_t(b->ActiveObject)]->MouseMove(X, Y);
    } else {
        q->FBorderLayerChangeSize = true;
        if (FHitMode == qxflCaption)
            CaptionDrag(dx, dy);
        else if (FHitMode != qxflObject && FHitMode != qxflhNone)
            ResizeStep(dx, dy);
    }
    MousePos1 = MousePos2;
}

void TqxFormLayerWindow::PumpMessages() {
    FInProcessMessages = true;
    if (Application) Application->ProcessMessages();
    FInProcessMessages = false;
}

void TqxFormLayerWindow::Apply(Integer L, Integer T, Integer W, Integer H) {
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    FForm->SetBounds(L, T, W, H);
    MousePos1 = MousePos2;
    PumpMessages();
}

void TqxFormLayerWindow::ResizeStep(Integer DX, Integer DY) {
    TqxDravenfold* q = QXD();
    TqxFormLayerBorder* b = FLayerBorder;
    const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    const Integer size = b->FData->HitTestSize;
    const TPoint p = MousePos2;
    const Integer leftEdge = L - b->LeftSize + size, topEdge = T - b->TopSize + size;
    const Integer rightEdge = L + W + b->RightSize - size, bottomEdge = T + H + b->BottomSize - size;
    const auto clampW = [&](Integer AW) { return std::clamp(AW, q->GetMinWidth(), std::max(q->GetMaxWidth(), q->GetMinWidth())); };
    const auto clampH = [&](Integer AH) {
        return std::clamp(AH, q->GetMinHeight(), std::max(q->GetMaxHeight(), q->GetMinHeight()));
    };
    // An enlarging movement counts only from the side's inner hit edge on.
    const bool leftCounts = DX > 0 || p.X <= leftEdge, rightCounts = DX < 0 || p.X >= rightEdge;
    const bool topCounts = DY > 0 || p.Y <= topEdge, bottomCounts = DY < 0 || p.Y >= bottomEdge;
    switch (FHitMode) {
        case qxflhLeft: {
            const Integer w = clampW(W - DX);
            if (DX != 0 && w != W && w == W - DX && leftCounts) Apply(L + DX, T, w, H);
            return;
        }
        case qxflhRight: {
            const Integer w = clampW(W + DX);
            if (DX != 0 && w != W && rightCounts) Apply(L, T, w, H);
            return;
        }
        case qxflhTop: {
            const Integer h = clampH(H - DY);
            if (DY == 0 || h == H || h != H - DY || !topCounts) return;
            if (DY > 0) b->MoveWithForm2(L, T + DY);
            Apply(L, T + DY, W, h);
            if (FForm->Height() == H) b->MoveWithForm();
            return;
        }
        case qxflhBottom: {
            const Integer h = clampH(H + DY);
            if (DY != 0 && h != H && bottomCounts) Apply(L, T, W, h);
            return;
        }
        default:
            break;
    }
    const bool leftSide = FHitMode == qxflhTopLeft || FHitMode == qxflhBottomLeft;
    const bool topSide = FHitMode == qxflhTopLeft || FHitMode == qxflhTopRight;
    Integer dx = DX, dy = DY;
    if (!(leftSide ? leftCounts : rightCounts)) dx = 0;
    if (!(topSide ? topCounts : bottomCounts)) dy = 0;
    const Integer w = clampW(leftSide ? W - dx : W + dx);
    const Integer h = clampH(topSide ? H - dy : H + dy);
    // A clamp that would move the fixed edge drops the step.
    if ((leftSide && w != W - dx) || (topSide && h != H - dy)) return;
    if ((w == W && h == H) || (dx == 0 && dy == 0)) return;
    const Integer left = leftSide ? L + dx : L, top = topSide ? T + dy : T;
    if (topSide && dy > 0) b->MoveWithForm2(left, top);
    Apply(left, top, w, h);
    if (topSide && FForm->Height() == H) b->MoveWithForm();
}

void TqxFormLayerWindow::CaptionDrag(Integer DX, Integer DY) {
    TqxDravenfold* q = QXD();
    TqxFormLayerBorder* b = FLayerBorder;
    const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    Integer left = L + DX, top = T + DY;
    bool snapped = false;
    if (q->Magnetic() && (DX != 0 || DY != 0)) {
        const bool collapsed = b->IsFullBorder() && (q->RollUpState() || q->IsFrameCollapsed());
        q->SnapToEdges(left, top, W, collapsed ? b->FData->RollUpFormHeight : H);
        snapped = left != L + DX || top != T + DY;
        MousePos1 = MousePos2;
    }
    FInProcessMessages = true;
    if (!snapped) {
        if (DY > 0) b->MoveWithForm2(left, top);
        FForm->SetBounds(left, top, W, H);
    } else {
        // Only a snap further in the drag direction moves the form.
        const bool further = (DX > 0 && left > L + DX) || (DX < 0 && left < L + DX) || (DY > 0 && top > T + DY) ||
                             (DY < 0 && top < T + DY);
        if (further) FForm->SetBounds(left, top, W, H);
    }
    b->MoveWithForm();
    if (Application) Application->ProcessMessages();
    FInProcessMessages = false;
}

void TqxFormLayerWindow::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TForm::MouseUp(AButton, AShift, X, Y);
    TqxDravenfold* q = QXD();
    TqxFormLayerBorder* b = FLayerBorder;
    q->FBorderLayerChangeSize = false;
    FDown = false;
    FInProcessMessages = false;
    MousePos1 = MousePos2 = Point(0, 0);
    if (!b->FData) return;
    const Integer count = Integer(q->ObjectList.size());
    if (b->FData->FullBorder) {
        if (b->MouseCaptureObject >= 0 && b->MouseCaptureObject < count && b->MouseCaptureObject != b->ActiveObject)
            q->ObjectList[size_t(b->MouseCaptureObject)]->MouseUp(X, Y, AButton);
        b->MouseCaptureObject = -1;
    }
    if (b->FData->HitTestEnable && (CanResizeForm() || FHitMode == qxflCaption || FHitMode == qxflObject) &&
        b->FData->FullBorder && b->ActiveObject >= 0 && b->ActiveObject < count)
        q->ObjectList[size_t(b->ActiveObject)]->MouseUp(X, Y, AButton);
}

// ---------------------------------------------------------------------------
// The form component's side

bool TqxDravenfold::UsesLayeredFrame() const {
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame() &&
           FSD->LayerFrame()->PictureIndex != -1 && FIsLayerEnabled && FSkinnableForm &&
           !AlwaysDisableLayeredFrames && !PreviewMode && FForm->BorderStyle() != bsNone &&
           FForm->FormStyle() != fsMDIChild && !FSmartEffectsShow;
}

bool TqxDravenfold::FullBorderFrameShown() const {
    return FBorderLayer && FBorderLayer->Visible() && FBorderLayer->IsFullBorder() && UsesLayeredFrame();
}

void TqxDravenfold::RebuildLayeredFrame() {
    if (FBorderLayer->Visible()) FBorderLayer->Hide();
    if (!PreviewMode) FBorderLayer->InitFrame(FSkinSupport && FSkinnableForm ? FSD : nullptr, FForm);
    if (UsesLayeredFrame() && FForm->Visible() && FWindowState != wsMaximized) {
        FBorderLayer->FActive = GetFormActive();
        FBorderLayer->ShowWithForm();
        FBorderLayer->SetBoundsWithForm();
    }
}

bool TqxDravenfold::LayeredFrameBefore(TMessage& Message) {
    // The skin's element decides before the frame has read it.
    const bool full = FSkinnableForm && UsesLayeredFrame() && FSD->LayerFrame()->FullBorder;
    switch (Message.Msg) {
        case WM_NCHITTEST:
            if (!FullBorderFrameShown()) return false;
            Message.Result = HTCLIENT;
            return true;
        case WM_NCCALCSIZE:
            // The frame windows are the whole non-client area.
            if (!full || !FrameDrawn()) return false;
            CalcSkinRects();
            Message.Result = 1;
            return true;
        case WM_NCPAINT:
            if (!full || !FrameDrawn()) return false;
            Message.Result = 1;
            return true;
        case SKINMSG_CHANGING:
            // The frame's pictures go with the old skin.
            if (reinterpret_cast<TqxSkinData*>(Message.WParam) == FSD) {
                SaveOuterBounds();
                FBorderLayer->Hide();
                FBorderLayer->InitFrame(nullptr, FForm);
            }
            return false;
        case SKINMSG_EFFECTEND:
            if (!FSmartEffectsShow) return false;
            FSmartEffectsShow = false;
            if ((FForm->Visible() || FForm->Tag() == SKINTAG_TRAYRESTORE) && UsesLayeredFrame()) {
                if (Application) Application->ProcessMessages();
                FBorderLayer->FActive = true;
                FBorderLayer->ShowWithFormAnimation();
            }
            return false;
        default:
            return false;
    }
}

void TqxDravenfold::LayeredFrameAfter(TMessage& Message) {
    const bool uses = UsesLayeredFrame();
    TqxFormLayerBorder* frame = FBorderLayer;
    switch (Message.Msg) {
        case WM_SHOWWINDOW: {
            if (!Message.WParam) {
                frame->Hide();
                return;
            }
            // A fade-in or a layered show brought the frame before the form.
            if (!uses || FadesIn() || NeedsLayeredShow() ||
                !(FForm->Visible() || FForm->Tag() == SKINTAG_TRAYRESTORE))
                return;
            frame->FActive = true;
            if (FWindowState != wsMaximized || frame->IsFullBorder()) frame->ShowWithForm();
            return;
        }
        case WM_TIMER:
            if (Message.WParam != 1 || !FadesIn() || !uses || !frame->Visible()) return;
            frame->FActive = GetFormActive();
            frame->CheckFormAlpha(FAlphaBlend ? FAlphaBlendValue : 255, true);
            if (!frame->IsFullBorder()) frame->SetBoundsWithForm();
            return;
        case WM_SIZE:
            if (!uses) return;
            if (Message.WParam == SIZE_MINIMIZED || (FWindowState == wsMaximized && !frame->IsFullBorder())) {
                frame->Hide();
            } else if (!frame->Visible()) {
                if (FForm->Visible()) {
                    frame->FActive = GetFormActive();
                    frame->ShowWithForm();
                }
            } else if (FBorderLayerChangeSize) {
                frame->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
            } else {
                frame->SetBoundsWithForm();
            }
            return;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
            if (!uses || !pos || (pos->flags & SWP_NOMOVE)) return;
            if (FSizing)
                frame->SetBoundsWithForm3(pos->x, pos->y, FFormWidth, FFormHeight);
            else if (!FBorderLayerChangeSize)
                frame->MoveWithForm2(pos->x, pos->y);
            return;
        }
        case WM_EXITSIZEMOVE:
            if (uses) frame->SetBoundsWithForm();
            return;
        case WM_NCACTIVATE:
            if (!uses) return;
            if (FForm->Visible())
                frame->SetActive(Message.WParam != 0, true);
            else if (FForm->Tag() != SKINTAG_TRAYRESTORE)
                frame->Hide();
            return;
        case SKINMSG_LAYEREDBORDERS:
            LayeredBordersChanged();
            return;
        case SKINMSG_AEROBLUR:
            if (uses && frame->Visible()) {
                frame->Hide();
                frame->ShowWithForm();
            }
            return;
        default:
            return;
    }
}

void TqxDravenfold::LayeredBordersChanged() {
    SaveOuterBounds();
    const bool uses = UsesLayeredFrame();
    TqxFormLayerBorder* frame = FBorderLayer;
    if (uses && FForm->Visible() && !frame->Visible() &&
        (FWindowState != wsMaximized || frame->IsFullBorder())) {
        if (FIsVistaOs && !DisableDWMAnimation) {
            EnableDwmTransitions(FForm->Handle(), false);
            DisableDWMAnimation = true;
        }
        frame->FActive = FFormActive;
        frame->ShowWithForm();
        RestoreOldBounds();
    } else if (!uses && frame->Visible()) {
        frame->Hide();
        RestoreOldBounds();
        if (FIsVistaOs && DisableDWMAnimation) {
            EnableDwmTransitions(FForm->Handle(), true);
            DisableDWMAnimation = false;
        }
    }
    // The caption objects move between the frame windows and the form.
    if (frame->IsFullBorder()) RebuildSkinObjects();
}

bool TqxDravenfold::NeedsLayeredShow() const {
    return FIsVistaOs && UsesLayeredFrame() && !FadesIn();
}

bool TqxDravenfold::FrameHasOuterEdge() const {
    const TqxDataSkinLayerFrame* data = FBorderLayer->FData;
    return UsesLayeredFrame() && FBorderLayer->Visible() && data &&
           (!IsRectDegenerate(data->BorderRect) || data->FullBorder);
}

void TqxDravenfold::SaveOuterBounds() {
    const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    // Left, top, width and height.
    if (FBorderLayer->Visible() && FBorderLayer->IsFullBorder()) {
        const TqxFormLayerBorder& f = *FBorderLayer;
        FOldFormBounds =
            Rect(L - f.LeftSize, T - f.TopSize, W + f.LeftSize + f.RightSize, H + f.TopSize + f.BottomSize);
        FOldFullBorder = 1;
    } else {
        FOldFormBounds = Rect(L, T, W, H);
        FOldFullBorder = 0;
    }
}

void TqxDravenfold::RestoreOldBounds() {
    if (FOldFullBorder == -1) return;
    const TRect b = FOldFormBounds;
    const bool wasFullBorder = FOldFullBorder == 1;
    // Used once: a later rebuild must not take the form back to them.
    FOldFullBorder = -1;
    if (FBorderLayer->Visible() && FBorderLayer->IsFullBorder()) {
        const TqxFormLayerBorder& f = *FBorderLayer;
        FForm->SetBounds(b.Left + f.LeftSize, b.Top + f.TopSize, b.Right - f.LeftSize - f.RightSize,
                         b.Bottom - f.TopSize - f.BottomSize);
    } else if (wasFullBorder) {
        FForm->SetBounds(b.Left, b.Top, b.Right, FRollUpState ? GetMinHeight() : b.Bottom);
    }
}

std::vector<TCustomForm*> TqxDravenfold::ScreenForms(bool AStayOnTop) const {
    std::vector<TCustomForm*> forms;
    for (Integer i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (!form->Visible() || dynamic_cast<TqxFormLayerWindow*>(form) || form->FormStyle() == fsMDIChild)
            continue;
        if ((form->FormStyle() == fsStayOnTop) != AStayOnTop) continue;
        if (!AStayOnTop && Application && form == Application->MainForm()) continue;
        forms.push_back(form);
    }
    return forms;
}

bool TqxDravenfold::OtherNormalFormsVisible() const {
    return !ScreenForms(false).empty();
}

void TqxDravenfold::CheckAppLayeredBorders() {
    if (!IsMainForm() || !FSD || !FSD->ShowLayeredBorders() || !UsesLayeredFrame() ||
        !OtherNormalFormsVisible())
        return;
    const std::shared_ptr<bool> alive = FAlive;
    // Each comes to the top in turn; a visible top-level form's Show keeps
    // its place in the stacking, so it is raised here.
    const auto forward = [](TCustomForm* AForm) {
        AForm->Show();
        if (AForm->HandleAllocated())
            SetWindowPos(AForm->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    for (TCustomForm* form : ScreenForms(false)) {
        forward(form);
        if (!*alive) return;
    }
    if (FForm->Visible()) forward(FForm);
}

void TqxDravenfold::BringStayOnTopForms() {
    for (TCustomForm* form : ScreenForms(true))
        if (form->HandleAllocated()) SetForegroundWindow(form->Handle());
}

void TqxDravenfold::AppRestore(TObject*) {
    CheckAppLayeredBorders();
}

namespace {

// Application.OnRestore while a form component holds it: it goes quiet
// once the component is gone.
struct TAppRestoreHook {
    TqxDravenfold* Owner;
    std::weak_ptr<bool> Alive;
    void operator()(TObject* ASender) const {
        const std::shared_ptr<bool> alive = Alive.lock();
        if (alive && *alive) Owner->AppRestore(ASender);
    }
};

}  // namespace

void TqxDravenfold::InstallAppRestore() {
    if (!Application || !IsMainForm() || Application->OnRestore) return;
    Application->OnRestore = TAppRestoreHook{this, FAlive};
    FAppRestoreInstalled = true;
}

void TqxDravenfold::RemoveAppRestore() {
    if (!FAppRestoreInstalled || !Application) return;
    const auto* hook = Application->OnRestore.target<TAppRestoreHook>();
    if (hook && hook->Owner == this) Application->OnRestore = nullptr;
    FAppRestoreInstalled = false;
}
