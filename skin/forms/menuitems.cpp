// One row of a skinned popup window: its hover, open-submenu and animation
// state, and its three looks (the default look, the skin at its own size,
// the skin stretched to the default item height).
#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/imagelist.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

// The highlighted row of the default look.
constexpr TColor DefaultHotFill = 15979713;

struct TCommandGlyph {
    const char16_t* Name;
    void (*Draw)(TCanvas*, Integer, Integer, TColor);
};

constexpr TCommandGlyph CommandGlyphs[] = {
    {u"QXD_CLOSE", DrawCloseGlyph},          {u"TRAY_QXD_CLOSE", DrawCloseGlyph},
    {u"QXD_MINITEM", DrawMinimizeGlyph},     {u"QXD_MAXITEM", DrawMaximizeGlyph},
    {u"QXD_RESTORE", DrawRestoreGlyph},      {u"TRAY_QXD_RESTORE", DrawRestoreGlyph},
    {u"QXD_ROLLUP", DrawRollUpGlyph},        {u"QXD_MINTOTRAY", DrawMinimizeToTrayGlyph}};

TRect CentredIn(const TRect& AImage, const TRect& R) {
    const Integer w = AImage.Width(), h = AImage.Height();
    const Integer x = std::max(R.Left, R.Left + (R.Width() - w) / 2);
    const Integer y = std::max(R.Top, R.Top + (R.Height() - h) / 2);
    return Bounds(x, y, w, h);
}

// ASource of APicture drawn at ATarget, its bottom-left pixel transparent.
void DrawTransparentPart(TCanvas* ACanvas, TBitmap* APicture, const TRect& ASource, const TRect& ATarget) {
    if (!APicture || IsRectDegenerate(ASource)) return;
    TBitmap part;
    part.SetSize(ASource.Width(), ASource.Height());
    part.Canvas()->CopyRect(Rect(0, 0, ASource.Width(), ASource.Height()), APicture->Canvas(), ASource);
    part.SetTransparent(true);
    ACanvas->Draw(ATarget.Left, ATarget.Top, &part);
}

String HeaderText(const TMenuItem* AItem) {
    const String& caption = AItem->Caption();
    return caption.size() >= 2 ? caption.substr(1, caption.size() - 2) : String();
}

}  // namespace

void DrawMenuCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i < 3; ++i) {
        const TPoint points[] = {Point(X, Y + 5 - i), Point(X + 2, Y + 7 - i), Point(X + 7, Y + 2 - i)};
        Canvas->Polyline(points);
    }
}

void DrawMenuArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i <= 3; ++i) {
        Canvas->MoveTo(X + i, Y + i);
        Canvas->LineTo(X + i, Y + 7 - i);
    }
}

void DrawMenuRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

Integer RectWidth(const TRect& R) {
    return R.Right - R.Left;
}

Integer RectHeight(const TRect& R) {
    return R.Bottom - R.Top;
}

bool IsMenuSeparator(const TMenuItem* AItem) {
    return AItem->Caption() == u"-";
}

bool IsMenuHeader(const TMenuItem* AItem) {
    const String& caption = AItem->Caption();
    return !AItem->Enabled() && caption.size() > 1 && caption.front() == u'-' && caption.back() == u'-';
}

TqxSkinMenuItem::TqxSkinMenuItem(TqxSkinPopupWindow* AParent, TqxDataSkinMenuItem* AData, TMenuItem* AMenuItem)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
    if (!MI) return;
    ActivePicture = Parent->SD ? Parent->SD->GetActivePicture(MI->ActivePictureIndex) : nullptr;
    if (ActivePicture) {
        SkinRect = MI->SkinRect;
        ActiveSkinRect = MI->ActiveSkinRect;
    }
}

void TqxSkinMenuItem::SetMorphKf(double AValue) {
    if (std::abs(AValue) < 1e-9) AValue = 0;
    if (std::abs(AValue - 1) < 1e-9) AValue = 1;
    FMorphKf = std::clamp(AValue, 0.0, 1.0);
}

bool TqxSkinMenuItem::EnableMorphing() const {
    const TqxSkinData* sd = Parent->SD;
    return MI && MI->Morphing && sd && !sd->Empty && sd->EnableSkinEffects();
}

bool TqxSkinMenuItem::EnableAnimation() const {
    const TqxSkinData* sd = Parent->SD;
    // A strip without frames is no animation.
    return MI && !IsRectDegenerate(MI->AnimateSkinRect) && MI->FrameCount >= 1 && sd && !sd->Empty &&
           sd->EnableSkinEffects();
}

