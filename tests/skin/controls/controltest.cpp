#include "controltest.h"

#include "platform/base/sysutils.h"
#include "platform/win/window.h"

using namespace skinfixtures;

void ControlTest::SetUp() {
    SkinFormsTest::SetUp();
    FForm = NewForm(u"Form");
    FForm->SetBounds(100, 100, 400, 300);
    FSkin = new TqxSkinData(FForm);
    Pump();
}

void ControlTest::Load(const TFixtureSkin& ASkin) {
    LoadFixture(FSkin, ASkin);
    Pump();
}

void ControlTest::Pump() {
    Application->ProcessMessages();
}

TColor ControlTest::PixelOf(win::HWND AWindow, Integer X, Integer Y) {
    Pump();
    return TColor(win::driver::Pixel(AWindow, X, Y));
}

TColor ControlTest::FormPixel(Integer X, Integer Y) {
    return PixelOf(FForm->Handle(), X, Y);
}

win::POINT ControlTest::ScreenPoint(win::HWND AWindow, Integer X, Integer Y) {
    win::POINT p{X, Y};
    win::ClientToScreen(AWindow, &p);
    return p;
}

Integer AddPicture(TFixtureSkin& ASkin, const String& AName, const std::string& ABmp) {
    const Integer index = StrToInt(GetValue(ASkin, u"PICTURES", u"activepicturescount", u"0"));
    SetValue(ASkin, u"PICTURES", IntToStr(index), AName);
    SetValue(ASkin, u"PICTURES", u"activepicturescount", IntToStr(index + 1));
    ASkin.Files[AName] = ABmp;
    return index;
}

void AddElement(TFixtureSkin& ASkin, const String& ASection, const String& AKind,
                std::initializer_list<std::pair<const char16_t*, String>> AKeys) {
    const Integer index = StrToInt(GetValue(ASkin, u"SKINCONTROLS", u"count", u"0"));
    SetValue(ASkin, u"SKINCONTROLS", IntToStr(index), ASection + u":" + AKind);
    SetValue(ASkin, u"SKINCONTROLS", u"count", IntToStr(index + 1));
    for (const auto& [key, value] : AKeys)
        SetValue(ASkin, ASection, key, value);
}

std::string PaintedBmp(Integer AWidth, Integer AHeight,
                       const std::function<Cardinal(Integer, Integer)>& AColor) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y) {
        auto* row = static_cast<Byte*>(bitmap.ScanLine(y));
        for (Integer x = 0; x < AWidth; ++x) {
            const Cardinal c = AColor(x, y);
            row[3 * x] = Byte(c);
            row[3 * x + 1] = Byte(c >> 8);
            row[3 * x + 2] = Byte(c >> 16);
        }
    }
    return BmpFile(&bitmap);
}
