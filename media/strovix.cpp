#include "media/strovix.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <utility>

#include "media/avcodecstubs.h"
#include "media/avprobe.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/myutils.h"
#include "platform/base/clock.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/published.h"

double LocalTimeZoneBiasDays() {
    return LocalTimeZoneBias();
}

Int64 DateTimeToUnixTime(TDateTime ADateTime) {
    return Round((ADateTime - 25569 - LocalTimeZoneBiasDays()) * 86400);
}

bool FolderExists(std::u16string_view AFolder) {
    return DirectoryExists(AFolder);
}

bool CreateFolderTree(std::u16string_view AFolder) {
    return ForceDirectories(AFolder);
}

void ResetInputOptions(TInputOptions& AOptions) {
    AOptions = TInputOptions{};
}

void ResetOutputOptions(TOutputOptions& AOptions) {
    AOptions = TOutputOptions{};
}

namespace {

using TOptionLine = std::pair<String, String>;

// An option text as lines of (lower-cased name, value): line breaks of any
// kind and the five characters "<CRLF>" separate lines, and a line without
// "=" has an empty value.
std::vector<TOptionLine> OptionLines(const String& AText) {
    String text = StringReplace(Trim(AText), u"\r\n", u"\n", rfReplaceAll);
    text = StringReplace(text, u"\r", u"\n", rfReplaceAll);
    text = StringReplace(text, u"<CRLF>", u"\n", rfReplaceAll);
    std::vector<TOptionLine> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == String::npos) end = text.size();
        const String line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        const size_t equals = line.find(u'=');
        lines.emplace_back(LowerCase(line.substr(0, equals)),
                           equals == String::npos ? String() : line.substr(equals + 1));
    }
    return lines;
}

bool IsOneOf(const String& AName, std::initializer_list<const char16_t*> ANames) {
    return std::any_of(ANames.begin(), ANames.end(), [&](const char16_t* AItem) { return AName == AItem; });
}

void AppendLine(String& AText, const TOptionLine& ALine) {
    if (!AText.empty()) AText += u"\n";
    AText += ALine.first + u"=" + ALine.second;
}

// The time value of a TimeStart or TimeLength line: decimal microseconds.
Int64 TimeValue(const String& AValue) {
    return StrToInt64Def(AValue, AV_NOPTS_VALUE);
}

// The name a task converts with: the file dialogs move the process's current
// folder, so a relative name is fixed against the folder of the moment it is
// given. A name with a protocol prefix ("stream:", "pipe:", "unicode:") stays.
String AbsoluteName(const String& AFileName) {
    if (AFileName.empty() || AFileName[0] == u'/') return AFileName;
    const size_t colon = AFileName.find(u':');
    const auto isProtocolChar = [](char16_t C) {
        return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9') ||
               C == u'+' || C == u'-' || C == u'.' || C == u'_';
    };
    if (colon != String::npos && colon > 1 &&
        std::all_of(AFileName.begin(), AFileName.begin() + static_cast<std::ptrdiff_t>(colon),
                    isProtocolChar))
        return AFileName;
    return ExpandFileName(AFileName);
}

String StreamName(TStream* AStream, const String& APrivateData) {
    return u"stream:" + IntToStr(static_cast<Int64>(reinterpret_cast<intptr_t>(AStream))) + u":" +
           APrivateData;
}

// The names of an output's options text that make or shape its streams:
// SetOutputFile passes them itself, in the order the streams need them.
const std::initializer_list<const char16_t*> kStreamNames = {
    u"newvideo", u"newaudio", u"newsubtitle", u"apre", u"vpre", u"spre", u"vfilters", u"vf"};

// The stream options of an output still to pass: the record's values (the
// defaults) and the lines of its options text that name a codec, a preset,
// a frame size or filters, in text order.
class TPendingOptions {
public:
    explicit TPendingOptions(const TOutputOptions& AOptions) {
        const std::pair<const char16_t*, const String*> defaults[] = {
            {u"acodec", &AOptions.AudioCodec},    {u"vcodec", &AOptions.VideoCodec},
            {u"scodec", &AOptions.SubtitleCodec}, {u"apre", &AOptions.AudioPreset},
            {u"vpre", &AOptions.VideoPreset},     {u"spre", &AOptions.SubtitlePreset},
            {u"s", &AOptions.FrameSize},          {u"vf", &AOptions.VideoFilters}};
        for (const auto& [name, value] : defaults)
            if (!value->empty()) FDefaults[name] = *value;
        for (TOptionLine line : OptionLines(AOptions.ExtOptions)) {
            if (line.second.empty() || !IsOneOf(line.first, {u"acodec", u"vcodec", u"scodec", u"apre",
                                                             u"vpre", u"spre", u"s", u"vfilters", u"vf"}))
                continue;
            if (line.first == u"vfilters") line.first = u"vf";
            String& fallback = FDefaults[line.first];
            if (fallback.empty()) fallback = line.second;
            FLines.push_back(std::move(line));
        }
    }

    String Default(const String& AName) const {
        const auto found = FDefaults.find(AName);
        return found == FDefaults.end() ? String() : found->second;
    }

    // Passes the default of AName when it has one.
    void PassDefault(TFFmpeg& ATask, const String& AName) const {
        const String value = Default(AName);
        if (!value.empty()) ATask.SetOption(AName, value);
    }

