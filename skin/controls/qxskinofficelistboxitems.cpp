// The office list's rows: the default look, the skinned item rows with
// their check column, and the skinned group headers.
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Integer DrawnCheckWidth = 14;
constexpr Integer CaptionIndent = 10;
constexpr TColor DisabledGray = TColor(0x808080);

TRect Deflated(const TRect& R, Integer ABy) {
    return Rect(R.Left + ABy, R.Top + ABy, R.Right - ABy, R.Bottom - ABy);
}

void HorizontalLine(TCanvas* Cnvs, const TRect& R, TColor AColor) {
    Cnvs->Pen()->SetStyle(psSolid);
    Cnvs->Pen()->SetColor(AColor);
    Cnvs->MoveTo(R.Left, R.Bottom - 1);
    Cnvs->LineTo(R.Right, R.Bottom - 1);
}

TBitmap* PictureOf(const TqxSkinData* ASkinData, const TqxDataSkinControl* AElement) {
    return AElement ? ASkinData->GetActivePicture(AElement->PictureIndex) : nullptr;
}

}  // namespace

Integer DrawOfficeItemTitle(TCanvas* C, const String& ATitle, const TRect& R) {
    TFont* font = C->Font();
    const TFontStyles style = font->Style();
    TFontStyles bold = style;
    bold.Include(fsBold);
    font->SetStyle(bold);
    const Integer height = C->TextHeight(ATitle);
    SkinDrawText(C, ATitle, Rect(R.Left, R.Top, R.Right, R.Top + height), 0);
    font->SetStyle(style);
    return height;
}

void TqxSkinOfficeListBox::DrawItemContent(Integer AIndex, TCanvas* Cnvs, TRect R, bool ATabs) {
    const TqxSkinOfficeItem* item = FItems->Items(AIndex);
    Cnvs->Brush()->SetStyle(bsClear);
    if (!item->Title().empty() && FShowItemTitles) R.Top += DrawOfficeItemTitle(Cnvs, item->Title(), R);
    if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count()) {
        DrawImageAndTextLeft(Cnvs, R, 0, 2, blGlyphLeft, item->Caption(), item->ImageIndex(), FImages, false,
                             item->Enabled(), false, 0);
        return;
    }
    if (FShowItemTitles) R.Left += CaptionIndent;
    const Cardinal flags = DT_WORDBREAK | (ATabs ? DT_EXPANDTABS : 0);
    TRect measured = Rect(0, 0, R.Width(), 0);
    SkinDrawText(Cnvs, item->Caption(), measured, flags | DT_CALCRECT);
    const Integer top = std::max(R.Top, R.Top + (R.Height() - measured.Height()) / 2);
    SkinDrawText(Cnvs, item->Caption(), Rect(R.Left, top, R.Right, R.Bottom), flags);
}

void TqxSkinOfficeListBox::DefaultDrawItem(Integer AIndex, TCanvas* Cnvs) {
    TqxSkinOfficeItem* item = FItems->Items(AIndex);
    TColor background = clWindow, text = item->Enabled() ? clWindowText : DisabledGray;
    if (item->Header()) {
        background = clBtnShadow;
        text = clBtnHighlight;
    } else if (item->Active) {
        background = clHighlight;
        text = clHighlightText;
    }
    Cnvs->Font()->Assign(DefaultFont());
    Cnvs->Font()->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
    Cnvs->Font()->SetColor(text);
    const TRect& row = item->ItemRect;
    const TqxCanvasClip clip(Cnvs, row);
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(background);
    Cnvs->FillRect(row);
    TRect r = Deflated(row, 2);
    if (item->Header()) {
        Cnvs->Brush()->SetStyle(bsClear);
        DrawTextAlignedOneLine(Cnvs, item->Caption(), r, FHeaderLeftAlignment ? 0 : 2);
    } else {
        if (FShowCheckBoxes) {
            FCheckOffset = DrawnCheckWidth;
            r.Left += DrawnCheckWidth;
        }
        if (OnDrawItem)
            OnDrawItem(Cnvs, AIndex, row);
        else
            DrawItemContent(AIndex, Cnvs, r, false);
    }
    if (FShowLines) HorizontalLine(Cnvs, row, clBtnFace);
    if (FShowCheckBoxes && !item->Header() && item->Checked())
        DrawCheckMark(Cnvs, row.Left + 2, (row.Top + row.Bottom) / 2 - 5, text);
    if (item->Active && Focused()) Cnvs->DrawFocusRect(row);
}

