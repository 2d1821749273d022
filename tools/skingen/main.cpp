// skingen FOLDER [--preview FILE.png]: writes the project skins into FOLDER,
// each as a folder skin (FOLDER/<name>/skin.ini and its pictures) and as a
// compressed skin (FOLDER/<name>.skn); with --preview also a sheet of every
// element and the frame, to look at.
#include <cstdio>
#include <exception>

#include "platform/base/fileutils.h"
#include "skingen.h"
#include "skinpreview.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: skingen FOLDER [--preview FILE.png]\n");
        return 2;
    }
    try {
        const String folder = IncludeTrailingPathDelimiter(UTF8ToString(argv[1]));
        for (const String& name : ProjectSkinNames()) {
            const String ini = WriteGeneratedSkin(GenerateSkin(name), folder + name);
            WriteCompressedSkin(ini, folder + name + u".skn");
        }
        if (argc == 4) WritePreviewSheet(folder, UTF8ToString(argv[3]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
