// The libFuzzer target of the media open path: the bytes as a file given to
// the prober, which opens it, describes it and its streams, decodes, seeks
// and steps through its pictures and copies one into a bitmap. A damaged
// file may be refused (false with a message) or raise the media library's
// errors; nothing may crash, hang or leak.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/avprobe.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegloader.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/bitmap.h"

namespace {

// Enough pictures to pass the first key frame without slowing each run down.
constexpr int MaxPictures = 4;

const String& InputFile() {
    static const String file = [] {
        static std::string folder = "/tmp/velqua-mediafuzz-XXXXXX";
        if (!::mkdtemp(folder.data())) std::abort();
        // A run that ends normally leaves nothing in /tmp.
        std::atexit([] { std::filesystem::remove_all(folder); });
        if (!LibLoader.Load(ProbeLibraries)) std::abort();
        GetLogger()->SetLogLevel(llQuiet);
        return UTF8ToString(folder + "/input");
    }();
    return file;
}

void Describe(TAVProbe& AProbe) {
    AProbe.FileInfoText();
    AProbe.FileStreamInfo();
    for (Integer i = 0; i < AProbe.StreamCount(); ++i) {
        if (AProbe.IsAudioStream(i)) AProbe.GetAudioStreamInfo(i);
        if (AProbe.IsVideoStream(i)) AProbe.GetVideoStreamInfo(i);
        if (AProbe.IsSubtitleStream(i)) AProbe.GetSubtitleStreamInfo(i);
    }
}

void Decode(TAVProbe& AProbe) {
    if (AProbe.VideoStreamCount() <= 0) return;
    TBitmap picture;
    for (int i = 0; i < MaxPictures && AProbe.Decode(-1); ++i)
        AProbe.CopyToBitmap(&picture);
    const Int64 duration = AProbe.FileStreamInfo().Duration;
    if (AProbe.Seek(duration > 0 ? duration / 2 : 0, {}) && AProbe.Decode(-1)) AProbe.CopyToBitmap(&picture);
    if (AProbe.DecodeNextKeyFrame(-1)) AProbe.CopyToBitmap(&picture);
    if (AProbe.DecodePreviousFrame(-1)) AProbe.CopyToBitmap(&picture);
    AProbe.Seek(AProbe.FileSize() / 2, {sfByte});
    AProbe.DecodePreviousKeyFrame(-1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const String& file = InputFile();
    std::ofstream(StringToUTF8(file), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(AData), std::streamsize(ASize));
    TAVProbe probe(nullptr);
    try {
        if (probe.LoadFile(file, u"")) {
            Describe(probe);
            Decode(probe);
        }
    } catch (const Exception&) {
    }
    return 0;
}
