// Memos: multi-line edits whose text is also a list of lines. Adding a line
// puts the caret after it and scrolls it into view, so a log shows its end.
#pragma once

#include <memory>

#include "platform/base/stringlist.h"
#include "platform/toolkit/edit.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // The lines between the line breaks; a break at the very end starts no line.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* AValue) { FLines->Assign(AValue); }
    // Reported as the window's scroll bar styles.
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    // Enter starts a new line (else it goes to the form's default button).
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool AValue);
    // Tab types a tab (else it moves the focus).
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool AValue) { FWantTabs = AValue; }

    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;

protected:
    win::DWORD EditStyle() const override;

private:
    class TMemoStrings;

    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};
