// The player: plays one media file inside a window of the application through
// FFmpeg's decoders and SDL 1.2. A play thread runs SDL's event loop and the
// display, an event thread delivers position and state events, and the core
// threads read, decode and refresh.
//
// The unit is split by topic: player.cpp (the component, its events and
// threads), playerstate.cpp (queues, clocks, pause and seek requests),
// playervideo.cpp (video and subtitle decoding), playerdisplay.cpp (the
// display), playerstream.cpp (stream opening, the read thread and the event
// loop), playeraudio.cpp (audio output).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "media/avprobe.h"
#include "media/ffbasecomponent.h"
#include "media/ffutils.h"
#include "media/myutils.h"
#include "media/playerstate.h"
#include "platform/base/syncobjs.h"
#include "platform/win/wintypes.h"

class TBitmap;
struct THostHook;
struct TPlayerLink;

VELQUA_DECLARE_EXCEPTION(EPlayerError, Exception);

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
// The Windows drivers' names stay for callers; they choose Linux drivers:
// DirectSound the sound server (pulse), waveOut ALSA; DirectDraw X11 and GDI
// the dummy driver. The default leaves SDL's own choice (and its environment
// variables) untouched.
enum TAudioDriver { adDefault, adDirectSound, adWaveOut, adDummy, adDisk };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
extern const char* const AudioDriverNames[adDisk + 1];
extern const char* const VideoDriverNames[vdGDI + 1];
enum TShowAudio { saNone, saWave, saRDFT };
enum TRepeatType { rtNone, rtStop, rtLoop };
// 0 to 128; 128 leaves the samples as they are.
using TAudioVolume = Integer;

using TFileOpenEvent =
    std::function<void(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                       Integer& AScreenWidth, Integer& AScreenHeight)>;
using THookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, Int64 APTS)>;
using TPositionEvent = std::function<void(TObject* Sender, Int64 APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, TPlayState AState)>;

// Kinds of the event ring: 0 none, 1 position, 2 state, 3 quit.
enum { pekNone, pekPosition, pekState, pekQuit };

struct TPlayEventItem {
    Integer Kind = pekNone;
    Int64 Value = 0;  // microseconds, or the state's ordinal
};

// The ring of undelivered events. An event of the same kind as the newest
// undelivered one replaces it, so a burst of positions arrives as its last
// value. One slot stays free: at most 9 events wait, the oldest is dropped.
class TPlayEvent {
public:
    static constexpr Integer Slots = 10;

    void Push(Integer AKind, Int64 AValue);
    // Kind pekNone when empty.
    TPlayEventItem Pop();
    // Set while events are pending.
    TEvent Event{true, false};

private:
    std::mutex Lock;
    Integer Header = 0;
    Integer Tailer = 0;
    std::array<TPlayEventItem, Slots> Events{};
};

// A lock that can be waited for with a time limit, made of a mutex and a
// condition so that thread checkers follow it.
class TDataLock {
public:
    void lock();
    bool try_lock();
    template <class Rep, class Period>
    bool try_lock_for(const std::chrono::duration<Rep, Period>& ATimeout) {
        std::unique_lock<std::mutex> guard(FLock);
        if (!FChanged.wait_for(guard, ATimeout, [this] { return !FHeld; })) return false;
        FHeld = true;
        return true;
    }
    void unlock();

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FHeld = false;
};

