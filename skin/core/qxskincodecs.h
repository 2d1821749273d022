// How a skin's INI text encodes its values: rectangles, points, flags, font
// styles, name lists, alignments and the skin's own enumerations; the
// validity test of a skin text; and the section walk through which every
// element reads and writes its keys from one list of them.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/inifiles.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/geometry.h"
#include "platform/toolkit/graphicsobjects.h"
#include "skin/core/qximagebuilders.h"

class TStrings;

// What one skin may make the program decode: its pictures' pixels together.
// A skin that asks for more is refused with ESkinTooLarge "The skin's
// pictures need more than 16777216 pixels", where a picture's headers tell,
// before that picture is decoded.
inline constexpr Int64 SkinPixelBudget = Int64(16) << 20;
// A skin the program cannot use as a whole.
VELQUA_DECLARE_EXCEPTION(EInvalidSkin, Exception);
VELQUA_DECLARE_EXCEPTION(ESkinTooLarge, EInvalidSkin);
// Takes APixels from ALeft, the budget left, or raises ESkinTooLarge.
void TakeSkinPixels(Int64& ALeft, Int64 APixels);

// How a control or frame part changes from one look to the next.
enum TqxMorphKind {
    mkDefault,
    mkGradient,
    mkLeftGradient,
    mkRightGradient,
    mkLeftSlide,
    mkRightSlide,
    mkPush
};
// How the frame of an inactive form is derived from the active one.
enum TqxInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
// What a caption button does.
enum TqxStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// Rectangles and points: parts between commas, of which only the digits
// count (so no value is ever negative); an empty part raises EConvertError
// "'' is not a valid integer value", a part too long for an integer the same
// with its text. Parts beyond the fourth (the second) are ignored.
TRect ParseSkinRect(std::u16string_view AValue);
TPoint ParseSkinPoint(std::u16string_view AValue);

