// What the program does outside itself: opening documents, folders and
// addresses in the desktop's programs, playing a sound, switching the
// computer off. All of it goes through one replaceable object; under the
// memory back end the default one only records, so tests see what would
// have happened and nothing starts.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/types.h"
#include "platform/win/backend.h"

namespace shell {

class TOutsideActions {
public:
    virtual ~TOutsideActions() = default;

    // AVerb is "" (the default action) or "open"; ADirectory, when not
    // empty, is the started program's current folder. False when nothing
    // could be started.
    virtual bool Open(const String& AVerb, const String& ATarget, const String& ADirectory) = 0;
    // Starts playing and returns at once.
    virtual bool PlaySound(const String& AFileName) = 0;
    virtual bool PowerOff() = 0;
    // AMessage NIM_ADD, NIM_MODIFY or NIM_DELETE of the notification area;
    // none here.
    virtual bool TrayIcon(win::DWORD, const win::TTrayIcon&) { return false; }
};

// The desktop's programs: `xdg-open` for documents, folders and addresses,
// `aplay` for sounds (the preview player may hold the audio device), and
// `systemctl poweroff`. A back end that keeps outside actions (the memory
// back end) gets them instead. Power-off is refused while the environment
// variable CI is set.
class TDesktopActions : public TOutsideActions {
public:
    bool Open(const String& AVerb, const String& ATarget, const String& ADirectory) override;
    bool PlaySound(const String& AFileName) override;
    bool PowerOff() override;
    // The back end's notification area (the memory back end records it).
    bool TrayIcon(win::DWORD AMessage, const win::TTrayIcon& AIcon) override;
};

// The actions in force: the ones installed last, else the desktop's. A
// caller keeps them alive while it uses them, whatever is installed meanwhile.
std::shared_ptr<TOutsideActions> OutsideActions();
// Installs AActions (nullptr: the desktop's again).
void SetOutsideActions(std::unique_ptr<TOutsideActions> AActions);

// Starts AArguments[0], looked up in PATH, with exactly these arguments:
// never through a shell. The program runs detached (a session of its own,
// input from /dev/null, no descriptor of ours but output and error) and is
// not waited for; it is reaped when it ends, so no zombie remains. Returns
// its process id, or -1 after logging why it could not be started.
pid_t StartDetached(const std::vector<AnsiString>& AArguments, const String& ADirectory = {});

// Where the shell layer reports what went wrong outside: the standard
// error until a handler is set (nil: back to it).
void SetShellLog(std::function<void(const String&)> AHandler);
void ShellLog(const String& AMessage);

}  // namespace shell
