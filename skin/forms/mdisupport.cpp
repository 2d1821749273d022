// MDI support of the form component: the skinned client background and
// scroll bars of an MDI main form, the arrange commands, the Window menu and
// tab bar entries of the children, and the messages that keep one maximized
// state shared by all children.
#include <algorithm>
#include <cmath>

#include "platform/toolkit/controlinternal.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlink.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/mditabsbar.h"
#include "skin/forms/menubar.h"
#include "skin/forms/ribbon.h"

using namespace win;

namespace {

const String ChildItemMarker = u"_QXDCHILDITEM";

TCustomForm* MainForm() {
    return Application ? Application->MainForm() : nullptr;
}

std::vector<TCustomForm*> ChildrenOf(TCustomForm* AForm) {
    std::vector<TCustomForm*> list;
    for (Integer i = 0; AForm && i < AForm->MDIChildCount(); ++i)
        list.push_back(AForm->MDIChildren(i));
    return list;
}

// The item name without its first marker.
String ChildNameOfItem(const String& AName, const String& AMarker) {
    String name = AName;
    if (const size_t at = name.find(AMarker); at != String::npos) name.erase(at, AMarker.size());
    return name;
}

}  // namespace

TqxDravenfold* FindActiveChildDravenfold() {
    TCustomForm* main = MainForm();
    TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    return child ? FindDravenfold(child) : nullptr;
}

TqxDravenfold* TqxDravenfold::MainFormDravenfold() {
    TCustomForm* main = MainForm();
    return main && main->FormStyle() == fsMDIForm ? FindDravenfold(main) : nullptr;
}

bool TqxDravenfold::IsMDIChild() const {
    return FForm->FormStyle() == fsMDIChild;
}

bool TqxDravenfold::IsMDIForm() const {
    return FForm->FormStyle() == fsMDIForm;
}

LRESULT TqxDravenfold::SendToMainForm(UINT AMsg, WPARAM AWParam) {
    TCustomForm* main = MainForm();
    if (!main || main == FForm || !main->HandleAllocated()) return 0;
    return SendMessageW(main->Handle(), AMsg, AWParam, 0);
}

void TqxDravenfold::SetShowMDIScrollBars(bool Value) {
    if (FShowMDIScrollBars == Value) return;
    FShowMDIScrollBars = Value;
    UpdateMDIScrollBars(true);
}

void TqxDravenfold::SetMDITabsBar(TqxSkinMDITabsBar* Value) {
    SetReference(this, FMDITabsBar, Value);
}

TRect TqxDravenfold::GetMDIClientArea() const {
    TCustomForm* main = MainForm();
    if (!main) return TRect{};
    Integer top = 0, bottom = main->ClientHeight(), left = 0, right = main->ClientWidth();
    for (Integer i = 0; i < main->ControlCount(); ++i) {
        TControl* c = main->Controls(i);
        if (!c->Visible()) continue;
        switch (c->Align()) {
            case alTop:
                top = std::max(top, c->Top() + c->Height());
                break;
            case alBottom:
                bottom = std::min(bottom, c->Top());
                break;
            case alLeft:
                left = std::max(left, c->Left() + c->Width());
                break;
            case alRight:
                right = std::min(right, c->Left());
                break;
            default:
                break;
        }
    }
    return Rect(left, top, right, bottom);
}

TCustomForm* TqxDravenfold::GetMaximizedMDIChild() const {
    TCustomForm* main = MainForm();
    if (!main) return nullptr;
    const auto maximized = [](TCustomForm* AChild) {
        TqxDravenfold* component = AChild ? FindDravenfold(AChild) : nullptr;
        return component && component->WindowState() == wsMaximized;
    };
    if (maximized(main->ActiveMDIChild())) return main->ActiveMDIChild();
    for (TCustomForm* child : ChildrenOf(main))
        if (maximized(child)) return child;
    return nullptr;
}

String TqxDravenfold::MDIFormCaption() const {
    TCustomForm* active = IsMDIForm() && FMDIChildMaximized ? FForm->ActiveMDIChild() : nullptr;
    return active ? FForm->Caption() + u" - [" + active->Caption() + u"]" : FForm->Caption();
}

// Arranging.

