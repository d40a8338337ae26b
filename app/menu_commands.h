// The menu bar and what each of its commands does.
#pragma once

#include <string>
#include <vector>

#include "platform/platform_app.h"

// Command ids of the menu items, grouped by menu.
enum MenuCommandId {
    cmdOpenModel = 201,
    cmdSaveModel = 202,
    cmdQuit = 203,
    cmdShowAxes = 211,
    cmdShowVertices = 212,
    cmdShowEdges = 213,
    cmdShowFaces = 214,
    cmdShowNormals = 215,
    cmdShowBorders = 216,
    cmdShowBoundary = 217,
    cmdShowUvPlane = 218,
    cmdShowTexture = 219,
    cmdTexturedModel = 220,
    cmdTransparency = 221,
    cmdAnimation = 222,
    cmdInitialView = 223,
    cmdCutVertex = 241,
    cmdCutEdge = 242,
    cmdCutFace = 243,
    cmdSubdivide = 244,
    cmdStatistics = 245,
    cmdLoadTexture = 261,
    cmdChooseColor = 262,
    cmdShortHelp = 281,
    cmdHtmlHelp = 282,
    cmdAbout = 283,
};

// The menu bar, in order: five top-level menus with their items and separators.
extern const std::vector<PlatformMenuEntry> menuTable;

// The text of "Pour l'aide".
extern const char* const shortHelpText;
// The three lines of "A propos".
extern const char* const aboutText;
// The help page's file name, next to the program.
inline constexpr const char* helpPageName = "aide.html";

// Runs the command with the given id; ids without a command do nothing.
// Every command first ends the possibility to undo the last cut with Enter.
void onMenuCommand(int id);

// The statistics text of the current model.
std::string statisticsText();
// The full path of the help page next to the running program.
std::string helpPagePath();
