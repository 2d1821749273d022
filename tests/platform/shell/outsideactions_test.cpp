#include "platform/shell/outsideactions.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/base/ustring.h"
#include "platform/shell/shellapi.h"
#include "platform/win/testdriver.h"
#include "tests/platform/base/temp_folder.h"

namespace {

using win::driver::TShellOpen;

// Keeps the CI variable as the test found it.
class CIVariable {
public:
    CIVariable() : FSaved(std::getenv("CI") ? std::optional<std::string>(std::getenv("CI")) : std::nullopt) {}
    ~CIVariable() {
        if (FSaved)
            ::setenv("CI", FSaved->c_str(), 1);
        else
            ::unsetenv("CI");
    }

private:
    std::optional<std::string> FSaved;
};

class OutsideActionsTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        win::driver::Reset();
        shell::SetShellLog([this](const String& AMessage) { FLog.push_back(StringToUTF8(AMessage)); });
    }
    void TearDown() override {
        shell::SetShellLog(nullptr);
        shell::SetOutsideActions(nullptr);
        TempFolderTest::TearDown();
    }

    // A started process has ended and been reaped: its id is gone.
    static bool Reaped(pid_t APid) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            if (::kill(APid, 0) != 0 && errno == ESRCH) return true;
            std::this_thread::yield();
        }
        return false;
    }

    std::vector<std::string> FLog;
};

TEST_F(OutsideActionsTest, ShellOpensAreRecordedInOrderAndNothingStarts) {
    struct Case {
        const char16_t* Verb;
        const char16_t* File;
        intptr_t Result;  // 0: success
    };
    const Case cases[] = {
        {u"open", u"https://velqua.example/a b?q='x'&y=1;z", 0},
        {nullptr, u"/tmp/输出", 0},
        {u"OPEN", u"mailto:someone@velqua.example", 0},
        {u"print", u"/tmp/a.txt", win::SE_ERR_NOASSOC},
        {u"open", u"", win::SE_ERR_FNF},
    };
    for (const Case& c : cases) {
        const auto result =
            reinterpret_cast<intptr_t>(win::ShellExecuteW(nullptr, c.Verb, c.File, nullptr, nullptr, 1));
        if (c.Result == 0)
            EXPECT_GT(result, 32) << StringToUTF8(c.File);
        else
            EXPECT_EQ(result, c.Result) << StringToUTF8(c.File);
    }
    const std::vector<TShellOpen> expected{{u"open", u"https://velqua.example/a b?q='x'&y=1;z"},
                                           {u"", u"/tmp/输出"},
                                           {u"OPEN", u"mailto:someone@velqua.example"}};
    EXPECT_EQ(win::driver::ShellOpens(), expected);
}

TEST_F(OutsideActionsTest, SoundsPlayOnlyExistingFiles) {
    WriteBytes(Path(u"ring001.wav"), "RIFF");
    EXPECT_FALSE(win::PlaySoundW(Path(u"missing.wav").c_str(), nullptr, win::SND_ASYNC));
    EXPECT_TRUE(win::PlaySoundW(Path(u"ring001.wav").c_str(), nullptr, win::SND_ASYNC));
    EXPECT_EQ(win::driver::Sounds(), std::vector<String>{Path(u"ring001.wav")});
}

TEST_F(OutsideActionsTest, PowerOffIsRecordedAndRefusedWhileCIIsSet) {
    CIVariable keep;
    ::unsetenv("CI");
    EXPECT_FALSE(win::ExitWindowsEx(win::EWX_REBOOT, 0));
    EXPECT_TRUE(win::ExitWindowsEx(win::EWX_SHUTDOWN | win::EWX_FORCE | win::EWX_POWEROFF, 0));
    EXPECT_EQ(win::driver::PowerOffs(), 1);

    ::setenv("CI", "true", 1);
    EXPECT_FALSE(win::ExitWindowsEx(win::EWX_SHUTDOWN | win::EWX_FORCE | win::EWX_POWEROFF, 0));
    EXPECT_EQ(win::driver::PowerOffs(), 1);
    EXPECT_EQ(FLog, std::vector<std::string>{"Power-off refused: the environment variable CI is set"});
}

