// The menu table and every menu command, on the scripted platform.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "render/view_state.h"
#include "app/menu_commands.h"
#include "app/messages.h"
#include "tests/app/app_fixture.h"

namespace {

using MenuTableTest = AppTest;
using MenuCommandTest = AppTest;

TEST_F(MenuTableTest, LabelsIdsAndSeparatorsInOrder)
{
    std::string layout;
    for (const PlatformMenuEntry& e : menuTable) {
        if (e.kind == menuPopup)
            layout += std::string("[") + e.label + "]";
        else if (e.kind == menuSeparator)
            layout += "|";
        else
            layout += std::to_string(e.id) + ":" + e.label + ";";
    }
    EXPECT_EQ(layout,
              "[Fichier]201:Ouvrir un modèle;202:Sauver le modèle;|203:Quitter\tAlt+F4;"
              "[Affichage]211:Des axes;212:Des sommets;213:Des arêtes;214:Des faces;215:Des normales;"
              "216:Des bordures;217:De la frontière;218:Du plan (u,v);219:De la texture;|"
              "220:Modèle texturé;|221:Avec transparence;222:Avec animation;|223:Conditions initiales;"
              "[Modèle]241:Découper un sommet;242:Découper une arête;243:Découper une face;|"
              "244:Subdivision de Loop;|245:Statistiques du modèle actuel;"
              "[Texture]261:Charger une texture;262:Choisir la couleur unie;"
              "[Aide]281:Pour l'aide;282:Aide en html;|283:A propos;");
}

TEST_F(MenuCommandTest, StatisticsOfAClosedCube)
{
    setClosedCube();
    onMenuCommand(cmdStatistics);
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].icon, iconNone);
    EXPECT_EQ(scriptBoxes[0].caption, "Vormelin 0.35");
    EXPECT_EQ(scriptBoxes[0].text, "Le modèle actuel comprend : \n\n - 8 sommets\n\n - 12 faces\n\n - 18 arêtes"
                                   "\n\n - le modèle est fermé\n   il n'y a pas de frontière");
}

TEST_F(MenuCommandTest, StatisticsOfOneTriangleAndOfNothing)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    buildTopology(currentModel);
    EXPECT_EQ(statisticsText(), "Le modèle actuel comprend : \n\n - 3 sommets\n\n - 1 faces\n\n - 3 arêtes"
                                "\n\n - 3 arêtes de frontière");
    currentModel = Mesh();
    EXPECT_EQ(statisticsText(), "Le modèle actuel comprend : \n\n - 0 sommets\n\n - 0 faces\n\n - 0 arêtes"
                                "\n\n - le modèle est fermé\n   il n'y a pas de frontière");
}

TEST_F(MenuCommandTest, StatisticsCountOnlyTheLongestLoop)
{
    // Two separate triangles: two loops of three edges, six boundary edges.
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 0, 0}, {4, 0, 0}, {3, 1, 0}}, {{0, 1, 2}, {3, 4, 5}});
    buildTopology(currentModel);
    ASSERT_EQ(currentModel.boundaryEdgeCount, 6);
    EXPECT_NE(statisticsText().find("\n\n - 3 arêtes de frontière"), std::string::npos);
}

TEST_F(MenuCommandTest, FacesTwiceRestoresTheFaceMode)
{
    currentView.faceMode = 2;
    currentView.savedFaceMode = 1;
    onMenuCommand(cmdShowFaces);
    EXPECT_FALSE(currentView.showFaces);
    EXPECT_EQ(currentView.faceMode, 0);
    EXPECT_EQ(currentView.savedFaceMode, 2);
    onMenuCommand(cmdShowFaces);
    EXPECT_TRUE(currentView.showFaces);
    EXPECT_EQ(currentView.faceMode, 2);
}

TEST_F(MenuCommandTest, PlainTogglesAndInitialConditions)
{
    const struct {
        int id;
        bool* flag;
    } toggles[] = {{cmdShowAxes, &currentView.showAxes},         {cmdShowVertices, &currentView.showVertices},
                   {cmdShowEdges, &currentView.showEdges},       {cmdShowNormals, &currentView.showNormals},
                   {cmdShowBorders, &currentView.showBorders},   {cmdTransparency, &currentView.withTransparency},
                   {cmdAnimation, &currentView.withAnimation}};
    for (const auto& t : toggles) {
        const bool before = *t.flag;
        onMenuCommand(t.id);
        EXPECT_NE(*t.flag, before) << t.id;
    }
    uniformColor = 0x123456;
    textureTiling = 512;
    currentView.cameraDistance = 7;
    onMenuCommand(cmdInitialView);
    EXPECT_FALSE(currentView.showAxes);
    EXPECT_FALSE(currentView.withAnimation);
    EXPECT_EQ(currentView.cameraDistance, 3.0);
    EXPECT_EQ(uniformColor, 0x123456u);
    EXPECT_EQ(textureTiling, 512);
}

