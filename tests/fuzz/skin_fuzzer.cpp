// The libFuzzer targets of the skin readers, chosen when built:
// FUZZ_SKIN_FOLDER feeds the bytes as a folder skin's INI text, with its
// pictures served by name from a small fixed set (no files);
// FUZZ_SKIN_COMPRESSED feeds them as a compressed skin's container, and as a
// payload in a well-formed one. The readers raise the skin library's errors
// on damaged skins; nothing may crash, hang or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skinreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const std::string bytes(reinterpret_cast<const char*>(AData), ASize);
#if defined(FUZZ_SKIN_FOLDER)
    skinfixtures::ReadFolderSkinText(bytes);
#elif defined(FUZZ_SKIN_COMPRESSED)
    skinfixtures::ReadCompressedSkinBytes(bytes);
    skinfixtures::ReadSkinPayloadBytes(bytes);
#else
#error "no reader chosen"
#endif
    return 0;
}
