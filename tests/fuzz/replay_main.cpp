// The main of a fuzz target outside a libFuzzer build: feeds the target each
// file named, or found under a folder named, once, so every build checks that
// the harness builds and that its seeds pass. Arguments starting with '-' are
// libFuzzer's options; of those only -max_len=N counts (a longer file is cut
// as libFuzzer cuts it).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& APath) {
    if (!std::filesystem::is_directory(APath)) return {APath};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(APath))
        if (entry.is_regular_file()) files.push_back(entry.path());
    // The same order on every machine, for a failure that repeats.
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    size_t maxLength = SIZE_MAX;
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        constexpr std::string_view MaxLenOption = "-max_len=";
        if (argument.starts_with(MaxLenOption))
            maxLength = std::stoul(std::string(argument.substr(MaxLenOption.size())));
        else if (!argument.starts_with("-"))
            for (auto& file : InputsOf(argument))
                inputs.push_back(std::move(file));
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: no seed files given or found\n", argv[0]);
        return 1;
    }
    for (const auto& file : inputs) {
        std::ifstream stream(file, std::ios::binary);
        if (!stream) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
            return 1;
        }
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        bytes.resize(std::min(bytes.size(), maxLength));
        // libFuzzer never passes a null pointer, not even for no bytes.
        static const uint8_t NoBytes = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &NoBytes : bytes.data(), bytes.size());
    }
    std::printf("%zu seed files replayed\n", inputs.size());
    return 0;
}
