// The form-skinning component: construction, links, the hook on the form,
// switching between skinned and native frame, the finder and the icon.
#include "skin/forms/dravenfold.h"

#include "skin/controls/qxskintoolbars.h"

#include "platform/gdi/icons.h"
#include "platform/toolkit/published.h"
#include "platform/win/system.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxutils.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/layeredframe.h"
#include "skin/forms/mditabsbar.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinhint.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/trayicon.h"

using namespace win;

TqxFormSkinMenuMaker FormSkinMenuMaker = MakeSkinMenu;

namespace {

std::unique_ptr<TFont> CaptionFont(TColor AColor) {
    auto font = std::make_unique<TFont>();
    font->SetName(u"Tahoma");
    font->SetStyle(TFontStyles{fsBold});
    font->SetHeight(13);
    font->SetColor(AColor);
    return font;
}

TTimer* MakeTimer(TComponent* AOwner, TNotifyEvent AOnTimer, Cardinal AInterval) {
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->OnTimer = std::move(AOnTimer);
    timer->SetInterval(AInterval);
    return timer;
}

}  // namespace

TqxDravenfold::TqxDravenfold(TComponent* AOwner) : TComponent(AOwner) {
    FForm = dynamic_cast<TCustomForm*>(AOwner);
    if (!FForm) throw EInvalidCast(u"Invalid class typecast");
    FQuickButtons = std::make_unique<TqxQuickButtonItems>(this);
    FLayerManager = new TqxLayerManager(this);
    FMenuLayerManager = new TqxLayerManager(this);
    FBorderLayer = new TqxFormLayerBorder(this);
    FIsW7 = ::IsWindows7() || ::IsWindows8OrLater();
    FIsVistaOs = ::IsVistaOrLater();
    FIsLayerEnabled = IsLayeredWindowsAvailable();
    FLogoBitMap = std::make_unique<TBitmap>();
    FDefCaptionFont = CaptionFont(clBtnText);
    FDefInActiveCaptionFont = CaptionFont(clBtnShadow);
    RMTop = std::make_unique<TBitmap>();
    RMBottom = std::make_unique<TBitmap>();
    RMLeft = std::make_unique<TBitmap>();
    RMRight = std::make_unique<TBitmap>();
    MouseTimer = MakeTimer(
        this, [this](TObject* S) { MouseTimerProc(S); }, 50);
    MorphTimer = MakeTimer(
        this, [this](TObject* S) { MorphTimerProc(S); }, 25);
    AnimateTimer = MakeTimer(
        this, [this](TObject* S) { AnimateTimerProc(S); }, 25);

    // The component draws its own caption buttons.
    FForm->SetBorderIcons({});
    OldShortCut = FForm->OnShortCut;
    FForm->OnShortCut = [this](TWMKey& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);

    FSysMenu = new TPopupMenu(this);
    InstallSkinPopupMenuMaker();
    FSysTrayMenu = new TqxSkinPopupMenu(this);
    FSysTrayMenu->SetComponentForm(FForm);
    FillTrayMenu();
    if (FormSkinMenuMaker) FSkinMenu = FormSkinMenuMaker(this, FForm);
    if (TqxSkinMenu* menu = RealSkinMenu()) {
        menu->AlphaBlend = FMenusAlphaBlend;
        menu->AlphaBlendValue = FMenusAlphaBlendValue;
        menu->AlphaBlendAnimation = FMenusAlphaBlendAnimation;
        menu->MaxMenuItemsInWindow = FMaxMenuItemsInWindow;
    }
    FBorderIcons = {TqxBorderIcon::biSystemMenu, TqxBorderIcon::biMinimize, TqxBorderIcon::biMaximize,
                    TqxBorderIcon::biRollUp};

    // Every message of the form passes here from now on; the window is made
    // again through the hook so that its frame is ours from the start.
    if (FForm->FormStyle() == fsMDIForm) CreateMDIScrollBars();
    OldWindowProc = FForm->WindowProc();
    FForm->SetWindowProc([this](TMessage& AMessage) { FormWindowProc(AMessage); });
    FForm->RecreateWnd();
}

