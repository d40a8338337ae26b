// offconvert --version: the release number, and no conversion attempted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(OffconvertVersion, PrintsTheReleaseNumberAndWritesNothing)
{
    std::string pattern = (fs::temp_directory_path() / "offconvert_version_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const std::string command = "cd '" + folder.string() + "' && '" OFFCONVERT_PATH "' --version >../" +
                                folder.filename().string() + ".out 2>&1";
    const int status = std::system(command.c_str());
    const fs::path printed = folder.parent_path() / (folder.filename().string() + ".out");
    std::ifstream in(printed);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::regex_match(text, std::regex("offconvert 0\\.35\\.[0-9]+\n"))) << text;
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove(printed);
    fs::remove_all(folder);
}
