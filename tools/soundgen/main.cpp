// soundgen FILE.wav: writes the completion sound, a short rising chime of
// three bell-like notes, as 16-bit mono PCM. The same bytes every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
constexpr double Seconds = 1.2;

struct TNote {
    double Start;      // seconds
    double Frequency;  // Hz
};

// C5, E5, G5, each ringing on under the next.
constexpr TNote Notes[] = {{0.0, 523.25}, {0.16, 659.26}, {0.32, 783.99}};

std::vector<double> Chime() {
    std::vector<double> samples(size_t(SampleRate * Seconds), 0.0);
    for (const TNote& note : Notes) {
        for (size_t i = size_t(note.Start * SampleRate); i < samples.size(); ++i) {
            const double t = double(i) / SampleRate - note.Start;
            // A quick rise against clicks, then a bell's decay; the octave
            // dies faster, which makes it ring rather than beep.
            const double rise = std::min(1.0, t / 0.008);
            const double phase = 2 * std::numbers::pi * note.Frequency * t;
            samples[i] +=
                rise * (std::exp(-t * 4.5) * std::sin(phase) + 0.3 * std::exp(-t * 9) * std::sin(2 * phase));
        }
    }
    // The last 50 ms fade to silence, so the sound ends without a click.
    const size_t fade = SampleRate / 20;
    for (size_t i = 0; i < fade; ++i)
        samples[samples.size() - 1 - i] *= double(i) / double(fade);
    double peak = 0;
    for (double sample : samples)
        peak = std::max(peak, std::abs(sample));
    for (double& sample : samples)
        sample *= 0.7 / peak;
    return samples;
}

void Put(std::string& AOut, uint32_t AValue, int ABytes) {
    for (int i = 0; i < ABytes; ++i)
        AOut += char((AValue >> (8 * i)) & 0xFF);
}

std::string WaveFile(const std::vector<double>& ASamples) {
    const uint32_t data = uint32_t(ASamples.size() * 2);
    std::string out = "RIFF";
    Put(out, 36 + data, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2);  // PCM
    Put(out, 1, 2);  // mono
    Put(out, SampleRate, 4);
    Put(out, SampleRate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, data, 4);
    for (double sample : ASamples)
        Put(out, uint32_t(uint16_t(int16_t(std::lround(sample * 32767)))), 2);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen FILE.wav\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << WaveFile(Chime());
    if (!out.flush()) {
        std::fprintf(stderr, "soundgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
