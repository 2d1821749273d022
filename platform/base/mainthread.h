// The GUI thread and the calls other threads hand to it: the blocking call
// (Synchronize) and the queued call (Queue). The GUI thread runs them in its
// message loop (CheckSynchronize) and whenever it waits (WaitForCondition,
// and through it every wait of syncobjs.h and threads.h).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/base/types.h"

// The GUI thread is the thread that started the process, unless
// SetMainThread made another thread the GUI thread.
bool IsMainThread();
void SetMainThread();

// On the GUI thread AMethod runs at once. Elsewhere it is queued and the
// caller blocks until the GUI thread has run it; an exception AMethod raises
// there is raised again in the caller, of the same class. A nil method does
// nothing, here and in Queue.
void Synchronize(const std::function<void()>& AMethod);
// Returns at once, also on the GUI thread; the GUI thread runs AMethod later.
// AOwner tags the call for RemoveQueuedEvents.
void Queue(std::function<void()> AMethod, const void* AOwner = nullptr);
// Drops the queued calls tagged with AOwner that have not run yet, so they
// cannot run on an object that is gone.
void RemoveQueuedEvents(const void* AOwner);

// GUI thread only (EThread elsewhere): runs the calls pending when it starts,
// in order, and returns true when any ran; calls queued meanwhile run now or
// at the next pass. An exception of a queued call leaves here and the calls
// after it stay pending.
bool CheckSynchronize();

// Readable while calls are pending, for a loop that polls it beside its
// display connection; CheckSynchronize drains it.
int MainThreadWakeFd();
// Called from the queueing thread after each call is queued, so the window
// layer can wake its loop. Nil removes it.
void SetWakeMainThreadHook(std::function<void()> AHook);

// "Process pending messages", registered by the window layer; a no-op until then.
void SetProcessMessagesHook(std::function<void()> AHook);
void ProcessMessagesHook();

// Waits until APredicate holds or ATimeout milliseconds pass (INFINITE: no
// limit) and returns whether it held. ALock must hold the mutex that guards
// the predicate's state; APredicate runs with it held, and a true result is
// returned without evaluating it again, so it may take what it waited for.
// Whoever changes that state notifies ACondition. On the GUI thread pending
// calls run meanwhile with ALock released; an exception of a queued call is
// queued again to reach the next CheckSynchronize after the wait, so a wait
// (and a destructor that waits) never throws it.
bool WaitForCondition(std::unique_lock<std::mutex>& ALock, std::condition_variable_any& ACondition,
                      const std::function<bool()>& APredicate, Cardinal ATimeout);
