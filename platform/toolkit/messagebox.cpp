// The application's message box: a small modal dialog with the caption, the
// stock icon its flags name, the text and an OK button, drawn by the toolkit
// itself (it is also the exception box).
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/resources.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"

using namespace win;

namespace {

constexpr Integer Margin = 16;
constexpr Integer ButtonWidth = 75;
constexpr Integer ButtonHeight = 25;
constexpr Integer IdOk = 1;
constexpr Integer IconSize = 32;

// The stock icon of the MB_ICON... flags, nullptr for none.
HICON StockIconOf(Cardinal AFlags) {
    switch (AFlags & 0xF0) {
        case MB_ICONHAND:
            return LoadIconW(nullptr, IDI_HAND);
        case MB_ICONQUESTION:
            return LoadIconW(nullptr, IDI_QUESTION);
        case MB_ICONEXCLAMATION:
            return LoadIconW(nullptr, IDI_EXCLAMATION);
        case MB_ICONASTERISK:
            return LoadIconW(nullptr, IDI_ASTERISK);
        default:
            return nullptr;
    }
}

// The box's one button: Enter, Escape and a click close the box.
class TBoxButton : public TCustomControl {
public:
    explicit TBoxButton(TComponent* AOwner) : TCustomControl(AOwner) {
        SetTabStop(true);
        SetColor(clBtnFace);
    }

    void Click() override {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(mrOk);
        TCustomControl::Click();
    }

    void Paint() override {
        TCanvas* canvas = Canvas();
        const TRect r = ClientRect();
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(r);
        canvas->Brush()->SetColor(Focused() ? clHighlight : clBtnShadow);
        canvas->FrameRect(r);
        canvas->SetFont(Font());
        canvas->Brush()->SetStyle(bsClear);
        RECT text = ToRECT(r);
        const String caption = Caption();
        DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    void Dispatch(TMessage& AMessage) override {
        switch (AMessage.Msg) {
            case CM_DIALOGKEY:
                if (AMessage.WParam == VK_RETURN || AMessage.WParam == VK_ESCAPE) {
                    Click();
                    AMessage.Result = 1;
                    return;
                }
                break;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                Invalidate();
                break;
            default:
                break;
        }
        TCustomControl::Dispatch(AMessage);
    }
};

class TMessageBoxForm : public TForm {
public:
    TMessageBoxForm(TComponent* AOwner, const String& AText, Cardinal AFlags)
        : TForm(AOwner), FText(AText), FIcon(StockIconOf(AFlags)) {
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        FButton = new TBoxButton(this);
        FButton->SetCaption(u"OK");
        FButton->SetParent(this);
        // The text's size decides the box's.
        RECT r{0, 0, Screen ? Screen->Width() / 2 : 400, 0};
        Canvas()->SetFont(Font());
        const HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, Font()->Handle());
        DrawTextW(dc, FText.c_str(), int(FText.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        DeleteDC(dc);
        // The icon stands left of the text, which it pushes to the right.
        const Integer left = FIcon ? Margin + IconSize + Margin : Margin;
        FTextRect = Rect(left, Margin, left + r.right, Margin + r.bottom);
        const Integer bottom = std::max(FTextRect.Bottom, FIcon ? Margin + IconSize : 0);
        const Integer width = std::max(FTextRect.Right + Margin, ButtonWidth + 2 * Margin);
        const Integer height = bottom + Margin + ButtonHeight + Margin;
        SetClientSize(width, height);
        FButton->SetBounds((width - ButtonWidth) / 2, bottom + Margin, ButtonWidth, ButtonHeight);
        SetActiveControl(FButton);
    }
    ~TMessageBoxForm() override {
        if (FIcon) DestroyIcon(FIcon);
    }

    void Paint() override {
        if (FIcon)
            DrawIconEx(Canvas()->Handle(), Margin, Margin, FIcon, IconSize, IconSize, 0, nullptr, DI_NORMAL);
        Canvas()->SetFont(Font());
        Canvas()->Brush()->SetStyle(bsClear);
        RECT r = ToRECT(FTextRect);
        DrawTextW(Canvas()->Handle(), FText.c_str(), int(FText.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
    }

private:
    String FText;
    HICON FIcon;
    TRect FTextRect;
    TBoxButton* FButton;
};

}  // namespace

Integer TApplication::MessageBox(const String& AText, const String& ACaption, Cardinal AFlags) {
    MessageBeep(AFlags & 0xF0);
    TMessageBoxForm* box = new TMessageBoxForm(this, AText, AFlags);
    box->SetCaption(ACaption);
    try {
        box->ShowModal();
    } catch (...) {
        Free(box);
        throw;
    }
    Free(box);
    return IdOk;
}
