// Choosing the back end of a program.
#include "platform/win/display.h"

#include <cstdlib>

#include "platform/base/sysutils.h"
#include "platform/win/x11internal.h"

namespace win {

std::unique_ptr<TBackend> MakeX11Backend(const std::string& ADisplayName) {
    return std::make_unique<winsys::X11Backend>(ADisplayName);
}

void InstallDisplayBackend() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        throw Exception(
            u"This program needs a graphical display, but DISPLAY is not set. "
            u"Start it from a desktop session.");
    try {
        InstallBackend(MakeX11Backend());
    } catch (const Exception& E) {
        throw Exception(u"This program needs a graphical display. %s", {E.Message()});
    }
}

}  // namespace win
