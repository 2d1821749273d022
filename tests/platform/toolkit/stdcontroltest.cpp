#include "stdcontroltest.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/ustring.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/testdriver.h"

void KeyWith(std::initializer_list<win::BYTE> AModifiers, win::BYTE AKey) {
    for (win::BYTE modifier : AModifiers)
        win::driver::KeyDown(modifier);
    win::driver::Key(AKey);
    for (win::BYTE modifier : AModifiers)
        win::driver::KeyUp(modifier);
}

void ReadDescriptionText(TComponent* ARoot, std::string_view AText) {
    std::string path = "/tmp/velqua-description-XXXXXX";
    const int file = ::mkstemp(path.data());
    if (file < 0) std::abort();
    const ssize_t written = ::write(file, AText.data(), AText.size());
    ::close(file);
    if (written != ssize_t(AText.size())) std::abort();
    try {
        ReadDescriptionFile(ARoot, UTF8ToString(path));
    } catch (...) {
        std::remove(path.c_str());
        throw;
    }
    std::remove(path.c_str());
}

bool Differs(win::COLORREF APixel, win::COLORREF AColor) {
    const auto channel = [](win::COLORREF C, int AShift) { return int((C >> AShift) & 0xFF); };
    int distance = 0;
    for (int shift : {0, 8, 16})
        distance += std::abs(channel(APixel, shift) - channel(AColor, shift));
    return distance > 60;
}
