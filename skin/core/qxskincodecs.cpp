#include "skin/core/qxskincodecs.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/base/stringlist.h"

namespace {

// The parts of a rectangle or point value: split at commas, digits only.
std::vector<String> SkinValueParts(std::u16string_view AValue) {
    std::vector<String> parts(1);
    for (const char16_t c : AValue) {
        if (c == u',')
            parts.emplace_back();
        else if (c >= u'0' && c <= u'9')
            parts.back() += c;
    }
    return parts;
}

Integer PartAt(const std::vector<String>& AParts, size_t AIndex) {
    return StrToInt(AIndex < AParts.size() ? std::u16string_view(AParts[AIndex]) : std::u16string_view());
}

template <typename E, size_t N>
E WordToValue(const std::array<const char16_t*, N>& AWords, std::u16string_view AText, E AOther) {
    for (size_t i = 0; i < N; ++i)
        if (AText == AWords[i]) return static_cast<E>(i);
    return AOther;
}

constexpr std::array<const char16_t*, 7> MorphKindWords = {
    u"mkdefault",   u"mkgradient",   u"mkleftgradient", u"mkrightgradient",
    u"mkleftslide", u"mkrightslide", u"mkpush"};
constexpr std::array<const char16_t*, 6> InActiveEffectWords = {
    u"iebrightness", u"iedarkness", u"iegrayscale", u"ienoise", u"iesplitblur", u"ieinvert"};
constexpr std::array<const char16_t*, 7> CommandWords = {
    u"cmclose", u"cmmaximize", u"cmminimize", u"cmsysmenu", u"cmdefault", u"cmrollup", u"cmminimizetotray"};
constexpr std::array<const char16_t*, 3> StretchTypeWords = {u"stfull", u"sthorz", u"stvert"};
constexpr std::array<const char16_t*, 3> AlignmentWords = {u"taleftjustify", u"tarightjustify", u"tacenter"};
constexpr std::array<const char16_t*, 4> FontStyleWords = {u"fsbold", u"fsitalic", u"fsunderline",
                                                           u"fsstrikeout"};

// The section's largest key that is a plain non-negative decimal number, -1 for none.
Integer LargestNumberedKey(TCustomIniFile* AIni, std::u16string_view ASection) {
    TStringList keys;
    AIni->ReadSection(ASection, &keys);
    Integer largest = -1;
    for (Integer i = 0; i < keys.Count(); ++i) {
        const String key = keys.Get(i);
        Integer n;
        if (TryStrToInt(key, n) && n >= 0 && IntToStr(n) == key) largest = std::max(largest, n);
    }
    return largest;
}

}  // namespace

void TakeSkinPixels(Int64& ALeft, Int64 APixels) {
    if (APixels > ALeft)
        throw ESkinTooLarge(u"The skin's pictures need more than %d pixels", {Integer(SkinPixelBudget)});
    ALeft -= APixels;
}

TRect ParseSkinRect(std::u16string_view AValue) {
    const std::vector<String> parts = SkinValueParts(AValue);
    return {PartAt(parts, 0), PartAt(parts, 1), PartAt(parts, 2), PartAt(parts, 3)};
}

TPoint ParseSkinPoint(std::u16string_view AValue) {
    const std::vector<String> parts = SkinValueParts(AValue);
    return {PartAt(parts, 0), PartAt(parts, 1)};
}

TRect ReadSkinRect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent) {
    return ParseSkinRect(AIni->ReadString(ASection, AIdent, u"0,0,0,0"));
}

void WriteSkinRect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                   const TRect& AValue) {
    AIni->WriteString(ASection, AIdent,
                      Format(u"%d,%d,%d,%d", {AValue.Left, AValue.Top, AValue.Right, AValue.Bottom}));
}

TPoint ReadSkinPoint(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent) {
    return ParseSkinPoint(AIni->ReadString(ASection, AIdent, u"0,0"));
}

void WriteSkinPoint(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                    const TPoint& AValue) {
    AIni->WriteString(ASection, AIdent, Format(u"%d,%d", {AValue.X, AValue.Y}));
}

bool ReadSkinBool(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent) {
    return AIni->ReadInteger(ASection, AIdent, 0) == 1;
}

