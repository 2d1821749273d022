#include "platform/shell/shellapi.h"

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
