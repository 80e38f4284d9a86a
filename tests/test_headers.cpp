// test_headers.cpp - the public headers as an application meets them: each compiles on its
// own without windowsx.h (sources generated in tests/CMakeLists.txt), every class they declare
// is exported, and they include nothing that is not shipped beside them.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern const char* const g_szAlone_NavCommon;
extern const char* const g_szAlone_NavBitmapButton;
extern const char* const g_szAlone_NavGroupBox;
extern const char* const g_szAlone_NavListCtrl;
extern const char* const g_szAlone_NavEdit;
extern const char* const g_szAlone_NavCombobox;
extern const char* const g_szAlone_NavStatic;
extern const char* const g_szAlone_ZorNavCtrl;

namespace
{
std::string ReadHeader(const std::string& name)
{
    std::ifstream in(std::string(ZNC_INCLUDE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Shipped(const std::string& name)
{
    return std::ifstream(std::string(ZNC_INCLUDE_DIR) + "/" + name).good();
}
} // namespace

TEST(PublicHeaders, EachIsExportedAndSelfContained)
{
    // Each name comes from the source that included that header alone.
    const std::vector<std::string> headers = {
        g_szAlone_NavCommon, g_szAlone_NavBitmapButton, g_szAlone_NavGroupBox,
        g_szAlone_NavListCtrl, g_szAlone_NavEdit, g_szAlone_NavCombobox,
        g_szAlone_NavStatic, g_szAlone_ZorNavCtrl};
    const std::regex classDefinition(R"(^\s*(class|struct)\s+(\w+)[^;\n]*$)");
    const std::regex localInclude(R"(^\s*#\s*include\s*\"([^\"]+)\")");
    for (const std::string& name : headers)
    {
        const std::string text = ReadHeader(name);
        ASSERT_FALSE(text.empty()) << name;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line))
        {
            std::smatch m;
            if (std::regex_search(line, m, localInclude))
            {
                EXPECT_TRUE(Shipped(m[1])) << name << " includes " << m[1];
            }
            // A class defined here (not merely named) is exported.
            if (std::regex_match(line, m, classDefinition) && m[1] == "class")
            {
                EXPECT_EQ("ZNC_API", m[2].str()) << name << ": " << line;
            }
        }
    }
}
