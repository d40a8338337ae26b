// Start-up order and the model given at start, with a recording stand-in for
// the window system's entry functions.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "app/menu_commands.h"
#include "platform/platform_app.h"
#include "tests/app/app_fixture.h"

namespace {

// What the stand-in window system was asked, in order.
std::vector<std::string> calls;
// The answer of the next window creation.
bool createSucceeds = true;
// The status the stand-in loop returns.
int loopStatus = 0;
// What the stand-in saw when the loop started.
bool lightingReadyAtLoop = false;
int dialogsBeforeLoop = 0;
size_t menuEntries = 0;

} // namespace

bool platformCreateMainWindow(const std::string& title, int outerWidth, int outerHeight,
                              const std::string& statusText)
{
    calls.push_back("create " + title + " " + std::to_string(outerWidth) + "x" + std::to_string(outerHeight) +
                    " [" + statusText + "]");
    if (createSucceeds)
        AppTest::useGl();
    return createSucceeds;
}

void platformAttachMenu(const std::vector<PlatformMenuEntry>& menu)
{
    calls.push_back("menu");
    menuEntries = menu.size();
}

int platformRunLoop()
{
    calls.push_back("loop");
    lightingReadyAtLoop = glIsEnabled(GL_LIGHT0) && glIsEnabled(GL_NORMALIZE);
    dialogsBeforeLoop = static_cast<int>(scriptFileDialogTitles.size());
    return loopStatus;
}

namespace {

class EntryTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        calls.clear();
        createSucceeds = true;
        loopStatus = 0;
        lightingReadyAtLoop = false;
        dialogsBeforeLoop = 0;
        menuEntries = 0;
        useGl();
        glDisable(GL_LIGHT0);
        glDisable(GL_NORMALIZE);
    }
};

TEST_F(EntryTest, StartUpInOrderWithTheOpenDialog)
{
    clientWidth = 10;
    loopStatus = 0;
    EXPECT_EQ(runViewer(""), 0);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "create Vormelin 0.35 640x640 [Ici votre guidage ...]");
    EXPECT_EQ(calls[1], "menu");
    EXPECT_EQ(calls[2], "loop");
    EXPECT_EQ(menuEntries, menuTable.size());
    EXPECT_EQ(dialogsBeforeLoop, 1);
    EXPECT_EQ(scriptFileDialogTitles[0], "Choisissez le fichier du modèle à ouvrir.");
    EXPECT_TRUE(lightingReadyAtLoop);
    // The dialog was cancelled: the program runs on with an empty store.
    EXPECT_FALSE(currentModel.modelLoaded);
    EXPECT_EQ(clientWidth, 640);
}

TEST_F(EntryTest, TheLoopsStatusIsTheProgramsStatus)
{
    loopStatus = 3;
    EXPECT_EQ(runViewer(""), 3);
}

TEST_F(EntryTest, ModelGivenAtStartIsOpenedWithoutTheDialog)
{
    EXPECT_EQ(runViewer(dataPath("tore.off")), 0);
    EXPECT_TRUE(scriptFileDialogTitles.empty());
    EXPECT_TRUE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.vertexCount, 1152);
    EXPECT_EQ(currentModel.faceCount, 2304);
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : tore.off");
    EXPECT_TRUE(lightingReadyAtLoop);
}

TEST_F(EntryTest, NoWindowNoLoop)
{
    createSucceeds = false;
    EXPECT_EQ(runViewer(""), 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(scriptFileDialogTitles.empty());
}

using EntryDeathTest = EntryTest;

TEST_F(EntryDeathTest, FaultyModelGivenAtStartEndsWith255)
{
    const std::string faulty = std::string(TEST_DATA_DIR) + "/off/line151.off";
    EXPECT_EXIT(runViewer(faulty), ::testing::ExitedWithCode(255), "");
}

TEST_F(EntryDeathTest, MissingModelGivenAtStartEndsWith255)
{
    EXPECT_EXIT(runViewer("/nonexistent/folder/none.off"), ::testing::ExitedWithCode(255), "");
}

} // namespace