TEST_F(OutsideActionsTest, InstalledActionsReplaceTheDesktopsAndTheirFailureIsAnError) {
    struct Refusing : shell::TOutsideActions {
        bool Open(const String&, const String&, const String&) override { return false; }
        bool PlaySound(const String&) override { return false; }
        bool PowerOff() override { return false; }
    };
    shell::SetOutsideActions(std::make_unique<Refusing>());
    EXPECT_EQ(reinterpret_cast<intptr_t>(win::ShellExecuteW(nullptr, u"open", u"/tmp", nullptr, nullptr, 1)),
              win::SE_ERR_NOASSOC);
    EXPECT_TRUE(win::driver::ShellOpens().empty());
}

TEST_F(OutsideActionsTest, TrayIconsAreRecordedWithTheFieldsTheirFlagsName) {
    win::NOTIFYICONDATAW data;
    data.cbSize = win::NOTIFYICONDATAW_SIZE;
    data.hWnd = reinterpret_cast<win::HWND>(intptr_t(0x1234));
    data.uID = 1;
    data.uFlags = win::NIF_MESSAGE | win::NIF_TIP;
    data.uCallbackMessage = 0x800;
    data.hIcon = reinterpret_cast<win::HICON>(intptr_t(0x99));
    std::u16string_view tip = u"Velqua 视频";
    std::copy(tip.begin(), tip.end(), data.szTip);
    EXPECT_TRUE(win::Shell_NotifyIconW(win::NIM_ADD, &data));
    EXPECT_FALSE(win::Shell_NotifyIconW(win::NIM_ADD, &data));
    ASSERT_EQ(win::driver::TrayIcons().size(), 1u);
    EXPECT_EQ(win::driver::TrayIcons()[0].Tip, u"Velqua 视频");
    EXPECT_EQ(win::driver::TrayIcons()[0].Icon, nullptr);
    EXPECT_EQ(win::driver::TrayIcons()[0].CallbackMessage, 0x800u);
    data.uFlags = win::NIF_INFO;
    std::fill(std::begin(data.szInfo), std::end(data.szInfo), u'x');
    EXPECT_TRUE(win::Shell_NotifyIconW(win::NIM_MODIFY, &data));
    const win::TTrayIcon balloon = win::driver::TrayIcons()[0];
    EXPECT_TRUE(balloon.ShowBalloon);
    EXPECT_EQ(balloon.BalloonText.size(), 256u);
    data.cbSize = 100;
    EXPECT_FALSE(win::Shell_NotifyIconW(win::NIM_DELETE, &data));
    data.cbSize = win::NOTIFYICONDATAW_SIZE;
    EXPECT_TRUE(win::Shell_NotifyIconW(win::NIM_DELETE, &data));
    EXPECT_TRUE(win::driver::TrayIcons().empty());
    win::driver::SetTrayAvailable(false);
    EXPECT_FALSE(win::Shell_NotifyIconW(win::NIM_ADD, &data));
    std::vector<std::string> calls;
    for (const auto& call : win::driver::TrayCalls()) calls.push_back(call.first);
    EXPECT_EQ(calls, (std::vector<std::string>{"add", "add", "modify", "delete", "add"}));
}

TEST_F(OutsideActionsTest, StartedProgramsGetTheirArgumentsAsGivenAndAreReaped) {
    // The program is the shell only to write out what it was given.
    const std::vector<AnsiString> arguments{
        "sh",
        "-c",
        "printf '%s\\n' \"$@\" > args; pwd > dir; cut -d' ' -f6 /proc/$$/stat > session",
        "sh",
        "a b",
        "c;d",
        "$(touch hacked)",
        "'q'"};
    const pid_t pid = shell::StartDetached(arguments, UTF8ToString(FFolder));
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Reaped(pid));
    EXPECT_EQ(ReadBytes(Path(u"args")), "a b\nc;d\n$(touch hacked)\n'q'\n");
    EXPECT_EQ(ReadBytes(Path(u"dir")), FFolder + "\n");
    EXPECT_FALSE(std::filesystem::exists(FFolder + "/hacked"));
    // Detached: the leader of a session of its own.
    EXPECT_EQ(ReadBytes(Path(u"session")), std::to_string(pid) + "\n");
    EXPECT_TRUE(FLog.empty());
}

TEST_F(OutsideActionsTest, AProgramThatCannotStartIsLogged) {
    EXPECT_EQ(shell::StartDetached({"velqua-no-such-program"}), -1);
    EXPECT_EQ(FLog,
              std::vector<std::string>{"Cannot start velqua-no-such-program: No such file or directory"});
}

}  // namespace
