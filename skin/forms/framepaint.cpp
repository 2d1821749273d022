// Painting of what a skinned form shows outside its controls: the frame
// (from the skin's frame picture, or the plain default look), the frame
// objects on it, the inactive look, and the client background with its logo.
#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/win/painting.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/layeredframe.h"

using namespace win;

namespace {

// A canvas on a DC it does not own, let go when it ends.
class TBorrowedCanvas {
public:
    explicit TBorrowedCanvas(HDC ADC) { FCanvas.SetHandle(ADC); }
    ~TBorrowedCanvas() { FCanvas.SetHandle(nullptr); }
    TCanvas* operator->() { return &FCanvas; }
    TCanvas* get() { return &FCanvas; }

private:
    TCanvas FCanvas;
};

// The window's DC unless one is handed in.
class TFrameDC {
public:
    TFrameDC(TCustomForm* AForm, HDC ADC, bool AUseExternalDC) {
        if (AUseExternalDC) {
            FDC = ADC;
        } else if (AForm->HandleAllocated()) {
            FWindow = AForm->Handle();
            FDC = GetWindowDC(FWindow);
        }
    }
    ~TFrameDC() {
        if (FWindow && FDC) ReleaseDC(FWindow, FDC);
    }
    HDC DC() const { return FDC; }

private:
    HWND FWindow = nullptr;
    HDC FDC = nullptr;
};

void Blit(HDC ADC, Integer X, Integer Y, TBitmap* ABitmap) {
    if (ABitmap->Empty()) return;
    BitBlt(ADC, X, Y, ABitmap->Width(), ABitmap->Height(), ABitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

void TqxDravenfold::ApplyInActiveEffect(TBitmap* AStrip) {
    std::unique_ptr<TqxEffectBmp> effect = TqxEffectBmp::CreateFromhWnd(AStrip->Handle());
    InActiveEffect(effect.get(), FSD->InActiveEffect);
    effect->Draw(AStrip->Canvas()->Handle(), 0, 0);
}

void TqxDravenfold::PaintNCSkin(HDC ADC, bool AUseExternalDC) {
    if (!FSD || FSD->Empty) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (!FrameFits()) return;
    CalcSkinRects();
    ArrangeObjects();
    TFrameDC frameDC(FForm, ADC, AUseExternalDC);
    const HDC dc = frameDC.DC();
    if (!dc) return;
    const bool active = GetFormActive();
    TBitmap* picture = !active && !FSD->FInActivePicture->Empty() ? FSD->FInActivePicture.get() : FSD->FPicture.get();
    const TSize size = PictureSize();
    TBitmap top, left, right, bottom;
    BuildBorderStrips(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, NewLTPoint, NewRTPoint,
                      NewLBPoint, NewRBPoint, NewClRect, &left, &top, &right, &bottom, picture,
                      Rect(0, 0, size.cx, size.cy), FFormWidth, FFormHeight, FSD->LeftStretch, FSD->TopStretch,
                      FSD->RightStretch, FSD->BottomStretch);
    // Objects keep their window coordinates; those below the client area
    // are shifted onto the bottom strip for the call.
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects) {
        if (!object->Visible) continue;
        if (object->ObjectRect.Bottom <= NewClRect.Top) {
            if (!top.Empty()) object->Draw(top.Canvas(), false);
        } else if (!bottom.Empty()) {
            const TRect saved = object->ObjectRect;
            object->ObjectRect = Rect(saved.Left, saved.Top - NewClRect.Bottom, saved.Right,
                                      saved.Bottom - NewClRect.Bottom);
            object->Draw(bottom.Canvas(), false);
            object->ObjectRect = saved;
        }
    }
    if (!top.Empty() && AppMenuCaptionDrawn()) PaintAppMenuCaption(top.Canvas(), top.Height());
    const Integer saved = SaveDC(dc);
    if (NewClRect.Height() > 0)
        ExcludeClipRect(dc, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    if (!active && FSD->AutoRenderingInActiveImage)
        for (TBitmap* strip : {&top, &left, &right, &bottom})
            if (!strip->Empty()) ApplyInActiveEffect(strip);
    Blit(dc, 0, 0, &top);
    Blit(dc, 0, top.Height(), &left);
    Blit(dc, FFormWidth - right.Width(), top.Height(), &right);
    Blit(dc, 0, FFormHeight - bottom.Height(), &bottom);
    RestoreDC(dc, saved);
}

void TqxDravenfold::FitCaptionText(TCanvas* ACanvas, String& AText, Integer AWidth) {
    FitTextToWidthW(ACanvas, AText, AWidth);
}

void TqxDravenfold::PaintNCDefault(HDC ADC, bool AUseExternalDC) {
    if (FSD && FSD->ChangeSkinDataProcess) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (ObjectList.empty() && !FSkinSupport) CreateDefaultObjects();
    CalcDefRects();
    TFrameDC frameDC(FForm, ADC, AUseExternalDC);
    const HDC dc = frameDC.DC();
    if (!dc) return;
    const Integer captionHeight = GetDefCaptionHeight();
    const bool active = GetFormActive();
    TBitmap caption;
    caption.SetSize(std::max(FFormWidth - 6, 0), captionHeight);
    TCanvas* canvas = caption.Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, caption.Width(), caption.Height()));
    canvas->Font()->Assign(active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
    if (FSD && FSD->ResourceStrData()) canvas->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    const TRect textArea = Rect(NewDefCaptionRect.Left - 3, 0, NewDefCaptionRect.Right - 3, captionHeight);
    if (OnCaptionPaint) {
        OnCaptionPaint(canvas, textArea, active);
    } else {
        String text = MDIFormCaption();
        if (!text.empty()) {
            FitCaptionText(canvas, text, textArea.Width());
            const Integer tw = SkinTextWidth(canvas, text), th = SkinTextHeight(canvas, text);
            const Integer x = textArea.Left + textArea.Width() / 2 - (tw + 5) / 2;
            const Integer y = captionHeight / 2 - th / 2;
            TRect r = Rect(x, y, x, y);
            SkinDrawText(canvas, text, r, DT_CALCRECT);
            canvas->FillRect(Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2));
            canvas->Brush()->SetStyle(bsClear);
            SkinDrawText(canvas, text, r, DT_VCENTER);
            canvas->Brush()->SetStyle(bsSolid);
        }
    }
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects) {
        if (!object->Visible) continue;
        const TRect saved = object->ObjectRect;
        object->ObjectRect = Rect(saved.Left - 3, saved.Top - 3, saved.Right - 3, saved.Bottom - 3);
        object->Draw(canvas, false);
        object->ObjectRect = saved;
    }
    const Integer saved = SaveDC(dc);
    ExcludeClipRect(dc, 3, captionHeight + 3, FFormWidth - 3, FFormHeight - 3);
    Blit(dc, 3, 3, &caption);
    TBorrowedCanvas frame(dc);
    TRect ring = Rect(0, 0, FFormWidth, FFormHeight);
    for (const TColor color : {cl3DDkShadow, clBtnFace, clBtnFace}) {
        DrawFrame3D(frame.get(), ring, color, color);
        ring = Rect(ring.Left + 1, ring.Top + 1, ring.Right - 1, ring.Bottom - 1);
    }
    RestoreDC(dc, saved);
}

