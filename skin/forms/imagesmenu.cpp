#include "skin/forms/imagesmenu.h"

#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxskinobjects.h"
#include "skin/core/qxskinwindows.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/skinhint.h"

using namespace win;

void TqxImagesMenuItem::Assign(TPersistent* ASource) {
    if (auto* item = dynamic_cast<TqxImagesMenuItem*>(ASource)) {
        FImageIndex = item->FImageIndex;
        FCaption = item->FCaption;
        FButton = item->FButton;
        FHint = item->FHint;
        return;
    }
    TCollectionItem::Assign(ASource);
}

TqxImagesMenuItems::TqxImagesMenuItems(TqxSkinImagesMenu* AImagesMenu) : TCollectionOf(AImagesMenu) {}

// The popup's application hook; a type of its own so that the popup can
// tell whether the installed handler is still its own.
struct TqxImagesMenuHook {
    TqxSkinImagesMenuPopupWindow* Window;
    void operator()(MSG& Msg, bool& Handled) const { Window->AppMessage(Msg, Handled); }
};

TqxSkinImagesMenuPopupWindow::TqxSkinImagesMenuPopupWindow(TqxSkinImagesMenu* AMenu)
    : TCustomControl(AMenu), ImagesMenu(AMenu) {
    SetVisible(false);
    SetControlStyle(ControlStyle() + TControlStyle{csNoDesignVisible, csReplicatable});
    FFadeTimer = MakeTimer(this, [this](TObject*) {
        FFadeAlpha = std::min<Integer>(FFadeAlpha + 10, ImagesMenu->AlphaBlendValue);
        SetWindowAlpha(Handle(), Byte(FFadeAlpha));
        if (FFadeAlpha >= ImagesMenu->AlphaBlendValue) FFadeTimer->SetEnabled(false);
    });
    FFadeTimer->SetInterval(6);
}

TqxSkinImagesMenuPopupWindow::~TqxSkinImagesMenuPopupWindow() {
    UnhookAppMessage();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (FRgn) DeleteObject(FRgn);
}

void TqxSkinImagesMenuPopupWindow::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WindowClass.style |= CS_SAVEBITS;
    if (IsXPOrLater()) AParams.WindowClass.style |= CS_DROPSHADOW;
}

bool TqxSkinImagesMenuPopupWindow::SkinSupport() const {
    TqxSkinData* sd = ImagesMenu->SkinData();
    return sd && !sd->Empty && sd->PopupWindow()->WindowPictureIndex != -1 &&
           sd->GetActivePicture(sd->PopupWindow()->WindowPictureIndex);
}

TqxDataSkinControl* TqxSkinImagesMenuPopupWindow::Element(std::u16string_view AName,
                                                           std::u16string_view AFallback) const {
    TqxSkinData* sd = ImagesMenu->SkinData();
    if (!sd || sd->Empty) return nullptr;
    Integer i = sd->GetControlIndex(AName);
    if (i == -1 && !AFallback.empty()) i = sd->GetControlIndex(AFallback);
    return i == -1 ? nullptr : sd->CtrlList[i];
}

void TqxSkinImagesMenuPopupWindow::CalcItemRects() {
    TCustomImageList* images = ImagesMenu->Images();
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    const Integer cw = images->Width() + 10, ch = images->Height() + 10;
    const Integer rowWidth = ImagesMenu->ColumnsCount() * cw;
    Integer left = 5, y = 5;
    if (SkinSupport()) {
        left = ImagesMenu->SkinData()->PopupWindow()->ItemsRect.Left;
        y = ImagesMenu->SkinData()->PopupWindow()->ItemsRect.Top;
    }
    Integer headerHeight = ch;
    if (TqxDataSkinControl* label = Element(u"label")) headerHeight = label->SkinRect.Height();
    Integer x = left;
    for (Integer i = 0; i < items->Count(); ++i) {
        TqxImagesMenuItem* item = items->Items(i);
        if (item->Header() || item->Button()) {
            if (x != left) y += ch + 1;
            const Integer h = item->Header() ? headerHeight : ch;
            item->ItemRect = Rect(left, y, left + rowWidth, y + h);
            y += h + 1;
            x = left;
            continue;
        }
        item->ItemRect = Rect(x, y, x + cw, y + ch);
        x += cw;
        if (x + cw > left + rowWidth) {
            x = left;
            y += ch + 1;
        }
    }
}

