// The DrawText format flags the system uses, with their Windows values.
#pragma once

#include "platform/base/types.h"

namespace win {

constexpr Cardinal DT_TOP = 0x0;
constexpr Cardinal DT_LEFT = 0x0;
constexpr Cardinal DT_CENTER = 0x1;
constexpr Cardinal DT_RIGHT = 0x2;
constexpr Cardinal DT_VCENTER = 0x4;
constexpr Cardinal DT_BOTTOM = 0x8;
constexpr Cardinal DT_WORDBREAK = 0x10;
constexpr Cardinal DT_SINGLELINE = 0x20;
constexpr Cardinal DT_EXPANDTABS = 0x40;
constexpr Cardinal DT_NOCLIP = 0x100;
constexpr Cardinal DT_CALCRECT = 0x400;
constexpr Cardinal DT_NOPREFIX = 0x800;
constexpr Cardinal DT_PATH_ELLIPSIS = 0x4000;
constexpr Cardinal DT_END_ELLIPSIS = 0x8000;
constexpr Cardinal DT_HIDEPREFIX = 0x100000;

}  // namespace win
