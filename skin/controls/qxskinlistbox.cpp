// The skinned list box: construction, its properties, the inner list's
// hooks, the skin change and the skinned bars that come and go with the
// content.
#include "skin/controls/qxskinlistbox.h"

#include <algorithm>

#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/timers.h"
#include "skin/core/qxutils.h"

using namespace win;

TqxSkinCustomListBox::TqxSkinCustomListBox(TComponent* AOwner)
    : TqxSkinCustomControl(AOwner),
      FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()),
      FDefaultCaptionFont(std::make_unique<TFont>()) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,
                     csOpaque,          csDoubleClicks, csReplicatable};
    ForcebackGround = true;
    DrawbackGround = false;
    SetParentFont(false);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    FDefaultCaptionFont->SetName(u"Tahoma");
    FDefaultCaptionFont->SetHeight(13);
    FDefaultCaptionFont->OnChange = [this](TObject* Sender) { DefaultCaptionFontChange(Sender); };
    FListBox = new TqxListBox(this);
    FListBox->SkinListBox = this;
    FListBox->SetStyle(lbOwnerDrawFixed);
    FListBox->SetItemHeight(FDefaultItemHeight);
    FListBox->SetParent(this);
    FListBox->SetVisible(true);
    SetBounds(Left(), Top(), 120, 120);
    SetSkinDataName(u"listbox");
}

TqxSkinCustomListBox::~TqxSkinCustomListBox() {
    FDefaultCaptionFont->OnChange = nullptr;
    if (HandleAllocated()) KillTimer(Handle(), 1);
    // The inner list and the bars go first, without calling back.
    FListBox->SkinListBox = nullptr;
    Free(FScrollBar);
    Free(FHScrollBar);
    Free(FListBox);
}

void TqxSkinCustomListBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FScrollBar) FScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
    if (AComponent == FListBox) FListBox = nullptr;
}

