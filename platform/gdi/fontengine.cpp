#include "platform/gdi/fontengine.h"

#include "platform/gdi/codepoint.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace gdi {

class FreeType {
public:
    FreeType() {
        if (FT_Init_FreeType(&Library) != 0) Library = nullptr;
    }
    ~FreeType() {
        if (Library) FT_Done_FreeType(Library);
    }
    FreeType(const FreeType&) = delete;
    FreeType& operator=(const FreeType&) = delete;

    FT_Library Library = nullptr;
};

struct SizedFace {
    FT_Face Face = nullptr;
    FaceFile File;
    Integer Weight = 400;  // of the face itself; fontconfig reports what it would synthesise
    FT_Pos Embolden = 0;   // extra width in 26.6 pixels when the face is not bold itself
    bool Oblique = false;  // slant the outlines: the face has no italic of its own

    SizedFace() = default;
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;
    ~SizedFace() {
        if (Face) FT_Done_Face(Face);
    }
};

struct FontInstance::Slot {
    SizedFace* Face;
    FT_UInt Index;
};

namespace {

// Hinting that keeps shapes close to the outlines; embedded bitmaps are
// skipped so every size is grey anti-aliased alike.
constexpr FT_Int32 LoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

// Beyond any text on a screen; keeps a glyph's coverage within reason.
constexpr Integer MaxEmHeight = 2000;

constexpr Integer SemiBoldWeight = 600;
constexpr Integer BoldWeight = 700;

// The cell the system measures a face by: the OS/2 Windows ascent and
// descent, else the horizontal header's.
struct CellUnits {
    double Ascent;
    double Descent;
};

CellUnits CellOf(FT_Face AFace) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(AFace, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return {double(os2->usWinAscent), double(os2->usWinDescent)};
    if (AFace->ascender - AFace->descender > 0) return {double(AFace->ascender), double(-AFace->descender)};
    return {AFace->units_per_EM * 0.8, AFace->units_per_EM * 0.2};
}

// Control characters neither advance nor show.
bool IsControl(char32_t ACode) {
    return ACode < 0x20 || ACode == 0x7F;
}

Integer Round(double AValue) {
    return static_cast<Integer>(std::lround(AValue));
}

// The pixel em height for a requested height: negative is the character
// height itself, positive the cell height, which the em takes its share of.
Integer EmHeightFor(Integer AHeight, FT_Face AFace) {
    if (AHeight == 0) return DefaultCharHeight;
    if (AHeight < 0) return AHeight < -MaxEmHeight ? MaxEmHeight : -AHeight;
    const CellUnits cell = CellOf(AFace);
    const double em = double(AHeight) * AFace->units_per_EM / (cell.Ascent + cell.Descent);
    return std::clamp(Round(em), 1, MaxEmHeight);
}

}  // namespace

