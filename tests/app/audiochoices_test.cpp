// The sample rates and audio bit rates each format offers, paired, converted
// by the task component as a row of that choice converts: each ends
// finished, at the sample rate the row says. A fixed sample of every
// format's pairings runs here; the whole sweep of every pairing is the
// disabled test, which bench/audio_choices_sweep runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "app/formatcatalogue.h"
#include "media/ffmpegloader.h"
#include "media/strovix.h"
#include "platform/base/syncobjs.h"
#include "platform/base/sysutils.h"
#include "platform/base/threads.h"
#include "platform/base/ustring.h"
#include "tests/media/mediatest.h"

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

struct TChoice {
    Integer Key;
    String SampleRate, AudioBitrate;  // the picked texts
    String Output;
    Integer WrittenRate;  // what the row says the file holds
};

class AudioChoices : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(TranscoderLibraries)) << Text(LibLoader.LastErrMsg());
        const auto folder = std::filesystem::path(::testing::TempDir()) / "velqua-audiochoices";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Folder = UTF8ToString(folder.string());
        Strovix = std::make_unique<TStrovix>(nullptr);
        Strovix->SetVerbose(-1);
        Strovix->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex < 0)
                RunEnded.SetEvent();
            else
                Ends[AInfo.TaskIndex] = AInfo;
        });
    }
    void TearDown() override {
        Strovix.reset();
        WaitForSelfFreeingThreads();
        LibLoader.Unload(TranscoderLibraries);
    }

    static TParameterTexts DefaultTexts(const TPreset& APreset) {
        TParameterTexts texts;
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
            const TPresetChoice& choice = APreset.Choices[parameter];
            texts[parameter] = choice.List->Items[choice.Default];
        }
        return texts;
    }

    // Which pairings of a format's sample rates and audio bit rates convert.
    using TPairingFilter = bool (*)(size_t ASampleRate, size_t ASampleRates, size_t ABitrate,
                                    size_t ABitrates);

    // Every format the libraries can write, its pairings that pass as tasks
    // of one run each, then their ends checked.
    void ConvertPairings(TPairingFilter AFilter) {
        for (const TPreset& preset : Presets()) {
            // Refused before any conversion: no encoder in these libraries.
            if (!UnavailableEncoder(preset.Key).empty()) continue;
            ConvertPairings(preset, AFilter);
            if (HasFatalFailure()) return;
        }
        std::cout << Pairings << " pairings converted, " << Failures << " failed\n";
    }

    void ConvertPairings(const TPreset& APreset, TPairingFilter AFilter) {
        Strovix->ClearTasks();
        Ends.clear();
        std::vector<TChoice> choices;
        const String extension = SettledCodecData(*CodecDataOf(APreset.Key)).OutputExt;
        const auto sampleRates = APreset.Choices[ppSampleRate].List->Items;
        const auto bitrates = APreset.Choices[ppAudioBitrate].List->Items;
        for (size_t s = 0; s < sampleRates.size(); ++s)
            for (size_t b = 0; b < bitrates.size(); ++b) {
                if (!AFilter(s, sampleRates.size(), b, bitrates.size())) continue;
                const char16_t* sampleRate = sampleRates[s];
                const char16_t* bitrate = bitrates[b];
                TParameterTexts texts = DefaultTexts(APreset);
                texts[ppSampleRate] = sampleRate;
                texts[ppAudioBitrate] = bitrate;
                TStagingFields staging;
                staging.Video_AddFileName = TestDataFile(u"tiny.avi");
                ASSERT_TRUE(ApplyCodecData(staging, APreset.Key, Folder, true, {}));
                ApplyParameterTexts(staging, APreset.Key, texts);
                TOutputOptions options;
                ResetOutputOptions(options);
                DeriveOutputOptions(staging, options);
                const String output = Folder + u"/" + IntToStr(APreset.Key) + u"_" + sampleRate + u"_" +
                                      IntToStr(Integer(choices.size())) + extension;
                const Integer task = Strovix->AddTask(staging.Video_AddFileName);
                ASSERT_EQ(task, Integer(choices.size())) << Text(Strovix->LastErrMsg());
                ASSERT_TRUE(Strovix->SetOutputFile(task, output, &options))
                    << APreset.Key << " " << Text(sampleRate) << " " << Text(bitrate) << ": "
                    << Text(Strovix->LastErrMsg());
                choices.push_back({APreset.Key, sampleRate, bitrate, output,
                                   StrToIntDef(staging.Video_AudioSampleRate, -1)});
            }
        Strovix->Start(2);
        ASSERT_EQ(RunEnded.WaitFor(240000), wrSignaled) << APreset.Key;
        RunEnded.ResetEvent();
        Pairings += Integer(choices.size());
        for (size_t task = 0; task < choices.size(); ++task) {
            const TChoice& choice = choices[task];
            const TTerminateInfo& end = Ends[Integer(task)];
            const std::string name = std::to_string(choice.Key) + " at " + Text(choice.SampleRate) + " Hz, " +
                                     Text(choice.AudioBitrate);
            if (!end.Finished || end.Exception) {
                ADD_FAILURE() << name << ": " << Text(end.ExceptionMsg);
                ++Failures;
                continue;
            }
            const TProbedFile file = ProbeMedia(choice.Output);
            const TProbedStream* audio = file.Find(AVMEDIA_TYPE_AUDIO);
            ASSERT_NE(audio, nullptr) << name;
            EXPECT_EQ(audio->SampleRate, choice.WrittenRate) << name;
            if (!HasFailure()) std::filesystem::remove(StringToUTF8(choice.Output));
        }
    }

    String Folder;
    std::unique_ptr<TStrovix> Strovix;
    std::map<Integer, TTerminateInfo> Ends;
    TEvent RunEnded;
    Integer Pairings = 0, Failures = 0;
};

// Every sample rate at the lowest audio bit rate, and the lowest and the
// highest sample rate at the highest: the rates the encoders and muxers
// refuse, and the bit rates' limits at both ends.
TEST_F(AudioChoices, ASampleOfEveryFormatsPairingsConverts) {
    ConvertPairings([](size_t ASampleRate, size_t ASampleRates, size_t ABitrate, size_t ABitrates) {
        return ABitrate == 0 ||
               (ABitrate + 1 == ABitrates && (ASampleRate == 0 || ASampleRate + 1 == ASampleRates));
    });
    EXPECT_EQ(Failures, 0);
}

// The whole sweep: 12,788 pairings, minutes on two cores.
TEST_F(AudioChoices, DISABLED_EveryOfferedPairingConverts) {
    ConvertPairings([](size_t, size_t, size_t, size_t) { return true; });
    EXPECT_EQ(Pairings, 12788);
    EXPECT_EQ(Failures, 0);
}

}  // namespace