void TqxSkinCustomListBox::CreateParams(TCreateParams& AParams) {
    TqxSkinCustomControl::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// Public operations.

Integer TqxSkinCustomListBox::CalcHeight(Integer AItemsCount) {
    Integer height;
    if (FIndex == -1) {
        height = AItemsCount * FListBox->ItemHeight() + 4;
        if (FCaptionMode) height += FDefaultCaptionHeight;
    } else {
        height = SkinRect.Height() + AItemsCount * FListBox->ItemHeight() - ClRect.Height();
    }
    if (FHScrollBar) height += FHScrollBar->Height();
    return height;
}

void TqxSkinCustomListBox::Clear() {
    FListBox->Clear();
    UpDateScrollBar();
}

Integer TqxSkinCustomListBox::ItemAtPos(TPoint APos, bool AExisting) {
    return FListBox->ItemAtPos(APos, AExisting);
}

TRect TqxSkinCustomListBox::ItemRect(Integer AItem) {
    return FListBox->ItemRect(AItem);
}

bool TqxSkinCustomListBox::Selected(Integer AIndex) {
    return FListBox->Selected(AIndex);
}

Integer TqxSkinCustomListBox::SelCount() {
    return FListBox->SelCount();
}

Integer TqxSkinCustomListBox::TopIndex() {
    return FListBox->TopIndex();
}

void TqxSkinCustomListBox::SetTopIndex(Integer AValue) {
    FListBox->SetTopIndex(AValue);
}

TCanvas* TqxSkinCustomListBox::ListBoxCanvas() {
    return FListBox->Canvas();
}

void TqxSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TqxSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

// Properties.

void TqxSkinCustomListBox::SetTabWidths(TStrings* AValue) {
    FTabWidths->Assign(AValue);
    if (FTabWidths->Count() > 0) FListBox->Invalidate();
}

bool TqxSkinCustomListBox::AutoComplete() const {
    return FListBox->AutoComplete();
}

void TqxSkinCustomListBox::SetAutoComplete(bool AValue) {
    FListBox->SetAutoComplete(AValue);
}

void TqxSkinCustomListBox::SetHorizontalExtent(bool AValue) {
    FHorizontalExtent = AValue;
    UpDateScrollBar();
}

Integer TqxSkinCustomListBox::Columns() const {
    return FListBox->Columns();
}

void TqxSkinCustomListBox::SetColumns(Integer AValue) {
    FListBox->SetColumns(AValue);
    UpDateScrollBar();
}

void TqxSkinCustomListBox::SetRowCount(Integer AValue) {
    FRowCount = AValue;
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TqxSkinCustomListBox::SetImages(TCustomImageList* AValue) {
    SetReference(this, FImages, AValue);
    FListBox->Repaint();
}

void TqxSkinCustomListBox::SetImageIndex(Integer AValue) {
    FImageIndex = AValue;
    FListBox->Repaint();
}

void TqxSkinCustomListBox::SetGlyph(TBitmap* AValue) {
    FGlyph->Assign(AValue);
    Repaint();
}

void TqxSkinCustomListBox::SetNumGlyphs(Integer AValue) {
    FNumGlyphs = AValue;
    Repaint();
}

void TqxSkinCustomListBox::SetSpacing(Integer AValue) {
    FSpacing = AValue;
    Repaint();
}

void TqxSkinCustomListBox::SetCaptionMode(bool AValue) {
    FCaptionMode = AValue;
    if (FIndex == -1) AlignListAndScrollBars();
    Repaint();
}

void TqxSkinCustomListBox::SetDefaultCaptionHeight(Integer AValue) {
    FDefaultCaptionHeight = AValue;
    if (FIndex != -1 || !FCaptionMode) return;
    AlignListAndScrollBars();
    Repaint();
}

void TqxSkinCustomListBox::DefaultCaptionFontChange(TObject*) {
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TqxSkinCustomListBox::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    if (FCaptionMode) Repaint();
}

void TqxSkinCustomListBox::SetDefaultItemHeight(Integer AValue) {
    FDefaultItemHeight = AValue;
    if (FIndex == -1 || !FUseSkinItemHeight) FListBox->SetItemHeight(AValue);
}

TStrings* TqxSkinCustomListBox::Items() const {
    return FListBox->Items();
}

void TqxSkinCustomListBox::SetItems(TStrings* AValue) {
    FListBox->Items()->Assign(AValue);
    UpDateScrollBar();
}

Integer TqxSkinCustomListBox::ItemIndex() const {
    return FListBox->ItemIndex();
}

void TqxSkinCustomListBox::SetItemIndex(Integer AValue) {
    FListBox->SetItemIndex(AValue);
}

bool TqxSkinCustomListBox::MultiSelect() const {
    return FListBox->MultiSelect();
}

void TqxSkinCustomListBox::SetMultiSelect(bool AValue) {
    FListBox->SetMultiSelect(AValue);
}

bool TqxSkinCustomListBox::ExtandedSelect() const {
    return FListBox->ExtendedSelect();
}

void TqxSkinCustomListBox::SetExtandedSelect(bool AValue) {
    FListBox->SetExtendedSelect(AValue);
}

bool TqxSkinCustomListBox::Sorted() const {
    return FListBox->Sorted();
}

void TqxSkinCustomListBox::SetSorted(bool AValue) {
    if (FScrollBar) DropVScrollBar();
    FListBox->SetSorted(AValue);
}

TFont* TqxSkinCustomListBox::ListBoxFont() const {
    return FListBox->Font();
}

void TqxSkinCustomListBox::SetListBoxFont(TFont* AValue) {
    FListBox->SetFont(AValue);
}

Integer TqxSkinCustomListBox::ListBoxTabOrder() const {
    return FListBox->TabOrder();
}

void TqxSkinCustomListBox::SetListBoxTabOrder(Integer AValue) {
    FListBox->SetTabOrder(AValue);
}

bool TqxSkinCustomListBox::ListBoxTabStop() const {
    return FListBox->TabStop();
}

void TqxSkinCustomListBox::SetListBoxTabStop(bool AValue) {
    FListBox->SetTabStop(AValue);
}

TPopupMenu* TqxSkinCustomListBox::ListBoxPopupMenu() const {
    return FListBox->PopupMenu();
}

void TqxSkinCustomListBox::SetListBoxPopupMenu(TPopupMenu* AValue) {
    FListBox->SetPopupMenu(AValue);
}

void TqxSkinCustomListBox::SetShowCaptionButtons(bool AValue) {
    if (AValue == FShowCaptionButtons) return;
    FShowCaptionButtons = AValue;
    Repaint();
}

// The hooks.

Integer TqxSkinCustomListBox::GetItemWidth(Integer AIndex, TCanvas* ACanvas) {
    return ACanvas->TextWidth(FListBox->Items()->Get(AIndex));
}

void TqxSkinCustomListBox::ListBoxMouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, AButton, AShift, X, Y);
}

