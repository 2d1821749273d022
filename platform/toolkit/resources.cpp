#include "platform/toolkit/resources.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/pngcodec.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/pngimage.h"

namespace {

struct TResource {
    std::span<const Byte> Data;
    std::function<void(TBitmap*)> Draw;
};

struct TRegistry {
    std::mutex Lock;
    std::map<String, TResource> Resources;
};

TRegistry& Registry() {
    static auto* registry = new TRegistry;
    return *registry;
}

TResource Find(const String& AName) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto it = registry.Resources.find(UpperCase(AName));
    if (it == registry.Resources.end()) throw EResNotFound(u"Resource %s not found", {AName});
    return it->second;
}

void Register(const String& AName, TResource AResource) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    registry.Resources[UpperCase(AName)] = std::move(AResource);
}

bool IsPng(std::span<const Byte> AData) {
    static constexpr Byte signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return AData.size() >= sizeof signature &&
           std::equal(signature, signature + sizeof signature, AData.begin());
}

}  // namespace

void RegisterResource(const String& AName, std::span<const Byte> AData) {
    Register(AName, {AData, nullptr});
}

void RegisterBitmapResource(const String& AName, std::function<void(TBitmap*)> ADraw) {
    Register(AName, {{}, std::move(ADraw)});
}

bool ResourceExists(const String& AName) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    return registry.Resources.count(UpperCase(AName)) != 0;
}

std::span<const Byte> ResourceData(const String& AName) {
    const TResource resource = Find(AName);
    if (resource.Draw) throw EResNotFound(u"Resource %s not found", {AName});
    return resource.Data;
}

void LoadResourceBitmap(const String& AName, TBitmap* ABitmap) {
    const TResource resource = Find(AName);
    if (resource.Draw) return resource.Draw(ABitmap);
    const TImageData picture = IsPng(resource.Data) ? DecodePng(resource.Data) : DecodeBmp(resource.Data);
    ABitmap->LoadFromImageData(picture, picture.HasAlpha || picture.BitCount == 32 ? pf32bit : pf24bit);
}

TResourceStream::TResourceStream(const String& AName) {
    const std::span<const Byte> data = ResourceData(AName);
    SetPointer(const_cast<Byte*>(data.data()), static_cast<Int64>(data.size()));
}

Int64 TResourceStream::Write(const void*, Int64) {
    throw EStreamError(u"Can't write to a read-only resource stream");
}

void TBitmap::LoadFromResourceName(const String& AName) {
    LoadResourceBitmap(AName, this);
}

void TPngImage::LoadFromResourceName(const String& AName) {
    TResourceStream stream(AName);
    LoadFromStream(&stream);
}

namespace win {

HICON LoadIconW(HINSTANCE AInstance, int AId) {
    static const std::map<int, String> names{{IDI_HAND, u"IDI_HAND"},
                                             {IDI_QUESTION, u"IDI_QUESTION"},
                                             {IDI_EXCLAMATION, u"IDI_EXCLAMATION"},
                                             {IDI_ASTERISK, u"IDI_ASTERISK"}};
    const auto it = names.find(AId);
    if (AInstance || it == names.end() || !ResourceExists(it->second)) return nullptr;
    TBitmap picture;
    LoadResourceBitmap(it->second, &picture);
    return CreateIconOfBitmap(&picture);
}

}  // namespace win
