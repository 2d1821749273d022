// Combo boxes: a field with a button that drops down a list of its items.
// csDropDownList shows the chosen item only; csDropDown has an edit in the
// field, whose text may be typed or completed from the items.
//
// The user's choices (a click in the list, Enter in it, the arrow keys and
// the wheel on the closed field, typed search) raise OnChange, OnSelect and
// OnClick in that order; setting ItemIndex or Text from code raises none.
// While the list is open it keeps the mouse, the focus stays in the field,
// and the list follows the pointer; a press outside, Escape or the loss of
// the focus closes it without a choice.
#pragma once

#include "platform/toolkit/edit.h"
#include "platform/toolkit/listbox.h"

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboEdit;
class TComboList;

class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle AValue);
    TStrings* Items() const;
    void SetItems(TStrings* AValue);
    // -1 for none; in csDropDown also when the text is no item's.
    Integer ItemIndex();
    void SetItemIndex(Integer AValue);
    // The most rows the open list shows.
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer AValue) { FDropDownCount = std::max(1, AValue); }
    bool Sorted() const;
    void SetSorted(bool AValue);
    // csDropDownList: typed characters search the items (as a list box
    // does); csDropDown: typed text is completed from the first item it
    // begins, the added part selected.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
    // Characters the edit takes at most; 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer AValue);
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool AValue);
    // The edit's selection in csDropDown; 0 otherwise.
    Integer SelStart();
    void SetSelStart(Integer AValue);
    Integer SelLength();
    void SetSelLength(Integer AValue);
    String SelText();
    void SetSelText(const String& AValue);

    String GetText() const override;
    bool CanResize(Integer& ANewWidth, Integer& ANewHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void Paint() override;
    void Loaded() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();

private:
    friend class TComboEdit;

    TRect ButtonRect();
    Integer FieldHeight();
    void PlaceEdit();
    void ShowList();
    // Closes the open list, taking its highlighted item when AAccept.
    void CloseList(bool AAccept);
    // The user chose AIndex: text, OnChange, OnSelect, OnClick.
    void ChooseItem(Integer AIndex);
    // Shows AIndex without events.
    void ShowItem(Integer AIndex);
    void Step(Integer ADelta);
    // Keys of the field, also those typed in the edit; true when taken.
    bool KeyAction(Word AKey, bool AAlt);
    void Search(char16_t AChar);
    void MouseAction(TMessage& AMessage);
    bool OverList(TPoint AClientPoint, Integer& AIndex);
    void EditChanged();
    bool IsOwnControl(TControl* AControl) const;

    TComboBoxStyle FStyle = csDropDown;
    TComboList* FList;
    TComboEdit* FEdit = nullptr;
    Integer FDropDownCount = 8;
    bool FAutoComplete = true;
    Integer FMaxLength = 0;
    bool FDroppedDown = false;
    // The item chosen when the list opened; the field shows it meanwhile.
    Integer FDropIndex = -1;
    // The press that opened the list is still held.
    bool FOpeningPress = false;
    bool FButtonDown = false;
    // An ItemIndex a description set, applied once the items are read.
    Integer FPendingIndex = -2;
    // Text changes made here raise no OnChange.
    bool FQuiet = false;
    bool FCompleteTyping = false;
    bool FCompleting = false;
    bool FTabStopWanted = true;
    String FFilter;
    Cardinal FLastTime = 0;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};