void TqxDravenfold::DrawSkinObject(TqxActiveSkinObject* AObject) {
    if (FullBorderFrameShown()) return FBorderLayer->UpdateBorder();
    if (!AObject || !FrameDrawn() || !FForm->HandleAllocated()) return;
    TFrameDC frameDC(FForm, nullptr, false);
    if (!frameDC.DC()) return;
    TBorrowedCanvas canvas(frameDC.DC());
    AObject->Draw(canvas.get(), true);
}

void TqxDravenfold::UserObjectDraw(const String& AIDName) {
    const Integer index = GetIndex(AIDName);
    if (index == -1) return;
    if (auto* object = dynamic_cast<TqxUserObject*>(ObjectList[size_t(index)].get()))
        object->Draw(FForm->Canvas(), true);
}

void TqxDravenfold::PaintBackground(HDC DC, TBitmap* AImage, bool AStretch, TqxStretchType AType) {
    TBorrowedCanvas canvas(DC);
    const Integer cw = FForm->ClientWidth(), ch = FForm->ClientHeight();
    const Integer w = AImage->Width(), h = AImage->Height();
    if (cw > 0 && ch > 0) {
        if (AStretch) {
            switch (AType) {
                case qxstFull:
                    canvas->StretchDraw(Rect(0, 0, cw, ch), AImage);
                    break;
                case qxstHorz: {
                    TBitmap column;
                    column.SetSize(w, FFormHeight);
                    column.Canvas()->StretchDraw(Rect(0, 0, w, FFormHeight), AImage);
                    for (Integer i = 0; i <= FFormWidth / w; ++i)
                        canvas->Draw(i * w, 0, &column);
                    break;
                }
                case qxstVert: {
                    TBitmap row;
                    row.SetSize(FFormWidth, h);
                    row.Canvas()->StretchDraw(Rect(0, 0, FFormWidth, h), AImage);
                    for (Integer i = 0; i <= FFormHeight / h; ++i)
                        canvas->Draw(0, i * h, &row);
                    break;
                }
            }
        } else {
            for (Integer row = 0; row <= ch / h; ++row)
                for (Integer column = 0; column <= cw / w; ++column)
                    canvas->Draw(column * w, row * h, AImage);
        }
    }
    if (!FLogoBitMap->Empty()) DrawLogo(canvas.get());
}