// A missing key reads as the empty rectangle or (0, 0); a present empty
// value is parsed, and so fails.
TRect ReadSkinRect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinRect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                   const TRect& AValue);
TPoint ReadSkinPoint(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinPoint(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                    const TPoint& AValue);
// True only for the integer 1.
bool ReadSkinBool(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinBool(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                   bool AValue);
// A style is set when its name ("fsbold", ...) occurs anywhere in the value.
TFontStyles ReadSkinFontStyle(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinFontStyle(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TFontStyles AValue);
// The key AIdent + "count", then the keys 0 .. count - 1, appended to
// AList; a missing numbered key adds "". The count is bounded by the
// largest numbered key the section holds, so a count from a damaged file
// never runs past what is there.
void ReadSkinStringList(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TStrings* AList);
void WriteSkinStringList(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                         TStrings* AList);
// "tacenter" (also when missing), "taleftjustify", anything else right.
TAlignment ReadSkinAlignment(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinAlignment(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TAlignment AValue);
// "stfull" (also when missing), "stvert", anything else qxstHorz.
TqxStretchType ReadSkinStretchType(TCustomIniFile* AIni, std::u16string_view ASection,
                                   std::u16string_view AIdent);
void WriteSkinStretchType(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                          TqxStretchType AValue);
// Exact words; anything else mkDefault.
TqxMorphKind ReadSkinMorphKind(TCustomIniFile* AIni, std::u16string_view ASection,
                               std::u16string_view AIdent);
void WriteSkinMorphKind(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TqxMorphKind AValue);
// Exact words, "iebrightness" when missing; anything else ieGrayScale.
TqxInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* AIni, std::u16string_view ASection,
                                         std::u16string_view AIdent);
void WriteSkinInActiveEffect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                             TqxInActiveEffect AValue);
// Exact words for the first six, "cmdefault" when missing; anything else
// cmMinimizeToTray.
TqxStdCommand ReadSkinCommand(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent);
void WriteSkinCommand(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                      TqxStdCommand AValue);

// How many entries of a numbered list to read for AStated: no more than the
// largest numbered key ("0", "1", ...) the section holds, plus one.
Integer BoundedSkinCount(TCustomIniFile* AIni, std::u16string_view ASection, Integer AStated);

// A skin text holds at least one key in each of VERSION, PICTURES,
// FORMINFO, SKINOBJECTS and SKINCONTROLS.
bool IsValidSkinIni(TCustomIniFile* AIni);

// "name:kind" of an index section, split at the first colon; an entry
// without one gives two empty parts.
void SplitIndexEntry(std::u16string_view AEntry, String& AName, String& AKind);

// The largest magnitude a metric may have: an offset, a size, a font
// height, a count or an interval.
inline constexpr Integer MaxSkinMetric = 4096;
// The largest coordinate of a rectangle or point: no picture is wider or higher.
inline constexpr Integer MaxSkinCoordinate = 32767;

// What a section's values are checked against once the skin's pictures are
// read. A control element is held to all of it, the frame (FORMINFO) to
// most; the frame's objects and the other window-wide sections draw what
// exists of theirs.
struct TqxSkinLimits {
    // Picture indexes -1 or one of the skin's pictures.
    bool Indexes = false;
    // No rectangle inverted.
    bool Upright = false;
    // Rectangles and points within the largest picture the section names
    // (when it names one): a control element's.
    bool InNamedPictures = false;
    // The sizes (width, height) of the skin's pictures, by picture index.
    std::vector<TPoint> Pictures;
    // Where rectangles and points must lie.
    Integer Width = MaxSkinCoordinate;
    Integer Height = MaxSkinCoordinate;
};

// One section's keys, walked by an element's list of them either to read
// (each field takes its key's value, or the default given when the key is
// missing), to write (each field's value under its key, in list order) or
// to check that the values make sense (see KeysMakeSense).
class TqxSkinSection {
public:
    enum TMode { smRead, smWrite, smCheck };

    TqxSkinSection(TMode AMode, TCustomIniFile* AIni, const String& ASection)
        : FMode(AMode), FIni(AIni), FSection(ASection) {}
    explicit TqxSkinSection(const TqxSkinLimits& ALimits) : FMode(smCheck), FIni(nullptr), FLimits(ALimits) {}

    TMode Mode() const { return FMode; }
    // smCheck: no value so far made no sense.
    bool Sound() const { return FSound; }
    // smCheck: the indexes of the skin's pictures met so far.
    const std::vector<Integer>& PictureIndexes() const { return FIndexes; }

    void Int(const char16_t* AKey, Integer& AValue, Integer ADefault = 0);
    void Color(const char16_t* AKey, TColor& AValue, TColor ADefault = 0);
    void Bool(const char16_t* AKey, bool& AValue);
    void Text(const char16_t* AKey, String& AValue, const char16_t* ADefault = u"");
    void Rect(const char16_t* AKey, TRect& AValue);
    void Point(const char16_t* AKey, TPoint& AValue);
    void FontStyle(const char16_t* AKey, TFontStyles& AValue);
    void Alignment(const char16_t* AKey, TAlignment& AValue);
    void StretchType(const char16_t* AKey, TqxStretchType& AValue);
    void MorphKind(const char16_t* AKey, TqxMorphKind& AValue);
    void InActiveEffect(const char16_t* AKey, TqxInActiveEffect& AValue);
    void Command(const char16_t* AKey, TqxStdCommand& AValue);

private:
    // Reads the value with ARead, or writes it with AWrite.
    template <typename T, typename TRead, typename TWrite>
    void Value(const char16_t* AKey, T& AValue, TRead ARead, TWrite AWrite);

    TMode FMode;
    TCustomIniFile* FIni;
    String FSection;
    TqxSkinLimits FLimits;
    bool FSound = true;
    std::vector<Integer> FIndexes;
};

// Whether the values AKeys walks make sense: a metric within MaxSkinMetric,
// and a count, an interval or a size not negative; rectangles and points
// within the limits' width and height; what Indexes, Upright and
// InNamedPictures ask.
// Colours, texts and words are taken as they are.
bool KeysMakeSense(const TqxSkinLimits& ALimits, const std::function<void(TqxSkinSection&)>& AKeys);

// A section read by a list of keys, and erased and written by it.
void LoadSkinSection(TCustomIniFile* AIni, const String& ASection,
                     const std::function<void(TqxSkinSection&)>& AKeys);
void SaveSkinSection(TCustomIniFile* AIni, const String& ASection,
                     const std::function<void(TqxSkinSection&)>& AKeys);

// The font group of many elements: "fontname", "fontheight", "fontstyle",
// "fontcolor".
struct TqxDataSkinFont {
    String FontName = u"Tahoma";
    Integer FontHeight = 13;
    TFontStyles FontStyle;
    TColor FontColor = 0;

    void FontKeys(TqxSkinSection& K);
};

// The up and down buttons of scrolling elements, each normal, under the
// mouse and pressed.
struct TqxDataSkinUpDownButtons {
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;

    void UpDownButtonKeys(TqxSkinSection& K);
};

// The four anchor points of a resizable image.
struct TqxDataSkinCorners {
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;

    void CornerKeys(TqxSkinSection& K);
};

// The inner corners of the corner sizing zones of a frame.
struct TqxDataSkinHitTestCorners {
    TPoint HitTestLTPoint;
    TPoint HitTestRTPoint;
    TPoint HitTestLBPoint;
    TPoint HitTestRBPoint;

    void HitTestKeys(TqxSkinSection& K);
};

// Which edges of a resizable image are stretched (the others are tiled),
// and how its centre grows.
struct TqxDataSkinStretch {
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TqxStretchType StretchType = qxstFull;

    void StretchKeys(TqxSkinSection& K);
};

// The kind words of an index and the classes they make. Subclasses come
// before their bases, so the first class that matches an element is its
// most derived one.
template <typename TBase>
class TqxSkinKinds {
public:
    struct TKind {
        const char16_t* Word;
        std::function<std::unique_ptr<TBase>(const String&)> Create;
        std::function<bool(const TBase*)> IsInstance;
    };

    template <typename T>
    static TKind Kind(const char16_t* AWord) {
        return {AWord, [](const String& AName) { return std::make_unique<T>(AName); },
                [](const TBase* AElement) { return dynamic_cast<const T*>(AElement) != nullptr; }};
    }

    explicit TqxSkinKinds(std::vector<TKind> AKinds) : FKinds(std::move(AKinds)) {
        for (const TKind& kind : FKinds)
            FWords.push_back(kind.Word);
    }

    // nullptr for a word of no kind (compared exactly).
    std::unique_ptr<TBase> Create(std::u16string_view AWord, const String& AIDName) const {
        for (const TKind& kind : FKinds)
            if (AWord == kind.Word) return kind.Create(AIDName);
        return nullptr;
    }
    String Word(const TBase* AElement) const {
        for (const TKind& kind : FKinds)
            if (kind.IsInstance(AElement)) return kind.Word;
        return String();
    }
    const std::vector<String>& Words() const { return FWords; }

private:
    std::vector<TKind> FKinds;
    std::vector<String> FWords;
};
