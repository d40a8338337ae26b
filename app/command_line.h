// The headless command line: `vormelin [OPTIONS] MODEL.off`. With any option
// no window is opened: the model is read with the viewer's own reader and
// topology, and the operations run in command-line order, each through the
// handler its row of the command table names (app/menu_commands.h), with the
// same words as the window's box on standard error instead of a box.
#pragma once

#include <string>
#include <vector>

struct MenuCommand;

// One command given on the command line, with its number or path.
struct CliOperation {
    const MenuCommand* command;
    int number;
    std::string path;
};

// Exit statuses: every operation done; the model faulty or an operation refused; a usage error.
inline constexpr int exitDone = 0, exitRefused = 1, exitUsage = 2;
// What parseCommandLine returns when the operations are to be run.
inline constexpr int parsedToRun = -1;

// The operations in command-line order.
extern std::vector<CliOperation> cliOperations;
// The model file named on the command line.
extern std::string cliModelPath;
// The usage text (French), printed by --help.
extern const char* const usageText;

// True when the arguments ask for the command line rather than the window:
// any argument that starts with "--", or "-h". Decided before any toolkit object exists.
bool commandLineRequested(int argc, const char* const argv[]);
// Parses the arguments into cliOperations, cliModelPath, the texture path of
// the named commands and snapshotSettings. Returns parsedToRun, or the exit status when there is
// nothing to run: exitDone after --help or --version (text on standard
// output), exitUsage after a usage error (its reason and where the help is on
// standard error, or "Fichier introuvable : <path>" for a model path that is
// not a regular file).
int parseCommandLine(int argc, const char* const argv[]);
// Reads the model and runs the parsed operations in order, stopping at the
// first that fails (its message on standard error). Returns the exit status.
int runOperations();
// parseCommandLine, then runOperations when there is something to run.
int runCommandLine(int argc, const char* const argv[]);
