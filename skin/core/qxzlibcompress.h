// zlib streams in the stream model: a write-only stream that deflates into
// a target stream, a read-only one that inflates from a source stream, and
// the two whole-stream calls that compressed skins use.
#pragma once

#include <memory>

#include "platform/base/classes.h"
#include "platform/base/streams.h"

struct z_stream_s;

VELQUA_DECLARE_EXCEPTION(EZlibError, Exception);
VELQUA_DECLARE_EXCEPTION(ECompressionError, EZlibError);
VELQUA_DECLARE_EXCEPTION(EDecompressionError, EZlibError);
// The data would inflate past the limit the caller set.
VELQUA_DECLARE_EXCEPTION(EDecompressionLimit, EDecompressionError);

// Out of the global namespace, where the toolkit's colours clNone and
// clDefault live.
namespace qxzlib {
enum TCompressionLevel { clNone, clFastest, clDefault, clMax };
}  // namespace qxzlib
using qxzlib::TCompressionLevel;

// Data moves through one buffer of 8,192 bytes. The underlying stream is not
// owned; when someone else moves it, the adapter goes back to where it
// stopped before it continues.
class TCustomZlibStream : public TStream {
public:
    // After each buffer exchanged with the underlying stream.
    TNotifyEvent OnProgress;

protected:
    static constexpr int BufferSize = 8192;

    explicit TCustomZlibStream(TStream* AStream);
    ~TCustomZlibStream() override;
    void Progress();
    // Puts the underlying stream back where this adapter stopped.
    void Resume();

    TStream* FStrm;
    Int64 FStrmPos;
    // zlib's state with its counters total_in and total_out.
    std::unique_ptr<z_stream_s> FZRec;
    Byte FBuffer[BufferSize];
};

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel ACompressionLevel, TStream* ADest);
    // Finishes the data when Finish was not called; failures can no longer
    // be reported then.
    ~TCompressionStream() override;

    // Deflates ACount bytes; returns ACount.
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    // ECompressionError "Invalid stream operation".
    Int64 Read(void* ABuffer, Int64 ACount) override;
    // Only (0, soCurrent): the bytes written so far.
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;
    // Percent saved: (1 - out / in) x 100; 0 before anything was written.
    float CompressionRate() const;

    // Writes the end of the zlib data; the target is complete afterwards.
    // Raises ECompressionError or the target's own error; later calls do
    // nothing.
    void Finish();

private:
    bool FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream* ASource);
    ~TDecompressionStream() override;

    // Up to ACount bytes: fewer once the zlib data has ended or the source
    // has no more. Corrupt data raises EDecompressionError "compression
    // error"; what was read before stays in ABuffer.
    Int64 Read(void* ABuffer, Int64 ACount) override;
    // EDecompressionError "Invalid stream operation".
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    // Forward only (by reading), or back to the start with (0, soBeginning);
    // anything else raises "Invalid stream operation". Returns the bytes
    // read so far.
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;

private:
    friend void DecompressSkinStream(TStream* ADest, TMemoryStream* ASource, Int64 ALimit);

    void Restart();

    // Where the compressed data began in the source.
    Int64 FStartPos;
    bool FStreamEnd = false;
};

// Source, from its start, deflated at the highest level into Dest.
void CompressSkinStream(TMemoryStream* ASource, TMemoryStream* ADest);
// Source, from its start, inflated into Dest. Data that ends before the zlib
// stream does raises EDecompressionError "compression error"; data that
// inflates beyond ALimit bytes, when ALimit is not negative, its
// EDecompressionLimit "compression error: the data inflates too far".
void DecompressSkinStream(TStream* ADest, TMemoryStream* ASource, Int64 ALimit = -1);
