#include "mediatest.h"

#include <cstdlib>
#include <ctime>
#include <thread>

#include "media/ffmpegloader.h"
#include "platform/base/syncobjs.h"
#include "platform/base/ustring.h"

String TestDataFile(std::u16string_view AName) {
    const char* folder = std::getenv("VELQUA_TEST_DATA");
    return UTF8ToString(folder ? folder : "testdata") + u"/" + String(AName);
}

AnsiString TestDataPath(std::u16string_view AName) {
    return StringToUTF8(TestDataFile(AName));
}

void OnWorker(const std::function<void()>& AWork) {
    TEvent done;
    std::thread worker([&] {
        AWork();
        done.SetEvent();
    });
    done.WaitFor(INFINITE);
    worker.join();
}

void MediaTest::SetUp() {
    ASSERT_TRUE(LibLoader.Load(ProbeLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
}

void MediaTest::TearDown() {
    LibLoader.Unload(ProbeLibraries);
}

TLogCapture::TLogCapture(TLogLevel ALevel) : FSavedLevel(GetLogger()->LogLevel()) {
    TFFLogger* logger = GetLogger();
    logger->SetLogLevel(ALevel);
    logger->SetTriggerEventInMainThread(false);
    logger->SetOnLog([this](TObject*, Cardinal, TLogLevel ALevel, const String& AMsg) {
        Lines.push_back(AMsg);
        Levels.push_back(ALevel);
    });
}

TLogCapture::~TLogCapture() {
    TFFLogger* logger = GetLogger();
    logger->SetOnLog(nullptr);
    logger->SetTriggerEventInMainThread(true);
    logger->SetLogLevel(FSavedLevel);
}

TTimeZone::TTimeZone(const char* AZone) {
    const char* zone = std::getenv("TZ");
    FHadZone = zone != nullptr;
    if (zone) FSaved = zone;
    setenv("TZ", AZone, 1);
    tzset();
}

TTimeZone::~TTimeZone() {
    if (FHadZone)
        setenv("TZ", FSaved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