    // Passes the first line named AName and uses it up; without one, the default.
    void Take(TFFmpeg& ATask, const String& AName) {
        const auto found = std::find_if(FLines.begin(), FLines.end(),
                                        [&](const TOptionLine& ALine) { return ALine.first == AName; });
        if (found == FLines.end()) {
            PassDefault(ATask, AName);
            return;
        }
        const String value = found->second;
        FLines.erase(found);
        ATask.SetOption(AName, value);
    }

private:
    std::map<String, String> FDefaults;
    std::vector<TOptionLine> FLines;
};

void ApplyTargetOptions(TFFmpeg& ATask, const TOutputOptions& AOptions) {
    static const char16_t* const kTargets[] = {nullptr, u"vcd", u"svcd", u"dvd"};
    static const char16_t* const kNorms[] = {u"auto", u"pal", u"ntsc"};
    if (AOptions.TargetType == ttIgnore) return;
    ATask.SetTarget(kTargets[AOptions.TargetType], kNorms[AOptions.NormType],
                    AOptions.NormDefault == ntPAL ? u"pal" : u"ntsc");
}

// The record's fields that go to the engine by themselves, each only when
// set (or always, for those that have no unset value).
void ApplyOutputMuxOptions(TFFmpeg& ATask, const TOutputOptions& O) {
    const auto text = [&](const char16_t* AName, const String& AValue) {
        if (!AValue.empty()) ATask.SetOption(AName, AValue);
    };
    const auto positive = [&](const char16_t* AName, Integer AValue) {
        if (AValue > 0) ATask.SetOption(AName, IntToStr(AValue));
    };
    const auto flag = [&](const char16_t* AName, bool AValue) {
        if (AValue) ATask.SetOption(AName, u"1");
    };
    text(u"f", O.FileFormat);
    positive(u"packetsize", O.PacketSize);
    positive(u"muxrate", O.MuxRate);
    ATask.SetMuxMaxDelay(O.MuxDelay);
    ATask.SetMuxPreload(O.MuxPreload);
    flag(u"an", O.DisableAudio);
    ATask.SetAudioVolume(O.AudioVolume);
    positive(u"ac", O.AudioChannels);
    positive(u"ar", O.AudioSampleRate);
    positive(u"ab", O.AudioBitrate);
    positive(u"abt", O.AudioBitRateTolerance);
    ATask.SetOption(u"alang", O.AudioLanguage);
    ATask.SetAudioSyncMethod(O.AudioSyncMethod);
    text(u"atag", O.AudioTag);
    flag(u"vn", O.DisableVideo);
    text(u"r", O.FrameRate);
    text(u"aspect", O.FrameAspectRatio);
    positive(u"croptop", O.CropTop);
    positive(u"cropbottom", O.CropBottom);
    positive(u"cropleft", O.CropLeft);
    positive(u"cropright", O.CropRight);
    positive(u"g", O.GroupPictureSize);
    positive(u"vb", O.VideoBitrate);
    positive(u"maxrate", O.VideoMaxRate);
    positive(u"minrate", O.VideoMinRate);
    positive(u"bt", O.VideoBitRateTolerance);
    positive(u"bufsize", O.VideoBufSize);
    ATask.SetVideoSyncMethod(O.VideoSyncMethod);
    text(u"vtag", O.VideoTag);
    ATask.SetOption(u"vlang", O.VideoLanguage);
    flag(u"sn", O.DisableSubtitle);
    ATask.SetOption(u"slang", O.SubtitleLanguage);
    ATask.SetOption(u"isync", O.InputSync ? u"1" : u"0");
    flag(u"copyts", O.CopyTimestamp);
    ATask.SetStartTime(O.TimeStart);
    ATask.SetRecordingTime(O.TimeLength);
    if (O.Info.TimeStamp >= 0)
        ATask.SetRecordingTimestamp(DateTimeToUnixTime(O.Info.TimeStamp == 0 ? Now() : O.Info.TimeStamp));
    if (O.Info.Year > 0) ATask.AddMetadata("year", StringToUTF8(IntToStr(O.Info.Year)));
    if (O.Info.Track > 0) ATask.AddMetadata("track", StringToUTF8(IntToStr(O.Info.Track)));
    const std::pair<const char*, const AnsiString*> texts[] = {
        {"title", &O.Info.Title},     {"author", &O.Info.Author}, {"copyright", &O.Info.Copyright},
        {"comment", &O.Info.Comment}, {"album", &O.Info.Album},   {"genre", &O.Info.Genre}};
    for (const auto& [key, value] : texts)
        if (!value->empty()) ATask.AddMetadata(key, *value);
}

// The extra streams an output's options text asks for, each with the codec,
// preset, size and filters pending for its type.
void ApplyNewStreamOptions(TFFmpeg& ATask, const TOutputOptions& AOptions, TPendingOptions& APending) {
    static const std::map<String, std::vector<const char16_t*>> kTaken = {
        {u"newaudio", {u"acodec", u"apre"}},
        {u"newvideo", {u"vcodec", u"vpre", u"s", u"vf"}},
        {u"newsubtitle", {u"scodec", u"spre"}}};
    for (const auto& [name, value] : OptionLines(AOptions.ExtOptions)) {
        const auto taken = kTaken.find(name);
        if (taken == kTaken.end()) continue;
        for (const char16_t* option : taken->second)
            APending.Take(ATask, option);
        ATask.SetOption(name, value);
    }
}

