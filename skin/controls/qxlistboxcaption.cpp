// The skinned list box's frame in both looks, its caption bar with the glyph
// and the text, and the caption buttons with their auto-repeat.
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlistbox.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr ULONG_PTR RepeatTimer = 1;
constexpr UINT FirstRepeatDelay = 500;
constexpr UINT RepeatInterval = 100;
constexpr UINT ReenterInterval = 50;

bool Inside(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

}  // namespace

// Painting.

void TqxSkinCustomListBox::DrawCaption(TCanvas* ACanvas, const TRect& ARect, Integer AY, Integer AInset) {
    const Integer numGlyphs = FNumGlyphs < 1 ? 1 : FNumGlyphs;
    const bool glyph = !FGlyph->Empty();
    const String caption = Caption();
    Integer width = ACanvas->TextWidth(caption);
    if (glyph) width += FGlyph->Width() / numGlyphs + FSpacing;
    Integer x;
    switch (FAlignment) {
        case taRightJustify:
            x = ARect.Right - width - AInset;
            break;
        case taCenter:
            x = ARect.Left + AInset + ARect.Width() / 2 - width / 2;
            break;
        default:
            x = ARect.Left + AInset;
            break;
    }
    if (glyph) {
        // The default look lifts the glyph one pixel.
        const Integer y = ARect.Top + ARect.Height() / 2 - FGlyph->Height() / 2 - (AInset == 0 ? 1 : 0);
        const Integer image = !Enabled() && numGlyphs == 2 ? 2 : 1;
        DrawGlyphFromStrip(ACanvas, x, y, FGlyph.get(), numGlyphs, image);
        x += FGlyph->Width() / numGlyphs + FSpacing;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextRect(ARect, x, AY, caption);
}

void TqxSkinCustomListBox::CreateControlDefaultImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlDefaultImage(B);
    const Integer w = Width(), h = Height();
    const Integer a = std::min(FDefaultCaptionHeight - 3, 17);
    if (CaptionButtonsShown()) {
        Buttons[UpButton].R = Rect(w - a - 2, 2, w - 2, a + 1);
        Buttons[DownButton].R = Moved(Buttons[UpButton].R, -a, 0);
        Buttons[CheckButton].R = Moved(Buttons[DownButton].R, -a, 0);
    }
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(Rect(0, 0, w, h));
    canvas->Brush()->SetColor(FListBox->Color());
    canvas->FrameRect(Rect(1, 1, w - 1, h - 1));
    if (!FCaptionMode) return;
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FillRect(Rect(0, 0, w, FDefaultCaptionHeight));
    const TRect text = CaptionButtonsShown() ? Rect(3, 2, w - 3 * a - 3, FDefaultCaptionHeight - 2)
                                             : Rect(3, 2, w - 2, FDefaultCaptionHeight - 2);
    canvas->SetFont(FDefaultCaptionFont.get());
    if (SkinData() && SkinData()->ResourceStrData())
        canvas->Font()->SetCharset(SkinData()->ResourceStrData()->CharSet());
    const Integer y = (FDefaultCaptionHeight - 2) / 2 - canvas->TextHeight(Caption()) / 2;
    DrawCaption(canvas, text, y, 0);
    if (CaptionButtonsShown())
        for (Integer i = 0; i < 3; ++i)
            DrawCaptionButton(canvas, i);
}

void TqxSkinCustomListBox::CreateControlSkinImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlSkinImage(B);
    const Integer dx = Width() - SkinRect.Width(), dy = Height() - SkinRect.Height();
    TCanvas* canvas = B->Canvas();
    // Hidden buttons: the caption's background over them, or the skin's own
    // picture of the empty button area.
    if (!FShowCaptionButtons && !IsRectDegenerate(UpButtonRect)) {
        if (IsRectDegenerate(DisabledButtonsRect)) {
            const TRect strip = Rect(NewLTPoint.X, 0, NewRTPoint.X, NewClRect.Top - 1);
            if (!IsRectDegenerate(strip)) {
                TBitmap copy;
                copy.SetSize(strip.Width(), strip.Height());
                copy.Canvas()->CopyRect(Rect(0, 0, strip.Width(), strip.Height()), canvas, strip);
                canvas->StretchDraw(
                    Rect(strip.Left, 0, Width() + UpButtonRect.Right - SkinRect.Width(), strip.Bottom),
                    &copy);
            }
        } else if (Picture) {
            canvas->CopyRect(Moved(ButtonsArea, dx, 0), Picture->Canvas(), DisabledButtonsRect);
        }
    }
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy);
    if (!FCaptionMode) return;
    NewCaptionRect = CaptionRect;
    if (FShowCaptionButtons) {
        if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += dx;
        const TRect* places[] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
        for (Integer i = 0; i < 3; ++i) {
            TRect r = *places[i];
            const bool lowered = r.Top >= LTPt.Y;
            if (lowered) r = Moved(r, 0, dy);
            if ((lowered ? RBPt.X : RTPt.X) <= r.Left) r = Moved(r, dx, 0);
            Buttons[i].R = r;
        }
    } else {
        NewCaptionRect.Right = Width() - CaptionRect.Left;
        for (TqxCBButtonX& button : Buttons)
            button.R = TRect{};
    }
    if (!IsRectDegenerate(CaptionRect)) {
        TFont* font = canvas->Font();
        font->SetName(CaptionFontName);
        font->SetHeight(CaptionFontHeight);
        font->SetColor(CaptionFontColor);
        font->SetStyle(CaptionFontStyle);
        if (SkinData()->ResourceStrData())
            font->SetCharset(SkinData()->ResourceStrData()->CharSet());
        else
            font->SetCharset(DefaultFont()->Charset());
        const TRect& r = NewCaptionRect;
        const Integer y = r.Top + r.Height() / 2 - canvas->TextHeight(Caption()) / 2;
        DrawCaption(canvas, r, y, 2);
    }
    if (FShowCaptionButtons)
        for (Integer i = 0; i < 3; ++i)
            DrawCaptionButton(canvas, i);
}

