#include "skin/controls/qxcustomedit.h"

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxskinmessages.h"

using namespace win;

namespace {

// The separator StrToFloat reads.
constexpr char16_t DecimalSeparator = u'.';

// A memory DC with a bitmap of a size, freed at the end of the scope.
class TMemoryDC {
public:
    TMemoryDC(HDC AReference, Integer AWidth, Integer AHeight)
        : FDC(CreateCompatibleDC(AReference)),
          FBitmap(CreateCompatibleBitmap(AReference, AWidth, AHeight)),
          FOld(SelectObject(FDC, FBitmap)) {}
    ~TMemoryDC() {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
};

// A flag held for the duration of a scope.
class TFlagHolder {
public:
    explicit TFlagHolder(bool& AFlag) : FFlag(AFlag) { FFlag = true; }
    ~TFlagHolder() { FFlag = false; }
    TFlagHolder(const TFlagHolder&) = delete;
    TFlagHolder& operator=(const TFlagHolder&) = delete;

private:
    bool& FFlag;
};

}  // namespace

TqxCustomEdit::TqxCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FControlStyle.Include(csOpaque);
    SetMargins();
}

TqxCustomEdit::~TqxCustomEdit() = default;

void TqxCustomEdit::SetEditTransparent(bool AValue) {
    FEditTransparent = AValue;
    RecreateWnd();
}

bool TqxCustomEdit::Transparent() const {
    return FEditTransparent && !ComponentState().Contains(csDesigning);
}

void TqxCustomEdit::SetMargins() {
    Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, LPARAM(MAKELONG(2, 0)));
}

void TqxCustomEdit::CreateParams(TCreateParams& AParams) {
    TCustomMaskEdit::CreateParams(AParams);
    AParams.Style &= ~WS_BORDER;
    AParams.ExStyle &= ~WS_EX_CLIENTEDGE;
    // A multi-line window keeps Escape and Enter for itself, so that they
    // reach WM_CHAR, where they go to the form.
    AParams.Style |= PasswordChar() ? ES_PASSWORD : ES_MULTILINE;
}

void TqxCustomEdit::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomMaskEdit::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TqxCustomEdit::Change() {
    TCustomMaskEdit::Change();
    if (Transparent()) TransparentRepaint();
}

// Painting.

void TqxCustomEdit::PaintThroughBitmap(HDC ADC) {
    const TFlagHolder painting(FPainting);
    const TMemoryDC memory(ADC, Width() + 1, Height() + 1);
    SendMessageW(Handle(), WM_ERASEBKGND, WPARAM(memory.DC()), 0);
    SendMessageW(Handle(), WM_PAINT, WPARAM(memory.DC()), 0);
    BitBlt(ADC, 0, 0, Width(), Height(), memory.DC(), 0, 0, SRCCOPY);
}

void TqxCustomEdit::TransparentRepaint() {
    if (!HandleAllocated()) return;
    const HWND window = Handle();
    const HDC dc = GetDC(window);
    try {
        PaintThroughBitmap(dc);
    } catch (...) {
        ReleaseDC(window, dc);
        throw;
    }
    ReleaseDC(window, dc);
}

void TqxCustomEdit::PaintEditToDC(HDC ADC) {
    if (!HandleAllocated()) return;
    PaintThroughBitmap(ADC);
}

void TqxCustomEdit::WMEraseBkgnd(TMessage& AMessage) {
    AMessage.Result = 1;
    if (!FPainting) return TransparentRepaint();
    TBitmap background;
    background.SetSize(Width(), Height());
    PaintParentBackground(this, background.Canvas());
    BitBlt(reinterpret_cast<HDC>(AMessage.WParam), 0, 0, Width(), Height(), background.Canvas()->Handle(), 0,
           0, SRCCOPY);
}

void TqxCustomEdit::WMPaint(TMessage& AMessage) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
    if (!dc) dc = BeginPaint(Handle(), &ps);
    if (!dc) return;
    try {
        PaintEditToDC(dc);
    } catch (...) {
        if (!AMessage.WParam) EndPaint(Handle(), &ps);
        throw;
    }
    if (!AMessage.WParam) EndPaint(Handle(), &ps);
}

