// Shared by the player's tests: a test base that holds the player's libraries
// and points SDL at its headless drivers, a recorder of the player's events,
// and readers of what SDL shows and plays.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "media/player.h"
#include "mediatest.h"

// The player's libraries and SDL's dummy video and audio drivers; every
// thread a test started has ended before the next test.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Audio goes to a file of raw samples as fast as SDL's disk driver can
    // write it; the file of this test, empty.
    std::string UseDiskAudio();
};

// What a player raised, in order. Waits run the GUI thread's pending calls,
// so events delivered there arrive meanwhile.
class TPlayerRecorder {
public:
    struct TItem {
        bool IsState;
        TPlayState State;
        Int64 Position;
    };

    void Attach(TCustomPlayer& APlayer);
    // Forgets what was recorded.
    void Clear();
    // False when APredicate, given what was recorded, still fails after 30
    // seconds.
    bool WaitFor(const std::function<bool(const std::vector<TItem>&)>& APredicate);
    bool WaitForState(TPlayState AState);
    // A position of at least AMinimum, the last thing recorded.
    bool WaitForPosition(Int64 AMinimum);
    // Copies, taken under the lock.
    std::vector<TItem> Items();
    std::vector<TPlayState> States();
    Int64 LastPosition();
    Integer Count(TPlayState AState);
    // Runs on the thread that raises OnState, before the state is recorded.
    std::function<void(TPlayState)> OnStateHook;

private:
    std::mutex FLock;
    std::condition_variable_any FChanged;
    std::vector<TItem> FItems;
};

// A player whose events a recorder keeps.
class PlayerFixture : public PlayerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    TPlayerRecorder Recorder;
    std::unique_ptr<TFFPlayer> Player;
};

// The ids of this process's threads.
std::set<Integer> Threads();
// Whether every thread not in ABefore has gone within ten seconds: a thread
// that was joined may still be listed for a moment while it leaves.
bool NoThreadBesides(const std::set<Integer>& ABefore);

// The pixel at (X, Y) of SDL's screen as 0xRRGGBB; SDL must show something.
uint32_t ScreenPixel(Integer X, Integer Y);
// The 16-bit samples of a raw file.
std::vector<int16_t> ReadSamples(const std::string& AFileName);
