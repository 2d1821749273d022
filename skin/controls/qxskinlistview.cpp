#include "skin/controls/qxskinlistview.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/methods.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

// The header is always wider than the list asks, so that no gap shows at
// its right end.
constexpr Integer HeaderExtraWidth = 25;
constexpr Integer HeaderTextInset = 5;
constexpr Integer HeaderImageGap = 10;
constexpr TColor DefaultFrame = TColor(0xB76B3B);
constexpr TColor DefaultDownFill = TColor(0xE4BCA2);

}  // namespace

TqxSkinCustomListView::TqxSkinCustomListView(TComponent* AOwner)
    : TCustomListView(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    FHeaderInstance = MakeObjectInstance([this](TMessage& AMessage) { HeaderWndProc(AMessage); });
    SetFont(FDefaultFont.get());
}

TqxSkinCustomListView::~TqxSkinCustomListView() {
    ReleaseHeader();
    if (FHeaderInstance) FreeObjectInstance(FHeaderInstance);
    FHeaderInstance = nullptr;
}

// Properties.

void TqxSkinCustomListView::SetSkinData(TqxSkinData* AValue) {
    if (FSD != AValue) {
        if (FSD) FSD->RemoveFreeNotification(this);
        if (AValue) AValue->FreeNotification(this);
    }
    FSD = AValue;
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TqxSkinCustomListView::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
    if (FIndex == -1) SetFont(FDefaultFont.get());
}

void TqxSkinCustomListView::SetDefaultColor(TColor AValue) {
    FDefaultColor = AValue;
    if (FIndex == -1) SetColor(AValue);
}

void TqxSkinCustomListView::SetDrawSkin(bool AValue) {
    FDrawSkin = AValue;
    if (!AValue || ComponentState().Contains(csDesigning)) return;
    OnCustomDrawItem = TMethod<void(TCustomListView*, TListItem*, TCustomDrawState, bool&)>(
        this, &TqxSkinCustomListView::SkinCustomDrawItem);
    SetFullDrag(false);
}

void TqxSkinCustomListView::AttachBar(TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue, bool AVertical) {
    AttachExternalScrollBar(this, AField, AValue, [this, AVertical](TObject* Sender) {
        if (AVertical)
            VScrollBarChange(Sender);
        else
            HScrollBarChange(Sender);
    });
    UpDateScrollBars();
}

void TqxSkinCustomListView::SetVScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(FVScrollBar, AValue, true);
}

void TqxSkinCustomListView::SetHScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(FHScrollBar, AValue, false);
}

void TqxSkinCustomListView::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomListView::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

// The skin.

void TqxSkinCustomListView::PaintFailed() {
    if (FSD && FSD->RefuseControlElement(FIndex)) ChangeSkinData();
}

void TqxSkinCustomListView::ChangeSkinData() {
    FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        SetFont(FDefaultFont.get());
    } else if (const auto* e = dynamic_cast<const TqxDataSkinListView*>(FSD->CtrlList[FIndex])) {
        if (FUseSkinFont) {
            Font()->SetName(e->FontName);
            Font()->SetStyle(e->FontStyle);
            Font()->SetHeight(e->FontHeight);
        } else {
            SetFont(FDefaultFont.get());
        }
        Font()->SetColor(e->FontColor);
        SetColor(e->BGColor);
        // The font colour seven eighths of the way to the background.
        FLineColor = MixColors(MixColors(MixColors(e->FontColor, e->BGColor), e->BGColor), e->BGColor);
    }
    if (FSD && FSD->ResourceStrData())
        Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        Font()->SetCharset(FDefaultFont->Charset());
    UpDateScrollBars();
    for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) bar->SetAlign(bar->Align());
    if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, TRUE);
}

void TqxSkinCustomListView::Loaded() {
    FInCheckScrollBars = true;
    try {
        TCustomListView::Loaded();
    } catch (...) {
        FInCheckScrollBars = false;
        throw;
    }
    FInCheckScrollBars = false;
    ChangeSkinData();
}

