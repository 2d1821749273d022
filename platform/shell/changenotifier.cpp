#include "platform/shell/changenotifier.h"

#include <dirent.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>
#include <vector>

#include "platform/base/threads.h"
#include "platform/base/ustring.h"

namespace {

constexpr Cardinal FILE_NOTIFY_CHANGE_FILE_NAME = 0x1;
constexpr Cardinal FILE_NOTIFY_CHANGE_DIR_NAME = 0x2;
constexpr Cardinal FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4;
constexpr Cardinal FILE_NOTIFY_CHANGE_SIZE = 0x8;
constexpr Cardinal FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;
constexpr Cardinal FILE_NOTIFY_CHANGE_SECURITY = 0x100;

constexpr uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

uint32_t InotifyMask(Cardinal AFlags, bool ASubTree) {
    uint32_t mask = 0;
    // New folders are watched too when the whole tree is.
    if (AFlags & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME) || ASubTree) mask |= NameEvents;
    if (AFlags & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) mask |= IN_ATTRIB;
    if (AFlags & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask | IN_ONLYDIR;
}

// Whether an inotify event is a change the flags ask for.
bool Counts(const inotify_event& AEvent, Cardinal AFlags) {
    if (AEvent.mask & IN_Q_OVERFLOW) return true;
    if (AEvent.mask & NameEvents)
        return AFlags &
               ((AEvent.mask & IN_ISDIR) ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME);
    if (AEvent.mask & IN_ATTRIB)
        return AFlags & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY);
    if (AEvent.mask & (IN_MODIFY | IN_CLOSE_WRITE))
        return AFlags & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    return false;
}

}  // namespace

Cardinal NotifyFilterFlags(TNotifyFilters AFilters) {
    const Cardinal low = Cardinal(AFilters.Bits() & 0x1F);
    return low | (AFilters.Contains(nfSecurityChange) ? FILE_NOTIFY_CHANGE_SECURITY : 0);
}

TCriticalSection& ShellUnitLock() {
    static auto* lock = new TCriticalSection;
    return *lock;
}

class TqxShellChangeThread : public TThread {
public:
    explicit TqxShellChangeThread(TThreadMethod AChangeEvent)
        : TThread(true),
          FChangeEvent(std::move(AChangeEvent)),
          FWake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~TqxShellChangeThread() override {
        CloseWatch();
        if (FPending >= 0) ::close(FPending);
        if (FWake >= 0) ::close(FWake);
    }

