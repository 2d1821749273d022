// The skinned list view's own item drawing: the selection stretched from a
// list-box element with its text colours, check boxes from a check-box
// element, icons, sub-items and skin grid lines.
#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/win/commoncontrols.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Integer CellInset = 3;

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

bool ValidImage(TCustomImageList* AImages, Integer AIndex) {
    return AImages && AIndex >= 0 && AIndex < AImages->Count();
}

void DrawImage(TCanvas* ACanvas, HIMAGELIST AList, Integer AIndex, Integer X, Integer Y) {
    ACanvas->RequiredState({csHandleValid});
    ImageList_DrawEx(AList, AIndex, ACanvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
}

}  // namespace

Integer TqxSkinCustomListView::CaptionRoom(const TRect& ALabel) const {
    return ALabel.Width() - (ViewStyle() == vsReport ? 3 : 2);
}

void TqxSkinCustomListView::DrawSubItems(TCanvas* ACanvas, TListItem* AItem, TCustomDrawState AState,
                                         const TRect& ABounds, bool AFill, bool AOddLower) {
    Integer x = Integer(Perform(LVM_GETCOLUMNWIDTH, 0, 0));
    for (Integer k = 0; k < AItem->SubItems()->Count() && k + 1 < Columns()->Count(); ++k) {
        TListColumn* column = Column(k + 1);
        const Integer width = column->Width();
        TRect cell = Rect(ABounds.Left + x, ABounds.Top, ABounds.Left + x + width, ABounds.Bottom);
        x += width;
        if (AFill) {
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(Color());
            ACanvas->FillRect(cell);
        }
        cell.Left += CellInset;
        cell.Right -= CellInset;
        // A hidden column (width 0) has nothing to draw in.
        if (cell.Width() <= 0) continue;
        if (OnDrawSkinSubItem) {
            OnDrawSkinSubItem(this, AItem, k, AState, ACanvas, cell);
            continue;
        }
        TCustomImageList* images = SmallImages();
        const Integer image = AItem->SubItemImages(k);
        if (ValidImage(images, image)) {
            DrawImage(ACanvas, images->Handle(), image, cell.Left, cell.Top);
            cell.Left += images->Width() + CellInset;
        }
        String text = AItem->SubItems()->Strings(k);
        ACanvas->Brush()->SetStyle(bsClear);
        FitTextToWidth(ACanvas, text, cell.Width());
        DrawTextAlignedOneLine(ACanvas, text, AOddLower ? Moved(cell, 0, 1) : cell,
                               Integer(column->Alignment()), DT_NOPREFIX);
    }
}

