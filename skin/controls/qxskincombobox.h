// The skinned combo box: an item part that shows the chosen item and a
// button part that drops down a TqxPopupListBox. The focus stays with the
// combo box (or its inner edit) while the list is open; keys, the wheel,
// typed search and a press dragged over the list drive it. In edit style an
// inner edit (qxcustomedit.h) sits in the item part and typed text is
// completed from the items.
//
// One unit in three files: the combo box and its list (qxskincombobox.cpp),
// its layout and painting (qxskincomboboxpaint.cpp), the edit style
// (qxskincomboboxedit.cpp).
#pragma once

#include "skin/controls/qxcustomedit.h"
#include "skin/controls/qxpopuplistbox.h"

enum TqxSkinCustomComboBoxStyle { qxcbEditStyle, qxcbFixedStyle };

struct TqxCBItem {
    TRect R;
    TOwnerDrawState State;
};

// Keeps copies of the combo-box element (TqxComboElementCopy).
class TqxSkinCustomComboBox : public TqxSkinCustomControl, public TqxComboElementCopy {
public:
    explicit TqxSkinCustomComboBox(TComponent* AOwner);
    ~TqxSkinCustomComboBox() override;

    // Opens the list (nothing for no items).
    virtual void DropDown();
    // Closes the list: AValue takes the highlighted item, else it is cancelled.
    void CloseUp(bool AValue);
    bool IsPopupVisible() const;
    // The list shows and the pointer is not over the combo box.
    bool CanCancelDropDown() const;
    // Paints the combo box as it looks now, with AText as its item text,
    // onto ACanvas at (X, Y); Text and its events are left alone.
    void PaintSkinTo(TCanvas* ACanvas, Integer X, Integer Y, const String& AText);
    TqxPopupListBox* ListBox() const { return FListBox; }
    TqxCustomEdit* Edit() const { return FEdit; }

    // Properties.
    TqxSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TqxSkinCustomComboBoxStyle AValue);
    TStrings* Items() const;
    void SetItems(TStrings* AValue);
    Integer ItemIndex() const;
    // Text and OnChange follow the item; OnClick and Change always (not
    // while the form is read).
    void SetItemIndex(Integer AValue);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer AValue);
    bool Sorted() const;
    void SetSorted(bool AValue);
    bool HorizontalExtent() const;
    void SetHorizontalExtent(bool AValue);
    TCustomImageList* Images() const;
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const;
    void SetImageIndex(Integer AValue);
    TStrings* TabWidths() const;
    Integer ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(Integer AValue) { FListBoxWidth = AValue; }
    String ListBoxCaption() const;
    void SetListBoxCaption(const String& AValue);
    bool ListBoxCaptionMode() const;
    void SetListBoxCaptionMode(bool AValue);
    TAlignment ListBoxCaptionAlignment() const;
    void SetListBoxCaptionAlignment(TAlignment AValue);
    TFont* ListBoxDefaultFont() const;
    TFont* ListBoxDefaultCaptionFont() const;
    Integer ListBoxDefaultItemHeight() const;
    void SetListBoxDefaultItemHeight(Integer AValue);
    bool ListBoxUseSkinFont() const;
    void SetListBoxUseSkinFont(bool AValue);
    bool ListBoxUseSkinItemHeight() const;
    void SetListBoxUseSkinItemHeight(bool AValue);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue) { FHideSelection = AValue; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool AValue);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue) { FAlphaBlendValue = AValue; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool AValue) { FAlphaBlendAnimation = AValue; }
    TqxDrawSkinItemEvent OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
    void SetOnListBoxDrawItem(TqxDrawSkinItemEvent AValue);
    // The inner edit's selection; 0 and ignored without one.
    Integer SelStart();
    void SetSelStart(Integer AValue);
    Integer SelLength();
    void SetSelLength(Integer AValue);

    void Invalidate() override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void CalcSize(Integer& W, Integer& H) override;
    void SetControlRegion() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void KeyPress(char16_t& AKey) override;

    // The window procedure of the inner edit while it belongs to the combo box.
    virtual void EditWindowProcHook(TMessage& AMessage);
    // Makes and hooks the inner edit of the edit style.
    virtual void CreateEditControl();
    // After OnClick of a chosen item, and after OnChange of typed text.
    virtual void Change() {}

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;
    // Owner drawing of the item part.
    TqxDrawSkinItemEvent OnComboBoxDrawItem;

    // The item part (its State holds odFocused with the focus) and the
    // button part.
    TqxCBItem CBItem;
    TqxCBButtonX Button;
    // The drag-scroll timer's direction: 0 none, 1 up, 2 down.
    Integer TimerMode = 0;
    // During the current press the pointer has been over the list.
    bool WasInLB = false;
    // True while the text is copied from the inner edit.
    bool FromEdit = false;

    // The combo-box element's list-box section name.
    String ListBoxName;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    // The edit style makes a numeric edit.
    bool FNumEdit = false;