FontInstance::FontInstance(std::shared_ptr<FreeType> ALibrary, const FontRequest& ARequest,
                           std::unique_ptr<SizedFace> APrimary,
                           std::vector<std::unique_ptr<SizedFace>> AFallbacks)
    : FLibrary(std::move(ALibrary)),
      FRequest(ARequest),
      FPrimary(std::move(APrimary)),
      FFallbacks(std::move(AFallbacks)) {
    FT_Face face = FPrimary->Face;
    FEmHeight = EmHeightFor(ARequest.Height, face);
    const bool wantBold = ARequest.Weight >= SemiBoldWeight;
    std::vector<SizedFace*> faces{FPrimary.get()};
    for (const auto& fallback : FFallbacks)
        faces.push_back(fallback.get());
    for (SizedFace* sized : faces) {
        FT_Set_Pixel_Sizes(sized->Face, 0, FEmHeight);
        // Like the system's simulated bold: at least one pixel wider.
        if (wantBold && sized->Weight < SemiBoldWeight)
            sized->Embolden = 64 * std::max<Integer>(1, Round(FEmHeight / 24.0));
    }

    const double upem = face->units_per_EM;
    const double scale = FEmHeight / upem;
    const CellUnits cell = CellOf(face);
    FontMetrics& m = FMetrics;
    if (ARequest.Height > 0 && ARequest.Height <= MaxEmHeight) {
        // A cell height is kept exactly as asked.
        m.Height = ARequest.Height;
        m.Ascent = Round(ARequest.Height * cell.Ascent / (cell.Ascent + cell.Descent));
        m.Descent = m.Height - m.Ascent;
    } else {
        m.Ascent = Round(cell.Ascent * scale);
        m.Descent = Round(cell.Descent * scale);
        m.Height = m.Ascent + m.Descent;
    }
    m.InternalLeading = std::max(0, m.Height - FEmHeight);
    m.ExternalLeading = std::max(0, Round((face->height - cell.Ascent - cell.Descent) * scale));

    const Integer boldExtra = Integer(FPrimary->Embolden >> 6);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
        m.AveCharWidth = Round(os2->xAvgCharWidth * scale) + boldExtra;
    else
        m.AveCharWidth = AdvanceLocked(U'x');
    m.MaxCharWidth = Round(face->max_advance_width * scale) + boldExtra;
    m.Weight = FPrimary->Embolden ? BoldWeight : FPrimary->Weight;
    m.FixedPitch = FT_IS_FIXED_WIDTH(face);

    const double underlineThickness = face->underline_thickness > 0 ? face->underline_thickness : upem / 14;
    m.UnderlineThickness = std::max(1, Round(underlineThickness * scale));
    // The face gives the stroke's centre; keep the stroke inside the cell.
    const Integer underlineTop = Round(-face->underline_position * scale - m.UnderlineThickness / 2.0);
    m.UnderlineOffset = std::clamp(underlineTop, 0, std::max(0, m.Descent - m.UnderlineThickness));
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        m.StrikeOutThickness = std::max(1, Round(os2->yStrikeoutSize * scale));
        m.StrikeOutOffset = Round(os2->yStrikeoutPosition * scale);
    } else {
        m.StrikeOutThickness = m.UnderlineThickness;
        m.StrikeOutOffset = Round(m.Ascent / 3.0) + m.StrikeOutThickness;
    }
}

FontInstance::~FontInstance() = default;

const std::string& FontInstance::Family() const {
    return FPrimary->File.Family;
}

FontInstance::Slot FontInstance::FindSlot(char32_t ACode) {
    if (const FT_UInt index = FT_Get_Char_Index(FPrimary->Face, ACode)) return {FPrimary.get(), index};
    for (const auto& fallback : FFallbacks)
        if (const FT_UInt index = FT_Get_Char_Index(fallback->Face, ACode)) return {fallback.get(), index};
    return {FPrimary.get(), 0};
}

bool FontInstance::LoadOutline(const Slot& ASlot) {
    FT_Face face = ASlot.Face->Face;
    if (FT_Load_Glyph(face, ASlot.Index, LoadFlags) != 0) return false;
    FT_GlyphSlot glyph = face->glyph;
    if (glyph->format != FT_GLYPH_FORMAT_OUTLINE) return true;
    if (ASlot.Face->Embolden) FT_Outline_EmboldenXY(&glyph->outline, ASlot.Face->Embolden, 0);
    if (ASlot.Face->Oblique) {
        // The usual synthetic slant of about 11 degrees.
        const FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};
        FT_Outline_Transform(&glyph->outline, &shear);
    }
    return true;
}

Integer FontInstance::AdvanceLocked(char32_t ACode) {
    if (IsControl(ACode)) return 0;
    if (auto found = FAdvances.find(ACode); found != FAdvances.end()) return found->second;
    const Slot slot = FindSlot(ACode);
    Integer advance = 0;
    if (LoadOutline(slot))
        advance = Integer((slot.Face->Face->glyph->advance.x + 32) >> 6) + Integer(slot.Face->Embolden >> 6);
    FAdvances.emplace(ACode, advance);
    return advance;
}

