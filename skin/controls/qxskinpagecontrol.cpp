#include "skin/controls/qxskinpagecontrol.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr TColor DefaultSelectedFill = TColor(0xE4BCA2);

const TRect& Or(const TRect& ARect, const TRect& AFallback) {
    return IsRectDegenerate(ARect) ? AFallback : ARect;
}

// The tab images turned through the effect image: a quarter turn
// anticlockwise (the top edge becomes the left), clockwise, upside down.
std::unique_ptr<TqxEffectBmp> Effect(TBitmap* ABitmap) {
    return TqxEffectBmp::CreateFromhWnd(ABitmap->Handle());
}

void Store(TBitmap* ABitmap, const TqxEffectBmp& AImage) {
    ABitmap->SetSize(AImage.Width(), AImage.Height());
    AImage.Draw(ABitmap->Canvas()->Handle(), 0, 0);
}

void RotateBitmapLeft(TBitmap* ABitmap) {
    const auto source = Effect(ABitmap);
    TqxEffectBmp turned(source->Height(), source->Width());
    source->Rotate90_1(&turned);
    Store(ABitmap, turned);
}

void RotateBitmapRight(TBitmap* ABitmap) {
    const auto source = Effect(ABitmap);
    TqxEffectBmp turned(source->Height(), source->Width());
    source->Rotate90_2(&turned);
    Store(ABitmap, turned);
}

void FlipBitmapVert(TBitmap* ABitmap) {
    const auto source = Effect(ABitmap);
    TqxEffectBmp flipped(source->Width(), source->Height());
    source->FlipVert(&flipped);
    Store(ABitmap, flipped);
}

void DrawBitmapRotated(TCanvas* ACanvas, TBitmap* ABitmap, Integer X, Integer Y, bool ALeft) {
    TBitmap copy;
    copy.Assign(ABitmap);
    if (ALeft)
        RotateBitmapLeft(&copy);
    else
        RotateBitmapRight(&copy);
    ACanvas->Draw(X, Y, &copy);
}

bool Inside(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

}  // namespace

// TqxSkinCustomTabSheet

TqxSkinCustomTabSheet::TqxSkinCustomTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), FWallPaper(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csNoDesignVisible});
}

TqxSkinCustomTabSheet::~TqxSkinCustomTabSheet() {
    SetPageControl(nullptr);
}

void TqxSkinCustomTabSheet::SetWallPaper(TBitmap* AValue) {
    FWallPaper->Assign(AValue);
    if (ComponentState().Contains(csDesigning)) Invalidate();
}

TqxSkinPageControl* TqxSkinCustomTabSheet::SkinPageControl() const {
    return dynamic_cast<TqxSkinPageControl*>(PageControl());
}

void TqxSkinCustomTabSheet::CreateParams(TCreateParams& AParams) {
    TTabSheet::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

void TqxSkinCustomTabSheet::PaintBG(HDC ADC) {
    TqxSkinPageControl* control = SkinPageControl();
    if (Width() < 1 || Height() < 1 || !Parent()) return;
    TCanvas canvas;
    canvas.SetHandle(ADC);
    const TRect whole = Rect(0, 0, Width(), Height());
    if (control) control->GetSkinData();
    if (!FWallPaper->Empty()) {
        DrawSkinPiece(&canvas, FWallPaper.get(), whole, false, qxstFull);
    } else if (!control || control->FIndex == -1 || !control->Picture) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(whole);
    } else if (TBitmap* picture = control->BGPictureIndex != -1
                                      ? control->SkinData()->GetActivePicture(control->BGPictureIndex)
                                      : nullptr) {
        const bool stretch = control->StretchEffect;
        const TqxStretchType type = control->StretchType;
        DrawSkinPiece(&canvas, picture, whole, stretch, type);
    } else {
        control->PaintSkinBackground(&canvas, whole, control->Width(), control->Height());
    }
    canvas.SetHandle(nullptr);
}

void TqxSkinCustomTabSheet::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            PaintBG(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        case SKINMSG_PAINTTODC:
            AMessage.Result = SKINMSG_ANSWER_PAINTED;
            return;
        case WM_SIZE: {
            TTabSheet::Dispatch(AMessage);
            Invalidate();
            TqxSkinPageControl* control = SkinPageControl();
            if (!control || !control->SkinData() || control->SkinData()->Empty || !control->StretchEffect)
                return;
            for (Integer i = 0; i < ControlCount(); ++i)
                if (auto* child = dynamic_cast<TWinControl*>(Controls(i)))
                    if (child->HandleAllocated()) SendMessageW(child->Handle(), SKINMSG_PARENTBG, 0, 0);
            return;
        }
        default:
            TTabSheet::Dispatch(AMessage);
    }
}

// TqxSkinPageControl

TqxSkinPageControl::TqxSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner),
      FTempImages(new TCustomImageList(1, 1, this)),
      FDefaultFont(std::make_unique<TFont>()) {
    for (TFont* font : {FDefaultFont.get(), Font()}) {
        font->SetName(u"Tahoma");
        font->SetHeight(13);
        font->SetColor(clBtnText);
        font->SetStyle({});
    }
    SetTabStop(true);
    // The reserve list keeps room in every tab for the image and the close button.
    Perform(TCM_SETIMAGELIST, 0, LPARAM(FTempImages->Handle()));
}

TqxSkinPageControl::~TqxSkinPageControl() {
    FreeScroller();
}

void TqxSkinPageControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TPageControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
        Picture = nullptr;
    }
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
}

// Properties.

void TqxSkinPageControl::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TqxSkinPageControl::ResizeReserve(Integer ADelta) {
    if (Sideways())
        FTempImages->SetHeight(std::max(1, FTempImages->Height() + ADelta));
    else
        FTempImages->SetWidth(std::max(1, FTempImages->Width() + ADelta));
    Perform(TCM_SETIMAGELIST, 0, LPARAM(FTempImages->Handle()));
}

void TqxSkinPageControl::SetShowCloseButtons(bool AValue) {
    if (AValue == FShowCloseButtons) return;
    FShowCloseButtons = AValue;
    ResizeReserve(AValue ? FCloseSize : -FCloseSize);
    Invalidate();
}

