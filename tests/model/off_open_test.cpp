// Opening a model through the dialog: title, view reset, topology, cancel;
// "Fichier modèle erroné" with its reason for faulty or unreadable files, fatal
// only while no model is shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "model/off_file.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
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
        currentModel.modelPath.clear();
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
        // The system's words first, then the reason on a line of its own.
        const std::string& text = scriptBoxes.empty() ? std::string() : scriptBoxes[0].text;
        bool ok = scriptBoxes.size() == 1 && scriptBoxes[0].caption == "Vormelin 0.35" &&
                  text.rfind(faultyBox + "\n", 0) == 0 && text.size() > faultyBox.size() + 1 &&
                  !currentModel.modelLoaded && currentModel.vertexCount == 0;
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
    ASSERT_EQ(scriptLastFilters.size(), 6u);
    EXPECT_EQ(scriptLastFilters[0].label, "Fichier off (*.off)");
    EXPECT_EQ(scriptLastFilters[0].pattern, "*.off");
    EXPECT_EQ(scriptLastFilters[1].pattern, "*.off *.ply *.stl *.obj");
    EXPECT_EQ(scriptLastFilters[5].label, "Tout fichier (*.*)");
    EXPECT_EQ(scriptLastFilters[5].pattern, "*.*");
}

TEST_F(OffOpenTest, LoadSetsPathTitleResetsViewAndBuildsTopology)
{
    currentView.modelScale = 2.5;
    currentView.showEdges = true;
    currentView.viewAngleX = 30;
    currentModel.uvComputed = interaction.closedWarned = true;
    open(dataPath("triangle.off"));
    EXPECT_TRUE(scriptBoxes.empty());
    EXPECT_EQ(currentModel.modelPath, dataPath("triangle.off"));
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
    EXPECT_EQ(currentView.modelScale, 1.0);
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_EQ(currentView.viewAngleX, 0.0);
    EXPECT_FALSE(currentModel.uvComputed);
    EXPECT_FALSE(interaction.closedWarned);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(currentModel.edgeCount, 3);
    EXPECT_EQ(currentModel.boundaryLoopLength, 3);
}

TEST_F(OffOpenTest, CancelLeavesModelTitleAndViewAsTheyWere)
{
    open(dataPath("triangle.off"));
    currentView.modelScale = 2.0;
    scriptFileAnswers.push_back("");
    openModel();
    EXPECT_TRUE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(currentView.modelScale, 2.0);
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(OffOpenTest, ANewFileReplacesTheModel)
{
    open(dataPath("cube_quads.off"));
    EXPECT_EQ(currentModel.vertexCount, 14);
    EXPECT_EQ(currentModel.faceCount, 24);
    EXPECT_EQ(currentModel.edgeCount, 36);  // closed: the header's 12 is replaced
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
    open(dataPath("triangle.off"));
    EXPECT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(currentModel.faceCount, 1);
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : triangle.off");
}

TEST_F(OffOpenTest, UnusedVerticesAreDroppedAfterTheCentreIsTaken)
{
    open(writeFile("unused.off", "OFF\n5 1\n0 0 0\n9 9 9\n1 0 0\n9 9 9\n0 1 0\n3 0 2 4\n"));
    ASSERT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(std::vector<int>({currentModel.faceA[0], currentModel.faceB[0], currentModel.faceC[0]}), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(currentModel.vertexX[1], 1.0);
    EXPECT_EQ(currentModel.vertexY[2], 1.0);
    EXPECT_DOUBLE_EQ(currentModel.modelCenter[0], 19.0 / 5);
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

TEST_F(OffOpenTest, AFaultyFileOverAShownModelKeepsItWithAnErrorBox)
{
    open(dataPath("triangle.off"));
    ASSERT_TRUE(currentModel.modelLoaded);
    const Mesh before = currentModel;
    const std::string title = scriptWindowTitle;
    currentView.viewAngleX = 40.0;
    scriptBoxes.clear();
    for (const char* text : {"OFF\n1 1\n", "OFF\n3 1\n0 0 0\n1 0 0\n0 1 0\n7 0 1 2 0 1 2 0\n"}) {
        open(writeFile("bad.off", text));
        ASSERT_EQ(scriptBoxes.size(), 1u);
        EXPECT_EQ(scriptBoxes[0].text.rfind("ERREUR  !!!\n\nFichier modèle erroné\nligne ", 0), 0u) << scriptBoxes[0].text;
        scriptBoxes.clear();
        EXPECT_EQ(currentModel.revision, before.revision);
        EXPECT_EQ(currentModel.faceA, before.faceA);
        EXPECT_EQ(currentModel.modelPath, before.modelPath);
        EXPECT_EQ(scriptWindowTitle, title);
        EXPECT_EQ(currentView.viewAngleX, 40.0);
    }
}

// The second line of the box names where the file is faulty and why.
TEST_F(OffOpenTest, EveryRefusalSaysWhereAndWhy)
{
    open(dataPath("triangle.off"));
    const std::string tri = "0 0 0\n1 0 0\n0 1 0\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "fin du fichier avant l'en-tête OFF"},
        {"COFF\n3 1\n" + tri + "3 0 1 2\n", "ligne 1 : l'en-tête OFF manque"},
        {"OFF\n3 x\n" + tri, "ligne 2 : nombres de sommets et de faces attendus"},
        {"OFF\n0 0\n", "ligne 2 : il faut au moins un sommet et une face"},
        {"OFF\n353 700\n" + tri, "ligne 2 : le fichier est trop court pour 353 sommets et 700 faces"},
        {"OFF\n3 1\n0 0 0\n1.0 0\n0 1 0\n3 0 1 2\n", "ligne 4 : la coordonnée z du sommet 1 manque ou est illisible"},
        {"OFF\n3 1\n0 0 0\nnan 0 0\n0 1 0\n3 0 1 2\n", "ligne 4 : la coordonnée x du sommet 1 n'est pas un nombre fini"},
        {"OFF\n3 1\n0 0 0\n1 inf 0\n0 1 0\n3 0 1 2\n", "ligne 4 : la coordonnée y du sommet 1 n'est pas un nombre fini"},
        {"OFF\n3 1\n0 0 0\n1 1e999 0\n0 1 0\n3 0 1 2\n", "ligne 4 : la coordonnée y du sommet 1 n'est pas un nombre fini"},
        {"OFF\n3 1\n# c\n" + tri + "\n7 0 1 2 0 1 2 0\n", "ligne 8 : la face a 7 sommets (3 ou 4 attendus)"},
        {"OFF\n3 1\n" + tri + "3 0 1 9\n", "ligne 6 : l'indice 9 ne désigne aucun sommet (3 sommets)"},
        {"OFF\n3 1\n" + tri + "4 0 1 2\n", "ligne 6 : la face 0 a moins de 4 indices lisibles"},
        {"OFF\n3 2\n" + tri + "3 0 1 2\n# commentaire\n", "fin du fichier avant la face 1"},
        {"OFF\n3 1\n" + std::string(151, '0') + "\n" + tri + "3 0 1 2\n", "ligne 3 : ligne de plus de 150 caractères"},
    };
    for (const auto& [text, reason] : cases) {
        scriptBoxes.clear();
        open(writeFile("faulty.off", text));
        ASSERT_EQ(scriptBoxes.size(), 1u) << reason;
        EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nFichier modèle erroné\n" + reason) << text;
    }
}

} // namespace
