// picgen SOURCE.cpp [--preview FILE.png]: draws the pictures the program
// carries and writes SOURCE.cpp, which holds their files and registers
// them by name (platform/toolkit/resources.h) when the program starts; with
// --preview also a sheet of them all, at their size on a light and a dark
// ground and magnified four times, to look at. The same bytes every run.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>

#include "pictures.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/pngimage.h"

namespace {

std::string Source() {
    std::ostringstream out;
    out << "// Written by tools/picgen: the pictures the program carries, registered by name.\n"
           "#include \"platform/toolkit/resources.h\"\n\nnamespace {\n\n";
    const std::vector<TPictureSpec>& specs = PictureSpecs();
    for (size_t i = 0; i < specs.size(); ++i) {
        const std::vector<Byte> bytes = EncodePicture(specs[i]);
        out << "// " << specs[i].Name << "\nconst Byte Picture" << i << "[] = {";
        for (size_t b = 0; b < bytes.size(); ++b)
            out << (b % 20 == 0 ? "\n    " : " ") << int(bytes[b]) << ",";
        out << "\n};\n\n";
    }
    out << "struct TRegistration {\n    TRegistration() {\n";
    for (size_t i = 0; i < specs.size(); ++i)
        out << "        RegisterResource(u\"" << specs[i].Name << "\", Picture" << i << ");\n";
    out << "    }\n} Registration;\n\n}  // namespace\n";
    return out.str();
}

// APicture over a square of AGround, magnified AZoom times.
void Lay(TImageData& ASheet, const TImageData& APicture, Integer X, Integer Y, Integer AZoom,
         Cardinal AGround) {
    for (Integer y = 0; y < APicture.Height() * AZoom; ++y) {
        Byte* out = ASheet.ScanLine(Y + y) + 4 * X;
        for (Integer x = 0; x < APicture.Width() * AZoom; ++x, out += 4) {
            const Byte* in = APicture.ScanLine(y / AZoom) + 4 * (x / AZoom);
            const Cardinal ground = AZoom > 1 && ((x / 4 + y / 4) % 2) ? 0xCCCCCC : AGround;
            for (int c = 0; c < 3; ++c) {
                const int g = (ground >> (8 * c)) & 0xFF;
                out[c] = Byte((in[c] * in[3] + g * (255 - in[3]) + 127) / 255);
            }
            out[3] = 255;
        }
    }
}

void WritePreview(const String& AFileName) {
    const std::vector<TPictureSpec>& specs = PictureSpecs();
    constexpr Integer row = 140, columns = 4, column = 260;
    const Integer rows = (Integer(specs.size()) + columns - 1) / columns;
    TImageData sheet(columns * column, rows * row);
    for (Integer y = 0; y < sheet.Height(); ++y)
        std::fill_n(sheet.ScanLine(y), 4 * sheet.Width(), 0xF4);
    for (size_t i = 0; i < specs.size(); ++i) {
        const TImageData picture = RenderPicture(specs[i]);
        const Integer x = Integer(i % columns) * column + 8, y = Integer(i / columns) * row + 22;
        Lay(sheet, picture, x, y, 1, 0xFFFFFF);
        Lay(sheet, picture, x, y + 40, 1, 0x303030);
        Lay(sheet, picture, x + 44, y, 4, 0xFFFFFF);
    }
    TBitmap bitmap;
    bitmap.LoadFromImageData(sheet, pf24bit);
    bitmap.Canvas()->Font()->SetName(u"Tahoma");
    bitmap.Canvas()->Font()->SetHeight(-11);
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    for (size_t i = 0; i < specs.size(); ++i)
        bitmap.Canvas()->TextOut(Integer(i % columns) * column + 8, Integer(i / columns) * row + 4,
                                 UTF8ToString(specs[i].Name));
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile(AFileName);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: picgen SOURCE.cpp [--preview FILE.png]\n");
        return 2;
    }
    try {
        const std::string source = Source();
        std::ofstream out(argv[1], std::ios::binary);
        out << source;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[1]);
        if (argc == 4) WritePreview(UTF8ToString(argv[3]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "picgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
