#include "platform/gdi/quantizer.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

constexpr int HistogramBits = 5;
constexpr int HistogramSize = 1 << (3 * HistogramBits);

uint32_t RGBOf(const Byte* APixel) {
    return APixel[2] << 16 | APixel[1] << 8 | APixel[0];
}

int Channel(uint32_t AColor, int AIndex) {
    return (AColor >> (16 - 8 * AIndex)) & 0xFF;
}

// Returns false when the picture has more than AMaxColors colours.
bool ExactPalette(const TImageData& AImage, size_t AMaxColors, TQuantizedImage& AResult) {
    std::unordered_map<uint32_t, Byte> seen;
    AResult.Indices.resize(static_cast<size_t>(AImage.Width()) * AImage.Height());
    size_t i = 0;
    for (Integer y = 0; y < AImage.Height(); ++y) {
        const Byte* p = AImage.ScanLine(y);
        for (Integer x = 0; x < AImage.Width(); ++x, p += 4) {
            uint32_t c = RGBOf(p);
            auto found = seen.find(c);
            if (found == seen.end()) {
                if (seen.size() == AMaxColors) return false;
                found = seen.emplace(c, static_cast<Byte>(AResult.Palette.size())).first;
                AResult.Palette.push_back(c);
            }
            AResult.Indices[i++] = found->second;
        }
    }
    return true;
}

struct TBin {
    uint32_t Count = 0;
    uint64_t Sum[3] = {0, 0, 0};
    Byte Cell[3] = {0, 0, 0};
};

struct TBox {
    size_t Begin, End;  // range of the bin list
    uint64_t Count;
    int Axis;
    int Extent;
};

TBox MakeBox(const std::vector<TBin>& ABins, size_t ABegin, size_t AEnd) {
    TBox box{ABegin, AEnd, 0, 0, -1};
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (size_t i = ABegin; i < AEnd; ++i) {
        box.Count += ABins[i].Count;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min<int>(lo[c], ABins[i].Cell[c]);
            hi[c] = std::max<int>(hi[c], ABins[i].Cell[c]);
        }
    }
    for (int c = 0; c < 3; ++c) {
        if (hi[c] - lo[c] > box.Extent) {
            box.Extent = hi[c] - lo[c];
            box.Axis = c;
        }
    }
    return box;
}

std::vector<uint32_t> MedianCut(const TImageData& AImage, size_t AMaxColors) {
    std::vector<TBin> histogram(HistogramSize);
    for (Integer y = 0; y < AImage.Height(); ++y) {
        const Byte* p = AImage.ScanLine(y);
        for (Integer x = 0; x < AImage.Width(); ++x, p += 4) {
            constexpr int shift = 8 - HistogramBits;
            int r = p[2] >> shift, g = p[1] >> shift, b = p[0] >> shift;
            TBin& bin = histogram[(r << (2 * HistogramBits)) | (g << HistogramBits) | b];
            bin.Count++;
            bin.Sum[0] += p[2];
            bin.Sum[1] += p[1];
            bin.Sum[2] += p[0];
            bin.Cell[0] = static_cast<Byte>(r);
            bin.Cell[1] = static_cast<Byte>(g);
            bin.Cell[2] = static_cast<Byte>(b);
        }
    }
    std::vector<TBin> bins;
    for (const TBin& bin : histogram)
        if (bin.Count) bins.push_back(bin);

    std::vector<TBox> boxes{MakeBox(bins, 0, bins.size())};
    while (boxes.size() < AMaxColors) {
        // Split where many pixels spread widest.
        auto best = boxes.end();
        uint64_t bestScore = 0;
        for (auto it = boxes.begin(); it != boxes.end(); ++it) {
            uint64_t score = it->Count * static_cast<uint64_t>(it->Extent);
            if (it->End - it->Begin > 1 && score > bestScore) {
                bestScore = score;
                best = it;
            }
        }
        if (best == boxes.end()) break;
        TBox box = *best;
        std::sort(bins.begin() + box.Begin, bins.begin() + box.End,
                  [axis = box.Axis](const TBin& A, const TBin& B) { return A.Cell[axis] < B.Cell[axis]; });
        size_t split = box.Begin + 1;
        for (uint64_t count = bins[box.Begin].Count; split < box.End - 1 && 2 * count < box.Count; ++split)
            count += bins[split].Count;
        *best = MakeBox(bins, box.Begin, split);
        boxes.push_back(MakeBox(bins, split, box.End));
    }

    std::vector<uint32_t> palette;
    for (const TBox& box : boxes) {
        uint64_t sum[3] = {0, 0, 0};
        for (size_t i = box.Begin; i < box.End; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += bins[i].Sum[c];
        uint32_t colour = 0;
        for (int c = 0; c < 3; ++c)
            colour = colour << 8 | static_cast<uint32_t>((sum[c] + box.Count / 2) / box.Count);
        palette.push_back(colour);
    }
    return palette;
}

// Nearest palette entry per cell of 6 bits a channel, found when first asked.
class TNearest {
public:
    explicit TNearest(const std::vector<uint32_t>& APalette) : FPalette(APalette), FCache(1 << 18, -1) {}

    Byte Find(int AR, int AG, int AB) {
        int key = (AR >> 2) << 12 | (AG >> 2) << 6 | (AB >> 2);
        if (FCache[key] < 0) FCache[key] = Search((AR & ~3) + 2, (AG & ~3) + 2, (AB & ~3) + 2);
        return static_cast<Byte>(FCache[key]);
    }

private:
    int Search(int AR, int AG, int AB) const {
        int best = 0, bestDistance = INT32_MAX;
        for (size_t i = 0; i < FPalette.size(); ++i) {
            int dr = Channel(FPalette[i], 0) - AR, dg = Channel(FPalette[i], 1) - AG,
                db = Channel(FPalette[i], 2) - AB;
            int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    const std::vector<uint32_t>& FPalette;
    std::vector<int16_t> FCache;
};

void Dither(const TImageData& AImage, TQuantizedImage& AResult) {
    const Integer w = AImage.Width();
    TNearest nearest(AResult.Palette);
    // Errors in sixteenths, one slot of margin on each side.
    std::vector<std::array<int, 3>> current(w + 2), next(w + 2);
    AResult.Indices.resize(static_cast<size_t>(w) * AImage.Height());
    for (Integer y = 0; y < AImage.Height(); ++y) {
        std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
        const Byte* p = AImage.ScanLine(y);
        for (Integer x = 0; x < w; ++x, p += 4) {
            int wanted[3];
            for (int c = 0; c < 3; ++c)
                wanted[c] = std::clamp(p[2 - c] + current[x + 1][c] / 16, 0, 255);
            Byte index = nearest.Find(wanted[0], wanted[1], wanted[2]);
            AResult.Indices[static_cast<size_t>(y) * w + x] = index;
            for (int c = 0; c < 3; ++c) {
                int error = wanted[c] - Channel(AResult.Palette[index], c);
                current[x + 2][c] += error * 7;
                next[x][c] += error * 3;
                next[x + 1][c] += error * 5;
                next[x + 2][c] += error;
            }
        }
        std::swap(current, next);
    }
}

}  // namespace

TQuantizedImage QuantizeImage(const TImageData& AImage, Integer AMaxColors) {
    size_t maxColors = static_cast<size_t>(std::clamp(AMaxColors, 2, 256));
    TQuantizedImage result;
    if (ExactPalette(AImage, maxColors, result)) return result;
    result.Palette = MedianCut(AImage, maxColors);
    Dither(AImage, result);
    return result;
}