// Marks the open grid as parameterized so that no command needs to run the solver.
void pretendParameterized()
{
    allocDoubleArray(currentModel.vertexU, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexV, currentModel.vertexCount);
    currentModel.uvComputed = true;
}

TEST_F(MenuCommandTest, TexturedModelOnThenOffRestoresTheView)
{
    setOpenGrid();
    pretendParameterized();
    currentView.viewAngleX = 30;
    currentView.cameraDistance = 5;
    currentView.panX = 0.2;
    currentView.showEdges = true;
    onMenuCommand(cmdShowFaces); // faces off: faceMode 0, saved 1
    onMenuCommand(cmdTexturedModel);
    EXPECT_TRUE(texturedModelOn);
    EXPECT_EQ(currentView.faceMode, 2);
    EXPECT_EQ(currentView.viewAngleX, 0);
    EXPECT_TRUE(currentView.showFaces);
    onMenuCommand(cmdTexturedModel);
    EXPECT_FALSE(texturedModelOn);
    EXPECT_EQ(currentView.viewAngleX, 30);
    EXPECT_EQ(currentView.cameraDistance, 5);
    EXPECT_EQ(currentView.panX, 0.2);
    EXPECT_TRUE(currentView.showEdges);
    EXPECT_FALSE(currentView.showFaces);
    EXPECT_EQ(currentView.faceMode, 0);
    EXPECT_EQ(currentView.savedFaceMode, 1);
}

TEST_F(MenuCommandTest, UvPlaneTextureAndTexturedModelExcludeOneAnother)
{
    setOpenGrid();
    pretendParameterized();

    onMenuCommand(cmdShowUvPlane);
    ASSERT_TRUE(currentView.showUvPlane);
    onMenuCommand(cmdShowTexture);
    onMenuCommand(cmdTexturedModel);
    EXPECT_FALSE(currentView.showTexture);
    EXPECT_FALSE(texturedModelOn);
    onMenuCommand(cmdShowUvPlane);
    ASSERT_FALSE(currentView.showUvPlane);

    onMenuCommand(cmdShowTexture);
    ASSERT_TRUE(currentView.showTexture);
    onMenuCommand(cmdShowUvPlane);
    onMenuCommand(cmdTexturedModel);
    EXPECT_FALSE(currentView.showUvPlane);
    EXPECT_FALSE(texturedModelOn);
    onMenuCommand(cmdShowTexture);
    ASSERT_FALSE(currentView.showTexture);

    onMenuCommand(cmdTexturedModel);
    ASSERT_TRUE(texturedModelOn);
    onMenuCommand(cmdShowUvPlane);
    onMenuCommand(cmdShowTexture);
    EXPECT_FALSE(currentView.showUvPlane);
    EXPECT_FALSE(currentView.showTexture);
}

TEST_F(MenuCommandTest, SwitchingTheUvPlaneOffRestoresTheSavedView)
{
    setOpenGrid();
    pretendParameterized();
    currentView.viewAngleY = 40;
    onMenuCommand(cmdShowUvPlane);
    // What the (u,v)-plane layer does on its first frame.
    saveView();
    flatViewSaved = true;
    resetView();
    currentView.showUvPlane = true;
    onMenuCommand(cmdShowUvPlane);
    EXPECT_FALSE(currentView.showUvPlane);
    EXPECT_FALSE(flatViewSaved);
    EXPECT_EQ(currentView.viewAngleY, 40);
}

