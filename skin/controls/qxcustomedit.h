// The inner edit of the skinned edits and of the skinned combo box: a
// one-line masked edit that can paint its text over its parent's background,
// keeps its own read-only flag (the window stays writable, input is
// filtered), hands Escape and Enter to its form as dialog keys and shows an
// edit menu with captions from the form's skin. TqxSkinNumEdit adds a
// numeric key filter and up and down notifications for the arrow keys and
// the wheel.
#pragma once

#include <functional>

#include "platform/toolkit/edit.h"

class TPopupMenu;

using TqxOnEditCancelMode = std::function<void(TControl* C)>;

class TqxCustomEdit : public TCustomMaskEdit {
public:
    explicit TqxCustomEdit(TComponent* AOwner);
    ~TqxCustomEdit() override;

    // The text over the parent's background; a change makes the window again.
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool AValue);
    // Typing, cutting, pasting and deleting do nothing; copying still works.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }

    // The whole edit now, over the parent's background, through one bitmap;
    // nothing without a window.
    virtual void TransparentRepaint();
    // The same into ADC.
    virtual void PaintEditToDC(win::HDC ADC);
    // Makes the edit menu afresh (the previous one goes): Undo, Cut, Copy,
    // Paste, Delete, Select All, each enabled as it can act now.
    void BuildEditPopupMenu();
    // The edit menu made for the last context menu; nil when none is kept.
    TPopupMenu* EditPopupMenu() const { return FPopupMenu; }

    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;

    // Raised on CM_CANCELMODE with the control that cancels.
    TqxOnEditCancelMode OnEditCancelMode;
    TNotifyEvent OnUp;
    TNotifyEvent OnDown;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void Change() override;

private:
    bool Transparent() const;
    void SetMargins();
    void WMChar(TMessage& AMessage);
    void WMEraseBkgnd(TMessage& AMessage);
    void WMPaint(TMessage& AMessage);
    void WMContextMenu(TMessage& AMessage);
    void CtlColor(TMessage& AMessage);
    void FreePopupMenu();
    // The edit painted into ADC through a bitmap of its size.
    void PaintThroughBitmap(win::HDC ADC);

    bool FEditTransparent = false;
    bool FReadOnly = false;
    // Set while the edit paints into its bitmap.
    bool FPainting = false;
    TPopupMenu* FPopupMenu = nullptr;
};

class TqxSkinNumEdit : public TqxCustomEdit {
public:
    using TqxCustomEdit::TqxCustomEdit;

    // Off: only '-' (at the start) and control keys get through the filter.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool AValue) { FEditorEnabled = AValue; }

    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyPress(char16_t& AKey) override;
    void Dispatch(TMessage& AMessage) override;

    // Decimals are accepted, one separator at most.
    bool Float = false;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

private:
    bool KeyAccepted(char16_t AKey);

    bool FEditorEnabled = true;
};
