// The frame's geometry: the skin's frame picture stretched to the form's
// size, the places of the frame objects, the hit test of the frame, the
// window region from the skin's mask, and the caption's activation.
#include <algorithm>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/painting.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxutils.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/dravenfold.h"

using namespace win;

namespace {

// PtInRect: right and bottom edges outside.
bool PtIn(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

constexpr TqxStdCommand ButtonOrder[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

// The command of a caption button or an animated object; false for others.
bool CommandOf(TqxActiveSkinObject* AObject, TqxStdCommand& ACommand) {
    if (auto* button = dynamic_cast<TqxSkinStdButtonObject*>(AObject)) {
        ACommand = button->Command;
        return true;
    }
    if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(AObject)) {
        ACommand = animate->Command;
        return true;
    }
    return false;
}

// The first visible caption button or animated object drawn from its own
// picture with the command.
TqxActiveSkinObject* PlacedButton(const std::vector<std::shared_ptr<TqxActiveSkinObject>>& AObjects,
                                  TqxStdCommand ACommand) {
    for (const auto& object : AObjects) {
        TqxStdCommand command;
        if (CommandOf(object.get(), command) && object->Visible && object->SkinRectInAPicture && command == ACommand)
            return object.get();
    }
    return nullptr;
}

}  // namespace

TSize TqxDravenfold::PictureSize() const {
    if (!FSD) return {};
    return {FSD->FPicture->Width(), FSD->FPicture->Height()};
}

bool TqxDravenfold::HasMask() const {
    return FSD && !FSD->FMask->Empty();
}

void TqxDravenfold::CalcSkinRects() {
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (!FSD || FSD->Empty) return;
    const TSize picture = PictureSize();
    const Integer dw = FFormWidth - picture.cx, dh = FFormHeight - picture.cy;
    NewLTPoint = FSD->LTPoint;
    NewRTPoint = Point(FSD->RTPoint.X + dw, FSD->RTPoint.Y);
    NewLBPoint = Point(FSD->LBPoint.X, FSD->LBPoint.Y + dh);
    NewRBPoint = Point(FSD->RBPoint.X + dw, FSD->RBPoint.Y + dh);
    NewClRect = Rect(FSD->ClRect.Left, FSD->ClRect.Top, FSD->ClRect.Right + dw, FSD->ClRect.Bottom + dh);
    NewCaptionRect = FSD->CaptionRect;
    if (!IsRectDegenerate(NewCaptionRect)) NewCaptionRect.Right += dw;
    NewButtonsRect = FSD->ButtonsRect;
    if (!IsRectDegenerate(NewButtonsRect) && NewButtonsRect.Left > picture.cx / 2)
        NewButtonsRect = Moved(NewButtonsRect, dw, 0);
    NewButtonsInLeft = FSD->CapButtonsInLeft;
    NewButtonsOffset = FSD->ButtonsOffset;
    NewHitTestLTPoint = FSD->HitTestLTPoint;
    NewHitTestRTPoint = Point(FSD->HitTestRTPoint.X + dw, FSD->HitTestRTPoint.Y);
    NewHitTestLBPoint = Point(FSD->HitTestLBPoint.X, FSD->HitTestLBPoint.Y + dh);
    NewHitTestRBPoint = Point(FSD->HitTestRBPoint.X + dw, FSD->HitTestRBPoint.Y + dh);
    NewMaskRectArea = Rect(FSD->MaskRectArea.Left, FSD->MaskRectArea.Top, FSD->MaskRectArea.Right + dw,
                           FSD->MaskRectArea.Bottom + dh);
}

TRect TqxDravenfold::StretchObjectRect(const TRect& R) const {
    if (!FSD || FSD->Empty) return R;
    const TSize picture = PictureSize();
    const TRect lt = Rect(0, 0, FSD->LTPoint.X, FSD->LTPoint.Y);
    const TRect rt = Rect(FSD->RTPoint.X, 0, picture.cx, FSD->RTPoint.Y);
    const TRect lb = Rect(0, FSD->LBPoint.Y, FSD->LBPoint.X, picture.cy);
    const TRect rb = Rect(FSD->RBPoint.X, FSD->RBPoint.Y, picture.cx, picture.cy);
    const Integer dx = NewRBPoint.X - FSD->RBPoint.X, dy = NewRBPoint.Y - FSD->RBPoint.Y;
    const TPoint tl = R.TopLeft(), br = R.BottomRight();
    TRect r = R;
    if (PtIn(lt, tl) && PtIn(lt, br)) return r;
    if (PtIn(rt, tl) && PtIn(rt, br)) return Moved(r, dx, 0);
    if (PtIn(lb, tl) && PtIn(lb, br)) return Moved(r, 0, dy);
    if (PtIn(rb, tl) && PtIn(rb, br)) return Moved(r, dx, dy);
    if (PtIn(lt, tl) && PtIn(rb, br)) {
        r.Right += dx;
        r.Bottom += dy;
    } else if (PtIn(lt, tl) && PtIn(rt, br)) {
        r.Right += dx;
    } else if (PtIn(lb, tl) && PtIn(rb, br)) {
        r.Right += dx;
        r = Moved(r, 0, dy);
    } else if (PtIn(lt, tl) && PtIn(lb, br)) {
        r.Bottom += dy;
    } else if (PtIn(rt, tl) && PtIn(rb, br)) {
        r = Moved(r, dx, 0);
        r.Bottom += dy;
    }
    return r;
}

TqxSkinCaptionObject* TqxDravenfold::CaptionObject() const {
    for (const auto& object : ObjectList)
        if (auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get())) return caption;
    return nullptr;
}

