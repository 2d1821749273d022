// SDL 1.2 entry points.
#pragma once

#include <SDL/SDL.h>

#include "media/entrypoints.h"

#define VELQUA_SDL_ENTRIES(X) \
    X(SDL_AudioDriverName)    \
    X(SDL_CloseAudio)         \
    X(SDL_CreateYUVOverlay)   \
    X(SDL_DisplayYUVOverlay)  \
    X(SDL_EventState)         \
    X(SDL_FillRect)           \
    X(SDL_FreeYUVOverlay)     \
    X(SDL_GetError)           \
    X(SDL_GetVideoInfo)       \
    X(SDL_GetVideoSurface)    \
    X(SDL_Init)               \
    X(SDL_LockSurface)        \
    X(SDL_LockYUVOverlay)     \
    X(SDL_MapRGB)             \
    X(SDL_MixAudio)           \
    X(SDL_OpenAudio)          \
    X(SDL_PauseAudio)         \
    X(SDL_PollEvent)          \
    X(SDL_PushEvent)          \
    X(SDL_Quit)               \
    X(SDL_SetVideoMode)       \
    X(SDL_UnlockSurface)      \
    X(SDL_UnlockYUVOverlay)   \
    X(SDL_UpdateRect)         \
    X(SDL_VideoDriverName)    \
    X(SDL_WM_SetCaption)      \
    X(SDL_WasInit)

VELQUA_DECLARE_ENTRY_TABLE(sdl, VELQUA_SDL_ENTRIES, FixupSDL, UnfixSDL)
