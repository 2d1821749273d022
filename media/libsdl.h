// SDL 1.2 entry points.
#pragma once

#include <SDL/SDL.h>

#include "media/entrypoints.h"

#define VELQUA_SDL_ENTRIES(X) \
    X(SDL_GetError)           \
    X(SDL_Init)               \
    X(SDL_Quit)

VELQUA_DECLARE_ENTRY_TABLE(sdl, VELQUA_SDL_ENTRIES, FixupSDL, UnfixSDL)
