#include "skin/controls/qxlistbox.h"

#include <algorithm>
#include <limits>

#include "platform/gdi/dc.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/bitmap.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlistbox.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"

using namespace win;

Integer TabStopFromString(const String& AValue) {
    if (AValue.empty()) return 0;
    Integer value = 0;
    for (char16_t c : AValue) {
        if (c < u'0' || c > u'9') return 0;
        const Integer digit = c - u'0';
        if (value > (std::numeric_limits<Integer>::max() - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return value;
}

void DrawTabbedItemText(TCanvas* ACanvas, const String& AText, TStrings* ATabWidths, Integer AIndent,
                        const TRect& ARect) {
    int stops[10] = {};
    const Integer count = std::min(ATabWidths->Count(), 10);
    for (Integer i = 0; i < count; ++i)
        stops[i] = TabStopFromString(ATabWidths->Get(i));
    Integer y = ARect.Top + ARect.Height() / 2 - ACanvas->TextHeight(AText) / 2;
    if (IsOddFontHeight(ACanvas)) --y;
    TabbedTextOutW(ACanvas->Handle(), ARect.Left + AIndent + 2, y, AText.c_str(), int(AText.size()), count,
                   stops, 0);
}

TqxListBox::TqxListBox(TComponent* AOwner) : TListBox(AOwner) {
    SetBorderStyle(bsNone);
    FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
}

void TqxListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    const Integer oldWidth = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Width() != oldWidth && FHorizontalExtentValue > 0) {
        FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + oldWidth - Width());
        Invalidate();
    }
}

void TqxListBox::CreateParams(TCreateParams& AParams) {
    TListBox::CreateParams(AParams);
    AParams.Style = (AParams.Style & ~WS_BORDER) | WS_TABSTOP;
    AParams.ExStyle &= ~WS_EX_CLIENTEDGE;
    AParams.WindowClass.style = CS_DBLCLKS;
}

void TqxListBox::CreateWnd() {
    TListBox::CreateWnd();
    if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TqxListBox::GetScrollState(Integer& AMin, Integer& AMax, Integer& APosition) {
    const int bar = Columns() > 0 ? SB_HORZ : SB_VERT;
    if (HandleAllocated()) {
        int low = 0, high = 0;
        GetScrollRange(Handle(), bar, &low, &high);
        AMin = low;
        AMax = high;
        APosition = GetScrollPos(Handle(), bar);
        return;
    }
    // Before the window exists: what it will report.
    const Integer count = Count();
    AMin = 0;
    if (Columns() <= 0) {
        AMax = std::max(0, count - 1);
        APosition = TopIndex();
    } else {
        const Integer rows = std::max(1, Height() / ItemHeight());
        AMax = std::max(0, (count + rows - 1) / rows - 1);
        APosition = TopIndex() / rows;
    }
}

TOwnerDrawState TqxListBox::GetItemDrawState(Integer AIndex) {
    TOwnerDrawState state;
    if (AIndex == ItemIndex()) {
        state.Include(odSelected);
        if (Focused()) state.Include(odFocused);
    } else if (SelCount() > 0 && Selected(AIndex)) {
        state.Include(odSelected);
    }
    return state;
}

// Painting.

void TqxListBox::SetCharset(TFont* AFont) {
    TqxSkinData* skinData = SkinListBox->SkinData();
    if (skinData && skinData->ResourceStrData())
        AFont->SetCharset(skinData->ResourceStrData()->CharSet());
    else
        AFont->SetCharset(SkinListBox->DefaultFont()->Charset());
}

void TqxListBox::PaintWindow(HDC ADC) {
    if (Width() <= 0 || Height() <= 0 || !SkinListBox) return;
    const int saved = SaveDC(ADC);
    TCanvas canvas;
    canvas.SetHandle(ADC);
    try {
        if (Columns() <= 0)
            PaintItems(&canvas);
        else
            PaintColumnItems(&canvas);
    } catch (...) {
        canvas.SetHandle(nullptr);
        RestoreDC(ADC, saved);
        throw;
    }
    canvas.SetHandle(nullptr);
    RestoreDC(ADC, saved);
}

void TqxListBox::PaintItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState) {
    if (SkinListBox->FIndex == -1)
        DrawDefaultItem(ACanvas, AIndex, AState, ARect);
    else if (SkinListBox->UseSkinItemHeight())
        DrawSkinItem(ACanvas, AIndex, AState, ARect);
    else
        DrawStretchedSkinItem(ACanvas, AIndex, AState, ARect);
}

