// The X11 back end's keyboard: keysyms to virtual keys, and the characters a
// key gives through the input method (or XLookupString without one).
#include <clocale>
#include <string>

#include "platform/base/ustring.h"
#include "platform/win/input.h"
#include "platform/win/x11internal.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

using namespace win;

namespace winsys {

namespace {

BYTE FromKeysym(KeySym ASym) {
    if (ASym >= XK_a && ASym <= XK_z) return BYTE('A' + (ASym - XK_a));
    if ((ASym >= XK_A && ASym <= XK_Z) || (ASym >= XK_0 && ASym <= XK_9)) return BYTE(ASym);
    if (ASym >= XK_KP_0 && ASym <= XK_KP_9) return BYTE(VK_NUMPAD0 + (ASym - XK_KP_0));
    if (ASym >= XK_F1 && ASym <= XK_F24) return BYTE(VK_F1 + (ASym - XK_F1));
    switch (ASym) {
        case XK_BackSpace:
            return VK_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return VK_TAB;
        case XK_Clear:
        case XK_KP_Begin:
            return VK_CLEAR;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_Shift_L:
        case XK_Shift_R:
            return VK_SHIFT;
        case XK_Control_L:
        case XK_Control_R:
            return VK_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R:
        case XK_Meta_L:
        case XK_Meta_R:
            return VK_MENU;
        case XK_Pause:
            return VK_PAUSE;
        case XK_Caps_Lock:
            return VK_CAPITAL;
        case XK_Escape:
            return VK_ESCAPE;
        case XK_space:
        case XK_KP_Space:
            return VK_SPACE;
        case XK_Prior:
        case XK_KP_Prior:
            return VK_PRIOR;
        case XK_Next:
        case XK_KP_Next:
            return VK_NEXT;
        case XK_End:
        case XK_KP_End:
            return VK_END;
        case XK_Home:
        case XK_KP_Home:
            return VK_HOME;
        case XK_Left:
        case XK_KP_Left:
            return VK_LEFT;
        case XK_Up:
        case XK_KP_Up:
            return VK_UP;
        case XK_Right:
        case XK_KP_Right:
            return VK_RIGHT;
        case XK_Down:
        case XK_KP_Down:
            return VK_DOWN;
        case XK_Print:
            return VK_SNAPSHOT;
        case XK_Insert:
        case XK_KP_Insert:
            return VK_INSERT;
        case XK_Delete:
        case XK_KP_Delete:
            return VK_DELETE;
        case XK_Help:
            return VK_HELP;
        case XK_Super_L:
            return VK_LWIN;
        case XK_Super_R:
            return VK_RWIN;
        case XK_Menu:
            return VK_APPS;
        case XK_KP_Multiply:
            return VK_MULTIPLY;
        case XK_KP_Add:
            return VK_ADD;
        case XK_KP_Separator:
            return VK_SEPARATOR;
        case XK_KP_Subtract:
            return VK_SUBTRACT;
        case XK_KP_Decimal:
            return VK_DECIMAL;
        case XK_KP_Divide:
            return VK_DIVIDE;
        case XK_Num_Lock:
            return VK_NUMLOCK;
        case XK_Scroll_Lock:
            return VK_SCROLL;
        case XK_semicolon:
            return VK_OEM_1;
        case XK_equal:
            return VK_OEM_PLUS;
        case XK_comma:
            return VK_OEM_COMMA;
        case XK_minus:
            return VK_OEM_MINUS;
        case XK_period:
            return VK_OEM_PERIOD;
        case XK_slash:
            return VK_OEM_2;
        case XK_grave:
            return VK_OEM_3;
        case XK_bracketleft:
            return VK_OEM_4;
        case XK_backslash:
            return VK_OEM_5;
        case XK_bracketright:
            return VK_OEM_6;
        case XK_apostrophe:
            return VK_OEM_7;
        default:
            return 0;
    }
}

// Without an input method: Latin-1 and Unicode keysyms, control characters
// as XLookupString gives them.
String TextOf(KeySym ASym, const char* ABytes, int ACount) {
    if (ACount <= 0) return {};
    const unsigned char first = static_cast<unsigned char>(ABytes[0]);
    if (ACount == 1 && (first < 0x20 || first == 0x7F)) return String(1, char16_t(first));
    char32_t code = 0;
    if ((ASym >= 0x20 && ASym <= 0x7E) || (ASym >= 0xA0 && ASym <= 0xFF))
        code = char32_t(ASym);
    else if ((ASym & 0xFF000000) == 0x01000000)
        code = char32_t(ASym & 0x00FFFFFF);
    if (!code) return {};
    if (code < 0x10000) return String(1, char16_t(code));
    code -= 0x10000;
    return String{char16_t(0xD800 + (code >> 10)), char16_t(0xDC00 + (code & 0x3FF))};
}

}  // namespace

void X11Backend::OpenInputMethod() {
    // Input methods open for the locale's character set. Text always comes
    // out as UTF-8, so any UTF-8 locale will do, and the program's own
    // locale is given back afterwards.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = current ? current : "C";
    if (!std::setlocale(LC_CTYPE, "") || !XSupportsLocale()) std::setlocale(LC_CTYPE, "C.UTF-8");
    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        FIm = XOpenIM(FDpy, nullptr, nullptr, nullptr);
        if (!FIm) {
            // The input method XMODIFIERS names is not running: Xlib's own.
            XSetLocaleModifiers("@im=none");
            FIm = XOpenIM(FDpy, nullptr, nullptr, nullptr);
        }
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

XIC X11Backend::CreateInputContext(::Window AWindow, long& AEventMask) {
    if (!FIm) return nullptr;
    // The input method shows its own candidate window.
    XIC context = XCreateIC(FIm, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, AWindow,
                            XNFocusWindow, AWindow, nullptr);
    if (!context)
        context = XCreateIC(FIm, XNInputStyle, XIMPreeditNone | XIMStatusNone, XNClientWindow, AWindow,
                            XNFocusWindow, AWindow, nullptr);
    unsigned long events = 0;
    if (context) XGetICValues(context, XNFilterEvents, &events, nullptr);
    AEventMask = long(events);
    return context;
}

BYTE X11Backend::VirtualKey(XKeyEvent& AEvent) {
    // The key as the modifiers make it (the keypad follows Num Lock), then
    // its unshifted symbol (Shift+1 is still '1'), then the first layout's
    // (Ctrl+C on a Cyrillic layout is still 'C').
    char ignored[8];
    KeySym sym = 0;
    XLookupString(&AEvent, ignored, sizeof ignored, &sym, nullptr);
    BYTE key = FromKeysym(sym);
    if (!key) key = FromKeysym(XLookupKeysym(&AEvent, 0));
    if (!key) key = FromKeysym(XkbKeycodeToKeysym(FDpy, KeyCode(AEvent.keycode), 0, 0));
    return key;
}

String X11Backend::KeyText(XKeyEvent& AEvent, XIC AContext) {
    KeySym sym = 0;
    if (!AContext) {
        char bytes[32];
        const int count = XLookupString(&AEvent, bytes, sizeof bytes, &sym, nullptr);
        return TextOf(sym, bytes, count);
    }
    std::string bytes(64, '\0');
    Status status = 0;
    int count = Xutf8LookupString(AContext, &AEvent, bytes.data(), int(bytes.size()), &sym, &status);
    if (status == XBufferOverflow) {
        bytes.resize(size_t(count));
        count = Xutf8LookupString(AContext, &AEvent, bytes.data(), int(bytes.size()), &sym, &status);
    }
    if ((status != XLookupChars && status != XLookupBoth) || count <= 0) return {};
    bytes.resize(size_t(count));
    return UTF8ToString(bytes);
}

bool X11Backend::HandleKey(XKeyEvent& AEvent, XIC AContext) {
    const bool press = AEvent.type == KeyPress;
    // Input methods hand committed text over as presses of key code 0.
    const BYTE key = AEvent.keycode ? VirtualKey(AEvent) : 0;
    String text = press ? KeyText(AEvent, AContext) : String();
    TInputEvent event;
    if (!key) {
        if (text.empty()) return false;
        event.Kind = TInputEvent::ieText;
        event.Text = std::move(text);
        QueueInput(event);
        return true;
    }
    // X gives Delete a DEL character; Windows gives it none.
    if (key == VK_DELETE) text.clear();
    event.Kind = press ? TInputEvent::ieKeyDown : TInputEvent::ieKeyUp;
    event.Key = key;
    event.Text = std::move(text);
    FKeysDown.set(key, press);
    QueueInput(event);
    return true;
}

}  // namespace winsys
