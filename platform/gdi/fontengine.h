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
struct TFontRequest {
    String FaceName;
    // Negative: character (em) height in pixels; positive: cell height;
    // 0: the default size.
    Integer Height = 0;
    Integer Weight = 0;  // 0 = normal
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    Byte CharSet = 1;

    auto operator<=>(const TFontRequest&) const = default;
};

// The character height a request of height 0 gets: 8 points at 96 dpi.
constexpr Integer DefaultCharHeight = 11;

struct TFontMetrics {
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
struct TGlyph {
    Integer Left = 0;  // columns right of the pen
    Integer Top = 0;   // rows above the baseline of the first row
    Integer Width = 0;
    Integer Height = 0;
    std::vector<Byte> Coverage;
};

class TFreeType;
struct TSizedFace;

// One request resolved to faces and a size. Measuring and rendering may come
// from several threads; a font serialises them itself.
class TFontInstance : public TTextMeasurer {
  public:
    TFontInstance(std::shared_ptr<TFreeType> ALibrary, const TFontRequest& ARequest,
                  std::unique_ptr<TSizedFace> APrimary, std::unique_ptr<TSizedFace> AFallback);
    ~TFontInstance() override;
    TFontInstance(const TFontInstance&) = delete;
    TFontInstance& operator=(const TFontInstance&) = delete;

    const TFontRequest& Request() const { return FRequest; }
    const TFontMetrics& Metrics() const { return FMetrics; }
    // The installed family that draws the text (not the fallback).
    const std::string& Family() const;
    Integer EmHeight() const { return FEmHeight; }

    void Advances(std::u16string_view AText, Integer* AResult) override;
    Integer LineHeight() override { return FMetrics.Height; }
    Integer AveCharWidth() override { return FMetrics.AveCharWidth; }
    Integer TextWidth(std::u16string_view AText);
    // The coverage of a character, rendered once and kept; it stays valid
    // as long as the font.
    const TGlyph& Glyph(char32_t ACode);
    // Whether a face of this font (the primary or the fallback) has the
    // character.
    bool HasGlyph(char32_t ACode);
    // How many characters have been rendered; measuring renders none.
    size_t RenderedGlyphCount();

  private:
    struct TSlot;
    TSlot FindSlot(char32_t ACode);
    bool LoadOutline(const TSlot& ASlot);
    Integer AdvanceLocked(char32_t ACode);

    std::shared_ptr<TFreeType> FLibrary;
    TFontRequest FRequest;
    std::unique_ptr<TSizedFace> FPrimary;
    std::unique_ptr<TSizedFace> FFallback;
    TFontMetrics FMetrics;
    Integer FEmHeight = 0;
    std::mutex FLock;
    std::unordered_map<char32_t, Integer> FAdvances;
    std::unordered_map<char32_t, TGlyph> FGlyphs;
};

// The process's font table: realised fonts are shared by every device
// context, as the system's font mapper shares them.
class TFontEngine {
  public:
    static TFontEngine& Instance();

    TFontEngine();
    ~TFontEngine();
    TFontEngine(const TFontEngine&) = delete;
    TFontEngine& operator=(const TFontEngine&) = delete;

    // Null only when no usable face is installed at all.
    std::shared_ptr<TFontInstance> Realize(const TFontRequest& ARequest);

  private:
    std::unique_ptr<TSizedFace> OpenFace(const std::string& AFamily, const TFontRequest& ARequest);

    std::mutex FLock;
    std::shared_ptr<TFreeType> FLibrary;
    TFaceMatcher FMatcher;
    std::map<TFontRequest, std::shared_ptr<TFontInstance>> FFonts;
};

}  // namespace gdi
