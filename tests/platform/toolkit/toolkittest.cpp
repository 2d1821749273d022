#include "toolkittest.h"

#include "platform/base/clock.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

std::vector<std::string> Log;

namespace {

// Fresh globals: nothing a test left behind reaches the next one.
void RenewGlobals() {
    Free(Application);
    Free(Screen);
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
}

std::string Named(TControl* AControl, const char* AWhat) {
    return StringToUTF8(AControl->Name()) + "." + AWhat;
}

// Mouse enter and leave, focus enter and exit, and cancel mode with its sender.
void LogNotification(TControl* AControl, const TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_MOUSEENTER:
        case CM_ENTER:
            return Log.push_back(Named(AControl, "enter"));
        case CM_MOUSELEAVE:
            return Log.push_back(Named(AControl, "leave"));
        case CM_EXIT:
            return Log.push_back(Named(AControl, "exit"));
        case CM_CANCELMODE: {
            const auto* sender = reinterpret_cast<const TControl*>(AMessage.LParam);
            return Log.push_back(Named(AControl, "cancelmode") +
                                 (sender ? " by " + StringToUTF8(sender->Name()) : std::string()));
        }
        default:
            return;
    }
}

}  // namespace

void ToolkitTest::SetUp() {
    driver::Reset();
    RenewGlobals();
    Log.clear();
}

void ToolkitTest::TearDown() {
    RenewGlobals();
    driver::Reset();
    UseSystemClock();
}

TForm* ToolkitTest::NewForm(TRect ABounds) {
    TForm* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(ABounds);
    form->Show();
    return form;
}

void ToolkitTest::Pump() {
    Application->ProcessMessages();
}

POINT ToolkitTest::At(TControl* AControl, Integer X, Integer Y) {
    const TPoint p = AControl->ClientToScreen({X, Y});
    return {p.X, p.Y};
}

COLORREF ToolkitTest::PixelOf(TWinControl* AControl, Integer X, Integer Y) {
    return driver::Pixel(AControl->Handle(), X, Y);
}

TTestGraphic::TTestGraphic(TComponent* AOwner, TColor AColor, bool AOpaque)
    : TGraphicControl(AOwner), PaintColor(AColor) {
    if (AOpaque) SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TTestGraphic::Paint() {
    ++Paints;
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
}

void TTestGraphic::Dispatch(TMessage& AMessage) {
    LogNotification(this, AMessage);
    TGraphicControl::Dispatch(AMessage);
}

void TTestGraphic::Click() {
    Log.push_back(Named(this, "click"));
    TGraphicControl::Click();
}

TTestButton::TTestButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TTestButton::Click() {
    ++Clicks;
    Log.push_back(Named(this, "click"));
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    TCustomControl::Click();
}

void TTestButton::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_DIALOGKEY:
            if ((AMessage.WParam == VK_RETURN && (Default || Focused())) ||
                (AMessage.WParam == VK_ESCAPE && Cancel)) {
                Click();
                AMessage.Result = 1;
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(Word(AMessage.WParam), Caption()) && CanFocus()) {
                Click();
                AMessage.Result = 1;
                return;
            }
            break;
        default:
            LogNotification(this, AMessage);
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TTestButton::Paint() {
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

TTestEdit::TTestEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 100, 21);
}

void TTestEdit::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = WantKeys;
            return;
        default:
            LogNotification(this, AMessage);
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TTestEdit::KeyDown(Word& AKey, TShiftState AShift) {
    Log.push_back(Named(this, "key ") + std::to_string(AKey));
    TCustomControl::KeyDown(AKey, AShift);
}

void TTestEdit::KeyPress(char16_t& AKey) {
    Typed += AKey;
    TCustomControl::KeyPress(AKey);
}
