// The conversion engine: one object holds everything one conversion needs
// (its input and output files, every option, the running state and the
// events) and runs that conversion in the calling thread or in a worker thread
// of its own. It is configured the way the command-line transcoder is: by
// options, each a name and a value, given before the input or output file
// they apply to.
//
// The unit is split by topic: ffmpeg.cpp (lifecycle and threads),
// ffmpegoptions.cpp (the option table), ffmpegpresets.cpp (the built-in
// presets), ffmpegfiles.cpp (input and output files), ffmpegsetup.cpp (the
// stream tables, codecs and headers of a conversion), ffmpegloop.cpp (the
// packet loop and muxing), ffmpegaudio.cpp (audio output), ffmpegvideo.cpp
// (video and subtitle output), ffmpegfilters.cpp (the video filter graph),
// ffmpeghooks.cpp (hooks, progress and statistics).
#pragma once

#include <array>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
}

#include "media/ffutils.h"
#include "media/framehook.h"
#include "media/previewer.h"
#include "platform/base/classes.h"
#include "platform/base/set.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"

class TBitmap;
struct TAVInputStream;
struct TAVOutputStream;
struct TConversion;

// Every failure of the engine.
VELQUA_DECLARE_EXCEPTION(FFmpegException, Exception);

// Streams per file the engine provides for: timestamp scales, stream ids.
inline constexpr Integer MAX_STREAMS = 20;
// The most files an engine can be made for.
inline constexpr Integer MAX_FILES = 512;

struct TAVStreamMap {
    Integer file_index;
    Integer stream_index;
    Integer sync_file_index;
    Integer sync_stream_index;
};

struct TAVMetaDataMap {
    Integer out_file;
    Integer in_file;
};

// Value: name=value lines separated by line feeds.
struct TOptionsPreset {
    AnsiString Name;
    AnsiString Value;
};

// The 36 built-in libx264 presets in alphabetical order, written in the
// encoder's current option names.
const std::vector<TOptionsPreset>& BuiltinPresets();

// Frame rates of the target presets by norm: PAL, NTSC, FILM.
enum TTargetNorm { tnPAL, tnNTSC, tnFILM };
extern const char16_t* const TargetFrameRates[3];

enum TPostHook { phPreview, phBitmap, phHBITMAP };
using TPostHooks = TSet<TPostHook>;

// Guards the post hooks of every engine.
extern TCriticalSection& PostHookLock;

// A bitstream filter named by "absf", "vbsf" or "sbsf": the filter and the
// text after its name's "=".
struct TBitstreamFilterItem {
    const AVBitStreamFilter* Filter;
    AnsiString Args;
};
using TBitstreamFilterChain = std::vector<TBitstreamFilterItem>;

// What an output stream needs besides its AVStream: its encoder settings in a
// codec context of our own (AVStream no longer carries one; the settings go to
// codecpar when the encoder opens), the encoder's private options, whether
// the stream is copied, and its bitstream filters.
struct TOutputStreamSetup {
    AVCodecContext* Codec = nullptr;
    AVDictionary* CodecOptions = nullptr;
    bool StreamCopy = false;
    TBitstreamFilterChain BitstreamFilters;
};

// Hung on an output's AVFormatContext::opaque, so join mode's repeated entries
// share it. MuxOptions go to avformat_write_header: the muxer options that
// are no longer fields of the context ("preload", "muxrate", GIF "loop", ...);
// a muxer that does not know one leaves it in the dictionary.
struct TOutputFileSetup {
    std::vector<TOutputStreamSetup> Streams;  // by stream index
    AVDictionary* MuxOptions = nullptr;
    bool Created = false;  // the conversion made the file: it was not there before
};

// Hung on an input's AVFormatContext::opaque: a decoder context per stream,
// filled from the stream's parameters and the decoding options when the
// input was opened, to be opened when the conversion starts.
struct TInputFileSetup {
    std::vector<AVCodecContext*> Codecs;  // by stream index
    bool Loop = false;                    // the "loop_input" option at opening
};

TOutputFileSetup& OutputSetup(const AVFormatContext* AContext);
TInputFileSetup& InputSetup(const AVFormatContext* AContext);

// The conversion context of the custom hook.
struct TCustomHookContext {
    TRGBConvertContext Context;
};

// The post hooks' conversion context, preview window and timing in
// microseconds. Whoever takes the previewer under PostHookLock frees it after
// leaving the lock: freeing it waits for the GUI thread.
struct TPostHookContext {
    TRGBConvertContext Context;
    std::shared_ptr<TPreviewer> Previewer;
    Int64 preview_last_time = 0;
    Int64 preview_cur_time = 0;
};

