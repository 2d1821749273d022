// One run of the real program, as a user's installation: the built program
// folder (velqua, resources/, sounds/, help.chm) copied to a folder of its
// own, started there with a HOME of its own, the outside programs it calls
// (xdg-open, aplay, systemctl) replaced on PATH by stubs that only record
// their arguments, and CI set so that nothing can power the machine off.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "desktop.h"

namespace acceptance {

struct ProgramSetup {
    // Written as option.ini before the start where not empty.
    std::string OptionIni;
    // Extra environment, NAME=value.
    std::vector<std::string> Environment;
};

class Program {
public:
    // Copies the program into AFolder (made afresh) without starting it.
    Program(Desktop& ADesktop, const std::string& AFolder, ProgramSetup ASetup = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The program folder (also its working folder) and the user's home.
    const std::string& Folder() const { return FFolder; }
    const std::string& Home() const { return FHome; }
    // The default output folder under the home.
    std::string OutputFolder() const;
    // What the program wrote on stdout and stderr so far.
    std::string Log() const;
    // One line per call of a stubbed outside program: its name and arguments.
    std::string OutsideCalls() const;

    void Start();
    bool Running();
    // The main window, once it is mapped (0 when it never is).
    Window WaitForMainWindow(std::chrono::milliseconds ALimit = 60s);
    // Asks the main window to close as the window manager would and waits for
    // the program to end; kills it after ALimit. The answer is the exit
    // status (-1 when it had to be killed or died of a signal).
    int Close(std::chrono::milliseconds ALimit = 30s);

private:
    bool Reap(bool AWait);

    Desktop& FDesktop;
    ProgramSetup FSetup;
    std::string FFolder;
    std::string FHome;
    pid_t FPid = 0;
    int FStatus = -1;
    Window FMain = 0;
};

// Settings that start the program in skin ASkin (0 the default, 1 the
// second); everything else is left to the program's defaults.
inline std::string SkinSettings(int ASkin) {
    return "[Skin]\nSetSkin=" + std::to_string(ASkin) + "\n";
}
inline ProgramSetup InSkin(int ASkin) {
    ProgramSetup setup;
    setup.OptionIni = SkinSettings(ASkin);
    return setup;
}

// The title of the main window.
inline constexpr const char* MainTitle = "VelquaAVCHD高清格式转换器";

}  // namespace acceptance