void TqxSkinPageControl::SetImages(TCustomImageList* AValue) {
    const auto length = [this](TCustomImageList* AList) {
        return AList ? (Sideways() ? AList->Height() : AList->Width()) : 0;
    };
    const Integer delta = length(AValue) - length(FImages);
    SetReference(this, FImages, AValue);
    if (delta != 0) ResizeReserve(delta);
    Invalidate();
}

void TqxSkinPageControl::SetTabsInCenter(bool AValue) {
    FTabsInCenter = AValue && TabWidth() != 0;
    if (FTabsInCenter) {
        SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TqxSkinPageControl::SetTabsOffset(Integer AValue) {
    FTabsOffset = AValue;
    if (AValue > 0) {
        SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TqxSkinPageControl::SetDefaultItemHeight(Integer AValue) {
    FDefaultItemHeight = AValue;
    if (FIndex != -1) return;
    ApplyItemSize();
    RefreshScrollerPosition();
    Realign();
}

void TqxSkinPageControl::SetTabLayout(TqxButtonLayout AValue) {
    if (AValue == FTabLayout) return;
    FTabLayout = AValue;
    Repaint();
}

void TqxSkinPageControl::SetTabSpacing(Integer AValue) {
    if (AValue == FTabSpacing) return;
    FTabSpacing = AValue;
    Repaint();
}

void TqxSkinPageControl::SetTabMargin(Integer AValue) {
    if (AValue == FTabMargin || AValue < -1) return;
    FTabMargin = AValue;
    Repaint();
}

void TqxSkinPageControl::SetTextInHorizontal(bool AValue) {
    FTextInHorizontal = AValue;
    Invalidate();
}

void TqxSkinPageControl::SetTabExtededDraw(bool AValue) {
    FTabExtendedDraw = AValue;
    Invalidate();
}

void TqxSkinPageControl::SetTabsBGTransparent(bool AValue) {
    FTabsBGTransparent = AValue;
    Invalidate();
}

// The skin.

void TqxSkinPageControl::GetSkinData() {
    BGPictureIndex = -1;
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    const auto* e =
        FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinTabControl*>(FSD->CtrlList[FIndex]);
    if (!e) {
        if (FIndex != -1) FIndex = -1;
        Picture = nullptr;
        return;
    }
    Picture = FSD->GetActivePicture(e->PictureIndex);
    SkinRect = e->SkinRect;
    ClRect = e->ClRect;
    TabRect = e->TabRect;
    ActiveTabRect = Or(e->ActiveTabRect, e->TabRect);
    FocusTabRect = Or(e->FocusTabRect, ActiveTabRect);
    MouseInTabRect = e->MouseInTabRect;
    TabsBGRect = e->TabsBGRect;
    LTPoint = e->LTPoint;
    RTPoint = e->RTPoint;
    LBPoint = e->LBPoint;
    RBPoint = e->RBPoint;
    TabLeftOffset = e->TabLeftOffset;
    TabRightOffset = e->TabRightOffset;
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    FontColor = e->FontColor;
    ActiveFontColor = e->ActiveFontColor;
    FocusFontColor = e->FocusFontColor;
    MouseInFontColor = e->MouseInFontColor;
    UpDown = e->UpDown;
    BGPictureIndex = e->BGPictureIndex;
    TabStretchEffect = e->TabStretchEffect;
    ShowFocus = e->ShowFocus;
    FocusOffsetX = e->FocusOffsetX;
    FocusOffsetY = e->FocusOffsetY;
    StretchEffect = e->StretchEffect;
    LeftStretch = e->LeftStretch;
    TopStretch = e->TopStretch;
    RightStretch = e->RightStretch;
    BottomStretch = e->BottomStretch;
    StretchType = e->StretchType;
    CloseButtonRect = e->CloseButtonRect;
    ClosebuttonActiveRect = Or(e->CloseButtonActiveRect, e->CloseButtonRect);
    CloseButtonDownRect = Or(e->CloseButtonDownRect, ClosebuttonActiveRect);
    ButtonTransparent = e->ButtonTransparent;
    ButtonTransparentColor = e->ButtonTransparentColor;
    TabLeftBottomActiveRect = e->TabLeftBottomActiveRect;
    TabLeftBottomFocusRect = Or(e->TabLeftBottomFocusRect, e->TabLeftBottomActiveRect);
}

void TqxSkinPageControl::ApplyItemSize() {
    const Integer height = TabHeight() > 0 ? TabHeight()
                           : FIndex == -1  ? FDefaultItemHeight
                                           : TabRect.Height();
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(WORD(TabWidth()), WORD(height)));
}

void TqxSkinPageControl::PaintFailed() {
    if (FSD && FSD->RefuseControlElement(FIndex)) ChangeSkinData();
}

void TqxSkinPageControl::ChangeSkinData() {
    GetSkinData();
    if (FShowCloseButtons) {
        ResizeReserve(-FCloseSize);
        FCloseSize = FIndex != -1 && !IsRectDegenerate(CloseButtonRect) ? CloseButtonRect.Width() : 14;
        ResizeReserve(FCloseSize);
    }
    TFont* font = Font();
    font->Assign(FDefaultFont.get());
    if (FIndex != -1) {
        if (FUseSkinFont) {
            font->SetName(FontName);
            font->SetHeight(FontHeight);
            font->SetStyle(FontStyle);
        }
        font->SetColor(FontColor);
    }
    if (FSD && FSD->ResourceStrData()) font->SetCharset(FSD->ResourceStrData()->CharSet());
    ApplyItemSize();
    RefreshScrollerPosition();
    Invalidate();
    Realign();
    FreeScroller();
    UpdateScroller();
    if (ActivePage()) ActivePage()->Invalidate();
}

void TqxSkinPageControl::Loaded() {
    TPageControl::Loaded();
    GetSkinData();
    if (FIndex != -1) return;
    ApplyItemSize();
    RefreshScrollerPosition();
    Realign();
}

void TqxSkinPageControl::Change() {
    RefreshScrollerPosition();
    TPageControl::Change();
    Invalidate();
    if (ActivePage()) ActivePage()->Invalidate();
}

// Hiding the tabs and the border.

void TqxSkinPageControl::HideTabs() {
    if (FHideTabs || VisibleTabs().empty()) return;
    FOldTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    FHideTabs = true;
    if (Sideways()) SetTabPosition(tpTop);
    SetMultiLine(false);
    FOldTabHeight = TabHeight();
    SetTabHeight(1);
    FreeScroller();
}

void TqxSkinPageControl::ShowTabs() {
    if (!FHideTabs) return;
    SetTabPosition(FOldTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(FOldTabHeight);
    GetSkinData();
    if (TabHeight() <= 0 && FIndex != -1) ApplyItemSize();
    FOldTabHeight = -1;
    if (!MultiLine()) UpdateScroller();
}

void TqxSkinPageControl::HideBorderAndTabs() {
    SetTabPosition(tpTop);
    FHideTabs = true;
    FHideBorder = true;
    FreeScroller();
    Realign();
}

void TqxSkinPageControl::ShowBorderAndTabs() {
    FHideBorder = false;
    // ShowTabs restores what HideTabs saved, when it did.
    if (FOldTabHeight != -1) {
        ShowTabs();
    } else {
        FHideTabs = false;
    }
    Realign();
}

void TqxSkinPageControl::UpDateTabs() {
    ApplyItemSize();
    if (MultiLine()) FreeScroller();
    Realign();
}

// Geometry.

std::vector<TqxSkinPageControl::TVisibleTab> TqxSkinPageControl::VisibleTabs() {
    std::vector<TVisibleTab> tabs;
    for (Integer i = 0; i < PageCount(); ++i) {
        TTabSheet* page = Pages(i);
        if (!page->TabVisible()) continue;
        const Integer tab = page->TabIndex();
        tabs.push_back({dynamic_cast<TqxSkinCustomTabSheet*>(page), tab, TPageControl::TabRect(tab)});
    }
    return tabs;
}

TqxSkinCustomTabSheet* TqxSkinPageControl::SheetOfPage(Integer APageIndex) const {
    return APageIndex >= 0 && APageIndex < PageCount()
               ? dynamic_cast<TqxSkinCustomTabSheet*>(Pages(APageIndex))
               : nullptr;
}

Integer TqxSkinPageControl::TabStart() {
    if (FTabsOffset > 0) return FTabsOffset;
    if (TabWidth() <= 0) return 0;
    Integer total = 0;
    for (Integer i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible()) total += TabWidth();
    return std::max(0, Width() / 2 - total / 2);
}

TRect TqxSkinPageControl::SkinBorders() const {
    return Rect(ClRect.Left, ClRect.Top, SkinRect.Width() - ClRect.Right, SkinRect.Height() - ClRect.Bottom);
}

void TqxSkinPageControl::CorrectItemRect(RECT& R) {
    if (Style() != tsTabs) return;
    switch (TabPosition()) {
        case tpTop:
            if (!MultiLine()) {
                R.left -= 2;
                R.right -= 2;
            }
            R.top -= 2;
            R.bottom -= 2;
            if (FTabsInCenter || FTabsOffset > 0) {
                const Integer start = TabStart();
                R.left += start;
                R.right += start;
            }
            break;
        case tpBottom:
            if (!MultiLine()) {
                R.left -= 2;
                R.right -= 2;
            }
            R.top += 2;
            R.bottom += 2;
            break;
        case tpLeft:
            R.left -= 2;
            R.right -= 2;
            break;
        case tpRight:
            R.left += 2;
            R.right += 2;
            break;
    }
}

void TqxSkinPageControl::CorrectDisplayRect(RECT& R) {
    if (FHideBorder) {
        R = RECT{0, -2, Width(), Height()};
        return;
    }
    GetSkinData();
    const TRect c = ClientRect();
    const Integer cw = c.Width(), ch = c.Height();
    const bool skinned = FIndex != -1;
    const TRect b = skinned ? SkinBorders() : TRect{};
    switch (TabPosition()) {
        case tpTop:
            if (skinned) {
                R = RECT{b.Left, R.top + b.Top - 6, cw - b.Right, ch - b.Bottom};
            } else {
                R = RECT{1, R.top - 5, cw - 1, ch - 1};
            }
            if (FHideTabs) R.top -= 1;
            break;
        case tpBottom:
            if (skinned) {
                R = RECT{b.Left, R.top + b.Top - 4, cw - b.Right, R.bottom - b.Bottom + 4};
                if (FHideTabs) R.bottom += 1;
            } else {
                R = RECT{1, 1, cw - 1, R.bottom + 3};
            }
            break;
        case tpLeft:
            if (skinned)
                R = RECT{R.left + b.Left - 4, R.top + b.Top - 4, cw - b.Right, ch - b.Bottom};
            else
                R = RECT{R.left - 3, R.top - 5, cw - 1, ch - 1};
            if (FHideTabs) R.left -= 1;
            break;
        case tpRight:
            if (skinned)
                R = RECT{b.Left, R.top + b.Top - 4, R.right - b.Right + 4, ch - b.Bottom};
            else
                R = RECT{R.left - 3, R.top - 5, R.right + 3, ch - 1};
            if (FHideTabs) R.right += 1;
            break;
    }
}

TRect TqxSkinPageControl::DisplayRect() {
    RECT r = ToRECT(ClientRect());
    Perform(TCM_ADJUSTRECT, FALSE, LPARAM(&r));
    return ToTRect(r);
}

TRect TqxSkinPageControl::FrameRect() {
    const TRect d = DisplayRect(), b = SkinBorders();
    return Rect(d.Left - b.Left, d.Top - b.Top, d.Right + b.Right, d.Bottom + b.Bottom);
}

TRect TqxSkinPageControl::SelectedExtended(const TRect& R) {
    const Integer grow = std::max(0, ActiveTabRect.Height() - TabRect.Height());
    switch (TabPosition()) {
        case tpTop:
            return Rect(R.Left, R.Top, R.Right, R.Bottom + grow);
        case tpBottom:
            return Rect(R.Left, R.Top - grow, R.Right, R.Bottom);
        case tpLeft:
            return Rect(R.Left, R.Top, R.Right + grow, R.Bottom);
        case tpRight:
            return Rect(R.Left - grow, R.Top, R.Right, R.Bottom);
    }
    return R;
}

// Painting.

void TqxSkinPageControl::PaintSkinBackground(TCanvas* ACanvas, const TRect& AArea, Integer AWidth,
                                             Integer AHeight) {
    TBitmap piece;
    CopySkinPiece(Picture, Moved(ClRect, SkinRect.Left, SkinRect.Top), &piece);
    if (!StretchEffect) return DrawSkinPiece(ACanvas, &piece, AArea, false, qxstFull);
    const TRect whole = Rect(0, 0, AWidth, AHeight);
    DrawSkinPiece(ACanvas, &piece, StretchType == qxstFull ? whole : AArea, true, StretchType);
}

void TqxSkinPageControl::PaintFrame(TCanvas* ACanvas) {
    const TRect f = FrameRect();
    const Integer dw = f.Width() - SkinRect.Width(), dh = f.Height() - SkinRect.Height();
    TBitmap left, top, right, bottom;
    BuildBorderStrips(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, Point(RTPoint.X + dw, RTPoint.Y),
                      Point(LBPoint.X, LBPoint.Y + dh), Point(RBPoint.X + dw, RBPoint.Y + dh),
                      Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh), &left, &top,
                      &right, &bottom, Picture, SkinRect, f.Width(), f.Height(), LeftStretch, TopStretch,
                      RightStretch, BottomStretch);
    const HDC dc = ACanvas->Handle();
    const int saved = SaveDC(dc);
    TTabSheet* active = ActivePage();
    if (active && active->TabVisible() && !FHideTabs && Style() == tsTabs) {
        const TRect s = SelectedExtended(TPageControl::TabRect(active->TabIndex()));
        ExcludeClipRect(dc, s.Left, s.Top, s.Right, s.Bottom);
    }
    ACanvas->Draw(f.Left, f.Top, &top);
    ACanvas->Draw(f.Left, f.Top + top.Height(), &left);
    ACanvas->Draw(f.Right - right.Width(), f.Top + top.Height(), &right);
    ACanvas->Draw(f.Left, f.Bottom - bottom.Height(), &bottom);
    RestoreDC(dc, saved);
}

void TqxSkinPageControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TCanvas* canvas = Canvas();
    const HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    if (FIndex == -1 || !Picture) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(ClientRect());
        if (!FHideBorder) {
            const TRect d = DisplayRect();
            canvas->Brush()->SetColor(clBtnShadow);
            canvas->FrameRect(Rect(d.Left - 1, d.Top - 1, d.Right + 1, d.Bottom + 1));
        }
    } else if (!FHideBorder) {
        PaintFrame(canvas);
    }
    RestoreDC(dc, saved);
    DrawTabs(canvas);
}

void TqxSkinPageControl::DrawTabs(TCanvas* ACanvas) {
    if (FHideTabs || PageCount() == 0) return;
    const std::vector<TVisibleTab> tabs = VisibleTabs();
    TTabSheet* active = ActivePage();
    const Integer selected = active ? active->PageIndex() : -1;
    const auto pageOf = [&](const TVisibleTab& T) {
        for (Integer i = 0; i < PageCount(); ++i)
            if (Pages(i)->TabIndex() == T.Tab) return i;
        return -1;
    };
    if (FIndex == -1 || !Picture) {
        for (const TVisibleTab& t : tabs) {
            const Integer p = pageOf(t);
            DrawTab(p, t.R, ACanvas, p == FActiveTab, p == selected);
        }
        return;
    }
    const TRect f = FrameRect();
    TRect area;
    switch (TabPosition()) {
        case tpTop:
            area = Rect(0, 0, Width(), f.Top);
            break;
        case tpBottom:
            area = Rect(0, f.Bottom, Width(), Height());
            break;
        case tpLeft:
            area = Rect(0, 0, f.Left, f.Bottom);
            break;
        case tpRight:
            area = Rect(f.Right, 0, Width(), Height());
            break;
    }
    const Integer sw = TabPosition() == tpLeft    ? f.Left
                       : TabPosition() == tpRight ? Width() - f.Right
                                                  : Width();
    const Integer sh = TabPosition() == tpTop      ? f.Top
                       : TabPosition() == tpBottom ? Height() - f.Bottom
                                                   : Height();
    if (sw > 0 && sh > 0) {
        TBitmap strip;
        strip.SetSize(sw, sh);
        if (FTabsBGTransparent) {
            PaintParentBackgroundRect(this, area, strip.Canvas());
        } else {
            TBitmap background;
            CopySkinPiece(
                Picture,
                IsRectDegenerate(TabsBGRect) ? Moved(ClRect, SkinRect.Left, SkinRect.Top) : TabsBGRect,
                &background);
            DrawSkinPiece(strip.Canvas(), &background, Rect(0, 0, sw, sh), false, qxstFull);
        }
        const Integer dx = TabPosition() == tpRight ? -f.Right : 0,
                      dy = TabPosition() == tpBottom ? -f.Bottom : 0;
        for (const TVisibleTab& t : tabs) {
            const Integer p = pageOf(t);
            if (p != selected) DrawTab(p, Moved(t.R, dx, dy), strip.Canvas(), p == FActiveTab, false);
        }
        const HDC dc = ACanvas->Handle();
        const int saved = SaveDC(dc);
        if (active && active->TabVisible()) {
            const TRect s = SelectedExtended(TPageControl::TabRect(active->TabIndex()));
            ExcludeClipRect(dc, s.Left, s.Top, s.Right, s.Bottom);
        }
        ACanvas->Draw(TabPosition() == tpRight ? Width() - sw : 0,
                      TabPosition() == tpBottom ? Height() - sh : 0, &strip);
        RestoreDC(dc, saved);
    }
    if (!active || !active->TabVisible()) return;
    TRect r = TPageControl::TabRect(active->TabIndex());
    const Integer difference = ActiveTabRect.Height() - TabRect.Height();
    if (difference != 0 && Style() == tsTabs) {
        if (TabPosition() == tpBottom) r = Moved(r, 0, -difference);
        if (TabPosition() == tpRight) r = Moved(r, -difference, 0);
    }
    DrawTab(selected, r, ACanvas, selected == FActiveTab, true);
}

void TqxSkinPageControl::DrawTabImageAndText(TCanvas* ACanvas, Integer AWidth, Integer AHeight,
                                             const String& AText, Integer AImageIndex, bool AEnabled,
                                             Integer AShift) {
    TRect measure = Rect(0, 0, 0, 0);
    if (!AText.empty()) SkinDrawText(ACanvas, AText, measure, DT_CALCRECT | DT_SINGLELINE);
    const Integer tw = AText.empty() ? 0 : measure.Width() + 2, th = measure.Height();
    const Integer iw = FImages->Width(), ih = FImages->Height();
    const Integer x0 = AWidth / 2 - (tw + iw + 2) / 2;
    FImages->Draw(ACanvas, x0, AHeight / 2 + AShift - ih / 2, AImageIndex, AEnabled);
    SkinDrawText(ACanvas, AText, Bounds(x0 + iw + 2, AHeight / 2 + AShift - th / 2, tw, th),
                 DT_CENTER | DT_SINGLELINE);
}

void TqxSkinPageControl::DrawCloseButton(TCanvas* ACanvas, const TRect& AArea, TqxSkinCustomTabSheet* ASheet,
                                         Integer AWidth, Integer AHeight, bool ASideways) {
    if (!ASheet) return;
    const bool hot = ASheet->ButtonMouseIn, pressed = ASheet->ButtonMouseDown && hot;
    TRect button;
    if (FIndex == -1 || !Picture) {
        button = Bounds(AArea.Left, AArea.Top + (AArea.Height() - 14) / 2, 14, 14);
        if (hot) FillDefaultFace(ACanvas, button, DefaultFrame, pressed ? DefaultFrame : DefaultSelectedFill);
        DrawCloseGlyph(ACanvas, button.Left + 2, button.Top + 2, hot ? clWhite : clBlack);
    } else if (IsRectDegenerate(CloseButtonRect)) {
        const Integer index = FSD->GetControlIndex(u"resizetoolbutton");
        const auto* e =
            index == -1 ? nullptr : dynamic_cast<const TqxDataSkinButtonControl*>(FSD->CtrlList[index]);
        if (!e) return;
        TqxSkinGeometry g;
        CopyElementGeometry(g, *e);
        TqxButtonElementCopy states;
        CopyButtonElement(states, *e);
        TBitmap face;
        BuildNinePartFace(g, &face, FSD->GetActivePicture(e->PictureIndex),
                          pressed ? states.DownSkinRect
                          : hot   ? states.ActiveSkinRect
                                  : g.SkinRect,
                          FCloseSize, FCloseSize);
        DrawCloseGlyph(face.Canvas(), FCloseSize / 2 - 5, FCloseSize / 2 - 5,
                       pressed ? states.DownFontColor
                       : hot   ? states.ActiveFontColor
                               : states.FontColor);
        button = Bounds(AArea.Left, AArea.Top + (AArea.Height() - FCloseSize) / 2, FCloseSize, FCloseSize);
        ACanvas->Draw(button.Left, button.Top, &face);
    } else {
        const TRect& source = pressed ? CloseButtonDownRect : hot ? ClosebuttonActiveRect : CloseButtonRect;
        TBitmap face;
        CopySkinPiece(Picture, source, &face);
        if (ButtonTransparent) {
            face.SetTransparentColor(ButtonTransparentColor);
            face.SetTransparent(true);
        }
        button = Bounds(AArea.Left, AArea.Top + (AArea.Height() - source.Height()) / 2, source.Width(),
                        source.Height());
        ACanvas->Draw(button.Left, button.Top, &face);
    }
    const TRect& b = button;
    if (ASideways && !FTextInHorizontal && TabPosition() == tpLeft)
        ASheet->ButtonRect = Rect(b.Top, AWidth - b.Right, b.Bottom, AWidth - b.Left);
    else if (ASideways && !FTextInHorizontal)
        ASheet->ButtonRect = Rect(AHeight - b.Bottom, b.Left, AHeight - b.Top, b.Right);
    else
        ASheet->ButtonRect = b;
}

void TqxSkinPageControl::DrawTab(Integer APageIndex, const TRect& ARect, TCanvas* ACanvas, bool AHot,
                                 bool ASelected) {
    if (APageIndex < 0) return;
    TTabSheet* page = Pages(APageIndex);
    TqxSkinCustomTabSheet* sheet = SheetOfPage(APageIndex);
    const bool sideways = Sideways();
    const bool skinned = FIndex != -1 && Picture;
    const bool focused = Focused();
    const Integer w = sideways ? ARect.Height() : ARect.Width(),
                  h = sideways ? ARect.Width() : ARect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TColor text = Font()->Color();
    if (!skinned) {
        TCanvas* c = bitmap.Canvas();
        const TRect all = Rect(0, 0, w, h);
        if (AHot && !ASelected)
            FillDefaultFace(c, all, clNone, DefaultHoverFill);
        else if (ASelected)
            FillDefaultFace(c, all, DefaultFrame, focused ? DefaultSelectedFill : DefaultHoverFill);
        else
            FillDefaultFace(c, all, clNone, clBtnFace);
    } else if (Style() != tsTabs) {
        const Integer index = FSD->GetControlIndex(FButtonTabSkinDataName);
        const auto* e =
            index == -1 ? nullptr : dynamic_cast<const TqxDataSkinButtonControl*>(FSD->CtrlList[index]);
        if (e) {
            TqxSkinGeometry g;
            CopyElementGeometry(g, *e);
            TqxButtonElementCopy states;
            CopyButtonElement(states, *e);
            BuildNinePartFace(g, &bitmap, FSD->GetActivePicture(e->PictureIndex),
                              ASelected ? states.DownSkinRect
                              : AHot    ? states.ActiveSkinRect
                                        : g.SkinRect,
                              w, h);
            text = ASelected ? states.DownFontColor : AHot ? states.ActiveFontColor : states.FontColor;
        }
    } else {
        const TRect& source = AHot && !ASelected && !IsRectDegenerate(MouseInTabRect) ? MouseInTabRect
                              : ASelected && focused                                  ? FocusTabRect
                              : !ASelected                                            ? TabRect
                                                                                      : ActiveTabRect;
        if (TabHeight() > 0) {
            Integer grow = 0;
            if (ASelected) {
                grow = ActiveTabRect.Height() - TabRect.Height();
                if (grow <= 0 && focused) grow = FocusTabRect.Height() - TabRect.Height();
                grow = std::max(0, grow);
            }
            bitmap.SetSize(w, h + grow);
            const Integer m = TabRect.Height() / 4;
            BuildStretchedSkinImage(
                &bitmap, Picture, source,
                Rect(TabLeftOffset, m, source.Width() - TabRightOffset, source.Height() - m), true);
        } else {
            BuildHorzThreePartImage(TabLeftOffset, TabRightOffset, &bitmap, Picture, source, w,
                                    source.Height(), TabStretchEffect);
        }
        const TRect& corner = focused ? TabLeftBottomFocusRect : TabLeftBottomActiveRect;
        if (ASelected && ARect.Left == 0 && !IsRectDegenerate(TabLeftBottomActiveRect) && !MultiLine() &&
            !sideways)
            bitmap.Canvas()->CopyRect(
                Bounds(0, bitmap.Height() - corner.Height(), corner.Width(), corner.Height()),
                Picture->Canvas(), corner);
    }
    if (skinned) {
        if (TabPosition() == tpBottom) FlipBitmapVert(&bitmap);
        if (Style() == tsTabs)
            text = AHot && !ASelected     ? MouseInFontColor
                   : ASelected && focused ? FocusFontColor
                   : !ASelected           ? FontColor
                                          : ActiveFontColor;
    }
    const bool turned = sideways && FTextInHorizontal;
    if (turned) {
        if (TabPosition() == tpLeft)
            RotateBitmapLeft(&bitmap);
        else
            RotateBitmapRight(&bitmap);
    }
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->Assign(Font());
    if (skinned && !FUseSkinFont) canvas->Font()->Assign(FDefaultFont.get());
    if (FSD && FSD->ResourceStrData()) canvas->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    canvas->Font()->SetColor(text);
    canvas->Brush()->SetStyle(bsClear);
    TRect content = Rect(0, 0, bitmap.Width(), bitmap.Height());
    if (skinned && ShowFocus && focused && ASelected) {
        canvas->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
        DrawSkinFocusRect(canvas, Rect(content.Left + FocusOffsetX, content.Top + FocusOffsetY,
                                       content.Right - FocusOffsetX, content.Bottom - FocusOffsetY));
        canvas->Brush()->SetStyle(bsClear);
    }
    Integer shift = 0;
    if (skinned && !ASelected && TabRect.Height() != ActiveTabRect.Height())
        shift = TabPosition() == tpTop || TabPosition() == tpLeft ? 2 : -2;
    content = Moved(content, 0, shift);
    const Integer c = FShowCloseButtons ? FCloseSize + 2 : 0;
    const Integer reduction = skinned ? c + 3 : c;
    const bool image = FImages && page->ImageIndex() >= 0 && page->ImageIndex() < FImages->Count();
    if (OnDrawSkinTab) {
        OnDrawSkinTab(APageIndex, Rect(0, 0, bitmap.Width(), bitmap.Height()), ASelected, AHot, canvas);
    } else if (image || FTabExtendedDraw) {
        if (FTabExtendedDraw)
            DrawImageAndText(canvas, Rect(content.Left, content.Top, content.Right - c, content.Bottom),
                             FTabMargin, FTabSpacing, FTabLayout, page->Caption(), page->ImageIndex(),
                             FImages, false, page->Enabled(), false, clNone);
        else
            DrawTabImageAndText(canvas, content.Width() - c, bitmap.Height(), page->Caption(),
                                page->ImageIndex(), page->Enabled(), shift);
    } else {
        SkinDrawText(canvas, page->Caption(),
                     Rect(content.Left, content.Top, content.Right - reduction, content.Bottom),
                     DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    if (FShowCloseButtons && sheet) {
        if (!AHot) sheet->ButtonMouseIn = false;
        DrawCloseButton(canvas, Rect(content.Right - reduction, content.Top, bitmap.Width(), content.Bottom),
                        sheet, bitmap.Width(), bitmap.Height(), sideways);
    }
    if (sideways && !FTextInHorizontal)
        DrawBitmapRotated(ACanvas, &bitmap, ARect.Left, ARect.Top, TabPosition() == tpLeft);
    else
        ACanvas->Draw(ARect.Left, ARect.Top, &bitmap);
}

// Hot tracking and close buttons.

void TqxSkinPageControl::RedrawStrip() {
    Repaint();
}

TPoint TqxSkinPageControl::TabPoint(Integer X, Integer Y, const TVisibleTab& ATab) const {
    return Point(X - ATab.R.Left, Y - ATab.R.Top);
}

void TqxSkinPageControl::HotTrack(Integer X, Integer Y) {
    FOldActiveTab = FActiveTab;
    FOldActiveTabIndex = FActiveTabIndex;
    FActiveTab = FActiveTabIndex = -1;
    const std::vector<TVisibleTab> tabs = VisibleTabs();
    for (const TVisibleTab& t : tabs)
        if (Inside(t.R, Point(X, Y))) {
            FActiveTabIndex = t.Tab;
            for (Integer i = 0; i < PageCount(); ++i)
                if (Pages(i)->TabIndex() == t.Tab) FActiveTab = i;
        }
    const Integer selected = ActivePage() ? ActivePage()->PageIndex() : -1;
    if (FActiveTab != FOldActiveTab) {
        if (TqxSkinCustomTabSheet* old = SheetOfPage(FOldActiveTab))
            old->ButtonMouseIn = old->ButtonMouseDown = false;
        if ((FOldActiveTab != -1 && FOldActiveTab != selected) ||
            (FActiveTab != -1 && FActiveTab != selected))
            RedrawStrip();
    }
    TqxSkinCustomTabSheet* sheet = SheetOfPage(FActiveTab);
    if (!FShowCloseButtons || !sheet) return;
    const TRect tab = TPageControl::TabRect(FActiveTabIndex);
    const bool over = Inside(Moved(sheet->ButtonRect, tab.Left, tab.Top), Point(X, Y));
    if (over && !sheet->ButtonMouseIn) {
        sheet->ButtonMouseIn = true;
        RedrawStrip();
    } else if (!over && sheet->ButtonMouseIn) {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
        RedrawStrip();
    }
}

void TqxSkinPageControl::ResetHotTabs() {
    FActiveTab = FActiveTabIndex = FOldActiveTab = FOldActiveTabIndex = -1;
}

void TqxSkinPageControl::CloseActivePage() {
    TTabSheet* page = ActivePage();
    if (!page) return;
    bool canClose = true;
    if (OnClose) OnClose(page, canClose);
    if (!canClose) {
        POINT cursor;
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) != Handle())
            if (auto* sheet = dynamic_cast<TqxSkinCustomTabSheet*>(page)) {
                sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
                RedrawStrip();
            }
        return;
    }
    page->SetTabVisible(false);
    if (FFreeOnClose) Free(page);
    // The hot tab's indexes may point past the last page or at another now.
    ResetHotTabs();
    if (OnAfterClose) OnAfterClose(this);
    Invalidate();
}

void TqxSkinPageControl::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TPageControl::MouseMove(AShift, X, Y);
    if (!FHideTabs && !ComponentState().Contains(csDesigning)) HotTrack(X, Y);
}