void TqxDravenfold::ArrangeObjects() {
    // A full-border layered frame lays the objects out on its top window.
    if (FullBorderFrameShown()) return;
    for (const auto& object : ObjectList)
        if (!object->SkinRectInAPicture) object->ObjectRect = StretchObjectRect(object->SkinRect);
    TRect anchor;
    const bool hasButtonsRect = !IsRectDegenerate(NewButtonsRect);
    if (hasButtonsRect)
        anchor = NewButtonsRect;
    else if (!IsRectDegenerate(NewCaptionRect))
        anchor = NewCaptionRect;
    else
        return;
    const Integer y = anchor.Top;
    const TSize icon = GetIconSize();
    const auto sizeOf = [&](TqxActiveSkinObject* AButton) {
        TqxStdCommand command = cmDefault;
        if (CommandOf(AButton, command) && command == cmSysMenu && FShowIcon &&
            dynamic_cast<TqxSkinStdButtonObject*>(AButton))
            return icon;
        return TSize{AButton->SkinRect.Width(), AButton->SkinRect.Height()};
    };
    std::vector<TqxActiveSkinObject*> placed;
    for (const TqxStdCommand command : ButtonOrder)
        if (TqxActiveSkinObject* button = PlacedButton(ObjectList, command)) placed.push_back(button);
    for (const auto& object : ObjectList) {
        TqxStdCommand command;
        if (CommandOf(object.get(), command) && object->Visible && object->SkinRectInAPicture && command == cmDefault)
            placed.push_back(object.get());
    }
    TqxSkinCaptionObject* caption = CaptionObject();
    TqxActiveSkinObject* sysMenu = PlacedButton(ObjectList, cmSysMenu);
    if (!NewButtonsInLeft) {
        Integer x = anchor.Right;
        for (TqxActiveSkinObject* button : placed) {
            const TSize size = sizeOf(button);
            button->ObjectRect = Rect(x - size.cx, y, x, y + size.cy);
            x -= NewButtonsOffset + size.cx;
        }
        if (!hasButtonsRect && caption) caption->ObjectRect.Right = x + NewButtonsOffset;
        if (sysMenu) {
            const TSize size = sizeOf(sysMenu);
            x = NewCaptionRect.Left;
            const Integer top = NewCaptionRect.Top + NewCaptionRect.Height() / 2 - size.cy / 2;
            sysMenu->ObjectRect = Rect(x, top, x + size.cx, top + size.cy);
            x += NewButtonsOffset + size.cx;
            if (caption) caption->ObjectRect.Left = x - NewButtonsOffset;
        }
    } else {
        Integer x = anchor.Left;
        const auto place = [&](TqxActiveSkinObject* AButton) {
            const TSize size = sizeOf(AButton);
            AButton->ObjectRect = Rect(x, y, x + size.cx, y + size.cy);
            x += NewButtonsOffset + size.cx;
        };
        for (TqxActiveSkinObject* button : placed)
            place(button);
        if (!hasButtonsRect) {
            if (sysMenu) place(sysMenu);
            if (caption) caption->ObjectRect.Left = x + NewButtonsOffset;
        }
    }
}

void TqxDravenfold::CalcDefRects() {
    if (ObjectList.empty()) return;
    Integer x = FFormWidth - 3;
    const Integer y = 4;
    const Integer size = GetDefButtonSize();
    NewDefCaptionRect = Rect(3, 3, FFormWidth - 3, GetDefCaptionHeight());
    for (const TqxStdCommand command : ButtonOrder)
        if (TqxActiveSkinObject* button = PlacedButton(ObjectList, command)) {
            button->ObjectRect = Rect(x - size, y, x, y + size);
            x -= size;
        }
    NewDefCaptionRect.Right = x;
    for (const auto& object : ObjectList)
        if (auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object.get()))
            if (button->Command == cmSysMenu) {
                const TSize icon = GetIconSize();
                const Integer left = NewDefCaptionRect.Left;
                const Integer w = FShowIcon ? icon.cx : size, h = FShowIcon ? icon.cy : size;
                button->ObjectRect = Rect(left, y, left + w, y + h);
                NewDefCaptionRect.Left = left + w;
                break;
            }
}

