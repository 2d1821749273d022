// What the skinned-control tests share: a fresh desktop with one visible
// form and a skin data on it, skins edited from the fixtures, and pixels.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/toolkit/menus.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxskinmessages.h"
#include "skinfixtures.h"
#include "skinforms.h"

// A form of 400 x 300 at (100, 100) with the skin data FSkin on it, nothing loaded.
class ControlTest : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override;

    // Loads a fixture skin into FSkin.
    void Load(const skinfixtures::TFixtureSkin& ASkin);
    void LoadFlat() { Load(skinfixtures::FlatSkin()); }
    // A control of the form, with its bounds, shown.
    template <typename T>
    T* Add(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
        auto* control = new T(FForm);
        control->SetParent(FForm);
        control->SetBounds(ALeft, ATop, AWidth, AHeight);
        return control;
    }
    // Runs the queue through the application's loop (key pre-processing included).
    static void Pump();
    // The colour of a client point of a window, of a point of the form.
    static TColor PixelOf(win::HWND AWindow, Integer X, Integer Y);
    TColor FormPixel(Integer X, Integer Y);
    // A screen point over a client point of a window.
    static win::POINT ScreenPoint(win::HWND AWindow, Integer X, Integer Y);

    skinfixtures::TRecordingForm* FForm = nullptr;
    TqxSkinData* FSkin = nullptr;
};

// A menu that stands for the skinned one: it records how it was asked to
// open; Close reports the closing to the opener as the real one does.
class TRecordingMenu : public TPopupMenu, public IqxSkinPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup2(TControl* AControl, Integer X, Integer Y) override {
        Opener = AControl;
        At = {X, Y};
        ++Opened;
    }
    void PopupFromRect2(TControl* AControl, const TRect& ARect, bool APopupUp) override {
        Opener = AControl;
        Under = ARect;
        Up = APopupUp;
        ++Opened;
    }
    void Close() { Opener->Perform(SKINMSG_MENUCLOSED, 0, 0); }

    TControl* Opener = nullptr;
    TPoint At;
    TRect Under;
    bool Up = true;
    Integer Opened = 0;
};

// Adds a picture file to a fixture skin; returns its picture index.
Integer AddPicture(skinfixtures::TFixtureSkin& ASkin, const String& AName, const std::string& ABmp);
// Adds an element of the kind to the index of a fixture skin; the keys go
// into its section.
void AddElement(skinfixtures::TFixtureSkin& ASkin, const String& ASection, const String& AKind,
                std::initializer_list<std::pair<const char16_t*, String>> AKeys);
// A 24-bit BMP whose pixel (x, y) is AColor(x, y) (0x00RRGGBB).
std::string PaintedBmp(Integer AWidth, Integer AHeight, const std::function<Cardinal(Integer, Integer)>& AColor);
