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

}  // namespace win
