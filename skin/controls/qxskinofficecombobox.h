// The office combo box: a skinned combo box that cannot be typed into,
// whose face shows the chosen office item (bold title, image, caption) and
// whose drop-down is the popup office list. The main window's category and
// format pickers are two of them. Setting ItemIndex in code raises OnClick
// and OnChange, also for the current row, except while the form is read.
// The skinned look is painted in qxskinofficecomboboxpaint.cpp.
#pragma once

#include "skin/controls/qxskinofficelistbox.h"

class TqxDataSkinButtonControl;

// Keeps copies of the combo-box element (TqxComboElementCopy).
class TqxSkinCustomOfficeComboBox : public TqxSkinCustomControl, public TqxComboElementCopy {
public:
    // The arrow button: where it is, whether the pointer is over it and
    // whether it is held.
    struct TButtonState {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };

    explicit TqxSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TqxSkinCustomOfficeComboBox() override;

    // The drop-down's rows and images.
    TqxSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(TqxSkinOfficeItems* AValue) { FListBox->SetItems(AValue); }
    Integer ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(Integer AValue);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* AValue);
    // Rows the drop-down shows when ListBoxHeight is 0; negative values are ignored.
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer AValue);
    // What the face shows of the chosen row.
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool AValue);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool AValue);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool AValue);
    // The face drawn as a tool button; turns UseSkinSize off.
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool AValue);
    // The skin's height and the face's own button pictures.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue) { FHideSelection = AValue; }
    // A layered drop-down and its fade-in.
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool AValue) { FAlphaBlendAnimation = AValue; }
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue) { FAlphaBlendValue = AValue; }
    // The drop-down's size; 0: the combo's width, the computed height.
    Integer ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(Integer AValue) { FListBoxWidth = AValue; }
    Integer ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(Integer AValue) { FListBoxHeight = AValue; }
    // The drop-down's own properties.
    const String& ListBoxSkinDataName() const { return FListBoxSkinDataName; }
    void SetListBoxSkinDataName(const String& AValue);
    Integer ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(Integer AValue) { FListBox->SetItemHeight(AValue); }
    Integer ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(Integer AValue) { FListBox->SetHeaderHeight(AValue); }
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool AValue) { FListBox->SetShowItemTitles(AValue); }
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool AValue) { FListBox->SetShowLines(AValue); }
    bool ListBoxHeaderLeftAlignment() const { return FListBox->HeaderLeftAlignment(); }
    void SetListBoxHeaderLeftAlignment(bool AValue) { FListBox->SetHeaderLeftAlignment(AValue); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* AValue) { FListBox->SetDefaultFont(AValue); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool AValue) { FListBox->SetUseSkinFont(AValue); }
    TqxPopupOfficeListBox* ListBox() const { return FListBox; }

    // Opens the drop-down; closes it keeping its row (AcceptChoice) or
    // going back to the row it opened on.
    virtual void DropDown();
    void CloseUp(bool AcceptChoice);
    // Raises OnChange.
    virtual void Change();
    void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
    void EndUpdateItems() { FListBox->EndUpdateItems(); }
    bool IsPopupVisible() const { return FListBox->Visible(); }
    // The list shows and the pointer is not over the combo.
    bool CanCancelDropDown() const { return IsPopupVisible() && !FMouseIn; }
    // The control with AText on its face into C at X, Y.
    void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);
    // The fade-in of the drop-down starts: the press that opened it is over.
    void ListPressedCleared() { FLBDown = false; }
    // The row the face shows: the one the list opened on while it is open.
    Integer ShownItemIndex() const { return FDropDown ? FOldItemIndex : FListBox->ItemIndex(); }
    bool DroppedDown() const { return FDropDown; }

    void ChangeSkinData() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChanged() override;
    void CalcSize(Integer& W, Integer& H) override;
    void SetControlRegion() override;
    void Dispatch(TMessage& AMessage) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;
    TqxDrawSkinOfficeItemEvent OnDrawItem;

    TButtonState Button;
    // The chosen row's place on the face.
    TRect CBItem;

private:
    void ListBoxHookProc(TMessage& AMessage);
    void CalcRects();
    void SelectPrior(bool AApply);
    void SelectNext(bool AApply);
    void SelectPageUp(bool AApply);
    void SelectPageDown(bool AApply);
    void ApplyListIndex();
    void TrackListMouse(Integer X, Integer Y);
    void StartScrollTimer();
    void StopScrollTimer();
    // OnClick, then OnChange; false when a handler freed the combo.
    bool RaiseChoice();
    bool ButtonPressed() const { return Button.Down && Button.MouseIn; }

    // The default look (qxskinofficecombobox.cpp).
    void DrawButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawDefaultFace(TCanvas* C);
    void DrawDefaultToolButton(TCanvas* C, const String* AText);
    // The shown row's content in R: OnDrawItem, or title, caption, image;
    // AText replaces the caption when given.
    void DrawItemContent(TCanvas* C, TRect R, bool ATitle, const String* AText);
    // The skinned look (qxskinofficecomboboxpaint.cpp).
    void DrawSkinFace(TBitmap* B);
    void DrawSkinButton(TCanvas* C);
    void DrawSkinSizedButton(TCanvas* C);
    // The marker AMarker of the element's picture, its key colour left
    // out, centred in R.
    void DrawMenuMarker(TCanvas* C, const TqxDataSkinButtonControl* AElement, TBitmap* APicture,
                        const TRect& AMarker, const TRect& R);
    void DrawSkinItem(TCanvas* C);
    void DrawSkinSizeItem(TCanvas* C);
    void DrawSkinToolButton(TCanvas* C, const String* AText);
    // The "edit" element's disabled colour, else clGrayText.
    TColor GetDisabledFontColor() const;
    // The element's name, style and height, or DefaultFont without
    // UseSkinFont; the colour is the caller's.
    void SetElementFont(TFont* AFont);

    TqxPopupOfficeListBox* FListBox = nullptr;
    TWndMethod FOldListProc;
    Integer FOldItemIndex = -1;
    bool FDropDown = false;
    bool FMouseIn = false;
    bool FLBDown = false;
    bool WasInLB = false;
    // 0 none, 1 scroll up, 2 scroll down.
    Integer TimerMode = 0;
    // While PaintSkinTo paints: the text on the face.
    const String* FPaintText = nullptr;

    Integer FDropDownCount = 7;
    bool FShowItemTitle = true;
    bool FShowItemImage = true;
    bool FShowItemText = true;
    bool FToolButtonStyle = false;
    bool FUseSkinSize = false;
    TColor FDefaultColor = clWindow;
    bool FHideSelection = true;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    Byte FAlphaBlendValue = 0;
    Integer FListBoxWidth = 0;
    Integer FListBoxHeight = 0;
    // The drop-down's element, kept while a skin without a combo element
    // leaves the drop-down unskinned.
    String FListBoxSkinDataName;
};

class TqxSkinOfficeComboBox : public TqxSkinCustomOfficeComboBox {
public:
    using TqxSkinCustomOfficeComboBox::TqxSkinCustomOfficeComboBox;
};
