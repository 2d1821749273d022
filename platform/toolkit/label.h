// Labels: a caption painted on the parent, aligned across and down, wrapped
// or on one line, with "&x" accelerators that focus another control, sized
// to the text with AutoSize.
#pragma once

#include "platform/toolkit/controls.h"

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    // "&x" underlines x and makes it the accelerator; "&&" is "&".
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool AValue);
    // Without a background of its own the parent shows through.
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool AValue);
    // Takes the focus when the label's accelerator is pressed.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* AValue);
    // A right-aligned label keeps its right edge, the others their left.
    void SetAutoSize(bool AValue) override;

    void Paint() override;
    void Dispatch(TMessage& AMessage) override;
    void Loaded() override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual String GetLabelText() const { return Caption(); }
    // Draws the text in ARect with DrawText's AFlags (DT_CALCRECT: measures
    // into ARect); disabled text is embossed.
    virtual void DoDrawText(TRect& ARect, Cardinal AFlags);
    // With AutoSize: the size of the text, measured on the screen.
    virtual void AdjustBounds();
    // The DrawText flags of the alignment and wrapping.
    Cardinal TextFlags() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};