bool TqxSkinMenuItem::CanMorphing() {
    const bool a = Active || Down;
    if (!FVisible && FMorphKf != 0) {
        Active = Down = false;
        FMorphKf = 0;
    }
    return FVisible && ((a && FMorphKf < 1) || (!a && FMorphKf > 0));
}

void TqxSkinMenuItem::DoMorphing() {
    SetMorphKf(Active || Down ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Draw(Parent->RowCanvas());
}

void TqxSkinMenuItem::StartMorph() {
    TTimer* timer = Parent->MorphTimer;
    if (EnableAnimation()) {
        if (timer->Interval() != Cardinal(MI->AnimateInterval)) timer->SetInterval(Cardinal(MI->AnimateInterval));
        if (MI->InActiveAnimation || Active) {
            timer->SetEnabled(true);
        } else {
            CurrentFrame = 0;
            Draw(Parent->RowCanvas());
        }
    } else if (EnableMorphing()) {
        if (timer->Interval() != 20) timer->SetInterval(20);
        timer->SetEnabled(true);
    } else {
        Draw(Parent->RowCanvas());
    }
}

void TqxSkinMenuItem::MouseEnter(bool Kb) {
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (Integer i = 0; i < Parent->ItemCount(); ++i) {
        TqxSkinMenuItem* other = Parent->Item(i);
        if (other != this && other->Down) {
            other->Down = false;
            other->StartMorph();
        }
    }
    TqxSkinMenu* menu = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        StartMorph();
    } else if (Down) {
        const Integer index = menu->IndexOfPopup(Parent);
        if (index + 2 < menu->PopupCount()) menu->PopupWindow(index + 1)->CloseSubMenus();
    } else {
        StartMorph();
        menu->ProcessItem(Parent, this, false, Kb);
    }
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TqxSkinMenuItem::MouseLeave() {
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down) StartMorph();
    TqxSkinMenu* menu = Parent->ParentMenu;
    if (menu->WItem == this) {
        menu->WaitTimer->SetEnabled(false);
        menu->WItem = nullptr;
    }
}

void TqxSkinMenuItem::MouseDown(Integer, Integer) {
    WaitCommand = false;
    // A leaf's activation frees this row with its window: nothing after it.
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->ProcessItem(Parent, this, true, false);
}

void TqxSkinMenuItem::Draw(TCanvas* Cnvs) {
    if (!FVisible || !Parent->HandleAllocated()) return;
    if (!MI)
        DefaultDraw(Cnvs);
    else
        DrawSkinned(Cnvs, !Parent->ParentMenu->UseSkinSize());
}

void TqxSkinMenuItem::ResizeDraw(TCanvas* Cnvs) {
    DrawSkinned(Cnvs, true);
}

TRect TqxSkinMenuItem::GetAnimateFrameRect() const {
    const TRect& strip = MI->AnimateSkinRect;
    const Integer n = std::max(CurrentFrame, 1) - 1;
    if (strip.Height() > MI->SkinRect.Height()) {
        const Integer h = strip.Height() / MI->FrameCount;
        return Bounds(strip.Left, strip.Top + n * h, strip.Width(), h);
    }
    const Integer w = strip.Width() / MI->FrameCount;
    return Bounds(strip.Left + n * w, strip.Top, w, strip.Height());
}

void TqxSkinMenuItem::DrawSkinned(TCanvas* Cnvs, bool AStretched) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap buffer;
    buffer.SetSize(w, h);
    if (IsMenuSeparator(MenuItem)) {
        buffer.Canvas()->Brush()->SetColor(clWindow);
        buffer.Canvas()->FillRect(Rect(0, 0, w, h));
        if (ActivePicture)
            BuildHorzThreePartImage(MI->DividerLO, MI->DividerRO, &buffer, ActivePicture, MI->DividerRect, w, h,
                                    MI->DividerStretchEffect);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &buffer);
        return;
    }
    const bool a = Active || Down;
    if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= MI->FrameCount) {
        const TRect frame = GetAnimateFrameRect();
        CreateItemImage(&buffer, a, AStretched, &frame);
    } else if (EnableMorphing() && (a || FMorphKf != 0) && !(a && FMorphKf == 1)) {
        TBitmap active;
        active.SetSize(w, h);
        CreateItemImage(&buffer, false, AStretched, nullptr);
        CreateItemImage(&active, true, AStretched, nullptr);
        std::unique_ptr<TqxEffectBmp> from = TqxEffectBmp::CreateFromhWnd(buffer.Handle());
        std::unique_ptr<TqxEffectBmp> to = TqxEffectBmp::CreateFromhWnd(active.Handle());
        MorphEffect(from.get(), to.get(), FMorphKf, MI->MorphKind);
        from->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    } else {
        CreateItemImage(&buffer, a, AStretched, nullptr);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &buffer);
}