// Whether AEncoder opens with the settings of AContext that AChange gives
// otherwise: a trial on a context of its own, its complaints unlogged.
bool EncoderOpens(const AVCodec* AEncoder, const AVCodecContext* AContext, const AVDictionary* AOptions,
                  const std::function<void(AVCodecContext*)>& AChange) {
    AVCodecContext* trial = avcodec::avcodec_alloc_context3(AEncoder);
    if (!trial) return false;
    trial->codec_type = AContext->codec_type;
    trial->bit_rate = AContext->bit_rate;
    trial->flags = AContext->flags;
    trial->time_base = AContext->time_base;
    trial->thread_count = 1;
    if (AContext->codec_type == AVMEDIA_TYPE_VIDEO) {
        trial->width = AContext->width;
        trial->height = AContext->height;
        trial->pix_fmt = AContext->pix_fmt;
        trial->framerate = AContext->framerate;
        trial->sample_aspect_ratio = AContext->sample_aspect_ratio;
    } else {
        trial->sample_fmt = AContext->sample_fmt;
        trial->sample_rate = AContext->sample_rate;
        avutil::av_channel_layout_copy(&trial->ch_layout, &AContext->ch_layout);
    }
    AChange(trial);
    AVDictionary* options = nullptr;
    avutil::av_dict_copy(&options, AOptions, 0);
    Integer opened;
    {
        TQuietLibraryLog quiet;
        TCriticalSectionGuard guard(CodecLock);
        opened = avcodec::avcodec_open2(trial, AEncoder, &options);
    }
    avutil::av_dict_free(&options);
    avcodec::avcodec_free_context(&trial);
    return opened >= 0;
}

// The largest size up to the context's that AEncoder takes: whole chroma
// samples of its pixel format (a 4:2:0 picture of odd size loses a line and
// a column), rounded further down to multiples of 4, 8 or 16 where the
// encoder wants those. False when the size stays, or nothing helps.
bool SizeForEncoder(const AVCodec* AEncoder, const AVCodecContext* AContext, const AVDictionary* AOptions,
                    Integer& AWidth, Integer& AHeight) {
    const Integer width = AContext->width, height = AContext->height;
    const AVPixFmtDescriptor* format = avutil::av_pix_fmt_desc_get(AContext->pix_fmt);
    if (width <= 0 || height <= 0 || !format) return false;
    const Integer alignX = 1 << format->log2_chroma_w, alignY = 1 << format->log2_chroma_h;
    AWidth = width / alignX * alignX;
    AHeight = height / alignY * alignY;
    if (AWidth <= 0 || AHeight <= 0) return false;
    const auto opens = [&](Integer AW, Integer AH) {
        return EncoderOpens(AEncoder, AContext, AOptions, [&](AVCodecContext* ATrial) {
            ATrial->width = AW;
            ATrial->height = AH;
        });
    };
    // Every encoder offered takes multiples of 4: no trial for those.
    if ((AWidth % 4 == 0 && AHeight % 4 == 0) || opens(AWidth, AHeight))
        return AWidth != width || AHeight != height;
    for (Integer align : {4, 8, 16}) {
        const Integer w = width / align * align, h = height / align * align;
        if (w <= 0 || h <= 0) return false;
        if (opens(w, h)) {
            AWidth = w;
            AHeight = h;
            return true;
        }
    }
    return false;
}

// The most channels up to the context's that AEncoder takes; false when it
// takes them as they are or no fewer either.
bool ChannelsForEncoder(const AVCodec* AEncoder, const AVCodecContext* AContext, const AVDictionary* AOptions,
                        Integer& AChannels) {
    const Integer channels = AContext->ch_layout.nb_channels;
    if (channels <= 1) return false;
    if (AEncoder->ch_layouts) {
        Integer most = 0;
        for (const AVChannelLayout* layout = AEncoder->ch_layouts; layout->nb_channels; ++layout) {
            if (layout->nb_channels == channels) return false;
            if (layout->nb_channels < channels) most = std::max(most, layout->nb_channels);
        }
        AChannels = most;
        return most > 0;
    }
    // Without a list only a trial tells; stereo is what nearly all take.
    if (channels <= 2) return false;
    const auto opens = [&](Integer ACount) {
        return EncoderOpens(AEncoder, AContext, AOptions, [&](AVCodecContext* ATrial) {
            avutil::av_channel_layout_uninit(&ATrial->ch_layout);
            avutil::av_channel_layout_default(&ATrial->ch_layout, ACount);
        });
    };
    if (opens(channels)) return false;
    for (AChannels = channels - 1; AChannels > 0; --AChannels)
        if (opens(AChannels)) return true;
    return false;
}

}  // namespace

// --- TFFmpeg ---

TFFmpeg::TFFmpeg(Integer AMaxFiles) : TCustomFFmpeg(AMaxFiles) {
    FAVProbes.resize(FMaxFiles);
    FInputOptions.resize(FMaxFiles);
    FOutputOptions.resize(FMaxFiles);
}

TFFmpeg::~TFFmpeg() = default;

TAVProbe* TFFmpeg::AVProbes(Integer AIndex) const {
    return AIndex >= 0 && AIndex < FMaxFiles ? FAVProbes[AIndex].get() : nullptr;
}