bool TqxDravenfold::InCaptionArea(TPoint P) {
    for (const auto& object : ObjectList) {
        auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get());
        if (!caption || !PtIn(caption->ObjectRect, P)) continue;
        if (caption->HasQuickButtons()) {
            const Integer start = caption->ObjectRect.Left +
                                  FQuickButtons->Count() * (FQuickImageList->Width() + 8) + 7;
            return P.X >= start;
        }
        return true;
    }
    return false;
}

bool TqxDravenfold::PointInCaption(TPoint P) {
    return InCaptionArea(P);
}

Integer TqxDravenfold::TailHitTest(TPoint P) {
    if (PtIn(NewClRect, P)) return HTCLIENT;
    if (InCaptionArea(P)) return HTCAPTION;
    return HTOBJECT;
}

bool TqxDravenfold::PointInMaskRegion(TPoint P) const {
    if (PtIn(NewMaskRectArea, P)) return true;
    // The probe points reach past the window's edge: a point outside a strip
    // is outside the shape.
    const auto black = [](TBitmap* AStrip, Integer X, Integer Y) {
        if (AStrip->Empty() || X < 0 || Y < 0 || X >= AStrip->Width() || Y >= AStrip->Height()) return false;
        return (AStrip->Canvas()->Pixels(X, Y) & 0xFFFFFF) == 0;
    };
    if (P.Y <= NewMaskRectArea.Top) return black(RMTop.get(), P.X, P.Y);
    if (P.Y >= NewMaskRectArea.Bottom) return black(RMBottom.get(), P.X, P.Y - NewMaskRectArea.Bottom);
    if (P.X <= NewMaskRectArea.Left) return black(RMLeft.get(), P.X, P.Y - NewMaskRectArea.Top);
    return black(RMRight.get(), P.X - NewMaskRectArea.Right, P.Y - NewMaskRectArea.Top);
}

Integer TqxDravenfold::EdgeHitTest(TPoint P) const {
    const Integer width = FForm->Width(), height = FForm->Height();
    const Integer b = FSD->BorderW;
    const TPoint probes[] = {Point(P.X - b, P.Y), Point(P.X, P.Y - b), Point(P.X + b, P.Y), Point(P.X, P.Y + b)};
    bool near = false;
    if (!HasMask()) {
        for (const TPoint& probe : probes)
            near = near || !PtIn(Rect(0, 0, width, height), probe);
    } else if (!PtIn(NewMaskRectArea, P)) {
        for (const TPoint& probe : probes)
            near = near || !PointInMaskRegion(probe);
    }
    if (!near) return HTNOWHERE;
    if (NewHitTestLTPoint.X >= P.X && NewHitTestLTPoint.Y >= P.Y) return HTTOPLEFT;
    if (NewHitTestRTPoint.X <= P.X && NewHitTestRTPoint.Y >= P.Y) return HTTOPRIGHT;
    if (NewHitTestLBPoint.X >= P.X && NewHitTestLBPoint.Y <= P.Y) return HTBOTTOMLEFT;
    if (NewHitTestRBPoint.X <= P.X && NewHitTestRBPoint.Y <= P.Y) return HTBOTTOMRIGHT;
    if (PtIn(Rect(NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top), P)) return HTTOP;
    if (PtIn(Rect(NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, height), P)) return HTBOTTOM;
    if (PtIn(Rect(0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y), P)) return HTLEFT;
    if (PtIn(Rect(NewClRect.Right, NewHitTestRTPoint.Y, width, NewHitTestRBPoint.Y), P)) return HTRIGHT;
    return HTNOWHERE;
}

Integer TqxDravenfold::SkinHitTest(TPoint P) {
    if (FRollUpState || FWindowStateInit == wsMinimized) return InCaptionArea(P) ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !InCaptionArea(P) && !PtIn(NewClRect, P) && !FSizeMove) return HTOBJECT;
    if (FWindowStateInit == wsMaximized || !IsSizeable()) return TailHitTest(P);
    const Integer edge = EdgeHitTest(P);
    return edge != HTNOWHERE ? edge : TailHitTest(P);
}

Integer TqxDravenfold::DefaultHitTest(TPoint P) {
    const Integer w = FForm->Width(), h = FForm->Height();
    if (FWindowState != wsMaximized && FWindowState != wsMinimized && !FRollUpState && IsSizeable()) {
        if (ActiveObject != -1) return HTOBJECT;
        const bool left = P.X <= 2, top = P.Y <= 2, right = P.X >= w - 2, bottom = P.Y >= h - 2;
        if (left && top) return HTTOPLEFT;
        if (right && top) return HTTOPRIGHT;
        if (left && bottom) return HTBOTTOMLEFT;
        if (right && bottom) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (top) return HTTOP;
        if (right) return HTRIGHT;
        if (bottom) return HTBOTTOM;
    }
    CalcDefRects();
    if (PtIn(NewDefCaptionRect, P)) return HTCAPTION;
    if (PtIn(Rect(3, GetDefCaptionHeight() + 3, w - 3, h - 3), P)) return HTCLIENT;
    return HTOBJECT;
}