TEST_F(MenuCommandTest, FlatDisplaysSwitchedOffBeforeAnyFrameKeepTheView)
{
    setOpenGrid();
    pretendParameterized();
    currentView.viewAngleY = 15;
    saveView(); // an old copy, from some earlier display
    currentView.viewAngleY = 40;
    onMenuCommand(cmdShowUvPlane);
    onMenuCommand(cmdShowUvPlane);
    EXPECT_FALSE(currentView.showUvPlane);
    EXPECT_EQ(currentView.viewAngleY, 40);
    onMenuCommand(cmdShowTexture);
    onMenuCommand(cmdShowTexture);
    EXPECT_FALSE(currentView.showTexture);
    EXPECT_EQ(currentView.viewAngleY, 40);
}

TEST_F(MenuCommandTest, UvPlaneAndBoundaryRefusedOnAModelWithoutOpening)
{
    setClosedCube();
    interaction.closedWarned = true; // the notice was shown once already
    onMenuCommand(cmdShowBoundary);
    onMenuCommand(cmdShowUvPlane);
    EXPECT_FALSE(currentView.showBoundary);
    EXPECT_FALSE(currentView.showUvPlane);
}

TEST_F(MenuCommandTest, UvPlaneRefusedWhileNoParameterization)
{
    setOpenGrid();
    currentModel.uvComputed = false;
    interaction.closedWarned = false;
    onMenuCommand(cmdShowUvPlane);
    EXPECT_EQ(currentView.showUvPlane, currentModel.uvComputed);
}

TEST_F(MenuCommandTest, BoundaryTogglesOnAnOpenModel)
{
    setOpenGrid();
    pretendParameterized();
    onMenuCommand(cmdShowBoundary);
    EXPECT_TRUE(currentView.showBoundary);
    onMenuCommand(cmdShowBoundary);
    EXPECT_FALSE(currentView.showBoundary);
}

TEST_F(MenuCommandTest, EveryCommandEndsTheUndoOfTheLastCut)
{
    for (int id : {0, 204, 223, 245, 281, 999}) {
        interaction.cutPickPending = true;
        onMenuCommand(id);
        EXPECT_FALSE(interaction.cutPickPending) << id;
    }
}

TEST_F(MenuCommandTest, CutCommandsSwitchTheirModes)
{
    setClosedCube();
    onMenuCommand(cmdCutVertex);
    EXPECT_EQ(interaction.vertexCutMode, 1);
    EXPECT_TRUE(interaction.cutModeActive);
    EXPECT_TRUE(currentView.showVertices);
    onMenuCommand(cmdCutVertex);
    EXPECT_EQ(interaction.vertexCutMode, 0);
    onMenuCommand(cmdCutEdge);
    EXPECT_EQ(interaction.edgeCutMode, 1);
    onMenuCommand(cmdCutEdge);
    onMenuCommand(cmdCutFace);
    EXPECT_EQ(interaction.faceCutMode, 1);
    onMenuCommand(cmdCutFace);
    EXPECT_FALSE(interaction.cutModeActive);
}

TEST_F(MenuCommandTest, ChosenColourIsKeptAndUploaded)
{
    useGl();
    scriptColorAnswers = {0x00336699};
    onMenuCommand(cmdChooseColor);
    ASSERT_EQ(scriptColorStarts.size(), 1u);
    EXPECT_EQ(scriptColorStarts[0], 0x004080FFu); // red 255, green 128, blue 64
    EXPECT_EQ(uniformColor, 0x00336699u);
    EXPECT_EQ(textureImages.colorImage[0], 0x99);
    EXPECT_EQ(textureImages.colorImage[1], 0x66);
    EXPECT_EQ(textureImages.colorImage[2], 0x33);
}

TEST_F(MenuCommandTest, CancelledColourStillRebuildsTheTexture)
{
    useGl();
    textureImages.colorImage[0] = textureImages.colorImage[1] = textureImages.colorImage[2] = 7;
    onMenuCommand(cmdChooseColor); // no answer queued: cancelled
    EXPECT_EQ(uniformColor, 0x004080FFu);
    EXPECT_EQ(textureImages.colorImage[0], 255);
    EXPECT_EQ(textureImages.colorImage[1], 128);
    EXPECT_EQ(textureImages.colorImage[2], 64);
}