void WriteSkinBool(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                   bool AValue) {
    AIni->WriteInteger(ASection, AIdent, AValue ? 1 : 0);
}

TFontStyles ReadSkinFontStyle(TCustomIniFile* AIni, std::u16string_view ASection,
                              std::u16string_view AIdent) {
    const String value = AIni->ReadString(ASection, AIdent, u"");
    TFontStyles styles;
    for (size_t i = 0; i < FontStyleWords.size(); ++i)
        if (value.find(FontStyleWords[i]) != String::npos) styles.Include(static_cast<TFontStyle>(i));
    return styles;
}

void WriteSkinFontStyle(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TFontStyles AValue) {
    String value;
    for (size_t i = 0; i < FontStyleWords.size(); ++i) {
        if (!AValue.Contains(static_cast<TFontStyle>(i))) continue;
        if (!value.empty()) value += u',';
        value += FontStyleWords[i];
    }
    AIni->WriteString(ASection, AIdent, value);
}

void ReadSkinStringList(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TStrings* AList) {
    const Integer stated = AIni->ReadInteger(ASection, String(AIdent) + u"count", 0);
    const Integer count = BoundedSkinCount(AIni, ASection, stated);
    for (Integer i = 0; i < count; ++i)
        AList->Add(AIni->ReadString(ASection, IntToStr(i), u""));
}

void WriteSkinStringList(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                         TStrings* AList) {
    AIni->WriteInteger(ASection, String(AIdent) + u"count", AList->Count());
    for (Integer i = 0; i < AList->Count(); ++i)
        AIni->WriteString(ASection, IntToStr(i), AList->Get(i));
}

TAlignment ReadSkinAlignment(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent) {
    const String value = AIni->ReadString(ASection, AIdent, u"tacenter");
    if (value == u"tacenter") return taCenter;
    if (value == u"taleftjustify") return taLeftJustify;
    return taRightJustify;
}

void WriteSkinAlignment(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TAlignment AValue) {
    AIni->WriteString(ASection, AIdent, AlignmentWords[static_cast<size_t>(AValue)]);
}

TqxStretchType ReadSkinStretchType(TCustomIniFile* AIni, std::u16string_view ASection,
                                   std::u16string_view AIdent) {
    const String value = AIni->ReadString(ASection, AIdent, u"stfull");
    if (value == u"stfull") return qxstFull;
    if (value == u"stvert") return qxstVert;
    return qxstHorz;
}

void WriteSkinStretchType(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                          TqxStretchType AValue) {
    AIni->WriteString(ASection, AIdent, StretchTypeWords[static_cast<size_t>(AValue)]);
}

TqxMorphKind ReadSkinMorphKind(TCustomIniFile* AIni, std::u16string_view ASection,
                               std::u16string_view AIdent) {
    return WordToValue(MorphKindWords, AIni->ReadString(ASection, AIdent, u"mkdefault"), mkDefault);
}

void WriteSkinMorphKind(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                        TqxMorphKind AValue) {
    AIni->WriteString(ASection, AIdent, MorphKindWords[static_cast<size_t>(AValue)]);
}

TqxInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* AIni, std::u16string_view ASection,
                                         std::u16string_view AIdent) {
    return WordToValue(InActiveEffectWords, AIni->ReadString(ASection, AIdent, u"iebrightness"), ieGrayScale);
}

void WriteSkinInActiveEffect(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                             TqxInActiveEffect AValue) {
    AIni->WriteString(ASection, AIdent, InActiveEffectWords[static_cast<size_t>(AValue)]);
}

TqxStdCommand ReadSkinCommand(TCustomIniFile* AIni, std::u16string_view ASection,
                              std::u16string_view AIdent) {
    return WordToValue(CommandWords, AIni->ReadString(ASection, AIdent, u"cmdefault"), cmMinimizeToTray);
}

void WriteSkinCommand(TCustomIniFile* AIni, std::u16string_view ASection, std::u16string_view AIdent,
                      TqxStdCommand AValue) {
    AIni->WriteString(ASection, AIdent, CommandWords[static_cast<size_t>(AValue)]);
}

