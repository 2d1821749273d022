// Small shared routines of the media library: files and sizes, time zone,
// the main-thread call, and loading libraries by path.
#pragma once

#include <functional>
#include <string_view>

#include "platform/base/dynlibs.h"
#include "platform/base/set.h"
#include "platform/base/types.h"

// Events are raised on the GUI thread whenever a component asks for it.
inline constexpr bool SyncEventsToMainThread = true;

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };
using TSeekFlags = TSet<TSeekFlag>;

// FFmpeg's seek-flag bits: backward 1, byte 2, any 4, frame 8.
Integer AVSeekFlags(TSeekFlags AFlags);

// Size in bytes; -1 when the file does not exist.
Int64 FileSizeByName(std::u16string_view AFileName);
// AHead = the text before the first ADelimiter (all of ASource when there is
// none); with ARemove the head and the delimiter are cut from ASource.
void TakeToken(String& ASource, std::u16string_view ADelimiter, bool ARemove, String& AHead);
// "1.50 KB", "2.00 MB", "1.00 GB" above each unit, otherwise "%d Byte".
String SizeToText(Int64 ASize);

// Minus the standard time-zone bias, in days (daylight saving not applied).
double LocalTimeZoneBias();
TDateTime UnixTimeToDateTime(Int64 ASeconds);
String DateTimeToText(std::u16string_view AFormat, TDateTime ADateTime);

// Runs the GUI thread's pending main-thread calls and window messages.
void ProcessPendingMessages();
// Runs AMethod on the GUI thread and waits for it; at once on the GUI thread.
void CallInMainThread(const std::function<void()>& AMethod);

// A folder that holds the file is tried by absolute path, otherwise the
// system's search; AError gets the loader's text when the result is null.
HMODULE LoadLibraryWithPath(std::u16string_view AFolder, std::u16string_view AFileName, String& AError);
// Stores the export's address (or null) in ASlot; a missing mandatory export
// raises "Load function %s@%s error: %s".
void GetProcAddressOrFail(const String& ALibName, HMODULE AModule, const char* AProcName, bool AOptional,
                          void*& ASlot);