TqxDravenfold::~TqxDravenfold() {
    *FAlive = false;
    UnhookAppMessage();
    RemoveAppRestore();
    // The frame windows go while the objects they reach are still here.
    FBorderLayer->Hide();
    UnsubclassMDIClient();
    // A form on its way out takes its child controls with it.
    if (FForm->ComponentState().Contains(csDestroying))
        FInActivePanel = nullptr;
    else
        HideClientInActiveEffect();
    ClearObjects();
    if (MouseTimer) MouseTimer->SetEnabled(false);
    if (MorphTimer) MorphTimer->SetEnabled(false);
    if (AnimateTimer) AnimateTimer->SetEnabled(false);
    // A form being destroyed has already let its window go and its own parts
    // are gone; only a form that stays gets its procedure back.
    if (!FForm->ComponentState().Contains(csDestroying)) {
        FForm->SetWindowProc(OldWindowProc);
        FForm->OnShortCut = OldShortCut;
    }
    if (FIcon) FIcon.reset();
}

bool TqxDravenfold::DesigningOrLoading() const {
    return ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
}

void TqxDravenfold::Loaded() {
    TComponent::Loaded();
    if (FWindowStateInit != FWindowState) SetWindowState(FWindowStateInit);
}

void TqxDravenfold::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) {
        // The frame falls back to the default look at once: nothing may
        // read the skin that went.
        FSD = nullptr;
        FSkinSupport = false;
        if (!ComponentState().Contains(csDestroying) && !FForm->ComponentState().Contains(csDestroying))
            RebuildSkinObjects();
    }
    if (AComponent == FMSD) FMSD = nullptr;
    if (AComponent == FMainMenu) FMainMenu = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (FMainMenuBar && AComponent == static_cast<TComponent*>(FMainMenuBar)) FMainMenuBar = nullptr;
    if (FTrayIcon && AComponent == static_cast<TComponent*>(FTrayIcon)) FTrayIcon = nullptr;
    if (FSkinHint && AComponent == static_cast<TComponent*>(FSkinHint)) FSkinHint = nullptr;
    if (AComponent == FQuickImageList) FQuickImageList = nullptr;
    RibbonRemoved(AComponent);
    if (AComponent == FStatusBar) FStatusBar = nullptr;
    if (FMDITabsBar && AComponent == static_cast<TComponent*>(FMDITabsBar)) FMDITabsBar = nullptr;
}

LRESULT TqxDravenfold::SendToForm(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    if (!FForm || !FForm->HandleAllocated()) return 0;
    return SendMessageW(FForm->Handle(), AMsg, AWParam, ALParam);
}

bool TqxDravenfold::IsMainForm() const {
    return Application && Application->MainForm() == FForm;
}

TRect TqxDravenfold::FormRect() const {
    return Rect(0, 0, FForm->Width(), FForm->Height());
}

void TqxDravenfold::SetSkinData(TqxSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (Value) FSkinnableForm = Value->SkinnableForm();
    if (!ComponentState().Contains(csDesigning)) RebuildSkinObjects();
    FSysTrayMenu->SetSkinData(FSD);
}

void TqxDravenfold::SetMenusSkinData(TqxSkinData* Value) {
    if (FMSD) FMSD->RemoveFreeNotification(this);
    FMSD = Value;
    if (FMSD) FMSD->FreeNotification(this);
}

void TqxDravenfold::SetSystemMenu(TPopupMenu* Value) {
    if (Value == FSystemMenu) return;
    // The standard items made so far carry the names the next menu's take,
    // and an open chain may show them: both go first.
    if (FSkinMenu && FSkinMenu->Visible()) FSkinMenu->Hide();
    FSysMenu->Items()->Clear();
    if (FSystemMenu) {
        FSystemMenu->RemoveFreeNotification(this);
        TMenuItem* items = FSystemMenu->Items();
        for (Integer i = items->Count() - 1; i >= 0; --i)
            if (items->Items(i)->Owner() == this) items->Delete(i);
    }
    FSystemMenu = Value;
    if (FSystemMenu) FSystemMenu->FreeNotification(this);
}

