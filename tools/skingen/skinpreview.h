// A sheet that shows the project skins to people: for each, the frame at
// the main window's size with its caption and some controls inside, and
// every image of every element at two sizes.
#pragma once

#include "platform/base/types.h"

// Reads the folder skins that skingen wrote into AFolder and writes the
// sheet as a PNG file.
void WritePreviewSheet(const String& AFolder, const String& APngFile);
