/* A frame-hook library for the tests, built in variants: -DNO_PROCESS,
 * -DNO_CONFIGURE and -DREFUSE_CONFIGURE leave out or spoil one export. */
#include <string.h>

#include "hooklib.h"

static struct HookState state;

struct HookState* velqua_hook_state(void) { return &state; }

#ifndef NO_CONFIGURE
int Configure(void** ctx, int argc, char* argv[]) {
    ++state.configured;
    state.argc = argc;
    if (argc > 1) strncpy(state.arg1, argv[1], sizeof state.arg1 - 1);
    *ctx = &state;
#ifdef REFUSE_CONFIGURE
    return 1;
#else
    return 0;
#endif
}
#endif

#ifndef NO_PROCESS
void Process(void* ctx, void* picture, int pix_fmt, int width, int height, int64_t pts) {
    (void)ctx;
    (void)picture;
    (void)pix_fmt;
    (void)height;
    ++state.frames;
    state.width = width;
    state.last_pts = pts;
}
#endif

void Release(void* ctx) {
    (void)ctx;
    ++state.released;
}