void TqxDravenfold::SetStatusBar(TqxSkinStatusBar* Value) {
    if (FStatusBar) FStatusBar->RemoveFreeNotification(this);
    FStatusBar = Value;
    if (FStatusBar) FStatusBar->FreeNotification(this);
}

void TqxDravenfold::SetQuickImageList(TCustomImageList* Value) {
    if (FQuickImageList) FQuickImageList->RemoveFreeNotification(this);
    FQuickImageList = Value;
    if (FQuickImageList) FQuickImageList->FreeNotification(this);
}

void TqxDravenfold::SetQuickButtons(TqxQuickButtonItems* Value) {
    FQuickButtons->Assign(Value);
}

void TqxDravenfold::SetUseRibbon(bool Value) {
    FUseRibbon = Value;
    if (Value && !DesigningOrLoading()) SetSkinnableForm(false);
}

void TqxDravenfold::SetBorderIcons(TqxBorderIcons Value) {
    FBorderIcons = Value;
    if (DesigningOrLoading()) return;
    UpdateButtonStates();
    UpDateFormNC();
}

void TqxDravenfold::SetShowIcon(bool Value) {
    FShowIcon = Value;
    if (!DesigningOrLoading()) UpDateFormNC();
}

void TqxDravenfold::SetMaxMenuItemsInWindow(Integer Value) {
    if (Value < 0) return;
    FMaxMenuItemsInWindow = Value;
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->MaxMenuItemsInWindow = Value;
}

void TqxDravenfold::SetSkinHint(TqxSkinHint* Value) {
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (FSkinHint) FSkinHint->FreeNotification(this);
}

TqxSkinMenu* TqxDravenfold::RealSkinMenu() const {
    return dynamic_cast<TqxSkinMenu*>(FSkinMenu.get());
}

void TqxDravenfold::SetMenusAlphaBlend(bool Value) {
    FMenusAlphaBlend = Value;
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->AlphaBlend = Value;
}

void TqxDravenfold::SetMenusAlphaBlendAnimation(bool Value) {
    FMenusAlphaBlendAnimation = Value;
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->AlphaBlendAnimation = Value;
}

void TqxDravenfold::SetMenusAlphaBlendValue(Byte Value) {
    FMenusAlphaBlendValue = Value;
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->AlphaBlendValue = Value;
}

bool TqxDravenfold::UseSkinFontInMenu() const {
    return RealSkinMenu() ? RealSkinMenu()->UseSkinFont() : true;
}

void TqxDravenfold::SetUseSkinFontInMenu(bool Value) {
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->SetUseSkinFont(Value);
}

bool TqxDravenfold::UseSkinSizeInMenu() const {
    return RealSkinMenu() ? RealSkinMenu()->UseSkinSize() : true;
}

void TqxDravenfold::SetUseSkinSizeInMenu(bool Value) {
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->SetUseSkinSize(Value);
}

Integer TqxDravenfold::DefMenuItemHeight() const {
    return RealSkinMenu() ? RealSkinMenu()->DefaultMenuItemHeight() : 20;
}

void TqxDravenfold::SetDefMenuItemHeight(Integer Value) {
    if (TqxSkinMenu* menu = RealSkinMenu(); menu && Value > 0) menu->SetDefaultMenuItemHeight(Value);
}

TFont* TqxDravenfold::DefMenuItemFont() const {
    return RealSkinMenu() ? RealSkinMenu()->DefaultMenuItemFont() : nullptr;
}

void TqxDravenfold::SetDefMenuItemFont(TFont* Value) {
    if (TqxSkinMenu* menu = RealSkinMenu()) menu->SetDefaultMenuItemFont(Value);
}

