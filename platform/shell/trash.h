// Deleting to the freedesktop trash: a file or folder moves to the home
// trash ($XDG_DATA_HOME/Trash), or, on another volume, to that volume's
// .Trash-<uid> folder, each with an info file that tells where it was and
// when it was deleted, so a file manager can put it back.
#pragma once

#include "platform/base/types.h"

namespace shell {

// 0 when APath (absolute) is in a trash now, else the system's error code;
// nothing is copied and nothing is lost when it fails.
int MoveToTrash(const String& APath);

}  // namespace shell