void TqxDravenfold::Tile() {
    if (FTileMode == tbHorizontal)
        TileHorizontal();
    else
        TileVertical();
}

void TqxDravenfold::TileHorizontal() {
    if (!IsMDIForm()) return;
    const std::vector<TCustomForm*> children = ChildrenOf(FForm);
    const Integer n = Integer(children.size());
    if (n == 0) return;
    RestoreAll();
    const Integer cols = std::max(Integer(std::sqrt(double(n))), 1);
    Integer rows = (n + cols - 1) / cols;
    const TRect r = GetMDIClientArea();
    const Integer colW = r.Width() / cols;
    Integer cellH = r.Height() / rows;
    Integer right = r.Width(), bottom = r.Height(), colsLeft = cols;
    for (Integer i = n - 1; i >= 0; --i) {
        children[size_t(i)]->SetBounds(std::max(right - colW, 0), std::max(bottom - cellH, 0), colW, cellH);
        bottom -= cellH;
        if (bottom - cellH < 0) {
            bottom = r.Height();
            right -= colW;
            colsLeft = std::max(colsLeft - 1, 1);
            rows = std::max((i + colsLeft - 1) / colsLeft, 1);
            cellH = r.Height() / rows;
        }
    }
}

void TqxDravenfold::TileVertical() {
    if (!IsMDIForm()) return;
    const std::vector<TCustomForm*> children = ChildrenOf(FForm);
    const Integer n = Integer(children.size());
    if (n == 0) return;
    RestoreAll();
    Integer rows = std::max(Integer(std::sqrt(double(n))), 1);
    const Integer cols = n / rows;
    const TRect r = GetMDIClientArea();
    const Integer colW = r.Width() / cols;
    Integer cellH = r.Height() / rows;
    Integer x = 0, y = 0, colsLeft = cols;
    for (Integer i = 0; i < n; ++i) {
        children[size_t(i)]->SetBounds(x, y, colW, cellH);
        y += cellH;
        if (y + cellH > r.Height()) {
            y = 0;
            x += colW;
            colsLeft = std::max(colsLeft - 1, 1);
            rows = std::max((n - (i + 1)) / colsLeft, 1);
            cellH = r.Height() / rows;
        }
    }
}

void TqxDravenfold::Cascade() {
    if (!IsMDIForm()) return;
    const std::vector<TCustomForm*> children = ChildrenOf(FForm);
    const Integer n = Integer(children.size());
    if (n == 0) return;
    RestoreAll();
    const TRect r = GetMDIClientArea();
    const Integer w = r.Width(), h = r.Height();
    // A skin whose client rectangle starts at its top edge would give no
    // step at all: the default caption step stands in.
    Integer step = FSkinSupport ? NewClRect.Top : GetDefCaptionHeight() + 3;
    if (step < 1) step = GetDefCaptionHeight() + 3;
    const Integer maxSteps = (w - Integer(std::lrint(w * 0.8))) / step;
    const Integer steps = maxSteps > n ? n - 1 : maxSteps;
    const Integer childW = std::max(w - step * steps, GetMinWidth());
    const Integer childH = std::max(h - step * steps, GetMinHeight());
    Integer offset = 0;
    for (Integer i = n - 1; i >= 0; --i) {
        TCustomForm* child = children[size_t(i)];
        const bool fixed = child->BorderStyle() == bsSingle;
        const Integer cw = fixed ? child->Width() : childW, ch = fixed ? child->Height() : childH;
        if (offset + cw > w || offset + ch > h) offset = 0;
        child->SetBounds(offset, offset, cw, ch);
        offset += step;
    }
}

void TqxDravenfold::MinimizeAll() {
    if (!IsMDIForm()) return;
    for (TCustomForm* child : ChildrenOf(FForm))
        if (TqxDravenfold* component = FindDravenfold(child)) component->SetWindowState(wsMinimized);
}

void TqxDravenfold::MaximizeAll() {
    if (!IsMDIForm()) return;
    for (TCustomForm* child : ChildrenOf(FForm))
        if (TqxDravenfold* component = FindDravenfold(child);
            component && component->BorderIcons().Contains(TqxBorderIcon::biMaximize))
            component->SetWindowState(wsMaximized);
}

