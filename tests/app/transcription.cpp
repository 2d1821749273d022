#include "tests/app/transcription.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/base/ustring.h"

namespace transcription {

namespace {

std::vector<std::string> SplitTabs(const std::string& ALine) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = ALine.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(ALine.substr(start, tab - start));
    fields.push_back(ALine.substr(start));
    return fields;
}

}  // namespace

TTable Load(const std::string& AName) {
    TTable table{AName, {}};
    std::ifstream file(std::string(VELQUA_TRANSCRIPTION_DIR) + "/" + AName, std::ios::binary);
    EXPECT_TRUE(file) << AName;
    std::string line;
    std::vector<std::string> header;
    for (size_t number = 1; std::getline(file, line); ++number) {
        const std::vector<std::string> fields = SplitTabs(line);
        if (header.empty()) {
            header = fields;
            continue;
        }
        if (fields.size() != header.size()) {
            ADD_FAILURE() << AName << " line " << number << ": " << fields.size() << " fields, header has "
                          << header.size();
            continue;
        }
        TRow row;
        for (size_t i = 0; i < header.size(); ++i)
            row[header[i]] = fields[i];
        table.Rows.push_back(std::move(row));
    }
    return table;
}

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

Integer Number(const std::string& AField) {
    return static_cast<Integer>(std::stol(AField));
}

std::string Boolean(bool AValue) {
    return AValue ? "true" : "false";
}

void Same(const TTable& ATable, const std::string& AKey, const std::string& AColumn, const TRow& ARow,
          const std::string& ACode) {
    EXPECT_EQ(ACode, ARow.at(AColumn)) << ATable.Name << " key " << AKey << " column " << AColumn;
}

}  // namespace transcription
