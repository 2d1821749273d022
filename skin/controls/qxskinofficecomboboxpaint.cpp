// The office combo box's skinned look: the face, the arrow button, the
// chosen row on the face at any height or at the skin's, and the
// tool-button look.
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

namespace {

TRect Widened(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + 1, R.Top, R.Right + ADx, R.Bottom + ADy);
}

}  // namespace

void TqxSkinCustomOfficeComboBox::SetElementFont(TFont* AFont) {
    if (UseSkinFont()) {
        AFont->SetName(FontName);
        AFont->SetStyle(FontStyle);
        AFont->SetHeight(FontHeight);
    } else {
        AFont->Assign(DefaultFont());
    }
    AFont->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
}

TColor TqxSkinCustomOfficeComboBox::GetDisabledFontColor() const {
    const auto* edit = FindSkinElement<TqxDataSkinEditControl>(SkinData(), u"edit");
    return edit ? edit->DisabledFontColor : clGrayText;
}

void TqxSkinCustomOfficeComboBox::CreateControlSkinImage(TBitmap* B) {
    CalcRects();
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) return DrawSkinToolButton(c, FPaintText);
    DrawSkinFace(B);
    if (FUseSkinSize) {
        DrawSkinSizedButton(c);
        DrawSkinSizeItem(c);
    } else {
        DrawSkinButton(c);
        DrawSkinItem(c);
    }
}

void TqxSkinCustomOfficeComboBox::DrawSkinFace(TBitmap* B) {
    if (!Picture) return;
    const bool active = !IsRectDegenerate(ActiveSkinRect) && (FMouseIn || Focused());
    if (!FUseSkinSize)
        BuildStretchedSkinImage(B, Picture, active ? ActiveSkinRect : SkinRect, ClRect, true);
    else if (active)
        BuildHorzThreePartImage(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, Width(),
                                Height(), StretchEffect);
    else
        TqxSkinCustomControl::CreateControlSkinImage(B);
}

void TqxSkinCustomOfficeComboBox::DrawSkinSizedButton(TCanvas* C) {
    if (!Picture) return;
    const TRect* source = nullptr;
    if (!Enabled() && !IsRectDegenerate(UnEnabledButtonRect))
        source = &UnEnabledButtonRect;
    else if (ButtonPressed())
        source = &DownButtonRect;
    else if (Button.MouseIn)
        source = &ActiveButtonRect;
    // The normal button is part of the face.
    if (source && !IsRectDegenerate(*source)) C->CopyRect(Button.R, Picture->Canvas(), *source);
}

void TqxSkinCustomOfficeComboBox::DrawMenuMarker(TCanvas* C, const TqxDataSkinButtonControl* AElement,
                                                 TBitmap* APicture, const TRect& AMarker, const TRect& R) {
    TBitmap marker;
    marker.SetSize(AMarker.Width(), AMarker.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, AMarker.Width(), AMarker.Height()), APicture->Canvas(), AMarker);
    marker.SetTransparentColor(AElement->MenuMarkerTransparentColor);
    marker.SetTransparent(true);
    C->Draw(R.Left + (R.Width() - AMarker.Width()) / 2, R.Top + (R.Height() - AMarker.Height()) / 2, &marker);
}

void TqxSkinCustomOfficeComboBox::DrawSkinButton(TCanvas* C) {
    TBitmap* picture = nullptr;
    const auto* e = FindButtonElement(SkinData(), {u"combobutton", u"editbutton", u"resizebutton"}, picture);
    const Integer w = Button.R.Width(), h = Button.R.Height();
    if (!e || !picture || w <= 0 || h <= 0) return;
    const bool pressed = ButtonPressed(), hot = Button.MouseIn;
    TBitmap b;
    BuildButtonElementImage(*e, picture, ButtonStateRect(*e, pressed, hot), w, h, &b);
    if (IsRectDegenerate(e->MenuMarkerRect)) {
        if (Enabled())
            DrawArrow(b.Canvas(), Rect(0, pressed ? 2 : 0, w, h),
                      pressed ? e->DownFontColor
                      : hot   ? e->ActiveFontColor
                              : e->FontColor,
                      4);
    } else {
        const TRect& marker = pressed && !IsRectDegenerate(e->MenuMarkerDownRect) ? e->MenuMarkerDownRect
                              : hot && !IsRectDegenerate(e->MenuMarkerActiveRect) ? e->MenuMarkerActiveRect
                                                                                  : e->MenuMarkerRect;
        DrawMenuMarker(b.Canvas(), e, picture, marker, Rect(0, pressed ? 1 : 0, w, h + (pressed ? 1 : 0)));
    }
    C->Draw(Button.R.Left, Button.R.Top, &b);
}