void TqxSkinCustomListView::CreateParams(TCreateParams& AParams) {
    TCustomListView::CreateParams(AParams);
    AParams.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TqxSkinCustomListView::Change(TListItem* Item, TItemChange AChange) {
    TCustomListView::Change(Item, AChange);
    if (!FInCheckScrollBars) UpDateScrollBars();
}

// Messages.

void TqxSkinCustomListView::WndProc(TMessage& AMessage) {
    if (AMessage.Msg == WM_PARENTNOTIFY) {
        const auto child = reinterpret_cast<HWND>(AMessage.LParam);
        if (LOWORD(AMessage.WParam) == WM_CREATE) {
            WCHAR name[80] = {};
            GetClassNameW(child, name, 80);
            if (String(name) == u"SysHeader32" && ShowColumnHeaders()) {
                ReleaseHeader();
                SubclassHeader(child);
            }
        } else if (LOWORD(AMessage.WParam) == WM_DESTROY && child && child == FHeaderHandle) {
            // The header goes: its handle is stale from now on.
            FHeaderHandle = nullptr;
            FDefHeaderProc = nullptr;
        }
    }
    TCustomListView::WndProc(AMessage);
    switch (AMessage.Msg) {
        case WM_SIZE:
            if (!FInCheckScrollBars && Items()->Count() > 0) UpDateScrollBars();
            if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, FALSE);
            break;
        case WM_PAINT:
            if (!FInCheckScrollBars) UpDateScrollBars();
            // The common control's line under the header goes.
            if (ViewStyle() == vsReport && FHeaderHandle && (GridLines() || FDrawSkin) && HandleAllocated()) {
                RECT header;
                GetWindowRect(FHeaderHandle, &header);
                const Integer y = header.bottom - header.top;
                Canvas()->Brush()->SetStyle(bsSolid);
                Canvas()->Brush()->SetColor(Color());
                Canvas()->FillRect(Rect(0, y, Width(), y + 1));
            }
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONUP:
            UpDateScrollBars();
            break;
        default:
            break;
    }
}

void TqxSkinCustomListView::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            // No border and no native bars: nothing outside the client area.
            AMessage.Result = 0;
            return;
        case WM_NCHITTEST:
            AMessage.Result = HTCLIENT;
            return;
        case SKINMSG_PAINTTODC:
            AMessage.Result = SKINMSG_ANSWER_PAINTED;
            return;
        case SKINMSG_PAINTHEADERTODC:
            if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(AMessage.WParam));
            return;
        case CM_VISIBLECHANGED:
            TCustomListView::Dispatch(AMessage);
            for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
                if (bar) bar->SetVisible(Visible());
            return;
        default:
            TCustomListView::Dispatch(AMessage);
    }
}

// The external bars.

Integer TqxSkinCustomListView::ItemZeroHeight() {
    return Items()->Count() > 0 ? Items()->Item(0)->DisplayRect(drBounds).Height() : 0;
}

void TqxSkinCustomListView::SetBarVisible(TqxSkinScrollBar* ABar, bool AVisible, bool& AChanged) {
    if (!ABar || ABar->Visible() == AVisible) return;
    FInCheckScrollBars = true;
    try {
        ABar->SetVisible(AVisible);
    } catch (...) {
        FInCheckScrollBars = false;
        throw;
    }
    FInCheckScrollBars = false;
    AChanged = true;
}

void TqxSkinCustomListView::UpdateScrollBarsReport(bool& AChanged) {
    int minimum = 0, maximum = 0;
    if (FVScrollBar) {
        GetScrollRange(Handle(), SB_VERT, &minimum, &maximum);
        const Integer perPage = Integer(Perform(LVM_GETCOUNTPERPAGE, 0, 0));
        SetBarVisible(FVScrollBar, perPage < maximum + 1 && Visible(), AChanged);
        FVScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_VERT), perPage);
        FVScrollBar->SetSmallChange(1);
        FVScrollBar->SetLargeChange(perPage > 0 ? perPage : 1);
        FOldVScrollBarPos = FVScrollBar->Position();
    }
    if (FHScrollBar) {
        GetScrollRange(Handle(), SB_HORZ, &minimum, &maximum);
        SetBarVisible(FHScrollBar, Width() < maximum && Visible(), AChanged);
        FHScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_HORZ), Width());
        FOldHScrollBarPos = FHScrollBar->Position();
    }
}

