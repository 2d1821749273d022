// The skinned combo box's layout and looks: the default look, the skinned
// look at the skin's height or at any size, the tool-button looks, and the
// combo box painted into any canvas.
#include "platform/gdi/text.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

// A frame in AFrame around ARect with AFill inside.
void FramedFill(TCanvas* ACanvas, const TRect& ARect, TColor AFrame, TColor AFill) {
    ACanvas->Brush()->SetColor(AFrame);
    ACanvas->FrameRect(ARect);
    ACanvas->Brush()->SetColor(AFill);
    ACanvas->FillRect(Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1));
}

// The marker picture ASource of APicture centred in ARect, AOffset pixels
// lower, without its transparent colour.
void DrawMarker(TCanvas* ACanvas, TBitmap* APicture, const TRect& ASource, TColor ATransparent,
                const TRect& ARect, Integer AOffset) {
    TBitmap marker;
    marker.SetSize(ASource.Width(), ASource.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, ASource.Width(), ASource.Height()), APicture->Canvas(), ASource);
    marker.SetTransparentColor(ATransparent);
    marker.SetTransparent(true);
    ACanvas->Draw(ARect.Left + (ARect.Width() - ASource.Width()) / 2,
                  ARect.Top + (ARect.Height() - ASource.Height()) / 2 + AOffset, &marker);
}

}  // namespace

// Layout.

void TqxSkinCustomComboBox::CalcItemAndButtonRects() {
    const Integer w = Width(), h = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = Rect(w - 19, 0, w, h);
        CBItem.R = Rect(2, 2, Button.R.Left - 1, h - 2);
        return;
    }
    const Integer dw = w - SkinRect.Width();
    Button.R = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
        Button.R.Left += dw;
        Button.R.Right += dw;
    }
    CBItem.R = ClRect;
    CBItem.R.Right += dw;
    if (!FUseSkinSize) {
        Button.R.Bottom += h - SkinRect.Height();
        CBItem.R.Bottom += h - SkinRect.Height();
    }
}

void TqxSkinCustomComboBox::AlignEditControl() {
    if (!FEdit) return;
    TBitmap screen;
    screen.Canvas()->SetFont(FEdit->Font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Canvas()->Handle(), &metrics);
    const Integer h = metrics.tmHeight;
    const TRect& r = CBItem.R;
    FEdit->SetBounds(r.Left, r.Top + r.Height() / 2 - h / 2, r.Width(), h);
}

void TqxSkinCustomComboBox::CalcSize(Integer& W, Integer& H) {
    if (FUseSkinSize) return TqxSkinCustomControl::CalcSize(W, H);
    NewLTPoint = LTPt;
    NewRTPoint = Point(W + RTPt.X - SkinRect.Width(), RTPt.Y);
    NewClRect = ClRect;
    NewClRect.Right += W - SkinRect.Width();
}

void TqxSkinCustomComboBox::SetControlRegion() {
    if (FUseSkinSize) TqxSkinCustomControl::SetControlRegion();
}

// Shared pieces.

Integer TqxSkinCustomComboBox::ShownIndex() const {
    return FDropDown ? FOldItemIndex : FListBox->ItemIndex();
}

bool TqxSkinCustomComboBox::Hot() const {
    if (IsRectDegenerate(ActiveSkinRect)) return false;
    auto* self = const_cast<TqxSkinCustomComboBox*>(this);
    return FMouseIn || (FEdit && FEdit->Focused()) || self->Focused();
}

TColor TqxSkinCustomComboBox::GetDisabledFontColor() {
    if (FIndex != -1) {
        const Integer index = SkinData()->GetControlIndex(u"edit");
        if (index >= 0)
            if (auto* edit = dynamic_cast<const TqxDataSkinEditControl*>(SkinData()->CtrlList[index]))
                return edit->DisabledFontColor;
    }
    return clGrayText;
}

void TqxSkinCustomComboBox::SetCharset(TFont* AFont) {
    AFont->SetCharset(Charset());
}

