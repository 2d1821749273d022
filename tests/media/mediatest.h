// Shared by the media tests: the files the fixture script makes, and a test
// base that holds the prober's libraries.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "platform/base/types.h"
#include "platform/base/ustring.h"

// The full name of a file of the test data folder (VELQUA_TEST_DATA).
String TestDataFile(std::u16string_view AName);
AnsiString TestDataPath(std::u16string_view AName);

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
