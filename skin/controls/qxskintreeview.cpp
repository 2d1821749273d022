#include "skin/controls/qxskintreeview.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/methods.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxroutines.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

void VerticalLine(TCanvas* ACanvas, Integer X, Integer AFromY, Integer AToY) {
    ACanvas->MoveTo(X, AFromY);
    ACanvas->LineTo(X, AToY);
}

// The held flag is cleared however the work ends.
template <typename F>
void Guarded(bool& AFlag, F AWork) {
    AFlag = true;
    try {
        AWork();
    } catch (...) {
        AFlag = false;
        throw;
    }
    AFlag = false;
}

}  // namespace

TqxSkinCustomTreeView::TqxSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FExpandImage(std::make_unique<TBitmap>()),
      FNoExpandImage(std::make_unique<TBitmap>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    SetFont(FDefaultFont.get());
}

TqxSkinCustomTreeView::~TqxSkinCustomTreeView() = default;

// Properties.

void TqxSkinCustomTreeView::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TqxSkinCustomTreeView::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
    if (FIndex == -1) SetFont(FDefaultFont.get());
}

void TqxSkinCustomTreeView::SetDefaultColor(TColor AValue) {
    FDefaultColor = AValue;
    if (FIndex == -1) SetColor(AValue);
}

void TqxSkinCustomTreeView::SetDrawSkin(bool AValue) {
    FDrawSkin = AValue;
    if (!AValue || ComponentState().Contains(csDesigning)) return;
    OnAdvancedCustomDrawItem =
        TMethod<void(TCustomTreeView*, TTreeNode*, TCustomDrawState, TCustomDrawStage, bool&, bool&)>(
            this, &TqxSkinCustomTreeView::SkinAdvancedCustomDrawItem);
}

void TqxSkinCustomTreeView::SetButtonImageList(TCustomImageList* AValue) {
    SetReference(this, FButtonImageList, AValue);
    Invalidate();
}

void TqxSkinCustomTreeView::AttachBar(TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue, bool AVertical) {
    AttachExternalScrollBar(this, AField, AValue, [this, AVertical](TObject* Sender) {
        if (AVertical)
            VScrollBarChange(Sender);
        else
            HScrollBarChange(Sender);
    });
    UpDateScrollBars();
}

void TqxSkinCustomTreeView::SetVScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(FVScrollBar, AValue, true);
}

void TqxSkinCustomTreeView::SetHScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(FHScrollBar, AValue, false);
}

void TqxSkinCustomTreeView::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomTreeView::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
    if (AComponent == FButtonImageList) FButtonImageList = nullptr;
}

// The skin.

void TqxSkinCustomTreeView::LoadExpandImages(const TqxDataSkinTreeView& AElement) {
    FExpandImage->SetSize(0, 0);
    FNoExpandImage->SetSize(0, 0);
    TBitmap* picture = FSD->GetActivePicture(AElement.PictureIndex);
    if (!picture || IsRectDegenerate(AElement.ExpandImageRect) ||
        IsRectDegenerate(AElement.NoExpandImageRect))
        return;
    const auto load = [picture](TBitmap* ATarget, const TRect& ASource) {
        const Integer side = ASource.Width();
        ATarget->SetSize(side, side);
        ATarget->Canvas()->CopyRect(Rect(0, 0, side, side), picture->Canvas(), ASource);
        ATarget->SetTransparent(true);
    };
    load(FExpandImage.get(), AElement.ExpandImageRect);
    load(FNoExpandImage.get(), AElement.NoExpandImageRect);
}

void TqxSkinCustomTreeView::PaintFailed() {
    if (FSD && FSD->RefuseControlElement(FIndex)) ChangeSkinData();
}