TEST_F(MenuCommandTest, HelpTexts)
{
    onMenuCommand(cmdShortHelp);
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "Pour une aide simple voir le guidage dans la barre d'état."
                                   "\n\nEt pour voir l'aide complète cliquez sur : Aide en html");
    onMenuCommand(cmdAbout);
    ASSERT_EQ(scriptBoxes.size(), 2u);
    const std::string about = scriptBoxes[1].text;
    EXPECT_EQ(scriptBoxes[1].caption, "Vormelin 0.35");
    // Three lines: a credit, a blank line, a contact.
    const size_t first = about.find('\n');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(about[first + 1], '\n');
    EXPECT_EQ(about.find('\n', first + 2), std::string::npos);
    EXPECT_GT(first, 10u);
    EXPECT_NE(about.find("aide.html", first), std::string::npos);
}

TEST_F(MenuCommandTest, HtmlHelpOpensThePageNextToTheProgram)
{
    scriptProgramDir = "/opt/vormelin/bin";
    onMenuCommand(cmdHtmlHelp);
    ASSERT_EQ(scriptOpenedDocuments.size(), 1u);
    EXPECT_EQ(scriptOpenedDocuments[0], "/opt/vormelin/bin/aide.html");
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(MenuCommandTest, TheHelpPageExistsAndCoversEveryMenuEntry)
{
    std::ifstream in(std::string(SOURCE_DIR) + "/aide.html");
    ASSERT_TRUE(in);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const PlatformMenuEntry& e : menuTable) {
        std::string label = e.label;
        label = label.substr(0, label.find('\t'));
        if (e.kind != menuSeparator) {
            EXPECT_NE(page.find(label), std::string::npos) << label;
        }
    }
    for (const char* word : {"Échap", "Entrée", "256", "JPEG"})
        EXPECT_NE(page.find(word), std::string::npos) << word;
}

TEST_F(MenuCommandTest, QuitReleasesTheModelAndEndsWithZero)
{
    setClosedCube();
    onMenuCommand(cmdQuit);
    EXPECT_FALSE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.vertexCount, 0);
    ASSERT_EQ(scriptQuits.size(), 1u);
    EXPECT_EQ(scriptQuits[0], 0);
}

TEST_F(MenuCommandTest, OpenThenSaveThroughTheDialogs)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                        ("vormelin_menu_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(dataPath("cube.off"), dir / "cube.off",
                               std::filesystem::copy_options::overwrite_existing);
    scriptFileAnswers = {(dir / "cube.off").string()};
    onMenuCommand(cmdOpenModel);
    ASSERT_EQ(scriptFileDialogTitles.size(), 1u);
    EXPECT_EQ(scriptFileDialogTitles[0], "Choisissez le fichier du modèle à ouvrir.");
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : cube.off");
    EXPECT_EQ(currentModel.vertexCount, 14);
    EXPECT_EQ(currentModel.faceCount, 24);

    onMenuCommand(cmdSaveModel);
    EXPECT_TRUE(std::filesystem::exists(dir / "cube_n.off"));
    EXPECT_EQ(scriptWindowTitle, "Vormelin 0.35 - modèle affiché : cube_n.off");
    ASSERT_FALSE(scriptBoxes.empty());
    EXPECT_EQ(scriptBoxes.back().text, "Le nouveau modèle : cube_n.off est archivé.");
    std::filesystem::remove_all(dir);

    // Both named themselves in the status bar while they ran, then gave the guidance back.
    EXPECT_EQ(scriptBusyTexts, (std::vector<std::string>{"Lecture du modèle…", "Écriture du modèle…"}));
    EXPECT_EQ(scriptBusyDepth, 0);
    EXPECT_EQ(scriptStatusText, defaultStatusText);
}

TEST_F(MenuCommandTest, CancelledOpenKeepsTheModel)
{
    setClosedCube();
    onMenuCommand(cmdOpenModel);
    EXPECT_TRUE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.vertexCount, 8);
}

TEST_F(MenuCommandTest, SubdivisionRefinesTheModel)
{
    setClosedCube();
    onMenuCommand(cmdSubdivide);
    EXPECT_EQ(currentModel.faceCount, 48);
    EXPECT_EQ(currentModel.vertexCount, 26);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(scriptBusyTexts, std::vector<std::string>{"Subdivision en cours…"});
    EXPECT_EQ(scriptBusyDepth, 0);
}

TEST_F(MenuCommandTest, LoadTextureThroughTheDialog)
{
    useGl();
    scriptFileAnswers = {dataPath("texture.jpg")};
    onMenuCommand(cmdLoadTexture);
    EXPECT_TRUE(textureImages.textureLoaded);
    EXPECT_TRUE(scriptBoxes.empty());
}

} // namespace