TInputOptions& TFFmpeg::InputOptions(Integer AIndex) {
    std::unique_ptr<TInputOptions>& record = FInputOptions.at(AIndex);
    if (!record) record = std::make_unique<TInputOptions>();
    return *record;
}

TOutputOptions& TFFmpeg::OutputOptions(Integer AIndex) {
    std::unique_ptr<TOutputOptions>& record = FOutputOptions.at(AIndex);
    if (!record) record = std::make_unique<TOutputOptions>();
    return *record;
}

void TFFmpeg::ResetInputRecord(Integer AIndex) {
    if (FInputOptions.at(AIndex)) ResetInputOptions(*FInputOptions[AIndex]);
}

void TFFmpeg::ResetOutputRecord(Integer AIndex) {
    if (FOutputOptions.at(AIndex)) ResetOutputOptions(*FOutputOptions[AIndex]);
}

void TFFmpeg::ApplyExtOptions(const String& AText, bool AIncludeCodecs) {
    for (const auto& [name, value] : OptionLines(AText)) {
        if (IsOneOf(name, kStreamNames)) continue;
        if (!AIncludeCodecs && IsOneOf(name, {u"acodec", u"vcodec", u"scodec", u"s"})) continue;
        SetOption(name, value);
    }
}

void TFFmpeg::AdoptInput(Integer AIndex) {
    std::unique_ptr<TAVProbe>& probe = FAVProbes.at(AIndex);
    if (!probe) probe = std::make_unique<TAVProbe>(nullptr);
    probe->SetFileHandle(Finput_files[AIndex]);
}

void TFFmpeg::AdaptToEncoders(Integer AIndex, bool ASizeGiven, bool AChannelsGiven) {
    AVFormatContext* oc = Foutput_files.at(AIndex);
    TOutputFileSetup& file = OutputSetup(oc);
    // The forced encoders of the streams before this output's.
    size_t first = 0;
    for (Integer i = 0; i < AIndex; ++i)
        if (Foutput_files[i] != oc) first += Foutput_files[i]->nb_streams;
    for (unsigned k = 0; k < oc->nb_streams; ++k) {
        const TOutputStreamSetup& stream = file.Streams[k];
        AVCodecContext* enc = stream.Codec;
        if (stream.StreamCopy || !enc) continue;
        const AVCodec* encoder = first + k < Foutput_codecs.size() && Foutput_codecs[first + k]
                                     ? Foutput_codecs[first + k]
                                     : avcodec::avcodec_find_encoder(enc->codec_id);
        if (!encoder) continue;
        const String where =
            Format(u"Output #%d, stream #%d: %s", {AIndex, static_cast<Integer>(k), encoder->name});
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO && !ASizeGiven && Fvfilters.empty()) {
            Integer width, height;
            if (!SizeForEncoder(encoder, enc, stream.CodecOptions, width, height)) continue;
            GetLogger()->Log(this, llInfo,
                             Format(u"%s: the picture of %dx%d is cropped to %dx%d for the encoder",
                                    {where, enc->width, enc->height, width, height}));
            // Cut from the right and the bottom; crops of the caller's own
            // leave the rest to the scaler.
            if (Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand == 0) {
                Fframe_rightBand = enc->width - width;
                Fframe_bottomBand = enc->height - height;
            }
            enc->width = width;
            enc->height = height;
        } else if (enc->codec_type == AVMEDIA_TYPE_AUDIO && !AChannelsGiven) {
            Integer channels;
            if (!ChannelsForEncoder(encoder, enc, stream.CodecOptions, channels)) continue;
            GetLogger()->Log(this, llInfo,
                             Format(u"%s: %d channels are mixed down to %d for the encoder",
                                    {where, enc->ch_layout.nb_channels, channels}));
            avutil::av_channel_layout_uninit(&enc->ch_layout);
            avutil::av_channel_layout_default(&enc->ch_layout, channels);
        }
    }
}

void TFFmpeg::ReleaseInputs() {
    for (const std::unique_ptr<TAVProbe>& probe : FAVProbes)
        if (probe && probe->FileHandle()) probe->SetFileHandle(nullptr);
}

// --- TFFmpegList ---

TFFmpegList::~TFFmpegList() {
    Clear();
}

Integer TFFmpegList::Add(std::unique_ptr<TFFmpeg> ATask) {
    FList.push_back(std::move(ATask));
    return Count() - 1;
}

void TFFmpegList::Clear() {
    // One at a time, the last first, so the list never holds a freed task.
    while (!FList.empty()) {
        std::unique_ptr<TFFmpeg> task = std::move(FList.back());
        FList.pop_back();
    }
}

void TFFmpegList::CheckIndex(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(u"List index out of bounds (%d)", {AIndex});
}

void TFFmpegList::Delete(Integer AIndex) {
    CheckIndex(AIndex);
    const std::unique_ptr<TFFmpeg> task = std::move(FList[AIndex]);
    FList.erase(FList.begin() + AIndex);
}

void TFFmpegList::Exchange(Integer AIndex1, Integer AIndex2) {
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    std::swap(FList[AIndex1], FList[AIndex2]);
}

TFFmpeg* TFFmpegList::Items(Integer AIndex) const {
    CheckIndex(AIndex);
    return FList[AIndex].get();
}