void TqxDravenfold::CloseAll() {
    if (!IsMDIForm()) return;
    const std::vector<TCustomForm*> children = ChildrenOf(FForm);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const WeakControl child(*it);
        if (child.Alive()) (*it)->Close();
    }
}

void TqxDravenfold::RestoreAll() {
    RestoreAllExcept(nullptr);
}

void TqxDravenfold::RestoreAllExcept(HWND AFormHandle) {
    if (!IsMDIForm()) return;
    for (TCustomForm* child : ChildrenOf(FForm)) {
        if (AFormHandle && child->HandleAllocated() && child->Handle() == AFormHandle) continue;
        TqxDravenfold* component = FindDravenfold(child);
        if (!component) continue;
        if (component->WindowState() != wsNormal) component->SetWindowState(wsNormal);
        if (component->WindowState() == wsNormal && component->RollUpState())
            component->SetRollUpState(false);
    }
}

void TqxDravenfold::RefitMDIChildren() {
    if (!IsMDIForm()) return;
    for (TCustomForm* child : ChildrenOf(FForm))
        if (child->HandleAllocated()) SendMessageW(child->Handle(), SKINMSG_MDICHILDFIT, 0, 0);
    if (!FShowMDIScrollBars) ArrangeMinimizedChildren();
}

void TqxDravenfold::ArrangeMinimizedChildren() {
    if (!IsMDIForm()) return;
    for (TCustomForm* child : ChildrenOf(FForm)) {
        TqxDravenfold* component = FindDravenfold(child);
        if (!component || component->WindowState() != wsMinimized) continue;
        TPoint p;
        component->FindMinimizedPlace(p);
        child->SetBounds(p.X, p.Y, child->Width(), child->Height());
    }
}

// The Window menu.

void TqxDravenfold::AddChildToMenu(TCustomForm* Child) {
    TCustomForm* main = MainForm();
    if (!main || !FindDravenfold(main) || !main->WindowMenu()) return;
    auto* item = new TMenuItem(this);
    item->SetName(Child->Name() + ChildItemMarker);
    item->SetCaption(Child->Caption());
    item->OnClick = [this](TObject* Sender) { MDIItemClick(Sender); };
    main->WindowMenu()->Add(item);
}

void TqxDravenfold::DeleteChildFromMenu(TCustomForm* Child) {
    TCustomForm* main = MainForm();
    if (!main || !FindDravenfold(main) || !main->WindowMenu()) return;
    TMenuItem* menu = main->WindowMenu();
    const auto deleteFirst = [&](const std::function<bool(const String&)>& AMatch) {
        for (Integer i = 0; i < menu->Count(); ++i) {
            TMenuItem* item = menu->Items(i);
            if (item->Name().find(ChildItemMarker) == String::npos || !AMatch(item->Name())) continue;
            menu->Delete(i);
            return;
        }
    };
    deleteFirst(
        [&](const String& AName) { return ChildNameOfItem(AName, ChildItemMarker) == Child->Name(); });
    if (main->MDIChildCount() == 0) deleteFirst([](const String&) { return true; });
}

void TqxDravenfold::UpDateChildCaptionInMenu(TCustomForm* Child) {
    TCustomForm* main = MainForm();
    if (!main || !FindDravenfold(main) || !main->WindowMenu()) return;
    TMenuItem* menu = main->WindowMenu();
    for (Integer i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Name() == Child->Name() + ChildItemMarker) {
            menu->Items(i)->SetCaption(Child->Caption());
            return;
        }
}

void TqxDravenfold::UpDateChildActiveInMenu() {
    TCustomForm* main = MainForm();
    if (!main || !FindDravenfold(main) || !main->WindowMenu()) return;
    TMenuItem* menu = main->WindowMenu();
    TCustomForm* active = main->ActiveMDIChild();
    for (Integer i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (item->Name().find(ChildItemMarker) == String::npos) continue;
        item->SetChecked(active && item->Name() == active->Name() + ChildItemMarker);
    }
}

void TqxDravenfold::MDIItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    TCustomForm* main = MainForm();
    if (!item || !main) return;
    const String name = ChildNameOfItem(item->Name(), ChildItemMarker);
    for (TCustomForm* child : ChildrenOf(main)) {
        if (child->Name() != name) continue;
        if (TqxDravenfold* component = FindDravenfold(child);
            component && component->WindowState() == wsMinimized)
            component->SetWindowState(wsNormal);
        child->Show();
    }
}

