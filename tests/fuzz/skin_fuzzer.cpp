// The libFuzzer targets of the skin readers, chosen when built:
// FUZZ_SKIN_FOLDER feeds the bytes as a folder skin's INI text, with its
// pictures served by name from a small fixed set (no files); FUZZ_SKIN_COMPRESSED
// feeds them as a compressed skin's container, and deflated as a payload.
// Damaged skins may raise the skin library's errors; nothing may crash, hang
// or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/stringlist.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxzlibcompress.h"

namespace {

#if defined(FUZZ_SKIN_FOLDER)

std::unique_ptr<TBitmap> Picture(Integer AWidth, Integer AHeight, TPixelFormat AFormat) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(AFormat);
    bitmap->SetSize(AWidth, AHeight);
    return bitmap;
}

void Read(const std::string& AData) {
    static const auto small = Picture(16, 16, pf24bit);
    static const auto wide = Picture(64, 32, pf32bit);
    static const auto mask = Picture(40, 40, pf24bit);
    TStringList lines;
    lines.SetText(DecodeText(AData));
    TMemIniFile ini;
    ini.SetStrings(&lines);
    TqxSkinData data(nullptr);
    data.LoadFromSkinIni(&ini, [](const String& AName, TBitmap* ABitmap) {
        if (AName == u"a.bmp")
            ABitmap->Assign(small.get());
        else if (AName == u"b.bmp" || AName == u"sub\\b.bmp")
            ABitmap->Assign(wide.get());
        else if (AName == u"mask.bmp")
            ABitmap->Assign(mask.get());
        else
            throw EFOpenError(u"Cannot open file \"%s\"", {AName});
    });
    // What was read is written back.
    TMemIniFile out;
    data.WriteSkinIni(&out);
    data.GlobalChangeFont(u"黑体", 1);
}

#elif defined(FUZZ_SKIN_COMPRESSED)

void Load(const std::string& AContainer) {
    TStringStream stream(AContainer);
    TqxCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressStream(&stream);
    TqxSkinData data(nullptr);
    data.LoadCompressedStoredSkin(&stored);
    if (!data.Empty) {
        TqxCompressedStoredSkin again(nullptr);
        again.LoadFromSkinData(&data);
    }
}

void Read(const std::string& AData) {
    try {
        Load(AData);
    } catch (const Exception&) {
    }
    // The same bytes as the payload of a well-formed container.
    TMemoryStream payload, zlib;
    payload.WriteBuffer(AData.data(), Int64(AData.size()));
    CompressSkinStream(&payload, &zlib);
    std::string container(8, '\0');
    const Integer version = SkinContainerVersion, length = Integer(zlib.Size());
    container.replace(0, 4, reinterpret_cast<const char*>(&version), 4);
    container.replace(4, 4, reinterpret_cast<const char*>(&length), 4);
    container.append(static_cast<const char*>(zlib.Memory()), size_t(zlib.Size()));
    Load(container);
}

#else
#error "no reader chosen"
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    try {
        Read(std::string(reinterpret_cast<const char*>(AData), ASize));
    } catch (const Exception&) {
    }
    return 0;
}