class TCustomFFmpeg : public TObject {
public:
    // The engine's events (the task component has its own, of other shapes).
    using TProgressEvent = std::function<void(
        TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS, float AQuality,
        float ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration, Int64 ATotalDuration)>;
    using TCustomHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber,
                                                Int64 APTS, bool& AUpdate, bool& AStopHook)>;
    using TPreviewBitmapEvent =
        std::function<void(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS)>;

    // 0 < AMaxFiles <= MAX_FILES, else EAssertionFailed.
    explicit TCustomFFmpeg(Integer AMaxFiles);
    // Stops a running conversion and waits for it.
    ~TCustomFFmpeg() override;

    // --- Lifecycle ---

    // Starts the conversion. With AUseThread: the worker, not yet started
    // (the caller starts it); otherwise the conversion runs here and nil
    // comes back. Nil also when the engine is converting or terminated, and
    // when there is no output or no input (then reported through the fatal
    // message and OnTerminate, never raised).
    TThread* StartConvert(bool AUseThread, TThreadPriority APriority);
    // Asks the conversion to stop after the current packet; with AWaitFor
    // returns once the worker has finished (its clean-up and OnTerminate
    // included), running the GUI thread's pending calls meanwhile.
    void Stop(bool AWaitFor);
    // The worker stops between packets until Resume or Stop. A worker not
    // yet started starts paused.
    void Pause();
    // Also starts a worker that was never started.
    void Resume();
    // Stop when converting; otherwise, when never terminated, raises
    // OnTerminate once from a thread of its own.
    void StopOrTerminate(bool AWaitFor);
    // Back to idle for a new set of files (a running conversion is stopped
    // first); needs the transcoder libraries.
    void Reset();
    // Releases the files and buffers of a conversion; an output the
    // conversion made and left empty is deleted.
    void Cleanup();
    // Every option to its default.
    void SetDefaults();

    // --- Options ---

    // One option by name (exact case) and value; an unknown name goes to the
    // option contexts.
    void SetOption(const String& AName, const String& AValue);
    void SetIntOption(const AnsiString& AName, Integer AValue);
    void SetVerbose(Integer AValue) { Fverbose = AValue; }
    // No-value timestamps are ignored.
    void SetStartTime(Int64 AValue);
    // Also the expected output duration.
    void SetRecordingTime(Int64 AValue);
    void SetProgramID(Integer AValue);        // when >= 0
    void SetAudioSampleRate(Integer AValue);  // when > 0
    void SetAudioChannels(Integer AValue);    // when > 0
    void SetAudioVolume(Integer AValue);      // when >= 0
    void SetAudioSyncMethod(Integer AValue) { Faudio_sync_method = AValue; }
    void SetVideoSyncMethod(Integer AValue) { Fvideo_sync_method = AValue; }
    void SetMuxMaxDelay(float AValue);  // when > 0
    void SetMuxPreload(float AValue);   // when > 0
    void AddMetadata(const AnsiString& AKey, const AnsiString& AValue);
    // ATarget "vcd", "svcd", "dvd", "dv" or "dv50"; ANorm "pal", "ntsc",
    // "film" or anything else to guess, with ADefaultNorm when undecided.
    void SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm);
    TPostHooks PostHooks() const;
    // Under PostHookLock. Removing phPreview frees the preview window.
    void SetPostHooks(TPostHooks AHooks);
    // For callers holding PostHookLock: stores the set and hands back the
    // preview window it detached, if any, to be dropped after the lock.
    [[nodiscard]] std::shared_ptr<TPreviewer> DoSetPostHooks(TPostHooks AHooks);

    // --- Files ---

    // Opens one input; false with LastErrMsg, or raises FFmpegException.
    bool OptInputFile(const String& AFileName);
    // The inputs let go of their descriptors until the conversion reads them:
    // a task that waits keeps no file open.
    void ParkInputFiles();
    // Sets up one output with its streams (the file itself is opened by the
    // conversion); the output count, or -1 with LastErrMsg;
    // "avformat_alloc_context failed" is raised.
    Integer OptOutputFile(const String& AFileName, bool AJoin);
    // One more stream of the type in the last output.
    void OptNewVideo();
    void OptNewAudio();
    void OptNewSubtitle();
    void OptStreamId(const String& AOption, const String& AValue);
    // Resolves a codec name (empty: AV_CODEC_ID_NONE); false with LastErrMsg.
    bool FindCodec(const AnsiString& AName, AVMediaType AType, bool AEncoder, Integer AStrict,
                   AVCodecID& ACodecID);

    // --- State ---

    Integer nb_input_files() const { return Fnb_input_files; }
    Integer nb_output_files() const { return Fnb_output_files; }
    bool Finished() const { return FFinished; }
    bool FatalException() const { return FFatalException; }
    String FatalMessage() const;
    const String& LastErrMsg() const { return FLastErrMsg; }
    // Microseconds, -1 unknown.
    Int64 TotalOutputDuration() const { return FTotalOutputDuration; }
    bool Converting() const { return FConverting; }
    bool Terminated() const { return FTerminated; }

    const TCustomHookEvent& OnCustomHook() const { return FOnCustomHook; }
    void SetOnCustomHook(TCustomHookEvent AValue) { FOnCustomHook = std::move(AValue); }
    const TPreviewBitmapEvent& OnPreviewBitmap() const { return FOnPreviewBitmap; }
    void SetOnPreviewBitmap(TPreviewBitmapEvent AValue) { FOnPreviewBitmap = std::move(AValue); }
    const TProgressEvent& OnProgress() const { return FOnProgress; }
    void SetOnProgress(TProgressEvent AValue) { FOnProgress = std::move(AValue); }
    const TNotifyEvent& OnTerminate() const { return FOnTerminate; }
    void SetOnTerminate(TNotifyEvent AValue) { FOnTerminate = std::move(AValue); }

    // Microseconds between progress reports and between post-hook runs.
    std::atomic<Int64> ReportInterval{500000};
    std::atomic<Int64> PreviewInterval{100000};

