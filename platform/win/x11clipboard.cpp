// The X11 back end's text clipboard: the CLIPBOARD selection in UTF-8,
// served from our hidden window while we own it.
#include "platform/base/ustring.h"
#include "platform/win/x11internal.h"

#include <X11/Xatom.h>

using namespace win;

namespace winsys {

namespace {

// How long another program may take to hand over its text.
constexpr int AnswerTimeout = 2000;

std::string ToLatin1(const std::string& AUtf8) {
    std::string result;
    for (char16_t c : UTF8ToString(AUtf8))
        result += c <= 0xFF ? char(c) : '?';
    return result;
}

String FromLatin1(const std::string& ABytes) {
    String result;
    for (char c : ABytes)
        result += char16_t(static_cast<unsigned char>(c));
    return result;
}

}  // namespace

void X11Backend::SetClipboardText(const String& AText) {
    if (AText.empty()) {
        FClipboard.reset();
        if (XGetSelectionOwner(FDpy, FAtoms.Clipboard) == FHidden)
            XSetSelectionOwner(FDpy, FAtoms.Clipboard, 0, CurrentTime);
        XFlush(FDpy);
        return;
    }
    XSetSelectionOwner(FDpy, FAtoms.Clipboard, FHidden, FLastTime);
    // The last event's time can be older than the current owner's claim.
    if (XGetSelectionOwner(FDpy, FAtoms.Clipboard) != FHidden)
        XSetSelectionOwner(FDpy, FAtoms.Clipboard, FHidden, CurrentTime);
    if (XGetSelectionOwner(FDpy, FAtoms.Clipboard) == FHidden)
        FClipboard = StringToUTF8(AText);
    else
        FClipboard.reset();
}

bool X11Backend::GetClipboardText(String& AText) {
    const ::Window owner = XGetSelectionOwner(FDpy, FAtoms.Clipboard);
    if (owner == FHidden && FClipboard) {
        AText = UTF8ToString(*FClipboard);
        return true;
    }
    if (!owner) return false;
    std::string data;
    if (ConvertClipboard(FAtoms.Utf8String, data)) {
        AText = UTF8ToString(data);
        return true;
    }
    if (ConvertClipboard(XA_STRING, data)) {
        AText = FromLatin1(data);
        return true;
    }
    return false;
}

bool X11Backend::ConvertClipboard(Atom ATarget, std::string& AData) {
    XDeleteProperty(FDpy, FHidden, FAtoms.Transfer);
    XConvertSelection(FDpy, FAtoms.Clipboard, ATarget, FAtoms.Transfer, FHidden, CurrentTime);
    XEvent event;
    if (!WaitForEvent(FHidden, SelectionNotify, event, AnswerTimeout) || !event.xselection.property)
        return false;
    Atom type;
    int format = 0;
    if (!ReadProperty(FHidden, FAtoms.Transfer, true, type, format, AData)) return false;
    if (type != FAtoms.Incr) return format == 8;
    // Large texts come in chunks: each new value of the property is one,
    // taken by deleting it, until an empty one.
    AData.clear();
    for (;;) {
        XEvent change;
        do {
            if (!WaitForEvent(FHidden, PropertyNotify, change, AnswerTimeout)) return false;
        } while (change.xproperty.atom != FAtoms.Transfer || change.xproperty.state != PropertyNewValue);
        std::string chunk;
        if (!ReadProperty(FHidden, FAtoms.Transfer, true, type, format, chunk)) return false;
        if (chunk.empty()) return true;
        AData += chunk;
    }
}

void X11Backend::HandleSelectionRequest(const XSelectionRequestEvent& AEvent) {
    XEvent reply{};
    XSelectionEvent& answer = reply.xselection;
    answer.type = SelectionNotify;
    answer.requestor = AEvent.requestor;
    answer.selection = AEvent.selection;
    answer.target = AEvent.target;
    answer.time = AEvent.time;
    answer.property = 0;
    // Old clients name no property: the target is the property then.
    const Atom property = AEvent.property ? AEvent.property : AEvent.target;
    if (AEvent.selection == FAtoms.Clipboard && FClipboard) {
        if (AEvent.target == FAtoms.Targets) {
            const Atom targets[] = {FAtoms.Targets, FAtoms.Utf8String, FAtoms.Text, XA_STRING};
            XChangeProperty(FDpy, AEvent.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets), 4);
            answer.property = property;
        } else if (AEvent.target == FAtoms.Utf8String || AEvent.target == FAtoms.Text ||
                   AEvent.target == XA_STRING) {
            const bool latin1 = AEvent.target == XA_STRING;
            const std::string bytes = latin1 ? ToLatin1(*FClipboard) : *FClipboard;
            // One request carries it; larger texts are refused, not sent in chunks.
            long limit = XExtendedMaxRequestSize(FDpy);
            if (!limit) limit = XMaxRequestSize(FDpy);
            if (long(bytes.size()) <= limit * 4 - 64) {
                XChangeProperty(FDpy, AEvent.requestor, property, latin1 ? XA_STRING : FAtoms.Utf8String, 8,
                                PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                                int(bytes.size()));
                answer.property = property;
            }
        }
    }
    XSendEvent(FDpy, AEvent.requestor, False, 0, &reply);
    XFlush(FDpy);
}

void X11Backend::HandleSelectionClear(const XSelectionClearEvent& AEvent) {
    if (AEvent.selection == FAtoms.Clipboard) FClipboard.reset();
}

}  // namespace winsys
