#include "media/framehook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "hooklib.h"
#include "mediatest.h"
#include "platform/base/dynlibs.h"
#include "platform/base/fileutils.h"

using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

AnsiString HookPath(const char* AVariant) {
    return AnsiString(HOOK_DIR) + "/hook_" + AVariant + ".so";
}

// The hook's arguments as a C argument vector.
class TArgs {
public:
    TArgs(std::initializer_list<AnsiString> AWords) : FWords(AWords) {
        for (AnsiString& word : FWords)
            FArgv.push_back(word.data());
        FArgv.push_back(nullptr);
    }
    Integer argc() const { return static_cast<Integer>(FWords.size()); }
    char** argv() { return FArgv.data(); }

private:
    std::vector<AnsiString> FWords;
    std::vector<char*> FArgv;
};

// What the library a hook loaded has seen; call once it is loaded.
HookState* StateOf(const AnsiString& APath) {
    String error;
    HMODULE module = LoadLibrary(UTF8ToString(APath), error);
    auto state = reinterpret_cast<HookState* (*)()>(GetProcAddress(module, "velqua_hook_state", error));
    HookState* result = state();
    FreeLibrary(module);
    return result;
}

Integer Add(PFrameHookEntry& AFirst, TArgs AArgs) {
    return AddFrameHook(AFirst, AArgs.argc(), AArgs.argv());
}

class FrameHookTest : public MediaTest {};

TEST_F(FrameHookTest, HooksAreConfiguredRunInOrderAndReleased) {
    const AnsiString path = HookPath("full");
    const String folder = GetCurrentDir();
    const AnsiString searchPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    // Two engines name the same library: it is loaded once and shared.
    PFrameHookEntry first = nullptr, other = nullptr;
    ASSERT_EQ(Add(first, {path, "red"}), 0);
    HookState* state = StateOf(path);
    const HookState before = *state;
    ASSERT_EQ(Add(other, {path}), 0);
    ASSERT_EQ(Add(first, {path, "blue", "x"}), 0);
    EXPECT_EQ(state->configured, before.configured + 2);
    EXPECT_EQ(state->argc, 3);
    EXPECT_STREQ(state->arg1, "blue");
    EXPECT_EQ(first->ctx, state);
    EXPECT_EQ(other->ctx, state);
    ASSERT_NE(first->next, nullptr);
    EXPECT_EQ(first->next->next, nullptr);
    // Neither the current folder nor the search path changed on the way.
    EXPECT_EQ(GetCurrentDir(), folder);
    EXPECT_EQ(std::getenv("PATH") ? std::getenv("PATH") : "", searchPath);

    uint8_t pixels[4] = {};
    TAVPicture picture{{pixels, nullptr, nullptr, nullptr}, {4, 0, 0, 0}};
    ProcessFrameHooks(first, &picture, 0, 320, 240, 40000);
    EXPECT_EQ(state->frames, before.frames + 2);
    EXPECT_EQ(state->width, 320);
    EXPECT_EQ(state->last_pts, 40000);

    ReleaseFrameHooks(first);
    ReleaseFrameHooks(other);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(state->released, before.released + 3);
}

TEST_F(FrameHookTest, RefusedHooksAreLoggedAndLeaveTheListAlone) {
    const struct {
        AnsiString path;
        Integer argc;
        Integer result;
        AnsiString line;
    } cases[] = {
        {HookPath("no_process"), 1, -2, "Failed to find Process entrypoint in " + HookPath("no_process")},
        {HookPath("no_configure"), 2, -2,
         "Failed to find Configure entrypoint in " + HookPath("no_configure")},
        {HookPath("refuse_configure"), 1, -22, "Failed to Configure " + HookPath("refuse_configure")},
        {"/nonexistent/hook.so", 1, -1, "/nonexistent/hook.so"},
        {HookPath("full"), 0, -2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TLogCapture log(llError);
        PFrameHookEntry first = nullptr;
        TArgs args{c.path, "arg"};
        EXPECT_EQ(AddFrameHook(first, c.argc, args.argv()), c.result);
        EXPECT_EQ(first, nullptr);
        if (!c.line.empty()) {
            std::vector<AnsiString> lines;
            for (const String& line : log.Lines)
                lines.push_back(StringToUTF8(line));
            EXPECT_THAT(lines, Contains(HasSubstr(c.line)));
        }
    }
}

TEST_F(FrameHookTest, HookWithoutConfigureIsAcceptedWithItsNameAlone) {
    const AnsiString path = HookPath("no_configure");
    PFrameHookEntry first = nullptr;
    ASSERT_EQ(Add(first, {path}), 0);
    HookState* state = StateOf(path);
    const Integer frames = state->frames;
    EXPECT_EQ(first->ctx, nullptr);
    TAVPicture picture{};
    ProcessFrameHooks(first, &picture, 0, 16, 16, 7);
    EXPECT_EQ(state->frames, frames + 1);
    EXPECT_EQ(state->configured, 0);
    ReleaseFrameHooks(first);
}

}  // namespace
