#include "platform/shell/shellapi.h"

#include <iterator>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/outsideactions.h"

namespace win {

namespace {

String Text(LPCWSTR AText) {
    return AText ? String(AText) : String();
}

HINSTANCE Result(intptr_t ACode) {
    return reinterpret_cast<HINSTANCE>(ACode);
}

}  // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR AOperation, LPCWSTR AFile, LPCWSTR, LPCWSTR ADirectory, int) {
    const String verb = Text(AOperation);
    if (!verb.empty() && !SameText(verb, u"open")) return Result(SE_ERR_NOASSOC);
    const String file = Text(AFile);
    if (file.empty()) return Result(SE_ERR_FNF);
    if (!shell::OutsideActions()->Open(verb, file, Text(ADirectory))) return Result(SE_ERR_NOASSOC);
    return Result(42);
}

BOOL PlaySoundW(LPCWSTR ASound, HINSTANCE, UINT) {
    if (!ASound) return TRUE;
    const String file(ASound);
    if (!FileExists(file)) return FALSE;
    return shell::OutsideActions()->PlaySound(file) ? TRUE : FALSE;
}

BOOL ExitWindowsEx(UINT AFlags, DWORD) {
    if (!(AFlags & (EWX_SHUTDOWN | EWX_POWEROFF))) return FALSE;
    return shell::OutsideActions()->PowerOff() ? TRUE : FALSE;
}

}  // namespace win

namespace win {

namespace {

String FixedText(const char16_t* AText, size_t ACapacity) {
    size_t length = 0;
    while (length < ACapacity && AText[length]) ++length;
    return String(AText, length);
}

}  // namespace

BOOL Shell_NotifyIconW(DWORD AMessage, const NOTIFYICONDATAW* AData) {
    if (!AData || (AData->cbSize != NOTIFYICONDATAW_SIZE && AData->cbSize != sizeof(NOTIFYICONDATAW))) return FALSE;
    if (AMessage > NIM_DELETE) return FALSE;
    TTrayIcon icon;
    icon.Window = AData->hWnd;
    icon.Id = AData->uID;
    if (AData->uFlags & NIF_MESSAGE) icon.CallbackMessage = AData->uCallbackMessage;
    if (AData->uFlags & NIF_ICON) icon.Icon = AData->hIcon;
    if (AData->uFlags & NIF_TIP) icon.Tip = FixedText(AData->szTip, std::size(AData->szTip));
    if (AData->uFlags & NIF_INFO) {
        icon.ShowBalloon = true;
        icon.BalloonText = FixedText(AData->szInfo, std::size(AData->szInfo));
        icon.BalloonTitle = FixedText(AData->szInfoTitle, std::size(AData->szInfoTitle));
        icon.BalloonFlags = AData->dwInfoFlags;
    }
    return shell::OutsideActions()->TrayIcon(AMessage, icon) ? TRUE : FALSE;
}

}  // namespace win
