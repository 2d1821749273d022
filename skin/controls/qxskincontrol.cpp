#include "skin/controls/qxskincontrol.h"

#include "platform/gdi/dc.h"
#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

TqxSkinControl::TqxSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TqxSkinControl::~TqxSkinControl() = default;

void TqxSkinControl::SetSkinData(TqxSkinData* AValue) {
    if (FSD != AValue) {
        if (FSD) FSD->RemoveFreeNotification(this);
        if (AValue) AValue->FreeNotification(this);
    }
    FSD = AValue;
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning))
        ChangeSkinData();
    else if (!FSD)
        RemoveRegion();
}

void TqxSkinControl::SetSkinDataName(const String& AValue) {
    FSkinDataName = AValue;
}

void TqxSkinControl::SetHintImageList(TCustomImageList* AValue) {
    if (FHintImageList == AValue) return;
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
    FHintImageList = AValue;
    if (FHintImageList) FHintImageList->FreeNotification(this);
}

void TqxSkinControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        RemoveRegion();
    }
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TqxSkinControl::RemoveRegion() {
    if (!FRgn) return;
    FRgn = nullptr;
    if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    if (!ComponentState().Contains(csDestroying)) Invalidate();
}

void TqxSkinControl::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
}

void TqxSkinControl::CreateControlDefaultImage(TBitmap*) {}

void TqxSkinControl::CreateControlSkinImage(TBitmap*) {}

void TqxSkinControl::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TqxSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TqxSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&bitmap);
    else
        CreateControlSkinImage(&bitmap);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_PAINT:
            FromWMPaint = true;
            try {
                TCustomControl::Dispatch(AMessage);
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
        case CM_MOUSEENTER:
            TCustomControl::Dispatch(AMessage);
            if (OnMouseEnter && !ComponentState().Contains(csDesigning)) OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            TCustomControl::Dispatch(AMessage);
            if (OnMouseLeave && !ComponentState().Contains(csDesigning)) OnMouseLeave(this);
            return;
        default:
            TCustomControl::Dispatch(AMessage);
    }
}

TqxSkinCustomControl::TqxSkinCustomControl(TComponent* AOwner)
    : TqxSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChange(Sender); };
}

TqxSkinCustomControl::~TqxSkinCustomControl() {
    FDefaultFont->OnChange = nullptr;
}

void TqxSkinCustomControl::SetDefaultWidth(Integer AValue) {
    FDefaultWidth = AValue;
    if (FIndex == -1 && AValue > 0) SetWidth(AValue);
}

void TqxSkinCustomControl::SetDefaultHeight(Integer AValue) {
    FDefaultHeight = AValue;
    if (FIndex == -1 && AValue > 0) SetHeight(AValue);
}

void TqxSkinCustomControl::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
    DefaultFontChanged();
}

void TqxSkinCustomControl::DefaultFontChange(TObject*) {
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
}

void TqxSkinCustomControl::GetSkinData() {
    TqxSkinControl::GetSkinData();
    if (FIndex == -1) {
        // The skin frees its pictures when it changes or goes.
        Picture = nullptr;
        MaskPicture = nullptr;
        return;
    }
    const auto* element = dynamic_cast<const TqxDataSkinCustomControl*>(SkinData()->CtrlList[FIndex]);
    if (!element) {
        ResizeMode = 0;
        Picture = nullptr;
        MaskPicture = nullptr;
        return;
    }
    CopyElementGeometry(*this, *element);
    Picture = SkinData()->GetActivePicture(element->PictureIndex);
    MaskPicture = SkinData()->GetActivePicture(element->MaskPictureIndex);
}

void TqxSkinCustomControl::BeforeChangeSkinData() {
    TqxSkinControl::BeforeChangeSkinData();
    Picture = nullptr;
    MaskPicture = nullptr;
}

void TqxSkinCustomControl::CalcSize(Integer& W, Integer& H) {
    ::CalcSize(*this, FIndex != -1, W, H);
}

void TqxSkinCustomControl::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
    ::CreateSkinImage(*this, B, APicture, ARect, Width(), Height(), !ForcebackGround);
}

