// The conversion task component's unit: its time and folder routines and
// the records of its options and events.
#pragma once

#include <functional>
#include <string_view>

extern "C" {
#include <libavutil/avutil.h>
}

#include "platform/base/types.h"

double LocalTimeZoneBiasDays();
// Seconds since 1970 of a local date and time (standard time).
Int64 DateTimeToUnixTime(TDateTime ADateTime);
bool FolderExists(std::u16string_view AFolder);
// Creates the folder and every missing parent.
bool CreateFolderTree(std::u16string_view AFolder);

class TBitmap;
class TObject;

// Options of one input file of a task. A field left at its reset value does
// not reach the engine.
struct TInputOptions {
    String FileName;    // filled with the file name argument when empty
    String FileFormat;  // forced input format; empty = probe
    Int64 TimeStart = AV_NOPTS_VALUE;
    Integer ProgramID = -1;
    String ExtOptions;  // further engine options as name=value lines
    Integer Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// The norms an undecidable ntAuto falls back to: ntPAL or ntNTSC.
using TOptionNormDefault = TOptionNormType;

// Metadata of an output.
struct TStreamInfo {
    // 0 = the local time now, > 0 = that local time, < 0 = none.
    TDateTime TimeStamp = -1.0;
    Integer Year = -1;
    Integer Track = -1;
    AnsiString Title;
    AnsiString Author;
    AnsiString Copyright;
    AnsiString Comment;
    AnsiString Album;
    AnsiString Genre;
};

// Options of one output file of a task; integers -1, texts empty, times the
// no-value time stamp and flags false mean not set.
struct TOutputOptions {
    String FileName;  // filled with the file name argument when empty
    String FileExt;   // carried for the caller
    String FileFormat;
    Integer PacketSize = -1;
    Integer MuxRate = -1;
    float MuxDelay = -1.0f;    // seconds
    float MuxPreload = -1.0f;  // seconds
    String AudioCodec;         // "copy" = stream copy
    String AudioPreset;
    bool DisableAudio = false;
    Integer AudioVolume = -1;  // 256 = unchanged
    Integer AudioChannels = -1;
    Integer AudioSampleRate = -1;
    Integer AudioBitrate = -1;
    Integer AudioBitRateTolerance = -1;
    String AudioLanguage;
    Integer AudioSyncMethod = 0;
    String AudioTag;  // exactly 4 characters
    String VideoCodec;
    String VideoPreset;
    bool DisableVideo = false;
    String FrameRate;         // "25", "30000/1001"
    String FrameSize;         // width x height or an abbreviation
    String FrameAspectRatio;  // width:height or a number
    Integer CropTop = -1;
    Integer CropBottom = -1;
    Integer CropLeft = -1;
    Integer CropRight = -1;
    Integer GroupPictureSize = -1;
    Integer VideoBitrate = -1;
    Integer VideoMaxRate = -1;
    Integer VideoMinRate = -1;
    Integer VideoBitRateTolerance = -1;
    Integer VideoBufSize = -1;
    Integer VideoSyncMethod = -1;
    String VideoTag;  // exactly 4 characters
    String VideoFilters;
    String VideoLanguage;
    String SubtitleCodec;
    String SubtitlePreset;
    bool DisableSubtitle = false;
    String SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    Int64 TimeStart = AV_NOPTS_VALUE;
    Int64 TimeLength = AV_NOPTS_VALUE;  // also the expected duration for progress
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;  // OnCustomHook for every video frame
    bool Join = false;        // all inputs joined one after another into this output
    String ExtOptions;
    Integer Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void ResetInputOptions(TInputOptions& AOptions);
void ResetOutputOptions(TOutputOptions& AOptions);

struct TProgressInfo {
    Integer TaskIndex;
    Integer FileIndex;  // -1 in a task's final report
    Integer FrameNumber;
    Integer FPS;
    float Quality;
    float BitRate;  // kbit/s
    Int64 CurrentSize;
    Int64 CurrentDuration;
    Int64 TotalDuration;  // -1 unknown
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    Integer TaskIndex;  // -1: the whole run ended
    bool Finished;
    bool Exception;
    String ExceptionMsg;
};

struct THookInfo {
    Integer TaskIndex;
    TBitmap* Bitmap;  // the frame, 24 bits per pixel
    Integer FrameNumber;
    Int64 PTS;
    bool Update;    // in and out: true writes the bitmap back into the frame
    bool StopHook;  // in and out: true stops the hook for this task
};
using PHookInfo = THookInfo*;

struct TPreviewInfo {
    Integer TaskIndex;
    TBitmap* Bitmap;
    Integer FrameNumber;
    Int64 PTS;
};

// The records passed by pointer belong to the component and live for the call.
using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TCustomHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
