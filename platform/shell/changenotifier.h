// The folder watcher: a component that watches one folder (and, when asked,
// the folders below it) and calls its handler on the GUI thread when
// something in it changes, so a shell view can read its folder again.
//
// One worker thread per watching notifier waits in poll on an inotify
// descriptor and an eventfd; the eventfd brings new options and the stop at
// once. Changes reach the GUI thread through Synchronize, one call for the
// changes read together. The worker is joined, never left to free itself;
// the handler is read under ShellUnitLock; a change that is pending when
// the notifier is destroyed reaches no handler.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/classes.h"
#include "platform/base/set.h"
#include "platform/base/syncobjs.h"

using TThreadMethod = std::function<void()>;

// What counts as a change.
enum TNotifyFilter {
    nfFileNameChange,
    nfDirNameChange,
    nfAttributeChange,
    nfSizeChange,
    nfWriteChange,
    nfSecurityChange
};
using TNotifyFilters = TSet<TNotifyFilter>;

// The Windows notification flags of a filter set (FILE_NOTIFY_CHANGE_...).
Cardinal NotifyFilterFlags(TNotifyFilters AFilters);

// The shell units' lock: it guards the watcher's options and handler.
TCriticalSection& ShellUnitLock();

class TqxShellChangeThread;

class TqxCustomShellChangeNotifier : public TComponent {
public:
    // Root "/", WatchSubTree true, NotifyFilters [nfFileNameChange,
    // nfDirNameChange]; nothing is watched before a handler is assigned.
    explicit TqxCustomShellChangeNotifier(TComponent* AOwner);
    // Stops the worker and waits for it; the calls it left pending run no handler.
    ~TqxCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters AValue);
    // A folder that does not exist (or is no path) gives no changes and no error.
    const String& Root() const { return FRoot; }
    // The same text again changes nothing (paths compare exactly).
    void SetRoot(const String& AValue);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool AValue);
    const TThreadMethod& OnChange() const { return FOnChange; }
    // Starts watching the first time; later only the handler changes
    // (nil stops the calls, not the worker).
    void SetOnChange(TThreadMethod AValue);

private:
    void PassOptions();
    void StartWatching();

    TNotifyFilters FFilters;
    bool FWatchSubTree = true;
    String FRoot;
    TqxShellChangeThread* FThread = nullptr;
    TThreadMethod FOnChange;
};

class TqxShellChangeNotifier : public TqxCustomShellChangeNotifier {
public:
    using TqxCustomShellChangeNotifier::TqxCustomShellChangeNotifier;
};