    void SetChangeEvent(TThreadMethod AValue) {
        TCriticalSectionGuard guard(ShellUnitLock());
        FChangeEvent = std::move(AValue);
    }
    // GUI thread: the folder itself is watched when this returns, the
    // folders below it once the worker has woken.
    void SetDirectoryOptions(const String& ADirectory, bool AWatchSubTree, Cardinal ANotifyOptionFlags) {
        {
            TCriticalSectionGuard guard(ShellUnitLock());
            FDirectory = StringToUTF8(ADirectory);
            FWatchSubTree = AWatchSubTree;
            FNotifyOptionFlags = ANotifyOptionFlags;
            if (FPending >= 0) ::close(FPending);
            FPending = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            FPendingRoot = FPending < 0 ? -1
                                        : ::inotify_add_watch(FPending, FDirectory.c_str(),
                                                              InotifyMask(ANotifyOptionFlags, AWatchSubTree));
            FWaitChanged = true;
        }
        Wake();
    }
    void Stop() {
        Terminate();
        Wake();
    }

protected:
    void Execute() override {
        // Named, so the watchers can be told apart among the process's threads.
        ::pthread_setname_np(::pthread_self(), "folder-watcher");
        Rearm();
        while (!Terminated()) {
            pollfd fds[2] = {{FWake, POLLIN, 0}, {FWatch, POLLIN, 0}};
            const int ready = ::poll(fds, FWatch >= 0 ? 2 : 1, -1);
            if (ready < 0) {
                if (errno == EINTR) continue;
                break;  // a failed wait ends the worker without a word
            }
            if (fds[0].revents & POLLIN) {
                uint64_t count;
                while (::read(FWake, &count, sizeof count) > 0) {
                }
            }
            if (Terminated()) break;
            if (FWatch >= 0 && (fds[1].revents & POLLIN) && ReadChanges()) Report();
            Rearm();
        }
    }

private:
    void Wake() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(FWake, &one, sizeof one);
    }

    void CloseWatch() {
        if (FWatch >= 0) ::close(FWatch);
        FWatch = -1;
        FFolders.clear();
    }

    // Takes the notification the options opened, and watches the folders below.
    void Rearm() {
        AnsiString folder;
        int root;
        {
            TCriticalSectionGuard guard(ShellUnitLock());
            if (!FWaitChanged) return;
            FWaitChanged = false;
            CloseWatch();
            FWatch = std::exchange(FPending, -1);
            root = FPendingRoot;
            folder = FDirectory;
            FArmedFlags = FNotifyOptionFlags;
            FArmedSubTree = FWatchSubTree;
        }
        // A folder that cannot be watched gives no changes.
        if (root < 0) return CloseWatch();
        FFolders[root] = folder;
        if (FArmedSubTree) AddSubFolders(folder);
    }

    // Watches the folders below AFolder; running out of watches only stops adding.
    void AddSubFolders(const AnsiString& AFolder) {
        DIR* dir = ::opendir(AFolder.c_str());
        if (!dir) return;
        std::vector<AnsiString> folders;
        while (const dirent* entry = ::readdir(dir)) {
            const AnsiString name = entry->d_name;
            if (entry->d_type == DT_DIR && name != "." && name != "..")
                folders.push_back(AFolder == "/" ? "/" + name : AFolder + "/" + name);
        }
        ::closedir(dir);
        for (const AnsiString& folder : folders)
            if (!AddWatch(folder) && errno == ENOSPC) break;
    }

    bool AddWatch(const AnsiString& AFolder) {
        const int watch =
            ::inotify_add_watch(FWatch, AFolder.c_str(), InotifyMask(FArmedFlags, FArmedSubTree));
        if (watch < 0) return false;
        FFolders[watch] = AFolder;
        AddSubFolders(AFolder);
        return true;
    }

    // Reads every event there is; true when one of them counts.
    bool ReadChanges() {
        alignas(inotify_event) char buffer[16384];
        bool changed = false;
        ssize_t length;
        while ((length = ::read(FWatch, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                changed = changed || Counts(*event, FArmedFlags);
                if (event->mask & IN_IGNORED) FFolders.erase(event->wd);
                const auto folder = FFolders.find(event->wd);
                if (FArmedSubTree && (event->mask & (IN_CREATE | IN_MOVED_TO)) && (event->mask & IN_ISDIR) &&
                    folder != FFolders.end() && event->len)
                    AddWatch(folder->second + "/" + event->name);
            }
        }
        return changed;
    }

    void Report() {
        TThreadMethod handler;
        {
            TCriticalSectionGuard guard(ShellUnitLock());
            handler = FChangeEvent;
        }
        if (!handler) return;
        // Runs on the GUI thread; the stop is decided there too, so a change
        // that waits while the notifier is destroyed reaches nobody.
        Synchronize([this, &handler] {
            if (!Terminated()) handler();
        });
    }

    // Under ShellUnitLock.
    TThreadMethod FChangeEvent;
    AnsiString FDirectory;
    bool FWatchSubTree = false;
    bool FWaitChanged = false;
    Cardinal FNotifyOptionFlags = 0;
    // The notification the options opened, for the worker to take, and its folder's watch.
    int FPending = -1;
    int FPendingRoot = -1;
    int FWake;
    // The worker's own: the notification open now and the options it was opened with.
    int FWatch = -1;
    Cardinal FArmedFlags = 0;
    bool FArmedSubTree = false;
    // Watch descriptors and their folders.
    std::map<int, AnsiString> FFolders;
};

TqxCustomShellChangeNotifier::TqxCustomShellChangeNotifier(TComponent* AOwner)
    : TComponent(AOwner), FFilters{nfFileNameChange, nfDirNameChange}, FRoot(u"/") {
    StartWatching();
}

TqxCustomShellChangeNotifier::~TqxCustomShellChangeNotifier() {
    TqxShellChangeThread* thread = FThread;
    FThread = nullptr;
    if (!thread) return;
    thread->Stop();
    Free(thread);
}

void TqxCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters AValue) {
    FFilters = AValue;
    PassOptions();
}

void TqxCustomShellChangeNotifier::SetRoot(const String& AValue) {
    if (AValue == FRoot) return;
    FRoot = AValue;
    PassOptions();
}

void TqxCustomShellChangeNotifier::SetWatchSubTree(bool AValue) {
    FWatchSubTree = AValue;
    PassOptions();
}

void TqxCustomShellChangeNotifier::SetOnChange(TThreadMethod AValue) {
    FOnChange = std::move(AValue);
    if (FThread)
        FThread->SetChangeEvent(FOnChange);
    else
        StartWatching();
}

void TqxCustomShellChangeNotifier::PassOptions() {
    if (FThread) FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFilterFlags(FFilters));
}

void TqxCustomShellChangeNotifier::StartWatching() {
    if (!FOnChange) return;
    FThread = new TqxShellChangeThread(FOnChange);
    PassOptions();
    FThread->Start();
}