private:
    bool FDropDown = false;
    bool FToolButtonStyle = false;
    TEditCharCase FCharCase = ecNormal;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    Integer FListBoxWidth = 0;
    bool FHideSelection = true;
    Cardinal FLastTime = 0;
    String FFilter;
    bool FAutoComplete = true;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    Byte FAlphaBlendValue = 0;
    TqxSkinCustomComboBoxStyle FStyle = qxcbFixedStyle;
    TqxDrawSkinItemEvent FOnListBoxDrawItem;
    bool FMouseIn = false;
    Integer FOldItemIndex = -1;
    Integer FDropDownCount = 8;
    bool FLBDown = false;
    TWndMethod FListBoxWindowProc;
    TWndMethod FEditWindowProc;
    TqxPopupListBox* FListBox = nullptr;
    TqxCustomEdit* FEdit = nullptr;

    // The list.
    void ListBoxWindowProcHook(TMessage& AMessage);
    void ListBoxMouseMoveTrack(TObject* Sender, TShiftState AShift, Integer X, Integer Y);
    void TrackListBoxMouse();
    void StartScrollTimer();
    void StopScrollTimer();
    void ScrollTimerStep();
    // Whether AControl is the combo box or a part of its list.
    bool IsOwnPart(TControl* AControl) const;
    // Item steps; AEvents sets the item with its events, else only the
    // list's highlight moves.
    void SelectTo(Integer AIndex, bool AEvents);
    void SelectPrevious(bool AEvents);
    void SelectNext(bool AEvents);
    void SelectPageUp(bool AEvents);
    void SelectPageDown(bool AEvents);
    void IncrementalSearch(char16_t AKey);
    // The first item from AStart on (after it, from the top again) whose
    // text begins with AText; -1 for none.
    Integer FindPrefix(Integer AStart, const String& AText);
    void CMTextChanged(TMessage& AMessage);
    void CMMouseEnterLeave(TMessage& AMessage, bool AEnter);
    void WMSetFocus(TMessage& AMessage);
    void WMKillFocus(TMessage& AMessage);
    void WMMouseWheel(TMessage& AMessage);
    void CMEnabledChanged(TMessage& AMessage);
    // Layout and painting (qxskincomboboxpaint.cpp).
    void CalcItemAndButtonRects();
    void AlignEditControl();
    // The item shown: the one chosen before the drop-down while open.
    Integer ShownIndex() const;
    bool Hot() const;
    TColor GetDisabledFontColor();
    // The canvas font takes the string table's character set, else the
    // default font's.
    void SetCharset(TFont* AFont);
    void DrawButton(TCanvas* ACanvas);
    void DrawResizableSkinButton(TCanvas* ACanvas);
    void DrawDefaultComboItem(TCanvas* ACanvas);
    void DrawSkinComboItem(TCanvas* ACanvas);
    void DrawStretchedSkinComboItem(TCanvas* ACanvas);
    // The skinned item's font and colour (ADisabledColor: the disabled one
    // when disabled), then OnComboBoxDrawItem or the focus frame and the
    // content, on ABitmap.
    void DrawSkinItemBody(TBitmap* ABitmap, const TRect& AText, bool AFocused, bool ADisabledColor);
    // The item's content (image and text) in ARect; AText in place of the
    // item's text when given.
    void DrawItemContent(TCanvas* ACanvas, Integer AIndex, TRect ARect, const String* AText);
    void DrawText(TCanvas* ACanvas, const String& AText, const TRect& ARect);
    void DrawDefaultToolButton(TBitmap* B, const String* AText);
    void DrawSkinToolButton(TBitmap* B, const String* AText);
    // OnComboBoxDrawItem or the item's content in AText (AItemText in place
    // of the item's text), or AItemText alone without an item.
    void DrawToolButtonContent(TCanvas* ACanvas, const TRect& AText, const String* AItemText);
    // The skinned face under the item part: the look of CreateControlSkinImage
    // without the item.
    void DrawSkinFace(TBitmap* B);
    // Edit style (qxskincomboboxedit.cpp).
    void RemoveEditControl();
    void SetEditFont();
    void EditChange(TObject* Sender);
    void EditKeyDown(TObject* Sender, Word& AKey, TShiftState AShift);
    void EditKeyPress(TObject* Sender, char16_t& AKey);
    void EditKeyUp(TObject* Sender, Word& AKey, TShiftState AShift);
    void EditCancelMode(TControl* C);
    void EditSelectPrevious(bool AFlag);
    void EditSelectNext(bool AFlag);
    void EditSelectTo(Integer AIndex, bool AFlag);
    void AutoCompleteText();
    TFontCharset Charset();
};

class TqxSkinComboBox : public TqxSkinCustomComboBox {
public:
    using TqxSkinCustomComboBox::TqxSkinCustomComboBox;
};