// The tab bar.

void TqxDravenfold::AddChildToBar(TCustomForm* Child) {
    bool accept = true;
    if (OnAcceptToMDITabsBar) OnAcceptToMDITabsBar(accept);
    TqxDravenfold* main = MainFormDravenfold();
    if (accept && main && main->FMDITabsBar) main->FMDITabsBar->AddTab(Child);
}

void TqxDravenfold::DeleteChildFromBar(TCustomForm* Child) {
    if (TqxDravenfold* main = MainFormDravenfold(); main && main->FMDITabsBar)
        main->FMDITabsBar->DeleteTab(Child);
}

void TqxDravenfold::RefreshMDIBarTab(TCustomForm* Child) {
    if (TqxDravenfold* main = MainFormDravenfold(); main && main->FMDITabsBar)
        main->FMDITabsBar->RefreshTab(Child);
}

void TqxDravenfold::RefreshMainMenuBar() {
    TqxDravenfold* main = MainFormDravenfold();
    TqxSkinMainMenuBar* bar = main ? main->FMainMenuBar : nullptr;
    if (bar && (bar->GetChildMainMenu() || bar->ChildMenuIn())) bar->UpDateItems();
}

void TqxDravenfold::RefreshMDITabsBar() {
    if (TqxDravenfold* main = MainFormDravenfold(); main && main->FMDITabsBar)
        main->FMDITabsBar->UpdateActiveTab();
}

// Scroll bars of the client area.

void TqxDravenfold::CreateMDIScrollBars() {
    if (FMDIHScrollBar || !IsMDIForm()) return;
    const auto make = [this](TScrollBarKind AKind, Integer& AApplied) {
        auto* bar = new TqxSkinScrollBar(this);
        bar->SetKind(AKind);
        if (AKind == sbHorizontal) {
            bar->SetHeight(17);
            bar->SetSkinDataName(u"hscrollbar");
        } else {
            bar->SetWidth(17);
            bar->SetSkinDataName(u"vscrollbar");
        }
        bar->SetSkinData(FSD);
        bar->SetVisible(false);
        bar->SetParent(FForm);
        const bool horizontal = AKind == sbHorizontal;
        Integer* applied = &AApplied;
        const auto apply = [this, bar, applied, horizontal](TObject*) {
            ApplyMDIScrollPosition(bar, *applied, horizontal);
        };
        bar->OnUpButtonClick = [bar, apply](TObject* Sender) {
            bar->SetPosition(bar->Position() + 10);
            apply(Sender);
        };
        bar->OnDownButtonClick = [bar, apply](TObject* Sender) {
            bar->SetPosition(bar->Position() - 10);
            apply(Sender);
        };
        bar->OnPageUp = apply;
        bar->OnPageDown = apply;
        bar->OnLastChange = apply;
        return bar;
    };
    FMDIHScrollBar = make(sbHorizontal, FOldHSrollBarPosition);
    FMDIVScrollBar = make(sbVertical, FOldVSrollBarPosition);
}

void TqxDravenfold::ApplyMDIScrollPosition(TqxSkinScrollBar* ABar, Integer& AApplied, bool AHorizontal) {
    if (ABar->Position() == AApplied) return;
    const Integer delta = AApplied - ABar->Position();
    FStopCheckChildMove = true;
    for (TCustomForm* child : ChildrenOf(FForm)) {
        if (!child->Visible()) continue;
        if (AHorizontal)
            child->SetLeft(child->Left() + delta);
        else
            child->SetTop(child->Top() + delta);
    }
    FStopCheckChildMove = false;
    UpdateMDIScrollBars(false);
    AApplied = ABar->Position();
}

