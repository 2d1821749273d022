// Pictures and data compiled into the program and looked up by name, as the
// system looks up its bitmap and data resources. A library registers them
// when it starts: the bytes of a file (a BMP or PNG picture, or any data),
// or a bitmap drawn by code the first time it is asked for. Names compare
// without regard to case.
#pragma once

#include <functional>
#include <span>

#include "platform/base/streams.h"
#include "platform/base/sysutils.h"
#include "platform/gdi/gditypes.h"
#include "platform/win/wintypes.h"

class TBitmap;

VELQUA_DECLARE_EXCEPTION(EResNotFound, Exception);

// AData is not copied: it stays where it is for the life of the program.
// A later registration of the same name replaces the earlier one.
void RegisterResource(const String& AName, std::span<const Byte> AData);
// ADraw fills the bitmap it is given (size, format and pixels).
void RegisterBitmapResource(const String& AName, std::function<void(TBitmap*)> ADraw);
bool ResourceExists(const String& AName);
// The bytes of a data resource; EResNotFound "Resource %s not found" for a
// name without one.
std::span<const Byte> ResourceData(const String& AName);
// The bitmap of a drawn resource or the picture of a data resource (BMP or
// PNG; 32-bit with its alpha when the picture has any, else 24-bit).
// EResNotFound as above; EInvalidGraphic for data that is no such picture.
void LoadResourceBitmap(const String& AName, TBitmap* ABitmap);

// A data resource read as a stream.
class TResourceStream : public TCustomMemoryStream {
public:
    // EResNotFound as above.
    explicit TResourceStream(const String& AName);
    // EStreamError: a resource cannot be written.
    Int64 Write(const void* ABuffer, Int64 ACount) override;
};

namespace win {

// The message box's stock icons, registered under these names ("IDI_HAND", ...).
inline constexpr int IDI_HAND = 32513;
inline constexpr int IDI_QUESTION = 32514;
inline constexpr int IDI_EXCLAMATION = 32515;
inline constexpr int IDI_ASTERISK = 32516;

// A new icon, which the caller destroys, from the picture registered under
// the stock icon's name (its alpha kept); nullptr for another id, an
// instance given, or a picture not registered.
HICON LoadIconW(HINSTANCE AInstance, int AId);

}  // namespace win
