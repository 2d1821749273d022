// The prober: opens one media file, or adopts a format context somebody else
// opened, and describes it; TAVProbe also decodes single video frames, seeks,
// steps by key frame and copies the picture into a bitmap. One thread at a
// time uses a prober; it starts no threads.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "media/entrypoints.h"
#include "media/ffbasecomponent.h"
#include "media/ffutils.h"
#include "media/myutils.h"

class TBitmap;

struct TFileStreamInfo {
    Int64 StartTime;  // microseconds, -1 unknown
    Int64 Duration;   // microseconds, -1 unknown
    Integer BitRate;  // bits per second
    Int64 TimeStamp;  // Unix seconds
    Integer Year;
    Integer Track;
    String Title;
    String Author;
    String Copyright;
    String Comment;
    String Album;
    String Genre;
};

// What audio and video streams have in common. Start times and durations in
// the stream's time base (AV_NOPTS_VALUE when unknown), the scaled ones in
// microseconds (-1 when unknown).
struct TCodecStreamInfo {
    String Language;
    String CodecName;
    Int64 StartTime;
    Int64 StartTimeScaled;
    Int64 Duration;
    Int64 DurationScaled;
    Integer BitRate;
};

struct TAudioStreamInfo : TCodecStreamInfo {
    Integer Channels;
    Integer SampleRate;
    AVSampleFormat SampleFormat;
};

struct TVideoStreamInfo : TCodecStreamInfo {
    Integer Height;
    Integer Width;
    float AspectRatio;
    AVPixelFormat PixFmt;
    AVRational FrameRate;
};

struct TSubtitleStreamInfo {
    String Language;
    String CodecName;
};

// FFmpeg's picture types 0 to 7.
enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

struct TFrameInfo {
    AVPixelFormat PixFmt;
    Integer Width;
    Integer Height;
    bool IsKeyFrame;
    TPictureType PictureType;
    Int64 PTS;          // microseconds from the stream's start
    Int64 OriginalDTS;  // the packet's own values, stream time base
    Int64 OriginalPTS;
    Integer StreamIndex;
    Int64 Position;      // the reader's byte position before the frame's packets
    bool Ready;          // a picture is stored
    TAVPicture Picture;  // planes in Buffer
    uint8_t* Buffer;     // av_malloc, never shrinks
    Integer Size;
};

// Shown names of ID3v2 frame names in the description.
struct TMetadataName {
    const char* Key;
    const char* Shown;
};
extern const TMetadataName Id3v2MetadataNames[22];

class TCustomAVProbe : public TFFBaseComponent {
public:
    explicit TCustomAVProbe(TComponent* AOwner);
    ~TCustomAVProbe() override;

    bool AVLibLoaded() const;
    // Sets the loader's library folder and loads the prober's libraries.
    bool LoadAVLib(const TPathFileName& APath);
    void UnloadAVLib();

    // Opens AFileName, with the input format AFormatName when not empty.
    // Raises when a library is missing; false with LastErrMsg otherwise.
    bool LoadFile(const String& AFileName, const String& AFormatName);
    virtual void CloseFile();
    bool IsAudioStream(Integer AStreamIndex);
    bool IsVideoStream(Integer AStreamIndex);
    bool IsSubtitleStream(Integer AStreamIndex);

