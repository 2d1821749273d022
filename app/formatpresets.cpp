#include <algorithm>
#include <vector>

#include "app/formatcatalogue.h"
#include "app/keyedrows.h"
#include "app/presetrows.h"

namespace {

// Frame sizes (qxSkinComboBox1).
const char16_t* const kR1[] = {
    u"保持原分辨率", u"128*96",    u"176*144",   u"240*176",   u"320*240",   u"352*240",   u"352*288",
    u"384*288",      u"480*480",   u"480*576",   u"640*368",   u"640*480",   u"704*480",   u"704*576",
    u"720*480",      u"720*576",   u"800*600",   u"852*480",   u"1024*768",  u"1280*720",  u"1280*1024",
    u"1600*1024",    u"1600*1200", u"1920*1080", u"1920*1200", u"1920*1200", u"2048*1536", u"2560*1600"};
const char16_t* const kR2[] = {u"112*96",  u"128*96",  u"160*112", u"160*120", u"176*144", u"192*144",
                               u"208*176", u"220*176", u"320*208", u"320*224", u"320*240"};
const char16_t* const kR3[] = {u"该格式无视频"};
const char16_t* const kR4[] = {u"保持原分辨率", u"1024*768",  u"1280*720",  u"1280*1024",
                               u"1600*1024",    u"1600*1200", u"1920*1080", u"1920*1200",
                               u"1920*1200",    u"2048*1536", u"2560*1600"};
const char16_t* const kR5[] = {u"128*96",  u"176*144", u"160*120", u"320*240", u"352*288", u"368*208",
                               u"480*320", u"480*368", u"512*384", u"640*272", u"640*353", u"640*480"};
const char16_t* const kR6[] = {u"128*96",  u"176*144", u"160*120", u"320*240", u"352*288",
                               u"368*208", u"480*320", u"480*368", u"512*384", u"640*272",
                               u"640*353", u"640*480", u"720*406"};
const char16_t* const kR7[] = {u"320*240", u"368*208", u"480*272", u"640*480", u"720*480"};
const char16_t* const kR8[] = {u"128*96",  u"176*144", u"160*120", u"320*240",
                               u"352*288", u"368*208", u"640*480"};
const char16_t* const kR9[] = {u"128*96",  u"176*144", u"160*120", u"320*240",
                               u"352*288", u"368*208", u"640*480", u"1280*720"};
const char16_t* const kR10[] = {u"128*96",  u"176*144", u"160*120", u"320*240", u"352*288",
                                u"368*208", u"480*272", u"640*480", u"704*576"};
const char16_t* const kR11[] = {u"1280*720", u"1440*1080", u"1920*1080"};
const char16_t* const kR12[] = {u"640*480",   u"704*576",   u"720*480",   u"720*576",
                                u"800*600",   u"852*480",   u"1024*768",  u"1280*720",
                                u"1280*1024", u"1600*1024", u"1600*1200", u"1920*1080",
                                u"1920*1200", u"1920*1200", u"2048*1536", u"2560*1600"};
const char16_t* const kR13[] = {u"704*576", u"1280*720", u"1440*1080", u"1920*1080"};
const char16_t* const kR14[] = {u"128*96",  u"176*144", u"160*120",  u"320*240",   u"352*288",  u"368*208",
                                u"640*480", u"704*576", u"1280*720", u"1440*1080", u"1920*1080"};
const char16_t* const kR15[] = {u"128*96",  u"176*144", u"160*120", u"320*240",  u"352*288",   u"368*208",
                                u"480*272", u"640*480", u"704*576", u"1280*720", u"1440*1080", u"1920*1080"};
const char16_t* const kR16[] = {u"160*120", u"320*240", u"480*272", u"640*480", u"720*480"};
const char16_t* const kR17[] = {u"320*240", u"640*480"};
const char16_t* const kR18[] = {u"保持原分辨率", u"128*96",  u"176*144", u"240*176", u"320*240",
                                u"352*240",      u"352*288", u"384*288", u"480*480", u"480*576",
                                u"640*368",      u"640*480", u"704*480", u"704*576", u"720*480",
                                u"720*576",      u"800*600", u"852*480", u"1024*768"};
const char16_t* const kR19[] = {u"640*480", u"720*480", u"720*576", u"960*540", u"1024*768", u"1280*720"};
// Video bit rates (qxSkinComboBox2).
const char16_t* const kV1[] = {u"128 kbps",  u"288 kbps",  u"528 kbps",  u"816 kbps",
                               u"1200 kbps", u"1600 kbps", u"1800 kbps", u"2000 kbps"};
const char16_t* const kV2[] = {u"128 kbps",  u"288 kbps",  u"528 kbps",  u"768 kbps", u"816 kbps",
                               u"1200 kbps", u"1600 kbps", u"1800 kbps", u"2000 kbps"};
const char16_t* const kV3[] = {u"128 kbps",  u"288 kbps",  u"528 kbps",  u"816 kbps", u"1000 kbps",
                               u"1200 kbps", u"1600 kbps", u"1800 kbps", u"2000 kbps"};
const char16_t* const kV4[] = {u"8 kbps",   u"16 kbps",  u"24 kbps",  u"32 kbps",  u"48 kbps",
                               u"56 kbps",  u"64 kbps",  u"80 kbps",  u"96 kbps",  u"128 kbps",
                               u"160 kbps", u"192 kbps", u"256 kbps", u"320 kbps", u"384 kbps"};
const char16_t* const kV5[] = {u"128 kbps",  u"288 kbps",  u"528 kbps",  u"600 kbps", u"816 kbps",
                               u"1200 kbps", u"1600 kbps", u"1800 kbps", u"2000 kbps"};
const char16_t* const kV6[] = {u"无视频"};
const char16_t* const kV7[] = {u"816 kbps",  u"1200 kbps", u"1600 kbps", u"1800 kbps",
                               u"2000 kbps", u"2500 kbps", u"3000 kbps", u"4000 kbps"};
const char16_t* const kV8[] = {u"192 kbps",  u"384 kbps",  u"600 kbps",  u"768 kbps", u"1000 kbps",
                               u"1200 kbps", u"1500 kbps", u"1800 kbps", u"2000 kbps"};
const char16_t* const kV9[] = {u"216 kbps",  u"384 kbps",  u"512 kbps", u"768 kbps",
                               u"1000 kbps", u"1200 kbps", u"1500 kbps"};
const char16_t* const kV10[] = {u"816 kbps",  u"1000 kbps", u"1200 kbps", u"1600 kbps", u"1800 kbps",
                                u"2000 kbps", u"2500 kbps", u"3000 kbps", u"4000 kbps"};
const char16_t* const kV11[] = {u"528 kbps",  u"768 kbps",  u"816 kbps",  u"1200 kbps", u"1600 kbps",
                                u"1800 kbps", u"2000 kbps", u"2500 kbps", u"3000 kbps", u"4000 kbps"};
// Frame rates (qxSkinComboBox9).
const char16_t* const kF1[] = {u"保持原帧速率", u"10.00", u"13.00", u"15.00", u"18.00", u"20.00",
                               u"23.00",        u"23.97", u"24.00", u"25.00", u"29.97", u"30.00"};
const char16_t* const kF2[] = {u"1", u"2", u"3", u"5", u"10", u"12", u"15"};
const char16_t* const kF3[] = {u"无视频"};
const char16_t* const kF4[] = {u"保持原帧速率", u"25.00", u"29.97", u"30.00"};
const char16_t* const kF5[] = {u"保持原帧速率", u"10.00", u"12.00", u"15.00", u"20.00",
                               u"23.98",        u"24.00", u"25.00", u"29.97", u"30.00"};
const char16_t* const kF6[] = {u"15.00", u"23.98", u"29.97"};
const char16_t* const kF7[] = {u"保持原帧速率", u"23.98", u"24.00", u"25.00", u"29.97", u"30.00"};
// Audio bit rates (qxSkinComboBox3).
const char16_t* const kA1[] = {u"16 kbps",  u"24 kbps",  u"32 kbps",  u"40 kbps",  u"48 kbps",  u"56 kbps",
                               u"64 kbps",  u"80 kbps",  u"96 kbps",  u"112 kbps", u"128 kbps", u"144 kbps",
                               u"160 kbps", u"192 kbps", u"224 kbps", u"256 kbps", u"320 kbps"};
const char16_t* const kA2[] = {u"5 kbps", u"6 kbps", u"7 kbps", u"8 kbps", u"10 kbps", u"12 kbps"};
const char16_t* const kA3[] = {u"4.75 kbps", u"5.15 kbps", u"5.9 kbps",  u"6.7 kbps",
                               u"7.4 kbps",  u"7.95 kbps", u"10.2 kbps", u"12.2 kbps"};
const char16_t* const kA4[] = {u"64 kbps", u"96 kbps", u"128 kbps", u"160 kbps", u"192 kbps"};
// Sample rates (qxSkinComboBox10).
const char16_t* const kS1[] = {u"11025", u"16000", u"22050", u"32000", u"44100", u"48000"};
const char16_t* const kS2[] = {u"8000"};
const char16_t* const kS3[] = {u"22050", u"32000", u"44100", u"48000"};
const char16_t* const kS4[] = {u"11025", u"22050", u"44100"};
const char16_t* const kS5[] = {u"22050", u"24000", u"32000", u"44100", u"48000"};
// Picture modes (qxSkinComboBox4).
const char16_t* const kM1[] = {u"保持原视频模式", u"普通视频4:3模式", u"宽屏视频16:9模式",
                               u"宽屏视频37:20模式", u"宽屏视频47:20模式"};
const char16_t* const kM2[] = {u"保持原视频模式", u"普通视频4:3模式"};
const char16_t* const kM3[] = {u"无视频"};

enum TListId : Integer {
    R1,
    R2,
    R3,
    R4,
    R5,
    R6,
    R7,
    R8,
    R9,
    R10,
    R11,
    R12,
    R13,
    R14,
    R15,
    R16,
    R17,
    R18,
    R19,
    V1,
    V2,
    V3,
    V4,
    V5,
    V6,
    V7,
    V8,
    V9,
    V10,
    V11,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    A1,
    A2,
    A3,
    A4,
    S1,
    S2,
    S3,
    S4,
    S5,
    M1,
    M2,
    M3
};

const TPresetList kLists[] = {
    {u"R1", ppFrameSize, kR1},    {u"R2", ppFrameSize, kR2},      {u"R3", ppFrameSize, kR3},
    {u"R4", ppFrameSize, kR4},    {u"R5", ppFrameSize, kR5},      {u"R6", ppFrameSize, kR6},
    {u"R7", ppFrameSize, kR7},    {u"R8", ppFrameSize, kR8},      {u"R9", ppFrameSize, kR9},
    {u"R10", ppFrameSize, kR10},  {u"R11", ppFrameSize, kR11},    {u"R12", ppFrameSize, kR12},
    {u"R13", ppFrameSize, kR13},  {u"R14", ppFrameSize, kR14},    {u"R15", ppFrameSize, kR15},
    {u"R16", ppFrameSize, kR16},  {u"R17", ppFrameSize, kR17},    {u"R18", ppFrameSize, kR18},
    {u"R19", ppFrameSize, kR19},  {u"V1", ppVideoBitrate, kV1},   {u"V2", ppVideoBitrate, kV2},
    {u"V3", ppVideoBitrate, kV3}, {u"V4", ppVideoBitrate, kV4},   {u"V5", ppVideoBitrate, kV5},
    {u"V6", ppVideoBitrate, kV6}, {u"V7", ppVideoBitrate, kV7},   {u"V8", ppVideoBitrate, kV8},
    {u"V9", ppVideoBitrate, kV9}, {u"V10", ppVideoBitrate, kV10}, {u"V11", ppVideoBitrate, kV11},
    {u"F1", ppFrameRate, kF1},    {u"F2", ppFrameRate, kF2},      {u"F3", ppFrameRate, kF3},
    {u"F4", ppFrameRate, kF4},    {u"F5", ppFrameRate, kF5},      {u"F6", ppFrameRate, kF6},
    {u"F7", ppFrameRate, kF7},    {u"A1", ppAudioBitrate, kA1},   {u"A2", ppAudioBitrate, kA2},
    {u"A3", ppAudioBitrate, kA3}, {u"A4", ppAudioBitrate, kA4},   {u"S1", ppSampleRate, kS1},
    {u"S2", ppSampleRate, kS2},   {u"S3", ppSampleRate, kS3},     {u"S4", ppSampleRate, kS4},
    {u"S5", ppSampleRate, kS5},   {u"M1", ppPictureMode, kM1},    {u"M2", ppPictureMode, kM2},
    {u"M3", ppPictureMode, kM3},
};

const TPresetRow kPresetRows[] = {
    {{0, 7, 1500, 1600, 1700}, {R1, 0}, {V1, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1, 1303}, {R1, 0}, {V2, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2, 1300}, {R1, 0}, {V3, 4}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{3}, {R1, 0}, {V2, 3}, {F1, 9}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{4}, {R1, 0}, {V3, 4}, {F1, 0}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{5, 1003, 1004, 2103, 2203, 2303}, {R1, 0}, {V1, 4}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{6, 1301}, {R1, 4}, {V1, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{8}, {R1, 0}, {V1, 3}, {F1, 0}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{9, 2107, 2207, 2307}, {R2, 4}, {V4, 9}, {F2, 5}, {A2, 5}, {S2, 0}, {M2, 0}},
    {{10, 2108, 2208, 2308}, {R1, 0}, {V5, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{11, 1308, 2110, 2210, 2312}, {R1, 12}, {V1, 4}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{12, 1309, 2111, 2211, 2313}, {R1, 8}, {V1, 2}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{13, 14, 1310, 1502, 1602, 1702, 2112, 2212, 2314},
     {R1, 4},
     {V1, 2},
     {F1, 9},
     {A1, 10},
     {S1, 4},
     {M1, 0}},
    {{100, 101, 105, 107, 108, 109}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 10}, {S1, 4}, {M3, 0}},
    {{102, 110}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 13}, {S1, 5}, {M3, 0}},
    {{103}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 10}, {S1, 5}, {M3, 0}},
    {{104, 106}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 9}, {S1, 4}, {M3, 0}},
    {{111}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 12}, {S1, 5}, {M3, 0}},
    {{112}, {R3, 0}, {V6, 0}, {F3, 0}, {A3, 4}, {S2, 0}, {M3, 0}},
    {{200}, {R4, 2}, {V7, 2}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{201}, {R4, 2}, {V7, 1}, {F4, 3}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{202}, {R4, 2}, {V7, 1}, {F4, 2}, {A1, 13}, {S1, 5}, {M1, 0}},
    {{203, 1305}, {R4, 3}, {V7, 2}, {F4, 3}, {A1, 13}, {S1, 5}, {M1, 0}},
    {{204}, {R4, 3}, {V7, 2}, {F4, 2}, {A1, 12}, {S1, 5}, {M1, 0}},
    {{205}, {R4, 3}, {V7, 1}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{206, 208, 1304}, {R4, 3}, {V7, 2}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{207, 2311}, {R4, 2}, {V7, 1}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{209}, {R4, 3}, {V7, 2}, {F4, 3}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{400}, {R5, 6}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{401}, {R5, 11}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{402}, {R6, 12}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 2}},
    {{403}, {R6, 11}, {V8, 5}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{404}, {R6, 3}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{405}, {R6, 6}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{500}, {R7, 0}, {V9, 3}, {F6, 2}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{501}, {R7, 1}, {V9, 4}, {F6, 2}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{502}, {R7, 1}, {V9, 5}, {F6, 2}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{503}, {R7, 1}, {V9, 2}, {F6, 2}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{504}, {R7, 4}, {V9, 4}, {F6, 2}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{700}, {R8, 3}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{701}, {R8, 6}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{702}, {R9, 7}, {V8, 6}, {F5, 8}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{703}, {R8, 6}, {V8, 7}, {F5, 8}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{704}, {R8, 6}, {V8, 2}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{800}, {R10, 7}, {V8, 5}, {F5, 8}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{801, 802}, {R11, 0}, {V8, 5}, {F5, 9}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{803}, {R10, 7}, {V8, 4}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{804}, {R12, 7}, {V8, 5}, {F5, 9}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{805}, {R10, 7}, {V8, 5}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{806}, {R13, 2}, {V8, 7}, {F5, 9}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{807, 809}, {R14, 8}, {V8, 7}, {F5, 9}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{808}, {R15, 9}, {V8, 5}, {F5, 8}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{900}, {R16, 2}, {V8, 4}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{901}, {R16, 4}, {V8, 4}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{902}, {R16, 1}, {V8, 2}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{903, 904, 906}, {R17, 0}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{905}, {R17, 0}, {V8, 5}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{907}, {R16, 3}, {V8, 3}, {F5, 7}, {A4, 2}, {S3, 3}, {M1, 0}},
    {{1000}, {R18, 4}, {V1, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1001, 1002}, {R1, 0}, {V1, 4}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1100, 1101, 2109, 2209, 2309, 2310}, {R1, 0}, {V1, 3}, {F1, 9}, {A1, 10}, {S4, 1}, {M1, 0}},
    {{1102, 1103}, {R3, 0}, {V6, 0}, {F3, 0}, {A1, 10}, {S4, 1}, {M3, 0}},
    {{1200}, {R19, 0}, {V8, 5}, {F7, 5}, {A4, 2}, {S5, 2}, {M1, 0}},
    {{1201}, {R19, 2}, {V8, 5}, {F7, 5}, {A4, 2}, {S5, 3}, {M1, 0}},
    {{1202}, {R19, 0}, {V8, 4}, {F7, 5}, {A4, 2}, {S5, 2}, {M1, 0}},
    {{1203}, {R19, 2}, {V8, 6}, {F7, 5}, {A4, 3}, {S5, 4}, {M1, 0}},
    {{1204}, {R19, 0}, {V8, 4}, {F7, 5}, {A4, 2}, {S5, 1}, {M1, 0}},
    {{1205}, {R19, 0}, {V8, 5}, {F7, 5}, {A4, 2}, {S5, 3}, {M1, 0}},
    {{1302}, {R1, 0}, {V3, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1306}, {R1, 11}, {V5, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1307}, {R1, 4}, {V1, 2}, {F1, 9}, {A1, 8}, {S1, 3}, {M1, 0}},
    {{1501, 1506, 1601, 1606, 1701, 1706, 2001}, {R1, 19}, {V7, 2}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{1503, 1603, 1703}, {R1, 0}, {V3, 4}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1504, 1604, 1704}, {R1, 4}, {V5, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{1505, 1605, 1705}, {R1, 0}, {V1, 2}, {F1, 5}, {A1, 8}, {S1, 3}, {M1, 0}},
    {{2000}, {R1, 14}, {V10, 1}, {F4, 2}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2002}, {R1, 14}, {V7, 1}, {F4, 2}, {A1, 10}, {S1, 5}, {M1, 0}},
    {{2003}, {R1, 0}, {V10, 1}, {F4, 2}, {A1, 11}, {S1, 5}, {M1, 0}},
    {{2004}, {R1, 11}, {V11, 0}, {F4, 0}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2005}, {R1, 4}, {V11, 0}, {F4, 0}, {A1, 10}, {S1, 3}, {M1, 0}},
    {{2100, 2200, 2300}, {R1, 12}, {V3, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2101, 2201, 2301}, {R1, 19}, {V3, 6}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2102, 2202, 2302}, {R1, 19}, {V1, 5}, {F1, 11}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2104, 2204, 2304}, {R1, 12}, {V3, 4}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2105, 2205, 2305}, {R1, 4}, {V2, 3}, {F1, 9}, {A1, 10}, {S1, 4}, {M1, 0}},
    {{2106, 2206, 2306}, {R1, 0}, {V1, 5}, {F1, 10}, {A1, 10}, {S1, 4}, {M1, 0}},
};

}  // namespace