void TqxSkinPageControl::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TPageControl::MouseDown(AButton, AShift, X, Y);
    if (FHideTabs || AButton != mbLeft) return;
    const bool shifted = FTabsInCenter || FTabsOffset > 0;
    if (!shifted) HotTrack(X, Y);
    TqxSkinCustomTabSheet* sheet = SheetOfPage(FActiveTab);
    if (!FShowCloseButtons || !sheet) return;
    const TRect tab = TPageControl::TabRect(FActiveTabIndex);
    const Integer start = shifted ? TabStart() : 0;
    if (Inside(Moved(sheet->ButtonRect, tab.Left - start, tab.Top), Point(X, Y))) {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = true;
    } else {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
    }
    RedrawStrip();
}

void TqxSkinPageControl::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TPageControl::MouseUp(AButton, AShift, X, Y);
    if (FHideTabs || AButton != mbLeft) return;
    const bool shifted = FTabsInCenter || FTabsOffset > 0;
    if (!shifted) HotTrack(X, Y);
    TqxSkinCustomTabSheet* sheet = SheetOfPage(FActiveTab);
    if (!FShowCloseButtons || !sheet) return;
    const TRect tab = TPageControl::TabRect(FActiveTabIndex);
    const Integer start = shifted ? TabStart() : 0;
    if (sheet->ButtonMouseDown && Inside(Moved(sheet->ButtonRect, tab.Left - start, tab.Top), Point(X, Y))) {
        sheet->ButtonMouseIn = true;
        sheet->ButtonMouseDown = false;
        RedrawStrip();
        CloseActivePage();
        return;
    }
    sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
    RedrawStrip();
}

