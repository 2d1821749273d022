// Streams of bytes: the abstract stream, file streams over system handles,
// memory streams and a string stream. Sizes and positions are 64-bit.
#pragma once

#include <string_view>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// TFileStream modes. The share flags are accepted and ignored: Linux has no
// share modes.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    // Up to ACount bytes; the number moved, 0 at the end or on a failure.
    virtual Int64 Read(void* ABuffer, Int64 ACount) = 0;
    virtual Int64 Write(const void* ABuffer, Int64 ACount) = 0;
    // The new position; -1 when the target is refused (before the start, or
    // the system says no), and then the position stays.
    virtual Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) = 0;

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 AValue) { Seek(AValue, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 AValue);

    // All ACount bytes or EReadError "Stream read error".
    void ReadBuffer(void* ABuffer, Int64 ACount);
    // All ACount bytes or EWriteError "Stream write error".
    void WriteBuffer(const void* ABuffer, Int64 ACount);
    // Copies ACount bytes from ASource's position; with ACount 0 (or less)
    // the whole of ASource from its start. Returns the number copied.
    Int64 CopyFrom(TStream* ASource, Int64 ACount);
};

// A stream over a system file descriptor that it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}

    int Handle() const { return FHandle; }
    Int64 Read(void* ABuffer, Int64 ACount) override;
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;
    // Cuts or extends the file and moves the position to its new end;
    // EOSError when the system refuses.
    void SetSize(Int64 AValue) override;

protected:
    int FHandle;
};

class TFileStream : public THandleStream {
public:
    // fmCreate creates or empties the file for reading and writing; otherwise
    // it opens an existing file (fmOpenRead, fmOpenWrite, fmOpenReadWrite).
    // Errors: EFCreateError "Cannot create file "%s". %s" and EFOpenError
    // "Cannot open file "%s". %s" with the full name and the system's reason.
    TFileStream(const String& AFileName, Word AMode);
    ~TFileStream() override;

    const String& FileName() const { return FFileName; }

private:
    String FFileName;
};

// A stream over a block of memory that a descendant provides.
class TCustomMemoryStream : public TStream {
public:
    Int64 Read(void* ABuffer, Int64 ACount) override;
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;
    Int64 Size() override { return FSize; }

    void* Memory() const { return FMemory; }
    // The whole content, whatever the position.
    void SaveToStream(TStream* AStream);
    void SaveToFile(const String& AFileName);

protected:
    void SetPointer(void* AMemory, Int64 ASize);

    void* FMemory = nullptr;
    Int64 FSize = 0;
    Int64 FPosition = 0;
};

// A growing memory stream; writing past the end fills any gap with zeros.
class TMemoryStream : public TCustomMemoryStream {
public:
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    // Keeps the content up to AValue (new bytes are zero); a position past
    // the new end moves to it.
    void SetSize(Int64 AValue) override;
    void Clear();
    // Replaces the content with the whole of AStream (read from its start).
    void LoadFromStream(TStream* AStream);
    void LoadFromFile(const String& AFileName);

private:
    void Resize(Int64 ASize);

    std::vector<Byte> FData;
};

// A memory stream over bytes given as a string.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(std::string_view AData = {});

    AnsiString DataString() const;
};