void TqxSkinCustomListBox::ListBoxMouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, AShift, X, Y);
}

void TqxSkinCustomListBox::ListBoxMouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, AButton, AShift, X, Y);
}

void TqxSkinCustomListBox::ListBoxClick() {
    if (OnListBoxClick) OnListBoxClick(this);
}

void TqxSkinCustomListBox::ListBoxDblClick() {
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TqxSkinCustomListBox::ListBoxKeyDown(Word& AKey, TShiftState AShift) {
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, AKey, AShift);
}

void TqxSkinCustomListBox::ListBoxKeyUp(Word& AKey, TShiftState AShift) {
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, AKey, AShift);
}

void TqxSkinCustomListBox::ListBoxKeyPress(char16_t& AKey) {
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, AKey);
}

void TqxSkinCustomListBox::ListBoxEnter() {}

void TqxSkinCustomListBox::ListBoxExit() {}

void TqxSkinCustomListBox::ListBoxWndProc(TMessage&, bool& ACallDefault) {
    ACallDefault = true;
}

void TqxSkinCustomListBox::ListBoxCreateWnd() {}

// The skin.

void TqxSkinCustomListBox::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinListBox*>(SkinData()->CtrlList[FIndex]);
    // An element of another kind draws nothing of a list: the default look.
    if (!e) {
        FIndex = -1;
        return;
    }
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    SItemRect = e->SItemRect;
    ActiveItemRect = IsRectDegenerate(e->ActiveItemRect) ? e->SItemRect : e->ActiveItemRect;
    FocusItemRect = IsRectDegenerate(e->FocusItemRect) ? e->SItemRect : e->FocusItemRect;
    ItemLeftOffset = e->ItemLeftOffset;
    ItemRightOffset = e->ItemRightOffset;
    ItemTextRect = e->ItemTextRect;
    FontColor = e->FontColor;
    ActiveFontColor = e->ActiveFontColor;
    FocusFontColor = e->FocusFontColor;
    CaptionRect = e->CaptionRect;
    CaptionFontName = e->CaptionFontName;
    CaptionFontStyle = e->CaptionFontStyle;
    CaptionFontHeight = e->CaptionFontHeight;
    CaptionFontColor = e->CaptionFontColor;
    UpButtonRect = e->UpButtonRect;
    ActiveUpButtonRect = e->ActiveUpButtonRect;
    DownUpButtonRect = IsRectDegenerate(e->DownUpButtonRect) ? e->ActiveUpButtonRect : e->DownUpButtonRect;
    DownButtonRect = e->DownButtonRect;
    ActiveDownButtonRect = e->ActiveDownButtonRect;
    DownDownButtonRect =
        IsRectDegenerate(e->DownDownButtonRect) ? e->ActiveDownButtonRect : e->DownDownButtonRect;
    CheckButtonRect = e->CheckButtonRect;
    ActiveCheckButtonRect = e->ActiveCheckButtonRect;
    DownCheckButtonRect =
        IsRectDegenerate(e->DownCheckButtonRect) ? e->ActiveCheckButtonRect : e->DownCheckButtonRect;
    VScrollBarName = e->VScrollBarName;
    HScrollBarName = e->HScrollBarName;
    BothScrollBarName = e->BothScrollBarName;
    ShowFocus = e->ShowFocus;
    DisabledButtonsRect = e->DisabledButtonsRect;
    ButtonsArea = e->ButtonsArea;
}

void TqxSkinCustomListBox::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        FListBox->SetItemHeight(FDefaultItemHeight);
        SetFont(DefaultFont());
    } else if (FUseSkinItemHeight) {
        FListBox->SetItemHeight(SItemRect.Height());
    }
    if (FScrollBar) {
        FScrollBar->SetSkinDataName(FIndex == -1    ? String()
                                    : Columns() < 1 ? VScrollBarName
                                                    : HScrollBarName);
        FScrollBar->SetSkinData(SkinData());
    }
    if (FHScrollBar) SetHScrollBarForm();
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    AlignListAndScrollBars();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    FListBox->Repaint();
}

