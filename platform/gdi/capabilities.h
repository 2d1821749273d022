// The one table that answers every platform probe: the reported Windows
// version, the screen, the processor, and which optional entry points exist.
// Tests change entries to reach the other branches and ResetCapabilities()
// afterwards; the window layer adds its own entries here.
#pragma once

#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/gditypes.h"

namespace win {

// A monitor and its work area, in screen coordinates.
struct TMonitorArea {
    RECT Bounds;
    RECT WorkArea;
};

struct TCapabilities {
    // What GetVersion reports: 6.1.
    Byte MajorVersion = 6;
    Byte MinorVersion = 1;

    // The screen: GetDeviceCaps BITSPIXEL x PLANES is ScreenBitsPerPixel.
    Integer ScreenBitsPerPixel = 32;
    Integer ScreenWidth = 1920;
    Integer ScreenHeight = 1080;
    Integer PixelsPerInch = 96;
    // The screen is the primary monitor at (0, 0); its work area leaves
    // room for a task bar.
    RECT WorkArea{0, 0, 1920, 1040};
    // Monitors beside the primary one.
    std::vector<TMonitorArea> OtherMonitors;

    bool HasMMX = true;

    // Optional entry points of the platform libraries.
    bool HasTransparentBlt = true;
    bool HasAlphaBlend = true;
    bool HasMonitorFromWindow = true;
    bool HasGetMonitorInfo = true;
    bool HasSetLayeredWindowAttributes = true;
    bool HasUpdateLayeredWindow = true;
    bool HasGetScrollBarInfo = false;
    bool HasDwmComposition = false;

    // The window system. Layered windows need SetLayeredWindowAttributes and
    // UpdateLayeredWindow above: a back end that cannot show them clears both.
    UINT DoubleClickTime = 500;
    bool DragFullWindows = true;
};

// The table in force; tests write to it.
TCapabilities& Capabilities();
// Back to the values above.
void ResetCapabilities();

}  // namespace win