void TqxSkinCustomListView::UpdateScrollBarsList(bool& AChanged) {
    SetBarVisible(FVScrollBar, false, AChanged);
    if (!FHScrollBar) return;
    int minimum = 0, maximum = 0;
    GetScrollRange(Handle(), SB_HORZ, &minimum, &maximum);
    const Integer perPage = Integer(Perform(LVM_GETCOUNTPERPAGE, 0, 0));
    const Integer count = Integer(Perform(LVM_GETITEMCOUNT, 0, 0));
    SetBarVisible(FHScrollBar, perPage < count && Visible(), AChanged);
    const Integer itemWidth = Items()->Count() > 0 ? Items()->Item(0)->DisplayRect(drBounds).Width() : 0;
    FHScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_HORZ),
                          Width() / (itemWidth > 0 ? itemWidth : 1));
    FHScrollBar->SetSmallChange(1);
    FHScrollBar->SetLargeChange(1);
    FOldHScrollBarPos = FHScrollBar->Position();
}

void TqxSkinCustomListView::UpdateScrollBarsIcon(bool& AChanged) {
    const Integer step = std::max(ItemZeroHeight() / 2, 1);
    int minimum = 0, maximum = 0;
    if (FVScrollBar) {
        GetScrollRange(Handle(), SB_VERT, &minimum, &maximum);
        SetBarVisible(FVScrollBar, Height() < maximum && Visible(), AChanged);
        FVScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_VERT), Height());
        FVScrollBar->SetSmallChange(step);
        FVScrollBar->SetLargeChange(step);
        FOldVScrollBarPos = FVScrollBar->Position();
    }
    if (FHScrollBar) {
        GetScrollRange(Handle(), SB_HORZ, &minimum, &maximum);
        SetBarVisible(FHScrollBar, Width() < maximum && Visible(), AChanged);
        FHScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_HORZ), Width());
        FHScrollBar->SetSmallChange(step);
        FHScrollBar->SetLargeChange(step);
        FOldHScrollBarPos = FHScrollBar->Position();
    }
}

void TqxSkinCustomListView::UpDateScrollBars() {
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5 || FInCheckScrollBars) return;
    bool changed = false;
    switch (ViewStyle()) {
        case vsReport:
            UpdateScrollBarsReport(changed);
            break;
        case vsList:
            UpdateScrollBarsList(changed);
            break;
        default:
            UpdateScrollBarsIcon(changed);
            break;
    }
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (changed && Align() != alNone && Parent()) {
        FInCheckScrollBars = true;
        try {
            TRect r = Parent()->ClientRect();
            Parent()->AlignControls(nullptr, r);
        } catch (...) {
            FInCheckScrollBars = false;
            throw;
        }
        FInCheckScrollBars = false;
    }
}

void TqxSkinCustomListView::VScrollBarChange(TObject*) {
    if (!FVScrollBar) return;
    FromSB = true;
    if (IsEditing()) CancelEdit();
    Integer dy = FVScrollBar->Position() - FOldVScrollBarPos;
    // Rows in list and report view: without an item there is no row to scroll by.
    if (ViewStyle() == vsList || ViewStyle() == vsReport) dy *= ItemZeroHeight();
    if (dy != 0) Scroll(0, dy);
    FOldVScrollBarPos = FVScrollBar->Position();
    FromSB = false;
}

void TqxSkinCustomListView::HScrollBarChange(TObject*) {
    if (!FHScrollBar) return;
    FromSB = true;
    if (IsEditing()) CancelEdit();
    const Integer dx = FHScrollBar->Position() - FOldHScrollBarPos;
    if (ViewStyle() == vsList) {
        for (Integer i = 0; i < std::abs(dx); ++i)
            Perform(WM_HSCROLL, dx < 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
    } else if (dx != 0) {
        Scroll(dx, 0);
    }
    FOldHScrollBarPos = FHScrollBar->Position();
    FromSB = false;
}

// The header.

void TqxSkinCustomListView::SubclassHeader(HWND AHeader) {
    if (!FHeaderInstance) return;
    FDefHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongW(AHeader, GWL_WNDPROC));
    SetWindowLongW(AHeader, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance));
    FHeaderHandle = AHeader;
}