Integer TFFmpegList::IndexOf(const TObject* ATask) const {
    for (Integer i = 0; i < Count(); ++i)
        if (static_cast<const TObject*>(FList[i].get()) == ATask) return i;
    return -1;
}

void TFFmpegList::PauseAll() {
    for (const auto& task : FList)
        task->Pause();
}

void TFFmpegList::ResumeAll() {
    for (const auto& task : FList)
        task->Resume();
}

void TFFmpegList::StopAll(bool AWaitFor) {
    // Every task is asked before any is waited for: they stop together, and
    // none goes on converting while another one drains.
    for (const auto& task : FList)
        task->StopOrTerminate(false);
    if (!AWaitFor) return;
    for (const auto& task : FList)
        task->StopOrTerminate(true);
}

void TFFmpegList::SetPostHook(TPostHook AHook, bool AOn) {
    for (const auto& task : FList) {
        // Dropped after the lock: freeing a preview window waits for the GUI thread.
        std::shared_ptr<TPreviewer> detached;
        TCriticalSectionGuard guard(PostHookLock);
        TPostHooks hooks = task->PostHooks();
        if (AOn)
            hooks.Include(AHook);
        else
            hooks.Exclude(AHook);
        detached = task->DoSetPostHooks(hooks);
    }
}

void TFFmpegList::SetPreviewHook(bool AOn) {
    SetPostHook(phPreview, AOn);
}

void TFFmpegList::SetBitmapHook(bool AOn) {
    SetPostHook(phBitmap, AOn);
}

// --- TRunLock ---

void TRunLock::Enter() {
    std::unique_lock lock(FLock);
    const std::thread::id self = std::this_thread::get_id();
    if (FOwner != self) {
        const auto released = [this] { return FDepth == 0; };
        if (IsMainThread())
            WaitForCondition(lock, FReleased, released, INFINITE);
        else
            FReleased.wait(lock, released);
        FOwner = self;
    }
    ++FDepth;
}

void TRunLock::Leave() {
    std::lock_guard lock(FLock);
    if (--FDepth > 0) return;
    FOwner = std::thread::id();
    FReleased.notify_all();
}

// --- TCustomStrovix ---

// Terminates on their way to the GUI thread. Shared with the calls queued to
// deliver them, so a call that runs after the component has gone finds the
// queue cancelled instead of a freed component.
struct TCustomStrovix::TTerminateQueue {
    std::mutex Lock;
    std::deque<TTerminateInfo> Items;
    bool Cancelled = false;
};

TCustomStrovix::TCustomStrovix(TComponent* AOwner)
    : TFFBaseComponent(AOwner),
      FTerminateQueue(std::make_shared<TTerminateQueue>()),
      FAVProbe(std::make_unique<TAVProbe>(nullptr)) {}

TCustomStrovix::~TCustomStrovix() {
    // First, as the waits below run the GUI thread's pending calls.
    {
        std::lock_guard lock(FTerminateQueue->Lock);
        FTerminateQueue->Cancelled = true;
        FTerminateQueue->Items.clear();
    }
    RemoveQueuedEvents(this);
    {
        TRunLockGuard guard(FTerminateLock);
        FDestroying = true;
        FPendingTasks = 0;
    }
    // The workers end while the list still holds every task: they look their
    // task up in it until the end.
    for (Integer i = 0; i < FFFmpegList.Count(); ++i)
        FFFmpegList.Items(i)->Stop(false);
    for (Integer i = 0; i < FFFmpegList.Count(); ++i)
        FFFmpegList.Items(i)->Stop(true);
    FFFmpegList.Clear();
    // A handler still running on another thread is waited for.
    for (TCriticalSection* lock : {&FHookLock, &FPreviewLock, &FProgressLock}) {
        lock->Enter();
        lock->Leave();
    }
    ReleaseLibraries();
}

bool TCustomStrovix::AVLibLoaded() const {
    return LibLoader.Loaded(TranscoderLibraries);
}

bool TCustomStrovix::LoadAVLib(const TPathFileName& APath) {
    LibLoader.SetLibraryPath(APath);
    if (LibLoader.Load(TranscoderLibraries)) return true;
    FLastErrMsg = LibLoader.LastErrMsg();
    return false;
}

void TCustomStrovix::UnloadAVLib() {
    LibLoader.Unload(TranscoderLibraries);
}

void TCustomStrovix::HoldLibraries() {
    if (!FHoldsLibraries) FHoldsLibraries = LibLoader.Load(TranscoderLibraries);
}

void TCustomStrovix::ReleaseLibraries() {
    if (!FHoldsLibraries || FFFmpegList.Count() > 0) return;
    FHoldsLibraries = false;
    LibLoader.Unload(TranscoderLibraries);
}

void TCustomStrovix::CheckNotWorking(const String& AOperation) const {
    if (FWorking) throw Exception(u"Cannot %s while working.", {AOperation});
}

// --- Tasks ---

