// "option.ini" beside the program: every access opens the file, reads or
// writes one key and closes it again, so each read sees the latest write.
#pragma once

#include "platform/base/types.h"

// The settings file's full path.
String OptionFileName();
// The key's value; "" for no value (the key absent or "Error", an empty
// value, or no file at all).
String ReadOption(const String& ASection, const String& AKey);
// Writes one key, creating the file and the section; a write the file
// system refuses raises "Unable to write to %s".
void WriteOption(const String& ASection, const String& AKey, const String& AValue);
// As WriteOption, but a refused write only answers false: a start-up that
// cannot save its defaults still applies them.
bool TryWriteOption(const String& ASection, const String& AKey, const String& AValue);

// The user's home folder: $HOME, else the password entry's.
String HomeFolder();
// The folders a first start uses: ~/Velqua视频软件/输出 and ~/Velqua视频软件/快照.
String DefaultOutputFolder();
String DefaultSnapshotFolder();
// A folder as the settings file names it, made absolute against the
// program's folder: the current folder moves with the file dialogs.
String AbsoluteFolder(const String& AFolder);
