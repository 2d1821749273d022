#include "skin/core/qxzlibcompress.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <string>

namespace {

std::string Bytes(TMemoryStream& AStream) {
    return std::string(static_cast<const char*>(AStream.Memory()), size_t(AStream.Size()));
}

void Put(TMemoryStream& AStream, const std::string& ABytes) {
    AStream.WriteBuffer(ABytes.data(), Int64(ABytes.size()));
}

// Bytes that compress a little: text with random words.
std::string Sample(size_t ASize) {
    std::mt19937 random(3);
    std::string text;
    while (text.size() < ASize)
        text += "skin" + std::to_string(random() % 1000) + (random() % 3 ? " " : "\n");
    text.resize(ASize);
    return text;
}

std::string Compressed(const std::string& APayload) {
    TMemoryStream source, dest;
    Put(source, APayload);
    CompressSkinStream(&source, &dest);
    return Bytes(dest);
}

std::string Decompressed(const std::string& AData) {
    TMemoryStream source, dest;
    Put(source, AData);
    DecompressSkinStream(&dest, &source);
    return Bytes(dest);
}

TEST(ZlibStreams, RoundTripsAtTheHighestLevel) {
    for (size_t size : {size_t(0), size_t(1), size_t(8192), size_t(100000)}) {
        const std::string payload = Sample(size);
        const std::string data = Compressed(payload);
        ASSERT_GE(data.size(), 2u);
        EXPECT_EQ('\x78', data[0]);
        EXPECT_EQ('\xDA', data[1]);
        EXPECT_EQ(payload, Decompressed(data)) << size;
        // A plain zlib stream that zlib itself reads.
        std::string check(size + 1, '\0');
        uLongf length = uLongf(check.size());
        ASSERT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(check.data()), &length,
                                   reinterpret_cast<const Bytef*>(data.data()), uLong(data.size())));
        EXPECT_EQ(size, length);
    }
}

TEST(ZlibStreams, WholeStreamCallsStartFromTheBeginning) {
    TMemoryStream source, packed, unpacked;
    Put(source, "abcabcabc");
    CompressSkinStream(&source, &packed);
    EXPECT_EQ(9, source.Position());
    CompressSkinStream(&source, &packed);
    packed.SetPosition(3);
    DecompressSkinStream(&unpacked, &packed);
    EXPECT_EQ("abcabcabc", Bytes(unpacked));
}

TEST(ZlibStreams, CompressionPositionAndRate) {
    TMemoryStream dest;
    TCompressionStream stream(qxzlib::clMax, &dest);
    EXPECT_EQ(0, stream.Position());
    EXPECT_FLOAT_EQ(0, stream.CompressionRate());
    const std::string zeros(10000, '\0');
    EXPECT_EQ(10000, stream.Write(zeros.data(), 10000));
    EXPECT_EQ(10000, stream.Position());
    stream.Finish();
    stream.Finish();
    // Everything written went out: the rate counts what zlib produced.
    EXPECT_FLOAT_EQ(float((1 - double(dest.Size()) / 10000) * 100), stream.CompressionRate());
    EXPECT_GT(stream.CompressionRate(), 90);
}

TEST(ZlibStreams, InvalidOperationsOfEachDirection) {
    TMemoryStream dest;
    TCompressionStream compression(qxzlib::clFastest, &dest);
    char byte = 0;
    EXPECT_THROW(compression.Read(&byte, 1), ECompressionError);
    EXPECT_THROW(compression.Seek(1, soCurrent), ECompressionError);
    EXPECT_THROW(compression.Seek(0, soBeginning), ECompressionError);
    try {
        compression.Seek(0, soEnd);
    } catch (const EZlibError& e) {
        EXPECT_EQ(u"Invalid stream operation", e.Message());
    }

    TMemoryStream source;
    Put(source, Compressed("hello"));
    source.SetPosition(0);
    TDecompressionStream decompression(&source);
    EXPECT_THROW(decompression.Write(&byte, 1), EDecompressionError);
    EXPECT_THROW(decompression.Seek(0, soEnd), EDecompressionError);
    EXPECT_THROW(decompression.Seek(-1, soCurrent), EDecompressionError);
}

