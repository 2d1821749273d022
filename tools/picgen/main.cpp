// picgen SOURCE.cpp [--preview FILE.png]: draws the pictures the program
// carries compiled in and writes SOURCE.cpp, which holds their files and
// registers them by name (platform/toolkit/resources.h) when the program
// starts. picgen --files FOLDER [--preview FILE.png]: draws the program's
// own pictures as files under FOLDER, the build's resources folder. With
// --preview also a sheet of them all, at their size on a light and a dark
// ground and small ones magnified, to look at. The same bytes every run.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pictures.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/pngimage.h"

namespace {

std::string Source() {
    std::ostringstream out;
    out << "// Written by tools/picgen: the pictures the program carries, registered by name.\n"
           "#include \"platform/toolkit/resources.h\"\n\nnamespace {\n\n";
    const std::vector<TPictureRecipe>& recipes = PictureRecipes();
    for (size_t i = 0; i < recipes.size(); ++i) {
        const std::vector<Byte> bytes = EncodePicture(recipes[i]);
        out << "// " << recipes[i].Name << "\nconst Byte Picture" << i << "[] = {";
        for (size_t b = 0; b < bytes.size(); ++b)
            out << (b % 20 == 0 ? "\n    " : " ") << int(bytes[b]) << ",";
        out << "\n};\n\n";
    }
    out << "struct TRegistration {\n    TRegistration() {\n";
    for (size_t i = 0; i < recipes.size(); ++i)
        out << "        RegisterResource(u\"" << recipes[i].Name << "\", Picture" << i << ");\n";
    out << "    }\n} Registration;\n\n}  // namespace\n";
    return out.str();
}

// APicture over AGround, magnified AZoom times; a checker shows through
// the transparent parts of magnified pictures.
void Lay(TImageData& ASheet, const TImageData& APicture, Integer X, Integer Y, Integer AZoom,
         Cardinal AGround) {
    for (Integer y = 0; y < APicture.Height() * AZoom; ++y) {
        Byte* out = ASheet.ScanLine(Y + y) + 4 * X;
        for (Integer x = 0; x < APicture.Width() * AZoom; ++x, out += 4) {
            const Byte* in = APicture.ScanLine(y / AZoom) + 4 * (x / AZoom);
            const Cardinal ground = AZoom > 1 && ((x / 4 + y / 4) % 2) ? 0xCCCCCC : AGround;
            const int alpha = APicture.HasAlpha ? in[3] : 255;
            for (int c = 0; c < 3; ++c) {
                const int g = (ground >> (8 * c)) & 0xFF;
                out[c] = Byte((in[c] * alpha + g * (255 - alpha) + 127) / 255);
            }
            out[3] = 255;
        }
    }
}

// Small pictures are shown four or two times larger as well.
Integer ZoomOf(const TImageData& APicture) {
    const Integer side = std::max(APicture.Width(), APicture.Height());
    return side <= 48 ? 4 : side <= 96 ? 2 : 1;
}

// Every picture on a light and a dark ground, with its name above; cells
// flow in rows across the sheet.
void WritePreview(const std::vector<TPictureRecipe>& ARecipes, const String& AFileName) {
    constexpr Integer sheetWidth = 1280, margin = 8, label = 16;
    struct TCell {
        Integer X, Y;
        TImageData Picture;
    };
    std::vector<TCell> cells;
    Integer x = margin, y = margin, rowHeight = 0;
    for (const TPictureRecipe& recipe : ARecipes) {
        TImageData picture = RenderPicture(recipe);
        const Integer zoom = ZoomOf(picture);
        const Integer width =
            std::max(2 * picture.Width() + 4 + (zoom > 1 ? picture.Width() * zoom + 4 : 0), 200);
        const Integer height = label + std::max(picture.Height(), zoom > 1 ? picture.Height() * zoom : 0);
        if (x + width > sheetWidth - margin && x > margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        cells.push_back({x, y, std::move(picture)});
        x += width + 2 * margin;
        rowHeight = std::max(rowHeight, height);
    }
    TImageData sheet(sheetWidth, y + rowHeight + margin);
    for (Integer row = 0; row < sheet.Height(); ++row)
        std::fill_n(sheet.ScanLine(row), 4 * sheet.Width(), 0xF4);
    for (const TCell& cell : cells) {
        const TImageData& picture = cell.Picture;
        const Integer top = cell.Y + label;
        Lay(sheet, picture, cell.X, top, 1, 0xFFFFFF);
        Lay(sheet, picture, cell.X + picture.Width() + 2, top, 1, 0x2B2B2B);
        if (ZoomOf(picture) > 1)
            Lay(sheet, picture, cell.X + 2 * picture.Width() + 6, top, ZoomOf(picture), 0xFFFFFF);
    }
    TBitmap bitmap;
    bitmap.LoadFromImageData(sheet, pf24bit);
    bitmap.Canvas()->Font()->SetName(u"Tahoma");
    bitmap.Canvas()->Font()->SetHeight(-11);
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    for (size_t i = 0; i < cells.size(); ++i)
        bitmap.Canvas()->TextOut(cells[i].X, cells[i].Y, UTF8ToString(ARecipes[i].Name));
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile(AFileName);
}

// The program's pictures as files under AFolder, each at its name.
void WriteFiles(const std::string& AFolder) {
    for (const TPictureRecipe& recipe : ProgramPictureRecipes()) {
        const std::filesystem::path path = std::filesystem::path(AFolder) / recipe.Name;
        std::filesystem::create_directories(path.parent_path());
        const std::vector<Byte> bytes = EncodePicture(recipe);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool files = !args.empty() && args[0] == "--files";
    const size_t target = files ? 1 : 0;
    const bool preview = args.size() == target + 3 && args[target + 1] == "--preview";
    if (args.size() != target + 1 && !preview) {
        std::fprintf(stderr,
                     "usage: picgen SOURCE.cpp [--preview FILE.png]\n"
                     "       picgen --files FOLDER [--preview FILE.png]\n");
        return 2;
    }
    try {
        if (files) {
            WriteFiles(args[target]);
        } else {
            const std::string source = Source();
            std::ofstream out(args[target], std::ios::binary);
            out << source;
            if (!out.flush()) throw std::runtime_error("cannot write " + args[target]);
        }
        if (preview)
            WritePreview(files ? ProgramPictureRecipes() : PictureRecipes(), UTF8ToString(args[target + 2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "picgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
