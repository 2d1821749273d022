// The media components as form descriptions create them: the properties a
// form sets and its handlers bound to their events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "media/ffmpeglogger.h"
#include "media/player.h"
#include "media/strovix.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/published.h"

namespace {

// Stands in for a form: the root of a description, with the handlers it binds.
class TMediaHolder : public TComponent {
public:
    using TComponent::TComponent;

    void StrovixProgress(TObject*, PProgressInfo AInfo) {
        Log.push_back("progress " + std::to_string(AInfo->TaskIndex));
    }
    void StrovixTerminate(TObject*, const TTerminateInfo& AInfo) {
        Log.push_back("terminate " + std::to_string(AInfo.TaskIndex));
    }
    void PlayerFileOpen(TObject*, Int64 ADuration, Integer, Integer, Integer& AScreenWidth, Integer&) {
        Log.push_back("open " + std::to_string(ADuration));
        AScreenWidth = 210;
    }
    void PlayerPosition(TObject*, Int64 APTS) { Log.push_back("position " + std::to_string(APTS)); }
    void PlayerState(TObject*, TPlayState AState) { Log.push_back("state " + std::to_string(AState)); }
    void LoggerLog(TObject*, Cardinal, TLogLevel ALevel, const String& AMessage) {
        Log.push_back("log " + std::to_string(ALevel) + " " + StringToUTF8(AMessage));
    }

    TStrovix* Strovix = nullptr;
    TFFPlayer* VIZevado = nullptr;
    TFFLogger* FFLogger = nullptr;
    std::vector<std::string> Log;
};

const auto HolderRegistered = RegisterForm<TMediaHolder>(u"MediaHolder.form")
                                  .Field(u"Strovix", &TMediaHolder::Strovix)
                                  .Field(u"VIZevado", &TMediaHolder::VIZevado)
                                  .Field(u"FFLogger", &TMediaHolder::FFLogger)
                                  .Handler(u"StrovixProgress", &TMediaHolder::StrovixProgress)
                                  .Handler(u"StrovixTerminate", &TMediaHolder::StrovixTerminate)
                                  .Handler(u"PlayerFileOpen", &TMediaHolder::PlayerFileOpen)
                                  .Handler(u"PlayerPosition", &TMediaHolder::PlayerPosition)
                                  .Handler(u"PlayerState", &TMediaHolder::PlayerState)
                                  .Handler(u"LoggerLog", &TMediaHolder::LoggerLog);

class MediaDescriptions : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velqua-media-form-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        FFolder = pattern;
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(FFolder, error);
    }

    // A holder read from AText; the error's message instead when it fails.
    std::unique_ptr<TMediaHolder> Read(const std::string& AText, String* AError = nullptr) {
        const std::string file = FFolder + "/MediaHolder.form";
        std::ofstream(file) << AText;
        auto holder = std::make_unique<TMediaHolder>(nullptr);
        try {
            ReadDescriptionFile(holder.get(), UTF8ToString(file));
        } catch (const EFormDescriptionError& e) {
            if (!AError) throw;
            *AError = e.Message();
            return nullptr;
        }
        return holder;
    }

    std::string FFolder;
};

TEST_F(MediaDescriptions, TheConverterPlayerAndLoggerTakeTheirPropertiesAndHandlers) {
    std::unique_ptr<TMediaHolder> holder = Read(R"(object Holder: TMediaHolder
  object Strovix: TStrovix
    Preview = True
    ProgressInterval = 250
    ThreadPriority = tpLower
    TriggerEventInMainThread = False
    OnCustomHook = nil
    OnProgress = StrovixProgress
    OnTerminate = StrovixTerminate
  end
  object VIZevado: TFFPlayer
    AudioDriver = adDummy
    VideoDriver = vdGDI
    AudioVolume = 64
    Mute = True
    Hook = False
    TriggerEventInMainThread = True
    OnFileOpen = PlayerFileOpen
    OnPosition = PlayerPosition
    OnState = PlayerState
  end
  object FFLogger: TFFLogger
    LogLevel = llWarning
    TriggerEventInMainThread = False
    OnLog = LoggerLog
  end
  object Unused: TStrovix
  end
end
)");
    ASSERT_NE(holder->Strovix, nullptr);
    ASSERT_NE(holder->VIZevado, nullptr);
    ASSERT_NE(holder->FFLogger, nullptr);
    EXPECT_EQ(holder->ComponentCount(), 4);

    TStrovix* strovix = holder->Strovix;
    EXPECT_TRUE(strovix->Preview());
    EXPECT_EQ(strovix->ProgressInterval(), 250);
    EXPECT_EQ(strovix->ThreadPriority(), tpLower);
    EXPECT_FALSE(strovix->TriggerEventInMainThread());
    EXPECT_FALSE(strovix->OnCustomHook());
    TProgressInfo progress{};
    progress.TaskIndex = 3;
    strovix->OnProgress()(strovix, &progress);
    strovix->OnTerminate()(strovix, TTerminateInfo{-1, true, false, {}});

    TFFPlayer* player = holder->VIZevado;
    EXPECT_EQ(player->AudioDriver(), adDummy);
    EXPECT_EQ(player->VideoDriver(), vdGDI);
    EXPECT_EQ(player->AudioVolume(), 64);
    EXPECT_TRUE(player->Mute());
    EXPECT_FALSE(player->Hook());
    EXPECT_FALSE(player->OnHook());
    Integer width = 0, height = 0;
    player->OnFileOpen()(player, 10000000, 160, 120, width, height);
    EXPECT_EQ(width, 210);
    player->OnPosition()(player, 5000000);
    player->OnState()(player, psEnd);

    EXPECT_EQ(holder->FFLogger->LogLevel(), llWarning);
    EXPECT_FALSE(holder->FFLogger->TriggerEventInMainThread());
    holder->FFLogger->OnLog()(holder->FFLogger, 1, llError, u"日志");

    EXPECT_EQ(holder->Log, (std::vector<std::string>{"progress 3", "terminate -1", "open 10000000",
                                                     "position 5000000", "state 5", "log 3 日志"}));

    // A component left at its defaults.
    auto* unused = dynamic_cast<TStrovix*>(holder->FindComponent(u"Unused"));
    ASSERT_NE(unused, nullptr);
    EXPECT_FALSE(unused->Preview());
    EXPECT_EQ(unused->ProgressInterval(), 500);
    EXPECT_EQ(unused->ThreadPriority(), tpNormal);
    EXPECT_TRUE(unused->TriggerEventInMainThread());
    EXPECT_FALSE(unused->OnProgress());
}

TEST_F(MediaDescriptions, AHandlerOfAnotherShapeOrNameIsAnErrorAtItsLine) {
    struct Case {
        const char* Line;
        const char* Error;
    };
    for (const Case& c : {Case{"OnTerminate = StrovixProgress",
                               "MediaHolder.form:3: Handler StrovixProgress does not fit OnTerminate"},
                          Case{"OnProgress = Missing", "MediaHolder.form:3: Unknown handler Missing"},
                          Case{"OnProgress = 5", "MediaHolder.form:3: "},
                          Case{"ThreadPriority = tpUrgent", "MediaHolder.form:3: "}}) {
        SCOPED_TRACE(c.Line);
        String error;
        EXPECT_EQ(Read(std::string("object Holder: TMediaHolder\n  object Strovix: TStrovix\n    ") + c.Line +
                           "\n  end\nend\n",
                       &error),
                  nullptr);
        const std::string message = StringToUTF8(error);
        EXPECT_NE(message.find(c.Error), std::string::npos) << message;
    }
}

}  // namespace