void TqxDravenfold::SetDefCaptionFont(TFont* Value) {
    FDefCaptionFont->Assign(Value);
    if (!DesigningOrLoading() && !FSkinSupport) SendToForm(WM_NCPAINT);
}

void TqxDravenfold::SetDefInActiveCaptionFont(TFont* Value) {
    FDefInActiveCaptionFont->Assign(Value);
    if (!DesigningOrLoading() && !FSkinSupport) SendToForm(WM_NCPAINT);
}

void TqxDravenfold::SetSkinnableForm(bool Value) {
    if (FUseRibbon) Value = false;
    FFormActive = GetFormActive();
    if (ComponentState().Contains(csDesigning)) return;
    const bool mdiForm = IsMDIForm();
    // The children's frames and shared maximized state hang on the mode.
    if (mdiForm && FForm->MDIChildCount() > 0) return;
    // A maximized form leaves the state first and comes back maximized in the
    // new mode; an MDI form stays shown meanwhile.
    bool wasMaximized = false;
    if (FWindowStateInit == wsMaximized && FSkinnableForm) {
        if (!mdiForm) FForm->Hide();
        SetWindowState(wsNormal);
        wasMaximized = true;
    } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(wsNormal);
        if (!mdiForm) FForm->Hide();
        wasMaximized = true;
    }
    FSkinnableForm = Value;
    RebuildSkinObjects();
    ChangeControlsSkinData(nullptr, FForm);
    if (mdiForm) {
        // Once its client is subclassed, the form comes with a new window
        // (and client) for the new frame metrics; the client is subclassed
        // again and the form laid out anew.
        if (FClientInstance) {
            FForm->SetWindowProc([this](TMessage& AMessage) { FormWindowProc(AMessage); });
            FForm->RecreateWnd();
        }
        SubclassMDIClient();
        NudgeFormWidth();
    } else {
        FForm->SetWindowProc([this](TMessage& AMessage) { FormWindowProc(AMessage); });
        // The frame metrics of the new mode come with a new window.
        if (!FSkinnableForm && FIsVistaOs) FForm->RecreateWnd();
    }
    if (wasMaximized) {
        if (FSkinnableForm)
            SetWindowState(wsMaximized);
        else
            FForm->SetWindowState(wsMaximized);
        if (!mdiForm) FForm->Show();
    }
}

void TqxDravenfold::Move(Integer AX, Integer AY) {
    if (FrameHasOuterEdge()) {
        AX += FBorderLayer->LeftSize;
        AY += FBorderLayer->TopSize;
    }
    FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TqxDravenfold::SetBounds(Integer AX, Integer AY, Integer AWidth, Integer AHeight) {
    if (FrameHasOuterEdge()) {
        const TqxFormLayerBorder& frame = *FBorderLayer;
        AX += frame.LeftSize;
        AY += frame.TopSize;
        AWidth -= frame.LeftSize + frame.RightSize;
        AHeight -= frame.TopSize + frame.BottomSize;
    }
    FForm->SetBounds(AX, AY, AWidth, AHeight);
}

void TqxDravenfold::UpDateFormNC() {
    if (FullBorderFrameShown())
        FBorderLayer->UpdateBorder();
    else
        SendToForm(WM_NCPAINT);
}

void TqxDravenfold::DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y) {
    if (!Menu) return;
    if (Menu->OnPopup) Menu->OnPopup(Menu);
    if (FSkinMenu && FSkinMenu->Visible()) SkinMenuClose();
    SkinMenuOpen();
    if (FSkinMenu) FSkinMenu->Popup(nullptr, FSD, 0, Rect(X, Y, X, Y), Menu->Items(), false);
}

void TqxDravenfold::NudgeFormWidth() {
    const Integer width = FForm->Width();
    if (width - 1 < GetMinWidth()) {
        FForm->SetWidth(width + 1);
    } else {
        FForm->SetWidth(width - 1);
    }
    FForm->SetWidth(width);
}