bool TCustomStrovix::OpenInput(TFFmpeg& ATask, const String& AFileName, PInputOptions AOptions) {
    const Integer index = ATask.nb_input_files();
    if (index >= ATask.MaxFiles()) {
        FLastErrMsg = Format(u"max input files %d reached", {ATask.MaxFiles()});
        return false;
    }
    if (AOptions) {
        if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
        ATask.InputOptions(index) = *AOptions;
        ATask.ApplyExtOptions(AOptions->ExtOptions, true);
        if (!AOptions->FileFormat.empty()) ATask.SetOption(u"f", AOptions->FileFormat);
        ATask.SetStartTime(AOptions->TimeStart);
        ATask.SetProgramID(AOptions->ProgramID);
    } else {
        ATask.ResetInputRecord(index);
    }
    if (!ATask.OptInputFile(AbsoluteName(AFileName))) {
        FLastErrMsg = ATask.LastErrMsg();
        ATask.ResetInputRecord(index);
        return false;
    }
    ATask.AdoptInput(index);
    // However long the list, a waiting task holds no descriptor.
    ATask.ParkInputFiles();
    return true;
}

Integer TCustomStrovix::AddTask(const String& AFileName, PInputOptions AOptions) {
    CheckNotWorking(u"AddTask");
    std::unique_ptr<TFFmpeg> task;
    try {
        // The engine would call into libraries that are not there.
        if (!AVLibLoaded()) throw Exception(u"libav not loaded.");
        task = std::make_unique<TFFmpeg>(FCustomMaxFiles);
        task->Reset();
        task->SetVerbose(FVerbose);
        TPostHooks hooks;
        if (FPreview) hooks.Include(phPreview);
        if (FPreviewBitmap) hooks.Include(phBitmap);
        task->SetPostHooks(hooks);
        task->SetOnPreviewBitmap([this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
            DoPreviewBitmap(Sender, ABitmap, AFrameNumber, APTS);
        });
        if (!OpenInput(*task, AFileName, AOptions)) return -1;
        task->SetOnProgress([this](TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                                   float AQuality, float ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                                   Int64 ATotalDuration) {
            DoProgress(Sender, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize,
                       ACurrentDuration, ATotalDuration);
        });
        task->SetOnTerminate([this](TObject* Sender) { DoTerminate(Sender); });
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        return -1;
    }
    HoldLibraries();
    return FFFmpegList.Add(std::move(task));
}

Integer TCustomStrovix::AddTask(const String& AFileName, const String& AExtOptions) {
    TInputOptions options;
    for (const TOptionLine& line : OptionLines(AExtOptions)) {
        if (line.first == u"timestart")
            options.TimeStart = TimeValue(line.second);
        else
            AppendLine(options.ExtOptions, line);
    }
    return AddTask(AFileName, &options);
}

Integer TCustomStrovix::AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions) {
    return AddTask(StreamName(AStream, APrivateData), AOptions);
}

bool TCustomStrovix::AddInputFile(Integer ATaskIndex, const String& AFileName, PInputOptions AOptions) {
    CheckNotWorking(u"AddInputFile");
    TFFmpeg& task = *FFFmpegList.Items(ATaskIndex);
    const Integer index = task.nb_input_files();
    try {
        return OpenInput(task, AFileName, AOptions);
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        if (index < task.MaxFiles()) task.ResetInputRecord(index);
        return false;
    }
}

bool TCustomStrovix::AddInputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions) {
    TInputOptions options;
    for (const TOptionLine& line : OptionLines(AExtOptions)) {
        if (line.first == u"timestart")
            options.TimeStart = TimeValue(line.second);
        else
            AppendLine(options.ExtOptions, line);
    }
    return AddInputFile(ATaskIndex, AFileName, &options);
}

bool TCustomStrovix::SetOutputFile(Integer ATaskIndex, const String& AFileName, POutputOptions AOptions) {
    CheckNotWorking(u"SetOutputFile");
    TFFmpeg& task = *FFFmpegList.Items(ATaskIndex);
    if (task.nb_output_files() >= task.MaxFiles()) {
        FLastErrMsg = Format(u"max output files %d reached", {task.MaxFiles()});
        return false;
    }
    bool done;
    try {
        done = DoSetOutputFile(task, AFileName, AOptions);
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        done = false;
    }
    // Setting up the streams may have read an input.
    task.ParkInputFiles();
    return done;
}