void TqxCustomEdit::CtlColor(TMessage& AMessage) {
    const HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
    AMessage.Result = LRESULT(GetStockObject(NULL_BRUSH));
}

// Keys.

void TqxCustomEdit::WMChar(TMessage& AMessage) {
    const char16_t key = char16_t(AMessage.WParam);
    if (key == VK_ESCAPE || key == VK_RETURN) {
        // The handler sees the key but cannot change it; the form's default
        // and cancel buttons take it.
        char16_t copy = key;
        if (OnKeyPress) OnKeyPress(this, copy);
        if (TCustomForm* form = GetParentForm(this))
            form->Perform(CM_DIALOGKEY, AMessage.WParam, AMessage.LParam);
        return;
    }
    if (FReadOnly && key != 3) return;
    TCustomMaskEdit::Dispatch(AMessage);
    if (Transparent()) TransparentRepaint();
}

// The edit menu.

void TqxCustomEdit::FreePopupMenu() {
    TPopupMenu* menu = FPopupMenu;
    FPopupMenu = nullptr;
    Free(menu);
}

void TqxCustomEdit::BuildEditPopupMenu() {
    FreePopupMenu();
    FPopupMenu = MakePopupMenu(this);
    TqxResourceStrData* strings = nullptr;
    if (TqxSkinData* skinData = FormSkinData(GetParentForm(this))) strings = skinData->ResourceStrData();
    const auto caption = [strings](const char16_t* AKey) {
        return strings ? strings->GetResStr(AKey) : GetDefaultResStr(AKey);
    };
    const Integer start = SelStart(), length = SelLength();
    const bool selection = length > 0;
    const bool whole = start == 0 && length == Integer(Text().size());
    bool clipboardText = false;
    if (OpenClipboard(Handle())) {
        clipboardText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
        CloseClipboard();
    }
    struct TEntry {
        const char16_t* Key;
        bool Enabled;
        std::function<void()> Action;
    };
    const TEntry entries[] = {
        {u"EDIT_UNDO", CanUndo(), [this] { Undo(); }},
        {nullptr, true, nullptr},
        {u"EDIT_CUT", selection && !FReadOnly, [this] { CutToClipboard(); }},
        {u"EDIT_COPY", selection, [this] { CopyToClipboard(); }},
        {u"EDIT_PASTE", clipboardText && !FReadOnly, [this] { PasteFromClipboard(); }},
        {u"EDIT_DELETE", selection && !FReadOnly, [this] { ClearSelection(); }},
        {nullptr, true, nullptr},
        {u"EDIT_SELECTALL", !whole, [this] { SelectAll(); }},
    };
    for (const TEntry& entry : entries) {
        auto* item = new TMenuItem(FPopupMenu);
        if (!entry.Key) {
            item->SetCaption(u"-");
        } else {
            item->SetCaption(caption(entry.Key));
            item->SetEnabled(entry.Enabled);
            item->OnClick = [action = entry.Action](TObject*) { action(); };
        }
        FPopupMenu->Items()->Add(item);
    }
}

void TqxCustomEdit::WMContextMenu(TMessage& AMessage) {
    if (PopupMenu()) return TCustomMaskEdit::Dispatch(AMessage);
    BuildEditPopupMenu();
    Integer x = GET_X_LPARAM(AMessage.LParam), y = GET_Y_LPARAM(AMessage.LParam);
    // From the keyboard: at the edit's centre.
    if (x < 0 || y < 0) {
        const TPoint centre = ClientToScreen({Width() / 2, Height() / 2});
        x = centre.X;
        y = centre.Y;
    }
    AMessage.Result = 1;
    PopupMenuFor(FPopupMenu, this, x, y);
}

