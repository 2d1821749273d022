#include "skinbuilder.h"

#include "platform/base/stringlist.h"

TSkinBuilder::TSkinBuilder() {
    // The sections in the order skins are written.
    for (const char16_t* section :
         {u"VERSION", u"PICTURES", u"FORMINFO", u"POPUPWINDOW", u"LAYERFRAME", u"HINTWINDOW", u"SKINCOLORS"})
        FIni.WriteString(section, u"-", u"");
}

void TSkinBuilder::Set(const String& ASection, const char16_t* AKey, const String& AValue) {
    FIni.WriteString(ASection, AKey, AValue);
}

void TSkinBuilder::SetInt(const String& ASection, const char16_t* AKey, Integer AValue) {
    FIni.WriteInteger(ASection, AKey, AValue);
}

void TSkinBuilder::SetRect(const String& ASection, const char16_t* AKey, const TRect& AValue) {
    Set(ASection, AKey, Format(u"%d,%d,%d,%d", {AValue.Left, AValue.Top, AValue.Right, AValue.Bottom}));
}

void TSkinBuilder::SetPoint(const String& ASection, const char16_t* AKey, const TPoint& AValue) {
    Set(ASection, AKey, Format(u"%d,%d", {AValue.X, AValue.Y}));
}

void TSkinBuilder::SetFont(const String& ASection, const TSkinFont& AFont, TRgb AColor) {
    Set(ASection, u"fontname", AFont.Name);
    SetInt(ASection, u"fontheight", AFont.Height);
    Set(ASection, u"fontstyle", u"");
    SetColor(ASection, u"fontcolor", AColor);
}

void TSkinBuilder::SetCorners(const String& ASection, const TPoint& ALT, const TPoint& ART, const TPoint& ALB,
                              const TPoint& ARB) {
    SetPoint(ASection, u"lefttoppoint", ALT);
    SetPoint(ASection, u"righttoppoint", ART);
    SetPoint(ASection, u"leftbottompoint", ALB);
    SetPoint(ASection, u"rightbottompoint", ARB);
}

TSkinPainter& TSkinBuilder::BasePicture(const char16_t* AKey, const String& AName, Integer AWidth,
                                        Integer AHeight, TRgb ABackground) {
    Set(u"PICTURES", AKey, AName);
    FPictures.push_back({AName, std::make_unique<TSkinPainter>(AWidth, AHeight, ABackground)});
    return *FPictures.back().Painter;
}

Integer TSkinBuilder::ActivePicture(const String& AName, Integer AWidth, Integer AHeight, TRgb ABackground) {
    FPictures.push_back({AName, std::make_unique<TSkinPainter>(AWidth, AHeight, ABackground)});
    FActiveNames.push_back(AName);
    return Integer(FActiveNames.size()) - 1;
}

TSkinPainter& TSkinBuilder::Painter(const String& AName) {
    for (TPicture& picture : FPictures)
        if (picture.Name == AName) return *picture.Painter;
    throw Exception(u"No picture %s", {AName});
}

TSkinPainter& TSkinBuilder::Painter(Integer AActiveIndex) {
    return Painter(FActiveNames.at(size_t(AActiveIndex)));
}

void TSkinBuilder::Object(const String& AName, const String& AKind) {
    if (FControls > 0) throw Exception(u"Skin objects come before the control elements");
    SetInt(u"SKINOBJECTS", u"count", FObjects + 1);
    Set(u"SKINOBJECTS", IntToStr(FObjects).c_str(), AName + u":" + AKind);
    ++FObjects;
}

void TSkinBuilder::Control(const String& AName, const String& AKind) {
    if (FObjects == 0 && FControls == 0) SetInt(u"SKINOBJECTS", u"count", 0);
    SetInt(u"SKINCONTROLS", u"count", FControls + 1);
    Set(u"SKINCONTROLS", IntToStr(FControls).c_str(), AName + u":" + AKind);
    ++FControls;
}

void TSkinBuilder::Image(const String& ASection, const char16_t* AKey, const String& APicture,
                         const TRect& ARect, TSkinImageSplit ASplit, Integer X1, Integer X2, Integer Y1,
                         Integer Y2) {
    SetRect(ASection, AKey, ARect);
    FImages.push_back({ASection, AKey, APicture, ARect, ASplit, X1, X2, Y1, Y2});
}

TGeneratedSkin TSkinBuilder::Finish(const String& AName) {
    TStringList names;
    for (const String& name : FActiveNames)
        names.Add(name);
    SetInt(u"PICTURES", u"activepicturescount", names.Count());
    for (Integer i = 0; i < names.Count(); ++i)
        Set(u"PICTURES", IntToStr(i).c_str(), names.Get(i));
    TStringList sections;
    FIni.ReadSections(&sections);
    for (Integer i = 0; i < sections.Count(); ++i)
        FIni.DeleteKey(sections.Get(i), u"-");
    TGeneratedSkin skin;
    skin.Name = AName;
    TStringList lines;
    FIni.GetStrings(&lines);
    for (Integer i = 0; i < lines.Count(); ++i)
        skin.Ini.push_back(lines.Get(i));
    for (TPicture& picture : FPictures)
        skin.Pictures.emplace_back(picture.Name, picture.Painter->ToBitmap());
    skin.Images = FImages;
    return skin;
}