void TqxSkinCustomTreeView::ChangeSkinData() {
    if (ComponentState().Contains(csLoading)) return;
    FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        SetFont(FDefaultFont.get());
        FLineColor = TColor(0x808080);
        // Nothing of an earlier skin's look stays.
        FButtonColor = clBlack;
        FExpandImage->SetSize(0, 0);
        FNoExpandImage->SetSize(0, 0);
    } else if (const auto* e = dynamic_cast<const TqxDataSkinTreeView*>(FSD->CtrlList[FIndex])) {
        if (FUseSkinFont) {
            Font()->SetName(e->FontName);
            Font()->SetStyle(e->FontStyle);
            Font()->SetHeight(e->FontHeight);
        } else {
            SetFont(FDefaultFont.get());
        }
        Font()->SetColor(e->FontColor);
        SetColor(e->BGColor);
        // Three quarters of the way from the font colour to the background.
        FLineColor = MixColors(MixColors(e->FontColor, e->BGColor), e->BGColor);
        FButtonColor = MixColors(e->FontColor, e->BGColor);
        LoadExpandImages(*e);
    }
    if (FSD && FSD->ResourceStrData())
        Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        Font()->SetCharset(FDefaultFont->Charset());
    for (TCustomImageList* list : {Images(), StateImages()})
        if (list) list->SetBkColor(Color());
    UpDateScrollBars();
    for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) bar->SetAlign(bar->Align());
    Invalidate();
}

void TqxSkinCustomTreeView::Loaded() {
    TCustomTreeView::Loaded();
    ChangeSkinData();
}

void TqxSkinCustomTreeView::CreateParams(TCreateParams& AParams) {
    TCustomTreeView::CreateParams(AParams);
    AParams.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TqxSkinCustomTreeView::Change(TTreeNode* Node) {
    TCustomTreeView::Change(Node);
    UpDateScrollBars();
}

// Messages.

void TqxSkinCustomTreeView::WndProc(TMessage& AMessage) {
    TCustomTreeView::WndProc(AMessage);
    switch (AMessage.Msg) {
        case WM_SIZE:
        case WM_PAINT:
            if (!FInCheckScrollBars) UpDateScrollBars();
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONUP:
            UpDateScrollBars();
            break;
        default:
            break;
    }
}

void TqxSkinCustomTreeView::Dispatch(TMessage& AMessage) {
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
        case CM_VISIBLECHANGED:
            TCustomTreeView::Dispatch(AMessage);
            for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
                if (bar) bar->SetVisible(Visible());
            return;
        default:
            TCustomTreeView::Dispatch(AMessage);
    }
}

// The external bars.

void TqxSkinCustomTreeView::SetBarVisible(TqxSkinScrollBar* ABar, bool AVisible, bool& AChanged) {
    if (!ABar || ABar->Visible() == AVisible) return;
    Guarded(FInCheckScrollBars, [&] { ABar->SetVisible(AVisible); });
    AChanged = true;
}

void TqxSkinCustomTreeView::UpDateScrollBars() {
    if (!HandleAllocated() || ComponentState().Contains(csLoading) || FInCheckScrollBars) return;
    bool changed = false;
    int minimum = 0, maximum = 0;
    if (FVScrollBar) {
        GetScrollRange(Handle(), SB_VERT, &minimum, &maximum);
        const Integer visible = Integer(Perform(TVM_GETVISIBLECOUNT, 0, 0));
        const Integer count = Integer(Perform(TVM_GETCOUNT, 0, 0));
        const bool show = maximum > 0 && visible <= maximum && maximum < count && Visible();
        SetBarVisible(FVScrollBar, show, changed);
        if (show) FVScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_VERT), visible);
    }
    if (FHScrollBar) {
        GetScrollRange(Handle(), SB_HORZ, &minimum, &maximum);
        const bool show = Width() < maximum && Visible();
        SetBarVisible(FHScrollBar, show, changed);
        if (show) FHScrollBar->SetRange(minimum, maximum, GetScrollPos(Handle(), SB_HORZ), Width());
    }
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (changed && Align() != alNone && Parent())
        Guarded(FInCheckScrollBars, [this] {
            TRect r = Parent()->ClientRect();
            Parent()->AlignControls(nullptr, r);
        });
}

void TqxSkinCustomTreeView::VScrollBarChange(TObject*) {
    if (!FVScrollBar || !HandleAllocated()) return;
    const Integer position = FVScrollBar->Position();
    if (IsVistaOrLater()) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_POS;
        info.nPos = position;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
    Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(position)), 0);
}

void TqxSkinCustomTreeView::HScrollBarChange(TObject*) {
    if (!FHScrollBar || !HandleAllocated()) return;
    Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(FHScrollBar->Position())), 0);
}

// Node drawing.