void TqxSkinOfficeListBox::DrawSkinCheckColumn(TqxSkinOfficeItem* AItem, TCanvas* Cnvs, TRect& R,
                                               TColor AMarkColor) {
    const auto* check = FindSkinElement<TqxDataSkinCheckListBox>(SkinData(), u"checklistbox");
    TBitmap* picture = PictureOf(SkinData(), check);
    if (picture) {
        const TRect& mark = AItem->Checked() ? check->CheckImageRect : check->UnCheckImageRect;
        DrawPicturePart(R.Left, R.Top + (R.Height() - mark.Height()) / 2, Cnvs, mark, picture->Canvas());
        FCheckOffset = mark.Width() + 5;
    } else {
        if (AItem->Checked()) DrawCheckMark(Cnvs, R.Left + 2, (R.Top + R.Bottom) / 2 - 5, AMarkColor);
        FCheckOffset = DrawnCheckWidth;
    }
    R.Left += FCheckOffset;
}

void TqxSkinOfficeListBox::SkinDrawItem(Integer AIndex, TCanvas* Cnvs) {
    TqxSkinOfficeItem* item = FItems->Items(AIndex);
    if (item->Header()) return SkinDrawHeaderItem(AIndex, Cnvs);
    const auto* element = FindSkinElement<TqxDataSkinListBox>(SkinData(), FItemSkinDataName);
    if (!element) return;
    if (FDisabledFontColor == element->FontColor && element->FontColor == clBlack)
        FDisabledFontColor = DisabledGray;
    TFont* font = Cnvs->Font();
    if (UseSkinFont()) {
        font->SetName(element->FontName);
        font->SetHeight(element->FontHeight);
        font->SetStyle(element->FontStyle);
    } else {
        font->Assign(DefaultFont());
    }
    font->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
    const String& name = SkinDataName();
    const bool ownColor = name == u"listbox" || name == u"memo" || name == u"menupagepanel";
    font->SetColor(!item->Enabled() ? FDisabledFontColor
                   : ownColor       ? element->FontColor
                                    : SkinData()->SkinColors()->cBtnText());
    const TRect& row = item->ItemRect;
    TBitmap* picture = PictureOf(SkinData(), element);
    const bool focused = Focused();
    const TRect& activeRect = focused ? element->FocusItemRect : element->ActiveItemRect;
    const auto content = [&](TCanvas* ACanvas, TRect R, TColor AMarkColor) {
        if (OnDrawItem) return OnDrawItem(ACanvas, AIndex, R);
        if (FShowCheckBoxes) DrawSkinCheckColumn(item, ACanvas, R, AMarkColor);
        DrawItemContent(AIndex, ACanvas, R, true);
    };
    if (item->Active && item->Enabled() && picture && !IsRectDegenerate(activeRect)) {
        TBitmap b;
        b.SetSize(row.Width(), row.Height());
        BuildStretchedSkinImage(&b, picture, activeRect, element->ItemTextRect, true);
        b.Canvas()->Font()->Assign(font);
        b.Canvas()->Font()->SetColor(focused ? element->FocusFontColor : element->ActiveFontColor);
        content(b.Canvas(), Rect(2, 2, b.Width() - 2, b.Height() - 2), element->ActiveFontColor);
        Cnvs->Draw(row.Left, row.Top, &b);
        return;
    }
    {
        const TqxCanvasClip clip(Cnvs, row);
        content(Cnvs, Deflated(row, 2),
                item->Active ? element->ActiveFontColor : SkinData()->SkinColors()->cWindowText());
    }
    if (FShowLines && !item->Active) HorizontalLine(Cnvs, row, SkinData()->SkinColors()->cBtnShadow());
}

void TqxSkinOfficeListBox::SkinDrawHeaderItem(Integer AIndex, TCanvas* Cnvs) {
    const TqxDataSkinLabelControl* element =
        FindSkinElement<TqxDataSkinLabelControl>(SkinData(), FHeaderSkinDataName);
    // A header element without a picture counts as missing.
    if (!PictureOf(SkinData(), element))
        element = FindSkinElement<TqxDataSkinLabelControl>(SkinData(), u"label");
    TBitmap* picture = PictureOf(SkinData(), element);
    if (!picture) return;
    const TqxSkinOfficeItem* item = FItems->Items(AIndex);
    const TRect& row = item->ItemRect;
    TBitmap b;
    b.SetSize(row.Width(), row.Height());
    BuildStretchedSkinImage(&b, picture, element->SkinRect, element->ClRect, true);
    TCanvas* canvas = b.Canvas();
    canvas->Font()->SetName(element->FontName);
    canvas->Font()->SetHeight(element->FontHeight);
    canvas->Font()->SetStyle(element->FontStyle);
    canvas->Font()->SetColor(element->FontColor);
    canvas->Font()->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
    canvas->Brush()->SetStyle(bsClear);
    TRect r = Rect(1, 1, b.Width() - 1, b.Height() - 1);
    if (FHeaderLeftAlignment) r.Left = element->ClRect.Left;
    DrawTextAlignedOneLine(canvas, item->Caption(), r, FHeaderLeftAlignment ? 0 : 2);
    Cnvs->Draw(row.Left, row.Top, &b);
}
