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
    switch (AMessage.Msg) {
        case CM_MOUSEENTER:
            Log.push_back(Named(this, "enter"));
            break;
        case CM_MOUSELEAVE:
            Log.push_back(Named(this, "leave"));
            break;
        case CM_CANCELMODE:
            Log.push_back(Named(this, "cancelmode"));
            break;
        default:
            break;
    }
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
        case CM_CANCELMODE:
            Log.push_back(Named(this, "cancelmode"));
            break;
        case CM_ENTER:
            Log.push_back(Named(this, "enter"));
            break;
        case CM_EXIT:
            Log.push_back(Named(this, "exit"));
            break;
        default:
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
        case CM_CANCELMODE:
            Log.push_back(Named(this, "cancelmode by ") +
                          StringToUTF8(reinterpret_cast<TControl*>(AMessage.LParam)->Name()));
            return;
        case CM_ENTER:
            Log.push_back(Named(this, "enter"));
            break;
        case CM_EXIT:
            Log.push_back(Named(this, "exit"));
            break;
        default:
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