void TqxDravenfold::UpdateMDIScrollBars(bool AUpdateRange) {
    TqxSkinScrollBar* hbar = FMDIHScrollBar;
    TqxSkinScrollBar* vbar = FMDIVScrollBar;
    if (!hbar || !vbar) return;
    if (hbar->SkinData() != FSD) hbar->SetSkinData(FSD);
    if (vbar->SkinData() != FSD) vbar->SetSkinData(FSD);
    if (FMDIChildMaximized || !FShowMDIScrollBars) {
        hbar->SetVisible(false);
        vbar->SetVisible(false);
        return;
    }
    const TRect r = GetMDIClientArea();
    Integer minL = 100000, minT = 100000, maxR = -100000, maxB = -100000;
    for (TCustomForm* child : ChildrenOf(FForm)) {
        if (!child->Visible() || (child->HandleAllocated() && child->Handle() == ChangeVisibleChildHanle))
            continue;
        minL = std::min(minL, child->Left());
        minT = std::min(minT, child->Top());
        maxR = std::max(maxR, child->Left() + child->Width());
        maxB = std::max(maxB, child->Top() + child->Height());
    }
    bool needH = minL < 0 || r.Width() < maxR;
    bool needV = minT < 0 || r.Height() < maxB;
    if (needV && !needH) needH = minL < 0 || r.Width() - vbar->Width() < maxR;
    if (needH && !needV) needV = minT < 0 || r.Height() - hbar->Height() < maxB;
    bool changed = false;
    if (needH && !hbar->Visible()) {
        hbar->SetBounds(r.Left, r.Bottom - hbar->Height(), r.Width(), hbar->Height());
        hbar->SetVisible(true);
        changed = true;
    } else if (!needH && hbar->Visible()) {
        hbar->SetVisible(false);
        changed = true;
    }
    if (needV && !vbar->Visible()) {
        const Integer height = r.Height() - (needH ? hbar->Height() : 0);
        vbar->SetBounds(r.Right - vbar->Width(), r.Top, vbar->Width(), height);
        vbar->SetVisible(true);
        changed = true;
    } else if (!needV && vbar->Visible()) {
        vbar->SetVisible(false);
        changed = true;
    }
    AlignMDIScrollBars();
    if (hbar->Visible()) {
        maxR = std::max(maxR, r.Width());
        if (AUpdateRange) {
            const Integer page = r.Width() - (vbar->Visible() ? vbar->Width() : 0);
            hbar->SetRange(0, maxR - std::min(minL, 0) - 1, -std::min(minL, 0), page);
            FOldHSrollBarPosition = hbar->Position();
        }
        hbar->SetLargeChange(hbar->PageSize());
    }
    if (vbar->Visible()) {
        maxB = std::max(maxB, r.Height());
        if (AUpdateRange) {
            const Integer page = r.Height() - (hbar->Visible() ? hbar->Height() : 0);
            vbar->SetRange(0, maxB - std::min(minT, 0) - 1, -std::min(minT, 0), page);
            FOldVSrollBarPosition = vbar->Position();
        }
        vbar->SetLargeChange(vbar->PageSize());
    }
    if (!hbar->Visible() && !vbar->Visible()) changed = false;
    if (changed) UpdateMDIScrollBars(AUpdateRange);
}

void TqxDravenfold::AlignMDIScrollBars() {
    TqxSkinScrollBar* hbar = FMDIHScrollBar;
    TqxSkinScrollBar* vbar = FMDIVScrollBar;
    if (!hbar || !vbar || !IsMDIForm() || (!hbar->Visible() && !vbar->Visible())) return;
    const TRect r = GetMDIClientArea();
    if (hbar->Visible()) {
        if (hbar->Both() != vbar->Visible()) hbar->SetBoth(vbar->Visible());
        hbar->SetBounds(r.Left, r.Bottom - hbar->Height(), r.Width(), hbar->Height());
    }
    if (vbar->Visible())
        vbar->SetBounds(r.Right - vbar->Width(), r.Top, vbar->Width(),
                        r.Height() - (hbar->Visible() ? hbar->Height() : 0));
}

void TqxDravenfold::CancelChildModes() {
    if (!ComponentState().Empty() || !IsMDIForm() || !FForm->Visible()) return;
    std::vector<TControl*> controls;
    for (Integer i = 0; i < FForm->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(FForm->Components(i));
            control && (dynamic_cast<TqxSkinControl*>(control) || dynamic_cast<TqxSkinCustomEdit*>(control)))
            controls.push_back(control);
    for (TControl* control : controls)
        if (control->Visible() && control->Enabled()) control->Perform(CM_CANCELMODE, 0, 0);
}

