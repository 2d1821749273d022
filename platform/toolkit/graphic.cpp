#include "platform/toolkit/graphic.h"

#include <algorithm>

void TGraphic::SetSize(Integer AWidth, Integer AHeight) {
    SetWidth(AWidth);
    SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool AValue) {
    if (AValue == FTransparent) return;
    FTransparent = AValue;
    Changed();
}

void TGraphic::SetModified(bool AValue) {
    if (AValue) return Changed();
    FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& AFileName) {
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& AFileName) {
    TFileStream stream(AFileName, fmCreate);
    SaveToStream(&stream);
}

std::vector<Byte> ReadToEnd(TStream* AStream) {
    std::vector<Byte> data(static_cast<size_t>(std::max<Int64>(AStream->Size() - AStream->Position(), 0)));
    AStream->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
    return data;
}