void TqxListBox::PaintItems(TCanvas* ACanvas) {
    const Integer count = Count(), top = TopIndex();
    const Integer last = std::min(top + Height() / ItemHeight(), count - 1);
    Integer bottom = 0;
    for (Integer i = top; i <= last; ++i) {
        const TRect r = ItemRect(i);
        PaintItem(ACanvas, i, r, GetItemDrawState(i));
        bottom = r.Bottom;
    }
    if (bottom >= Height()) return;
    SkinListBox->GetSkinData();
    if (SkinListBox->FIndex == -1) {
        ACanvas->Brush()->SetColor(clWindow);
        ACanvas->FillRect(Rect(0, bottom, Width(), Height()));
    } else {
        TileSkinBackground(ACanvas, Width(), 0, bottom, Height() - bottom);
    }
}

void TqxListBox::PaintColumnItems(TCanvas* ACanvas) {
    const Integer top = TopIndex();
    const Integer last = std::min(top + (Height() / ItemHeight()) * Columns(), Count() - 1);
    for (Integer i = top; i <= last; ++i)
        PaintItem(ACanvas, i, ItemRect(i), GetItemDrawState(i));
}

void TqxListBox::PaintEmptyBackground(HDC ADC) {
    TCanvas canvas;
    canvas.SetHandle(ADC);
    SkinListBox->GetSkinData();
    if (SkinListBox->FIndex == -1) {
        canvas.Brush()->SetColor(clWindow);
        canvas.FillRect(Rect(0, 0, Width(), Height()));
    } else {
        TileSkinBackground(&canvas, Width(), 0, 0, Height());
    }
    canvas.SetHandle(nullptr);
}

void TqxListBox::TileSkinBackground(TCanvas* ACanvas, Integer AWidth, Integer X, Integer Y, Integer AHeight) {
    if (AWidth <= 0 || AHeight <= 0) return;
    const TqxSkinCustomListBox& o = *SkinListBox;
    const TRect tile = Rect(o.SkinRect.Left + o.ClRect.Left, o.SkinRect.Top + o.ClRect.Top,
                            o.SkinRect.Left + o.ClRect.Right, o.SkinRect.Top + o.ClRect.Bottom);
    const Integer cw = tile.Width(), ch = tile.Height();
    TBitmap bitmap;
    bitmap.SetSize(AWidth, AHeight);
    // A skin without a client sample has nothing to tile: the window colour.
    if (!o.Picture || cw <= 0 || ch <= 0) {
        bitmap.Canvas()->Brush()->SetColor(clWindow);
        bitmap.Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    } else {
        for (Integer column = 0; column <= AWidth / cw; ++column)
            for (Integer row = 0; row <= AHeight / ch; ++row)
                bitmap.Canvas()->CopyRect(Bounds(column * cw, row * ch, cw, ch), o.Picture->Canvas(), tile);
    }
    ACanvas->Draw(X, Y, &bitmap);
}

void TqxListBox::DrawItemContent(TCanvas* ACanvas, Integer AIndex, const TRect& ARect) {
    const TqxSkinCustomListBox& o = *SkinListBox;
    Integer indent = 0;
    if (TCustomImageList* images = o.Images()) {
        const Integer image = o.ImageIndex() >= 0 ? o.ImageIndex() : AIndex;
        if (image < images->Count())
            images->Draw(ACanvas, ARect.Left - FHorizontalExtentValue,
                         ARect.Top + ARect.Height() / 2 - images->Height() / 2, image, true);
        indent = images->Width() + 2;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    const String text = Items()->Get(AIndex);
    if (o.TabWidths()->Count() > 0 && Columns() == 0)
        DrawTabbedItemText(ACanvas, text, o.TabWidths(), indent, ARect);
    else
        DrawTextVCenteredIndent(ACanvas, text, ARect, indent - FHorizontalExtentValue);
}

void TqxListBox::DrawDefaultItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState,
                                 const TRect& ARect) {
    if (AIndex < 0 || AIndex >= Count()) return;
    const TqxSkinCustomListBox& o = *SkinListBox;
    const Integer w = ARect.Width(), h = ARect.Height();
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas* canvas = bitmap.Canvas();
    TFont* font = canvas->Font();
    font->SetName(o.Font()->Name());
    font->SetStyle(o.Font()->Style());
    font->SetHeight(o.Font()->Height());
    SetCharset(font);
    const bool selected = AState.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : clWindow);
    font->SetColor(selected ? clHighlightText : o.Font()->Color());
    canvas->FillRect(Rect(0, 0, w, h));
    const TRect text = Rect(2, 0, w - 2, h);
    if (o.OnDrawItem)
        o.OnDrawItem(canvas, AIndex, w, h, text, AState);
    else
        DrawItemContent(canvas, AIndex, text);
    if (AState.Contains(odFocused)) canvas->DrawFocusRect(Rect(0, 0, w, h));
    ACanvas->Draw(ARect.Left, ARect.Top, &bitmap);
}