bool TCustomStrovix::DoSetOutputFile(TFFmpeg& ATask, const String& AFileName, POutputOptions AOptions) {
    const Integer index = ATask.nb_output_files();
    bool join = false;
    std::unique_ptr<TPendingOptions> pending;
    if (AOptions) {
        if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
        ATask.OutputOptions(index) = *AOptions;
        pending = std::make_unique<TPendingOptions>(*AOptions);
        ApplyTargetOptions(ATask, *AOptions);
        for (const char16_t* name : {u"acodec", u"vcodec", u"scodec", u"apre", u"vpre", u"spre"})
            pending->PassDefault(ATask, name);
        ATask.ApplyExtOptions(AOptions->ExtOptions, false);
        ApplyOutputMuxOptions(ATask, *AOptions);
        pending->PassDefault(ATask, u"s");
        pending->PassDefault(ATask, u"vf");
        if (AOptions->CustomHook)
            ATask.SetOnCustomHook([this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                         bool& AUpdate, bool& AStopHook) {
                DoCustomHook(Sender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
            });
        join = AOptions->Join;
    } else {
        ATask.ResetOutputRecord(index);
    }
    if (ATask.OptOutputFile(AbsoluteName(AFileName), join) < 0) {
        FLastErrMsg = ATask.LastErrMsg();
        ATask.ResetOutputRecord(index);
        return false;
    }
    if (AOptions) ApplyNewStreamOptions(ATask, *AOptions, *pending);
    // A size or channel count the task leaves to the input must suit the
    // encoder: the user who keeps the source's size expects a conversion.
    const bool target = AOptions && AOptions->TargetType != ttIgnore;
    const auto given = [&](const char16_t* AName) {
        if (!AOptions) return false;
        const std::vector<TOptionLine> lines = OptionLines(AOptions->ExtOptions);
        return std::any_of(lines.begin(), lines.end(), [&](const TOptionLine& ALine) {
            return ALine.first == AName && !ALine.second.empty();
        });
    };
    const bool sizeGiven = target || (pending && !pending->Default(u"s").empty());
    const bool channelsGiven = target || (AOptions && AOptions->AudioChannels > 0) || given(u"ac");
    ATask.AdaptToEncoders(ATask.nb_output_files() - 1, sizeGiven, channelsGiven);
    return true;
}

bool TCustomStrovix::SetOutputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions) {
    TOutputOptions options;
    for (const TOptionLine& line : OptionLines(AExtOptions)) {
        if (line.first == u"hook" || line.first == u"customhook")
            options.CustomHook = true;
        else if (line.first == u"join")
            options.Join = true;
        else if (line.first == u"timestart")
            options.TimeStart = TimeValue(line.second);
        else if (line.first == u"timelength")
            options.TimeLength = TimeValue(line.second);
        else
            AppendLine(options.ExtOptions, line);
    }
    return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomStrovix::SetOutputStream(Integer ATaskIndex, TStream* AStream, const String& APrivateData,
                                     POutputOptions AOptions) {
    return SetOutputFile(ATaskIndex, StreamName(AStream, APrivateData), AOptions);
}

void TCustomStrovix::ClearTasks() {
    if (FWorking && !FTerminated) throw Exception(u"Cannot ClearTasks while working.");
    FFFmpegList.Clear();
    ReleaseLibraries();
    FLastErrMsg.clear();
    TRunLockGuard guard(FTerminateLock);
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FTerminated = false;
    FThreadMode = false;
    FWorking = false;
}

void TCustomStrovix::Exchange(Integer ATaskIndex1, Integer ATaskIndex2) {
    CheckNotWorking(u"Exchange");
    FFFmpegList.Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomStrovix::RemoveTask(Integer ATaskIndex) {
    CheckNotWorking(u"RemoveTask");
    FFFmpegList.Delete(ATaskIndex);
    ReleaseLibraries();
}

TAVProbe* TCustomStrovix::GetTaskAVProbe(Integer ATaskIndex, Integer AFileIndex) const {
    return FFFmpegList.Items(ATaskIndex)->AVProbes(AFileIndex);
}

// --- The run ---

void TCustomStrovix::Start(Integer AThreadCount) {
    CheckNotWorking(u"StartTask");
    // The conversions read the inputs from now on.
    for (Integer i = 0; i < FFFmpegList.Count(); ++i)
        FFFmpegList.Items(i)->ReleaseInputs();
    {
        TRunLockGuard guard(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = FFFmpegList.Count();
        FTerminated = false;
        FThreadMode = AThreadCount > 0;
        FWorking = true;
        if (FPendingTasks == 0) {
            // Nothing would ever end the run otherwise.
            DoAllTerminated();
        } else if (FThreadMode) {
            for (Integer left = AThreadCount; left > 0 && StartNextTask(); --left) {
            }
        }
    }
    if (!FThreadMode) {
        while (StartNextTask())
            DeliverTerminates();
    }
    DeliverTerminates();
}

bool TCustomStrovix::StartNextTask() {
    TFFmpeg* task;
    {
        TRunLockGuard guard(FTerminateLock);
        if (FPendingTasks <= 0) return false;
        --FPendingTasks;
        task = FFFmpegList.Items(FCurrentTask++);
        task->ReportInterval = static_cast<Int64>(FProgressInterval) * 1000;
        if (FThreadMode) {
            // Resume, not Start: Resume of the component may have started it already.
            if (TThread* worker = task->StartConvert(true, FThreadPriority)) worker->Resume();
            return true;
        }
    }
    // Here, and outside the lock: a Stop from a handler must be able to end
    // the tasks that never started, whose terminates need the lock.
    task->StartConvert(false, FThreadPriority);
    return true;
}

void TCustomStrovix::Pause() {
    FFFmpegList.PauseAll();
}

void TCustomStrovix::Resume() {
    FFFmpegList.ResumeAll();
}

void TCustomStrovix::Stop(bool AWaitFor) {
    {
        TRunLockGuard guard(FTerminateLock);
        // Tasks that were never run would report ends of a run that is not there.
        if (!FWorking || FTerminated) return;
        FPendingTasks = 0;
    }
    // Without the lock: the ends of the tasks stopped here need it.
    FFFmpegList.StopAll(AWaitFor);
    DeliverTerminates();
}

void TCustomStrovix::DoTerminate(TObject* Sender) {
    TRunLockGuard guard(FTerminateLock);
    if (FDestroying) return;
    if (OnTerminate()) {
        const auto* task = static_cast<const TCustomFFmpeg*>(Sender);
        QueueTerminate(
            {FFFmpegList.IndexOf(Sender), task->Finished(), task->FatalException(), task->FatalMessage()});
    }
    ++FCompleteTasks;
    if (FPendingTasks < 1) {
        if (FCompleteTasks >= FFFmpegList.Count()) DoAllTerminated();
    } else if (FThreadMode) {
        StartNextTask();
    }
}

void TCustomStrovix::DoAllTerminated() {
    // Before the event: its handler may clear the tasks.
    FTerminated = true;
    if (OnTerminate()) QueueTerminate({-1, true, false, String()});
}

void TCustomStrovix::QueueTerminate(const TTerminateInfo& AInfo) {
    {
        std::lock_guard lock(FTerminateQueue->Lock);
        FTerminateQueue->Items.push_back(AInfo);
    }
    Queue(
        [this, queue = FTerminateQueue] {
            bool cancelled;
            {
                std::lock_guard lock(queue->Lock);
                cancelled = queue->Cancelled;
            }
            if (!cancelled) DeliverTerminates();
        },
        this);
}

void TCustomStrovix::DeliverTerminates() {
    if (!IsMainThread()) return;
    // A handler may free the component: the queue outlives it and says so.
    const std::shared_ptr<TTerminateQueue> queue = FTerminateQueue;
    for (;;) {
        TTerminateInfo info;
        {
            std::lock_guard lock(queue->Lock);
            if (queue->Cancelled || queue->Items.empty()) return;
            info = std::move(queue->Items.front());
            queue->Items.pop_front();
        }
        if (const TTerminateEvent handler = OnTerminate()) handler(this, info);
    }
}

// --- Events ---

void TCustomStrovix::Raise(const std::function<void()>& AMethod) {
    if (FTriggerEventInMainThread)
        CallInMainThread(AMethod);
    else
        AMethod();
}

void TCustomStrovix::DoProgress(TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                                float AQuality, float ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                                Int64 ATotalDuration) {
    if (!OnProgress() || FDestroying) return;
    TCriticalSectionGuard guard(FProgressLock);
    FProgressInfo = {FFFmpegList.IndexOf(Sender),
                     AFileIndex,
                     AFrameNumber,
                     AFPS,
                     AQuality,
                     ABitRate,
                     ACurrentSize,
                     ACurrentDuration,
                     ATotalDuration};
    Raise([this] {
        const TProgressEvent handler = OnProgress();
        if (handler && !FDestroying) handler(this, &FProgressInfo);
    });
}

void TCustomStrovix::DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
    if (!OnPreviewBitmap() || FDestroying) return;
    TCriticalSectionGuard guard(FPreviewLock);
    FPreviewInfo = {FFFmpegList.IndexOf(Sender), ABitmap, AFrameNumber, APTS};
    Raise([this] {
        const TPreviewBitmapEvent handler = OnPreviewBitmap();
        if (handler && !FDestroying) handler(this, FPreviewInfo);
    });
}

void TCustomStrovix::DoCustomHook(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                  bool& AUpdate, bool& AStopHook) {
    const TCustomHookEvent handler = OnCustomHook();
    if (!handler || FDestroying) {
        // Nobody looked at the picture: it goes on as it was.
        AUpdate = false;
        return;
    }
    TCriticalSectionGuard guard(FHookLock);
    FHookInfo = {FFFmpegList.IndexOf(Sender), ABitmap, AFrameNumber, APTS, AUpdate, AStopHook};
    TCanvas* canvas = ABitmap->Canvas();
    canvas->Lock();
    try {
        handler(this, &FHookInfo);
    } catch (...) {
        canvas->Unlock();
        throw;
    }
    canvas->Unlock();
    AUpdate = FHookInfo.Update;
    AStopHook = FHookInfo.StopHook;
}

// --- Properties ---

void TCustomStrovix::SetPreview(bool AValue) {
    FPreview = AValue;
    FFFmpegList.SetPreviewHook(AValue);
}

void TCustomStrovix::SetPreviewBitmap(bool AValue) {
    FPreviewBitmap = AValue;
    FFFmpegList.SetBitmapHook(AValue);
}

void TCustomStrovix::SetProgressInterval(Integer AValue) {
    FProgressInterval = std::max(AValue, 100);
}

namespace {

// What a form description may set on the converter.
const auto Registered = [] {
    RegisterEnum<TThreadPriority>(
        {u"tpIdle", u"tpLowest", u"tpLower", u"tpNormal", u"tpHigher", u"tpHighest", u"tpTimeCritical"});
    return RegisterClass<TStrovix, TComponent>()
        .Property(u"Preview", &TStrovix::Preview, &TStrovix::SetPreview)
        .Property(u"ProgressInterval", &TStrovix::ProgressInterval, &TStrovix::SetProgressInterval)
        .Property(u"ThreadPriority", &TStrovix::ThreadPriority, &TStrovix::SetThreadPriority)
        .Property(u"TriggerEventInMainThread", &TStrovix::TriggerEventInMainThread,
                  &TStrovix::SetTriggerEventInMainThread)
        .Event(u"OnCustomHook", &TStrovix::SetOnCustomHook)
        .Event(u"OnPreviewBitmap", &TStrovix::SetOnPreviewBitmap)
        .Event(u"OnProgress", &TStrovix::SetOnProgress)
        .Event(u"OnTerminate", &TStrovix::SetOnTerminate);
}();

}  // namespace