// The scroller.

Integer TqxSkinPageControl::TabsScrolledLeft() {
    Integer n = 0;
    for (const TVisibleTab& t : VisibleTabs())
        if (t.R.Right <= 0) ++n;
    return n;
}

void TqxSkinPageControl::FreeScroller() {
    if (!FSkinUpDown) return;
    TqxSkinUpDown* scroller = FSkinUpDown;
    FSkinUpDown = nullptr;
    Free(scroller);
}

void TqxSkinPageControl::RefreshScrollerPosition() {
    if (FSkinUpDown) FSkinUpDown->SetPosition(TabsScrolledLeft());
}

void TqxSkinPageControl::UpdateScroller() {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    Integer n = 0;
    for (const TVisibleTab& t : VisibleTabs())
        if (t.R.Right <= 0 || t.R.Right > Width() - 3) ++n;
    if (n == 0 || MultiLine()) return FreeScroller();
    GetSkinData();
    if (!FSkinUpDown) {
        if (FHideTabs) return;
        FSkinUpDown = new TqxSkinUpDown(this);
        FSkinUpDown->SetParent(this);
        FSkinUpDown->SetBounds(0, 0, FDefaultItemHeight * 2, FDefaultItemHeight);
        FSkinUpDown->SetMin(0);
        FSkinUpDown->SetMax(n);
        FSkinUpDown->SetPosition(TabsScrolledLeft());
        FSkinUpDown->SetIncrement(1);
        FSkinUpDown->OnChange = [this](TObject* Sender) { ScrollerChanged(Sender); };
        FSkinUpDown->SetSkinDataName(FIndex != -1 ? UpDown : String());
        FSkinUpDown->SetSkinData(FSD);
        FSkinUpDown->SetVisible(true);
    }
    TqxSkinUpDown* s = FSkinUpDown;
    s->SetMax(n);
    const bool skinned = FIndex != -1;
    const TRect d = DisplayRect();
    Integer top;
    if (TabPosition() == tpTop)
        top = skinned ? std::max(0, d.Top - s->Height() - ClRect.Top) : 0;
    else
        top = skinned ? std::max(Height() - s->Height(), SkinRect.Height() + d.Bottom - ClRect.Bottom)
                      : Height() - s->Height();
    s->SetBounds(Width() - s->Width(), top, s->Width(), s->Height());
}

