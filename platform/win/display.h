// The back end a program shows its windows with: the X11 back end on the
// display DISPLAY names.
#pragma once

#include <memory>
#include <string>

#include "platform/win/backend.h"

namespace win {

// Opens ADisplayName (empty: the one DISPLAY names). Throws Exception with a
// message for the user when it cannot.
std::unique_ptr<TBackend> MakeX11Backend(const std::string& ADisplayName = {});

// Installs the X11 back end on DISPLAY. Throws Exception saying that the
// program needs a display when DISPLAY is not set or cannot be opened.
void InstallDisplayBackend();

}  // namespace win
