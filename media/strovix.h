// The conversion task component's unit: its time and folder routines.
#pragma once

#include <string_view>

#include "platform/base/types.h"

double LocalTimeZoneBiasDays();
// Seconds since 1970 of a local date and time (standard time).
Int64 DateTimeToUnixTime(TDateTime ADateTime);
bool FolderExists(std::u16string_view AFolder);
// Creates the folder and every missing parent.
bool CreateFolderTree(std::u16string_view AFolder);