void TqxSkinCustomOfficeComboBox::DrawSkinItem(TCanvas* C) {
    if (CBItem.Width() < 1 || CBItem.Height() < 1 || !Picture) return;
    TBitmap b;
    b.SetSize(CBItem.Width(), CBItem.Height());
    const TRect all = Rect(0, 0, b.Width(), b.Height());
    const bool focused = Focused();
    const bool hot = FMouseIn && !IsRectDegenerate(ActiveSkinRect);
    // The face under the item shows where no item picture is drawn.
    b.Canvas()->CopyRect(all, C, CBItem);
    if (focused) {
        if (!IsRectDegenerate(FocusItemRect)) {
            const Integer dx = SItemRect.Width() - FocusItemRect.Width(),
                          dy = SItemRect.Height() - FocusItemRect.Height();
            const TRect inner = Rect(ItemTextRect.Left + 1, ItemTextRect.Top + 1 + dy,
                                     ItemTextRect.Right - 1 - dx, ItemTextRect.Bottom - 1 + dy);
            BuildStretchedSkinImage(&b, Picture, FocusItemRect, inner, true);
        }
    } else if (hot && !IsRectDegenerate(ActiveItemRect)) {
        BuildStretchedSkinImage(&b, Picture, ActiveItemRect, ItemTextRect, true);
    } else if (!IsRectDegenerate(SItemRect)) {
        BuildStretchedSkinImage(&b, Picture, SItemRect, ItemTextRect, true);
    }
    const TRect& base = IsRectDegenerate(SItemRect) ? ClRect : SItemRect;
    const TRect text = Widened(ItemTextRect, CBItem.Width() - base.Width(), Height() - SkinRect.Height());
    TCanvas* canvas = b.Canvas();
    SetElementFont(canvas->Font());
    canvas->Font()->SetColor(focused ? FocusFontColor : hot ? ActiveFontColor : FontColor);
    const Integer shown = ShownItemIndex();
    if (shown >= 0 && shown < Items()->Count() && focused && ShowFocus) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
        canvas->DrawFocusRect(all);
    }
    DrawItemContent(canvas, text, true, nullptr);
    C->Draw(CBItem.Left, CBItem.Top, &b);
}

void TqxSkinCustomOfficeComboBox::DrawSkinSizeItem(TCanvas* C) {
    if (CBItem.Width() < 1 || !Picture) return;
    const bool focused = Focused();
    const bool hot = FMouseIn && !IsRectDegenerate(ActiveItemRect) && !IsRectDegenerate(ActiveSkinRect);
    const TRect& source = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    TBitmap b;
    if (!IsRectDegenerate(source)) {
        BuildHorzThreePartImage(ItemLeftOffset, ItemRightOffset, &b, Picture, source, CBItem.Width(), 0,
                                focused ? FocusItemStretchEffect : ItemStretchEffect);
    } else {
        const Integer h = !IsRectDegenerate(SItemRect)       ? SItemRect.Height()
                          : !IsRectDegenerate(FocusItemRect) ? FocusItemRect.Height()
                                                             : CBItem.Height();
        b.SetSize(CBItem.Width(), h);
        b.Canvas()->CopyRect(Rect(0, 0, b.Width(), h), C, Bounds(CBItem.Left, CBItem.Top, CBItem.Width(), h));
    }
    const TRect& base = IsRectDegenerate(SItemRect) ? ClRect : SItemRect;
    const TRect text = Widened(ItemTextRect, CBItem.Width() - base.Width(), 0);
    TCanvas* canvas = b.Canvas();
    SetElementFont(canvas->Font());
    canvas->Font()->SetColor(!Enabled()                                      ? GetDisabledFontColor()
                             : focused                                       ? FocusFontColor
                             : FMouseIn && !IsRectDegenerate(ActiveSkinRect) ? ActiveFontColor
                                                                             : FontColor);
    DrawItemContent(canvas, text, false, nullptr);
    C->Draw(CBItem.Left, CBItem.Top, &b);
}

void TqxSkinCustomOfficeComboBox::DrawSkinToolButton(TCanvas* C, const String* AText) {
    TBitmap* picture = nullptr;
    const auto* e = FindButtonElement(SkinData(), {u"resizetoolbutton", u"resizebutton"}, picture);
    if (!e || !picture) return;
    const bool hot = FMouseIn || Focused();
    const TRect& chosen = FDropDown ? e->DownSkinRect : hot ? e->ActiveSkinRect : e->SkinRect;
    TBitmap face;
    BuildButtonElementImage(*e, picture, IsRectDegenerate(chosen) ? e->SkinRect : chosen, Width(), Height(),
                            &face);
    C->Draw(0, 0, &face);
    SetToolButtonElementFont(C->Font(), *e, UseSkinFont(), DefaultFont(), SkinData(), FDropDown, hot, Enabled());
    DrawItemContent(C, Rect(3, 2, Width() - 17, Height() - 2), true, AText);
    const TRect area = Rect(Width() - 15, 0, Width(), Height());
    if (IsRectDegenerate(e->MenuMarkerRect)) {
        DrawSmallDownArrow(C, area, FDropDown ? e->DownFontColor : C->Font()->Color());
        return;
    }
    const bool down = !IsRectDegenerate(e->MenuMarkerDownRect),
               active = !IsRectDegenerate(e->MenuMarkerActiveRect);
    const TRect& marker = FDropDown            ? (down ? e->MenuMarkerDownRect : e->MenuMarkerActiveRect)
                          : FMouseIn && active ? e->MenuMarkerActiveRect
                                               : e->MenuMarkerRect;
    DrawMenuMarker(C, e, picture, IsRectDegenerate(marker) ? e->MenuMarkerRect : marker, area);
}
