#include "media/strovix.h"

#include "media/myutils.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"

double LocalTimeZoneBiasDays() {
    return LocalTimeZoneBias();
}

Int64 DateTimeToUnixTime(TDateTime ADateTime) {
    return Round((ADateTime - 25569 - LocalTimeZoneBiasDays()) * 86400);
}

bool FolderExists(std::u16string_view AFolder) {
    return DirectoryExists(AFolder);
}

bool CreateFolderTree(std::u16string_view AFolder) {
    return ForceDirectories(AFolder);
}

void ResetInputOptions(TInputOptions& AOptions) {
    AOptions = TInputOptions{};
}

void ResetOutputOptions(TOutputOptions& AOptions) {
    AOptions = TOutputOptions{};
}
