// The skinned combo box's edit style: the inner edit in the item part, whose
// keys drive the list and whose typed text is searched in the items and,
// with AutoComplete, completed from them.
#include <algorithm>

#include "platform/base/clock.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

// Key-ups closer together than this complete once.
constexpr Cardinal CompletePause = 200;

bool IsCjkCharset(TFontCharset ACharset) {
    return ACharset == SHIFTJIS_CHARSET || ACharset == GB2312_CHARSET || ACharset == CHINESEBIG5_CHARSET;
}

}  // namespace

TFontCharset TqxSkinCustomComboBox::Charset() {
    if (SkinData() && SkinData()->ResourceStrData()) return SkinData()->ResourceStrData()->CharSet();
    return DefaultFont()->Charset();
}

void TqxSkinCustomComboBox::CreateEditControl() {
    FEdit = FNumEdit ? new TqxSkinNumEdit(this) : new TqxCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetVisible(true);
    FEdit->SetEditTransparent(false);
    FEdit->OnChange = [this](TObject* Sender) { EditChange(Sender); };
    FEditWindowProc = FEdit->WindowProc();
    FEdit->SetWindowProc([this](TMessage& AMessage) { EditWindowProcHook(AMessage); });
    FEdit->OnEditCancelMode = [this](TControl* C) { EditCancelMode(C); };
    FEdit->OnKeyDown = [this](TObject* Sender, Word& AKey, TShiftState AShift) {
        EditKeyDown(Sender, AKey, AShift);
    };
    FEdit->OnKeyPress = [this](TObject* Sender, char16_t& AKey) { EditKeyPress(Sender, AKey); };
    FEdit->OnKeyUp = [this](TObject* Sender, Word& AKey, TShiftState AShift) {
        EditKeyUp(Sender, AKey, AShift);
    };
    FEdit->SetCharCase(FCharCase);
    TFont* font = FEdit->Font();
    if (FIndex == -1) {
        font->SetName(Font()->Name());
        font->SetStyle(Font()->Style());
        font->SetColor(Font()->Color());
        font->SetHeight(Font()->Height());
    } else {
        font->SetStyle(FontStyle);
        font->SetColor(FontColor);
        font->SetHeight(FontHeight);
        font->SetName(FontName);
    }
    if (FIndex != -1) FEdit->SetEditTransparent(true);
    CalcItemAndButtonRects();
    AlignEditControl();
}

void TqxSkinCustomComboBox::RemoveEditControl() {
    TqxCustomEdit* edit = FEdit;
    FEdit = nullptr;
    edit->SetVisible(false);
    Free(edit);
}

void TqxSkinCustomComboBox::SetEditFont() {
    TFont* font = FEdit->Font();
    const bool skinned = FIndex != -1;
    if (skinned && UseSkinFont()) {
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
        font->SetName(FontName);
        font->SetColor(FontColor);
    } else {
        font->Assign(DefaultFont());
        if (skinned) font->SetColor(FontColor);
    }
    if (skinned && !IsRectDegenerate(ActiveSkinRect) && (FEdit->Focused() || FMouseIn))
        font->SetColor(ActiveFontColor);
    font->SetCharset(Charset());
    if (FEdit->EditTransparent() != skinned) FEdit->SetEditTransparent(skinned);
    if (!Enabled()) font->SetColor(GetDisabledFontColor());
}

void TqxSkinCustomComboBox::EditChange(TObject*) {
    const WeakControl self(this);
    FromEdit = true;
    const String text = FEdit->Text();
    if (FListBox && !text.empty()) {
        const Integer found = FindPrefix(-1, text);
        if (found >= 0)
            FListBox->ListBox()->Perform(FAutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX, WPARAM(found), 0);
    }
    SetText(text);
    if (self.Alive()) FromEdit = false;
}

void TqxSkinCustomComboBox::EditKeyDown(TObject*, Word& AKey, TShiftState AShift) {
    if (OnKeyDown) OnKeyDown(this, AKey, AShift);
}

void TqxSkinCustomComboBox::EditKeyPress(TObject*, char16_t& AKey) {
    if (OnKeyPress) OnKeyPress(this, AKey);
}