// Whether a position differs enough from the last one reported (AV_NOPTS_VALUE:
// none yet) to be reported: by more than 10 ms.
bool PositionMoved(Int64 ALastPTS, Int64 APTS);

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner);
    // Detaches the events, stops with waiting and waits for the play thread.
    ~TCustomPlayer() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const TPathFileName& APath);
    void UnloadAVLib();

    // Plays AFileName inside AScreenHandle's window (nullptr: a window of
    // SDL's own), starting paused with APaused. False with LastErrMsg.
    bool Open(const String& AFileName, win::HWND AScreenHandle, bool APaused);
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    void ToggleAudioDisplay();
    // APTS in microseconds from the start of the file, or a byte position
    // with sfByte.
    void Seek(Int64 APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
    void Seek(Integer APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
        Seek(Int64{APTS}, ASeekFlags, AWaitForSeekEnd);
    }
    // ADelta seconds from the current position (bytes at the file's bit
    // rate with sfByte).
    void Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
    // The picture on screen as a 24-bit bitmap owned by the player and
    // refilled by the next call; 0 x 0 without video.
    TBitmap* CurrentFrame();
    // APTS: its time in microseconds from the start, -1 without video.
    TBitmap* CurrentFrame(Int64& APTS);
    void UpdateScreenPosition();
    // Logs at error level and, with AStore, keeps the text in LastErrMsg.
    void ReportError(const String& AText, bool AStore);

    // --- Published ---
    String About() const { return FAbout; }
    void SetAbout(const String& AValue) { FAbout = AValue; }
    String Version() const { return u"2.3"; }
    TFileOpenEvent OnFileOpen() const { return FOnFileOpen.Get(); }
    void SetOnFileOpen(TFileOpenEvent AValue) { FOnFileOpen.Set(std::move(AValue)); }
    THookEvent OnHook() const { return FOnHook.Get(); }
    void SetOnHook(THookEvent AValue) { FOnHook.Set(std::move(AValue)); }
    TPositionEvent OnPosition() const { return FOnPosition.Get(); }
    void SetOnPosition(TPositionEvent AValue) { FOnPosition.Set(std::move(AValue)); }
    TPlayStateEvent OnState() const { return FOnState.Get(); }
    void SetOnState(TPlayStateEvent AValue) { FOnState.Set(std::move(AValue)); }

    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float AValue);
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver AValue) { FAudioDriver = AValue; }
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    // Values outside 0..128 are brought into it.
    void SetAudioVolume(TAudioVolume AValue);
    bool DisableAudio() const { return Faudio_disable; }
    void SetDisableAudio(bool AValue) { Faudio_disable = AValue; }
    bool DisableVideo() const { return Fvideo_disable; }
    void SetDisableVideo(bool AValue) { Fvideo_disable = AValue; }
    bool DisableDisplay() const { return Fdisplay_disable; }
    void SetDisableDisplay(bool AValue) { Fdisplay_disable = AValue; }
    bool Mute() const { return FMute; }
    void SetMute(bool AValue) { FMute = AValue; }
    bool Hook() const { return FHook; }
    void SetHook(bool AValue) { FHook = AValue; }
    Integer FrameWidth() const { return Fframe_width; }
    void SetFrameWidth(Integer AValue) { Fframe_width = AValue; }
    Integer FrameHeight() const { return Fframe_height; }
    void SetFrameHeight(Integer AValue) { Fframe_height = AValue; }
    Integer ScreenWidth() const { return Fscreen_width; }
    void SetScreenWidth(Integer AValue) { Fscreen_width = AValue; }
    Integer ScreenHeight() const { return Fscreen_height; }
    void SetScreenHeight(Integer AValue) { Fscreen_height = AValue; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver AValue) { FVideoDriver = AValue; }

    // --- Public ---
    // The forced input format's name, empty for none.
    String Format() const;
    // Raises "Unknown input format: %s" for a name no reader has.
    void SetFormat(const String& AValue);
    String FileName() const { return Finput_filename.Get(); }
    String LastErrMsg() const { return FLastErrMsg.Get(); }
    win::HWND ScreenHandle() const { return FScreenHandle; }
    bool FullScreen() const { return Fis_full_screen; }
    // The playing stream's index in the file, -1 without a file or stream.
    // Setting another index with a file switches streams (-1 turns subtitles
    // off); false with LastErrMsg when it cannot.
    Integer AudioStreamIndex() const;
    bool SetAudioStreamIndex(Integer AValue);
    Integer VideoStreamIndex() const;
    bool SetVideoStreamIndex(Integer AValue);
    Integer SubtitleStreamIndex() const;
    bool SetSubtitleStreamIndex(Integer AValue);
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    // Microseconds from the start of the file, -1 before the first.
    Int64 CurrentPTS() const { return FCurrentPTS; }
    bool Paused() const;
    TPlayState PlayState() const { return FState; }
    Int64 PlayTime() const { return FPlayTime; }
    void SetPlayTime(Int64 AValue) { FPlayTime = AValue; }
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType AValue) { FRepeatType = AValue; }
    bool Seeking() const { return FSeeking; }
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio AValue);
    bool VerticalFlip() const { return FVerticalFlip; }
    void SetVerticalFlip(bool AValue) { FVerticalFlip = AValue; }
    String VideoFilters() const { return Fvfilters.Get(); }
    void SetVideoFilters(const String& AValue) { Fvfilters.Set(AValue); }
    bool is_full_screen() const { return Fis_full_screen; }
    void Setis_full_screen(bool AValue) { Fis_full_screen = AValue; }
    Integer wanted_audio_stream() const { return Fwanted_stream[AVMEDIA_TYPE_AUDIO + 1]; }
    void Setwanted_audio_stream(Integer AValue) { Fwanted_stream[AVMEDIA_TYPE_AUDIO + 1] = AValue; }
    Integer wanted_video_stream() const { return Fwanted_stream[AVMEDIA_TYPE_VIDEO + 1]; }
    void Setwanted_video_stream(Integer AValue) { Fwanted_stream[AVMEDIA_TYPE_VIDEO + 1] = AValue; }
    Integer wanted_subtitle_stream() const { return Fwanted_stream[AVMEDIA_TYPE_SUBTITLE + 1]; }
    void Setwanted_subtitle_stream(Integer AValue) { Fwanted_stream[AVMEDIA_TYPE_SUBTITLE + 1] = AValue; }
    Integer seek_by_bytes() const { return Fseek_by_bytes; }
    void Setseek_by_bytes(Integer AValue) { Fseek_by_bytes = AValue; }
    Int64 start_time() const { return Fstart_time; }
    void Setstart_time(Int64 AValue) { Fstart_time = AValue; }
    Integer workaround_bugs() const { return Fworkaround_bugs; }
    void Setworkaround_bugs(Integer AValue) { Fworkaround_bugs = AValue; }
    // Kept for callers; motion vectors are drawn by a filter now, so the
    // decoder no longer takes it.
    Integer debug_mv() const { return Fdebug_mv; }
    void Setdebug_mv(Integer AValue) { Fdebug_mv = AValue; }
    bool fast() const { return Ffast; }
    void Setfast(bool AValue) { Ffast = AValue; }
    bool genpts() const { return Fgenpts; }
    void Setgenpts(bool AValue) { Fgenpts = AValue; }
    Integer decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void Setdecoder_reorder_pts(Integer AValue) { Fdecoder_reorder_pts = AValue; }
    Integer framedrop() const { return Fframedrop; }
    void Setframedrop(Integer AValue) { Fframedrop = AValue; }
    Integer rdftspeed() const { return Frdftspeed; }
    void Setrdftspeed(Integer AValue) { Frdftspeed = AValue; }
    Integer lowres() const { return Flowres; }
    void Setlowres(Integer AValue) { Flowres = AValue; }
    Integer idct_algo() const { return Fidct_algo; }
    void Setidct_algo(Integer AValue) { Fidct_algo = AValue; }
    Integer error_recognition() const { return Ferror_recognition; }
    void Seterror_recognition(Integer AValue) { Ferror_recognition = AValue; }
    Integer error_concealment() const { return Ferror_concealment; }
    void Seterror_concealment(Integer AValue) { Ferror_concealment = AValue; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    // AV_SYNC_EXTERNAL_CLOCK raises: nothing would drive that clock.
    void Setav_sync_type(Tav_sync_type AValue);

protected:
    // The defaults of the option fields, ending with the per-file reset.
    void SetDefaults();

private:
    friend class TPlayThread;
    friend class TEventThread;

    // --- The component (player.cpp) ---
    void ResetPlayState();
    bool HookScreenWindow(win::HWND AWindow);
    void UnhookScreenWindow();
    // Unhooks the host and gives its native window back (GUI thread, SDL
    // quit).
    void LeaveScreenWindow();
    void ScreenWndProc(TMessage& AMessage);
    void WaitForStop();
    void DoFileOpen();
    void UpdatePosition(TVideoState* is);
    void SetPlayState(TPlayState AState);
    void PushPlayEvent(Integer AKind, Int64 AValue);
    // SDL_Quit once for each start of this player's.
    void QuitSDL();
    void RaisePlayEvent(const TPlayEventItem& AItem);
    void PlayThreadExecute();
    bool OnGuiThread() const;
    void ClearStep();
    std::shared_ptr<TVideoState> VideoState() const;
    void SetVideoState(std::shared_ptr<TVideoState> AValue);

    // --- Pause and seek requests (playerstate.cpp) ---
    void TogglePauseState();
    void RequestSeek(Int64 APos, Int64 ARel, TSeekFlags AFlags, bool AWait);

    // --- Video and subtitle decoding (playervideo.cpp) ---
    void VideoThread(TVideoState* is);
    Integer GetVideoFrame(TVideoState* is, AVFrame* AFrame, AVPacket* APacket);
    Integer GetFilteredVideoFrame(TVideoState* is, AVFrame* AFrame, AVFrame* ADecoded, AVPacket* APacket);
    Integer ConfigureVideoFilters(TVideoState* is, const AVFrame* AFrame);
    Integer OutputPicture(TVideoState* is, AVFrame* AFrame, double APTS, Int64 APos);
    Integer QueuePicture(TVideoState* is, AVFrame* AFrame, double APTS, Int64 APos);
    void RunFrameHook(TVideoState* is, const AVFrame* AFrame, TAVPicture& APicture, double APTS,
                      Integer AWidth, Integer AHeight);
    void SubtitleThread(TVideoState* is);

    // --- Display (playerdisplay.cpp) ---
    void RefreshThread(TVideoState* is);
    void RefreshVideo(TVideoState* is, bool AConsume);
    // AShownAgain: the picture on screen, not the next one queued.
    void DisplayVideo(TVideoState* is, bool AShownAgain = false);
    Integer OpenVideoMode(TVideoState* is, bool AForce);
    void AllocPicture(TVideoState* is);
    void DisplayVideoImage(TVideoState* is, bool AShownAgain);
    // The screen in the host's own colour: all of it, or what lies around
    // the picture at APicture when that is not painted yet.
    void PaintBackground(TVideoState* is, const SDL_Rect* APicture);
    void DisplayAudio(TVideoState* is);
    Integer VideoModeDepth() const;

    // --- Stream opening, read thread, event loop (playerstream.cpp) ---
    bool OpenStream(const String& AFileName, const AVInputFormat* AFormat, bool APaused);
    void ReadThread(TVideoState* is);
    Integer OpenStreamComponent(TVideoState* is, Integer AStreamIndex);
    void CloseStreamComponent(TVideoState* is, Integer AStreamIndex);
    bool SwitchStream(AVMediaType AType, Integer AStreamIndex);
    void CloseStream(TVideoState* is);
    void ExitPlayback();
    void RunEventLoop();
    // Queues an event for the play thread and wakes it; false when SDL's
    // queue refused it.
    bool PostEvent(SDL_Event& AEvent);
    void PushStateEvent(Uint8 AType, TVideoState* is);
    void PushQuitEvent(TVideoState* is);
    void PushRelayoutEvent(TVideoState* is);

    // --- Audio output (playeraudio.cpp) ---
    void AudioCallback(TVideoState* is, uint8_t* AStream, Integer ALen);
    Integer DecodeAudioFrame(TVideoState* is, double& APTS);
    Integer SynchronizeAudio(TVideoState* is, int16_t* ASamples, Integer ASize, double APTS);
    void UpdateSampleDisplay(TVideoState* is, const int16_t* ASamples, Integer ASize);
    Integer OpenAudioDevice(TVideoState* is, AVCodecContext* ACodec);
    static void AudioCallbackEntry(void* AState, Uint8* AStream, int ALen);

    // Option fields.
    Integer Fsws_flags = SWS_BICUBIC;
    const AVInputFormat* Ffile_iformat = nullptr;
    TGuarded<String> Finput_filename;
    std::atomic<Integer> Ffs_screen_width{0}, Ffs_screen_height{0};
    std::atomic<Integer> Fscreen_width{0}, Fscreen_height{0};
    std::atomic<Integer> Fframe_width{0}, Fframe_height{0};
    std::atomic<AVPixelFormat> Fframe_pix_fmt{AV_PIX_FMT_NONE};
    std::atomic<bool> Faudio_disable{false};
    std::atomic<bool> Fvideo_disable{false};
    // By media type from AVMEDIA_TYPE_UNKNOWN (-1) on.
    std::array<std::atomic<Integer>, AVMEDIA_TYPE_NB + 2> Fwanted_stream{};
    std::atomic<Integer> Fseek_by_bytes{-1};
    std::atomic<bool> Fdisplay_disable{false};
    Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    std::atomic<Int64> Fstart_time{AV_NOPTS_VALUE};
    std::atomic<Integer> Fdebug{0}, Fdebug_mv{0};
    std::atomic<bool> Fstep{false};
    // Steps asked for whose pictures the video thread has not shown yet.
    std::atomic<Integer> FStepPending{0};
    std::atomic<Integer> Fworkaround_bugs{1};
    std::atomic<bool> Ffast{false}, Fgenpts{false};
    std::atomic<Integer> Flowres{0}, Fidct_algo{0}, Fskip_frame{0}, Fskip_idct{0}, Fskip_loop_filter{0};
    std::atomic<Integer> Ferror_recognition{1};
    std::atomic<Integer> Ferror_concealment{3};
    std::atomic<Integer> Fdecoder_reorder_pts{-1};
    std::atomic<Integer> Fframedrop{1};
    std::atomic<Integer> Frdftspeed{20};
    TGuarded<String> Fvfilters;
    std::atomic<bool> Fis_full_screen{false};

    // Playback.
    // Shared with the callers that look at it while the play thread may end it.
    std::shared_ptr<TVideoState> FVideoState;
    mutable std::mutex FVideoStateLock;
    std::atomic<Int64> Faudio_callback_time{0};
    AVPacket* Fflush_pkt = nullptr;
    SDL_Surface* Fscreen = nullptr;
    String FAbout;
    TGuarded<String> FLastErrMsg;
    std::atomic<Int64> FLastPTS{AV_NOPTS_VALUE};
    std::atomic<Int64> FCurrentPTS{-1};
    std::unique_ptr<TAVProbe> FAVProbe;
    win::HWND FScreenHandle = nullptr;
    // The host's own background (what its erase paints), 0x00BBGGRR, shown
    // around the picture.
    std::atomic<uint32_t> FHostBackground{0};
    // Serialises event handling on the play thread with a forced exit.
    TDataLock FDataLock;
    TEvent FSeekEvent{true, true};
    TEvent FPictEvent{true, true};
    TEvent FStopEvent{true, true};
    // The ring of the playback under way; its event thread holds it too.
    std::shared_ptr<TPlayEvent> FPlayEvent;
    std::atomic<bool> FSeeking{false};
    std::atomic<float> FAspectRatio{0};
    std::atomic<TAudioVolume> FAudioVolume{SDL_MIX_MAXVOLUME};
    std::atomic<TShowAudio> FShowAudio{saWave};
    std::atomic<bool> FMute{false};
    std::atomic<Int64> FPlayTime{AV_NOPTS_VALUE};
    std::atomic<TRepeatType> FRepeatType{rtStop};
    std::atomic<bool> FVerticalFlip{false};
    TAudioDriver FAudioDriver = adDefault;
    TVideoDriver FVideoDriver = vdDefault;
    // CurrentFrame's converter (GUI side) and the hook's (video thread).
    TRGBConvertContext FRGBContext;
    TRGBConvertContext FHookContext;
    std::atomic<bool> FHook{false};
    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<TPlayState> FState{psStop};
    TGuarded<TFileOpenEvent> FOnFileOpen;
    TGuarded<THookEvent> FOnHook;
    TGuarded<TPositionEvent> FOnPosition;
    TGuarded<TPlayStateEvent> FOnState;

    // The host window's subclassing.
    std::shared_ptr<THostHook> FHostHook;
    win::WNDPROC FHookWndProc = nullptr;
    // The window whose native window SDL was given.
    win::HWND FNativeHost = nullptr;
    // The event threads' way back to this player.
    std::shared_ptr<TPlayerLink> FLink;
    // SDL was started by this player and not shut down yet.
    std::atomic<bool> FSDLStarted{false};
    // The play thread's wake-up when an event is posted.
    std::mutex FEventLock;
    std::condition_variable FEventPosted;
    bool FEventPending = false;
};

// The published player.
class TFFPlayer : public TCustomPlayer {
public:
    using TCustomPlayer::TCustomPlayer;
};
