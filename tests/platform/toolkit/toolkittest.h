// A fresh memory desktop, application and screen per test, and small
// controls that record what reaches them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/toolkit/forms.h"
#include "platform/win/testdriver.h"

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible borderless form at ABounds (screen), owned by the application.
    TForm* NewForm(TRect ABounds = Rect(100, 100, 400, 300));
    // Runs the application loop over everything pending.
    static void Pump();
    // A point of a control's client area on the screen.
    static win::POINT At(TControl* AControl, Integer X, Integer Y);
    static win::COLORREF PixelOf(TWinControl* AControl, Integer X, Integer Y);
};

// What the test controls record, in order.
extern std::vector<std::string> Log;

// A graphic control that paints itself in one colour and logs its input
// and its mouse enter and leave.
class TTestGraphic : public TGraphicControl {
public:
    explicit TTestGraphic(TComponent* AOwner, TColor AColor = clRed, bool AOpaque = true);
    void Paint() override;
    void Dispatch(TMessage& AMessage) override;
    void Click() override;

    TColor PaintColor;
    Integer Paints = 0;
};

// A focusable push button: a click sets the form's ModalResult; Enter
// reaches the default (or focused) one and Escape the cancel one through
// CM_DIALOGKEY; its caption's accelerator clicks it through CM_DIALOGCHAR.
class TTestButton : public TCustomControl {
public:
    explicit TTestButton(TComponent* AOwner);
    void Click() override;
    void Dispatch(TMessage& AMessage) override;
    void Paint() override;

    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    Integer Clicks = 0;
};

// A focusable control that wants the keys given in WantKeys (DLGC_...)
// and logs the keys and characters it gets.
class TTestEdit : public TCustomControl {
public:
    explicit TTestEdit(TComponent* AOwner);
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyPress(char16_t& AKey) override;

    win::LRESULT WantKeys = 0;
    String Typed;
};