void TqxDravenfold::PaintBG(HDC DC) {
    if (!DC || !FSD || FSD->Empty) return;
    const TRect& source = FSD->ClRect;
    if (IsRectDegenerate(source)) {
        TBorrowedCanvas canvas(DC);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()));
        return;
    }
    TBitmap image;
    image.SetSize(source.Width(), source.Height());
    image.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), FSD->FPicture->Canvas(), source);
    PaintBackground(DC, &image, FSD->StretchEffect, FSD->StretchType);
}

void TqxDravenfold::PaintBG2(HDC DC) {
    if (!DC || !FSD || FSD->Empty) return;
    // An index outside the picture list, or an empty picture, has nothing
    // to tile with.
    TBitmap* image = FSD->GetActivePicture(FSD->BGPictureIndex);
    if (!image || image->Empty()) return PaintBGDefault(DC);
    PaintBackground(DC, image, FSD->StretchEffect, FSD->StretchType);
}

void TqxDravenfold::PaintBG3(HDC DC) {
    if (!DC || !FSD || FSD->Empty) return;
    TBitmap* image = FSD->GetActivePicture(FSD->MDIBGPictureIndex);
    if (!image || image->Empty()) return PaintBGDefault(DC);
    PaintBackground(DC, image, FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
}

void TqxDravenfold::PaintBGDefault(HDC DC) {
    if (!DC) return;
    TBorrowedCanvas canvas(DC);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()));
    if (!FLogoBitMap->Empty()) DrawLogo(canvas.get());
}

void TqxDravenfold::PaintMDIBGDefault(HDC DC) {
    if (!DC) return;
    TBorrowedCanvas canvas(DC);
    canvas->Brush()->SetColor(clAppWorkSpace);
    canvas->FillRect(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()));
    if (!FLogoBitMap->Empty()) DrawLogo(canvas.get());
}

void TqxDravenfold::DrawLogo(TCanvas* Canvas) {
    const Integer x = std::max(FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2, 0);
    const Integer y = std::max(FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2, 0);
    if (FLogoBitMap->Transparent() != FLogoBitMapTransparent) FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
    Canvas->Draw(x, y, FLogoBitMap.get());
}
