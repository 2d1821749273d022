// The libFuzzer target of the form descriptions: the parser and the loader,
// onto forms on the memory desktop. The bytes hold up to four descriptions
// apart by lines "---"; each is read, as the program reads its forms, onto a
// new form of one class whose description it is, and each form is freed
// once the next one has been read. So references across forms wait for a
// form, find it read, or outlive the form that made them. A description may
// raise EFormDescriptionError (or another error of the toolkit's); nothing
// may crash, hang or leak.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/ustring.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/win/testdriver.h"

// fontconfig keeps a few blocks of its first configuration for the process's
// life; they say nothing about the toolkit's code.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

// The handlers a description may name, as a program's form would have them.
class TFuzzForm : public TForm {
public:
    using TForm::TForm;
    void FormCreate(TObject*) {}
    void Changed(TObject*) {}
    void Clicked(TObject*) {}
};

const auto FuzzFormRegistered = RegisterForm<TFuzzForm>(u"fuzz.form")
                                    .Handler(u"FormCreate", &TFuzzForm::FormCreate)
                                    .Handler(u"Changed", &TFuzzForm::Changed)
                                    .Handler(u"Clicked", &TFuzzForm::Clicked);

constexpr size_t MaxForms = 4;

// A folder of its own for each description: the form class reads
// <folder>/forms/fuzz.form.
const std::string& Folder(size_t AIndex) {
    static const std::vector<std::string> folders = [] {
        std::string pattern = "/tmp/velqua-formfuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        std::vector<std::string> made;
        for (size_t i = 0; i < MaxForms; ++i) {
            made.push_back(pattern + "/" + std::to_string(i) + "/");
            std::filesystem::create_directories(made.back() + "forms");
        }
        return made;
    }();
    return folders[AIndex];
}

std::vector<std::string> Descriptions(const std::string& ABytes) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < MaxForms) {
        const size_t separator = ABytes.find("\n---\n", start);
        if (separator == std::string::npos) break;
        parts.push_back(ABytes.substr(start, separator + 1 - start));
        start = separator + 5;
    }
    parts.push_back(ABytes.substr(start));
    return parts;
}

TFuzzForm* Read(size_t AIndex, const std::string& ADescription) {
    std::ofstream(Folder(AIndex) + "forms/fuzz.form", std::ios::binary | std::ios::trunc) << ADescription;
    SetResourceFolder(UTF8ToString(Folder(AIndex)));
    TFuzzForm* form = nullptr;
    try {
        Application->CreateForm(form);
    } catch (const Exception&) {
    }
    return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    // A fresh desktop, screen and application each run, as the toolkit's tests have.
    Free(Application);
    Free(Screen);
    win::driver::Reset();
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
    const std::vector<std::string> parts =
        Descriptions(std::string(reinterpret_cast<const char*>(AData), ASize));
    TFuzzForm* previous = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
        TFuzzForm* form = Read(i, parts[i]);
        Free(previous);
        previous = form;
    }
    Free(previous);
    return 0;
}
