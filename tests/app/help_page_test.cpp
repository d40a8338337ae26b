// Where the viewer finds its help page, on folder layouts made for the test:
// a build tree or Windows folder (page next to the program), an install under
// a prefix (bin/ beside share/vormelin/), both, and neither.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/help_page.h"
#include "app/menu_commands.h"
#include "tests/app/app_fixture.h"

namespace fs = std::filesystem;

namespace {

class HelpPageTest : public AppTest {
protected:
    fs::path root, bin;

    void SetUp() override
    {
        AppTest::SetUp();
        std::string pattern = (fs::temp_directory_path() / "vormelin_help_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        bin = root / "usr" / "bin";
        fs::create_directories(bin);
    }
    void TearDown() override { fs::remove_all(root); }
    void put(const fs::path& path)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "<html></html>";
    }
};

TEST_F(HelpPageTest, AnInstallUnderAPrefixFindsThePageInItsSharedFolder)
{
    put(root / "usr" / "share" / "vormelin" / "aide.html");
    EXPECT_EQ(findHelpPage(bin.string(), "aide.html"), (root / "usr" / "share" / "vormelin" / "aide.html").string());

    // The menu command opens that page, from the program's folder the platform gives.
    scriptProgramDir = bin.string();
    onMenuCommand(cmdHtmlHelp);
    ASSERT_EQ(scriptOpenedDocuments.size(), 1u);
    EXPECT_EQ(scriptOpenedDocuments[0], (root / "usr" / "share" / "vormelin" / "aide.html").string());
}

TEST_F(HelpPageTest, ThePageNextToTheProgramComesFirst)
{
    put(bin / "aide.html");
    EXPECT_EQ(findHelpPage(bin.string(), "aide.html"), bin.string() + "/aide.html");
    put(root / "usr" / "share" / "vormelin" / "aide.html");
    EXPECT_EQ(findHelpPage(bin.string(), "aide.html"), bin.string() + "/aide.html");
}

TEST_F(HelpPageTest, WithoutAPageTheAnswerIsThePlaceNextToTheProgram)
{
    // A folder of that name is no page, nor is a page of another program's folder.
    fs::create_directories(root / "usr" / "share" / "vormelin" / "aide.html");
    put(root / "usr" / "share" / "autre" / "aide.html");
    EXPECT_EQ(findHelpPage(bin.string(), "aide.html"), bin.string() + "/aide.html");
}

} // namespace
