// Saving the model: exact text, "_n.off" naming, title and confirmation,
// round trip through the reader, and failed saves that change nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <random>
#include <sstream>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "model/off_file.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"

namespace {
// Why the last text parsed was refused.
std::string lastReason;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class OffSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        currentModel.modelPath.clear();
        char pattern[] = "/tmp/off_save_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::vector<std::string> folderEntries()
    {
        std::vector<std::string> names;
        DIR* dir = opendir(folder.c_str());
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string folder;
};

TEST_F(OffSaveTest, WritesTheExactTextNextToTheModelAndConfirms)
{
    setMesh({{0, 0, 0}, {0.1234567, -2, 1e6}, {-0.0000004, 0.5, 3}}, {{0, 1, 2}, {2, 1, 0}});
    currentModel.modelPath = folder + "/tore.off";
    saveModel();
    EXPECT_EQ(readFile(folder + "/tore_n.off"), "OFF\n"
                                                " 3  2  0\n"
                                                "  0.000000  0.000000  0.000000\n"
                                                "  0.123457  -2.000000  1000000.000000\n"
                                                "  -0.000000  0.500000  3.000000\n"
                                                "  3  0  1  2\n"
                                                "  3  2  1  0\n");
    EXPECT_EQ(currentModel.modelPath, folder + "/tore_n.off");
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : tore_n.off");
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "Le nouveau modèle : tore_n.off est archivé.");
    EXPECT_EQ(scriptBoxes[0].caption, "Vormelin 0.35");
    EXPECT_EQ(scriptBoxes[0].icon, iconNone);

    saveModel();
    EXPECT_EQ(currentModel.modelPath, folder + "/tore_n_n.off");
    EXPECT_EQ(scriptBoxes.back().text, "Le nouveau modèle : tore_n_n.off est archivé.");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"tore_n.off", "tore_n_n.off"}));
}

TEST_F(OffSaveTest, WritesOnlyTheCountedVerticesAndFaces)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{0, 1, 2}, {0, 2, 3}});
    currentModel.vertexCount = 3;  // entries past the counts, as after a cut, are not written
    currentModel.faceCount = 1;
    currentModel.modelPath = folder + "/m.off";
    saveModel();
    std::string text = readFile(folder + "/m_n.off");
    EXPECT_EQ(text.substr(0, 14), "OFF\n 3  1  0\n ");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
}

TEST_F(OffSaveTest, CoordinatesAreWrittenAsFixedSixDecimalsLikeFormattedOutput)
{
    // Every kind of value, checked against the C library's "%f".
    std::mt19937_64 rng(7);
    std::vector<double> values = {0.0000005, 0.0000015, 0.0078125, 2.5e-7, -2.5e-7, 1e35, -1e-300,
                                  123456789.1234565, 0.5, -0.0, INFINITY, -INFINITY, NAN, 4.35, 1e22};
    for (int i = 0; i < 3000; ++i) {
        std::uniform_real_distribution<double> mantissa(-10, 10);
        values.push_back(mantissa(rng) * std::pow(10.0, static_cast<int>(rng() % 30) - 15));
        values.push_back(static_cast<double>(static_cast<long long>(rng() % 100000000)) / 16777216.0);
    }
    while (values.size() % 3)
        values.push_back(1.0);
    std::vector<std::array<double, 3>> vertices;
    for (size_t i = 0; i < values.size(); i += 3)
        vertices.push_back({values[i], values[i + 1], values[i + 2]});
    setMesh(vertices, {{0, 1, 2}});
    currentModel.modelPath = folder + "/v.off";
    saveModel();
    std::string expected;
    char line[1200];
    std::snprintf(line, sizeof line, "OFF\n %d  %d  0\n", currentModel.vertexCount, currentModel.faceCount);
    expected += line;
    for (const auto& v : vertices) {
        std::snprintf(line, sizeof line, "  %lf  %lf  %lf\n", v[0], v[1], v[2]);
        expected += line;
    }
    expected += "  3  0  1  2\n";
    EXPECT_EQ(readFile(folder + "/v_n.off"), expected);
}