Integer BoundedSkinCount(TCustomIniFile* AIni, std::u16string_view ASection, Integer AStated) {
    if (AStated <= 0) return 0;
    return std::min(AStated, LargestNumberedKey(AIni, ASection) + 1);
}

bool IsValidSkinIni(TCustomIniFile* AIni) {
    for (const char16_t* section : {u"VERSION", u"PICTURES", u"FORMINFO", u"SKINOBJECTS", u"SKINCONTROLS"})
        if (!AIni->SectionExists(section)) return false;
    return true;
}

void SplitIndexEntry(std::u16string_view AEntry, String& AName, String& AKind) {
    const size_t colon = AEntry.find(u':');
    if (colon == std::u16string_view::npos) {
        AName.clear();
        AKind.clear();
        return;
    }
    AName = AEntry.substr(0, colon);
    AKind = AEntry.substr(colon + 1);
}

// TqxSkinSection

void TqxSkinSection::Int(const char16_t* AKey, Integer& AValue, Integer ADefault) {
    if (FMode == smCheck) {
        const std::u16string_view key(AKey);
        if (key.ends_with(u"pictureindex")) {
            const bool known = AValue >= 0 && AValue < Integer(FLimits.Pictures.size());
            FSound = FSound && (!FLimits.Indexes || known || AValue == -1);
            if (known) FIndexes.push_back(AValue);
            return;
        }
        const bool notNegative =
            key.find(u"count") != key.npos || key.ends_with(u"interval") || key.ends_with(u"size");
        FSound = FSound && AValue <= MaxSkinMetric && AValue >= (notNegative ? 0 : -MaxSkinMetric);
    } else if (FMode == smRead) {
        AValue = FIni->ReadInteger(FSection, AKey, ADefault);
    } else {
        FIni->WriteInteger(FSection, AKey, AValue);
    }
}

void TqxSkinSection::Color(const char16_t* AKey, TColor& AValue, TColor ADefault) {
    if (FMode != smCheck) Int(AKey, AValue, ADefault);
}

template <typename T, typename TRead, typename TWrite>
void TqxSkinSection::Value(const char16_t* AKey, T& AValue, TRead ARead, TWrite AWrite) {
    if (FMode == smCheck) return;
    if (FMode == smRead)
        AValue = ARead(FIni, FSection, AKey);
    else
        AWrite(FIni, FSection, AKey, AValue);
}

void TqxSkinSection::Bool(const char16_t* AKey, bool& AValue) {
    Value(AKey, AValue, ReadSkinBool, WriteSkinBool);
}

void TqxSkinSection::Text(const char16_t* AKey, String& AValue, const char16_t* ADefault) {
    if (FMode == smCheck) return;
    if (FMode == smRead)
        AValue = FIni->ReadString(FSection, AKey, ADefault);
    else
        FIni->WriteString(FSection, AKey, AValue);
}

void TqxSkinSection::Rect(const char16_t* AKey, TRect& AValue) {
    if (FMode == smCheck) {
        TPoint topLeft = AValue.TopLeft(), bottomRight = AValue.BottomRight();
        Point(AKey, topLeft);
        Point(AKey, bottomRight);
        if (FLimits.Upright) FSound = FSound && AValue.Left <= AValue.Right && AValue.Top <= AValue.Bottom;
    }
    Value(AKey, AValue, ReadSkinRect, WriteSkinRect);
}

void TqxSkinSection::Point(const char16_t* AKey, TPoint& AValue) {
    if (FMode == smCheck)
        FSound = FSound && AValue.X >= 0 && AValue.Y >= 0 && AValue.X <= FLimits.Width &&
                 AValue.Y <= FLimits.Height;
    Value(AKey, AValue, ReadSkinPoint, WriteSkinPoint);
}

void TqxSkinSection::FontStyle(const char16_t* AKey, TFontStyles& AValue) {
    Value(AKey, AValue, ReadSkinFontStyle, WriteSkinFontStyle);
}

void TqxSkinSection::Alignment(const char16_t* AKey, TAlignment& AValue) {
    Value(AKey, AValue, ReadSkinAlignment, WriteSkinAlignment);
}

