#include "media/libsdl.h"

VELQUA_DEFINE_ENTRY_TABLE(sdl, VELQUA_SDL_ENTRIES, FixupSDL, UnfixSDL, (void)0)