void TqxCustomEdit::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_CHAR:
            return WMChar(AMessage);
        case WM_KEYDOWN:
            if (FReadOnly && AMessage.WParam == VK_DELETE) return;
            break;
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
            if (FReadOnly) return;
            break;
        case WM_ERASEBKGND:
            if (Transparent()) return WMEraseBkgnd(AMessage);
            break;
        case WM_PAINT:
            if (Transparent() && !FPainting) return WMPaint(AMessage);
            break;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            if (Transparent()) return CtlColor(AMessage);
            break;
        case WM_LBUTTONDOWN:
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            TCustomMaskEdit::Dispatch(AMessage);
            if (Transparent()) TransparentRepaint();
            if (AMessage.Msg == WM_SETFOCUS && AutoSelect()) SelectAll();
            return;
        }
        case CM_FONTCHANGED:
            TCustomMaskEdit::Dispatch(AMessage);
            SetMargins();
            return;
        case CM_CANCELMODE:
            TCustomMaskEdit::Dispatch(AMessage);
            if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(AMessage.LParam));
            return;
        case WM_CONTEXTMENU:
            return WMContextMenu(AMessage);
        case SKINMSG_MENUCOMMAND:
            FreePopupMenu();
            return;
        default:
            break;
    }
    TCustomMaskEdit::Dispatch(AMessage);
}

// The numeric edit.

bool TqxSkinNumEdit::KeyAccepted(char16_t AKey) {
    const bool digit = AKey >= u'0' && AKey <= u'9';
    const bool control = AKey < u' ' && AKey != u'\r';
    const bool separator = Float && AKey == DecimalSeparator;
    bool accepted = AKey == u'-' || digit || control || separator;
    if (accepted && !FEditorEnabled && (AKey >= u' ' || AKey == u'\b' || AKey == u'.')) accepted = false;
    const String text = Text();
    if (separator && text.find(DecimalSeparator) != String::npos) accepted = false;
    if (AKey == u'-') {
        const Integer start = SelStart(), length = SelLength();
        if (start == 0 && length > 0) return true;
        if (start != 0) return false;
        return accepted && text.find(u'-') == String::npos;
    }
    return accepted;
}

void TqxSkinNumEdit::KeyPress(char16_t& AKey) {
    if (!KeyAccepted(AKey)) {
        AKey = 0;
        MessageBeep(0);
    }
    if (AKey != 0) TqxCustomEdit::KeyPress(AKey);
}

void TqxSkinNumEdit::KeyDown(Word& AKey, TShiftState AShift) {
    if (AKey == VK_UP) {
        if (OnUpClick) OnUpClick(this);
        return;
    }
    if (AKey == VK_DOWN) {
        if (OnDownClick) OnDownClick(this);
        return;
    }
    TqxCustomEdit::KeyDown(AKey, AShift);
}

void TqxSkinNumEdit::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_MOUSEWHEEL: {
            const TNotifyEvent& event = GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0 ? OnDownClick : OnUpClick;
            if (event) event(this);
            return;
        }
        case CM_MOUSEENTER:
            TqxCustomEdit::Dispatch(AMessage);
            if (OnMouseEnter) OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            TqxCustomEdit::Dispatch(AMessage);
            if (OnMouseLeave) OnMouseLeave(this);
            return;
        default:
            TqxCustomEdit::Dispatch(AMessage);
    }
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxCustomEdit, TCustomMaskEdit>()
        .Property(u"EditTransparent", &TqxCustomEdit::EditTransparent, &TqxCustomEdit::SetEditTransparent)
        .Property(u"ReadOnly", &TqxCustomEdit::ReadOnly, &TqxCustomEdit::SetReadOnly)
        .Event(u"OnUp", &TqxCustomEdit::OnUp)
        .Event(u"OnDown", &TqxCustomEdit::OnDown);
    RegisterClass<TqxSkinNumEdit, TqxCustomEdit>()
        .Property(u"EditorEnabled", &TqxSkinNumEdit::EditorEnabled, &TqxSkinNumEdit::SetEditorEnabled)
        .Event(u"OnUpClick", &TqxSkinNumEdit::OnUpClick)
        .Event(u"OnDownClick", &TqxSkinNumEdit::OnDownClick)
        .Event(u"OnMouseEnter", &TqxSkinNumEdit::OnMouseEnter)
        .Event(u"OnMouseLeave", &TqxSkinNumEdit::OnMouseLeave);
    return true;
}();

}  // namespace
