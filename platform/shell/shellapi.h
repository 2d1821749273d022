// The shell calls the system makes to act outside itself, under their
// Windows names: opening a document, folder or address, playing a sound
// file, switching the computer off. Each goes through the outside actions
// (outsideactions.h), which the memory back end records.
#pragma once

#include "platform/win/wintypes.h"

namespace win {

// Results of ShellExecuteW at or below 32 are errors.
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SE_ERR_FNF = 2;

// AOperation nullptr, "" or "open" (any case) opens AFile with the desktop's
// program for it, started in ADirectory when that is given; AParameters and
// AShowCmd are not used. Returns a value above 32 when the program started,
// SE_ERR_FNF for an empty file, SE_ERR_NOASSOC for another verb or a start
// that failed.
HINSTANCE ShellExecuteW(HWND AWindow, LPCWSTR AOperation, LPCWSTR AFile, LPCWSTR AParameters,
                        LPCWSTR ADirectory, int AShowCmd);

inline constexpr UINT SND_SYNC = 0x0000;
inline constexpr UINT SND_ASYNC = 0x0001;
inline constexpr UINT SND_FILENAME = 0x00020000;

// Starts playing the WAVE file ASound and returns at once, whatever the
// flags ask; AModule is not used. FALSE for a missing file (nothing plays)
// or a player that cannot be started; nullptr asks for nothing and gives TRUE.
BOOL PlaySoundW(LPCWSTR ASound, HINSTANCE AModule, UINT AFlags);

inline constexpr UINT EWX_LOGOFF = 0x0000;
inline constexpr UINT EWX_SHUTDOWN = 0x0001;
inline constexpr UINT EWX_REBOOT = 0x0002;
inline constexpr UINT EWX_FORCE = 0x0004;
inline constexpr UINT EWX_POWEROFF = 0x0008;

// Shutting down (EWX_SHUTDOWN or EWX_POWEROFF) asks the system to switch
// the computer off; FALSE when that cannot be asked for (also while the
// environment variable CI is set) and for anything else (logging off,
// restarting). AReason is not used.
BOOL ExitWindowsEx(UINT AFlags, DWORD AReason);

inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;
inline constexpr UINT NIF_MESSAGE = 0x01;
inline constexpr UINT NIF_ICON = 0x02;
inline constexpr UINT NIF_TIP = 0x04;
inline constexpr UINT NIF_INFO = 0x10;
inline constexpr DWORD NIIF_NONE = 0;
inline constexpr DWORD NIIF_INFO = 1;
inline constexpr DWORD NIIF_WARNING = 2;
inline constexpr DWORD NIIF_ERROR = 3;
// Mouse messages of a tray icon's callback beyond the WM_ ones.
inline constexpr UINT NIN_BALLOONUSERCLICK = 0x0405;
// The size of the full record, as the system's callers fill in cbSize.
inline constexpr DWORD NOTIFYICONDATAW_SIZE = 956;

struct NOTIFYICONDATAW {
    DWORD cbSize = 0;
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    char16_t szTip[128] = {};
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char16_t szInfo[256] = {};
    UINT uTimeout = 0;
    char16_t szInfoTitle[64] = {};
    DWORD dwInfoFlags = 0;
};

// The icon ALData describes (by hWnd and uID) added to, changed in or
// removed from the desktop's notification area, through the outside actions
// (the memory back end records it). cbSize must be the full record's size.
// The fields uFlags names are taken: the callback message, the icon, the
// tip, the balloon (NIF_INFO; an empty text takes a balloon away). FALSE
// without a notification area, when it refuses, or for a bad record.
BOOL Shell_NotifyIconW(DWORD AMessage, const NOTIFYICONDATAW* AData);

}  // namespace win
