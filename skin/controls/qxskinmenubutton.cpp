#include "skin/controls/qxskinmenubutton.h"

#include "platform/toolkit/methods.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

TqxSkinMenuButton::TqxSkinMenuButton(TComponent* AOwner) : TqxSkinButton(AOwner) {
    SetSkinDataName(u"toolmenubutton");
    FSpaceSupport = false;
}

void TqxSkinMenuButton::SetTrackButtonMode(bool AValue) {
    FTrackButtonMode = AValue;
    if (FIndex == -1) Repaint();
}

void TqxSkinMenuButton::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinButton::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TqxSkinMenuButton::GetSkinData() {
    TqxSkinButton::GetSkinData();
    if (FIndex == -1) return;
    if (const auto* e = dynamic_cast<const TqxDataSkinMenuButtonControl*>(SkinData()->CtrlList[FIndex]))
        TrackButtonRect = e->TrackButtonRect;
}

bool TqxSkinMenuButton::CanTrackMenu(Integer X, Integer Y) {
    if (!FSkinPopupMenu && !SkinImagesMenu()) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    const String& name = SkinDataName();
    if (FIndex != -1 && !IsStretchedMenuSection(name) && !IsNinePartMenuSection(name))
        return InTrackPart(SkinTrackPart(*this, TrackButtonRect, Width(), Height()), X, Y);
    return InTrackPart(RightTrackStrip(Width(), Height()), X, Y);
}

void TqxSkinMenuButton::TrackMenu() {
    TrackButtonMenus(
        this, FSkinPopupMenu, SkinImagesMenu(),
        [this] {
            if (OnShowTrackMenu) OnShowTrackMenu(this);
        },
        [this] { MenuClosed(); });
}

void TqxSkinMenuButton::OpenMenu() {
    if (!FDown) SetDown(true);
    FMenuTracked = true;
    TrackMenu();
}

void TqxSkinMenuButton::DropDown() {
    if (FIndex != -1 && !IsRectDegenerate(AnimateSkinRect)) StopAnimate();
    OpenMenu();
}

void TqxSkinMenuButton::MenuClosed() {
    FMenuTracked = false;
    SetDown(false);
    POINT cursor{};
    GetCursorPos(&cursor);
    FMouseIn = HandleAllocated() && WindowFromPoint(cursor) == Handle();
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    if (!FMouseIn) HideLayer();
    Repaint();
}

void TqxSkinMenuButton::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton != mbLeft) return TqxSkinButton::MouseDown(AButton, AShift, X, Y);
    FMenuTracked = CanTrackMenu(X, Y);
    FMouseIn = true;
    if (FIndex != -1 && !IsRectDegenerate(AnimateSkinRect)) StopAnimate();
    if (!FMenuTracked) return TqxSkinButton::MouseDown(AButton, AShift, X, Y);
    OpenMenu();
}

void TqxSkinMenuButton::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (!FMenuTracked) TqxSkinButton::MouseUp(AButton, AShift, X, Y);
}

// Space opens the menu outside track mode and clicks on release; Enter
// clicks on release; the caption's accelerator opens the menu.
bool TqxSkinMenuButton::KeyHandled(TMessage& AMessage) {
    const auto raiseClick = [this] {
        if (OnClick) OnClick(this);
    };
    switch (AMessage.Msg) {
        case WM_KEYDOWN:
            if (AMessage.WParam == VK_SPACE && !FTrackButtonMode && CanTrackMenu(0, 0)) {
                OpenMenu();
                return true;
            }
            return false;
        case WM_KEYUP:
            if (AMessage.WParam == VK_SPACE) {
                if (!FMenuTracked) {
                    SetDown(false);
                    raiseClick();
                }
                return true;
            }
            if (AMessage.WParam == VK_RETURN && !FMenuTracked) raiseClick();
            return false;
        case CM_WANTSPECIALKEY:
            // Enter clicks on its release only: kept from the form, whose
            // dialog key would click on the press too.
            if (AMessage.WParam != VK_RETURN) return false;
            AMessage.Result = 1;
            return true;
        case CM_DIALOGCHAR:
            if (FTrackButtonMode || !CanTrackMenu(0, 0)) return false;
            if (!IsAccel(Word(AMessage.WParam), Caption()) || !CanFocus()) return false;
            SetFocus();
            OpenMenu();
            AMessage.Result = 1;
            return true;
        default:
            return false;
    }
}