void TqxSkinCustomListView::SkinCustomDrawItem(TCustomListView*, TListItem* Item, TCustomDrawState State,
                                               bool& DefaultDraw) {
    if (ComponentState().Contains(csDesigning) || !FSD || FSD->Empty) return;
    const TViewStyle view = ViewStyle();
    const bool iconView = view == vsIcon, report = view == vsReport;
    FThirdImages = nullptr;
    if (!SmallImages() && !LargeImages()) {
        FThirdImages =
            reinterpret_cast<HIMAGELIST>(Perform(LVM_GETIMAGELIST, iconView ? LVSIL_NORMAL : LVSIL_SMALL, 0));
        if (FThirdImages) {
            int w = 0, h = 0;
            ImageList_GetIconSize(FThirdImages, &w, &h);
            FThirdImageWidth = w;
            FThirdImageHeight = h;
            FThirdImagesCount = ImageList_GetImageCount(FThirdImages);
        }
    }
    // Only a list-box element with its picture draws the item; otherwise
    // the common control does.
    const Integer index = FSD->GetControlIndex(FItemSkinDataName);
    if (index == -1) return;
    const auto* element = dynamic_cast<const TqxDataSkinListBox*>(FSD->CtrlList[index]);
    TBitmap* picture = element ? FSD->GetActivePicture(element->PictureIndex) : nullptr;
    if (!picture) return;
    DefaultDraw = false;

    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const String& caption = Item->Caption();
    TRect label = Item->DisplayRect(drLabel);
    if (view == vsList) label.Right = label.Left + canvas->TextWidth(caption) + 2;
    if (iconView) label = Moved(label, 2, 0);
    TRect icon = Item->DisplayRect(drIcon);
    const TRect bounds = Item->DisplayRect(drBounds);
    TRect sel;
    if (iconView) {
        sel = label;
    } else if (view == vsList) {
        sel = label;
        // An empty caption still shows a selection of 20 pixels.
        sel.Right = caption.empty() ? label.Left + 20 : label.Right + 4;
    } else {
        sel = Item->DisplayRect(drSelectBounds);
        sel.Left = label.Left;
    }
    sel.Bottom -= 1;
    const Integer indent = report ? 3 : 2;
    const bool wrap = iconView && IconOptions()->WrapText();

    if (Item->Selected() && sel.Width() > 0 && sel.Height() > 0) {
        const bool focused = Focused();
        TBitmap selection;
        selection.SetSize(sel.Width(), sel.Height());
        BuildStretchedSkinImage(&selection, picture,
                                focused ? element->FocusItemRect : element->ActiveItemRect,
                                element->ItemTextRect, true);
        TCanvas* sc = selection.Canvas();
        sc->Font()->Assign(Font());
        sc->Font()->SetColor(focused ? element->FocusFontColor : element->ActiveFontColor);
        sc->Brush()->SetStyle(bsClear);
        const TRect l = Moved(label, -sel.Left, -sel.Top);
        String text = caption;
        if (wrap) {
            DrawWrappedTextCentered(sc, text, Rect(l.Left, l.Top, l.Right - 4, l.Bottom), true, DT_NOPREFIX);
        } else {
            FitTextToWidth(sc, text, view == vsList ? label.Width() : CaptionRoom(label));
            DrawTextAlignedOneLine(sc, text, Rect(l.Left + indent, l.Top, l.Right, l.Bottom), 0, DT_NOPREFIX);
        }
        if (report && RowSelect() && Item->SubItems()->Count() > 0)
            DrawSubItems(sc, Item, State,
                         Rect(bounds.Left - sel.Left, 0, bounds.Right - sel.Left, sel.Height()), false,
                         IsOddFontHeight(sc));
        canvas->Draw(sel.Left, sel.Top, &selection);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(Rect(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom - 1));
        canvas->Brush()->SetStyle(bsClear);
        String text = caption;
        if (wrap) {
            DrawWrappedTextCentered(canvas, text, label, false, DT_NOPREFIX);
        } else {
            FitTextToWidth(canvas, text, CaptionRoom(label));
            DrawTextAlignedOneLine(canvas, text,
                                   Rect(label.Left + indent, label.Top, label.Right, label.Bottom), 0,
                                   DT_NOPREFIX);
        }
    }
    if (report && !(Item->Selected() && RowSelect())) DrawSubItems(canvas, Item, State, bounds, true, false);

    TCustomImageList* images = iconView ? LargeImages() : SmallImages();
    if (FThirdImages) {
        const Integer x = iconView ? icon.Left + (icon.Width() - FThirdImageWidth) / 2 : icon.Left;
        const Integer y = iconView ? icon.Top + 2 : icon.Top;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(Bounds(x, y, FThirdImageWidth, FThirdImageHeight));
        if (Item->ImageIndex() >= 0 && Item->ImageIndex() < FThirdImagesCount)
            DrawImage(canvas, FThirdImages, Item->ImageIndex(), x, y);
        if (iconView && Checkboxes()) icon.Left = x;
    } else if (ValidImage(images, Item->ImageIndex())) {
        const Integer x = iconView ? icon.Left + (icon.Width() - images->Width()) / 2 : icon.Left;
        DrawImage(canvas, images->Handle(), Item->ImageIndex(), x, iconView ? icon.Top + 2 : icon.Top);
        if (iconView && Checkboxes()) icon.Left = x;
    }

    if (Checkboxes()) {
        const Integer checkIndex = FSD->GetControlIndex(FCheckSkinDataName);
        const auto* check =
            checkIndex == -1 ? nullptr
                             : dynamic_cast<const TqxDataSkinCheckRadioControl*>(FSD->CtrlList[checkIndex]);
        TBitmap* checkPicture = check ? FSD->GetActivePicture(check->PictureIndex) : nullptr;
        const TRect source =
            check ? (Item->Checked() ? check->CheckImageRect : check->UnCheckImageRect) : TRect{};
        if (checkPicture && !IsRectDegenerate(source)) {
            TBitmap mark;
            mark.SetSize(source.Width(), source.Height());
            mark.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), checkPicture->Canvas(),
                                    source);
            mark.SetTransparent(true);
            const Integer x = icon.Left - mark.Width() - 1;
            Integer y = iconView ? icon.Bottom - mark.Height() - 1
                                 : bounds.Top + icon.Height() / 2 - mark.Height() / 2 - 1;
            // Never above the row.
            y = std::max(y, bounds.Top);
            canvas->Draw(x, y, &mark);
        }
    }

    if (report && FDrawSkinLines && Columns()->Count() > 0) {
        Integer x = bounds.Left;
        for (Integer i = 0; i < Columns()->Count(); ++i) {
            x += Column(i)->Width();
            DrawLine(canvas, x - 1, bounds.Top, x - 1, bounds.Bottom, FLineColor);
        }
        DrawLine(canvas, bounds.Left, bounds.Bottom - 1, Width(), bounds.Bottom - 1, FLineColor);
        if (Item->Index() == 0)
            DrawLine(canvas, bounds.Left, bounds.Top - 1, Width(), bounds.Top - 1, FLineColor);
    }
}