void TqxSkinMenuItem::SetItemFont(TCanvas* Cnvs, bool AUseSkin) const {
    TqxSkinMenu* menu = Parent->ParentMenu;
    TFont* font = Cnvs->Font();
    if (AUseSkin) {
        font->SetName(MI->FontName);
        font->SetStyle(MI->FontStyle);
        font->SetHeight(MI->FontHeight);
    } else {
        font->Assign(menu->DefaultMenuItemFont());
    }
    TqxResourceStrData* strings = Parent->SD ? Parent->SD->ResourceStrData() : nullptr;
    font->SetCharset(strings ? strings->CharSet() : menu->DefaultMenuItemFont()->Charset());
}

bool TqxSkinMenuItem::DrawCommandGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor AColor) const {
    for (const TCommandGlyph& glyph : CommandGlyphs)
        if (MenuItem->Name() == glyph.Name) {
            glyph.Draw(Cnvs, X, Y, AColor);
            return true;
        }
    return false;
}

void TqxSkinMenuItem::DrawGlyphImage(TCanvas* Cnvs, const TRect& R, const TRect& ANormal, const TRect& AActive,
                                     bool A) {
    const TRect& source = A ? AActive : ANormal;
    if (IsRectDegenerate(source)) return;
    DrawTransparentPart(Cnvs, ActivePicture, source, CentredIn(source, R));
}

void TqxSkinMenuItem::CreateItemImage(TBitmap* B, bool A, bool AStretched, const TRect* AFrame) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    TCanvas* c = B->Canvas();
    TRect state = A ? ActiveSkinRect : SkinRect;
    bool stretch = A ? MI->StretchEffect : MI->InActiveStretchEffect;
    if (AFrame) {
        state = *AFrame;
        if (!A && !MI->InActiveStretchEffect && MI->StretchEffect) stretch = true;
    }
    B->SetSize(w, h);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->FillRect(Rect(0, 0, w, h));
    if (!A && MI->InActiveTransparent && Parent->FPaintBuffer) {
        c->CopyRect(Rect(0, 0, w, h), Parent->FPaintBuffer->Canvas(), ObjectRect);
    } else if (ActivePicture && !IsRectDegenerate(state)) {
        if (!AStretched) {
            BuildHorzThreePartImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, state, w, h, stretch);
            B->SetSize(w, h);
        } else {
            const Integer sw = state.Width(), sh = state.Height();
            BuildStretchedSkinImage(B, ActivePicture, state, Rect(MI->ItemLO, sh / 4, sw - MI->ItemRO, sh - sh / 4),
                                    true);
        }
    }

    TqxSkinMenu* menu = Parent->ParentMenu;
    const Integer g = !IsRectDegenerate(MI->ImageRct) ? 0 : Parent->ImgL ? Parent->GlyphWidth : 16;
    TRect t = MI->TextRct;
    TRect imageRct = MI->ImageRct;
    t.Right = w - (MI->SkinRect.Width() - MI->TextRct.Right);
    if (AStretched) {
        const Integer below = MI->SkinRect.Height() - MI->TextRct.Bottom;
        t.Bottom = h - below;
        if (!IsRectDegenerate(imageRct)) imageRct.Bottom = h - (MI->SkinRect.Height() - MI->ImageRct.Bottom);
    }
    c->Brush()->SetStyle(bsClear);
    SetItemFont(c, menu->UseSkinFont());
    TColor color = A ? MI->ActiveFontColor : MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor;
    c->Font()->SetColor(color);

    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, c, t, A);
        return;
    }
    if (IsMenuHeader(MenuItem)) {
        DrawHeader(c, Rect(0, 0, w, h), AStretched);
        return;
    }
    const Cardinal flags = menu->Form() ? menu->Form()->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER)
                                        : Cardinal(DT_CENTER | DT_VCENTER);
    const bool odd = IsOddFontHeight(c);
    TRect caption = Rect(t.Left + g, 0, t.Right - 16, 0);
    SkinDrawText(c, MenuItem->Caption(), caption, DT_CALCRECT);
    const Integer down = t.Top + t.Height() / 2 - caption.Bottom / 2 - (odd ? 1 : 0);
    caption.Top += down;
    caption.Bottom += down;
    caption.Right += 2;
    SkinDrawText(c, MenuItem->Caption(), caption, flags);
    const String shortcut = ShortCutToText(MenuItem->ShortCut());
    if (!shortcut.empty()) {
        const Integer sw = SkinTextWidth(c, shortcut);
        SkinDrawText(c, shortcut, Rect(t.Right - sw - 16, caption.Top, t.Right - 16, caption.Bottom), flags);
    }
    if (HasChildren()) {
        if (IsRectDegenerate(MI->ArrowImageRect))
            DrawMenuArrow(c, t.Right - 7, t.Top + t.Height() / 2 - 4, color);
        else
            DrawGlyphImage(c, Rect(t.Right - MI->ArrowImageRect.Width() - 5, t.Top, t.Right, t.Bottom),
                           MI->ArrowImageRect, MI->ActiveArrowImageRect, A);
    }
    TCustomImageList* images = Parent->ImgL;
    const bool listImage = images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count();
    const bool bitmapImage = MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty();
    if (MI->UseImageColor) color = A ? MI->ActiveImageColor : MI->ImageColor;
    if (listImage || bitmapImage) {
        const Integer iw = listImage ? images->Width() : MenuItem->Bitmap()->Width();
        const Integer ih = listImage ? images->Height() : MenuItem->Bitmap()->Height();
        Integer x = t.Left + 2, y = t.Top + t.Height() / 2 - ih / 2;
        if (!IsRectDegenerate(imageRct)) {
            x = imageRct.Left + (imageRct.Width() - iw) / 2;
            y = imageRct.Top + (imageRct.Height() - ih) / 2;
        }
        if (MenuItem->Checked()) {
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(color);
            c->Rectangle(x - 1, y - 1, x + iw + 1, y + ih + 1);
        }
        if (listImage)
            images->Draw(c, x, y, MenuItem->ImageIndex(), MenuItem->Enabled());
        else
            c->Draw(x, y, MenuItem->Bitmap());
        return;
    }
    Integer x0 = t.Left + 2, y0 = t.Top + t.Height() / 2 - 4;
    if (!IsRectDegenerate(imageRct)) {
        x0 = imageRct.Left + imageRct.Width() / 2 - 4;
        y0 = imageRct.Top + imageRct.Height() / 2 - 4;
    }
    if (DrawCommandGlyph(c, x0, y0, color) || !MenuItem->Checked()) return;
    const TRect glyphArea = !IsRectDegenerate(imageRct)
                                ? imageRct
                                : Rect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16, MI->TextRct.Bottom);
    if (MenuItem->RadioItem()) {
        if (IsRectDegenerate(MI->RadioImageRect))
            DrawMenuRadioDot(c, x0, y0 + 1, color);
        else
            DrawGlyphImage(c, glyphArea, MI->RadioImageRect, MI->ActiveRadioImageRect, A);
    } else if (IsRectDegenerate(MI->CheckImageRect)) {
        DrawMenuCheckMark(c, x0, y0, color);
    } else {
        DrawGlyphImage(c, glyphArea, MI->CheckImageRect, MI->ActiveCheckImageRect, A);
    }
}

