// Dynamic libraries: dlopen by absolute path or by name, dlsym, dlclose.
#pragma once

#include <string_view>

#include "platform/base/types.h"

using HMODULE = void*;

// Loads and binds every symbol now, keeping them local to the module. An
// absolute path loads that file; a bare name goes through the system's search.
// Returns nullptr with the loader's text in AError.
HMODULE LoadLibrary(std::u16string_view AFileName, String& AError);
// nullptr with the loader's text in AError when the module lacks the symbol.
void* GetProcAddress(HMODULE AModule, const char* AName, String& AError);
bool FreeLibrary(HMODULE AModule);