void TqxSkinPageControl::ScrollerChanged(TObject*) {
    if (!FSkinUpDown) return;
    Integer n = 0;
    for (const TVisibleTab& t : VisibleTabs())
        if (t.R.Right <= 0 || t.R.Right > Width() - 3) ++n;
    FSkinUpDown->SetMax(n);
    Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(FSkinUpDown->Position())), 0);
}

// Messages.

void TqxSkinPageControl::EraseBackground(TMessage& AMessage) {
    if (PageCount() > 0 && !VisibleTabs().empty()) {
        AMessage.Result = 1;
        return;
    }
    GetSkinData();
    if (FIndex == -1 || !Picture) return TPageControl::Dispatch(AMessage);
    TCanvas canvas;
    canvas.SetHandle(reinterpret_cast<HDC>(AMessage.WParam));
    const TRect whole = Rect(0, 0, Width(), Height());
    if (TBitmap* picture = BGPictureIndex != -1 ? FSD->GetActivePicture(BGPictureIndex) : nullptr)
        DrawSkinPiece(&canvas, picture, whole, StretchEffect, StretchType);
    else
        PaintSkinBackground(&canvas, whole, Width(), Height());
    canvas.SetHandle(nullptr);
    AMessage.Result = 1;
}

void TqxSkinPageControl::MouseWheel(Integer ADelta) {
    if (!FMouseWheelSupport || !Focused() || ADelta == 0) return;
    const Integer current = ActivePage() ? ActivePage()->PageIndex() : -1;
    const Integer step = ADelta < 0 ? 1 : -1;
    for (Integer i = current + step; i >= 0 && i < PageCount(); i += step) {
        if (!Pages(i)->TabVisible()) continue;
        if (!CanChange()) return;
        SetActivePage(Pages(i));
        Change();
        return;
    }
}