void FontInstance::Advances(std::u16string_view AText, Integer* AResult) {
    std::lock_guard lock(FLock);
    for (size_t i = 0; i < AText.size();) {
        size_t length = 1;
        const char32_t code = CodePointAt(AText, i, length);
        AResult[i] = AdvanceLocked(code);
        if (length == 2) AResult[i + 1] = 0;
        i += length;
    }
}

Integer FontInstance::TextWidth(std::u16string_view AText) {
    std::lock_guard lock(FLock);
    Integer width = 0;
    for (size_t i = 0; i < AText.size();) {
        size_t length = 1;
        width += AdvanceLocked(CodePointAt(AText, i, length));
        i += length;
    }
    return width;
}

size_t FontInstance::RenderedGlyphCount() {
    std::lock_guard lock(FLock);
    return FGlyphs.size();
}

const GlyphImage& FontInstance::Glyph(char32_t ACode) {
    std::lock_guard lock(FLock);
    if (auto found = FGlyphs.find(ACode); found != FGlyphs.end()) return found->second;
    GlyphImage& result = FGlyphs[ACode];
    if (IsControl(ACode)) return result;
    const Slot slot = FindSlot(ACode);
    if (!LoadOutline(slot)) return result;
    FT_GlyphSlot glyph = slot.Face->Face->glyph;
    if (FT_Render_Glyph(glyph, FT_RENDER_MODE_NORMAL) != 0) return result;
    const FT_Bitmap& bitmap = glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return result;
    result.Left = glyph->bitmap_left;
    result.Top = glyph->bitmap_top;
    result.Width = Integer(bitmap.width);
    result.Height = Integer(bitmap.rows);
    result.Coverage.resize(size_t(result.Width) * result.Height);
    for (Integer y = 0; y < result.Height; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        Byte* out = result.Coverage.data() + size_t(y) * result.Width;
        for (Integer x = 0; x < result.Width; ++x)
            out[x] = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY ? row[x]
                                                             : ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0);
    }
    return result;
}

FontEngine& FontEngine::Instance() {
    static FontEngine engine;
    return engine;
}

FontEngine::FontEngine() : FLibrary(std::make_shared<FreeType>()) {}

FontEngine::~FontEngine() = default;

std::unique_ptr<SizedFace> FontEngine::OpenFace(const std::string& AFamily, const FontRequest& ARequest) {
    FaceFile file;
    if (!FLibrary->Library || !FMatcher.Match(AFamily, ARequest.Weight, ARequest.Italic, file))
        return nullptr;
    auto sized = std::make_unique<SizedFace>();
    if (FT_New_Face(FLibrary->Library, file.Path.c_str(), file.Index, &sized->Face) != 0) {
        sized->Face = nullptr;
        return nullptr;
    }
    FT_Face face = sized->Face;
    if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return nullptr;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass > 0)
        sized->Weight = os2->usWeightClass;
    else if (face->style_flags & FT_STYLE_FLAG_BOLD)
        sized->Weight = BoldWeight;
    sized->Oblique = ARequest.Italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    sized->File = std::move(file);
    return sized;
}

std::shared_ptr<FontInstance> FontEngine::Realize(const FontRequest& ARequest) {
    std::lock_guard lock(FLock);
    if (auto found = FFonts.find(ARequest); found != FFonts.end()) return found->second;
    std::unique_ptr<SizedFace> primary =
        OpenFace(SubstituteFamily(ARequest.FaceName, ARequest.CharSet), ARequest);
    if (!primary) return nullptr;
    // Chinese first, then the face with the most signs and symbols; a face
    // fontconfig answers in place of a missing one would be no help.
    std::vector<std::unique_ptr<SizedFace>> fallbacks;
    for (const char* family : {CjkFamily, SymbolFamily}) {
        if (primary->File.Family == family) continue;
        std::unique_ptr<SizedFace> fallback = OpenFace(family, ARequest);
        if (fallback && fallback->File.Family == family) fallbacks.push_back(std::move(fallback));
    }
    auto font = std::make_shared<FontInstance>(FLibrary, ARequest, std::move(primary), std::move(fallbacks));
    FFonts.emplace(ARequest, font);
    return font;
}

}  // namespace gdi
