// The skinned list box: a frame from a list-box element (or the default
// look), an optional caption bar with a glyph, a text and the up, down and
// check buttons, and the inner list (qxlistbox.h) in its client area.
// Skinned scroll bars exist only while the inner list can scroll; its
// native bars never show. The inner list's input comes here through the
// virtual hooks, which the dialogs' file, folder and skin lists and the
// combo box's drop-down override.
//
// One unit in two files: the list box, its bars and its hooks
// (qxskinlistbox.cpp), its frame, caption and caption buttons
// (qxlistboxcaption.cpp).
#pragma once

#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxlistbox.h"
#include "skin/controls/qxskinscrollbar.h"

// A button part: its place, under the pointer, held.
struct TqxCBButtonX {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

class TqxSkinCustomListBox : public TqxSkinCustomControl {
public:
    // The caption buttons: up, down, check; R in control coordinates.
    enum { UpButton = 0, DownButton = 1, CheckButton = 2 };

    explicit TqxSkinCustomListBox(TComponent* AOwner);
    ~TqxSkinCustomListBox() override;

    // The height that shows AItemsCount rows (and the horizontal bar).
    Integer CalcHeight(Integer AItemsCount);
    void Clear();
    Integer ItemAtPos(TPoint APos, bool AExisting);
    TRect ItemRect(Integer AItem);
    // The skinned bars from the inner list's scroll state: made when it can
    // scroll, dropped when it cannot.
    void UpDateScrollBar();
    // Places the inner list and the bars in the frame.
    void AlignListAndScrollBars();
    bool Selected(Integer AIndex);
    Integer SelCount();
    Integer TopIndex();
    void SetTopIndex(Integer AValue);
    TCanvas* ListBoxCanvas();
    TqxListBox* ListBox() const { return FListBox; }
    TqxSkinScrollBar* ScrollBar() const { return FScrollBar; }
    TqxSkinScrollBar* HScrollBar() const { return FHScrollBar; }

    // Properties.
    TStrings* TabWidths() const { return FTabWidths.get(); }
    void SetTabWidths(TStrings* AValue);
    bool AutoComplete() const;
    void SetAutoComplete(bool AValue);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool AValue) { FUseSkinItemHeight = AValue; }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool AValue);
    Integer Columns() const;
    void SetColumns(Integer AValue);
    Integer RowCount() const { return FRowCount; }
    void SetRowCount(Integer AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    Integer NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(Integer AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool AValue);
    Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(Integer AValue);
    TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* AValue) { FDefaultCaptionFont->Assign(AValue); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    Integer DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(Integer AValue);
    TStrings* Items() const;
    void SetItems(TStrings* AValue);
    Integer ItemIndex() const;
    void SetItemIndex(Integer AValue);
    bool MultiSelect() const;
    void SetMultiSelect(bool AValue);
    bool ExtandedSelect() const;
    void SetExtandedSelect(bool AValue);
    bool Sorted() const;
    void SetSorted(bool AValue);
    TFont* ListBoxFont() const;
    void SetListBoxFont(TFont* AValue);
    Integer ListBoxTabOrder() const;
    void SetListBoxTabOrder(Integer AValue);
    bool ListBoxTabStop() const;
    void SetListBoxTabStop(bool AValue);
    TPopupMenu* ListBoxPopupMenu() const;
    void SetListBoxPopupMenu(TPopupMenu* AValue);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool AValue);

    // The hooks of the inner list (this class raises the events).
    virtual Integer GetItemWidth(Integer AIndex, TCanvas* ACanvas);
    virtual void ListBoxMouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);
    virtual void ListBoxMouseMove(TShiftState AShift, Integer X, Integer Y);
    virtual void ListBoxMouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(Word& AKey, TShiftState AShift);
    virtual void ListBoxKeyUp(Word& AKey, TShiftState AShift);
    virtual void ListBoxKeyPress(char16_t& AKey);
    virtual void ListBoxEnter();
    virtual void ListBoxExit();
    // ACallDefault false drops the message.
    virtual void ListBoxWndProc(TMessage& AMessage, bool& ACallDefault);
    virtual void ListBoxCreateWnd();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnCheckButtonClick;
    TqxDrawSkinItemEvent OnDrawItem;
    TNotifyEvent OnListBoxClick;
    TNotifyEvent OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown;
    TMouseMoveEvent OnListBoxMouseMove;
    TMouseEvent OnListBoxMouseUp;
    TKeyEvent OnListBoxKeyDown;
    TKeyPressEvent OnListBoxKeyPress;
    TKeyEvent OnListBoxKeyUp;

    // The item height without a skin (or with UseSkinItemHeight off).
    Integer FDefaultItemHeight = 20;
    // Where the inner list sits; the skin's client rectangle at this size.
    TRect ListRect;
    TqxCBButtonX Buttons[3];
    Integer OldActiveButton = -1;
    Integer ActiveButton = -1;
    Integer CaptureButton = -1;
    // Caption-button auto-repeat: 0 none, 1 up, 2 down; the first delay runs.
    Integer TimerMode = 0;
    bool WaitMode = false;
    TRect NewCaptionRect;

    // Copies of the list-box element.
    String FontName = u"Tahoma";
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    Integer ItemLeftOffset = 0;
    Integer ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TRect CaptionRect;
    String CaptionFontName = u"Tahoma";
    TFontStyles CaptionFontStyle;
    Integer CaptionFontHeight = 13;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect CheckButtonRect;
    TRect ActiveCheckButtonRect;
    TRect DownCheckButtonRect;
    String VScrollBarName = u"vscrollbar";
    String HScrollBarName = u"hscrollbar";
    String BothScrollBarName = u"bothhscrollbar";
    bool ShowFocus = false;
    TRect DisabledButtonsRect;
    TRect ButtonsArea;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void CreateVScrollBar();
    void CreateHScrollBar();
    void DropVScrollBar();
    void DropHScrollBar();
    // The horizontal bar's element names and corner form beside a vertical bar.
    void SetHScrollBarForm();
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void UpdateHorizontalExtent();
    void DefaultCaptionFontChange(TObject* Sender);
    // Caption and caption buttons (qxlistboxcaption.cpp).
    bool CaptionButtonsShown() const { return FCaptionMode && FShowCaptionButtons; }
    void TestActiveButton(Integer X, Integer Y);
    void ButtonDown(Integer AIndex);
    void ButtonUp(Integer AIndex);
    void ButtonEnter(Integer AIndex);
    void ButtonLeave(Integer AIndex);
    void DrawCaptionButton(TCanvas* ACanvas, Integer AIndex);
    // The button drawn again on the control now.
    void RedrawButton(Integer AIndex);
    void StartRepeatTimer(win::UINT AInterval);
    void StopRepeatTimer();
    void RepeatStep();
    // The caption's text and glyph in ARect, as the alignment places them.
    void DrawCaption(TCanvas* ACanvas, const TRect& ARect, Integer AY, Integer AInset);

    bool FShowCaptionButtons = true;
    std::unique_ptr<TStringList> FTabWidths;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    bool FStopUpDateHScrollBar = false;
    Integer FRowCount = 0;
    std::unique_ptr<TBitmap> FGlyph;
    Integer FNumGlyphs = 1;
    Integer FSpacing = 2;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = -1;
    Integer FDefaultCaptionHeight = 20;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;
    TqxSkinScrollBar* FScrollBar = nullptr;
    TqxSkinScrollBar* FHScrollBar = nullptr;
    TqxListBox* FListBox = nullptr;
};

class TqxSkinListBox : public TqxSkinCustomListBox {
public:
    using TqxSkinCustomListBox::TqxSkinCustomListBox;
};
