// The system image lists: one process-wide list of 16-pixel pictures and
// one of 32-pixel pictures, which the shell views take by handle. Image i
// of each is the picture of kind i. The pictures come from the user's
// freedesktop icon theme where it has them (its own size, else the nearest
// larger one scaled down; hicolor last), else from the drawn set compiled
// into the program.
#pragma once

#include <optional>
#include <vector>

#include "platform/base/types.h"

class TCustomImageList;

namespace shell {

enum TShellIcon {
    siFolder,
    siOpenFolder,
    siDesktop,
    siComputer,
    siHome,
    siDisk,
    siRemovable,
    siOptical,
    siNetwork,
    siFile,
    siVideo,
    siAudio,
    siPicture,
    siArchive,
};

// Filled on first use.
TCustomImageList* SystemImageList(bool ALarge);
// A file's picture by its extension (video, audio, picture, archive or file).
TShellIcon FileIcon(const String& AFileName);
// Where icon themes are looked for; none (the default): $XDG_DATA_HOME/icons
// and every $XDG_DATA_DIRS/icons. An empty list gives the drawn set only.
// The lists are filled again.
void SetIconFolders(std::optional<std::vector<String>> AFolders);

}  // namespace shell
