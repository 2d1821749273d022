#include "skin/core/qxzlibcompress.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace {

// zlib's buffer codes are not failures: they say that no progress was
// possible this time.
void CheckDeflate(int ACode) {
    if (ACode < 0 && ACode != Z_BUF_ERROR) throw ECompressionError(u"error");
}

void CheckInflate(int ACode) {
    if (ACode < 0 && ACode != Z_BUF_ERROR) throw EDecompressionError(u"compression error");
}

constexpr int Levels[] = {0, 1, Z_DEFAULT_COMPRESSION, 9};

// zlib counts in 32 bits: larger requests go in chunks.
Int64 Chunk(Int64 ALeft) {
    return std::min<Int64>(ALeft, std::numeric_limits<uInt>::max());
}

}  // namespace

TCustomZlibStream::TCustomZlibStream(TStream* AStream)
    : FStrm(AStream), FStrmPos(AStream->Position()), FZRec(std::make_unique<z_stream>()) {}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::Progress() {
    if (OnProgress) OnProgress(this);
}

void TCustomZlibStream::Resume() {
    if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

TCompressionStream::TCompressionStream(TCompressionLevel ACompressionLevel, TStream* ADest)
    : TCustomZlibStream(ADest) {
    FZRec->next_out = FBuffer;
    FZRec->avail_out = BufferSize;
    CheckDeflate(deflateInit(FZRec.get(), Levels[ACompressionLevel]));
}

// A destructor cannot report: callers that need to know call Finish first.
TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (const std::exception&) {
    }
    deflateEnd(FZRec.get());
}

Int64 TCompressionStream::Write(const void* ABuffer, Int64 ACount) {
    const Byte* data = static_cast<const Byte*>(ABuffer);
    Resume();
    for (Int64 left = ACount; left > 0;) {
        const Int64 chunk = Chunk(left);
        FZRec->next_in = const_cast<Byte*>(data);
        FZRec->avail_in = static_cast<uInt>(chunk);
        while (FZRec->avail_in > 0) {
            CheckDeflate(deflate(FZRec.get(), Z_NO_FLUSH));
            if (FZRec->avail_out == 0) {
                FStrm->WriteBuffer(FBuffer, BufferSize);
                FZRec->next_out = FBuffer;
                FZRec->avail_out = BufferSize;
                FStrmPos = FStrm->Position();
                Progress();
            }
        }
        data += chunk;
        left -= chunk;
    }
    return std::max<Int64>(ACount, 0);
}

Int64 TCompressionStream::Read(void*, Int64) {
    throw ECompressionError(u"Invalid stream operation");
}

Int64 TCompressionStream::Seek(Int64 AOffset, TSeekOrigin AOrigin) {
    if (AOffset != 0 || AOrigin != soCurrent) throw ECompressionError(u"Invalid stream operation");
    return static_cast<Int64>(FZRec->total_in);
}

float TCompressionStream::CompressionRate() const {
    if (FZRec->total_in == 0) return 0;
    return static_cast<float>((1 - double(FZRec->total_out) / double(FZRec->total_in)) * 100);
}

void TCompressionStream::Finish() {
    if (FFinished) return;
    FFinished = true;
    FZRec->next_in = nullptr;
    FZRec->avail_in = 0;
    Resume();
    int code;
    while ((code = deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END && FZRec->avail_out == 0) {
        CheckDeflate(code);
        FStrm->WriteBuffer(FBuffer, BufferSize);
        FZRec->next_out = FBuffer;
        FZRec->avail_out = BufferSize;
    }
    CheckDeflate(code);
    if (FZRec->avail_out < BufferSize) FStrm->WriteBuffer(FBuffer, BufferSize - FZRec->avail_out);
}

TDecompressionStream::TDecompressionStream(TStream* ASource)
    : TCustomZlibStream(ASource), FStartPos(FStrmPos) {
    FZRec->next_in = FBuffer;
    FZRec->avail_in = 0;
    CheckInflate(inflateInit(FZRec.get()));
}

TDecompressionStream::~TDecompressionStream() {
    inflateEnd(FZRec.get());
}

// Stops at the end of the zlib data even when the source holds more bytes:
// inflate would make no progress past it.
Int64 TDecompressionStream::Read(void* ABuffer, Int64 ACount) {
    Byte* out = static_cast<Byte*>(ABuffer);
    Int64 done = 0;
    Resume();
    while (done < ACount && !FStreamEnd) {
        const Int64 chunk = Chunk(ACount - done);
        FZRec->next_out = out + done;
        FZRec->avail_out = static_cast<uInt>(chunk);
        while (FZRec->avail_out > 0) {
            if (FZRec->avail_in == 0) {
                const Int64 got = FStrm->Read(FBuffer, BufferSize);
                if (got <= 0) return done + chunk - FZRec->avail_out;
                FZRec->next_in = FBuffer;
                FZRec->avail_in = static_cast<uInt>(got);
                FStrmPos = FStrm->Position();
                Progress();
            }
            int code = inflate(FZRec.get(), Z_NO_FLUSH);
            // No dictionary is ever given: data that asks for one is foreign.
            if (code == Z_NEED_DICT) code = Z_DATA_ERROR;
            CheckInflate(code);
            if (code == Z_STREAM_END) {
                FStreamEnd = true;
                break;
            }
        }
        done += chunk - FZRec->avail_out;
    }
    return done;
}

Int64 TDecompressionStream::Write(const void*, Int64) {
    throw EDecompressionError(u"Invalid stream operation");
}

// A seek to where the stream already is, from the beginning, is a move of 0.
Int64 TDecompressionStream::Seek(Int64 AOffset, TSeekOrigin AOrigin) {
    const Int64 position = static_cast<Int64>(FZRec->total_out);
    Int64 distance;
    if (AOffset == 0 && AOrigin == soBeginning) {
        Restart();
        distance = 0;
    } else if (AOrigin == soCurrent && AOffset >= 0) {
        distance = AOffset;
    } else if (AOrigin == soBeginning && AOffset >= position) {
        distance = AOffset - position;
    } else {
        throw EDecompressionError(u"Invalid stream operation");
    }
    Byte scratch[BufferSize];
    while (distance > 0) {
        const Int64 got = Read(scratch, std::min<Int64>(distance, BufferSize));
        if (got == 0) break;
        distance -= got;
    }
    return static_cast<Int64>(FZRec->total_out);
}

// Back to where the compressed data began, which need not be the source's start.
void TDecompressionStream::Restart() {
    CheckInflate(inflateReset(FZRec.get()));
    FZRec->next_in = FBuffer;
    FZRec->avail_in = 0;
    FStreamEnd = false;
    FStrm->SetPosition(FStartPos);
    FStrmPos = FStartPos;
}

void CompressSkinStream(TMemoryStream* ASource, TMemoryStream* ADest) {
    ASource->SetPosition(0);
    TCompressionStream stream(qxzlib::clMax, ADest);
    stream.CopyFrom(ASource, 0);
    stream.Finish();
}

// A source that ends before the zlib data does is damaged, not short.
void DecompressSkinStream(TStream* ADest, TMemoryStream* ASource, Int64 ALimit) {
    ASource->SetPosition(0);
    TDecompressionStream stream(ASource);
    Byte chunk[4096];
    Int64 total = 0;
    for (Int64 count; (count = stream.Read(chunk, sizeof chunk)) > 0;) {
        total += count;
        if (ALimit >= 0 && total > ALimit)
            throw EDecompressionLimit(u"compression error: the data inflates too far");
        ADest->WriteBuffer(chunk, count);
    }
    if (!stream.FStreamEnd) throw EDecompressionError(u"compression error");
}