protected:
    // Run by the worker, or by StartConvert without one: the conversion, the
    // closing of its codecs, Cleanup and DoTerminate, each step guarded.
    void DoConvert();
    // Marks the end and raises OnTerminate on the calling thread.
    void DoTerminate();
    // The conversion itself.
    void RunConversion();
    // The conversion's pause point, between packets: returns once the
    // engine is not paused (or is stopping).
    void WaitWhilePaused();
    void CloseEncoderItems();
    void CloseDecoderItems();

    // The conversion's set-up and tear-down, in the order they run.
    void BuildInputStreamTable();
    void BuildOutputStreamTable();
    void MapOutputStreams();
    Integer ApplyStreamMap(Integer AMap, const TAVOutputStream& AStream);
    Integer FindSourceStream(const TAVOutputStream& AStream);
    void SetupOutputCodecs();
    void SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist);
    void SetupEncoding(Integer AIndex, TAVOutputStream& ost, TAVInputStream& ist);
    void OpenPassLogFile(Integer AIndex, TAVOutputStream& ost);
    void OpenEncoders();
    void OpenDecoders();
    void InitInputTimestamps();
    void ApplyMetadataMaps();
    void CopyAllChapters();
    // Opens (creates or overwrites) the output files: nothing on disk
    // changes before the conversion gets here.
    void OpenOutputFiles();
    void WriteHeaders();
    void LogStreamMapping();
    void CloseEncoders();
    void CloseDecoders();
    void FreeStreamTables();
    void ClearNoPacketFlags();

    // The packet loop and what it hands packets and pictures to.
    void RunPacketLoop();
    // Seconds an output stream has reached.
    double OutputTime(const TAVOutputStream& ost) const;
    // 0, or -1 when decoding failed. A nil packet drains the decoder and,
    // with AFlushEncoders, the encoders it feeds.
    Integer ProcessInputPacket(TAVInputStream& ist, Integer ist_index, const AVPacket* pkt,
                               bool AFlushEncoders = true);
    // Timestamps of a packet read: offsets, scales, discontinuities; false
    // when the packet is past the recording time.
    bool CorrectTimestamps(TAVInputStream& ist, AVPacket* pkt);
    // A looped input starts again after its end; false when it cannot.
    bool RestartInput(Integer AFile);
    // Drains the decoders of an input (and the encoders they feed).
    void DrainInput(Integer AFile, bool AFlushEncoders);
    // Logged, or with "xerror" raised.
    void DecodingFailed(const TAVInputStream& ist);
    // The end of a join segment; false after the last.
    bool EndJoinSegment(Integer ASegment);
    void HandDecodedFrame(TAVInputStream& ist, Integer ist_index);
    void PassFilteredPictures(TAVInputStream& ist, Integer ist_index);
    void OutputPicture(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* APicture);
    // The decoded audio as packed s16 at its own rate and layout, with the
    // volume applied; false when there is none.
    bool SamplesAsS16(TAVInputStream& ist, const uint8_t*& ASamples, Integer& ASize);
    void CopyPacket(TAVOutputStream& ost, TAVInputStream& ist, const AVPacket* pkt);
    void FlushEncoder(TAVOutputStream& ost);
    // Writes APacket (in the stream's packet time base) through the stream's
    // bitstream filters; takes the packet's data.
    void MuxPacket(TAVOutputStream& ost, AVPacket* APacket);
    void FilterPacket(TAVOutputStream& ost, size_t AFilter, AVPacket* APacket, AVRational ATimeBase);
    void WritePacket(TAVOutputStream& ost, AVPacket* APacket, AVRational ATimeBase);
    // Sends AFrame (nil: drains) and muxes every packet that comes out; the
    // size of the last packet.
    Integer EncodeAndMux(TAVOutputStream& ost, const AVFrame* AFrame, const char16_t* AFailure);

    // Output of decoded data.
    void do_audio_out(TAVOutputStream& ost, TAVInputStream& ist, const uint8_t* buf, Integer size);
    void EncodeAudioFrames(TAVOutputStream& ost, bool AFlush);
    void EncodeVideoFrame(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* in_picture,
                          Integer& AFrameSize);
    // Encodes APicture ACopies times (fewer when stopped); the size of the
    // last packet. AProps gives the field order of the decoded picture.
    Integer SendPicture(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* APicture, const AVFrame* AProps,
                        Integer ACopies);
    // Whether the stream's pictures come at a constant rate, repeated or
    // dropped to keep it.
    bool ConstantFrameRate(const TAVOutputStream& ost) const;
    // At the end of ist: its last picture lasts its own time.
    void EndVideoStream(TAVOutputStream& ost, TAVInputStream& ist);
    void EncodeSubtitle(TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle* sub, Int64 pts);

    // Hooks, progress and statistics.
    void PrepareVideoFrame(TAVInputStream& ist, AVFrame*& APicture);
    void RunCustomHook(AVFrame* APicture, Int64 pts);
    void RunPostHooks(const AVFrame* APicture, const AVCodecContext* enc, Int64 pts);
    void ReportProgress(bool AFinal, Integer AFileIndex);
    void WriteVideoStats(TAVOutputStream& ost, Integer AFrameSize);

    // The video filter graph: 0, or -1 with the reason in LastErrMsg.
    Integer ConfigureFilters(TAVInputStream& ist, TAVOutputStream& ost);
    // ConfigureFilters, raising "Error opening filters" when it fails.
    void OpenFilters(TAVInputStream& ist, TAVOutputStream& ost);
    // The decoded picture of ist, turned upright by the stream's display
    // matrix in its place; raises when it cannot be.
    void TurnUpright(TAVInputStream& ist);
    // 1 with a picture taken out of the graph, else -1.
    Integer GetFilteredPicture(TAVInputStream& ist, Int64& pts);

    // Option handlers.
    bool OptDefault(const String& AName, const String& AValue);
    // The encoders and the muxer the options given so far name.
    TFFOptionTargets OptionTargets() const;
    void OptFormat(const String& AValue);
    void OptCodec(const String& AName, const String& AValue);
    void OptCodecTag(const String& AName, const String& AValue);
    void OptBitrate(const String& AName, const String& AValue);
    void OptFrameRate(const String& AValue);
    void OptFrameSize(const String& AValue);
    void OptFrameAspectRatio(const String& AValue);
    void OptPixelFormat(const String& AValue);
    void OptSampleFormat(const String& AValue);
    void OptCrop(const String& AName, const String& AValue);
    void OptMatrix(std::optional<std::array<Word, 64>>& AMatrix, const String& AValue);
    void OptTarget(const String& AValue);
    void OptPreset(const String& AName, const String& AValue);
    void OptBitstreamFilter(const String& AName, const String& AValue);
    void OptVideoHook(const String& AValue);
    void OptMap(const String& AValue);
    void OptMapMetaData(const String& AValue);
    void OptInputTsScale(const String& AValue);
    void OptMetadata(const String& AValue);
    void OptTime(const String& AName, const String& AValue);

    // Opening files.
    void check_audio_video_sub_inputs(bool AFirstOnly, bool& AHasVideo, bool& AHasAudio,
                                      bool& AHasSubtitle) const;
    // What the three kinds of new stream share.
    struct TNewStream {
        AVStream* Stream;
        TOutputStreamSetup* Setup;
        AVCodecContext* Codec;
        const AVCodec* Encoder;  // nil when copied or when there is none
        const AVCodec* Forced;   // the encoder the option named
    };
    // The stream with its id and setup, and its codec context with the
    // type's encoding options; a refusal clears AName and raises.
    TNewStream BeginStream(AVFormatContext* oc, AVMediaType AType, AnsiString& AName, bool ACopy,
                           TBitstreamFilterChain& AFilters);
    // The encoder table entry and the language; clears AName.
    void EndStream(const TNewStream& AStream, AnsiString& AName, AnsiString& ALanguage);
    void new_video_stream(AVFormatContext* oc);
    void new_audio_stream(AVFormatContext* oc);
    void new_subtitle_stream(AVFormatContext* oc);
    // Whether a subtitle stream of the inputs suits the output's subtitle
    // encoder (logged when none does).
    bool HasSubtitleSource(const AVOutputFormat* AFormat, const AnsiString& AFileName, bool AFirstOnly);
    void SetupJoin();
    void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
    void ResetInputCodecNames();
    // False when a local file name's folder is not there.
    static bool OutputFolderExists(const AnsiString& AFileName);
    void CloseInput(AVFormatContext*& AContext);
    // Takes up again the descriptors of parked inputs; raises, naming the
    // file, when one cannot be opened any more.
    void ResumeInputFiles();
    void CloseOutput(AVFormatContext* AContext);
    void ResetPostHookContext();
    void ReportFatal(const String& AMessage);
    // AMessage with the libraries' last error line of this thread, when it
    // does not hold it already.
    static String WithLibraryReason(const String& AMessage);

    // File tables.
    Integer FMaxFiles;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<Int64> Finput_files_ts_offset;
    std::vector<std::array<double, MAX_STREAMS>> Finput_files_ts_scale;
    std::vector<const AVCodec*> Finput_codecs;  // forced decoders by input stream table index
    Integer Fnb_input_files = 0;
    Integer Fnb_icodecs;
    std::vector<AVFormatContext*> Foutput_files;
    std::vector<const AVCodec*> Foutput_codecs;  // forced encoders by output stream table index
    Integer Fnb_output_files = 0;
    Integer Fnb_ocodecs;
    std::vector<TAVStreamMap> Fstream_maps;
    Integer Fnb_stream_maps;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    Integer Fnb_meta_data_maps;
    std::array<Integer, MAX_STREAMS> Fstreamid_map{};

    // Options of the next file or stream; SetDefaults gives them their defaults.
    AnsiString Flast_asked_format;
    Integer Fframe_width;
    Integer Fframe_height;
    float Fframe_aspect_ratio;
    AVPixelFormat Fframe_pix_fmt;
    AVSampleFormat Faudio_sample_fmt;
    Integer Fframe_topBand;
    Integer Fframe_bottomBand;
    Integer Fframe_leftBand;
    Integer Fframe_rightBand;
    std::array<Integer, 4> Fmax_frames{};  // video, audio, data, subtitle
    AVRational Fframe_rate;
    float Fvideo_qscale;
    std::optional<std::array<Word, 64>> Fintra_matrix;
    std::optional<std::array<Word, 64>> Finter_matrix;
    AnsiString Fvideo_rc_override_string;
    bool Fvideo_disable;
    Integer Fvideo_discard;
    AnsiString Fvideo_codec_name;  // empty: none
    Cardinal Fvideo_codec_tag;
    AnsiString Fvideo_language;
    bool Fsame_quality;
    bool Fdo_deinterlace;
    Integer Ftop_field_first;
    Integer Fme_threshold;
    Integer Fintra_dc_precision;
    bool Floop_input;
    Integer Floop_output;
    bool Fqp_hist;
    AnsiString Fvfilters;
    bool FEnableFilter;
    bool Fintra_only;
    Integer Faudio_sample_rate;
    Int64 Fchannel_layout;
    float Faudio_qscale;
    bool Faudio_disable;
    Integer Faudio_channels;
    AnsiString Faudio_codec_name;
    Cardinal Faudio_codec_tag;
    AnsiString Faudio_language;
    bool Fsubtitle_disable;
    AnsiString Fsubtitle_codec_name;
    AnsiString Fsubtitle_language;
    Cardinal Fsubtitle_codec_tag;
    float Fmux_preload;
    float Fmux_max_delay;
    Int64 Frecording_time;
    Int64 Fstart_time;
    Int64 Frecording_timestamp;  // seconds since 1970
    Int64 Finput_ts_offset;
    Integer Fmetadata_count = 0;
    std::vector<std::pair<AnsiString, AnsiString>> Fmetadata;
    bool Fdo_hex_dump;
    bool Fdo_pkt_dump;
    bool Fdo_psnr;
    Integer Fdo_pass;
    AnsiString Fpass_logfilename_prefix;
    Integer Faudio_stream_copy;
    Integer Fvideo_stream_copy;
    Integer Fsubtitle_stream_copy;
    Integer Fvideo_sync_method;
    Integer Faudio_sync_method;
    float Faudio_drift_threshold;
    bool Fcopy_ts;
    bool Fopt_shortest;
    Integer Fvideo_global_header;
    AnsiString Fvstats_filename;
    FILE* Fvstats_file = nullptr;
    Integer Fopt_programid;
    Integer Fcopy_initial_nonkeyframes;
    bool Frate_emu;
    Integer Fvideo_channel;
    AnsiString Fvideo_standard;
    Integer Faudio_volume;
    bool Fexit_on_error;
    bool Fusing_vhook;
    Integer Fverbose;
    Integer Fthread_count;
    Int64 Fvideo_size;
    Int64 Faudio_size;
    Int64 Fextra_size;
    Integer Fnb_frames_dup;
    Integer Fnb_frames_drop;
    bool FShowDupOrDrop;
    bool Finput_sync;
    Int64 Flimit_filesize;
    bool Fforce_fps;
    Integer Fpgmyuv_compatibility_hack;
    float Fdts_delta_threshold;
    Cardinal Fsws_flags;
    TFFOptions FOptions;

    // Bitstream filters for the next new stream of each type.
    TBitstreamFilterChain Fvideo_bitstream_filters;
    TBitstreamFilterChain Faudio_bitstream_filters;
    TBitstreamFilterChain Fsubtitle_bitstream_filters;

    // Conversion state. The codec lists hold the codecs the running
    // conversion opened and has not closed, the latest first.
    std::unique_ptr<TConversion> FConversion;
    Int64 Ftimer_start = 0;
    Int64 FLastReport = 0;
    // Audio work buffers, grown only: the decoded samples as packed s16, the
    // samples with inserted silence, the resampled samples.
    std::vector<uint8_t> Fsamples;
    std::vector<uint8_t> Finput_tmp;
    std::vector<uint8_t> Faudio_buf;
    // Encoded subtitles; each engine has its own.
    std::vector<uint8_t> FSubtitleBuffer;
    // The hook buffer: the picture the hooks see and the encoder then takes.
    AVFrame* FHookBuf = nullptr;
    // Quantiser counts of this engine's progress lines.
    std::array<Integer, 52> FQPHistogram{};
    std::vector<AVCodecContext*> FEncoderList;
    std::vector<AVCodecContext*> FDecoderList;
    PFrameHookEntry FFirstHook;
    TCustomHookContext FHookContext;
    Integer FHookFrameNumber;
    TPostHookContext FPostContext;
    TPostHooks FPostHooks;  // guarded by PostHookLock
    bool FJoinMode = false;
    std::atomic<bool> FConverting{false};
    std::atomic<bool> FBroken{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFatalException{false};
    Int64 FTotalOutputDuration;
    String FLastErrMsg;

    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TNotifyEvent FOnTerminate;

private:
    friend class TConvertThread;
    friend class TDoTerminateThread;

    // Stop with waiting, and the end of a pending terminate thread.
    void WaitForWorkers();
    void Unpause();

    // FThread and the pause state; DoTerminate clears FThread under it, so a
    // self-freeing worker is never touched after it has gone.
    mutable std::mutex FThreadLock;
    TThread* FThread = nullptr;
    bool FPaused = false;
    // Signalled while not paused.
    TEvent FResumeEvent{true, true};
    // Signalled while no worker, respectively no terminate thread, runs.
    TEvent FStopEvent{true, true};
    TEvent FTermEvent{true, true};
    std::atomic<bool> FTerminating{false};
    mutable std::mutex FFatalLock;
    String FFatalMessage;
};

// The worker: made suspended and self-freeing, started by whoever asked for it.
class TConvertThread : public TThread {
public:
    TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority);

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};

// Raises the terminate event of an engine that never started; starts at once
// and frees itself.
class TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg* AOwner);

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};