// The client window's subclass.

void TqxDravenfold::SubclassMDIClient() {
    if (!IsMDIForm() || !FForm->ClientHandle()) return;
    CreateMDIScrollBars();
    const HWND client = FForm->ClientHandle();
    if (client == FSubclassedClient) return;
    // A client made again with its form starts from its own procedure.
    if (FClientInstance) FreeObjectInstance(FClientInstance);
    FPrevClientProc = reinterpret_cast<WNDPROC>(GetWindowLongW(client, GWL_WNDPROC));
    FClientInstance = MakeObjectInstance([this](TMessage& Message) { ClientWindowProc(Message); });
    SetWindowLongW(client, GWL_WNDPROC, LONG_PTR(FClientInstance));
    FSubclassedClient = client;
    NudgeFormWidth();
}

void TqxDravenfold::UnsubclassMDIClient() {
    if (!FClientInstance) return;
    if (FSubclassedClient && IsWindow(FSubclassedClient) &&
        reinterpret_cast<WNDPROC>(GetWindowLongW(FSubclassedClient, GWL_WNDPROC)) == FClientInstance)
        SetWindowLongW(FSubclassedClient, GWL_WNDPROC, LONG_PTR(FPrevClientProc));
    FreeObjectInstance(FClientInstance);
    FClientInstance = nullptr;
    FSubclassedClient = nullptr;
}

