#include "program.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace acceptance {

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const std::string& APath) {
    std::ifstream in(APath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A hard link where the file system allows one: the program is large and
// every test copies it.
void LinkOrCopy(const fs::path& AFrom, const fs::path& ATo) {
    std::error_code error;
    fs::create_hard_link(AFrom, ATo, error);
    if (error) fs::copy_file(AFrom, ATo, fs::copy_options::overwrite_existing);
}

// Stands in for an outside program: records its name and arguments.
void WriteStub(const fs::path& AFolder, const char* AName, const fs::path& ALog) {
    const fs::path stub = AFolder / AName;
    std::ofstream(stub) << "#!/bin/sh\n"
                        << "{ printf '%s' \"" << AName
                        << "\"; for a in \"$@\"; do printf ' %s' \"$a\"; done; echo; } >>'" << ALog.string()
                        << "'\n";
    fs::permissions(stub, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

}  // namespace

Program::Program(Desktop& ADesktop, const std::string& AFolder, ProgramSetup ASetup)
    : FDesktop(ADesktop), FSetup(std::move(ASetup)) {
    const fs::path base = AFolder;
    fs::remove_all(base);
    const fs::path program = base / "program", home = base / "home", stubs = base / "bin";
    fs::create_directories(program);
    fs::create_directories(home);
    fs::create_directories(stubs);
    const fs::path built = VELQUA_PROGRAM_DIR;
    LinkOrCopy(built / "velqua", program / "velqua");
    fs::copy(built / "resources", program / "resources", fs::copy_options::recursive);
    fs::copy(built / "sounds", program / "sounds", fs::copy_options::recursive);
    fs::copy_file(built / "help.chm", program / "help.chm");
    if (!FSetup.OptionIni.empty()) std::ofstream(program / "option.ini") << FSetup.OptionIni;
    for (const char* name : {"xdg-open", "aplay", "systemctl"})
        WriteStub(stubs, name, base / "outside.log");
    FFolder = program.string();
    FHome = home.string();
}

Program::~Program() {
    if (FPid > 0 && !Reap(false)) {
        kill(-FPid, SIGKILL);
        Reap(true);
    }
}

std::string Program::OutputFolder() const {
    return FHome + "/Velqua视频软件/输出";
}

std::string Program::Log() const {
    return ReadWhole(FFolder + "/../velqua.log");
}

std::string Program::OutsideCalls() const {
    return ReadWhole(FFolder + "/../outside.log");
}

void Program::Start() {
    std::vector<std::string> environment;
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("HOME=", 0) != 0 && entry.rfind("PATH=", 0) != 0 && entry.rfind("CI=", 0) != 0)
            environment.push_back(entry);
    }
    environment.push_back("HOME=" + FHome);
    environment.push_back("PATH=" + fs::path(FFolder).parent_path().string() + "/bin:" + path);
    environment.push_back("CI=1");
    for (const std::string& extra : FSetup.Environment)
        environment.push_back(extra);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const std::string executable = FFolder + "/velqua", log = FFolder + "/../velqua.log";

    FPid = fork();
    if (FPid < 0) throw std::runtime_error("fork failed");
    if (FPid == 0) {
        // Its own process group, so that whatever it starts ends with it.
        setpgid(0, 0);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        if (in >= 0) dup2(in, STDIN_FILENO);
        if (chdir(FFolder.c_str()) != 0) _exit(127);
        char* argv[] = {const_cast<char*>(executable.c_str()), nullptr};
        execve(executable.c_str(), argv, envp.data());
        _exit(127);
    }
    setpgid(FPid, FPid);
}

bool Program::Reap(bool AWait) {
    if (FPid <= 0) return true;
    int status = 0;
    const pid_t done = waitpid(FPid, &status, AWait ? 0 : WNOHANG);
    if (done != FPid) return false;
    FStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // Stubs or players it left behind go with it.
    kill(-FPid, SIGKILL);
    FPid = 0;
    return true;
}

bool Program::Running() {
    return FPid > 0 && !Reap(false);
}

Window Program::WaitForMainWindow(std::chrono::milliseconds ALimit) {
    WaitUntil(
        [&] {
            if (!Running()) return true;
            for (Window w : FDesktop.Clients())
                if (FDesktop.Title(w) == MainTitle && FDesktop.Viewable(w)) return (FMain = w) != 0;
            return false;
        },
        ALimit);
    return FMain;
}

int Program::Close(std::chrono::milliseconds ALimit) {
    if (FPid <= 0) return FStatus;
    if (FMain && Running()) {
        ::Display* x = FDesktop.X();
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = FMain;
        event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x, FMain, False, NoEventMask, &event);
        XSync(x, False);
    }
    if (!WaitUntil([&] { return !Running(); }, ALimit)) {
        kill(-FPid, SIGKILL);
        Reap(true);
        FStatus = -1;
    }
    return FStatus;
}

}  // namespace acceptance
