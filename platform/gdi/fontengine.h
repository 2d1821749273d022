// Realised fonts: an installed face sized by the Windows height rule, its
// text metrics, cached advance widths and cached grey glyph coverage.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/fontmatch.h"
#include "platform/gdi/textmeasurer.h"

namespace gdi {

// What a caller asks for, as a logical font states it.
struct FontRequest {
    String FaceName;
    // Negative: character (em) height in pixels; positive: cell height;
    // 0: the default size.
    Integer Height = 0;
    Integer Weight = 0;  // 0 = normal
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    Byte CharSet = 1;

    auto operator<=>(const FontRequest&) const = default;
};

// The character height a request of height 0 gets: 8 points at 96 dpi.
constexpr Integer DefaultCharHeight = 11;

struct FontMetrics {
    Integer Height = 0;  // cell: Ascent + Descent
    Integer Ascent = 0;
    Integer Descent = 0;
    Integer InternalLeading = 0;  // Height minus the em height
    Integer ExternalLeading = 0;
    Integer AveCharWidth = 0;
    Integer MaxCharWidth = 0;
    Integer Weight = 400;
    bool FixedPitch = false;
    // Rows below the baseline where the underline starts, and its thickness.
    Integer UnderlineOffset = 1;
    Integer UnderlineThickness = 1;
    // Rows above the baseline of the strikeout's top row, and its thickness.
    Integer StrikeOutOffset = 0;
    Integer StrikeOutThickness = 1;
};

// Coverage of one glyph (0 = none, 255 = full), rows top-down, placed
// relative to the pen position on the baseline.
struct GlyphImage {
    Integer Left = 0;  // columns right of the pen
    Integer Top = 0;   // rows above the baseline of the first row
    Integer Width = 0;
    Integer Height = 0;
    std::vector<Byte> Coverage;
};

class FreeType;
struct SizedFace;

// One request resolved to faces and a size. Measuring and rendering may come
// from several threads; a font serialises them itself.
class FontInstance : public TextMeasurer {
public:
    // AFallbacks draw, in order, what the primary face lacks.
    FontInstance(std::shared_ptr<FreeType> ALibrary, const FontRequest& ARequest,
                 std::unique_ptr<SizedFace> APrimary, std::vector<std::unique_ptr<SizedFace>> AFallbacks);
    ~FontInstance() override;
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    const FontRequest& Request() const { return FRequest; }
    const FontMetrics& Metrics() const { return FMetrics; }
    // The installed family that draws the text (not a fallback).
    const std::string& Family() const;
    Integer EmHeight() const { return FEmHeight; }

    void Advances(std::u16string_view AText, Integer* AResult) override;
    Integer LineHeight() override { return FMetrics.Height; }
    Integer AveCharWidth() override { return FMetrics.AveCharWidth; }
    Integer TextWidth(std::u16string_view AText);
    // The coverage of a character, rendered once and kept; it stays valid
    // as long as the font.
    const GlyphImage& Glyph(char32_t ACode);
    // How many characters have been rendered; measuring renders none.
    size_t RenderedGlyphCount();

private:
    struct Slot;
    Slot FindSlot(char32_t ACode);
    bool LoadOutline(const Slot& ASlot);
    Integer AdvanceLocked(char32_t ACode);

    std::shared_ptr<FreeType> FLibrary;
    FontRequest FRequest;
    std::unique_ptr<SizedFace> FPrimary;
    std::vector<std::unique_ptr<SizedFace>> FFallbacks;
    FontMetrics FMetrics;
    Integer FEmHeight = 0;
    std::mutex FLock;
    std::unordered_map<char32_t, Integer> FAdvances;
    std::unordered_map<char32_t, GlyphImage> FGlyphs;
};

// The process's font table: realised fonts are shared by every device
// context, as the system's font mapper shares them.
class FontEngine {
public:
    static FontEngine& Instance();

    FontEngine();
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // Null only when no usable face is installed at all.
    std::shared_ptr<FontInstance> Realize(const FontRequest& ARequest);

private:
    std::unique_ptr<SizedFace> OpenFace(const std::string& AFamily, const FontRequest& ARequest);

    std::mutex FLock;
    std::shared_ptr<FreeType> FLibrary;
    FaceMatcher FMatcher;
    std::map<FontRequest, std::shared_ptr<FontInstance>> FFonts;
};

}  // namespace gdi