void TqxSkinCustomListBox::DefaultFontChanged() {
    if (FIndex == -1) SetFont(DefaultFont());
}

// The bars.

void TqxSkinCustomListBox::AlignListAndScrollBars() {
    if (!FListBox) return;
    const Integer w = Width(), h = Height();
    const bool skinned = FIndex != -1;
    Integer c = 0;
    if (!skinned)
        c = FCaptionMode ? FDefaultCaptionHeight : 1;
    else
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + w - SkinRect.Width(),
                         ClRect.Bottom + h - SkinRect.Height());
    const TRect& n = NewClRect;
    Integer hb = 0;
    if (Columns() == 0 && FHScrollBar && FHScrollBar->Visible()) {
        if (!skinned) {
            FHScrollBar->SetBounds(1, h - 20, w - 2, 19);
            hb = FHScrollBar->Height() - 1;
        } else {
            const Integer bh = FHScrollBar->Height();
            FHScrollBar->SetBounds(n.Left, n.Bottom - bh, n.Width(), bh);
            hb = FHScrollBar->Height();
        }
    }
    if (FScrollBar && FScrollBar->Visible()) {
        TqxSkinScrollBar* bar = FScrollBar;
        if (!skinned && Columns() <= 0) {
            bar->SetBounds(w - 20, c, 19, h - c - hb - 1);
            ListRect = Rect(2, c + 1, bar->Left(), h - hb - 2);
        } else if (!skinned) {
            bar->SetBounds(1, h - 20, w - 2, 19);
            ListRect = Rect(2, c + 1, w - 2, bar->Top());
        } else if (Columns() <= 0) {
            const Integer bw = bar->Width();
            bar->SetBounds(n.Right - bw, n.Top, bw, n.Height() - hb);
            ListRect = Rect(n.Left, n.Top, n.Right - bw, n.Bottom - hb);
        } else {
            const Integer bh = bar->Height();
            bar->SetBounds(n.Left, n.Bottom - bh, n.Width(), bh);
            ListRect = Rect(n.Left, n.Top, n.Right, n.Bottom - bh);
        }
    } else if (!skinned) {
        ListRect = Rect(2, c + 1, w - 2, h - 2 - hb);
    } else {
        ListRect = Rect(n.Left, n.Top, n.Right, n.Bottom - hb);
    }
    FListBox->SetBoundsRect(ListRect);
}

void TqxSkinCustomListBox::UpdateHorizontalExtent() {
    if (!FHorizontalExtent || FStopUpDateHScrollBar) {
        if (FHScrollBar && FHScrollBar->Visible()) DropHScrollBar();
        return;
    }
    // The inner list's canvas once it has a window; the same fonts measure
    // alike on a bitmap before.
    TBitmap scratch;
    TCanvas* canvas = FListBox->HandleAllocated() ? FListBox->Canvas() : scratch.Canvas();
    if (FIndex != -1 && UseSkinFont()) {
        canvas->Font()->SetName(FontName);
        canvas->Font()->SetStyle(FontStyle);
        canvas->Font()->SetHeight(FontHeight);
    } else {
        canvas->SetFont(FListBox->Font());
    }
    Integer widest = 0;
    for (Integer i = 0; i < FListBox->Count(); ++i)
        widest = std::max(widest, GetItemWidth(i, canvas));
    Integer room =
        FIndex == -1 ? FListBox->Width() - 4 : FListBox->Width() + ItemTextRect.Width() - SItemRect.Width();
    if (FImages) room -= FImages->Width() + 4;
    if (room < widest) {
        if (!FHScrollBar) CreateHScrollBar();
        FHScrollBar->SetRange(0, widest, FHScrollBar->Position(), room);
        const Integer step = canvas->TextWidth(u"0");
        FHScrollBar->SetSmallChange(step);
        FHScrollBar->SetLargeChange(step);
    } else if (FHScrollBar && FHScrollBar->Visible()) {
        DropHScrollBar();
    }
}

