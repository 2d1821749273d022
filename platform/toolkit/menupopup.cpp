#include "platform/toolkit/menupopup.h"

#include <algorithm>
#include <vector>

#include "platform/base/mainthread.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"

using namespace win;

namespace {

constexpr Integer RowHeight = 20;
constexpr Integer LineHeight = 8;
constexpr Integer TextIndent = 20;

class TPlainPopup : public TCustomControl {
public:
    explicit TPlainPopup(TPopupMenu* AMenu) : TCustomControl(nullptr), FMenu(AMenu) {
        SetColor(clMenu);
        SetVisible(false);
    }

    TPopupMenu* Menu() const { return FMenu; }

    void CreateParams(TCreateParams& AParams) override {
        TCustomControl::CreateParams(AParams);
        AParams.Style = WS_POPUP | WS_BORDER;
        AParams.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }

    void ShowItems(TMenuItem* AParent, Integer X, Integer Y) {
        FItems.clear();
        FHover = -1;
        if (TMenu* menu = AParent->GetParentMenu(); menu && menu->AutoLineReduction() == maAutomatic)
            AParent->RethinkLines();
        for (Integer i = 0; i < AParent->Count(); ++i)
            if (AParent->Items(i)->Visible()) FItems.push_back(AParent->Items(i));
        Integer width = 60, height = 0;
        for (TMenuItem* item : FItems) {
            const String text = Text(item);
            width = std::max(width, Canvas()->TextWidth(StripHotkey(text)) + 2 * TextIndent);
            height += item->IsLine() ? LineHeight : RowHeight;
        }
        SetWindowPos(Handle(), HWND_TOPMOST, X, Y, width + 2, std::max(height, 4) + 2,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
        StoreBounds(X, Y, width + 2, std::max(height, 4) + 2);
        Invalidate();
        SetCaptureControl(this);
    }

    void Close() {
        if (GetCaptureControl() == this) SetCaptureControl(nullptr);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        FItems.clear();
    }

    void Paint() override {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(clMenu);
        canvas->FillRect(ClientRect());
        Integer top = 0;
        for (size_t i = 0; i < FItems.size(); ++i) {
            TMenuItem* item = FItems[i];
            if (item->IsLine()) {
                canvas->Pen()->SetColor(clBtnShadow);
                canvas->MoveTo(2, top + LineHeight / 2);
                canvas->LineTo(ClientWidth() - 2, top + LineHeight / 2);
                top += LineHeight;
                continue;
            }
            const TRect row = Rect(0, top, ClientWidth(), top + RowHeight);
            const bool hot = Integer(i) == FHover && item->Enabled();
            if (hot) {
                canvas->Brush()->SetColor(clHighlight);
                canvas->FillRect(row);
            }
            canvas->Brush()->SetStyle(bsClear);
            canvas->Font()->SetColor(!item->Enabled() ? clGrayText : hot ? clHighlightText : clMenuText);
            if (item->Checked()) canvas->TextOut(6, top + 3, item->RadioItem() ? u"\u2022" : u"\u2713");
            RECT r{TextIndent, top, ClientWidth() - 4, top + RowHeight};
            const String text = Text(item);
            DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER);
            top += RowHeight;
        }
    }

    void MouseMove(TShiftState AShift, Integer X, Integer Y) override {
        const Integer hover = ItemAt(X, Y);
        if (hover != FHover) {
            FHover = hover;
            Invalidate();
        }
        TCustomControl::MouseMove(AShift, X, Y);
    }

    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override {
        TCustomControl::MouseUp(AButton, AShift, X, Y);
        const Integer index = ItemAt(X, Y);
        if (index < 0) return Close();
        TMenuItem* item = FItems[size_t(index)];
        if (item->IsLine() || !item->Enabled()) return;
        if (item->Count() > 0) {
            // The click comes first: handlers fill sub-menus there.
            item->Click();
            return ShowItems(item, Left() + Width(), Top() + Y);
        }
        Close();
        // Later: the handler may free the menu, and this popup with it.
        TPopupMenu* menu = FMenu;
        const Word command = item->Command();
        Queue([menu, command] { menu->DispatchCommand(command); }, menu);
    }

    void Dispatch(TMessage& AMessage) override {
        switch (AMessage.Msg) {
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
                if (ItemAt(GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)) < 0) return Close();
                break;
            case WM_CANCELMODE:
                Close();
                break;
            default:
                break;
        }
        TCustomControl::Dispatch(AMessage);
    }

private:
    static String Text(TMenuItem* AItem) {
        const String shortCut = ShortCutToText(AItem->ShortCut());
        return shortCut.empty() ? AItem->Caption() : AItem->Caption() + u"    " + shortCut;
    }

    Integer ItemAt(Integer X, Integer Y) const {
        if (X < 0 || X >= Width()) return -1;
        Integer top = 0;
        for (size_t i = 0; i < FItems.size(); ++i) {
            const Integer height = FItems[i]->IsLine() ? LineHeight : RowHeight;
            if (Y >= top && Y < top + height) return Integer(i);
            top += height;
        }
        return -1;
    }

    TPopupMenu* FMenu;
    std::vector<TMenuItem*> FItems;
    Integer FHover = -1;
};

TPlainPopup* ThePopup = nullptr;

}  // namespace

void ShowPlainPopup(TPopupMenu* AMenu, Integer X, Integer Y) {
    if (ThePopup && ThePopup->Menu() != AMenu) ClosePlainPopup(ThePopup->Menu());
    if (!ThePopup) ThePopup = new TPlainPopup(AMenu);
    ThePopup->ShowItems(AMenu->Items(), X, Y);
}

void ClosePlainPopup(TPopupMenu* AMenu) {
    RemoveQueuedEvents(AMenu);
    if (!ThePopup || ThePopup->Menu() != AMenu) return;
    TPlainPopup* popup = ThePopup;
    ThePopup = nullptr;
    popup->Close();
    Free(popup);
}
