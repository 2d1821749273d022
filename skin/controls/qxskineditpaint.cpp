// The skinned edit's frame in the non-client area, its edit button, the
// text area's background and image buttons, the disabled text, and the
// frame painted into another's device context.
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/win/painting.h"
#include "skin/controls/qxskinedit.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

bool ValidImage(TCustomImageList* AImages, Integer AIndex) {
    return AImages && AIndex >= 0 && AIndex < AImages->Count();
}

}  // namespace

void TqxSkinCustomEdit::RepaintFrame() {
    if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

void TqxSkinCustomEdit::NCPaint() {
    if (!HandleAllocated()) return;
    const HWND window = Handle();
    const HDC dc = GetWindowDC(window);
    try {
        PaintFrameTo(dc, true);
    } catch (...) {
        ReleaseDC(window, dc);
        throw;
    }
    ReleaseDC(window, dc);
    if (!ComponentState().Contains(csDesigning)) TransparentRepaint();
}

void TqxSkinCustomEdit::PaintFrameTo(HDC ADC, bool AExcludeEditRect) {
    GetSkinData();
    CalcEditRects();
    TBitmap frame;
    frame.SetSize(Width(), Height());
    if (Skinned() && !FUseSkinFont)
        DrawStretchedFrame(&frame);
    else
        DrawFrame(&frame, false);
    const int saved = SaveDC(ADC);
    if (AExcludeEditRect)
        ExcludeClipRect(ADC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
    BitBlt(ADC, 0, 0, frame.Width(), frame.Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
    RestoreDC(ADC, saved);
}

void TqxSkinCustomEdit::DrawButtonImage(TCanvas* C) {
    if (!ValidImage(FImages, FButtonImageIndex)) return;
    FImages->Draw(C, FButtonRect.Left + (FButtonRect.Width() - FImages->Width()) / 2,
                  FButtonRect.Top + (FButtonRect.Height() - FImages->Height()) / 2, FButtonImageIndex,
                  Enabled());
}

void TqxSkinCustomEdit::DrawFrame(TBitmap* B, bool APlain) {
    TCanvas* c = B->Canvas();
    if (!Skinned()) {
        // The frame meets the button; painted for another, it reaches its left edge.
        const Integer right = FButtonMode ? FButtonRect.Left + (APlain ? 0 : 1) : Width();
        const TRect outer = Rect(0, 0, right, Height());
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FDefaultColor);
        c->FillRect(outer);
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(outer);
        c->Brush()->SetColor(APlain ? clBtnFace : Color());
        c->FrameRect(Rect(1, 1, right - 1, Height() - 1));
        if (!FButtonMode) return;
        DrawDefaultLookPart(c, FButtonRect, !APlain && FButtonDown && FButtonActive,
                            !APlain && FButtonActive);
        DrawButtonImage(c);
        return;
    }
    BuildHorzThreePartImage(LOffset, ROffset, B, Picture, APlain ? SkinRect : FaceRect(), Width(), Height(),
                            StretchEffect);
    if (!FButtonMode) return;
    const TRect* source = nullptr;
    if (APlain)
        source = nullptr;
    else if (!Enabled() && !IsRectDegenerate(UnEnabledButtonRect))
        source = &UnEnabledButtonRect;
    else if (FButtonDown && FButtonActive)
        source = &DownButtonRect;
    else if (FButtonActive)
        source = &ActiveButtonRect;
    if (source && !IsRectDegenerate(*source)) c->CopyRect(FButtonRect, Picture->Canvas(), *source);
    DrawButtonImage(c);
}

void TqxSkinCustomEdit::DrawStretchedFrame(TBitmap* B) {
    BuildStretchedSkinImage(B, Picture, FaceRect(), ClRect, false);
    if (FButtonMode) DrawEditButton(B->Canvas());
}

void TqxSkinCustomEdit::DrawEditButton(TCanvas* C) {
    TBitmap* picture = nullptr;
    const auto* e = FindButtonElement(FSD, {u"editbutton", u"combobutton", u"resizebutton"}, picture);
    const Integer w = FButtonRect.Width(), h = FButtonRect.Height();
    if (!e || !picture || w <= 0 || h <= 0) return;
    TBitmap button;
    BuildButtonElementImage(*e, picture, ButtonStateRect(*e, FButtonDown && FButtonActive, FButtonActive), w,
                            h, &button);
    C->Draw(FButtonRect.Left, FButtonRect.Top, &button);
    DrawButtonImage(C);
}

void TqxSkinCustomEdit::DrawEditBackground(TCanvas* C) {
    if (IsRectDegenerate(FEditRect)) return;
    const TRect client = ClientRect();
    if (!Skinned()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FDefaultColor);
        C->FillRect(client);
        return;
    }
    const TRect& face = FaceRect();
    const TRect middle = Rect(face.Left + ClRect.Left, face.Top + ClRect.Top, face.Left + ClRect.Right,
                              face.Top + ClRect.Bottom);
    TBitmap part;
    BuildHorzThreePartImage(std::max(0, LOffset - ClRect.Left),
                            std::max(0, ClRect.Right + ROffset - SkinRect.Width()), &part, Picture, middle,
                            client.Width(), 0, StretchEffect);
    if (FUseSkinFont)
        C->Draw(0, 0, &part);
    else
        C->StretchDraw(client, &part);
}

void TqxSkinCustomEdit::DrawImageButtons(TCanvas* C) {
    const auto draw = [&](const TImageButton& AButton, Integer ANormal, Integer AHot, Integer ADown) {
        if (!ValidImage(FImages, ANormal)) return;
        Integer index = ANormal;
        if (AButton.Down && AButton.MouseIn && ValidImage(FImages, ADown))
            index = ADown;
        else if (AButton.MouseIn && ValidImage(FImages, AHot))
            index = AHot;
        const Integer y =
            std::max(AButton.R.Top, AButton.R.Top + (AButton.R.Height() - FImages->Height()) / 2);
        FImages->Draw(C, AButton.R.Left, y, index, Enabled());
    };
    draw(LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
    draw(RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
}

void TqxSkinCustomEdit::SetTextFont(TFont* AFont) {
    if (Skinned() && FUseSkinFont) {
        AFont->SetName(FontName);
        AFont->SetStyle(FontStyle);
        AFont->SetHeight(FontHeight);
    } else {
        AFont->Assign(FDefaultFont.get());
    }
    AFont->SetCharset(SkinTextCharset(FSD, FDefaultFont.get()));
}

void TqxSkinCustomEdit::DrawDisabledText(TCanvas* C) {
    DrawEditBackground(C);
    DrawImageButtons(C);
    SetTextFont(C->Font());
    C->Font()->SetColor(Skinned() ? DisabledFontColor : clGrayText);
    C->Brush()->SetStyle(bsClear);
    const String text = Text();
    const Integer width = ClientRect().Width(), textWidth = C->TextWidth(text);
    const Integer x = Alignment() == taRightJustify ? width - textWidth - 1
                      : Alignment() == taCenter     ? width / 2 + 1 - textWidth / 2
                                                    : 2;
    C->TextOut(x, 0, text);
}

void TqxSkinCustomEdit::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
    GetSkinData();
    CalcEditRects();
    CalcImageButtons(false);
    TBitmap b;
    b.SetSize(Width(), Height());
    TRect text = FEditRect;
    if (Skinned() && !FUseSkinFont) {
        DrawStretchedFrame(&b);
        TBitmap middle;
        middle.SetSize(FEditRect.Width(), FEditRect.Height());
        DrawEditBackground(middle.Canvas());
        b.Canvas()->Draw(FEditRect.Left, FEditRect.Top, &middle);
    } else {
        DrawFrame(&b, true);
    }
    if (!IsRectDegenerate(LeftButton.R)) text.Left += LeftButton.R.Width() + 2;
    if (!IsRectDegenerate(RightButton.R)) text.Right -= RightButton.R.Width() + 2;
    TCanvas* canvas = b.Canvas();
    SetTextFont(canvas->Font());
    canvas->Font()->SetColor(Skinned() ? FontColor : FDefaultFont->Color());
    canvas->Brush()->SetStyle(bsClear);
    static constexpr Cardinal alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    SkinDrawText(canvas, AText, text, DT_SINGLELINE | DT_VCENTER | alignments[Alignment()]);
    C->Draw(X, Y, &b);
}