void TqxDravenfold::ClientWindowProc(TMessage& Message) {
    const HWND client = FSubclassedClient;
    const auto previous = [&] {
        Message.Result =
            CallWindowProcW(FPrevClientProc, client, Message.Msg, Message.WParam, Message.LParam);
    };
    switch (Message.Msg) {
        case WM_SIZE: {
            previous();
            const LRESULT result = Message.Result;
            RefitMDIChildren();
            const bool skinned = FSD && !FSD->Empty;
            const bool fullRepaint = !FLogoBitMap->Empty() ||
                                     (skinned && ((FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                                                  (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1)));
            if (fullRepaint) {
                const RECT r{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
                RedrawWindow(client, &r, nullptr, RDW_ERASE | RDW_INVALIDATE);
            }
            UpdateMDIScrollBars(true);
            Message.Result = result;
            return;
        }
        case WM_ERASEBKGND: {
            const HDC dc = reinterpret_cast<HDC>(Message.WParam);
            if (!FSD || FSD->Empty)
                PaintMDIBGDefault(dc);
            else if (FSD->MDIBGPictureIndex != -1)
                PaintBG3(dc);
            else if (FSD->BGPictureIndex == -1)
                PaintBG(dc);
            else
                PaintBG2(dc);
            Message.Result = 0;
            return;
        }
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            Message.Result = 0;
            return;
        case WM_NCACTIVATE:
            Message.Result = 1;
            return;
        default:
            previous();
            return;
    }
}

// The window procedure's MDI part.

bool TqxDravenfold::MDIMessage(TMessage& Message) {
    const UINT msg = Message.Msg;
    if (msg >= SKINMSG_MDICHILDFIT && msg <= SKINMSG_MDIQUERYMAXIMIZED) {
        const bool parent = IsMDIForm();
        const auto refresh = [this] {
            UpDateFormNC();
            if (FMainMenuBar) FMainMenuBar->CheckMDIChildMaximized();
            if (FSkinRibbon) FSkinRibbon->MDIChildRestore();
        };
        switch (msg) {
            case SKINMSG_MDICHILDFIT:
                if (IsMDIChild() && FWindowState == wsMaximized) {
                    const TRect area = GetMDIClientArea();
                    FForm->SetBounds(0, 0, area.Width(), area.Height());
                }
                return false;
            case SKINMSG_MDICHILDMAXIMIZED:
                if (!parent || FInMaximizeAll) return false;
                FMDIChildMaximized = true;
                UpDateFormNC();
                if (FMainMenuBar) FMainMenuBar->MDIChildMaximized();
                if (FSkinRibbon) FSkinRibbon->MDIChildMaximize();
                FInMaximizeAll = true;
                MaximizeAll();
                FInMaximizeAll = false;
                // The buttons follow the child that ends up in front.
                if (FMainMenuBar) FMainMenuBar->CheckMDIChildMaximized();
                UpdateMDIScrollBars(true);
                return true;
            case SKINMSG_MDICHILDRESTORED:
                if (!parent || FInRestoreAll) return false;
                FMDIChildMaximized = GetMaximizedMDIChild() != nullptr;
                refresh();
                return true;
            case SKINMSG_MDICHILDMOVED:
                if (!parent || FStopCheckChildMove) return false;
                ChangeVisibleChildHanle = reinterpret_cast<HWND>(Message.WParam);
                UpdateMDIScrollBars(true);
                ChangeVisibleChildHanle = nullptr;
                return true;
            case SKINMSG_MDIRESTOREALL:
            case SKINMSG_MDIRESTOREALLEXCEPT:
                if (!parent || FInRestoreAll || !FMDIChildMaximized) return false;
                FInRestoreAll = true;
                if (msg == SKINMSG_MDIRESTOREALL)
                    RestoreAll();
                else
                    RestoreAllExcept(reinterpret_cast<HWND>(Message.WParam));
                FInRestoreAll = false;
                FMDIChildMaximized = false;
                if (msg == SKINMSG_MDIRESTOREALLEXCEPT) FForm->Next();
                refresh();
                return true;
            default:
                Message.Result = parent && FMDIChildMaximized ? 1 : 0;
                return true;
        }
    }
    if (IsMDIForm()) {
        if (msg == WM_SHOWWINDOW && Message.WParam) SubclassMDIClient();
        if (msg == SKINMSG_CHANGED && FSD && Message.WParam == WPARAM(FSD)) {
            RefitMDIChildren();
            UpdateMDIScrollBars(true);
        }
        // The client window paints the background.
        if (msg == WM_ERASEBKGND) {
            Message.Result = 1;
            return true;
        }
        return false;
    }
    if (!IsMDIChild() || !MainFormDravenfold()) return false;
    switch (msg) {
        case WM_SHOWWINDOW:
            if (!FSkinnableForm) break;
            if (Message.WParam) {
                AddChildToMenu(FForm);
                AddChildToBar(FForm);
                if (SendToMainForm(SKINMSG_MDIQUERYMAXIMIZED) == 1 &&
                    FBorderIcons.Contains(TqxBorderIcon::biMaximize))
                    SetWindowState(wsMaximized);
            } else {
                DeleteChildFromMenu(FForm);
                DeleteChildFromBar(FForm);
                SendToMainForm(SKINMSG_MDICHILDMOVED, WPARAM(FForm->Handle()));
            }
            break;
        case WM_DESTROY:
            FWindowStateInit = FWindowState = wsNormal;
            SendToMainForm(SKINMSG_MDICHILDRESTORED);
            RefreshMainMenuBar();
            RefreshMDITabsBar();
            SendToMainForm(SKINMSG_MDICHILDMOVED, WPARAM(FForm->Handle()));
            break;
        case WM_MOUSEACTIVATE:
            if (FSkinnableForm && MainForm()->ActiveMDIChild() == FForm && !FFormActive) {
                FFormActive = true;
                SetCaptionActive(FWindowState != wsMaximized);
            }
            break;
        default:
            break;
    }
    return false;
}

void TqxDravenfold::MDIAfterMessage(const TMessage& Message) {
    if (!IsMDIChild() || !MainFormDravenfold() || !FForm->HandleAllocated()) return;
    switch (Message.Msg) {
        case WM_SHOWWINDOW:
            if (!Message.WParam) break;
            [[fallthrough]];
        case WM_MOVE:
        case WM_SIZE:
            SendToMainForm(SKINMSG_MDICHILDMOVED);
            break;
        case WM_SETTEXT:
            if (!FSkinnableForm) break;
            UpDateChildCaptionInMenu(FForm);
            RefreshMDIBarTab(FForm);
            if (FWindowState == wsMaximized) MainFormDravenfold()->UpDateFormNC();
            break;
        case WM_NCACTIVATE:
            if (!FSkinnableForm) break;
            if (FWindowState == wsMaximized) MainFormDravenfold()->UpDateFormNC();
            RefreshMainMenuBar();
            RefreshMDITabsBar();
            UpDateChildActiveInMenu();
            break;
        default:
            break;
    }
}