void TqxSkinCustomComboBox::DrawText(TCanvas* ACanvas, const String& AText, const TRect& ARect) {
    if (FListBox->TabWidths()->Count() > 0)
        DrawTabbedItemText(ACanvas, AText, FListBox->TabWidths(), 0, ARect);
    else
        DrawTextVCentered(ACanvas, AText, ARect);
}

void TqxSkinCustomComboBox::DrawItemContent(TCanvas* ACanvas, Integer AIndex, TRect ARect,
                                            const String* AText) {
    if (TCustomImageList* images = FListBox->Images()) {
        const Integer image = FListBox->ImageIndex() >= 0 ? FListBox->ImageIndex() : AIndex;
        if (image >= 0 && image < images->Count())
            images->Draw(ACanvas, ARect.Left, ARect.Top + ARect.Height() / 2 - images->Height() / 2, image,
                         true);
        ARect.Left += images->Width() + 2;
    }
    DrawText(ACanvas, AText ? *AText : FListBox->Items()->Get(AIndex), ARect);
}

// The button part.

void TqxSkinCustomComboBox::DrawButton(TCanvas* ACanvas) {
    const bool pressed = Button.Down && Button.MouseIn;
    if (FIndex == -1) {
        if (pressed)
            FramedFill(ACanvas, Button.R, DefaultLookFrame, DefaultLookDownFill);
        else if (Button.MouseIn)
            FramedFill(ACanvas, Button.R, DefaultLookFrame, DefaultLookHoverFill);
        else
            FramedFill(ACanvas, Button.R, clBtnShadow, clBtnFace);
        DrawArrow(ACanvas, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
        return;
    }
    TRect source;
    if (!Enabled() && !IsRectDegenerate(UnEnabledButtonRect))
        source = UnEnabledButtonRect;
    else if (pressed)
        source = DownButtonRect;
    else if (Button.MouseIn)
        source = ActiveButtonRect;
    // The normal button is part of the face.
    if (!IsRectDegenerate(source) && Picture) ACanvas->CopyRect(Button.R, Picture->Canvas(), source);
}

void TqxSkinCustomComboBox::DrawResizableSkinButton(TCanvas* ACanvas) {
    TBitmap* picture = nullptr;
    const auto* e = FindButtonElement(SkinData(), {u"combobutton", u"editbutton", u"resizebutton"}, picture);
    if (!e || !picture) return;
    const TRect active = IsRectDegenerate(e->ActiveSkinRect) ? e->SkinRect : e->ActiveSkinRect;
    const TRect down = IsRectDegenerate(e->DownSkinRect) ? active : e->DownSkinRect;
    const bool pressed = Button.Down && Button.MouseIn, hot = Button.MouseIn;
    const Integer w = Button.R.Width(), h = Button.R.Height();
    TBitmap bitmap;
    BuildButtonElementImage(*e, picture, pressed ? down : hot ? active : e->SkinRect, w, h, &bitmap);
    const TColor color = pressed ? e->DownFontColor : hot ? e->ActiveFontColor : e->FontColor;
    if (IsRectDegenerate(e->MenuMarkerRect)) {
        if (Enabled()) DrawArrow(bitmap.Canvas(), Rect(0, pressed ? 2 : 0, w, h), color, 4);
    } else {
        TRect marker = e->MenuMarkerRect;
        if (pressed && !IsRectDegenerate(e->MenuMarkerDownRect))
            marker = e->MenuMarkerDownRect;
        else if (hot && !IsRectDegenerate(e->MenuMarkerActiveRect))
            marker = e->MenuMarkerActiveRect;
        // The marker pictures lie in the button element's picture.
        DrawMarker(bitmap.Canvas(), picture, marker, e->MenuMarkerTransparentColor, Rect(0, 0, w, h),
                   pressed ? 1 : 0);
    }
    ACanvas->Draw(Button.R.Left, Button.R.Top, &bitmap);
}

// The item part.

void TqxSkinCustomComboBox::DrawDefaultComboItem(TCanvas* ACanvas) {
    const TRect& r = CBItem.R;
    const Integer w = r.Width(), h = r.Height();
    if (w <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas* canvas = bitmap.Canvas();
    TFont* font = canvas->Font();
    font->SetName(Font()->Name());
    font->SetStyle(Font()->Style());
    font->SetHeight(Font()->Height());
    SetCharset(font);
    const bool focused = Focused();
    canvas->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    font->SetColor(focused ? clHighlightText : DefaultFont()->Color());
    canvas->FillRect(Rect(0, 0, w, h));
    CBItem.State = focused ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    const TRect text = Rect(2, 0, w - 2, h);
    const Integer shown = ShownIndex();
    if (shown >= 0 && shown < FListBox->Items()->Count()) {
        if (OnComboBoxDrawItem)
            OnComboBoxDrawItem(canvas, shown, w, h, text, CBItem.State);
        else
            DrawItemContent(canvas, shown, text, nullptr);
    }
    ACanvas->Draw(r.Left, r.Top, &bitmap);
}

void TqxSkinCustomComboBox::DrawSkinItemBody(TBitmap* ABitmap, const TRect& AText, bool AFocused,
                                             bool ADisabledColor) {
    TCanvas* canvas = ABitmap->Canvas();
    TFont* font = canvas->Font();
    if (UseSkinFont()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(DefaultFont());
    }
    SetCharset(font);
    TColor color = AFocused                                        ? FocusFontColor
                   : !FMouseIn || IsRectDegenerate(ActiveSkinRect) ? FontColor
                                                                   : ActiveFontColor;
    if (ADisabledColor && !Enabled()) color = GetDisabledFontColor();
    font->SetColor(color);
    canvas->Brush()->SetStyle(bsClear);
    CBItem.State = AFocused ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    const Integer shown = ShownIndex();
    if (shown < 0 || shown >= FListBox->Items()->Count()) return;
    const Integer w = ABitmap->Width(), h = ABitmap->Height();
    if (OnComboBoxDrawItem) return OnComboBoxDrawItem(canvas, shown, w, h, AText, CBItem.State);
    if (AFocused && ShowFocus) {
        canvas->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
        DrawSkinFocusRect(canvas, Rect(0, 0, w, h));
        canvas->Brush()->SetStyle(bsClear);
    }
    DrawItemContent(canvas, shown, AText, nullptr);
}

void TqxSkinCustomComboBox::DrawSkinComboItem(TCanvas* ACanvas) {
    const TRect& r = CBItem.R;
    const Integer w = r.Width();
    if (w <= 0) return;
    const Integer h = SItemRect.Height() != 0       ? SItemRect.Height()
                      : FocusItemRect.Height() != 0 ? FocusItemRect.Height()
                                                    : w;
    const bool focused = Focused();
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    const auto under = [&] {
        bitmap.Canvas()->CopyRect(Rect(0, 0, w, h), ACanvas, Bounds(r.Left, r.Top, w, h));
    };
    const auto build = [&](const TRect& ASource, bool AStretch) {
        BuildHorzThreePartImage(ItemLeftOffset, ItemRightOffset, &bitmap, Picture, ASource, w, h, AStretch);
    };
    const bool activeItem =
        !IsRectDegenerate(ActiveItemRect) && !IsRectDegenerate(ActiveSkinRect) && FMouseIn;
    if (focused) {
        if (IsRectDegenerate(FocusItemRect))
            under();
        else
            build(FocusItemRect, FocusItemStretchEffect);
    } else if (activeItem) {
        build(ActiveItemRect, ItemStretchEffect);
    } else if (IsRectDegenerate(SItemRect)) {
        under();
    } else {
        build(SItemRect, ItemStretchEffect);
    }
    TRect text = ItemTextRect;
    text.Right += w - (IsRectDegenerate(SItemRect) ? ClRect.Width() : SItemRect.Width());
    DrawSkinItemBody(&bitmap, text, focused, true);
    ACanvas->Draw(r.Left, r.Top, &bitmap);
}

void TqxSkinCustomComboBox::DrawStretchedSkinComboItem(TCanvas* ACanvas) {
    const TRect& r = CBItem.R;
    const Integer w = r.Width(), h = r.Height();
    if (w <= 0) return;
    const bool focused = Focused();
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    const auto under = [&] { bitmap.Canvas()->CopyRect(Rect(0, 0, w, h), ACanvas, r); };
    // A smaller state picture keeps its borders: the fixed rectangle shrinks with it.
    const auto stretched = [&](const TRect& ASource) {
        const TRect& t = ItemTextRect;
        const TRect fixed = Rect(t.Left + 1, t.Top + 1 - (SItemRect.Height() - ASource.Height()),
                                 t.Right - 1 - (SItemRect.Width() - ASource.Width()), t.Bottom - 1);
        BuildStretchedSkinImage(&bitmap, Picture, ASource, fixed, true);
    };
    if (focused) {
        if (IsRectDegenerate(FocusItemRect))
            under();
        else
            stretched(FocusItemRect);
    } else if (!IsRectDegenerate(ActiveItemRect) && !IsRectDegenerate(ActiveSkinRect) && FMouseIn) {
        stretched(ActiveItemRect);
    } else if (IsRectDegenerate(SItemRect)) {
        under();
    } else {
        BuildStretchedSkinImage(&bitmap, Picture, SItemRect, ItemTextRect, true);
    }
    TRect text = ItemTextRect;
    text.Right += w - (IsRectDegenerate(SItemRect) ? ClRect.Width() : SItemRect.Width());
    text.Bottom += Height() - SkinRect.Height();
    DrawSkinItemBody(&bitmap, text, focused, false);
    ACanvas->Draw(r.Left, r.Top, &bitmap);
}

// The whole control.

void TqxSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B) {
    CalcItemAndButtonRects();
    if (FToolButtonStyle) return DrawDefaultToolButton(B, nullptr);
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(FDefaultColor);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(Rect(0, 0, Width(), Height()));
    DrawButton(canvas);
    if (!FEdit) DrawDefaultComboItem(canvas);
}

void TqxSkinCustomComboBox::DrawSkinFace(TBitmap* B) {
    const bool hot = Hot();
    if (!FUseSkinSize) {
        const TRect fixed = Rect(ClRect.Left + 3, ClRect.Top + 1, ClRect.Right - 3, ClRect.Bottom - 1);
        BuildStretchedSkinImage(B, Picture, hot ? ActiveSkinRect : SkinRect, fixed, true);
    } else if (hot) {
        BuildHorzThreePartImage(LTPt.X, ActiveSkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, Width(),
                                ActiveSkinRect.Height(), StretchEffect);
    } else {
        TqxSkinCustomControl::CreateControlSkinImage(B);
    }
    if (FUseSkinSize)
        DrawButton(B->Canvas());
    else
        DrawResizableSkinButton(B->Canvas());
}

void TqxSkinCustomComboBox::CreateControlSkinImage(TBitmap* B) {
    CalcItemAndButtonRects();
    if (FToolButtonStyle) return DrawSkinToolButton(B, nullptr);
    DrawSkinFace(B);
    if (FEdit) return;
    if (FUseSkinSize)
        DrawSkinComboItem(B->Canvas());
    else
        DrawStretchedSkinComboItem(B->Canvas());
}

// The tool-button looks.

void TqxSkinCustomComboBox::DrawDefaultToolButton(TBitmap* B, const String* AText) {
    TCanvas* canvas = B->Canvas();
    const TRect whole = Rect(0, 0, Width(), Height());
    if (FDropDown)
        FramedFill(canvas, whole, DefaultLookFrame, DefaultLookDownFill);
    else if (FMouseIn || Focused())
        FramedFill(canvas, whole, DefaultLookFrame, DefaultLookHoverFill);
    else
        FramedFill(canvas, whole, clBtnShadow, clBtnFace);
    const Integer shift = FDropDown ? 2 : 0;
    const TRect text = Rect(2 + shift, 2 + shift, Width() - 17, Height() - 2);
    canvas->SetFont(DefaultFont());
    canvas->Brush()->SetStyle(bsClear);
    DrawToolButtonContent(canvas, text, AText);
    DrawSmallDownArrow(canvas, Rect(Width() - 15 + shift, shift, Width(), Height()), canvas->Font()->Color());
}

void TqxSkinCustomComboBox::DrawToolButtonContent(TCanvas* ACanvas, const TRect& AText,
                                                  const String* AItemText) {
    const Integer shown = ShownIndex();
    if (shown >= 0 && shown < FListBox->Items()->Count()) {
        if (OnComboBoxDrawItem)
            OnComboBoxDrawItem(ACanvas, shown, Width(), Height(), AText, CBItem.State);
        else
            DrawItemContent(ACanvas, shown, AText, AItemText);
    } else if (AItemText) {
        DrawText(ACanvas, *AItemText, AText);
    }
}

void TqxSkinCustomComboBox::DrawSkinToolButton(TBitmap* B, const String* AText) {
    GetSkinData();
    if (FIndex == -1) return;
    TBitmap* picture = nullptr;
    const auto* e = FindButtonElement(SkinData(), {u"resizetoolbutton", u"resizebutton"}, picture);
    if (!e || !picture) return;
    const bool hot = FMouseIn || Focused();
    TRect source = FDropDown ? e->DownSkinRect : hot ? e->ActiveSkinRect : e->SkinRect;
    if (IsRectDegenerate(source)) source = e->SkinRect;
    BuildButtonElementImage(*e, picture, source, Width(), Height(), B);
    const TRect text = Rect(2, 2, Width() - 17, Height() - 2);
    TCanvas* canvas = B->Canvas();
    SetToolButtonElementFont(canvas->Font(), *e, UseSkinFont(), DefaultFont(), SkinData(), FDropDown, hot,
                             Enabled());
    canvas->Brush()->SetStyle(bsClear);
    DrawToolButtonContent(canvas, text, AText);
    const TRect marker = Rect(Width() - 15, 0, Width(), Height());
    if (IsRectDegenerate(e->MenuMarkerRect)) {
        DrawSmallDownArrow(canvas, marker, FDropDown ? e->DownFontColor : canvas->Font()->Color());
        return;
    }
    TRect source2 = e->MenuMarkerRect;
    if (FDropDown) {
        if (!IsRectDegenerate(e->MenuMarkerDownRect))
            source2 = e->MenuMarkerDownRect;
        else if (!IsRectDegenerate(e->MenuMarkerActiveRect))
            source2 = e->MenuMarkerActiveRect;
    } else if (FMouseIn && !IsRectDegenerate(e->MenuMarkerActiveRect)) {
        source2 = e->MenuMarkerActiveRect;
    }
    // The marker pictures lie in the button element's picture.
    DrawMarker(canvas, picture, source2, e->MenuMarkerTransparentColor, marker, 0);
}

// Painting into any canvas.

void TqxSkinCustomComboBox::PaintSkinTo(TCanvas* ACanvas, Integer X, Integer Y, const String& AText) {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    GetSkinData();
    // The text is drawn as given: the control's Text, and its events, stay as
    // they are.
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolButton(&bitmap, &AText);
        else
            DrawSkinToolButton(&bitmap, &AText);
    } else {
        CalcItemAndButtonRects();
        TCanvas* canvas = bitmap.Canvas();
        if (FIndex == -1) {
            canvas->Brush()->SetColor(FDefaultColor);
            canvas->FillRect(Rect(0, 0, Width(), Height()));
            canvas->Brush()->SetColor(clBtnShadow);
            canvas->FrameRect(Rect(0, 0, Width(), Height()));
            DrawButton(canvas);
            canvas->Font()->Assign(DefaultFont());
        } else {
            DrawSkinFace(&bitmap);
            canvas = bitmap.Canvas();
            canvas->Font()->SetStyle(FontStyle);
            canvas->Font()->SetColor(FontColor);
            canvas->Font()->SetHeight(FontHeight);
            canvas->Font()->SetName(FontName);
        }
        SetCharset(canvas->Font());
        canvas->Brush()->SetStyle(bsClear);
        DrawText(canvas, AText, CBItem.R);
    }
    ACanvas->Draw(X, Y, &bitmap);
}