TEST(ZlibStreams, ProgressAfterEachBufferExchanged) {
    const std::string payload = Sample(200000);
    TMemoryStream dest;
    int written = 0;
    {
        TCompressionStream stream(qxzlib::clNone, &dest);
        stream.OnProgress = [&](TObject* Sender) {
            EXPECT_EQ(&stream, Sender);
            ++written;
        };
        stream.Write(payload.data(), Int64(payload.size()));
        EXPECT_EQ(int(dest.Size() / 8192), written);
    }
    dest.SetPosition(0);
    TDecompressionStream stream(&dest);
    int read = 0;
    stream.OnProgress = [&](TObject*) { ++read; };
    std::string back(payload.size(), '\0');
    EXPECT_EQ(Int64(back.size()), stream.Read(back.data(), Int64(back.size())));
    EXPECT_EQ(payload, back);
    EXPECT_EQ(int((dest.Size() + 8191) / 8192), read);
}

TEST(ZlibStreams, TheTargetMovedBetweenWritesIsPutBack) {
    const std::string first = Sample(30000), second = Sample(50000);
    TMemoryStream dest;
    Put(dest, "head");
    {
        TCompressionStream stream(qxzlib::clNone, &dest);
        stream.Write(first.data(), Int64(first.size()));
        dest.SetPosition(1);
        stream.Write(second.data(), Int64(second.size()));
        dest.SetPosition(0);
    }
    EXPECT_EQ("head", Bytes(dest).substr(0, 4));
    TMemoryStream packed;
    Put(packed, Bytes(dest).substr(4));
    EXPECT_EQ(first + second, Decompressed(Bytes(packed)));
}

TEST(ZlibStreams, SeeksMoveForwardOrBackToWhereTheDataBegan) {
    const std::string payload = Sample(30000);
    TMemoryStream source;
    Put(source, "prefix");
    Put(source, Compressed(payload));
    source.SetPosition(6);
    TDecompressionStream stream(&source);
    char buffer[40];
    ASSERT_EQ(40, stream.Read(buffer, 40));
    EXPECT_EQ(100, stream.Seek(100, soBeginning));
    ASSERT_EQ(10, stream.Read(buffer, 10));
    EXPECT_EQ(payload.substr(100, 10), std::string(buffer, 10));
    EXPECT_THROW(stream.Seek(20, soBeginning), EDecompressionError);
    EXPECT_EQ(110, stream.Seek(110, soBeginning));
    EXPECT_EQ(20110, stream.Seek(20000, soCurrent));
    EXPECT_EQ(20110, stream.Position());
    // Back to the start of the compressed data, not of the source.
    EXPECT_EQ(0, stream.Seek(0, soBeginning));
    ASSERT_EQ(10, stream.Read(buffer, 10));
    EXPECT_EQ(payload.substr(0, 10), std::string(buffer, 10));
    // Beyond the end the seek stops there.
    EXPECT_EQ(30000, stream.Seek(99999, soCurrent));
}

// Reads stop at the end of the zlib data, also with bytes after it.
TEST(ZlibStreams, TrailingBytesAfterTheEndAreLeftAlone) {
    const std::string data = Compressed("payload") + "trailing bytes";
    EXPECT_EQ("payload", Decompressed(data));
    TMemoryStream source;
    Put(source, data);
    source.SetPosition(0);
    TDecompressionStream stream(&source);
    char buffer[64];
    EXPECT_EQ(7, stream.Read(buffer, 64));
    EXPECT_EQ(0, stream.Read(buffer, 64));
    EXPECT_EQ(0, stream.Read(buffer, 64));
}

TEST(ZlibStreams, DamagedDataRaisesCompressionError) {
    const std::string good = Compressed(Sample(5000));
    std::string corrupt = good;
    corrupt[2] ^= 0x40;
    corrupt[10] ^= 0xFF;
    std::string wrongHeader = good;
    wrongHeader[0] = 0x12;
    // A header that asks for a preset dictionary.
    const std::string dictionary = std::string("\x78\xF9\x00\x00\x00\x01", 6) + good.substr(2);
    for (const std::string& data : {corrupt, wrongHeader, dictionary, good.substr(0, good.size() / 2),
                                    good.substr(0, good.size() - 1), std::string()}) {
        try {
            Decompressed(data);
            ADD_FAILURE() << "no error for " << data.size() << " bytes";
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(u"compression error", e.Message());
        }
    }
}

// A truncated source reads short; the whole-stream call refuses it.
TEST(ZlibStreams, ATruncatedSourceReadsShort) {
    const std::string payload = Sample(5000);
    const std::string data = Compressed(payload);
    TMemoryStream source;
    Put(source, data.substr(0, data.size() - 4));
    source.SetPosition(0);
    TDecompressionStream stream(&source);
    std::string back(6000, '\0');
    EXPECT_EQ(5000, stream.Read(back.data(), 6000));
    EXPECT_EQ(payload, back.substr(0, 5000));
    EXPECT_EQ(0, stream.Read(back.data(), 6000));
}

}  // namespace
