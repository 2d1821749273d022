#include "skin/controls/qxpopuplistbox.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/toolkit/forms.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

// The fade steps are at least this far apart.
constexpr Int64 FadeStepTime = 5;

}  // namespace

TqxPopupListBox::TqxPopupListBox(TComponent* AOwner) : TqxSkinListBox(AOwner) {
    FControlStyle = FControlStyle + TControlStyle{csAcceptsControls, csNoDesignVisible, csReplicatable};
    SetVisible(false);
}

void TqxPopupListBox::CreateParams(TCreateParams& AParams) {
    TqxSkinListBox::CreateParams(AParams);
    AParams.Style = WS_POPUP | WS_CLIPCHILDREN;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WindowClass.style |= CS_SAVEBITS;
    if (IsXPOrLater()) AParams.WindowClass.style |= CS_DROPSHADOW;
}

void TqxPopupListBox::CreateWnd() {
    TqxSkinListBox::CreateWnd();
    // A window made again (with its combo box's) has neither style nor alpha.
    FOldAlphaBlend = false;
    FOldAlphaBlendValue = -1;
}

void TqxPopupListBox::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_MOUSEACTIVATE) {
        AMessage.Result = MA_NOACTIVATE;
        return;
    }
    TqxSkinListBox::Dispatch(AMessage);
}

void TqxPopupListBox::Show(TPoint AOrigin) {
    auto* combo = dynamic_cast<TqxSkinCustomComboBox*>(Owner());
    const bool layered = combo && IsLayeredWindowsAvailable();
    const HWND window = Handle();
    if (layered) {
        const bool blend = combo->AlphaBlend();
        if (blend != FOldAlphaBlend) {
            const LONG_PTR style = GetWindowLongW(window, GWL_EXSTYLE);
            SetWindowLongW(window, GWL_EXSTYLE,
                           blend ? style | WS_EX_LAYERED : style & ~LONG_PTR(WS_EX_LAYERED));
            // A window that gets the style again has no alpha of its own yet.
            FOldAlphaBlendValue = -1;
        }
        FOldAlphaBlend = blend;
        if (blend && FOldAlphaBlendValue != combo->AlphaBlendValue()) {
            FOldAlphaBlendValue = combo->AlphaBlendAnimation() ? 0 : combo->AlphaBlendValue();
            SetWindowAlpha(window, Byte(FOldAlphaBlendValue));
        }
    }
    SetWindowPos(window, HWND_TOP, AOrigin.X, AOrigin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    if (!layered || !combo->AlphaBlend() || !combo->AlphaBlendAnimation()) return;
    // Messages run during the fade: a click may hide the list, or free it
    // with its form. Nothing of the list is touched once it is gone.
    const Integer target = combo->AlphaBlendValue();
    const Integer step = std::max(1, target / 15);
    const WeakControl self(this);
    Application->ProcessMessages();
    Integer alpha = 0;
    Int64 last = 0;
    while (alpha < target && self.Alive() && Visible()) {
        const Int64 now = GetTickCount();
        if (now - last > FadeStepTime) {
            last = now;
            alpha = std::min(alpha + step, target);
            SetWindowAlpha(window, Byte(alpha));
        }
        Application->ProcessMessages();
    }
}

void TqxPopupListBox::Hide() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
}