void TqxSkinPageControl::WndProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_NCHITTEST:
            if (FTabsInCenter || FTabsOffset > 0) {
                const Integer x = GET_X_LPARAM(AMessage.LParam) - TabStart();
                AMessage.LParam = MAKELPARAM(WORD(SHORT(x)), HIWORD(AMessage.LParam));
            }
            break;
        default:
            break;
    }
    TPageControl::WndProc(AMessage);
    switch (AMessage.Msg) {
        case TCM_GETITEMRECT:
            if (AMessage.Result && AMessage.LParam)
                CorrectItemRect(*reinterpret_cast<RECT*>(AMessage.LParam));
            break;
        case TCM_ADJUSTRECT:
            if (!AMessage.WParam && AMessage.LParam)
                CorrectDisplayRect(*reinterpret_cast<RECT*>(AMessage.LParam));
            break;
        case TCM_SETCURSEL:
            if (!ComponentState().Contains(csLoading)) Invalidate();
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (FTabsInCenter || FTabsOffset > 0) Invalidate();
            break;
        case WM_SIZE:
            if (!MultiLine() && !ComponentState().Contains(csDesigning)) UpdateScroller();
            break;
        default:
            break;
    }
}

void TqxSkinPageControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            return EraseBackground(AMessage);
        case SKINMSG_PAINTTODC:
            AMessage.Result = SKINMSG_ANSWER_PAINTED;
            return;
        case SKINMSG_PARENTBG:
            if (FTabsBGTransparent) Repaint();
            return;
        case WM_HSCROLL:
            TPageControl::Dispatch(AMessage);
            Repaint();
            return;
        case WM_MOUSEWHEEL:
            TPageControl::Dispatch(AMessage);
            MouseWheel(GET_WHEEL_DELTA_WPARAM(AMessage.WParam));
            return;
        case CM_MOUSELEAVE: {
            TPageControl::Dispatch(AMessage);
            if (FHideTabs) return;
            HotTrack(-1, -1);
            const Integer selected = ActivePage() ? ActivePage()->PageIndex() : -1;
            if (FOldActiveTab != -1 && FOldActiveTab != selected) {
                FOldActiveTab = FOldActiveTabIndex = -1;
                RedrawStrip();
            }
            return;
        }
        default:
            TPageControl::Dispatch(AMessage);
    }
}

