// skin_corpus FOLDER: the fixture skins as seeds of the skin readers'
// corpora: FOLDER/folder holds INI texts, FOLDER/compressed containers.
#include <cstdio>

#include "platform/base/fileutils.h"
#include "skinfixtures.h"

using namespace skinfixtures;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_corpus FOLDER\n");
        return 2;
    }
    const String folder = IncludeTrailingPathDelimiter(UTF8ToString(argv[1]));
    ForceDirectories(folder + u"folder");
    ForceDirectories(folder + u"compressed");
    Integer n = 0;
    const auto seed = [&](const TFixtureSkin& ASkin) {
        const String name = IntToStr(n++);
        WriteFileBytes(folder + u"folder/" + name, IniText(ASkin));
        WriteFileBytes(folder + u"compressed/" + name, CompressedSkin(ASkin));
    };
    seed(MinimalSkin());
    seed(LayeredSkin());
    // The program's skin seeds the compressed reader only: its long text
    // makes every run of the folder reader slow.
    WriteFileBytes(folder + u"compressed/" + IntToStr(n++), CompressedSkin(ProjectSkin(u"default")));
    for (const TBrokenSkin& broken : BrokenSkins()) {
        const String name = IntToStr(n++);
        if (broken.Container.empty()) {
            WriteFileBytes(folder + u"folder/" + name, IniText(broken.Folder));
            WriteFileBytes(folder + u"compressed/" + name, CompressedSkin(broken.Folder));
        } else {
            WriteFileBytes(folder + u"compressed/" + name, broken.Container);
        }
    }
    return 0;
}