void TqxListBox::DrawSkinItemContent(TBitmap* ABitmap, Integer AIndex, TOwnerDrawState AState,
                                     const TRect& AText, TColor AColor) {
    const TqxSkinCustomListBox& o = *SkinListBox;
    TCanvas* canvas = ABitmap->Canvas();
    TFont* font = canvas->Font();
    if (o.UseSkinFont()) {
        font->SetName(o.FontName);
        font->SetStyle(o.FontStyle);
        font->SetHeight(o.FontHeight);
    } else {
        font->Assign(o.DefaultFont());
    }
    SetCharset(font);
    font->SetColor(AColor);
    canvas->Brush()->SetStyle(bsClear);
    const Integer w = ABitmap->Width(), h = ABitmap->Height();
    if (o.OnDrawItem) return o.OnDrawItem(canvas, AIndex, w, h, AText, AState);
    if (AState.Contains(odFocused) && o.ShowFocus) {
        canvas->Brush()->SetColor(o.SkinData()->SkinColors()->cBtnFace());
        DrawSkinFocusRect(canvas, Rect(0, 0, w, h));
        canvas->Brush()->SetStyle(bsClear);
    }
    DrawItemContent(canvas, AIndex, AText);
}

void TqxListBox::DrawSkinItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState, const TRect& ARect) {
    const TqxSkinCustomListBox& o = *SkinListBox;
    if (!o.Picture || AIndex < 0 || AIndex >= Count()) return;
    const Integer w = ARect.Width(), h = o.SItemRect.Height();
    const bool focused = AState.Contains(odFocused), selected = AState.Contains(odSelected);
    TBitmap bitmap;
    const auto build = [&](const TRect& ASource, bool AStretch) {
        BuildHorzThreePartImage(o.ItemLeftOffset, o.ItemRightOffset, &bitmap, o.Picture, ASource, w, h,
                                AStretch);
    };
    if (focused && selected) {
        build(o.FocusItemRect, o.StretchEffect);
    } else if (focused) {
        build(o.SItemRect, o.StretchEffect);
        DrawSkinFocusRect(bitmap.Canvas(), Rect(0, 0, bitmap.Width(), bitmap.Height()));
    } else if (selected) {
        build(o.ActiveItemRect, o.StretchEffect);
    } else {
        build(o.SItemRect, false);
    }
    TRect text = o.ItemTextRect;
    text.Right += bitmap.Width() - o.SItemRect.Width();
    DrawSkinItemContent(&bitmap, AIndex, AState, text,
                        focused && selected ? o.FocusFontColor
                        : selected          ? o.ActiveFontColor
                                            : o.FontColor);
    ACanvas->Draw(ARect.Left, ARect.Top, &bitmap);
}

void TqxListBox::DrawStretchedSkinItem(TCanvas* ACanvas, Integer AIndex, TOwnerDrawState AState,
                                       const TRect& ARect) {
    const TqxSkinCustomListBox& o = *SkinListBox;
    if (!o.Picture || AIndex < 0 || AIndex >= Count()) return;
    const bool focused = AState.Contains(odFocused), selected = AState.Contains(odSelected);
    TBitmap bitmap;
    bitmap.SetSize(ARect.Width(), ARect.Height());
    const TRect& source = focused ? o.FocusItemRect : selected ? o.ActiveItemRect : o.SItemRect;
    const TRect& t = o.ItemTextRect;
    BuildStretchedSkinImage(&bitmap, o.Picture, source,
                            Rect(t.Left + 1, t.Top + 1, t.Right - 1, t.Bottom - 1), true);
    TRect text = t;
    text.Right += bitmap.Width() - o.SItemRect.Width();
    text.Bottom += bitmap.Height() - o.SItemRect.Height();
    DrawSkinItemContent(&bitmap, AIndex, AState, text,
                        focused    ? o.FocusFontColor
                        : selected ? o.ActiveFontColor
                                   : o.FontColor);
    ACanvas->Draw(ARect.Left, ARect.Top, &bitmap);
}