void TqxDravenfold::SyncFormBorderIcons() {
    TBorderIcons icons;
    if (!FHideCaptionButtons && !FSkinnableForm) icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TqxBorderIcon::biMinimize)) icons.Include(biMinimize);
    if (FBorderIcons.Contains(TqxBorderIcon::biMaximize)) icons.Include(biMaximize);
    FForm->SetBorderIcons(icons);
}

void TqxDravenfold::NotifyChildrenParentBG() {
    for (Integer i = 0; i < FForm->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FForm->Controls(i)))
            if (child->HandleAllocated()) SendMessageW(child->Handle(), SKINMSG_PARENTBG, 0, 0);
}

TSize TqxDravenfold::GetIconSize() const {
    TSize size{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
    if (size.cx == 0) size.cx = GetSystemMetrics(SM_CXSIZE);
    if (size.cy == 0) size.cy = GetSystemMetrics(SM_CYSIZE);
    return size;
}

void TqxDravenfold::CreateFormIcon() {
    if (FIcon) return;
    HICON source = nullptr;
    bool stock = false;
    if (!FForm->Icon()->Empty())
        source = FForm->Icon()->Handle();
    else if (Application && !Application->Icon()->Empty())
        source = Application->Icon()->Handle();
    else {
        source = LoadIconW(nullptr, IDI_APPLICATION);
        stock = true;
    }
    const TSize size = GetIconSize();
    FIcon = std::make_unique<TIcon>();
    FIcon->SetHandle(
        static_cast<HICON>(CopyImage(source, IMAGE_ICON, size.cx, size.cy, LR_COPYFROMRESOURCE)));
    if (stock) DestroyIcon(source);
}

void TqxDravenfold::DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y) {
    CreateFormIcon();
    if (FIcon->Empty()) return;
    DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

bool TqxDravenfold::CheckIconAlpha() {
    const TSize size = GetIconSize();
    if (size.cx == 0 || size.cy == 0) return false;
    TqxBitmap bitmap;
    bitmap.SetSize(size.cx, size.cy);
    bitmap.SetAlpha(0);
    TCanvas canvas;
    canvas.SetHandle(bitmap.DC());
    DrawFormIcon(&canvas, 0, 0);
    canvas.SetHandle(nullptr);
    for (Integer i = 0; i < size.cx * size.cy; ++i)
        if (bitmap.Bits()[i] >> 24) return true;
    return false;
}

TqxDravenfold* FindDravenfold(TCustomForm* AForm) {
    if (!AForm) return nullptr;
    for (Integer i = 0; i < AForm->ComponentCount(); ++i)
        if (auto* component = dynamic_cast<TqxDravenfold*>(AForm->Components(i))) return component;
    return nullptr;
}

namespace {

// Controls find the string table of their form's skin through it.
const auto FinderInstalled = [] {
    SetFormSkinDataFinder([](TCustomForm* AForm) {
        TqxDravenfold* component = FindDravenfold(AForm);
        return component ? component->SkinData() : nullptr;
    });
    return true;
}();

const auto Registered = [] {
    RegisterEnum<TqxBorderIcon>(
        {u"biSystemMenu", u"biMinimize", u"biMaximize", u"biRollUp", u"biMinimizeToTray"});
    RegisterEnum<TqxPositionInMonitor>({u"qxpDefault", u"qxpScreenCenter", u"qxpDesktopCenter"});
    RegisterEnum<TqxClientInActiveEffect>({u"qxieSemiTransparent", u"qxieBlur"});
    RegisterClass<TqxQuickButtonItem>()
        .Property(u"ImageIndex", &TqxQuickButtonItem::ImageIndex, &TqxQuickButtonItem::SetImageIndex)
        .Property(u"Hint", &TqxQuickButtonItem::Hint, &TqxQuickButtonItem::SetHint)
        .Property(u"Enabled", &TqxQuickButtonItem::Enabled, &TqxQuickButtonItem::SetEnabled)
        .Property(u"Visible", &TqxQuickButtonItem::Visible, &TqxQuickButtonItem::SetVisible)
        .Event(u"OnClick", &TqxQuickButtonItem::OnClick);
    using D = TqxDravenfold;
    RegisterClass<D, TComponent>()
        .Property(u"SkinData", &D::SkinData, &D::SetSkinData)
        .Property(u"MenusSkinData", &D::MenusSkinData, &D::SetMenusSkinData)
        .Property(u"UseRibbon", &D::UseRibbon, &D::SetUseRibbon)
        .Property(u"WindowState", &D::WindowState, &D::SetWindowState)
        .Property(u"BorderIcons", &D::BorderIcons, &D::SetBorderIcons)
        .Property(u"QuickButtons", &D::QuickButtons)
        .Property(u"QuickImageList", &D::QuickImageList, &D::SetQuickImageList)
        .Property(u"StatusBar", &D::StatusBar, &D::SetStatusBar)
        .Property(u"QuickButtonsShowHint", &D::QuickButtonsShowHint, &D::SetQuickButtonsShowHint)
        .Property(u"QuickButtonsShowDivider", &D::QuickButtonsShowDivider, &D::SetQuickButtonsShowDivider)
        .Property(u"ClientInActiveEffect", &D::ClientInActiveEffect, &D::SetClientInActiveEffect)
        .Property(u"ClientInActiveEffectType", &D::ClientInActiveEffectType, &D::SetClientInActiveEffectType)
        .Property(u"DisableSystemMenu", &D::DisableSystemMenu, &D::SetDisableSystemMenu)
        .Property(u"AlwaysResize", &D::AlwaysResize, &D::SetAlwaysResize)
        .Property(u"PositionInMonitor", &D::PositionInMonitor, &D::SetPositionInMonitor)
        .Property(u"UseFormCursorInNCArea", &D::UseFormCursorInNCArea, &D::SetUseFormCursorInNCArea)
        .Property(u"MaxMenuItemsInWindow", &D::MaxMenuItemsInWindow, &D::SetMaxMenuItemsInWindow)
        .Property(u"ClientWidth", &D::ClientWidth, &D::SetClientWidth)
        .Property(u"ClientHeight", &D::ClientHeight, &D::SetClientHeight)
        .Property(u"HideCaptionButtons", &D::HideCaptionButtons, &D::SetHideCaptionButtons)
        .Property(u"AlwaysMinimizeToTray", &D::AlwaysMinimizeToTray, &D::SetAlwaysMinimizeToTray)
        .Property(u"LogoBitMap", &D::LogoBitMap)
        .Property(u"LogoBitMapTransparent", &D::LogoBitMapTransparent, &D::SetLogoBitMapTransparent)
        .Property(u"UseSkinFontInCaption", &D::UseSkinFontInCaption, &D::SetUseSkinFontInCaption)
        .Property(u"ShowIcon", &D::ShowIcon, &D::SetShowIcon)
        .Property(u"MaximizeOnFullScreen", &D::MaximizeOnFullScreen, &D::SetMaximizeOnFullScreen)
        .Property(u"AlphaBlend", &D::AlphaBlend, &D::SetAlphaBlend)
        .Property(u"AlphaBlendValue", &D::AlphaBlendValue, &D::SetAlphaBlendValue)
        .Property(u"AlphaBlendAnimation", &D::AlphaBlendAnimation, &D::SetAlphaBlendAnimation)
        .Property(u"ShowObjectHint", &D::ShowObjectHint, &D::SetShowObjectHint)
        .Property(u"UseDefaultObjectHint", &D::UseDefaultObjectHint, &D::SetUseDefaultObjectHint)
        .Property(u"MenusAlphaBlend", &D::MenusAlphaBlend, &D::SetMenusAlphaBlend)
        .Property(u"MenusAlphaBlendAnimation", &D::MenusAlphaBlendAnimation, &D::SetMenusAlphaBlendAnimation)
        .Property(u"MenusAlphaBlendValue", &D::MenusAlphaBlendValue, &D::SetMenusAlphaBlendValue)
        .Property(u"UseSkinFontInMenu", &D::UseSkinFontInMenu, &D::SetUseSkinFontInMenu)
        .Property(u"UseSkinSizeInMenu", &D::UseSkinSizeInMenu, &D::SetUseSkinSizeInMenu)
        .Property(u"DefMenuItemHeight", &D::DefMenuItemHeight, &D::SetDefMenuItemHeight)
        .Property(u"DefMenuItemFont", &D::DefMenuItemFont)
        .Property(u"TrayIcon", &D::TrayIcon, &D::SetTrayIcon)
        .Property(u"SkinHint", &D::SkinHint, &D::SetSkinHint)
        .Property(u"AlwaysShowInTray", &D::AlwaysShowInTray, &D::SetAlwaysShowInTray)
        .Property(u"MainMenuBar", &D::MainMenuBar, &D::SetMainMenuBar)
        .Event(u"OnMinimizeToTray", &D::OnMinimizeToTray)
        .Event(u"OnRestoreFromTray", &D::OnRestoreFromTray)
        .Property(u"DefCaptionFont", &D::DefCaptionFont)
        .Property(u"DefInActiveCaptionFont", &D::DefInActiveCaptionFont)
        .Property(u"UseDefaultSysMenu", &D::UseDefaultSysMenu, &D::SetUseDefaultSysMenu)
        .Property(u"SystemMenu", &D::SystemMenu, &D::SetSystemMenu)
        .Property(u"MinHeight", &D::MinHeight, &D::SetMinHeight)
        .Property(u"MinWidth", &D::MinWidth, &D::SetMinWidth)
        .Property(u"MaxHeight", &D::MaxHeight, &D::SetMaxHeight)
        .Property(u"MaxWidth", &D::MaxWidth, &D::SetMaxWidth)
        .Property(u"Magnetic", &D::Magnetic, &D::SetMagnetic)
        .Property(u"MagneticSize", &D::MagneticSize, &D::SetMagneticSize)
        .Event(u"OnCaptionPaint", &D::OnCaptionPaint)
        .Event(u"OnChangeSkinData", &D::OnChangeSkinData)
        .Event(u"OnBeforeChangeSkinData", &D::OnBeforeChangeSkinData)
        .Event(u"OnAfterChangeSkinData", &D::OnAfterChangeSkinData)
        .Event(u"OnMouseEnterEvent", &D::OnMouseEnterEvent)
        .Event(u"OnMouseLeaveEvent", &D::OnMouseLeaveEvent)
        .Event(u"OnMouseDownEvent", &D::OnMouseDownEvent)
        .Event(u"OnMouseUpEvent", &D::OnMouseUpEvent)
        .Event(u"OnMouseMoveEvent", &D::OnMouseMoveEvent)
        .Event(u"OnPaintEvent", &D::OnPaintEvent)
        .Event(u"OnActivate", &D::OnActivate)
        .Event(u"OnDeActivate", &D::OnDeActivate)
        .Event(u"OnSkinMenuOpen", &D::OnSkinMenuOpen)
        .Event(u"OnSkinMenuClose", &D::OnSkinMenuClose)
        .Event(u"OnChangeRollUpState", &D::OnChangeRollUpState)
        .Event(u"OnMainMenuEnter", &D::OnMainMenuEnter)
        .Event(u"OnMainMenuExit", &D::OnMainMenuExit)
        .Event(u"OnMinimize", &D::OnMinimize)
        .Event(u"OnRestore", &D::OnRestore)
        .Event(u"OnMaximize", &D::OnMaximize)
        .Event(u"OnActivateCustomObject", &D::OnActivateCustomObject)
        .Event(u"OnShortCut", &D::OnShortCut);
    return true;
}();

}  // namespace
