// The menu table and the menu commands.
#include "app/menu_commands.h"

#include "app/main_window.h"
#include "app/messages.h"
#include "model/cutting.h"
#include "model/off_file.h"
#include "model/store.h"
#include "model/subdivision.h"
#include "param/parameterize.h"
#include "platform/platform.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "texture/texture.h"

const std::vector<PlatformMenuEntry> menuTable = {
    {menuPopup, "Fichier", 0},
    {menuItem, "Ouvrir un modèle", cmdOpenModel},
    {menuItem, "Sauver le modèle", cmdSaveModel},
    {menuSeparator, "", 0},
    {menuItem, "Quitter\tAlt+F4", cmdQuit},
    {menuPopup, "Affichage", 0},
    {menuItem, "Des axes", cmdShowAxes},
    {menuItem, "Des sommets", cmdShowVertices},
    {menuItem, "Des arêtes", cmdShowEdges},
    {menuItem, "Des faces", cmdShowFaces},
    {menuItem, "Des normales", cmdShowNormals},
    {menuItem, "Des bordures", cmdShowBorders},
    {menuItem, "De la frontière", cmdShowBoundary},
    {menuItem, "Du plan (u,v)", cmdShowUvPlane},
    {menuItem, "De la texture", cmdShowTexture},
    {menuSeparator, "", 0},
    {menuItem, "Modèle texturé", cmdTexturedModel},
    {menuSeparator, "", 0},
    {menuItem, "Avec transparence", cmdTransparency},
    {menuItem, "Avec animation", cmdAnimation},
    {menuSeparator, "", 0},
    {menuItem, "Conditions initiales", cmdInitialView},
    {menuPopup, "Modèle", 0},
    {menuItem, "Découper un sommet", cmdCutVertex},
    {menuItem, "Découper une arête", cmdCutEdge},
    {menuItem, "Découper une face", cmdCutFace},
    {menuSeparator, "", 0},
    {menuItem, "Subdivision de Loop", cmdSubdivide},
    {menuSeparator, "", 0},
    {menuItem, "Statistiques du modèle actuel", cmdStatistics},
    {menuPopup, "Texture", 0},
    {menuItem, "Charger une texture", cmdLoadTexture},
    {menuItem, "Choisir la couleur unie", cmdChooseColor},
    {menuPopup, "Aide", 0},
    {menuItem, "Pour l'aide", cmdShortHelp},
    {menuItem, "Aide en html", cmdHtmlHelp},
    {menuSeparator, "", 0},
    {menuItem, "A propos", cmdAbout},
};

const char* const shortHelpText = "Pour une aide simple voir le guidage dans la barre d'état."
                                  "\n\nEt pour voir l'aide complète cliquez sur : Aide en html";

const char* const aboutText = "Vormelin 0.35 : visualiseur et éditeur de maillages OFF.\n"
                              "\n"
                              "Aide et contact : aide.html (menu Aide en html) et le dépôt du projet.";

std::string statisticsText()
{
    std::string text = "Le modèle actuel comprend : \n\n - ";
    text += std::to_string(vertexCount);
    text += " sommets\n\n - ";
    text += std::to_string(faceCount);
    text += " faces\n\n - ";
    text += std::to_string(edgeCount);
    text += " arêtes";
    if (boundaryLoopLength <= 0) {
        text += "\n\n - le modèle est fermé";
        text += "\n   il n'y a pas de frontière";
    } else {
        text += "\n\n - ";
        text += std::to_string(boundaryLoopLength);
        text += " arêtes de frontière";
    }
    return text;
}

std::string helpPagePath() { return platformProgramDir() + "/" + helpPageName; }

namespace {

void toggleFaces()
{
    showFaces = !showFaces;
    if (showFaces) {
        faceMode = savedFaceMode;
    } else {
        savedFaceMode = faceMode;
        faceMode = 0;
    }
}

void toggleBoundary()
{
    if (!uvComputed)
        parameterize();
    if (closedWarned)
        return;
    showBoundary = !showBoundary;
}

void toggleUvPlane()
{
    if (showTexture || texturedModelOn || closedWarned)
        return;
    if (!uvComputed)
        parameterize();
    if (!uvComputed)
        return;
    if (showUvPlane) {
        // The view saved by the layer's first frame comes back; without such
        // a frame there is no saved copy of this display to go back to.
        if (flatViewSaved)
            restoreView();
        flatViewSaved = false;
    }
    showUvPlane = !showUvPlane;
}

void toggleTextureView()
{
    if (showUvPlane || texturedModelOn)
        return;
    if (showTexture) {
        // The view saved by the layer's first frame comes back; without such
        // a frame there is no saved copy of this display to go back to.
        if (flatViewSaved)
            restoreView();
        flatViewSaved = false;
    }
    showTexture = !showTexture;
}

void toggleTexturedModel()
{
    if (showUvPlane || showTexture)
        return;
    if (texturedModelOn) {
        restoreView();
        texturedModelOn = false;
        return;
    }
    saveView();
    resetView();
    if (!uvComputed)
        parameterize();
    faceMode = 2;
    texturedModelOn = true;
}

void chooseUniformColor()
{
    platformChooseColor(uniformColor);
    updateColorTexture();
}

} // namespace

void onMenuCommand(int id)
{
    cutPickPending = false;
    switch (id) {
    case cmdOpenModel: openModel(); break;
    case cmdSaveModel: saveModel(); break;
    case cmdQuit: onMainWindowDestroyed(); break;
    case cmdShowAxes: showAxes = !showAxes; break;
    case cmdShowVertices: showVertices = !showVertices; break;
    case cmdShowEdges: showEdges = !showEdges; break;
    case cmdShowFaces: toggleFaces(); break;
    case cmdShowNormals: showNormals = !showNormals; break;
    case cmdShowBorders: showBorders = !showBorders; break;
    case cmdShowBoundary: toggleBoundary(); break;
    case cmdShowUvPlane: toggleUvPlane(); break;
    case cmdShowTexture: toggleTextureView(); break;
    case cmdTexturedModel: toggleTexturedModel(); break;
    case cmdTransparency: withTransparency = !withTransparency; break;
    case cmdAnimation: withAnimation = !withAnimation; break;
    case cmdInitialView: resetView(); break;
    case cmdCutVertex: toggleVertexCut(); break;
    case cmdCutEdge: toggleEdgeCut(); break;
    case cmdCutFace: toggleFaceCut(); break;
    case cmdSubdivide: subdivideLoop(); break;
    case cmdStatistics: showInfo(statisticsText()); break;
    case cmdLoadTexture: loadTexture(); break;
    case cmdChooseColor: chooseUniformColor(); break;
    case cmdShortHelp: showInfo(shortHelpText); break;
    case cmdHtmlHelp: platformOpenDocument(helpPagePath()); break;
    case cmdAbout: showInfo(aboutText); break;
    default: break;
    }
}
