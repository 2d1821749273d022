// Push buttons, check boxes and radio buttons. A press is completed by
// releasing the mouse over the control or by releasing Space while it has
// the focus; the caption's "&x" accelerator completes one too.
#pragma once

#include "platform/toolkit/forms.h"

class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* AOwner);

    void Dispatch(TMessage& AMessage) override;
    // The window's own handling of the mouse and Space.
    void DefaultHandler(TMessage& AMessage) override;

protected:
    // A press was completed.
    virtual void Clicked() = 0;
    // Drawn pushed in: held down with the pointer over it, or Space held.
    bool Pressed() const { return FPressed; }
    // While the mouse that pressed it is held.
    bool Tracking() const { return FTracking; }
    void CancelPress();

private:
    void SetPressed(bool AValue);

    bool FTracking = false;
    bool FSpaceDown = false;
    bool FPressed = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);

    // Enter in the form clicks it unless another button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool AValue);
    // Escape in the form clicks it.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool AValue) { FCancel = AValue; }
    // Given to the parent form by a click (which ends a modal form).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue) { FModalResult = AValue; }

    void Click() override;
    void Dispatch(TMessage& AMessage) override;
    void Paint() override;

protected:
    void Clicked() override { Click(); }

private:
    void SetActive(bool AValue);

    bool FDefault = false;
    bool FCancel = false;
    // Enter reaches it: focused, or the default one while no button is.
    bool FActive = false;
    TModalResult FModalResult = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    // A change raises OnClick, except while the form is read.
    void SetState(TCheckBoxState AValue);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool AValue) { SetState(AValue ? cbChecked : cbUnchecked); }
    // Clicks pass through the grayed state.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool AValue) { FAllowGrayed = AValue; }
    // taRightJustify: the caption right of the box; taLeftJustify: left of it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    // Unchecked, (grayed,) checked, unchecked...
    virtual void Toggle();

    void Dispatch(TMessage& AMessage) override;
    void Paint() override;

protected:
    void Clicked() override { Toggle(); }

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking one unchecks the other radio buttons of the same parent. Only
// the checked one is a tab stop; the arrow keys move the focus among them
// and check the one they reach.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    // Checking raises OnClick, except while the form is read.
    void SetChecked(bool AValue);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);

    void Dispatch(TMessage& AMessage) override;
    void DoEnter() override;
    void Paint() override;

protected:
    void Clicked() override { SetChecked(true); }

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};
