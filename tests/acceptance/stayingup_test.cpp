// The program stays up: thousands of files added at once under the usual
// descriptor limit, a skin list with a broken skin file, and a skin whose
// elements ask for huge pictures.
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "acceptance.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

// The descriptors the program holds now: its process is the velqua whose
// working folder is the program folder. -1 when there is none.
long ProgramDescriptors(const std::string& AFolder) {
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
        std::error_code error;
        if (fs::read_symlink(process.path() / "cwd", error) != fs::path(AFolder) || error) continue;
        if (fs::read_symlink(process.path() / "exe", error).filename() != "velqua" || error) continue;
        return std::distance(fs::directory_iterator(process.path() / "fd", error), fs::directory_iterator());
    }
    return -1;
}

// The usual desktop limit of 1,024 descriptors for what starts while it lives.
class UsualDescriptorLimit {
public:
    UsualDescriptorLimit() {
        getrlimit(RLIMIT_NOFILE, &FSaved);
        rlimit usual = FSaved;
        usual.rlim_cur = std::min<rlim_t>(FSaved.rlim_max, 1024);
        setrlimit(RLIMIT_NOFILE, &usual);
    }
    ~UsualDescriptorLimit() { setrlimit(RLIMIT_NOFILE, &FSaved); }
    UsualDescriptorLimit(const UsualDescriptorLimit&) = delete;
    UsualDescriptorLimit& operator=(const UsualDescriptorLimit&) = delete;

private:
    rlimit FSaved{};
};

uint32_t LittleEndian32(const std::string& ABytes, size_t AAt) {
    uint32_t value = 0;
    std::memcpy(&value, ABytes.data() + AAt, sizeof value);
    return value;
}

std::string LittleEndian32(uint32_t AValue) {
    return std::string(reinterpret_cast<const char*>(&AValue), sizeof AValue);
}

// The skin text of a skin file's payload: everything from its first
// section, after the pictures, is INI text.
constexpr const char* SkinTextStart = "[VERSION]";

// Gives every rectangle of the skin file's control elements (the sections
// its SKINCONTROLS names) the value ARect. A skin file is a version, the
// length of the zlib data and the zlib data of the payload.
void SetElementRectangles(const fs::path& ASkin, const std::string& ARect) {
    const std::string container = FileBytes(ASkin);
    ASSERT_GE(container.size(), 8u);
    const uint32_t length = LittleEndian32(container, 4);
    ASSERT_LE(length, container.size() - 8);
    std::string payload(64 << 20, '\0');
    uLongf inflated = payload.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(payload.data()), &inflated,
                         reinterpret_cast<const Bytef*>(container.data() + 8), length),
              Z_OK);
    payload.resize(inflated);
    const size_t textStart = payload.find(SkinTextStart);
    ASSERT_NE(textStart, std::string::npos);

    std::vector<std::string> lines;
    std::istringstream text(payload.substr(textStart));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    const auto sectionOf = [](const std::string& ALine) {
        return ALine.starts_with('[') ? ALine.substr(1, ALine.find(']') - 1) : std::string();
    };
    std::set<std::string> elements;
    std::string section;
    for (const std::string& line : lines) {
        if (const std::string header = sectionOf(line); !header.empty()) section = header;
        const size_t equals = line.find('='), colon = line.find(':');
        if (section == "SKINCONTROLS" && equals != std::string::npos && colon != std::string::npos)
            elements.insert(line.substr(equals + 1, colon - equals - 1));
    }
    ASSERT_GT(elements.size(), 20u);
    std::string changed = payload.substr(0, textStart);
    section.clear();
    for (const std::string& line : lines) {
        if (const std::string header = sectionOf(line); !header.empty()) section = header;
        const size_t equals = line.find('=');
        const bool rectangle = equals != std::string::npos && line.substr(0, equals).ends_with("rect");
        changed += elements.contains(section) && rectangle ? line.substr(0, equals + 1) + ARect + "\r" : line;
        changed += "\n";
    }

    std::string zlib(compressBound(changed.size()), '\0');
    uLongf deflated = zlib.size();
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(zlib.data()), &deflated,
                       reinterpret_cast<const Bytef*>(changed.data()), changed.size()),
              Z_OK);
    zlib.resize(deflated);
    std::ofstream(ASkin, std::ios::binary | std::ios::trunc)
        << container.substr(0, 4) << LittleEndian32(uint32_t(zlib.size())) << zlib;
}

using StayingUpTest = ProgramTest;