void TqxDravenfold::SetRegion(HRGN ARegion) {
    // The window owns the region from here on and frees the one it had.
    if (FForm->HandleAllocated()) {
        SetWindowRgn(FForm->Handle(), ARegion, TRUE);
        FRgn = ARegion;
    } else if (ARegion) {
        DeleteObject(ARegion);
    }
}

void TqxDravenfold::RemoveRegion() {
    if (FRgn) SetRegion(nullptr);
    FRgn = nullptr;
}

void TqxDravenfold::UpdateSkinRegion(bool AUpdate) {
    if (!FSkinnableForm || !FrameDrawn()) return RemoveRegion();
    const bool skin = FSD && !FSD->Empty;
    if (!skin || !HasMask()) {
        if (!skin) {
            for (TBitmap* strip : {RMTop.get(), RMBottom.get(), RMLeft.get(), RMRight.get()})
                strip->SetSize(0, 0);
        }
        return SetRegion(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
    }
    if (!AUpdate) {
        HRGN region = nullptr;
        CreateMaskRegion(region, FSD->FMask.get());
        if (region) SetRegion(region);
        return;
    }
    BuildBorderStripsTiled(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea, NewLTPoint,
                           NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea, FSD->FMask.get(), RMTop.get(),
                           RMLeft.get(), RMRight.get(), RMBottom.get(), FFormWidth, FFormHeight);
    HRGN region = CreateRectRgn(NewMaskRectArea.Left, NewMaskRectArea.Top, NewMaskRectArea.Right,
                                NewMaskRectArea.Bottom);
    const struct {
        TBitmap* Strip;
        TPoint At;
    } strips[] = {{RMTop.get(), Point(0, 0)},
                  {RMBottom.get(), Point(0, NewMaskRectArea.Bottom)},
                  {RMLeft.get(), Point(0, NewMaskRectArea.Top)},
                  {RMRight.get(), Point(NewMaskRectArea.Right, NewMaskRectArea.Top)}};
    for (const auto& strip : strips) {
        if (strip.Strip->Empty()) continue;
        std::vector<Byte> data;
        const Integer size = CreateMaskRegionData(strip.Strip, strip.At.X, strip.At.Y, data);
        if (size == 0) continue;
        HRGN part = ExtCreateRegion(nullptr, DWORD(size), reinterpret_cast<const RGNDATA*>(data.data()));
        if (!part) continue;
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
    }
    SetRegion(region);
}

bool TqxDravenfold::IsFrameCollapsed() const {
    return FWindowStateInit == wsMinimized && !FMinimizeDefault && !IsMainForm();
}

void TqxDravenfold::UpdateSkinGeometry(bool AUpdate) {
    if (!FSD || FSD->Empty) return;
    if (FSkinnableForm) {
        CalcSkinRects();
        if (AUpdate) ArrangeObjects();
    }
    const HRGN before = FRgn;
    UpdateSkinRegion(AUpdate);
    if (FSkinnableForm && FrameDrawn() && FRgn == before) SendToForm(WM_NCPAINT);
    if (FSkinSupport && FSD->StretchEffect) {
        FForm->Repaint();
        NotifyChildrenParentBG();
    }
}

bool TqxDravenfold::GetFormActive() const {
    if (PreviewMode) return true;
    if (IsMDIChild() || IsMDIForm()) return FFormActive;
    return FForm->Active();
}

void TqxDravenfold::SetCaptionActive(bool AAnimate) {
    const bool active = GetFormActive();
    if (!active)
        for (Integer i = 0; i < FQuickButtons->Count(); ++i) {
            FQuickButtons->Items(i)->Active = false;
            FQuickButtons->Items(i)->Down = false;
        }
    for (const auto& object : ObjectList) {
        auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get());
        if (!caption || caption->Active == active) continue;
        caption->Active = active;
        if (AAnimate) {
            if (caption->EnableAnimation()) {
                caption->FIncTime = 25;
                caption->CurrentFrame = active ? 1 : caption->InActiveAnimation ? caption->FrameCount : 0;
                AnimateTimer->SetEnabled(true);
            }
            SendToForm(WM_NCPAINT);
            if (caption->EnableMorphing()) MorphTimer->SetEnabled(true);
        } else {
            caption->SetMorphKf(active ? 1.0 : 0.0);
        }
        break;
    }
    if (active) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}