void TqxSkinImagesMenuPopupWindow::CalcPopupSize() {
    CalcItemRects();
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    const Integer rowWidth = ImagesMenu->ColumnsCount() * (ImagesMenu->Images()->Width() + 10);
    const Integer d = items->Items(items->Count() - 1)->ItemRect.Bottom - items->Items(0)->ItemRect.Top;
    if (!SkinSupport()) {
        SetBounds(Left(), Top(), rowWidth + 10, d + 10);
        return;
    }
    TqxSkinData* sd = ImagesMenu->SkinData();
    TqxDataSkinPopupWindow* pw = sd->PopupWindow();
    WindowPicture = sd->GetActivePicture(pw->WindowPictureIndex);
    MaskPicture = sd->GetActivePicture(pw->MaskPictureIndex);
    const Integer pwW = WindowPicture->Width(), pwH = WindowPicture->Height();
    const Integer w = pwW + rowWidth - pw->ItemsRect.Width();
    const Integer h = pwH + d - pw->ItemsRect.Height();
    NewLTPoint = pw->LTPoint;
    NewRTPoint = Point(w + pw->RTPoint.X - pwW, pw->RTPoint.Y);
    NewLBPoint = Point(pw->LBPoint.X, h + pw->LBPoint.Y - pwH);
    NewRBPoint = Point(w + pw->RBPoint.X - pwW, h + pw->RBPoint.Y - pwH);
    NewItemsRect = Rect(pw->ItemsRect.Left, pw->ItemsRect.Top, w + pw->ItemsRect.Right - pwW,
                        h + pw->ItemsRect.Bottom - pwH);
    SetBounds(Left(), Top(), w, h);
    if (!MaskPicture) return;
    HRGN region = nullptr;
    CreateResizedMaskRegion(region, pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect, NewLTPoint,
                            NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, w, h);
    if (!region) return;
    SetWindowRgn(Handle(), region, TRUE);
    if (FRgn) DeleteObject(FRgn);
    FRgn = region;
}

void TqxSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
    HandleNeeded();
    CalcPopupSize();
    TCustomForm* anchor = Screen->ActiveForm();
    if (!anchor && Application->MainForm() && Application->MainForm()->Visible()) anchor = Application->MainForm();
    if (!anchor) anchor = dynamic_cast<TCustomForm*>(ImagesMenu->Owner());
    TRect wa;
    if (anchor && anchor->HandleAllocated())
        GetMonitorWorkArea(anchor->Handle(), true, wa);
    else
        GetScreenWorkArea(true, wa);
    Integer x = PopupRect.Left, y = PopupRect.Bottom;
    if (y + Height() > wa.Bottom) y -= Height() + PopupRect.Height();
    if (x + Width() > wa.Right) x = wa.Right - Width();
    x = std::max(x, wa.Left);
    y = std::max(y, wa.Top);
    const bool fade = ImagesMenu->AlphaBlend && ImagesMenu->AlphaBlendAnimation && IsLayeredWindowsAvailable();
    if (ImagesMenu->AlphaBlend && IsLayeredWindowsAvailable()) {
        SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(Handle(), fade ? 0 : ImagesMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    HookAppMessage();
    SetCapture(Handle());
    if (!fade) return;
    // The fade runs on a timer, so that the popup answers while it rises.
    FFadeAlpha = 0;
    FFadeTimer->OnTimer(FFadeTimer);
    if (FFadeAlpha < ImagesMenu->AlphaBlendValue) FFadeTimer->SetEnabled(true);
}

void TqxSkinImagesMenuPopupWindow::HookAppMessage() {
    if (FHooked || !Application) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = TqxImagesMenuHook{this};
    FHooked = true;
}

void TqxSkinImagesMenuPopupWindow::UnhookAppMessage() {
    if (!FHooked) return;
    FHooked = false;
    // A hook installed after ours stays: putting ours back would lose it.
    const auto* installed = Application ? Application->OnMessage.target<TqxImagesMenuHook>() : nullptr;
    if (installed && installed->Window == this) Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
}

void TqxSkinImagesMenuPopupWindow::AppMessage(MSG& Msg, bool& Handled) {
    (void)Handled;
    switch (Msg.message) {
        case WM_KEYDOWN:
            Msg.message = 0;
            ProcessKey(Word(Msg.wParam));
            return;
        case WM_MOUSEWHEEL:
            Msg.message = 0;
            return;
        case WM_MOVE:
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
        case WM_MOUSEACTIVATE:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_SYSKEYDOWN:
        case WM_SYSCHAR:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_PARENTNOTIFY:
            Hide(false);
            return;
        default:
            return;
    }
}

void TqxSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
    FFadeTimer->SetEnabled(false);
    HideItemHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SetVisible(false);
    UnhookAppMessage();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    ImagesMenu->MenuClosed(AProcessEvents);
}

