// Building a skin: its INI text key by key, its pictures, and a record of
// every image painted into them with the parts its element draws it in.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/base/inifiles.h"
#include "platform/toolkit/bitmap.h"
#include "skinpainter.h"

// How an element draws an image: whole, as nine parts, as three parts
// across or down, or as two cells side by side.
enum TSkinImageSplit { isWhole, isNine, isHorz3, isVert3, isCells2 };

struct TSkinImage {
    // The key of section Section that names the image ("picture" and
    // "inactivepicture" of FORMINFO for the frame pictures).
    String Section;
    String Key;
    // The stored name of the picture it lies in, and where.
    String Picture;
    TRect Rect;
    TSkinImageSplit Split = isWhole;
    // Where the parts meet, relative to the image: the columns start at X1
    // and X2 (nine parts, three across), the rows at Y1 and Y2 (nine parts,
    // three down).
    Integer X1 = 0;
    Integer X2 = 0;
    Integer Y1 = 0;
    Integer Y2 = 0;
};

// A finished skin: the INI text, the pictures by stored name in the order
// they were made, and the images painted into them.
struct TGeneratedSkin {
    String Name;
    std::vector<String> Ini;
    std::vector<std::pair<String, std::unique_ptr<TBitmap>>> Pictures;
    std::vector<TSkinImage> Images;
};

struct TSkinFont {
    String Name;
    Integer Height = 0;
};

class TSkinBuilder {
public:
    TSkinBuilder();

    void Set(const String& ASection, const char16_t* AKey, const String& AValue);
    void SetInt(const String& ASection, const char16_t* AKey, Integer AValue);
    void SetBool(const String& ASection, const char16_t* AKey, bool AValue) {
        SetInt(ASection, AKey, AValue ? 1 : 0);
    }
    void SetColor(const String& ASection, const char16_t* AKey, TRgb AColor) {
        SetInt(ASection, AKey, ToColor(AColor));
    }
    void SetRect(const String& ASection, const char16_t* AKey, const TRect& AValue);
    void SetPoint(const String& ASection, const char16_t* AKey, const TPoint& AValue);
    // The font group: name, height, no style, colour.
    void SetFont(const String& ASection, const TSkinFont& AFont, TRgb AColor);
    // The four corner points and the client rectangle of a resizable image.
    void SetCorners(const String& ASection, const TPoint& ALT, const TPoint& ART, const TPoint& ALB,
                    const TPoint& ARB);

    // The pictures PICTURES names itself (picture, inactivepicture, mask).
    TSkinPainter& BasePicture(const char16_t* AKey, const String& AName, Integer AWidth, Integer AHeight,
                              TRgb ABackground);
    // A new active picture; its index.
    Integer ActivePicture(const String& AName, Integer AWidth, Integer AHeight, TRgb ABackground);
    TSkinPainter& Painter(const String& AName);
    TSkinPainter& Painter(Integer AActiveIndex);
    const String& ActivePictureName(Integer AIndex) const { return FActiveNames[size_t(AIndex)]; }

    // Entries of SKINOBJECTS and SKINCONTROLS; every object is added before
    // the first control, so that the index sections come in writing order.
    void Object(const String& AName, const String& AKind);
    void Control(const String& AName, const String& AKind);

    // Records an image and writes its rectangle under AKey.
    void Image(const String& ASection, const char16_t* AKey, const String& APicture, const TRect& ARect,
               TSkinImageSplit ASplit = isWhole, Integer X1 = 0, Integer X2 = 0, Integer Y1 = 0,
               Integer Y2 = 0);
    // Records an image without writing a key (the frame pictures).
    void RecordImage(const TSkinImage& AImage) { FImages.push_back(AImage); }

    TGeneratedSkin Finish(const String& AName);

private:
    struct TPicture {
        String Name;
        std::unique_ptr<TSkinPainter> Painter;
    };

    TMemIniFile FIni;
    std::vector<TPicture> FPictures;
    std::vector<String> FActiveNames;
    std::vector<TSkinImage> FImages;
    Integer FObjects = 0;
    Integer FControls = 0;
};