TEST_F(OffSaveTest, ASavedModelReadsBackTheSame)
{
    setGridMesh(7);
    for (int i = 0; i < currentModel.vertexCount; ++i)
        currentModel.vertexZ[i] = std::sin(currentModel.vertexX[i] * 3) * 0.25;
    auto x = currentModel.vertexX, y = currentModel.vertexY, z = currentModel.vertexZ;
    auto a = currentModel.faceA, b = currentModel.faceB, c = currentModel.faceC;
    currentModel.modelPath = folder + "/grid.off";
    saveModel();
    std::string text = readFile(folder + "/grid_n.off");
    currentModel = Mesh();
    ASSERT_TRUE(parseModelText(text.c_str(), text.size(), currentModel, lastReason));
    EXPECT_EQ(currentModel.faceA, a);
    EXPECT_EQ(currentModel.faceB, b);
    EXPECT_EQ(currentModel.faceC, c);
    ASSERT_EQ(currentModel.vertexX.size(), x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        EXPECT_NEAR(currentModel.vertexX[i], x[i], 5e-7);
        EXPECT_NEAR(currentModel.vertexY[i], y[i], 5e-7);
        EXPECT_NEAR(currentModel.vertexZ[i], z[i], 5e-7);
    }
}

TEST_F(OffSaveTest, HugeCoordinatesAreWrittenSoThatTheFileOpensAgain)
{
    setMesh({{0, 0, 0}, {1e30, -2.5e200, 0.5}, {0, 1, 0}}, {{0, 1, 2}});
    currentModel.modelPath = folder + "/huge.off";
    saveModel();
    std::string text = readFile(folder + "/huge_n.off");
    // Ordinary vertices keep the six-decimal format; the huge one fits the reader's line limit.
    EXPECT_NE(text.find("\n  0.000000  0.000000  0.000000\n"), std::string::npos);
    EXPECT_NE(text.find("\n  1e+30  -2.5e+200  0.5\n"), std::string::npos);
    currentModel = Mesh();
    ASSERT_TRUE(parseModelText(text.c_str(), text.size(), currentModel, lastReason));
    EXPECT_EQ(currentModel.vertexX[1], 1e30);
    EXPECT_EQ(currentModel.vertexY[1], -2.5e200);
    EXPECT_EQ(currentModel.vertexZ[1], 0.5);
}

TEST_F(OffSaveTest, AFailedSaveReportsAnErrorAndChangesNothing)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    currentModel.modelPath = folder + "/missing/tore.off";
    scriptWindowTitle = "before";
    saveModel();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nLe fichier " + folder +
                                       "/missing/tore_n.off n'a pas pu être écrit : le modèle n'est pas archivé.");
    EXPECT_EQ(currentModel.modelPath, folder + "/missing/tore.off");
    EXPECT_EQ(scriptWindowTitle, "before");

    // The target name is taken by a folder: the rename fails, no temporary file is left.
    ASSERT_EQ(mkdir((folder + "/tore_n.off").c_str(), 0755), 0);
    currentModel.modelPath = folder + "/tore.off";
    saveModel();
    ASSERT_EQ(scriptBoxes.size(), 2u);
    EXPECT_EQ(scriptBoxes[1].text.rfind("ERREUR  !!!\n\nLe fichier ", 0), 0u);
    EXPECT_EQ(currentModel.modelPath, folder + "/tore.off");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"tore_n.off"}));

    // Every face cut away: such a file would not open again, so none is written.
    rmdir((folder + "/tore_n.off").c_str());
    currentModel.faceCount = 0;
    saveModel();
    ASSERT_EQ(scriptBoxes.size(), 3u);
    EXPECT_EQ(scriptBoxes[2].text, "ERREUR  !!!\n\nLe modèle n'a plus aucune face : il n'est pas archivé.");
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(OffSaveTest, AnExistingFileIsReplacedWhole)
{
    std::ofstream(folder + "/tore_n.off") << std::string(10000, 'x');
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    currentModel.modelPath = folder + "/tore.off";
    saveModel();
    EXPECT_EQ(readFile(folder + "/tore_n.off"), "OFF\n 3  1  0\n"
                                                "  0.000000  0.000000  0.000000\n"
                                                "  1.000000  0.000000  0.000000\n"
                                                "  0.000000  1.000000  0.000000\n"
                                                "  3  0  1  2\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"tore_n.off"}));
}

TEST_F(OffSaveTest, NamesDropFourCharactersOfTheFileNameOnly)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    currentModel.modelPath = folder + "/cube.OFF";
    saveModel();
    EXPECT_EQ(currentModel.modelPath, folder + "/cube_n.off");
    // A name of fewer than four characters keeps the file in its folder.
    currentModel.modelPath = folder + "/ab";
    saveModel();
    EXPECT_EQ(currentModel.modelPath, folder + "/ab_n.off");
}

TEST_F(OffSaveTest, SavingWithoutAModelDoesNothing)
{
    currentModel.modelPath = folder + "/tore.off";
    saveModel();
    EXPECT_TRUE(scriptBoxes.empty());
    EXPECT_EQ(currentModel.modelPath, folder + "/tore.off");
    EXPECT_TRUE(folderEntries().empty());
}

} // namespace
