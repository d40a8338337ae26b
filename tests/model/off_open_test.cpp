// Opening a model through the dialog: title, view reset, topology, cancel,
// and the fatal "Fichier modèle erroné" for faulty or unreadable files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "model/off_file.h"
#include "base/store.h"
#include "platform/platform_script.h"
#include "render/view_state.h"

namespace {

const std::string faultyBox = "Erreur irrémédiable\n\nL'application va se terminer\n\nFichier modèle erroné";

std::string dataPath(const std::string& name) { return std::string(TEST_DATA_DIR) + "/off/" + name; }

class OffOpenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        modelPath.clear();
        char pattern[] = "/tmp/off_open_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string writeFile(const std::string& name, const std::string& text)
    {
        std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void open(const std::string& path)
    {
        scriptFileAnswers.push_back(path);
        openModel();
    }
    std::string folder;
};

// Opens path and expects the fatal box, the model released and status 255.
[[noreturn]] void openExpectingFaulty(const std::string& path)
{
    scriptFileAnswers.push_back(path);
    platformExitHook = [](int status) {
        bool ok = scriptBoxes.size() == 1 && scriptBoxes[0].caption == "Vormelin 0.35" &&
                  scriptBoxes[0].text == faultyBox && !modelLoaded && vertexCount == 0;
        if (!ok)
            std::fprintf(stderr, "unexpected boxes (%zu): %s\n", scriptBoxes.size(),
                         scriptBoxes.empty() ? "" : scriptBoxes.back().text.c_str());
        std::_Exit(ok ? status : 1);
    };
    openModel();
    std::fprintf(stderr, "the faulty file was accepted\n");
    std::_Exit(2);
}

TEST_F(OffOpenTest, DialogTitleAndFiltersAreExact)
{
    openModel();  // no answer queued: cancelled
    ASSERT_EQ(scriptFileDialogTitles.size(), 1u);
    EXPECT_EQ(scriptFileDialogTitles[0], "Choisissez le fichier du modèle à ouvrir.");
    ASSERT_EQ(scriptLastFilters.size(), 2u);
    EXPECT_EQ(scriptLastFilters[0].label, "Fichier off (*.off)");
    EXPECT_EQ(scriptLastFilters[0].pattern, "*.off");
    EXPECT_EQ(scriptLastFilters[1].label, "Tout fichier (*.*)");
    EXPECT_EQ(scriptLastFilters[1].pattern, "*.*");
}

TEST_F(OffOpenTest, LoadSetsPathTitleResetsViewAndBuildsTopology)
{
    currentView.modelScale = 2.5;
    currentView.showEdges = true;
    currentView.viewAngleX = 30;
    uvComputed = closedWarned = true;
    open(dataPath("triangle.off"));
    EXPECT_TRUE(scriptBoxes.empty());
    EXPECT_EQ(modelPath, dataPath("triangle.off"));
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
    EXPECT_EQ(currentView.modelScale, 1.0);
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_EQ(currentView.viewAngleX, 0.0);
    EXPECT_FALSE(uvComputed);
    EXPECT_FALSE(closedWarned);
    EXPECT_TRUE(topologyBuilt);
    EXPECT_EQ(vertexCount, 3);
    EXPECT_EQ(edgeCount, 3);
    EXPECT_EQ(boundaryLoopLength, 3);
}

TEST_F(OffOpenTest, CancelLeavesModelTitleAndViewAsTheyWere)
{
    open(dataPath("triangle.off"));
    currentView.modelScale = 2.0;
    scriptFileAnswers.push_back("");
    openModel();
    EXPECT_TRUE(modelLoaded);
    EXPECT_EQ(vertexCount, 3);
    EXPECT_EQ(currentView.modelScale, 2.0);
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(OffOpenTest, ANewFileReplacesTheModel)
{
    open(dataPath("cube_quads.off"));
    EXPECT_EQ(vertexCount, 14);
    EXPECT_EQ(faceCount, 24);
    EXPECT_EQ(edgeCount, 36);  // closed: the header's 12 is replaced
    EXPECT_EQ(boundaryEdgeCount, 0);
    open(dataPath("triangle.off"));
    EXPECT_EQ(vertexCount, 3);
    EXPECT_EQ(faceCount, 1);
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
}

TEST_F(OffOpenTest, UnusedVerticesAreDroppedAfterTheCentreIsTaken)
{
    open(writeFile("unused.off", "OFF\n5 1\n0 0 0\n9 9 9\n1 0 0\n9 9 9\n0 1 0\n3 0 2 4\n"));
    ASSERT_EQ(vertexCount, 3);
    EXPECT_EQ(std::vector<int>({faceA[0], faceB[0], faceC[0]}), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(vertexX[1], 1.0);
    EXPECT_EQ(vertexY[2], 1.0);
    EXPECT_DOUBLE_EQ(modelCenter[0], 19.0 / 5);
}

TEST_F(OffOpenTest, FaultyFilesEndTheProgramWithTheFatalBox)
{
    const std::string tri = "0 0 0\n1 0 0\n0 1 0\n";
    const std::pair<const char*, std::string> cases[] = {
        {"lower.off", "off\n3 1\n" + tri + "3 0 1 2\n"},
        {"prefix.off", "COFF\n3 1\n" + tri + "3 0 1 2\n"},
        {"zero.off", "OFF\n0 0\n"},
        {"five.off", "OFF\n3 1\n" + tri + "5 0 1 2\n"},
        {"range.off", "OFF\n3 1\n" + tri + "3 0 1 3\n"},
        {"quad3.off", "OFF\n4 1\n" + tri + "0 0 1\n4 0 1 2\n"},
        {"huge.off", "OFF\n2147483647 2147483647\n" + tri},
        {"empty.off", ""},
    };
    for (const auto& [name, text] : cases)
        EXPECT_EXIT(openExpectingFaulty(writeFile(name, text)), ::testing::ExitedWithCode(255), "") << name;
    EXPECT_EXIT(openExpectingFaulty(dataPath("line151.off")), ::testing::ExitedWithCode(255), "");
}

TEST_F(OffOpenTest, UnreadableFilesEndTheProgramWithTheSameBox)
{
    EXPECT_EXIT(openExpectingFaulty(folder + "/missing.off"), ::testing::ExitedWithCode(255), "");
    EXPECT_EXIT(openExpectingFaulty(folder), ::testing::ExitedWithCode(255), "");
}

TEST_F(OffOpenTest, AFaultyFileReleasesTheModelLoadedBefore)
{
    open(dataPath("triangle.off"));
    EXPECT_EXIT(openExpectingFaulty(writeFile("bad.off", "OFF\n1 1\n")), ::testing::ExitedWithCode(255), "");
}

} // namespace
