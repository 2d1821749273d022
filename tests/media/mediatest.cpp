#include "mediatest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "platform/base/syncobjs.h"
#include "platform/base/ustring.h"

// FFmpeg's own threads hand their buffers over through atomic counters that
// ThreadSanitizer cannot see in the uninstrumented libraries: what it reports
// inside them says nothing about the project's code.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libavutil.so\nrace:libavcodec.so\nrace:libavformat.so\nrace:libavfilter.so\n"
           "race:libswscale.so\nrace:libswresample.so\nrace:libx264.so\n";
}

String TestDataFile(std::u16string_view AName) {
    const char* folder = std::getenv("VELQUA_TEST_DATA");
    return UTF8ToString(folder ? folder : "testdata") + u"/" + String(AName);
}

AnsiString TestDataPath(std::u16string_view AName) {
    return StringToUTF8(TestDataFile(AName));
}

std::array<int32_t, 9> DisplayMatrix(double A, double B, double C, double D) {
    const auto fixed = [](double AValue) { return static_cast<int32_t>(std::lround(AValue * 65536)); };
    return {fixed(A), fixed(B), 0, fixed(C), fixed(D), 0, 0, 0, 1 << 30};
}

void WriteWithDisplayMatrix(std::u16string_view AFixture, const std::array<int32_t, 9>& AMatrix,
                            const String& ATarget) {
    std::ifstream in(TestDataPath(AFixture), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const size_t box = bytes.find("tkhd");
    ASSERT_NE(box, std::string::npos);
    // After the name: version and flags, two times, the track id, a reserved
    // word, the duration (times and duration 8 bytes each from version 1),
    // eight reserved bytes, layer, group, volume and two reserved: the matrix.
    const bool wide = bytes[box + 4] == 1;
    size_t at = box + 4 + 4 + (wide ? 16 : 8) + 4 + 4 + (wide ? 8 : 4) + 8 + 2 + 2 + 2 + 2;
    ASSERT_LE(at + 36, bytes.size());
    for (int32_t value : AMatrix) {
        const auto word = static_cast<uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes[at++] = static_cast<char>((word >> shift) & 0xFF);
    }
    std::ofstream(StringToUTF8(ATarget), std::ios::binary | std::ios::trunc) << bytes;
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

long OpenDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

TDescriptorLimit::TDescriptorLimit(long AMore) {
    getrlimit(RLIMIT_NOFILE, &FSaved);
    rlimit lowered = FSaved;
    lowered.rlim_cur = rlim_t(OpenDescriptors() + AMore);
    setrlimit(RLIMIT_NOFILE, &lowered);
}

TDescriptorLimit::~TDescriptorLimit() {
    setrlimit(RLIMIT_NOFILE, &FSaved);
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

const TProbedStream* TProbedFile::Find(AVMediaType AType) const {
    for (const TProbedStream& stream : Streams)
        if (stream.Type == AType) return &stream;
    return nullptr;
}

TProbedFile ProbeMedia(std::u16string_view AFileName, bool ACollect) {
    TProbedFile file;
    AVFormatContext* ic = nullptr;
    const AnsiString name = StringToUTF8(String(AFileName));
    if (avformat::avformat_open_input(&ic, name.c_str(), nullptr, nullptr) < 0) return file;
    if (avformat::avformat_find_stream_info(ic, nullptr) < 0) {
        avformat::avformat_close_input(&ic);
        return file;
    }
    file.Opened = true;
    file.Format = ic->iformat->name;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* par = ic->streams[i]->codecpar;
        TProbedStream stream;
        stream.Type = par->codec_type;
        const AVCodecDescriptor* descriptor = avcodec::avcodec_descriptor_get(par->codec_id);
        stream.Codec = descriptor ? descriptor->name : "none";
        stream.Tag = par->codec_tag;
        stream.Width = par->width;
        stream.Height = par->height;
        stream.SampleRate = par->sample_rate;
        stream.Channels = par->ch_layout.nb_channels;
        stream.Checksum = 14695981039346656037ULL;
        file.Streams.push_back(stream);
    }
    AVPacket* packet = avcodec::av_packet_alloc();
    std::vector<bool> timed(file.Streams.size(), false);
    const bool pcm = [&] {
        const TProbedStream* audio = file.Find(AVMEDIA_TYPE_AUDIO);
        return audio && (audio->Codec == "pcm_s16le");
    }();
    while (avformat::av_read_frame(ic, packet) >= 0) {
        const auto index = static_cast<size_t>(packet->stream_index);
        if (index < file.Streams.size()) {
            TProbedStream& stream = file.Streams[index];
            const AVRational base = ic->streams[index]->time_base;
            ++stream.Packets;
            const Int64 stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp != AV_NOPTS_VALUE) {
                const double start = static_cast<double>(stamp) * av_q2d(base);
                const double end = static_cast<double>(stamp + packet->duration) * av_q2d(base);
                stream.Times.push_back(start);
                if (!timed[index] || start < stream.Start) stream.Start = start;
                if (!timed[index] || end > stream.End) stream.End = end;
                timed[index] = true;
            }
            if (stream.Type == AVMEDIA_TYPE_AUDIO && stream.SampleRate > 0)
                stream.Samples +=
                    avutil::av_rescale_q(packet->duration, base, AVRational{1, stream.SampleRate});
            for (int i = 0; i < packet->size; ++i)
                stream.Checksum = (stream.Checksum ^ packet->data[i]) * 1099511628211ULL;
            if (ACollect) stream.Data.emplace_back(packet->data, packet->data + packet->size);
            if (pcm && &stream == file.Find(AVMEDIA_TYPE_AUDIO)) {
                const auto* samples = reinterpret_cast<const int16_t*>(packet->data);
                file.Samples.insert(file.Samples.end(), samples, samples + packet->size / 2);
            }
        }
        avcodec::av_packet_unref(packet);
    }
    avcodec::av_packet_free(&packet);
    avformat::avformat_close_input(&ic);
    for (TProbedStream& stream : file.Streams)
        std::sort(stream.Times.begin(), stream.Times.end());
    return file;
}