void TqxSkinCustomListBox::UpDateScrollBar() {
    if (!FListBox) return;
    Integer low = 0, high = 0, position = 0;
    const Integer count = FListBox->Count();
    const Integer rows = FListBox->Height() / FListBox->ItemHeight();
    if (Columns() < 1) {
        UpdateHorizontalExtent();
        if (FRowCount < 1 || FRowCount != count) {
            FListBox->GetScrollState(low, high, position);
            if (low < high && position <= high && rows < count) {
                if (!FScrollBar) CreateVScrollBar();
                FScrollBar->SetRange(low, high, position, rows);
                FScrollBar->SetLargeChange(rows);
                return;
            }
        }
    } else {
        FListBox->GetScrollState(low, high, position);
        if (low < high && position <= high && high >= Columns() && rows * Columns() < count) {
            if (!FScrollBar) CreateVScrollBar();
            FScrollBar->SetRange(low, high, position, Columns());
            return;
        }
    }
    if (FScrollBar && FScrollBar->Visible()) DropVScrollBar();
}

void TqxSkinCustomListBox::SetHScrollBarForm() {
    if (FIndex == -1) {
        FHScrollBar->SetSkinDataName(String());
        if (FScrollBar) {
            FHScrollBar->SetBoth(true);
            FHScrollBar->SetBothMarkerWidth(19);
        }
    } else if (FScrollBar) {
        FHScrollBar->SetBothSkinDataName(BothScrollBarName);
        FHScrollBar->SetSkinDataName(BothScrollBarName);
        FHScrollBar->SetBoth(true);
    } else {
        FHScrollBar->SetBothSkinDataName(HScrollBarName);
        FHScrollBar->SetSkinDataName(HScrollBarName);
        FHScrollBar->SetBoth(false);
    }
    FHScrollBar->SetSkinData(SkinData());
}

void TqxSkinCustomListBox::CreateVScrollBar() {
    FScrollBar = new TqxSkinScrollBar(this);
    FScrollBar->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
    FScrollBar->SetBounds(0, 0, 20, 100);
    FScrollBar->SetPageSize(0);
    FScrollBar->SetMin(0);
    FScrollBar->SetPosition(0);
    FScrollBar->OnChange = [this](TObject* Sender) { VScrollBarChange(Sender); };
    FScrollBar->SetSkinDataName(FIndex == -1 ? String() : Columns() < 1 ? VScrollBarName : HScrollBarName);
    FScrollBar->SetSkinData(SkinData());
    if (FHScrollBar) SetHScrollBarForm();
    FScrollBar->SetParent(this);
    AlignListAndScrollBars();
    FScrollBar->SetVisible(true);
    Repaint();
}

void TqxSkinCustomListBox::CreateHScrollBar() {
    FHScrollBar = new TqxSkinScrollBar(this);
    FHScrollBar->SetKind(sbHorizontal);
    FHScrollBar->SetBounds(0, 0, 100, 20);
    FHScrollBar->SetPageSize(0);
    FHScrollBar->SetMin(0);
    FHScrollBar->SetPosition(0);
    FHScrollBar->OnChange = [this](TObject* Sender) { HScrollBarChange(Sender); };
    SetHScrollBarForm();
    FHScrollBar->SetParent(this);
    FHScrollBar->SetVisible(true);
    AlignListAndScrollBars();
    Repaint();
}

void TqxSkinCustomListBox::DropVScrollBar() {
    TqxSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    bar->SetVisible(false);
    Free(bar);
    AlignListAndScrollBars();
}

void TqxSkinCustomListBox::DropHScrollBar() {
    FListBox->SetHorizontalExtentValue(0);
    TqxSkinScrollBar* bar = FHScrollBar;
    FHScrollBar = nullptr;
    bar->SetVisible(false);
    Free(bar);
    AlignListAndScrollBars();
    FListBox->Repaint();
}

void TqxSkinCustomListBox::VScrollBarChange(TObject*) {
    const UINT message = Columns() < 1 ? WM_VSCROLL : WM_HSCROLL;
    FListBox->Perform(message, MAKEWPARAM(SB_THUMBPOSITION, WORD(FScrollBar->Position())), 0);
}

void TqxSkinCustomListBox::HScrollBarChange(TObject*) {
    FListBox->SetHorizontalExtentValue(FHScrollBar->Position());
    FListBox->Repaint();
}

// Messages.

void TqxSkinCustomListBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            AlignListAndScrollBars();
            UpDateScrollBar();
            if (FScrollBar) FScrollBar->Repaint();
            return;
        case CM_TEXTCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (FCaptionMode) Repaint();
            return;
        case WM_TIMER:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (AMessage.WParam == 1) RepeatStep();
            return;
        case CM_MOUSEENTER:
            TqxSkinCustomControl::Dispatch(AMessage);
            TestActiveButton(-1, -1);
            return;
        case CM_MOUSELEAVE: {
            TqxSkinCustomControl::Dispatch(AMessage);
            bool changed = false;
            for (TqxCBButtonX& button : Buttons)
                if (button.MouseIn) {
                    button.MouseIn = false;
                    changed = true;
                }
            if (changed) Repaint();
            return;
        }
        default:
            TqxSkinCustomControl::Dispatch(AMessage);
    }
}

namespace {

const auto Registered = [] {
    using L = TqxSkinCustomListBox;
    RegisterClass<L, TqxSkinCustomControl>()
        .Property(u"TabWidths", &L::TabWidths)
        .Property(u"AutoComplete", &L::AutoComplete, &L::SetAutoComplete)
        .Property(u"UseSkinItemHeight", &L::UseSkinItemHeight, &L::SetUseSkinItemHeight)
        .Property(u"HorizontalExtent", &L::HorizontalExtent, &L::SetHorizontalExtent)
        .Property(u"Columns", &L::Columns, &L::SetColumns)
        .Property(u"RowCount", &L::RowCount, &L::SetRowCount)
        .Property(u"Images", &L::Images, &L::SetImages)
        .Property(u"ImageIndex", &L::ImageIndex, &L::SetImageIndex)
        .Property(u"Glyph", &L::Glyph)
        .Property(u"NumGlyphs", &L::NumGlyphs, &L::SetNumGlyphs)
        .Property(u"Spacing", &L::Spacing, &L::SetSpacing)
        .Property(u"CaptionMode", &L::CaptionMode, &L::SetCaptionMode)
        .Property(u"DefaultCaptionHeight", &L::DefaultCaptionHeight, &L::SetDefaultCaptionHeight)
        .Property(u"DefaultCaptionFont", &L::DefaultCaptionFont)
        .Property(u"Alignment", &L::Alignment, &L::SetAlignment)
        .Property(u"DefaultItemHeight", &L::DefaultItemHeight, &L::SetDefaultItemHeight)
        .Property(u"Items", &L::Items)
        .Property(u"ItemIndex", &L::ItemIndex, &L::SetItemIndex)
        .Property(u"MultiSelect", &L::MultiSelect, &L::SetMultiSelect)
        .Property(u"ExtandedSelect", &L::ExtandedSelect, &L::SetExtandedSelect)
        .Property(u"Sorted", &L::Sorted, &L::SetSorted)
        .Property(u"ListBoxFont", &L::ListBoxFont)
        .Property(u"ListBoxTabOrder", &L::ListBoxTabOrder, &L::SetListBoxTabOrder)
        .Property(u"ListBoxTabStop", &L::ListBoxTabStop, &L::SetListBoxTabStop)
        .Property(u"ListBoxPopupMenu", &L::ListBoxPopupMenu, &L::SetListBoxPopupMenu)
        .Property(u"ShowCaptionButtons", &L::ShowCaptionButtons, &L::SetShowCaptionButtons)
        .Event(u"OnUpButtonClick", &L::OnUpButtonClick)
        .Event(u"OnDownButtonClick", &L::OnDownButtonClick)
        .Event(u"OnCheckButtonClick", &L::OnCheckButtonClick)
        .Event(u"OnDrawItem", &L::OnDrawItem)
        .Event(u"OnListBoxClick", &L::OnListBoxClick)
        .Event(u"OnListBoxDblClick", &L::OnListBoxDblClick)
        .Event(u"OnListBoxMouseDown", &L::OnListBoxMouseDown)
        .Event(u"OnListBoxMouseMove", &L::OnListBoxMouseMove)
        .Event(u"OnListBoxMouseUp", &L::OnListBoxMouseUp)
        .Event(u"OnListBoxKeyDown", &L::OnListBoxKeyDown)
        .Event(u"OnListBoxKeyPress", &L::OnListBoxKeyPress)
        .Event(u"OnListBoxKeyUp", &L::OnListBoxKeyUp);
    RegisterClass<TqxSkinListBox, TqxSkinCustomListBox>();
    return true;
}();

}  // namespace