void TqxSkinCustomTreeView::DrawFadingLine(TCanvas* ACanvas, Integer AX1, Integer AX2, Integer AY) {
    const Integer length = AX2 - AX1;
    if (length <= 0) return;
    // A line too short to have a second half is drawn opaque.
    const Integer half = length / 2;
    const Integer step = half > 0 ? Integer(std::lround(255.0 / half)) : 0;
    TqxBitmap line;
    line.SetSize(length, 1);
    PqxColorArray pixels = line.GetScanLinePtr(0);
    for (Integer i = 0; i < length; ++i) {
        const Integer faded = i - (length - half) + 1;
        const Integer alpha = faded <= 0 ? 255 : std::max(0, 255 - step * faded);
        pixels[i] = ColorToPixelAlpha(FLineColor, Byte(alpha));
    }
    line.SetAlphaBlend(true);
    line.Draw(ACanvas, AX1, AY);
}

void TqxSkinCustomTreeView::DrawLinesAndButton(TCanvas* ACanvas, TTreeNode* ANode, const TRect& ARow,
                                               Integer ALeft) {
    const bool bothImages = !FExpandImage->Empty() && !FNoExpandImage->Empty();
    if (FButtonImageList)
        FButtonSize = std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
    else
        FButtonSize = bothImages ? FExpandImage->Width() / 2 - 2 : 5;
    const Integer size = FButtonSize, indent = Indent();
    const Integer x = ALeft + indent / 2, xl = x - 1, y = ARow.Top + ARow.Height() / 2;
    const bool parent = ANode->HasChildren();
    ACanvas->Pen()->SetColor(FLineColor);
    ACanvas->Pen()->SetWidth(1);
    if (ShowLines()) {
        if (parent)
            DrawFadingLine(ACanvas, x + size - 1, ALeft + indent + size - 5, y - 1);
        else
            DrawFadingLine(ACanvas, xl, ALeft + indent, y - 1);
        if (ANode->AbsoluteIndex() != 0) VerticalLine(ACanvas, xl, y - 1, ARow.Top - 1);
        const TTreeNode* next = ANode->GetNextVisible();
        if ((next && next->Level() == ANode->Level()) || ANode->GetNextSibling())
            VerticalLine(ACanvas, xl, y, ARow.Bottom + 1);
        Integer ax = x;
        for (TTreeNode* p = ANode->Parent(); p; p = p->Parent()) {
            ax -= indent;
            if (p->GetNextSibling()) VerticalLine(ACanvas, ax - 1, ARow.Top, ARow.Bottom + 1);
        }
    }
    if (!parent || !ShowButtons()) return;
    const bool expanded = ANode->Expanded();
    const TRect box = Rect(x - size, y - size, x + size, y + size);
    if (FButtonImageList) {
        FillColor(ACanvas, box, Color());
        const Integer image = expanded ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
        if (image >= 0 && image < FButtonImageList->Count())
            FButtonImageList->Draw(ACanvas, box.Left, box.Top, image);
        return;
    }
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(FButtonColor);
    ACanvas->FrameRect(box);
    ACanvas->Pen()->SetColor(Font()->Color());
    ACanvas->MoveTo(x - size + 2, y - 1);
    ACanvas->LineTo(x + size - 2, y - 1);
    if (!expanded) VerticalLine(ACanvas, xl, y - size + 2, y + size - 2);
    if (bothImages) {
        FillColor(ACanvas, Rect(box.Left - 2, box.Top - 2, box.Right - 2, box.Bottom - 2), Color());
        ACanvas->Draw(x - size - 3, y - size - 3, expanded ? FExpandImage.get() : FNoExpandImage.get());
    }
    ACanvas->Brush()->SetStyle(bsClear);
}

