// The built-in libx264 presets. They were written for the encoder's 2010
// options; libx264 has since taken most of them as options of its own, and
// "flags2" bits and partition flags as separate switches. The rows keep the
// classic settings and each text is written out in the current names.
#include <algorithm>

#include "media/ffmpeg.h"

namespace {

// -1: the preset has no such line.
struct TX264Row {
    const char* Name;
    int coder;
    const char* flags;
    const char* partitions;
    const char* me_method;
    int subq;
    int me_range;
    int sc_threshold;
    int b_strategy;
    int bf;
    int refs;
    int directpred;
    int trellis;
    const char* flags2;
    int wpredp;
    int cqp;
};

constexpr const char* P4 = "+parti8x8+parti4x4+partp8x8+partb8x8";
constexpr const char* M4 = "-parti8x8-parti4x4-partp8x8-partb8x8";
constexpr const char* P5 = "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8";
constexpr const char* M5 = "-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8";
constexpr const char* PL = "+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8";
constexpr const char* FIRST = "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip";
constexpr const char* FULL = "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip";

constexpr TX264Row kRows[] = {
    {"libx264-default", 1, "+loop", P4, "hex", 7, 16, 40, 1, 3, 3, 1, 1, "+mixed_refs+wpred+dct8x8+fastpskip",
     2, -1},
    {"libx264-fast", 1, "+loop", P4, "hex", 6, 16, 40, 1, 3, 2, 1, 1, FULL, 2, -1},
    {"libx264-fast_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FIRST, 2, -1},
    {"libx264-faster", 1, "+loop", P4, "hex", 4, 16, 40, 1, 3, 2, 1, 1,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", 1, -1},
    {"libx264-faster_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FIRST, 1, -1},
    {"libx264-fastfirstpass", 1, "+loop", M5, "dia", 2, 16, 40, 1, 3, 1, 3, 0,
     "-bpyramid-wpred-mixed_refs-dct8x8+fastpskip", 2, -1},
    {"libx264-hq", 1, "+loop", P4, "umh", 8, 16, 40, 2, 3, 4, 3, 1, "+wpred+mixed_refs+dct8x8+fastpskip", 2,
     -1},
    {"libx264-lossless_fast", 0, "+loop", "-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8", "hex", 3, 16, 40,
     1, -1, -1, 1, -1, "+fastpskip", 0, 0},
    {"libx264-lossless_max", 1, "+loop", PL, "esa", 8, 16, 40, 1, -1, 16, 1, -1,
     "+mixed_refs+dct8x8+fastpskip", 2, 0},
    {"libx264-lossless_medium", 1, "+loop", "-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "hex", 5, 16, 40,
     1, -1, -1, 1, -1, "+fastpskip", 2, 0},
    {"libx264-lossless_slow", 1, "+loop", PL, "umh", 6, 16, 40, 1, -1, 2, 1, -1, "+dct8x8+fastpskip", 2, 0},
    {"libx264-lossless_slower", 1, "+loop", PL, "umh", 8, 16, 40, 1, -1, 4, 1, -1,
     "+mixed_refs+dct8x8+fastpskip", 2, 0},
    {"libx264-lossless_ultrafast", 0, "+loop", M5, "dia", 0, 16, 40, 1, -1, -1, 1, -1, "+fastpskip", -1, 0},
    {"libx264-max", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 3, 16, 3, 2, "+wpred+mixed_refs+dct8x8-fastpskip",
     2, -1},
    {"libx264-medium", 1, "+loop", P4, "hex", 7, 16, 40, 1, 3, 3, 1, 1, FULL, 2, -1},
    {"libx264-medium_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FIRST, 2, -1},
    {"libx264-normal", 1, "+loop", P4, "hex", 6, 16, 40, 1, 3, 2, 3, 0, "+wpred+dct8x8+fastpskip", 2, -1},
    {"libx264-placebo", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 16, 16, 3, 2,
     "+bpyramid+mixed_refs+wpred+dct8x8-fastpskip", 2, -1},
    {"libx264-placebo_firstpass", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 16, 16, 3, 2,
     "+bpyramid+mixed_refs+wpred+dct8x8-fastpskip", 2, -1},
    {"libx264-slow", 1, "+loop", P4, "umh", 8, 16, 40, 2, 3, 5, 3, 1, FULL, 2, -1},
    {"libx264-slow_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 2, 3, 1, 3, 0, FIRST, 2, -1},
    {"libx264-slower", 1, "+loop", P5, "umh", 9, 16, 40, 2, 3, 8, 3, 2, FULL, 2, -1},
    {"libx264-slower_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 2, 3, 1, 3, 0, FIRST, 2, -1},
    {"libx264-slowfirstpass", 1, "+loop", P4, "hex", 6, 16, 40, 2, 3, 1, 3, 0, "+wpred+dct8x8+fastpskip", 2,
     -1},
    {"libx264-superfast", 1, "+loop", "+parti8x8+parti4x4-partp8x8-partb8x8", "dia", 1, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-superfast_firstpass", 1, "+loop", M4, "dia", 1, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-ultrafast", 0, "-loop", M4, "dia", 0, 16, 0, 0, 0, 1, 1, 0,
     "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-ultrafast_firstpass", 0, "-loop", M4, "dia", 0, 16, 0, 0, 0, 1, 1, 0,
     "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-veryfast", 1, "+loop", P4, "hex", 2, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-veryfast_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", 0, -1},
    {"libx264-veryslow", 1, "+loop", P5, "umh", 10, 24, 40, 2, 8, 16, 3, 2, FULL, 2, -1},
    {"libx264-veryslow_firstpass", 1, "+loop", M4, "dia", 2, 24, 40, 2, 8, 1, 3, 0, FIRST, 2, -1},
};

// The presets that do not share the common lines, already in current names.
const TOptionsPreset kOwnPresets[] = {
    {"libx264-baseline", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nwpredp=0"},
    {"libx264-ipod320",
     "coder=0\nbf=0\nweightb=0\n8x8dct=0\nlevel=13\nmaxrate=768000\nbufsize=3000000\nwpredp=0"},
    {"libx264-ipod640",
     "coder=0\nbf=0\nrefs=1\nweightb=0\n8x8dct=0\nlevel=30\nmaxrate=10000000\nbufsize=10000000\nwpredp=0"},
    {"libx264-main", "8x8dct=0"},
};

// A classic "flags2" bit and the encoder option that took it over, with the
// values for set and cleared.
struct TFlags2Option {
    const char* Flag;
    const char* Option;
    const char* On;
    const char* Off;
};

constexpr TFlags2Option kFlags2[] = {
    {"bpyramid", "b-pyramid", "normal", "none"},
    {"mixed_refs", "mixed-refs", "1", "0"},
    {"wpred", "weightb", "1", "0"},
    {"dct8x8", "8x8dct", "1", "0"},
    {"fastpskip", "fast-pskip", "1", "0"},
    {"mbtree", "mbtree", "1", "0"},
};

// "+a-b+c" as (sign, name) pairs in order.
template <typename F>
void ForEachFlag(const AnsiString& AFlags, F AAction) {
    size_t at = 0;
    while (at < AFlags.size()) {
        const bool on = AFlags[at] == '+';
        const size_t next = AFlags.find_first_of("+-", at + 1);
        AAction(on, AFlags.substr(at + 1, next == AnsiString::npos ? AnsiString::npos : next - at - 1));
        at = next == AnsiString::npos ? AFlags.size() : next;
    }
}

void AddLine(AnsiString& AText, const AnsiString& AName, const AnsiString& AValue) {
    if (!AText.empty()) AText += '\n';
    AText += AName + "=" + AValue;
}

void AddLine(AnsiString& AText, const char* AName, int AValue) {
    if (AValue >= 0) AddLine(AText, AName, std::to_string(AValue));
}

// The partitions switched on, as the encoder's list ("i8x8,p8x8"), or "none".
// "," + name: see VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
AnsiString PartitionList(const AnsiString& AFlags) {
    AnsiString list;
    ForEachFlag(AFlags, [&list](bool AOn, const AnsiString& AName) {
        // "parti8x8" -> "i8x8"
        if (AOn) list += (list.empty() ? "" : ",") + AName.substr(4);
    });
    return list.empty() ? "none" : list;
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

AnsiString PresetText(const TX264Row& ARow) {
    AnsiString text =
        "cmp=+chroma\ng=250\nkeyint_min=25\ni_qfactor=0.71\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4";
    AddLine(text, "coder", ARow.coder);
    AddLine(text, "flags", ARow.flags);
    AddLine(text, "partitions", PartitionList(ARow.partitions));
    AddLine(text, "me_method", ARow.me_method);
    AddLine(text, "subq", ARow.subq);
    AddLine(text, "me_range", ARow.me_range);
    AddLine(text, "sc_threshold", ARow.sc_threshold);
    AddLine(text, "b_strategy", ARow.b_strategy);
    AddLine(text, "bf", ARow.bf);
    AddLine(text, "refs", ARow.refs);
    AddLine(text, "direct-pred", ARow.directpred);
    AddLine(text, "trellis", ARow.trellis);
    ForEachFlag(ARow.flags2, [&text](bool AOn, const AnsiString& AFlag) {
        for (const TFlags2Option& option : kFlags2)
            if (AFlag == option.Flag) AddLine(text, option.Option, AOn ? option.On : option.Off);
    });
    AddLine(text, "wpredp", ARow.wpredp);
    AddLine(text, "qp", ARow.cqp);
    return text;
}

}  // namespace

const std::vector<TOptionsPreset>& BuiltinPresets() {
    static const std::vector<TOptionsPreset> presets = [] {
        std::vector<TOptionsPreset> list(std::begin(kOwnPresets), std::end(kOwnPresets));
        for (const TX264Row& row : kRows)
            list.push_back({row.Name, PresetText(row)});
        std::sort(list.begin(), list.end(),
                  [](const TOptionsPreset& A, const TOptionsPreset& B) { return A.Name < B.Name; });
        return list;
    }();
    return presets;
}
