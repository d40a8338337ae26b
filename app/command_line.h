// The headless command line: `vormelin [OPTIONS] MODEL.off`. With any option
// no window is opened: the model is read with the viewer's own reader and
// topology, and the operations run in command-line order, each as its menu
// command does it, with its outcome on standard error instead of a box.
#pragma once

#include <string>
#include <vector>

// The operations of the command line.
enum CliOperationKind {
    cliSubdivide,   // number: the count of Loop steps
    cliParameterize,
    cliCutVertex,   // number: the vertex index
    cliCutEdge,     // number: the edge-table position
    cliCutFace,     // number: the face index
    cliUndo,
    cliSave,        // path: the OFF file
    cliSaveUv,      // path: the OBJ file
    cliStats,
    cliSnapshot,    // path: the PNG file
};

// One operation with its index or output path.
struct CliOperation {
    CliOperationKind kind;
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
// The JPEG image given with --texture, empty when none.
extern std::string cliTexturePath;
// The usage text (French), printed by --help and after a usage error.
extern const char* const usageText;

// True when the arguments ask for the command line rather than the window:
// any argument that starts with "--", or "-h". Decided before any toolkit object exists.
bool commandLineRequested(int argc, const char* const argv[]);
// Parses the arguments into cliOperations, cliModelPath, cliTexturePath and
// snapshotSettings. Returns parsedToRun, or the exit status when there is
// nothing to run: exitDone after --help or --version (text on standard
// output), exitUsage after a usage error (its reason and the usage on
// standard error, or "Fichier introuvable : <path>" for a model path that is
// not a regular file).
int parseCommandLine(int argc, const char* const argv[]);
// Reads the model and runs the parsed operations in order, stopping at the
// first that fails (its message on standard error). Returns the exit status.
int runOperations();
// parseCommandLine, then runOperations when there is something to run.
int runCommandLine(int argc, const char* const argv[]);
