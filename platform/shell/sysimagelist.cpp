#include "platform/shell/sysimagelist.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "platform/shell/userdirs.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/pngimage.h"
#include "platform/toolkit/resources.h"

namespace fs = std::filesystem;

namespace shell {

namespace {

struct TIconNames {
    const char* Drawn;
    const char* Theme;
};

// In TShellIcon order: the drawn picture's name and the theme's standard name.
constexpr TIconNames Names[] = {
    {"FOLDER", "folder"},
    {"OPENFOLDER", "folder-open"},
    {"DESKTOP", "user-desktop"},
    {"COMPUTER", "computer"},
    {"HOME", "user-home"},
    {"DISK", "drive-harddisk"},
    {"REMOVABLE", "drive-removable-media"},
    {"OPTICAL", "drive-optical"},
    {"NETWORK", "folder-remote"},
    {"FILE", "text-x-generic"},
    {"VIDEO", "video-x-generic"},
    {"AUDIO", "audio-x-generic"},
    {"PICTURE", "image-x-generic"},
    {"ARCHIVE", "package-x-generic"},
};

struct TState {
    std::unique_ptr<TCustomImageList> Lists[2];
    std::optional<std::vector<String>> Folders;
};

TState& State() {
    static auto* state = new TState;
    return *state;
}

std::vector<fs::path> IconFolders() {
    std::vector<fs::path> folders;
    const auto add = [&](const String& AFolder) { folders.emplace_back(StringToUTF8(AFolder)); };
    if (State().Folders) {
        for (const String& folder : *State().Folders)
            add(folder);
    } else {
        add(DataHome() + u"/icons");
        for (const String& dir : DataDirs())
            add(dir + u"/icons");
    }
    return folders;
}

AnsiString Trimmed(const AnsiString& AText) {
    return StringToUTF8(Trim(UTF8ToString(AText)));
}

// The value of "AKey=" in an ini-style file, trimmed; "" without one.
AnsiString KeyOf(const fs::path& AFile, const char* AKey) {
    std::ifstream file(AFile);
    const AnsiString key = AnsiString(AKey);
    AnsiString line;
    while (std::getline(file, line)) {
        const size_t equals = line.find('=');
        if (equals != AnsiString::npos && Trimmed(line.substr(0, equals)) == key)
            return Trimmed(line.substr(equals + 1));
    }
    return "";
}

// The user's theme, the themes it inherits from, then hicolor.
std::vector<AnsiString> ThemeChain(const std::vector<fs::path>& AFolders) {
    AnsiString theme = KeyOf(StringToUTF8(ConfigHome() + u"/gtk-3.0/settings.ini"), "gtk-icon-theme-name");
    if (theme.empty()) theme = "Adwaita";
    std::vector<AnsiString> chain;
    std::vector<AnsiString> pending{theme};
    while (!pending.empty() && chain.size() < 8) {
        const AnsiString name = Trimmed(pending.front());
        pending.erase(pending.begin());
        if (name.empty() || std::find(chain.begin(), chain.end(), name) != chain.end()) continue;
        chain.push_back(name);
        for (const fs::path& folder : AFolders) {
            const AnsiString inherits = KeyOf(folder / name / "index.theme", "Inherits");
            size_t start = 0;
            while (start < inherits.size()) {
                const size_t end = std::min(inherits.find(',', start), inherits.size());
                pending.push_back(inherits.substr(start, end - start));
                start = end + 1;
            }
            if (!inherits.empty()) break;
        }
    }
    if (std::find(chain.begin(), chain.end(), "hicolor") == chain.end()) chain.push_back("hicolor");
    return chain;
}

// The PNG of AName at ASize in one theme: that size, else the smallest larger one.
std::optional<fs::path> FindInTheme(const std::vector<fs::path>& AFolders, const AnsiString& ATheme,
                                    const AnsiString& AName, Integer ASize) {
    std::map<Integer, fs::path> found;
    std::error_code error;
    for (const fs::path& folder : AFolders) {
        const fs::path theme = folder / ATheme;
        for (const fs::directory_entry& sizeDir : fs::directory_iterator(theme, error)) {
            const AnsiString dirName = sizeDir.path().filename().string();
            const size_t x = dirName.find('x');
            Integer size = 0;
            if (x == AnsiString::npos || !TryStrToInt(UTF8ToString(dirName.substr(0, x)), size) ||
                dirName.substr(x + 1) != dirName.substr(0, x) || size < ASize || found.count(size))
                continue;
            for (const fs::directory_entry& context : fs::directory_iterator(sizeDir.path(), error)) {
                const fs::path file = context.path() / (AName + ".png");
                if (fs::is_regular_file(file, error)) {
                    found[size] = file;
                    break;
                }
            }
        }
    }
    if (found.empty()) return std::nullopt;
    return found.begin()->second;
}

// Area-averaged, by premultiplied colour.
TImageData ScaleDown(const TImageData& AImage, Integer ASize) {
    if (AImage.Width() == ASize && AImage.Height() == ASize) return AImage;
    TImageData out(ASize, ASize);
    out.HasAlpha = true;
    for (Integer y = 0; y < ASize; ++y) {
        const Integer y0 = y * AImage.Height() / ASize,
                      y1 = std::max(y0 + 1, (y + 1) * AImage.Height() / ASize);
        for (Integer x = 0; x < ASize; ++x) {
            const Integer x0 = x * AImage.Width() / ASize,
                          x1 = std::max(x0 + 1, (x + 1) * AImage.Width() / ASize);
            double sum[4] = {0, 0, 0, 0};
            for (Integer sy = y0; sy < y1; ++sy)
                for (Integer sx = x0; sx < x1; ++sx) {
                    const Byte* p = AImage.ScanLine(sy) + 4 * sx;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * p[3];
                    sum[3] += p[3];
                }
            Byte* o = out.ScanLine(y) + 4 * x;
            const double n = double(x1 - x0) * (y1 - y0);
            for (int c = 0; c < 3; ++c)
                o[c] = sum[3] > 0 ? Byte(sum[c] / sum[3] + 0.5) : 0;
            o[3] = Byte(sum[3] / n + 0.5);
        }
    }
    return out;
}

// The theme's picture, or none when there is none or it cannot be read.
std::optional<TImageData> ThemePicture(const std::vector<fs::path>& AFolders,
                                       const std::vector<AnsiString>& AThemes, const char* AName,
                                       Integer ASize) {
    for (const AnsiString& theme : AThemes) {
        const std::optional<fs::path> file = FindInTheme(AFolders, theme, AName, ASize);
        if (!file) continue;
        try {
            TPngImage png;
            png.LoadFromFile(UTF8ToString(file->string()));
            TBitmap bitmap;
            bitmap.Assign(&png);
            bitmap.SetPixelFormat(pf32bit);
            TImageData image = bitmap.ToImageData();
            if (png.TransparencyMode() == ptmNone)
                for (Integer y = 0; y < image.Height(); ++y)
                    for (Integer x = 0; x < image.Width(); ++x)
                        image.ScanLine(y)[4 * x + 3] = 255;
            return ScaleDown(image, ASize);
        } catch (const Exception&) {
        }
    }
    return std::nullopt;
}

void Fill(TCustomImageList& AList, Integer ASize) {
    const std::vector<fs::path> folders = IconFolders();
    const std::vector<AnsiString> themes = folders.empty() ? std::vector<AnsiString>{} : ThemeChain(folders);
    AList.Clear();
    for (const TIconNames& names : Names) {
        TBitmap bitmap;
        const std::optional<TImageData> theme =
            folders.empty() ? std::nullopt : ThemePicture(folders, themes, names.Theme, ASize);
        if (theme)
            bitmap.LoadFromImageData(*theme, pf32bit);
        else
            bitmap.LoadFromResourceName(u"SHELL_" + UTF8ToString(names.Drawn) + u"_" + IntToStr(ASize));
        AList.Add(&bitmap, nullptr);
    }
}

}  // namespace

TCustomImageList* SystemImageList(bool ALarge) {
    std::unique_ptr<TCustomImageList>& list = State().Lists[ALarge ? 1 : 0];
    if (!list) {
        const Integer size = ALarge ? 32 : 16;
        list = std::make_unique<TCustomImageList>(size, size);
        list->SetColorDepth(cd32Bit);
        Fill(*list, size);
    }
    return list.get();
}

TShellIcon FileIcon(const String& AFileName) {
    static const std::map<String, TShellIcon> byExtension = [] {
        std::map<String, TShellIcon> map;
        for (const char16_t* ext :
             {u"mp4", u"avi", u"mkv",  u"mov", u"wmv",  u"flv", u"mpg", u"mpeg", u"mts", u"m2ts", u"ts",
              u"vob", u"rm",  u"rmvb", u"3gp", u"webm", u"m4v", u"mod", u"ogv",  u"asf", u"f4v",  u"dv"})
            map[ext] = siVideo;
        for (const char16_t* ext : {u"mp3", u"wav", u"wma", u"aac", u"flac", u"ogg", u"oga", u"m4a", u"ac3",
                                    u"ape", u"amr", u"mka", u"opus", u"mp2"})
            map[ext] = siAudio;
        for (const char16_t* ext : {u"bmp", u"jpg", u"jpeg", u"gif", u"png", u"ico", u"tif", u"tiff", u"webp",
                                    u"emf", u"wmf", u"svg"})
            map[ext] = siPicture;
        for (const char16_t* ext :
             {u"zip", u"rar", u"7z", u"gz", u"tgz", u"bz2", u"xz", u"tar", u"zst", u"deb"})
            map[ext] = siArchive;
        return map;
    }();
    const String ext = AnsiLowerCase(ExtractFileExt(AFileName));
    const auto it = ext.size() > 1 ? byExtension.find(ext.substr(1)) : byExtension.end();
    return it == byExtension.end() ? siFile : it->second;
}

void SetIconFolders(std::optional<std::vector<String>> AFolders) {
    TState& state = State();
    state.Folders = std::move(AFolders);
    for (int i = 0; i < 2; ++i)
        if (state.Lists[i]) Fill(*state.Lists[i], i ? 32 : 16);
}

}  // namespace shell