void TqxSkinImagesMenuPopupWindow::HideItemHint() {
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
}

void TqxSkinImagesMenuPopupWindow::WndProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            AMessage.Result = 1;
            return;
        case WM_MOUSEACTIVATE:
            AMessage.Result = MA_NOACTIVATE;
            return;
        case CM_MOUSELEAVE:
            HideItemHint();
            MouseInItem = -1;
            OldMouseInItem = -1;
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::WndProc(AMessage);
}

Integer TqxSkinImagesMenuPopupWindow::GetItemAtPoint(const TPoint& P) const {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (Integer i = 0; i < items->Count(); ++i) {
        const TqxImagesMenuItem* item = items->Items(i);
        const TRect& r = item->ItemRect;
        if (!item->Header() && P.X >= r.Left && P.X <= r.Right && P.Y >= r.Top && P.Y <= r.Bottom) return i;
    }
    return -1;
}

void TqxSkinImagesMenuPopupWindow::SetHover(Integer AIndex) {
    if (AIndex == MouseInItem) return;
    MouseInItem = AIndex;
    Invalidate();
}

void TqxSkinImagesMenuPopupWindow::TrackMouse(Integer X, Integer Y) {
    MouseInItem = GetItemAtPoint(Point(X, Y));
    if (MouseInItem == -1) HideItemHint();
    if (MouseInItem == OldMouseInItem) return;
    OldMouseInItem = MouseInItem;
    Invalidate();
    if (!ImagesMenu->ShowHints || !ImagesMenu->SkinHint()) return;
    ImagesMenu->SkinHint()->HideHint();
    if (MouseInItem != -1) {
        const String& hint = ImagesMenu->ImagesItems()->Items(MouseInItem)->Hint();
        if (!hint.empty()) ImagesMenu->SkinHint()->ActivateHint2(hint);
    }
}

void TqxSkinImagesMenuPopupWindow::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TCustomControl::MouseMove(AShift, X, Y);
    TrackMouse(X, Y);
}

void TqxSkinImagesMenuPopupWindow::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    // The capture brings presses elsewhere here: they close without events.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (AButton == mbLeft && WindowFromPoint(cursor) != Handle()) {
        Hide(false);
        return;
    }
    TCustomControl::MouseDown(AButton, AShift, X, Y);
    HideItemHint();
    FDown = true;
    FItemDown = GetItemAtPoint(Point(X, Y)) != -1;
    Invalidate();
}

void TqxSkinImagesMenuPopupWindow::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TCustomControl::MouseUp(AButton, AShift, X, Y);
    const Integer item = GetItemAtPoint(Point(X, Y));
    if (FDown && item != -1) {
        ImagesMenu->SetItemIndex(item);
        Hide(true);
        return;
    }
    FDown = false;
    FItemDown = false;
    Invalidate();
    if (GetCapture() == Handle()) ReleaseCapture();
    SetCapture(Handle());
}

void TqxSkinImagesMenuPopupWindow::ProcessKey(Word AKey) {
    switch (AKey) {
        case VK_RETURN:
        case VK_SPACE:
            if (MouseInItem != -1) ImagesMenu->SetItemIndex(MouseInItem);
            Hide(true);
            return;
        case VK_ESCAPE:
            Hide(false);
            return;
        case VK_UP:
            SelectUp();
            return;
        case VK_DOWN:
            SelectDown();
            return;
        case VK_LEFT:
            SelectLeft();
            return;
        case VK_RIGHT:
            SelectRight();
            return;
        default:
            return;
    }
}