void TqxSkinCustomListView::ReleaseHeader() {
    if (!FHeaderHandle) return;
    if (IsWindow(FHeaderHandle) && FDefHeaderProc)
        SetWindowLongW(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
}

void TqxSkinCustomListView::RedrawHeader() {
    if (FHeaderHandle) RedrawWindow(FHeaderHandle, nullptr, nullptr, RDW_INVALIDATE);
}

void TqxSkinCustomListView::HeaderWndProc(TMessage& AMessage) {
    const HWND header = FHeaderHandle;
    if (!header) return;
    switch (AMessage.Msg) {
        case WM_WINDOWPOSCHANGING: {
            auto* position = reinterpret_cast<WINDOWPOS*>(AMessage.LParam);
            if (!(position->flags & SWP_NOSIZE)) position->cx += HeaderExtraWidth;
            return;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            const HDC dc = AMessage.WParam ? reinterpret_cast<HDC>(AMessage.WParam) : BeginPaint(header, &ps);
            PaintHeader(dc);
            if (!AMessage.WParam) EndPaint(header, &ps);
            return;
        }
        case WM_ERASEBKGND:
            AMessage.Result = 1;
            return;
        default:
            AMessage.Result =
                CallWindowProcW(FDefHeaderProc, header, AMessage.Msg, AMessage.WParam, AMessage.LParam);
            break;
    }
    if (FHeaderHandle != header) return;
    switch (AMessage.Msg) {
        case WM_MOUSEMOVE:
            if (FDevDown) RedrawHeader();
            break;
        case WM_LBUTTONDOWN: {
            const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            FActiveSection = -1;
            const Integer count = Integer(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            for (Integer i = 0; i < count; ++i) {
                const TRect r = GetHeaderSectionRect(i);
                if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom) {
                    FActiveSection = i;
                    break;
                }
            }
            HDHITTESTINFO hit{{p.X, p.Y}, 0, -1};
            SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            FDevDown = hit.flags == HHT_ONDIVIDER;
            FHeaderDown = !FDevDown;
            RedrawHeader();
            break;
        }
        case WM_LBUTTONUP:
            FHeaderDown = false;
            FDevDown = false;
            FActiveSection = -1;
            RedrawHeader();
            break;
        default:
            break;
    }
}

TRect TqxSkinCustomListView::GetHeaderSectionRect(Integer AIndex) {
    Integer item = AIndex;
    if (FullDrag()) {
        const Integer count = Integer(SendMessageW(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
        std::vector<int> order(size_t(std::max(count, 0)));
        if (AIndex >= 0 && AIndex < count &&
            SendMessageW(FHeaderHandle, HDM_GETORDERARRAY, WPARAM(count),
                         reinterpret_cast<LPARAM>(order.data())))
            item = order[size_t(AIndex)];
    }
    RECT r{};
    SendMessageW(FHeaderHandle, HDM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r));
    return ToTRect(r);
}

void TqxSkinCustomListView::GetHeaderSkinData() {
    FHIndex = -1;
    HPicture = nullptr;
    if (!FSD || FSD->Empty) return;
    FHIndex = FSD->GetControlIndex(FHeaderSkinDataName);
    if (FHIndex == -1) FHIndex = FSD->GetControlIndex(u"resizetoolbutton");
    if (FHIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinButtonControl*>(FSD->CtrlList[FHIndex]);
    // Another kind of element gives no picture: the header is drawn unskinned.
    if (!e) return;
    HLTPt = e->LTPoint;
    HRTPt = e->RTPoint;
    HLBPt = e->LBPoint;
    HRBPt = e->RBPoint;
    HSkinRect = e->SkinRect;
    HClRect = e->ClRect;
    HPicture = FSD->GetActivePicture(e->PictureIndex);
    HFontColor = e->FontColor;
    HActiveFontColor = e->ActiveFontColor;
    HDownFontColor = e->DownFontColor;
    HActiveSkinRect = IsRectDegenerate(e->ActiveSkinRect) ? HSkinRect : e->ActiveSkinRect;
    HDownSkinRect = IsRectDegenerate(e->DownSkinRect) ? HActiveSkinRect : e->DownSkinRect;
    HStretchEffect = e->StretchEffect;
    HLeftStretch = e->LeftStretch;
    HTopStretch = e->TopStretch;
    HRightStretch = e->RightStretch;
    HBottomStretch = e->BottomStretch;
    HStretchType = e->StretchType;
}

void TqxSkinCustomListView::PaintHeader(HDC ADC) {
    if (!FHeaderHandle || !ADC) return;
    TCanvas canvas;
    canvas.SetHandle(ADC);
    const Integer count = Integer(SendMessageW(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
    Integer right = 0;
    for (Integer i = 0; i < count && i < Columns()->Count(); ++i) {
        const TRect r = GetHeaderSectionRect(i);
        GetHeaderSkinData();
        DrawHeaderSection(&canvas, Column(i), r, i == FActiveSection && FHeaderDown);
        right = std::max(right, r.Right);
    }
    RECT window;
    GetWindowRect(FHeaderHandle, &window);
    const TRect rest = Rect(right, 0, window.right - window.left + 1, window.bottom - window.top);
    if (rest.Width() > 0 && rest.Height() > 0) {
        GetHeaderSkinData();
        TBitmap bitmap;
        bitmap.SetSize(rest.Width(), rest.Height());
        if (HeaderSkinned()) {
            // The skin without its right edge: the header runs on.
            if (HLBPt.X != 0 || HLBPt.Y != 0) {
                const Integer dw = rest.Width() - HSkinRect.Width(), dh = rest.Height() - HSkinRect.Height();
                BuildNinePartImageOpenRight(
                    HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, Point(HRTPt.X + dw, HRTPt.Y),
                    Point(HLBPt.X, HLBPt.Y + dh), Point(HRBPt.X + dw, HRBPt.Y + dh),
                    Rect(HClRect.Left, HClRect.Top, HClRect.Right + dw, HClRect.Bottom + dh), &bitmap,
                    HPicture, HSkinRect, rest.Width(), rest.Height(), true, HLeftStretch, HTopStretch,
                    HRightStretch, HBottomStretch, HStretchEffect, HStretchType);
            } else {
                TBitmap strip;
                BuildHorzThreePartImageOpenRight(HLTPt.X, HSkinRect.Width() - HRTPt.X, &strip, HPicture,
                                                 HSkinRect, rest.Width(), HSkinRect.Height(), HStretchEffect);
                bitmap.Canvas()->StretchDraw(Rect(0, 0, rest.Width(), rest.Height()), &strip);
            }
        } else {
            bitmap.Canvas()->Brush()->SetColor(clBtnFace);
            bitmap.Canvas()->FillRect(Rect(0, 0, rest.Width(), rest.Height()));
            DrawFrame3D(bitmap.Canvas(), Rect(0, 0, rest.Width(), rest.Height()), clBtnShadow, clBtnShadow);
        }
        canvas.Draw(rest.Left, rest.Top, &bitmap);
    }
    canvas.SetHandle(nullptr);
}

void TqxSkinCustomListView::DrawHeaderFace(TBitmap* ABitmap, const TRect& ASource, Integer AWidth,
                                           Integer AHeight) {
    if (HLBPt.X != 0 || HLBPt.Y != 0) {
        const Integer dw = AWidth - HSkinRect.Width(), dh = AHeight - HSkinRect.Height();
        BuildNinePartImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, Point(HRTPt.X + dw, HRTPt.Y),
                           Point(HLBPt.X, HLBPt.Y + dh), Point(HRBPt.X + dw, HRBPt.Y + dh),
                           Rect(HClRect.Left, HClRect.Top, HClRect.Right + dw, HClRect.Bottom + dh), ABitmap,
                           HPicture, ASource, AWidth, AHeight, true, HLeftStretch, HTopStretch, HRightStretch,
                           HBottomStretch, HStretchEffect, HStretchType);
        return;
    }
    TBitmap strip;
    BuildHorzThreePartImage(HLTPt.X, HSkinRect.Width() - HRTPt.X, &strip, HPicture, ASource, AWidth,
                            HSkinRect.Height(), HStretchEffect);
    ABitmap->SetSize(AWidth, AHeight);
    ABitmap->Canvas()->StretchDraw(Rect(0, 0, AWidth, AHeight), &strip);
}

void TqxSkinCustomListView::DrawHeaderCaption(TCanvas* ACanvas, TListColumn* AColumn, const TRect& AR) {
    const TRect area = Rect(AR.Left + HeaderTextInset, AR.Top, AR.Right - HeaderTextInset, AR.Bottom);
    ACanvas->Brush()->SetStyle(bsClear);
    String caption = AColumn->Caption();
    const Integer textHeight = ACanvas->TextHeight(caption.empty() ? String(u"W") : caption);
    const Integer y = area.Top + (area.Height() - textHeight) / 2 - (IsOddFontHeight(ACanvas) ? 1 : 0);
    TCustomImageList* images = SmallImages();
    if (images && AColumn->ImageIndex() >= 0 && AColumn->ImageIndex() < images->Count()) {
        const Integer imageWidth = images->Width();
        const String full = caption;
        FitTextToWidth(ACanvas, caption, area.Width() - imageWidth - HeaderImageGap);
        const Integer textWidth = ACanvas->TextWidth(caption);
        Integer x = area.Left;
        if (caption == full) {
            if (AColumn->Alignment() == taRightJustify)
                x = area.Right - textWidth - imageWidth - HeaderImageGap;
            else if (AColumn->Alignment() == taCenter)
                x = area.Left + (area.Width() - (textWidth + imageWidth + HeaderImageGap)) / 2;
        }
        ImageList_DrawEx(images->Handle(), AColumn->ImageIndex(), ACanvas->Handle(), x,
                         area.Top + (area.Height() - images->Height()) / 2, 0, 0, CLR_NONE, CLR_NONE,
                         ILD_NORMAL);
        ACanvas->TextRect(area, x + imageWidth + HeaderImageGap, y, caption);
        return;
    }
    FitTextToWidth(ACanvas, caption, area.Width());
    const Integer textWidth = ACanvas->TextWidth(caption);
    Integer x = area.Left;
    if (AColumn->Alignment() == taRightJustify) x = area.Right - textWidth;
    if (AColumn->Alignment() == taCenter) x = area.Left + (area.Width() - textWidth) / 2;
    ACanvas->TextRect(area, x, y, caption);
}

void TqxSkinCustomListView::DrawHeaderSection(TCanvas* ACanvas, TListColumn* AColumn, const TRect& AR,
                                              bool APressed) {
    const Integer w = AR.Width(), h = AR.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas* canvas = bitmap.Canvas();
    const TRect r = Rect(0, 0, w, h);
    TColor textColor = clBtnText;
    if (HeaderSkinned()) {
        DrawHeaderFace(&bitmap, APressed ? HDownSkinRect : HSkinRect, w, h);
        canvas = bitmap.Canvas();
        textColor = APressed ? HDownFontColor : HFontColor;
    } else {
        canvas->Brush()->SetColor(APressed ? DefaultDownFill : clBtnFace);
        canvas->FillRect(r);
        const TColor frame = APressed ? DefaultFrame : clBtnShadow;
        DrawFrame3D(canvas, r, frame, frame);
    }
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(textColor);
    if (OnDrawHeaderSection)
        OnDrawHeaderSection(canvas, AColumn, APressed, r);
    else
        DrawHeaderCaption(canvas, AColumn, r);
    ACanvas->Draw(AR.Left, AR.Top, &bitmap);
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxSkinCustomListView, TCustomListView>()
        .Property(u"SkinData", &TqxSkinCustomListView::SkinData, &TqxSkinCustomListView::SetSkinData)
        .Property(u"SkinDataName", &TqxSkinCustomListView::SkinDataName,
                  &TqxSkinCustomListView::SetSkinDataName)
        .Property(u"HeaderSkinDataName", &TqxSkinCustomListView::HeaderSkinDataName,
                  &TqxSkinCustomListView::SetHeaderSkinDataName)
        .Property(u"ItemSkinDataName", &TqxSkinCustomListView::ItemSkinDataName,
                  &TqxSkinCustomListView::SetItemSkinDataName)
        .Property(u"CheckSkinDataName", &TqxSkinCustomListView::CheckSkinDataName,
                  &TqxSkinCustomListView::SetCheckSkinDataName)
        .Property(u"DefaultFont", &TqxSkinCustomListView::DefaultFont)
        .Property(u"DefaultColor", &TqxSkinCustomListView::DefaultColor,
                  &TqxSkinCustomListView::SetDefaultColor)
        .Property(u"UseSkinFont", &TqxSkinCustomListView::UseSkinFont, &TqxSkinCustomListView::SetUseSkinFont)
        .Property(u"DrawSkin", &TqxSkinCustomListView::DrawSkin, &TqxSkinCustomListView::SetDrawSkin)
        .Property(u"DrawSkinLines", &TqxSkinCustomListView::DrawSkinLines,
                  &TqxSkinCustomListView::SetDrawSkinLines)
        .Property(u"VScrollBar", &TqxSkinCustomListView::VScrollBar, &TqxSkinCustomListView::SetVScrollBar)
        .Property(u"HScrollBar", &TqxSkinCustomListView::HScrollBar, &TqxSkinCustomListView::SetHScrollBar);
    RegisterClass<TqxSkinListView, TqxSkinCustomListView>();
    return true;
}();

}  // namespace
