// The user's folders as the freedesktop conventions name them. Each is read
// from the environment when asked, so tests point them into a temporary tree.
#pragma once

#include <vector>

#include "platform/base/types.h"

namespace shell {

// $XDG_<AName>_DIR, else the line XDG_<AName>_DIR of user-dirs.dirs in the
// configuration folder ("$HOME/..." taken from the home folder), else
// the home folder + "/" + ADefault. No trailing delimiter.
String UserDir(const char* AName, const char* ADefault);
String DesktopDir();
// $XDG_DATA_HOME, else ~/.local/share; $XDG_CONFIG_HOME, else ~/.config.
String DataHome();
String ConfigHome();
// $XDG_DATA_DIRS split at ":", else /usr/local/share and /usr/share.
std::vector<String> DataDirs();

}  // namespace shell