void TqxSkinMenuItem::DrawHeader(TCanvas* Cnvs, const TRect& R, bool AStretched) {
    TqxSkinData* sd = Parent->SD;
    if (!sd) return;
    Integer index = sd->GetControlIndex(u"menuheader");
    if (index == -1) index = sd->GetControlIndex(u"label");
    if (index == -1) return;
    auto* label = dynamic_cast<TqxDataSkinLabelControl*>(sd->CtrlList.Items(index));
    if (!label) return;
    TBitmap* picture = sd->GetActivePicture(label->PictureIndex);
    if (!picture || IsRectDegenerate(label->SkinRect)) return;
    const Integer sw = label->SkinRect.Width(), sh = label->SkinRect.Height();
    const Cardinal flags = Parent->ParentMenu->Form()
                               ? Parent->ParentMenu->Form()->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER)
                               : Cardinal(DT_CENTER | DT_VCENTER);
    TBitmap strip;
    TCanvas* c = strip.Canvas();
    TRect text;
    if (!AStretched) {
        BuildHorzThreePartImage(label->LTPoint.X, sw - label->RTPoint.X, &strip, picture, label->SkinRect, R.Width(),
                                sh, label->StretchEffect);
        c->Font()->SetName(label->FontName);
        c->Font()->SetStyle(label->FontStyle);
        c->Font()->SetHeight(label->FontHeight);
        text = Rect(label->ClRect.Left, label->ClRect.Top, strip.Width() + label->ClRect.Right - sw, strip.Height());
    } else {
        strip.SetSize(R.Width(), R.Height());
        BuildStretchedSkinImage(&strip, picture, label->SkinRect,
                                Rect(label->LTPoint.X, sh / 4, label->RTPoint.X, sh - sh / 4), true);
        c->Font()->Assign(Parent->ParentMenu->DefaultMenuItemFont());
        text = Rect(label->ClRect.Left, label->ClRect.Top, R.Width() + label->ClRect.Right - sw,
                    R.Height() + label->ClRect.Bottom - sh);
    }
    c->Font()->SetCharset(Cnvs->Font()->Charset());
    c->Font()->SetColor(label->FontColor);
    c->Brush()->SetStyle(bsClear);
    if (IsOddFontHeight(c)) {
        --text.Top;
        --text.Bottom;
    }
    SkinDrawText(c, HeaderText(MenuItem), text, flags);
    Cnvs->Draw(R.Left, R.Top + (R.Height() - strip.Height()) / 2, &strip);
}

void TqxSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap buffer;
    buffer.SetSize(w, h);
    TCanvas* c = buffer.Canvas();
    TqxSkinMenu* menu = Parent->ParentMenu;
    const Integer g = Parent->ImgL ? Parent->GlyphWidth : 19;
    c->Font()->Assign(menu->DefaultMenuItemFont());
    if (TqxResourceStrData* strings = Parent->SD ? Parent->SD->ResourceStrData() : nullptr)
        c->Font()->SetCharset(strings->CharSet());
    const bool separator = IsMenuSeparator(MenuItem);
    c->Brush()->SetStyle(bsSolid);
    if ((Active || Down) && !separator) {
        c->Brush()->SetColor(DefaultHotFill);
        c->FillRect(Rect(0, 0, w, h));
        c->Font()->SetColor(clWindowText);
    } else {
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(0, 0, g, h));
        c->FillRect(Rect(g, 0, w, h));
        c->Font()->SetColor(MenuItem->Enabled() ? clWindowText : clBtnShadow);
    }
    if (separator) {
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(0, h / 2);
        c->LineTo(w, h / 2);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &buffer);
        return;
    }
    const TRect r2 = Rect(2, 2, w - 2, h - 2);
    const Cardinal flags = menu->Form() ? menu->Form()->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER)
                                        : Cardinal(DT_CENTER | DT_VCENTER);
    if (IsMenuHeader(MenuItem)) {
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(clBtnHighlight);
        SkinDrawText(c, HeaderText(MenuItem), r2, flags);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &buffer);
        return;
    }
    c->Brush()->SetStyle(bsClear);
    const TColor color = c->Font()->Color();
    TRect caption = Rect(r2.Left + g, 0, r2.Right - 19, 0);
    SkinDrawText(c, MenuItem->Caption(), caption, DT_CALCRECT);
    const Integer down = r2.Top + r2.Height() / 2 - caption.Bottom / 2;
    caption.Top += down;
    caption.Bottom += down;
    caption.Right += 2;
    SkinDrawText(c, MenuItem->Caption(), caption, flags);
    const String shortcut = ShortCutToText(MenuItem->ShortCut());
    if (!shortcut.empty()) {
        const Integer sw = SkinTextWidth(c, shortcut);
        SkinDrawText(c, shortcut, Rect(r2.Right - sw - 19, caption.Top, r2.Right - 19, caption.Bottom), flags);
    }
    const Integer centre = r2.Top + r2.Height() / 2;
    if (HasChildren()) DrawMenuArrow(c, r2.Right - 7, centre - 4, color);
    TCustomImageList* images = Parent->ImgL;
    const bool listImage = images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count();
    const bool bitmapImage = MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty();
    if (listImage || bitmapImage) {
        const Integer iw = listImage ? images->Width() : MenuItem->Bitmap()->Width();
        const Integer ih = listImage ? images->Height() : MenuItem->Bitmap()->Height();
        const Integer x = r2.Left + 2, y = centre - ih / 2;
        if (MenuItem->Checked()) {
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(color);
            c->Rectangle(x - 1, y - 1, x + iw + 1, y + ih + 1);
        }
        if (listImage)
            images->Draw(c, x, y, MenuItem->ImageIndex(), MenuItem->Enabled());
        else
            c->Draw(x, y, MenuItem->Bitmap());
    } else if (!DrawCommandGlyph(c, r2.Left + 2, centre - 4, color) && MenuItem->Checked()) {
        if (MenuItem->RadioItem())
            DrawMenuRadioDot(c, r2.Left + 3, centre - 4, color);
        else
            DrawMenuCheckMark(c, r2.Left + 3, centre - 4, color);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &buffer);
}
