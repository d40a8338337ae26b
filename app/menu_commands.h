// The menu: one table of every top-level menu, item and separator, each item
// with its command id, label, status-bar guidance and the function that runs
// it; the menu bar, the guidance and the dispatch are all read from it.
#pragma once

#include <string>
#include <vector>

#include "app/named_commands.h"
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

// What a command takes on the command line after its option.
enum CommandArgument { argumentNone, argumentCount, argumentPath };

// One command: its menu entry, and its option where it has one. A menu entry
// is a top-level menu (label and guidance), an item of the last top-level
// menu (id, label, guidance and the handler it runs) or a separator in it; an
// entry without label is in no menu (a command of the keyboard, or of the
// command line alone). The option runs `perform` with the argument it takes.
struct MenuCommand {
    PlatformMenuKind kind;
    int id;
    const char* label;
    const char* guidance;
    void (*run)();
    // The option without its "--", or null when the command line has none.
    const char* option = nullptr;
    CommandArgument argument = argumentNone;
    CommandEnd (*perform)(const CommandCall& call) = nullptr;
    // Running it keeps the possibility to undo the last cut (every other
    // command ends it, as every menu command ends Enter's undo).
    bool keepsUndo = false;
};

// The whole menu, in order.
extern const std::vector<MenuCommand> commandTable;
// The menu bar as the platform builds it, read from commandTable.
extern const std::vector<PlatformMenuEntry> menuTable;

// The text of "Pour l'aide".
extern const char* const shortHelpText;
// The three lines of "A propos".
extern const char* const aboutText;
// The help page's file name, next to the program.
inline constexpr const char* helpPageName = "aide.html";
// The status bar's text when no menu is highlighted.
inline constexpr const char* defaultStatusText = "Ici votre guidage ...";

// The command whose option is name (without "--"), or null.
const MenuCommand* commandOfOption(std::string_view name);

// Runs the command with the given id; ids without a command do nothing.
// Every command first ends the possibility to undo the last cut with Enter.
void onMenuCommand(int id);

// The statistics text of the current model.
std::string statisticsText();
// The full path of the help page: next to the running program, or where an
// install under a prefix puts it (see findHelpPage).
std::string helpPagePath();

// Guidance for the top-level menu at the given position (0 Fichier .. 4 Aide),
// or null for any other position.
const char* popupGuidanceText(int position);
// Guidance for the menu item with the given command id, or null when the id
// has none (a separator, the end of menu tracking, an unknown id).
const char* commandGuidanceText(int id);

// Replaces the status bar's text.
void setStatusText(const std::string& text);
// Clears cursorTracked and shows the guidance of the top-level menu at the
// position; an unknown position leaves the status bar as it is.
void showPopupGuidance(int position);
// Clears cursorTracked and shows the guidance of the item with the command id;
// an id without guidance leaves the status bar as it is.
void showCommandGuidance(int id);