namespace {

const auto Registered = [] {
    using P = TqxSkinPageControl;
    RegisterClass<P, TPageControl>()
        .Property(u"SkinData", &P::SkinData, &P::SetSkinData)
        .Property(u"SkinDataName", &P::SkinDataName, &P::SetSkinDataName)
        .Property(u"DefaultFont", &P::DefaultFont)
        .Property(u"UseSkinFont", &P::UseSkinFont, &P::SetUseSkinFont)
        .Property(u"DefaultItemHeight", &P::DefaultItemHeight, &P::SetDefaultItemHeight)
        .Property(u"MouseWheelSupport", &P::MouseWheelSupport, &P::SetMouseWheelSupport)
        .Property(u"TabExtededDraw", &P::TabExtededDraw, &P::SetTabExtededDraw)
        .Property(u"TabMargin", &P::TabMargin, &P::SetTabMargin)
        .Property(u"TabSpacing", &P::TabSpacing, &P::SetTabSpacing)
        .Property(u"TabLayout", &P::TabLayout, &P::SetTabLayout)
        .Property(u"TextInHorizontal", &P::TextInHorizontal, &P::SetTextInHorizontal)
        .Property(u"ShowCloseButtons", &P::ShowCloseButtons, &P::SetShowCloseButtons)
        .Property(u"FreeOnClose", &P::FreeOnClose, &P::SetFreeOnClose)
        .Property(u"TabsBGTransparent", &P::TabsBGTransparent, &P::SetTabsBGTransparent)
        .Property(u"Images", &P::Images, &P::SetImages)
        .Property(u"TabsInCenter", &P::TabsInCenter, &P::SetTabsInCenter)
        .Property(u"TabsOffset", &P::TabsOffset, &P::SetTabsOffset)
        .Property(u"ButtonTabSkinDataName", &P::ButtonTabSkinDataName, &P::SetButtonTabSkinDataName)
        .Event(u"OnClose", &P::OnClose)
        .Event(u"OnAfterClose", &P::OnAfterClose)
        .Event(u"OnDrawSkinTab", &P::OnDrawSkinTab);
    RegisterClass<TqxSkinCustomTabSheet, TTabSheet>().Property(u"WallPaper",
                                                               &TqxSkinCustomTabSheet::WallPaper);
    RegisterClass<TqxSkinTabSheet, TqxSkinCustomTabSheet>();
    return true;
}();

}  // namespace