TRect TqxSkinCustomControl::MapSkinRect(const TRect& R) {
    return ::MapSkinRect(*this, R, Width(), Height());
}

void TqxSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
}

void TqxSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

void TqxSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
        SetControlRegion();
        Repaint();
        return;
    }
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    if (w != Width() || h != Height()) {
        // SetBounds sets the region and repaints.
        SetBounds(Left(), Top(), w, h);
    } else {
        SetControlRegion();
        Repaint();
    }
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

void TqxSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    GetSkinData();
    const bool changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = AdjustedControlTop(Parent(), ATop, AHeight);
    TqxSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) {
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
    BuildBorderStrips(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                      &left, &top, &right, &bottom, Picture, SkinRect, Width(), Height(), LeftStretch,
                      TopStretch, RightStretch, BottomStretch);
    CreateControlSkinImage(&top);
    const TRect piece =
        Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
             SkinRect.Top + ClRect.Bottom);
    const Integer pw = piece.Width(), ph = piece.Height();
    // An empty client piece has nothing to tile or repeat.
    if (DrawbackGround && pw > 0 && ph > 0) {
        TBitmap client;
        client.SetSize(pw, ph);
        client.Canvas()->CopyRect(Rect(0, 0, pw, ph), Picture->Canvas(), piece);
        const TRect& r = NewClRect;
        const HDC dc = canvas->Handle();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
        if (StretchEffect) {
            if (!IsRectDegenerate(r)) {
                switch (StretchType) {
                    case qxstFull:
                        canvas->StretchDraw(r, &client);
                        break;
                    case qxstHorz:
                        for (Integer i = 0; i <= r.Width() / pw; ++i)
                            canvas->StretchDraw(Bounds(r.Left + i * pw, r.Top, pw, r.Height()), &client);
                        break;
                    case qxstVert:
                        for (Integer i = 0; i <= r.Height() / ph; ++i)
                            canvas->StretchDraw(Bounds(r.Left, r.Top + i * ph, r.Width(), ph), &client);
                        break;
                }
            }
        } else {
            for (Integer row = 0; row <= r.Height() / ph; ++row)
                for (Integer column = 0; column <= r.Width() / pw; ++column)
                    canvas->Draw(r.Left + column * pw, r.Top + row * ph, &client);
        }
        RestoreDC(dc, saved);
    }
    canvas->Draw(0, 0, &top);
    canvas->Draw(0, top.Height(), &left);
    canvas->Draw(Width() - right.Width(), top.Height(), &right);
    canvas->Draw(0, Height() - bottom.Height(), &bottom);
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxSkinControl, TCustomControl>()
        .Property(u"SkinData", &TqxSkinControl::SkinData, &TqxSkinControl::SetSkinData)
        .Property(u"SkinDataName", &TqxSkinControl::SkinDataName, &TqxSkinControl::SetSkinDataName)
        .Property(u"HintTitle", &TqxSkinControl::HintTitle, &TqxSkinControl::SetHintTitle)
        .Property(u"HintImageIndex", &TqxSkinControl::HintImageIndex, &TqxSkinControl::SetHintImageIndex)
        .Property(u"HintImageList", &TqxSkinControl::HintImageList, &TqxSkinControl::SetHintImageList)
        .Event(u"OnMouseEnter", &TqxSkinControl::OnMouseEnter)
        .Event(u"OnMouseLeave", &TqxSkinControl::OnMouseLeave);
    RegisterClass<TqxSkinCustomControl, TqxSkinControl>()
        .Property(u"DefaultWidth", &TqxSkinCustomControl::DefaultWidth, &TqxSkinCustomControl::SetDefaultWidth)
        .Property(u"DefaultHeight", &TqxSkinCustomControl::DefaultHeight,
                  &TqxSkinCustomControl::SetDefaultHeight)
        .Property(u"DefaultFont", &TqxSkinCustomControl::DefaultFont)
        .Property(u"UseSkinFont", &TqxSkinCustomControl::UseSkinFont, &TqxSkinCustomControl::SetUseSkinFont);
    return true;
}();

}  // namespace