void TqxSkinSection::StretchType(const char16_t* AKey, TqxStretchType& AValue) {
    Value(AKey, AValue, ReadSkinStretchType, WriteSkinStretchType);
}

void TqxSkinSection::MorphKind(const char16_t* AKey, TqxMorphKind& AValue) {
    Value(AKey, AValue, ReadSkinMorphKind, WriteSkinMorphKind);
}

void TqxSkinSection::InActiveEffect(const char16_t* AKey, TqxInActiveEffect& AValue) {
    Value(AKey, AValue, ReadSkinInActiveEffect, WriteSkinInActiveEffect);
}

void TqxSkinSection::Command(const char16_t* AKey, TqxStdCommand& AValue) {
    Value(AKey, AValue, ReadSkinCommand, WriteSkinCommand);
}

bool KeysMakeSense(const TqxSkinLimits& ALimits, const std::function<void(TqxSkinSection&)>& AKeys) {
    TqxSkinSection keys(ALimits);
    AKeys(keys);
    if (!keys.Sound() || !ALimits.InNamedPictures || keys.PictureIndexes().empty()) return keys.Sound();
    // Once more, within the pictures the element names.
    TqxSkinLimits within = ALimits;
    within.Width = within.Height = 0;
    for (const Integer index : keys.PictureIndexes()) {
        within.Width = std::max(within.Width, ALimits.Pictures[size_t(index)].X);
        within.Height = std::max(within.Height, ALimits.Pictures[size_t(index)].Y);
    }
    TqxSkinSection again(within);
    AKeys(again);
    return again.Sound();
}

void LoadSkinSection(TCustomIniFile* AIni, const String& ASection,
                     const std::function<void(TqxSkinSection&)>& AKeys) {
    TqxSkinSection keys(TqxSkinSection::smRead, AIni, ASection);
    AKeys(keys);
}

void SaveSkinSection(TCustomIniFile* AIni, const String& ASection,
                     const std::function<void(TqxSkinSection&)>& AKeys) {
    AIni->EraseSection(ASection);
    TqxSkinSection keys(TqxSkinSection::smWrite, AIni, ASection);
    AKeys(keys);
}

void TqxDataSkinFont::FontKeys(TqxSkinSection& K) {
    K.Text(u"fontname", FontName, u"Tahoma");
    K.Int(u"fontheight", FontHeight, 13);
    K.FontStyle(u"fontstyle", FontStyle);
    K.Color(u"fontcolor", FontColor);
}

void TqxDataSkinUpDownButtons::UpDownButtonKeys(TqxSkinSection& K) {
    K.Rect(u"upbuttonrect", UpButtonRect);
    K.Rect(u"activeupbuttonrect", ActiveUpButtonRect);
    K.Rect(u"downupbuttonrect", DownUpButtonRect);
    K.Rect(u"downbuttonrect", DownButtonRect);
    K.Rect(u"activedownbuttonrect", ActiveDownButtonRect);
    K.Rect(u"downdownbuttonrect", DownDownButtonRect);
}

void TqxDataSkinCorners::CornerKeys(TqxSkinSection& K) {
    K.Point(u"lefttoppoint", LTPoint);
    K.Point(u"righttoppoint", RTPoint);
    K.Point(u"leftbottompoint", LBPoint);
    K.Point(u"rightbottompoint", RBPoint);
}

void TqxDataSkinHitTestCorners::HitTestKeys(TqxSkinSection& K) {
    K.Point(u"hittestlefttoppoint", HitTestLTPoint);
    K.Point(u"hittestrighttoppoint", HitTestRTPoint);
    K.Point(u"hittestleftbottompoint", HitTestLBPoint);
    K.Point(u"hittestrightbottompoint", HitTestRBPoint);
}

void TqxDataSkinStretch::StretchKeys(TqxSkinSection& K) {
    K.Bool(u"leftstretch", LeftStretch);
    K.Bool(u"topstretch", TopStretch);
    K.Bool(u"rightstretch", RightStretch);
    K.Bool(u"bottomstretch", BottomStretch);
    K.Bool(u"stretcheffect", StretchEffect);
    K.StretchType(u"stretchtype", StretchType);
}