std::span<const TPresetList> PresetLists() {
    return kLists;
}

const TPresetList* PresetListNamed(std::u16string_view AName) {
    for (const TPresetList& list : kLists)
        if (AName == list.Name) return &list;
    return nullptr;
}

std::span<const TPreset> Presets() {
    static const std::vector<TPreset> presets = ExpandPresetRows(kPresetRows, kLists, R3);
    return presets;
}

const TPreset* PresetOf(Integer AFormatKey) {
    return FindByKey(Presets(), AFormatKey);
}

std::vector<TPreset> ExpandPresetRows(std::span<const TPresetRow> ARows, std::span<const TPresetList> ALists,
                                      Integer ANoVideoSizes) {
    std::vector<TPreset> presets;
    for (const TPresetRow& row : ARows)
        for (const Integer key : row.Keys) {
            // By parameter, which is the fill order.
            const TPresetCell cells[PresetParameterCount] = {row.FrameSize,  row.VideoBitrate,
                                                             row.FrameRate,  row.AudioBitrate,
                                                             row.SampleRate, row.PictureMode};
            TPreset preset{key, {}, row.FrameSize.List == ANoVideoSizes};
            for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
                preset.Choices[parameter] = {&ALists[cells[parameter].List], cells[parameter].Default};
            presets.push_back(preset);
        }
    SortByKey(presets);
    return presets;
}

std::array<TPresetBox, PresetParameterCount> PresetBoxes(const TPreset* APreset) {
    std::array<TPresetBox, PresetParameterCount> boxes;
    boxes.fill({{}, -1, true});
    if (!APreset) return boxes;
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
        boxes[parameter] = {APreset->Choices[parameter].List->Items, APreset->Choices[parameter].Default,
                            true};
    if (APreset->AudioOnly)
        for (const TPresetParameter parameter : AudioOnlyDisableOrder)
            boxes[parameter].Enabled = false;
    return boxes;
}