Integer TqxSkinImagesMenuPopupWindow::FirstSelectable() const {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    return items->Count() > 1 && items->Items(0)->Header() ? 1 : 0;
}

void TqxSkinImagesMenuPopupWindow::SelectUp() {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    if (MouseInItem == -1) return SetHover(items->Count() - 1);
    const TRect& from = items->Items(MouseInItem)->ItemRect;
    for (Integer i = MouseInItem - 1; i >= 0; --i) {
        const TqxImagesMenuItem* item = items->Items(i);
        if (!item->Header() && item->ItemRect.Top < from.Top && (item->Button() || item->ItemRect.Left == from.Left))
            return SetHover(i);
    }
}

void TqxSkinImagesMenuPopupWindow::SelectDown() {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    if (MouseInItem == -1) return SetHover(FirstSelectable());
    const TRect& from = items->Items(MouseInItem)->ItemRect;
    for (Integer i = MouseInItem + 1; i < items->Count(); ++i) {
        const TqxImagesMenuItem* item = items->Items(i);
        if (!item->Header() && item->ItemRect.Top > from.Top && (item->Button() || item->ItemRect.Left == from.Left))
            return SetHover(i);
    }
}

void TqxSkinImagesMenuPopupWindow::SelectRight() {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    if (MouseInItem == -1 || MouseInItem == items->Count() - 1) return SetHover(FirstSelectable());
    for (Integer i = MouseInItem + 1; i < items->Count(); ++i)
        if (!items->Items(i)->Header()) return SetHover(i);
}

void TqxSkinImagesMenuPopupWindow::SelectLeft() {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    if (MouseInItem == -1 || MouseInItem <= FirstSelectable()) return SetHover(items->Count() - 1);
    for (Integer i = MouseInItem - 1; i >= 0; --i)
        if (!items->Items(i)->Header()) return SetHover(i);
}

void TqxSkinImagesMenuPopupWindow::Paint() {
    TBitmap buffer;
    if (SkinSupport() && WindowPicture) {
        TqxDataSkinPopupWindow* pw = ImagesMenu->SkinData()->PopupWindow();
        BuildWindowNinePartImage(pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect, NewLTPoint,
                                 NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &buffer, WindowPicture,
                                 Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), Width(), Height(),
                                 true, pw->LeftStretch, pw->TopStretch, pw->RightStretch, pw->BottomStretch,
                                 pw->StretchEffect, pw->StretchType);
    } else {
        buffer.SetSize(Width(), Height());
        TCanvas* c = buffer.Canvas();
        c->Pen()->SetColor(clBtnShadow);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWindow);
        c->Rectangle(0, 0, Width(), Height());
    }
    DrawItems(buffer.Canvas());
    Canvas()->Draw(0, 0, &buffer);
}

void TqxSkinImagesMenuPopupWindow::DrawItems(TCanvas* C) {
    TqxImagesMenuItems* items = ImagesMenu->ImagesItems();
    TCustomImageList* images = ImagesMenu->Images();
    const Integer selected = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex() : -1;
    for (Integer i = 0; i < items->Count(); ++i) {
        TqxImagesMenuItem* item = items->Items(i);
        const TRect& r = item->ItemRect;
        if (item->Header()) {
            DrawHeader(C, r, item->Caption());
            continue;
        }
        const bool selectedDown = i == selected && !FItemDown;
        const bool hovered = i == MouseInItem;
        if (selectedDown)
            DrawItemFrame(C, r, true);
        else if (hovered)
            DrawItemFrame(C, r, FItemDown);
        Integer textLeft = r.Left;
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
            images->Draw(C, r.Left + 5, r.Top + 5, item->ImageIndex());
            textLeft = r.Left + 5 + images->Width() + 5;
        }
        if (item->Button() && !item->Caption().empty())
            DrawButtonCaption(C, item->Caption(), Rect(textLeft, r.Top, r.Right, r.Bottom),
                              selectedDown || (hovered && FItemDown), hovered && !FItemDown);
    }
}

