#include "skin/core/qxlayerwindows.h"

#include <algorithm>

#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/core/qxeffects.h"
#include "skin/core/qxutils.h"

using namespace win;

void CombineImageAndMask(TBitmap* AImage, TBitmap* AMask, TqxBitmap* AResult) {
    if (!AResult) return;
    AResult->Assign(AImage);
    if (AResult->Empty()) return;
    TqxBitmap mask;
    if (AMask) mask.Assign(AMask);
    if (mask.Width() < AResult->Width() || mask.Height() < AResult->Height())
        AResult->SetAlpha(0);
    else
        SetAlphaFromMask(AResult, &mask);
    AResult->CheckRGBA();
}

void UpdateLayeredBitmap(TqxBitmap* ABitmap, Byte AAlpha, TWinControl* AWindow) {
    if (!AWindow || !ABitmap || ABitmap->Empty() || !UpdateLayeredWindowProc) return;
    POINT at{AWindow->Left(), AWindow->Top()};
    SIZE size{ABitmap->Width(), ABitmap->Height()};
    POINT from{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, AAlpha, AC_SRC_ALPHA};
    UpdateLayeredWindowProc(AWindow->Handle(), nullptr, &at, &size, ABitmap->DC(), &from, 0, &blend,
                            ULW_ALPHA);
}

void TqxLayerWindow::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP;
    AParams.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    AParams.WindowClass.style |= CS_SAVEBITS;
}

void TqxLayerWindow::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_MOUSEACTIVATE) {
        AMessage.Result = MA_NOACTIVATE;
        return;
    }
    TCustomControl::Dispatch(AMessage);
}

TqxLayerManager::TqxLayerManager(TComponent* AOwner) : TComponent(AOwner) {
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(25);
    FTimer->OnTimer = [this](TObject* Sender) { FadeTick(Sender); };
}

TqxLayerManager::~TqxLayerManager() {
    Hide();
}

void TqxLayerManager::Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask,
                           Integer AAlphaBlendValue) {
    if (!IsLayeredWindowsAvailable()) return;
    if (FLayerWindow || FBmp) Hide();
    if (!AImage || AImage->Empty()) return;
    FIsVisible = true;
    FLayerWindow = new TqxLayerWindow(this);
    FLayerWindow->SetVisible(false);
    FLayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
    const HWND window = FLayerWindow->Handle();
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    FBmp = std::make_unique<TqxBitmap>();
    CombineImageAndMask(AImage, AImageMask, FBmp.get());
    UpdateLayeredBitmap(FBmp.get(), 0, FLayerWindow);
    Place(SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FEndAlphaBlendValue = std::clamp(AAlphaBlendValue, 0, 255);
    // A tenth of a small end value would be 0 and the fade would never end.
    FStepAlphaBlendValue = std::max(FEndAlphaBlendValue / 10, 1);
    StartTimer();
}

// Whatever exists goes, also when layered windows were switched off after Show.
void TqxLayerManager::Hide() {
    StopTimer();
    FBmp.reset();
    FIsVisible = false;
    if (!FLayerWindow) return;
    TqxLayerWindow* window = FLayerWindow;
    FLayerWindow = nullptr;
    if (window->HandleAllocated())
        SetWindowPos(window->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    Free(window);
}

void TqxLayerManager::Update() {
    if (FLayerWindow) Place(SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TqxLayerManager::Place(UINT AFlags) {
    SetWindowPos(FLayerWindow->Handle(), FTopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, FLayerWindow->Left(),
                 FLayerWindow->Top(), 0, 0, AFlags);
}

void TqxLayerManager::StartTimer() {
    FBeginAlphaBlendValue = 0;
    FTimer->SetEnabled(true);
}

void TqxLayerManager::StopTimer() {
    FTimer->SetEnabled(false);
}

void TqxLayerManager::FadeTick(TObject*) {
    if (!FBmp || !FLayerWindow) return;
    FBeginAlphaBlendValue = std::min(FBeginAlphaBlendValue + FStepAlphaBlendValue, FEndAlphaBlendValue);
    UpdateLayeredBitmap(FBmp.get(), Byte(FBeginAlphaBlendValue), FLayerWindow);
    if (FBeginAlphaBlendValue >= FEndAlphaBlendValue) StopTimer();
}
