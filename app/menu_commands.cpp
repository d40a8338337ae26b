// The command table, the display commands, and the guidance read from the table.
#include "app/menu_commands.h"

#include "app/cut_modes.h"
#include "app/help_page.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "platform/platform.h"
#include "render/mouse.h"
#include "render/view_state.h"

const char* const shortHelpText = "Pour une aide simple voir le guidage dans la barre d'état."
                                  "\n\nEt pour voir l'aide complète cliquez sur : Aide en html";

const char* const aboutText = VORMELIN_TITLE " : visualiseur et éditeur de maillages OFF.\n"
                              "\n"
                              "Aide et contact : aide.html (menu Aide en html) et le dépôt du projet.";

std::string statisticsText()
{
    std::string text = "Le modèle actuel comprend : \n\n - ";
    text += std::to_string(currentModel.vertexCount);
    text += " sommets\n\n - ";
    text += std::to_string(currentModel.faceCount);
    text += " faces\n\n - ";
    text += std::to_string(currentModel.edgeCount);
    text += " arêtes";
    if (currentModel.boundaryLoopLength <= 0) {
        text += "\n\n - le modèle est fermé";
        text += "\n   il n'y a pas de frontière";
    } else {
        text += "\n\n - ";
        text += std::to_string(currentModel.boundaryLoopLength);
        text += " arêtes de frontière";
    }
    return text;
}

std::string helpPagePath() { return findHelpPage(platformProgramDir(), helpPageName); }

namespace {

// ---- The display commands

void toggleAxes() { currentView.showAxes = !currentView.showAxes; }
void toggleVertices() { currentView.showVertices = !currentView.showVertices; }
void toggleEdges() { currentView.showEdges = !currentView.showEdges; }
void toggleNormals() { currentView.showNormals = !currentView.showNormals; }
void toggleBorders() { currentView.showBorders = !currentView.showBorders; }
void toggleTransparency() { currentView.withTransparency = !currentView.withTransparency; }
void toggleAnimation() { currentView.withAnimation = !currentView.withAnimation; }

void toggleFaces()
{
    currentView.showFaces = !currentView.showFaces;
    if (currentView.showFaces) {
        currentView.faceMode = currentView.savedFaceMode;
    } else {
        currentView.savedFaceMode = currentView.faceMode;
        currentView.faceMode = faceModeBlack;
    }
}

void toggleBoundary()
{
    if (!currentModel.uvComputed)
        parameterizeModel();
    if (interaction.closedWarned)
        return;
    currentView.showBoundary = !currentView.showBoundary;
}

// Entering a flat display keeps the view to return to; leaving it brings that view back.
void enterFlatView()
{
    saveView();
    flatViewSaved = true;
}

void leaveFlatView()
{
    if (flatViewSaved)
        restoreView();
    flatViewSaved = false;
}

void toggleUvPlane()
{
    if (currentView.showTexture || texturedModelOn || interaction.closedWarned)
        return;
    if (!currentModel.uvComputed)
        parameterizeModel();
    if (!currentModel.uvComputed)
        return;
    if (currentView.showUvPlane) {
        leaveFlatView();
        currentView.showUvPlane = false;
    } else {
        enterFlatView();
        currentView.showUvPlane = true;
    }
}

void toggleTextureView()
{
    if (currentView.showUvPlane || texturedModelOn)
        return;
    if (currentView.showTexture) {
        leaveFlatView();
        currentView.showTexture = false;
    } else {
        enterFlatView();
        currentView.showTexture = true;
    }
}

void toggleTexturedModel()
{
    if (currentView.showUvPlane || currentView.showTexture)
        return;
    if (texturedModelOn) {
        restoreView();
        texturedModelOn = false;
        return;
    }
    saveView();
    resetView();
    if (!currentModel.uvComputed)
        parameterizeModel();
    currentView.faceMode = faceModeImage;
    texturedModelOn = true;
}

// ---- The other commands that fit in a line

void showStatistics() { showInfo(statisticsText()); }
void showShortHelp() { showInfo(shortHelpText); }
void openHelpPage() { platformOpenDocument(helpPagePath()); }
void showAbout() { showInfo(aboutText); }

} // namespace

