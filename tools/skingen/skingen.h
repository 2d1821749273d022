// The program's own skins, drawn by code: "default" (light) and "second"
// (dark, with rounded top corners cut by a mask and a taller caption). The
// same calls give the same bytes on every run.
#pragma once

#include <vector>

#include "skinbuilder.h"

// "default", "second".
const std::vector<String>& ProjectSkinNames();
// EConvertError for a name that is not a project skin.
TGeneratedSkin GenerateSkin(const String& AName);

// The INI file "skin.ini" and the pictures in AFolder (made when missing);
// the INI file's path.
String WriteGeneratedSkin(const TGeneratedSkin& ASkin, const String& AFolder);
// The compressed skin of a folder skin, as the skin library builds it.
void WriteCompressedSkin(const String& AIniFile, const String& ACompressedFile);
