#include "platform/gdi/metafilecodec.h"

#include <gtest/gtest.h>

#include "picturefiles.h"

namespace {

using namespace picturefiles;

struct TPixel {
    Byte B, G, R, A;
};

TPixel At(const TImageData& AImage, Integer X, Integer Y) {
    const Byte* p = AImage.ScanLine(Y) + 4 * X;
    return {p[0], p[1], p[2], p[3]};
}

struct TKind {
    const char* Name;
    std::vector<Byte> (*Make)();
    TMetafileKind Kind;
    // What the undrawn half shows: libwmf plays on a white page.
    TPixel Empty;
};

const TKind Kinds[] = {{"wmf", RedHalfWmf, mkWmf, {255, 255, 255, 255}},
                       {"emf", RedHalfEmf, mkEmf, {0, 0, 0, 0}}};

TEST(MetafileCodec, ItsKindAndSizeComeFromItsHeaders) {
    for (const TKind& k : Kinds) {
        const TMetafileInfo info = ProbeMetafile(k.Make());
        EXPECT_EQ(info.Kind, k.Kind) << k.Name;
        EXPECT_EQ(std::make_pair(info.Width, info.Height), std::make_pair(192, 96)) << k.Name;
    }
}

TEST(MetafileCodec, PlaysIntoAnySize) {
    for (const TKind& k : Kinds) {
        for (const auto& [w, h] : {std::make_pair(192, 96), std::make_pair(60, 30)}) {
            SCOPED_TRACE(std::string(k.Name) + " " + std::to_string(w));
            const TImageData image = RenderMetafile(k.Make(), w, h);
            ASSERT_EQ(std::make_pair(image.Width(), image.Height()), std::make_pair(w, h));
            EXPECT_TRUE(image.HasAlpha);
            const TPixel left = At(image, w / 4, h / 2), right = At(image, w * 3 / 4, h / 2);
            EXPECT_EQ(left.A, 255);
            EXPECT_GE(left.R, 250);
            EXPECT_LE(left.G + left.B, 10);
            EXPECT_EQ(std::vector<Byte>({right.B, right.G, right.R, right.A}),
                      std::vector<Byte>({k.Empty.B, k.Empty.G, k.Empty.R, k.Empty.A}));
        }
    }
}

TEST(MetafileCodec, DamagedFilesAreRefusedBeforeTheLibrariesSeeThem) {
    std::vector<std::pair<std::string, std::vector<Byte>>> cases{{"empty", {}},
                                                                 {"text", {'h', 'e', 'l', 'l', 'o'}}};
    for (const TKind& k : Kinds) {
        const std::vector<Byte> whole = k.Make();
        cases.push_back({std::string(k.Name) + " cut short", {whole.begin(), whole.end() - 8}});
        // A record claiming more than the file holds.
        std::vector<Byte> overlong = whole;
        const size_t firstRecord = k.Kind == mkEmf ? 88 : 22 + 18;
        overlong[firstRecord + (k.Kind == mkEmf ? 5 : 1)] = 0x7F;
        cases.push_back({std::string(k.Name) + " record past the end", overlong});
        // A record of no size would never end.
        std::vector<Byte> stuck = whole;
        for (size_t i = 0; i < 4; ++i)
            stuck[firstRecord + (k.Kind == mkEmf ? 4 : 0) + i] = 0;
        cases.push_back({std::string(k.Name) + " record of size 0", stuck});
    }
    // A header naming a largest record beyond the file: libwmf would take a
    // buffer of that size.
    std::vector<Byte> huge = RedHalfWmf();
    for (size_t i = 0; i < 4; ++i)
        huge[22 + 12 + i] = i == 3 ? 0x7F : 0xFF;
    cases.push_back({"wmf largest record past the end", huge});
    for (const auto& [name, bytes] : cases) {
        EXPECT_THROW(ProbeMetafile(bytes), EInvalidGraphic) << name;
        EXPECT_THROW(RenderMetafile(bytes, 20, 10), EInvalidGraphic) << name;
    }
}

}  // namespace