    AVFormatContext* FileHandle() const { return FFileHandle; }
    // Adopts a context opened elsewhere (nil closes): it is described but
    // never closed, sought or decoded here.
    virtual void SetFileHandle(AVFormatContext* AValue);
    String FileName() const;
    Int64 FileSize() const { return FFileSize; }
    const String& ForceFormat() const { return FForceFormat; }
    String FormatName() const;
    String FormatLongName() const;
    Integer StreamCount() const { return FStreamCount; }
    Integer ProgramCount() const { return FProgramCount; }
    Integer AudioStreamCount() const { return FAudioStreamCount; }
    Integer VideoStreamCount() const { return FVideoStreamCount; }
    Integer SubtitleStreamCount() const { return FSubtitleStreamCount; }
    Integer FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    Integer FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    Integer FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    TFileStreamInfo FileStreamInfo();
    // The multi-line description; empty without a file.
    String FileInfoText();
    // A negative index takes the first stream of the type.
    TAudioStreamInfo GetAudioStreamInfo(Integer AStreamIndex);
    TVideoStreamInfo GetVideoStreamInfo(Integer AStreamIndex);
    TSubtitleStreamInfo GetSubtitleStreamInfo(Integer AStreamIndex);
    TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
    TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
    TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
    const String& LastErrMsg() const { return FLastErrMsg; }

protected:
    // Recomputes the file facts from the context.
    virtual void RefreshFileInfo();
    // Logs AText through the logger at the FFmpeg level ALevel and keeps it in
    // LastErrMsg.
    void ReportError(Integer ALevel, const String& AText);
    void CheckLibraries() const;
    // Keeps the libraries loaded while this prober holds anything of theirs.
    void HoldLibraries();

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    String FLastErrMsg;
    String FForceFormat;
    Int64 FFileSize = -1;
    Integer FStreamCount = -1;
    Integer FProgramCount = -1;
    Integer FAudioStreamCount = -1;
    Integer FVideoStreamCount = -1;
    Integer FSubtitleStreamCount = -1;
    Integer FFirstAudioStreamIndex = -1;
    Integer FFirstVideoStreamIndex = -1;
    Integer FFirstSubtitleStreamIndex = -1;

private:
    // Index of a stream of AType for the stream-record getters, or -1 with the
    // reason reported.
    Integer StreamOfType(Integer AStreamIndex, AVMediaType AType, const char16_t* ATypeName);
    bool IsStreamType(Integer AStreamIndex, AVMediaType AType);

    bool FHoldsLibraries = false;
};

class TAVProbe : public TCustomAVProbe {
public:
    explicit TAVProbe(TComponent* AOwner);
    ~TAVProbe() override;

    void CloseFile() override;
    // APTS in microseconds from the start, or a byte position with sfByte.
    // Raises on an adopted context.
    bool Seek(Int64 APTS, TSeekFlags ASeekFlags);
    // Decodes the next picture of the stream (below 0: the stream decoded
    // last, else the first video stream). Raises on an adopted context.
    bool Decode(Integer AStreamIndex);
    bool DecodeNextKeyFrame(Integer AStreamIndex);
    bool DecodePreviousFrame(Integer AStreamIndex);
    bool DecodePreviousKeyFrame(Integer AStreamIndex);
    // ABitmap gets the decoded picture as 24 bits per pixel.
    bool CopyToBitmap(TBitmap* ABitmap);

    // The property EOF; C's EOF macro takes that name.
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    // The reader's byte position, -1 when there is none.
    Int64 Position();

protected:
    void RefreshFileInfo() override;

private:
    // A loaded file of our own; raises for an adopted one.
    bool HasOwnFile();
    bool CanSeek();
    bool IsStillImage() const;
    bool SelectDecodeStream(Integer AStreamIndex);
    bool OpenDecoder(Integer AStreamIndex);
    void CloseDecoder();
    bool StorePicture(const AVFrame* AFrame, Int64 APosition, Int64 APacketDTS, Int64 APacketPTS);
    void ResetPicture();
    Int64 ReaderPosition() const;
    Int64 FramePeriod() const;

    AVCodecContext* FCodec = nullptr;
    Integer FCodecStream = -1;  // the stream FCodec decodes
    bool FDraining = false;     // the reader ended: the decoder gives what it holds
    TRGBConvertContext FRGBContext;
    Integer FSeekIndex = -1;
    Int64 FStartTime = -1;
    Integer FDecodeIndex = -1;
    bool FEOF = false;
    TFrameInfo FPicture;
    Int64 FLastPTS = AV_NOPTS_VALUE;
    Int64 FLastPos = -1;
    AVFrame* FFrame = nullptr;
    AVPacket* FPacket = nullptr;
};
