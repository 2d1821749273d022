/* What the test hook library has seen; its context points here. */
#ifndef VELQUA_TESTS_MEDIA_HOOKLIB_H
#define VELQUA_TESTS_MEDIA_HOOKLIB_H

#include <stdint.h>

struct HookState {
    int configured;
    int argc;
    char arg1[64];
    int frames;
    int width;
    int64_t last_pts;
    int released;
};

#endif