void TqxSkinMenuButton::WndProc(TMessage& AMessage) {
    if (CanFocused() && (FSkinPopupMenu || SkinImagesMenu()) && KeyHandled(AMessage)) return;
    TqxSkinButton::WndProc(AMessage);
}

void TqxSkinMenuButton::Dispatch(TMessage& AMessage) {
    if (TrackedMenuMessage(AMessage, FMenuTracked, ComponentState().Contains(csDesigning), FMouseIn,
                           [this] { MenuClosed(); }))
        return;
    TqxSkinButton::Dispatch(AMessage);
}

// Painting.

TqxMenuButtonPaint TqxSkinMenuButton::Variant() {
    TqxMenuButtonPaint p = MenuButtonPaintOf(*this, FTrackButtonMode, FMenuTracked);
    p.SetupFont = [this](TCanvas* ACanvas) { SetupFont(ACanvas, UseSkinFont()); };
    p.DrawContent = [this](TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn) {
        if (ShowFocus && Focused()) {
            ACanvas->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
            DrawSkinFocusRect(ACanvas, NewClRect);
        }
        DrawContent(ACanvas, ARect, ADown, AMouseIn);
    };
    return p;
}

void TqxSkinMenuButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const String& name = SkinDataName();
    if (IsNinePartMenuSection(name)) return DrawNinePartMenuButton(Variant(), B, ADown, AMouseIn);
    if (IsStretchedMenuSection(name)) return DrawStretchedMenuButton(Variant(), B, ADown, AMouseIn);
    if (FMenuTracked && FTrackButtonMode && !IsRectDegenerate(TrackButtonRect) &&
        !IsRectDegenerate(DownSkinRect)) {
        TqxSkinButton::CreateButtonImage(B, ActiveSkinRect, false, AMouseIn);
        CopyTrackPartDown(Variant(), TrackButtonRect, B);
        return;
    }
    TqxSkinButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TqxSkinMenuButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    const Integer w = Width(), h = Height();
    const bool downHovered = FDown && FMouseIn;
    const bool hot = FMouseIn || HasFocus();
    TRect strip = RightTrackStrip(w, h);
    const TRect main = Rect(0, 0, w - TrackStripSize, h);
    if (FTrackButtonMode) {
        TColor mainFill = clBtnFace, stripFill = clBtnFace, frame = clBtnShadow;
        if (FMenuTracked) {
            frame = DefaultFrame;
            mainFill = DefaultHoverFill;
            stripFill = DefaultDownFill;
        } else if (downHovered) {
            frame = DefaultFrame;
            mainFill = stripFill = DefaultDownFill;
        } else if (hot) {
            frame = DefaultFrame;
            mainFill = stripFill = DefaultHoverFill;
        }
        FillDefaultFace(canvas, main, frame, mainFill);
        FillDefaultFace(canvas, strip, frame, stripFill);
    } else if (downHovered) {
        FillDefaultFace(canvas, Rect(0, 0, w, h), DefaultFrame, DefaultDownFill);
    } else if (hot) {
        FillDefaultFace(canvas, Rect(0, 0, w, h), DefaultFrame, DefaultHoverFill);
    } else {
        FillDefaultFace(canvas, Rect(0, 0, w, h), clBtnShadow, clBtnFace);
    }
    SetupFont(canvas, false);
    DrawContent(canvas, main, FDown, FMouseIn);
    if (downHovered || FMenuTracked) strip = Rect(strip.Left + 2, strip.Top + 2, strip.Right + 2, strip.Bottom + 2);
    DrawSmallDownArrow(canvas, strip, clBtnText);
}

namespace {

const auto Registered = [] {
    using M = TqxSkinMenuButton;
    RegisterClass<M, TqxSkinButton>()
        .Property(u"TrackButtonMode", &M::TrackButtonMode, &M::SetTrackButtonMode)
        .Property(u"SkinPopupMenu", &M::SkinPopupMenu, &M::SetSkinPopupMenu)
        .Property(u"SkinImagesMenu", &M::SkinImagesMenu, &M::SetSkinImagesMenu)
        .Property(u"UseImagesMenuImage", &M::UseImagesMenuImage, &M::SetUseImagesMenuImage)
        .Property(u"UseImagesMenuCaption", &M::UseImagesMenuCaption, &M::SetUseImagesMenuCaption)
        .Event(u"OnShowTrackMenu", &M::OnShowTrackMenu)
        .Event(u"OnHideTrackMenu", &M::OnHideTrackMenu);
    return true;
}();

}  // namespace
