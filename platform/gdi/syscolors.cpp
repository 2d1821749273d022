#include "platform/gdi/syscolors.h"

#include <array>

#include "platform/gdi/gdiobjects.h"

namespace win {

namespace {

constexpr int ColorCount = COLOR_MENUBAR + 1;

// Windows 7's standard look; index 25 has no colour.
constexpr std::array<COLORREF, ColorCount> Colors = {
    RGB(0xC8, 0xC8, 0xC8),  // scroll bar
    RGB(0x00, 0x00, 0x00),  // desktop
    RGB(0x99, 0xB4, 0xD1),  // active caption
    RGB(0xBF, 0xCD, 0xDB),  // inactive caption
    RGB(0xF0, 0xF0, 0xF0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x64, 0x64, 0x64),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0x00, 0x00, 0x00),  // caption text
    RGB(0xB4, 0xB4, 0xB4),  // active border
    RGB(0xF4, 0xF7, 0xFC),  // inactive border
    RGB(0xAB, 0xAB, 0xAB),  // application workspace
    RGB(0x33, 0x99, 0xFF),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xF0, 0xF0, 0xF0),  // button face
    RGB(0xA0, 0xA0, 0xA0),  // button shadow
    RGB(0x6D, 0x6D, 0x6D),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0x43, 0x4E, 0x54),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x69, 0x69, 0x69),  // 3-D dark shadow
    RGB(0xE3, 0xE3, 0xE3),  // 3-D light
    RGB(0x00, 0x00, 0x00),  // info text
    RGB(0xFF, 0xFF, 0xE1),  // info background
    RGB(0x00, 0x00, 0x00),  // (none)
    RGB(0x00, 0x66, 0xCC),  // hot light
    RGB(0xB9, 0xD1, 0xEA),  // gradient active caption
    RGB(0xD7, 0xE4, 0xF2),  // gradient inactive caption
    RGB(0x33, 0x99, 0xFF),  // menu highlight
    RGB(0xF0, 0xF0, 0xF0),  // menu bar
};

bool ValidIndex(int AIndex) {
    return AIndex >= 0 && AIndex < ColorCount && AIndex != 25;
}

}  // namespace

COLORREF GetSysColor(int AIndex) {
    return ValidIndex(AIndex) ? Colors[size_t(AIndex)] : 0;
}

HBRUSH GetSysColorBrush(int AIndex) {
    using namespace gdi;
    GdiLock lock(GdiMutex());
    static std::array<void*, ColorCount> brushes{};
    if (!ValidIndex(AIndex)) return nullptr;
    void*& brush = brushes[size_t(AIndex)];
    if (!brush) {
        auto object = std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, Colors[size_t(AIndex)], 0});
        object->Stock = true;
        brush = RegisterObject(std::move(object));
    }
    return static_cast<HBRUSH>(brush);
}

}  // namespace win
