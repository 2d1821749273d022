// Edits: text with a caret and a selection, typed, pasted and undone, laid
// out in a formatting rectangle inside the margins. One line, or with
// ES_MULTILINE as many as the text has (wrapped without ES_AUTOHSCROLL).
//
// The window's own behaviour is in DefaultHandler: the EM_ messages, text,
// clipboard and undo messages, keys, mouse and caret. Everything a caller
// does goes through those messages, so a replaced WindowProc sees it all.
// Positions and lengths count UTF-16 units; a line break (CR LF) counts two.
//
// Painting: the parent is asked for the colours with WM_CTLCOLOREDIT
// (WM_CTLCOLORSTATIC when read-only or disabled), which the toolkit
// reflects back as CN_CTLCOLOREDIT: the text colour and background mode it
// leaves in the DC are used, and the brush it answers fills the background
// (a null brush leaves it alone). WM_PAINT with a DC in WParam paints into
// that DC.
#pragma once

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/toolkit/controls.h"
#include "platform/win/stdcontrols.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // Selects the whole text when the focus comes in by the keyboard.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool AValue) { FAutoSelect = AValue; }
    // bsSingle: a sunken client edge.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle AValue);
    TEditCharCase CharCase() const { return FCharCase; }
    // Also converts the text already there.
    void SetCharCase(TEditCharCase AValue);
    // The selection is shown only while the edit has the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue);
    // Characters the user may enter at most; 0: no limit.
    Integer MaxLength();
    void SetMaxLength(Integer AValue);
    // The user changed the text since it was set.
    bool Modified();
    void SetModified(bool AValue);
    // Shown for every character instead of it; #0: the text itself.
    char16_t PasswordChar();
    void SetPasswordChar(char16_t AValue);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);

    Integer SelStart();
    // Moves the caret there and drops the selection.
    void SetSelStart(Integer AValue);
    Integer SelLength();
    // Selects from SelStart on.
    void SetSelLength(Integer AValue);
    String SelText();
    // Replaces the selection (undoably).
    void SetSelText(const String& AValue);
    bool CanUndo();

    void Clear();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // Takes back the last change; a second Undo takes back the Undo.
    void Undo();
    void ClearUndo();
    void SelectAll();

    String GetText() const override;
    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void PaintWindow(win::HDC ADC) override;
    void DoEnter() override;

    TNotifyEvent OnChange;

protected:
    // The text changed (not while the form is read).
    virtual void Change();
    // The ES_ style bits the properties ask for; once the window exists its
    // style decides (a descendant's CreateParams may add to them).
    virtual win::DWORD EditStyle() const;
    win::DWORD Style();
    bool Multiline() { return (Style() & win::ES_MULTILINE) != 0; }
    // How a change is remembered for Undo.
    enum TUndoMode { umNew, umTyping, umNone };
    // Replaces the selection with AText as the user or EM_REPLACESEL does,
    // within MaxLength (a cut-off insertion beeps).
    void ReplaceSelection(const String& AText, TUndoMode AUndo);

    // Sets or clears a style bit of the window (and lays the text out again).
    void SetStyleBit(win::DWORD ABit, bool AOn);
    // The text without a copy, and a number that changes with it.
    const String& EditText() const { return FText; }
    Cardinal TextVersion() const { return FTextVersion; }

private:
    struct TLine {
        Integer Start;
        Integer Length;
    };

    // The password character in use, 0 for none.
    char16_t MaskChar();
    std::u16string_view DisplayText();
    // Text changes.
    void SetTextValue(const String& AText);
    // The text changed from AFrom on.
    void TextChanged(Integer AFrom = 0);
    void SaveUndo();
    void DoUndo();
    void DeleteRange(Integer AStart, Integer AEnd);
    String Converted(const String& AText) const;
    // Selection and caret.
    Integer SelMin() const { return std::min(FAnchor, FCaret); }
    Integer SelMax() const { return std::max(FAnchor, FCaret); }
    void SetSelection(Integer AAnchor, Integer ACaret, bool AScroll);
    void MoveCaret(Integer APos, bool AExtend);
    Integer Boundary(Integer APos) const;
    Integer NextPos(Integer APos) const;
    Integer PrevPos(Integer APos) const;
    Integer NextWord(Integer APos) const;
    Integer PrevWord(Integer APos) const;
    // Layout.
    const std::vector<TLine>& Layout();
    // The lines from the one holding AFrom on are laid out again.
    void InvalidateLayout(Integer AFrom = 0);
    std::vector<Integer> WrapParagraph(Integer AStart, Integer AEnd, Integer AWidth);
    Integer LineHeight();
    TRect FormatRect();
    Integer LineOf(Integer APos);
    Integer VisibleLines();
    Integer LineTop(Integer ALine);
    Integer LineLeft(Integer ALine);
    Integer TextWidth(Integer AStart, Integer AEnd);
    TPoint PosToPoint(Integer APos);
    Integer PointToPos(TPoint APoint);
    Integer PosInLine(Integer ALine, Integer AX);
    void ScrollCaret();
    // Scrolls the caret into view when a change left that for later.
    void Settle();
    // Input.
    void KeyDownAction(Word AKey);
    void CharAction(char16_t AChar);
    void MouseAction(TMessage& AMessage);
    void ScrollLines(Integer ADelta);
    void StartCaret();
    void StopCaret();
    void CaretTick();
    // Painting.
    win::HBRUSH ControlColors(win::HDC ADC);
    void PaintLine(win::HDC ADC, Integer ALine, bool AShowSelection);
    void PaintCaret(win::HDC ADC);

    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    TAlignment FAlignment = taLeftJustify;
    bool FReadOnly = false;
    char16_t FPasswordChar = 0;
    Integer FLimit = 0;
    bool FModified = false;

    String FText;
    // The password characters shown for it.
    String FMasked;
    Cardinal FTextVersion = 0;
    Integer FAnchor = 0;
    Integer FCaret = 0;
    // Single-level undo: the state before the last change.
    String FUndoText;
    Integer FUndoAnchor = 0;
    Integer FUndoCaret = 0;
    bool FCanUndo = false;
    // Characters typed one after another are taken back together.
    bool FTyping = false;

    Integer FLeftMargin = 1;
    Integer FRightMargin = 1;
    bool FRectSet = false;
    TRect FRect;
    Integer FScrollX = 0;
    Integer FTopLine = 0;
    bool FSelecting = false;
    bool FScrollPending = false;
    bool FCaretShown = false;

    std::vector<TLine> FLayout;
    bool FLayoutValid = false;
    Integer FChangedFrom = 0;
    // Wrapped line starts of paragraphs, by paragraph text, for the width
    // and font they were made with.
    std::unordered_map<String, std::vector<Integer>> FWrapCache;
    Integer FWrapWidth = -1;
    Integer FLineHeight = 0;
};

// The masked edit the skinned edits build on. An edit mask is kept for the
// descriptions that set one; input is not checked against it.
class TCustomMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;

    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& AValue) { FEditMask = AValue; }

private:
    String FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};
