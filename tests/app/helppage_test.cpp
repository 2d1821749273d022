// The help file the build writes beside the program: a Chinese HTML page
// under the name the program gives its help file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(HelpPage, IsAnHtmlPageInUtf8BesideTheProgram) {
    std::ifstream in(VELQUA_BUILD_DIR "/help.chm", std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<title>VelquaAVCHD高清格式转换器"), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos);
}

}  // namespace
