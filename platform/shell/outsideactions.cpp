#include "platform/shell/outsideactions.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "platform/win/backend.h"

extern char** environ;

namespace shell {

namespace {

struct TState {
    std::mutex Lock;
    std::shared_ptr<TOutsideActions> Installed;
    std::shared_ptr<TOutsideActions> Desktop = std::make_shared<TDesktopActions>();
    std::function<void(const String&)> Log;
};

TState& State() {
    static auto* state = new TState;
    return *state;
}

bool Recorded(win::TOutsideAction::TKind AKind, const String& AVerb, const String& ATarget) {
    return win::Backend().RecordOutsideAction({AKind, AVerb, ATarget});
}

// The parts of posix_spawn's set-up, freed whatever happens.
struct TSpawnSetup {
    posix_spawn_file_actions_t Actions;
    posix_spawnattr_t Attributes;
    TSpawnSetup() {
        posix_spawn_file_actions_init(&Actions);
        posix_spawnattr_init(&Attributes);
    }
    ~TSpawnSetup() {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
};

}  // namespace

bool TDesktopActions::Open(const String& AVerb, const String& ATarget, const String& ADirectory) {
    if (Recorded(win::TOutsideAction::oaOpen, AVerb, ATarget)) return true;
    return StartDetached({"xdg-open", StringToUTF8(ATarget)}, ADirectory) > 0;
}

bool TDesktopActions::PlaySound(const String& AFileName) {
    if (Recorded(win::TOutsideAction::oaSound, {}, AFileName)) return true;
    return StartDetached({"aplay", "-q", StringToUTF8(AFileName)}) > 0;
}

bool TDesktopActions::PowerOff() {
    if (std::getenv("CI")) {
        ShellLog(u"Power-off refused: the environment variable CI is set");
        return false;
    }
    if (Recorded(win::TOutsideAction::oaPowerOff, {}, {})) return true;
    return StartDetached({"systemctl", "poweroff"}) > 0;
}

bool TDesktopActions::TrayIcon(win::DWORD AMessage, const win::TTrayIcon& AIcon) {
    switch (AMessage) {
        case 0:
            return win::Backend().TrayAdd(AIcon);
        case 1:
            return win::Backend().TrayModify(AIcon);
        case 2:
            return win::Backend().TrayDelete(AIcon.Window, AIcon.Id);
        default:
            return false;
    }
}

std::shared_ptr<TOutsideActions> OutsideActions() {
    TState& state = State();
    std::lock_guard lock(state.Lock);
    return state.Installed ? state.Installed : state.Desktop;
}

void SetOutsideActions(std::unique_ptr<TOutsideActions> AActions) {
    TState& state = State();
    std::lock_guard lock(state.Lock);
    state.Installed = std::move(AActions);
}

pid_t StartDetached(const std::vector<AnsiString>& AArguments, const String& ADirectory) {
    if (AArguments.empty()) return -1;
    std::vector<char*> argv;
    for (const AnsiString& argument : AArguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    TSpawnSetup setup;
    // Our descriptors (the display, inotify, sockets) are none of its business.
    posix_spawn_file_actions_addopen(&setup.Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.Actions, 3);
    const AnsiString directory = StringToUTF8(ADirectory);
    if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&setup.Actions, directory.c_str());
    // Its own session, so a signal to our terminal's group does not end it,
    // and default signal handling whatever ours is.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&setup.Attributes, &none);
    posix_spawnattr_setsigdefault(&setup.Attributes, &all);
    posix_spawnattr_setflags(&setup.Attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &setup.Actions, &setup.Attributes, argv.data(), environ);
    if (error != 0) {
        ShellLog(Format(u"Cannot start %s: %s", {AArguments[0], SysErrorMessage(error)}));
        return -1;
    }
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return pid;
}

void SetShellLog(std::function<void(const String&)> AHandler) {
    TState& state = State();
    std::lock_guard lock(state.Lock);
    state.Log = std::move(AHandler);
}

void ShellLog(const String& AMessage) {
    TState& state = State();
    std::function<void(const String&)> log;
    {
        std::lock_guard lock(state.Lock);
        log = state.Log;
    }
    if (log)
        log(AMessage);
    else
        std::fprintf(stderr, "%s\n", StringToUTF8(AMessage).c_str());
}

}  // namespace shell
