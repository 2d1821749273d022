// File names for FFmpeg. A name that does not survive the ANSI code page is
// handed to FFmpeg wrapped as "unicode:utf8:" + its UTF-8 form, and such a name
// is read and written through an I/O context of our own over the file.
//
// FFmpeg no longer lets a program register a protocol, so the wrapped names
// are served by the open helpers below, which install the I/O context when
// they meet one. The ANSI code page is UTF-8 here, so a valid name never needs
// wrapping; wrapped names still work for callers that build them.
#pragma once

#include <cstdint>
#include <string_view>

extern "C" {
#include <libavformat/avformat.h>
}

#include "platform/base/types.h"

inline constexpr char UnicodeNamePrefix[] = "unicode:utf8:";
inline constexpr Integer UnicodeNamePrefixLength = 13;
// Protocol names that are never wrapped, between colons, compared with case.
inline constexpr char16_t KnownProtocolPrefixes[] = u":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";

// The protocol's open modes.
enum { URL_RDONLY = 0, URL_WRONLY = 1, URL_RDWR = 2 };

bool NeedsUnicodeWrap(std::u16string_view AName);
// Longer than the prefix and starting with it.
bool IsUnicodeWrapped(const char* AName);
AnsiString WrapUnicodeFileName(std::u16string_view AName);
// Decodes the name and cuts everything up to the second ':'.
String UnwrapUnicodeFileName(const char* AName);
// The name to hand to FFmpeg: wrapped when needed, else its ANSI form.
AnsiString FFmpegFileName(std::u16string_view AName);
// A name FFmpeg holds, back as a String.
String FFmpegFileNameToWide(const char* AName);

// Opens the file for URL_RDONLY, or creates or truncates it for URL_WRONLY or
// URL_RDWR. The file descriptor, or -1 with errno set.
int CreateUnicodeFile(std::u16string_view AName, Integer AFlags);

// One open file of the I/O context; its opaque pointer. A file that is only
// read may let go of its descriptor (parked) and take it up again, at the
// same offset, when it is next read or sought.
struct TUnicodeFile {
    int Handle = -1;
    String Name;              // the file itself, to take it up again
    Int64 ParkedOffset = -1;  // where a parked descriptor stood; -1 when not parked
};

// Unwraps the name and opens it. 0, or a negative error code (AVERROR(ENOENT)
// = -2 for a missing file).
Integer UnicodeOpen(TUnicodeFile& AContext, const char* AName, Integer AFlags);
// Opens the file of that very name.
Integer UnicodeOpenFile(TUnicodeFile& AContext, std::u16string_view AName, Integer AFlags);
// The I/O context's callbacks: bytes moved, AVERROR_EOF at the end of the
// file, a negative error code on failure. The seek answers the file size for
// AVSEEK_SIZE.
int UnicodeRead(void* AOpaque, uint8_t* ABuffer, int ASize);
int UnicodeWrite(void* AOpaque, uint8_t* ABuffer, int ASize);
int64_t UnicodeSeek(void* AOpaque, int64_t APos, int AWhence);
Integer UnicodeClose(TUnicodeFile& AContext);

// An I/O context over the file of a wrapped name. AFlags are AVIO_FLAG_READ,
// AVIO_FLAG_WRITE or both. 0, or a negative error code and no context.
Integer UnicodeIOOpen(AVIOContext** AContext, const char* AName, Integer AFlags);
// Flushes what was written, frees the context and closes its file.
void UnicodeIOClose(AVIOContext** AContext);
bool IsUnicodeIO(const AVIOContext* AContext);

// avformat_open_input that also opens wrapped names. On failure the context
// is freed and nil, as avformat_open_input leaves it.
Integer OpenInputFile(AVFormatContext** AContext, const char* AFileName, const AVInputFormat* AFormat,
                      AVDictionary** AOptions);
// OpenInputFile for an input that waits long before it is read: a regular
// file is read through an I/O context of our own too, so that it can let go
// of its descriptor meanwhile. Other names (protocols, devices, patterns)
// open as OpenInputFile opens them.
Integer OpenParkableInputFile(AVFormatContext** AContext, const char* AFileName, const AVInputFormat* AFormat,
                              AVDictionary** AOptions);
// The input's file lets go of its descriptor; the next read or seek takes it
// up again where it stood. Nothing for an input not read through our own I/O
// context, or one that cannot tell its offset.
void ParkInputFile(AVFormatContext* AContext);
// Takes a parked input's descriptor up again now: 0, or the open's error code.
Integer ResumeInputFile(AVFormatContext* AContext);
// avformat_close_input that also closes the I/O context of a wrapped name.
void CloseInputFile(AVFormatContext** AContext);
// avio_open2 for writing (an existing file is truncated) that also opens
// wrapped names. 0, or a negative error code and no context.
Integer OpenOutputIO(AVIOContext** AContext, const char* AFileName);
// Flushes and closes what OpenOutputIO opened.
void CloseOutputIO(AVIOContext** AContext);
