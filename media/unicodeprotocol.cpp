#include "media/unicodeprotocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "platform/base/sysutils.h"

namespace {

constexpr int kIOBufferSize = 32768;

int FileHandle(void* AOpaque) {
    return static_cast<TUnicodeFile*>(AOpaque)->Handle;
}

// A parked file's descriptor back where it stood: 0, or the error code.
int Unpark(void* AOpaque) {
    auto& file = *static_cast<TUnicodeFile*>(AOpaque);
    if (file.ParkedOffset < 0) return 0;
    const int handle = CreateUnicodeFile(file.Name, URL_RDONLY);
    if (handle < 0) return AVERROR(errno);
    if (::lseek(handle, file.ParkedOffset, SEEK_SET) < 0) {
        const int error = AVERROR(errno);
        ::close(handle);
        return error;
    }
    file.Handle = handle;
    file.ParkedOffset = -1;
    return 0;
}

// Everything up to and including the first ':' goes; all of it stays when
// there is none.
String CutThroughColon(const String& AText) {
    const Integer at = Pos(u":", AText);
    return Copy(AText, at + 1, static_cast<Integer>(AText.size()));
}

}  // namespace

// ":" + name: see VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
bool NeedsUnicodeWrap(std::u16string_view AName) {
    const Integer at = Pos(u":", AName);
    if (at > 1 && Pos(u":" + Copy(AName, 1, at - 1) + u":", KnownProtocolPrefixes) > 0) return false;
    return UTF8ToString(StringToUTF8(AName)) != AName;
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

bool IsUnicodeWrapped(const char* AName) {
    return AName && std::strlen(AName) > UnicodeNamePrefixLength &&
           std::strncmp(AName, UnicodeNamePrefix, UnicodeNamePrefixLength) == 0;
}

AnsiString WrapUnicodeFileName(std::u16string_view AName) {
    return UnicodeNamePrefix + StringToUTF8(AName);
}

String UnwrapUnicodeFileName(const char* AName) {
    return CutThroughColon(CutThroughColon(UTF8ToString(AName ? AName : "")));
}

AnsiString FFmpegFileName(std::u16string_view AName) {
    // By value: callers on different threads never share a buffer, and no
    // length is too long.
    return NeedsUnicodeWrap(AName) ? WrapUnicodeFileName(AName) : StringToUTF8(AName);
}

String FFmpegFileNameToWide(const char* AName) {
    if (IsUnicodeWrapped(AName)) return UnwrapUnicodeFileName(AName);
    return UTF8ToString(AName ? AName : "");
}

int CreateUnicodeFile(std::u16string_view AName, Integer AFlags) {
    int flags;
    switch (AFlags) {
        case URL_RDONLY:
            flags = O_RDONLY;
            break;
        case URL_WRONLY:
            flags = O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case URL_RDWR:
            flags = O_RDWR | O_CREAT | O_TRUNC;
            break;
        default:
            errno = EINVAL;
            return -1;
    }
    int handle;
    do {
        handle = ::open(StringToUTF8(AName).c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

Integer UnicodeOpen(TUnicodeFile& AContext, const char* AName, Integer AFlags) {
    return UnicodeOpenFile(AContext, UnwrapUnicodeFileName(AName), AFlags);
}

Integer UnicodeOpenFile(TUnicodeFile& AContext, std::u16string_view AName, Integer AFlags) {
    const int handle = CreateUnicodeFile(AName, AFlags);
    if (handle < 0) return AVERROR(errno);
    AContext.Handle = handle;
    AContext.Name = String(AName);
    AContext.ParkedOffset = -1;
    return 0;
}

int UnicodeRead(void* AOpaque, uint8_t* ABuffer, int ASize) {
    if (const int error = Unpark(AOpaque); error < 0) return error;
    ssize_t done;
    do {
        done = ::read(FileHandle(AOpaque), ABuffer, static_cast<size_t>(ASize));
    } while (done < 0 && errno == EINTR);
    if (done < 0) return AVERROR(errno);
    // The I/O layer takes 0 for "try again", not for the end of the file.
    return done == 0 ? AVERROR_EOF : static_cast<int>(done);
}

int UnicodeWrite(void* AOpaque, uint8_t* ABuffer, int ASize) {
    size_t written = 0;
    while (written < static_cast<size_t>(ASize)) {
        const ssize_t done =
            ::write(FileHandle(AOpaque), ABuffer + written, static_cast<size_t>(ASize) - written);
        if (done < 0) {
            if (errno == EINTR) continue;
            return AVERROR(errno);
        }
        written += static_cast<size_t>(done);
    }
    return ASize;
}

int64_t UnicodeSeek(void* AOpaque, int64_t APos, int AWhence) {
    if (const int error = Unpark(AOpaque); error < 0) return error;
    const int handle = FileHandle(AOpaque);
    if (AWhence & AVSEEK_SIZE) {
        struct stat st;
        if (::fstat(handle, &st) != 0) return AVERROR(errno);
        return st.st_size;
    }
    const off_t position = ::lseek(handle, APos, AWhence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : position;
}

Integer UnicodeClose(TUnicodeFile& AContext) {
    const int handle = AContext.Handle;
    AContext.Handle = -1;
    AContext.ParkedOffset = -1;
    return handle < 0 ? 0 : ::close(handle);
}

namespace {

// An I/O context of our own over the file of that very name.
Integer FileIOOpen(AVIOContext** AContext, std::u16string_view AName, Integer AFlags) {
    *AContext = nullptr;
    const bool reading = AFlags & AVIO_FLAG_READ;
    const bool writing = AFlags & AVIO_FLAG_WRITE;
    if (!reading && !writing) return AVERROR(EINVAL);
    auto* file = new TUnicodeFile;
    const Integer result =
        UnicodeOpenFile(*file, AName, writing ? (reading ? URL_RDWR : URL_WRONLY) : URL_RDONLY);
    if (result < 0) {
        delete file;
        return result;
    }
    auto* buffer = static_cast<unsigned char*>(avutil::av_malloc(kIOBufferSize));
    if (buffer)
        *AContext = avformat::avio_alloc_context(buffer, kIOBufferSize, writing ? 1 : 0, file,
                                                 reading ? UnicodeRead : nullptr,
                                                 writing ? UnicodeWrite : nullptr, UnicodeSeek);
    if (!*AContext) {
        avutil::av_free(buffer);
        UnicodeClose(*file);
        delete file;
        return AVERROR(ENOMEM);
    }
    return 0;
}

}  // namespace

Integer UnicodeIOOpen(AVIOContext** AContext, const char* AName, Integer AFlags) {
    return FileIOOpen(AContext, UnwrapUnicodeFileName(AName), AFlags);
}

void UnicodeIOClose(AVIOContext** AContext) {
    AVIOContext* context = *AContext;
    if (!context) return;
    if (context->write_flag) avformat::avio_flush(context);
    auto* file = static_cast<TUnicodeFile*>(context->opaque);
    // The I/O layer may have replaced the buffer it was given.
    avutil::av_freep(&context->buffer);
    avformat::avio_context_free(AContext);
    UnicodeClose(*file);
    delete file;
}

bool IsUnicodeIO(const AVIOContext* AContext) {
    return AContext && (AContext->read_packet == UnicodeRead || AContext->write_packet == UnicodeWrite);
}

namespace {

Integer OpenInputThroughOwnIO(AVFormatContext** AContext, std::u16string_view AName, const char* AFileName,
                              const AVInputFormat* AFormat, AVDictionary** AOptions) {
    AVIOContext* io = nullptr;
    Integer result = FileIOOpen(&io, AName, AVIO_FLAG_READ);
    if (result >= 0 && !*AContext && !(*AContext = avformat::avformat_alloc_context()))
        result = AVERROR(ENOMEM);
    if (result < 0) {
        UnicodeIOClose(&io);
        avformat::avformat_free_context(*AContext);
        *AContext = nullptr;
        return result;
    }
    (*AContext)->pb = io;
    (*AContext)->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure the format context is freed, but a custom I/O context is ours.
    result = avformat::avformat_open_input(AContext, AFileName, AFormat, AOptions);
    if (result < 0) UnicodeIOClose(&io);
    return result;
}

bool IsRegularFile(const char* AFileName) {
    struct stat st;
    return ::stat(AFileName, &st) == 0 && S_ISREG(st.st_mode);
}

TUnicodeFile* ReadFileOf(const AVFormatContext* AContext) {
    if (!AContext || !(AContext->flags & AVFMT_FLAG_CUSTOM_IO) || !IsUnicodeIO(AContext->pb) ||
        AContext->pb->write_flag)
        return nullptr;
    return static_cast<TUnicodeFile*>(AContext->pb->opaque);
}

}  // namespace

Integer OpenInputFile(AVFormatContext** AContext, const char* AFileName, const AVInputFormat* AFormat,
                      AVDictionary** AOptions) {
    if (!IsUnicodeWrapped(AFileName))
        return avformat::avformat_open_input(AContext, AFileName, AFormat, AOptions);
    return OpenInputThroughOwnIO(AContext, UnwrapUnicodeFileName(AFileName), AFileName, AFormat, AOptions);
}

Integer OpenParkableInputFile(AVFormatContext** AContext, const char* AFileName, const AVInputFormat* AFormat,
                              AVDictionary** AOptions) {
    // A format that opens no file of its own (a device, a picture pattern)
    // takes the name as it comes.
    if (IsUnicodeWrapped(AFileName) || (AFormat && (AFormat->flags & AVFMT_NOFILE)) ||
        !IsRegularFile(AFileName))
        return OpenInputFile(AContext, AFileName, AFormat, AOptions);
    return OpenInputThroughOwnIO(AContext, UTF8ToString(AFileName), AFileName, AFormat, AOptions);
}

void ParkInputFile(AVFormatContext* AContext) {
    TUnicodeFile* file = ReadFileOf(AContext);
    if (!file || file->Handle < 0) return;
    const off_t offset = ::lseek(file->Handle, 0, SEEK_CUR);
    if (offset < 0) return;
    ::close(file->Handle);
    file->Handle = -1;
    file->ParkedOffset = offset;
}

Integer ResumeInputFile(AVFormatContext* AContext) {
    TUnicodeFile* file = ReadFileOf(AContext);
    return file ? Unpark(file) : 0;
}

void CloseInputFile(AVFormatContext** AContext) {
    if (!*AContext) return;
    AVIOContext* io = (*AContext)->pb;
    const bool ours = ((*AContext)->flags & AVFMT_FLAG_CUSTOM_IO) && IsUnicodeIO(io);
    avformat::avformat_close_input(AContext);
    if (ours) UnicodeIOClose(&io);
}

Integer OpenOutputIO(AVIOContext** AContext, const char* AFileName) {
    if (IsUnicodeWrapped(AFileName)) return UnicodeIOOpen(AContext, AFileName, AVIO_FLAG_WRITE);
    *AContext = nullptr;
    return avformat::avio_open2(AContext, AFileName, AVIO_FLAG_WRITE, nullptr, nullptr);
}

void CloseOutputIO(AVIOContext** AContext) {
    if (IsUnicodeIO(*AContext)) {
        UnicodeIOClose(AContext);
    } else {
        avformat::avio_closep(AContext);
    }
}
