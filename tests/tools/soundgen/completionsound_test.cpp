// The completion sound the build writes beside the program: a WAVE file
// that a player takes as it is (16-bit mono PCM), about a second long,
// loud enough without clipping, starting and ending in silence.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

uint32_t Read(const std::string& ABytes, size_t AAt, int ASize) {
    uint32_t value = 0;
    for (int i = ASize - 1; i >= 0; --i)
        value = value << 8 | uint8_t(ABytes.at(AAt + size_t(i)));
    return value;
}

TEST(CompletionSound, IsAShortChimeInPlainWave) {
    std::ifstream in(VELQUA_SOUND, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Read(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Read(bytes, 16, 4), 16u);
    EXPECT_EQ(Read(bytes, 20, 2), 1u);  // PCM
    EXPECT_EQ(Read(bytes, 22, 2), 1u);  // mono
    const uint32_t rate = Read(bytes, 24, 4);
    EXPECT_EQ(Read(bytes, 28, 4), rate * 2);
    EXPECT_EQ(Read(bytes, 32, 2), 2u);
    EXPECT_EQ(Read(bytes, 34, 2), 16u);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    const uint32_t data = Read(bytes, 40, 4);
    ASSERT_EQ(data, bytes.size() - 44);

    const size_t count = data / 2;
    const double seconds = double(count) / rate;
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 2.0);
    int peak = 0;
    for (size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int16_t(Read(bytes, 44 + 2 * i, 2))));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 32000);
    const auto sample = [&](size_t AIndex) { return std::abs(int16_t(Read(bytes, 44 + 2 * AIndex, 2))); };
    EXPECT_LT(sample(0), 200);
    EXPECT_LT(sample(count - 1), 200);
}

}  // namespace
