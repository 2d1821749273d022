// The converter's executable: a display, the converter's preview windows,
// then the program's start-up.
#include <cstdio>

#include "app/program.h"
#include "media/previewform.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "platform/win/display.h"

int main() {
    // Without a display, or with a form description the program cannot
    // read, it says why and ends.
    try {
        win::InstallDisplayBackend();
        InstallPreviewForms();
        return RunProgram();
    } catch (const Exception& e) {
        std::fprintf(stderr, "velqua: %s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
}