void TqxSkinImagesMenuPopupWindow::DrawItemFrame(TCanvas* C, const TRect& R, bool APressed) {
    auto* element = SkinSupport() ? dynamic_cast<TqxDataSkinButtonControl*>(Element(u"menuitembutton", u"resizebutton"))
                                  : nullptr;
    TBitmap* picture = element ? ImagesMenu->SkinData()->GetActivePicture(element->PictureIndex) : nullptr;
    if (picture) {
        TRect source = element->SkinRect;
        if (APressed && !IsRectDegenerate(element->DownSkinRect))
            source = element->DownSkinRect;
        else if (!IsRectDegenerate(element->ActiveSkinRect))
            source = element->ActiveSkinRect;
        TBitmap frame;
        const Integer w = R.Width(), h = R.Height();
        const Integer sw = source.Width(), sh = source.Height();
        BuildNinePartImage(element->LTPoint, element->RTPoint, element->LBPoint, element->RBPoint, element->ClRect,
                           element->LTPoint, Point(w - (sw - element->RTPoint.X), element->RTPoint.Y),
                           Point(element->LBPoint.X, h - (sh - element->LBPoint.Y)),
                           Point(w - (sw - element->RBPoint.X), h - (sh - element->RBPoint.Y)),
                           Rect(element->ClRect.Left, element->ClRect.Top, w - (sw - element->ClRect.Right),
                                h - (sh - element->ClRect.Bottom)),
                           &frame, picture, source, w, h, true, element->LeftStretch, element->TopStretch,
                           element->RightStretch, element->BottomStretch, element->StretchEffect,
                           element->StretchType);
        C->Draw(R.Left, R.Top, &frame);
        return;
    }
    C->Pen()->SetColor(TColor(0xB76B3B));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(APressed ? TColor(0xE4BCA2) : TColor(0xF3D4C1));
    C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
}

void TqxSkinImagesMenuPopupWindow::DrawButtonCaption(TCanvas* C, const String& ACaption, const TRect& R,
                                                     bool APressed, bool AHovered) {
    TqxSkinData* sd = ImagesMenu->SkinData();
    Integer objectIndex = -1;
    if (SkinSupport()) {
        objectIndex = sd->GetIndex(u"menuitem");
        if (objectIndex == -1) objectIndex = sd->GetIndex(u"MENUITEM");
    }
    auto* menuItem = objectIndex == -1 ? nullptr : dynamic_cast<TqxDataSkinMenuItem*>(sd->ObjectList[objectIndex]);
    auto* element = menuItem ? dynamic_cast<TqxDataSkinButtonControl*>(Element(u"menuitembutton", u"resizebutton"))
                             : nullptr;
    C->Font()->Assign(ImagesMenu->DefaultFont());
    if (element) {
        if (ImagesMenu->UseSkinFont) {
            C->Font()->SetName(element->FontName);
            C->Font()->SetHeight(element->FontHeight);
            C->Font()->SetStyle(element->FontStyle);
        }
        C->Font()->SetColor(APressed ? element->DownFontColor
                            : AHovered ? element->ActiveFontColor
                                       : menuItem->FontColor);
    } else {
        C->Font()->SetColor(clWindowText);
    }
    C->Brush()->SetStyle(bsClear);
    const bool fits = C->TextWidth(ACaption) <= R.Width();
    SkinDrawText(C, ACaption, R, DT_SINGLELINE | DT_VCENTER | (fits ? DT_CENTER : DT_LEFT));
}

void TqxSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& R, const String& ACaption) {
    auto* label = dynamic_cast<TqxDataSkinLabelControl*>(Element(u"label"));
    TBitmap* picture = label ? ImagesMenu->SkinData()->GetActivePicture(label->PictureIndex) : nullptr;
    if (!label || !picture) {
        C->Brush()->SetStyle(bsClear);
        SkinDrawText(C, ACaption, R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        return;
    }
    TBitmap bar;
    BuildHorzThreePartImage(label->LTPoint.X, label->SkinRect.Width() - label->RTPoint.X, &bar, picture,
                            label->SkinRect, R.Width(), label->SkinRect.Height(), label->StretchEffect);
    TCanvas* bc = bar.Canvas();
    bc->Font()->SetName(label->FontName);
    bc->Font()->SetHeight(label->FontHeight);
    bc->Font()->SetStyle(label->FontStyle);
    bc->Font()->SetColor(label->FontColor);
    bc->Brush()->SetStyle(bsClear);
    SkinDrawText(bc, ACaption,
                 Rect(label->ClRect.Left, label->ClRect.Top, bar.Width() + label->ClRect.Right - label->SkinRect.Width(),
                      bar.Height()),
                 DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    C->Draw(R.Left, R.Top, &bar);
}

TqxSkinImagesMenu::TqxSkinImagesMenu(TComponent* AOwner)
    : TqxCustomImagesMenu(AOwner),
      FImagesItems(std::make_unique<TqxImagesMenuItems>(this)),
      FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TqxSkinImagesMenu::~TqxSkinImagesMenu() {
    FPopupWindow.reset();
    FClosedWindow.reset();
}

void TqxSkinImagesMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxCustomImagesMenu::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TqxSkinImagesMenu::SetSkinHint(TqxSkinHint* AValue) {
    SetReference(this, FSkinHint, AValue);
}

void TqxSkinImagesMenu::SetColumnsCount(Integer AValue) {
    if (AValue >= 1 && AValue <= 50) FColumnsCount = AValue;
}

TqxImagesMenuItem* TqxSkinImagesMenu::SelectedItem() const {
    return FItemIndex >= 0 && FItemIndex < FImagesItems->Count() ? FImagesItems->Items(FItemIndex) : nullptr;
}

bool TqxSkinImagesMenu::SelectedPicture(TCustomImageList*& AImages, Integer& AIndex, String& ACaption) const {
    TqxImagesMenuItem* item = SelectedItem();
    if (!item) return false;
    AImages = FImages;
    AIndex = item->ImageIndex();
    ACaption = item->Caption();
    return true;
}

void TqxSkinImagesMenu::Popup(Integer X, Integer Y) {
    PopupFromRect(Rect(X, Y, X, Y));
}

void TqxSkinImagesMenu::PopupFromRect(const TRect& R) {
    Hide();
    if (OnMenuPopup) OnMenuPopup(this);
    // Without items there is nothing to lay out: nothing opens.
    if (!FImages || FImages->Count() == 0 || FImagesItems->Count() == 0) return;
    FOldItemIndex = FItemIndex;
    FClosedWindow.reset();
    FPopupWindow = std::make_unique<TqxSkinImagesMenuPopupWindow>(this);
    FPopupWindow->Show(R);
}

void TqxSkinImagesMenu::Hide() {
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TqxSkinImagesMenu::MenuClosed(bool AProcessEvents) {
    // The close may run inside the popup's own handlers: it is freed later.
    FClosedWindow = std::move(FPopupWindow);
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents || FItemIndex == -1) return;
    if (TqxImagesMenuItem* item = SelectedItem(); item && item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
        if (OnInternalChange) OnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}

namespace {

const auto Registered = [] {
    using I = TqxImagesMenuItem;
    RegisterClass<I, TCollectionItem>()
        .Property(u"ImageIndex", &I::ImageIndex, &I::SetImageIndex)
        .Property(u"Caption", &I::Caption, &I::SetCaption)
        .Property(u"Button", &I::Button, &I::SetButton)
        .Property(u"Header", &I::Header, &I::SetHeader)
        .Property(u"Hint", &I::Hint, &I::SetHint)
        .Event(u"OnClick", &I::OnClick);
    using M = TqxSkinImagesMenu;
    RegisterClass<M, TComponent>()
        .Property(u"Images", &M::Images, &M::SetImages)
        .Property(u"ItemIndex", &M::ItemIndex, &M::SetItemIndex)
        .Property(u"ColumnsCount", &M::ColumnsCount, &M::SetColumnsCount)
        .Property(u"SkinData", &M::SkinData, &M::SetSkinData)
        .Property(u"SkinHint", &M::SkinHint, &M::SetSkinHint)
        .Property(u"ImagesItems", &M::ImagesItems)
        .Property(u"DefaultFont", &M::DefaultFont)
        .Event(u"OnItemClick", &M::OnItemClick)
        .Event(u"OnChange", &M::OnChange)
        .Event(u"OnMenuPopup", &M::OnMenuPopup)
        .Event(u"OnMenuClose", &M::OnMenuClose);
    return true;
}();

}  // namespace
