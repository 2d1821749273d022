#include <vector>

#include "app/keyedrows.h"
#include "app/presetrows.h"
#include "app/settingscatalogue.h"

namespace {

// The lists the main window's catalogue lacks; the others are the items of
// one of its lists under the dialog's own label.
const char16_t* const kSz112To480N13[] = {u"112*96",  u"128*96",  u"160*112", u"160*120", u"176*144",
                                          u"192*144", u"208*176", u"220*176", u"320*208", u"320*224",
                                          u"320*240", u"352*288", u"480*360"};
const char16_t* const kVr8To600N17[] = {u"8 kbps",   u"16 kbps",  u"24 kbps",  u"32 kbps",  u"48 kbps",
                                        u"56 kbps",  u"64 kbps",  u"80 kbps",  u"96 kbps",  u"128 kbps",
                                        u"160 kbps", u"192 kbps", u"256 kbps", u"320 kbps", u"384 kbps",
                                        u"512 kbps", u"600 kbps"};
const char16_t* const kFr1To25N8[] = {u"1", u"2", u"3", u"5", u"10", u"12", u"15", u"25"};
const char16_t* const kAr48To128N8[] = {u"48 kbps", u"56 kbps",  u"64 kbps",  u"80 kbps",
                                        u"96 kbps", u"112 kbps", u"116 kbps", u"128 kbps"};
const char16_t* const kAr32To128N9[] = {u"32 kbps", u"48 kbps",  u"56 kbps",  u"64 kbps", u"80 kbps",
                                        u"96 kbps", u"112 kbps", u"116 kbps", u"128 kbps"};
const char16_t* const kSr8000To48000N7[] = {u"8000",  u"11025", u"16000", u"22050",
                                            u"32000", u"44100", u"48000"};

enum TSettingsListId : Integer {
    SzKeepTo2560N28,
    Sz112To320N11,
    SzNone,
    SzKeepTo2560N11,
    Sz128To640N7,
    Sz128To640N12,
    Sz128To720N13,
    Sz320To720N5,
    Sz112To480N13,
    Sz128To1280N8,
    Sz128To704N9,
    Sz1280To1920N3,
    Sz640To2560N16,
    Sz704To1920N4,
    Sz128To1920N11,
    Sz128To1920N12,
    Sz160To720N5,
    Sz320To640N2,
    SzKeepTo1024N19,
    Vr128To2000N8,
    Vr128To2000N9a,
    Vr128To2000N9b,
    Vr8To384N15,
    Vr128To2000N9c,
    VrNone,
    Vr816To4000N8,
    Vr192To2000N9,
    Vr216To1500N7,
    Vr8To600N17,
    FrKeepTo30N12,
    Fr1To15N7,
    FrNone,
    FrKeepTo30N4,
    FrKeepTo30N10,
    Fr15To2997N3,
    Fr1To25N8,
    Ar16To320N17,
    Ar5To12N6,
    Ar475To122N8,
    Ar64To192N5,
    Ar48To128N8,
    Ar32To128N9,
    Sr11025To48000N6,
    Sr8000N1,
    Sr22050To48000N4,
    Sr11025To44100N3,
    Sr8000To48000N7,
    MdKeepTo4720N5,
    MdKeepTo43N2,
    MdNone
};

struct TLabelledList {
    const char16_t* Label;
    TPresetParameter Parameter;
    const char16_t* CatalogueList;  // nil: Items
    std::span<const char16_t* const> Items = {};
};

// By TSettingsListId.
// clang-format off
const TLabelledList kLabelledLists[] = {
    {u"\"保持原分辨率\" … \"2560*1600\" (28)", ppFrameSize, u"R1"},
    {u"\"112*96\" … \"320*240\" (11)", ppFrameSize, u"R2"},
    {u"\"该格式无视频\" (1)", ppFrameSize, u"R3"},
    {u"\"保持原分辨率\" … \"2560*1600\" (11)", ppFrameSize, u"R4"},
    {u"\"128*96\" … \"640*480\" (7)", ppFrameSize, u"R8"},
    {u"\"128*96\" … \"640*480\" (12)", ppFrameSize, u"R5"},
    {u"\"128*96\" … \"720*406\" (13)", ppFrameSize, u"R6"},
    {u"\"320*240\" … \"720*480\" (5)", ppFrameSize, u"R7"},
    {u"\"112*96\" … \"480*360\" (13)", ppFrameSize, nullptr, kSz112To480N13},
    {u"\"128*96\" … \"1280*720\" (8)", ppFrameSize, u"R9"},
    {u"\"128*96\" … \"704*576\" (9)", ppFrameSize, u"R10"},
    {u"\"1280*720\" … \"1920*1080\" (3)", ppFrameSize, u"R11"},
    {u"\"640*480\" … \"2560*1600\" (16)", ppFrameSize, u"R12"},
    {u"\"704*576\" … \"1920*1080\" (4)", ppFrameSize, u"R13"},
    {u"\"128*96\" … \"1920*1080\" (11)", ppFrameSize, u"R14"},
    {u"\"128*96\" … \"1920*1080\" (12)", ppFrameSize, u"R15"},
    {u"\"160*120\" … \"720*480\" (5)", ppFrameSize, u"R16"},
    {u"\"320*240\" … \"640*480\" (2)", ppFrameSize, u"R17"},
    {u"\"保持原分辨率\" … \"1024*768\" (19)", ppFrameSize, u"R18"},
    {u"\"128 kbps\" … \"2000 kbps\" (8)", ppVideoBitrate, u"V1"},
    {u"\"128 kbps\" … \"2000 kbps\" (9) a", ppVideoBitrate, u"V2"},
    {u"\"128 kbps\" … \"2000 kbps\" (9) b", ppVideoBitrate, u"V3"},
    {u"\"8 kbps\" … \"384 kbps\" (15)", ppVideoBitrate, u"V4"},
    {u"\"128 kbps\" … \"2000 kbps\" (9) c", ppVideoBitrate, u"V5"},
    {u"\"无视频\" (1)", ppVideoBitrate, u"V6"},
    {u"\"816 kbps\" … \"4000 kbps\" (8)", ppVideoBitrate, u"V7"},
    {u"\"192 kbps\" … \"2000 kbps\" (9)", ppVideoBitrate, u"V8"},
    {u"\"216 kbps\" … \"1500 kbps\" (7)", ppVideoBitrate, u"V9"},
    {u"\"8 kbps\" … \"600 kbps\" (17)", ppVideoBitrate, nullptr, kVr8To600N17},
    {u"\"保持原帧速率\" … \"30.00\" (12)", ppFrameRate, u"F1"},
    {u"\"1\" … \"15\" (7)", ppFrameRate, u"F2"},
    {u"\"无视频\" (1)", ppFrameRate, u"F3"},
    {u"\"保持原帧速率\" … \"30.00\" (4)", ppFrameRate, u"F4"},
    {u"\"保持原帧速率\" … \"30.00\" (10)", ppFrameRate, u"F5"},
    {u"\"15.00\" … \"29.97\" (3)", ppFrameRate, u"F6"},
    {u"\"1\" … \"25\" (8)", ppFrameRate, nullptr, kFr1To25N8},
    {u"\"16 kbps\" … \"320 kbps\" (17)", ppAudioBitrate, u"A1"},
    {u"\"5 kbps\" … \"12 kbps\" (6)", ppAudioBitrate, u"A2"},
    {u"\"4.75 kbps\" … \"12.2 kbps\" (8)", ppAudioBitrate, u"A3"},
    {u"\"64 kbps\" … \"192 kbps\" (5)", ppAudioBitrate, u"A4"},
    {u"\"48 kbps\" … \"128 kbps\" (8)", ppAudioBitrate, nullptr, kAr48To128N8},
    {u"\"32 kbps\" … \"128 kbps\" (9)", ppAudioBitrate, nullptr, kAr32To128N9},
    {u"\"11025\" … \"48000\" (6)", ppSampleRate, u"S1"},
    {u"\"8000\" (1)", ppSampleRate, u"S2"},
    {u"\"22050\" … \"48000\" (4)", ppSampleRate, u"S3"},
    {u"\"11025\" … \"44100\" (3)", ppSampleRate, u"S4"},
    {u"\"8000\" … \"48000\" (7)", ppSampleRate, nullptr, kSr8000To48000N7},
    {u"\"保持原视频模式\" … \"宽屏视频47:20模式\" (5)", ppPictureMode, u"M1"},
    {u"\"保持原视频模式\" … \"普通视频4:3模式\" (2)", ppPictureMode, u"M2"},
    {u"\"无视频\" (1)", ppPictureMode, u"M3"},
};

const TPresetRow kPresetRows[] = {
    {{100, 107}, {SzKeepTo2560N28, 0}, {Vr128To2000N8, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{101}, {SzKeepTo2560N28, 0}, {Vr128To2000N9a, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{102}, {SzKeepTo2560N28, 0}, {Vr128To2000N9b, 4}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{103}, {SzKeepTo2560N28, 0}, {Vr128To2000N9a, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{104}, {SzKeepTo2560N28, 0}, {Vr128To2000N9b, 4}, {FrKeepTo30N12, 0}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{105, 1103, 1104}, {SzKeepTo2560N28, 0}, {Vr128To2000N8, 4}, {FrKeepTo30N12, 10}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{106}, {SzKeepTo2560N28, 4}, {Vr128To2000N8, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{108}, {SzKeepTo2560N28, 0}, {Vr128To2000N8, 3}, {FrKeepTo30N12, 0}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{109}, {Sz112To320N11, 4}, {Vr8To384N15, 9}, {Fr1To15N7, 5}, {Ar5To12N6, 5}, {Sr8000N1, 0}, {MdKeepTo43N2, 0}},
    {{110}, {SzKeepTo2560N28, 0}, {Vr128To2000N9c, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{111}, {SzKeepTo2560N28, 12}, {Vr128To2000N8, 4}, {FrKeepTo30N12, 10}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{112}, {SzKeepTo2560N28, 8}, {Vr128To2000N8, 2}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{113, 114}, {SzKeepTo2560N28, 4}, {Vr128To2000N8, 2}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{200, 201, 205, 207, 208, 209}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdNone, 0}},
    {{202, 210}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 13}, {Sr11025To48000N6, 5}, {MdNone, 0}},
    {{203}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdNone, 0}},
    {{204, 206}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 9}, {Sr11025To48000N6, 4}, {MdNone, 0}},
    {{211}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 12}, {Sr11025To48000N6, 5}, {MdNone, 0}},
    {{212, 708}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar475To122N8, 4}, {Sr8000N1, 0}, {MdNone, 0}},
    {{300}, {SzKeepTo2560N11, 2}, {Vr816To4000N8, 2}, {FrKeepTo30N4, 2}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{301}, {SzKeepTo2560N11, 2}, {Vr816To4000N8, 1}, {FrKeepTo30N4, 3}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{302}, {SzKeepTo2560N11, 2}, {Vr816To4000N8, 1}, {FrKeepTo30N4, 2}, {Ar16To320N17, 13}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{303}, {SzKeepTo2560N11, 3}, {Vr816To4000N8, 2}, {FrKeepTo30N4, 3}, {Ar16To320N17, 13}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{304}, {SzKeepTo2560N11, 3}, {Vr816To4000N8, 2}, {FrKeepTo30N4, 2}, {Ar16To320N17, 12}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{305}, {SzKeepTo2560N11, 3}, {Vr816To4000N8, 1}, {FrKeepTo30N4, 2}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{306, 308}, {SzKeepTo2560N11, 3}, {Vr816To4000N8, 2}, {FrKeepTo30N4, 2}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{307}, {SzKeepTo2560N11, 2}, {Vr816To4000N8, 1}, {FrKeepTo30N4, 2}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{309}, {SzKeepTo2560N11, 3}, {Vr816To4000N8, 2}, {FrKeepTo30N4, 3}, {Ar16To320N17, 10}, {Sr11025To48000N6, 5}, {MdKeepTo4720N5, 0}},
    {{400}, {Sz128To640N7, 3}, {Vr192To2000N9, 4}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{401}, {Sz128To640N7, 3}, {Vr192To2000N9, 2}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{402, 800}, {Sz128To640N7, 3}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{403, 404, 801}, {Sz128To640N7, 6}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{405}, {Sz128To640N7, 6}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{406, 804}, {Sz128To640N7, 6}, {Vr192To2000N9, 2}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{407, 413, 500}, {Sz128To640N12, 6}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{408, 501}, {Sz128To640N12, 11}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{409}, {Sz128To640N12, 11}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{410}, {Sz128To640N12, 11}, {Vr192To2000N9, 2}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{411}, {Sz128To640N12, 9}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 2}},
    {{412}, {Sz128To640N12, 3}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{502}, {Sz128To720N13, 12}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 2}},
    {{503}, {Sz128To720N13, 11}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{504}, {Sz128To720N13, 3}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{505}, {Sz128To720N13, 6}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{600}, {Sz320To720N5, 0}, {Vr216To1500N7, 3}, {Fr15To2997N3, 2}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{601}, {Sz320To720N5, 1}, {Vr216To1500N7, 4}, {Fr15To2997N3, 2}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{602}, {Sz320To720N5, 1}, {Vr216To1500N7, 5}, {Fr15To2997N3, 2}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{603}, {Sz320To720N5, 1}, {Vr216To1500N7, 2}, {Fr15To2997N3, 2}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{604}, {Sz320To720N5, 4}, {Vr216To1500N7, 4}, {Fr15To2997N3, 2}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{700, 702}, {Sz112To320N11, 4}, {Vr8To384N15, 9}, {Fr1To15N7, 5}, {Ar5To12N6, 5}, {Sr8000N1, 0}, {MdKeepTo4720N5, 0}},
    {{701, 703}, {Sz112To320N11, 4}, {Vr8To384N15, 9}, {Fr1To15N7, 5}, {Ar48To128N8, 0}, {Sr8000To48000N7, 4}, {MdKeepTo4720N5, 0}},
    {{704}, {Sz112To480N13, 4}, {Vr8To384N15, 9}, {Fr1To15N7, 5}, {Ar5To12N6, 5}, {Sr8000N1, 0}, {MdKeepTo4720N5, 0}},
    {{705, 706}, {Sz112To480N13, 4}, {Vr8To384N15, 9}, {Fr1To15N7, 5}, {Ar48To128N8, 0}, {Sr8000To48000N7, 4}, {MdKeepTo4720N5, 0}},
    {{707}, {Sz112To480N13, 4}, {Vr8To600N17, 10}, {Fr1To25N8, 6}, {Ar48To128N8, 0}, {Sr8000To48000N7, 4}, {MdKeepTo4720N5, 0}},
    {{709, 710, 711, 712, 713}, {Sz112To480N13, 4}, {Vr8To600N17, 9}, {Fr1To25N8, 5}, {Ar32To128N9, 0}, {Sr8000To48000N7, 4}, {MdKeepTo4720N5, 0}},
    {{802}, {Sz128To1280N8, 7}, {Vr192To2000N9, 6}, {FrKeepTo30N10, 8}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{803}, {Sz128To640N7, 6}, {Vr192To2000N9, 7}, {FrKeepTo30N10, 8}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{900}, {Sz128To704N9, 7}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 8}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{901, 902}, {Sz1280To1920N3, 0}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 9}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{903}, {Sz128To704N9, 7}, {Vr192To2000N9, 4}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{904}, {Sz640To2560N16, 7}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 9}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{905}, {Sz128To704N9, 7}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{906}, {Sz704To1920N4, 2}, {Vr192To2000N9, 7}, {FrKeepTo30N10, 9}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{907, 909}, {Sz128To1920N11, 8}, {Vr192To2000N9, 7}, {FrKeepTo30N10, 9}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{908}, {Sz128To1920N12, 9}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 8}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1000}, {Sz160To720N5, 2}, {Vr192To2000N9, 4}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1001}, {Sz160To720N5, 4}, {Vr192To2000N9, 4}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1002}, {Sz160To720N5, 1}, {Vr192To2000N9, 2}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1003, 1004, 1006}, {Sz320To640N2, 0}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1005}, {Sz320To640N2, 0}, {Vr192To2000N9, 5}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1007}, {Sz160To720N5, 3}, {Vr192To2000N9, 3}, {FrKeepTo30N10, 7}, {Ar64To192N5, 2}, {Sr22050To48000N4, 3}, {MdKeepTo4720N5, 0}},
    {{1100}, {SzKeepTo1024N19, 4}, {Vr128To2000N8, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{1101, 1102}, {SzKeepTo2560N28, 0}, {Vr128To2000N8, 4}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To48000N6, 4}, {MdKeepTo4720N5, 0}},
    {{1200, 1201}, {SzKeepTo2560N28, 0}, {Vr128To2000N8, 3}, {FrKeepTo30N12, 9}, {Ar16To320N17, 10}, {Sr11025To44100N3, 1}, {MdKeepTo4720N5, 0}},
    {{1202, 1203}, {SzNone, 0}, {VrNone, 0}, {FrNone, 0}, {Ar16To320N17, 10}, {Sr11025To44100N3, 1}, {MdNone, 0}},
};
// clang-format on

std::vector<TPresetList> MakeSettingsPresetLists() {
    std::vector<TPresetList> lists;
    for (const TLabelledList& list : kLabelledLists)
        lists.push_back({list.Label, list.Parameter,
                         list.CatalogueList ? PresetListNamed(list.CatalogueList)->Items : list.Items});
    return lists;
}

}  // namespace

std::span<const TPresetList> SettingsPresetLists() {
    static const std::vector<TPresetList> lists = MakeSettingsPresetLists();
    return lists;
}

std::span<const TPreset> SettingsPresets() {
    static const std::vector<TPreset> presets = ExpandPresetRows(kPresetRows, SettingsPresetLists(), SzNone);
    return presets;
}

const TPreset* SettingsPresetOf(Integer AKey) {
    return FindByKey(SettingsPresets(), AKey);
}
