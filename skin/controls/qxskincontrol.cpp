#include "skin/controls/qxskincontrol.h"

#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

void TqxSkinControl::RemoveRegion() {
    if (!FRgn) return;
    FRgn = nullptr;
    if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    if (!ComponentState().Contains(csDestroying)) Invalidate();
}

void TqxSkinControl::PaintIntoEraseDC(TMessage& AMessage) {
    if (!FromWMPaint) PaintWindow(reinterpret_cast<HDC>(AMessage.WParam));
    AMessage.Result = 1;
}

void TqxSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TqxSkinControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_PAINT:
            FromWMPaint = true;
            try {
                TqxSkinLink<TCustomControl>::Dispatch(AMessage);
            } catch (...) {
                FromWMPaint = false;
                throw;
            }
            FromWMPaint = false;
            return;
        case WM_ERASEBKGND:
            // The whole control is painted from its bitmap: nothing to erase.
            AMessage.Result = 1;
            return;
        case SKINMSG_PARENTBG:
            CheckParentBackground();
            return;
        default:
            TqxSkinLink<TCustomControl>::Dispatch(AMessage);
    }
}

void TqxSkinCustomControl::BeforeChangeSkinData() {
    TqxSkinControl::BeforeChangeSkinData();
    Picture = nullptr;
    MaskPicture = nullptr;
}

TRect TqxSkinCustomControl::MapSkinRect(const TRect& R) {
    return ::MapSkinRect(*this, R, Width(), Height());
}

void TqxSkinCustomControl::SetControlRegion() {
    if (!Parent()) return;
    if (!MaskPicture || FIndex == -1) {
        if (FRgn) {
            FRgn = nullptr;
            SetWindowRgn(Handle(), nullptr, TRUE);
        }
        return;
    }
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    FRgn = CreateControlRegion(*this, MaskPicture, Width(), Height());
    SetWindowRgn(Handle(), FRgn, TRUE);
}

void TqxSkinCustomControl::BroadcastParentBackground() {
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            if (windowed->HandleAllocated()) SendMessageW(windowed->Handle(), SKINMSG_PARENTBG, 0, 0);
        } else {
            child->Perform(SKINMSG_PARENTBG, 0, 0);
        }
    }
}

void TqxSkinCustomControl::ElementRead(const TqxDataSkinCustomControl* AElement) {
    MaskPicture = AElement ? SkinData()->GetActivePicture(AElement->MaskPictureIndex) : nullptr;
}

void TqxSkinCustomControl::SizeApplied() {
    SetControlRegion();
    Repaint();
}

void TqxSkinCustomControl::BoundsApplied(bool ASizeChanged) {
    if (ASizeChanged) {
        SetControlRegion();
        Repaint();
    }
    if (FIndex != -1 && StretchEffect) BroadcastParentBackground();
}

void TqxSkinCustomControl::CreateWnd() {
    TqxSkinControl::CreateWnd();
    // A new window has no region yet.
    FRgn = nullptr;
    if (FIndex != -1 && MaskPicture) SetControlRegion();
}

void TqxSkinCustomControl::Paint() {
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    if (FIndex == -1 || !ForcebackGround || ResizeMode != 1 || !Picture)
        TqxSkinControl::Paint();
    else
        PaintContainer();
}

void TqxSkinCustomControl::PaintContainer() {
    TCanvas* canvas = Canvas();
    TBitmap top, left, right, bottom;
    BuildBorderStrips(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                      NewClRect, &left, &top, &right, &bottom, Picture, SkinRect, Width(), Height(),
                      LeftStretch, TopStretch, RightStretch, BottomStretch);
    CreateControlSkinImage(&top);
    const TRect piece = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                             SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom);
    if (DrawbackGround) {
        TBitmap client;
        CopySkinPiece(Picture, piece, &client);
        const TRect& r = NewClRect;
        const HDC dc = canvas->Handle();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
        DrawSkinPiece(canvas, &client, r, StretchEffect, StretchType);
        RestoreDC(dc, saved);
    }
    canvas->Draw(0, 0, &top);
    canvas->Draw(0, top.Height(), &left);
    canvas->Draw(Width() - right.Width(), top.Height(), &right);
    canvas->Draw(0, Height() - bottom.Height(), &bottom);
}

void CopyComboElement(TqxComboElementCopy& C, const TqxDataSkinComboBox& E) {
    C.ActiveSkinRect = E.ActiveSkinRect;
    C.SItemRect = E.SItemRect;
    C.ActiveItemRect = E.ActiveItemRect;
    C.FocusItemRect = IsRectDegenerate(E.FocusItemRect) ? E.SItemRect : E.FocusItemRect;
    C.ItemLeftOffset = E.ItemLeftOffset;
    C.ItemRightOffset = E.ItemRightOffset;
    C.ItemTextRect = E.ItemTextRect;
    C.FontName = E.FontName;
    C.FontStyle = E.FontStyle;
    C.FontHeight = E.FontHeight;
    C.FontColor = E.FontColor;
    C.FocusFontColor = E.FocusFontColor;
    C.ActiveFontColor = E.ActiveFontColor;
    C.ButtonRect = E.ButtonRect;
    C.ActiveButtonRect = E.ActiveButtonRect;
    C.DownButtonRect = E.DownButtonRect;
    C.UnEnabledButtonRect = E.UnEnabledButtonRect;
    C.ItemStretchEffect = E.ItemStretchEffect;
    C.FocusItemStretchEffect = E.FocusItemStretchEffect;
    C.ShowFocus = E.ShowFocus;
}