// 2,000 files chosen at once in 添加多个文件: every one is added without a
// word, the program holds no more descriptors than before, and the last one
// still opens in the preview.
TEST_F(StayingUpTest, TwoThousandFilesAddedAtOnceAndThePreviewStillOpens) {
    {
        const UsualDescriptorLimit limit;
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }
    const std::string folder = FProgram->Folder() + "/many";
    fs::create_directories(folder);
    MakeMedia(folder + "/c0000.avi", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=0.3"});
    for (int i = 1; i < 2000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/c%04d.avi", i);
        fs::create_hard_link(folder + "/c0000.avi", folder + name);
    }
    const long before = ProgramDescriptors(FProgram->Folder());
    ASSERT_GT(before, 0);
    const Rect preview = MainControl("Panel6");
    const Image idlePreview = FDesktop.Grab(preview);

    ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(1));
    const Window dialog = FDesktop.WaitForClient("打开文件");
    ASSERT_NE(dialog, 0u) << "The open dialog did not open";
    // The list of files, under the 查找范围 row; each step waits for the list
    // to show that it was taken.
    const Rect bounds = FDesktop.Bounds(dialog);
    const Rect list{bounds.x + 4, bounds.y + 58, bounds.w - 8, 160};
    const auto changes = [&](const std::function<void()>& AStep, const char* AWhat) {
        const Image before = FDesktop.Grab(list);
        AStep();
        return WaitUntil([&] { return FDesktop.Grab(list) != before; }, 60s)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << AWhat;
    };
    ASSERT_TRUE(changes(
        [&] {
            FDesktop.Type(folder + "/");
            FDesktop.Key("Return");
        },
        "The dialog did not show the folder"));
    // The first file of the folder, top left of the list, then all to the last.
    ASSERT_TRUE(changes([&] { FDesktop.Click(bounds.At(46, 64)); }, "The first file was not selected"));
    ASSERT_TRUE(
        changes([&] { FDesktop.Key("End", {"Shift_L"}); }, "The files were not selected to the last"));
    const std::vector<Window> clients = FDesktop.Clients();
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(dialog, 60s)) << "The open dialog did not close";

    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(preview) != idlePreview; }, 120s))
        << "The preview never showed the last file";
    EXPECT_TRUE(FProgram->Running());
    // No box: nothing failed on the way.
    EXPECT_EQ(FDesktop.WaitForNewClient(clients, 1s), 0u);
    EXPECT_LE(ProgramDescriptors(FProgram->Folder()), before + 8);
    // Freeing 2,000 rows takes about a minute in the sanitizer build.
    CloseProgram(180s);
}

// A skin file of the program's list cut in half, while the settings ask for
// that very skin: one box names it, and the program starts in the other.
TEST_F(StayingUpTest, ABrokenSkinFileIsLeftOutAndTheProgramStarts) {
    FProgram = std::make_unique<Program>(FDesktop, Folder(), InSkin(1));
    const fs::path skin = FProgram->Folder() + "/resources/skins/second.skn";
    fs::resize_file(skin, fs::file_size(skin) / 2);
    const std::vector<Window> clients = FDesktop.Clients();
    FProgram->Start();

    const Window box = FDesktop.WaitForNewClient(clients, 60s);
    ASSERT_NE(box, 0u) << "No box told of the broken skin. The program said:\n" << FProgram->Log();
    EXPECT_NE(FDesktop.Title(box), MainTitle);
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(box));
    FMain = FProgram->WaitForMainWindow();
    ASSERT_NE(FMain, 0u) << "The main window never showed. The program said:\n" << FProgram->Log();
    EXPECT_EQ(FProgram->Log().find("Stream read error"), std::string::npos) << FProgram->Log();
    CloseProgram();
}

// The skin in use with every rectangle of its elements far past the
// pictures (once a paint error that opened box upon box): the program starts
// in it without a word, the elements it cannot draw take the default look,
// and it closes cleanly.
class HugeRectanglesTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(HugeRectanglesTest, TheProgramStartsAndOpensNoBox) {
    FProgram = std::make_unique<Program>(FDesktop, Folder(), InSkin(GetParam()));
    const char* skins[] = {"default.skn", "second.skn"};
    ASSERT_NO_FATAL_FAILURE(SetElementRectangles(FProgram->Folder() + "/resources/skins/" + skins[GetParam()],
                                                 "0,0,30000,30000"));
    const std::vector<Window> clients = FDesktop.Clients();
    FProgram->Start();
    FMain = FProgram->WaitForMainWindow();
    ASSERT_NE(FMain, 0u) << "The main window never showed. The program said:\n" << FProgram->Log();
    // The output folder's field paints: its frame and the folder's name.
    const Rect field = MainControl("Video_OutPut_Folder_Edit");
    const auto painted = [](const Image& AImage) {
        return std::adjacent_find(AImage.pixels.begin(), AImage.pixels.end(), std::not_equal_to<>()) !=
               AImage.pixels.end();
    };
    EXPECT_TRUE(WaitUntil([&] { return painted(FDesktop.Grab(field)); }, 30s))
        << "The output folder's field never painted";
    std::vector<Window> known = clients;
    known.push_back(FMain);
    EXPECT_EQ(FDesktop.WaitForNewClient(known, 2s), 0u) << "A box opened. The program said:\n"
                                                        << FProgram->Log();
    EXPECT_TRUE(FProgram->Running());
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(Skins, HugeRectanglesTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace acceptance
