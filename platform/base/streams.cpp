#include "platform/base/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/base/fileutils.h"
#include "platform/base/ustring.h"

namespace {

// One system call moves at most this much; larger counts loop.
constexpr Int64 kMaxChunk = Int64{1} << 30;

// System calls may move less than asked: repeats ACall until ACount bytes
// moved, the end came or a failure; answers how many moved.
template <typename TPtr, typename TCall>
Int64 Transfer(TPtr ABuffer, Int64 ACount, TCall ACall) {
    Int64 done = 0;
    while (done < ACount) {
        const ssize_t n = ACall(ABuffer + done, static_cast<size_t>(std::min(ACount - done, kMaxChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

// The name an error message shows: full, unless there is none.
String ShownName(const String& AFileName) {
    return AFileName.empty() ? AFileName : ExpandFileName(AFileName);
}

int OpenFlags(Word AMode) {
    switch (AMode & 3) {
        case fmOpenWrite:
            return O_WRONLY;
        case fmOpenReadWrite:
            return O_RDWR;
        default:
            return O_RDONLY;
    }
}

}  // namespace

Int64 TStream::Size() {
    const Int64 position = Seek(0, soCurrent);
    const Int64 size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* ABuffer, Int64 ACount) {
    if (ACount != 0 && Read(ABuffer, ACount) != ACount) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* ABuffer, Int64 ACount) {
    if (ACount != 0 && Write(ABuffer, ACount) != ACount) throw EWriteError(u"Stream write error");
}

Int64 TStream::CopyFrom(TStream* ASource, Int64 ACount) {
    if (ACount <= 0) {
        ASource->SetPosition(0);
        ACount = ASource->Size();
    }
    const Int64 total = ACount;
    std::vector<Byte> buffer(static_cast<size_t>(std::min<Int64>(ACount, 0xF000)));
    while (ACount > 0) {
        const Int64 n = std::min<Int64>(ACount, static_cast<Int64>(buffer.size()));
        ASource->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        ACount -= n;
    }
    return total;
}

Int64 THandleStream::Read(void* ABuffer, Int64 ACount) {
    return Transfer(static_cast<char*>(ABuffer), ACount,
                    [this](char* AAt, size_t ASize) { return ::read(FHandle, AAt, ASize); });
}

Int64 THandleStream::Write(const void* ABuffer, Int64 ACount) {
    return Transfer(static_cast<const char*>(ABuffer), ACount,
                    [this](const char* AAt, size_t ASize) { return ::write(FHandle, AAt, ASize); });
}

Int64 THandleStream::Seek(Int64 AOffset, TSeekOrigin AOrigin) {
    const int whence = AOrigin == soBeginning ? SEEK_SET : AOrigin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, AOffset, whence);
}

void THandleStream::SetSize(Int64 AValue) {
    if (Seek(AValue, soBeginning) < 0 || ::ftruncate(FHandle, AValue) != 0) RaiseLastOSError();
}

TFileStream::TFileStream(const String& AFileName, Word AMode) : THandleStream(-1), FFileName(AFileName) {
    const AnsiString name = StringToUTF8(AFileName);
    if ((AMode & fmCreate) == fmCreate) {
        FHandle = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0) {
            const int error = errno;
            throw EFCreateError(u"Cannot create file \"%s\". %s",
                                {ShownName(AFileName), SysErrorMessage(error)});
        }
        return;
    }
    FHandle = ::open(name.c_str(), OpenFlags(AMode) | O_CLOEXEC);
    int error = FHandle < 0 ? errno : 0;
    struct stat st;
    // A folder opens for reading on Linux, but it is no file.
    if (FHandle >= 0 && ::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        error = EISDIR;
    }
    if (FHandle < 0)
        throw EFOpenError(u"Cannot open file \"%s\". %s", {ShownName(AFileName), SysErrorMessage(error)});
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

Int64 TCustomMemoryStream::Read(void* ABuffer, Int64 ACount) {
    if (ACount <= 0 || FPosition >= FSize) return 0;
    const Int64 n = std::min(ACount, FSize - FPosition);
    // memmove: a stream may be read into its own memory.
    std::memmove(ABuffer, static_cast<const Byte*>(FMemory) + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

Int64 TCustomMemoryStream::Seek(Int64 AOffset, TSeekOrigin AOrigin) {
    const Int64 base = AOrigin == soBeginning ? 0 : AOrigin == soCurrent ? FPosition : FSize;
    const Int64 target = base + AOffset;
    if (target < 0) return -1;
    FPosition = target;
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* AStream) {
    AStream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const String& AFileName) {
    TFileStream file(AFileName, fmCreate);
    SaveToStream(&file);
}

void TCustomMemoryStream::SetPointer(void* AMemory, Int64 ASize) {
    FMemory = AMemory;
    FSize = ASize;
}

void TMemoryStream::Resize(Int64 ASize) {
    try {
        FData.resize(static_cast<size_t>(ASize));
    } catch (const std::bad_alloc&) {
        throw EStreamError(u"Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError(u"Out of memory while expanding memory stream");
    }
    SetPointer(FData.empty() ? nullptr : FData.data(), ASize);
}

Int64 TMemoryStream::Write(const void* ABuffer, Int64 ACount) {
    if (ACount <= 0) return 0;
    const Int64 end = FPosition + ACount;
    if (end > FSize) Resize(end);
    std::memmove(FData.data() + FPosition, ABuffer, static_cast<size_t>(ACount));
    FPosition = end;
    return ACount;
}

void TMemoryStream::SetSize(Int64 AValue) {
    Resize(std::max<Int64>(AValue, 0));
    if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* AStream) {
    AStream->SetPosition(0);
    const Int64 count = AStream->Size();
    SetSize(count);
    AStream->ReadBuffer(FMemory, count);
}

void TMemoryStream::LoadFromFile(const String& AFileName) {
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

TStringStream::TStringStream(std::string_view AData) {
    Write(AData.data(), static_cast<Int64>(AData.size()));
    FPosition = 0;
}

AnsiString TStringStream::DataString() const {
    return FSize > 0 ? AnsiString(static_cast<const char*>(FMemory), static_cast<size_t>(FSize))
                     : AnsiString();
}