void TqxListBox::CNDrawItem(TMessage& AMessage) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(AMessage.LParam);
    AMessage.Result = 1;
    if (!item || !SkinListBox) return;
    TCanvas* canvas = Canvas();
    const HDC previous = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
    canvas->SetHandle(item->hDC);
    canvas->SetFont(Font());
    canvas->SetBrush(Brush());
    try {
        PaintItem(canvas, Integer(item->itemID), ToTRect(item->rcItem),
                  TOwnerDrawState::FromBits(item->itemState));
    } catch (...) {
        canvas->SetHandle(previous);
        throw;
    }
    canvas->SetHandle(previous);
}

// Messages.

void TqxListBox::WheelScroll(TMessage& AMessage) {
    if (SkinListBox->ScrollBar()) {
        const WORD code = GET_WHEEL_DELTA_WPARAM(AMessage.WParam) <= 0 ? SB_LINEDOWN : SB_LINEUP;
        Perform(WM_VSCROLL, MAKEWPARAM(code, 0), 0);
        SkinListBox->UpDateScrollBar();
    } else if (TqxSkinScrollBar* bar = SkinListBox->HScrollBar()) {
        const Integer step = int32_t(AMessage.WParam) <= 0 ? bar->SmallChange() : -bar->SmallChange();
        bar->SetPosition(bar->Position() + step);
    }
}

void TqxListBox::WndProc(TMessage& AMessage) {
    bool callDefault = true;
    if (SkinListBox) SkinListBox->ListBoxWndProc(AMessage, callDefault);
    if (!callDefault) return;
    const WeakControl self(this);
    TListBox::WndProc(AMessage);
    if (!self.Alive() || !SkinListBox) return;
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
            SkinListBox->UpDateScrollBar();
            return;
        case WM_LBUTTONDBLCLK:
            SkinListBox->ListBoxDblClick();
            return;
        case WM_MOUSEWHEEL:
            return WheelScroll(AMessage);
        case SKINMSG_PAINTEMPTYTODC:
            if (Count() > 0 || AMessage.LParam != SKINMSG_PAINTKEY) return;
            if (AMessage.WParam) PaintEmptyBackground(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = SKINMSG_PAINTKEY;
            return;
        default:
            return;
    }
}

void TqxListBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            if (Width() > 0 && Height() > 0 && SkinListBox)
                PaintEmptyBackground(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        case CM_INVALIDATE:
            // The platform list erases its background whenever it repaints
            // itself: the erase brings the owner's bars up to date.
            if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
            return;
        case CN_DRAWITEM:
            return CNDrawItem(AMessage);
        case SKINMSG_PAINTTODC:
            AMessage.Result = SKINMSG_ANSWER_PAINTED;
            return;
        case WM_NCCALCSIZE:
            AMessage.Result = 0;
            return;
        case WM_NCHITTEST:
            AMessage.Result = HTCLIENT;
            return;
        case CM_ENTER:
            if (SkinListBox) SkinListBox->ListBoxEnter();
            break;
        case CM_EXIT:
            if (SkinListBox) SkinListBox->ListBoxExit();
            break;
        default:
            break;
    }
    TListBox::Dispatch(AMessage);
}

void TqxListBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseDown(AButton, AShift, X, Y);
    TListBox::MouseDown(AButton, AShift, X, Y);
}

void TqxListBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseMove(AShift, X, Y);
    TListBox::MouseMove(AShift, X, Y);
}

void TqxListBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseUp(AButton, AShift, X, Y);
    TListBox::MouseUp(AButton, AShift, X, Y);
}

void TqxListBox::KeyDown(Word& AKey, TShiftState AShift) {
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(AKey, AShift);
        if (TqxSkinScrollBar* bar = SkinListBox->HScrollBar()) {
            if (AKey == VK_LEFT) {
                bar->SetPosition(bar->Position() - bar->SmallChange());
                AKey = 0;
            } else if (AKey == VK_RIGHT) {
                bar->SetPosition(bar->Position() + bar->SmallChange());
                AKey = 0;
            }
        }
    }
    TListBox::KeyDown(AKey, AShift);
}

void TqxListBox::KeyPress(char16_t& AKey) {
    if (SkinListBox) SkinListBox->ListBoxKeyPress(AKey);
    TListBox::KeyPress(AKey);
}

void TqxListBox::KeyUp(Word& AKey, TShiftState AShift) {
    if (SkinListBox) SkinListBox->ListBoxKeyUp(AKey, AShift);
    TListBox::KeyUp(AKey, AShift);
}

void TqxListBox::Click() {
    if (SkinListBox) SkinListBox->ListBoxClick();
    TListBox::Click();
}
