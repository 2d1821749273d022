// Pictures through memory streams, and a target to draw them on, for the
// tests of the picture classes.
#pragma once

#include <vector>

#include "platform/base/streams.h"
#include "platform/toolkit/bitmap.h"

inline void Load(TGraphic& AGraphic, const std::vector<Byte>& AData) {
    TMemoryStream stream;
    stream.WriteBuffer(AData.data(), static_cast<Int64>(AData.size()));
    stream.SetPosition(0);
    AGraphic.LoadFromStream(&stream);
}

inline std::vector<Byte> Saved(TGraphic& AGraphic) {
    TMemoryStream stream;
    AGraphic.SaveToStream(&stream);
    const auto* data = static_cast<const Byte*>(stream.Memory());
    return std::vector<Byte>(data, data + stream.Size());
}

// A pf32bit bitmap of the size, all white.
inline TBitmap* WhiteTarget(TBitmap& ABitmap, Integer AWidth, Integer AHeight) {
    ABitmap.SetPixelFormat(pf32bit);
    ABitmap.SetSize(AWidth, AHeight);
    ABitmap.Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    return &ABitmap;
}