void TqxSkinCustomComboBox::EditKeyUp(TObject*, Word& AKey, TShiftState AShift) {
    if (OnKeyUp) OnKeyUp(this, AKey, AShift);
}

void TqxSkinCustomComboBox::EditCancelMode(TControl* C) {
    if (!IsOwnPart(C)) CloseUp(false);
}

void TqxSkinCustomComboBox::EditSelectTo(Integer AIndex, bool AFlag) {
    FListBox->SetItemIndex(AIndex);
    if (!AFlag) return;
    const WeakControl self(this);
    SetText(FListBox->Items()->Get(AIndex));
    if (!self.Alive()) return;
    if (FEdit) FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TqxSkinCustomComboBox::EditSelectPrevious(bool AFlag) {
    const Integer index = FListBox->ItemIndex();
    if (index > 0) EditSelectTo(index - 1, AFlag);
}

void TqxSkinCustomComboBox::EditSelectNext(bool AFlag) {
    const Integer index = FListBox->ItemIndex();
    if (index < FListBox->Items()->Count() - 1) EditSelectTo(index + 1, AFlag);
}

void TqxSkinCustomComboBox::AutoCompleteText() {
    if (!FListBox || !FEdit) return;
    const Cardinal now = GetTickCount();
    if (now - FLastTime <= CompletePause) return;
    FLastTime = now;
    const String typed = Text();
    // Nothing typed completes to nothing.
    if (typed.empty()) return;
    const Integer found = FindPrefix(typed.size() == 1 ? FListBox->ItemIndex() : -1, typed);
    if (found < 0) return;
    const WeakControl self(this);
    SetItemIndex(found);
    if (!self.Alive() || !FEdit) return;
    FEdit->SetSelStart(Integer(typed.size()));
    FEdit->SetSelLength(Integer(Text().size()) - Integer(typed.size()));
}

void TqxSkinCustomComboBox::EditWindowProcHook(TMessage& AMessage) {
    const auto pass = [&] { FEditWindowProc(AMessage); };
    const bool open = FListBox->Visible();
    const bool skinnedHot = FIndex != -1 && !IsRectDegenerate(ActiveSkinRect);
    switch (AMessage.Msg) {
        case WM_SETFOCUS:
            if (skinnedHot) {
                FEdit->Font()->SetColor(ActiveFontColor);
                Invalidate();
            }
            return pass();
        case WM_KILLFOCUS:
            if (open) CloseUp(false);
            if (skinnedHot) {
                FEdit->Font()->SetColor(FontColor);
                Invalidate();
            }
            return pass();
        case WM_KEYDOWN: {
            const Integer index = FListBox->ItemIndex(), count = FListBox->Items()->Count();
            switch (AMessage.WParam) {
                case VK_RETURN:
                    if (open) CloseUp(true);
                    return pass();
                case VK_ESCAPE:
                    if (open) CloseUp(false);
                    return pass();
                case VK_PRIOR:
                    if (open) FListBox->SetItemIndex(std::max(0, index - FDropDownCount - 1));
                    return pass();
                case VK_NEXT:
                    if (open) FListBox->SetItemIndex(std::min(count - 1, index + FDropDownCount - 1));
                    return pass();
                case VK_UP:
                    return EditSelectPrevious(true);
                case VK_DOWN:
                    return EditSelectNext(true);
                default:
                    return pass();
            }
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const WPARAM key = AMessage.WParam;
            const WeakControl self(this);
            if (IsCjkCharset(Charset())) {
                if (key == VK_DELETE || key == VK_BACK) return pass();
                FEdit->SetSelLength(0);
                pass();
            } else {
                if (AMessage.Msg == WM_SYSKEYUP || key < 48) return pass();
                pass();
            }
            if (self.Alive() && FAutoComplete) AutoCompleteText();
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (open) CloseUp(false);
            return pass();
        case WM_MOUSEWHEEL:
            if (GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0)
                EditSelectPrevious(!open);
            else
                EditSelectNext(!open);
            return pass();
        default:
            return pass();
    }
}
