#include "platform/base/streams.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "temp_folder.h"
#include "test_support.h"

namespace {

std::string ReadAll(TStream& AStream) {
    std::string out(static_cast<size_t>(AStream.Size() - AStream.Position()), '\0');
    AStream.ReadBuffer(out.data(), static_cast<Int64>(out.size()));
    return out;
}

void WriteText(TStream& AStream, std::string_view AText) {
    AStream.WriteBuffer(AText.data(), static_cast<Int64>(AText.size()));
}

class FileStreamTest : public TempFolderTest {};

}  // namespace

TEST(MemoryStream, ReadsWritesAndSeeksWithinItsBytes) {
    TMemoryStream stream;
    WriteText(stream, "hello world");
    EXPECT_EQ(stream.Size(), 11);
    EXPECT_EQ(stream.Position(), 11);
    EXPECT_EQ(stream.Seek(-5, soEnd), 6);
    EXPECT_EQ(ReadAll(stream), "world");
    stream.SetPosition(0);
    WriteText(stream, "HE");
    EXPECT_EQ(stream.Seek(1, soCurrent), 3);
    char buffer[20];
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 11), "HEllo world");
    // Before the start is refused; the position stays.
    EXPECT_EQ(stream.Seek(-1, soBeginning), -1);
    EXPECT_EQ(stream.Position(), 11);
    EXPECT_EQ(stream.Read(buffer, 4), 0);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream stream;
    stream.SetPosition(3);
    WriteText(stream, "x");
    stream.SetPosition(0);
    EXPECT_EQ(ReadAll(stream), std::string("\0\0\0x", 4));
}

TEST(MemoryStream, SetSizeKeepsTheContentAndPullsThePositionBack) {
    TMemoryStream stream;
    WriteText(stream, "abcdef");
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 3);
    stream.SetSize(5);
    stream.SetPosition(0);
    EXPECT_EQ(ReadAll(stream), std::string("abc\0\0", 5));
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Memory(), nullptr);
}

TEST(MemoryStream, PositionsAre64Bit) {
    TMemoryStream stream;
    const Int64 far = Int64{5} << 30;
    EXPECT_EQ(stream.Seek(far, soBeginning), far);
    EXPECT_EQ(stream.Position(), far);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryStream, BufferErrorsAreStreamErrors) {
    TMemoryStream stream;
    WriteText(stream, "ab");
    stream.SetPosition(0);
    char buffer[3];
    EXPECT_EQ(ErrorOf<EReadError>([&] { stream.ReadBuffer(buffer, 3); }), "Stream read error");
    stream.ReadBuffer(buffer, 0);  // nothing asked, nothing missing
}

TEST(MemoryStream, CopyFromTakesACountOrTheWholeSource) {
    TStringStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0), 10);
    target.SetPosition(0);
    EXPECT_EQ(ReadAll(target), "0123456789");

    source.SetPosition(2);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(&source, 3), 3);
    EXPECT_EQ(source.Position(), 5);
    part.SetPosition(0);
    EXPECT_EQ(ReadAll(part), "234");
    EXPECT_THROW(part.CopyFrom(&source, 6), EReadError);
}

TEST(MemoryStream, LoadsFromTheStartOfAnotherStream) {
    TStringStream source("payload");
    source.SetPosition(4);
    TMemoryStream stream;
    stream.LoadFromStream(&source);
    EXPECT_EQ(stream.Size(), 7);
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 7), "payload");
    TStringStream copy;
    stream.SaveToStream(&copy);
    EXPECT_EQ(copy.DataString(), "payload");
}

TEST_F(FileStreamTest, CreateWritesAndOpenReadsBack) {
    const String name = Path(u"视频.bin");
    {
        TFileStream file(name, fmCreate);
        WriteText(file, "abcdef");
        EXPECT_EQ(file.FileName(), name);
    }
    EXPECT_EQ(ReadBytes(name), "abcdef");
    TFileStream file(name, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(file.Size(), 6);
    EXPECT_EQ(file.Seek(2, soBeginning), 2);
    EXPECT_EQ(ReadAll(file), "cdef");
    // Read-only: writing fails as a stream write error.
    EXPECT_EQ(ErrorOf<EWriteError>([&] { WriteText(file, "x"); }), "Stream write error");
}

TEST_F(FileStreamTest, OpenForWritingKeepsTheContentAndCreateEmptiesIt) {
    const String name = Path(u"data.bin");
    WriteBytes(name, "abcdef");
    {
        TFileStream file(name, fmOpenWrite | fmShareExclusive);
        WriteText(file, "XY");
    }
    EXPECT_EQ(ReadBytes(name), "XYcdef");
    {
        TFileStream file(name, fmOpenReadWrite);
        file.Seek(0, soEnd);
        WriteText(file, "!");
        file.SetPosition(0);
        EXPECT_EQ(ReadAll(file), "XYcdef!");
    }
    { TFileStream file(name, fmCreate | fmShareDenyWrite); }
    EXPECT_EQ(ReadBytes(name), "");
}

TEST_F(FileStreamTest, SetSizeCutsOrExtendsTheFile) {
    const String name = Path(u"size.bin");
    TFileStream file(name, fmCreate);
    WriteText(file, "abcdef");
    file.SetSize(2);
    EXPECT_EQ(file.Size(), 2);
    EXPECT_EQ(file.Position(), 2);
    file.SetSize(4);
    file.SetPosition(0);
    EXPECT_EQ(ReadAll(file), std::string("ab\0\0", 4));
}

TEST_F(FileStreamTest, PositionsAndSizesAre64Bit) {
    TFileStream file(Path(u"sparse.bin"), fmCreate);
    const Int64 far = (Int64{1} << 32) + 5;
    EXPECT_EQ(file.Seek(far, soBeginning), far);
    WriteText(file, "z");
    EXPECT_EQ(file.Size(), far + 1);
}

TEST_F(FileStreamTest, ErrorsNameTheFileAndTheSystemsReason) {
    const String missing = Path(u"missing.bin");
    EXPECT_EQ(ErrorOf<EFOpenError>([&] { TFileStream file(missing, fmOpenRead); }),
              "Cannot open file \"" + FFolder + "/missing.bin\". No such file or directory");
    EXPECT_EQ(ErrorOf<EFCreateError>([&] { TFileStream file(Path(u"no/such/folder.bin"), fmCreate); }),
              "Cannot create file \"" + FFolder + "/no/such/folder.bin\". No such file or directory");
    // A folder is no file, even though Linux would open it for reading.
    EXPECT_EQ(ErrorOf<EFOpenError>([&] { TFileStream file(UTF8ToString(FFolder), fmOpenRead); }),
              "Cannot open file \"" + FFolder + "\". Is a directory");
    // Both are stream errors.
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EStreamError);
}

TEST_F(FileStreamTest, MemoryStreamLoadsAndSavesFiles) {
    const String name = Path(u"memory.bin");
    TStringStream source(std::string("\0\x01\xFF", 3));
    source.SaveToFile(name);
    EXPECT_EQ(ReadBytes(name), std::string("\0\x01\xFF", 3));
    TMemoryStream stream;
    stream.LoadFromFile(name);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(static_cast<const unsigned char*>(stream.Memory())[2], 0xFF);
    EXPECT_THROW(stream.LoadFromFile(Path(u"absent")), EFOpenError);
}