const std::vector<MenuCommand> commandTable = {
    {menuPopup, 0, "Fichier", "Menu Fichier", nullptr},
    {menuItem, cmdOpenModel, "Ouvrir un modèle", "Pour ouvrir un nouveau modèle.", openModel},
    {menuItem, cmdSaveModel, "Sauver le modèle", "Pour sauvegarder le modèle actuel.", saveModel, "save", argumentPath,
     saveByName},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdQuit, "Quitter\tAlt+F4", "Pour quitter l'application.", onMainWindowDestroyed},
    {menuPopup, 0, "Affichage", "Menu Affichage", nullptr},
    {menuItem, cmdShowAxes, "Des axes", "Pour afficher les axes ( Ox:rouge Oy:vert  Oz:bleu ).", toggleAxes},
    {menuItem, cmdShowVertices, "Des sommets", "Pour afficher les sommets.", toggleVertices},
    {menuItem, cmdShowEdges, "Des arêtes", "Pour afficher les arêtes.", toggleEdges},
    {menuItem, cmdShowFaces, "Des faces", "Pour afficher les faces.", toggleFaces},
    {menuItem, cmdShowNormals, "Des normales", "Pour afficher les normales des faces.", toggleNormals},
    {menuItem, cmdShowBorders, "Des bordures", "Pour afficher toutes les bordures.", toggleBorders},
    {menuItem, cmdShowBoundary, "De la frontière", "Pour afficher uniquement la frontière.", toggleBoundary},
    {menuItem, cmdShowUvPlane, "Du plan (u,v)", "Pour afficher le plan (u,v).", toggleUvPlane},
    {menuItem, cmdShowTexture, "De la texture", "Pour afficher la texture.", toggleTextureView},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdTexturedModel, "Modèle texturé", "Pour afficher le modèle texturé.", toggleTexturedModel},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdTransparency, "Avec transparence", "Pour afficher avec transparence.", toggleTransparency},
    {menuItem, cmdAnimation, "Avec animation", "Pour afficher avec animation.", toggleAnimation},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdInitialView, "Conditions initiales", "Pour revenir aux conditions initiales d'affichage.",
     resetView},
    {menuPopup, 0, "Modèle", "Menu Modèle", nullptr},
    {menuItem, cmdCutVertex, "Découper un sommet", "Pour découper un sommet.", toggleVertexCut, "cut-vertex",
     argumentCount, cutVertexByName, true},
    {menuItem, cmdCutEdge, "Découper une arête", "Pour découper une arête (parfois deux).", toggleEdgeCut, "cut-edge",
     argumentCount, cutEdgeByName, true},
    {menuItem, cmdCutFace, "Découper une face", "Pour découper une face (suppression).", toggleFaceCut, "cut-face",
     argumentCount, cutFaceByName, true},
    // Enter right after the click of a cut.
    {menuItem, 0, nullptr, nullptr, nullptr, "undo", argumentNone, undoByName, true},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdSubdivide, "Subdivision de Loop", "Pour faire une itération de subdivision de C. Loop.",
     subdivideLoop, "subdivide", argumentCount, subdivideTimes},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdStatistics, "Statistiques du modèle actuel", "Pour avoir la composition du modèle actuel.",
     showStatistics, "stats", argumentNone, statisticsByName},
    // What the displays of the (u,v) compute, the (u,v) written out, and a picture of the view.
    {menuItem, 0, nullptr, nullptr, nullptr, "parameterize", argumentNone, parameterizeByName},
    {menuItem, 0, nullptr, nullptr, nullptr, "save-uv", argumentPath, saveUvByName},
    {menuItem, 0, nullptr, nullptr, nullptr, "snapshot", argumentPath, snapshotByName, true},
    {menuPopup, 0, "Texture", "Menu Texture", nullptr},
    {menuItem, cmdLoadTexture, "Charger une texture", "Pour charger une nouvelle image servant de texture.",
     loadTexture},
    {menuItem, cmdChooseColor, "Choisir la couleur unie", "Une autre couleur unie pour le modèle non texturé.",
     chooseUniformColor},
    {menuPopup, 0, "Aide", "Menu Aide", nullptr},
    {menuItem, cmdShortHelp, "Pour l'aide", "Pour avoir de l'aide.", showShortHelp},
    {menuItem, cmdHtmlHelp, "Aide en html", "Pour voir l'aide html en ligne.", openHelpPage},
    {menuSeparator, 0, "", nullptr, nullptr},
    {menuItem, cmdAbout, "A propos", "A propos ...", showAbout},
};

namespace {
std::vector<PlatformMenuEntry> menuBarOf(const std::vector<MenuCommand>& table)
{
    std::vector<PlatformMenuEntry> bar;
    for (const MenuCommand& c : table)
        if (c.label)
            bar.push_back({c.kind, c.label, c.id});
    return bar;
}
} // namespace

const std::vector<PlatformMenuEntry> menuTable = menuBarOf(commandTable);

const MenuCommand* commandOfOption(std::string_view name)
{
    for (const MenuCommand& c : commandTable)
        if (c.option && name == c.option)
            return &c;
    return nullptr;
}

void onMenuCommand(int id)
{
    interaction.cutPickPending = false;
    for (const MenuCommand& c : commandTable)
        if (c.kind == menuItem && c.label && c.id == id) {
            c.run();
            return;
        }
}

// ---- Status-bar guidance

const char* popupGuidanceText(int position)
{
    int p = 0;
    for (const MenuCommand& c : commandTable)
        if (c.kind == menuPopup && p++ == position)
            return c.guidance;
    return nullptr;
}

const char* commandGuidanceText(int id)
{
    for (const MenuCommand& c : commandTable)
        if (c.kind == menuItem && c.id == id)
            return c.guidance;
    return nullptr;
}

void setStatusText(const std::string& text) { platformSetStatusText(text); }

void showPopupGuidance(int position)
{
    currentView.cursorTracked = false;
    if (const char* text = popupGuidanceText(position))
        setStatusText(text);
}

void showCommandGuidance(int id)
{
    currentView.cursorTracked = false;
    if (const char* text = commandGuidanceText(id))
        setStatusText(text);
}