void TqxSkinCustomTreeView::DrawNodeImage(TCanvas* ACanvas, TTreeNode* ANode, Integer X, const TRect& ARow) {
    const Integer index = ANode->ImageIndex();
    const Integer middle = ARow.Top + ARow.Height() / 2;
    if (TCustomImageList* images = Images()) {
        if (index >= 0 && index < images->Count())
            images->Draw(ACanvas, X, middle - images->Height() / 2, index);
        return;
    }
    const auto list = reinterpret_cast<HIMAGELIST>(Perform(TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    if (list != FThirdImages) {
        FThirdImages = list;
        int w = 0, h = 0;
        if (list) ImageList_GetIconSize(list, &w, &h);
        FThirdImageWidth = w;
        FThirdImageHeight = h;
        FThirdImagesCount = list ? ImageList_GetImageCount(list) : 0;
    }
    if (!FThirdImages || index < 0 || index >= FThirdImagesCount) return;
    ImageList_DrawEx(FThirdImages, index, ACanvas->Handle(), X, middle - FThirdImageHeight / 2, 0, 0,
                     CLR_NONE, CLR_NONE, ILD_NORMAL);
}

void TqxSkinCustomTreeView::SkinAdvancedCustomDrawItem(TCustomTreeView*, TTreeNode* Node,
                                                       TCustomDrawState State, TCustomDrawStage, bool&,
                                                       bool& DefaultDraw) {
    if (!FSD || FSD->Empty || !Node) return;
    // Only a list-box element with its picture draws the selection;
    // otherwise the common control draws the node.
    const Integer index = FSD->GetControlIndex(FItemSkinDataName);
    if (index == -1) return;
    const auto* item = dynamic_cast<const TqxDataSkinListBox*>(FSD->CtrlList[index]);
    TBitmap* picture = item ? FSD->GetActivePicture(item->PictureIndex) : nullptr;
    if (!picture) return;
    DefaultDraw = false;

    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(Handle(), SB_HORZ, &info);
    TRect row = Node->DisplayRect(false);
    row = Rect(row.Left - info.nPos, row.Top, row.Right - info.nPos, row.Bottom);
    const TRect label = Node->DisplayRect(true);
    FillColor(canvas, row, Color());
    FillColor(canvas, label, Color());
    canvas->Brush()->SetStyle(bsClear);

    const Integer level = Node->Level() - (ShowRoot() ? 0 : 1);
    Integer left = row.Left + level * Indent();
    DrawLinesAndButton(canvas, Node, row, left);
    left += Indent() + FButtonSize;
    DrawNodeImage(canvas, Node, left - FButtonSize, row);

    if (!State.Contains(cdsSelected)) {
        canvas->Brush()->SetStyle(bsClear);
        DrawTextAlignedOneLine(canvas, Node->Text(),
                               Rect(label.Left + 2, label.Top + 1, label.Right, label.Bottom), 0,
                               DT_NOPREFIX);
        return;
    }
    if (label.Width() <= 0 || label.Height() <= 0) return;
    const bool focused = Focused();
    TBitmap selection;
    selection.SetSize(label.Width(), label.Height());
    BuildStretchedSkinImage(&selection, picture, focused ? item->FocusItemRect : item->ActiveItemRect,
                            item->ItemTextRect, true);
    TCanvas* sc = selection.Canvas();
    sc->Font()->Assign(Font());
    sc->Font()->SetColor(focused ? item->FocusFontColor : item->ActiveFontColor);
    sc->Brush()->SetStyle(bsClear);
    DrawTextAlignedOneLine(sc, Node->Text(), Rect(2, 1, label.Width(), label.Height()), 0, DT_NOPREFIX);
    canvas->Draw(label.Left, label.Top, &selection);
}

namespace {

const auto Registered = [] {
    using T = TqxSkinCustomTreeView;
    RegisterClass<T, TCustomTreeView>()
        .Property(u"SkinData", &T::SkinData, &T::SetSkinData)
        .Property(u"SkinDataName", &T::SkinDataName, &T::SetSkinDataName)
        .Property(u"ItemSkinDataName", &T::ItemSkinDataName, &T::SetItemSkinDataName)
        .Property(u"CheckSkinDataName", &T::CheckSkinDataName, &T::SetCheckSkinDataName)
        .Property(u"DefaultFont", &T::DefaultFont)
        .Property(u"DefaultColor", &T::DefaultColor, &T::SetDefaultColor)
        .Property(u"UseSkinFont", &T::UseSkinFont, &T::SetUseSkinFont)
        .Property(u"DrawSkin", &T::DrawSkin, &T::SetDrawSkin)
        .Property(u"ButtonImageList", &T::ButtonImageList, &T::SetButtonImageList)
        .Property(u"ButtonNoExpandImageIndex", &T::ButtonNoExpandImageIndex, &T::SetButtonNoExpandImageIndex)
        .Property(u"ButtonExpandImageIndex", &T::ButtonExpandImageIndex, &T::SetButtonExpandImageIndex)
        .Property(u"VScrollBar", &T::VScrollBar, &T::SetVScrollBar)
        .Property(u"HScrollBar", &T::HScrollBar, &T::SetHScrollBar);
    RegisterClass<TqxSkinTreeView, T>();
    return true;
}();

}  // namespace