void TqxSkinCustomListBox::DrawCaptionButton(TCanvas* ACanvas, Integer AIndex) {
    const TqxCBButtonX& button = Buttons[AIndex];
    const TRect& r = button.R;
    if (FIndex == -1) {
        if (button.Down && button.MouseIn) {
            ACanvas->Brush()->SetColor(DefaultLookFrame);
            ACanvas->FrameRect(r);
            ACanvas->Brush()->SetColor(DefaultLookDownFill);
            ACanvas->FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
        } else if (button.MouseIn) {
            ACanvas->Brush()->SetColor(DefaultLookFrame);
            ACanvas->FrameRect(r);
            ACanvas->Brush()->SetColor(DefaultLookHoverFill);
            ACanvas->FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
        } else {
            ACanvas->Brush()->SetColor(clBtnShadow);
            ACanvas->FillRect(r);
        }
        if (AIndex == CheckButton)
            DrawCheckMark(ACanvas, r.Left + 4, r.Top + 4, clBlack);
        else
            DrawArrow(ACanvas, r, clBlack, AIndex == UpButton ? 3 : 4);
        return;
    }
    if (IsRectDegenerate(r) || !Picture) return;
    const TRect* places[] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
    const TRect* hot[] = {&ActiveUpButtonRect, &ActiveDownButtonRect, &ActiveCheckButtonRect};
    const TRect* pressed[] = {&DownUpButtonRect, &DownDownButtonRect, &DownCheckButtonRect};
    TRect source;
    if (button.Down && button.MouseIn)
        source = *pressed[AIndex];
    else if (button.MouseIn)
        source = *hot[AIndex];
    if (IsRectDegenerate(source)) source = Moved(*places[AIndex], SkinRect.Left, SkinRect.Top);
    ACanvas->CopyRect(r, Picture->Canvas(), source);
}

// The caption buttons.

void TqxSkinCustomListBox::RedrawButton(Integer AIndex) {
    if (!HandleAllocated()) return;
    const RECT r = ToRECT(Buttons[AIndex].R);
    InvalidateRect(Handle(), &r, FALSE);
    Update();
}

void TqxSkinCustomListBox::TestActiveButton(Integer X, Integer Y) {
    if (!CaptionButtonsShown()) return;
    if (FIndex != -1 && IsRectDegenerate(UpButtonRect) && IsRectDegenerate(DownButtonRect)) return;
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (Integer i = 0; i < 3; ++i)
        if (Inside(Buttons[i].R, X, Y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (OldActiveButton == ActiveButton) return;
    if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
    if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TqxSkinCustomListBox::StartRepeatTimer(UINT AInterval) {
    if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, AInterval, nullptr);
}

void TqxSkinCustomListBox::StopRepeatTimer() {
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
    TimerMode = 0;
    WaitMode = false;
}

void TqxSkinCustomListBox::ButtonDown(Integer AIndex) {
    Buttons[AIndex].MouseIn = true;
    Buttons[AIndex].Down = true;
    RedrawButton(AIndex);
    const TNotifyEvent* events[] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (*events[AIndex]) return;
    TimerMode = AIndex == UpButton ? 1 : AIndex == DownButton ? 2 : 0;
    if (TimerMode == 0) return;
    WaitMode = true;
    StartRepeatTimer(FirstRepeatDelay);
}

void TqxSkinCustomListBox::ButtonUp(Integer AIndex) {
    TqxCBButtonX& button = Buttons[AIndex];
    button.Down = false;
    if (AIndex != ActiveButton) button.MouseIn = false;
    RedrawButton(AIndex);
    const TNotifyEvent* events[] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (button.MouseIn && *events[AIndex]) return (*events[AIndex])(this);
    const Integer index = ItemIndex();
    switch (AIndex) {
        case UpButton:
            if (index >= 1) SetItemIndex(index - 1);
            break;
        case DownButton:
            if (index < Items()->Count() - 1) SetItemIndex(index + 1);
            break;
        default:
            FListBox->Click();
            break;
    }
    StopRepeatTimer();
}

void TqxSkinCustomListBox::ButtonEnter(Integer AIndex) {
    Buttons[AIndex].MouseIn = true;
    RedrawButton(AIndex);
    if (TimerMode != 0 && Buttons[AIndex].Down) StartRepeatTimer(ReenterInterval);
}

void TqxSkinCustomListBox::ButtonLeave(Integer AIndex) {
    Buttons[AIndex].MouseIn = false;
    RedrawButton(AIndex);
    if (TimerMode != 0 && Buttons[AIndex].Down && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TqxSkinCustomListBox::RepeatStep() {
    if (WaitMode) {
        WaitMode = false;
        StartRepeatTimer(RepeatInterval);
        return;
    }
    const Integer index = ItemIndex();
    if (TimerMode == 1 && index >= 1) SetItemIndex(index - 1);
    if (TimerMode == 2 && index < Items()->Count() - 1) SetItemIndex(index + 1);
}

void TqxSkinCustomListBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TestActiveButton(X, Y);
    if (ActiveButton != -1 && CaptionButtonsShown()) {
        CaptureButton = ActiveButton;
        ButtonDown(ActiveButton);
    }
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
}

void TqxSkinCustomListBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (CaptureButton != -1) {
        const Integer button = CaptureButton;
        CaptureButton = -1;
        ButtonUp(button);
    }
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
}

void TqxSkinCustomListBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    TestActiveButton(X, Y);
}
